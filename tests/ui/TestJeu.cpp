// The front panel and the board window driven through the mouse, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>

#include "AideFenetres.h"
#include "AideFichiers.h"
#include "SkinForm.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

class Jeu : public ::testing::Test {
 protected:
  Jeu() : session(dossier.Chemin(), dialogues), player(session, dialogues), plateau(session, player, dialogues) {
    player.DefinirFenetres({&plateau, nullptr});
    player.OuvrirUrl = [this](const QUrl& url) { urls.push_back(url); };
    player.show();
  }
  ~Jeu() override {
    plateau.hide();
    player.hide();
  }

  QString Affichage(const QString& id) const {
    for (const auto& d : player.SkinForm1->Displays())
      if (d.ID == id) return d.Value;
    return "?";
  }
  // Centre of a cell of the board window, in its pixels.
  QPoint CentreCase(int ligne, int colonne) const {
    const int t = plateau.TailleCase();
    return {(colonne - 1) * t + t / 2, (ligne - 1) * t + t / 2};
  }
  // One gesture with the left button: from a cell, by whole cells.
  void Tirer(int ligne, int colonne, std::vector<QPoint> pas) {
    QPoint p = CentreCase(ligne, colonne);
    Appuyer(plateau.ImagePlateau, p);
    for (const QPoint& d : pas) {
      p += d * plateau.TailleCase();
      Deplacer(plateau.ImagePlateau, p);
    }
    Relacher(plateau.ImagePlateau, p);
  }
  QPoint CentreZone(const QString& id) const {
    for (const auto& h : player.SkinForm1->HotAreas())
      if (h.ID == id) return h.Rect().center();
    return {};
  }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TSession session;
  TFrmPlayer player;
  TFrmPlateau plateau;
  std::vector<QUrl> urls;
};

}  // namespace

TEST_F(Jeu, LaFenetreDuPlateauPrendLaTailleDuPlateauSousLePanneau) {
  ASSERT_EQ(plateau.TailleCase(), 20);
  const auto fichier = dossier.Plateau(
      Dessiner({"#####", "#a.A#", "#...#", "#####"}, {".....", ".....", "...x.", "....."}, "Cinq"));
  plateau.ChargerPlateau(fichier);
  ASSERT_TRUE(plateau.isVisible());
  EXPECT_EQ(plateau.size(), QSize(100, 80));
  EXPECT_EQ(plateau.ImagePlateau->size(), QSize(100, 80));
  EXPECT_EQ(plateau.windowTitle(), "Cinq");
  EXPECT_EQ(Affichage("TEXT_TITRE"), "Cinq");
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  // The panel sits directly above, the board centred under it.
  EXPECT_EQ(plateau.frameGeometry().top(), player.frameGeometry().bottom() + 1);
  EXPECT_EQ(plateau.frameGeometry().left(), player.x() + 364 / 2 - plateau.frameGeometry().width() / 2);
  // The cell at (2, 2) shows the ordinary tile of image 0, cut from (3, 3)
  // of the tile picture.
  EXPECT_EQ(plateau.ImagePlateau->Picture.pixelColor(25, 25), CouleurTuile(3, 3));
  // A floor on a final place: image 1 of the floor list, from (7, 6).
  EXPECT_EQ(plateau.ImagePlateau->Picture.pixelColor(CentreCase(3, 4)), CouleurTuile(7, 6));
}

TEST_F(Jeu, UnPlateauNonValideResteCacheAvecSonTitreEtZero) {
  auto p = Dessiner({"A.", ".."}, {"..", ".x"}, "Brouillon");
  const auto fichier = dossier.Plateau(p, "0");
  player.SkinForm1->SetDisplayText("TEXT_CPT", "0042");
  plateau.ChargerPlateau(fichier);
  EXPECT_FALSE(plateau.isVisible());
  EXPECT_EQ(Affichage("TEXT_TITRE"), "Brouillon");
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_TRUE(dialogues.appels.empty());

  // A file that cannot be read says why and leaves the window hidden.
  plateau.ChargerPlateau(dossier.Q() + "absent.wbp");
  EXPECT_FALSE(plateau.isVisible());
  ASSERT_EQ(dialogues.Textes("erreur").size(), 1u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("absent.wbp"), std::string::npos);
}

TEST_F(Jeu, FermerLePlateauRemetLePanneauAZeroEtRAZNeFaitPlusRien) {
  const auto fichier = dossier.Plateau(Dessiner({"a..", "..A"}, {"...", ".x."}, "Essai"));
  plateau.ChargerPlateau(fichier);
  Tirer(1, 1, {{1, 0}});
  ASSERT_EQ(Affichage("TEXT_CPT"), "0001");
  plateau.fermer->trigger();
  EXPECT_FALSE(plateau.isVisible());
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_EQ(Affichage("TEXT_TITRE"), "Version 1.00");
  EXPECT_TRUE(session.FichierPlateau().empty());
  EXPECT_EQ(session.Partie().Compteur(), 0);
  Cliquer(player.SkinForm1, CentreZone("RAZ"));
  EXPECT_TRUE(dialogues.Textes("confirmation").empty());
  EXPECT_FALSE(plateau.isVisible());
}

TEST_F(Jeu, RAZDemandeConfirmationEtRechargeLeFichier) {
  const auto fichier = dossier.Plateau(Dessiner({"a..", "..A"}, {"...", ".x."}, "Essai"));
  plateau.ChargerPlateau(fichier);
  Tirer(1, 1, {{1, 0}});
  dialogues.confirmations = {false, true};
  Cliquer(player.SkinForm1, CentreZone("RAZ"));
  EXPECT_EQ(session.Partie().Compteur(), 1);  // declined
  Cliquer(player.SkinForm1, CentreZone("RAZ"));
  EXPECT_EQ(dialogues.Textes("confirmation"), (std::vector<std::string>{"Recommencez ce plateau", "Recommencez ce plateau"}));
  EXPECT_EQ(session.Partie().Compteur(), 0);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_EQ(plateau.Partie().Plateau().Case(1, 1).Serie, TSerieMap::Normal);
}

TEST_F(Jeu, UnAppuiDroitNeDeplaceRienEtOuvreLeMenu) {
  const auto fichier = dossier.Plateau(Dessiner({"a..", "..A"}, {"...", ".x."}, "Essai"));
  plateau.ChargerPlateau(fichier);
  const QPoint p = CentreCase(1, 1);
  Appuyer(plateau.ImagePlateau, p, Qt::RightButton);
  Deplacer(plateau.ImagePlateau, p + QPoint(45, 0), Qt::RightButton);
  Relacher(plateau.ImagePlateau, p + QPoint(45, 0), Qt::RightButton);
  EXPECT_EQ(plateau.Partie().Plateau().Case(1, 1).Serie, TSerieMap::Normal);
  EXPECT_EQ(plateau.Partie().Historique().Fin, 0);
  EXPECT_TRUE(plateau.PopupMenu1->isVisible());
  EXPECT_EQ(plateau.fermer->text(), "&Fermer le plateau");
  plateau.PopupMenu1->hide();
}

TEST_F(Jeu, LeGlissementDessineLesCasesQuiChangent) {
  const auto fichier = dossier.Plateau(Dessiner({"a..", "..A"}, {"x..", "..."}, "Essai"));
  plateau.ChargerPlateau(fichier);
  Tirer(1, 1, {{1, 0}});
  // (1,1) shows the floor of a final place, (1,2) the ordinary tile.
  EXPECT_EQ(plateau.ImagePlateau->Picture.pixelColor(CentreCase(1, 1)), CouleurTuile(7, 6));
  EXPECT_EQ(plateau.ImagePlateau->Picture.pixelColor(CentreCase(1, 2)), CouleurTuile(3, 3));
  EXPECT_EQ(plateau.ImagePlateau->Picture.pixelColor(CentreCase(1, 3)), CouleurTuile(8, 6));
}

TEST_F(Jeu, FelicitationsUneFoisSelonLEtat) {
  for (int etat : {2, 1, 3}) {
    dialogues.appels.clear();
    auto p = Dessiner({"#####", "#A..#", "#####"}, {".....", "...x.", "....."}, "Bravo", etat);
    const auto fichier = dossier.Plateau(p, std::to_string(etat));
    plateau.ChargerPlateau(fichier);
    Tirer(2, 2, {{1, 0}, {1, 0}});
    Tirer(2, 4, {{-1, 0}, {1, 0}});
    const auto textes = dialogues.Textes("choix");
    ASSERT_EQ(textes.size(), 1u) << etat;
    if (etat == 2)
      EXPECT_EQ(textes[0].rfind("Bravo, Vous pouvez comparer votre record avec le record mondial\n\r sur le site Web ", 0), 0u);
    else
      EXPECT_EQ(textes[0].rfind("Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !\nRésolu en ", 0), 0u);
  }
}

TEST_F(Jeu, LeCompteurPasseDe9999A10000) {
  const auto fichier = dossier.Plateau(Dessiner({"a..", "..A"}, {"...", ".x."}, "Essai"));
  plateau.ChargerPlateau(fichier);
  session.Partie().RechargerSequence({TEvenement{9998, EvCompteur, 0}});
  session.Partie().AllerALaFin();
  Tirer(1, 1, {{1, 0}});
  EXPECT_EQ(Affichage("TEXT_CPT"), "9999");
  Tirer(2, 3, {{-1, 0}});
  EXPECT_EQ(Affichage("TEXT_CPT"), "10000");
}

TEST_F(Jeu, QuitterConfirmeEcritLesParametresRefuserNEcritRien) {
  const QString ini = dossier.Q() + "Glissaro.ini";
  dialogues.confirmations = {false};
  Cliquer(player.SkinForm1, CentreZone("QUITTER"));
  EXPECT_TRUE(player.isVisible());
  EXPECT_EQ(*ContenuFichier(ini.toStdString()), DossierProgramme::kParametresDeTest);
  dialogues.confirmations = {true};
  player.deplace4->trigger();
  EXPECT_EQ(plateau.Partie().Seuil(), 5);
  player.Magneto50->trigger();
  Cliquer(player.SkinForm1, CentreZone("QUITTER"));
  EXPECT_FALSE(player.isVisible());
  EXPECT_EQ(dialogues.Textes("confirmation"), (std::vector<std::string>{"Quitter Glissaro ?", "Quitter Glissaro ?"}));
  EXPECT_EQ(*ContenuFichier(ini.toStdString()),
            "[jeu]\r\nZoom=100\r\nPlacesFinales=1\r\n[skin]\r\nNom=Glissaro\r\ndeplacement=4\r\nMagneto=20\r\n");
}

TEST_F(Jeu, ParamNOuvreLeMenuQuAuBoutonGauche) {
  const QPoint p = CentreZone("PARAM");
  Cliquer(player.SkinForm1, p, Qt::RightButton);
  EXPECT_FALSE(player.PopupMenu1->isVisible());
  Cliquer(player.SkinForm1, p);
  EXPECT_TRUE(player.PopupMenu1->isVisible());
  player.PopupMenu1->hide();
  // Pressing on one area and releasing over another runs the second.
  Appuyer(player.SkinForm1, CentreZone("RAZ"));
  Relacher(player.SkinForm1, CentreZone("AIDE"));
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(urls[0].toLocalFile(), dossier.Q() + "aide/index.html");
}

TEST_F(Jeu, LAideOuvreLeFichierDuDossierCourantSIlExiste) {
  DossierTemporaire courant;
  const QString avant = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(courant.Chemin()));
  QFile chm("Glissaro.chm");
  ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
  chm.close();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&player, &f1);
  QApplication::sendEvent(&plateau, &f1);
  QDir::setCurrent(avant);
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[0].toLocalFile(), QString::fromStdString(courant.Fichier("Glissaro.chm")));
  EXPECT_EQ(urls[1], urls[0]);
}

TEST_F(Jeu, LeMenuDesParametres) {
  QStringList textes;
  for (auto* a : player.PopupMenu1->actions()) textes << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(textes, (QStringList{"Vitesse de Déplacement", "Vitesse &Magnétoscope", "Taille du plateau",
                                 "Montrer les places finales", "-", "&Editeur de plateau", "-",
                                 "&Skins", "-", "Plateaux supplèmentaires", "-", "A propos...", "Officialiser"}));
  EXPECT_FALSE(player.Officialiser1->isVisible());
  EXPECT_TRUE(player.deplace2->isChecked());
  EXPECT_TRUE(player.Magneto100->isChecked());
  EXPECT_EQ(player.SkinsMenu->actions().size(), 1);
  EXPECT_TRUE(player.Defaut1->isChecked());
  EXPECT_EQ(player.size(), QSize(364, 139));
  player.Deplace1->trigger();
  EXPECT_FALSE(player.deplace2->isChecked());
  EXPECT_EQ(session.Reglages().VitesseDeplacement, 1);
}

TEST(Demarrage, ParametresLusEtSkinInconnueRemplaceeParLaSkinParDefaut) {
  DossierProgramme dossier;
  ASSERT_TRUE(EcrireFichierSur(dossier.Fichier("Glissaro.ini"), "[skin]\r\nNom=Disparue\r\nDeplacement=3\r\nMagneto=0x14\r\n").ok);
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  EXPECT_EQ(session.Reglages().NomSkin, "Glissaro");
  EXPECT_EQ(session.Reglages().VitesseDeplacement, 3);
  EXPECT_TRUE(player.deplace2->isChecked());  // 3 checks nothing: the default stays
  EXPECT_TRUE(player.Magneto50->isChecked());
  EXPECT_EQ(player.SkinForm1->MaskBitmap().size(), QSize(364, 139));
  TFrmPlateau plateau(session, player, dialogues);
  EXPECT_EQ(plateau.Partie().Seuil(), 20 / 3);

  // Settings that cannot be read: said at start, the defaults used.
  const auto ini = dossier.Fichier("Glissaro.ini");
  ASSERT_TRUE(EcrireFichierSur(ini, "[skin]\r\nDeplacement=4\r\n;" + std::string(1 << 20, ' ')).ok);
  TSession sessionSuivant(dossier.Chemin(), dialogues);
  TFrmPlayer suivant(sessionSuivant, dialogues);
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Le fichier " + ini + " est trop grand"});
  EXPECT_EQ(sessionSuivant.Reglages().VitesseDeplacement, 2);
}
