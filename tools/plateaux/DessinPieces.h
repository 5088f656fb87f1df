// A board's pieces as the definition files draw them.
#pragma once

#include <string>
#include <vector>

#include "Plateau.h"

namespace glissaro::plateaux {

// The board's picture in the definition files' characters ('#' border,
// '+' door cell, '.' floor, letters for the pieces: capitals for master
// pieces), each piece under a letter that no piece beside it has.
std::vector<std::string> DessinDesPieces(const TPlateau& plateau);

}  // namespace glissaro::plateaux
