// Board drawing: the tile pictures cut from a skin's "pieces.bmp" into four
// image lists, and the drawing of one cell into a board picture. Used by the
// board window and by the previews of the board manager and the author
// screen. (QtGui only: no widget here.)
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <vector>

#include "Plateau.h"

class QPainter;

namespace glissaro {

class TImagesPieces {
 public:
  // Before any "pieces.bmp" the lists hold blank 20 × 20 pictures.
  TImagesPieces();

  // Rebuilds the four lists from a "pieces.bmp" already read (the skins'
  // bounded reader reads them; nomFichier names it in messages): a grid of
  // tiles ten rows high, TailleCase = height div 10, ten columns used.
  // Returns an empty text on success; otherwise a French message, and the
  // previous pictures stay.
  QString ChargerPieces(const QImage& image, const QString& nomFichier);

  int TailleCase() const { return tailleCase_; }

  // The picture of a tile of that series and image number, or nullptr when
  // the list has no such image.
  const QImage* Image(TSerieMap serie, int16_t map) const;

  // Draws a cell into a board picture: the list of its series, image Map,
  // its square (0, 0)–(TailleCase − 1, TailleCase − 1) stretched over the
  // cell at (row, column). A cell whose image does not exist is drawn as
  // floor. With anneau, a final place under a tile also gets its ring
  // (DessinerAnneau).
  void DessinerCase(QPainter& peintre, const TCellule& cellule, int ligne, int colonne, bool anneau = false) const;

  // The mark of a final place drawn over the tile that covers it, so that
  // the goal stays visible: the skin's own mark, what its final-place floor
  // adds to the plain floor, with a light or dark halo that shows on any
  // tile; a drawn ring when the skin's floors do not tell a mark apart.
  void DessinerAnneau(QPainter& peintre, int ligne, int colonne) const;
  const QImage& Anneau() const { return anneau_; }

  // A whole board at full tile size (the previews; the board window with
  // the rings).
  QImage DessinerPlateau(const TPlateau& plateau, bool anneaux = false) const;

  // The four lists: Normal, Final, Bord, Vide (index = TSerieMap).
  const std::vector<QImage>& Liste(TSerieMap serie) const { return listes_[static_cast<std::size_t>(serie)]; }

  // The same tiles drawn at twice the size, from a skin's "pieces@2x.bmp":
  // exactly twice the size of the "pieces.bmp" loaded last, each tile
  // taken as it is (2 × TailleCase square). False, and none kept, when the
  // picture does not fit; a new "pieces.bmp" drops them.
  bool ChargerPiecesDoubles(const QImage& image);
  bool PiecesDoubles() const { return !listesDoubles_[0].empty(); }
  // A cell, and a whole board, drawn from them: 2 × TailleCase a cell.
  void DessinerCaseDouble(QPainter& peintre, const TCellule& cellule, int ligne, int colonne,
                          bool anneau = false) const;
  QImage DessinerPlateauDouble(const TPlateau& plateau, bool anneaux = false) const;

 private:
  using Listes = std::array<std::vector<QImage>, 4>;
  // The four lists, each tile cut by couper(column, row) from its place in
  // the picture.
  static Listes Decouper(const std::function<QImage(int, int)>& couper);
  static QImage PreparerAnneau(const Listes& listes, int taille);

  int tailleCase_ = 20;
  QSize taillePieces_;
  Listes listes_;
  QImage anneau_;
  Listes listesDoubles_;
  QImage anneauDouble_;
};

// The board picture as the screen shows it: scaled with smooth filtering
// and kept up to date area by area as cells are drawn again. At 100 % it
// holds nothing: the board picture is shown as it is.
class TImageZoom {
 public:
  // Scales the whole picture (zoom in percent).
  void Definir(const QImage& source, int zoom);
  // Scales the whole picture to ecran pixels, shown at a device pixel
  // ratio; nothing is held when that is the picture's own size.
  void DefinirEcran(const QImage& source, QSize ecran, qreal ratio);
  // Scales again the screen pixels that a rectangle of the source reaches,
  // exactly as the whole picture would be scaled; returns them.
  QRect MettreAJour(const QImage& source, const QRect& zone);
  // The screen pixels that a rectangle of the source reaches.
  QRect VersEcran(const QRect& zone) const;

  int Zoom() const { return zoom_; }
  // The scaled picture; null at 100 %.
  const QImage& Image() const { return image_; }

 private:
  int zoom_ = 100;
  QSize source_;
  QImage image_;
};

}  // namespace glissaro
