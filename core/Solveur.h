// The solver: the fewest moves, or the fewest single steps, that bring the
// master tiles onto every final place, on exactly the game's rules (pieces
// step onto floor only; borders and closed or touched doors block; master
// pieces touch and open doors as in play).
//
// A state holds where each piece stands, pieces of the same shape, series
// and pictures being interchangeable, and the state of every door cell.
// The board's cells are bits (a guard row above and below, a guard column
// on the right), so a step's test is a mask against the occupancy.
//
// First a search by cost (breadth-first for the steps; by buckets for the
// moves, since an opened door costs a move of its own): its answer is
// optimal. On a small board without doors (its cells and guards in 64
// bits), a state is kept as an exact key instead: for each kind, the set
// of anchors its pieces stand at, one bit each, the kinds side by side in
// at most 80 bits; nothing to sort, no fingerprint, a move changes two
// bits. When it meets its limit, a second search, best first, guided by
// how far the master tiles stand from the final places (other pieces and
// closed doors on the way count), looks for any solution within the same
// limits; its answer is not proven optimal.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Historique.h"
#include "Plateau.h"

namespace glissaro {

enum class MesureSolveur {
  Coups,  // the game's moves: consecutive steps of one piece are one move, an opened door adds one
  Pas,    // single steps
};

struct OptionsSolveur {
  MesureSolveur mesure = MesureSolveur::Coups;
  std::size_t limiteEtats = 4'000'000;
  const std::atomic<bool>* annuler = nullptr;  // set it to stop the search
  // The memory the search may take, in bytes: its table, keys, links and
  // queues as allocated (the limit that comes first ends the search).
  std::size_t limiteMemoire = std::size_t{512} << 20;
  // When the optimal search meets a limit, look for any solution.
  bool approchee = true;
  // For the moves: the optimal search also counts the pieces that stand
  // where every way of a master piece to its place goes (each has to move
  // at least once), beside the doors it has to open. Off only to check it.
  bool pieceSurLeChemin = true;
  // For the optimal search: the pieces of a room no door of which has
  // opened yet are only moved when a master piece's next move can open
  // one (the moves there can always wait until then). Fewer states for
  // the same answer, but more of the search's work for each state: on a
  // board it cannot prove within its limit it goes deeper in more time,
  // so it is for the proofs (glissaro-plateaux) only.
  bool sallesFermees = false;
  // For the moves, on a board of rooms with one master piece: the optimal
  // search also adds, room by room, the fewest moves its pieces and the
  // master piece (while it stands in that room) need for the master to
  // reach its place, every other piece taken away; each room's answers
  // are worked out once, before the search, for every arrangement its
  // pieces can reach. For the proofs (glissaro-plateaux): seconds per
  // room before the search starts.
  bool borneDesSalles = false;
};

enum class IssueSolveur { Solution, AucuneSolution, LimiteAtteinte, Annule };

// One step of the solution: the piece that has a tile at (row, column)
// before the step goes one cell that way (EvHaut, EvBas, EvGauche, EvDroite).
struct PasSolution {
  int ligne = 0;
  int colonne = 0;
  int8_t direction = 0;
};

struct ResultatSolveur {
  IssueSolveur issue = IssueSolveur::AucuneSolution;
  bool optimale = false;  // a solution proven to be the fewest moves (or steps)
  int coups = 0;          // the game's moves of the solution found
  int pas = 0;            // its single steps
  std::size_t etats = 0;  // states met (both searches)
  std::size_t memoire = 0;  // the most memory the search held at once, in bytes
  std::vector<PasSolution> chemin;
};

// Solves from the board as it stands.
ResultatSolveur Resoudre(const TPlateau& plateau, const OptionsSolveur& options = {});

// For a program that runs many searches (the game's hints and records, the
// tools' reviews): the memory a search gives back, a few megabytes on most
// boards, stays with the allocator for the next search (up to 64 MiB)
// instead of going back to the system and being faulted in again, page by
// page, which costs more than the search itself on the small boards. Once,
// at the program's entry.
void GarderLaMemoireDesRecherches();

}  // namespace glissaro
