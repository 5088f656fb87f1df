// glissaro-outils: the command-line front end over the game's core, for
// authors who check boards in bulk and for scripts that drive the rules
// without a screen.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace glissaro::outils {

// Runs one command line (without the program name). Results go to sortie,
// French error messages to erreurs. Returns the exit status: 0 on success,
// 1 on failure.
int Executer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs);

}  // namespace glissaro::outils
