// TFrmMagneto: the replay window. Six buttons step the session's game's
// history like a tape recorder; two of them save and reload sequences.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "Session.h"

class QToolBar;
class QToolButton;

namespace glissaro {

class TFrmPlayer;
class TFrmPlateau;

class TFrmMagneto : public QWidget, private ObservateurSession {
  Q_OBJECT
 public:
  // The buttons take the main window's skin, the timers the replay speed
  // of the session's settings.
  TFrmMagneto(TSession& session, TFrmPlayer& player, TFrmPlateau& plateau);
  ~TFrmMagneto() override;

  // The buttons' pictures at rest and under the mouse (30 × 30 each, in
  // button order), and the program's own.
  std::vector<QPixmap> ImageListMagnetoOff;
  std::vector<QPixmap> ImageListMagnetoON;
  std::vector<QPixmap> ImageListTempoOff;
  std::vector<QPixmap> ImageListTempoOn;
  // The buttons' pictures of a skin, shown at once; a list left empty
  // gives the program's own.
  void DefinirImages(std::vector<QPixmap> off, std::vector<QPixmap> on);

  QToolBar* ToolBar1 = nullptr;
  QToolButton* TbCharger = nullptr;
  QToolButton* TBenreg = nullptr;
  QToolButton* TbPremier = nullptr;
  QToolButton* TBRetour = nullptr;
  QToolButton* TBAvance = nullptr;
  QToolButton* TBFin = nullptr;
  QTimer TimerRetour;
  QTimer TimerAvance;

  // The steps; parTimer tells whether the timer called them.
  void TimerAvanceTimer(bool parTimer);
  void TimerRetourTimer(bool parTimer);
  void TbPremierClick();
  void TBFinClick();
  // The timers' intervals from the replay speed.
  void AppliquerVitesse(int vitesse);

 protected:
  void showEvent(QShowEvent* evenement) override;
  // "Retour" and "Avance" are held with any mouse button.
  bool eventFilter(QObject* objet, QEvent* evenement) override;

 private:
  // Shows the pictures of the lists on the buttons.
  void AppliquerImages();
  // The replay speed follows the settings.
  void ReglagesModifies() override;

  TSession& session_;
  TFrmPlayer& player_;
  TFrmPlateau& plateau_;
};

// Cuts a strip of 30 × 30 pictures, white being transparent; a strip drawn
// at twice the size (device pixel ratio 2) gives 60 × 60 pictures of that
// ratio.
std::vector<QPixmap> DecouperBoutons(const QImage& bande);
// The program's own strip of the buttons at rest or under the mouse, at
// twice the size on a dense screen (ratio).
QImage BandeMagneto(bool sous, qreal ratio);

}  // namespace glissaro
