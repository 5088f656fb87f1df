// Board drawing: the tile pictures cut from a skin's "pieces.bmp" into four
// image lists, and the drawing of one cell into a board picture. Used by the
// board window and by the previews of the board manager and the author
// screen. (QtGui only: no widget here.)
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <vector>

#include "Plateau.h"

class QPainter;

namespace glissaro {

class TImagesPieces {
 public:
  // Before any "pieces.bmp" the lists hold blank 20 × 20 pictures.
  TImagesPieces();

  // Rebuilds the four lists from a "pieces.bmp": a grid of tiles ten rows
  // high, TailleCase = height div 10, ten columns used. Returns an empty
  // text on success; otherwise a French message, and the previous pictures
  // stay.
  QString ChargerPieces(const QString& chemin);
  // The same from a picture already in memory (nomFichier names it in
  // messages).
  QString ChargerPieces(const QImage& image, const QString& nomFichier);

  int TailleCase() const { return tailleCase_; }

  // The picture of a tile of that series and image number, or nullptr when
  // the list has no such image.
  const QImage* Image(TSerieMap serie, int16_t map) const;

  // Draws a cell into a board picture: the list of its series, image Map,
  // its square (0, 0)–(TailleCase − 1, TailleCase − 1) stretched over the
  // cell at (row, column). A cell whose image does not exist is drawn as
  // floor.
  void DessinerCase(QPainter& peintre, const TCellule& cellule, int ligne, int colonne) const;

  // A whole board at full tile size (the previews).
  QImage DessinerPlateau(const TPlateau& plateau) const;

  // The four lists: Normal, Final, Bord, Vide (index = TSerieMap).
  const std::vector<QImage>& Liste(TSerieMap serie) const { return listes_[static_cast<std::size_t>(serie)]; }

 private:
  int tailleCase_ = 20;
  std::array<std::vector<QImage>, 4> listes_;
};

}  // namespace glissaro
