#include "ImageReduite.h"

#include <QPainter>

namespace glissaro {

TImageReduite::TImageReduite(QWidget* parent, QColor fond) : QWidget(parent), fond_(fond) {
  setObjectName("ImageReduite");
}

void TImageReduite::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), fond_);
  if (!Picture.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), Picture);
  }
}

}  // namespace glissaro
