// Sequences checked against a board before they reach a game's history
// (the game itself replays its history: Partie.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Partie.h"
#include "Sequence.h"

namespace glissaro {

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

// A sequence file reloaded onto a game's board: read, checked as above and,
// when it passes, made the game's history, at its start. A file that could
// not be read is not lue, and its message is the check's. Nothing changes
// unless the check is Correcte.
struct RechargementSequence {
  bool lue = false;
  ControleSequence controle;
};
RechargementSequence RechargerSequenceDuFichier(TPartie& partie, const std::string& chemin);

}  // namespace glissaro
