// Playing as today's players expect, through the real windows, offscreen:
// undo and redo, the keyboard, the board's size, the final places under the
// pieces, hints, the windows kept together, files opened from the desktop.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "AideFenetres.h"
#include "Magneto.h"
#include "SkinForm.h"
#include "UPack.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"
#include "gestion.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {


void Touche(QWidget* w, int touche, Qt::KeyboardModifiers m = Qt::NoModifier) {
  QKeyEvent e(QEvent::KeyPress, touche, m);
  QApplication::sendEvent(w, &e);
}

// A master piece behind a door, an ordinary one in its way.
TPlateau Porte() {
  return Dessiner({"#DD###", "#..A.#", "#bb..#", "#....#", "######"}, {"......", "......", "....x.", "......", "......"},
                  "Porte");
}

class Ensemble {
 public:
  explicit Ensemble(DossierProgramme& dossier, DialoguesScriptes& dialogues)
      : session(dossier.Chemin(), dialogues),
        player(session, dialogues),
        plateau(session, player, dialogues),
        gestion(dossier.Q(), plateau.Images, dialogues),
        magneto(session, player, plateau),
        pack(dossier.Q(), dialogues) {
    player.DefinirFenetres({&plateau, &gestion, &magneto, nullptr, nullptr, nullptr, &pack});
    plateau.DefinirGestion(&gestion);
    player.show();
  }
  ~Ensemble() {
    magneto.hide();
    plateau.hide();
    player.hide();
  }
  QString Compteur() const {
    for (const auto& d : player.SkinForm1->Displays())
      if (d.ID == "TEXT_CPT") return d.Value;
    return "?";
  }
  // Centre of a cell on the screen, at the scale shown.
  QPoint Centre(int ligne, int colonne) const {
    return plateau.ImagePlateau->RectangleCase(ligne, colonne, plateau.TailleCase()).center().toPoint();
  }
  void Tirer(int ligne, int colonne, std::vector<QPoint> pas) {
    const int t = plateau.ImagePlateau->width() / plateau.Partie().Plateau().Largeur;
    QPoint p = Centre(ligne, colonne);
    Appuyer(plateau.ImagePlateau, p);
    for (const QPoint& d : pas) {
      p += d * t;
      Deplacer(plateau.ImagePlateau, p);
    }
    Relacher(plateau.ImagePlateau, p);
  }
  std::vector<std::pair<int, int>> Evenements() const {
    std::vector<std::pair<int, int>> r;
    const auto& h = plateau.Partie().Historique();
    for (int i = 0; i < h.Fin; ++i) r.emplace_back(h[i].Code, h[i].Valeur);
    return r;
  }

  TSession session;
  TFrmPlayer player;
  TFrmPlateau plateau;
  TFrmGestion gestion;
  TFrmMagneto magneto;
  TFrmPack pack;
};

class Confort : public ::testing::Test {
 protected:
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  Ensemble f{dossier, dialogues};
};

}  // namespace

TEST_F(Confort, AnnulerEtRetablirUnCoupAuClavierDepuisLesDeuxFenetres) {
  f.plateau.ChargerPlateau(dossier.Plateau(Porte()));
  auto menu = [this] {
    emit f.plateau.PopupMenu1->aboutToShow();
    return std::pair(f.plateau.AnnulerCoup1->isEnabled(), f.plateau.RetablirCoup1->isEnabled());
  };
  EXPECT_EQ(menu(), std::pair(false, false));
  EXPECT_EQ(f.plateau.AnnulerCoup1->shortcut(), QKeySequence("Ctrl+Z"));
  f.Tirer(3, 2, {{0, 1}});            // b: 1
  f.Tirer(2, 4, {{-1, 0}, {-1, 0}});  // A opens the door: 2, and counts: 3
  f.Tirer(2, 2, {{0, -1}});           // A into the door: not counted
  f.Tirer(4, 2, {{1, 0}});            // b: 4
  ASSERT_EQ(f.Compteur(), "0004");
  EXPECT_EQ(menu(), std::pair(true, false));
  const auto fin = f.plateau.Partie().Historique().Fin;
  // The replay's counter marks one by one, from the panel and from the
  // board window: b and A's last steps go back together, then A's move,
  // then the door's opening with A's steps, then b.
  Touche(&f.player, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.Compteur(), "0003");
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(2, 2).Serie, TSerieMap::Final);
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(4, 3).Serie, TSerieMap::Normal);
  Touche(&f.plateau, Qt::Key_Backspace);
  EXPECT_EQ(f.Compteur(), "0002");
  Touche(&f.plateau, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(f.Compteur(), "0001");
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(1, 2).Map, kMapPorteFermee);
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(2, 4).Serie, TSerieMap::Final);
  f.plateau.AnnulerCoup1->trigger();
  EXPECT_EQ(f.Compteur(), "0000");
  EXPECT_EQ(menu(), std::pair(false, true));
  EXPECT_EQ(f.plateau.Partie().Historique().Fin, fin);
  Touche(&f.plateau, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(f.Compteur(), "0001");
  Touche(&f.player, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f.Compteur(), "0002");
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(1, 2).Serie, TSerieMap::Vide);  // the door opened again
  // A new gesture cuts what could be played again.
  f.Tirer(4, 2, {{1, 0}});
  EXPECT_EQ(f.Compteur(), "0003");
  EXPECT_EQ(menu(), std::pair(true, false));
  Touche(&f.plateau, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(f.Compteur(), "0003");
}

TEST_F(Confort, LesFlechesJouentCommeUnGlissementDUneCase) {
  DialoguesScriptes autres;
  Ensemble clavier(dossier, autres);
  const auto fichier = dossier.Plateau(Porte());
  f.plateau.ChargerPlateau(fichier);
  clavier.plateau.ChargerPlateau(fichier);
  const auto& p = clavier.plateau.Partie().Plateau();
  const uint16_t b = p.Case(3, 2).Piece, a = p.Case(2, 4).Piece;
  // Tab in the order of the piece numbers, going round; Maj+Tab back.
  Touche(&clavier.plateau, Qt::Key_Tab);
  EXPECT_EQ(clavier.plateau.PieceSelectionnee(), b);
  Touche(&clavier.player, Qt::Key_Tab);
  EXPECT_EQ(clavier.plateau.PieceSelectionnee(), a);
  Touche(&clavier.plateau, Qt::Key_Tab);
  EXPECT_EQ(clavier.plateau.PieceSelectionnee(), b);
  Touche(&clavier.plateau, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(clavier.plateau.PieceSelectionnee(), a);
  Touche(&clavier.plateau, Qt::Key_Backtab, Qt::ShiftModifier);
  // The selected piece is outlined in white over the picture.
  const QImage vue = clavier.plateau.ImagePlateau->grab().toImage();
  const QRect cellule = clavier.plateau.ImagePlateau->RectangleCase(3, 2, clavier.plateau.TailleCase()).toRect();
  EXPECT_EQ(vue.pixelColor(cellule.center().x(), cellule.top() + 2), QColor(Qt::white));
  EXPECT_EQ(vue.pixelColor(cellule.center()), clavier.plateau.ImagePlateau->Picture.pixelColor(cellule.center()));

  Touche(&clavier.plateau, Qt::Key_Down, Qt::ControlModifier);  // not a move
  EXPECT_EQ(clavier.plateau.Partie().Historique().Fin, 0);
  Touche(&clavier.plateau, Qt::Key_Down);
  f.Tirer(3, 2, {{0, 1}});
  // A click selects A; two steps left open the door, A up then right.
  Cliquer(clavier.plateau.ImagePlateau, clavier.Centre(2, 4));
  EXPECT_EQ(clavier.plateau.PieceSelectionnee(), a);
  for (const int touche : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Up}) Touche(&clavier.plateau, touche);
  f.Tirer(2, 4, {{-1, 0}});
  f.Tirer(2, 3, {{-1, 0}});
  f.Tirer(2, 2, {{0, -1}});
  f.Tirer(1, 2, {{1, 0}});
  f.Tirer(1, 3, {{0, -1}});  // refused: the edge of the board
  EXPECT_EQ(clavier.Evenements(), f.Evenements());
  EXPECT_EQ(clavier.Compteur(), "0003");
  EXPECT_EQ(f.Compteur(), "0003");
  EXPECT_EQ(clavier.plateau.ImagePlateau->Picture, f.plateau.ImagePlateau->Picture);
}

TEST_F(Confort, A200PourCentLeSeuilResteEnPixelsDuPlateau) {
  f.player.Taille200->trigger();
  EXPECT_EQ(f.session.Reglages().Zoom, 200);
  f.plateau.ChargerPlateau(dossier.Plateau(Porte()));
  ASSERT_EQ(f.plateau.ZoomEffectif(), 200);
  EXPECT_EQ(f.plateau.size(), QSize(240, 200));
  EXPECT_EQ(f.plateau.ImagePlateau->Picture.size(), QSize(120, 100));
  ASSERT_EQ(f.plateau.Partie().Seuil(), 10);
  const QPoint depart = f.Centre(3, 2);
  Appuyer(f.plateau.ImagePlateau, depart);
  Deplacer(f.plateau.ImagePlateau, depart + QPoint(0, 2 * 10));
  EXPECT_EQ(f.plateau.Partie().Historique().Fin, 0);
  Deplacer(f.plateau.ImagePlateau, depart + QPoint(0, 2 * 11));
  Relacher(f.plateau.ImagePlateau, depart + QPoint(0, 2 * 11));
  EXPECT_EQ(f.plateau.Partie().Historique().Fin, 2);  // one step and its mark
  EXPECT_EQ(f.plateau.Partie().Plateau().Case(4, 2).Serie, TSerieMap::Normal);
  // The screen's picture, redrawn cell by cell, is the whole picture scaled.
  TImageZoom entier;
  entier.Definir(f.plateau.ImagePlateau->Picture, 200);
  EXPECT_EQ(f.plateau.ImagePlateau->Zoom.Image(), entier.Image());
  // Automatic: the largest size within 60 % of the offscreen screen.
  f.player.Taille0->trigger();
  const QSize ecran = f.player.screen()->geometry().size();
  const int z = f.plateau.ZoomEffectif();
  EXPECT_EQ(f.plateau.width(), 120 * z / 100);
  EXPECT_LE(f.plateau.frameGeometry().width() * 10, ecran.width() * 6);
  EXPECT_LE(f.plateau.frameGeometry().height() * 10, ecran.height() * 6);
}

TEST_F(Confort, LesPlacesFinalesSeVoientSousLesPieces) {
  // An ordinary and a master tile on final places, a final place bare.
  f.plateau.ChargerPlateau(
      dossier.Plateau(Dessiner({"######", "#aA..#", "######"}, {"......", ".xx.x.", "......"}, "Places")));
  auto sansAnneaux = [this] { return f.plateau.Images.DessinerPlateau(f.plateau.Partie().Plateau()); };
  const QImage avec = f.plateau.ImagePlateau->Picture, sans = sansAnneaux();
  for (int c = 1; c <= 6; ++c) {
    const QRect cellule((c - 1) * 20, 20, 20, 20);
    EXPECT_EQ(avec.copy(cellule) != sans.copy(cellule), c == 2 || c == 3) << c;
  }
  // Cell by cell as pieces move, the same as the whole board drawn again.
  f.Tirer(2, 3, {{1, 0}});
  EXPECT_EQ(f.plateau.ImagePlateau->Picture, f.plateau.Images.DessinerPlateau(f.plateau.Partie().Plateau(), true));
  // Unchecked: the tiles alone.
  f.player.PlacesFinales1->trigger();
  EXPECT_FALSE(f.session.Reglages().PlacesFinales);
  EXPECT_EQ(f.plateau.ImagePlateau->Picture, sansAnneaux());
  f.Tirer(2, 2, {{0, 0}});
  f.Tirer(2, 4, {{1, 0}});
  EXPECT_EQ(f.plateau.ImagePlateau->Picture, sansAnneaux());
}

TEST_F(Confort, UnIndiceSansRienJouerEtUnCoupLAnnule) {
  // b must make room by going down before A goes right.
  f.plateau.ChargerPlateau(
      dossier.Plateau(Dessiner({"#####", "#Ab.#", "##.##", "#####"}, {".....", "...x.", ".....", "....."}, "Indice")));
  const uint16_t b = f.plateau.Partie().Plateau().Case(2, 3).Piece;
  Touche(&f.plateau, Qt::Key_H);
  ASSERT_TRUE(Attendre([this] { return f.plateau.ImagePlateau->Indice.issue == IssueIndice::Pas; }));
  EXPECT_EQ(f.plateau.ImagePlateau->Indice.piece, b);
  EXPECT_EQ(std::pair(f.plateau.ImagePlateau->Indice.dx, f.plateau.ImagePlateau->Indice.dy), std::pair(0, 1));
  EXPECT_EQ(f.plateau.Partie().Indices(), 1);
  EXPECT_EQ(f.plateau.Partie().Historique().Fin, 0);
  EXPECT_EQ(f.Compteur(), "0000");
  // The hinted piece flashes over the picture (above its middle, where the
  // arrow does not reach).
  const QRectF cellule = f.plateau.ImagePlateau->RectangleCase(2, 3, f.plateau.TailleCase());
  const QPoint point(static_cast<int>(cellule.center().x()), static_cast<int>(cellule.top() + cellule.height() * 0.3));
  auto couleur = [&] { return f.plateau.ImagePlateau->grab().toImage().pixelColor(point); };
  const QColor allume = couleur();
  EXPECT_NE(allume, f.plateau.ImagePlateau->Picture.pixelColor(point));
  ASSERT_TRUE(Attendre([&] { return couleur() != allume; }, 400));

  // A move while the search runs: no hint comes.
  f.plateau.Indice1->trigger();
  EXPECT_TRUE(f.plateau.RechercheIndiceEnCours());
  f.Tirer(2, 3, {{0, 1}});
  EXPECT_FALSE(f.plateau.RechercheIndiceEnCours());
  Attendre([] { return false; }, 300);
  EXPECT_EQ(f.plateau.ImagePlateau->Indice.issue, IssueIndice::Annule);
  EXPECT_EQ(f.plateau.Partie().Indices(), 1);
  EXPECT_TRUE(dialogues.Textes("information").empty());

  // From a position without a way out, and on a board the solver cannot
  // finish in time.
  f.plateau.ChargerPlateau(dossier.Plateau(Dessiner({"A#."}, {"..x"}, "Bloque")));
  EXPECT_EQ(f.plateau.Partie().Indices(), 0);
  Touche(&f.plateau, Qt::Key_H);
  ASSERT_TRUE(Attendre([this] { return !dialogues.Textes("information").empty(); }));
  EXPECT_EQ(dialogues.Textes("information").back(), "Aucune solution depuis cette position");
  std::vector<std::string> grand(16, std::string(20, '#'));
  for (int l = 1; l < 15; ++l)
    for (int c = 1; c < 19; ++c) grand[l][c] = (l * 7 + c * 3) % 5 < 3 ? static_cast<char>('a' + (l + c) % 26) : '.';
  grand[1][1] = 'A';
  std::vector<std::string> places(16, std::string(20, '.'));
  places[14][18] = 'x';
  f.plateau.DelaiIndice = 100;
  f.plateau.ChargerPlateau(dossier.Plateau(Dessiner(grand, places, "Grand")));
  Touche(&f.plateau, Qt::Key_H);
  ASSERT_TRUE(Attendre([this] { return dialogues.Textes("information").size() == 2; }));
  EXPECT_EQ(dialogues.Textes("information").back(), "Indice indisponible sur ce plateau");
}

TEST_F(Confort, LePlateauSuitLePanneauEtLeMagnetoscopeSOuvreACote) {
  f.plateau.ChargerPlateau(dossier.Plateau(Porte()));
  const QPoint decalage = f.plateau.pos() - f.player.pos();
  // The panel dragged by a place that is neither an area nor a display.
  auto libre = [this](QPoint p) {
    for (const auto& h : f.player.SkinForm1->HotAreas())
      if (h.Rect().contains(p)) return false;
    for (const auto& d : f.player.SkinForm1->Displays())
      if (d.Rect().contains(p)) return false;
    return true;
  };
  const QPoint avant = f.player.pos();
  for (int y = 5; y < 139 && f.player.pos() == avant; y += 6)
    for (int x = 5; x < 364 && f.player.pos() == avant; x += 6) {
      if (!libre({x, y})) continue;
      Appuyer(f.player.SkinForm1, {x, y});
      Deplacer(f.player.SkinForm1, {x + 30, y + 20});
      Relacher(f.player.SkinForm1, {x + 30, y + 20});
    }
  ASSERT_EQ(f.player.pos(), avant + QPoint(30, 20));
  EXPECT_EQ(f.plateau.pos() - f.player.pos(), decalage);
  f.magneto.show();
  EXPECT_EQ(f.magneto.frameGeometry().left(), f.plateau.frameGeometry().right() + 1);
  EXPECT_EQ(f.magneto.frameGeometry().top(), f.plateau.frameGeometry().top());
}

TEST_F(Confort, LesFichiersOuvertsDepuisLeBureau) {
  EXPECT_EQ(IconeGlissaro().availableSizes().size(), 6);
  // A sequence played on a board of the library.
  QDir().mkpath(dossier.Q() + "plateaux/Essais");
  const QString plateau = dossier.Q() + "plateaux/Essais/Porte.wbp";
  ASSERT_TRUE(EcrirePlateau(plateau.toStdString(), Porte(), "1").ok);
  f.player.OuvrirFichier(plateau);
  ASSERT_TRUE(f.plateau.isVisible());
  EXPECT_EQ(f.session.FichierPlateau(), plateau.toStdString());
  f.Tirer(3, 2, {{0, 1}});
  const std::string sequence = dossier.Fichier("partie.swb");
  dialogues.fichiers.push_back(sequence);
  f.plateau.SauverSequence();
  f.plateau.fermer->trigger();
  ASSERT_TRUE(f.session.FichierPlateau().empty());
  // No board loaded: the board manager asks for it, then the sequence is
  // reloaded onto it.
  QTimer::singleShot(0, [this] {
    f.gestion.TreeView1->setCurrentItem(f.gestion.Noeud("Essais", "Porte"));
    f.gestion.BtOk->click();
  });
  f.player.OuvrirFichier(QString::fromStdString(sequence));
  EXPECT_EQ(f.session.FichierPlateau(), plateau.toStdString());
  EXPECT_EQ(dialogues.Textes("information").back(), "Séquence rechargée");
  EXPECT_EQ(f.plateau.Partie().Historique().Fin, 2);
  // A pack: the installer opens on it and installs it.
  QTimer::singleShot(0, [this] {
    Attendre([this] { return !dialogues.Textes("message").empty(); });
    f.pack.reject();
  });
  f.player.OuvrirFichier(QString(GLISSARO_SOURCES) + "/data/paquets/Pack01.pkg");
  ASSERT_EQ(dialogues.Textes("message").size(), 1u);
  EXPECT_EQ(dialogues.Textes("message")[0].rfind("Mise en place de :", 0), 0u);
  EXPECT_TRUE(QDir(dossier.Q() + "plateaux/Pack01").exists());
  // Anything else, or nothing there, is said so.
  f.player.OuvrirFichier(QString::fromStdString(dossier.Fichier("Glissaro.ini")));
  f.player.OuvrirFichier(dossier.Q() + "absent.wbp");
  ASSERT_EQ(dialogues.Textes("erreur").size(), 2u);
  EXPECT_NE(dialogues.Textes("erreur")[0].find("(.pkg)"), std::string::npos);
  EXPECT_NE(dialogues.Textes("erreur")[1].find("introuvable"), std::string::npos);
}

TEST(Assemblage, SansPlacementDesFenetresLePlateauEstSousLePanneauDansSaFenetre) {
  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  player.DefinirFenetres({&plateau});
  player.AssemblerPlateau();
  player.show();
  EXPECT_EQ(player.size(), QSize(364, 139));  // the panel alone
  // Nothing of the panel is painted outside its mask.
  QImage panneau(364, 139, QImage::Format_ARGB32_Premultiplied);
  panneau.fill(Qt::transparent);
  player.SkinForm1->render(&panneau, QPoint(), QRegion(), QWidget::DrawChildren);
  EXPECT_EQ(qAlpha(panneau.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(panneau.pixel(182, 70)), 255);

  plateau.ChargerPlateau(dossier.Plateau(Porte()));  // 120 × 100
  ASSERT_TRUE(plateau.isVisible());
  EXPECT_EQ(plateau.window(), &player);
  ASSERT_NE(plateau.LabelTitre(), nullptr);
  const int legende = plateau.LabelTitre()->height();
  EXPECT_EQ(plateau.geometry(), QRect(182 - 60, 139, 120, legende + 100));
  EXPECT_EQ(plateau.ImagePlateau->geometry(), QRect(0, legende, 120, 100));
  EXPECT_EQ(player.size(), QSize(364, 139 + legende + 100));
  // The window takes the input of the panel's shape and of the board.
  EXPECT_FALSE(player.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(player.mask().contains(QPoint(182, 139 + legende + 50)));
  // Played as in its own window.
  const QPoint b = plateau.ImagePlateau->RectangleCase(3, 2, 20).center().toPoint();
  Appuyer(plateau.ImagePlateau, b);
  Deplacer(plateau.ImagePlateau, b + QPoint(0, 20));
  Relacher(plateau.ImagePlateau, b + QPoint(0, 20));
  EXPECT_EQ(plateau.Partie().Compteur(), 1);

  // Wider than the panel: the panel stands centred over it.
  plateau.ChargerPlateau(dossier.Plateau(Dessiner({std::string(20, '.'), "A" + std::string(19, '.')},
                                                  {std::string(20, '.'), "." + std::string(18, '.') + "x"}, "Large")));
  EXPECT_EQ(player.SkinForm1->pos(), QPoint(200 - 182, 0));
  EXPECT_EQ(plateau.pos(), QPoint(0, 139));
  EXPECT_EQ(player.width(), 400);
  // Closed, the window is the panel again.
  plateau.fermerClick();
  EXPECT_EQ(player.size(), QSize(364, 139));
  EXPECT_EQ(player.SkinForm1->pos(), QPoint(0, 0));
}
