#include "Plateau.h"

#include <vector>

namespace glissaro {

namespace {

// Joined sides of the palette's images 0 to 15: {Droit, Gauche, Haut, Bas}.
constexpr std::array<std::array<bool, 4>, 16> kJonctions = {{
    {false, false, false, false},  // 0
    {false, false, true, false},   // 1 Haut
    {false, false, false, true},   // 2 Bas
    {true, false, false, false},   // 3 Droit
    {false, true, false, false},   // 4 Gauche
    {true, false, false, true},    // 5 Droit, Bas
    {false, true, false, true},    // 6 Gauche, Bas
    {true, false, true, false},    // 7 Droit, Haut
    {false, true, true, false},    // 8 Gauche, Haut
    {true, true, true, false},     // 9 Droit, Gauche, Haut
    {true, false, true, true},     // 10 Droit, Bas, Haut
    {false, true, true, true},     // 11 Gauche, Bas, Haut
    {true, true, false, true},     // 12 Droit, Gauche, Bas
    {true, true, true, true},      // 13 all four
    {true, true, false, false},    // 14 Droit, Gauche
    {false, false, true, true},    // 15 Bas, Haut
}};

}  // namespace

int16_t MapDesJonctions(bool droit, bool gauche, bool haut, bool bas) {
  for (std::size_t m = 0; m < kJonctions.size(); ++m) {
    const auto& j = kJonctions[m];
    if (j[0] == droit && j[1] == gauche && j[2] == haut && j[3] == bas) return static_cast<int16_t>(m);
  }
  return 0;
}

std::array<bool, 4> JonctionsDeMap(int16_t map) {
  if (map < 0 || map >= static_cast<int16_t>(kJonctions.size())) return {false, false, false, false};
  return kJonctions[static_cast<std::size_t>(map)];
}

std::string NomCase(int ligne, int colonne) {
  return "L" + std::to_string(ligne) + "C" + std::to_string(colonne);
}

void AjusterCaseLue(TCarreau& cellule, int ligne, int colonne) {
  cellule.PosX = static_cast<uint16_t>(colonne);
  cellule.PosY = static_cast<uint16_t>(ligne);
  cellule.Nom = NomCase(ligne, colonne);
  if (cellule.PlaceFinal && cellule.Serie == TSerieMap::Vide) cellule.Map = kMapFondFinal;
  if (cellule.Porte) cellule.Map = kMapPorteFermee;
}

void NumeroterPieces(TPlateau& plateau) {
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) plateau.Case(l, c).Piece = 0;

  uint16_t numero = 1;
  std::vector<std::pair<int, int>> pile;
  for (int c = 1; c <= plateau.Largeur; ++c) {
    for (int l = 1; l <= plateau.Hauteur; ++l) {
      const auto& depart = plateau.Case(l, c);
      if (depart.Serie == TSerieMap::Vide || depart.Piece != 0) continue;
      // Depth-first fill: above, below, right, left. The stack holds the
      // neighbours in reverse so that they are visited in that order.
      pile.assign(1, {l, c});
      while (!pile.empty()) {
        const auto [y, x] = pile.back();
        pile.pop_back();
        if (!plateau.Contient(y, x)) continue;
        auto& cellule = plateau.Case(y, x);
        if (cellule.Piece != 0) continue;
        cellule.Piece = numero;
        if (cellule.Gauche) pile.emplace_back(y, x - 1);
        if (cellule.Droit) pile.emplace_back(y, x + 1);
        if (cellule.Bas) pile.emplace_back(y + 1, x);
        if (cellule.Haut) pile.emplace_back(y - 1, x);
      }
      ++numero;
    }
  }
}

}  // namespace glissaro
