// On a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2): the panel drawn
// from its @2x pictures pixel for pixel, a skin without them drawn as at 1×
// enlarged, the coordinates still in panel pixels.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "SkinForm.h"
#include "skin/SkinTestOutils.h"

namespace glissaro {
namespace {

using test::DossierSkin;
using test::EnTeteStandard;
using test::Panneau;

// A picture whose every pixel differs from its neighbours: any scaling
// shows.
QImage Bruit(int largeur, int hauteur, uint32_t graine) {
  QImage image(largeur, hauteur, QImage::Format_RGB32);
  for (int y = 0; y < hauteur; ++y)
    for (int x = 0; x < largeur; ++x) {
      graine = graine * 1103515245u + 12345u;
      image.setPixel(x, y, 0xFF000000u | (graine >> 8));
    }
  return image;
}

TEST(Double, LEcranEstAuDouble) {
  ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
}

TEST(Double, UneSkinSansImagesDoublesSeDessineCommeAUnXAgrandie) {
  DossierSkin dossier;
  dossier.Description(EnTeteStandard());
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.skin->Scale(), 2);
  EXPECT_EQ(panneau.fenetre->size(), QSize(test::kLargeurPanneau, test::kHauteurPanneau));
  const QImage& surface = panneau.skin->Picture();
  ASSERT_EQ(surface.size(), 2 * QSize(test::kLargeurPanneau, test::kHauteurPanneau));
  EXPECT_EQ(surface.convertToFormat(QImage::Format_RGB32),
            panneau.skin->MouseUpBitmap().scaled(surface.size()).convertToFormat(QImage::Format_RGB32));
}

TEST(Double, LesImagesDoublesDUnDossierSontDessineesPixelPourPixel) {
  DossierSkin dossier;
  const QSize double_ = 2 * QSize(test::kLargeurPanneau, test::kHauteurPanneau);
  const QImage repos = Bruit(double_.width(), double_.height(), 1), appui = Bruit(double_.width(), double_.height(), 2);
  test::EcrireImage(dossier.Chemin("UP@2x.bmp"), repos);  // found without regard to case
  test::EcrireImage(dossier.Chemin("down@2x.bmp"), appui);
  test::EcrireImage(dossier.Chemin("over@2x.bmp"), test::Uni(10, 10, qRgb(1, 2, 3)));  // not twice: unused
  dossier.Description(test::Avec(EnTeteStandard(), {"[HOTAREAINFO]", "Count=1", "1=BOUTON, 40, 30, 50, 20, Bouton"}));
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_TRUE(panneau.dialogues.appels.empty());
  EXPECT_EQ(panneau.skin->MouseUpBitmap().size(), QSize(test::kLargeurPanneau, test::kHauteurPanneau));
  EXPECT_EQ(panneau.skin->Picture().convertToFormat(QImage::Format_RGB32), repos);
  // What the panel paints is that surface, pixel for pixel.
  EXPECT_EQ(panneau.skin->grab().toImage().convertToFormat(QImage::Format_RGB32), repos);
  // A hot area pressed shows its rectangle of the @2x picture, in panel
  // pixels for the mouse; hovered, the 1× picture enlarged.
  test::Presser(*panneau.skin, QPoint(60, 40));
  EXPECT_EQ(panneau.skin->CurrentID(), "BOUTON");
  const QRect bouton(80, 60, 100, 40);
  EXPECT_EQ(panneau.skin->Picture().copy(bouton).convertToFormat(QImage::Format_RGB32), appui.copy(bouton));
  EXPECT_EQ(panneau.skin->Picture().copy(0, 0, 80, 60).convertToFormat(QImage::Format_RGB32), repos.copy(0, 0, 80, 60));
  test::Relacher(*panneau.skin, QPoint(60, 40));
  test::Deplacer(*panneau.skin, QPoint(60, 40));
  EXPECT_EQ(QColor(panneau.skin->Picture().pixel(100, 70)), QColor(test::kSurvol));
}

}  // namespace
}  // namespace glissaro

namespace glissaro {
namespace {

TEST(Double, LePanneauParDefautSeDessineDeSesImagesDoubles) {
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadDefaultSkin());
  EXPECT_EQ(panneau.fenetre->size(), QSize(364, 139));
  panneau.skin->SetDisplayText("TEXT_CPT", "0000");
  // The panel at rest is the description's "glissaroDown.bmp".
  const QImage repos = QImage(":/skin/BMP/GLISSARODOWN@2X").convertToFormat(QImage::Format_RGB32);
  const QImage chiffres = QImage(":/skin/BMP/NUMBERS@2X").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(repos.size(), QSize(728, 278));
  const QImage vue = panneau.skin->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(vue.size(), QSize(728, 278));
  // The logo and the name, where no display nor hot area lies.
  const QRect nom(0, 0, 600, 110);
  EXPECT_EQ(vue.copy(nom), repos.copy(nom));
  // The counter's first digit, at (62, 60) in panel pixels.
  EXPECT_EQ(vue.copy(124, 120, 30, 42), chiffres.copy(0, 0, 30, 42));
}

}  // namespace
}  // namespace glissaro
