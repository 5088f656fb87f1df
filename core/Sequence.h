// Sequence files ".swb": the moves of a game, as 4-byte records with no
// header and no count. Records 0 to 14 hold the board title (one character
// code per record, padded with spaces, Code 0); the events follow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Fichiers.h"
#include "Historique.h"

namespace glissaro {

inline constexpr int kLongueurTitreSequence = 15;
// The largest sequence: its title and as many events as the history holds.
inline constexpr std::size_t kTailleMaxSequence = 4 * (kLongueurTitreSequence + THistorique::kCapacite);

// The bytes of a sequence file: the title's first 15 characters (Windows-1252)
// and the events 0 to PosHistorique - 1 of the history.
std::string TexteSequence(std::string_view titre, const THistorique& historique);

// Writes a sequence file safely (temporary file, then rename).
ResultatEcriture EcrireSequence(const std::string& chemin, std::string_view titre, const THistorique& historique);

struct ResultatSequence {
  bool ok = false;
  std::string message;           // French, when not ok
  std::string titreStocke;       // characters of the title records whose Valeur is not 0
  std::vector<TEvenement> evenements;
};

// Reads a sequence file. A file that cannot be opened, that is not a
// regular file, that is shorter than its title, that ends inside a record
// or that holds more events than the history is refused with a message.
ResultatSequence LireSequence(const std::string& chemin);
ResultatSequence LireSequenceDepuisOctets(std::string_view octets, const std::string& nomFichier);

// Whether a stored title belongs to a board title: both cut to the board
// title's first 15 characters, trimmed of blanks and control characters at
// both ends, and compared without regard to the case of a to z.
bool TitreCorrespond(std::string_view titreStocke, std::string_view titrePlateau);

// The message shown when a sequence belongs to another board.
std::string MessageAutrePlateau(std::string_view titreStocke);


}  // namespace glissaro
