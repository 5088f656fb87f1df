#include "Carre.h"

#include <QMouseEvent>
#include <QPainter>

namespace glissaro {

namespace {

// The outline of a rectangle, inside its bounds, in whole pixels.
void Cadre(QPainter& peintre, const QRect& r, int epaisseur, const QColor& couleur) {
  if (r.width() <= 0 || r.height() <= 0) return;
  peintre.fillRect(QRect(r.left(), r.top(), r.width(), epaisseur), couleur);
  peintre.fillRect(QRect(r.left(), r.bottom() - epaisseur + 1, r.width(), epaisseur), couleur);
  peintre.fillRect(QRect(r.left(), r.top(), epaisseur, r.height()), couleur);
  peintre.fillRect(QRect(r.right() - epaisseur + 1, r.top(), epaisseur, r.height()), couleur);
}

}  // namespace

TCarre::TCarre(QWidget* parent) : QWidget(parent) {
  cellule_.Serie = TSerieMap::Normal;  // the first series, as for a field never set
  cellule_.Map = kMapAucune;
  resize(20, 20);
}

void TCarre::SetPlaceFinal(bool valeur) {
  cellule_.PlaceFinal = valeur;
  Redessiner();
}

void TCarre::SetPorte(bool valeur) {
  cellule_.Porte = valeur;
  Redessiner();
}

void TCarre::SetGrille(bool valeur) {
  grille_ = valeur;
  Redessiner();
}

void TCarre::SetColorGrille(const QColor& valeur) {
  colorGrille_ = valeur;
  Redessiner();
}

void TCarre::SetMap(int16_t valeur) {
  if (valeur == cellule_.Map) return;
  cellule_.Map = valeur;
  Redessiner();
}

void TCarre::SetImages(TImageList* valeur) {
  if (valeur == images_) return;
  disconnect(destruction_);
  images_ = valeur;
  if (valeur) destruction_ = connect(valeur, &QObject::destroyed, this, &TCarre::ImagesDetruites);
  Redessiner();
}

void TCarre::ImagesDetruites() {
  images_ = nullptr;
  picture_ = QImage();
  update();
}

void TCarre::Redessiner() {
  const int w = width(), h = height();
  picture_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
  picture_.fill(Qt::transparent);
  QPainter peintre(&picture_);
  const QRect tout(0, 0, w, h);
  if (cellule_.Map == kMapAucune) {
    if (grille_) Cadre(peintre, tout, 1, colorGrille_);
  } else if (cellule_.Map >= 0 && images_) {
    if (const QImage* image = images_->Image(cellule_.Map)) peintre.drawImage(0, 0, *image);
    if (grille_) Cadre(peintre, tout, 1, colorGrille_);
  }
  // On a 20-pixel tile the marks frame the 8-pixel square in the middle.
  const QRect milieu(6, 6, w - 12, h - 12);
  if (cellule_.PlaceFinal) Cadre(peintre, milieu, 2, Qt::black);
  if (cellule_.Porte && cellule_.Serie == TSerieMap::Bord) Cadre(peintre, milieu, 1, QColor(255, 0, 0));
  peintre.end();
  update();
}

void TCarre::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter peintre(this);
  peintre.drawImage(0, 0, picture_);
}

void TCarre::mousePressEvent(QMouseEvent* evenement) { appuye_ = evenement->button() == Qt::LeftButton; }

void TCarre::mouseReleaseEvent(QMouseEvent* evenement) {
  const bool clic =
      appuye_ && evenement->button() == Qt::LeftButton && rect().contains(evenement->position().toPoint());
  appuye_ = false;
  if (clic) emit Click(this);
}

}  // namespace glissaro
