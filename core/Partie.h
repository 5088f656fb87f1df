// A game on a loaded board: taking a piece, dragging it cell by cell,
// doors touched and opened by master pieces, the move counter, the end of
// the game, the history of every change and its replay (stepping back and
// forth like a tape recorder, undo and redo). The game's state changes only
// through its verbs; everything else asks its questions, which record
// nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FichierPlateau.h"
#include "Historique.h"
#include "Parametres.h"
#include "Plateau.h"

namespace glissaro {

// Whoever shows the game: told of every cell to draw again, in the order in
// which the rules change them, of every counter text, and of the
// congratulation.
class ObservateurPartie {
 public:
  virtual ~ObservateurPartie() = default;
  virtual void CaseChangee(int /*ligne*/, int /*colonne*/) {}
  virtual void CompteurAffiche(const std::string& /*texte*/) {}
  // The board is solved for the first time since it was loaded.
  virtual void Felicitations(const std::string& /*texte*/, int32_t /*etat*/) {}
  // An event could not be recorded: the history is full. Said once a load.
  virtual void HistoriquePlein() {}
};

// The counter text: the value with zeros in front up to four characters.
std::string TexteCompteur(int32_t valeur);

// The congratulation for a board of status etat.
std::string TexteFelicitations(int32_t etat);

// The tile size before a skin's tiles are known (the move speed's default
// is the settings', Parametres.h).
inline constexpr int kTailleCaseDefaut = 20;

class TPartie {
 public:
  TPartie() = default;
  TPartie(const TPartie&) = delete;
  TPartie& operator=(const TPartie&) = delete;

  void DefinirObservateur(ObservateurPartie* observateur) { observateur_ = observateur; }

  // Tile side in pixels (from the skin's tile picture).
  void DefinirTailleCase(int taille) { tailleCase_ = taille > 0 ? taille : 1; }
  // Move speed 1, 2 or 4 (any value above 0 is taken; 0 or below becomes
  // the default).
  void DefinirVitesse(int vitesse) { vitesse_ = vitesse > 0 ? vitesse : kVitesseDeplacementDefaut; }

  // ---- A new game: the counter, the history and the end flag are reset and
  // the counter shows "0000"; then the board is read. On anything but Ok no
  // board is in play.
  ResultatLecture Charger(const std::string& chemin);
  // The same with a board already in memory (tests and tools).
  void CommencerPartie(const TPlateau& plateau);

  // ---- Play. Pointer gestures, in board pixels: a press of any button
  // takes the piece under the pointer (and drops what could be replayed
  // forward); a movement with the left button held drags it, one cell a
  // step beyond the threshold; a release counts the move and tests the end
  // of the game.
  void Appuyer(int x, int y);
  void Glisser(int x, int y);
  void Relacher();
  // Keyboard play: moves a piece one cell (dx, dy: one of them 1 or -1) by
  // the same rules as a press on its first tile, a drag of one cell and a
  // release. A refused step records nothing and keeps what could be
  // replayed forward. True when the piece stepped.
  bool DeplacerAuClavier(uint16_t piece, int dx, int dy);

  // ---- The replay. Avancer: one event forward (a move shifts its piece, a
  // counter mark shows its value, a door event is applied again); false at
  // the end of the history. Reculer: one whole move back, every event after
  // the most recent counter mark and the mark itself, then that mark's value
  // (0 at the start); the next gesture always counts. Nothing is recorded
  // nor counted.
  bool Avancer();
  void Reculer();
  void AllerAuDebut();
  void AllerALaFin();
  // The player's undo and redo, over the same steps: Annuler takes back one
  // counted move, back past the last counter mark to the one before it,
  // which stays applied (or to the start); Retablir plays forward up to and
  // including the next counter mark. Each returns false, and changes
  // nothing, when there is nothing to take back or play again.
  bool PeutAnnuler() const { return historique_.PosHistorique > 0; }
  bool PeutRetablir() const { return historique_.PosHistorique < historique_.Fin; }
  bool Annuler();
  bool Retablir();

  // ---- Events that were not played here. A reloaded sequence: the history
  // becomes its events, the position its start. A solution shown: its events
  // follow the position, what could be replayed forward dropped; false when
  // the history could not hold them all (told to the observer). Neither
  // counts for a record.
  void RechargerSequence(const std::vector<TEvenement>& evenements);
  bool AjouterSolution(const std::vector<TEvenement>& evenements);
  // A hint was given.
  void NoterIndice() { ++indices_; }
  // The board is closed: the counter back to 0 and "0000" shown.
  void RemettreCompteur();
  // ---- Questions.
  bool Charge() const { return charge_; }
  const TPlateau& Plateau() const { return plateau_; }
  // The board as it was loaded.
  const TPlateau& PlateauCharge() const { return plateauCharge_; }
  const THistorique& Historique() const { return historique_; }
  int32_t Compteur() const { return compteur_; }
  // Hints given and whether the whole solution was shown, since the load.
  int Indices() const { return indices_; }
  bool SolutionMontree() const { return solutionMontree_; }
  // The board is solved: every final place holds a master tile.
  bool Resolu() const;
  // The congratulation was given since the load.
  bool BravoAffiche() const { return bravoAffiche_; }
  int TailleCase() const { return tailleCase_; }
  int Vitesse() const { return vitesse_; }
  // The drag threshold: tile size divided by the move speed.
  int32_t Seuil() const { return tailleCase_ / vitesse_; }
  // The piece taken by the last press, and whether it is one that moves
  // (ordinary or master tiles).
  uint16_t PieceChoisie() const { return pieceChoisie_; }
  bool PieceChoisieMobile() const;
  // The pieces that can be selected for the keyboard are those that move,
  // in the order of their numbers: the one after courante (or before it),
  // going round; the first (or the last) when courante is none of them; 0 on
  // a board without such a piece.
  uint16_t PieceSuivante(uint16_t courante, bool avant) const;
  // The move rule: a piece of ordinary or master tiles may step one cell
  // that way when each of its tiles stays on the board and lands on floor or
  // on its own piece through a join. The taken piece, or any.
  bool PeutAller(int dx, int dy) const { return PeutAller(pieceChoisie_, serieChoisie_, dx, dy); }
  bool PeutAller(uint16_t piece, int dx, int dy) const;

 private:
  // The counter, the history and the end flag of a new game.
  void NouvellePartie();
  bool PeutAller(uint16_t piece, TSerieMap serie, int dx, int dy) const;
  // Takes a piece: the taken tile's name and series from its first cell,
  // rows from the top, columns from the left.
  void Prendre(uint16_t piece);
  // A step of the taken piece, recorded: the check, the event, the shift.
  bool Pas(int dx, int dy);
  // Every tile of the taken piece one cell that way, far side first,
  // without check and without record.
  void Decaler(int dx, int dy);
  void DeplacerCase(TPosition source, TPosition destination);
  // After a master piece stepped: the door pass (Portes.h).
  void VerifierPortes();
  // Stepping back over a door event: the cell becomes a door cell again,
  // closed (16) or touched (17), with the piece number and the joins it had
  // at load (a tile that crossed the opened door left plain floor there).
  void FermerPorte(TPosition porte, int16_t map);
  // The replay's steps back.
  void AnnulerMouvement();
  void RetablirPorte();
  void AppliquerPorte(const TEvenement& e);

  // Writes the counter text; with marque, also records a counter mark.
  void AfficherCompteur(int32_t valeur, bool marque);
  void DessinerCase(int ligne, int colonne);
  // Records an event; when the history is full, records nothing and tells
  // the observer once.
  void Enregistrer(int16_t valeur, int8_t code);

  ObservateurPartie* observateur_ = nullptr;
  TPlateau plateau_;
  TPlateau plateauCharge_;
  THistorique historique_;
  int tailleCase_ = kTailleCaseDefaut;
  int vitesse_ = kVitesseDeplacementDefaut;
  bool charge_ = false;

  int32_t compteur_ = 0;
  uint16_t dernierePiece_ = 0;  // the piece whose gesture was counted last
  bool bravoAffiche_ = false;
  int indices_ = 0;
  bool solutionMontree_ = false;
  bool pleinSignale_ = false;

  // The taken piece, where it was taken and the drag's reference point.
  uint16_t pieceChoisie_ = 0;
  TSerieMap serieChoisie_ = TSerieMap::Vide;
  std::string nomChoisi_;
  TPosition priseA_;
  int32_t referenceX_ = 0;
  int32_t referenceY_ = 0;
  bool bouge_ = false;  // a step was made during this pointer event
};

}  // namespace glissaro
