// A hint instead of the whole solution: from a solver's answer for the
// position on the board, the piece to move next and the way of its first
// step, or why there is none.
#pragma once

#include <cstdint>
#include <string>

#include "Solveur.h"

namespace glissaro {

enum class IssueIndice {
  Pas,             // piece and (dx, dy) say the next step
  DejaResolu,      // nothing left to do
  AucuneSolution,  // no way to solve the board from here
  Indisponible,    // the board is too large for the solver
  Annule,          // the search was stopped: say nothing
};

struct TIndice {
  IssueIndice issue = IssueIndice::Annule;
  uint16_t piece = 0;
  int dx = 0, dy = 0;
};

// The options of the search behind a hint: the fewest moves.
OptionsSolveur OptionsIndice();

TIndice IndiceDuResultat(const TPlateau& plateau, const ResultatSolveur& resultat);

// What the player is told when there is no step to show (empty for Pas
// and Annule).
std::string TexteIndice(IssueIndice issue);

}  // namespace glissaro
