// The former solver, kept to compare the new one against (see the .cpp).
#pragma once

#include "Solveur.h"

namespace glissaro::reference {

// Same options and answers as glissaro::Resoudre; the fallback search and
// the optimality flag do not exist here (every answer is optimal).
ResultatSolveur Resoudre(const TPlateau& plateau, const OptionsSolveur& options = {});

}  // namespace glissaro::reference
