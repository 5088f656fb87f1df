// The tile pictures cut from "pieces.bmp" and the drawing of cells.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <array>

#include "AideFenetres.h"
#include "DessinPlateau.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

struct Coupe {
  TSerieMap serie;
  int16_t map;
  int colonne, ligne;
};

}  // namespace

TEST(Dessin, LesImagesSontCoupeesAuxPlacesDuTableau) {
  TImagesPieces images;
  ASSERT_TRUE(images.ChargerPieces(PiecesDeTest(30), "pieces.bmp").isEmpty());
  EXPECT_EQ(images.TailleCase(), 30);
  EXPECT_EQ(images.Liste(TSerieMap::Normal).size(), 16u);
  EXPECT_EQ(images.Liste(TSerieMap::Final).size(), 16u);
  EXPECT_EQ(images.Liste(TSerieMap::Bord).size(), 18u);
  EXPECT_EQ(images.Liste(TSerieMap::Vide).size(), 2u);
  // The table of the ordinary tiles; the master tiles lie five rows below,
  // the border tiles five columns to the right.
  const std::array<std::pair<int, int>, 16> normales = {{{3, 3}, {2, 4}, {4, 3}, {3, 4}, {4, 1}, {0, 0}, {2, 0}, {0, 2},
                                                         {4, 4}, {1, 2}, {0, 1}, {2, 2}, {1, 0}, {1, 1}, {3, 1}, {2, 3}}};
  std::vector<Coupe> coupes = {{TSerieMap::Bord, 16, 6, 6},
                               {TSerieMap::Bord, 17, 5, 6},
                               {TSerieMap::Vide, 0, 8, 6},
                               {TSerieMap::Vide, 1, 7, 6}};
  for (int16_t map = 0; map < 16; ++map) {
    const auto [colonne, ligne] = normales[static_cast<std::size_t>(map)];
    coupes.push_back({TSerieMap::Normal, map, colonne, ligne});
    coupes.push_back({TSerieMap::Final, map, colonne, ligne + 5});
    coupes.push_back({TSerieMap::Bord, map, colonne + 5, ligne});
  }
  for (const auto& c : coupes) {
    const QImage* image = images.Image(c.serie, c.map);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->size(), QSize(30, 30));
    EXPECT_EQ(image->pixelColor(10, 10), CouleurTuile(c.colonne, c.ligne))
        << static_cast<int>(c.serie) << " " << c.map;
    // Shrunk by one pixel: the last column and row keep the blank.
    EXPECT_EQ(image->pixelColor(29, 10), QColor(Qt::white));
    EXPECT_EQ(image->pixelColor(10, 29), QColor(Qt::white));
  }
  EXPECT_EQ(images.Image(TSerieMap::Normal, 16), nullptr);
  EXPECT_EQ(images.Image(TSerieMap::Vide, -1), nullptr);
}

TEST(Dessin, UneCaseRecouvreToutSonCarre) {
  TImagesPieces images;
  ASSERT_TRUE(images.ChargerPieces(PiecesDeTest(30), "pieces.bmp").isEmpty());
  // A 10 × 8 board needs a 300 × 240 picture.
  TPlateau p = Dessiner({"A.........", "..........", "..........", "..........", "..........", "..........",
                         "..........", ".........D"});
  p.Case(8, 10).Map = kMapPorteTouchee;
  p.Case(2, 2).Serie = TSerieMap::Normal;
  p.Case(2, 2).Map = 40;  // no such image: drawn as floor
  const QImage dessin = images.DessinerPlateau(p);
  ASSERT_EQ(dessin.size(), QSize(300, 240));
  // The shrunk tile is stretched back over the whole cell: no blank edge.
  EXPECT_EQ(dessin.pixelColor(29, 29), CouleurTuile(3, 8));
  EXPECT_EQ(dessin.pixelColor(0, 0), CouleurTuile(3, 8));
  EXPECT_EQ(dessin.pixelColor(30, 0), CouleurTuile(8, 6));
  EXPECT_EQ(dessin.pixelColor(285, 225), CouleurTuile(5, 6));
  EXPECT_EQ(dessin.pixelColor(45, 45), CouleurTuile(8, 6));
}

TEST(Dessin, UneImageInutilisableEstRefuseeEtLesAnciennesRestent) {
  TImagesPieces images;
  EXPECT_EQ(images.TailleCase(), 20);  // blank 20 × 20 pictures before any load
  EXPECT_EQ(images.Image(TSerieMap::Bord, 17)->size(), QSize(20, 20));
  ASSERT_TRUE(images.ChargerPieces(PiecesDeTest(24), "a.bmp").isEmpty());

  EXPECT_EQ(ChargerPiecesSkin(images, "/nulle/part/pieces.bmp"), "Impossible d'ouvrir le fichier /nulle/part/pieces.bmp");
  QImage basse(200, 9, QImage::Format_RGB32);
  EXPECT_NE(images.ChargerPieces(basse, "basse.bmp").indexOf("au moins 10"), -1);
  QImage etroite(99, 100, QImage::Format_RGB32);
  EXPECT_NE(images.ChargerPieces(etroite, "etroite.bmp").indexOf("dix colonnes"), -1);
  EXPECT_EQ(images.TailleCase(), 24);
  EXPECT_EQ(images.Image(TSerieMap::Normal, 0)->pixelColor(5, 5), CouleurTuile(3, 3));
}

TEST(Dessin, LaSkinParDefautFournitSesPieces) {
  TImagesPieces images;
  const QString chemin = QString(GLISSARO_SOURCES) + "/data/skins/Glissaro/pieces.bmp";
  ASSERT_TRUE(ChargerPiecesSkin(images, chemin).isEmpty());
  EXPECT_GE(images.TailleCase(), 20);
  // Ordinary, master and border tiles, floor and doors all differ.
  const QImage* a = images.Image(TSerieMap::Normal, 0);
  const QImage* b = images.Image(TSerieMap::Final, 0);
  const QImage* c = images.Image(TSerieMap::Bord, 0);
  const QImage* d = images.Image(TSerieMap::Bord, 16);
  const QImage* e = images.Image(TSerieMap::Bord, 17);
  const QImage* f = images.Image(TSerieMap::Vide, 0);
  const QImage* g = images.Image(TSerieMap::Vide, 1);
  const std::vector<const QImage*> toutes = {a, b, c, d, e, f, g};
  for (std::size_t i = 0; i < toutes.size(); ++i)
    for (std::size_t j = i + 1; j < toutes.size(); ++j) EXPECT_NE(*toutes[i], *toutes[j]) << i << " " << j;
}

TEST(Dessin, A200PourCentLePlateauEstLesCasesDePiecesDoubleTellesQuelles) {
  // The default skin's tiles, at 1× and at twice the size (tiles of 2t).
  DossierProgramme dossier;
  const QString skin = QString(GLISSARO_SOURCES) + "/data/skins/Glissaro/";
  for (const char* nom : {"pieces.bmp", "pieces@2x.bmp"}) {
    QFile::remove(dossier.Q() + "skins/Glissaro/" + nom);
    ASSERT_TRUE(QFile::copy(skin + nom, dossier.Q() + "skins/Glissaro/" + nom));
  }
  ASSERT_TRUE(EcrireFichierSur(dossier.Fichier("Glissaro.ini"), "[jeu]\r\nZoom=200\r\n").ok);
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  player.DefinirFenetres({&plateau});
  player.show();
  plateau.ChargerPlateau(dossier.Plateau(Dessiner({"D.A"}, {"..x"}, "Double")));
  const int t = plateau.TailleCase(), d = 2 * t;
  ASSERT_EQ(plateau.ImagePlateau->size(), QSize(3 * d, d));
  const QImage vue = plateau.ImagePlateau->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage pieces = QImage(skin + "pieces@2x.bmp").convertToFormat(QImage::Format_RGB32);
  // A closed door and the floor, from their places in the tile picture
  // (columns 6 and 8 of row 6).
  EXPECT_EQ(vue.copy(0, 0, d, d), pieces.copy(6 * d, 6 * d, d, d));
  EXPECT_EQ(vue.copy(d, 0, d, d), pieces.copy(8 * d, 6 * d, d, d));
  plateau.hide();
}
