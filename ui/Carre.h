// TCarre: the editor's tile control, for the tiles of its palette and the
// cells of the board being drawn. It shows one picture of an image list,
// a frame, and the marks of a final place and of a door.
#pragma once

#include <QColor>
#include <QImage>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "Plateau.h"

namespace glissaro {

// A list of pictures of one size, shared by the tiles that show them. The
// tiles do not own it; when it is destroyed they forget it.
class TImageList : public QObject {
  Q_OBJECT
 public:
  explicit TImageList(QObject* parent = nullptr) : QObject(parent) {}

  void Add(const QImage& image) { images_.push_back(image); }
  void Clear() { images_.clear(); }
  int Count() const { return static_cast<int>(images_.size()); }
  // The picture at that index, or nullptr outside the list.
  const QImage* Image(int index) const {
    return index >= 0 && index < Count() ? &images_[static_cast<std::size_t>(index)] : nullptr;
  }

 private:
  std::vector<QImage> images_;
};

class TCarre : public QWidget {
  Q_OBJECT
 public:
  // A new tile: 20 × 20 pixels, no image (Map −1), piece 0, framed in black,
  // no image list.
  explicit TCarre(QWidget* parent = nullptr);

  // Edge flags, series, piece and place: stored only, nothing is redrawn.
  bool Droit() const { return cellule_.Droit; }
  void SetDroit(bool valeur) { cellule_.Droit = valeur; }
  bool Gauche() const { return cellule_.Gauche; }
  void SetGauche(bool valeur) { cellule_.Gauche = valeur; }
  bool Bas() const { return cellule_.Bas; }
  void SetBas(bool valeur) { cellule_.Bas = valeur; }
  bool Haut() const { return cellule_.Haut; }
  void SetHaut(bool valeur) { cellule_.Haut = valeur; }
  TSerieMap Serie() const { return cellule_.Serie; }
  void SetSerie(TSerieMap valeur) { cellule_.Serie = valeur; }
  uint16_t Piece() const { return cellule_.Piece; }
  void SetPiece(uint16_t valeur) { cellule_.Piece = valeur; }
  uint16_t PosX() const { return cellule_.PosX; }
  void SetPosX(uint16_t valeur) { cellule_.PosX = valeur; }
  uint16_t PosY() const { return cellule_.PosY; }
  void SetPosY(uint16_t valeur) { cellule_.PosY = valeur; }

  // The marks and the frame: stored and redrawn at every setting.
  bool PlaceFinal() const { return cellule_.PlaceFinal; }
  void SetPlaceFinal(bool valeur);
  bool Porte() const { return cellule_.Porte; }
  void SetPorte(bool valeur);
  bool Grille() const { return grille_; }
  void SetGrille(bool valeur);
  QColor ColorGrille() const { return colorGrille_; }
  void SetColorGrille(const QColor& valeur);

  // The image and its list: redrawn only when the value changes.
  int16_t Map() const { return cellule_.Map; }
  void SetMap(int16_t valeur);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* valeur);

  // The cell fields together (Droit … PosY), as the board model has them.
  const TCellule& Cellule() const { return cellule_; }

  // What the control shows; empty once its image list was destroyed.
  const QImage& Picture() const { return picture_; }

 signals:
  // A click of the left button (pressed and released on the tile).
  void Click(TCarre* carre);

 protected:
  void paintEvent(QPaintEvent* evenement) override;
  void mousePressEvent(QMouseEvent* evenement) override;
  void mouseReleaseEvent(QMouseEvent* evenement) override;

 private:
  void Redessiner();
  void ImagesDetruites();

  TCellule cellule_;
  bool grille_ = true;
  QColor colorGrille_ = Qt::black;
  QPointer<TImageList> images_;
  QMetaObject::Connection destruction_;
  QImage picture_;
  bool appuye_ = false;
};

}  // namespace glissaro
