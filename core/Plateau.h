// The board model: series, cells, the board of at most 20 columns by 16
// rows, piece numbering and the adjustments every reader applies.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace glissaro {

// Series of a tile, one byte, stored in files as its ordinal.
enum class TSerieMap : uint8_t { Normal = 0, Final = 1, Bord = 2, Vide = 3 };

// Image numbers (Map) with a meaning of their own.
inline constexpr int16_t kMapPorteFermee = 16;  // closed door cell
inline constexpr int16_t kMapPorteTouchee = 17;  // door cell touched by a master piece
inline constexpr int16_t kMapFond = 0;           // floor
inline constexpr int16_t kMapFondFinal = 1;      // floor on a final place
inline constexpr int16_t kMapAucune = -1;        // editor tile without image

// The fields shared by the editor's tile control and the board's cells, in
// this order. Droit, Gauche, Haut and Bas join the tile to its neighbour on
// that side; PlaceFinal and Porte belong to the place, the rest to the tile.
struct TCellule {
  bool Droit = false;
  bool Gauche = false;
  bool Haut = false;
  bool Bas = false;
  bool PlaceFinal = false;
  bool Porte = false;
  TSerieMap Serie = TSerieMap::Vide;
  int16_t Map = 0;
  uint16_t Piece = 0;
  uint16_t PosX = 0;  // column, from 1
  uint16_t PosY = 0;  // row, from 1
};

// A cell of a loaded board: the fields above plus the identity of the tile
// standing on it ("L3C12"), which travels with the tile.
struct TCarreau : TCellule {
  std::string Nom;
};

inline constexpr int kLargeurMax = 20;
inline constexpr int kHauteurMax = 16;

// The image number a tile of the palette has for its joined sides (0 to 15).
int16_t MapDesJonctions(bool droit, bool gauche, bool haut, bool bas);
// The joined sides of image number 0 to 15, as {Droit, Gauche, Haut, Bas}.
std::array<bool, 4> JonctionsDeMap(int16_t map);

// A place on a board: its row and its column, from 1.
struct TPosition {
  int ligne = 0;
  int colonne = 0;
  bool operator==(const TPosition&) const = default;
};

// A board: Largeur columns by Hauteur rows of cells addressed (row, column)
// from (1, 1) at the top left. The array always holds 16 rows by 20 columns;
// only the first Hauteur rows and Largeur columns mean something.
struct TPlateau {
  uint16_t Largeur = 0;
  uint16_t Hauteur = 0;
  std::string Titre;
  int32_t Etat = 0;  // 0 not validated, 1 validated, 2 officialised

  TCarreau& Case(int ligne, int colonne) { return Cases[static_cast<std::size_t>(ligne - 1)][static_cast<std::size_t>(colonne - 1)]; }
  const TCarreau& Case(int ligne, int colonne) const {
    return Cases[static_cast<std::size_t>(ligne - 1)][static_cast<std::size_t>(colonne - 1)];
  }
  bool Contient(int ligne, int colonne) const {
    return ligne >= 1 && ligne <= Hauteur && colonne >= 1 && colonne <= Largeur;
  }
  TCarreau& Case(TPosition p) { return Case(p.ligne, p.colonne); }
  const TCarreau& Case(TPosition p) const { return Case(p.ligne, p.colonne); }
  bool Contient(TPosition p) const { return Contient(p.ligne, p.colonne); }

  std::array<std::array<TCarreau, kLargeurMax>, kHauteurMax> Cases{};
};

// "L" + row + "C" + column.
std::string NomCase(int ligne, int colonne);

// What every reader of a board for play or preview does to a cell it has
// just read at (row, column): PosX, PosY and Nom from the place, then floor
// on a final place shows image 1 and a door cell image 16.
void AjusterCaseLue(TCarreau& cellule, int ligne, int colonne);

// Numbers the pieces: every cell's Piece becomes 0, then the cells are
// visited column by column from the left and, within a column, from the top;
// each tile that is not floor and has no number yet gets the next number,
// and so does every tile reached from it through its joined sides (above,
// below, right, left). Joins pointing off the board are not followed.
void NumeroterPieces(TPlateau& plateau);

}  // namespace glissaro
