#include <iostream>

#include "Outils.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return glissaro::outils::Executer(arguments, std::cout, std::cerr);
}
