// TFrmAuteur: the author screen. It publishes a validated board: a JPEG
// picture beside the board file, the board file rewritten as officialised
// (status 2) and a web page made from the page template.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "Dialogues.h"
#include "ImageReduite.h"
#include "Plateau.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace glissaro {

class TImagesPieces;

// A pair of arrows; each click asks for one pixel more or less.
class TUpDown : public QWidget {
  Q_OBJECT
 public:
  TUpDown(Qt::Orientation orientation, QWidget* parent);
  QToolButton* Plus = nullptr;   // down arrow (vertical) or right arrow (horizontal)
  QToolButton* Moins = nullptr;  // up arrow (vertical) or left arrow (horizontal)

 signals:
  void Change(int delta);
};

class TFrmAuteur : public QDialog {
  Q_OBJECT
 public:
  TFrmAuteur(const QString& chemin, const TImagesPieces& images, Dialogues& dialogues, QWidget* parent = nullptr);

  QLabel* TitreDuPlateau = nullptr;
  TImageReduite* ImageReduite = nullptr;
  TUpDown* UpDown1 = nullptr;  // height of the picture
  TUpDown* UpDown2 = nullptr;  // width of the picture
  QLineEdit* Edit1 = nullptr;  // author
  QLineEdit* Edit3 = nullptr;  // e-mail
  QLineEdit* Edit2 = nullptr;  // number of moves
  QPushButton* BitBtn1 = nullptr;
  QPushButton* Button1 = nullptr;
  DialogueFichier OpenDialog1;

  int32_t Largeur = 0;
  int32_t Hauteur = 0;
  TPlateau Cases;
  QImage ImageMemoire;
  QImage Image1;
  QStringList Memo1;
  // The board file chosen in this screen; empty until one is chosen.
  QString FichierPlateau;

  void BitBtn1Click();
  void UpDown1ChangingEx(int delta);
  void UpDown2ChangingEx(int delta);
  void Button1Click();
  // Writes the web page; false (after its message) when it cannot.
  bool Button2Click();

  // The size of the published picture, set with the arrows. The reduced
  // picture shows it at that size while it fits beside the fields, smaller
  // (same proportions) beyond.
  QSize TailleImage{217, 177};
  // The picture's size is kept between 1 and this many pixels.
  static constexpr int kTailleMax = 2000;
  // Where the reduced picture may stand: left of the fields, inside the
  // window.
  static constexpr QRect kZoneImage{32, 32, 232, 209};

 private:
  bool Ecrire(const QString& chemin, const std::string& contenu);
  void PlacerImage();

  QString chemin_;
  const TImagesPieces& images_;
  Dialogues& dialogues_;
  // The cells of the chosen file were read: only then may it be rewritten.
  bool lu_ = false;
};

}  // namespace glissaro
