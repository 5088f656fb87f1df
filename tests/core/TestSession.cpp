// The session: the current board and its game, what its observers are told,
// the records of the board played, the settings.
#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "Fichiers.h"
#include "Session.h"

using namespace glissaro;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;
using glissaro::test::Geste;

namespace {

struct Spectateur : ObservateurSession {
  std::vector<std::string> titres, compteurs, felicitations;
  int reglages = 0;
  void TitreAffiche(const std::string& titre) override { titres.push_back(titre); }
  void CompteurAffiche(const std::string& texte) override { compteurs.push_back(texte); }
  void Felicitations(const std::string& texte, int32_t) override { felicitations.push_back(texte); }
  void ReglagesModifies() override { ++reglages; }
};

// Master A goes two cells right onto the final place: one move.
std::string Ranger(const DossierTemporaire& dossier, const std::string& chemin, const std::string& titre) {
  const auto complet = dossier.Fichier("plateaux/" + chemin);
  CreerDossiers(complet.substr(0, complet.rfind('/')));
  auto p = Dessiner({"#####", "#A..#", "#b..#", "#####"}, {".....", "...x.", ".....", "....."}, titre);
  if (titre == "Deux") p.Case(3, 2).PlaceFinal = true;  // another board than the first
  EXPECT_TRUE(EcrirePlateau(complet, p, "1").ok);
  return complet;
}

}  // namespace

TEST(Session, DuChargementALaFermetureEtLesReglages) {
  DossierTemporaire dossier;
  const auto un = Ranger(dossier, "A/01 - Un.wbp", "Un");
  const auto deux = Ranger(dossier, "A/02 - Deux.wbp", "Deux");
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  Spectateur spectateur;
  session.AjouterObservateur(&spectateur);
  EXPECT_EQ(session.Chemin(), dossier.Chemin() + "/");
  EXPECT_FALSE(session.PlateauChoisi());

  ASSERT_EQ(session.ChargerPlateau(un).statut, StatutLecture::Ok);
  EXPECT_EQ(session.CheminDansLaBibliotheque(), "A/01 - Un.wbp");
  EXPECT_EQ(spectateur.titres, std::vector<std::string>{"Un"});
  EXPECT_EQ(spectateur.compteurs, std::vector<std::string>{"0000"});
  EXPECT_FALSE(session.OptimumConnu());
  session.NoterOptimum(1);
  EXPECT_TRUE(session.OptimumConnu());
  // The game solved: noted in the records before the congratulation, which
  // carries the result.
  Geste(session.Partie(), 2, 2, {{1, 0}, {1, 0}});
  ASSERT_EQ(spectateur.felicitations.size(), 1u);
  EXPECT_EQ(spectateur.felicitations[0], TexteFelicitations(1) + "\nRésolu en 1 coup — optimum atteint !");
  EXPECT_EQ(session.PlateauSuivant(), deux);

  // A file that cannot be played stays the current one, with no game.
  ASSERT_EQ(session.ChargerPlateau(dossier.Fichier("absent.wbp")).statut, StatutLecture::Erreur);
  EXPECT_TRUE(session.PlateauChoisi());
  EXPECT_FALSE(session.Partie().Charge());
  session.FermerPlateau();
  EXPECT_FALSE(session.PlateauChoisi());
  EXPECT_EQ(spectateur.titres.back(), "Version 1.00");
  EXPECT_EQ(spectateur.compteurs.back(), "0000");

  // Settings: each change told, the move speed reaching the game, kept at
  // the close for the next run.
  session.DefinirVitesseDeplacement(4);
  session.DefinirZoom(200);
  EXPECT_EQ(spectateur.reglages, 2);
  EXPECT_EQ(session.Partie().Seuil(), 20 / 4);
  ASSERT_TRUE(session.EnregistrerReglages().ok);
  session.RetirerObservateur(&spectateur);
  TSession suivante(dossier.Chemin() + "/", dialogues);
  EXPECT_EQ(suivante.Reglages().VitesseDeplacement, 4);
  EXPECT_EQ(suivante.Reglages().Zoom, 200);
  EXPECT_EQ(suivante.Partie().Vitesse(), 4);
  EXPECT_TRUE(dialogues.appels.empty());
}
