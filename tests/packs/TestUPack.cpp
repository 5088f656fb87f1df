// The pack installer, offscreen, with scripted dialogs.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "AideArchive.h"
#include "UPack.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

// A program folder with its board folder, archives beside it.
class Installeur : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dossier.Fichier("plateaux")); }
  QString Chemin() const { return QString::fromStdString(dossier.Chemin()) + "/"; }
  std::string Paquet(const std::string& nom, const glissaro::test::Archive& a) {
    const auto chemin = dossier.Fichier(nom);
    a.Ecrire(chemin);
    return chemin;
  }
  // Picks the archive in the open dialog and installs it.
  void Installer(const std::string& archive) {
    dialogues.fichiers.push_back(archive);
    fenetre.BitBtn1->click();
  }
  std::string Plateaux(const std::string& nom = "") const {
    return dossier.Fichier("plateaux") + (nom.empty() ? "" : "/" + nom);
  }

  DossierTemporaire dossier;
  DialoguesScriptes dialogues;
  TFrmPack fenetre{Chemin(), dialogues};
  const glissaro::test::Archive deuxPlateaux = glissaro::test::Archive()
                                                   .Entete(6)
                                                   .Fichier("FILE:LIST", "a.wbp\r\nb.wbp\r\n")
                                                   .Fichier("C:\\Auteur\\Pack03\\a.wbp", "AAA")
                                                   .Fichier("b.wbp", "BBB")
                                                   .Fin();
};

TEST_F(Installeur, LaFenetreASesTextesEtSesPlaces) {
  EXPECT_EQ(fenetre.objectName(), "FrmPack");
  EXPECT_EQ(fenetre.windowTitle(), "Plateaux supplémentaires");
  EXPECT_EQ(fenetre.size(), QSize(389, 360));
  EXPECT_EQ(fenetre.minimumSize(), fenetre.maximumSize());
  EXPECT_EQ(fenetre.Memo1->objectName(), "Memo1");
  EXPECT_EQ(fenetre.Memo1->geometry(), QRect(0, 0, 389, 315));
  EXPECT_EQ(fenetre.Panel1->geometry(), QRect(0, 315, 389, 45));
  EXPECT_EQ(fenetre.BitBtn1->objectName(), "BitBtn1");
  EXPECT_EQ(fenetre.BitBtn1->text(), "Charger un package");
  EXPECT_EQ(fenetre.BitBtn1->pos(), QPoint(120, 12));
  EXPECT_EQ(fenetre.BitBtn1->height(), 25);
  EXPECT_GE(fenetre.BitBtn1->width(), 115);
  EXPECT_EQ(fenetre.BitBtn2->objectName(), "BitBtn2");
  EXPECT_EQ(fenetre.BitBtn2->text(), "&Fermer");
  EXPECT_EQ(fenetre.BitBtn2->geometry(), QRect(304, 12, 75, 25));
  const QStringList lignes = fenetre.Memo1->toPlainText().split('\n');
  ASSERT_EQ(lignes.size(), 12);
  EXPECT_EQ(lignes[0], "Cet écran permet de charger des plateaux supplémentaires pour Glissaro.");
  EXPECT_EQ(lignes[2],
            "Ces plateaux se positionnent automatiquement dans un dossier PackXX  ( XX correspond au n° de package "
            "reçu).");
  EXPECT_EQ(lignes[6], "1/ Cliquez sur le bouton \"Charger un package\"");
  EXPECT_EQ(lignes[8], "2/ Localisez le fichier que vous venez de recevoir \"PackXX.PKG\"");
  EXPECT_EQ(lignes[9], "   ");
  EXPECT_EQ(lignes[11], "3/ Cliquez \"Ouvrir\"");
  for (int vide : {1, 3, 5, 7, 10}) EXPECT_TRUE(lignes[vide].isEmpty()) << vide;
  // Shown, the sentence wraps as one paragraph: "dossier" never stands alone.
  fenetre.show();
  for (QTextBlock bloc = fenetre.Memo1->document()->begin(); bloc.isValid(); bloc = bloc.next())
    for (int i = 0; bloc.layout() && i < bloc.layout()->lineCount(); ++i) {
      const QTextLine ligne = bloc.layout()->lineAt(i);
      EXPECT_NE(bloc.text().mid(ligne.textStart(), ligne.textLength()).trimmed(), "dossier");
    }
  fenetre.hide();
  EXPECT_EQ(fenetre.BackupFile1.Version(), "5.10");
  EXPECT_EQ(fenetre.BackupFile1.RestoreMode, TRestoreMode::rmAll);
  EXPECT_FALSE(fenetre.BackupFile1.RestoreFullPath);
}

TEST_F(Installeur, LeDialogueDOuvertureEstReglePuisAnnule) {
  fenetre.BitBtn1->click();
  ASSERT_EQ(dialogues.dialoguesFichier.size(), 1u);
  const auto& d = dialogues.dialoguesFichier[0];
  EXPECT_EQ(d.titre, "Charger un package");
  EXPECT_EQ(d.filtreDescription, "Package Glissaro");
  EXPECT_EQ(d.filtreMotif, "*.pkg");
  EXPECT_EQ(d.extensionDefaut, "");
  EXPECT_EQ(d.dossierInitial, dossier.Chemin() + "/");
  // Cancelled: nothing else happens.
  EXPECT_EQ(dialogues.appels.size(), 1u);
  EXPECT_TRUE(Contenu(Plateaux()).empty());
}

TEST_F(Installeur, LeDossierDuPaquetVientDuNomJusquAuPremierPoint) {
  EXPECT_EQ(TFrmPack::DossierPaquet("/jeu/", "/ailleurs/Pack03.pkg"), "/jeu/plateaux/Pack03");
  EXPECT_EQ(TFrmPack::DossierPaquet("/jeu/", "/ailleurs/Pack.03.pkg"), "/jeu/plateaux/Pack");
  EXPECT_EQ(TFrmPack::DossierPaquet("/jeu", "/a.b/Paquet"), "/jeu/plateaux/");

  Installer(Paquet("Pack03.pkg", deuxPlateaux));
  Installer(Paquet("Pack.03.pkg", deuxPlateaux));
  Installer(Paquet("Paquet", deuxPlateaux));
  EXPECT_EQ(Contenu(Plateaux()), (std::vector<std::string>{"Pack", "Pack/a.wbp", "Pack/b.wbp", "Pack03",
                                                           "Pack03/a.wbp", "Pack03/b.wbp", "a.wbp", "b.wbp"}));
  EXPECT_EQ(Lire(Plateaux("Pack03/a.wbp")), "AAA");
  EXPECT_EQ(dialogues.Textes("message"),
            std::vector<std::string>(3, "Mise en place de :  2 plateaux supplémentaires."));
}

TEST_F(Installeur, InstallerDeuxFoisRemplaceEtDonneLeMemeCompte) {
  const auto archive = Paquet("Pack03.pkg", deuxPlateaux);
  Installer(archive);
  EcrireTexte(Plateaux("Pack03/a.wbp"), "modifié");
  Installer(archive);
  EXPECT_EQ(Lire(Plateaux("Pack03/a.wbp")), "AAA");
  EXPECT_EQ(dialogues.Textes("message"),
            std::vector<std::string>(2, "Mise en place de :  2 plateaux supplémentaires."));
  EXPECT_TRUE(fenetre.BitBtn1->isEnabled());
}

TEST_F(Installeur, UneListeSeuleDonneZeroPlateau) {
  Installer(Paquet("Pack04.pkg", glissaro::test::Archive().Entete(0).Fichier("FILE:LIST", "").Fin()));
  EXPECT_EQ(dialogues.Textes("message"),
            std::vector<std::string>{"Mise en place de :  0 plateaux supplémentaires."});
  EXPECT_TRUE(Contenu(Plateaux("Pack04")).empty());
}

TEST_F(Installeur, UneArchiveAbsenteCreeLeDossierPuisEchoue) {
  Installer(dossier.Fichier("Pack05.pkg"));
  EXPECT_TRUE(std::filesystem::is_directory(Plateaux("Pack05")));
  EXPECT_EQ(dialogues.Textes("message"), std::vector<std::string>{"chargement en erreur !!!"});
  EXPECT_TRUE(dialogues.Textes("erreur").empty());
}

TEST_F(Installeur, UnDossierImpossibleBipeEtNeRestaureRien) {
  std::filesystem::remove(Plateaux());
  EcrireTexte(Plateaux(), "un fichier, pas un dossier");
  Installer(Paquet("Pack03.pkg", deuxPlateaux));
  ASSERT_EQ(dialogues.appels.size(), 3u);
  EXPECT_EQ(dialogues.appels[1].genre, "bip");
  EXPECT_EQ(dialogues.appels[2].genre, "erreur");
  EXPECT_EQ(dialogues.appels[2].texte, "Erreur à la création du repertoire !!!");
}

TEST_F(Installeur, UneErreurDuComposantPrecedeLeMessageDEchec) {
  auto a = glissaro::test::Archive().Entete(0).Fichier("a.wbp", "AAA").Entree("b.wbp");
  a.Entier(8).Octets("abimé!!").FinDonnees().Fin();
  Installer(Paquet("Pack06.pkg", a));
  std::vector<std::string> vus;
  for (const auto& appel : dialogues.appels) vus.push_back(appel.genre + ": " + appel.texte);
  EXPECT_EQ(vus, (std::vector<std::string>{"ouvrir: Charger un package", "erreur: Compression error",
                                           "message: chargement en erreur !!!"}));
  EXPECT_EQ(Lire(Plateaux("Pack06/a.wbp")), "AAA");

  // A volume that names itself as the next one: asked once, then refused.
  dialogues.appels.clear();
  dialogues.confirmations = {true, true};
  Paquet("Pack10.pkg", glissaro::test::Archive().Entete(0).Entree("a.wbp").Stocke("A").FinDonnees().Volume("002"));
  Paquet("Pack10.002", glissaro::test::Archive().Marque().FinDonnees().Volume("002"));
  Installer(dossier.Fichier("Pack10.pkg"));
  EXPECT_EQ(dialogues.Textes("confirmation"), std::vector<std::string>{"Please insert disk 2 and click OK to continue."});
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Volume already read: " + dossier.Fichier("Pack10.002")});
  EXPECT_EQ(dialogues.Textes("message"), std::vector<std::string>{"chargement en erreur !!!"});
}

TEST_F(Installeur, LesExceptionsSontMontreesSansPlanter) {
  Installer(Paquet("Pack07.pkg", glissaro::test::Archive().Entier(1000)));
  Installer(Paquet("Pack08.pkg", glissaro::test::Archive().Entete(0).Entier(5).Octets("a.wbp")));
  Installer(Paquet("Pack09.pkg", glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Volume("002")));
  // The volume prompt (a question: Yes goes on) was answered No.
  EXPECT_EQ(dialogues.Textes("erreur"), (std::vector<std::string>{"Cannot read archive", "Stream read error"}));
  EXPECT_EQ(dialogues.Textes("confirmation"),
            std::vector<std::string>{"Please insert disk 2 and click OK to continue."});
  EXPECT_EQ(dialogues.Textes("message"), std::vector<std::string>{"chargement en erreur !!!"});
  EXPECT_TRUE(fenetre.BitBtn1->isEnabled());
  EXPECT_TRUE(fenetre.BitBtn2->isEnabled());
  EXPECT_FALSE(fenetre.BackupFile1.Busy());
}

TEST_F(Installeur, LesBoutonsSontInactifsPendantLaRestaurationEtLaFenetreResteOuverte) {
  fenetre.show();
  std::vector<std::pair<bool, bool>> etats;
  fenetre.BackupFile1.OnProgress = [&](TBackupFile&, const std::string& f, TPercentage, bool&) {
    if (f.empty()) return;
    etats.emplace_back(fenetre.BitBtn1->isEnabled(), fenetre.BitBtn2->isEnabled());
    fenetre.reject();  // the close button, Escape or the title bar's box
    EXPECT_TRUE(fenetre.isVisible());
    // A second click does nothing while the restore runs.
    fenetre.BitBtn1Click();
  };
  Installer(Paquet("Pack03.pkg", deuxPlateaux));
  ASSERT_FALSE(etats.empty());
  for (const auto& e : etats) EXPECT_EQ(e, std::make_pair(false, false));
  EXPECT_TRUE(fenetre.BitBtn1->isEnabled());
  EXPECT_EQ(dialogues.Textes("ouvrir").size(), 1u);
  fenetre.BitBtn2->click();
  EXPECT_FALSE(fenetre.isVisible());
}

TEST_F(Installeur, AnnulerArreteLaRestaurationEntreDeuxBlocs) {
  fenetre.show();
  EXPECT_FALSE(fenetre.BtAnnuler->isVisible());
  int blocs = 0;
  // The click arrives while the windows are served between two blocks:
  // after a.wbp's data, in b.wbp's.
  fenetre.BackupFile1.ProcessMessages = [&] {
    if (++blocs != 3) return;
    EXPECT_TRUE(fenetre.BtAnnuler->isVisible());
    fenetre.BtAnnuler->click();
  };
  Installer(Paquet("Pack03.pkg", glissaro::test::Archive()
                                     .Entete(6)
                                     .Fichier("a.wbp", "AAA")
                                     .Entree("b.wbp")
                                     .Stocke("B")
                                     .Stocke("BB")
                                     .FinDonnees()
                                     .Fin()));
  EXPECT_EQ(blocs, 3);
  EXPECT_EQ(Contenu(Plateaux("Pack03")), std::vector<std::string>{"a.wbp"});
  EXPECT_EQ(dialogues.Textes("message"), std::vector<std::string>{"chargement en erreur !!!"});
  EXPECT_FALSE(fenetre.BtAnnuler->isVisible());
}

}  // namespace
