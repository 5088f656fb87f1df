// TFrmPlateau: the window in which a board is played. It holds the game
// (board, rules, counter, history), the tile pictures and the board
// picture, and turns the mouse into the rules' gestures.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "DessinPlateau.h"
#include "Dialogues.h"
#include "Partie.h"

class QMenu;
class QAction;

namespace glissaro {

class TFrmPlayer;
class TFrmGestion;

// The board picture: fills the window and receives the mouse.
class TImagePlateau : public QWidget {
  Q_OBJECT
 public:
  explicit TImagePlateau(QWidget* parent);
  QImage Picture;

 signals:
  void MouseDown(QMouseEvent* evenement);
  void MouseMove(QMouseEvent* evenement);
  void MouseUp(QMouseEvent* evenement);

 protected:
  void paintEvent(QPaintEvent* evenement) override;
  void mousePressEvent(QMouseEvent* evenement) override;
  void mouseMoveEvent(QMouseEvent* evenement) override;
  void mouseReleaseEvent(QMouseEvent* evenement) override;
};

class TFrmPlateau : public QWidget, private ObservateurPartie {
  Q_OBJECT
 public:
  TFrmPlateau(TFrmPlayer& player, Dialogues& dialogues);

  // Loads, draws and shows a board; a new game starts. A board never
  // validated leaves the window hidden; a file that cannot be read too,
  // after its message.
  void ChargerPlateau(const QString& chemin);
  // New tile pictures; false (after the message) when the picture cannot be
  // used, and the previous pictures stay.
  bool ChargerPieces(const QString& chemin);

  int TailleCase() const { return Images.TailleCase(); }
  // The drag threshold: tile size divided by the move speed.
  void DefinirVitesse(int vitesse) { Partie.DefinirVitesse(vitesse); }

  TPartie Partie;
  TImagesPieces Images;
  TImagePlateau* ImagePlateau = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* fermer = nullptr;
  QAction* MontrerSolution1 = nullptr;
  // The sequence dialogs, set up by the main window.
  DialogueFichier SD_Sequence;
  DialogueFichier OD_sauvegarde;

  // The board manager, asked for a board when a sequence is reloaded while
  // none is loaded.
  void DefinirGestion(TFrmGestion* gestion) { gestion_ = gestion; }

  // Saves the moves played so far (up to the replay's position) to a
  // sequence file, and loads one back onto the same board.
  void SauverSequence();
  void RechargerSequence();

  void fermerClick();
  // Solves from the position on the board and puts the solution in the
  // history after it: the replay's "Avance" and "Fin" play it.
  void MontrerSolution1Click();
  // Redraws one cell of the board picture.
  void DessinerCase(int ligne, int colonne);

 protected:
  void keyPressEvent(QKeyEvent* evenement) override;

 private:
  void ImagePlateauMouseDown(QMouseEvent* evenement);
  void ImagePlateauMouseMove(QMouseEvent* evenement);
  void ImagePlateauMouseUp(QMouseEvent* evenement);
  void Placer();

  // What the rules ask to show.
  void CaseChangee(int ligne, int colonne) override;
  void CompteurAffiche(const std::string& texte) override;
  void Felicitations(const std::string& texte, int32_t etat) override;
  void HistoriquePlein() override;

  TFrmPlayer& player_;
  Dialogues& dialogues_;
  TFrmGestion* gestion_ = nullptr;
};

}  // namespace glissaro
