// Time to build a window region from a mask: the default skin's mask, and a
// large mask with scattered holes; and the refusal of hostile pictures
// (BenchImages.cpp).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QRandomGenerator>

#include "SkinForm.h"
#include "SkinImages.h"

namespace {

void RegionMasqueParDefaut(benchmark::State& etat) {
  glissaro::InitialiserRessourcesSkin();
  QFile fichier(":/skin/BMP/GLISSAROMASK");
  if (!fichier.open(QIODevice::ReadOnly)) {
    etat.SkipWithError("masque par défaut introuvable");
    return;
  }
  const QImage masque = QImage::fromData(fichier.readAll(), "BMP");
  int rectangles = 0;
  for (auto _ : etat) {
    const auto region = glissaro::TSkinForm::BitmapToRegion(masque, Qt::white, Qt::black);
    rectangles = region->rectCount();
    benchmark::DoNotOptimize(rectangles);
  }
  etat.counters["rectangles"] = rectangles;
}
BENCHMARK(RegionMasqueParDefaut)->Unit(benchmark::kMicrosecond);

// A black mask of 2000 × 2000 with white holes: about one pixel in a hundred.
void RegionGrandMasqueTroue(benchmark::State& etat) {
  QImage masque(2000, 2000, QImage::Format_RGB32);
  masque.fill(Qt::black);
  QRandomGenerator hasard(42);
  for (int i = 0; i < 40000; ++i) masque.setPixel(hasard.bounded(2000), hasard.bounded(2000), qRgb(255, 255, 255));
  int rectangles = 0;
  for (auto _ : etat) {
    const auto region = glissaro::TSkinForm::BitmapToRegion(masque, Qt::white, Qt::black);
    rectangles = region->rectCount();
    benchmark::DoNotOptimize(rectangles);
  }
  etat.counters["rectangles"] = rectangles;
}
BENCHMARK(RegionGrandMasqueTroue)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
