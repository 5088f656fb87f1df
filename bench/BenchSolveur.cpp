// Speed of the solver, in both measures, beside the former solver in the
// same run: time, states, the memory the search held and the answer.
//
// Without arguments: the classic boards of the library, Century and Super
// Century (bench/plateaux), "Deux clés" and the two 20 × 16 boards (the
// former solver only where it answers in reasonable time: it gives up on
// the large boards). Board files named on the command line (after the
// benchmark options) are measured instead, with both solvers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "FichierPlateau.h"
#include "Solveur.h"
#include "SolveurReference.h"

using namespace glissaro;

namespace {

void Mesurer(benchmark::State& etat, const std::string& fichier, MesureSolveur mesure, bool ancien) {
  TPlateau plateau;
  if (LirePlateau(fichier, plateau, ModeLecture::Jeu).statut != StatutLecture::Ok) {
    etat.SkipWithError(("plateau illisible : " + fichier).c_str());
    return;
  }
  ResultatSolveur r;
  OptionsSolveur options;
  options.mesure = mesure;
  for (auto _ : etat) r = ancien ? reference::Resoudre(plateau, options) : glissaro::Resoudre(plateau, options);
  etat.counters["etats"] = static_cast<double>(r.etats);
  if (!ancien) etat.counters["Mo"] = static_cast<double>(r.memoire) / (1 << 20);
  if (r.issue == IssueSolveur::Solution) {
    etat.counters[mesure == MesureSolveur::Coups ? "coups" : "pas"] = mesure == MesureSolveur::Coups ? r.coups : r.pas;
    etat.counters["optimale"] = ancien || r.optimale ? 1 : 0;
  } else {
    etat.SetLabel("sans solution");
  }
}

void Enregistrer(const std::filesystem::path& fichier, bool avecAncien) {
  const std::string nom = fichier.stem().string();
  for (const auto mesure : {MesureSolveur::Coups, MesureSolveur::Pas}) {
    const std::string prefixe = mesure == MesureSolveur::Coups ? "coups/" : "pas/";
    benchmark::RegisterBenchmark((prefixe + nom + "/nouveau").c_str(), Mesurer, fichier.string(), mesure, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    if (avecAncien)
      benchmark::RegisterBenchmark((prefixe + nom + "/ancien").c_str(), Mesurer, fichier.string(), mesure, true)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  GarderLaMemoireDesRecherches();  // as the game does
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) Enregistrer(argv[i], true);
  } else {
    const std::filesystem::path plateaux = std::filesystem::path(GLISSARO_SOURCES) / "data/plateaux";
    std::vector<std::filesystem::path> classiques;
    std::error_code ec;
    for (const auto& entree : std::filesystem::directory_iterator(plateaux / "2 - Classiques", ec))
      if (entree.path().extension() == ".wbp") classiques.push_back(entree.path());
    std::sort(classiques.begin(), classiques.end());
    for (const auto& f : classiques) Enregistrer(f, true);
    const std::filesystem::path banc = std::filesystem::path(GLISSARO_SOURCES) / "bench/plateaux";
    Enregistrer(banc / "Century.wbp", true);
    Enregistrer(banc / "Super Century.wbp", true);
    Enregistrer(plateaux / "3 - Portes/03 - Deux clés.wbp", true);
    Enregistrer(plateaux / "4 - Grands plateaux/02 - Le labyrinthe.wbp", false);
    Enregistrer(plateaux / "4 - Grands plateaux/05 - La citadelle.wbp", false);
  }
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
