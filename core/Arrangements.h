// The arrangements of a piece set: on a door-free board, every arrangement
// of its pieces that can reach a solved one is explored, breadth first and
// backward from all the solved arrangements at once, in moves as the
// game's counter counts them (one move: any run of steps of one piece;
// pieces of the same series, shape and pictures are interchangeable). The
// moves of a board without doors can all be undone, so the distance found
// for an arrangement is the fewest moves that solve it, and the farthest
// arrangement is the start whose optimal solution is the longest.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Plateau.h"

namespace glissaro {

// Arrangements beyond which the search refuses a piece set: each one
// explored takes a few tens of bytes, so this keeps the search within
// about two gigabytes.
inline constexpr uint64_t kLimiteArrangements = 40'000'000;

// The number of ways to lay the board's movable pieces on its places that
// are not border (identical pieces interchangeable, overlaps excluded),
// saturated at UINT64_MAX. An empty string in *probleme when it could be
// counted; otherwise the French reason.
uint64_t CompterArrangements(const TPlateau& plateau, std::string* probleme = nullptr);

// Every arrangement of a door-free board's piece set that reaches a solved
// one, with its distance: the fewest moves that solve it. The solved ones
// come first, then the others by distance.
class Exploration {
 public:
  bool ok = false;
  bool annulee = false;
  std::string message;        // French: why the search was refused
  uint64_t arrangements = 0;  // every arrangement of the piece set
  std::size_t resolus = 0;    // the solved ones, where the search starts
  std::vector<std::size_t> parDistance;  // arrangements at each distance

  std::size_t Nombre() const;
  int Distance(std::size_t i) const;
  int Maximum() const { return parDistance.empty() ? 0 : static_cast<int>(parDistance.size()) - 1; }
  // The cells the pieces cover in arrangement i.
  std::vector<TPosition> Couvertes(std::size_t i) const;
  // Whether arrangement i comes before j in the order of their keys.
  bool Precede(std::size_t i, std::size_t j) const;
  // The board with the pieces where arrangement i puts them, renumbered
  // and checked as the editor checks it; the check's text in *probleme
  // when it fails, empty otherwise.
  TPlateau Plateau(std::size_t i, std::string* probleme) const;

  struct Donnees;

 private:
  friend Exploration ExplorerArrangements(const TPlateau&, uint64_t, const std::atomic<bool>*);
  friend Exploration ExplorerComposante(const TPlateau&, std::size_t, const std::atomic<bool>*);
  std::shared_ptr<const Donnees> d_;
};

// Explores a board whose pieces stand anywhere; refuses a board with
// doors, without final places or master tiles, or whose arrangements
// exceed the limit. Stops, with annulee, once *annuler is set.
Exploration ExplorerArrangements(const TPlateau& plateau, uint64_t limite = kLimiteArrangements,
                                 const std::atomic<bool>* annuler = nullptr);

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

// The same for the arrangements the board's own reaches (all its moves can
// be undone, so the solved ones among them give each its optimum): refused
// when they are more than limite, or when none is solved. arrangements
// then counts them.
Exploration ExplorerComposante(const TPlateau& plateau, std::size_t limite, const std::atomic<bool>* annuler = nullptr);

// The farthest arrangement of the exploration.
ResultatDifficile ChercherLePlusDifficile(const TPlateau& plateau, uint64_t limite = kLimiteArrangements);

}  // namespace glissaro
