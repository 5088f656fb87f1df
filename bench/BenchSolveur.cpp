// Speed of the solver on the classic boards of the library, in both
// measures: time, states and the optimum found.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "FichierPlateau.h"
#include "Solveur.h"

using namespace glissaro;

namespace {

void Mesurer(benchmark::State& etat, const std::string& fichier, MesureSolveur mesure) {
  TPlateau plateau;
  if (LirePlateau(fichier, plateau).statut != StatutLecture::Ok) {
    etat.SkipWithError(("plateau illisible : " + fichier).c_str());
    return;
  }
  ResultatSolveur r;
  for (auto _ : etat) r = glissaro::Resoudre(plateau, {mesure, 4'000'000, nullptr});
  etat.counters["etats"] = static_cast<double>(r.etats);
  etat.counters[mesure == MesureSolveur::Coups ? "coups" : "pas"] =
      mesure == MesureSolveur::Coups ? r.coups : r.pas;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Every board of the classics' folder (or the files named after the
  // benchmark options).
  const std::filesystem::path dossier = std::filesystem::path(GLISSARO_SOURCES) / "data/plateaux/2 - Classiques";
  std::error_code ec;
  for (const auto& entree : std::filesystem::directory_iterator(dossier, ec)) {
    if (entree.path().extension() != ".wbp") continue;
    const std::string nom = entree.path().stem().string();
    const std::string fichier = entree.path().string();
    benchmark::RegisterBenchmark(("coups/" + nom).c_str(), Mesurer, fichier, MesureSolveur::Coups)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("pas/" + nom).c_str(), Mesurer, fichier, MesureSolveur::Pas)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
