// A game on a loaded board: taking a piece, dragging it cell by cell,
// doors touched and opened by master pieces, the move counter, the end of
// the game and the history of every change. The board window drives it with
// the pointer; the replay steps through its history.
#pragma once

#include <cstdint>
#include <string>

#include "FichierPlateau.h"
#include "Historique.h"
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

// The web site named in the congratulation of an officialised board.
inline constexpr const char* kAdresseSiteWeb = "https://glissaro.org";

// The congratulation for a board of status etat.
std::string TexteFelicitations(int32_t etat);

class TPartie {
 public:
  TPartie() = default;
  TPartie(const TPartie&) = delete;
  TPartie& operator=(const TPartie&) = delete;

  void DefinirObservateur(ObservateurPartie* observateur) { observateur_ = observateur; }

  // Tile side in pixels (from the skin's tile picture).
  void DefinirTailleCase(int taille) { TailleCase = taille > 0 ? taille : 1; }
  // Move speed 1, 2 or 4 (any value above 0 is taken; 0 or below becomes 2);
  // the drag threshold follows at once.
  void DefinirVitesse(int vitesse);

  // Starts a new game on a board file: the counter, the history and the end
  // flag are reset and the counter shows "0000"; then the file is read. On
  // anything but Ok no board is in play.
  ResultatLecture ChargerPlateau(const std::string& chemin);
  // The same with a board already in memory (tests and tools).
  void CommencerPartie(const TPlateau& plateau);

  bool Charge() const { return charge_; }

  // Pointer gestures, in board pixels. A press of any button takes the
  // piece under the pointer; a movement with the left button held drags it;
  // a release counts the move and tests the end of the game.
  void Appuyer(int x, int y);
  void Glisser(int x, int y);
  void Relacher();

  // Keyboard play. The pieces that can be selected are those that move
  // (neither floor nor border), in the order of their numbers: the one after
  // courante (or before it), going round; the first (or the last) when
  // courante is none of them; 0 on a board without such a piece.
  uint16_t PieceSuivante(uint16_t courante, bool avant) const;
  // Moves a piece one cell (dx, dy: one of them 1 or -1) by the same rules
  // as a press on its first tile, a drag of one cell and a release: checks,
  // shift, doors, history, then the counting and the end of the game. A
  // refused step records nothing and keeps what could be replayed forward.
  // True when the piece stepped.
  bool DeplacerAuClavier(uint16_t piece, int dx, int dy);

  // The move checks: true when the taken piece may step one cell that way,
  // and then the move event is recorded.
  bool PeutAllerDroite();
  bool PeutAllerGauche();
  bool PeutDescendre();
  bool PeutMonter();
  // The shifts: every tile of the taken piece moves one cell, far side first,
  // without check and without record.
  void DecalerDroite();
  void DecalerGauche();
  void DecalerBas();
  void DecalerHaut();
  // Moves the tile of one cell onto a neighbouring cell and makes the source
  // floor.
  void DeplacerCase(int ligneSource, int colonneSource, int ligneDestination, int colonneDestination);
  // Takes the piece numbered PieceChoisie: NomChoisi and SerieChoisie from
  // its first cell, rows from the top, columns from the left.
  void ChoisirPiece();
  // After a master piece stepped: touches the closed door cells beside it
  // (and across a corner between two frame cells), and opens a door once all
  // its cells are touched.
  void VerifierPortes();
  void ToucherPorte(int ligne, int colonne);
  void PorteComplete(int ligne, int colonne);
  void OuvrirPorte(int ligne, int colonne);
  // Stepping back over a door event: the cell becomes a door cell again,
  // closed (16) or touched (17), with the piece number and the joins it had
  // at load (a tile that crossed the opened door left plain floor there).
  void FermerPorte(int ligne, int colonne, int16_t map);

  // Writes the counter text; with marque, also records a counter mark.
  void AfficherCompteur(int32_t valeur, bool marque);
  // Tells the observer to draw a cell again.
  void DessinerCase(int ligne, int colonne);
  // Records an event; when the history is full, records nothing and tells
  // the observer once.
  void Enregistrer(int16_t valeur, int8_t code);

  // The board is solved: every final place holds a master tile.
  bool Resolu() const;

  TPlateau Plateau;
  // The board as it was loaded.
  TPlateau PlateauCharge;
  THistorique Historique;
  int TailleCase = 20;
  int VitesseDeplacement = 2;
  int32_t Seuil = 10;

  int32_t Compteur = 0;
  uint16_t DernierePiece = 0;
  bool BravoAffiche = false;
  // Hints given since the board was loaded.
  int Indices = 0;
  // The whole solution was shown since the board was loaded.
  bool SolutionMontree = false;
  // Opening a door counts as a move while this is set (the replay clears it
  // while it puts a door event back).
  bool Comptage = true;

  // The taken piece.
  uint16_t PieceChoisie = 0;
  TSerieMap SerieChoisie = TSerieMap::Vide;
  std::string NomChoisi;
  int ColonneChoisie = 0;
  int LigneChoisie = 0;
  int32_t ReferenceX = 0;
  int32_t ReferenceY = 0;

 private:
  // The counter, the history and the end flag of a new game.
  void NouvellePartie();
  bool PeutAller(int dx, int dy, int8_t code);
  void Decaler(int dx, int dy);
  bool EstPorteFermee(int ligne, int colonne) const;
  bool EstCadre(int ligne, int colonne) const;

  ObservateurPartie* observateur_ = nullptr;
  bool charge_ = false;
  bool bouge_ = false;        // a step was made during this pointer event
  bool drapeauPorte_ = false;  // working flag of PorteComplete
  bool pleinSignale_ = false;
};

}  // namespace glissaro
