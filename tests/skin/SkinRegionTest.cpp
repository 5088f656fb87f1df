// The window's shape: regions built from masks, and the window they shape.
#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>

#include "SkinForm.h"
#include "SkinTestOutils.h"

namespace glissaro {
namespace {

using test::Uni;

// Regions compared by the pixels they cover (their rectangle lists may be
// banded differently).
::testing::AssertionResult MemesPixels(const QRegion& a, const QRegion& b) {
  if (a.xored(b).isEmpty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "régions différentes, de " << a.rectCount() << " et " << b.rectCount()
                                       << " rectangles";
}

// Every pixel of the mask is covered by the region exactly when it is not
// transparent by the predicate.
template <typename Transparent>
void VerifierPixels(const QRegion& region, const QImage& masque, Transparent transparent) {
  std::vector<int> couverture(static_cast<std::size_t>(masque.width() * masque.height()), 0);
  int dehors = 0;
  for (const QRect& rect : region) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x) {
        if (!masque.rect().contains(x, y)) {
          ++dehors;
          continue;
        }
        ++couverture[static_cast<std::size_t>(y * masque.width() + x)];
      }
  }
  EXPECT_EQ(dehors, 0);
  int ecarts = 0;
  for (int y = 0; y < masque.height(); ++y)
    for (int x = 0; x < masque.width(); ++x)
      if (couverture[static_cast<std::size_t>(y * masque.width() + x)] != (transparent(masque.pixel(x, y)) ? 0 : 1))
        ++ecarts;
  EXPECT_EQ(ecarts, 0);
}

TEST(BitmapToRegion, RowRunsOfASmallMask) {
  // Rows: "..##.#", "######", "......"
  QImage masque = Uni(6, 3, qRgb(255, 255, 255));
  for (int x : {2, 3, 5}) masque.setPixel(x, 0, qRgb(0, 0, 0));
  for (int x = 0; x < 6; ++x) masque.setPixel(x, 1, qRgb(0, 0, 0));
  const auto region = TSkinForm::BitmapToRegion(masque, Qt::white, Qt::black);
  ASSERT_TRUE(region.has_value());
  QRegion attendu;
  attendu += QRect(2, 0, 2, 1);
  attendu += QRect(5, 0, 1, 1);
  attendu += QRect(0, 1, 6, 1);
  EXPECT_TRUE(MemesPixels(*region, attendu));
}

TEST(BitmapToRegion, ToleranceWidensTheKeyRangePerChannel) {
  QImage masque = Uni(4, 1, qRgb(100, 100, 100));
  masque.setPixel(1, 0, qRgb(103, 100, 100));
  masque.setPixel(2, 0, qRgb(104, 100, 100));
  masque.setPixel(3, 0, qRgb(99, 100, 100));
  const QColor cle(100, 100, 100);
  // Tolerance 0: only the exact key colour is outside.
  EXPECT_TRUE(MemesPixels(*TSkinForm::BitmapToRegion(masque, cle, Qt::black), QRegion(1, 0, 3, 1)));
  // Red tolerance 3: 100 to 103 on red; below the key stays inside.
  QRegion attendu(2, 0, 2, 1);
  EXPECT_TRUE(MemesPixels(*TSkinForm::BitmapToRegion(masque, cle, QColor(3, 0, 0)), attendu));
  // Tolerance on another channel does not widen red.
  EXPECT_TRUE(MemesPixels(*TSkinForm::BitmapToRegion(masque, cle, QColor(0, 9, 9)), QRegion(1, 0, 3, 1)));
  // The high bound stops at 255.
  const QImage blanc = Uni(2, 1, qRgb(255, 255, 255));
  EXPECT_TRUE(TSkinForm::BitmapToRegion(blanc, QColor(250, 250, 250), QColor(200, 200, 200))->isEmpty());
}

TEST(BitmapToRegion, KeyColourOnlyGivesAnEmptyRegionAndNoMaskNone) {
  const auto vide = TSkinForm::BitmapToRegion(Uni(50, 40, qRgb(255, 255, 255)), Qt::white, Qt::black);
  ASSERT_TRUE(vide.has_value());
  EXPECT_TRUE(vide->isEmpty());
  EXPECT_FALSE(TSkinForm::BitmapToRegion(QImage(), Qt::white, Qt::black).has_value());
  // A mask without any key pixel is the whole rectangle.
  EXPECT_TRUE(MemesPixels(*TSkinForm::BitmapToRegion(Uni(7, 5, qRgb(1, 2, 3)), Qt::white, Qt::black), QRegion(0, 0, 7, 5)));
}

TEST(BitmapToRegion, ManyRunsAcrossBatchesAndIndexedMasks) {
  // A checkerboard of 120 × 90 has 5400 runs: several batches of 2000, one
  // of them ending inside a row.
  QImage damier(120, 90, QImage::Format_RGB32);
  for (int y = 0; y < damier.height(); ++y)
    for (int x = 0; x < damier.width(); ++x) damier.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  const auto region = TSkinForm::BitmapToRegion(damier, Qt::white, Qt::black);
  ASSERT_TRUE(region.has_value());
  VerifierPixels(*region, damier, [](QRgb p) { return p == qRgb(255, 255, 255); });

  // Random holes in a 2-colour (indexed) mask, as the default skin's mask.
  QImage indexe(300, 200, QImage::Format_Mono);
  indexe.setColor(0, qRgb(0, 0, 0));
  indexe.setColor(1, qRgb(255, 255, 255));
  indexe.fill(0);
  QRandomGenerator hasard(7);
  for (int i = 0; i < 9000; ++i) indexe.setPixel(hasard.bounded(300), hasard.bounded(200), 1);
  const auto trous = TSkinForm::BitmapToRegion(indexe, Qt::white, Qt::black);
  ASSERT_TRUE(trous.has_value());
  VerifierPixels(*trous, indexe, [](QRgb p) { return p == qRgb(255, 255, 255); });
}

TEST(ApplyMask, SizesAndShapesTheWindow) {
  test::DossierSkin dossier;
  dossier.Description(test::EnTeteStandard());
  test::Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.fenetre->size(), QSize(test::kLargeurPanneau, test::kHauteurPanneau));
  EXPECT_EQ(panneau.skin->geometry(), QRect(0, 0, test::kLargeurPanneau, test::kHauteurPanneau));
  EXPECT_EQ(panneau.skin->Picture().size(), panneau.fenetre->size());
  // The window lost its border, and its white corner is cut away.
  EXPECT_TRUE(panneau.fenetre->windowFlags().testFlag(Qt::FramelessWindowHint));
  const QRegion forme = panneau.fenetre->mask();
  EXPECT_FALSE(forme.contains(QPoint(0, 0)));
  EXPECT_FALSE(forme.contains(QPoint(9, 9)));
  EXPECT_TRUE(forme.contains(QPoint(10, 0)));
  EXPECT_TRUE(forme.contains(QPoint(199, 99)));

  // Key colour black, tolerance 0: only the white corner remains.
  panneau.skin->SetKeyColor(Qt::black);
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_TRUE(MemesPixels(panneau.fenetre->mask(), QRegion(0, 0, 10, 10)));
}

TEST(ApplyMask, MaskOfTheKeyColourLeavesNoVisiblePixel) {
  test::DossierSkin dossier;
  test::EcrireImage(dossier.Chemin("blanc.bmp"), Uni(30, 20, qRgb(255, 255, 255)));
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=blanc.bmp", "MouseUpBitmap=up.bmp"});
  test::Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.fenetre->size(), QSize(30, 20));
  const QRegion forme = panneau.fenetre->mask();
  EXPECT_FALSE(forme.isEmpty());  // an empty mask would mean no mask at all
  EXPECT_TRUE(forme.intersected(panneau.fenetre->rect()).isEmpty());
}

}  // namespace
}  // namespace glissaro
