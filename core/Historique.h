// The move history: every change that play makes to the board, as 4-byte
// events, so that the replay can step back and forth and sequence files can
// store a game.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Plateau.h"

namespace glissaro {

// Kinds of event (the Code byte).
inline constexpr int8_t EvHaut = -1;           // a piece stepped up; Valeur = piece
inline constexpr int8_t EvBas = 1;             // down
inline constexpr int8_t EvGauche = -2;         // left
inline constexpr int8_t EvDroite = 2;          // right
inline constexpr int8_t EvCompteur = 14;       // counter mark; Valeur = low 16 bits of the count
inline constexpr int8_t EvPorteTouchee = 16;   // a closed door cell was touched; Valeur = position code
inline constexpr int8_t EvPorteOuverte = 17;   // a touched door cell opened; Valeur = position code

// One event, laid out as stored in sequence files: Valeur (signed 16-bit,
// little-endian), Code (signed 8-bit), one reserved byte written as 0.
struct TEvenement {
  int16_t Valeur = 0;
  int8_t Code = 0;
  uint8_t Reserve = 0;
};
static_assert(sizeof(TEvenement) == 4, "an event takes four bytes");

// Position code of a door cell: column × 100 + row (column 5, row 12: 512).
inline int16_t CodePosition(TPosition p) { return static_cast<int16_t>(p.colonne * 100 + p.ligne); }
inline TPosition PositionDuCode(uint16_t code) { return {code % 100, code / 100}; }

class THistorique {
 public:
  static constexpr int kCapacite = 5001;

  // Appends at PosHistorique: PosHistorique grows by one and Fin follows it.
  // Returns false, and records nothing, when the history is full.
  bool Ajouter(TEvenement evenement);
  bool Ajouter(int16_t valeur, int8_t code) { return Ajouter(TEvenement{valeur, code, 0}); }

  // Drops what could still be replayed forward (a press on the board).
  void Couper() {
    Fin = PosHistorique;
    if (DebutNonJoue >= Fin) DebutNonJoue = kCapacite;
  }
  // Empties the history (a board load).
  void Vider() {
    PosHistorique = 0;
    Fin = 0;
    DebutNonJoue = kCapacite;
  }
  bool Plein() const { return PosHistorique >= kCapacite; }

  // The events of a sequence: PosHistorique 0, Fin the number of events
  // (as many as fit), none of them played here.
  void Charger(const std::vector<TEvenement>& evenements);
  // Appends events after Fin, as many as fit; false when some did not.
  bool Prolonger(const std::vector<TEvenement>& evenements);

  // Events from `debut` on were not played here (read from a sequence file,
  // or a solution shown): a position that applies one of them was not
  // reached by play.
  void MarquerNonJoues(uint16_t debut) {
    if (debut < DebutNonJoue) DebutNonJoue = debut;
  }
  bool NonJouesAppliques() const { return DebutNonJoue < PosHistorique; }

  const TEvenement& operator[](int i) const { return Evenements[static_cast<std::size_t>(i)]; }

  std::array<TEvenement, kCapacite> Evenements{};
  uint16_t PosHistorique = 0;  // events applied to the board now
  uint16_t Fin = 0;            // events that exist
  uint16_t DebutNonJoue = kCapacite;  // first event not played; kCapacite when none
};

}  // namespace glissaro
