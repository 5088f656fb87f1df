// The doors of the border: after a master piece stepped, the closed door
// cells beside it (and across a corner between two frame cells) are
// touched, and a door opens once all its cells are touched. The game runs
// this pass on its board; the former solver kept for the benchmark runs it
// on its own.
#pragma once

#include <cstdint>
#include <functional>

#include "Plateau.h"

namespace glissaro {

// What the pass does besides changing the board: a cell to draw again, an
// event to record (value, code), a door that opened (after its events).
struct ActionsPortes {
  std::function<void(TPosition)> dessiner;
  std::function<void(int16_t, int8_t)> enregistrer;
  std::function<void()> porteOuverte;
};

// The pass for a piece, cells rows from the top then columns from the left,
// eight tests each in the game's order: above, below, left, right, then the
// corners above right, below right, below left, above left.
void VerifierPortes(TPlateau& plateau, uint16_t piece, const ActionsPortes& actions = {});

// Whether every cell of the door a cell belongs to is touched: a walk over
// the door's cells (joined by their sides, each once, depth first: below,
// above, right, left) that stops at the first closed one.
bool PorteComplete(const TPlateau& plateau, TPosition porte);

}  // namespace glissaro
