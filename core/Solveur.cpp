#include "Solveur.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <utility>

#include "Partie.h"

namespace glissaro {

namespace {

constexpr std::array<int8_t, 4> kDirections = {EvHaut, EvBas, EvGauche, EvDroite};
int Dl(int8_t d) { return d == EvHaut ? -1 : d == EvBas ? 1 : 0; }
int Dc(int8_t d) { return d == EvGauche ? -1 : d == EvDroite ? 1 : 0; }

// The guide of the best-first search, in sixteenths of a move: a step on
// floor costs one, a cell held by a piece that is not a master a whole
// move, a door cell that is not open half a move.
constexpr int kUnite = 16;
constexpr int kAutre = kUnite;
constexpr int kPorte = kUnite / 2;
constexpr int kEstimationMax = 0x3FFF;
// A bound for a state no sequence of moves can solve.
constexpr uint16_t kSansIssue = 0xFFFF;

// What the search holds, counted as it is allocated: the peak is what the
// process really takes for it.
struct Memoire {
  std::size_t actuelle = 0;
  std::size_t pic = 0;
  void Prendre(std::size_t n) {
    actuelle += n;
    pic = std::max(pic, actuelle);
  }
  void Rendre(std::size_t n) { actuelle -= n; }
};

// Entries of a fixed width stored in pages, so growing never copies nor
// holds twice the data.
template <class T>
class Pages {
 public:
  // parPage is rounded up to a power of two: an entry is found by shifts.
  Pages(Memoire& memoire, std::size_t largeur, std::size_t parPage)
      : memoire_(&memoire), largeur_(largeur), decalage_(std::bit_width(parPage - 1)), parPage_(std::size_t{1} << decalage_) {}
  Pages(Pages&&) noexcept = default;
  Pages& operator=(Pages&&) noexcept = default;
  ~Pages() { Vider(); }

  std::size_t Taille() const { return n_; }
  T* operator[](std::size_t i) const { return pages_[i >> decalage_].get() + (i & (parPage_ - 1)) * largeur_; }
  // Entries that fit in the pages already taken.
  std::size_t Restantes() const { return pages_.size() * parPage_ - n_; }
  // The bytes the next Ajouter takes.
  std::size_t Besoin() const { return n_ == pages_.size() * parPage_ ? OctetsPage() : 0; }
  T* Ajouter() {
    if (n_ == pages_.size() * parPage_) {
      pages_.push_back(std::make_unique_for_overwrite<T[]>(parPage_ * largeur_));
      memoire_->Prendre(OctetsPage());
    }
    return (*this)[n_++];
  }
  void Vider() {
    if (memoire_) memoire_->Rendre(pages_.size() * OctetsPage());
    pages_.clear();
    pages_.shrink_to_fit();
    n_ = 0;
  }

 private:
  std::size_t OctetsPage() const { return parPage_ * largeur_ * sizeof(T) + sizeof(std::unique_ptr<T[]>); }
  Memoire* memoire_;
  std::size_t largeur_;
  int decalage_;
  std::size_t parPage_;
  std::size_t n_ = 0;
  std::vector<std::unique_ptr<T[]>> pages_;
};

// Queues of states by priority (cost, or cost and estimate); the smallest
// comes first.
class Seaux {
 public:
  explicit Seaux(Memoire& memoire) : memoire_(memoire) {}
  void Ajouter(std::size_t priorite, uint32_t etat) {
    while (priorite >= seaux_.size()) {
      seaux_.emplace_back(memoire_, 1, 4096);
      lus_.push_back(0);
    }
    *seaux_[priorite].Ajouter() = etat;
    courant_ = std::min(courant_, priorite);
  }
  bool Prendre(uint32_t* etat, std::size_t* priorite) {
    for (; courant_ < seaux_.size(); ++courant_) {
      auto& seau = seaux_[courant_];
      if (lus_[courant_] < seau.Taille()) {
        *etat = *seau[lus_[courant_]++];
        *priorite = courant_;
        return true;
      }
      seau.Vider();
      lus_[courant_] = 0;
    }
    return false;
  }

 private:
  Memoire& memoire_;
  std::vector<Pages<uint32_t>> seaux_;
  std::vector<std::size_t> lus_;
  std::size_t courant_ = 0;
};

// A state's fingerprint as it is built: two words xored.
struct Hachage {
  uint64_t a = 0;
  uint64_t b = 0;
  Hachage& operator^=(const Hachage& o) {
    a ^= o.a;
    b ^= o.b;
    return *this;
  }
  auto Empreinte() const;
};

// The states met: their keys, one after the other, and an open-addressing
// table of slots that hold an 80-bit fingerprint of the state, the
// cheapest cost known and the index, so a probe reads one slot and never
// the key. The fingerprint xors random words of each piece kind at each
// anchor and of each door cell's state: a step changes it by two words.
class Table {
 public:
  struct Empreinte {
    uint64_t h1;
    uint16_t h2;
  };

  Table(Memoire& memoire, std::size_t tailleCle, std::size_t limite)
      : memoire_(memoire), taille_(tailleCle), cles_(memoire, tailleCle, std::max<std::size_t>(1024, (1 << 18) / tailleCle)) {
    // Up to 1 MiB (a sixteenth of the limit at most), taken by pages only
    // as they are touched: the small boards never grow it, nor pay for it.
    cases_ = Cases(std::clamp<std::size_t>(limite / 16 / sizeof(Case), 1024, std::size_t{1} << 16));
    memoire_.Prendre(cases_.size() * sizeof(Case));
  }
  ~Table() { memoire_.Rendre(cases_.size() * sizeof(Case)); }

  std::size_t Nombre() const { return cles_.Taille(); }
  const uint8_t* Cle(uint32_t i) const { return cles_[i]; }
  uint8_t* NouvelleCle() const { return nouvelle_; }

  // Whether a new key fits under the limit, growing the table first when
  // it is due; a growth that would not fit is made smaller, or left for a
  // fuller table (the limit is met when even that does not fit).
  [[gnu::always_inline]] bool Place(std::size_t limite, std::size_t reserve) {
    // Between two checks the table neither grows nor takes a page of keys,
    // and the reserve covers what else a few hundred states take.
    if (Nombre() < controle_) return true;
    if (!Verifier(limite, reserve)) return false;
    controle_ = std::min({Nombre() + 256, cases_.size() * 7 / 10, Nombre() + cles_.Restantes()});
    return true;
  }

 private:
  [[gnu::noinline]] bool Verifier(std::size_t limite, std::size_t reserve) {
    const std::size_t besoin = memoire_.actuelle + cles_.Besoin() + reserve;
    if ((Nombre() + 1) * 10 <= cases_.size() * 7) return besoin <= limite;
    std::size_t nouvelle = cases_.size() * 2;
    const std::size_t libre = limite > besoin ? (limite - besoin) / sizeof(Case) : 0;
    if (nouvelle > libre) nouvelle = libre;
    if (nouvelle * 7 > (Nombre() + 1) * 10) {
      Agrandir(nouvelle);
      return true;
    }
    return (Nombre() + 1) * 10 <= cases_.size() * 9 && besoin <= limite;
  }

 public:

  // Asks the processor for the key's slot ahead of Trouver.
  void Prevoir(const Empreinte& e) const { __builtin_prefetch(&cases_[Position(e.h1)]); }

  // The index of the state with that fingerprint, adding it when new
  // (Place said there is room; its key is then written at NouvelleCle).
  // *etat: 0 new, 1 known and now reached cheaper, 2 known at no more.
  uint32_t Trouver(const Empreinte& e, uint16_t cout, int* etat) {
    std::size_t c = Position(e.h1);
    for (;; c = c + 1 == cases_.size() ? 0 : c + 1) {
      Case& k = cases_[c];
      if (k.index == 0) break;
      if (k.h1 == e.h1 && k.h2 == e.h2) {
        *etat = cout < k.cout ? 1 : 2;
        if (cout < k.cout) k.cout = cout;
        return k.index - 1;
      }
    }
    const auto i = static_cast<uint32_t>(Nombre());
    nouvelle_ = cles_.Ajouter();
    cases_[c] = {e.h1, e.h2, cout, i + 1};
    *etat = 0;
    return i;
  }

 private:
  struct Case {
    uint64_t h1 = 0;
    uint16_t h2 = 0;
    uint16_t cout = 0;
    uint32_t index = 0;  // from 1; 0 for an empty slot
  };
  // The table's size need not be a power of two: the slot is the hash's
  // high bits scaled to it.
  std::size_t Position(uint64_t h) const {
    return static_cast<std::size_t>(((h >> 32) * static_cast<uint64_t>(cases_.size())) >> 32);
  }
  void Agrandir(std::size_t taille) {
    Cases ancienne = std::move(cases_);
    memoire_.Prendre(taille * sizeof(Case));
    cases_ = Cases(taille);
    for (std::size_t i = 0; i < ancienne.size(); ++i) {
      const Case& k = ancienne[i];
      if (k.index == 0) continue;
      std::size_t c = Position(k.h1);
      while (cases_[c].index != 0) c = c + 1 == cases_.size() ? 0 : c + 1;
      cases_[c] = k;
    }
    memoire_.Rendre(ancienne.size() * sizeof(Case));
  }

  Memoire& memoire_;
  std::size_t taille_;
  Pages<uint8_t> cles_;
  // The slots, from calloc: zero pages cost nothing until touched.
  class Cases {
   public:
    Cases() = default;
    explicit Cases(std::size_t n) : donnees_(static_cast<Case*>(std::calloc(n, sizeof(Case)))), taille_(n) {
      if (!donnees_) throw std::bad_alloc();
    }
    Cases(Cases&& o) noexcept : donnees_(std::exchange(o.donnees_, nullptr)), taille_(std::exchange(o.taille_, 0)) {}
    Cases& operator=(Cases&& o) noexcept {
      std::swap(donnees_, o.donnees_);
      std::swap(taille_, o.taille_);
      return *this;
    }
    ~Cases() { std::free(donnees_); }
    Case& operator[](std::size_t i) { return donnees_[i]; }
    const Case& operator[](std::size_t i) const { return donnees_[i]; }
    std::size_t size() const { return taille_; }

   private:
    Case* donnees_ = nullptr;
    std::size_t taille_ = 0;
  };

  Cases cases_;
  uint8_t* nouvelle_ = nullptr;
  std::size_t controle_ = 0;  // the number of states at the next check
};

auto Hachage::Empreinte() const { return Table::Empreinte{a, static_cast<uint16_t>(b >> 48)}; }

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

// A kind of piece: its series and its tiles relative to its anchor (its
// first tile, rows from the top, columns from the left). Pieces of one kind
// are interchangeable.
struct Classe {
  TSerieMap serie = TSerieMap::Normal;
  std::vector<std::pair<int, int>> decalages;  // (row, column) from the anchor
  std::vector<TCellule> tuiles;                // the tiles' own fields, same order
  int finales = 0;                             // its master tiles

  std::vector<int> Identite() const {
    std::vector<int> v{static_cast<int>(serie)};
    for (std::size_t i = 0; i < decalages.size(); ++i) {
      const auto& t = tuiles[i];
      v.insert(v.end(), {decalages[i].first, decalages[i].second, static_cast<int>(t.Serie), t.Map, t.Droit,
                         t.Gauche, t.Haut, t.Bas});
    }
    return v;
  }
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
  // and after (the step's direction for the steps), its cost and estimate.
  struct Lien {
    uint32_t parent;
    uint16_t avant;
    uint16_t apres;
    uint16_t cout;
    uint16_t estimation;
    int8_t direction;
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

  void Analyser();
  int Indice(int l, int c) const { return l * pas_ + c - 1; }
  int LigneDe(int i) const { return i / pas_; }
  int ColonneDe(int i) const { return i % pas_ + 1; }
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
  uint16_t Borne(const uint8_t* k);
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
  Hachage HachageDe(const uint8_t* k) const;
  Hachage DifferencePortes(const Portes& x, const Portes& y) const;
  Fin Chercher(bool approchee, ResultatSolveur& r, int* niveauAtteint);
  std::vector<PasSolution> Chemin(uint32_t fin, const Table& table, const Pages<Lien>& liens);
  PasSolution PasDe(int ancre, int8_t d) const { return {LigneDe(ancre), ColonneDe(ancre), d}; }

  const TPlateau& depart_;
  OptionsSolveur options_;
  int pas_ = 0;       // cells a row, the guard column included
  int cellules_ = 0;  // cells, the guard rows included
  std::vector<Classe> classes_;
  std::vector<int> classeDe_;    // kind of each piece index
  std::vector<int> debutClasse_;  // first piece index of each kind, and the end
  std::vector<uint16_t> ancresDepart_;
  int nbPieces_ = 0;
  bool ancreLarge_ = false;
  std::size_t tailleCle_ = 0;
  std::size_t octetsPortes_ = 0;
  std::vector<B> masques_;
  B fixes_;    // borders, guards and door cells that are never doors
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
  std::size_t octetsFixes_ = 0;
  Memoire memoire_;

  // The current flood.
  std::vector<Noeud> noeuds_;
  std::vector<Portes> portesVues_;
  std::vector<B> vus_;
  std::vector<B> bloqueVues_;
  // The estimate's work.
  mutable std::vector<uint16_t> distances_;
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
  std::vector<uint16_t> pireDepuis_;  // one master piece: its bound at each anchor
  std::map<MotsPortes, std::vector<uint16_t>> bornesPortes_;
  mutable std::vector<std::vector<int16_t>> fileDistances_;
};

template <int N>
void Solveur<N>::Analyser() {
  const int H = depart_.Hauteur, L = depart_.Largeur;
  pas_ = L + 1;
  cellules_ = (H + 2) * pas_;
  porteDe_.assign(static_cast<std::size_t>(cellules_), -1);
  for (int i = 0; i < cellules_; ++i) fixes_.Poser(i);
  auto ouvrir = [&](int i) { fixes_.m[static_cast<std::size_t>(i >> 6)] &= ~(uint64_t{1} << (i & 63)); };
  // Pieces are the tiles of one piece number among ordinary and master
  // tiles; doors, the cells marked door joined by their sides (whatever
  // their state: the game walks a door through all of them).
  std::map<uint16_t, std::vector<std::pair<int, int>>> pieces;
  std::vector<int> composante(static_cast<std::size_t>(cellules_), -1);
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) {
      const auto& k = depart_.Case(l, c);
      const int i = Indice(l, c);
      if (k.PlaceFinal) {
        finales_.Poser(i);
        placesFinales_.push_back(i);
      }
      if (k.Serie == TSerieMap::Normal || k.Serie == TSerieMap::Final) pieces[k.Piece].emplace_back(l, c);
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
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) {
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
          const int lv = LigneDe(v), cv = ColonneDe(v);
          if (!depart_.Contient(lv, cv) || !depart_.Case(lv, cv).Porte || composante[static_cast<std::size_t>(v)] >= 0)
            continue;
          composante[static_cast<std::size_t>(v)] = g;
          pile.push_back(v);
        }
      }
    }
  groupeDe_.resize(cellulePorte_.size());
  for (std::size_t j = 0; j < cellulePorte_.size(); ++j)
    groupeDe_[j] = composante[static_cast<std::size_t>(cellulePorte_[j])];

  // Kinds of pieces, each with its anchors.
  std::map<std::vector<int>, std::pair<Classe, std::vector<int>>> parClasse;
  for (const auto& [numero, tuiles] : pieces) {
    Classe k;
    const auto [la, ca] = tuiles.front();  // rows then columns: the first is the anchor
    k.serie = depart_.Case(la, ca).Serie;
    for (const auto& [l, c] : tuiles) {
      k.decalages.emplace_back(l - la, c - ca);
      k.tuiles.push_back(depart_.Case(l, c));
      if (depart_.Case(l, c).Serie == TSerieMap::Final) ++k.finales;
    }
    auto& entree = parClasse[k.Identite()];
    entree.first = k;
    entree.second.push_back(Indice(la, ca));
  }
  for (auto& [identite, entree] : parClasse) {
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

  // Masks of every kind at every anchor where it fits on the board.
  masques_.assign(classes_.size() * static_cast<std::size_t>(cellules_) * 6, B{});
  if (!cellulePorte_.empty()) touchers_.resize(classes_.size() * static_cast<std::size_t>(cellules_));
  auto cadre = [&](int l, int c, int16_t* condition) {
    // A cell counts as border for a corner touch when it is border that
    // never opens, or a door cell until its door opens.
    const auto& k = depart_.Case(l, c);
    const int j = porteDe_[static_cast<std::size_t>(Indice(l, c))];
    if (j >= 0) {
      *condition = static_cast<int16_t>(j);
      return true;
    }
    *condition = -1;
    return k.Serie == TSerieMap::Bord;
  };
  for (std::size_t k = 0; k < classes_.size(); ++k) {
    const auto& classe = classes_[k];
    for (int l = 1; l <= H; ++l)
      for (int c = 1; c <= L; ++c) {
        bool tient = true;
        for (const auto& [dl, dc] : classe.decalages) tient = tient && depart_.Contient(l + dl, c + dc);
        if (!tient) continue;
        const int a = Indice(l, c);
        B& forme = Forme(static_cast<int>(k), a, 4);
        B& maitres = Forme(static_cast<int>(k), a, 5);
        for (std::size_t t = 0; t < classe.decalages.size(); ++t) {
          const int i = Indice(l + classe.decalages[t].first, c + classe.decalages[t].second);
          forme.Poser(i);
          if (classe.tuiles[t].Serie == TSerieMap::Final) maitres.Poser(i);
        }
        for (std::size_t d = 0; d < kDirections.size(); ++d) {
          B& devant = Forme(static_cast<int>(k), a, static_cast<int>(d));
          for (const auto& [dl, dc] : classe.decalages) {
            const int cible = Indice(l + dl, c + dc) + Delta(kDirections[d]);
            if (!forme.Test(cible)) devant.Poser(cible);
          }
        }
        if (classe.serie != TSerieMap::Final || cellulePorte_.empty()) continue;
        // The door cells the game touches from here, in its order: tiles
        // by rows, then above, below, left, right, and the four corners.
        auto& liste = touchers_[k * static_cast<std::size_t>(cellules_) + static_cast<std::size_t>(a)];
        for (const auto& [dl, dc] : classe.decalages) {
          const int lt = l + dl, ct = c + dc;
          for (const auto& [vl, vc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            if (!depart_.Contient(lt + vl, ct + vc)) continue;
            const int j = porteDe_[static_cast<std::size_t>(Indice(lt + vl, ct + vc))];
            if (j >= 0) liste.push_back({static_cast<int16_t>(j)});
          }
          for (const auto& [vl, vc] : {std::pair{-1, 1}, {1, 1}, {1, -1}, {-1, -1}}) {
            if (!depart_.Contient(lt + vl, ct + vc)) continue;
            const int j = porteDe_[static_cast<std::size_t>(Indice(lt + vl, ct + vc))];
            Toucher t{static_cast<int16_t>(j)};
            if (j >= 0 && cadre(lt + vl, ct, &t.cadre1) && cadre(lt, ct + vc, &t.cadre2)) liste.push_back(t);
          }
        }
      }
  }

  indiceMaitre_.assign(classes_.size(), -1);
  for (std::size_t k = 0; k < classes_.size(); ++k)
    if (classes_[k].finales > 0) indiceMaitre_[k] = nbMaitres_++;
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    maitre_.push_back(classes_[static_cast<std::size_t>(classe)].serie == TSerieMap::Final);
    if (indiceMaitre_[static_cast<std::size_t>(classe)] >= 0) piecesMaitresses_.push_back(p);
  }
  for (std::size_t d = 0; d < kDirections.size(); ++d) delta_[d] = Delta(kDirections[d]);
  ancreLarge_ = cellules_ > 255;
  octetsPortes_ = (cellulePorte_.size() + 7) / 8;
  tailleCle_ = static_cast<std::size_t>(nbPieces_) * (ancreLarge_ ? 2 : 1) + 2 * octetsPortes_;
  if (tailleCle_ == 0) tailleCle_ = 1;
  // Random words for the fingerprints (always the same ones).
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
  if (options_.mesure == MesureSolveur::Pas) {
    bornesPas_ = CalculerBornes(nullptr);
    if (piecesMaitresses_.size() == 1) {
      const std::size_t F = placesFinales_.size();
      const auto m = static_cast<std::size_t>(indiceMaitre_[static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(piecesMaitresses_[0])])]);
      pireDepuis_.assign(static_cast<std::size_t>(cellules_), 0);
      for (std::size_t a = 0; a < pireDepuis_.size(); ++a)
        for (std::size_t f = 0; f < F; ++f)
          pireDepuis_[a] = std::max(pireDepuis_[a], bornesPas_[(m * static_cast<std::size_t>(cellules_) + a) * F + f]);
    }
  }
  octetsFixes_ = masques_.size() * sizeof(B) + (aleas_.size() + aleasPortes_.size()) * sizeof(Hachage) +
                 (bornesPas_.size() + pireDepuis_.size()) * sizeof(uint16_t);
  for (const auto& liste : touchers_) octetsFixes_ += sizeof(liste) + liste.size() * sizeof(Toucher);
}

template <int N>
Hachage Solveur<N>::HachageDe(const uint8_t* k) const {
  Hachage h;
  for (int p = 0; p < nbPieces_; ++p) h ^= Alea(classeDe_[static_cast<std::size_t>(p)], Ancre(k, p));
  if (!cellulePorte_.empty()) {
    Portes portes;
    LirePortes(k, portes);
    h ^= DifferencePortes(Portes{}, portes);
  }
  return h;
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
    auto tient = [&](int a) {
      if (a < 0 || a >= cellules_) return false;
      const B& forme = Forme(classe, a, 4);
      bool vide = true;
      for (uint64_t w : forme.m) vide = vide && w == 0;
      return !vide && !fixes_.Croise(forme);
    };
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
uint16_t Solveur<N>::Borne(const uint8_t* k) {
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
  const int kPlusCher = 1 + kAutre + prixPorteMax_;
  fileDistances_.resize(kPlusCher + 1);
  meilleures_.assign(placesFinales_.size(), kEstimationMax);
  int plusGrande = 1;
  for (int p = 0; p < nbPieces_; ++p) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    const auto& c = classes_[static_cast<std::size_t>(classe)];
    if (c.serie != TSerieMap::Final) continue;
    plusGrande = std::max(plusGrande, c.finales);
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
        for (std::size_t sens = 0; sens < kDirections.size(); ++sens) {
          const B& devant = Forme(classe, a, static_cast<int>(sens));
          if (fixes_.Croise(devant)) continue;
          const int b = a + Delta(kDirections[sens]);
          int prix = 1 + (autres.Croise(devant) ? kAutre : 0);
          if (fermees.Croise(devant)) prix += PrixPorte(devant, portes);
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
  Table table(memoire_, tailleCle_, options_.limiteMemoire);
  Pages<Lien> liens(memoire_, 1, 4096);
  Seaux seaux(memoire_);
  const bool coups = options_.mesure == MesureSolveur::Coups;
  const std::size_t reserve = 2 * (4096 * sizeof(Lien) + 4096 * sizeof(uint32_t) + 64);

  auto priorite = [&](int cout, int estimation) {
    // The best-first search weighs a move as kUnite sixteenths of the
    // estimate; a step as one.
    return static_cast<std::size_t>(approchee && coups ? kUnite * cout + estimation : cout + estimation);
  };

  std::vector<uint8_t> cle(tailleCle_);
  for (int p = 0; p < nbPieces_; ++p) PoserAncre(cle.data(), p, ancresDepart_[static_cast<std::size_t>(p)]);
  EcrirePortes(cle.data(), portesDepart_);
  if (!table.Place(options_.limiteMemoire, reserve)) return Fin::Limite;
  int etat = 0;
  table.Trouver(HachageDe(cle.data()).Empreinte(), 0, &etat);
  std::memcpy(table.NouvelleCle(), cle.data(), tailleCle_);
  const uint16_t e0 = approchee ? Estimer(cle.data()) : Borne(cle.data());
  if (e0 == kSansIssue) {
    r.etats = 1;
    return Fin::Aucune;
  }
  *liens.Ajouter() = {0, 0, 0, 0, e0, 0};
  seaux.Ajouter(priorite(0, e0), 0);

  // The states one expansion reaches, fingerprinted and their slots
  // asked for before any is looked up; a key is written only for a new one.
  struct Suivant {
    Hachage hachage;
    int piece;
    uint16_t avant, apres;
    int portes;  // in lotPortes, or -1 when the doors stay
    int cout;
    int8_t direction;
  };
  std::vector<Suivant> suivants;
  std::vector<Portes> lotPortes;
  Hachage hachageParent{};
  auto proposer = [&](int p, uint16_t avant, uint16_t apres, const Portes* avantPortes, const Portes* portes, int cout,
                      int8_t direction) {
    const int classe = classeDe_[static_cast<std::size_t>(p)];
    Hachage h = hachageParent;
    h ^= Alea(classe, avant);
    h ^= Alea(classe, apres);
    int indice = -1;
    if (portes) {
      h ^= DifferencePortes(*avantPortes, *portes);
      indice = static_cast<int>(lotPortes.size());
      lotPortes.push_back(*portes);
    }
    suivants.push_back({h, p, avant, apres, indice, cout, direction});
    table.Prevoir(h.Empreinte());
  };
  // Adds the states proposed; false when a limit is met.
  auto ajouter = [&](uint32_t parent) {
    for (const Suivant& v : suivants) {
      if (v.cout > 0xFFFF) continue;
      if (table.Nombre() >= options_.limiteEtats || !table.Place(options_.limiteMemoire, reserve)) return false;
      const uint32_t i = table.Trouver(v.hachage.Empreinte(), static_cast<uint16_t>(v.cout), &etat);
      if (etat == 2) continue;
      Lien* lien = nullptr;
      if (etat == 0) {
        uint8_t* k = table.NouvelleCle();
        std::memcpy(k, cle.data(), tailleCle_);
        PoserAncre(k, v.piece, v.apres);
        Canoniser(k, v.piece);
        if (v.portes >= 0) EcrirePortes(k, lotPortes[static_cast<std::size_t>(v.portes)]);
        lien = liens.Ajouter();
        lien->estimation = approchee ? Estimer(k) : Borne(k);
      } else {
        lien = liens[i];
      }
      *lien = {parent, v.avant, v.apres, static_cast<uint16_t>(v.cout), lien->estimation, v.direction};
      if (lien->estimation != kSansIssue) seaux.Ajouter(priorite(v.cout, lien->estimation), i);
    }
    suivants.clear();
    lotPortes.clear();
    return true;
  };

  Portes portes, suivantes;
  std::size_t traites = 0;
  uint32_t e = 0;
  std::size_t niveau = 0;
  while (seaux.Prendre(&e, &niveau)) {
    const Lien lien = *liens[e];
    if (priorite(lien.cout, lien.estimation) != niveau) continue;  // reached cheaper since
    if (options_.annuler && (++traites & 255) == 0 && options_.annuler->load()) return Fin::Annule;
    *niveauAtteint = static_cast<int>(niveau);
    std::memcpy(cle.data(), table.Cle(e), tailleCle_);
    LirePortes(cle.data(), portes);
    hachageParent = HachageDe(cle.data());
    B maitres;
    const B occ = Occupation(cle.data(), portes, &maitres);
    if (maitres.Contient(finales_)) {
      r.etats += table.Nombre();
      r.chemin = Chemin(e, table, liens);
      r.pas = static_cast<int>(r.chemin.size());
      r.coups = coups ? lien.cout : 0;
      return Fin::Solution;
    }
    // The best-first search leaves alone the pieces of the rooms the
    // master pieces are not in: behind doors they only multiply states.
    const bool salles = approchee && !cellulePorte_.empty();
    const bool portesFermees = !cellulePorte_.empty() && PorteFermee(portes);
    const B salle = salles ? Salle(cle.data()) : B{};
    for (int p = 0; p < nbPieces_; ++p) {
      const int classe = classeDe_[static_cast<std::size_t>(p)];
      const uint16_t a = Ancre(cle.data(), p);
      if (salles && !salle.Croise(Forme(classe, a, 4))) continue;
      if (!coups) {
        const bool portesEnJeu = portesFermees && maitre_[static_cast<std::size_t>(p)];
        const B* devant = &Forme(classe, a, 0);
        // The step back to the parent is known, when no door changed on the
        // way: skipped.
        const std::size_t retour = e != 0 && a == lien.apres && !portesEnJeu ? Oppose(lien.direction) : 4;
        // The free ways first, without a branch each: most pieces have none.
        unsigned libres = 0;
        for (std::size_t d = 0; d < kDirections.size(); ++d) libres |= static_cast<unsigned>(!occ.Croise(devant[d])) << d;
        libres &= ~(1u << retour);
        for (; libres; libres &= libres - 1) {
          const auto d = static_cast<std::size_t>(std::countr_zero(libres));
          const auto b = static_cast<uint16_t>(a + delta_[d]);
          if (portesEnJeu) {
            suivantes = portes;
            PasserPortes(classe, b, suivantes);
          }
          proposer(p, a, b, &portes, portesEnJeu ? &suivantes : nullptr, lien.cout + 1, kDirections[d]);
        }
      } else {
        // The piece that made this move: its next move from here reaches
        // only places its last flood already gave, and no cheaper.
        if (e != 0 && a == lien.apres) continue;
        const B* devant = &Forme(classe, a, 0);
        unsigned libres = 0;
        for (std::size_t d = 0; d < kDirections.size(); ++d) libres |= static_cast<unsigned>(!occ.Croise(devant[d])) << d;
        if (!libres) continue;
        Inonder(portes, occ, p, a);
        for (std::size_t i = 1; i < noeuds_.size(); ++i) {
          const Noeud& n = noeuds_[i];
          const int prix = (n.ancre != a ? 1 : 0) + n.ouvertes;
          proposer(p, a, n.ancre, &portes, n.portes ? &portesVues_[n.portes] : nullptr, lien.cout + prix, 0);
        }
      }
    }
    // All the state's successors at once: their slots were asked for while
    // the others were found.
    if (!ajouter(e)) {
      r.etats += table.Nombre();
      return Fin::Limite;
    }
  }
  r.etats += table.Nombre();
  return Fin::Aucune;
}

template <int N>
std::vector<PasSolution> Solveur<N>::Chemin(uint32_t fin, const Table& table, const Pages<Lien>& liens) {
  std::vector<uint32_t> suite;
  for (uint32_t e = fin; e != 0; e = liens[e]->parent) suite.push_back(e);
  std::reverse(suite.begin(), suite.end());
  std::vector<PasSolution> chemin;
  std::vector<uint8_t> suivante(tailleCle_);
  Portes portes;
  for (uint32_t e : suite) {
    const Lien& lien = *liens[e];
    if (options_.mesure == MesureSolveur::Pas) {
      chemin.push_back(PasDe(lien.avant, lien.direction));
      continue;
    }
    // The steps of the move: the flood from the parent, back from the
    // place that gives this state.
    const uint8_t* parent = table.Cle(lien.parent);
    LirePortes(parent, portes);
    const B occ = Occupation(parent, portes, nullptr);
    int p = 0;
    while (Ancre(parent, p) != lien.avant) ++p;
    Inonder(portes, occ, p, lien.avant);
    std::size_t i = 1;
    for (; i < noeuds_.size(); ++i) {
      std::memcpy(suivante.data(), parent, tailleCle_);
      PoserAncre(suivante.data(), p, noeuds_[i].ancre);
      Canoniser(suivante.data(), p);
      if (noeuds_[i].portes) EcrirePortes(suivante.data(), portesVues_[noeuds_[i].portes]);
      if (std::memcmp(suivante.data(), table.Cle(e), tailleCle_) == 0) break;
    }
    std::vector<PasSolution> pas;
    for (; noeuds_[i].parent >= 0; i = static_cast<std::size_t>(noeuds_[i].parent))
      pas.push_back(PasDe(noeuds_[static_cast<std::size_t>(noeuds_[i].parent)].ancre, noeuds_[i].direction));
    chemin.insert(chemin.end(), pas.rbegin(), pas.rend());
  }
  return chemin;
}

template <int N>
ResultatSolveur Solveur<N>::Resoudre() {
  ResultatSolveur r;
  memoire_.Prendre(octetsFixes_);
  int niveau = 0;
  Fin fin = Chercher(false, r, &niveau);
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

std::vector<TEvenement> EvenementsDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                               int32_t compteurDepart, int32_t* compteurFin) {
  TPartie partie;
  partie.DefinirTailleCase(20);
  partie.DefinirVitesse(2);
  partie.CommencerPartie(plateau);
  partie.Compteur = compteurDepart;
  const int t = partie.TailleCase;
  std::size_t i = 0;
  while (i < chemin.size()) {
    // One gesture a run of steps of one piece: taken at the tile named by
    // the first step, dragged one cell a step.
    int x = (chemin[i].colonne - 1) * t + t / 2, y = (chemin[i].ligne - 1) * t + t / 2;
    partie.Appuyer(x, y);
    const uint16_t piece = partie.PieceChoisie;
    int ligne = chemin[i].ligne, colonne = chemin[i].colonne;
    do {
      const auto& pas = chemin[i];
      x += Dc(pas.direction) * t;
      y += Dl(pas.direction) * t;
      partie.Glisser(x, y);
      ligne += Dl(pas.direction);
      colonne += Dc(pas.direction);
      ++i;
    } while (i < chemin.size() && partie.Plateau.Contient(chemin[i].ligne, chemin[i].colonne) &&
             partie.Plateau.Case(chemin[i].ligne, chemin[i].colonne).Piece == piece);
    partie.Relacher();
  }
  if (compteurFin) *compteurFin = partie.Compteur;
  std::vector<TEvenement> evenements;
  for (int k = 0; k < partie.Historique.Fin; ++k) evenements.push_back(partie.Historique[k]);
  return evenements;
}

}  // namespace glissaro
