// The board library as the board manager shows it: the folders of
// plateaux/ and the boards in each, in the order in which the player meets
// them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glissaro {

// Names in a human order: without regard to the case of letters (accented
// Latin letters included), then as written.
bool AvantSansCasse(std::string_view a, std::string_view b);

struct DossierBibliotheque {
  std::string nom;
  // Each board as the manager names it: the file name up to its first ".".
  std::vector<std::string> plateaux;
};

// The folders of the library (a name that begins with "." once trimmed is
// left out), and in each the files whose name carries ".wbp", in any case,
// from its first "."; both sorted by AvantSansCasse. Files directly in the
// library and deeper folders are not part of it.
std::vector<DossierBibliotheque> LireBibliotheque(const std::string& dossierPlateaux);

// The boards of one folder of the library, named and sorted as above.
std::vector<std::string> PlateauxDuDossier(const std::string& dossier);

// The boards of the library in order, as paths relative to it
// ("1 - Premiers pas/01 - Premier pas.wbp").
std::vector<std::string> CheminsBibliotheque(const std::vector<DossierBibliotheque>& bibliotheque);

// The board that follows `actuel` (a relative path, compared without
// regard to case) in the library, passing over those for which `aPasser`
// says so; from the first board when `actuel` is not in the library.
// Nothing when no board is left.
std::optional<std::string> PlateauSuivant(const std::vector<std::string>& chemins, std::string_view actuel,
                                          const std::function<bool(const std::string&)>& aPasser);

}  // namespace glissaro
