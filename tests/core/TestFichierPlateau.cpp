#include <gtest/gtest.h>

#include <tuple>

#include "AideFichiers.h"
#include "AidePlateau.h"
#include "FichierPlateau.h"
#include "Texte.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;

namespace {

// The board "Niveau 0": 3 × 3, validated, top-left a border tile joined
// right and down (piece 1).
TPlateau Niveau0() {
  TPlateau p = Dessiner({"##.", "#a.", "..A"}, {"...", "...", "..x"}, "Niveau 0");
  for (auto [l, c] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
    auto& k = p.Case(l, c);
    k.Droit = (l == 1 && c == 1);
    k.Bas = (l == 1 && c == 1);
    k.Gauche = (l == 1 && c == 2);
    k.Haut = (l == 2 && c == 1);
    k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
  }
  NumeroterPieces(p);
  return p;
}

}  // namespace

TEST(FichierPlateau, EcritLeFormatAttenduLigneParLigne) {
  const std::string texte = TexteDuPlateau(Niveau0(), "1");
  const auto lignes = DecouperLignes(texte);
  const std::vector<std::string> debut(lignes.begin(), lignes.begin() + 14);
  EXPECT_EQ(debut, (std::vector<std::string>{"V1.00", "Niveau 0", "3", "3", "1", "2", "5", "1", "0", "1", "1", "0",
                                            "0", "0"}));
  EXPECT_EQ(lignes.size(), 86u);
  // CR LF after every line, the last one included.
  EXPECT_EQ(texte.substr(0, 7), "V1.00\r\n");
  EXPECT_EQ(texte.substr(texte.size() - 2), "\r\n");
  EXPECT_EQ(texte.find('\n') - 1, texte.find('\r'));

  TPlateau grand;
  grand.Largeur = 20;
  grand.Hauteur = 16;
  EXPECT_EQ(DecouperLignes(TexteDuPlateau(grand, "1")).size(), 2885u);
}

TEST(FichierPlateau, RelireCeQuiAEteEcritDonneLeMemePlateau) {
  DossierTemporaire dossier;
  TPlateau ecrit = Dessiner({"#####", "#aaD#", "#.BB#", "#####"}, {".....", ".....", "...x.", "..x.."}, "Éclair été", 2);
  const std::string chemin = dossier.Fichier("Éclair été.wbp");
  ASSERT_TRUE(EcrirePlateau(chemin, ecrit, "2").ok);
  // Windows-1252 on disk: "É" is one byte.
  EXPECT_EQ(ContenuFichier(chemin)->substr(7, 3), "\xC9" "cl");

  TPlateau lu;
  const auto r = LirePlateau(chemin, lu);
  ASSERT_EQ(r.statut, StatutLecture::Ok) << r.message;
  EXPECT_EQ(lu.Titre, "Éclair été");
  EXPECT_EQ(lu.Etat, 2);
  ASSERT_EQ(lu.Largeur, 5);
  ASSERT_EQ(lu.Hauteur, 4);
  for (int l = 1; l <= 4; ++l)
    for (int c = 1; c <= 5; ++c) {
      const auto& a = ecrit.Case(l, c);
      const auto& b = lu.Case(l, c);
      SCOPED_TRACE(NomCase(l, c));
      EXPECT_EQ(a.Serie, b.Serie);
      EXPECT_EQ(a.Map, b.Map);
      EXPECT_EQ(a.Piece, b.Piece);
      EXPECT_EQ((std::array{a.Haut, a.Droit, a.Bas, a.Gauche, a.PlaceFinal, a.Porte}),
                (std::array{b.Haut, b.Droit, b.Bas, b.Gauche, b.PlaceFinal, b.Porte}));
      EXPECT_EQ(b.Nom, NomCase(l, c));
      EXPECT_EQ(b.PosX, c);
      EXPECT_EQ(b.PosY, l);
    }
}

TEST(FichierPlateau, SeulUnUnExactEstVrai) {
  TPlateau p = Dessiner({"A"}, {"x"});
  std::string texte = TexteDuPlateau(p, "1");
  auto lignes = DecouperLignes(texte);
  // Cell lines 4 to 9 are Haut, Droit, Bas, Gauche, PlaceFinal, Porte.
  lignes[5 + 3] = "true";
  lignes[5 + 4] = " 1";
  lignes[5 + 5] = "1 ";
  lignes[5 + 6] = "1";
  lignes[5 + 7] = "01";
  TPlateau lu;
  // LF alone ends lines as well as CR LF.
  std::string lf;
  for (const auto& l : lignes) lf += l + "\n";
  ASSERT_EQ(LirePlateauDepuisTexte(lf, "x.wbp", lu).statut, StatutLecture::Ok);
  const auto& k = lu.Case(1, 1);
  EXPECT_FALSE(k.Haut);
  EXPECT_FALSE(k.Droit);
  EXPECT_FALSE(k.Bas);
  EXPECT_TRUE(k.Gauche);
  EXPECT_FALSE(k.PlaceFinal);
}

TEST(FichierPlateau, AjustementsAuChargement) {
  TPlateau p = Dessiner({"D.", ".."}, {"..", ".x"});
  p.Case(1, 1).Map = 3;  // any Map on a door reads as a closed door
  p.Case(2, 2).Map = 0;  // floor on a final place written as plain floor
  p.Case(1, 2).PlaceFinal = p.Case(1, 2).Porte = true;  // a door on a final floor cell: the door wins
  TPlateau lu;
  ASSERT_EQ(LirePlateauDepuisTexte(TexteDuPlateau(p, "1"), "x", lu).statut, StatutLecture::Ok);
  EXPECT_EQ(lu.Case(1, 1).Map, kMapPorteFermee);
  EXPECT_EQ(lu.Case(1, 2).Map, kMapPorteFermee);
  EXPECT_EQ(lu.Case(2, 2).Map, kMapFondFinal);
  EXPECT_EQ(lu.Case(2, 1).Map, kMapFond);

  // The editor takes the cells as written.
  TPlateau editeur;
  ASSERT_EQ(LirePlateauDepuisTexte(TexteDuPlateau(p, "0"), "x", editeur, ModeLecture::Editeur).statut,
            StatutLecture::Ok);
  EXPECT_EQ(editeur.Case(1, 1).Map, 3);
  EXPECT_EQ(editeur.Case(2, 2).Map, 0);
  EXPECT_TRUE(editeur.Case(1, 1).Nom.empty());
}

TEST(FichierPlateau, StatutZeroRefuseMaisEnTeteConnu) {
  TPlateau p = Dessiner({"A.."}, {"..x"}, "Pas fini");
  TPlateau lu = Dessiner({"b"}, {}, "Ancien");
  const auto r = LirePlateauDepuisTexte(TexteDuPlateau(p, "0"), "x.wbp", lu);
  EXPECT_EQ(r.statut, StatutLecture::NonValide);
  EXPECT_TRUE(r.enTeteLu);
  EXPECT_EQ(r.titre, "Pas fini");
  EXPECT_EQ(r.largeur, 3);
  EXPECT_EQ(r.hauteur, 1);
  EXPECT_EQ(lu.Titre, "Ancien");  // the board is not touched
  // The value 0, whatever blanks surround it.
  for (const char* etat : {"0 ", "\t0", " 0\t"})
    EXPECT_EQ(LirePlateauDepuisTexte(TexteDuPlateau(p, etat), "x.wbp", lu).statut, StatutLecture::NonValide) << etat;

  // Any other integer loads; "00" is not "0".
  for (const char* etat : {"00", "3", "-1"}) {
    const auto ok = LirePlateauDepuisTexte(TexteDuPlateau(p, etat), "x.wbp", lu);
    EXPECT_EQ(ok.statut, StatutLecture::Ok) << etat;
  }
}

TEST(FichierPlateau, ErreursNommentLeFichierEtLaLigneSansToucherLePlateau) {
  TPlateau ancien = Dessiner({"b"}, {}, "Ancien");
  TPlateau lu = ancien;
  auto lignes = DecouperLignes(TexteDuPlateau(Dessiner({"A.", ".."}, {"..", ".x"}), "1"));
  lignes[5 + 9 + 1] = "abc";  // Map of the second cell, line 16
  auto r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu);
  EXPECT_EQ(r.statut, StatutLecture::Erreur);
  EXPECT_EQ(r.message, "Fichier b.wbp, ligne 16 : 'abc' n'est pas une valeur entière correcte");
  EXPECT_EQ(lu.Titre, "Ancien");
  // The line is quoted in UTF-8, cut to 40 characters.
  lignes[5 + 9 + 1] = "\xE9" + std::string(5000, 'x');
  r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu);
  EXPECT_EQ(r.message, "Fichier b.wbp, ligne 16 : 'é" + std::string(39, 'x') + "…' n'est pas une valeur entière correcte");
  lignes[5 + 9 + 1] = "99999";
  r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu);
  EXPECT_EQ(r.message, "Fichier b.wbp, ligne 16 : '99999' est hors des limites (-32768 à 32767)");

  // A file that ends early: the first missing number fails.
  lignes = DecouperLignes(TexteDuPlateau(Dessiner({"A.", ".."}, {"..", ".x"}), "1"));
  lignes.resize(20);
  r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu);
  EXPECT_EQ(r.message, "Fichier b.wbp, ligne 24 : '' n'est pas une valeur entière correcte");

  // A picture its tiles do not have: a master tile at -5 or 16, floor at
  // 2, a border tile at 18 (its last, the touched door, is 17).
  for (const auto& [dessin, map, attendu] :
       {std::tuple{"A.", "-5", "l'image -5 n'existe pas pour une tuile maître (0 à 15)"},
        {"A.", "16", "l'image 16 n'existe pas pour une tuile maître (0 à 15)"},
        {"#.", "18", "l'image 18 n'existe pas pour une tuile de bordure (0 à 17)"},
        {".A", "2", "l'image 2 n'existe pas pour le fond (0 à 1)"}}) {
    lignes = DecouperLignes(TexteDuPlateau(Dessiner({dessin, ".."}, {"..", ".x"}), "1"));
    lignes[5 + 1] = map;  // Map of the first cell, line 7
    for (const auto mode : {ModeLecture::Jeu, ModeLecture::Editeur}) {
      r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu, mode);
      EXPECT_EQ(r.message, std::string("Fichier b.wbp, ligne 7 : ") + attendu);
    }
  }
  lignes[5 + 1] = "17";
  lignes[5] = "2";  // a touched door
  EXPECT_EQ(LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu).statut, StatutLecture::Ok);
  EXPECT_EQ(lu.Titre, "Essai");

  // A series that does not exist.
  lu = ancien;
  lignes = DecouperLignes(TexteDuPlateau(Dessiner({"A"}, {"x"}), "1"));
  lignes[5] = "7";
  r = LirePlateauDepuisTexte(JoindreLignesCrLf(lignes), "b.wbp", lu);
  EXPECT_EQ(r.statut, StatutLecture::Erreur);
  EXPECT_NE(r.message.find("ligne 6"), std::string::npos);

  r = LirePlateau("/nulle/part/x.wbp", lu);
  EXPECT_EQ(r.statut, StatutLecture::Erreur);
  EXPECT_EQ(r.message, "Impossible d'ouvrir le fichier /nulle/part/x.wbp");
  EXPECT_EQ(lu.Titre, "Ancien");
}

TEST(FichierPlateau, TailleHorsLimitesRefuseeAvantLesCases) {
  TPlateau lu = Dessiner({"b"}, {}, "Ancien");
  for (auto [largeur, hauteur] : {std::pair{21, 3}, {3, 17}, {0, 3}, {3, -1}}) {
    const std::string texte = "V1.00\r\nGrand\r\n" + std::to_string(largeur) + "\r\n" + std::to_string(hauteur) +
                              "\r\n1\r\n";
    const auto r = LirePlateauDepuisTexte(texte, "grand.wbp", lu);
    EXPECT_EQ(r.statut, StatutLecture::Erreur);
    EXPECT_FALSE(r.enTeteLu);
    EXPECT_NE(r.message.find("de 1 à 20 colonnes et de 1 à 16 lignes"), std::string::npos) << r.message;
  }
  EXPECT_EQ(lu.Titre, "Ancien");
}
