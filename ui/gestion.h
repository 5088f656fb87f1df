// TFrmGestion: the board manager. The folders of the board library and
// their boards as a two-level tree, a reduced picture of the selected board,
// boards moved between folders by drag and drop, new folders.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QString>
#include <QTreeWidget>

#include <array>

#include "Dialogues.h"
#include "ImageReduite.h"
#include "Plateau.h"
#include "Solution.h"

class QLabel;
class QPushButton;
class QSplitter;
class QFrame;

namespace glissaro {

class TImagesPieces;

// The tree of the board library; hands drags and drops to the manager.
class TArbrePlateaux : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TArbrePlateaux(QWidget* parent);

 signals:
  void Deplace(QTreeWidgetItem* cible);

 protected:
  void dragEnterEvent(QDragEnterEvent* evenement) override;
  void dragMoveEvent(QDragMoveEvent* evenement) override;
  void dropEvent(QDropEvent* evenement) override;
};

class TFrmGestion : public QDialog {
  Q_OBJECT
 public:
  // chemin: the program folder, ending with "/"; images: the board window's
  // tile pictures and tile size.
  TFrmGestion(const QString& chemin, const TImagesPieces& images, Dialogues& dialogues, QWidget* parent = nullptr);

  // The board last selected: its full path, built from the title stored in
  // the file. Emptied at every showing.
  QString FichierChoisi;
  QString NomDeplace;
  TPlateau Cases;
  QImage ImageMemoire;

  TArbrePlateaux* TreeView1 = nullptr;
  TImageReduite* ImageReduite = nullptr;
  // The optimal number of moves of the board shown, found in the background.
  QLabel* LabelSolution = nullptr;
  QPushButton* BtNouveauDossier = nullptr;
  QPushButton* BtOk = nullptr;
  QPushButton* BtCancel = nullptr;

  // The tree's icons: closed folder, open folder, board, selected board.
  std::array<QIcon, 4> ImageListArbre;

  void RemplirArbre();
  void AjouterDossier(const QString& nom);
  // Shows the preview of a board node; a folder node changes nothing.
  void TreeView1Change(QTreeWidgetItem* noeud);
  // Moves the selected board onto the folder of the target node.
  void TreeView1DragDrop(QTreeWidgetItem* cible);
  void BtNouveauDossierClick();
  // OK: a chosen board that cannot be played is refused with its message
  // and the window stays, so the game in progress goes on.
  void accept() override;

  // Whether a node is a board (a folder otherwise).
  static bool EstPlateau(const QTreeWidgetItem* noeud) { return noeud && noeud->parent() != nullptr; }
  // The tree's folder and board node of those names, or nullptr.
  QTreeWidgetItem* Noeud(const QString& dossier, const QString& plateau = {}) const;

 protected:
  void showEvent(QShowEvent* evenement) override;
  void hideEvent(QHideEvent* evenement) override;

 private:
  void FormShow();
  void MettreAJourIcones();
  QString DossierPlateaux() const { return chemin_ + "plateaux/"; }

  QString chemin_;
  TRechercheSolution* recherche_ = nullptr;
  const TImagesPieces& images_;
  Dialogues& dialogues_;
};

}  // namespace glissaro
