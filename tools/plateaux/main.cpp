// glissaro-plateaux: builds the board library from its definition files.
//
//   glissaro-plateaux --sortie DOSSIER DEFINITION...
//
// Each DEFINITION is a definition file or a folder of them (every ".txt"
// file in it, by name). Every board is written with the game's own writer
// to DOSSIER/<dossier>/<titre>.wbp, with status 1 when the editor's check
// passes and 0 otherwise. Files already there under other names are left
// alone. Exit status 1 when any definition is faulty or any board fails
// the check.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Definitions.h"
#include "FichierPlateau.h"
#include "Fichiers.h"

namespace fs = std::filesystem;
using namespace glissaro;
using namespace glissaro::plateaux;

namespace {

constexpr const char* kUsage = "Usage : glissaro-plateaux --sortie DOSSIER DEFINITION.txt|DOSSIER_DE_DEFINITIONS...\n";

bool ListerDefinitions(const std::string& argument, std::vector<std::string>& fichiers) {
  std::error_code ec;
  if (fs::is_directory(argument, ec)) {
    std::vector<std::string> trouves;
    for (const auto& entree : fs::directory_iterator(argument, ec))
      if (entree.is_regular_file() && entree.path().extension() == ".txt") trouves.push_back(entree.path().string());
    std::sort(trouves.begin(), trouves.end());
    fichiers.insert(fichiers.end(), trouves.begin(), trouves.end());
    return !ec;
  }
  if (fs::is_regular_file(argument, ec)) {
    fichiers.push_back(argument);
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string sortie;
  std::vector<std::string> fichiers;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--sortie") {
      if (i + 1 >= argc) {
        std::cerr << "L'option --sortie attend un dossier.\n" << kUsage;
        return 1;
      }
      sortie = argv[++i];
    } else if (!ListerDefinitions(a, fichiers)) {
      std::cerr << "Impossible de lire " << a << "\n";
      return 1;
    }
  }
  if (sortie.empty() || fichiers.empty()) {
    std::cerr << kUsage;
    return 1;
  }

  std::vector<DefinitionPlateau> definitions;
  bool ok = true;
  for (const auto& fichier : fichiers) {
    const auto lu = LireFichier(fichier, kTailleMaxTexte);
    if (!lu.Lu()) {
      std::cerr << lu.message << "\n";
      ok = false;
      continue;
    }
    auto analyse = AnalyserDefinitions(lu.contenu, fichier);
    for (const auto& e : analyse.erreurs) std::cerr << e << "\n";
    if (!analyse.erreurs.empty()) ok = false;
    for (auto& d : analyse.plateaux) definitions.push_back(std::move(d));
  }
  // The same board defined in two files.
  for (std::size_t i = 0; i < definitions.size(); ++i)
    for (std::size_t j = i + 1; j < definitions.size(); ++j)
      if (CheminRelatif(definitions[i]) == CheminRelatif(definitions[j])) {
        std::cerr << "Le plateau " << CheminRelatif(definitions[j]) << " est défini dans " << definitions[i].fichier
                  << " et dans " << definitions[j].fichier << "\n";
        ok = false;
      }
  if (!ok) return 1;

  int ecrits = 0;
  for (const auto& d : definitions) {
    const auto construit = ConstruirePlateau(d);
    for (const auto& e : construit.erreurs) std::cerr << e << "\n";
    if (!construit.erreurs.empty()) {
      ok = false;
      continue;
    }
    const std::string dossier = (fs::path(sortie) / d.dossier).string();
    const std::string chemin = (fs::path(sortie) / CheminRelatif(d)).string();
    if (!CreerDossiers(dossier)) {
      std::cerr << "Impossible de créer le dossier " << dossier << "\n";
      ok = false;
      continue;
    }
    const auto ecriture = EcrirePlateau(chemin, construit.plateau, construit.valide ? "1" : "0");
    if (!ecriture.ok) {
      std::cerr << ecriture.message << "\n";
      ok = false;
      continue;
    }
    ++ecrits;
    const auto& p = construit.plateau;
    std::cout << chemin << " : " << p.Largeur << " × " << p.Hauteur << ", " << construit.verdict << "\n";
    if (!construit.valide) {
      std::cerr << "Le plateau " << chemin << " ne passe pas la vérification : " << construit.verdict << "\n";
      ok = false;
    }
  }
  std::cout << ecrits << " plateau(x) écrit(s)\n";
  return ok ? 0 : 1;
}
