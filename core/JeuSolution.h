// A solution as a player would play it: one gesture a run of steps of one
// piece, pressed at the centre of the tile the first step names, dragged one
// tile a step, released. The gestures are made on a game as they are
// played, so that the runs follow the pieces; the history play records for
// them, and the gestures themselves (the lines of glissaro-outils jouer),
// come from here.
#pragma once

#include <cstdint>
#include <vector>

#include "Historique.h"
#include "Plateau.h"
#include "Solveur.h"

namespace glissaro {

struct TGeste {
  int x = 0, y = 0;                       // the press, in board pixels
  std::vector<std::pair<int, int>> pas;   // each drag point; released at the last one
};

// The gestures of a solution, from the board as it stands, with tiles of
// taille pixels.
std::vector<TGeste> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin, int taille);

// The history that play records for a solution, from the board as it
// stands: the move and door events and the counter marks, the counter
// starting at compteurDepart. Also gives the counter at the end.
std::vector<TEvenement> EvenementsDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                               int32_t compteurDepart, int32_t* compteurFin = nullptr);

}  // namespace glissaro
