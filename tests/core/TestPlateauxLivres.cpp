// The board library shipped in data/plateaux: every board is a valid,
// validated file named after its title, it is exactly what its definition
// in tools/plateaux/definitions gives, and its stored solution, played
// through the game's rules, solves it. Also the definition reader of
// glissaro-plateaux.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "../../tools/plateaux/Definitions.h"
#include "FichierPlateau.h"
#include "AideFichiers.h"
#include "Partie.h"
#include "Texte.h"
#include "Verification.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
namespace fs = std::filesystem;

namespace {

const fs::path kSources = GLISSARO_SOURCES;
const fs::path kBibliotheque = kSources / "data" / "plateaux";
const fs::path kSolutions = kSources / "tests" / "donnees" / "solutions";
const fs::path kDefinitions = kSources / "tools" / "plateaux" / "definitions";

// Every board file of the library, as "<dossier>/<titre>.wbp", sorted.
std::vector<std::string> PlateauxLivres() {
  std::vector<std::string> r;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(kBibliotheque, ec))
    if (e.is_regular_file() && e.path().extension() == ".wbp") r.push_back(fs::relative(e.path(), kBibliotheque).string());
  std::sort(r.begin(), r.end());
  return r;
}

std::size_t NombreDeCaracteres(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool APorte(const TPlateau& p) {
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c)
      if (p.Case(l, c).Porte) return true;
  return false;
}

struct Rejeu {
  bool lu = false;
  std::string erreur;
  int gestes = 0;
  int coupsAnnonces = -1;  // the "… : N coups" of the first comment line
};

// Plays a gesture file ("appuyer X Y", "glisser X Y", "relacher X Y", blank
// lines and # comments) on a game.
Rejeu JouerGestes(const std::string& chemin, TPartie& partie) {
  Rejeu r;
  const auto contenu = ContenuFichier(chemin);
  if (!contenu) {
    r.erreur = "impossible d'ouvrir " + chemin;
    return r;
  }
  int numero = 0;
  for (const auto& brute : DecouperLignes(*contenu)) {
    ++numero;
    const std::string ligne(Rogner(brute));
    if (ligne.empty()) continue;
    if (ligne.front() == '#') {
      const auto fin = ligne.rfind(" coups");
      const auto debut = ligne.rfind(": ", fin);
      if (r.coupsAnnonces < 0 && fin != std::string::npos && debut != std::string::npos)
        r.coupsAnnonces = EntierStrict(ligne.substr(debut + 2, fin - debut - 2)).value_or(-1);
      continue;
    }
    std::istringstream mots(ligne);
    std::string verbe, x, y, reste;
    mots >> verbe >> x >> y;
    const auto vx = EntierStrict(x), vy = EntierStrict(y);
    if (!vx || !vy || (mots >> reste) || (verbe != "appuyer" && verbe != "glisser" && verbe != "relacher")) {
      r.erreur = chemin + ", ligne " + std::to_string(numero) + " : « " + ligne + " »";
      return r;
    }
    if (verbe == "appuyer") {
      partie.Appuyer(*vx, *vy);
      ++r.gestes;
    } else if (verbe == "glisser") {
      partie.Glisser(*vx, *vy);
    } else {
      partie.Relacher();
    }
  }
  r.lu = true;
  return r;
}

class PlateauLivre : public ::testing::TestWithParam<std::string> {};

std::string NomDeTest(const ::testing::TestParamInfo<std::string>& info) {
  std::string nom;
  for (const char c : info.param) nom += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return nom + "_" + std::to_string(info.index);
}

}  // namespace

// ------------------------------------------------------------ each board

TEST_P(PlateauLivre, EstUnFichierWindows1252EnCrLfNommeDapresSonTitre) {
  const fs::path chemin = kBibliotheque / GetParam();
  const auto contenu = ContenuFichier(chemin.string());
  ASSERT_TRUE(contenu.has_value());
  ASSERT_GE(contenu->size(), 2u);
  // Every line ends with CR LF, and there is nothing after the last one.
  std::size_t lignes = 0;
  for (std::size_t i = 0; i < contenu->size(); ++i) {
    const char c = (*contenu)[i];
    if (c == '\n') {
      ASSERT_TRUE(i > 0 && (*contenu)[i - 1] == '\r') << "LF seul, octet " << i;
      ++lignes;
    } else if (c == '\r') {
      ASSERT_TRUE(i + 1 < contenu->size() && (*contenu)[i + 1] == '\n') << "CR seul, octet " << i;
    }
  }
  EXPECT_EQ(contenu->substr(contenu->size() - 2), "\r\n");

  const auto decoupees = DecouperLignes(*contenu);
  ASSERT_GE(decoupees.size(), 5u);
  EXPECT_EQ(decoupees[0], "V1.00");
  // The title line, read as Windows-1252, is the file's name without
  // ".wbp"; written in UTF-8 it would not read back the same.
  const std::string titre = Cp1252VersUtf8(decoupees[1]);
  EXPECT_EQ(titre, chemin.stem().string());
  EXPECT_EQ(decoupees[1], Utf8VersCp1252(chemin.stem().string()));
  EXPECT_LE(NombreDeCaracteres(titre), 15u) << titre;
  EXPECT_EQ(plateaux::ProblemeTitre(titre), "");
  EXPECT_EQ(decoupees[4], "1");
  const int largeur = EntierStrict(decoupees[2]).value_or(0);
  const int hauteur = EntierStrict(decoupees[3]).value_or(0);
  EXPECT_EQ(lignes, 5u + 9u * static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur));
}

TEST_P(PlateauLivre, SeChargePourJouerEtPasseLaVerificationDeLediteur) {
  const std::string chemin = (kBibliotheque / GetParam()).string();
  TPlateau jeu;
  const auto lecture = LirePlateau(chemin, jeu, ModeLecture::Jeu);
  ASSERT_EQ(lecture.statut, StatutLecture::Ok) << lecture.message;
  EXPECT_EQ(lecture.ligneEtat, "1");
  EXPECT_EQ(jeu.Etat, 1);
  EXPECT_GE(jeu.Largeur, 3);
  EXPECT_LE(jeu.Largeur, kLargeurMax);
  EXPECT_GE(jeu.Hauteur, 3);
  EXPECT_LE(jeu.Hauteur, kHauteurMax);

  TPlateau editeur;
  ASSERT_EQ(LirePlateau(chemin, editeur, ModeLecture::Editeur).statut, StatutLecture::Ok);
  const TPlateau stocke = editeur;
  const auto verification = VerifierGrille(editeur);
  EXPECT_TRUE(verification.Correcte()) << verification.texte;
  EXPECT_EQ(verification.texte, kTexteGrilleCorrecte);
  int maitres = 0, places = 0;
  for (int l = 1; l <= editeur.Hauteur; ++l) {
    for (int c = 1; c <= editeur.Largeur; ++c) {
      const auto& k = editeur.Case(l, c);
      EXPECT_EQ(k.Piece, stocke.Case(l, c).Piece) << "ligne " << l << ", colonne " << c;
      if (k.Serie == TSerieMap::Final) ++maitres;
      if (k.PlaceFinal) ++places;
      // The image agrees with the joined sides; doors show as closed.
      if (k.Porte) {
        EXPECT_EQ(k.Serie, TSerieMap::Bord) << "ligne " << l << ", colonne " << c;
        EXPECT_EQ(k.Map, kMapPorteFermee);
      } else if (k.Serie != TSerieMap::Vide) {
        EXPECT_EQ(k.Map, MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas)) << "ligne " << l << ", colonne " << c;
      }
      // Nothing but the border on the board's edge.
      if (l == 1 || c == 1 || l == editeur.Hauteur || c == editeur.Largeur) {
        EXPECT_EQ(k.Serie, TSerieMap::Bord) << "ligne " << l << ", colonne " << c;
      }
    }
  }
  // Solvable at all only with as many final places as master tiles.
  EXPECT_EQ(places, maitres);
}

TEST_P(PlateauLivre, SaSolutionRangeeLeResoutAvecLesReglesDuJeu) {
  const fs::path relatif = GetParam();
  const fs::path solution = kSolutions / relatif.parent_path() / (relatif.stem().string() + ".gestes");
  ASSERT_TRUE(fs::is_regular_file(solution)) << "pas de solution " << solution;

  TPartie partie;
  partie.DefinirTailleCase(20);
  partie.DefinirVitesse(2);
  const auto lecture = partie.ChargerPlateau((kBibliotheque / relatif).string());
  ASSERT_EQ(lecture.statut, StatutLecture::Ok) << lecture.message;
  ASSERT_EQ(partie.Seuil, 10);
  EXPECT_FALSE(partie.Resolu()) << "le plateau est résolu avant le premier coup";
  const bool porte = APorte(partie.Plateau);

  const auto rejeu = JouerGestes(solution.string(), partie);
  ASSERT_TRUE(rejeu.lu) << rejeu.erreur;
  EXPECT_TRUE(partie.Resolu());
  EXPECT_TRUE(partie.BravoAffiche);
  EXPECT_GT(partie.Compteur, 0);
  // The comment at the top of the file tells the number of moves.
  EXPECT_EQ(rejeu.coupsAnnonces, partie.Compteur);
  // Nothing was lost for want of room in the history, and a board with
  // doors is solved by opening at least one of them.
  EXPECT_FALSE(partie.Historique.Plein());
  int ouvertures = 0;
  for (int i = 0; i < partie.Historique.Fin; ++i)
    if (partie.Historique[i].Code == EvPorteOuverte) ++ouvertures;
  if (porte) {
    EXPECT_GT(ouvertures, 0);
  } else {
    EXPECT_EQ(ouvertures, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Bibliotheque, PlateauLivre, ::testing::ValuesIn(PlateauxLivres()), NomDeTest);

// ------------------------------------------------------- the whole library

TEST(BibliothequeLivree, AssezDePlateauxDansAssezDeDossiers) {
  const auto plateaux = PlateauxLivres();
  EXPECT_GE(plateaux.size(), 22u);
  std::set<std::string> dossiers;
  int pleineTaille = 0, avecPortes = 0;
  for (const auto& relatif : plateaux) {
    dossiers.insert(fs::path(relatif).parent_path().string());
    TPlateau p;
    ASSERT_EQ(LirePlateau((kBibliotheque / relatif).string(), p).statut, StatutLecture::Ok) << relatif;
    if (p.Largeur == kLargeurMax && p.Hauteur == kHauteurMax) ++pleineTaille;
    if (APorte(p)) ++avecPortes;
  }
  EXPECT_GE(dossiers.size(), 3u);
  EXPECT_GE(pleineTaille, 2);
  EXPECT_GE(avecPortes, 3);
  // Boards lie one level down, in their folder.
  for (const auto& relatif : plateaux) EXPECT_EQ(fs::path(relatif).parent_path().parent_path(), fs::path()) << relatif;
}

TEST(BibliothequeLivree, ChaqueSolutionRangeeAppartientAUnPlateau) {
  const auto plateaux = PlateauxLivres();
  std::set<std::string> attendues, dossiers;
  for (const auto& relatif : plateaux) {
    const fs::path p = relatif;
    attendues.insert((p.parent_path() / (p.stem().string() + ".gestes")).string());
    dossiers.insert(p.parent_path().string());
  }
  // Solutions in the library's folders (other folders hold the solutions
  // of boards shipped elsewhere).
  for (const auto& dossier : dossiers) {
    for (const auto& e : fs::directory_iterator(kSolutions / dossier)) {
      const std::string relatif = fs::relative(e.path(), kSolutions).string();
      EXPECT_TRUE(attendues.count(relatif)) << "solution sans plateau : " << relatif;
    }
  }
}

TEST(BibliothequeLivree, LesFichiersSontCeQueDonnentLesDefinitions) {
  std::map<std::string, std::string> construits;
  std::vector<fs::path> fichiers;
  for (const auto& e : fs::directory_iterator(kDefinitions))
    if (e.is_regular_file() && e.path().extension() == ".txt") fichiers.push_back(e.path());
  ASSERT_FALSE(fichiers.empty());
  for (const auto& fichier : fichiers) {
    const auto contenu = ContenuFichier(fichier.string());
    ASSERT_TRUE(contenu.has_value());
    const auto analyse = plateaux::AnalyserDefinitions(*contenu, fichier.string());
    EXPECT_TRUE(analyse.erreurs.empty()) << analyse.erreurs.front();
    for (const auto& d : analyse.plateaux) {
      const auto construit = plateaux::ConstruirePlateau(d);
      ASSERT_TRUE(construit.erreurs.empty()) << construit.erreurs.front();
      EXPECT_TRUE(construit.valide) << d.titre;
      EXPECT_TRUE(construits.emplace(plateaux::CheminRelatif(d), TexteDuPlateau(construit.plateau, "1")).second);
    }
  }
  const auto livres = PlateauxLivres();
  EXPECT_EQ(std::set<std::string>(livres.begin(), livres.end()).size(), construits.size());
  for (const auto& [relatif, texte] : construits) {
    const auto contenu = ContenuFichier((kBibliotheque / relatif).string());
    ASSERT_TRUE(contenu.has_value()) << "plateau défini mais absent : " << relatif;
    EXPECT_TRUE(*contenu == texte) << "plateau à régénérer (glissaro-plateaux) : " << relatif;
  }
}

// ------------------------------------------------- the definition reader

namespace {

plateaux::PlateauConstruit ConstruireSeul(const std::string& texte) {
  const auto analyse = plateaux::AnalyserDefinitions(texte, "essai.txt");
  EXPECT_TRUE(analyse.erreurs.empty()) << (analyse.erreurs.empty() ? "" : analyse.erreurs.front());
  EXPECT_EQ(analyse.plateaux.size(), 1u);
  if (analyse.plateaux.empty()) return {};
  return plateaux::ConstruirePlateau(analyse.plateaux.front());
}

}  // namespace

TEST(DefinitionsDePlateaux, LettresPortesPlacesEtBordsIsoles) {
  const auto r = ConstruireSeul(
      "; un essai\n"
      "dossier: Essais\n"
      "\n"
      "titre: Porte étroite\n"
      "plateau:\n"
      "######\n"
      "#AAb.#\n"
      "#.bb.+\n"
      "######\n"
      "places:\n"
      "######\n"
      "#...*#\n"
      "#...*#\n"
      "######\n");
  ASSERT_TRUE(r.erreurs.empty()) << r.erreurs.front();
  ASSERT_TRUE(r.valide) << r.verdict;
  const TPlateau& p = r.plateau;
  EXPECT_EQ(p.Titre, "Porte étroite");
  EXPECT_EQ(p.Largeur, 6);
  EXPECT_EQ(p.Hauteur, 4);
  EXPECT_EQ(p.Etat, 1);
  // The master piece: two tiles joined side by side.
  EXPECT_EQ(p.Case(2, 2).Serie, TSerieMap::Final);
  EXPECT_TRUE(p.Case(2, 2).Droit);
  EXPECT_FALSE(p.Case(2, 2).Gauche || p.Case(2, 2).Haut || p.Case(2, 2).Bas);
  EXPECT_EQ(p.Case(2, 2).Map, 3);
  EXPECT_EQ(p.Case(2, 3).Map, 4);
  EXPECT_EQ(p.Case(2, 2).Piece, p.Case(2, 3).Piece);
  // The ordinary L: (2,4) down to (3,4), then left to (3,3); not joined to
  // the master beside it.
  EXPECT_EQ(p.Case(2, 4).Serie, TSerieMap::Normal);
  EXPECT_FALSE(p.Case(2, 4).Gauche);
  EXPECT_TRUE(p.Case(2, 4).Bas);
  EXPECT_EQ(p.Case(3, 4).Map, MapDesJonctions(false, true, true, false));
  EXPECT_EQ(p.Case(3, 3).Piece, p.Case(2, 4).Piece);
  EXPECT_NE(p.Case(3, 3).Piece, p.Case(2, 2).Piece);
  // A door cell: a border tile with Porte and image 16, a piece of its own.
  EXPECT_EQ(p.Case(3, 6).Serie, TSerieMap::Bord);
  EXPECT_TRUE(p.Case(3, 6).Porte);
  EXPECT_EQ(p.Case(3, 6).Map, kMapPorteFermee);
  // Floor: image 0 even on a final place, as the editor writes it.
  EXPECT_EQ(p.Case(2, 5).Serie, TSerieMap::Vide);
  EXPECT_TRUE(p.Case(2, 5).PlaceFinal);
  EXPECT_EQ(p.Case(2, 5).Map, kMapFond);
  EXPECT_EQ(p.Case(2, 5).Piece, 0);
  EXPECT_TRUE(p.Case(3, 5).PlaceFinal);
  EXPECT_FALSE(p.Case(3, 2).PlaceFinal);
  // Without "bords:", every border tile is a piece of one tile.
  EXPECT_EQ(p.Case(1, 1).Map, 0);
  EXPECT_NE(p.Case(1, 1).Piece, p.Case(1, 2).Piece);
  // Numbered as the editor numbers: column by column from the left.
  EXPECT_EQ(p.Case(1, 1).Piece, 1);
  EXPECT_EQ(p.Case(2, 1).Piece, 2);
  EXPECT_EQ(p.Case(3, 1).Piece, 3);
  EXPECT_EQ(p.Case(4, 1).Piece, 4);
  EXPECT_EQ(p.Case(1, 2).Piece, 5);
  EXPECT_EQ(p.Case(2, 2).Piece, 6);
  EXPECT_EQ(plateaux::CheminRelatif(plateaux::AnalyserDefinitions("dossier: Essais\ntitre: Porte étroite\n", "x").plateaux.at(0)),
            "Essais/Porte étroite.wbp");
}

TEST(DefinitionsDePlateaux, BordsJointsOuJonctionsDessinees) {
  const std::string dessin =
      "plateau:\n"
      "#####\n"
      "#A..#\n"
      "#####\n"
      "places:\n"
      "#####\n"
      "#..*#\n"
      "#####\n";
  const auto anneau = ConstruireSeul("dossier: D\ntitre: Anneau\nbords: joints\n" + dessin);
  ASSERT_TRUE(anneau.valide);
  const auto& a = anneau.plateau;
  // The whole frame is one piece, its corners and sides drawn joined.
  for (int l = 1; l <= 3; ++l)
    for (int c = 1; c <= 5; ++c)
      if (a.Case(l, c).Serie == TSerieMap::Bord) {
        EXPECT_EQ(a.Case(l, c).Piece, 1) << l << "," << c;
      }
  EXPECT_EQ(a.Case(1, 1).Map, MapDesJonctions(true, false, false, true));
  EXPECT_EQ(a.Case(1, 3).Map, MapDesJonctions(true, true, false, false));
  EXPECT_EQ(a.Case(2, 5).Map, MapDesJonctions(false, false, true, true));

  const auto marques = ConstruireSeul("dossier: D\ntitre: Marques\n" + dessin +
                                      "jonctions:\n"
                                      "aab..\n"
                                      "a...b\n"
                                      "a..bb\n");
  ASSERT_TRUE(marques.valide);
  const auto& m = marques.plateau;
  EXPECT_EQ(m.Case(1, 1).Piece, m.Case(1, 2).Piece);
  EXPECT_EQ(m.Case(1, 1).Piece, m.Case(3, 1).Piece);
  EXPECT_NE(m.Case(1, 2).Piece, m.Case(1, 3).Piece);  // 'a' beside 'b'
  EXPECT_EQ(m.Case(1, 3).Map, 0);                      // 'b' alone up there
  EXPECT_NE(m.Case(1, 4).Piece, m.Case(1, 5).Piece);  // '.' joins nothing
  EXPECT_EQ(m.Case(2, 5).Piece, m.Case(3, 5).Piece);
  EXPECT_EQ(m.Case(3, 4).Piece, m.Case(3, 5).Piece);
  EXPECT_FALSE(m.Case(2, 5).Haut);
}

TEST(DefinitionsDePlateaux, UnPlateauQuiEchoueALaVerificationNEstPasValide) {
  // No master tile: the editor's check refuses it, the status is 0.
  const auto r = ConstruireSeul("dossier: D\ntitre: Sans maître\nplateau:\n###\n#a#\n#.#\n###\nplaces:\n...\n...\n.*.\n...\n");
  EXPECT_TRUE(r.erreurs.empty());
  EXPECT_FALSE(r.valide);
  EXPECT_EQ(r.verdict, kTextePasDeMaitre);
  EXPECT_EQ(r.plateau.Etat, 0);
}

TEST(DefinitionsDePlateaux, LesFautesSontSignaleesAvecLeFichierEtLaLigne) {
  auto erreurs = [](const std::string& texte) { return plateaux::AnalyserDefinitions(texte, "f.txt").erreurs; };
  auto fautesDeConstruction = [](const std::string& texte) {
    const auto analyse = plateaux::AnalyserDefinitions(texte, "f.txt");
    EXPECT_TRUE(analyse.erreurs.empty());
    return analyse.plateaux.empty() ? std::vector<std::string>{"rien"}
                                    : plateaux::ConstruirePlateau(analyse.plateaux.front()).erreurs;
  };
  // Reading.
  auto e = erreurs("titre: Orphelin\n");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].rfind("Fichier f.txt, ligne 1 : ", 0), 0u) << e[0];
  EXPECT_FALSE(erreurs("dossier: D\ntitre: Un titre bien trop long\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: A/B\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: Œuf ☺\n").empty());  // ☺ is not in Windows-1252
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\nplateau:\n#?#\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\nbords: collés\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\ntitre: T\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\n###\n").empty());
  EXPECT_TRUE(erreurs("dossier: D\ntitre: Œuf\n").empty());
  // Building.
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A\n###\nplaces:\n...\n.*.\n...\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n*..\n...\n...\n").empty());
  EXPECT_FALSE(fautesDeConstruction(
                   "dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n...\njonctions:\n...\n.a.\n...\n")
                   .empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n" + std::string(21, '#') + "\n#A" +
                                    std::string(18, '.') + "#\n" + std::string(21, '#') + "\nplaces:\n" +
                                    std::string(21, '.') + "\n.*" + std::string(19, '.') + "\n" + std::string(21, '.') +
                                    "\n")
                   .empty());
  EXPECT_TRUE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n...\n").empty());
}
