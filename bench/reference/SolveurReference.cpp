// The solver as it was before the bit-board rewrite: breadth-first search
// over sorted anchor keys, the game's own door pass on a board copy. Kept
// beside the benchmark to measure the new solver against it in one run, and
// by a test as a second opinion on the optima. It is a separate, frozen copy
// on purpose: it keeps its own reading of the pieces and of the moves, so
// that it stays an independent cross-check of the solver's optima. Only the
// door pass is the game's own (Portes.h).
#include "SolveurReference.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#include "JeuSolution.h"
#include "Portes.h"

namespace glissaro::reference {

namespace {

constexpr std::array<int8_t, 4> kDirections = {EvHaut, EvBas, EvGauche, EvDroite};

// Cells are numbered (row + 1) × 32 + column − 1: two rows above the board,
// the rows below it and the columns past the 20th are blocked cells, so
// neither a step nor a look at a cell's eight neighbours needs a bounds
// test (column −1 falls on the previous row's last, blocked, cell).
constexpr int kLigne = 32;
constexpr int Delta(int8_t d) { return d == EvHaut ? -kLigne : d == EvBas ? kLigne : d == EvGauche ? -1 : 1; }

// What a state costs besides its key: its link, its cost, its place in the
// hash table and in a bucket.
constexpr std::size_t kOctetsParEtat = sizeof(uint32_t) * 2 + sizeof(uint16_t) * 2 + 1 + sizeof(int) + 2 * sizeof(uint32_t);

constexpr int16_t kLibre = -1;
constexpr int16_t kBloque = -2;
constexpr uint8_t kPorteFermee = 0, kPorteTouchee = 1, kPorteOuverte = 2;

// A kind of piece: its series and its tiles relative to its anchor (its
// first cell, rows from the top, columns from the left). Pieces of one kind
// are interchangeable.
struct Classe {
  TSerieMap serie = TSerieMap::Normal;
  std::vector<std::pair<int, int>> decalages;  // (row, column) from the anchor
  std::vector<TCellule> tuiles;                // the tiles' own fields, same order
  std::vector<int> cellules;                   // the same offsets in the cell numbering
  // For each direction, the cells a step moves onto that the piece does not
  // already hold.
  std::array<std::vector<int>, 4> devant;

  std::vector<int> Identite() const {
    std::vector<int> v{static_cast<int>(serie)};
    for (std::size_t i = 0; i < decalages.size(); ++i) {
      const auto& t = tuiles[i];
      v.insert(v.end(), {decalages[i].first, decalages[i].second, t.Map, t.Droit, t.Gauche, t.Haut, t.Bas});
    }
    return v;
  }
};

// The states, stored one after the other as fixed-size keys: each piece's
// anchor (two bytes, sorted within its kind), then each door cell's state.
class Etats {
 public:
  explicit Etats(std::size_t taille) : taille_(taille), table_(1024, kVide) {}

  std::size_t Taille() const { return taille_; }
  std::size_t Nombre() const { return nombre_; }
  const uint8_t* Cle(uint32_t i) const { return octets_.data() + static_cast<std::size_t>(i) * taille_; }

  // The index of the key, adding it when new; *nouveau tells which.
  uint32_t Trouver(const uint8_t* cle, bool* nouveau) {
    if ((nombre_ + 1) * 2 > table_.size()) Agrandir();
    std::size_t h = Hacher(cle) & (table_.size() - 1);
    for (;; h = (h + 1) & (table_.size() - 1)) {
      const uint32_t i = table_[h];
      if (i == kVide) break;
      if (std::memcmp(Cle(i), cle, taille_) == 0) {
        *nouveau = false;
        return i;
      }
    }
    const auto i = static_cast<uint32_t>(nombre_++);
    octets_.insert(octets_.end(), cle, cle + taille_);
    table_[h] = i;
    *nouveau = true;
    return i;
  }

 private:
  static constexpr uint32_t kVide = 0xFFFFFFFF;
  std::size_t Hacher(const uint8_t* cle) const {
    // Eight bytes at a time, each word mixed by a multiplication.
    uint64_t h = 0x9E3779B97F4A7C15ull ^ taille_;
    std::size_t i = 0;
    for (; i + 8 <= taille_; i += 8) {
      uint64_t mot;
      std::memcpy(&mot, cle + i, 8);
      h = (h ^ mot) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    uint64_t reste = 0;
    std::memcpy(&reste, cle + i, taille_ - i);
    h = (h ^ reste) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
  void Agrandir() {
    std::vector<uint32_t> table(table_.size() * 2, kVide);
    for (uint32_t i = 0; i < nombre_; ++i) {
      std::size_t h = Hacher(Cle(i)) & (table.size() - 1);
      while (table[h] != kVide) h = (h + 1) & (table.size() - 1);
      table[h] = i;
    }
    table_ = std::move(table);
  }

  std::size_t taille_;
  std::size_t nombre_ = 0;
  std::vector<uint8_t> octets_;
  std::vector<uint32_t> table_;
};

class Solveur {
 public:
  Solveur(const TPlateau& plateau, const OptionsSolveur& options) : depart_(plateau), options_(options) {
    Analyser();
  }

  ResultatSolveur Chercher();

 private:
  using Cle = std::vector<uint8_t>;
  using Grille = std::vector<int16_t>;

  // Where a piece can go from a state while the others stay: the keys
  // reached, one after the other, with the moved piece's anchor, the place
  // it came from and the step's direction.
  struct Atteints {
    std::vector<uint8_t> cles;
    std::vector<uint16_t> ancres;
    std::vector<int> parents;
    std::vector<int8_t> directions;
    std::size_t Nombre() const { return ancres.size(); }
    void Vider() {
      cles.clear();
      ancres.clear();
      parents.clear();
      directions.clear();
    }
    void Ajouter(const Cle& cle, uint16_t ancre, int parent, int8_t direction) {
      cles.insert(cles.end(), cle.begin(), cle.end());
      ancres.push_back(ancre);
      parents.push_back(parent);
      directions.push_back(direction);
    }
  };

  // Search bookkeeping: parent state, the anchor of the moved piece before
  // and after, and the direction of a single step.
  struct Lien {
    uint32_t parent;
    uint16_t avant;
    uint16_t apres;
    int8_t direction;
  };

  void Analyser();
  static int Indice(int l, int c) { return (l + 1) * kLigne + (c - 1); }
  static int LigneDe(int i) { return i / kLigne - 1; }
  static int ColonneDe(int i) { return i % kLigne + 1; }
  const Classe& ClasseDe(int p) const {
    return classes_[static_cast<std::size_t>(classeDe_[static_cast<std::size_t>(p)])];
  }
  uint16_t Ancre(const Cle& k, int p) const { return static_cast<uint16_t>(k[2 * p] | (k[2 * p + 1] << 8)); }
  static void PoserAncre(Cle& k, int p, uint16_t a) {
    k[2 * p] = static_cast<uint8_t>(a & 0xFF);
    k[2 * p + 1] = static_cast<uint8_t>(a >> 8);
  }
  uint8_t& Porte(Cle& k, int d) const { return k[2 * nbPieces_ + d]; }
  uint8_t Porte(const Cle& k, int d) const { return k[2 * nbPieces_ + d]; }

  Cle CleDepart() const;
  // Who stands on each cell: a piece, floor, or a fixed tile.
  void Occupation(const Cle& k, Grille& grille) const;
  bool Resolu(const Grille& grille) const;
  // Puts the anchors of piece p's kind back in order after p moved; returns
  // p's new index.
  int Canoniser(Cle& k, int p) const;
  bool PorteFermeeDans(const Cle& k) const;
  // Whether piece p has at least one step open (most pieces of a state
  // have none).
  bool PeutBouger(const Cle& k, const Grille& grille, int p) const;
  int PortesOuvertes(const Cle& k) const;
  // The game's own door pass after master piece p stepped.
  void PasserPortes(Cle& k, int p) const;
  // One step of piece p that way, with the door pass; false when refused.
  // In the grid, the cells marked soi are the piece's own.
  bool Pas(const Cle& k, const Grille& grille, int16_t soi, int p, int8_t d, Cle& suivant,
           uint16_t* nouvelleAncre) const;
  // Every state piece p alone reaches from k (grille: k's occupation).
  // The grid is lent for the flood and given back as it was.
  void Inonder(const Cle& k, Grille& grille, int p, Atteints& atteints) const;
  void InonderSansPortes(const Cle& k, Grille& grille, int p, Atteints& atteints) const;
  std::vector<PasSolution> CheminDe(uint32_t fin, const Etats& etats) const;
  static PasSolution PasDe(uint16_t ancre, int8_t d) { return {LigneDe(ancre), ColonneDe(ancre), d}; }

  const TPlateau& depart_;
  OptionsSolveur options_;
  std::vector<Classe> classes_;
  std::vector<int> classeDe_;         // kind of each piece index
  std::vector<int> debutClasse_;      // first piece index of each kind, and the end
  std::vector<uint16_t> ancresDepart_;  // the pieces' anchors at the start
  int nbPieces_ = 0;
  Grille fixes_;                    // kLibre or kBloque for every cell without a piece
  std::vector<int> cellulesPorte_;  // cell of each door cell
  std::vector<int> groupePorte_;    // door of each door cell
  int nbGroupes_ = 0;
  std::vector<int> indicePorte_;  // door cell index of a cell, or -1
  std::vector<int> placesFinales_;
  std::vector<Lien> liens_;
  mutable TPlateau plateau_;  // the board the game's own door pass runs on
  // Working buffers of the floods, kept from one to the next.
  mutable Grille tamponNoeud_;
  // Places met by the current flood: a cell is met when its stamp is the
  // flood's.
  mutable std::vector<uint32_t> vus_;
  mutable uint32_t tampon_ = 0;
  mutable Cle tamponCourant_, tamponSuivant_;
};

void Solveur::Analyser() {
  const int H = depart_.Hauteur, L = depart_.Largeur;
  const std::size_t n = static_cast<std::size_t>((H + 4) * kLigne);
  fixes_.assign(n, kBloque);
  indicePorte_.assign(n, -1);
  // Pieces are the tiles of one piece number among ordinary and master tiles.
  std::map<uint16_t, std::vector<std::pair<int, int>>> pieces;
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) {
      const auto& k = depart_.Case(l, c);
      const auto i = static_cast<std::size_t>(Indice(l, c));
      if (k.PlaceFinal) placesFinales_.push_back(static_cast<int>(i));
      fixes_[i] = kLibre;
      if (k.Serie == TSerieMap::Normal || k.Serie == TSerieMap::Final) {
        pieces[k.Piece].emplace_back(l, c);
      } else if (k.Serie == TSerieMap::Bord) {
        if (k.Porte && (k.Map == kMapPorteFermee || k.Map == kMapPorteTouchee)) {
          indicePorte_[i] = static_cast<int>(cellulesPorte_.size());
          cellulesPorte_.push_back(static_cast<int>(i));
        } else {
          fixes_[i] = kBloque;
        }
      }
    }
  // Doors: door cells joined by their sides.
  groupePorte_.assign(cellulesPorte_.size(), -1);
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d) {
    if (groupePorte_[d] >= 0) continue;
    std::vector<int> pile{static_cast<int>(d)};
    groupePorte_[d] = nbGroupes_;
    while (!pile.empty()) {
      const int cellule = cellulesPorte_[static_cast<std::size_t>(pile.back())];
      pile.pop_back();
      for (int8_t sens : kDirections) {
        const int v = indicePorte_[static_cast<std::size_t>(cellule + Delta(sens))];
        if (v >= 0 && groupePorte_[static_cast<std::size_t>(v)] < 0) {
          groupePorte_[static_cast<std::size_t>(v)] = nbGroupes_;
          pile.push_back(v);
        }
      }
    }
    ++nbGroupes_;
  }
  // Kinds of pieces, each with its anchors.
  std::map<std::vector<int>, std::pair<Classe, std::vector<int>>> parClasse;
  for (const auto& [numero, cellules] : pieces) {
    Classe k;
    const auto [la, ca] = cellules.front();  // rows then columns: the first is the anchor
    k.serie = depart_.Case(la, ca).Serie;
    for (const auto& [l, c] : cellules) {
      k.decalages.emplace_back(l - la, c - ca);
      k.tuiles.push_back(depart_.Case(l, c));
      k.cellules.push_back((l - la) * kLigne + (c - ca));
    }
    auto& entree = parClasse[k.Identite()];
    entree.first = k;
    entree.second.push_back(Indice(la, ca));
  }
  for (auto& [identite, entree] : parClasse) {
    auto& [classe, ancres] = entree;
    for (std::size_t d = 0; d < kDirections.size(); ++d)
      for (int cellule : classe.cellules) {
        const int cible = cellule + Delta(kDirections[d]);
        if (std::find(classe.cellules.begin(), classe.cellules.end(), cible) == classe.cellules.end())
          classe.devant[d].push_back(cible);
      }
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

Solveur::Cle Solveur::CleDepart() const {
  Cle k(static_cast<std::size_t>(2 * nbPieces_) + cellulesPorte_.size());
  for (int p = 0; p < nbPieces_; ++p) PoserAncre(k, p, ancresDepart_[static_cast<std::size_t>(p)]);
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d) {
    const int cellule = cellulesPorte_[d];
    Porte(k, static_cast<int>(d)) =
        depart_.Case(LigneDe(cellule), ColonneDe(cellule)).Map == kMapPorteTouchee ? kPorteTouchee : kPorteFermee;
  }
  return k;
}

void Solveur::Occupation(const Cle& k, Grille& grille) const {
  grille = fixes_;
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d)
    grille[static_cast<std::size_t>(cellulesPorte_[d])] =
        Porte(k, static_cast<int>(d)) == kPorteOuverte ? kLibre : kBloque;
  for (int p = 0; p < nbPieces_; ++p) {
    const int a = Ancre(k, p);
    for (int cellule : ClasseDe(p).cellules) grille[static_cast<std::size_t>(a + cellule)] = static_cast<int16_t>(p);
  }
}

bool Solveur::Resolu(const Grille& grille) const {
  for (int i : placesFinales_) {
    const int16_t p = grille[static_cast<std::size_t>(i)];
    if (p < 0 || ClasseDe(p).serie != TSerieMap::Final) return false;
  }
  return true;
}

int Solveur::Canoniser(Cle& k, int p) const {
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
  return p;
}

bool Solveur::PeutBouger(const Cle& k, const Grille& grille, int p) const {
  const int a = Ancre(k, p);
  for (const auto& devant : ClasseDe(p).devant) {
    bool libre = true;
    for (int cible : devant) {
      const int16_t qui = grille[static_cast<std::size_t>(a + cible)];
      if (qui != kLibre && qui != p) {
        libre = false;
        break;
      }
    }
    if (libre) return true;
  }
  return false;
}

bool Solveur::PorteFermeeDans(const Cle& k) const {
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d)
    if (Porte(k, static_cast<int>(d)) == kPorteFermee) return true;
  return false;
}

int Solveur::PortesOuvertes(const Cle& k) const {
  std::vector<bool> ouverte(static_cast<std::size_t>(nbGroupes_), false);
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d)
    if (Porte(k, static_cast<int>(d)) == kPorteOuverte) ouverte[static_cast<std::size_t>(groupePorte_[d])] = true;
  return static_cast<int>(std::count(ouverte.begin(), ouverte.end(), true));
}

void Solveur::PasserPortes(Cle& k, int p) const {
  // Only a closed door cell beside the piece (corners included) can change:
  // otherwise the pass touches nothing.
  const int a = Ancre(k, p);
  bool proche = false;
  for (int cellule : ClasseDe(p).cellules)
    for (int vl = -1; vl <= 1 && !proche; ++vl)
      for (int vc = -1; vc <= 1 && !proche; ++vc) {
        const int d = indicePorte_[static_cast<std::size_t>(a + cellule + vl * kLigne + vc)];
        proche = d >= 0 && Porte(k, d) == kPorteFermee;
      }
  if (!proche) return;

  // The board as this state stands, for the game's own pass.
  TPlateau& b = plateau_;
  b = depart_;
  for (int l = 1; l <= b.Hauteur; ++l)
    for (int c = 1; c <= b.Largeur; ++c) {
      auto& t = b.Case(l, c);
      if (t.Serie != TSerieMap::Normal && t.Serie != TSerieMap::Final) continue;
      const TCellule lieu = t;
      static_cast<TCellule&>(t) = TCellule{};
      t.PlaceFinal = lieu.PlaceFinal;
      t.Porte = lieu.Porte;
      t.PosX = lieu.PosX;
      t.PosY = lieu.PosY;
      t.Map = t.PlaceFinal ? kMapFondFinal : kMapFond;
    }
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d) {
    auto& t = b.Case(LigneDe(cellulesPorte_[d]), ColonneDe(cellulesPorte_[d]));
    const uint8_t etat = Porte(k, static_cast<int>(d));
    t.Serie = etat == kPorteOuverte ? TSerieMap::Vide : TSerieMap::Bord;
    t.Map = etat == kPorteFermee ? kMapPorteFermee : etat == kPorteTouchee ? kMapPorteTouchee : kMapFond;
  }
  for (int q = 0; q < nbPieces_; ++q) {
    const int aq = Ancre(k, q);
    const auto& cq = ClasseDe(q);
    for (std::size_t i = 0; i < cq.cellules.size(); ++i) {
      auto& t = b.Case(LigneDe(aq + cq.cellules[i]), ColonneDe(aq + cq.cellules[i]));
      const bool place = t.PlaceFinal, porte = t.Porte;
      static_cast<TCellule&>(t) = cq.tuiles[i];
      t.PlaceFinal = place;
      t.Porte = porte;
      t.Piece = static_cast<uint16_t>(q + 1);
    }
  }
  VerifierPortes(b, static_cast<uint16_t>(p + 1));
  for (std::size_t d = 0; d < cellulesPorte_.size(); ++d) {
    const auto& t = b.Case(LigneDe(cellulesPorte_[d]), ColonneDe(cellulesPorte_[d]));
    Porte(k, static_cast<int>(d)) = t.Serie == TSerieMap::Vide  ? kPorteOuverte
                                    : t.Map == kMapPorteTouchee ? kPorteTouchee
                                                                : kPorteFermee;
  }
}

bool Solveur::Pas(const Cle& k, const Grille& grille, int16_t soi, int p, int8_t d, Cle& suivant,
                  uint16_t* nouvelleAncre) const {
  const int a = Ancre(k, p);
  const auto& classe = ClasseDe(p);
  const std::size_t sens = d == EvHaut ? 0 : d == EvBas ? 1 : d == EvGauche ? 2 : 3;
  for (int cible : classe.devant[sens]) {
    const int16_t qui = grille[static_cast<std::size_t>(a + cible)];
    if (qui != kLibre && qui != soi) return false;
  }
  suivant = k;
  const auto ancre = static_cast<uint16_t>(a + Delta(d));
  PoserAncre(suivant, p, ancre);
  const int q = Canoniser(suivant, p);
  *nouvelleAncre = ancre;
  if (classe.serie == TSerieMap::Final && !cellulesPorte_.empty()) PasserPortes(suivant, q);
  return true;
}

void Solveur::InonderSansPortes(const Cle& k, Grille& grille, int p, Atteints& a) const {
  // No door can change: the flood goes over the piece's anchor alone, in the
  // state's grid without the piece, where the other pieces stand still.
  const auto& classe = ClasseDe(p);
  const auto a0 = Ancre(k, p);
  for (int cellule : classe.cellules) grille[static_cast<std::size_t>(a0 + cellule)] = kLibre;
  if (vus_.size() != grille.size() || ++tampon_ == 0) {
    vus_.assign(grille.size(), 0);
    tampon_ = 1;
  }
  vus_[a0] = tampon_;
  a.Vider();
  a.Ajouter(k, a0, -1, 0);
  auto& suivant = tamponSuivant_;
  for (std::size_t i = 0; i < a.Nombre(); ++i) {
    const int ancre = a.ancres[i];
    for (std::size_t sens = 0; sens < kDirections.size(); ++sens) {
      bool libre = true;
      for (int cible : classe.devant[sens])
        if (grille[static_cast<std::size_t>(ancre + cible)] != kLibre) {
          libre = false;
          break;
        }
      if (!libre) continue;
      const auto nouvelle = static_cast<uint16_t>(ancre + Delta(kDirections[sens]));
      if (vus_[nouvelle] == tampon_) continue;
      vus_[nouvelle] = tampon_;
      suivant = k;
      PoserAncre(suivant, p, nouvelle);
      Canoniser(suivant, p);
      a.Ajouter(suivant, nouvelle, static_cast<int>(i), kDirections[sens]);
    }
  }
  for (int cellule : classe.cellules) grille[static_cast<std::size_t>(a0 + cellule)] = static_cast<int16_t>(p);
}

void Solveur::Inonder(const Cle& k, Grille& grilleEtat, int p, Atteints& a) const {
  if (ClasseDe(p).serie != TSerieMap::Final || !PorteFermeeDans(k)) {
    InonderSansPortes(k, grilleEtat, p, a);
    return;
  }
  // A master piece beside doors: each step may touch or open them, so a
  // place is known by the piece's anchor and the doors' states.
  const std::size_t taille = k.size();
  const std::size_t debutPortes = taille - cellulesPorte_.size();
  auto& courant = tamponCourant_;
  auto& suivant = tamponSuivant_;
  auto& grille = tamponNoeud_;
  a.Vider();
  a.Ajouter(k, Ancre(k, p), -1, 0);
  for (std::size_t i = 0; i < a.Nombre(); ++i) {
    courant.assign(a.cles.begin() + static_cast<std::ptrdiff_t>(i * taille),
                   a.cles.begin() + static_cast<std::ptrdiff_t>((i + 1) * taille));
    Occupation(courant, grille);
    int q = 0;
    while (Ancre(courant, q) != a.ancres[i]) ++q;
    for (int8_t d : kDirections) {
      uint16_t nouvelle = 0;
      if (!Pas(courant, grille, static_cast<int16_t>(q), q, d, suivant, &nouvelle)) continue;
      bool vu = false;
      for (std::size_t j = 0; j < a.Nombre() && !vu; ++j)
        vu = a.ancres[j] == nouvelle &&
             std::equal(suivant.begin() + static_cast<std::ptrdiff_t>(debutPortes), suivant.end(),
                        a.cles.begin() + static_cast<std::ptrdiff_t>(j * taille + debutPortes));
      if (!vu) a.Ajouter(suivant, nouvelle, static_cast<int>(i), d);
    }
  }
  (void)grilleEtat;
}

ResultatSolveur Solveur::Chercher() {
  ResultatSolveur r;
  const Cle depart = CleDepart();
  Etats etats(depart.size());
  bool nouveau = false;
  etats.Trouver(depart.data(), &nouveau);
  liens_.push_back({0, 0, 0, 0});
  std::vector<int> couts{0};
  // Buckets by cost: a step costs one; a move costs one (none when the
  // piece ends where it was taken) and each door it opens one more.
  std::vector<std::vector<uint32_t>> seaux(1, std::vector<uint32_t>{0});
  Grille grille;
  Atteints atteints;
  Cle cle(depart.size()), suivant, atteint(depart.size());
  std::size_t traites = 0;
  auto ajouter = [&](const uint8_t* k, int c, Lien lien) {
    const uint32_t i = etats.Trouver(k, &nouveau);
    if (nouveau) {
      liens_.push_back(lien);
      couts.push_back(c);
    } else if (c < couts[i]) {
      liens_[i] = lien;
      couts[i] = c;
    } else {
      return;
    }
    if (static_cast<std::size_t>(c) >= seaux.size()) seaux.resize(static_cast<std::size_t>(c) + 1);
    seaux[static_cast<std::size_t>(c)].push_back(i);
  };
  for (std::size_t niveau = 0; niveau < seaux.size(); ++niveau) {
    for (std::size_t j = 0; j < seaux[niveau].size(); ++j) {
      const uint32_t e = seaux[niveau][j];
      if (couts[e] != static_cast<int>(niveau)) continue;  // reached cheaper since
      if (options_.annuler && (++traites & 255) == 0 && options_.annuler->load()) {
        r.issue = IssueSolveur::Annule;
        r.etats = etats.Nombre();
        return r;
      }
      std::copy_n(etats.Cle(e), cle.size(), cle.begin());
      Occupation(cle, grille);
      if (Resolu(grille)) {
        r.issue = IssueSolveur::Solution;
        r.etats = etats.Nombre();
        r.chemin = CheminDe(e, etats);
        r.pas = static_cast<int>(r.chemin.size());
        r.coups = options_.mesure == MesureSolveur::Coups ? static_cast<int>(niveau) : 0;
        return r;
      }
      const int portesAvant = cellulesPorte_.empty() ? 0 : PortesOuvertes(cle);
      for (int p = 0; p < nbPieces_; ++p) {
        if (options_.mesure == MesureSolveur::Pas) {
          // Most steps are blocked: a look at the cells ahead comes first.
          const int a = Ancre(cle, p);
          const auto& devant = ClasseDe(p).devant;
          for (std::size_t sens = 0; sens < kDirections.size(); ++sens) {
            bool libre = true;
            for (int cible : devant[sens])
              if (grille[static_cast<std::size_t>(a + cible)] != kLibre) {
                libre = false;
                break;
              }
            uint16_t nouvelle = 0;
            if (libre && Pas(cle, grille, static_cast<int16_t>(p), p, kDirections[sens], suivant, &nouvelle))
              ajouter(suivant.data(), static_cast<int>(niveau) + 1,
                      {e, static_cast<uint16_t>(a), nouvelle, kDirections[sens]});
          }
        } else {
          if (!PeutBouger(cle, grille, p)) continue;
          Inonder(cle, grille, p, atteints);
          for (std::size_t i = 1; i < atteints.Nombre(); ++i) {
            const uint8_t* k = atteints.cles.data() + i * atteint.size();
            int portes = 0;
            if (!cellulesPorte_.empty()) {
              std::copy_n(k, atteint.size(), atteint.begin());
              portes = PortesOuvertes(atteint) - portesAvant;
            }
            const int prix = (atteints.ancres[i] != Ancre(cle, p) ? 1 : 0) + portes;
            ajouter(k, static_cast<int>(niveau) + prix, {e, Ancre(cle, p), atteints.ancres[i], 0});
          }
        }
        if (etats.Nombre() > options_.limiteEtats || etats.Nombre() * (cle.size() + kOctetsParEtat) > options_.limiteMemoire) {
          r.issue = IssueSolveur::LimiteAtteinte;
          r.etats = etats.Nombre();
          return r;
        }
      }
    }
    seaux[niveau].clear();
    seaux[niveau].shrink_to_fit();
  }
  r.issue = IssueSolveur::AucuneSolution;
  r.etats = etats.Nombre();
  return r;
}

std::vector<PasSolution> Solveur::CheminDe(uint32_t fin, const Etats& etats) const {
  std::vector<uint32_t> suite;
  for (uint32_t e = fin; e != 0; e = liens_[e].parent) suite.push_back(e);
  std::reverse(suite.begin(), suite.end());
  std::vector<PasSolution> chemin;
  Atteints atteints;
  Grille grille;
  for (uint32_t e : suite) {
    const Lien& lien = liens_[e];
    if (options_.mesure == MesureSolveur::Pas) {
      chemin.push_back(PasDe(lien.avant, lien.direction));
      continue;
    }
    // The steps of the move: the flood from the parent, back from the child.
    const Cle parent(etats.Cle(lien.parent), etats.Cle(lien.parent) + etats.Taille());
    const Cle enfant(etats.Cle(e), etats.Cle(e) + etats.Taille());
    int p = 0;
    while (Ancre(parent, p) != lien.avant) ++p;
    Occupation(parent, grille);
    Inonder(parent, grille, p, atteints);
    const std::size_t taille = enfant.size();
    std::size_t i = 0;
    while (!std::equal(enfant.begin(), enfant.end(), atteints.cles.begin() + static_cast<std::ptrdiff_t>(i * taille)))
      ++i;
    std::vector<PasSolution> pas;
    for (; atteints.parents[i] >= 0; i = static_cast<std::size_t>(atteints.parents[i]))
      pas.push_back(PasDe(atteints.ancres[static_cast<std::size_t>(atteints.parents[i])], atteints.directions[i]));
    chemin.insert(chemin.end(), pas.rbegin(), pas.rend());
  }
  return chemin;
}

}  // namespace
ResultatSolveur Resoudre(const TPlateau& plateau, const OptionsSolveur& options) {
  Solveur solveur(plateau, options);
  auto r = solveur.Chercher();
  if (r.issue == IssueSolveur::Solution && options.mesure == MesureSolveur::Pas) {
    int32_t fin = 0;
    EvenementsDeLaSolution(plateau, r.chemin, 0, &fin);
    r.coups = fin;
  }
  return r;
}

}  // namespace glissaro::reference
