// What the widget tests share: a program folder of their own, mouse events
// sent to widgets, boards written from text pictures.
#pragma once

#include <QApplication>
#include <QColor>
#include <QEventLoop>
#include <QTimer>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QString>
#include <QWidget>

#include <functional>

#include "../core/AidePlateau.h"
#include "Fichiers.h"

namespace glissaro::test {

inline QColor CouleurTuile(int x, int y) { return QColor(20 + 23 * x, 20 + 23 * y, (7 * x + 11 * y) % 256); }

// A "pieces.bmp" whose tiles are plain squares of distinct colours, so that
// the drawing of a cell can be told from its pixels.
inline QImage PiecesDeTest(int taille) {
  QImage image(10 * taille, 10 * taille, QImage::Format_RGB32);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      QPainter p(&image);
      p.fillRect(x * taille, y * taille, taille, taille, CouleurTuile(x, y));
    }
  return image;
}

// A program folder with the default skin's tile picture, whose settings
// show boards at the tiles' own size (the tests point at cells in board
// pixels).
class DossierProgramme : public DossierTemporaire {
 public:
  explicit DossierProgramme(int taille = 20) {
    QDir().mkpath(QString::fromStdString(Chemin()) + "/skins/Glissaro");
    PiecesDeTest(taille).save(QString::fromStdString(Chemin()) + "/skins/Glissaro/pieces.bmp", "BMP");
    EcrireFichierSur(Fichier("Glissaro.ini"), std::string(kParametresDeTest));
  }
  static constexpr const char* kParametresDeTest = "[jeu]\r\nZoom=100\r\n";
  QString Q() const { return QString::fromStdString(Chemin()) + "/"; }
  QString Plateau(const TPlateau& p, const std::string& etat = "1") const {
    const auto chemin = Fichier(p.Titre + ".wbp");
    EcrirePlateau(chemin, p, etat);
    return QString::fromStdString(chemin);
  }
};

inline void Souris(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton bouton, Qt::MouseButtons boutons) {
  QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), bouton, boutons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
inline void Appuyer(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Souris(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Deplacer(QWidget* w, QPoint p, Qt::MouseButtons boutons = Qt::LeftButton) {
  Souris(w, QEvent::MouseMove, p, Qt::NoButton, boutons);
}
inline void Relacher(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Souris(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Cliquer(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  Appuyer(w, p, b);
  Relacher(w, p, b);
}

// Lets the event loop run until a condition holds, for at most ms
// milliseconds; says whether it holds.
inline bool Attendre(const std::function<bool()>& condition, int ms = 2000) {
  for (int i = 0; i < ms / 10 && !condition(); ++i) {
    QEventLoop boucle;
    QTimer::singleShot(10, &boucle, &QEventLoop::quit);
    boucle.exec();
  }
  return condition();
}

}  // namespace glissaro::test
