// The replay: steps a game's history backward and forward like a tape
// recorder, moving the pieces and the doors and showing the counter marks
// it passes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Partie.h"
#include "Sequence.h"

namespace glissaro {

class TRejeu {
 public:
  explicit TRejeu(TPartie& partie) : partie_(partie) {}

  // One event forward: a move shifts its piece, a counter mark shows its
  // value, a door event is applied again (a touched door, an opened door).
  // Records nothing and counts nothing. False at the end of the history.
  bool PasAvant();
  // One whole move back: takes back every event after the most recent
  // counter mark, the mark included, and shows that mark's value; at the
  // start of the history, shows 0. The next gesture always counts.
  void PasArriere();
  // Back to the start, forward to the end.
  void Debut();
  void Fin();

  // The player's undo and redo, over the same steps. AnnulerCoup takes back
  // one counted move: back past the last counter mark to the one before it,
  // which stays applied (or to the start). RetablirCoup plays forward up to
  // and including the next counter mark, doors applied again. Each returns
  // false, and changes nothing, when there is nothing to take back or play
  // again.
  bool PeutAnnulerCoup() const { return partie_.Historique.PosHistorique > 0; }
  bool PeutRetablirCoup() const { return partie_.Historique.PosHistorique < partie_.Historique.Fin; }
  bool AnnulerCoup();
  bool RetablirCoup();

 private:
  void AnnulerMouvement();
  void RetablirPorte();

  TPartie& partie_;
};

// A sequence from a file is checked against the board before it touches
// it: each event, replayed forward from the loaded position, must be one
// that play could have recorded there. A move shifts a piece that exists and
// is made of ordinary or master tiles, only onto plain floor, an opened
// door or its own cells; a door event touches a closed door cell or opens a
// touched one, inside the board; a counter mark may hold any value; no
// other code is accepted. So a sequence that passes, replayed to its end and
// back to its start, gives the loaded board again, and never puts a tile
// where another stands.
//
// The number (from 1) of the first event that fails, or nothing.
std::optional<std::size_t> PremierEvenementIncorrect(const TPlateau& plateau, const std::vector<TEvenement>& evenements);

// "Séquence incorrecte pour ce plateau", with the number of the event.
std::string MessageSequenceIncorrecte(std::size_t numero);

// What the board window and glissaro-outils do with a sequence read for a
// loaded board: its title must match (else the message of another board),
// then its events must pass the check above.
struct ControleSequence {
  enum class Issue { Correcte, AutrePlateau, Incorrecte };
  Issue issue = Issue::Correcte;
  std::string message;  // French, when not Correcte
};
ControleSequence ControlerSequence(const TPlateau& plateau, const ResultatSequence& sequence);

}  // namespace glissaro
