// The hardest start of a piece set: on a door-free board, every arrangement
// of its pieces that can reach a solved one is explored, breadth first and
// backward from all the solved arrangements at once, in moves as the
// game's counter counts them (one move: any run of steps of one piece;
// pieces of the same series, shape and pictures are interchangeable). The
// moves of a board without doors can all be undone, so the distance found
// for an arrangement is the fewest moves that solve it, and the farthest
// arrangement is the start whose optimal solution is the longest.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "Plateau.h"

namespace glissaro::plateaux {

// Arrangements beyond which the search refuses a piece set: each one
// explored takes a few tens of bytes, so this keeps the search within
// about two gigabytes.
inline constexpr uint64_t kLimiteArrangements = 40'000'000;

// The number of ways to lay the board's movable pieces on its places that
// are not border (identical pieces interchangeable, overlaps excluded),
// saturated at UINT64_MAX. An empty string in *probleme when it could be
// counted; otherwise the French reason.
uint64_t CompterArrangements(const TPlateau& plateau, std::string* probleme = nullptr);

struct ResultatDifficile {
  bool ok = false;
  std::string message;        // French: why the search was refused
  uint64_t arrangements = 0;  // every arrangement of the piece set
  std::size_t resolus = 0;    // the solved ones, where the search starts
  std::size_t explores = 0;   // arrangements reached from them
  int coups = 0;              // the largest optimum found
  std::size_t plusDifficiles = 0;  // arrangements at that distance
  // The chosen hardest start (the first of them in the order of the
  // arrangements' keys): the board with its pieces moved, renumbered and
  // checked as the editor checks it.
  TPlateau depart;
  // The number of arrangements at each distance, from 0 to coups.
  std::vector<std::size_t> parDistance;
  std::chrono::milliseconds duree{0};
};

// Explores the piece set of a board whose pieces stand anywhere; refuses a
// board with doors, without final places or master tiles, or whose
// arrangements exceed the limit.
ResultatDifficile ChercherLePlusDifficile(const TPlateau& plateau, uint64_t limite = kLimiteArrangements);

// The board's picture in the definition files' characters ('#' border,
// '.' floor, letters for the pieces: capitals for master pieces), each
// piece under a letter that no piece beside it has.
std::vector<std::string> DessinDesPieces(const TPlateau& plateau);

}  // namespace glissaro::plateaux
