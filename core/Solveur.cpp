#include "Solveur.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "JeuSolution.h"
#include "Pieces.h"
#include "TableEtats.h"

namespace glissaro {

namespace {

using solveur::Memoire;
using solveur::Pages;
using solveur::Seaux;
using solveur::Table;

constexpr std::array<int8_t, 4> kDirections = {EvHaut, EvBas, EvGauche, EvDroite};

// The guide of the best-first search, in sixteenths of a move: a step on
// floor costs one, a cell held by a piece that is not a master a whole
// move, a door cell that is not open half a move.
constexpr int kUnite = 16;
constexpr int kAutre = kUnite;
constexpr int kPorte = kUnite / 2;
constexpr int kEstimationMax = 0x3FFF;
// A bound for a state no sequence of moves can solve.
constexpr uint16_t kSansIssue = 0xFFFF;

// A state's fingerprint as it is built: two words xored. It xors random
// words of each piece kind at each anchor and of each door cell's state:
// a step changes it by two words.
struct Hachage {
  uint64_t a = 0;
  uint64_t b = 0;
  Hachage& operator^=(const Hachage& o) {
    a ^= o.a;
    b ^= o.b;
    return *this;
  }
  // What the table keeps of it: 80 bits.
  Table::Empreinte Empreinte() const { return {a, static_cast<uint16_t>(b >> 48)}; }
  // The order that picks the key kept, the state's or its mirror's.
  bool AuPlus(const Hachage& o) const { return a < o.a || (a == o.a && b <= o.b); }
  // What a state and its mirror share: the sum of their fingerprints,
  // spread as evenly as each (the smaller of the two would crowd the
  // table's first slots).
  Hachage PlusMiroir(const Hachage& o) const { return {a + o.a, b + o.b}; }
};

// On a small board without doors, a state's key is the state itself: for
// each kind of piece, the set of anchors its pieces stand at, one bit for
// each anchor where the kind fits between the borders, the kinds side by
// side in 80 bits. Identical pieces are one set, so there is nothing to
// sort; a move changes two bits; and the table's fingerprint is the key,
// its first word mixed by a bijection (spread over the slots, and no two
// states share one).
struct CleExacte {
  uint64_t a = 0;
  uint16_t b = 0;
  CleExacte& operator^=(const CleExacte& o) {
    a ^= o.a;
    b = static_cast<uint16_t>(b ^ o.b);
    return *this;
  }
  CleExacte& operator|=(const CleExacte& o) {
    a |= o.a;
    b = static_cast<uint16_t>(b | o.b);
    return *this;
  }
  CleExacte& operator&=(const CleExacte& o) {
    a &= o.a;
    b = static_cast<uint16_t>(b & o.b);
    return *this;
  }
  // These bits, less o's.
  CleExacte Sauf(const CleExacte& o) const { return {a & ~o.a, static_cast<uint16_t>(b & ~o.b)}; }
  bool operator<(const CleExacte& o) const { return a < o.a || (a == o.a && b < o.b); }
  bool operator==(const CleExacte&) const = default;
  Table::Empreinte Empreinte() const {
    uint64_t x = a ^ (uint64_t{b} << 47);  // the mix spreads b's bits too
    x = (x ^ (x >> 33)) * 0xFF51AFD7ED558CCDull;
    x = (x ^ (x >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return {x ^ (x >> 33), b};
  }
};
// Its bytes.
constexpr std::size_t kOctetsExacts = sizeof(uint64_t) + sizeof(uint16_t);

// The board's cells as bits.
template <int N>
struct Bits {
  std::array<uint64_t, N> m{};
  void Poser(int i) { m[static_cast<std::size_t>(i >> 6)] |= uint64_t{1} << (i & 63); }
  bool Test(int i) const { return (m[static_cast<std::size_t>(i >> 6)] >> (i & 63)) & 1; }
  Bits& operator|=(const Bits& o) {
    for (std::size_t w = 0; w < N; ++w) m[w] |= o.m[w];
    return *this;
  }
  Bits& operator^=(const Bits& o) {
    for (std::size_t w = 0; w < N; ++w) m[w] ^= o.m[w];
    return *this;
  }
  bool Croise(const Bits& o) const {
    uint64_t x = 0;
    for (std::size_t w = 0; w < N; ++w) x |= m[w] & o.m[w];
    return x != 0;
  }
  bool Contient(const Bits& o) const {
    uint64_t x = 0;
    for (std::size_t w = 0; w < N; ++w) x |= o.m[w] & ~m[w];
    return x == 0;
  }
  // The cells beside these, n places before or after in the order of
  // the indices (0 < n < 64).
  Bits Autour(int n) const {
    Bits r;
    for (std::size_t w = 0; w < N; ++w) {
      r.m[w] = m[w] << n | m[w] >> n;
      if (w > 0) r.m[w] |= m[w - 1] >> (64 - n);
      if (w + 1 < N) r.m[w] |= m[w + 1] << (64 - n);
    }
    return r;
  }
};

// The door cells' states: touched (not yet open) and open. A closed cell
// is in neither.
constexpr std::size_t kMotsPortes = (kLargeurMax * kHauteurMax + 63) / 64;
using MotsPortes = std::array<uint64_t, kMotsPortes>;
struct Portes {
  MotsPortes touchees{};
  MotsPortes ouvertes{};
  bool operator==(const Portes&) const = default;
};
bool BitDe(const MotsPortes& m, int i) { return (m[static_cast<std::size_t>(i >> 6)] >> (i & 63)) & 1; }
void PoserBit(MotsPortes& m, int i) { m[static_cast<std::size_t>(i >> 6)] |= uint64_t{1} << (i & 63); }

// A door cell a master tile may touch from where it stands, in the order
// the game looks at them: the cell itself, and for a corner the two cells
// that must be border (-1: border always; otherwise a door cell, border
// until it opens).
struct Toucher {
  int16_t porte;
  int16_t cadre1 = -1;
  int16_t cadre2 = -1;
};

// The place at that offset (rows, columns) from p.
TPosition Decale(TPosition p, TPosition decalage) { return {p.ligne + decalage.ligne, p.colonne + decalage.colonne}; }

// The states of a smaller game (the rooms' bound), by a key of 128 bits:
// each kept once, found by open addressing. Index 0 is the solved state,
// which has no key.
class EtatsDeSalle {
 public:
  using Cle = unsigned __int128;
  std::size_t Nombre() const { return cles_.size(); }
  Cle CleDe(uint32_t i) const { return cles_[i]; }
  std::size_t Octets() const { return cles_.capacity() * sizeof(Cle) + places_.size() * sizeof(uint32_t); }
  // The state's index, the state added when new.
  uint32_t Indice(Cle c) {
    if (2 * cles_.size() >= places_.size()) Agrandir();
    const std::size_t masque = places_.size() - 1;
    for (std::size_t p = Hacher(c) & masque;; p = (p + 1) & masque) {
      if (places_[p] == 0) {
        places_[p] = static_cast<uint32_t>(cles_.size());
        cles_.push_back(c);
        return places_[p];
      }
      if (cles_[places_[p]] == c) return places_[p];
    }
  }
  // Its index, or 0 when it is not there.
  uint32_t Trouver(Cle c) const {
    const std::size_t masque = places_.size() - 1;
    for (std::size_t p = Hacher(c) & masque;; p = (p + 1) & masque) {
      if (places_[p] == 0) return 0;
      if (cles_[places_[p]] == c) return places_[p];
    }
  }

 private:
  static std::size_t Hacher(Cle c) {
    uint64_t x = (static_cast<uint64_t>(c) ^ static_cast<uint64_t>(c >> 64) * 0xC2B2AE3D27D4EB4Full) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(x ^ (x >> 31));
  }
  void Agrandir() {
    places_.assign(places_.size() * 2, 0);
    const std::size_t masque = places_.size() - 1;
    for (uint32_t i = 1; i < cles_.size(); ++i) {
      std::size_t p = Hacher(cles_[i]) & masque;
      while (places_[p] != 0) p = (p + 1) & masque;
      places_[p] = i;
    }
  }
  std::vector<Cle> cles_ = std::vector<Cle>(1);
  std::vector<uint32_t> places_ = std::vector<uint32_t>(1024, 0);
};

template <int N>
class Solveur {
 public:
  Solveur(const TPlateau& plateau, const OptionsSolveur& options) : depart_(plateau), options_(options) { Analyser(); }
  ResultatSolveur Resoudre();

 private:
  using B = Bits<N>;
  enum class Fin { Solution, Aucune, Limite, Annule };
  // How a state was reached: its parent, the moved piece's anchor before
  // (in the parent's key) and after (in the state's own key), its cost and
  // estimate, the step's direction (for the steps; in the parent's key).
  // On a board that is its own mirror, a state and its mirror are one, and
  // the key kept is the one it was first reached by (direct when it has
  // the smaller fingerprint of the two): a later move may lead to the
  // mirror of the key kept (miroir).
  struct Lien {
    uint32_t parent;
    uint16_t avant;
    uint16_t apres;
    uint16_t cout;
    uint16_t estimation;
    int8_t direction;
    uint8_t miroir;
    uint8_t direct;
  };
  // A place of one piece's flood: its anchor, the doors there, the node it
  // came from and the step's direction, the doors opened on the way.
  struct Noeud {
    uint16_t ancre;
    uint16_t portes;  // index in portesVues_
    int32_t parent;
    int8_t direction;
    uint8_t ouvertes;
  };
  // A state one expansion reaches, fingerprinted; its key is written only
  // when it is new.
  struct Suivant {
    Hachage hachage;  // the state's, or with its mirror's (PlusMiroir)
    bool direct;      // it is the state's own
    int piece;
    uint16_t avant, apres;
    int portes;  // in lotPortes, or -1 when the doors stay
    int cout;
    int8_t direction;
  };
  // One search: the states met, how each was reached and the queues; the
  // state being expanded and the states it reaches, their slots asked for
  // before any is looked up.
  struct Recherche {
    Recherche(Memoire& memoire, std::size_t tailleCle, const OptionsSolveur& options, bool approchee)
        : table(memoire, tailleCle, options.limiteMemoire),
          liens(memoire, 1, 4096),
          seaux(memoire),
          approchee(approchee),
          coups(options.mesure == MesureSolveur::Coups),
          departage(!approchee && options.borneDesSalles),
          depart(tailleCle) {}
    // The best-first search weighs a move as kUnite sixteenths of the
    // estimate; a step as one.
    std::size_t Priorite(int cout, int estimation) const {
      if (departage) return static_cast<std::size_t>(cout + estimation) * kDepartage + static_cast<std::size_t>(std::min(estimation, kDepartage - 1));
      return static_cast<std::size_t>(approchee && coups ? kUnite * cout + estimation : cout + estimation);
    }
    // The cost level of a priority.
    std::size_t Niveau(std::size_t priorite) const { return departage ? priorite / kDepartage : priorite; }
    // For the proofs: among the states of one level, those nearest the
    // end first (the bound is then close enough that a solution at the
    // level is found before the level is exhausted).
    static constexpr int kDepartage = 64;

    Table table;
    Pages<Lien> liens;
    Seaux seaux;
    const bool approchee;
    const bool coups;
    const bool departage;
    std::vector<uint8_t> depart;  // the start's key
    const uint8_t* cle = nullptr;  // of the state being expanded, where the table keeps it
    std::vector<uint16_t> ancres;  // its pieces' anchors
    std::vector<const B*> formes;  // the masks of each piece at its anchor
    Portes portes;             // its doors
    Hachage hachage;           // its fingerprint
    Hachage hachageMiroir;     // its mirror's, on a board that is its own mirror
    std::vector<Suivant> suivants;
    std::vector<Portes> lotPortes;  // the doors of the states proposed that change them
    Portes suivantes;               // the doors after a step, as it is proposed
  };
  // What a table check leaves for the states between two checks.
  static constexpr std::size_t kReserve = 2 * (4096 * sizeof(Lien) + 4096 * sizeof(uint32_t) + 64);
  // The rooms' bound's states and tables (see sallesBornees_).
  using CleSalle = EtatsDeSalle::Cle;
  struct SalleBornee {
    int salle = 0;
    std::vector<int> portes;     // the room's door cells
    Portes autres;               // every other door cell open
    // By anchor of the master kind: kDansLaSalle on the room or its
    // doors, kAuDela on the side of the final places, else a side.
    std::vector<int> cote;
    std::vector<int> representants;             // by side: one of its anchors
    std::vector<std::vector<int>> touchantes;   // by side: its anchors that touch the room's doors
    // By kind: left out of the room's game, which would have too many
    // states with it (leaving pieces out only lowers the bound).
    std::vector<char> ignorees;
    bool maitreCompte = true;  // the master's moves count (in one game of the room only)
    EtatsDeSalle etats;
    std::vector<uint8_t> couts;  // by state: the fewest moves that solve it, 0xFF never
  };
  static constexpr int kDansLaSalle = -1;
  static constexpr int kAuDela = -2;
  static constexpr int kPiecesSalleMax = 7;
  static constexpr int kPortesSalleMax = 8;
  // A larger room's game is split: on La citadelle the bound is as high
  // and the games take a tenth of the time.
  static constexpr std::size_t kEtatsSalleMax = 1'000'000;

  // The analysis of the board, step by step.
  void Analyser();
  void LireCases();
  void GrouperPortes();
  void RangerClasses();
  void PoserMasques();
  void PoserFormes(std::size_t classe, TPosition ancre);
  void ListerTouchers(std::size_t classe, TPosition ancre);
  bool Cadre(TPosition p, int16_t* condition) const;
  void DesignerMaitres();
  void PreparerCles();
  void PreparerMiroir();
  void PreparerBornes();
  void PreparerExacte();
  void CompterMemoireFixe();

  int Indice(int l, int c) const { return l * pas_ + c - 1; }
  int Indice(TPosition p) const { return Indice(p.ligne, p.colonne); }
  TPosition PositionDe(int i) const { return {i / pas_, i % pas_ + 1}; }
  // The index in kDirections of the way back.
  static std::size_t Oppose(int8_t d) { return d == EvHaut ? 1 : d == EvBas ? 0 : d == EvGauche ? 3 : 2; }
  int Delta(int8_t d) const { return d == EvHaut ? -pas_ : d == EvBas ? pas_ : d == EvGauche ? -1 : 1; }
  // The masks of a kind at an anchor. quoi: 0 to 3 the cells ahead in
  // kDirections' order, 4 the piece, 5 its master tiles.
  std::size_t IndiceForme(int classe, int ancre, int quoi) const {
    return (static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(ancre)) * 6 +
           static_cast<std::size_t>(quoi);
  }
  const B& Forme(int classe, int ancre, int quoi) const { return masques_[IndiceForme(classe, ancre, quoi)]; }
  B& Forme(int classe, int ancre, int quoi) { return masques_[IndiceForme(classe, ancre, quoi)]; }

  uint16_t Ancre(const uint8_t* k, int p) const {
    return ancreLarge_ ? static_cast<uint16_t>(k[2 * p] | (k[2 * p + 1] << 8)) : k[p];
  }
  void PoserAncre(uint8_t* k, int p, uint16_t a) const {
    if (ancreLarge_) {
      k[2 * p] = static_cast<uint8_t>(a & 0xFF);
      k[2 * p + 1] = static_cast<uint8_t>(a >> 8);
    } else {
      k[p] = static_cast<uint8_t>(a);
    }
  }
  // Puts the anchors of piece p's kind back in order after p moved.
  void Canoniser(uint8_t* k, int p) const;
  void LirePortes(const uint8_t* k, Portes& portes) const;
  void EcrirePortes(uint8_t* k, const Portes& portes) const;
  bool PorteFermee(const Portes& portes) const;
  // Door cells that block: every one not open.
  B Bloquantes(const Portes& portes) const;
  // Where every piece stands, with borders and doors; and the master tiles.
  B Occupation(const uint8_t* k, const Portes& portes, B* maitres) const;
  // The state in s.cle, read once: its doors and anchors, its fingerprint
  // (and its mirror's, on a board that is its own mirror: it has no
  // doors), where every piece stands and the master tiles.
  B Lire(Recherche& s, B& maitres) const;
  // The game's door pass after a master piece of that kind came to that
  // anchor; gives the number of doors it opened.
  int PasserPortes(int classe, int ancre, Portes& portes) const;
  // Every place piece p reaches in one move from state k (occupation occ),
  // in noeuds_ (the first is where it stands).
  void Inonder(const Portes& portes, const B& occ, int p, uint16_t a0);
  uint16_t Estimer(const uint8_t* k) const;
  // A lower bound of what solving still costs, for the optimal search:
  // for the steps, how far each final place is from the nearest master
  // piece that can cover it, other pieces aside; for the moves on a board
  // with doors, one move and the doors a master piece must open on its
  // way to each place. kSansIssue when no master piece can reach a place.
  // suivant: the move that led from the state expanded, whose pieces
  // PreparerChemin read (the pieces on the way are then counted from
  // those), or null.
  uint16_t Borne(const uint8_t* k, const Suivant* suivant = nullptr);
  uint16_t BornePortes(const uint8_t* k);
  // For the moves: the pieces standing where every way of a master piece
  // to each place goes (each has to move), plus the master's own move.
  uint16_t SurLeChemin(const uint8_t* k, const Suivant* suivant) const;
  void PreparerChemin(const uint8_t* k) const;
  void PreparerObligatoires();
  void TrouverSalles();
  void PreparerSallesBornees();
  int ExplorerSalle(SalleBornee& salle);
  // The doors of the room's game: the room's own as in those, the others open.
  Portes PortesDeLaSalle(const SalleBornee& salle, const Portes& portes) const {
    Portes p = salle.autres;
    for (int j : salle.portes) {
      if (BitDe(portes.touchees, j)) PoserBit(p.touchees, j);
      if (BitDe(portes.ouvertes, j)) PoserBit(p.ouvertes, j);
    }
    return p;
  }
  // The room's doors as the master leaves them once free on that side.
  void ToucherDepuis(const SalleBornee& salle, int cote, Portes& portes) const;
  CleSalle CleDeSalle(const SalleBornee& salle, int maitre, const Portes& portes, std::vector<uint16_t>& pieces) const;
  uint16_t BorneDesSalles(const uint8_t* k) const;
  // The cost of that state of the room's game, or -1 when its start never
  // reaches it.
  int Cout(const SalleBornee& salle, int maitre, const Portes& portes, std::vector<uint16_t> pieces) const {
    const uint32_t i = salle.etats.Trouver(CleDeSalle(salle, maitre, portes, pieces));
    return i == 0 ? -1 : salle.couts[i];
  }
  // Which rooms the optimal search leaves alone from the state expanded.
  bool Geler(const Recherche& s, const B& occ);
  std::vector<uint16_t> CalculerBornes(const Portes* portes) const;
  // The cells of the rooms the master pieces stand in: floor joined by
  // its sides, door cells closing a room whether open or not.
  B Salle(const uint8_t* k) const;
  // What going through the doors not open under those cells costs the
  // estimate: more for each of their cells still to touch.
  int PrixPorte(const B& cellules, const Portes& portes) const {
    int prix = 0;
    for (std::size_t j = 0; j < cellulePorte_.size(); ++j) {
      if (!cellules.Test(cellulePorte_[j]) || BitDe(portes.ouvertes, static_cast<int>(j))) continue;
      const MotsPortes& m = membres_[static_cast<std::size_t>(groupeDe_[j])];
      int restantes = 0;
      for (std::size_t w = 0; w < kMotsPortes; ++w)
        restantes += std::popcount(m[w] & ~(portes.touchees[w] | portes.ouvertes[w]));
      prix = std::max(prix, kPorte * (restantes + 2));
    }
    return std::min(prix, prixPorteMax_);
  }
  const Hachage& Alea(int classe, int ancre) const {
    return aleas_[static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(ancre)];
  }
  // The mirror: of a kind at an anchor (its kind and anchor there), of a
  // key, of a step.
  const Hachage& AleaMiroir(int classe, int ancre) const {
    return aleasMiroir_[static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(ancre)];
  }
  uint16_t AncreMiroir(int classe, int ancre) const {
    return ancresMiroir_[static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(ancre)];
  }
  void MiroirDeCle(const uint8_t* k, uint8_t* miroir) const;
  PasSolution MiroirDePas(PasSolution pas) const {
    const TPosition cellule = Reflet({pas.ligne, pas.colonne});
    pas.ligne = cellule.ligne;
    pas.colonne = cellule.colonne;
    const int8_t a = miroirVertical_ ? EvHaut : EvGauche, b = miroirVertical_ ? EvBas : EvDroite;
    if (pas.direction == a || pas.direction == b) pas.direction = pas.direction == a ? b : a;
    return pas;
  }
  // The cell that mirrors p.
  TPosition Reflet(TPosition p) const {
    return miroirVertical_ ? TPosition{depart_.Hauteur + 1 - p.ligne, p.colonne} : TPosition{p.ligne, depart_.Largeur + 1 - p.colonne};
  }
  Hachage DifferencePortes(const Portes& x, const Portes& y) const;
  // One search, optimal or best first, and its steps.
  Fin Chercher(bool approchee, ResultatSolveur& r, int* niveauAtteint);
  // The optimal search on exact keys (see CleExacte). A state's entry in
  // the table's keys: its key as it was reached (the table knows it with
  // its mirror, by the smaller of the two), where its pieces stand, and on
  // a board that is its own mirror the mirror's key.
  struct EntreeExacte {
    CleExacte cle;
    B occ;
    CleExacte reflet;
  };
  std::size_t OctetsEntreeExacte() const { return miroir_ ? kOctetsEntreeExacte : kOctetsEntreeExacte - kOctetsExacts; }
  static constexpr std::size_t kOctetsEntreeExacte = 2 * kOctetsExacts + sizeof(uint64_t);
  void EcrireEntree(uint8_t* k, const EntreeExacte& x) const {
    std::memcpy(k, &x.cle.a, 8);
    std::memcpy(k + 8, &x.cle.b, 2);
    std::memcpy(k + 10, &x.occ.m[0], 8);
    if (!miroir_) return;
    std::memcpy(k + 18, &x.reflet.a, 8);
    std::memcpy(k + 26, &x.reflet.b, 2);
  }
  EntreeExacte LireEntree(const uint8_t* k) const {
    EntreeExacte x;
    std::memcpy(&x.cle.a, k, 8);
    std::memcpy(&x.cle.b, k + 8, 2);
    std::memcpy(&x.occ.m[0], k + 10, 8);
    if (!miroir_) return x;
    std::memcpy(&x.reflet.a, k + 18, 8);
    std::memcpy(&x.reflet.b, k + 26, 2);
    return x;
  }
  // What the table knows a state by.
  CleExacte Canonique(const CleExacte& cle, const CleExacte& reflet) const { return miroir_ && reflet < cle ? reflet : cle; }
  Fin ChercherExacte(ResultatSolveur& r, int* niveauAtteint);
  struct SuivantExact {
    CleExacte cle, reflet;
    Table::Empreinte empreinte;
    uint16_t avant, apres;
    uint8_t classe;
    int8_t direction;
  };
  // The whole state of an exact key: its entry, and the anchors and master
  // tiles of its pieces, in the byte keys' order.
  EntreeExacte LireExacte(const CleExacte& cle, uint8_t* ancres, B& maitres) const;
  // The master tiles alone.
  B MaitresExacts(const CleExacte& cle) const;
  template <class F>
  [[gnu::always_inline]] inline void Deplacements(const CleExacte& cle, const B& occ, uint16_t immobile, F&& f) const;
  // The anchors piece kind classe reaches from a in one move (a aside),
  // on a board of one word.
  [[gnu::always_inline]] inline uint64_t Atteintes(const B& occ, int classe, uint16_t a) const;
  std::optional<Fin> Commencer(Recherche& s, ResultatSolveur& r);
  void Developper(Recherche& s, uint32_t e, const Lien& lien, const B& occ);
  // Whether the search leaves a piece alone: outside the master pieces'
  // room salle (best first), or in a room left alone (gel).
  [[gnu::noinline]] bool Laissee(int classe, uint16_t a, const B* salle, bool gel) const;

  // Whether a piece of that kind fits at that anchor with only floor and
  // door cells under it (anchors off the board too).
  bool Tient(int classe, int a) const {
    if (a < 0 || a >= cellules_) return false;
    const B& forme = Forme(classe, a, 4);
    bool vide = true;
    for (uint64_t w : forme.m) vide = vide && w == 0;
    return !vide && !fixes_.Croise(forme);
  }
  // The ways piece kind classe at anchor a is free to step, as bits in
  // kDirections' order.
  unsigned Libres(const B& occ, int classe, int a) const { return Libres(occ, &Forme(classe, a, 0)); }
  static unsigned Libres(const B& occ, const B* devant) {
    unsigned libres = 0;
    for (std::size_t d = 0; d < kDirections.size(); ++d) libres |= static_cast<unsigned>(!occ.Croise(devant[d])) << d;
    return libres;
  }
  [[gnu::always_inline]] inline void ProposerPas(Recherche& s, uint32_t e, const Lien& lien, const B& occ, int p, uint16_t a,
                                                 bool portesEnJeu);
  [[gnu::always_inline]] inline void ProposerCoups(Recherche& s, uint32_t e, const Lien& lien, const B& occ, int p, uint16_t a);
  [[gnu::always_inline]] inline void Proposer(Recherche& s, int p, uint16_t avant, uint16_t apres, const Portes* portes,
                                              int cout, int8_t direction);
  bool AjouterSuivants(Recherche& s, uint32_t parent);
  // exactes: the table of a search on exact keys.
  std::vector<PasSolution> Chemin(uint32_t fin, const Table& table, const Pages<Lien>& liens, bool exactes);
  PasSolution PasDe(int ancre, int8_t d) const {
    const TPosition p = PositionDe(ancre);
    return {p.ligne, p.colonne, d};
  }
  // The steps of the current flood from where it starts to its node i.
  std::vector<PasSolution> PasDeLaCrue(std::size_t i) const {
    std::vector<PasSolution> pas;
    for (; noeuds_[i].parent >= 0; i = static_cast<std::size_t>(noeuds_[i].parent))
      pas.push_back(PasDe(noeuds_[static_cast<std::size_t>(noeuds_[i].parent)].ancre, noeuds_[i].direction));
    std::reverse(pas.begin(), pas.end());
    return pas;
  }

  const TPlateau& depart_;
  OptionsSolveur options_;
  int pas_ = 0;       // cells a row, the guard column included
  int cellules_ = 0;  // cells, the guard rows included
  std::vector<TSorte> classes_;  // the kinds of piece, each interchangeable pieces
  std::vector<int> classeDe_;    // kind of each piece index
  std::vector<int> debutClasse_;  // first piece index of each kind, and the end
  std::vector<uint16_t> ancresDepart_;
  int nbPieces_ = 0;
  bool ancreLarge_ = false;
  std::size_t tailleCle_ = 0;
  std::size_t octetsPortes_ = 0;
  std::vector<B> masques_;
  B fixes_;    // borders, guards and door cells that are never doors
  B sol_;      // the other cells: floor and door cells
  B finales_;  // final places
  std::vector<int> placesFinales_;
  std::vector<int> cellulePorte_;  // board cell of each door cell
  std::vector<int> porteDe_;       // door cell of each board cell, or -1
  std::vector<MotsPortes> membres_;  // door cells of each door
  std::vector<int> groupeDe_;        // door of each door cell
  int prixPorteMax_ = 4 * kPorte;
  Portes portesDepart_;
  std::vector<std::vector<Toucher>> touchers_;  // by kind × cell
  std::vector<Hachage> aleas_;        // by kind × cell
  std::vector<Hachage> aleasPortes_;  // by door cell: touched, open
  // A board without doors whose fixed cells, final places and kinds of
  // piece are their own mirror (left for right, or top for bottom): each
  // kind's mirror kind, and by kind × cell the mirror's anchor and random
  // words.
  bool miroir_ = false;
  bool miroirVertical_ = false;  // the mirror is top to bottom
  std::vector<int> classeMiroir_;
  std::vector<uint16_t> ancresMiroir_;
  std::vector<Hachage> aleasMiroir_;
  mutable std::vector<uint16_t> ancresTriees_;  // MiroirDeCle's work
  std::size_t octetsFixes_ = 0;
  Memoire memoire_;

  // The current flood.
  std::vector<Noeud> noeuds_;
  std::vector<Portes> portesVues_;
  std::vector<B> vus_;
  std::vector<B> bloqueVues_;
  // The estimate's work.
  mutable std::vector<uint16_t> distances_;
  // By kind × cell: the ways (bits in kDirections' order) whose cells
  // ahead are all floor or door cells.
  std::vector<uint8_t> versSol_;
  mutable std::vector<int> meilleures_;
  mutable std::vector<int> pileSalle_;
  // The bounds by master kind, anchor and final place; for the moves, one
  // table for each set of open door cells met.
  std::vector<int> indiceMaitre_;  // of each kind among the master kinds, or -1
  int nbMaitres_ = 0;
  std::vector<int> piecesMaitresses_;
  std::vector<char> maitre_;  // of each piece: taken by a master tile, it touches doors
  std::array<int, 4> delta_{};  // a step in each of kDirections
  std::vector<uint16_t> bornesPas_;
  bool surLeChemin_ = false;
  // By master kind × goal × anchor: the cells every way of the kind from
  // that anchor to the goal goes through, and whether there is a way.
  std::vector<B> butsObligatoires_;  // the places of each goal
  std::vector<B> obligatoires_;
  // By kind, its tiles' cells from its anchor's, and the anchors where it
  // fits between the borders.
  std::vector<std::vector<int>> cellulesDe_;
  std::vector<B> ancresPossibles_;
  // Exact keys: by kind × cell, the bit of the kind at that anchor, and of
  // its mirror.
  bool exacte_ = false;
  std::vector<CleExacte> codes_, codesMiroir_;
  CleExacte cleMaitres_;  // the bits of the master kinds
  // By cell: the bits of every piece that would stand beside it, and of
  // every piece anchored there.
  std::vector<CleExacte> voisinsCle_, ancreCle_;
  // By bit of the exact keys (word b's from 64): the anchor, its masks
  // (the six of Forme), the mirror's bit and the kind.
  struct Pose {
    const B* formes = nullptr;
    CleExacte miroir;
    uint16_t ancre = 0;
    uint8_t classe = 0;
  };
  std::vector<Pose> poses_;
  // f(pose) for each bit of the key, in the bits' order, which is the
  // kinds' order.
  template <class F>
  [[gnu::always_inline]] void ParPose(const CleExacte& cle, F&& f) const {
    const Pose* poses = poses_.data();
    for (uint64_t bits = cle.a; bits; bits &= bits - 1) f(poses[std::countr_zero(bits)]);
    for (unsigned bits = cle.b; bits; bits &= bits - 1) f(poses[64 + std::countr_zero(bits)]);
  }
  // SurLeChemin's work: by cell, the piece there in the state weighed; by
  // piece, the last count that met it.
  mutable std::vector<int16_t> pieceSur_;
  mutable B piecesParent_;
  mutable bool cheminPret_ = false;       // piecesParent_ and pieceSur_ are the state expanded's
  const uint8_t* cleChemin_ = nullptr;    // the key of the state expanded
  mutable std::vector<uint32_t> marques_;
  mutable uint32_t marque_ = 0;
  std::vector<char> joignables_;
  std::vector<uint16_t> pireDepuis_;  // one master piece: its bound at each anchor
  std::map<MotsPortes, std::vector<uint16_t>> bornesPortes_;
  // The rooms (floor joined by its sides, door cells between them), for
  // the optimal search: the room of each cell (or -1), the door cells
  // beside each room, and by room whether the state expanded leaves its
  // pieces alone (see Developper).
  std::vector<int> salleDe_;
  std::vector<MotsPortes> portesDeSalle_;
  std::vector<B> cellulesDeSalle_;
  std::vector<char> gelees_;
  mutable std::vector<std::vector<int16_t>> fileDistances_;
  // The rooms' bound (OptionsSolveur::borneDesSalles). For each room, a
  // smaller game: its pieces and the master piece alone on the board,
  // every door open but the room's own; a piece that leaves the room is
  // taken off. Its cost: the moves of the room's pieces, and the moves
  // that bring the master's first tile into the room. Any solution of the
  // whole game, its other pieces taken away, plays there (the other
  // pieces only stand in the way), and each move is counted in at most
  // one room: the sum over the rooms, plus the doors still to open, is a
  // lower bound of what solving costs. The master outside the room is
  // free: where it stands there counts only as the side of the room it
  // is on, with the room's doors it can touch from that side touched.
  std::vector<SalleBornee> sallesBornees_;
  std::vector<int8_t> salleEntiere_;  // by kind × anchor: the room that holds the whole piece, or -1
  std::vector<int> pile_;             // ExplorerSalle's work
  mutable std::vector<std::vector<uint16_t>> piecesDesSalles_;  // BorneDesSalles' work, by room
  mutable std::vector<uint16_t> piecesSalle_, piecesMoins_;
};

template <int N>
void Solveur<N>::Analyser() {
  pas_ = depart_.Largeur + 1;
  cellules_ = (depart_.Hauteur + 2) * pas_;
  for (std::size_t d = 0; d < kDirections.size(); ++d) delta_[d] = Delta(kDirections[d]);
  LireCases();
  GrouperPortes();
  RangerClasses();
  PoserMasques();
  DesignerMaitres();
  PreparerCles();
  PreparerMiroir();
  PreparerBornes();
  PreparerExacte();
  TrouverSalles();
  PreparerSallesBornees();
  CompterMemoireFixe();
}

// The rooms, on a board with doors that has several.
template <int N>
void Solveur<N>::TrouverSalles() {
  if (cellulePorte_.empty()) return;
  salleDe_.assign(static_cast<std::size_t>(cellules_), -1);
  int n = 0;
  for (int i0 = 0; i0 < cellules_; ++i0) {
    if (fixes_.Test(i0) || porteDe_[static_cast<std::size_t>(i0)] >= 0 || salleDe_[static_cast<std::size_t>(i0)] >= 0) continue;
    portesDeSalle_.emplace_back();
    cellulesDeSalle_.emplace_back();
    std::vector<int> pile{i0};
    salleDe_[static_cast<std::size_t>(i0)] = n;
    while (!pile.empty()) {
      const int i = pile.back();
      pile.pop_back();
      cellulesDeSalle_.back().Poser(i);
      for (int dlt : delta_) {
        const int v = i + dlt;
        if (porteDe_[static_cast<std::size_t>(v)] >= 0) PoserBit(portesDeSalle_.back(), porteDe_[static_cast<std::size_t>(v)]);
        if (fixes_.Test(v) || porteDe_[static_cast<std::size_t>(v)] >= 0 || salleDe_[static_cast<std::size_t>(v)] >= 0) continue;
        salleDe_[static_cast<std::size_t>(v)] = n;
        pile.push_back(v);
      }
    }
    ++n;
  }
  if (n < 2) {
    salleDe_.clear();
    portesDeSalle_.clear();
    cellulesDeSalle_.clear();
  }
  gelees_.assign(static_cast<std::size_t>(n), 0);
}

// The rooms' bound, when asked for and the board allows it: one master
// piece, the only one that touches doors; rooms of a few pieces whose
// doors no corner touch ties to another door's.
template <int N>
void Solveur<N>::PreparerSallesBornees() {
  if (!options_.borneDesSalles || options_.mesure != MesureSolveur::Coups || salleDe_.empty() ||
      piecesMaitresses_.size() != 1 || classes_.size() > 30 || cellules_ > 400)
    return;
  const int pm = piecesMaitresses_[0];
  for (int p = 0; p < nbPieces_; ++p)
    if (maitre_[static_cast<std::size_t>(p)] && p != pm) return;
  const int km = classeDe_[static_cast<std::size_t>(pm)];
  const auto C = static_cast<std::size_t>(cellules_);
  piecesDesSalles_.resize(cellulesDeSalle_.size());
  salleEntiere_.assign(classes_.size() * C, -1);
  for (std::size_t k = 0; k < classes_.size(); ++k)
    for (int a = 0; a < cellules_; ++a) {
      if (!Tient(static_cast<int>(k), a)) continue;
      const int r = salleDe_[static_cast<std::size_t>(a + cellulesDe_[k][0])];
      if (r >= 0 && cellulesDeSalle_[static_cast<std::size_t>(r)].Contient(Forme(static_cast<int>(k), a, 4)))
        salleEntiere_[k * C + static_cast<std::size_t>(a)] = static_cast<int8_t>(r);
    }
  for (std::size_t r = 0; r < cellulesDeSalle_.size(); ++r) {
    SalleBornee salle;
    salle.salle = static_cast<int>(r);
    B interieur = cellulesDeSalle_[r];
    for (std::size_t j = 0; j < cellulePorte_.size(); ++j) {
      if (BitDe(portesDeSalle_[r], static_cast<int>(j))) {
        salle.portes.push_back(static_cast<int>(j));
        interieur.Poser(cellulePorte_[j]);
      } else {
        PoserBit(salle.autres.ouvertes, static_cast<int>(j));
      }
    }
    if (salle.portes.empty() || salle.portes.size() > static_cast<std::size_t>(kPortesSalleMax)) continue;
    // A corner touch of the room's doors that waits for another door
    // would not be played the same with that door open (and the more
    // doors open, the less the room's game costs: see ToucherDepuis).
    bool lie = false;
    for (int a = 0; a < cellules_ && !lie; ++a)
      for (const Toucher& t : touchers_[static_cast<std::size_t>(km) * C + static_cast<std::size_t>(a)])
        for (int16_t cadre : {t.cadre1, t.cadre2})
          lie = lie || (BitDe(portesDeSalle_[r], t.porte) && cadre >= 0 &&
                        groupeDe_[static_cast<std::size_t>(cadre)] != groupeDe_[static_cast<std::size_t>(t.porte)]);
    if (lie) continue;
    // The master's anchors outside the room, by side.
    salle.cote.assign(C, kDansLaSalle);
    std::vector<char> dehors(C, 0);
    for (int a = 0; a < cellules_; ++a)
      dehors[static_cast<std::size_t>(a)] = Tient(km, a) && !interieur.Croise(Forme(km, a, 4));
    std::vector<int> pile;
    int cotes = 0;
    for (int a0 = 0; a0 < cellules_; ++a0) {
      if (!dehors[static_cast<std::size_t>(a0)] || salle.cote[static_cast<std::size_t>(a0)] != kDansLaSalle) continue;
      std::vector<int> membres{a0};
      bool auDela = false;
      salle.cote[static_cast<std::size_t>(a0)] = cotes;
      pile.assign(1, a0);
      while (!pile.empty()) {
        const int a = pile.back();
        pile.pop_back();
        auDela = auDela || Forme(km, a, 5).Contient(finales_);
        for (std::size_t d = 0; d < kDirections.size(); ++d) {
          const int b = a + delta_[d];
          if (b < 0 || b >= cellules_ || !dehors[static_cast<std::size_t>(b)] ||
              salle.cote[static_cast<std::size_t>(b)] != kDansLaSalle || fixes_.Croise(Forme(km, a, static_cast<int>(d))))
            continue;
          salle.cote[static_cast<std::size_t>(b)] = cotes;
          membres.push_back(b);
          pile.push_back(b);
        }
      }
      if (auDela) {
        for (int a : membres) salle.cote[static_cast<std::size_t>(a)] = kAuDela;
        continue;
      }
      salle.representants.push_back(a0);
      auto& touchantes = salle.touchantes.emplace_back();
      for (int a : membres)
        for (const Toucher& t : touchers_[static_cast<std::size_t>(km) * C + static_cast<std::size_t>(a)])
          if (BitDe(portesDeSalle_[r], t.porte)) {
            touchantes.push_back(a);
            break;
          }
      ++cotes;
    }
    if (511 - cotes < cellules_) continue;
    // The room's kinds, the farthest from its doors first: left out one by
    // one while the game has too many states.
    std::vector<int> distance(C, cellules_);
    pile.clear();
    for (int j : salle.portes) {
      distance[static_cast<std::size_t>(cellulePorte_[static_cast<std::size_t>(j)])] = 0;
      pile.push_back(cellulePorte_[static_cast<std::size_t>(j)]);
    }
    for (std::size_t n = 0; n < pile.size(); ++n)
      for (int dlt : delta_) {
        const int v = pile[n] + dlt;
        if (v < 0 || v >= cellules_ || !cellulesDeSalle_[r].Test(v) || distance[static_cast<std::size_t>(v)] <= distance[static_cast<std::size_t>(pile[n])] + 1) continue;
        distance[static_cast<std::size_t>(v)] = distance[static_cast<std::size_t>(pile[n])] + 1;
        pile.push_back(v);
      }
    std::vector<std::pair<int, int>> loin;  // distance, kind
    for (int p = 0; p < nbPieces_; ++p) {
      const auto classe = static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)]);
      const uint16_t a = ancresDepart_[static_cast<std::size_t>(p)];
      if (p == pm || salleEntiere_[classe * C + a] != static_cast<int>(r)) continue;
      int d = cellules_;
      for (int decalage : cellulesDe_[classe]) d = std::min(d, distance[static_cast<std::size_t>(a + decalage)]);
      loin.emplace_back(d, static_cast<int>(classe));
    }
    std::sort(loin.rbegin(), loin.rend());
    std::vector<int> reste;
    for (const auto& [d, classe] : loin)
      if (std::find(reste.begin(), reste.end(), classe) == reste.end()) reste.push_back(classe);
    // The room's game with all its kinds; with too many states, the
    // farthest kinds go to a second game, where the master's moves are
    // free (they are counted in the first), and so on.
    for (salle.maitreCompte = true; !reste.empty(); salle.maitreCompte = false) {
      std::vector<int> suite;
      for (;;) {
        salle.ignorees.assign(classes_.size(), 1);
        for (int classe : reste) salle.ignorees[static_cast<std::size_t>(classe)] = 0;
        const int issue = ExplorerSalle(salle);
        if (issue > 0) sallesBornees_.push_back(salle);
        if (issue != 0 || reste.size() == 1) break;
        suite.insert(suite.begin(), reste.front());
        reste.erase(reste.begin());
      }
      reste = std::move(suite);
    }
  }
}

// The master on a side of the room goes anywhere on it for nothing, so it
// touches every cell of the room's doors it can from there: with more of
// them touched or open the room's game costs no more (an open cell is
// floor, a touched one still blocks), so a state and this one cost the
// same, and all the states on that side with the same pieces are one.
template <int N>
void Solveur<N>::ToucherDepuis(const SalleBornee& salle, int cote, Portes& portes) const {
  const int km = classeDe_[static_cast<std::size_t>(piecesMaitresses_[0])];
  for (bool change = true; change;) {
    change = false;
    for (int a : salle.touchantes[static_cast<std::size_t>(cote)]) {
      const Portes avant = portes;
      PasserPortes(km, a, portes);
      change = change || !(portes == avant);
    }
  }
}

// A state of a room's game: the master (an anchor, or 511 less its side),
// the room's door cells (touched, open), then its pieces, (kind + 1) × 512
// + anchor each, in order.
template <int N>
typename Solveur<N>::CleSalle Solveur<N>::CleDeSalle(const SalleBornee& salle, int maitre, const Portes& portes,
                                                    std::vector<uint16_t>& pieces) const {
  CleSalle c = static_cast<CleSalle>(maitre);
  int bit = 9;
  for (int j : salle.portes) {
    c |= static_cast<CleSalle>(BitDe(portes.touchees, j)) << bit++;
    c |= static_cast<CleSalle>(BitDe(portes.ouvertes, j)) << bit++;
  }
  std::sort(pieces.begin(), pieces.end());
  bit = 9 + 2 * kPortesSalleMax;
  for (uint16_t v : pieces) {
    c |= static_cast<CleSalle>(v) << bit;
    bit += 14;
  }
  return c;
}

// Every state of the room's game its start reaches, and for each the
// fewest moves that solve it (breadth first backwards, the moves that
// cost nothing followed at once). 1 when done, 0 when there are too many
// states, -1 when the start is solved already.
template <int N>
int Solveur<N>::ExplorerSalle(SalleBornee& salle) {
  const int pm = piecesMaitresses_[0];
  const int km = classeDe_[static_cast<std::size_t>(pm)];
  const auto C = static_cast<std::size_t>(cellules_);
  const int r = salle.salle;
  salle.etats = EtatsDeSalle{};
  salle.couts.clear();
  EtatsDeSalle& etats = salle.etats;
  std::vector<uint32_t> debut{0, 0}, aretes;  // by state, its moves: the state reached, and its cost in the top bit
  std::vector<uint16_t> pieces, liste;
  // The master at anchor b with those doors (touched as it leaves them on
  // its side unless already), and those pieces: 0 solved, else the state.
  auto etat = [&](int b, Portes portes, std::vector<uint16_t>& autres, bool touchees) -> uint32_t {
    if (Forme(km, b, 5).Contient(finales_)) return 0;
    const int cote = salle.cote[static_cast<std::size_t>(b)];
    if (cote == kAuDela) return 0;
    if (cote >= 0 && !touchees) ToucherDepuis(salle, cote, portes);
    return etats.Indice(CleDeSalle(salle, cote >= 0 ? 511 - cote : b, portes, autres));
  };
  Portes portes = PortesDeLaSalle(salle, portesDepart_);
  for (int p = 0; p < nbPieces_; ++p) {
    const auto classe = static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)]);
    const uint16_t a = ancresDepart_[static_cast<std::size_t>(p)];
    if (p != pm && salleEntiere_[classe * C + a] == r && !salle.ignorees[classe])
      pieces.push_back(static_cast<uint16_t>((classe + 1) << 9 | a));
  }
  if (pieces.size() > static_cast<std::size_t>(kPiecesSalleMax)) return 0;
  if (etat(ancresDepart_[static_cast<std::size_t>(pm)], portes, pieces, false) == 0) return -1;
  // Within the search's limits: a state here takes about 300 bytes while
  // the game is explored.
  const std::size_t limite = std::min({kEtatsSalleMax, options_.limiteEtats, options_.limiteMemoire / 300});
  for (uint32_t i = 1; i < etats.Nombre(); ++i) {
    if (etats.Nombre() > limite) return 0;
    const CleSalle c = etats.CleDe(i);
    const int maitre = static_cast<int>(c & 511);
    portes = salle.autres;
    for (std::size_t n = 0; n < salle.portes.size(); ++n) {
      if ((c >> (9 + 2 * n)) & 1) PoserBit(portes.touchees, salle.portes[n]);
      if ((c >> (10 + 2 * n)) & 1) PoserBit(portes.ouvertes, salle.portes[n]);
    }
    pieces.clear();
    for (int n = 0; n < kPiecesSalleMax; ++n) {
      const auto v = static_cast<uint16_t>((c >> (9 + 2 * kPortesSalleMax + 14 * n)) & 0x3FFF);
      if (v == 0) break;
      pieces.push_back(v);
    }
    const bool dedans = maitre < cellules_;
    const int a0 = dedans ? maitre : salle.representants[static_cast<std::size_t>(511 - maitre)];
    B occ = fixes_;
    occ |= Bloquantes(portes);
    for (uint16_t v : pieces) occ |= Forme((v >> 9) - 1, v & 511, 4);
    auto ajouter = [&](uint32_t j, bool coute) {
      if (j != i) aretes.push_back(j | (coute ? 0x80000000u : 0));
    };
    // The room's pieces: each place its move reaches in the room, or off
    // the room (the piece then leaves the game). The master outside does
    // not stand in their way.
    B avecMaitre = occ;
    if (dedans) avecMaitre |= Forme(km, a0, 4);
    for (std::size_t q = 0; q < pieces.size(); ++q) {
      const int classe = (pieces[q] >> 9) - 1;
      const int a = pieces[q] & 511;
      B autour = avecMaitre;
      autour ^= Forme(classe, a, 4);
      B vus;
      vus.Poser(a);
      pile_.assign(1, a);
      bool sortie = false;
      while (!pile_.empty()) {
        const int x = pile_.back();
        pile_.pop_back();
        for (std::size_t d = 0; d < kDirections.size(); ++d) {
          if (autour.Croise(Forme(classe, x, static_cast<int>(d)))) continue;
          const int b = x + delta_[d];
          if (vus.Test(b)) continue;
          vus.Poser(b);
          liste = pieces;
          if (salleEntiere_[static_cast<std::size_t>(classe) * C + static_cast<std::size_t>(b)] == r) {
            liste[q] = static_cast<uint16_t>((classe + 1) << 9 | b);
            pile_.push_back(b);
          } else {
            if (sortie) continue;
            sortie = true;
            liste.erase(liste.begin() + static_cast<std::ptrdiff_t>(q));
          }
          ajouter(etat(a0, portes, liste, true), true);
        }
      }
    }
    // The master: every place of its move; it costs when its first tile
    // ends in the room.
    occ |= Forme(km, a0, 4);
    Inonder(portes, occ, pm, static_cast<uint16_t>(a0));
    for (std::size_t n = 1; n < noeuds_.size(); ++n) {
      const Noeud& nd = noeuds_[n];
      const int b = nd.ancre;
      const bool coute = salle.maitreCompte && b != a0 &&
                         salleDe_[static_cast<std::size_t>(b + cellulesDe_[static_cast<std::size_t>(km)][0])] == r;
      liste = pieces;
      ajouter(etat(b, nd.portes ? portesVues_[nd.portes] : portes, liste, false), coute);
    }
    debut.push_back(static_cast<uint32_t>(aretes.size()));
  }
  // Backwards from the solved state: the moves reversed, by target.
  const std::size_t E = etats.Nombre();
  std::vector<uint32_t> debutInverse(E + 1, 0), inverses(aretes.size());
  for (uint32_t x : aretes) ++debutInverse[(x & 0x7FFFFFFFu) + 1];
  for (std::size_t j = 0; j < E; ++j) debutInverse[j + 1] += debutInverse[j];
  {
    std::vector<uint32_t> place(debutInverse.begin(), debutInverse.end() - 1);
    for (uint32_t i = 1; i < E; ++i)
      for (uint32_t n = debut[i]; n < debut[i + 1]; ++n)
        inverses[place[aretes[n] & 0x7FFFFFFFu]++] = i | (aretes[n] & 0x80000000u);
  }
  aretes = {};
  std::vector<uint8_t>& distance = salle.couts;
  distance.assign(E, 0xFF);
  std::vector<uint32_t> maintenant{0}, ensuite;
  distance[0] = 0;
  for (uint8_t d = 0; !maintenant.empty() && d < 0xFE; ++d) {
    ensuite.clear();
    for (std::size_t n = 0; n < maintenant.size(); ++n) {
      const uint32_t y = maintenant[n];
      if (distance[y] != d) continue;
      for (uint32_t m = debutInverse[y]; m < debutInverse[y + 1]; ++m) {
        const uint32_t x = inverses[m] & 0x7FFFFFFFu;
        const auto cout = static_cast<uint8_t>(d + (inverses[m] >> 31));
        if (distance[x] <= cout) continue;
        distance[x] = cout;
        (cout == d ? maintenant : ensuite).push_back(x);
      }
    }
    maintenant.swap(ensuite);
  }
  return 1;
}

template <int N>
uint16_t Solveur<N>::BorneDesSalles(const uint8_t* k) const {
  const int pm = piecesMaitresses_[0];
  const int km = classeDe_[static_cast<std::size_t>(pm)];
  const int am = Ancre(k, pm);
  if (Forme(km, am, 5).Contient(finales_)) return 0;
  const auto C = static_cast<std::size_t>(cellules_);
  Portes reelles;
  LirePortes(k, reelles);
  for (auto& liste : piecesDesSalles_) liste.clear();
  for (int p = 0; p < nbPieces_; ++p) {
    const auto classe = static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)]);
    const uint16_t a = Ancre(k, p);
    const int r = salleEntiere_[classe * C + a];
    if (p != pm && r >= 0) piecesDesSalles_[static_cast<std::size_t>(r)].push_back(static_cast<uint16_t>((classe + 1) << 9 | a));
  }
  int total = 0;
  for (const SalleBornee& salle : sallesBornees_) {
    const int cote = salle.cote[static_cast<std::size_t>(am)];
    auto& pieces = piecesSalle_;
    pieces.clear();
    for (uint16_t v : piecesDesSalles_[static_cast<std::size_t>(salle.salle)])
      if (!salle.ignorees[static_cast<std::size_t>((v >> 9) - 1)]) pieces.push_back(v);
    if (cote == kAuDela || pieces.size() > static_cast<std::size_t>(kPiecesSalleMax)) continue;
    Portes portes = PortesDeLaSalle(salle, reelles);
    if (cote >= 0) ToucherDepuis(salle, cote, portes);
    const int maitre = cote >= 0 ? 511 - cote : am;
    int cout = Cout(salle, maitre, portes, pieces);
    if (cout < 0) {
      // Pieces came in from elsewhere: the game without one of them, or
      // two, is a bound all the same, whichever they are.
      std::vector<uint16_t>& moins = piecesMoins_;
      const std::size_t n = pieces.size();
      for (std::size_t paire = 0; paire < 2 && cout < 0; ++paire)
        for (std::size_t x = 0; x < n; ++x)
          for (std::size_t y = paire ? x + 1 : n; y <= n && (paire == 0 || y < n); ++y) {
            moins.clear();
            for (std::size_t z = 0; z < n; ++z)
              if (z != x && z != y) moins.push_back(pieces[z]);
            cout = std::max(cout, Cout(salle, maitre, portes, moins));
          }
    }
    if (cout < 0) continue;
    if (cout == 0xFF) return kSansIssue;
    total += cout;
  }
  return static_cast<uint16_t>(total);
}

// The cells: what never moves, the final places, and the door cells with
// their state at the start.
template <int N>
void Solveur<N>::LireCases() {
  porteDe_.assign(static_cast<std::size_t>(cellules_), -1);
  for (int i = 0; i < cellules_; ++i) fixes_.Poser(i);
  auto ouvrir = [&](int i) { fixes_.m[static_cast<std::size_t>(i >> 6)] &= ~(uint64_t{1} << (i & 63)); };
  for (int l = 1; l <= depart_.Hauteur; ++l)
    for (int c = 1; c <= depart_.Largeur; ++c) {
      const auto& k = depart_.Case(l, c);
      const int i = Indice(l, c);
      if (k.PlaceFinal) {
        finales_.Poser(i);
        placesFinales_.push_back(i);
      }
      if (k.Serie != TSerieMap::Bord) ouvrir(i);
      const bool porte = k.Serie != TSerieMap::Bord || k.Map == kMapPorteFermee || k.Map == kMapPorteTouchee;
      if (k.Porte && porte) {
        const int j = static_cast<int>(cellulePorte_.size());
        porteDe_[static_cast<std::size_t>(i)] = j;
        cellulePorte_.push_back(i);
        if (k.Serie != TSerieMap::Bord) {
          PoserBit(portesDepart_.ouvertes, j);
        } else {
          ouvrir(i);  // blocks while not open: see Bloquantes
          if (k.Map == kMapPorteTouchee) PoserBit(portesDepart_.touchees, j);
        }
      }
    }
  for (int i = 0; i < cellules_; ++i)
    if (!fixes_.Test(i)) sol_.Poser(i);
}

// The doors: the cells marked door joined by their sides, whatever their
// state (the game walks a door through all of them).
template <int N>
void Solveur<N>::GrouperPortes() {
  std::vector<int> composante(static_cast<std::size_t>(cellules_), -1);
  for (int l = 1; l <= depart_.Hauteur; ++l)
    for (int c = 1; c <= depart_.Largeur; ++c) {
      const int i0 = Indice(l, c);
      if (!depart_.Case(l, c).Porte || composante[static_cast<std::size_t>(i0)] >= 0) continue;
      const int g = static_cast<int>(membres_.size());
      membres_.emplace_back();
      std::vector<int> pile{i0};
      composante[static_cast<std::size_t>(i0)] = g;
      while (!pile.empty()) {
        const int i = pile.back();
        pile.pop_back();
        if (porteDe_[static_cast<std::size_t>(i)] >= 0) PoserBit(membres_.back(), porteDe_[static_cast<std::size_t>(i)]);
        for (int8_t d : kDirections) {
          const int v = i + Delta(d);
          const TPosition pv = PositionDe(v);
          if (!depart_.Contient(pv) || !depart_.Case(pv).Porte || composante[static_cast<std::size_t>(v)] >= 0) continue;
          composante[static_cast<std::size_t>(v)] = g;
          pile.push_back(v);
        }
      }
    }
  groupeDe_.resize(cellulePorte_.size());
  for (std::size_t j = 0; j < cellulePorte_.size(); ++j)
    groupeDe_[j] = composante[static_cast<std::size_t>(cellulePorte_[j])];
}

// The kinds of pieces, each with the anchors of its pieces in order.
template <int N>
void Solveur<N>::RangerClasses() {
  std::map<std::vector<int>, std::pair<TSorte, std::vector<int>>> parClasse;
  for (const TPiece& piece : PiecesMobiles(depart_)) {
    TSorte sorte = SorteDe(depart_, piece);
    auto& entree = parClasse[sorte.Cle()];
    entree.first = std::move(sorte);
    entree.second.push_back(Indice(piece.Ancre()));
  }
  for (auto& [cle, entree] : parClasse) {
    auto& [classe, ancres] = entree;
    debutClasse_.push_back(nbPieces_);
    std::sort(ancres.begin(), ancres.end());
    for (int a : ancres) {
      classeDe_.push_back(static_cast<int>(classes_.size()));
      ancresDepart_.push_back(static_cast<uint16_t>(a));
    }
    nbPieces_ += static_cast<int>(ancres.size());
    classes_.push_back(classe);
  }
  debutClasse_.push_back(nbPieces_);
}

// Masks of every kind at every anchor where it fits on the board, and the
// door cells its master tiles touch from there.
template <int N>
void Solveur<N>::PoserMasques() {
  masques_.assign(classes_.size() * static_cast<std::size_t>(cellules_) * 6, B{});
  if (!cellulePorte_.empty()) touchers_.resize(classes_.size() * static_cast<std::size_t>(cellules_));
  for (std::size_t k = 0; k < classes_.size(); ++k) {
    const auto& classe = classes_[k];
    for (int l = 1; l <= depart_.Hauteur; ++l)
      for (int c = 1; c <= depart_.Largeur; ++c) {
        const TPosition ancre{l, c};
        bool tient = true;
        for (const TPosition& d : classe.decalages) tient = tient && depart_.Contient(Decale(ancre, d));
        if (!tient) continue;
        PoserFormes(k, ancre);
        if (classe.serie == TSerieMap::Final && !cellulePorte_.empty()) ListerTouchers(k, ancre);
      }
  }
  versSol_.assign(classes_.size() * static_cast<std::size_t>(cellules_), 0);
  ancresPossibles_.assign(classes_.size(), B{});
  for (std::size_t k = 0; k < classes_.size(); ++k) {
    auto& cellules = cellulesDe_.emplace_back();
    for (const TPosition& d : classes_[k].decalages) cellules.push_back(d.ligne * pas_ + d.colonne);
    for (int a = 0; a < cellules_; ++a) {
      if (Tient(static_cast<int>(k), a)) ancresPossibles_[k].Poser(a);
      for (std::size_t d = 0; d < kDirections.size(); ++d)
        if (!fixes_.Croise(Forme(static_cast<int>(k), a, static_cast<int>(d))))
          versSol_[k * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(a)] |= static_cast<uint8_t>(1u << d);
    }
  }
}

// The kind's cells at that anchor, its master tiles, and the cells ahead
// of it in each of kDirections.
template <int N>
void Solveur<N>::PoserFormes(std::size_t k, TPosition ancre) {
  const auto& classe = classes_[k];
  const int a = Indice(ancre);
  B& forme = Forme(static_cast<int>(k), a, 4);
  B& maitres = Forme(static_cast<int>(k), a, 5);
  for (std::size_t t = 0; t < classe.decalages.size(); ++t) {
    const int i = Indice(Decale(ancre, classe.decalages[t]));
    forme.Poser(i);
    if (classe.tuiles[t].Serie == TSerieMap::Final) maitres.Poser(i);
  }
  for (std::size_t d = 0; d < kDirections.size(); ++d) {
    B& devant = Forme(static_cast<int>(k), a, static_cast<int>(d));
    for (const TPosition& decalage : classe.decalages) {
      const int cible = Indice(Decale(ancre, decalage)) + Delta(kDirections[d]);
      if (!forme.Test(cible)) devant.Poser(cible);
    }
  }
}

// The door cells the game touches from that anchor, in its order: tiles
// by rows, then above, below, left, right, and the four corners.
template <int N>
void Solveur<N>::ListerTouchers(std::size_t k, TPosition ancre) {
  auto& liste = touchers_[k * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(Indice(ancre))];
  for (const TPosition& decalage : classes_[k].decalages) {
    const TPosition t = Decale(ancre, decalage);
    for (const TPosition cote : {TPosition{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
      const TPosition v = Decale(t, cote);
      if (!depart_.Contient(v)) continue;
      const int j = porteDe_[static_cast<std::size_t>(Indice(v))];
      if (j >= 0) liste.push_back({static_cast<int16_t>(j)});
    }
    for (const TPosition coin : {TPosition{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}) {
      const TPosition v = Decale(t, coin);
      if (!depart_.Contient(v)) continue;
      const int j = porteDe_[static_cast<std::size_t>(Indice(v))];
      Toucher touche{static_cast<int16_t>(j)};
      if (j >= 0 && Cadre({v.ligne, t.colonne}, &touche.cadre1) && Cadre({t.ligne, v.colonne}, &touche.cadre2))
        liste.push_back(touche);
    }
  }
}

// Whether a cell counts as border for a corner touch: border that never
// opens, or a door cell until its door opens (*condition: that door cell,
// or -1).
template <int N>
bool Solveur<N>::Cadre(TPosition p, int16_t* condition) const {
  const int j = porteDe_[static_cast<std::size_t>(Indice(p))];
  if (j >= 0) {
    *condition = static_cast<int16_t>(j);
    return true;
  }
  *condition = -1;
  return depart_.Case(p).Serie == TSerieMap::Bord;
}

// The kinds with master tiles, and the pieces that touch doors.
template <int N>
void Solveur<N>::DesignerMaitres() {
  indiceMaitre_.assign(classes_.size(), -1);
  for (std::size_t k = 0; k < classes_.size(); ++k)
    if (classes_[k].maitres > 0) indiceMaitre_[k] = nbMaitres_++;
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    maitre_.push_back(classes_[static_cast<std::size_t>(classe)].serie == TSerieMap::Final);
    if (indiceMaitre_[static_cast<std::size_t>(classe)] >= 0) piecesMaitresses_.push_back(p);
  }
}

// The keys' layout, and the random words of the fingerprints (always the
// same ones).
template <int N>
void Solveur<N>::PreparerCles() {
  ancreLarge_ = cellules_ > 255;
  octetsPortes_ = (cellulePorte_.size() + 7) / 8;
  tailleCle_ = static_cast<std::size_t>(nbPieces_) * (ancreLarge_ ? 2 : 1) + 2 * octetsPortes_;
  if (tailleCle_ == 0) tailleCle_ = 1;
  uint64_t graine = 0x2545F4914F6CDD1Dull;
  auto alea = [&graine] {
    uint64_t z = (graine += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  };
  aleas_.resize(classes_.size() * static_cast<std::size_t>(cellules_));
  for (auto& h : aleas_) h = {alea(), alea()};
  aleasPortes_.resize(2 * cellulePorte_.size());
  for (auto& h : aleasPortes_) h = {alea(), alea()};
}

// Whether the board is its own mirror, left to right or else top to
// bottom, and then the mirror of every kind at every anchor. The moves
// only see shapes and master tiles, so a kind's mirror is a kind of the
// mirrored shape, master tiles and number of pieces, whatever its
// pictures; the mirror of a state is then solved in as many moves as the
// state.
template <int N>
void Solveur<N>::PreparerMiroir() {
  if (!cellulePorte_.empty() || nbPieces_ == 0) return;
  const int L = depart_.Largeur, H = depart_.Hauteur;
  auto symetrique = [&] {
    for (int l = 1; l <= H; ++l)
      for (int c = 1; c <= L; ++c) {
        const int i = Indice(l, c), j = Indice(Reflet({l, c}));
        if (fixes_.Test(i) != fixes_.Test(j) || finales_.Test(i) != finales_.Test(j)) return false;
      }
    return true;
  };
  if (!symetrique()) {
    miroirVertical_ = true;
    if (!symetrique()) return;
  }
  // A kind's shape: its tiles from the anchor with whether each is a
  // master tile, in order; and the mirror's, from the mirror's anchor.
  using Forme = std::vector<std::pair<TPosition, bool>>;
  auto ordre = [](const std::pair<TPosition, bool>& x, const std::pair<TPosition, bool>& y) {
    return std::tie(x.first.ligne, x.first.colonne, x.second) < std::tie(y.first.ligne, y.first.colonne, y.second);
  };
  std::vector<Forme> formes, miroirs;
  std::vector<TPosition> decalagesAncre;  // of the mirror's anchor from the mirrored anchor cell
  for (const TSorte& sorte : classes_) {
    Forme f, m;
    for (std::size_t t = 0; t < sorte.decalages.size(); ++t) {
      const bool maitre = sorte.tuiles[t].Serie == TSerieMap::Final;
      f.push_back({sorte.decalages[t], maitre});
      m.push_back({miroirVertical_ ? TPosition{-sorte.decalages[t].ligne, sorte.decalages[t].colonne}
                                   : TPosition{sorte.decalages[t].ligne, -sorte.decalages[t].colonne},
                   maitre});
    }
    std::sort(f.begin(), f.end(), ordre);
    std::sort(m.begin(), m.end(), ordre);
    const TPosition debut = m.front().first;
    for (auto& [d, maitre] : m) d = {d.ligne - debut.ligne, d.colonne - debut.colonne};
    formes.push_back(std::move(f));
    miroirs.push_back(std::move(m));
    decalagesAncre.push_back(debut);
  }
  const std::size_t K = classes_.size();
  auto nombre = [&](std::size_t k) { return debutClasse_[k + 1] - debutClasse_[k]; };
  classeMiroir_.assign(K, -1);
  for (std::size_t k = 0; k < K; ++k) {
    if (classeMiroir_[k] >= 0) continue;
    // Itself first, else another kind not yet paired.
    std::size_t autre = K;
    for (std::size_t j = k; j < K && autre == K; ++j)
      if (classeMiroir_[j] < 0 && miroirs[k] == formes[j] && nombre(k) == nombre(j)) autre = j;
    if (autre == K) return;
    classeMiroir_[k] = static_cast<int>(autre);
    classeMiroir_[autre] = static_cast<int>(k);
  }
  const auto C = static_cast<std::size_t>(cellules_);
  ancresMiroir_.assign(K * C, 0);
  aleasMiroir_.assign(K * C, Hachage{});
  for (std::size_t k = 0; k < K; ++k)
    for (int l = 1; l <= H; ++l)
      for (int c = 1; c <= L; ++c) {
        const TPosition ancre = Decale(Reflet({l, c}), decalagesAncre[k]);
        if (!depart_.Contient(ancre)) continue;
        const auto a = static_cast<uint16_t>(Indice(ancre));
        ancresMiroir_[k * C + static_cast<std::size_t>(Indice(l, c))] = a;
        aleasMiroir_[k * C + static_cast<std::size_t>(Indice(l, c))] = Alea(classeMiroir_[k], a);
      }
  ancresTriees_.resize(static_cast<std::size_t>(nbPieces_));
  miroir_ = true;
}

// The optimal search's bounds for the steps (those of the moves are made
// as their door sets come).
template <int N>
void Solveur<N>::PreparerBornes() {
  if (options_.mesure == MesureSolveur::Coups) {
    // The pieces on a master's way: worth their count behind doors, or for
    // masters of one tile; in an open box with a larger master (L'Âne
    // rouge and its family) they spare a few states but cost more.
    bool petits = true;
    for (int p : piecesMaitresses_)
      petits = petits && classes_[static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)])].decalages.size() == 1;
    surLeChemin_ = options_.pieceSurLeChemin && !piecesMaitresses_.empty() && (petits || !cellulePorte_.empty());
    if (surLeChemin_) PreparerObligatoires();
    return;
  }
  bornesPas_ = CalculerBornes(nullptr);
  if (piecesMaitresses_.size() != 1) return;
  const std::size_t F = placesFinales_.size();
  const auto m = static_cast<std::size_t>(
      indiceMaitre_[static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(piecesMaitresses_[0])])]);
  pireDepuis_.assign(static_cast<std::size_t>(cellules_), 0);
  for (std::size_t a = 0; a < pireDepuis_.size(); ++a)
    for (std::size_t f = 0; f < F; ++f)
      pireDepuis_[a] = std::max(pireDepuis_[a], bornesPas_[(m * static_cast<std::size_t>(cellules_) + a) * F + f]);
}

// Exact keys, where they fit: a board of one word without doors, and for
// the moves no bound to weigh (every state of a cost is then taken before
// any dearer one, as in a breadth-first search).
template <int N>
void Solveur<N>::PreparerExacte() {
  if (N != 1 || !cellulePorte_.empty() || nbPieces_ == 0) return;
  if (options_.mesure == MesureSolveur::Coups && surLeChemin_) return;
  const std::size_t K = classes_.size();
  const auto C = static_cast<std::size_t>(cellules_);
  // The kinds' bits one after the other, none across the two words.
  std::vector<int> premier(K);
  int bit = 0;
  for (std::size_t k = 0; k < K; ++k) {
    const int n = std::popcount(ancresPossibles_[k].m[0]);
    if (bit < 64 && bit + n > 64) bit = 64;
    if (bit + n > 80 || n == 0) return;
    premier[k] = bit;
    bit += n;
  }
  codes_.assign(K * C, CleExacte{});
  poses_.assign(80, Pose{});
  for (std::size_t k = 0; k < K; ++k) {
    int b = premier[k];
    for (uint64_t m = ancresPossibles_[k].m[0]; m; m &= m - 1, ++b) {
      const auto a = static_cast<uint16_t>(std::countr_zero(m));
      CleExacte& code = codes_[k * C + a];
      if (b < 64)
        code.a = uint64_t{1} << b;
      else
        code.b = static_cast<uint16_t>(1u << (b - 64));
      poses_[static_cast<std::size_t>(b)] = {&Forme(static_cast<int>(k), a, 0), CleExacte{}, a, static_cast<uint8_t>(k)};
      if (indiceMaitre_[k] >= 0) cleMaitres_ |= code;
    }
  }
  // A cell is beside a piece when the piece is beside the cell.
  voisinsCle_.assign(C, CleExacte{});
  ancreCle_.assign(C, CleExacte{});
  for (std::size_t k = 0; k < K; ++k)
    for (uint64_t m = ancresPossibles_[k].m[0]; m; m &= m - 1) {
      const auto a = static_cast<std::size_t>(std::countr_zero(m));
      const B& piece = Forme(static_cast<int>(k), static_cast<int>(a), 4);
      B autour = piece.Autour(1);
      autour |= piece.Autour(pas_);
      for (uint64_t v = autour.m[0]; v; v &= v - 1) {
        const auto f = static_cast<std::size_t>(std::countr_zero(v));
        if (f < C) voisinsCle_[f] |= codes_[k * C + a];
      }
      ancreCle_[a] |= codes_[k * C + a];
    }
  if (miroir_) {
    codesMiroir_.assign(K * C, CleExacte{});
    for (std::size_t k = 0; k < K; ++k)
      for (uint64_t m = ancresPossibles_[k].m[0], i = static_cast<uint64_t>(premier[k]); m; m &= m - 1, ++i) {
        const auto a = static_cast<std::size_t>(std::countr_zero(m));
        const auto autre = static_cast<std::size_t>(classeMiroir_[k]);
        codesMiroir_[k * C + a] = codes_[autre * C + AncreMiroir(static_cast<int>(k), static_cast<int>(a))];
        poses_[i].miroir = codesMiroir_[k * C + a];
      }
  }
  exacte_ = true;
}

template <int N>
uint64_t Solveur<N>::Atteintes(const B& occ, int classe, uint16_t a) const {
  // The anchors where the piece fits among the others, all at once, then
  // the flood over them from a.
  const uint64_t autour = occ.m[0] & ~Forme(classe, a, 4).m[0];
  uint64_t bloquees = 0;
  for (int decalage : cellulesDe_[static_cast<std::size_t>(classe)])
    bloquees |= decalage >= 0 ? autour >> decalage : autour << -decalage;
  const uint64_t places = ancresPossibles_[static_cast<std::size_t>(classe)].m[0] & ~bloquees;
  uint64_t atteintes = uint64_t{1} << a;
  for (uint64_t avant = 0; atteintes != avant;) {
    avant = atteintes;
    atteintes |= (atteintes << 1 | atteintes >> 1 | atteintes << pas_ | atteintes >> pas_) & places;
  }
  return atteintes & ~(uint64_t{1} << a);
}

template <int N>
typename Solveur<N>::EntreeExacte Solveur<N>::LireExacte(const CleExacte& cle, uint8_t* ancres, B& maitres) const {
  EntreeExacte x{cle, fixes_, {}};
  maitres = B{};
  ParPose(cle, [&](const Pose& pose) {
    *ancres++ = static_cast<uint8_t>(pose.ancre);
    x.occ |= pose.formes[4];
    maitres |= pose.formes[5];
    x.reflet ^= pose.miroir;  // nothing on a board that is not its own mirror
  });
  return x;
}

template <int N>
typename Solveur<N>::B Solveur<N>::MaitresExacts(const CleExacte& cle) const {
  B maitres;
  CleExacte m = cle;
  m &= cleMaitres_;
  ParPose(m, [&](const Pose& pose) { maitres |= pose.formes[5]; });
  return maitres;
}

// Every move (or step) from the state of that key and occupation:
// f(kind, from, to, direction of a step). The piece at anchor immobile is
// left out.
template <int N>
template <class F>
void Solveur<N>::Deplacements(const CleExacte& cle, const B& occ, uint16_t immobile, F&& f) const {
  const bool coups = options_.mesure == MesureSolveur::Coups;
  // Only a piece beside a free cell can move: most cannot. Those are the
  // key's bits among the free cells' neighbours, found at once.
  CleExacte pres;
  for (uint64_t libres = sol_.m[0] & ~occ.m[0]; libres; libres &= libres - 1) pres |= voisinsCle_[static_cast<std::size_t>(std::countr_zero(libres))];
  if (immobile != kSansIssue) pres = pres.Sauf(ancreCle_[immobile]);
  pres &= cle;
  ParPose(pres, [&](const Pose& pose) __attribute__((always_inline)) {
    const uint16_t a = pose.ancre;
    const int k = pose.classe;
    unsigned libre = Libres(occ, pose.formes);
    if (!libre) return;
    if (coups) {
      for (uint64_t m = Atteintes(occ, k, a); m; m &= m - 1) f(k, a, static_cast<uint16_t>(std::countr_zero(m)), 0);
    } else {
      for (; libre; libre &= libre - 1) {
        const auto d = static_cast<std::size_t>(std::countr_zero(libre));
        f(k, a, static_cast<uint16_t>(a + delta_[d]), kDirections[d]);
      }
    }
  });
}

template <int N>
typename Solveur<N>::Fin Solveur<N>::ChercherExacte(ResultatSolveur& r, int* niveauAtteint) {
  Recherche s(memoire_, OctetsEntreeExacte(), options_, false);
  const auto C = static_cast<std::size_t>(cellules_);
  const bool coups = s.coups;
  std::vector<uint8_t> ancres(static_cast<std::size_t>(nbPieces_));
  std::vector<SuivantExact> suivants;
  const CleExacte* codes = codes_.data();
  const CleExacte* codesMiroir = codesMiroir_.data();
  // The steps' bound; the moves have none here.
  auto borne = [&](const CleExacte& cle) {
    B maitres;
    LireExacte(cle, ancres.data(), maitres);
    return Borne(ancres.data());
  };
  // The start.
  CleExacte depart;
  for (int p = 0; p < nbPieces_; ++p)
    depart ^= codes[static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)]) * C + ancresDepart_[static_cast<std::size_t>(p)]];
  B maitres;
  const EntreeExacte entree0 = LireExacte(depart, ancres.data(), maitres);
  if (!s.table.Place(options_.limiteMemoire, kReserve)) return Fin::Limite;
  int etat = 0;
  s.table.Trouver(Canonique(entree0.cle, entree0.reflet).Empreinte(), 0, &etat);
  EcrireEntree(s.table.NouvelleCle(), entree0);
  const uint16_t e0 = coups ? 0 : borne(depart);
  if (e0 == kSansIssue) {
    r.etats = 1;
    return Fin::Aucune;
  }
  *s.liens.Ajouter() = {0, 0, 0, 0, e0, 0, 0, 1};
  s.seaux.Ajouter(e0, 0);
  // The end: its states back to the start.
  auto finir = [&](uint32_t fin, int cout) {
    r.etats += s.table.Nombre();
    r.chemin = Chemin(fin, s.table, s.liens, true);
    r.pas = static_cast<int>(r.chemin.size());
    r.coups = coups ? cout : 0;
    return Fin::Solution;
  };
  if (maitres.Contient(finales_)) return finir(0, 0);
  std::size_t traites = 0;
  uint32_t e = 0;
  std::size_t niveau = 0, plusHaut = 0;
  while (s.seaux.Prendre(&e, &niveau)) {
    const Lien lien = *s.liens[e];
    if (static_cast<std::size_t>(lien.cout) + lien.estimation != niveau) continue;  // reached cheaper since
    if (options_.annuler && (++traites & 255) == 0 && options_.annuler->load()) return Fin::Annule;
    plusHaut = std::max(plusHaut, niveau);
    s.table.EntreDeuxEtats();
    const EntreeExacte x = LireEntree(s.table.Cle(e));
    maitres = MaitresExacts(x.cle);
    // With a bound, the end is known when it is taken; without, when it is
    // first met (every state of a lower cost was met before).
    if (!coups && maitres.Contient(finales_)) return finir(e, lien.cout);
    const auto cout = static_cast<uint16_t>(lien.cout + 1);
    // The states reached first, their slots asked for; then each looked up.
    suivants.clear();
    Deplacements(x.cle, x.occ, coups && e != 0 ? lien.apres : kSansIssue,
                 [&](int classe, uint16_t avant, uint16_t apres, int8_t direction) __attribute__((always_inline)) {
                   const std::size_t i0 = static_cast<std::size_t>(classe) * C;
                   SuivantExact& v = suivants.emplace_back();
                   v.cle = x.cle;
                   v.cle ^= codes[i0 + avant];
                   v.cle ^= codes[i0 + apres];
                   v.reflet = x.reflet;
                   if (miroir_) {
                     v.reflet ^= codesMiroir[i0 + avant];
                     v.reflet ^= codesMiroir[i0 + apres];
                   }
                   v.empreinte = Canonique(v.cle, v.reflet).Empreinte();
                   v.classe = static_cast<uint8_t>(classe);
                   v.direction = direction;
                   v.avant = avant;
                   v.apres = apres;
                   s.table.Prevoir(v.empreinte);
                 });
    uint32_t fin = 0;
    for (const SuivantExact& v : suivants) {
      if (s.table.Nombre() >= options_.limiteEtats || !s.table.Place(options_.limiteMemoire, kReserve)) {
        r.etats += s.table.Nombre();
        // Nothing cheaper than what is being met solves it.
        *niveauAtteint = static_cast<int>(plusHaut) + (coups ? 1 : 0);
        return Fin::Limite;
      }
      int vu = 0;
      const uint32_t i = s.table.Trouver(v.empreinte, cout, &vu);
      if (vu == 2) continue;
      const int classe = v.classe;
      const bool maitre = indiceMaitre_[static_cast<std::size_t>(classe)] >= 0;
      Lien* l = nullptr;
      uint16_t estimation = 0;
      if (vu == 0) {
        B occ = x.occ;
        occ ^= Forme(classe, v.avant, 4);
        occ |= Forme(classe, v.apres, 4);
        EcrireEntree(s.table.NouvelleCle(), {v.cle, occ, v.reflet});
        l = s.liens.Ajouter();
        // Only the master pieces weigh on the bound.
        if (!coups) estimation = !maitre ? lien.estimation : pireDepuis_.empty() ? borne(v.cle) : pireDepuis_[v.apres];
      } else {
        l = s.liens[i];
        estimation = l->estimation;
      }
      // Reached again more cheaply, maybe as the mirror of the key kept.
      const bool miroir = vu == 1 && !(LireEntree(s.table.Cle(i)).cle == v.cle);
      *l = {e, v.avant, v.apres, cout, estimation, v.direction, static_cast<uint8_t>(miroir), 1};
      if (coups && vu == 0 && maitre) {
        B m = maitres;
        m ^= Forme(classe, v.avant, 5);
        m |= Forme(classe, v.apres, 5);
        if (m.Contient(finales_)) {
          fin = i;
          break;
        }
      }
      if (estimation != kSansIssue) s.seaux.Ajouter(static_cast<std::size_t>(cout) + estimation, i);
    }
    if (fin) return finir(fin, cout);
  }
  r.etats += s.table.Nombre();
  return Fin::Aucune;
}

// What the analysis holds for the whole solve.
template <int N>
void Solveur<N>::CompterMemoireFixe() {
  octetsFixes_ = masques_.size() * sizeof(B) +
                 (aleas_.size() + aleasPortes_.size() + aleasMiroir_.size()) * sizeof(Hachage) +
                 ancresMiroir_.size() * sizeof(uint16_t) + (obligatoires_.size() + butsObligatoires_.size()) * sizeof(B) + joignables_.size() +
                 versSol_.size() +
                 (bornesPas_.size() + pireDepuis_.size()) * sizeof(uint16_t) +
                 (codes_.size() + codesMiroir_.size() + voisinsCle_.size() + ancreCle_.size()) * sizeof(CleExacte) + poses_.size() * sizeof(Pose);
  for (const auto& liste : touchers_) octetsFixes_ += sizeof(liste) + liste.size() * sizeof(Toucher);
  for (const auto& salle : sallesBornees_) octetsFixes_ += salle.etats.Octets() + salle.couts.size();
}

template <int N>
void Solveur<N>::MiroirDeCle(const uint8_t* k, uint8_t* miroir) const {
  uint16_t* ancres = ancresTriees_.data();
  for (std::size_t classe = 0; classe < classes_.size(); ++classe) {
    const auto autre = static_cast<std::size_t>(classeMiroir_[classe]);
    // A kind has a few pieces: sorted as they come.
    int n = 0;
    for (int p = debutClasse_[autre]; p < debutClasse_[autre + 1]; ++p, ++n) {
      const uint16_t a = AncreMiroir(static_cast<int>(autre), Ancre(k, p));
      int j = n;
      for (; j > 0 && ancres[j - 1] > a; --j) ancres[j] = ancres[j - 1];
      ancres[j] = a;
    }
    for (int i = 0; i < n; ++i) PoserAncre(miroir, debutClasse_[classe] + i, ancres[i]);
  }
}

template <int N>
Hachage Solveur<N>::DifferencePortes(const Portes& x, const Portes& y) const {
  Hachage h;
  for (std::size_t w = 0; w < kMotsPortes; ++w) {
    for (uint64_t d = x.touchees[w] ^ y.touchees[w]; d; d &= d - 1)
      h ^= aleasPortes_[2 * (w * 64 + static_cast<std::size_t>(std::countr_zero(d)))];
    for (uint64_t d = x.ouvertes[w] ^ y.ouvertes[w]; d; d &= d - 1)
      h ^= aleasPortes_[2 * (w * 64 + static_cast<std::size_t>(std::countr_zero(d))) + 1];
  }
  return h;
}

template <int N>
void Solveur<N>::Canoniser(uint8_t* k, int p) const {
  const int classe = classeDe_[static_cast<std::size_t>(p)];
  const int debut = debutClasse_[static_cast<std::size_t>(classe)];
  const int fin = debutClasse_[static_cast<std::size_t>(classe) + 1];
  const uint16_t a = Ancre(k, p);
  while (p > debut && Ancre(k, p - 1) > a) {
    PoserAncre(k, p, Ancre(k, p - 1));
    --p;
  }
  while (p + 1 < fin && Ancre(k, p + 1) < a) {
    PoserAncre(k, p, Ancre(k, p + 1));
    ++p;
  }
  PoserAncre(k, p, a);
}

template <int N>
void Solveur<N>::LirePortes(const uint8_t* k, Portes& portes) const {
  if (octetsPortes_ == 0) return;  // no door: the doors stay as first made
  portes = Portes{};
  const uint8_t* o = k + tailleCle_ - 2 * octetsPortes_;
  std::memcpy(portes.touchees.data(), o, octetsPortes_);
  std::memcpy(portes.ouvertes.data(), o + octetsPortes_, octetsPortes_);
}

template <int N>
void Solveur<N>::EcrirePortes(uint8_t* k, const Portes& portes) const {
  if (octetsPortes_ == 0) return;
  uint8_t* o = k + tailleCle_ - 2 * octetsPortes_;
  std::memcpy(o, portes.touchees.data(), octetsPortes_);
  std::memcpy(o + octetsPortes_, portes.ouvertes.data(), octetsPortes_);
}

template <int N>
bool Solveur<N>::PorteFermee(const Portes& portes) const {
  const int n = static_cast<int>(cellulePorte_.size());
  for (int w = 0; w * 64 < n; ++w) {
    const uint64_t tous = n - w * 64 >= 64 ? ~uint64_t{0} : (uint64_t{1} << (n - w * 64)) - 1;
    if ((portes.touchees[static_cast<std::size_t>(w)] | portes.ouvertes[static_cast<std::size_t>(w)]) != tous)
      return true;
  }
  return false;
}

template <int N>
typename Solveur<N>::B Solveur<N>::Bloquantes(const Portes& portes) const {
  B b;
  for (std::size_t j = 0; j < cellulePorte_.size(); ++j)
    if (!BitDe(portes.ouvertes, static_cast<int>(j))) b.Poser(cellulePorte_[j]);
  return b;
}

template <int N>
typename Solveur<N>::B Solveur<N>::Occupation(const uint8_t* k, const Portes& portes, B* maitres) const {
  B occ = fixes_;
  if (!cellulePorte_.empty()) occ |= Bloquantes(portes);
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    const int a = Ancre(k, p);
    occ |= Forme(classe, a, 4);
    if (maitres) *maitres |= Forme(classe, a, 5);  // empty for a piece without master tiles
  }
  return occ;
}

template <int N>
typename Solveur<N>::B Solveur<N>::Lire(Recherche& s, B& maitres) const {
  const uint8_t* k = s.cle;
  LirePortes(k, s.portes);
  Hachage h, miroir;
  B occ = fixes_;
  if (!cellulePorte_.empty()) {
    occ |= Bloquantes(s.portes);
    h = DifferencePortes(Portes{}, s.portes);
  }
  // The tables' addresses in locals: the stores below would otherwise
  // make the compiler read them again for every piece.
  const int* classes = classeDe_.data();
  const Hachage* aleas = aleas_.data();
  const Hachage* aleasMiroir = miroir_ ? aleasMiroir_.data() : nullptr;
  const B* masques = masques_.data();
  uint16_t* ancres = s.ancres.data();
  const B** formes = s.formes.data();
  const auto C = static_cast<std::size_t>(cellules_);
  B m;
  for (int p = 0; p < nbPieces_; ++p) {
    const uint16_t a = Ancre(k, p);
    ancres[p] = a;
    const std::size_t i = static_cast<std::size_t>(classes[p]) * C + a;
    h ^= aleas[i];
    if (aleasMiroir) miroir ^= aleasMiroir[i];
    const B* f = masques + i * 6;
    formes[p] = f;
    occ |= f[4];
    m |= f[5];  // empty for a piece without master tiles
  }
  maitres |= m;
  s.hachage = h;
  s.hachageMiroir = miroir;
  return occ;
}

template <int N>
int Solveur<N>::PasserPortes(int classe, int ancre, Portes& portes) const {
  int ouvertes = 0;
  for (const Toucher& t : touchers_[static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) +
                                    static_cast<std::size_t>(ancre)]) {
    if (BitDe(portes.touchees, t.porte) || BitDe(portes.ouvertes, t.porte)) continue;  // not closed
    if ((t.cadre1 >= 0 && BitDe(portes.ouvertes, t.cadre1)) || (t.cadre2 >= 0 && BitDe(portes.ouvertes, t.cadre2)))
      continue;
    PoserBit(portes.touchees, t.porte);
    // The door opens when none of its cells is closed any more.
    const MotsPortes& m = membres_[static_cast<std::size_t>(groupeDe_[static_cast<std::size_t>(t.porte)])];
    bool complete = true;
    for (std::size_t w = 0; w < kMotsPortes; ++w)
      complete = complete && (m[w] & ~(portes.touchees[w] | portes.ouvertes[w])) == 0;
    if (!complete) continue;
    for (std::size_t w = 0; w < kMotsPortes; ++w) {
      portes.ouvertes[w] |= m[w] & portes.touchees[w];
      portes.touchees[w] &= ~m[w];
    }
    ++ouvertes;
  }
  return ouvertes;
}

template <int N>
void Solveur<N>::Inonder(const Portes& portes, const B& occ, int p, uint16_t a0) {
  const int classe = classeDe_[static_cast<std::size_t>(p)];
  B autour = occ;
  autour ^= Forme(classe, a0, 4);  // the piece leaves its cells
  noeuds_.clear();
  noeuds_.push_back({a0, 0, -1, 0, 0});
  const bool portesEnJeu = maitre_[static_cast<std::size_t>(p)] && PorteFermee(portes);
  if (!portesEnJeu) {
    // No door can change: a flood over the anchor alone (every node has
    // the doors of the start, index 0).
    B vus;
    vus.Poser(a0);
    for (std::size_t i = 0; i < noeuds_.size(); ++i) {
      const int a = noeuds_[i].ancre;
      const B* devant = &Forme(classe, a, 0);
      for (std::size_t d = 0; d < kDirections.size(); ++d) {
        if (autour.Croise(devant[d])) continue;
        const int b = a + delta_[d];
        if (vus.Test(b)) continue;
        vus.Poser(b);
        noeuds_.push_back({static_cast<uint16_t>(b), 0, static_cast<int32_t>(i), kDirections[d], 0});
      }
    }
    return;
  }
  portesVues_.assign(1, portes);
  vus_.assign(1, B{});
  vus_[0].Poser(a0);
  // A master piece with doors still closed: each step may touch or open
  // them, so a place is its anchor and the doors' states.
  const B sansPortes = [&] {
    B b = autour;
    for (std::size_t j = 0; j < cellulePorte_.size(); ++j)
      if (!BitDe(portes.ouvertes, static_cast<int>(j)))
        b.m[static_cast<std::size_t>(cellulePorte_[j] >> 6)] &= ~(uint64_t{1} << (cellulePorte_[j] & 63));
    return b;
  }();
  bloqueVues_.assign(1, autour);
  for (std::size_t i = 0; i < noeuds_.size(); ++i) {
    const Noeud n = noeuds_[i];
    for (std::size_t d = 0; d < kDirections.size(); ++d) {
      if (bloqueVues_[n.portes].Croise(Forme(classe, n.ancre, static_cast<int>(d)))) continue;
      const int b = n.ancre + Delta(kDirections[d]);
      Portes suivantes = portesVues_[n.portes];
      const int ouvertes = PasserPortes(classe, b, suivantes);
      std::size_t v = 0;
      while (v < portesVues_.size() && !(portesVues_[v] == suivantes)) ++v;
      if (v == portesVues_.size()) {
        portesVues_.push_back(suivantes);
        vus_.emplace_back();
        B bloque = sansPortes;
        bloque |= Bloquantes(suivantes);
        bloqueVues_.push_back(bloque);
      }
      if (vus_[v].Test(b)) continue;
      vus_[v].Poser(b);
      noeuds_.push_back({static_cast<uint16_t>(b), static_cast<uint16_t>(v), static_cast<int32_t>(i), kDirections[d],
                         static_cast<uint8_t>(n.ouvertes + ouvertes)});
    }
  }
}

template <int N>
std::vector<uint16_t> Solveur<N>::CalculerBornes(const Portes* portes) const {
  // Backwards from every anchor that covers the place, over the anchors
  // where the piece fits between the borders (door cells let through): a
  // step costs one for the steps; for the moves, one when it brings the
  // piece onto door cells not open from none.
  const std::size_t F = placesFinales_.size();
  std::vector<uint16_t> bornes(static_cast<std::size_t>(nbMaitres_) * static_cast<std::size_t>(cellules_) * F, kSansIssue);
  const B fermees = portes ? Bloquantes(*portes) : B{};
  std::vector<int> avant, apres;
  for (std::size_t k = 0; k < classes_.size(); ++k) {
    const int m = indiceMaitre_[k];
    if (m < 0) continue;
    const int classe = static_cast<int>(k);
    auto tient = [&](int a) { return Tient(classe, a); };
    for (std::size_t f = 0; f < F; ++f) {
      auto borne = [&](int a) -> uint16_t& {
        return bornes[(static_cast<std::size_t>(m) * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(a)) * F + f];
      };
      avant.clear();
      for (int a = 0; a < cellules_; ++a)
        if (tient(a) && Forme(classe, a, 5).Test(placesFinales_[f])) {
          borne(a) = 0;
          avant.push_back(a);
        }
      // Breadth first by cost; the moves' steps that cost nothing are
      // followed at once.
      for (uint16_t d = 0; !avant.empty(); ++d) {
        apres.clear();
        for (std::size_t i = 0; i < avant.size(); ++i) {
          const int y = avant[i];
          if (borne(y) != d) continue;
          for (int sens = 0; sens < 4; ++sens) {
            const int x = y - Delta(kDirections[static_cast<std::size_t>(sens)]);
            if (!tient(x) || fixes_.Croise(Forme(classe, x, sens))) continue;
            const bool gratuit =
                portes && !(fermees.Croise(Forme(classe, x, sens)) && !fermees.Croise(Forme(classe, x, 4)));
            const uint16_t c = static_cast<uint16_t>(d + (gratuit ? 0 : 1));
            if (borne(x) <= c) continue;
            borne(x) = c;
            (gratuit ? avant : apres).push_back(x);
          }
        }
        avant.swap(apres);
      }
    }
  }
  return bornes;
}

template <int N>
uint16_t Solveur<N>::Borne(const uint8_t* k, const Suivant* suivant) {
  const uint16_t portes = BornePortes(k);
  if (portes == kSansIssue || (!surLeChemin_ && sallesBornees_.empty())) return portes;
  uint16_t borne = portes;
  if (surLeChemin_) {
    // The doors opened and the pieces' moves are counted apart: the doors
    // a master has to open, and the pieces that have to move, the master
    // among them (both bounds count its move once).
    const uint16_t pieces = SurLeChemin(k, suivant);
    if (pieces == kSansIssue) return kSansIssue;
    borne = static_cast<uint16_t>(portes + pieces - (portes > 0 && pieces > 0 ? 1 : 0));
  }
  if (sallesBornees_.empty() || portes == 0) return borne;
  // The doors still to open, and the rooms' moves (the master's among them).
  const uint16_t salles = BorneDesSalles(k);
  if (salles == kSansIssue) return kSansIssue;
  return std::max<uint16_t>(borne, static_cast<uint16_t>(portes - 1 + salles));
}

// Where the pieces of state k stand, and which piece stands on each of
// those cells (the other cells keep what they had: only cells the pieces
// cover are read).
template <int N>
void Solveur<N>::PreparerChemin(const uint8_t* k) const {
  piecesParent_ = B{};
  for (int q = 0; q < nbPieces_; ++q) {
    const int classe = classeDe_[static_cast<std::size_t>(q)];
    const int a = Ancre(k, q);
    piecesParent_ |= Forme(classe, a, 4);
    for (int decalage : cellulesDe_[static_cast<std::size_t>(classe)]) pieceSur_[static_cast<std::size_t>(a + decalage)] = static_cast<int16_t>(q);
  }
}

template <int N>
uint16_t Solveur<N>::SurLeChemin(const uint8_t* k, const Suivant* suivant) const {
  const auto C = static_cast<std::size_t>(cellules_);
  const std::size_t G = butsObligatoires_.size();
  // Where the pieces stand, and which piece stands on each of those
  // cells: the state expanded's, the moved piece moved.
  if (!suivant) {
    PreparerChemin(k);
    cheminPret_ = false;
  } else if (!cheminPret_) {
    PreparerChemin(cleChemin_);
    cheminPret_ = true;
  }
  B occupees = piecesParent_;
  if (suivant) {
    const int classe = classeDe_[static_cast<std::size_t>(suivant->piece)];
    occupees ^= Forme(classe, suivant->avant, 4);
    occupees |= Forme(classe, suivant->apres, 4);
    for (int decalage : cellulesDe_[static_cast<std::size_t>(classe)])
      pieceSur_[static_cast<std::size_t>(suivant->apres + decalage)] = static_cast<int16_t>(suivant->piece);
  }
  uint16_t pire = 0;
  for (std::size_t g = 0; g < G; ++g) {
    uint16_t meilleure = kSansIssue;
    for (int p : piecesMaitresses_) {
      const int classe = classeDe_[static_cast<std::size_t>(p)];
      const int a = Ancre(k, p);
      if (Forme(classe, a, 5).Contient(butsObligatoires_[g])) {
        meilleure = 0;
        break;
      }
      const std::size_t i =
          (static_cast<std::size_t>(indiceMaitre_[static_cast<std::size_t>(classe)]) * G + g) * C + static_cast<std::size_t>(a);
      if (!joignables_[i]) continue;
      // The other pieces on those cells, each once.
      ++marque_;
      int n = 0;
      for (std::size_t w = 0; w < N; ++w) {
        uint64_t x = obligatoires_[i].m[w] & occupees.m[w] & ~Forme(classe, a, 4).m[w];
        for (; x; x &= x - 1) {
          const auto q = static_cast<std::size_t>(pieceSur_[w * 64 + static_cast<std::size_t>(std::countr_zero(x))]);
          n += marques_[q] != marque_;
          marques_[q] = marque_;
        }
      }
      meilleure = std::min(meilleure, static_cast<uint16_t>(1 + n));
    }
    if (meilleure == kSansIssue) return kSansIssue;
    pire = std::max(pire, meilleure);
  }
  return pire;
}

// For each master kind, each goal and each anchor: whether the kind can
// reach the goal from there at all (borders alone in the way, door cells
// let through), and the cells it covers at every anchor that each way
// goes through, the goal's among them. A goal: all the places when one
// master piece has to cover them all, each place otherwise. One search
// from the anchors that cover the goal with each anchor closed in turn.
template <int N>
void Solveur<N>::PreparerObligatoires() {
  const auto C = static_cast<std::size_t>(cellules_);
  butsObligatoires_.clear();
  if (piecesMaitresses_.size() == 1) {
    butsObligatoires_.emplace_back();
    for (int place : placesFinales_) butsObligatoires_.back().Poser(place);
  } else {
    for (int place : placesFinales_) {
      butsObligatoires_.emplace_back();
      butsObligatoires_.back().Poser(place);
    }
  }
  const std::size_t G = butsObligatoires_.size();
  pieceSur_.assign(C, -1);
  marques_.assign(static_cast<std::size_t>(nbPieces_), 0);
  obligatoires_.assign(static_cast<std::size_t>(nbMaitres_) * G * C, B{});
  joignables_.assign(static_cast<std::size_t>(nbMaitres_) * G * C, 0);
  std::vector<char> vus(C), atteints(C);
  std::vector<int> pile, buts;
  for (std::size_t k = 0; k < classes_.size(); ++k) {
    const int m = indiceMaitre_[k];
    if (m < 0) continue;
    const int classe = static_cast<int>(k);
    auto tient = [&](int a) { return Tient(classe, a); };
    // Backward from the goal's anchors, without the closed one.
    auto parcourir = [&](int fermee) {
      std::fill(vus.begin(), vus.end(), 0);
      pile.clear();
      for (int b : buts)
        if (b != fermee) {
          vus[static_cast<std::size_t>(b)] = 1;
          pile.push_back(b);
        }
      while (!pile.empty()) {
        const int y = pile.back();
        pile.pop_back();
        for (int sens = 0; sens < 4; ++sens) {
          const int x = y - Delta(kDirections[static_cast<std::size_t>(sens)]);
          if (x == fermee || !tient(x) || vus[static_cast<std::size_t>(x)] || fixes_.Croise(Forme(classe, x, sens)))
            continue;
          vus[static_cast<std::size_t>(x)] = 1;
          pile.push_back(x);
        }
      }
    };
    for (std::size_t g = 0; g < G; ++g) {
      buts.clear();
      B partout;  // the cells every anchor of the goal covers
      for (int a = 0; a < cellules_; ++a)
        if (tient(a) && Forme(classe, a, 5).Contient(butsObligatoires_[g])) {
          if (buts.empty())
            partout = Forme(classe, a, 4);
          else
            for (std::size_t w = 0; w < N; ++w) partout.m[w] &= Forme(classe, a, 4).m[w];
          buts.push_back(a);
        }
      const std::size_t base = (static_cast<std::size_t>(m) * G + g) * C;
      parcourir(-1);
      atteints = vus;
      for (std::size_t a = 0; a < C; ++a) {
        joignables_[base + a] = atteints[a];
        if (atteints[a]) obligatoires_[base + a] = partout;
      }
      for (int x = 0; x < cellules_; ++x) {
        if (!atteints[static_cast<std::size_t>(x)]) continue;
        parcourir(x);
        for (std::size_t a = 0; a < C; ++a)
          if (atteints[a] && !vus[a] && static_cast<int>(a) != x) obligatoires_[base + a] |= Forme(classe, x, 4);
      }
    }
  }
}

template <int N>
uint16_t Solveur<N>::BornePortes(const uint8_t* k) {
  const bool coups = options_.mesure == MesureSolveur::Coups;
  if (coups && cellulePorte_.empty()) return 0;
  const std::vector<uint16_t>* bornes = &bornesPas_;
  if (coups) {
    Portes portes;
    LirePortes(k, portes);
    auto it = bornesPortes_.find(portes.ouvertes);
    if (it == bornesPortes_.end()) {
      if (bornesPortes_.size() >= 64) return 0;  // too many door sets: no bound
      it = bornesPortes_.emplace(portes.ouvertes, CalculerBornes(&portes)).first;
      memoire_.Prendre(it->second.size() * sizeof(uint16_t));
    }
    bornes = &it->second;
  }
  const std::size_t F = placesFinales_.size();
  if (!coups && piecesMaitresses_.size() == 1) {
    // One master piece: the farthest place from its anchor, kept.
    const int p = piecesMaitresses_[0];
    return pireDepuis_[static_cast<std::size_t>(Ancre(k, p))];
  }
  int pire = 0;
  bool resolu = true;
  for (std::size_t f = 0; f < F; ++f) {
    int meilleure = kSansIssue;
    for (int p : piecesMaitresses_) {
      const int classe = classeDe_[static_cast<std::size_t>(p)];
      const int m = indiceMaitre_[static_cast<std::size_t>(classe)];
      if (Forme(classe, Ancre(k, p), 5).Test(placesFinales_[f])) {
        meilleure = -1;  // covered
        break;
      }
      meilleure = std::min<int>(meilleure, (*bornes)[(static_cast<std::size_t>(m) * static_cast<std::size_t>(cellules_) + Ancre(k, p)) * F + f]);
    }
    if (meilleure == kSansIssue) return kSansIssue;
    resolu = resolu && meilleure < 0;
    pire = std::max(pire, meilleure);
  }
  // Steps: the farthest place. Moves: one move, and the doors on the way.
  if (!coups) return static_cast<uint16_t>(pire);
  return static_cast<uint16_t>(pire + (resolu ? 0 : 1));
}

template <int N>
typename Solveur<N>::B Solveur<N>::Salle(const uint8_t* k) const {
  B salle;
  std::vector<int>& pile = pileSalle_;
  pile.clear();
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    if (classes_[static_cast<std::size_t>(classe)].serie != TSerieMap::Final) continue;
    const B& forme = Forme(classe, Ancre(k, p), 4);
    salle |= forme;
    for (int i = 0; i < cellules_; ++i)
      if (forme.Test(i)) pile.push_back(i);
  }
  while (!pile.empty()) {
    const int i = pile.back();
    pile.pop_back();
    for (int8_t d : kDirections) {
      const int v = i + Delta(d);
      if (salle.Test(v) || fixes_.Test(v) || porteDe_[static_cast<std::size_t>(v)] >= 0) continue;
      salle.Poser(v);
      pile.push_back(v);
    }
  }
  return salle;
}

template <int N>
uint16_t Solveur<N>::Estimer(const uint8_t* k) const {
  // For each master piece, the cheapest way of its whole shape to every
  // anchor: a step costs 1, and kAutre more when the shape then lies on
  // another piece, kPorte more on a door not open. For each final place,
  // the cheapest anchor of a master piece that covers it; the sum over the
  // places, shared out over the tiles of the largest master piece.
  Portes portes;
  LirePortes(k, portes);
  B autres, fermees = cellulePorte_.empty() ? B{} : Bloquantes(portes);
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    if (classes_[static_cast<std::size_t>(classe)].serie != TSerieMap::Final) autres |= Forme(classe, Ancre(k, p), 4);
  }
  B genes = autres;
  genes |= fermees;
  const int kPlusCher = 1 + kAutre + prixPorteMax_;
  fileDistances_.resize(kPlusCher + 1);
  meilleures_.assign(placesFinales_.size(), kEstimationMax);
  int plusGrande = 1;
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    const auto& c = classes_[static_cast<std::size_t>(classe)];
    if (c.serie != TSerieMap::Final) continue;
    plusGrande = std::max(plusGrande, c.maitres);
    distances_.assign(static_cast<std::size_t>(cellules_), 0xFFFF);
    const int a0 = Ancre(k, p);
    distances_[static_cast<std::size_t>(a0)] = 0;
    fileDistances_[0].push_back(static_cast<int16_t>(a0));
    std::size_t enFile = 1;
    // Dial's buckets, the distance modulo kPlusCher + 1; done when every
    // place has a cheaper anchor than what is left.
    for (int d = 0; enFile > 0; ++d) {
      auto& seau = fileDistances_[static_cast<std::size_t>(d % (kPlusCher + 1))];
      if (d > *std::max_element(meilleures_.begin(), meilleures_.end())) {
        for (auto& reste : fileDistances_) reste.clear();
        break;
      }
      for (std::size_t s = 0; s < seau.size(); ++s) {
        const int a = seau[s];
        if (distances_[static_cast<std::size_t>(a)] != d) continue;
        const B& maitres = Forme(classe, a, 5);
        for (std::size_t f = 0; f < placesFinales_.size(); ++f)
          if (d < meilleures_[f] && maitres.Test(placesFinales_[f])) meilleures_[f] = d;
        for (unsigned vers = versSol_[static_cast<std::size_t>(classe) * static_cast<std::size_t>(cellules_) +
                                      static_cast<std::size_t>(a)];
             vers; vers &= vers - 1) {
          const int sens = std::countr_zero(vers);
          const B& devant = Forme(classe, a, sens);
          const int b = a + delta_[static_cast<std::size_t>(sens)];
          int prix = 1;
          if (genes.Croise(devant)) {
            if (autres.Croise(devant)) prix += kAutre;
            if (fermees.Croise(devant)) prix += PrixPorte(devant, portes);
          }
          if (distances_[static_cast<std::size_t>(b)] <= d + prix) continue;
          distances_[static_cast<std::size_t>(b)] = static_cast<uint16_t>(d + prix);
          fileDistances_[static_cast<std::size_t>((d + prix) % (kPlusCher + 1))].push_back(static_cast<int16_t>(b));
          ++enFile;
        }
      }
      enFile -= seau.size();
      seau.clear();
    }
  }
  long somme = 0;
  for (int m : meilleures_) somme += m;
  return static_cast<uint16_t>(std::min<long>(kEstimationMax, somme / plusGrande));
}

template <int N>
typename Solveur<N>::Fin Solveur<N>::Chercher(bool approchee, ResultatSolveur& r, int* niveauAtteint) {
  Recherche s(memoire_, tailleCle_, options_, approchee);
  if (const auto fin = Commencer(s, r)) return *fin;
  std::size_t traites = 0;
  uint32_t e = 0;
  std::size_t niveau = 0, plusHaut = 0;
  while (s.seaux.Prendre(&e, &niveau)) {
    const Lien lien = *s.liens[e];
    if (s.Priorite(lien.cout, lien.estimation) != niveau) continue;  // reached cheaper since
    if (options_.annuler && (++traites & 255) == 0 && options_.annuler->load()) return Fin::Annule;
    // Every level below the highest taken is known to have no solution
    // (a state reached cheaper later may come back below it).
    plusHaut = std::max(plusHaut, niveau);
    s.table.EntreDeuxEtats();
    s.cle = s.table.Cle(e);  // it stays where it is until the next state
    B maitres;
    const B occ = Lire(s, maitres);
    cheminPret_ = false;  // read when a new state is first weighed
    cleChemin_ = s.cle;
    if (maitres.Contient(finales_)) {
      r.etats += s.table.Nombre();
      r.chemin = Chemin(e, s.table, s.liens, false);
      r.pas = static_cast<int>(r.chemin.size());
      r.coups = s.coups ? lien.cout : 0;
      return Fin::Solution;
    }
    Developper(s, e, lien, occ);
    // All the state's successors at once: their slots were asked for while
    // the others were found.
    if (!AjouterSuivants(s, e)) {
      r.etats += s.table.Nombre();
      *niveauAtteint = static_cast<int>(s.Niveau(plusHaut));
      return Fin::Limite;
    }
  }
  r.etats += s.table.Nombre();
  return Fin::Aucune;
}


// The start, in the table and in the queues; the end of the search when it
// ends there.
template <int N>
std::optional<typename Solveur<N>::Fin> Solveur<N>::Commencer(Recherche& s, ResultatSolveur& r) {
  for (int p = 0; p < nbPieces_; ++p) PoserAncre(s.depart.data(), p, ancresDepart_[static_cast<std::size_t>(p)]);
  EcrirePortes(s.depart.data(), portesDepart_);
  s.cle = s.depart.data();
  if (!s.table.Place(options_.limiteMemoire, kReserve)) return Fin::Limite;
  int etat = 0;
  s.ancres.resize(static_cast<std::size_t>(nbPieces_));
  s.formes.resize(static_cast<std::size_t>(nbPieces_));
  B maitres;
  Lire(s, maitres);
  Hachage h = s.hachage;
  bool direct = true;
  if (miroir_) {
    direct = h.AuPlus(s.hachageMiroir);
    h = h.PlusMiroir(s.hachageMiroir);
  }
  s.table.Trouver(h.Empreinte(), 0, &etat);
  std::memcpy(s.table.NouvelleCle(), s.cle, tailleCle_);
  const uint16_t e0 = s.approchee ? Estimer(s.cle) : Borne(s.cle);
  if (e0 == kSansIssue) {
    r.etats = 1;
    return Fin::Aucune;
  }
  *s.liens.Ajouter() = {0, 0, 0, 0, e0, 0, 0, static_cast<uint8_t>(direct)};
  s.seaux.Ajouter(s.Priorite(0, e0), 0);
  return std::nullopt;
}

// Proposes every state one step (or one move) of a piece reaches from the
// state e being expanded.
template <int N>
void Solveur<N>::Developper(Recherche& s, uint32_t e, const Lien& lien, const B& occ) {
  // The best-first search leaves alone the pieces of the rooms the
  // master pieces are not in: behind doors they only multiply states.
  const bool salles = s.approchee && !cellulePorte_.empty();
  const bool portesFermees = !cellulePorte_.empty() && PorteFermee(s.portes);
  const B salle = salles ? Salle(s.cle) : B{};
  const bool gel = !s.approchee && options_.sallesFermees && !salleDe_.empty() && Geler(s, occ);
  // Only a piece beside a free cell can move: most cannot. Which ones, as
  // bits first (without a branch each), then those.
  B libres = sol_;
  for (std::size_t w = 0; w < N; ++w) libres.m[w] &= ~occ.m[w];
  B pres = libres.Autour(1);
  pres |= libres.Autour(pas_);
  std::array<uint64_t, kMotsPortes> mobiles{};
  for (int p = 0; p < nbPieces_; ++p) {
    const auto q = static_cast<std::size_t>(p);
    mobiles[q >> 6] |= static_cast<uint64_t>(pres.Croise(s.formes[q][4])) << (q & 63);
  }
  for (std::size_t w = 0; w * 64 < static_cast<std::size_t>(nbPieces_); ++w)
    for (uint64_t m = mobiles[w]; m; m &= m - 1) {
      const int p = static_cast<int>(w * 64) + std::countr_zero(m);
      const int classe = classeDe_[static_cast<std::size_t>(p)];
      const uint16_t a = s.ancres[static_cast<std::size_t>(p)];
      if ((salles || gel) && Laissee(classe, a, salles ? &salle : nullptr, gel)) continue;
      if (s.coups)
        ProposerCoups(s, e, lien, occ, p, a);
      else
        ProposerPas(s, e, lien, occ, p, a, portesFermees && maitre_[static_cast<std::size_t>(p)]);
    }
}

template <int N>
bool Solveur<N>::Laissee(int classe, uint16_t a, const B* salle, bool gel) const {
  if (salle && !salle->Croise(Forme(classe, a, 4))) return true;
  if (!gel) return false;
  const TPosition t = Decale(PositionDe(a), classes_[static_cast<std::size_t>(classe)].decalages[0]);
  const int r = salleDe_[static_cast<std::size_t>(Indice(t))];
  return r >= 0 && gelees_[static_cast<std::size_t>(r)];
}

// A room no door of which has opened yet, with no piece that opens doors
// in it, keeps its pieces to itself, and the moves there change nothing
// outside: in any solution they can wait until just before the move of a
// master piece that opens its first door, in the same order, for no more
// moves or steps. So they are only tried when a master piece's next move
// can open one of its doors: the other orders reach the same states,
// later. Whether some room is left alone.
template <int N>
bool Solveur<N>::Geler(const Recherche& s, const B& occ) {
  bool une = false;
  for (std::size_t r = 0; r < gelees_.size(); ++r) {
    bool fermee = true;
    for (std::size_t w = 0; w < kMotsPortes; ++w) fermee = fermee && (s.portes.ouvertes[w] & portesDeSalle_[r][w]) == 0;
    for (int p = 0; p < nbPieces_; ++p)
      fermee = fermee && !(maitre_[static_cast<std::size_t>(p)] &&
                           cellulesDeSalle_[r].Croise(Forme(classeDe_[static_cast<std::size_t>(p)], Ancre(s.cle, p), 4)));
    // An empty room has nothing to leave alone.
    gelees_[r] = fermee && occ.Croise(cellulesDeSalle_[r]);
    une = une || gelees_[r];
  }
  if (!une) return false;
  for (int p = 0; p < nbPieces_ && une; ++p) {
    if (!maitre_[static_cast<std::size_t>(p)]) continue;
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    const uint16_t a = Ancre(s.cle, p);
    const unsigned libres = Libres(occ, classe, a);
    if (!libres) continue;  // it cannot move at all
    auto degeler = [&](const MotsPortes& ouvertes) {
      for (std::size_t r = 0; r < gelees_.size(); ++r) {
        if (!gelees_[r]) continue;
        bool ouvre = false;
        for (std::size_t w = 0; w < kMotsPortes; ++w) ouvre = ouvre || (ouvertes[w] & portesDeSalle_[r][w]) != 0;
        if (ouvre) gelees_[r] = 0;
      }
    };
    if (!s.coups) {
      // Its next step, each way it is free to go.
      for (std::size_t d = 0; d < kDirections.size(); ++d) {
        if (!((libres >> d) & 1)) continue;
        Portes suivantes = s.portes;
        if (PasserPortes(classe, a + delta_[d], suivantes) > 0) degeler(suivantes.ouvertes);
      }
    } else {
      // Its next move: the doors of every place of its flood, each set once.
      Inonder(s.portes, occ, p, a);
      for (std::size_t v = 1; v < portesVues_.size(); ++v) degeler(portesVues_[v].ouvertes);
    }
    une = false;
    for (char g : gelees_) une = une || g;
  }
  return une;
}

// The single steps of piece p, at anchor a.
template <int N>
void Solveur<N>::ProposerPas(Recherche& s, uint32_t e, const Lien& lien, const B& occ, int p, uint16_t a,
                             bool portesEnJeu) {
  const int classe = classeDe_[static_cast<std::size_t>(p)];
  // The step back to the parent is known, when no door changed on the
  // way: skipped.
  std::size_t retour = 4;
  if (a == lien.apres && e != 0 && !portesEnJeu)
    retour = Oppose(lien.miroir ? MiroirDePas({0, 0, lien.direction}).direction : lien.direction);
  // The free ways first, without a branch each: most pieces have none.
  unsigned libres = Libres(occ, s.formes[static_cast<std::size_t>(p)]);
  libres &= ~(1u << retour);
  for (; libres; libres &= libres - 1) {
    const auto d = static_cast<std::size_t>(std::countr_zero(libres));
    const auto b = static_cast<uint16_t>(a + delta_[d]);
    if (portesEnJeu) {
      s.suivantes = s.portes;
      PasserPortes(classe, b, s.suivantes);
    }
    Proposer(s, p, a, b, portesEnJeu ? &s.suivantes : nullptr, lien.cout + 1, kDirections[d]);
  }
}

// The moves of piece p, at anchor a: every place its flood reaches.
template <int N>
void Solveur<N>::ProposerCoups(Recherche& s, uint32_t e, const Lien& lien, const B& occ, int p, uint16_t a) {
  // The piece that made this move: its next move from here reaches
  // only places its last flood already gave, and no cheaper.
  if (e != 0 && a == lien.apres) return;
  if (!Libres(occ, s.formes[static_cast<std::size_t>(p)])) return;
  if constexpr (N == 1) {
    // A board of one word and no door the move can change: the places the
    // piece fits, all at once, then the flood over them from a.
    const auto q = static_cast<std::size_t>(p);
    if (!(maitre_[q] && PorteFermee(s.portes))) {
      for (uint64_t m = Atteintes(occ, classeDe_[q], a); m; m &= m - 1)
        Proposer(s, p, a, static_cast<uint16_t>(std::countr_zero(m)), nullptr, lien.cout + 1, 0);
      return;
    }
  }
  Inonder(s.portes, occ, p, a);
  for (std::size_t i = 1; i < noeuds_.size(); ++i) {
    const Noeud& n = noeuds_[i];
    const int prix = (n.ancre != a ? 1 : 0) + n.ouvertes;
    Proposer(s, p, a, n.ancre, n.portes ? &portesVues_[n.portes] : nullptr, lien.cout + prix, 0);
  }
}

// A state piece p reaches from its anchor avant to apres, with the doors
// it leaves (null when they stay): fingerprinted, and its slot asked for.
template <int N>
void Solveur<N>::Proposer(Recherche& s, int p, uint16_t avant, uint16_t apres, const Portes* portes, int cout,
                          int8_t direction) {
  const int classe = classeDe_[static_cast<std::size_t>(p)];
  Hachage h = s.hachage;
  h ^= Alea(classe, avant);
  h ^= Alea(classe, apres);
  int indice = -1;
  if (portes) {
    h ^= DifferencePortes(s.portes, *portes);
    indice = static_cast<int>(s.lotPortes.size());
    s.lotPortes.push_back(*portes);
  }
  bool direct = true;
  if (miroir_) {
    Hachage m = s.hachageMiroir;
    m ^= AleaMiroir(classe, avant);
    m ^= AleaMiroir(classe, apres);
    direct = h.AuPlus(m);
    h = h.PlusMiroir(m);
  }
  s.suivants.push_back({h, direct, p, avant, apres, indice, cout, direction});
  s.table.Prevoir(h.Empreinte());
}

// Adds the states proposed from parent; false when a limit is met.
template <int N>
bool Solveur<N>::AjouterSuivants(Recherche& s, uint32_t parent) {
  for (const Suivant& v : s.suivants) {
    if (v.cout > 0xFFFF) continue;
    if (s.table.Nombre() >= options_.limiteEtats || !s.table.Place(options_.limiteMemoire, kReserve)) return false;
    int etat = 0;
    const uint32_t i = s.table.Trouver(v.hachage.Empreinte(), static_cast<uint16_t>(v.cout), &etat);
    if (etat == 2) continue;
    Lien* lien = nullptr;
    if (etat == 0) {
      // The key kept is the one reached first.
      uint8_t* k = s.table.NouvelleCle();
      std::memcpy(k, s.cle, tailleCle_);
      PoserAncre(k, v.piece, v.apres);
      Canoniser(k, v.piece);
      if (v.portes >= 0) EcrirePortes(k, s.lotPortes[static_cast<std::size_t>(v.portes)]);
      lien = s.liens.Ajouter();
      lien->estimation = s.approchee ? Estimer(k) : Borne(k, surLeChemin_ && !miroir_ ? &v : nullptr);
      // What the parent's bound says of it, when more: it is a bound too
      // (the rooms' bound is far from consistent).
      if (s.departage && lien->estimation != kSansIssue) {
        const Lien& pere = *s.liens[parent];
        if (pere.estimation > v.cout - pere.cout + lien->estimation)
          lien->estimation = static_cast<uint16_t>(pere.estimation - (v.cout - pere.cout));
      }
      lien->direct = static_cast<uint8_t>(v.direct);
    } else {
      lien = s.liens[i];
    }
    // Led to the mirror of the key kept: the moved piece's anchor is then
    // the mirror's.
    const bool miroir = v.direct != lien->direct;
    const uint16_t apres =
        miroir ? AncreMiroir(classeDe_[static_cast<std::size_t>(v.piece)], v.apres) : v.apres;
    *lien = {parent, v.avant, apres, static_cast<uint16_t>(v.cout), lien->estimation, v.direction,
             static_cast<uint8_t>(miroir), lien->direct};
    if (lien->estimation != kSansIssue) s.seaux.Ajouter(s.Priorite(v.cout, lien->estimation), i);
  }
  s.suivants.clear();
  s.lotPortes.clear();
  return true;
}

template <int N>
std::vector<PasSolution> Solveur<N>::Chemin(uint32_t fin, const Table& table, const Pages<Lien>& liens, bool exactes) {
  std::vector<uint32_t> suite;
  for (uint32_t e = fin; e != 0; e = liens[e]->parent) suite.push_back(e);
  std::reverse(suite.begin(), suite.end());
  std::vector<PasSolution> chemin;
  std::vector<uint8_t> suivante(tailleCle_), cible(tailleCle_), ancres(static_cast<std::size_t>(nbPieces_));
  Portes portes;
  // Whether the key kept for the parent is the mirror of where the moves
  // so far lead: its steps are then played mirrored.
  bool miroir = false;
  auto jouer = [&](PasSolution pas) { chemin.push_back(miroir ? MiroirDePas(pas) : pas); };
  for (uint32_t e : suite) {
    const Lien& lien = *liens[e];
    if (options_.mesure == MesureSolveur::Pas) {
      jouer(PasDe(lien.avant, lien.direction));
      miroir = miroir != (lien.miroir != 0);
      continue;
    }
    // The steps of the move: the flood from the parent, back from the
    // place that gives this state.
    if (exactes) {
      // Exact keys: the move is in the frame of its parent's key as kept,
      // and the link says where it ends (the state is kept as reached, or
      // as its mirror when it was reached again more cheaply).
      const EntreeExacte x = LireEntree(table.Cle(lien.parent));
      B maitres;
      LireExacte(x.cle, ancres.data(), maitres);
      int p = 0;
      while (ancres[static_cast<std::size_t>(p)] != lien.avant) ++p;
      Inonder(portesDepart_, x.occ, p, lien.avant);
      std::size_t i = 1;
      while (noeuds_[i].ancre != lien.apres) ++i;
      for (const PasSolution& pas : PasDeLaCrue(i)) jouer(pas);
      miroir = miroir != (lien.miroir != 0);
      continue;
    }
    const uint8_t* parent = table.Cle(lien.parent);
    LirePortes(parent, portes);
    const B occ = Occupation(parent, portes, nullptr);
    int p = 0;
    while (Ancre(parent, p) != lien.avant) ++p;
    Inonder(portes, occ, p, lien.avant);
    // The move leads to the key kept, or to its mirror.
    std::memcpy(cible.data(), table.Cle(e), tailleCle_);
    if (lien.miroir) MiroirDeCle(table.Cle(e), cible.data());
    std::size_t i = 1;
    for (; i < noeuds_.size(); ++i) {
      std::memcpy(suivante.data(), parent, tailleCle_);
      PoserAncre(suivante.data(), p, noeuds_[i].ancre);
      Canoniser(suivante.data(), p);
      if (noeuds_[i].portes) EcrirePortes(suivante.data(), portesVues_[noeuds_[i].portes]);
      if (std::memcmp(suivante.data(), cible.data(), tailleCle_) == 0) break;
    }
    for (const PasSolution& pas : PasDeLaCrue(i)) jouer(pas);
    miroir = miroir != (lien.miroir != 0);
  }
  return chemin;
}

template <int N>
ResultatSolveur Solveur<N>::Resoudre() {
  ResultatSolveur r;
  memoire_.Prendre(octetsFixes_);
  int niveau = 0;
  Fin fin = exacte_ ? ChercherExacte(r, &niveau) : Chercher(false, r, &niveau);
  if (fin == Fin::Limite && options_.approchee) {
    // No proven answer within the limits: any answer, from a search that
    // starts afresh (the first one's memory is given back).
    const std::size_t etats = r.etats;
    int ignore = 0;
    r.etats = 0;
    fin = Chercher(true, r, &ignore);
    r.etats += etats;
    // Every cost below the level the first search finished is known to
    // have no solution: a solution at that level is optimal all the same.
    if (fin == Fin::Solution) r.optimale = options_.mesure == MesureSolveur::Coups ? r.coups <= niveau : r.pas <= niveau;
  } else if (fin == Fin::Solution) {
    r.optimale = true;
  }
  r.issue = fin == Fin::Solution ? IssueSolveur::Solution
            : fin == Fin::Aucune ? IssueSolveur::AucuneSolution
            : fin == Fin::Limite ? IssueSolveur::LimiteAtteinte
                                 : IssueSolveur::Annule;
  r.memoire = memoire_.pic;
  return r;
}

template <int N>
ResultatSolveur ResoudreAvec(const TPlateau& plateau, const OptionsSolveur& options) {
  return Solveur<N>(plateau, options).Resoudre();
}

}  // namespace

ResultatSolveur Resoudre(const TPlateau& plateau, const OptionsSolveur& options) {
  const int cellules = (plateau.Hauteur + 2) * (plateau.Largeur + 1);
  ResultatSolveur r;
  try {
    r = cellules <= 64    ? ResoudreAvec<1>(plateau, options)
        : cellules <= 128 ? ResoudreAvec<2>(plateau, options)
        : cellules <= 256 ? ResoudreAvec<4>(plateau, options)
                          : ResoudreAvec<6>(plateau, options);
  } catch (const std::bad_alloc&) {
    // The system had less memory to give than the limit allowed: a limit
    // met all the same (everything taken is given back on the way out).
    r = {};
    r.issue = IssueSolveur::LimiteAtteinte;
  }
  if (r.issue == IssueSolveur::Solution && options.mesure == MesureSolveur::Pas) {
    int32_t fin = 0;
    EvenementsDeLaSolution(plateau, r.chemin, 0, &fin);
    r.coups = fin;
  }
  return r;
}

void GarderLaMemoireDesRecherches() {
#if defined(__GLIBC__)
  // Blocks up to 32 MiB from the heap, where a freed one is taken again,
  // rather than mapped afresh each time; and up to 64 MiB free at its top
  // before any goes back.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace glissaro
