// Speed of the core: one drag step with its door pass on a full 20 × 16
// board, and the reading of a 20 × 16 board file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "FichierPlateau.h"
#include "Partie.h"

using namespace glissaro;

namespace {

// A 20 × 16 board: a border with a door, every inner cell a one-tile piece
// except two floor cells beside a master tile that shuttles between them.
TPlateau PlateauPlein() {
  TPlateau p;
  p.Largeur = 20;
  p.Hauteur = 16;
  p.Titre = "Plein";
  p.Etat = 1;
  for (int l = 1; l <= 16; ++l)
    for (int c = 1; c <= 20; ++c) {
      auto& k = p.Case(l, c);
      const bool bord = l == 1 || l == 16 || c == 1 || c == 20;
      k.Serie = bord ? TSerieMap::Bord : TSerieMap::Normal;
      if (l == 1 && c >= 9 && c <= 11) {
        k.Porte = true;
        k.Map = kMapPorteFermee;
      }
    }
  p.Case(3, 10).Serie = TSerieMap::Final;
  p.Case(3, 10).PlaceFinal = true;
  p.Case(3, 11).Serie = TSerieMap::Vide;
  p.Case(3, 9).Serie = TSerieMap::Vide;
  NumeroterPieces(p);
  for (int l = 1; l <= 16; ++l)
    for (int c = 1; c <= 20; ++c) AjusterCaseLue(p.Case(l, c), l, c);
  return p;
}

void PasDeGlissement(benchmark::State& etat) {
  TPartie partie;
  partie.DefinirTailleCase(20);
  partie.DefinirVitesse(2);
  partie.CommencerPartie(PlateauPlein());
  int x = 9 * 20 + 10;
  const int y = 2 * 20 + 10;
  partie.Appuyer(x, y);
  int sens = 1, pas = 0;
  for (auto _ : etat) {
    x += sens * 20;
    sens = -sens;
    partie.Glisser(x, y);
    // Each step is recorded: a new game, untimed, well before the history
    // is full (after an even count of steps, the piece is back at the start).
    if (++pas == THistorique::kCapacite - 1001) {
      etat.PauseTiming();
      partie.Relacher();
      partie.CommencerPartie(PlateauPlein());
      partie.Appuyer(x, y);
      pas = 0;
      etat.ResumeTiming();
    }
  }
  benchmark::DoNotOptimize(partie.Plateau().Case(3, 10).Serie);
}
BENCHMARK(PasDeGlissement);

void LectureDUnPlateau(benchmark::State& etat) {
  const std::string chemin = (std::filesystem::temp_directory_path() / "glissaro-bench-plateau.wbp").string();
  EcrirePlateau(chemin, PlateauPlein(), "1");
  TPlateau p;
  for (auto _ : etat) {
    const auto r = LirePlateau(chemin, p);
    benchmark::DoNotOptimize(r.statut);
  }
  std::filesystem::remove(chemin);
}
BENCHMARK(LectureDUnPlateau)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
