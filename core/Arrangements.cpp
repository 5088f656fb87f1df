#include "Arrangements.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdint>
#include <memory>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

#include "Pieces.h"
#include "Verification.h"

namespace glissaro {

namespace {

// Cells are numbered (row + 1) × 32 + column − 1: the rows above and below
// the board and the columns past the 20th are blocked, so a step needs no
// bounds test.
constexpr int kLigne = 32;
int Indice(int l, int c) { return (l + 1) * kLigne + (c - 1); }
int Indice(TPosition p) { return Indice(p.ligne, p.colonne); }
TPosition PositionDe(int i) { return {i / kLigne - 1, i % kLigne + 1}; }
constexpr std::array<int, 4> kPas = {-kLigne, kLigne, -1, 1};

constexpr int16_t kLibre = -1;
constexpr uint8_t kDistanceMax = 254;
constexpr int16_t kMur = -2;

// A kind of piece, with its tiles in the cell numbering.
struct Sorte : TSorte {
  Sorte() = default;
  explicit Sorte(TSorte sorte) : TSorte(std::move(sorte)) {}
  std::vector<int> cellules;               // the offsets from the anchor, in the cell numbering
  std::array<std::vector<int>, 4> devant;  // cells a step moves onto, per direction
  int nombre = 0;
};

struct Analyse {
  std::string probleme;
  std::vector<Sorte> sortes;
  std::vector<uint16_t> ancresDepart;  // by kind, sorted within a kind
  std::vector<int> sorteDe;            // kind of each piece index
  std::vector<int> debut;              // first piece index of each kind, and the end
  std::vector<int16_t> fixes;          // kMur or kLibre for every cell
  std::vector<int> placesFinales;
  std::vector<int> libres;  // the cells that are not border, in reading order
};

Analyse Analyser(const TPlateau& p) {
  Analyse a;
  const int H = p.Hauteur, L = p.Largeur;
  a.fixes.assign(static_cast<std::size_t>((H + 4) * kLigne), kMur);
  bool maitre = false;
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) {
      const auto& k = p.Case(l, c);
      const int i = Indice(l, c);
      if (k.Porte) a.probleme = "le plateau a des portes : la recherche ne traite que les plateaux sans porte";
      if (k.Serie == TSerieMap::Bord) continue;
      a.fixes[static_cast<std::size_t>(i)] = kLibre;
      a.libres.push_back(i);
      if (k.PlaceFinal) a.placesFinales.push_back(i);
      if (k.Serie == TSerieMap::Final) maitre = true;
    }
  if (!a.probleme.empty()) return a;
  if (a.placesFinales.empty() || !maitre) {
    a.probleme = "le plateau n'a pas de place finale ou pas de pièce maîtresse";
    return a;
  }
  std::map<std::vector<int>, std::pair<Sorte, std::vector<int>>> parSorte;
  for (const TPiece& piece : PiecesMobiles(p)) {
    Sorte s(SorteDe(p, piece));
    for (const TPosition& d : s.decalages) s.cellules.push_back(d.ligne * kLigne + d.colonne);
    auto& entree = parSorte[s.Cle()];
    entree.first = s;
    entree.second.push_back(Indice(piece.Ancre()));
  }
  for (auto& [cle, entree] : parSorte) {
    auto& [sorte, ancres] = entree;
    for (std::size_t d = 0; d < kPas.size(); ++d)
      for (int cellule : sorte.cellules)
        if (std::find(sorte.cellules.begin(), sorte.cellules.end(), cellule + kPas[d]) == sorte.cellules.end())
          sorte.devant[d].push_back(cellule + kPas[d]);
    sorte.nombre = static_cast<int>(ancres.size());
    a.debut.push_back(static_cast<int>(a.ancresDepart.size()));
    std::sort(ancres.begin(), ancres.end());
    for (int x : ancres) {
      a.ancresDepart.push_back(static_cast<uint16_t>(x));
      a.sorteDe.push_back(static_cast<int>(a.sortes.size()));
    }
    a.sortes.push_back(sorte);
  }
  a.debut.push_back(static_cast<int>(a.ancresDepart.size()));
  return a;
}

uint64_t Ajouter(uint64_t x, uint64_t y) { return x > UINT64_MAX - y ? UINT64_MAX : x + y; }

// Counts the arrangements cell by cell in reading order: the first cell not
// yet decided is either floor or the anchor of a piece. What is left to
// decide is the cell reached, which of the next 128 cells are already
// covered, and how many pieces of each kind remain: the count is kept for
// each such situation.
class Compteur {
 public:
  explicit Compteur(const Analyse& a) : a_(a) {}

  uint64_t Compter(std::string* probleme) {
    for (const auto& s : a_.sortes)
      for (int c : s.cellules)
        if (c >= 128) {
          if (probleme) *probleme = "une pièce s'étend sur trop de lignes pour le décompte";
          return 0;
        }
    std::vector<uint8_t> reste;
    int cases = 0;
    for (const auto& s : a_.sortes) {
      reste.push_back(static_cast<uint8_t>(s.nombre));
      cases += s.nombre * static_cast<int>(s.cellules.size());
    }
    if (cases > static_cast<int>(a_.libres.size())) {
      if (probleme) *probleme = "les pièces ne tiennent pas sur le plateau";
      return 0;
    }
    if (probleme) probleme->clear();
    return Suite(0, 0, reste, static_cast<int>(a_.libres.size()) - cases);
  }

 private:
  // From the cell a_.libres[k] on, with the covered cells ahead in masque
  // (bit i: the cell i places after a_.libres[k] in the numbering).
  using Masque = unsigned __int128;
  static Masque Decaler(Masque m, int saut) { return saut >= 128 ? 0 : m >> saut; }
  uint64_t Suite(std::size_t k, Masque masque, std::vector<uint8_t>& reste, int fond) {
    // Skip the cells already covered.
    while (k < a_.libres.size() && (masque & 1)) {
      const std::size_t suivante = k + 1;
      const int saut = suivante < a_.libres.size() ? a_.libres[suivante] - a_.libres[k] : 128;
      masque = Decaler(masque, saut);
      k = suivante;
    }
    if (k == a_.libres.size()) return 1;  // every piece is laid, the rest is floor
    std::string cle(reinterpret_cast<const char*>(&masque), sizeof masque);
    cle.append(reinterpret_cast<const char*>(&k), sizeof k);
    cle.append(reste.begin(), reste.end());
    if (const auto t = memo_.find(cle); t != memo_.end()) return t->second;

    const int ici = a_.libres[k];
    const std::size_t suivante = k + 1;
    const int saut = suivante < a_.libres.size() ? a_.libres[suivante] - ici : 128;
    uint64_t total = 0;
    if (fond > 0) total = Ajouter(total, Suite(suivante, Decaler(masque, saut), reste, fond - 1));
    for (std::size_t s = 0; s < a_.sortes.size(); ++s) {
      if (reste[s] == 0) continue;
      Masque couvre = 0;
      bool pose = true;
      for (int c : a_.sortes[s].cellules) {
        if (a_.fixes[static_cast<std::size_t>(ici + c)] != kLibre || (masque >> c & 1)) {
          pose = false;
          break;
        }
        couvre |= Masque{1} << c;
      }
      if (!pose) continue;
      --reste[s];
      total = Ajouter(total, Suite(suivante, Decaler(masque | couvre, saut), reste, fond));
      ++reste[s];
    }
    memo_.emplace(std::move(cle), total);
    return total;
  }

  const Analyse& a_;
  std::unordered_map<std::string, uint64_t> memo_;
};

// The arrangements met, as fixed-size keys one after the other (the anchors
// of each kind, sorted), with an open-addressing table to find them.
class Ensemble {
 public:
  explicit Ensemble(std::size_t taille) : taille_(taille), table_(1 << 16, kVide) {}
  std::size_t Nombre() const { return nombre_; }
  const uint16_t* Cle(std::size_t i) const { return cles_.data() + i * taille_; }
  std::vector<uint16_t> PrendreCles() { return std::move(cles_); }

  // Adds the key when it is new; true when it was.
  bool Inserer(const uint16_t* cle) {
    if ((nombre_ + 1) * 2 > table_.size()) Agrandir();
    std::size_t h = Hacher(cle) & (table_.size() - 1);
    for (;; h = (h + 1) & (table_.size() - 1)) {
      const uint32_t i = table_[h];
      if (i == kVide) break;
      if (std::memcmp(Cle(i), cle, taille_ * sizeof(uint16_t)) == 0) return false;
    }
    table_[h] = static_cast<uint32_t>(nombre_++);
    cles_.insert(cles_.end(), cle, cle + taille_);
    return true;
  }

 private:
  static constexpr uint32_t kVide = 0xFFFFFFFF;
  std::size_t Hacher(const uint16_t* cle) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i < taille_; ++i) {
      h = (h ^ cle[i]) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 31;
    }
    return static_cast<std::size_t>(h);
  }
  void Agrandir() {
    std::vector<uint32_t> table(table_.size() * 2, kVide);
    for (std::size_t i = 0; i < nombre_; ++i) {
      std::size_t h = Hacher(Cle(i)) & (table.size() - 1);
      while (table[h] != kVide) h = (h + 1) & (table.size() - 1);
      table[h] = static_cast<uint32_t>(i);
    }
    table_ = std::move(table);
  }

  std::size_t taille_;
  std::size_t nombre_ = 0;
  std::vector<uint16_t> cles_;
  std::vector<uint32_t> table_;
};

class Recherche {
 public:
  explicit Recherche(const Analyse& a) : a_(a), n_(a.ancresDepart.size()), ensemble_(a.ancresDepart.size()) {
    for (const bool maitre : {true, false})
      for (std::size_t p = 0; p < n_; ++p)
        if ((a_.sortes[static_cast<std::size_t>(a_.sorteDe[p])].serie == TSerieMap::Final) == maitre) ordre_.push_back(p);
    for (std::size_t p = 0; p < n_; ++p)
      if (a_.sortes[static_cast<std::size_t>(a_.sorteDe[p])].serie == TSerieMap::Final) ++maitres_;
  }

  // Breadth first from the given arrangements (their keys one after the
  // other), or from every solved one; false when cancelled, when more than
  // limite are met or when a distance would pass 254 (unless the
  // distances are not wanted: they then stop at 254).
  bool Explorer(const std::atomic<bool>* annuler, const std::vector<uint16_t>* departs = nullptr,
                std::size_t limite = SIZE_MAX, bool mesurer = true) {
    std::vector<uint16_t> cle(n_);
    std::vector<int16_t> pose = a_.fixes;
    if (departs)
      for (std::size_t i = 0; i < departs->size(); i += n_) ensemble_.Inserer(departs->data() + i);
    else
      PoserResolus(0, cle, pose);
    resolus_ = ensemble_.Nombre();
    distances_.assign(ensemble_.Nombre(), 0);
    std::vector<int16_t> grille;
    std::vector<uint32_t> vus(a_.fixes.size(), 0);
    uint32_t tampon = 0;
    std::vector<int> ancres;
    for (std::size_t e = 0; e < ensemble_.Nombre(); ++e) {
      if (annuler && (e & 4095) == 0 && annuler->load(std::memory_order_relaxed)) return false;
      if (ensemble_.Nombre() > limite) {
        trop_ = true;
        return false;
      }
      std::copy_n(ensemble_.Cle(e), n_, cle.begin());
      const uint8_t d = distances_[e];
      if (d == kDistanceMax && mesurer) {
        deborde_ = true;
        return false;
      }
      grille = a_.fixes;
      for (std::size_t p = 0; p < n_; ++p)
        for (int c : a_.sortes[static_cast<std::size_t>(a_.sorteDe[p])].cellules)
          grille[static_cast<std::size_t>(cle[p] + c)] = static_cast<int16_t>(p);
      for (std::size_t p = 0; p < n_; ++p) {
        // Every place piece p reaches while the others stay.
        const auto& sorte = a_.sortes[static_cast<std::size_t>(a_.sorteDe[p])];
        const int depart = cle[p];
        for (int c : sorte.cellules) grille[static_cast<std::size_t>(depart + c)] = kLibre;
        ++tampon;
        vus[static_cast<std::size_t>(depart)] = tampon;
        ancres.assign(1, depart);
        for (std::size_t i = 0; i < ancres.size(); ++i)
          for (std::size_t s = 0; s < kPas.size(); ++s) {
            const int suivante = ancres[i] + kPas[s];
            if (vus[static_cast<std::size_t>(suivante)] == tampon) continue;
            bool libre = true;
            for (int c : sorte.devant[s])
              if (grille[static_cast<std::size_t>(ancres[i] + c)] != kLibre) {
                libre = false;
                break;
              }
            if (!libre) continue;
            vus[static_cast<std::size_t>(suivante)] = tampon;
            ancres.push_back(suivante);
          }
        for (int c : sorte.cellules) grille[static_cast<std::size_t>(depart + c)] = static_cast<int16_t>(p);
        for (std::size_t i = 1; i < ancres.size(); ++i) {
          suivant_ = cle;
          Placer(suivant_, p, static_cast<uint16_t>(ancres[i]));
          if (ensemble_.Inserer(suivant_.data())) distances_.push_back(static_cast<uint8_t>(std::min<int>(d + 1, kDistanceMax)));
        }
      }
    }
    return true;
  }

  std::size_t Resolus() const { return resolus_; }
  bool DistanceDebordee() const { return deborde_; }
  bool Trop() const { return trop_; }
  // Whether the master tiles cover every final place in the arrangement.
  bool Resolu(const uint16_t* cle) const {
    std::vector<bool> maitre(a_.fixes.size(), false);
    for (std::size_t p = 0; p < n_; ++p) {
      const auto& sorte = a_.sortes[static_cast<std::size_t>(a_.sorteDe[p])];
      for (std::size_t t = 0; t < sorte.cellules.size(); ++t)
        if (sorte.tuiles[t].Serie == TSerieMap::Final) maitre[static_cast<std::size_t>(cle[p] + sorte.cellules[t])] = true;
    }
    return std::all_of(a_.placesFinales.begin(), a_.placesFinales.end(),
                       [&](int f) { return maitre[static_cast<std::size_t>(f)]; });
  }
  std::vector<uint8_t> PrendreDistances() { return std::move(distances_); }
  std::vector<uint16_t> PrendreCles() { return ensemble_.PrendreCles(); }

 private:
  // Moves piece p to the anchor a and puts its kind's anchors back in order.
  void Placer(std::vector<uint16_t>& cle, std::size_t p, uint16_t a) const {
    const int s = a_.sorteDe[p];
    const auto debut = static_cast<std::size_t>(a_.debut[static_cast<std::size_t>(s)]);
    const auto fin = static_cast<std::size_t>(a_.debut[static_cast<std::size_t>(s) + 1]);
    while (p > debut && cle[p - 1] > a) {
      cle[p] = cle[p - 1];
      --p;
    }
    while (p + 1 < fin && cle[p + 1] < a) {
      cle[p] = cle[p + 1];
      ++p;
    }
    cle[p] = a;
  }

  // Every arrangement that covers each final place with a master tile:
  // the master pieces first, then the others, each kind's anchors in
  // increasing order; the final places are looked at once the master
  // pieces are laid.
  void PoserResolus(std::size_t rang, std::vector<uint16_t>& cle, std::vector<int16_t>& grille) {
    if (rang == maitres_) {
      for (int f : a_.placesFinales)
        if (grille[static_cast<std::size_t>(f)] < 0) return;
    }
    if (rang == ordre_.size()) {
      ensemble_.Inserer(cle.data());
      return;
    }
    const std::size_t p = ordre_[rang];
    const int s = a_.sorteDe[p];
    const auto& sorte = a_.sortes[static_cast<std::size_t>(s)];
    const bool premier = static_cast<int>(p) == a_.debut[static_cast<std::size_t>(s)];
    for (int a : a_.libres) {
      if (!premier && a <= cle[p - 1]) continue;
      bool libre = true;
      for (int c : sorte.cellules)
        if (grille[static_cast<std::size_t>(a + c)] != kLibre) {
          libre = false;
          break;
        }
      if (!libre) continue;
      for (int c : sorte.cellules) grille[static_cast<std::size_t>(a + c)] = static_cast<int16_t>(p);
      cle[p] = static_cast<uint16_t>(a);
      PoserResolus(rang + 1, cle, grille);
      for (int c : sorte.cellules) grille[static_cast<std::size_t>(a + c)] = kLibre;
    }
  }

  const Analyse& a_;
  std::size_t n_;
  Ensemble ensemble_;
  std::vector<uint8_t> distances_;
  std::vector<uint16_t> suivant_;
  std::size_t resolus_ = 0;
  std::vector<std::size_t> ordre_;  // the pieces in the order they are laid
  std::size_t maitres_ = 0;
  bool deborde_ = false;
  bool trop_ = false;
};

}  // namespace

uint64_t CompterArrangements(const TPlateau& plateau, std::string* probleme) {
  const Analyse a = Analyser(plateau);
  if (!a.probleme.empty()) {
    if (probleme) *probleme = a.probleme;
    return 0;
  }
  return Compteur(a).Compter(probleme);
}

struct Exploration::Donnees {
  Analyse analyse;
  TPlateau plateau;
  std::vector<uint16_t> cles;
  std::vector<uint8_t> distances;
};

// The breadth-first search from the given arrangements (all the solved
// ones without), its distances and keys kept.
static bool Parcourir(Exploration& x, Recherche& recherche, Exploration::Donnees& d, const TPlateau& plateau,
                      const std::atomic<bool>* annuler, const std::vector<uint16_t>* departs) {
  if (!recherche.Explorer(annuler, departs)) {
    if (recherche.DistanceDebordee()) x.message = "Recherche abandonnée : des arrangements demandent plus de 254 coups.";
    x.annulee = !recherche.DistanceDebordee();
    return false;
  }
  x.resolus = recherche.Resolus();
  d.distances = recherche.PrendreDistances();
  d.cles = recherche.PrendreCles();
  d.plateau = plateau;
  const int maximum = d.distances.empty() ? 0 : d.distances.back();
  x.parDistance.assign(static_cast<std::size_t>(maximum) + 1, 0);
  for (const uint8_t distance : d.distances) ++x.parDistance[distance];
  x.ok = true;
  return true;
}

Exploration ExplorerArrangements(const TPlateau& plateau, uint64_t limite, const std::atomic<bool>* annuler) {
  Exploration x;
  auto d = std::make_shared<Exploration::Donnees>();
  d->analyse = Analyser(plateau);
  if (!d->analyse.probleme.empty()) {
    x.message = "Recherche refusée : " + d->analyse.probleme + ".";
    return x;
  }
  std::string probleme;
  x.arrangements = Compteur(d->analyse).Compter(&probleme);
  if (!probleme.empty()) {
    x.message = "Recherche refusée : " + probleme + ".";
    return x;
  }
  if (x.arrangements > limite) {
    x.message = "Recherche refusée : ces pièces ont " + std::to_string(x.arrangements) +
                " arrangements sur ce plateau, au-delà de la limite de " + std::to_string(limite) + ".";
    return x;
  }
  Recherche recherche(d->analyse);
  if (Parcourir(x, recherche, *d, plateau, annuler, nullptr)) x.d_ = std::move(d);
  return x;
}

Exploration ExplorerComposante(const TPlateau& plateau, std::size_t limite, const std::atomic<bool>* annuler) {
  Exploration x;
  auto d = std::make_shared<Exploration::Donnees>();
  d->analyse = Analyser(plateau);
  if (!d->analyse.probleme.empty()) {
    x.message = "Recherche refusée : " + d->analyse.probleme + ".";
    return x;
  }
  // First every arrangement the board's own reaches; then, from the solved
  // ones among them, their distances.
  Recherche composante(d->analyse);
  if (!composante.Explorer(annuler, &d->analyse.ancresDepart, limite, false)) {
    x.annulee = !composante.Trop() && !composante.DistanceDebordee();
    x.message = composante.Trop() ? "Recherche refusée : ces pièces atteignent plus de " + std::to_string(limite) +
                                        " arrangements depuis leur place."
                                  : "Recherche abandonnée.";
    return x;
  }
  const std::size_t n = d->analyse.ancresDepart.size();
  const std::vector<uint16_t> toutes = composante.PrendreCles();
  x.arrangements = toutes.size() / std::max<std::size_t>(n, 1);
  std::vector<uint16_t> resolues;
  for (std::size_t i = 0; i < toutes.size(); i += n)
    if (composante.Resolu(toutes.data() + i)) resolues.insert(resolues.end(), toutes.data() + i, toutes.data() + i + n);
  if (resolues.empty()) {
    x.message = "Recherche refusée : aucun arrangement résolu n'est atteint.";
    return x;
  }
  Recherche recherche(d->analyse);
  if (Parcourir(x, recherche, *d, plateau, annuler, &resolues)) x.d_ = std::move(d);
  return x;
}

std::size_t Exploration::Nombre() const { return d_ ? d_->distances.size() : 0; }

int Exploration::Distance(std::size_t i) const { return d_->distances[i]; }

std::vector<TPosition> Exploration::Couvertes(std::size_t i) const {
  std::vector<TPosition> cases;
  const Analyse& a = d_->analyse;
  const uint16_t* cle = d_->cles.data() + i * a.ancresDepart.size();
  for (std::size_t p = 0; p < a.ancresDepart.size(); ++p)
    for (int c : a.sortes[static_cast<std::size_t>(a.sorteDe[p])].cellules) cases.push_back(PositionDe(cle[p] + c));
  return cases;
}

bool Exploration::Precede(std::size_t i, std::size_t j) const {
  const std::size_t n = d_->analyse.ancresDepart.size();
  const uint16_t* x = d_->cles.data() + i * n;
  const uint16_t* y = d_->cles.data() + j * n;
  return std::lexicographical_compare(x, x + n, y, y + n);
}

TPlateau Exploration::Plateau(std::size_t i, std::string* probleme) const {
  const Analyse& a = d_->analyse;
  TPlateau d = d_->plateau;
  for (int k : a.libres) {
    auto& cellule = d.Case(PositionDe(k));
    const TCellule lieu = cellule;
    static_cast<TCellule&>(cellule) = TCellule{};
    cellule.PlaceFinal = lieu.PlaceFinal;
    cellule.PosX = lieu.PosX;
    cellule.PosY = lieu.PosY;
  }
  const uint16_t* cle = d_->cles.data() + i * a.ancresDepart.size();
  for (std::size_t p = 0; p < a.ancresDepart.size(); ++p) {
    const auto& sorte = a.sortes[static_cast<std::size_t>(a.sorteDe[p])];
    for (std::size_t t = 0; t < sorte.cellules.size(); ++t) {
      auto& cellule = d.Case(PositionDe(cle[p] + sorte.cellules[t]));
      const TCellule lieu = cellule;
      static_cast<TCellule&>(cellule) = sorte.tuiles[t];
      cellule.PlaceFinal = lieu.PlaceFinal;
      cellule.Porte = false;
      cellule.PosX = lieu.PosX;
      cellule.PosY = lieu.PosY;
    }
  }
  const auto verification = VerifierGrille(d);
  if (probleme) *probleme = verification.Correcte() ? "" : verification.texte;
  return d;
}

ResultatDifficile ChercherLePlusDifficile(const TPlateau& plateau, uint64_t limite) {
  const auto debut = std::chrono::steady_clock::now();
  ResultatDifficile r;
  const Exploration x = ExplorerArrangements(plateau, limite);
  r.arrangements = x.arrangements;
  if (!x.ok) {
    r.message = x.message;
    return r;
  }
  r.resolus = x.resolus;
  r.explores = x.Nombre();
  r.coups = x.Maximum();
  r.parDistance = x.parDistance;
  // The first of the farthest in the order of the keys.
  std::size_t choisi = 0;
  for (std::size_t e = 0; e < x.Nombre(); ++e)
    if (x.Distance(e) == r.coups && (r.plusDifficiles++ == 0 || x.Precede(e, choisi))) choisi = e;
  std::string probleme;
  r.depart = x.Plateau(choisi, &probleme);
  if (!probleme.empty()) {
    r.message = "Le plateau trouvé ne passe pas la vérification : " + probleme;
    return r;
  }
  r.ok = true;
  r.duree = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debut);
  return r;
}

}  // namespace glissaro
