// The replay: steps a game's history backward and forward like a tape
// recorder, moving the pieces and the doors and showing the counter marks
// it passes.
#pragma once

#include "Partie.h"

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

}  // namespace glissaro
