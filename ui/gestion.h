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
#include "Records.h"
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

// What a board's icon says of the player's record.
enum class MarquePlateau { Aucune, Resolu, Optimum };

class TFrmGestion : public QDialog {
  Q_OBJECT
 public:
  // chemin: the program folder, ending with "/"; images: the board window's
  // tile pictures and tile size.
  TFrmGestion(const QString& chemin, const TImagesPieces& images, Dialogues& dialogues, QWidget* parent = nullptr);
  // The records file the game shares (the manager's own, on its folder,
  // until then).
  void DefinirRecords(TCarnetRecords& records) { carnet_ = &records; }

  // The board last selected: its full path, built from the title stored in
  // the file. Emptied at every showing.
  QString FichierChoisi;
  QString NomDeplace;
  TPlateau Cases;
  QImage ImageMemoire;

  TArbrePlateaux* TreeView1 = nullptr;
  TImageReduite* ImageReduite = nullptr;
  // The optimal number of moves of the board shown, found in the background
  // (or a solution not proven optimal, said so).
  QLabel* LabelSolution = nullptr;
  // The search behind LabelSolution: the proven optimum first, any
  // solution when proving takes more than these limits.
  OptionsSolveur OptionsApercu = [] {
    OptionsSolveur o;
    o.limiteMemoire = std::size_t{256} << 20;
    return o;
  }();
  // The player's record on the board shown, and the progress through the
  // library under the tree.
  QLabel* LabelRecord = nullptr;
  QLabel* LabelProgression = nullptr;
  QPushButton* BtNouveauDossier = nullptr;
  // "Plateau au hasard…": a new board made with a proven optimum, saved in
  // the folder "Plateaux au hasard" and selected.
  QPushButton* BtHasard = nullptr;
  QPushButton* BtOk = nullptr;
  QPushButton* BtCancel = nullptr;

  // The tree's icons: closed folder, open folder, board, selected board.
  std::array<QIcon, 4> ImageListArbre;
  // A board solved (tick) and solved at its optimum (star), each plain and
  // selected.
  std::array<QIcon, 4> IconesMarquees;

  void RemplirArbre();
  void AjouterDossier(const QString& nom);
  // Shows the preview of a board node; a folder node changes nothing.
  void TreeView1Change(QTreeWidgetItem* noeud);
  // Moves the selected board onto the folder of the target node.
  void TreeView1DragDrop(QTreeWidgetItem* cible);
  void BtNouveauDossierClick();
  void BtHasardClick();
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
  // The parts of the window: the tree with the progress line, the preview
  // with its lines, the buttons.
  QWidget* CreerArbre(QWidget* parent);
  QWidget* CreerApercu(QWidget* parent);
  QWidget* CreerBoutons();
  // The search of the board shown ended.
  void SolutionTrouvee(const ResultatSolveur& resultat);
  void FormShow();
  void MettreAJourIcones();
  // Marks the solved boards from the records, and the progress line.
  void MarquerResolus();
  // A board node's path in the library, "folder/board.wbp".
  std::string CheminRelatif(const QTreeWidgetItem* plateau) const;
  QString DossierPlateaux() const { return chemin_ + "plateaux/"; }

  QString chemin_;
  TCarnetRecords carnetPropre_;
  TCarnetRecords* carnet_ = &carnetPropre_;
  TRecords records_;
  std::string empreinteApercu_;
  std::string cheminApercu_;
  TRechercheSolution* recherche_ = nullptr;
  ChoixHasard choixHasard_;  // the last asked, proposed again
  const TImagesPieces& images_;
  Dialogues& dialogues_;
};

}  // namespace glissaro
