// TFrmPlateau: the window in which a board is played. It holds the game
// (board, rules, counter, history), the tile pictures and the board
// picture, and turns the mouse into the rules' gestures.
#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "DessinPlateau.h"
#include "Dialogues.h"
#include "Indice.h"
#include "Partie.h"
#include "Rejeu.h"

class QMenu;
class QAction;

namespace glissaro {

class TFrmPlayer;
class TFrmGestion;
class TRechercheSolution;

// The board picture: fills the window, scaled, and receives the mouse. Over
// the picture it outlines the piece selected for the keyboard and shows a
// hint.
class TImagePlateau : public QWidget {
  Q_OBJECT
 public:
  explicit TImagePlateau(QWidget* parent);
  // The board picture, in board pixels, and what the screen shows of it.
  QImage Picture;
  TImageZoom Zoom;
  // The same picture drawn at twice the size, from the skin's tiles at twice
  // the size (null when the skin has none). The screen shows it when it has
  // at least two pixels for a board pixel (at 200 % and more, or on a dense
  // screen), pixel for pixel when it fits.
  QImage PictureDouble;
  // The scale of the board on the screen, in percent.
  int ZoomEcran = 100;
  // Prepares what the screen shows at a scale.
  void DefinirEchelle(int zoom);
  // Shows again a rectangle of the board picture (in board pixels) that
  // was drawn again.
  void MettreAJour(const QRect& zone);
  // What the screen's picture is made from: Picture or PictureDouble.
  const QImage& Source() const { return doubleMontre_ ? PictureDouble : Picture; }
  // A position on the screen back to board pixels.
  QPoint VersPlateau(QPointF position) const;
  // The screen rectangle of a cell.
  QRectF RectangleCase(int ligne, int colonne, int tailleCase) const;

  // What is drawn over the picture: the board, the selected piece, the
  // hinted piece (while IndiceAllume) and its step.
  const TPlateau* Plateau = nullptr;
  int TailleCase = 20;
  uint16_t Selection = 0;
  TIndice Indice;
  bool IndiceAllume = false;

 signals:
  void MouseDown(QMouseEvent* evenement);
  void MouseMove(QMouseEvent* evenement);
  void MouseUp(QMouseEvent* evenement);

 protected:
  void paintEvent(QPaintEvent* evenement) override;
  void mousePressEvent(QMouseEvent* evenement) override;
  void mouseMoveEvent(QMouseEvent* evenement) override;
  void mouseReleaseEvent(QMouseEvent* evenement) override;

 private:
  void DessinerPiece(QPainter& peintre, uint16_t piece, const QColor& couleur, qreal epaisseur, bool remplir) const;
  void DessinerFleche(QPainter& peintre) const;
  bool doubleMontre_ = false;
};

// Reads a skin's "pieces.bmp" through the skins' bounded reader into the
// tile pictures, with its "pieces@2x.bmp" when it has one: an empty text,
// or the message when it cannot be used (and the previous pictures stay).
QString ChargerPiecesSkin(TImagesPieces& images, const QString& chemin);

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

  // The board's size on the screen: 0 automatic (the largest scale that
  // keeps the window within 60 % of the screen), else a percentage of the
  // tile pictures. A shown board takes it at once.
  void DefinirZoom(int zoom);
  int Zoom() const { return zoom_; }
  // The scale in use for the board loaded.
  int ZoomEffectif() const;
  // Final places marked under the pieces; off, the board is drawn from its
  // tiles alone.
  void DefinirPlacesFinales(bool montrer);
  bool PlacesFinales() const { return placesFinales_; }

  TPartie Partie;
  TImagesPieces Images;
  TImagePlateau* ImagePlateau = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* AnnulerCoup1 = nullptr;
  QAction* RetablirCoup1 = nullptr;
  QAction* Indice1 = nullptr;
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
  // The same with the sequence file already chosen (a file opened from the
  // desktop): asks for its board when none is loaded.
  void RechargerSequenceDepuis(const QString& chemin);

  void fermerClick();
  // One counted move back or forward again (the replay's steps); Ctrl+Z and
  // Retour arrière, Ctrl+Y and Ctrl+Maj+Z.
  void AnnulerCoup1Click();
  void RetablirCoup1Click();
  // Key H: the solver looks for the next move from the position, in the
  // background; the piece then flashes with an arrow on its first step for
  // two seconds. Nothing is played. A move cancels the search.
  void Indice1Click();
  // How long the search may last before the hint is given up, in ms.
  int DelaiIndice = 5000;
  bool RechercheIndiceEnCours() const { return delaiIndice_.isActive(); }

  // The keys of play, also handed over by the main window: undo, redo,
  // hint, Tab and Maj+Tab to select a piece, the arrows to move it. True
  // when the key was used.
  bool TraiterTouche(QKeyEvent* evenement);
  uint16_t PieceSelectionnee() const { return ImagePlateau->Selection; }

  // The board window stays beside the panel: its offset is taken when the
  // panel starts to move, and kept while it moves.
  void RetenirDecalage();
  void SuivrePanneau();

  // Where the desktop places every window itself (Wayland), the board is
  // drawn inside the main window, under the panel: the window becomes a
  // part of it, with a caption strip (LabelTitre) that carries its title
  // and moves the whole window, and the main window lays the two out.
  void Assembler(TFrmPlayer& fenetre);
  bool Assemble() const { return legende_ != nullptr; }
  QWidget* LabelTitre() const { return legende_; }
  // Solves from the position on the board and puts the solution in the
  // history after it: the replay's "Avance" and "Fin" play it.
  void MontrerSolution1Click();
  // The congratulation's "Plateau suivant": the next board of the library
  // not yet solved at its optimum.
  void PlateauSuivant1Click();
  // The player's records file.
  std::string FichierRecords() const;
  // The records' optimum is searched for in the background when it is not
  // known yet; true while it runs.
  bool RechercheOptimumEnCours() const;

  // Redraws one cell of the board picture.
  void DessinerCase(int ligne, int colonne);

 protected:
  void keyPressEvent(QKeyEvent* evenement) override;
  void hideEvent(QHideEvent* evenement) override;
  void changeEvent(QEvent* evenement) override;
  // Tab selects pieces here.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  void ImagePlateauMouseDown(QMouseEvent* evenement);
  void ImagePlateauMouseMove(QMouseEvent* evenement);
  void ImagePlateauMouseUp(QMouseEvent* evenement);
  void Placer();
  // Sizes the window and the scaled picture for the board loaded.
  void AppliquerTaille();
  void RedessinerTout();
  void MettreAJourActions();
  void SelectionnerPiece(uint16_t piece);
  void DeplacerSelection(int dx, int dy);
  // A sequence's board: the one loaded, or one chosen in the board manager
  // and loaded; false when there is none.
  bool PlateauPourSequence();
  void ChargerSequence(const std::string& chemin);
  void ResultatIndice(const ResultatSolveur& resultat);
  void MontrerIndice(const TIndice& indice);
  // Stops a search and hides a hint shown.
  void AnnulerIndice();

  // What the rules ask to show.
  void CaseChangee(int ligne, int colonne) override;
  void CompteurAffiche(const std::string& texte) override;
  void Felicitations(const std::string& texte, int32_t etat) override;
  void HistoriquePlein() override;

  // At the load: the board's fingerprint, its path in the library, and the
  // search of its optimum when the records do not know it.
  void PreparerRecords(const QString& chemin);
  void NoterOptimum(const ResultatSolveur& resultat);
  std::string empreinte_;
  std::string cheminBibliotheque_;
  TRechercheSolution* rechercheOptimum_ = nullptr;

  TFrmPlayer& player_;
  Dialogues& dialogues_;
  // The caption strip, when assembled into the main window.
  QWidget* legende_ = nullptr;
  TFrmGestion* gestion_ = nullptr;
  TRejeu rejeu_{Partie};
  int zoom_ = 0;
  bool placesFinales_ = true;
  bool sourisEnfoncee_ = false;
  QPoint decalage_;
  TRechercheSolution* rechercheIndice_ = nullptr;
  TPlateau positionIndice_;
  QTimer delaiIndice_;
  QTimer clignotement_;
  int clignotements_ = 0;
};

}  // namespace glissaro
