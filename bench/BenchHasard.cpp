// Making a board at random: the time per box and level, with and without a
// door, over seeds 1 to 5 (the same boards each run). The target: every one
// within 5 seconds on a 2-core machine. The counters give the optimum, the
// piece sets drawn and the arrangements explored of the last seed.
#include <benchmark/benchmark.h>

#include "Hasard.h"

using namespace glissaro;

namespace {

void Fabriquer(benchmark::State& etat, BoiteHasard boite, NiveauHasard niveau, bool porte) {
  ResultatHasard r;
  double plusLong = 0;
  for (auto _ : etat)
    for (uint64_t graine = 1; graine <= 5; ++graine) {
      DemandeHasard d;
      d.boite = boite;
      d.niveau = niveau;
      d.porte = porte;
      d.graine = graine;
      r = FabriquerPlateau(d);
      plusLong = std::max(plusLong, static_cast<double>(r.duree.count()) / 1000);
      if (r.issue != IssueHasard::Fait) etat.SetLabel("graine " + std::to_string(graine) + " : " + NomNiveau(r.niveau));
    }
  etat.counters["plus_long_s"] = plusLong;
  etat.counters["coups"] = r.optimum;
  etat.counters["essais"] = r.essais;
  etat.counters["explores"] = static_cast<double>(r.explores);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int b = 0; b < kNombreBoites; ++b)
    for (int n = 0; n < kNombreNiveaux; ++n)
      for (const bool porte : {false, true}) {
        const auto boite = static_cast<BoiteHasard>(b);
        const auto niveau = static_cast<NiveauHasard>(n);
        const std::string nom = NomBoite(boite) + "/" + NomNiveau(niveau) + (porte ? "/porte" : "");
        benchmark::RegisterBenchmark(nom.c_str(), Fabriquer, boite, niveau, porte)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
      }
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
