// A solution as the pointer gestures of a player ("appuyer X Y",
// "glisser X Y", "relacher X Y", the lines of glissaro-outils jouer), for
// the stored solutions that the tests replay.
#pragma once

#include <string>
#include <vector>

#include "Plateau.h"
#include "Solveur.h"

namespace glissaro::plateaux {

// One gesture a run of steps of one piece: pressed at the centre of the
// tile named by the first step, dragged one tile a step, released. The
// steps are played on a game as the gestures are made (tiles of `taille`
// pixels, speed 2), so that the runs follow the pieces.
std::vector<std::vector<std::string>> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                                         int taille);

}  // namespace glissaro::plateaux
