// TFrmPlateau: the window in which the session's board is played. It holds
// the tile pictures and the board picture, draws what the game changes and
// turns the mouse and the keys into the game's gestures.
#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "DessinPlateau.h"
#include "Dialogues.h"
#include "Indice.h"
#include "Session.h"

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

class TFrmPlateau : public QWidget, private ObservateurSession {
  Q_OBJECT
 public:
  // The tile pictures of the main window's skin are loaded, and the
  // session's settings applied.
  TFrmPlateau(TSession& session, TFrmPlayer& player, Dialogues& dialogues);
  ~TFrmPlateau() override;

  // The session's game, as shown here.
  const TPartie& Partie() const { return session_.Partie(); }

  // Loads, draws and shows a board, which becomes the session's current
  // one; a new game starts. A board never validated leaves the window
  // hidden; a file that cannot be read too, after its message.
  void ChargerPlateau(const QString& chemin);
  // New tile pictures; false (after the message) when the picture cannot be
  // used, and the previous pictures stay.
  bool ChargerPieces(const QString& chemin);

  int TailleCase() const { return Images.TailleCase(); }

  // The scale in use for the board loaded: the settings' board size, 0
  // being automatic (the largest scale that keeps the window within 60 % of
  // the screen), else a percentage of the tile pictures.
  int ZoomEffectif() const;

  TImagesPieces Images;
  TImagePlateau* ImagePlateau = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* AnnulerCoup1 = nullptr;
  QAction* RetablirCoup1 = nullptr;
  QAction* Indice1 = nullptr;
  QAction* fermer = nullptr;
  QAction* MontrerSolution1 = nullptr;
  // The sequence dialogs, in the program folder's "sequences".
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

  // The board is closed: the session has no current board.
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
  std::string FichierRecords() const { return session_.Records().Fichier(); }
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
  // The settings' board size and final places, when they differ from
  // those shown: a shown board takes them at once.
  void ReglagesModifies() override;
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

  // What the game asks to show.
  void CaseChangee(int ligne, int colonne) override;
  void Felicitations(const std::string& texte, int32_t etat) override;
  void HistoriquePlein() override;

  // The optimum of a board loaded is searched for in the background when
  // the records do not know it.
  void NoterOptimum(const ResultatSolveur& resultat);
  TRechercheSolution* rechercheOptimum_ = nullptr;

  TSession& session_;
  TFrmPlayer& player_;
  Dialogues& dialogues_;
  // The caption strip, when assembled into the main window.
  QWidget* legende_ = nullptr;
  TFrmGestion* gestion_ = nullptr;
  // The board size and the final places the picture is shown with.
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
