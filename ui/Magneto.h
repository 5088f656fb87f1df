// TFrmMagneto: the replay window. Six buttons step the current game's
// history like a tape recorder; two of them save and reload sequences.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "Rejeu.h"

class QToolBar;
class QToolButton;

namespace glissaro {

class TFrmPlayer;
class TFrmPlateau;

class TFrmMagneto : public QWidget {
  Q_OBJECT
 public:
  TFrmMagneto(TFrmPlayer& player, TFrmPlateau& plateau);

  // The buttons' pictures at rest and under the mouse (30 × 30 each, in
  // button order), and the program's own.
  std::vector<QPixmap> ImageListMagnetoOff;
  std::vector<QPixmap> ImageListMagnetoON;
  std::vector<QPixmap> ImageListTempoOff;
  std::vector<QPixmap> ImageListTempoOn;
  // Shows the pictures of the lists on the buttons.
  void AppliquerImages();

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
  TFrmPlayer& player_;
  TFrmPlateau& plateau_;
  TRejeu magneto_;
};

// Cuts a strip of 30 × 30 pictures, white being transparent; a strip drawn
// at twice the size (device pixel ratio 2) gives 60 × 60 pictures of that
// ratio.
std::vector<QPixmap> DecouperBoutons(const QImage& bande);
// The program's own strip of the buttons at rest or under the mouse, at
// twice the size on a dense screen (ratio).
QImage BandeMagneto(bool sous, qreal ratio);

}  // namespace glissaro
