#include <gtest/gtest.h>

#include "AideFichiers.h"
#include "AidePlateau.h"
#include "Sequence.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;
using glissaro::test::Geste;

TEST(Sequence, JusteApresUnChargementLeFichierNeTientQueLeTitre) {
  DossierTemporaire dossier;
  TPartie partie;
  partie.CommencerPartie(Dessiner({"a."}, {}, "Niveau 0"));
  const auto chemin = dossier.Fichier("s.swb");
  ASSERT_TRUE(EcrireSequence(chemin, partie.Plateau().Titre, partie.Historique()).ok);
  const auto octets = *ContenuFichier(chemin);
  ASSERT_EQ(octets.size(), 60u);
  // 'N' = 78, Code 0, reserved 0; padding with spaces.
  EXPECT_EQ(octets.substr(0, 4), std::string("N\0\0\0", 4));
  EXPECT_EQ(octets.substr(56, 4), std::string(" \0\0\0", 4));
}

TEST(Sequence, EnregistrementsPetitBoutisteEtPositionCourante) {
  TPartie partie;
  partie.CommencerPartie(Dessiner({"a......"}, {}, "Un titre bien trop long"));
  Geste(partie, 1, 1, {{1, 0}, {1, 0}});
  Geste(partie, 1, 3, {{1, 0}});
  ASSERT_EQ(partie.Historique().Fin, 4);
  partie.AllerAuDebut();  // stepped back by the replay
  for (int i = 0; i < 3; ++i) partie.Avancer();
  const auto octets = TexteSequence(partie.Plateau().Titre, partie.Historique());
  ASSERT_EQ(octets.size(), 4u * (15 + 3));
  EXPECT_EQ(octets.substr(14 * 4, 4), std::string("t\0\0\0", 4));  // 15th character of the title
  EXPECT_EQ(octets.substr(15 * 4, 4), std::string("\x01\x00\x02\x00", 4));  // right, piece 1
  EXPECT_EQ(octets.substr(17 * 4, 4), std::string("\x01\x00\x0E\x00", 4));  // counter mark 1

  // Negative codes are stored as their byte.
  THistorique h;
  h.Ajouter(static_cast<int16_t>(513), EvHaut);
  h.Ajouter(static_cast<int16_t>(-2), EvGauche);
  const auto o = TexteSequence("x", h);
  EXPECT_EQ(o.substr(60, 8), std::string("\x01\x02\xFF\x00\xFE\xFF\xFE\x00", 8));
  const auto relu = LireSequenceDepuisOctets(o, "x.swb");
  ASSERT_TRUE(relu.ok);
  ASSERT_EQ(relu.evenements.size(), 2u);
  EXPECT_EQ(relu.evenements[0].Valeur, 513);
  EXPECT_EQ(relu.evenements[0].Code, EvHaut);
  EXPECT_EQ(relu.evenements[1].Valeur, -2);
}

TEST(Sequence, TitreStockeEtComparaison) {
  THistorique vide;
  const auto octets = TexteSequence("niveau été", vide);
  const auto r = LireSequenceDepuisOctets(octets, "s.swb");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.titreStocke, "niveau été     ");
  EXPECT_TRUE(TitreCorrespond(r.titreStocke, "NIVEAU été"));
  EXPECT_TRUE(TitreCorrespond(r.titreStocke, "  Niveau été\t"));
  EXPECT_FALSE(TitreCorrespond(r.titreStocke, "NIVEAU ÉTÉ"));  // only a to z ignore case
  EXPECT_FALSE(TitreCorrespond(r.titreStocke, "Niveau 1"));
  // Only the board title's first 15 characters count.
  EXPECT_TRUE(TitreCorrespond("Le grand carre ", "Le grand carre rouge"));
  EXPECT_FALSE(TitreCorrespond("Le grand carre ", "Le grand carré rouge"));
  EXPECT_TRUE(TitreCorrespond(LireSequenceDepuisOctets(TexteSequence("Le grand carre bleu", vide), "s").titreStocke,
                              "Le grand carre rouge"));
  EXPECT_EQ(MessageAutrePlateau("  Niveau 3   "), "Erreur !!! . Cette sauvegarde appartient au plateau : Niveau 3");

  // Records whose Valeur is 0 are left out of the stored title.
  std::string avecZero = octets;
  avecZero[0] = '\0';
  EXPECT_EQ(LireSequenceDepuisOctets(avecZero, "s").titreStocke, "iveau été     ");
}

TEST(Sequence, FichiersIncorrectsOuTropLongs) {
  THistorique vide;
  auto octets = TexteSequence("abc", vide);
  EXPECT_FALSE(LireSequenceDepuisOctets(octets.substr(0, 59), "s.swb").ok);  // ends inside a record
  EXPECT_FALSE(LireSequenceDepuisOctets(octets.substr(0, 56), "s.swb").ok);  // shorter than its title
  EXPECT_FALSE(LireSequence("/nulle/part.swb").ok);
  EXPECT_EQ(LireSequence("/nulle/part.swb").message, "Impossible d'ouvrir le fichier /nulle/part.swb");

  // As many events as the history holds, and not one more.
  for (int i = 0; i < THistorique::kCapacite; ++i) octets += std::string("\x01\x00\x02\x00", 4);
  DossierTemporaire dossier;
  const auto chemin = dossier.Fichier("long.swb");
  ASSERT_TRUE(EcrireFichierSur(chemin, octets).ok);
  const auto r = LireSequence(chemin);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.evenements.size(), static_cast<std::size_t>(THistorique::kCapacite));
  ASSERT_TRUE(EcrireFichierSur(chemin, octets + std::string("\x01\x00\x02\x00", 4)).ok);
  EXPECT_FALSE(LireSequence(chemin).ok);
  EXPECT_EQ(LireSequence(chemin).message, "Le fichier " + chemin + " est trop grand");
  THistorique h;
  h.Charger(r.evenements);
  EXPECT_EQ(h.PosHistorique, 0);
  EXPECT_EQ(h.Fin, THistorique::kCapacite);
}
