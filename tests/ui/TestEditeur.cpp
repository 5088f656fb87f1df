// The board editor, its tile control and the new-board dialog, driven
// offscreen through mouse clicks on the real tiles.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <fstream>
#include <sstream>

#include "AideFenetres.h"
#include "Carre.h"
#include "DessinPlateau.h"
#include "FormEditeur.h"
#include "UNouveau.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

std::vector<std::string> LignesDuFichier(const QString& chemin) {
  std::ifstream f(chemin.toStdString(), std::ios::binary);
  std::stringstream contenu;
  contenu << f.rdbuf();
  std::vector<std::string> lignes;
  std::string t = contenu.str();
  for (std::size_t debut = 0; debut < t.size();) {
    const std::size_t fin = t.find("\r\n", debut);
    if (fin == std::string::npos) break;
    lignes.push_back(t.substr(debut, fin - debut));
    debut = fin + 2;
  }
  return lignes;
}

void Taper(QWidget* champ, const QString& texte) {
  for (const QChar c : texte) {
    QKeyEvent appui(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(champ, &appui);
  }
}

using Place = std::pair<int, int>;  // (column, row)

// The border tiles ('#') of a drawn board joined to one another, as one
// piece when they form a ring.
TPlateau Anneau(TPlateau p) {
  auto bord = [&p](int l, int c) {
    return p.Contient(l, c) && p.Case(l, c).Serie == TSerieMap::Bord && !p.Case(l, c).Porte;
  };
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      if (!bord(l, c)) continue;
      TCarreau& k = p.Case(l, c);
      k.Haut = bord(l - 1, c);
      k.Bas = bord(l + 1, c);
      k.Gauche = bord(l, c - 1);
      k.Droit = bord(l, c + 1);
      k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
    }
  NumeroterPieces(p);
  return p;
}

// A board file written by hand, line by line.
void EcrireLignes(const std::string& chemin, const std::vector<std::string>& lignes) {
  std::ofstream f(chemin, std::ios::binary);
  for (const auto& l : lignes) f << l << "\r\n";
}

class Editeur : public ::testing::Test {
 protected:
  Editeur() : editeur(nouveau, dialogues, dossier.Q()) {
    editeur.show();
  }
  ~Editeur() override { editeur.hide(); }

  // "Nouveau" with the dialog filled in and accepted (or cancelled).
  void Nouveau(const QString& nom, int largeur, int hauteur, bool ok = true) {
    // The timer goes with this call: it never fires in a later one.
    bool montre = false;
    QTimer remplir;
    remplir.setSingleShot(true);
    QObject::connect(&remplir, &QTimer::timeout, [&] {
      montre = true;
      nouveau.EdNomPlateau->setText(nom);
      nouveau.EdLargeur->setValue(largeur);
      nouveau.EdHauteur->setValue(hauteur);
      (ok ? nouveau.BtOk : nouveau.BtCancel)->click();
    });
    remplir.start(0);
    Cliquer(editeur.ToolButton1, {20, 20});
    ASSERT_TRUE(montre) << "the new-board dialog was not shown";
  }
  TCarre* Palette(const QString& nom) const { return editeur.findChild<TCarre*>(nom); }
  // Selects a palette tile, on its tab, with the final-place box as asked.
  void Choisir(TCarre* tuile, bool finale = false) {
    const QString nom = tuile->objectName();
    if (nom != "Fond") editeur.PageControl1->setCurrentIndex(nom[0] == 'N' ? 0 : nom[0] == 'F' ? 1 : 2);
    if (finale && !editeur.CBEmplacementFinal->isEnabled()) editeur.PageControl1->setCurrentIndex(0);
    editeur.CBEmplacementFinal->setChecked(finale);
    Cliquer(tuile, {10, 10});
  }
  void Poser(int colonne, int ligne) { Cliquer(editeur.Cases[colonne][ligne], {10, 10}); }
  // Draws a whole board tile by tile from the palette.
  void Tracer(const TPlateau& p) {
    for (int l = 1; l <= p.Hauteur; ++l)
      for (int c = 1; c <= p.Largeur; ++c) {
        const TCarreau& k = p.Case(l, c);
        QString nom;
        switch (k.Serie) {
          case TSerieMap::Normal: nom = "N" + QString::number(k.Map); break;
          case TSerieMap::Final: nom = "F" + QString::number(k.Map); break;
          case TSerieMap::Bord: nom = k.Porte ? QString("B16") : "B" + QString::number(k.Map); break;
          case TSerieMap::Vide: nom = "Fond"; break;
        }
        Choisir(Palette(nom), k.PlaceFinal);
        Poser(c, l);
      }
  }
  void NouveauTrace(const TPlateau& p) {
    Nouveau(QString::fromStdString(p.Titre), p.Largeur, p.Hauteur);
    Tracer(p);
  }
  std::vector<Place> Cadres(const QColor& couleur) const {
    std::vector<Place> r;
    for (int c = 1; c <= editeur.Largeur; ++c)
      for (int l = 1; l <= editeur.Hauteur; ++l)
        if (editeur.Cases[c][l] && editeur.Cases[c][l]->ColorGrille() == couleur) r.emplace_back(c, l);
    return r;
  }
  std::size_t NombreDeCases() const {
    return Cadres(TFrmEditeur::kVert).size() + Cadres(TFrmEditeur::kBlanc).size() + Cadres(TFrmEditeur::kRouge).size();
  }
  QString Enregistrer(const std::string& nom) {
    const std::string chemin = dossier.Fichier(nom);
    dialogues.fichiers.push_back(chemin);
    Cliquer(editeur.ToolButton3, {20, 20});
    return QString::fromStdString(chemin);
  }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TFrmNouveau nouveau;
  TFrmEditeur editeur;
};

}  // namespace

// The tile control.

TEST(Carre, UnCarreNeufNAQueSonCadreNoir) {
  TCarre carre;
  EXPECT_EQ(carre.size(), QSize(20, 20));
  EXPECT_EQ(carre.Map(), -1);
  EXPECT_EQ(carre.Piece(), 0);
  EXPECT_TRUE(carre.Grille());
  EXPECT_EQ(carre.ColorGrille(), QColor(Qt::black));
  EXPECT_EQ(carre.Images(), nullptr);
  carre.SetGrille(true);
  EXPECT_EQ(carre.Picture().pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(carre.Picture().pixelColor(19, 19), QColor(Qt::black));
  EXPECT_EQ(carre.Picture().pixelColor(10, 10).alpha(), 0);
  // Without frame a tile with no image shows nothing.
  carre.SetGrille(false);
  EXPECT_EQ(carre.Picture().pixelColor(0, 0).alpha(), 0);
}

TEST(Carre, SeulsLesMarquesEtLeCadreRedessinentAChaqueFois) {
  auto* liste = new TImageList;
  QImage rouge(20, 20, QImage::Format_RGB32), vert(rouge);
  rouge.fill(QColor(200, 0, 0));
  vert.fill(QColor(0, 200, 0));
  liste->Add(rouge);
  TCarre carre;
  carre.SetImages(liste);
  carre.SetMap(0);
  ASSERT_EQ(carre.Picture().pixelColor(10, 10), QColor(200, 0, 0));
  EXPECT_EQ(carre.Picture().pixelColor(0, 10), QColor(Qt::black));

  // The list changes behind the tile's back: only a repaint shows it.
  liste->Clear();
  liste->Add(vert);
  carre.SetDroit(true);
  carre.SetGauche(true);
  carre.SetHaut(true);
  carre.SetBas(true);
  carre.SetSerie(TSerieMap::Final);
  carre.SetPiece(4);
  carre.SetPosX(2);
  carre.SetPosY(3);
  carre.SetMap(0);
  carre.SetImages(liste);
  EXPECT_EQ(carre.Picture().pixelColor(10, 10), QColor(200, 0, 0));
  EXPECT_EQ(carre.Piece(), 4);
  EXPECT_EQ(carre.PosY(), 3);
  carre.SetColorGrille(Qt::black);  // same value, repainted all the same
  EXPECT_EQ(carre.Picture().pixelColor(10, 10), QColor(0, 200, 0));

  liste->Clear();
  liste->Add(rouge);
  carre.SetPorte(false);
  EXPECT_EQ(carre.Picture().pixelColor(10, 10), QColor(200, 0, 0));
  liste->Add(vert);
  carre.SetMap(1);
  EXPECT_EQ(carre.Picture().pixelColor(10, 10), QColor(0, 200, 0));

  // A destroyed list is forgotten and the picture cleared.
  delete liste;
  EXPECT_EQ(carre.Images(), nullptr);
  EXPECT_TRUE(carre.Picture().isNull());
  carre.SetGrille(true);  // an image without list: nothing but marks
  EXPECT_EQ(carre.Picture().pixelColor(0, 0).alpha(), 0);
}

TEST(Carre, PlaceFinaleEnNoirEpaisEtPorteEnRougeSurUneBordure) {
  TCarre carre;
  carre.SetGrille(false);
  carre.SetPlaceFinal(true);
  const QImage& p = carre.Picture();
  for (int i : {6, 7, 12, 13}) {
    EXPECT_EQ(p.pixelColor(i, 10), QColor(Qt::black)) << i;
    EXPECT_EQ(p.pixelColor(10, i), QColor(Qt::black)) << i;
  }
  EXPECT_EQ(p.pixelColor(5, 10).alpha(), 0);
  EXPECT_EQ(p.pixelColor(8, 10).alpha(), 0);
  EXPECT_EQ(p.pixelColor(14, 10).alpha(), 0);

  carre.SetPlaceFinal(false);
  carre.SetPorte(true);  // a door mark only on a border tile
  EXPECT_EQ(carre.Picture().pixelColor(6, 10).alpha(), 0);
  carre.SetSerie(TSerieMap::Bord);
  carre.SetPorte(true);
  EXPECT_EQ(carre.Picture().pixelColor(6, 10), QColor(255, 0, 0));
  EXPECT_EQ(carre.Picture().pixelColor(13, 13), QColor(255, 0, 0));
  EXPECT_EQ(carre.Picture().pixelColor(7, 10).alpha(), 0);
}

// The new-board dialog.

TEST(Nouveau, ChaqueAffichageRepartDeNiveau0Et3Sur3) {
  TFrmNouveau dialogue;
  EXPECT_EQ(dialogue.windowTitle(), "Nouveau Plateau");
  EXPECT_EQ(dialogue.EdNomPlateau->maxLength(), 15);
  QTimer::singleShot(0, [&] {
    dialogue.EdNomPlateau->setText("Le grand carré");
    dialogue.EdLargeur->setValue(20);
    dialogue.EdHauteur->setValue(20);
    dialogue.EdLargeur->stepUp();  // no wrapping round
    dialogue.BtOk->click();
  });
  ASSERT_EQ(dialogue.exec(), QDialog::Accepted);
  EXPECT_EQ(dialogue.NomPlateau(), "Le grand carré");
  EXPECT_EQ(dialogue.Largeur(), 20);
  EXPECT_EQ(dialogue.Hauteur(), 16);

  QTimer::singleShot(0, [&] {
    EXPECT_EQ(dialogue.contentsRect().size(), QSize(297, 87));
    EXPECT_EQ(dialogue.EdNomPlateau->text(), "Niveau 0");
    EXPECT_EQ(dialogue.EdNomPlateau->selectedText(), "Niveau 0");
    EXPECT_EQ(dialogue.focusWidget(), dialogue.EdNomPlateau);
    EXPECT_EQ(dialogue.Largeur(), 3);
    EXPECT_EQ(dialogue.Hauteur(), 3);
    // Keyboard order: name, height, width, OK, Cancel.
    std::vector<QWidget*> ordre;
    for (int i = 0; i < 4; ++i) {
      QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      QApplication::sendEvent(dialogue.focusWidget(), &tab);
      QWidget* w = dialogue.focusWidget();
      ordre.push_back(qobject_cast<QSpinBox*>(w->parentWidget()) ? w->parentWidget() : w);
    }
    EXPECT_EQ(ordre, (std::vector<QWidget*>{dialogue.EdHauteur, dialogue.EdLargeur, dialogue.BtOk, dialogue.BtCancel}));
    dialogue.BtCancel->click();
  });
  EXPECT_EQ(dialogue.exec(), QDialog::Rejected);
}

TEST(Nouveau, UnNombreTapeHorsLimitesRevientDansLesLimites) {
  TFrmNouveau dialogue;
  QTimer::singleShot(0, [&] {
    dialogue.EdLargeur->findChild<QLineEdit*>()->selectAll();
    Taper(dialogue.EdLargeur->findChild<QLineEdit*>(), "25");
    dialogue.EdHauteur->findChild<QLineEdit*>()->selectAll();
    Taper(dialogue.EdHauteur->findChild<QLineEdit*>(), "1x");
    dialogue.BtOk->click();
  });
  ASSERT_EQ(dialogue.exec(), QDialog::Accepted);
  EXPECT_EQ(dialogue.Largeur(), 20);
  EXPECT_EQ(dialogue.Hauteur(), 3);
}

// The editor window.

TEST_F(Editeur, FenetrePaletteEtImages) {
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro");
  EXPECT_EQ(editeur.frameGeometry().size(), QSize(518, 541));
  ASSERT_EQ(editeur.PageControl1->count(), 3);
  EXPECT_EQ(editeur.PageControl1->tabText(0), "Normales");
  EXPECT_EQ(editeur.PageControl1->tabText(1), "Maitres");
  EXPECT_EQ(editeur.PageControl1->tabText(2), "Bordures");
  EXPECT_EQ(editeur.PageControl1->currentIndex(), 0);
  EXPECT_EQ(Palette("N0")->pos(), QPoint(8, 8));
  EXPECT_EQ(Palette("F9")->pos(), QPoint(49, 32));
  EXPECT_EQ(Palette("B16")->pos(), QPoint(328, 8));
  EXPECT_TRUE(Palette("B16")->Porte());
  EXPECT_EQ(Palette("B16")->Map(), 16);
  EXPECT_TRUE(Palette("B10")->Droit() && Palette("B10")->Bas() && Palette("B10")->Haut() && !Palette("B10")->Gauche());
  EXPECT_EQ(editeur.CarreCourant, editeur.Fond);
  EXPECT_EQ(editeur.Fond->ColorGrille(), TFrmEditeur::kRouge);
  EXPECT_EQ(editeur.CBEmplacementFinal->text(), "Emplacement maitre final");
  EXPECT_EQ(editeur.CBEmplacementFinal->palette().color(QPalette::WindowText), TFrmEditeur::kRouge);
  EXPECT_FALSE(editeur.CBEmplacementFinal->isChecked());
  for (auto* b :
       {editeur.ToolButton1, editeur.ToolButton2, editeur.ToolButton3, editeur.ToolButton4, editeur.TbTester}) {
    EXPECT_TRUE(b->toolTip().isEmpty());
    EXPECT_FALSE(b->icon().isNull());
  }

  // The tiles show the default skin's artwork, as the game cuts it.
  EXPECT_EQ(editeur.ImageListNormal->Count(), 16);
  EXPECT_EQ(editeur.ImageListFinal->Count(), 16);
  EXPECT_EQ(editeur.ImageListBord->Count(), 18);
  EXPECT_EQ(editeur.ImageListFond->Count(), 2);
  TImagesPieces jeu;
  ASSERT_TRUE(ChargerPiecesSkin(jeu, GLISSARO_SOURCES "/data/skins/Glissaro/pieces.bmp").isEmpty());
  const int t = jeu.TailleCase();
  const QImage attendue = jeu.Liste(TSerieMap::Final)[5]
                              .copy(0, 0, t - 1, t - 1)
                              .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_EQ(*editeur.ImageListFinal->Image(5), attendue);
  EXPECT_EQ(Palette("F5")->Picture().pixelColor(10, 10), attendue.pixelColor(10, 10));
}

TEST_F(Editeur, SansPlateauLaPaletteSeuleBougeEtRienNEstEnregistre) {
  Choisir(Palette("N3"));
  EXPECT_EQ(editeur.CarreCourant, Palette("N3"));
  EXPECT_EQ(Palette("N3")->ColorGrille(), TFrmEditeur::kRouge);
  EXPECT_EQ(editeur.Fond->ColorGrille(), TFrmEditeur::kBleu);
  EXPECT_FALSE(editeur.Modifie);

  Cliquer(editeur.ToolButton3, {20, 20});
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(dialogues.Textes("bip").size(), 2u);
  EXPECT_EQ(dialogues.Textes("avertissement"),
            (std::vector<std::string>{"Pas de niveau chargé !!!", "Pas de niveau chargé !!!"}));
  EXPECT_TRUE(dialogues.Textes("enregistrer").empty());
}

TEST_F(Editeur, NouveauConstruitUneGrilleVideCentree) {
  Nouveau("Essai", 5, 4);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : Essai");
  EXPECT_EQ(editeur.NomPlateau, "Essai");
  EXPECT_EQ(editeur.Largeur, 5);
  EXPECT_EQ(editeur.Hauteur, 4);
  EXPECT_FALSE(editeur.Modifie);
  EXPECT_EQ(editeur.OrigineX, 518 / 2 - 50 - 20);
  EXPECT_EQ(editeur.OrigineY, (541 - 154) / 2 - 40);
  EXPECT_EQ(editeur.Cases[1][1]->pos(), QPoint(20 + editeur.OrigineX, 20 + editeur.OrigineY));
  EXPECT_EQ(editeur.Cases[5][4]->pos(), QPoint(100 + editeur.OrigineX, 80 + editeur.OrigineY));
  EXPECT_EQ(editeur.Cases[5][4]->parentWidget(), editeur.Client);
  EXPECT_EQ(editeur.Cases[6][1], nullptr);
  EXPECT_EQ(editeur.Cases[1][5], nullptr);
  EXPECT_EQ(Cadres(TFrmEditeur::kVert).size(), 20u);
  EXPECT_EQ(editeur.Cases[3][2]->Serie(), TSerieMap::Vide);
  EXPECT_EQ(editeur.Cases[3][2]->Images(), editeur.ImageListFond);

  // Cancel leaves the board as it was; an empty name gives a bare colon.
  Nouveau("Autre", 8, 8, false);
  EXPECT_EQ(editeur.NomPlateau, "Essai");
  EXPECT_EQ(editeur.Largeur, 5);
  Nouveau("", 3, 3);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : ");
  EXPECT_EQ(editeur.Client->findChildren<TCarre*>(QString(), Qt::FindDirectChildrenOnly).size(), 9);
}

TEST_F(Editeur, PoserUnCarreCopieLaTuileEtGardeSonNumero) {
  Nouveau("Essai", 4, 3);
  editeur.Cases[2][2]->SetPiece(7);
  editeur.Cases[2][2]->SetColorGrille(TFrmEditeur::kBlanc);
  Choisir(Palette("F10"), true);
  Poser(2, 2);
  const TCarre* c = editeur.Cases[2][2];
  EXPECT_EQ(c->Serie(), TSerieMap::Final);
  EXPECT_EQ(c->Map(), 10);
  EXPECT_TRUE(c->Droit() && c->Bas() && c->Haut() && !c->Gauche());
  EXPECT_TRUE(c->PlaceFinal());
  EXPECT_EQ(c->Images(), editeur.ImageListFinal);
  EXPECT_EQ(c->Piece(), 7);
  EXPECT_EQ(c->ColorGrille(), TFrmEditeur::kBlanc);
  EXPECT_TRUE(editeur.Modifie);

  Choisir(Palette("B16"));
  Poser(1, 1);
  EXPECT_TRUE(editeur.Cases[1][1]->Porte());
  EXPECT_EQ(editeur.Cases[1][1]->Serie(), TSerieMap::Bord);
  EXPECT_FALSE(editeur.Cases[1][1]->PlaceFinal());
  // A final place on the floor.
  Choisir(editeur.Fond, true);
  Poser(4, 3);
  EXPECT_TRUE(editeur.Cases[4][3]->PlaceFinal());
  EXPECT_EQ(editeur.Cases[4][3]->Serie(), TSerieMap::Vide);
}

TEST_F(Editeur, ChangerDOngletDecocheLaCaseEtBorduresLaDesactive) {
  editeur.CBEmplacementFinal->setChecked(true);
  editeur.PageControl1->setCurrentIndex(1);
  EXPECT_FALSE(editeur.CBEmplacementFinal->isChecked());
  EXPECT_TRUE(editeur.CBEmplacementFinal->isEnabled());
  // Its caption is drawn in red, and greyed with the box when it is off.
  auto pixelsRouges = [this] {
    const QImage image = editeur.CBEmplacementFinal->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
      }
    return n;
  };
  EXPECT_GT(pixelsRouges(), 20);
  editeur.PageControl1->setCurrentIndex(2);
  EXPECT_FALSE(editeur.CBEmplacementFinal->isEnabled());
  EXPECT_EQ(pixelsRouges(), 0);
  editeur.PageControl1->setCurrentIndex(0);
  EXPECT_TRUE(editeur.CBEmplacementFinal->isEnabled());
}

// The check.

TEST_F(Editeur, UnPlateauNeufEchoueSansPlaceFinaleEtSEnregistreEnStatut0) {
  Nouveau("Essai", 3, 3);
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(dialogues.Textes("avertissement"),
            (std::vector<std::string>{"Pas d'emplacement final! Grille Incorrecte"}));
  EXPECT_TRUE(dialogues.Textes("bip").empty());
  EXPECT_EQ(Cadres(TFrmEditeur::kVert).size(), 9u);

  dialogues.appels.clear();
  const QString chemin = Enregistrer("Essai.wbp");
  ASSERT_EQ(dialogues.dialoguesFichier.size(), 1u);
  EXPECT_EQ(dialogues.dialoguesFichier[0].nomFichier, "Essai.wbp");
  EXPECT_EQ(dialogues.dialoguesFichier[0].titre, "Sauvegarder le plateau Glissaro");
  ASSERT_EQ(dialogues.appels.size(), 2u);
  EXPECT_EQ(dialogues.appels[0].genre, "enregistrer");
  EXPECT_EQ(dialogues.appels[1].texte, "Pas d'emplacement final! Grille Incorrecte");
  const auto lignes = LignesDuFichier(chemin);
  ASSERT_EQ(lignes.size(), 86u);
  EXPECT_EQ(lignes[0], "V1.00");
  EXPECT_EQ(lignes[1], "Essai");
  EXPECT_EQ(lignes[4], "0");
  EXPECT_EQ(lignes[5], "3");  // Vide
}

TEST_F(Editeur, LesAvertissementsSurLesPlacesFinales) {
  // A master piece of two tiles and one final place.
  NouveauTrace(Dessiner({"AA.", "..."}, {"...", "..x"}));
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(
      dialogues.Textes("avertissement"),
      (std::vector<std::string>{"Pas assez d'emplacement finale pour la ou les  masters brique. Grille incorrecte"}));
  // Final places but no master tile.
  dialogues.appels.clear();
  dialogues.reponses = {Reponse::Non};
  NouveauTrace(Dessiner({"a..", "..."}, {"...", "..x"}));
  editeur.VerifierGrille(false);
  EXPECT_EQ(dialogues.Textes("avertissement"), (std::vector<std::string>{"Pas de brique master! Grille Incorrecte"}));
}

TEST_F(Editeur, LesJonctionsFautivesSontEnRougeLesAutresEnBlanc) {
  NouveauTrace(Dessiner({"A..", "...", "..."}, {"x..", "...", "..."}));
  // A tile joined upwards in row 1, and a normal tile joined to a master one.
  Choisir(Palette("N1"));
  Poser(3, 1);
  Choisir(Palette("N3"));
  Poser(1, 3);
  Choisir(Palette("F4"), true);
  Poser(2, 3);
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(Cadres(TFrmEditeur::kRouge), (std::vector<Place>{{1, 3}, {2, 3}, {3, 1}}));
  EXPECT_EQ(Cadres(TFrmEditeur::kBlanc).size(), 6u);
  ASSERT_EQ(dialogues.appels.size(), 2u);
  EXPECT_EQ(dialogues.appels[0].genre, "bip");
  EXPECT_EQ(dialogues.appels[1].genre, "erreur");
  EXPECT_EQ(dialogues.appels[1].texte, "Grille Incorrecte");

  // A failure of the final places leaves the marks as they were.
  Choisir(Palette("F0"));  // a palette click: all green again
  EXPECT_EQ(Cadres(TFrmEditeur::kVert).size(), 9u);
  Cliquer(editeur.TbTester, {20, 20});
  Poser(3, 3);  // one master tile more than final places
  dialogues.appels.clear();
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(dialogues.Textes("avertissement").size(), 1u);
  EXPECT_TRUE(dialogues.Textes("bip").empty());
  EXPECT_EQ(Cadres(TFrmEditeur::kRouge), (std::vector<Place>{{1, 3}, {2, 3}, {3, 1}}));
  EXPECT_EQ(Cadres(TFrmEditeur::kBlanc).size(), 6u);
}

TEST_F(Editeur, UnePieceQuiSeTouchePasJointeEchoueALEtape4) {
  // A 2 × 2 master piece whose two lower tiles are joined upwards only:
  // three inner joins out of four.
  NouveauTrace(Dessiner({"AA.", "AA.", "..."}, {"xx.", "xx.", "..."}));
  Choisir(Palette("F1"), true);
  Poser(1, 2);
  Poser(2, 2);
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(Cadres(TFrmEditeur::kRouge), (std::vector<Place>{{1, 2}, {2, 2}}));
  EXPECT_EQ(dialogues.Textes("erreur"), (std::vector<std::string>{"Grille Incorrecte"}));
  // The pieces were numbered all the same.
  EXPECT_EQ(editeur.Cases[1][1]->Piece(), 1);
  EXPECT_EQ(editeur.Cases[2][2]->Piece(), 1);
  EXPECT_EQ(editeur.Cases[3][3]->Piece(), 0);
}

TEST_F(Editeur, UnAnneauDeBordureEstUnePieceEtLaNumerotationDescendLesColonnes) {
  NouveauTrace(Anneau(Dessiner({"#####", "#a.D#", "#.AA#", "#####"}, {".....", ".xx..", ".....", "....."})));
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(dialogues.Textes("information"), (std::vector<std::string>{"Grille correcte"}));
  EXPECT_EQ(Cadres(TFrmEditeur::kVert).size(), 20u);
  // The ring first, then "a" in column 2, the master piece from column 3,
  // then the door in column 4; floor keeps 0.
  EXPECT_EQ(editeur.Cases[1][1]->Piece(), 1);
  EXPECT_EQ(editeur.Cases[5][4]->Piece(), 1);
  EXPECT_EQ(editeur.Cases[2][2]->Piece(), 2);
  EXPECT_EQ(editeur.Cases[3][3]->Piece(), 3);
  EXPECT_EQ(editeur.Cases[4][3]->Piece(), 3);
  EXPECT_EQ(editeur.Cases[4][2]->Piece(), 4);
  EXPECT_EQ(editeur.Cases[3][2]->Piece(), 0);
  EXPECT_EQ(editeur.NumeroPiece, 5);
  // A name that is empty still counts as a board.
  dialogues.appels.clear();
  editeur.setWindowTitle("Editeur Glissaro : ");
  Cliquer(editeur.TbTester, {20, 20});
  EXPECT_EQ(dialogues.Textes("information").size(), 1u);
}

// Commands and saving.

TEST_F(Editeur, NouveauOuvrirEtReinitialiserLaissentModifieFaux) {
  const QString fichier = dossier.Plateau(Dessiner({"#a#", "...", "A.."}, {"...", "...", "..x"}, "Lu"), "1");
  Nouveau("Essai", 3, 3);
  Choisir(Palette("N0"));
  Poser(1, 1);
  ASSERT_TRUE(editeur.Modifie);
  dialogues.confirmations = {false, true};
  Cliquer(editeur.ToolButton4, {20, 20});  // declined
  EXPECT_EQ(editeur.Cases[1][1]->Serie(), TSerieMap::Normal);
  Cliquer(editeur.ToolButton4, {20, 20});
  EXPECT_EQ(dialogues.Textes("confirmation"),
            (std::vector<std::string>(2, "Confirmez la ré-initialisation du plateau courant ?")));
  EXPECT_EQ(editeur.Cases[1][1]->Serie(), TSerieMap::Vide);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : Essai");
  EXPECT_FALSE(editeur.Modifie);

  dialogues.fichiers.push_back(fichier.toStdString());
  Cliquer(editeur.ToolButton2, {20, 20});
  EXPECT_EQ(dialogues.dialoguesFichier.back().titre, "Charger un plateau Glissaro");
  EXPECT_FALSE(editeur.Modifie);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : Lu");
  // Cells as written in the file: piece numbers, joins, final places.
  EXPECT_EQ(editeur.Cases[2][1]->Serie(), TSerieMap::Normal);
  EXPECT_EQ(editeur.Cases[2][1]->Piece(), 3);
  EXPECT_EQ(editeur.Cases[3][3]->PlaceFinal(), true);
  EXPECT_EQ(editeur.Cases[1][3]->Serie(), TSerieMap::Final);
  EXPECT_EQ(editeur.Cases[1][3]->Images(), editeur.ImageListFinal);
  EXPECT_EQ(NombreDeCases(), 9u);
  EXPECT_TRUE(dialogues.Textes("confirmation3").empty());
}

TEST_F(Editeur, FermerLePlateauPuisEnregistrerNeToucheRien) {
  Nouveau("Essai", 4, 3);
  Choisir(Palette("N0"));
  Poser(1, 1);
  dialogues.confirmations = {false, true};
  editeur.Fermer1->trigger();
  EXPECT_TRUE(editeur.GrilleChargee());
  editeur.Fermer1->trigger();
  EXPECT_EQ(dialogues.Textes("confirmation"),
            (std::vector<std::string>(2, "Confirmez la fermeture du plateau courant ?")));
  EXPECT_FALSE(editeur.GrilleChargee());
  EXPECT_TRUE(editeur.Client->findChildren<TCarre*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro");
  EXPECT_TRUE(editeur.NomPlateau.isEmpty());
  EXPECT_EQ(editeur.Largeur, 4);

  Choisir(Palette("F3"));
  editeur.Enregistrer1->trigger();
  EXPECT_EQ(dialogues.Textes("avertissement"), (std::vector<std::string>{"Pas de niveau chargé !!!"}));
  EXPECT_TRUE(dialogues.Textes("enregistrer").empty());
  // Ré-initialiser builds a grid of the closed board's size, still unnamed.
  editeur.Rinitialiser1->trigger();
  EXPECT_EQ(NombreDeCases(), 12u);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro");
}

TEST_F(Editeur, LaQuestionDEnregistrementEtSesTroisReponses) {
  Nouveau("Essai", 3, 3);
  Choisir(Palette("N0"));
  Poser(1, 1);
  // Cancel: nothing happens, the window stays open.
  dialogues.reponses = {Reponse::Annuler, Reponse::Annuler};
  Cliquer(editeur.ToolButton1, {20, 20});
  editeur.Quitter1->trigger();
  EXPECT_TRUE(editeur.isVisible());
  EXPECT_EQ(dialogues.Textes("confirmation3"),
            (std::vector<std::string>(2, "Voulez-vous enregistrer niveau actuel ?")));
  EXPECT_EQ(editeur.Cases[1][1]->Serie(), TSerieMap::Normal);
  EXPECT_TRUE(editeur.Modifie);

  // Yes with the save dialog cancelled: the window closes all the same
  // and keeps its changed board.
  dialogues.reponses = {Reponse::Oui};
  editeur.Quitter1->trigger();
  EXPECT_FALSE(editeur.isVisible());
  EXPECT_EQ(dialogues.Textes("enregistrer").size(), 1u);
  EXPECT_TRUE(editeur.Modifie);
  EXPECT_EQ(editeur.Cases[1][1]->Serie(), TSerieMap::Normal);

  // Yes then a file: saved before the new board is made.
  editeur.show();
  dialogues.reponses = {Reponse::Oui};
  const std::string chemin = dossier.Fichier("Sauve.wbp");
  dialogues.fichiers.push_back(chemin);
  Nouveau("Suivant", 4, 4);
  EXPECT_EQ(LignesDuFichier(QString::fromStdString(chemin)).size(), 5u + 9 * 9);
  EXPECT_EQ(editeur.NomPlateau, "Suivant");
  EXPECT_FALSE(editeur.Modifie);
}

TEST_F(Editeur, LeNomVientDuFichierEtUnEchecDEcritureGardeModifie) {
  Nouveau("Essai", 3, 3);
  Choisir(Palette("N0"));
  Poser(2, 2);
  const QString chemin = Enregistrer("Autre nom.wbp");
  EXPECT_EQ(editeur.NomPlateau, "Autre nom");
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : Autre nom");
  EXPECT_EQ(LignesDuFichier(chemin).at(1), "Autre nom");
  EXPECT_FALSE(editeur.Modifie);

  Poser(1, 1);
  dialogues.appels.clear();
  Enregistrer("absent/Troisieme.wbp");
  EXPECT_TRUE(editeur.Modifie);
  EXPECT_EQ(editeur.NomPlateau, "Troisieme");
  ASSERT_EQ(dialogues.Textes("erreur").size(), 1u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("Troisieme.wbp"), std::string::npos);
}

TEST_F(Editeur, UnPlateauOuvertSEnregistreDansSonDossierSousSonNom) {
  const QString dossierPlateau = dossier.Q() + "plateaux/1 - Premiers pas/";
  QDir().mkpath(dossierPlateau);
  const QString fichier = dossierPlateau + "Fichier.wbp";
  ASSERT_TRUE(glissaro::EcrirePlateau(fichier.toStdString(), Dessiner({"A.", ".."}, {"..", ".x"}, "Titre"), "1").ok);
  ASSERT_TRUE(editeur.OuvrirPlateau(fichier));
  Choisir(Palette("N0"));
  Poser(2, 1);
  dialogues.fichiers = {std::nullopt, fichier.toStdString()};
  editeur.Enregistrer1->trigger();
  EXPECT_EQ(dialogues.dialoguesFichier.back().dossierInitial, dossierPlateau.toStdString());
  EXPECT_EQ(dialogues.dialoguesFichier.back().nomFichier, "Fichier.wbp");
  // Accepted as proposed: the file opened is the one written.
  editeur.Enregistrer1->trigger();
  EXPECT_FALSE(editeur.Modifie);
  EXPECT_EQ(LignesDuFichier(fichier).at(1), "Fichier");
  EXPECT_EQ(QDir(dossier.Q() + "plateaux").entryList(QDir::Files), QStringList{});
  // A new board starts in the board library, under its name.
  Nouveau("Neuf", 3, 3);
  editeur.Enregistrer1->trigger();
  EXPECT_EQ(dialogues.dialoguesFichier.back().dossierInitial, dossier.Fichier("plateaux/"));
  EXPECT_EQ(dialogues.dialoguesFichier.back().nomFichier, "Neuf.wbp");
}

TEST_F(Editeur, UnFichierTropGrandEstRefuseEtLaGrilleReste) {
  Nouveau("Essai", 4, 3);
  TCarre* avant = editeur.Cases[1][1];
  std::vector<std::string> lignes = {"V1.00", "Grand", "21", "2", "1"};
  for (int i = 0; i < 21 * 2; ++i) lignes.insert(lignes.end(), {"3", "0", "0", "0", "0", "0", "0", "0", "0"});
  EcrireLignes(dossier.Fichier("Grand.wbp"), lignes);
  // And a file of the right size with a bad line.
  lignes = {"V1.00", "Faux", "3", "3", "1", "3", "zéro"};
  EcrireLignes(dossier.Fichier("Faux.wbp"), lignes);
  dialogues.fichiers = {dossier.Fichier("Grand.wbp"), dossier.Fichier("Faux.wbp")};
  editeur.Ouvrir1->trigger();
  editeur.Ouvrir1->trigger();
  ASSERT_EQ(dialogues.Textes("erreur").size(), 2u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("Grand.wbp"), std::string::npos);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("21"), std::string::npos);
  EXPECT_NE(dialogues.Textes("erreur")[1].find("Faux.wbp"), std::string::npos);
  EXPECT_EQ(editeur.Cases[1][1], avant);
  EXPECT_EQ(editeur.Largeur, 4);
  EXPECT_EQ(editeur.windowTitle(), "Editeur Glissaro : Essai");
  EXPECT_EQ(NombreDeCases(), 12u);
}

TEST_F(Editeur, UnPlateauDessineEtEnregistreSeJoueDansLaFenetreDuPlateau) {
  NouveauTrace(Dessiner({"#####", "#a..#", "#..A#", "#####"}, {".....", ".....", ".x...", "....."}, "Partie"));
  const QString fichier = Enregistrer("Partie.wbp");
  EXPECT_EQ(LignesDuFichier(fichier).at(4), "1");

  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  player.DefinirFenetres({&plateau, nullptr, nullptr, &editeur});
  plateau.ChargerPlateau(fichier);
  ASSERT_TRUE(plateau.isVisible());
  const QPoint depart(30, 30);  // cell (2, 2)
  Appuyer(plateau.ImagePlateau, depart);
  Deplacer(plateau.ImagePlateau, depart + QPoint(20, 0));
  Relacher(plateau.ImagePlateau, depart + QPoint(20, 0));
  EXPECT_EQ(plateau.Partie().Plateau().Case(2, 3).Serie, TSerieMap::Normal);
  EXPECT_EQ(plateau.Partie().Plateau().Case(2, 2).Serie, TSerieMap::Vide);
  EXPECT_EQ(session.Partie().Compteur(), 1);
  plateau.hide();
}

TEST_F(Editeur, LePanneauMontreLEditeurAuxDialoguesDansLaBibliotheque) {
  editeur.hide();
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  EXPECT_FALSE(player.Editeurdeplateau1->isEnabled());
  player.DefinirFenetres({nullptr, nullptr, nullptr, &editeur});
  ASSERT_TRUE(player.Editeurdeplateau1->isEnabled());
  EXPECT_EQ(player.Editeurdeplateau1->text(), "&Editeur de plateau");
  player.show();
  EXPECT_EQ(editeur.ODEditeur.titre, "Charger un plateau Glissaro");
  EXPECT_EQ(editeur.SDEditeur.titre, "Sauvegarder le plateau Glissaro");
  EXPECT_EQ(editeur.SDEditeur.filtreMotif, "*.wbp");
  EXPECT_EQ(editeur.ODEditeur.extensionDefaut, "wbp");
  EXPECT_EQ(editeur.ODEditeur.dossierInitial, (dossier.Q() + "plateaux/").toStdString());
  player.Editeurdeplateau1->trigger();
  EXPECT_TRUE(editeur.isVisible());
  EXPECT_FALSE(editeur.isModal());

  // The program's end closes the editor without its question.
  Nouveau("Essai", 3, 3);
  Choisir(Palette("N0"));
  Poser(1, 1);
  emit player.Fermee();
  EXPECT_FALSE(editeur.isVisible());
  EXPECT_TRUE(dialogues.Textes("confirmation3").empty());
  player.hide();
}
