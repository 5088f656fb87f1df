// The solver in the windows: the solution shown through the replay, the
// editor's "Résoudre", the author's proposed number of moves and the board
// manager's optimum.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "AideFenetres.h"
#include "FormEditeur.h"
#include "Magneto.h"
#include "UAuteur.h"
#include "UNouveau.h"
#include "Records.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"
#include "gestion.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

// A with b in the way; the door must open: two moves from the start.
TPlateau Porte() {
  return Dessiner({"#####", "#Ab.D", "#...#", "#####"}, {".....", "....x", ".....", "....."}, "Porte");
}


}  // namespace

TEST(Solution, LePlateauMontreLaSolutionDepuisLaPositionParLeMagnetoscope) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  TFrmMagneto magneto(session, player, plateau);
  player.DefinirFenetres({&plateau, nullptr, &magneto});
  const auto fichier = dossier.Plateau(Porte());
  plateau.ChargerPlateau(fichier);
  // One move first: b down.
  Appuyer(plateau.ImagePlateau, {50, 30});
  Deplacer(plateau.ImagePlateau, {50, 51});
  Relacher(plateau.ImagePlateau, {50, 51});
  ASSERT_EQ(plateau.Partie().Compteur(), 1);
  const auto pos = plateau.Partie().Historique().PosHistorique;
  plateau.MontrerSolution1->trigger();
  ASSERT_EQ(dialogues.Textes("information").size(), 1u);
  EXPECT_EQ(dialogues.Textes("information")[0].rfind("Solution optimale en 2 coups depuis", 0), 0u);
  // The board has not moved; the solution waits in the history.
  EXPECT_EQ(plateau.Partie().Historique().PosHistorique, pos);
  EXPECT_GT(plateau.Partie().Historique().Fin, pos);
  EXPECT_EQ(plateau.Partie().Plateau().Case(2, 2).Serie, TSerieMap::Final);
  magneto.TBFin->click();
  EXPECT_TRUE(plateau.Partie().Resolu());
  EXPECT_EQ(plateau.Partie().Compteur(), 1 + 2);
  // Solved by the solution shown, not by play: no record.
  Cliquer(plateau.ImagePlateau, {10, 10});
  ASSERT_EQ(dialogues.Textes("choix").size(), 1u);
  const auto records = TRecords::Charger(plateau.FichierRecords());
  const auto* record = records.Trouver(EmpreintePlateau(Porte()));
  EXPECT_TRUE(!record || !record->Resolu);
  plateau.hide();

  // From a position without a way out.
  plateau.ChargerPlateau(dossier.Plateau(Dessiner({"A#."}, {"..x"}, "Bloque")));
  plateau.MontrerSolution1->trigger();
  EXPECT_EQ(dialogues.Textes("information").back(), "Aucune solution depuis cette position");
  EXPECT_EQ(plateau.Partie().Historique().Fin, 0);
  plateau.hide();
}

TEST(Solution, LEditeurResoutApresLaVerification) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TFrmNouveau nouveau(nullptr);
  TFrmEditeur editeur(nouveau, dialogues, dossier.Q());
  const auto fichier = dossier.Plateau(Porte());
  ASSERT_TRUE(editeur.OuvrirPlateau(fichier));
  editeur.Resoudre1->trigger();
  ASSERT_FALSE(dialogues.Textes("information").empty());
  EXPECT_EQ(dialogues.Textes("information").back(), "Solution optimale en 2 coups (4 pas)");
  ASSERT_TRUE(editeur.OuvrirPlateau(dossier.Plateau(Dessiner({"A.."}, {"..x"}, "Un"))));
  editeur.Resoudre1->trigger();
  EXPECT_EQ(dialogues.Textes("information").back(), "Solution optimale en 1 coup (2 pas)");
  ASSERT_TRUE(editeur.OuvrirPlateau(dossier.Plateau(Dessiner({"A#."}, {"..x"}, "Bloque"))));
  editeur.Resoudre1->trigger();
  EXPECT_EQ(dialogues.Textes("information").back(), "Ce plateau n'a pas de solution");
  // A board that fails the check is not solved.
  ASSERT_TRUE(editeur.OuvrirPlateau(dossier.Plateau(Dessiner({"A."}, {"..", }, "Sans"))));
  const auto infos = dialogues.Textes("information").size();
  editeur.Resoudre1->trigger();
  EXPECT_EQ(dialogues.Textes("information").size(), infos);
  EXPECT_EQ(dialogues.Textes("avertissement").back(), "Pas d'emplacement final! Grille Incorrecte");
}

TEST(Solution, LAuteurSeVoitProposerLOptimum) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TImagesPieces images;
  TFrmAuteur ecran(dossier.Q(), images, dialogues);
  dialogues.fichiers = {dossier.Plateau(Porte()).toStdString()};
  ecran.BitBtn1->click();
  EXPECT_EQ(ecran.Edit2->text(), "2");
}

TEST(Solution, LaGestionAfficheLOptimumDuPlateauChoisi) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TImagesPieces images;
  QDir().mkpath(dossier.Q() + "plateaux/Essais");
  ASSERT_TRUE(EcrirePlateau((dossier.Q() + "plateaux/Essais/Porte.wbp").toStdString(), Porte(), "1").ok);
  const QString passage = dossier.Q() + "plateaux/Essais/Passage.wbp";
  ASSERT_TRUE(QFile::copy(QString(GLISSARO_SOURCES) + "/data/plateaux/1 - Premiers pas/11 - Le passage.wbp", passage));
  TFrmGestion gestion(dossier.Q(), images, dialogues);
  gestion.show();
  gestion.TreeView1->setCurrentItem(gestion.Noeud("Essais", "Porte"));
  EXPECT_TRUE(Attendre([&] { return gestion.LabelSolution->text() == "Solution optimale : 2 coups"; }))
      << gestion.LabelSolution->text().toStdString();

  // Too many positions to prove the fewest moves: the answer of the fast
  // search is shown as such and never kept as the optimum.
  gestion.OptionsApercu.limiteEtats = 3000;
  gestion.TreeView1->setCurrentItem(gestion.Noeud("Essais", "Passage"));
  EXPECT_TRUE(Attendre([&] { return gestion.LabelSolution->text() == "Solution trouvée : 6 coups (non optimale)"; }))
      << gestion.LabelSolution->text().toStdString();
  TPlateau lu;
  ASSERT_EQ(LirePlateau(passage.toStdString(), lu).statut, StatutLecture::Ok);
  const auto* record = TRecords::Charger(CheminRecords(dossier.Q().toStdString())).Trouver(EmpreintePlateau(lu));
  EXPECT_TRUE(!record || !record->Optimum);
  gestion.hide();
}
