// A solution as the pointer gestures of a player ("appuyer X Y",
// "glisser X Y", "relacher X Y", the lines of glissaro-outils jouer), for
// the stored solutions that the tests replay.
#pragma once

#include <string>
#include <vector>

#include "Plateau.h"
#include "Solveur.h"

namespace glissaro::plateaux {

// The gestures of the game's own (JeuSolution.h), as lines (tiles of `taille`
// pixels).
std::vector<std::vector<std::string>> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                                         int taille);

}  // namespace glissaro::plateaux
