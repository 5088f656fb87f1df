// Speed of the board manager: filling the tree for 100 folders of 50 boards
// each, and drawing the preview of a 20 × 16 board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "DessinPlateau.h"
#include "Uplateau.h"
#include "Dialogues.h"
#include "FichierPlateau.h"
#include "gestion.h"

using namespace glissaro;

namespace {

TPlateau Grand() {
  TPlateau p;
  p.Largeur = 20;
  p.Hauteur = 16;
  p.Titre = "Grand";
  p.Etat = 1;
  for (int l = 1; l <= 16; ++l)
    for (int c = 1; c <= 20; ++c)
      p.Case(l, c).Serie = (l == 1 || l == 16 || c == 1 || c == 20) ? TSerieMap::Bord
                           : (l + c) % 3 == 0                       ? TSerieMap::Vide
                                                                    : TSerieMap::Normal;
  p.Case(8, 10).PlaceFinal = true;
  NumeroterPieces(p);
  return p;
}

void RemplirLArbre(benchmark::State& etat) {
  QTemporaryDir dossier;
  const QString chemin = dossier.path() + "/";
  const std::string texte = TexteDuPlateau(Grand(), "1");
  for (int d = 0; d < 100; ++d) {
    const QString sous = chemin + "plateaux/Dossier " + QString::number(d);
    QDir().mkpath(sous);
    for (int b = 0; b < 50; ++b)
      EcrireFichierSur((sous + "/Plateau " + QString::number(b) + ".wbp").toStdString(), texte);
  }
  TImagesPieces images;
  DialoguesScriptes dialogues;
  TFrmGestion gestion(chemin, images, dialogues);
  for (auto _ : etat) {
    gestion.RemplirArbre();
    benchmark::DoNotOptimize(gestion.TreeView1->topLevelItemCount());
  }
}
BENCHMARK(RemplirLArbre)->Unit(benchmark::kMillisecond);

void DessinerUnApercu(benchmark::State& etat) {
  TImagesPieces images;
  ChargerPiecesSkin(images, QString(GLISSARO_SOURCES) + "/data/skins/Glissaro/pieces.bmp");
  TPlateau p = Grand();
  for (int l = 1; l <= 16; ++l)
    for (int c = 1; c <= 20; ++c) AjusterCaseLue(p.Case(l, c), l, c);
  for (auto _ : etat) {
    QImage image = images.DessinerPlateau(p);
    benchmark::DoNotOptimize(image.bits());
  }
}
BENCHMARK(DessinerUnApercu)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
