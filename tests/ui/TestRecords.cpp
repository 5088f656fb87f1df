// The end of a game: the result against the optimum, the player's records,
// and the way on through the library.
#include <gtest/gtest.h>

#include "AideFenetres.h"
#include "Records.h"
#include "Uplateau.h"
#include "Uplayer.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {


// Master A goes two cells right onto the final place: one move at best.
TPlateau Couloir(const std::string& titre) {
  return Dessiner({"#####", "#A..#", "#b..#", "#####"}, {".....", "...x.", ".....", "....."}, titre);
}

class FinDePartieTest : public ::testing::Test {
 protected:
  FinDePartieTest() : player(dialogues, dossier.Q()), plateau(player, dialogues) {
    player.DefinirFenetres({&plateau});
    player.show();
  }
  ~FinDePartieTest() override { plateau.hide(); }

  // A board of the library, written under plateaux/.
  QString Ranger(const std::string& chemin, const TPlateau& p) {
    const auto complet = dossier.Chemin() + "/plateaux/" + chemin;
    CreerDossiers(complet.substr(0, complet.rfind('/')));
    EcrirePlateau(complet, p, "1");
    return QString::fromStdString(complet);
  }
  void Charger(const QString& fichier) {
    player.FichierPlateau = fichier;
    plateau.ChargerPlateau(fichier);
    ASSERT_TRUE(Attendre([this] { return !plateau.RechercheOptimumEnCours(); }, 5000));
  }
  void Tirer(int ligne, int colonne, int dx, int cellules) {
    const int t = plateau.TailleCase();
    QPoint p((colonne - 1) * t + t / 2, (ligne - 1) * t + t / 2);
    Appuyer(plateau.ImagePlateau, p);
    for (int i = 0; i < cellules; ++i) Deplacer(plateau.ImagePlateau, p += QPoint(dx * t, 0));
    Relacher(plateau.ImagePlateau, p);
  }
  const RecordPlateau* Record(const TPlateau& p) {
    records = TRecords::Charger(plateau.FichierRecords());
    return records.Trouver(EmpreintePlateau(p));
  }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TFrmPlayer player;
  TFrmPlateau plateau;
  TRecords records;
};

}  // namespace

TEST_F(FinDePartieTest, LeResultatFaceALOptimumEtLeRecordRetenu) {
  const auto p = Couloir("Couloir");
  const auto fichier = Ranger("1 - Essais/01 - Couloir.wbp", p);
  Charger(fichier);
  ASSERT_NE(Record(p), nullptr);
  EXPECT_EQ(Record(p)->Optimum, 1);  // searched at the load, kept
  EXPECT_FALSE(Record(p)->Resolu);

  Tirer(3, 2, 1, 1);  // b, then A: two moves
  Tirer(2, 2, 1, 2);
  ASSERT_EQ(dialogues.Textes("choix").size(), 1u);
  EXPECT_EQ(dialogues.Textes("choix")[0],
            "Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !\n"
            "Résolu en 2 coups — optimum : 1 coup");
  ASSERT_NE(Record(p), nullptr);
  EXPECT_EQ(Record(p)->Meilleur, 2);
  EXPECT_EQ(Record(p)->Chemin, "1 - Essais/01 - Couloir.wbp");
  EXPECT_EQ(Record(p)->Date, DateDuJour());

  Charger(fichier);  // as "RAZ" does
  Tirer(2, 2, 1, 2);
  ASSERT_EQ(dialogues.Textes("choix").size(), 2u);
  EXPECT_EQ(dialogues.Textes("choix")[1],
            "Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !\n"
            "Résolu en 1 coup — optimum atteint !\nNouveau record ! (ancien : 2 coups)");
  EXPECT_TRUE(Record(p)->ResoluALOptimum());
  EXPECT_TRUE(dialogues.Textes("avertissement").empty());
}

TEST_F(FinDePartieTest, PlateauSuivantDansLOrdreDeLaBibliothequeSansCeuxDejaParfaits) {
  auto deux = Couloir("Deux");
  deux.Case(3, 2).PlaceFinal = true;  // another board than the first
  auto quatre = Couloir("Quatre");
  quatre.Case(1, 1).Map = 5;  // another border picture
  const auto un = Ranger("1 - Essais/01 - Un.wbp", Couloir("Un"));
  Ranger("1 - Essais/02 - Deux.wbp", deux);
  Ranger("1 - Essais/03 - Trois.wbp", Dessiner({"#####", "#A.b#", "#####"}, {".....", "..x..", "....."}, "Trois"));
  Ranger("2 - Suite/01 - Quatre.wbp", quatre);
  // "Deux" was solved at its optimum already: it is passed over.
  ModifierRecords(plateau.FichierRecords(), [&](TRecords& r) {
    r.NoterPartie(EmpreintePlateau(deux), "Deux", "x", {.coups = 4}, "2026-01-01");
    r.NoterOptimum(EmpreintePlateau(deux), "Deux", "x", 4);
  });

  Charger(un);
  dialogues.choix = {true};
  Tirer(2, 2, 1, 2);
  ASSERT_TRUE(Attendre([this] { return plateau.windowTitle() == "Trois"; }, 5000));
  EXPECT_TRUE(player.FichierPlateau.endsWith("/plateaux/1 - Essais/03 - Trois.wbp"));
  EXPECT_EQ(plateau.Partie.Compteur, 0);

  Charger(player.FichierPlateau.replace("1 - Essais/03 - Trois", "2 - Suite/01 - Quatre"));
  dialogues.choix = {true};
  Tirer(2, 2, 1, 2);
  ASSERT_TRUE(Attendre([this] { return !dialogues.Textes("information").empty(); }, 5000));
  EXPECT_EQ(dialogues.Textes("information").back(), "Vous avez résolu toute la bibliothèque !");
  EXPECT_EQ(plateau.windowTitle(), "Quatre");
}
