// A reduced picture of a board: the board picture stretched over the whole
// widget, without keeping its proportions (the board manager's preview and
// the author screen's picture).
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace glissaro {

class TImageReduite : public QWidget {
  Q_OBJECT
 public:
  explicit TImageReduite(QWidget* parent, QColor fond = Qt::white);
  QImage Picture;

 protected:
  void paintEvent(QPaintEvent* evenement) override;

 private:
  QColor fond_;
};

}  // namespace glissaro
