// What hostile skin pictures cost before they are refused: a progressive
// JPEG whose last pass comes back a thousand times, and a bitmap of a few
// bytes announcing 5790 × 5790 pixels. Each reports the process's peak
// memory (pic_Mio) after the run.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "AideImages.h"
#include "Dialogues.h"
#include "SkinFields.h"
#include "SkinImages.h"
#include "skin/SkinTestOutils.h"

namespace {

void RefuserUnJpegAuxPassesSansFin(benchmark::State& etat) {
  QImage image(4096, 4096, QImage::Format_RGB32);
  image.fill(qRgb(120, 130, 140));
  const QByteArray jpeg =
      QByteArray::fromStdString(glissaro::test::RepeterDernierePasse(glissaro::test::EncoderJpeg(image, true), 1000));
  for (auto _ : etat) {
    std::string erreur;
    benchmark::DoNotOptimize(glissaro::DecoderJpeg(jpeg, &erreur));
    if (erreur.empty()) etat.SkipWithError("image acceptée");
  }
  etat.counters["octets"] = static_cast<double>(jpeg.size());
  etat.counters["pic_Mio"] = static_cast<double>(glissaro::test::PicMemoireMio());
}
BENCHMARK(RefuserUnJpegAuxPassesSansFin)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void RefuserUnBmpAnnoncantDesGigaoctets(benchmark::State& etat) {
  QTemporaryDir dossier;
  const std::string chemin = (dossier.path() + "/bombe.bmp").toStdString();
  glissaro::test::EcrireOctets(QString::fromStdString(chemin), glissaro::test::BmpAnnoncant(5790, 5790));
  glissaro::DialoguesScriptes dialogues;
  for (auto _ : etat) {
    try {
      glissaro::LecteurImagesSkin(dialogues).Fichier(chemin, glissaro::kBornePanneau);
      etat.SkipWithError("image acceptée");
    } catch (const glissaro::ErreurSkin&) {
    }
  }
  etat.counters["pic_Mio"] = static_cast<double>(glissaro::test::PicMemoireMio());
}
BENCHMARK(RefuserUnBmpAnnoncantDesGigaoctets)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace
