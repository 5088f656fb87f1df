// The editor's check of a board: enough final places for the master tiles,
// joins that are mutual and within one series, piece numbering, and pieces
// that never touch themselves across an unjoined side. Also used by
// glissaro-outils to check boards in bulk.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Plateau.h"

namespace glissaro {

enum class IssueVerification {
  Correcte,
  PasDePlaceFinale,      // no final place
  PasDeMaitre,           // final places but no master tile
  PasAssezDePlaces,      // fewer final places than master tiles
  JonctionsIncorrectes,  // a join that is not mutual, leaves the board or changes series
  PiecesIncorrectes,     // two tiles of one piece touch across an unjoined side
};

inline constexpr const char* kTexteGrilleCorrecte = "Grille correcte";
inline constexpr const char* kTexteGrilleIncorrecte = "Grille Incorrecte";
inline constexpr const char* kTextePasDePlaceFinale = "Pas d'emplacement final! Grille Incorrecte";
inline constexpr const char* kTextePasDeMaitre = "Pas de brique master! Grille Incorrecte";
inline constexpr const char* kTextePasAssezDePlaces =
    "Pas assez d'emplacement finale pour la ou les  masters brique. Grille incorrecte";

struct ResultatVerification {
  IssueVerification issue = IssueVerification::Correcte;
  // The text the editor shows: "Grille correcte", a warning about final
  // places, or "Grille Incorrecte".
  std::string texte;
  // Faulty tiles, each once, in the order they were found.
  std::vector<TPosition> fautes;
  // The pieces were numbered (the check reached its numbering step).
  bool numerotees = false;

  bool Correcte() const { return issue == IssueVerification::Correcte; }
  // The warnings about final places come before any frame is touched.
  bool EchecPlacesFinales() const {
    return issue == IssueVerification::PasDePlaceFinale || issue == IssueVerification::PasDeMaitre ||
           issue == IssueVerification::PasAssezDePlaces;
  }
};

// Checks the board and, once its joins are right, numbers its pieces
// (the board's Piece fields change then).
ResultatVerification VerifierGrille(TPlateau& plateau);

}  // namespace glissaro
