// The pieces of a board as every part of the game sees them: which tiles
// move, the pieces they make, and the kinds of piece (pieces of one kind
// are interchangeable). The game, the solver and the hardest-start search
// read boards through it.
#pragma once

#include <cstdint>
#include <vector>

#include "Plateau.h"

namespace glissaro {

// Ordinary and master tiles move; floor and border never do.
inline bool TuileMobile(const TCellule& cellule) {
  return cellule.Serie == TSerieMap::Normal || cellule.Serie == TSerieMap::Final;
}

// A piece that moves: its number, its series (that of its first tile), its
// cells rows from the top, then columns from the left (the first is its
// anchor) and how many of its tiles are master tiles.
struct TPiece {
  uint16_t numero = 0;
  TSerieMap serie = TSerieMap::Normal;
  std::vector<TPosition> cases;
  int maitres = 0;
  const TPosition& Ancre() const { return cases.front(); }
};

// The pieces that move on a board, by number.
std::vector<TPiece> PiecesMobiles(const TPlateau& plateau);

// The numbers of the pieces that move, in order.
std::vector<uint16_t> NumerosDesPiecesMobiles(const TPlateau& plateau);

// A kind of piece: its series and its tiles relative to the anchor, with
// the tiles' own fields. Two pieces of one kind look and move alike.
struct TSorte {
  TSerieMap serie = TSerieMap::Normal;
  std::vector<TPosition> decalages;  // from the anchor, same order as the piece's cells
  std::vector<TCellule> tuiles;
  int maitres = 0;

  // What tells kinds apart: the series, and for every tile its place from
  // the anchor, its series, its picture and its joins.
  std::vector<int> Cle() const;
};

TSorte SorteDe(const TPlateau& plateau, const TPiece& piece);

}  // namespace glissaro
