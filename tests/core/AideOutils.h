// Runs a glissaro-outils command line in the test and keeps what it said.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "Outils.h"

namespace glissaro::test {

struct Sortie {
  int statut = 0;
  std::string sortie, erreurs;
};

inline Sortie Lancer(const std::vector<std::string>& arguments) {
  std::ostringstream o, e;
  Sortie s;
  s.statut = outils::Executer(arguments, o, e);
  s.sortie = o.str();
  s.erreurs = e.str();
  return s;
}

}  // namespace glissaro::test
