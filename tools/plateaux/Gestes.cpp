#include "Gestes.h"

#include "JeuSolution.h"

namespace glissaro::plateaux {

std::vector<std::vector<std::string>> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                                         int taille) {
  auto point = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
  std::vector<std::vector<std::string>> lignes;
  for (const auto& geste : glissaro::GestesDeLaSolution(plateau, chemin, taille)) {
    std::vector<std::string> l{"appuyer " + point(geste.x, geste.y)};
    for (const auto& [x, y] : geste.pas) l.push_back("glisser " + point(x, y));
    l.push_back("relacher " + point(geste.pas.back().first, geste.pas.back().second));
    lignes.push_back(std::move(l));
  }
  return lignes;
}

}  // namespace glissaro::plateaux
