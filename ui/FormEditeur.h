// TFrmEditeur: the board editor. A board is drawn tile by tile from a
// palette of tiles on three tabs, checked (pieces well formed, enough final
// places, pieces numbered) and saved as a board file whose status says
// whether it passed.
#pragma once

#include <QColor>
#include <QIcon>
#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "Carre.h"
#include "Dialogues.h"
#include "Plateau.h"

class QAction;
class QCheckBox;
class QFrame;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace glissaro {

class TFrmNouveau;

class TFrmEditeur : public QMainWindow {
  Q_OBJECT
 public:
  // Frame colours of the tiles.
  static inline const QColor kRouge{255, 0, 0};          // selected palette tile, faulty grid tile
  static inline const QColor kBleu{0, 0, 255};           // palette tile
  static inline const QColor kVert{0, 128, 0};           // grid tile at rest
  static inline const QColor kBlanc{255, 255, 255};      // grid tile while a failed check is shown
  static inline const QColor kJaunePale{255, 255, 221};  // behind the grid

  // chemin: the program folder, ending with "/"; empty for the folder of
  // the executable.
  TFrmEditeur(TFrmNouveau& nouveau, Dialogues& dialogues, const QString& chemin = {});

  QString Chemin;
  int TailleCarre = 20;
  QString NomPlateau;
  // The file of the board being edited: the one opened or last saved;
  // empty for a new board.
  QString FichierPlateau;
  // The grid tiles, Cases[column][row] for columns 1..20 and rows 1..16;
  // null where no tile stands.
  std::array<std::array<TCarre*, kHauteurMax + 1>, kLargeurMax + 1> Cases{};
  TCarre* CarreCourant = nullptr;
  int OrigineX = 0;
  int OrigineY = 0;
  bool Modifie = false;
  uint16_t Largeur = 0;
  uint16_t Hauteur = 0;
  // After a check that numbered the pieces: the number after the last one.
  int16_t NumeroPiece = 0;

  // The file dialogs, in the library's folder.
  DialogueFichier ODEditeur;
  DialogueFichier SDEditeur;

  // The tile pictures (20 × 20) of the four series, and the tool bar's.
  TImageList* ImageListNormal = nullptr;
  TImageList* ImageListFinal = nullptr;
  TImageList* ImageListBord = nullptr;
  TImageList* ImageListFond = nullptr;
  // Indexed by the buttons' image numbers; 4 is not used.
  std::vector<QIcon> ImageListItemTool;

  // Controls.
  QWidget* Client = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QToolButton* ToolButton1 = nullptr;  // Nouveau
  QToolButton* ToolButton2 = nullptr;  // Ouvrir
  QToolButton* ToolButton3 = nullptr;  // Enregistrer
  QToolButton* ToolButton4 = nullptr;  // Ré-initialiser
  QToolButton* TbTester = nullptr;
  QTabWidget* PageControl1 = nullptr;
  std::array<TCarre*, 16> N{};
  std::array<TCarre*, 16> F{};
  std::array<TCarre*, 17> B{};
  TCarre* Fond = nullptr;
  QFrame* Panel1 = nullptr;
  QCheckBox* CBEmplacementFinal = nullptr;

  // The menus.
  QMenu* Fichier1 = nullptr;
  QAction* Nouveau1 = nullptr;
  QAction* Ouvrir1 = nullptr;
  QAction* Fermer1 = nullptr;
  QAction* Enregistrer1 = nullptr;
  QAction* Quitter1 = nullptr;
  QMenu* Edition1 = nullptr;
  QAction* Rinitialiser1 = nullptr;
  QAction* Tester1 = nullptr;
  QAction* Resoudre1 = nullptr;

  // Palette and grid.
  void N0Click(TCarre* carre);
  void PageControl1Change(int index);
  void PoserCarre(TCarre* carre);
  void CalculerOrigine();
  TCarre* CreerCase(int colonne, int ligne, TSerieMap serie, int16_t image);
  void CreerGrilleVide();
  void ViderGrille();
  void ColorerGrille(const QColor& couleur);
  // Whether a board stands on the grid.
  bool GrilleChargee() const { return Cases[1][1] != nullptr; }

  // Commands.
  void Nouveau1Click();
  void Ouvrir1Click();
  void Fermer1Click();
  void Quitter1Click();
  void Rinitialiser1Click();
  void Tester1Click();
  // Checks the board as "Tester" does, then gives its optimum in moves and
  // in steps.
  void Resoudre1Click();
  void Enregistrer1Click();

  // Puts a board file on the grid; a file that cannot be read, or that is
  // larger than 20 by 16, is refused with its message and the grid stays
  // as it was.
  bool OuvrirPlateau(const QString& chemin);
  // The check; with rapport its verdict is shown (the warnings about final
  // places are shown in any case).
  bool VerifierGrille(bool rapport);
  // Writes the board, its status from a silent check; false, after the
  // message, when the file cannot be written.
  bool EcrirePlateau(const QString& chemin);

  // The grid as a board (an empty board when no tile stands).
  TPlateau PlateauDeLaGrille() const;

 protected:
  void showEvent(QShowEvent* evenement) override;
  void closeEvent(QCloseEvent* evenement) override;

 private:
  void FormCreate();
  void Loaded();
  void CreerOutils();
  void CreerMenus();
  void CreerPalette();
  void ChargerImages();
  TImageList* ListeDeSerie(TSerieMap serie) const;
  // "Editeur Glissaro", followed by the board name when a board is loaded.
  void DefinirTitre(bool plateauCharge);
  // Brings the outer size, frame included, to 518 × 541.
  void AjusterAuCadre();
  // Asks whether to save a changed board; false when the user cancels.
  bool QuestionEnregistrer();

  TFrmNouveau& nouveau_;
  Dialogues& dialogues_;
  bool dejaMontre_ = false;
};

}  // namespace glissaro
