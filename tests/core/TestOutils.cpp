#include <gtest/gtest.h>

#include <sstream>

#include "AideFichiers.h"
#include "AideOutils.h"
#include "AidePlateau.h"
#include "Outils.h"
#include "Rejeu.h"
#include "Sequence.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;
using glissaro::test::Lancer;

TEST(Outils, VerifierAfficheLeVerdictLesFautesEtLesPieces) {
  DossierTemporaire dossier;
  const auto bon = dossier.Fichier("bon.wbp");
  ASSERT_TRUE(EcrirePlateau(bon, Dessiner({"#.", "A."}, {"..", ".x"}, "Bon"), "0").ok);
  auto mauvais = Dessiner({"aa", "aA"}, {"..", ".x"}, "Mauvais");
  mauvais.Case(2, 1).Haut = false;  // (1,1) keeps Bas: not given back
  const auto faux = dossier.Fichier("faux.wbp");
  ASSERT_TRUE(EcrirePlateau(faux, mauvais, "1").ok);

  auto s = Lancer({"verifier", bon});
  EXPECT_EQ(s.statut, 0);
  EXPECT_EQ(s.sortie, bon + "\ntitre Bon\ntaille 2 2\netat 0\nverdict Grille correcte\npieces\n1 0\n2 0\n");

  s = Lancer({"verifier", bon, faux});
  EXPECT_EQ(s.statut, 1);
  EXPECT_NE(s.sortie.find(faux + "\ntitre Mauvais\ntaille 2 2\netat 1\nverdict Grille Incorrecte\nfautes (1,1)\n"),
            std::string::npos)
      << s.sortie;

  s = Lancer({"verifier", dossier.Fichier("absent.wbp")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.erreurs, "Impossible d'ouvrir le fichier " + dossier.Fichier("absent.wbp") + "\n");
}

TEST(Outils, JouerRejoueLesGestesEtEnregistreLaSequence) {
  DossierTemporaire dossier;
  const auto plateau = dossier.Fichier("p.wbp");
  ASSERT_TRUE(EcrirePlateau(plateau, Dessiner({"#D#", "...", "A.."}, {"...", "..x", "..."}, "Porte", 2), "2").ok);
  const auto gestes = dossier.Fichier("g.txt");
  ASSERT_TRUE(EcrireFichierSur(gestes,
                               "# A monte, puis passe sous la porte\n"
                               "appuyer 10 50\nglisser 10 29\nglisser 31 29\nrelacher 31 29\n\n"
                               "appuyer-droit 30 30\nglisser 60 30\nrelacher 60 30\n"
                               "appuyer 30 30\nglisser 51 30\nrelacher 51 30\n")
                  .ok);
  const auto sequence = dossier.Fichier("s.swb");
  const auto s = Lancer({"jouer", plateau, gestes, "--sequence", sequence});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  // A is piece 2 (column 1: the border tile, then A); the door is piece 3
  // and keeps its number once open.
  EXPECT_EQ(s.sortie,
            "bravo 2\n"
            "compteur 2\n"
            "position 7 7\n"
            "evenement -1 2\n"
            "evenement 2 2\n"
            "evenement 16 201\n"
            "evenement 17 201\n"
            "evenement 14 1\n"
            "evenement 14 2\n"
            "evenement 2 2\n"
            "plateau\n"
            "2/0/1 3/0/3 2/0/4\n"
            "3/0/0 3/0/0 1/0/2\n"
            "3/0/0 3/0/0 3/0/0\n"
            "noms\n"
            "L1C1 L1C2 L1C3\n"
            "L2C2 L2C3 L3C1\n"
            "L2C1 L3C2 L3C3\n")
      << s.sortie;
  EXPECT_EQ(ContenuFichier(sequence)->size(), 4u * (15 + 7));

  // Replayed to its end, the sequence tells the same.
  auto r = Lancer({"rejouer", plateau, sequence});
  EXPECT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_EQ(r.sortie, s.sortie);
  // Refused: a door opened on the master tile; a sequence of another board.
  auto octets = *ContenuFichier(sequence);
  octets.replace(4 * 15, 4, std::string("\x67\x00\x11\x00", 4));  // opened, 103: A at row 3, column 1
  ASSERT_TRUE(EcrireFichierSur(sequence, octets).ok);
  r = Lancer({"rejouer", plateau, sequence});
  EXPECT_EQ(r.statut, 1);
  EXPECT_EQ(r.sortie, "");
  EXPECT_EQ(r.erreurs, "Séquence incorrecte pour ce plateau (événement n° 1)\n");
  ASSERT_TRUE(EcrireFichierSur(sequence, "A" + std::string(3, '\0') + octets.substr(4)).ok);
  r = Lancer({"rejouer", plateau, sequence});
  EXPECT_EQ(r.statut, 1);
  EXPECT_EQ(r.erreurs, "Erreur !!! . Cette sauvegarde appartient au plateau : Aorte\n");
  EXPECT_EQ(Lancer({"jouer", plateau, gestes, "--vitesse", "0"}).erreurs,
            "Option --vitesse : la valeur doit être supérieure à 0 (0 donné)\n");

  // Errors: a gesture file with a wrong line, a board never validated.
  ASSERT_TRUE(EcrireFichierSur(gestes, "appuyer 1\n").ok);
  auto e = Lancer({"jouer", plateau, gestes});
  EXPECT_EQ(e.statut, 1);
  EXPECT_NE(e.erreurs.find("ligne 1"), std::string::npos);
  ASSERT_TRUE(EcrirePlateau(plateau, Dessiner({"A"}, {"x"}), "0").ok);
  ASSERT_TRUE(EcrireFichierSur(gestes, "relacher 0 0\n").ok);
  e = Lancer({"jouer", plateau, gestes});
  EXPECT_EQ(e.statut, 1);
  EXPECT_NE(e.erreurs.find("Ce plateau n'a pas été testé \"valide\" avec l'editeur"), std::string::npos);
}

TEST(Outils, ResoudreDonneLOptimumEtUneSequenceQuiLeRejoue) {
  DossierTemporaire dossier;
  const auto chemin = dossier.Fichier("p.wbp");
  const auto plateau = Dessiner({"#####", "#Ab.D", "#...#", "#####"}, {".....", "....x", ".....", "....."}, "Porte");
  ASSERT_TRUE(EcrirePlateau(chemin, plateau, "1").ok);
  const auto sequence = dossier.Fichier("s.swb");
  auto s = Lancer({"resoudre", chemin, "--sequence", sequence});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  ASSERT_EQ(s.sortie.rfind("coups ", 0), 0u) << s.sortie;
  const int coups = std::stoi(s.sortie.substr(6));
  // A around b in one move; the door opens on the way: one more.
  EXPECT_EQ(coups, 2);
  EXPECT_NE(s.sortie.find("\noptimale oui\n"), std::string::npos) << s.sortie;
  const auto lu = LireSequence(sequence);
  ASSERT_TRUE(lu.ok);
  EXPECT_TRUE(TitreCorrespond(lu.titreStocke, "Porte"));
  TPartie partie;
  TPlateau relu;
  ASSERT_EQ(LirePlateau(chemin, relu).statut, StatutLecture::Ok);
  partie.CommencerPartie(relu);
  partie.RechargerSequence(lu.evenements);
  partie.AllerALaFin();
  EXPECT_TRUE(partie.Resolu());
  EXPECT_EQ(partie.Compteur(), coups);

  s = Lancer({"resoudre", chemin, "--pas"});
  // In steps: b down, then A right three times.
  EXPECT_EQ(s.sortie.rfind("pas 4\n", 0), 0u) << s.sortie;

  ASSERT_TRUE(EcrirePlateau(chemin, Dessiner({"A#."}, {"..x"}, "Bloque"), "1").ok);
  s = Lancer({"resoudre", chemin});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.sortie, "etats 1\naucune solution\n");
  ASSERT_TRUE(EcrirePlateau(chemin, Dessiner({"A.......", "........", "........"}, {"........", "........", ".......x"}), "1").ok);
  s = Lancer({"resoudre", chemin, "--limite", "2"});
  EXPECT_NE(s.sortie.find("limite atteinte"), std::string::npos) << s.sortie;
}
