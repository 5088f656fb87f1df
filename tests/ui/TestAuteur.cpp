// The author screen and the about box, offscreen.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "AideFenetres.h"
#include "DessinPlateau.h"
#include "DialoguesQt.h"
#include "AideFichiers.h"
#include "SkinImages.h"
#include "Texte.h"
#include "UAuteur.h"
#include "Uabout.h"
#include "UNouveau.h"
#include "UPack.h"
#include "Session.h"
#include "Uplayer.h"
#include "gestion.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QStyle>
#include <QStyleOptionButton>

using namespace glissaro;
using namespace glissaro::test;

namespace {

class Auteur : public ::testing::Test {
 protected:
  Auteur() {
    EXPECT_TRUE(images.ChargerPieces(PiecesDeTest(20), "pieces.bmp").isEmpty());
    QDir().mkpath(dossier.Q() + "plateaux/Mes");
    // A board as the editor writes it: floor on a final place with image 0,
    // a door with its palette image.
    plateau = Dessiner({"#D##", "#A.#", "####"}, {"....", "..x.", "...."}, "Porte");
    plateau.Case(2, 3).Map = 0;
    fichier = dossier.Q() + "plateaux/Mes/Porte.wbp";
    EXPECT_TRUE(EcrirePlateau(fichier.toStdString(), plateau, "1").ok);
    EXPECT_TRUE(EcrireFichierSur(dossier.Fichier("TemplatePage.txt"),
                                 "<h1>TAG1</h1>\r\n<p>TAG2 : TAG3 coups</p>\r\n<img src=\"TAG6\">\r\n").ok);
  }
  void Charger(const QString& chemin) {
    dialogues.fichiers = {chemin.toStdString()};
    ecran.BitBtn1->click();
  }
  std::string Lire(const QString& chemin) const { return ContenuFichier(chemin.toStdString()).value_or("<absent>"); }
  QString Base() const { return dossier.Q() + "plateaux/Mes/Porte"; }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TImagesPieces images;
  TPlateau plateau;
  QString fichier;
  TFrmAuteur ecran{dossier.Q(), images, dialogues};
};

}  // namespace

TEST_F(Auteur, RienAvantUnPlateauEtRienSurNon) {
  EXPECT_EQ(ecran.windowTitle(), "Ecran Auteur");
  EXPECT_EQ(ecran.size(), QSize(567, 249));
  EXPECT_EQ(ecran.Edit2->maxLength(), 3);
  ecran.Button1->click();
  EXPECT_TRUE(dialogues.appels.empty());
  Charger(fichier);
  EXPECT_EQ(dialogues.dialoguesFichier.back().dossierInitial, (dossier.Q() + "plateaux/").toStdString());
  EXPECT_EQ(ecran.TitreDuPlateau->text(), "Porte");
  dialogues.confirmations = {false};
  const std::string avant = Lire(fichier);
  ecran.Button1->click();
  EXPECT_EQ(dialogues.Textes("confirmation"), (std::vector<std::string>{"Confirmez l'officialisation"}));
  EXPECT_EQ(Lire(fichier), avant);
  EXPECT_FALSE(QFile::exists(Base() + ".jpg"));
  EXPECT_FALSE(QFile::exists(Base() + ".htm"));
}

TEST_F(Auteur, PublierEcritLImageLePlateauOfficielEtLaPage) {
  Charger(fichier);
  ecran.Edit1->setText("Ana");
  ecran.Edit3->setText("ana@exemple.fr");
  ecran.Edit2->setText("12");
  dialogues.confirmations = {true};
  ecran.Button1->click();
  EXPECT_EQ(dialogues.Textes("information"), (std::vector<std::string>{"Plateau Officialisé"}));

  TPlateau relu;
  const auto r = LirePlateau(fichier.toStdString(), relu);
  ASSERT_EQ(r.statut, StatutLecture::Ok);
  EXPECT_EQ(r.ligneEtat, "2");
  const auto lignes = DecouperLignes(Lire(fichier));
  // Door cell (1,2) stored with image 16, final floor (2,3) with image 1.
  EXPECT_EQ(lignes[5 + 9 * 1 + 1], "16");
  EXPECT_EQ(lignes[5 + 9 * 6 + 1], "1");
  for (int l = 1; l <= 3; ++l)
    for (int c = 1; c <= 4; ++c) {
      EXPECT_EQ(relu.Case(l, c).Serie, plateau.Case(l, c).Serie);
      EXPECT_EQ(relu.Case(l, c).Piece, plateau.Case(l, c).Piece);
      EXPECT_EQ(relu.Case(l, c).PlaceFinal, plateau.Case(l, c).PlaceFinal);
    }

  QFile jpeg(Base() + ".jpg");
  ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
  const QImage image = DecoderJpeg(jpeg.readAll());
  EXPECT_EQ(image.size(), QSize(217, 177));

  EXPECT_EQ(Lire(Base() + ".htm"),
            "<h1>Porte</h1>\r\n<p>Ana   <a href=\"mailto:ana@exemple.fr\">ana@exemple.fr</a> : 12 coups</p>\r\n"
            "<img src=\"Porte.jpg\">\r\n");
}

TEST_F(Auteur, LesFlechesChangentLaTailleDeLImagePublieeChaqueFois) {
  Charger(fichier);
  ecran.UpDown1->Moins->click();  // up: one pixel less high
  ecran.UpDown1->Moins->click();
  ecran.UpDown2->Plus->click();   // right: one pixel wider
  EXPECT_EQ(ecran.TailleImage, QSize(218, 175));
  EXPECT_EQ(ecran.ImageReduite->size(), QSize(218, 175));
  dialogues.confirmations = {true, true, true};
  ecran.Button1->click();
  const std::string premier = Lire(fichier);
  auto tailleJpeg = [this] {
    QFile jpeg(Base() + ".jpg");
    return jpeg.open(QIODevice::ReadOnly) ? DecoderJpeg(jpeg.readAll()).size() : QSize();
  };
  EXPECT_EQ(tailleJpeg(), QSize(218, 175));
  ecran.UpDown2->Moins->click();
  ecran.UpDown1->Plus->click();
  ecran.UpDown2->Moins->click();
  ecran.Button1->click();
  EXPECT_EQ(tailleJpeg(), QSize(216, 176));
  EXPECT_EQ(Lire(fichier), premier);
  // A picture larger than the room beside the fields is shown smaller, in
  // its proportions, and published at its own size.
  for (int i = 0; i < 184; ++i) ecran.UpDown2->Plus->click();
  EXPECT_EQ(ecran.TailleImage, QSize(400, 176));
  const QRect montree = ecran.ImageReduite->geometry();
  EXPECT_TRUE(TFrmAuteur::kZoneImage.contains(montree)) << montree.width() << "x" << montree.height();
  EXPECT_TRUE(ecran.rect().contains(montree));
  for (const QLabel* etiquette : ecran.findChildren<QLabel*>()) {
    if (etiquette->buddy()) {
      EXPECT_FALSE(montree.intersects(etiquette->geometry())) << etiquette->text().toStdString();
    }
  }
  EXPECT_NEAR(double(montree.width()) / montree.height(), 400.0 / 176, 0.02);
  ecran.Button1->click();
  EXPECT_EQ(tailleJpeg(), QSize(400, 176));
  // Never below one pixel.
  for (int i = 0; i < 300; ++i) ecran.UpDown1->Moins->click();
  EXPECT_EQ(ecran.TailleImage.height(), 1);
  EXPECT_GE(ecran.ImageReduite->height(), 1);
}

TEST_F(Auteur, LaPageResteDansLeDossierDuPlateauEtSesChampsSontDuTexte) {
  // The shipped template; a title that would lead two folders up and holds
  // markup, in the board file Evasion.wbp.
  ASSERT_TRUE(QFile::remove(dossier.Q() + "TemplatePage.txt"));
  ASSERT_TRUE(QFile::copy(QString(GLISSARO_SOURCES) + "/data/TemplatePage.txt", dossier.Q() + "TemplatePage.txt"));
  const QString evasion = dossier.Q() + "plateaux/Mes/Evasion.wbp";
  TPlateau p = plateau;
  p.Titre = "../../L'évasion <i>";
  ASSERT_TRUE(EcrirePlateau(evasion.toStdString(), p, "1").ok);
  Charger(evasion);
  ecran.Edit1->setText("Ana & Bob");
  ecran.Edit3->setText("a\"onclick=\"x@exemple.fr");
  ecran.Edit2->setText("1");
  dialogues.confirmations = {true};
  ecran.Button1->click();
  EXPECT_EQ(dialogues.Textes("information"), (std::vector<std::string>{"Plateau Officialisé"}));
  EXPECT_FALSE(QFile::exists(dossier.Q() + "L'évasion <i>.htm"));
  const QString page = dossier.Q() + "plateaux/Mes/L'évasion <i>.htm";
  ASSERT_TRUE(QFile::exists(page));
  EXPECT_EQ(QDir(dossier.Q() + "plateaux/Mes").entryList({"*.htm"}, QDir::Files), QStringList{"L'évasion <i>.htm"});
  const std::string html = Cp1252VersUtf8(Lire(page));
  EXPECT_NE(html.find("<h1>../../L&#39;évasion &lt;i&gt;</h1>"), std::string::npos);
  EXPECT_NE(html.find("Ana &amp; Bob   <a href=\"mailto:a&quot;onclick=&quot;x@exemple.fr\">"), std::string::npos);
  EXPECT_NE(html.find("<img src=\"Evasion.jpg\""), std::string::npos);
  EXPECT_NE(html.find("<a href=\"Evasion.wbp\">"), std::string::npos);
  EXPECT_EQ(html.find("<i>"), std::string::npos);
  EXPECT_EQ(html.find("1 coups"), std::string::npos);
  EXPECT_NE(html.find(">1<"), std::string::npos);
}

TEST_F(Auteur, SansModeleLaPageManqueEtLeMessageLeDit) {
  QFile::remove(dossier.Q() + "TemplatePage.txt");
  Charger(fichier);
  dialogues.confirmations = {true};
  ecran.Button1->click();
  EXPECT_TRUE(QFile::exists(Base() + ".jpg"));
  EXPECT_NE(Lire(fichier).find("\r\n2\r\n"), std::string::npos);
  EXPECT_FALSE(QFile::exists(Base() + ".htm"));
  ASSERT_EQ(dialogues.Textes("erreur").size(), 1u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("TemplatePage.txt"), std::string::npos);
  EXPECT_TRUE(dialogues.Textes("information").empty());
  // A template that is a pipe is not waited on.
  ASSERT_EQ(::mkfifo((dossier.Q() + "TemplatePage.txt").toLocal8Bit().constData(), 0600), 0);
  dialogues.confirmations = {true};
  ecran.Button1->click();
  ASSERT_EQ(dialogues.Textes("erreur").size(), 2u);
  EXPECT_EQ(dialogues.Textes("erreur")[1], "Le fichier " + dossier.Fichier("TemplatePage.txt") +
                                               " n'est pas un fichier ordinaire (dossier, tube ou périphérique)");
}

TEST_F(Auteur, UnPlateauNonValideNEstJamaisReecrit) {
  const QString brouillon = dossier.Q() + "plateaux/Mes/Brouillon.wbp";
  ASSERT_TRUE(EcrirePlateau(brouillon.toStdString(), Dessiner({"A."}, {".x"}, "Brouillon"), "0").ok);
  Charger(fichier);  // a good board first
  ecran.Edit2->setText("12");
  Charger(brouillon);
  EXPECT_TRUE(ecran.Edit2->text().isEmpty());
  EXPECT_EQ(dialogues.Textes("bip").size(), 1u);
  EXPECT_EQ(dialogues.Textes("erreur"), (std::vector<std::string>{"Ce plateau n'a pas été testé \"valide\" avec l'editeur"}));
  const std::string avant = Lire(brouillon);
  dialogues.confirmations = {true};
  ecran.Button1->click();
  EXPECT_TRUE(dialogues.Textes("confirmation").empty());
  EXPECT_EQ(Lire(brouillon), avant);
  EXPECT_FALSE(QFile::exists(dossier.Q() + "plateaux/Mes/Brouillon.jpg"));
}

TEST(APropos, TexteDeVersion) {
  EXPECT_EQ(TexteVersion(VersionProgramme{1, 0, 0}), "1.00");
  EXPECT_EQ(TexteVersion(VersionProgramme{1, 2, 5}), "1.25");
  EXPECT_EQ(TexteVersion(std::nullopt), "");
}

TEST(APropos, LaBoiteOuvreLeSiteLesCourrielsEtLeFichierDuClub) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TFrmAbout boite(dossier.Q(), dialogues);
  std::vector<QUrl> ouverts;
  boite.OuvrirUrl = [&](const QUrl& u) {
    ouverts.push_back(u);
    return true;
  };
  EXPECT_EQ(boite.windowTitle(), "A propos ...");
  EXPECT_EQ(boite.size(), QSize(242, 294));
  EXPECT_EQ(boite.Label3->text(), "1.00");
  boite.show();
  EXPECT_EQ(boite.Label3->text(), QString::fromStdString(TexteVersion(VersionDuProgramme())));
  Cliquer(boite.Label2, {2, 2});
  Cliquer(boite.Label1, {2, 2});
  Cliquer(boite.Label9, {2, 2});
  ASSERT_EQ(ouverts.size(), 3u);
  EXPECT_EQ(ouverts[0], QUrl(boite.Label2->text()));
  EXPECT_EQ(ouverts[1].toString(), "mailto:" + boite.Label1->text());
  EXPECT_EQ(ouverts[2].toString(), "mailto:" + boite.Label9->text());
  boite.Button2->click();
  EXPECT_EQ(dialogues.Textes("avertissement").size(), 1u);
  QDir().mkpath(dossier.Q() + "aide");
  QFile club(dossier.Q() + kFichierAssociation);
  ASSERT_TRUE(club.open(QIODevice::WriteOnly));
  club.close();
  boite.Button2->click();
  EXPECT_EQ(dialogues.Textes("avertissement").size(), 1u);
  EXPECT_EQ(ouverts.back(), QUrl::fromLocalFile(dossier.Q() + kFichierAssociation));
  boite.hide();
}

TEST(APropos, LesEntreesDuMenuSuiventLesFenetresDonnees) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  EXPECT_FALSE(player.Apropos1->isEnabled());
  TImagesPieces images;
  TFrmAuteur auteur(dossier.Q(), images, dialogues);
  TFrmAbout about(dossier.Q(), dialogues);
  player.DefinirFenetres({nullptr, nullptr, nullptr, nullptr, &auteur, &about});
  EXPECT_TRUE(player.Apropos1->isEnabled());
  EXPECT_FALSE(player.Officialiser1->isVisible());
  player.MontrerOfficialiser(true);
  EXPECT_TRUE(player.Officialiser1->isVisible());
  EXPECT_TRUE(player.Officialiser1->isEnabled());
}

TEST(Fenetres, LeTexteDeChaqueBoutonTientDansSaLargeur) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TImagesPieces images;
  TFrmAbout about(dossier.Q(), dialogues);
  TFrmPack pack(dossier.Q(), dialogues);
  TFrmAuteur auteur(dossier.Q(), images, dialogues);
  TFrmGestion gestion(dossier.Q(), images, dialogues);
  TFrmNouveau nouveau;
  int boutons = 0;
  for (QWidget* fenetre : std::initializer_list<QWidget*>{&about, &pack, &auteur, &gestion, &nouveau}) {
    fenetre->show();
    for (const QPushButton* bouton : fenetre->findChildren<QPushButton*>()) {
      if (!bouton->isVisible() || bouton->text().isEmpty()) continue;
      // The room that the style leaves for the text, with the font in use.
      QStyleOptionButton option;
      option.initFrom(bouton);
      option.text = bouton->text();
      const int place = bouton->style()->subElementRect(QStyle::SE_PushButtonContents, &option, bouton).width();
      const int texte = bouton->fontMetrics().horizontalAdvance(QString(bouton->text()).remove('&'));
      EXPECT_LE(texte, place) << fenetre->objectName().toStdString() << " : " << bouton->text().toStdString();
      EXPECT_TRUE(fenetre->rect().contains(bouton->mapTo(fenetre, bouton->rect().bottomRight())))
          << bouton->text().toStdString();
      ++boutons;
    }
    // And every caption of the about box lies inside it, whole.
    if (fenetre == &about)
      for (const QLabel* texte : about.findChildren<QLabel*>()) {
        EXPECT_TRUE(about.rect().contains(texte->geometry())) << texte->text().toStdString();
        EXPECT_GE(texte->width(), texte->sizeHint().width()) << texte->text().toStdString();
      }
    fenetre->hide();
  }
  EXPECT_GE(boutons, 10);
}

TEST(Traductions, LesDialoguesStandardDeQtSontEnFrancais) {
  ASSERT_TRUE(ChargerTraductionsQt(*QCoreApplication::instance()));
  QDialogButtonBox boutons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(boutons.button(QDialogButtonBox::Cancel)->text(), "Annuler");
  // The file dialog as the pack installer shows it: its button reads what
  // the instructions say.
  QFileDialog dialogue(nullptr, "Charger un package");
  dialogue.setOption(QFileDialog::DontUseNativeDialog);
  dialogue.setAcceptMode(QFileDialog::AcceptOpen);
  const auto* boite = dialogue.findChild<QDialogButtonBox*>();
  ASSERT_NE(boite, nullptr);
  EXPECT_EQ(boite->button(QDialogButtonBox::Open)->text().remove('&'), "Ouvrir");
  EXPECT_EQ(dialogue.labelText(QFileDialog::LookIn).remove('&').remove(':').trimmed(), "Voir dans");
}
