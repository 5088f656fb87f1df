// The end of a game: the result against the optimum, the player's records,
// and the way on through the library.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "AideFenetres.h"
#include "AideFichiers.h"
#include "Records.h"
#include "Uplateau.h"
#include "Session.h"
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
  FinDePartieTest() : session(dossier.Chemin(), dialogues), player(session, dialogues), plateau(session, player, dialogues) {
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
  TSession session;
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

TEST_F(FinDePartieTest, LOptimumLivreAvecLaBibliothequeSansLeChercherNiLEcrire) {
  const auto p = Couloir("Couloir");
  const auto fichier = Ranger("1 - Essais/01 - Couloir.wbp", p);
  ASSERT_TRUE(EcrireFichierSur(CheminOptimaLivres(dossier.Chemin() + "/"),
                               TexteOptimaLivres({{EmpreintePlateau(p), 1}})).ok);
  plateau.ChargerPlateau(fichier);
  EXPECT_FALSE(plateau.RechercheOptimumEnCours());
  const auto lus = session.Records().Lire();
  ASSERT_NE(lus.Trouver(EmpreintePlateau(p)), nullptr);
  EXPECT_EQ(lus.Trouver(EmpreintePlateau(p))->Optimum, 1);
  Tirer(2, 2, 1, 2);
  ASSERT_EQ(dialogues.Textes("choix").size(), 1u);
  EXPECT_NE(dialogues.Textes("choix")[0].find("Résolu en 1 coup — optimum atteint !"), std::string::npos);
  EXPECT_TRUE(session.Records().Lire().Trouver(EmpreintePlateau(p))->ResoluALOptimum());
  // The file keeps the player's own: the game, not the shipped optimum.
  const auto texte = ContenuFichier(plateau.FichierRecords()).value();
  EXPECT_NE(texte.find("Meilleur=1"), std::string::npos);
  EXPECT_EQ(texte.find("Optimum="), std::string::npos);
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
  session.Records().Modifier([&](TRecords& r) {
    r.NoterPartie(EmpreintePlateau(deux), "Deux", "x", {.coups = 4}, "2026-01-01");
    r.NoterOptimum(EmpreintePlateau(deux), "Deux", "x", 4);
  });

  Charger(un);
  dialogues.choix = {true};
  Tirer(2, 2, 1, 2);
  ASSERT_TRUE(Attendre([this] { return plateau.windowTitle() == "Trois"; }, 5000));
  EXPECT_TRUE(QString::fromStdString(session.FichierPlateau()).endsWith("/plateaux/1 - Essais/03 - Trois.wbp"));
  EXPECT_EQ(plateau.Partie().Compteur(), 0);

  Charger(QString::fromStdString(session.FichierPlateau()).replace("1 - Essais/03 - Trois", "2 - Suite/01 - Quatre"));
  dialogues.choix = {true};
  Tirer(2, 2, 1, 2);
  ASSERT_TRUE(Attendre([this] { return !dialogues.Textes("information").empty(); }, 5000));
  EXPECT_EQ(dialogues.Textes("information").back(), "Vous avez résolu toute la bibliothèque !");
  EXPECT_EQ(plateau.windowTitle(), "Quatre");
}

TEST_F(FinDePartieTest, UnFichierDeRecordsIllisibleNEstPasEcraseEtCelaEstDitUneFois) {
  const auto p = Couloir("Couloir");
  const auto fichier = Ranger("1 - Essais/01 - Couloir.wbp", p);
  const std::string chemin = plateau.FichierRecords();
  // A player with many records, over the former bound of 1 MiB.
  std::string grand;
  int n = 0;
  for (; grand.size() < 1'100'000; ++n) {
    char section[24];
    std::snprintf(section, sizeof section, "[%016X]\r\n", n);
    grand += std::string(section) + "Titre=Plateau " + std::to_string(n) + "\r\nChemin=Pack/" + std::to_string(n) +
             ".wbp\r\nMeilleur=40\r\nDate=2026-01-02\r\nOptimum=38\r\nResolu=1\r\nIndices=0\r\n";
  }
  ASSERT_TRUE(EcrireFichierSur(chemin, grand).ok);
  Charger(fichier);
  Tirer(2, 2, 1, 2);
  const auto lu = TRecords::Charger(chemin);
  EXPECT_EQ(lu.Tous().size(), static_cast<std::size_t>(n + 1));  // every record kept, the new one added
  ASSERT_NE(lu.Trouver("0000000000001F3F"), nullptr);
  EXPECT_EQ(lu.Trouver("0000000000001F3F")->Meilleur, 40);
  ASSERT_NE(lu.Trouver(EmpreintePlateau(p)), nullptr);
  EXPECT_EQ(lu.Trouver(EmpreintePlateau(p))->Meilleur, 1);
  EXPECT_TRUE(dialogues.Textes("avertissement").empty());

  // Larger than any records file can be, or not readable by the player:
  // left byte for byte, said once for the whole run.
  std::vector<std::string> illisibles = {"trop grand"};
  if (geteuid() != 0) illisibles.push_back("sans droits");
  for (const auto& genre : illisibles) {
    SCOPED_TRACE(genre);
    DialoguesScriptes dialoguesRun;
    TSession sessionRun(dossier.Chemin(), dialoguesRun);
    TFrmPlayer playerRun(sessionRun, dialoguesRun);
    TFrmPlateau plateauRun(sessionRun, playerRun, dialoguesRun);
    playerRun.DefinirFenetres({&plateauRun});
    std::string contenu = grand;
    if (genre == "trop grand") contenu.resize(kTailleMaxRecords + 1, ' ');
    ASSERT_TRUE(EcrireFichierSur(chemin, contenu).ok);
    if (genre == "sans droits") {
      ASSERT_EQ(chmod(chemin.c_str(), 0), 0);
    }
    for (int partie = 0; partie < 2; ++partie) {
      plateauRun.ChargerPlateau(fichier);
      ASSERT_TRUE(Attendre([&] { return !plateauRun.RechercheOptimumEnCours(); }, 5000));
      const int t = plateauRun.TailleCase();
      Appuyer(plateauRun.ImagePlateau, {t + t / 2, t + t / 2});
      Deplacer(plateauRun.ImagePlateau, {2 * t + t / 2, t + t / 2});
      Deplacer(plateauRun.ImagePlateau, {3 * t + t / 2, t + t / 2});
      Relacher(plateauRun.ImagePlateau, {3 * t + t / 2, t + t / 2});
    }
    ASSERT_EQ(dialoguesRun.Textes("choix").size(), 2u);
    EXPECT_EQ(dialoguesRun.Textes("choix")[1],
              "Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !\nRésolu en 1 coup");
    const auto avertissements = dialoguesRun.Textes("avertissement");
    ASSERT_EQ(avertissements.size(), 1u);
    EXPECT_EQ(avertissements[0].rfind("Vos records ne peuvent pas être lus (", 0), 0u) << avertissements[0];
    chmod(chemin.c_str(), 0644);
    EXPECT_EQ(LireFichier(chemin, kTailleMaxRecords + 2).contenu, contenu);
    plateauRun.hide();
  }
}
