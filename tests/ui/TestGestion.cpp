// The board manager through its real tree, offscreen.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "AideFenetres.h"
#include "DessinPlateau.h"
#include "Records.h"
#include "SkinForm.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"
#include "UHasard.h"
#include "gestion.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

class Gestion : public ::testing::Test {
 protected:
  Gestion() {
    QDir().mkpath(Bibliotheque());
    EXPECT_TRUE(images.ChargerPieces(PiecesDeTest(20), "pieces.bmp").isEmpty());
  }

  QString Bibliotheque() const { return dossier.Q() + "plateaux/"; }
  // Writes a board into a folder of the library under a file name.
  QString Ecrire(const QString& sousDossier, const QString& nomFichier, const TPlateau& p, const std::string& etat = "1") {
    QDir().mkpath(Bibliotheque() + sousDossier);
    const QString chemin = Bibliotheque() + sousDossier + "/" + nomFichier;
    EXPECT_TRUE(EcrirePlateau(chemin.toStdString(), p, etat).ok);
    return chemin;
  }
  static TPlateau Petit(const std::string& titre) { return Dessiner({"a.", ".A"}, {"..", "x."}, titre); }

  QStringList Arbre() const {
    QStringList lignes;
    for (int i = 0; i < gestion.TreeView1->topLevelItemCount(); ++i) {
      auto* d = gestion.TreeView1->topLevelItem(i);
      QStringList enfants;
      for (int j = 0; j < d->childCount(); ++j) enfants << d->child(j)->text(0);
      lignes << d->text(0) + ": " + enfants.join(",");
    }
    return lignes;
  }
  void Choisir(const QString& d, const QString& p) {
    auto* noeud = gestion.Noeud(d, p);
    ASSERT_NE(noeud, nullptr) << (d + "/" + p).toStdString();
    gestion.TreeView1->setCurrentItem(noeud);
  }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TImagesPieces images;
  TFrmGestion gestion{dossier.Q(), images, dialogues};
};

}  // namespace

TEST_F(Gestion, LArbreListeLesDossiersEtLesPlateauxDansLOrdre) {
  Ecrire("zèbre", "b.wbp", Petit("b"));
  Ecrire("Alpha", "Zut.wbp", Petit("Zut"));
  Ecrire("Alpha", "abc.WBP", Petit("abc"));
  Ecrire("Alpha", "a.b.wbp", Petit("a.b"));      // the extension is read from the first dot
  Ecrire("Alpha", "a.wbpx", Petit("a"));         // listed as a
  Ecrire("Alpha", "notes.txt", Petit("notes"));  // not a board
  Ecrire(".old", "c.wbp", Petit("c"));
  Ecrire("beta", "d.wbp", Petit("d"));
  QDir().mkpath(Bibliotheque() + "beta/sous-dossier");
  Ecrire("", "seul.wbp", Petit("seul"));  // files directly in the library are not shown
  gestion.show();
  EXPECT_EQ(Arbre(), (QStringList{"Alpha: a,abc,Zut", "beta: d", "zèbre: b"}));
  gestion.hide();
}

TEST_F(Gestion, LesIconesSuiventLEtatDesNoeuds) {
  Ecrire("Alpha", "a.wbp", Petit("a"));
  Ecrire("Alpha", "b.wbp", Petit("b"));
  gestion.show();
  auto* dossierA = gestion.Noeud("Alpha");
  auto cle = [](const QIcon& i) { return i.pixmap(16, 16).toImage(); };
  EXPECT_EQ(cle(dossierA->icon(0)), cle(gestion.ImageListArbre[0]));
  dossierA->setExpanded(true);
  EXPECT_EQ(cle(dossierA->icon(0)), cle(gestion.ImageListArbre[1]));
  Choisir("Alpha", "b");
  EXPECT_EQ(cle(gestion.Noeud("Alpha", "b")->icon(0)), cle(gestion.ImageListArbre[3]));
  EXPECT_EQ(cle(gestion.Noeud("Alpha", "a")->icon(0)), cle(gestion.ImageListArbre[2]));
  EXPECT_NE(cle(gestion.ImageListArbre[2]), cle(gestion.ImageListArbre[3]));
  gestion.hide();
}

TEST_F(Gestion, LesPlateauxResolusSontMarquesEtLaProgressionDite) {
  const auto a = Petit("a"), b = Dessiner({"a.", "A."}, {"..", ".x"}, "b"), c = Dessiner({"A.", ".."}, {"..", ".x"}, "c");
  Ecrire("Alpha", "a.wbp", a);
  Ecrire("Alpha", "b.wbp", b);
  Ecrire("Beta", "c.wbp", c);
  TCarnetRecords(CheminRecords(dossier.Q().toStdString()), dialogues).Modifier([&](TRecords& r) {
    r.NoterPartie(EmpreintePlateau(a), "a", "Alpha/a.wbp", {.coups = 3}, "2026-12-08");
    r.NoterOptimum(EmpreintePlateau(a), "a", "Alpha/a.wbp", 2);
    r.NoterPartie(EmpreintePlateau(c), "c", "ailleurs/c.wbp", {.coups = 2}, "2026-12-07");  // moved since
    r.NoterOptimum(EmpreintePlateau(c), "c", "ailleurs/c.wbp", 2);
  });
  gestion.show();
  EXPECT_EQ(gestion.LabelProgression->text(), "2 plateaux résolus sur 3, dont 1 à l'optimum");
  auto cle = [](const QIcon& i) { return i.pixmap(16, 16).toImage(); };
  EXPECT_EQ(cle(gestion.Noeud("Alpha", "a")->icon(0)), cle(gestion.IconesMarquees[0]));  // tick
  EXPECT_EQ(cle(gestion.Noeud("Alpha", "b")->icon(0)), cle(gestion.ImageListArbre[2]));
  EXPECT_EQ(cle(gestion.Noeud("Beta", "c")->icon(0)), cle(gestion.IconesMarquees[2]));  // star
  EXPECT_NE(cle(gestion.IconesMarquees[0]), cle(gestion.IconesMarquees[2]));
  EXPECT_NE(cle(gestion.IconesMarquees[0]), cle(gestion.ImageListArbre[2]));

  // The preview tells the record, and the optimum kept needs no search.
  Choisir("Alpha", "a");
  EXPECT_EQ(gestion.LabelSolution->text(), "Solution optimale : 2 coups");
  EXPECT_EQ(gestion.LabelRecord->text(), "Votre record : 3 coups (le 8 décembre 2026)");
  EXPECT_EQ(cle(gestion.Noeud("Alpha", "a")->icon(0)), cle(gestion.IconesMarquees[1]));
  Choisir("Alpha", "b");
  EXPECT_EQ(gestion.LabelRecord->text(), "Pas encore résolu");
  gestion.hide();
}

TEST_F(Gestion, LApercuEtLeFichierChoisi) {
  Ecrire("Alpha", "Rouge.wbp", Dessiner({"#####", "#a.A#", "#####"}, {".....", "..x..", "....."}, "Rouge"));
  Ecrire("Alpha", "Ancien nom.wbp", Petit("Nouveau nom"));
  Ecrire("Alpha", "07 - Vert.wbp", Petit("Vert"));
  Ecrire("Alpha", "7 - Bleu.wbp", Petit("Bleu"));
  gestion.show();
  EXPECT_TRUE(gestion.FichierChoisi.isEmpty());
  Choisir("Alpha", "Rouge");
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Rouge.wbp");
  ASSERT_EQ(gestion.ImageMemoire.size(), QSize(100, 60));
  EXPECT_EQ(gestion.ImageMemoire.pixelColor(30, 30), CouleurTuile(3, 3));  // ordinary tile
  EXPECT_EQ(gestion.ImageMemoire.pixelColor(50, 30), CouleurTuile(7, 6));  // floor on a final place
  EXPECT_EQ(gestion.ImageReduite->Picture, gestion.ImageMemoire);
  // Selecting a folder changes nothing.
  gestion.TreeView1->setCurrentItem(gestion.Noeud("Alpha"));
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Rouge.wbp");
  // The chosen path comes from the title stored in the file.
  Choisir("Alpha", "Ancien nom");
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Nouveau nom.wbp");
  // A board of the library, its rank before its title, is chosen as it is;
  // a name that is not exactly a rank and the title is not.
  Choisir("Alpha", "07 - Vert");
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/07 - Vert.wbp");
  Choisir("Alpha", "7 - Bleu");
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Bleu.wbp");
  EXPECT_TRUE(dialogues.appels.empty());
  // A new showing empties the choice.
  gestion.hide();
  gestion.show();
  EXPECT_TRUE(gestion.FichierChoisi.isEmpty());
  EXPECT_TRUE(gestion.ImageReduite->Picture.isNull());
  gestion.hide();
}

TEST_F(Gestion, UnPlateauNonValideSeSignaleEtOKLeRefuse) {
  Ecrire("Alpha", "Brouillon.wbp", Petit("Brouillon"), "0");
  gestion.show();
  Choisir("Alpha", "Brouillon");
  EXPECT_EQ(dialogues.Textes("bip").size(), 1u);
  EXPECT_EQ(dialogues.Textes("erreur"),
            (std::vector<std::string>{"Ce plateau n'a pas été testé \"valide\" avec l'editeur"}));
  EXPECT_TRUE(gestion.ImageReduite->Picture.isNull());
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Brouillon.wbp");
  // OK says it again and the window stays; Cancel ends it.
  bool resteOuverte = false;
  QTimer::singleShot(0, [&] {
    gestion.BtOk->click();
    resteOuverte = gestion.isVisible();
    gestion.BtCancel->click();
  });
  EXPECT_EQ(gestion.exec(), QDialog::Rejected);
  EXPECT_TRUE(resteOuverte);
  EXPECT_EQ(dialogues.Textes("erreur").size(), 2u);
  EXPECT_EQ(dialogues.Textes("bip").size(), 2u);
}

TEST_F(Gestion, UnPlateauIllisibleOuTropGrandEstRefuseSansRienChanger) {
  Ecrire("Alpha", "Bon.wbp", Petit("Bon"));
  Ecrire("Alpha", "a.wbpx", Petit("a"));
  QFile grand(Bibliotheque() + "Alpha/Grand.wbp");
  ASSERT_TRUE(grand.open(QIODevice::WriteOnly));
  grand.write("V1.00\r\nGrand\r\n21\r\n17\r\n1\r\n");
  grand.close();
  gestion.show();
  Choisir("Alpha", "Bon");
  const QImage apercu = gestion.ImageReduite->Picture;
  Choisir("Alpha", "a");  // a.wbp does not exist
  ASSERT_EQ(dialogues.Textes("erreur").size(), 1u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("a.wbp"), std::string::npos);
  Choisir("Alpha", "Grand");
  ASSERT_EQ(dialogues.Textes("erreur").size(), 2u);
  EXPECT_NE(dialogues.Textes("erreur")[1].find("de 1 à 20 colonnes et de 1 à 16 lignes"), std::string::npos);
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Bon.wbp");
  EXPECT_EQ(gestion.ImageReduite->Picture, apercu);
  EXPECT_FALSE(apercu.isNull());
  gestion.hide();
}

TEST_F(Gestion, DeplacerUnPlateauVersUnAutreDossier) {
  const auto source = Ecrire("Alpha", "p.wbp", Petit("p"));
  Ecrire("Beta", "q.wbp", Petit("q"));
  gestion.show();
  Choisir("Alpha", "p");
  gestion.TreeView1DragDrop(gestion.Noeud("Beta", "q"));  // onto a board: its folder
  EXPECT_FALSE(QFile::exists(source));
  EXPECT_TRUE(QFile::exists(Bibliotheque() + "Beta/p.wbp"));
  EXPECT_EQ(Arbre(), (QStringList{"Alpha: ", "Beta: q,p"}));
  EXPECT_TRUE(dialogues.appels.empty());
  // The moved board stays the one selected, previewed and chosen.
  EXPECT_EQ(gestion.TreeView1->currentItem(), gestion.Noeud("Beta", "p"));
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Beta/p.wbp");
  EXPECT_FALSE(gestion.ImageReduite->Picture.isNull());
  gestion.hide();
}

TEST_F(Gestion, DeplacerSurSonPropreDossierNeChangeRien) {
  const auto source = Ecrire("Alpha", "p.wbp", Petit("p"));
  Ecrire("Alpha", "r.wbp", Petit("r"));
  gestion.show();
  Choisir("Alpha", "p");
  gestion.TreeView1DragDrop(gestion.Noeud("Alpha"));
  EXPECT_EQ(dialogues.Textes("avertissement"), (std::vector<std::string>{"Ce fichier existe déja dans ce répertoire"}));
  EXPECT_EQ(dialogues.Textes("bip").size(), 1u);
  Choisir("Alpha", "p");
  gestion.TreeView1DragDrop(gestion.Noeud("Alpha", "r"));
  EXPECT_EQ(dialogues.Textes("avertissement").size(), 2u);
  EXPECT_TRUE(QFile::exists(source));
  EXPECT_EQ(QDir(Bibliotheque() + "Alpha").entryList(QDir::Files).size(), 2);
  EXPECT_EQ(Arbre(), (QStringList{"Alpha: p,r"}));
  // A folder is never moved, nor a board onto itself.
  gestion.TreeView1->setCurrentItem(gestion.Noeud("Alpha"));
  gestion.TreeView1DragDrop(gestion.Noeud("Alpha", "r"));
  EXPECT_EQ(Arbre(), (QStringList{"Alpha: p,r"}));
  gestion.hide();
}

TEST_F(Gestion, UneCopieRateeLaisseLaSourceEnPlace) {
  const auto source = Ecrire("Alpha", "p.wbp", Petit("p"));
  Ecrire("Beta", "q.wbp", Petit("q"));
  gestion.show();
  // The destination folder disappears after the tree was filled.
  QDir(Bibliotheque() + "Beta").removeRecursively();
  Choisir("Alpha", "p");
  gestion.TreeView1DragDrop(gestion.Noeud("Beta"));
  EXPECT_EQ(dialogues.Textes("erreur"), (std::vector<std::string>{"Erreur système déplacement impossible !!!"}));
  EXPECT_TRUE(QFile::exists(source));
  EXPECT_EQ(Arbre(), (QStringList{"Alpha: p"}));  // rebuilt from the disk
  gestion.hide();
}

TEST_F(Gestion, NouveauDossier) {
  gestion.show();
  dialogues.saisies = {std::string(""), std::string("Mes plateaux"), std::string("Mes plateaux"),
                       std::string("Un/Deux"), std::string("../dehors"), std::nullopt};
  gestion.BtNouveauDossier->click();
  EXPECT_EQ(dialogues.Textes("erreur").back(), " existe déjà!");
  gestion.BtNouveauDossier->click();
  EXPECT_TRUE(QDir(Bibliotheque() + "Mes plateaux").exists());
  gestion.BtNouveauDossier->click();
  EXPECT_EQ(dialogues.Textes("erreur").back(), "Mes plateaux existe déjà!");
  gestion.BtNouveauDossier->click();
  EXPECT_TRUE(QDir(Bibliotheque() + "Un/Deux").exists());
  EXPECT_EQ(Arbre(), (QStringList{"Mes plateaux: ", "Un: "}));
  gestion.BtNouveauDossier->click();
  EXPECT_FALSE(QDir(dossier.Q() + "dehors").exists());
  EXPECT_EQ(dialogues.Textes("erreur").size(), 3u);
  gestion.BtNouveauDossier->click();  // cancelled
  EXPECT_EQ(dialogues.Textes("saisie"), std::vector<std::string>(6, "Nouveau dossier "));
  gestion.hide();
}

TEST_F(Gestion, ChargerSurLePanneauJoueLePlateauChoisi) {
  const auto chemin = Ecrire("Alpha", "Essai.wbp", Dessiner({"a..", "..A"}, {"...", ".x."}, "Essai"));
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  TFrmGestion fenetre(dossier.Q(), plateau.Images, dialogues);
  player.DefinirFenetres({&plateau, &fenetre});
  player.show();
  QPoint charger;
  for (const auto& h : player.SkinForm1->HotAreas())
    if (h.ID == "CHARGER") charger = h.Rect().center();
  // Cancelled: nothing changes.
  QTimer::singleShot(0, fenetre.BtCancel, &QPushButton::click);
  Cliquer(player.SkinForm1, charger);
  EXPECT_TRUE(session.FichierPlateau().empty());
  EXPECT_FALSE(plateau.isVisible());
  // Chosen: the board is played.
  QTimer::singleShot(0, [&] {
    fenetre.TreeView1->setCurrentItem(fenetre.Noeud("Alpha", "Essai"));
    fenetre.BtOk->click();
  });
  Cliquer(player.SkinForm1, charger);
  EXPECT_EQ(session.FichierPlateau(), chemin.toStdString());
  EXPECT_TRUE(plateau.isVisible());
  EXPECT_EQ(plateau.windowTitle(), "Essai");
  // A board that cannot be played, chosen with OK, leaves the game on.
  Ecrire("Alpha", "Brouillon.wbp", Petit("Brouillon"), "0");
  Ecrire("Alpha", "Perdu.wbp", Petit("Autre titre"));  // its title names no file
  for (const char* nom : {"Brouillon", "Perdu"}) {
    QTimer::singleShot(0, [&] {
      fenetre.TreeView1->setCurrentItem(fenetre.Noeud("Alpha", nom));
      fenetre.BtOk->click();
      fenetre.BtCancel->click();
    });
    Cliquer(player.SkinForm1, charger);
    EXPECT_EQ(session.FichierPlateau(), chemin.toStdString()) << nom;
    EXPECT_TRUE(plateau.isVisible()) << nom;
    EXPECT_EQ(plateau.windowTitle(), "Essai") << nom;
  }
  plateau.hide();
  player.hide();
}

TEST_F(Gestion, UnDoubleClicSurUnPlateauLOuvreCommeOK) {
  Ecrire("Alpha", "Rouge.wbp", Petit("Rouge"));
  auto doubleClic = [this](QTreeWidgetItem* noeud) {
    const QPoint p = gestion.TreeView1->visualItemRect(noeud).center();
    QWidget* vue = gestion.TreeView1->viewport();
    Cliquer(vue, p);
    Souris(vue, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Relacher(vue, p);
  };
  // On a folder it opens the folder, and the window stays.
  QTimer::singleShot(0, [&] {
    doubleClic(gestion.Noeud("Alpha"));
    EXPECT_TRUE(gestion.isVisible());
    EXPECT_TRUE(gestion.Noeud("Alpha")->isExpanded());
    doubleClic(gestion.Noeud("Alpha", "Rouge"));
    if (gestion.isVisible()) gestion.reject();
  });
  EXPECT_EQ(gestion.exec(), QDialog::Accepted);
  EXPECT_EQ(gestion.FichierChoisi, Bibliotheque() + "Alpha/Rouge.wbp");
}

TEST_F(Gestion, LePlateauAuHasardEstRangeNumeroteChoisiAvecSonOptimum) {
  gestion.show();
  EXPECT_EQ(gestion.BtHasard->text(), "Plateau au hasard…");
  // The dialog cancelled: nothing made.
  gestion.BtHasard->click();
  EXPECT_FALSE(QDir(Bibliotheque() + kDossierHasard).exists());
  dialogues.hasards = {ChoixHasard{BoiteHasard::B4x4, NiveauHasard::Moyen, false},
                       ChoixHasard{BoiteHasard::B4x5, NiveauHasard::Facile, true}};
  for (const QString titre : {"Hasard 001", "Hasard 002"}) {
    gestion.BtHasard->click();
    const QString fichier = Bibliotheque() + kDossierHasard + "/" + titre + ".wbp";
    ASSERT_TRUE(QFile::exists(fichier)) << titre.toStdString();
    ASSERT_NE(gestion.TreeView1->currentItem(), nullptr);
    EXPECT_EQ(gestion.TreeView1->currentItem()->text(0), titre);
    EXPECT_EQ(gestion.FichierChoisi, fichier);
    EXPECT_FALSE(gestion.ImageReduite->Picture.isNull());
    // The optimum comes from the records at once: the manager noted it.
    const QString ligne = gestion.LabelSolution->text();
    ASSERT_TRUE(ligne.startsWith("Solution optimale : ")) << ligne.toStdString();
    const int coups = ligne.mid(20).section(' ', 0, 0).toInt();
    const auto boite = titre.endsWith('1') ? BoiteHasard::B4x4 : BoiteHasard::B4x5;
    EXPECT_TRUE(FourchetteDe(boite, titre.endsWith('1') ? NiveauHasard::Moyen : NiveauHasard::Facile).Contient(coups))
        << coups;
  }
  EXPECT_EQ(Arbre().filter(kDossierHasard), QStringList{QString(kDossierHasard) + ": Hasard 001,Hasard 002"});
  EXPECT_TRUE(dialogues.Textes("erreur").empty());
  gestion.hide();
}

TEST_F(Gestion, UnPlateauAuHasardAnnulePendantSaFabricationNeLaisseRien) {
  gestion.show();
  const auto records = QFile::exists(dossier.Q() + "Records.ini");
  dialogues.hasards = {ChoixHasard{BoiteHasard::B6x6, NiveauHasard::TresDifficile, true}};
  // Cancel pressed as soon as the wait begins.
  QTimer::singleShot(0, &gestion, [this] {
    auto* attente = gestion.findChild<QProgressDialog*>("AttenteHasard");
    ASSERT_NE(attente, nullptr);
    attente->findChild<QPushButton*>()->click();
  });
  gestion.BtHasard->click();
  EXPECT_FALSE(QDir(Bibliotheque() + kDossierHasard).exists());
  EXPECT_EQ(QFile::exists(dossier.Q() + "Records.ini"), records);
  EXPECT_EQ(dialogues.Textes("hasard").size(), dialogues.appels.size());  // the choice only
  gestion.hide();
}

TEST(FrmHasard, LesNiveauxDisentLeursCoupsDansLaBoiteChoisie) {
  TFrmHasard fenetre({BoiteHasard::B4x5, NiveauHasard::Difficile, true});
  QStringList boites;
  for (int i = 0; i < fenetre.ComboBoite->count(); ++i) boites << fenetre.ComboBoite->itemText(i);
  EXPECT_EQ(boites, QStringList({"4 × 4", "4 × 5", "5 × 5", "6 × 6"}));
  EXPECT_EQ(fenetre.ComboNiveau->itemText(0), "Facile (8 à 20 coups)");
  EXPECT_EQ(fenetre.ComboNiveau->currentText(), "Difficile (41 à 70 coups)");
  EXPECT_EQ(fenetre.ComboNiveau->itemText(3), "Très difficile (71 coups et plus)");
  EXPECT_TRUE(fenetre.CheckPorte->isChecked());
  // Another box: the same level, its own range.
  fenetre.ComboBoite->setCurrentIndex(0);
  EXPECT_EQ(fenetre.ComboNiveau->currentText(), "Difficile (25 à 39 coups)");
  const ChoixHasard choix = fenetre.Choix();
  EXPECT_EQ(choix.boite, BoiteHasard::B4x4);
  EXPECT_EQ(choix.niveau, NiveauHasard::Difficile);
  EXPECT_TRUE(choix.porte);
}
