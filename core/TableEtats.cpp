#include "TableEtats.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace glissaro::solveur {

namespace {
// Below this, a table is the first one (never grown) or small enough for
// its faults not to matter.
constexpr std::size_t kPeuplerDes = std::size_t{64} << 10;
// From this size on, a block is read at random over more pages than the
// processor keeps addresses for: it asks for large pages.
constexpr std::size_t kGrandesPagesDes = std::size_t{8} << 20;
constexpr std::size_t kQuadrupleJusqua = std::size_t{64} << 10;
// A table grown to this size has a few thousand states: the search takes
// its region. Below, the large page's 2 MiB to clear would cost more than
// the faults of what a search that ends soon still takes.
constexpr std::size_t kRegionDes = std::size_t{256} << 10;
constexpr std::size_t kGrandePage = std::size_t{2} << 20;
constexpr std::size_t kAlignement = 64;

// Advice on the whole blocks of that size (a power of two) within the
// memory given.
void Conseiller(void* debut, std::size_t octets, std::uintptr_t bloc, int conseil) {
  const auto a = (reinterpret_cast<std::uintptr_t>(debut) + bloc - 1) & ~(bloc - 1);
  const auto b = (reinterpret_cast<std::uintptr_t>(debut) + octets) & ~(bloc - 1);
  if (b > a) madvise(reinterpret_cast<void*>(a), b - a, conseil);
}

// Memory about to be written in full, its pages taken at once.
void Peupler(void* debut, std::size_t octets) {
#if defined(MADV_POPULATE_WRITE)
  Conseiller(debut, octets, 4096, MADV_POPULATE_WRITE);
#else
  (void)debut;
  (void)octets;
#endif
}

std::size_t Arrondi(std::size_t n) { return (n + kAlignement - 1) & ~(kAlignement - 1); }
}  // namespace

Memoire::~Memoire() { std::free(region_); }

bool Memoire::Grandir() {
  if (essayee_) return false;
  essayee_ = true;
  // From the heap, where the game and the tools that solve many boards
  // keep it from one search to the next.
  region_ = static_cast<std::byte*>(std::aligned_alloc(kGrandePage, kRegion));
#if defined(MADV_HUGEPAGE)
  if (region_) madvise(region_, kRegion, MADV_HUGEPAGE);
#endif
  return region_ != nullptr;
}

void* Memoire::Allouer(std::size_t n, bool zero, bool ecrit) {
  if (region_ && kRegion - haut_ >= Arrondi(n)) {
    // Its pages come as they are touched, a large page at a time.
    std::byte* bloc = region_ + haut_;
    haut_ += Arrondi(n);
    ++blocs_;
    if (zero) std::memset(bloc, 0, n);
    return bloc;
  }
  void* bloc = zero ? std::calloc(n, 1) : std::malloc(n);
  if (!bloc) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  if (n >= kGrandesPagesDes) Conseiller(bloc, n, kGrandePage, MADV_HUGEPAGE);
#endif
  if (ecrit) Peupler(bloc, n);
  return bloc;
}

void Memoire::Liberer(void* bloc, std::size_t n) {
  if (!DansLaRegion(bloc)) {
    std::free(bloc);
    return;
  }
  // The region is given back whole; the last block given, at once.
  if (static_cast<std::byte*>(bloc) + Arrondi(n) == region_ + haut_) haut_ -= Arrondi(n);
  if (--blocs_ == 0) haut_ = 0;
}

Table::Table(Memoire& memoire, std::size_t tailleCle, std::size_t limite)
    : memoire_(memoire), taille_(tailleCle), cles_(memoire, tailleCle, std::max<std::size_t>(1024, (1 << 18) / tailleCle)) {
  // 16 KiB to start with (less under a smaller limit), doubled as the
  // states come: what a board costs follows the states it has, whatever
  // the limit.
  cases_ = Cases(memoire_, std::clamp<std::size_t>(limite / 16 / sizeof(Case), 64, 1024));
  memoire_.Prendre(cases_.size() * sizeof(Case));
}

Table::~Table() { memoire_.Rendre(cases_.size() * sizeof(Case)); }

bool Table::Verifier(std::size_t limite, std::size_t reserve) {
  const std::size_t besoin = memoire_.actuelle + cles_.Besoin() + reserve;
  if ((Nombre() + 1) * 10 <= cases_.size() * 7) return besoin <= limite;
  // Four times as large while small: a growth costs its pages and its
  // rehash, and below a few thousand states their sum matters more than
  // the memory.
  std::size_t nouvelle = cases_.size() * (cases_.size() * sizeof(Case) < kQuadrupleJusqua ? 4 : 2);
  const std::size_t libre = limite > besoin ? (limite - besoin) / sizeof(Case) : 0;
  if (nouvelle > libre) nouvelle = libre;
  if (nouvelle * 7 > (Nombre() + 1) * 10) {
    Agrandir(nouvelle);
    return true;
  }
  return (Nombre() + 1) * 10 <= cases_.size() * 9 && besoin <= limite;
}

void Table::Agrandir(std::size_t taille) {
  Cases ancienne = std::move(cases_);
  // The keys' first page, most of it still to be written, goes there too
  // once the state expanded lets go of its key.
  if (taille * sizeof(Case) >= kRegionDes && memoire_.Grandir()) reloger_ = true;
  memoire_.Prendre(taille * sizeof(Case));
  cases_ = Cases(memoire_, taille);
  for (std::size_t i = 0; i < ancienne.size(); ++i) {
    const Case& k = ancienne[i];
    if (k.index == 0) continue;
    std::size_t c = Position(k.h1);
    while (cases_[c].index != 0) c = c + 1 == cases_.size() ? 0 : c + 1;
    cases_[c] = k;
  }
  memoire_.Rendre(ancienne.size() * sizeof(Case));
}

// A table that grew is a third full at least: every page of it will be
// written.
Table::Cases::Cases(Memoire& memoire, std::size_t n)
    : memoire_(&memoire), donnees_(static_cast<Case*>(memoire.Allouer(n * sizeof(Case), true, n * sizeof(Case) >= kPeuplerDes))), taille_(n) {}

Table::Cases::Cases(Cases&& o) noexcept
    : memoire_(o.memoire_), donnees_(std::exchange(o.donnees_, nullptr)), taille_(std::exchange(o.taille_, 0)) {}

Table::Cases& Table::Cases::operator=(Cases&& o) noexcept {
  std::swap(memoire_, o.memoire_);
  std::swap(donnees_, o.donnees_);
  std::swap(taille_, o.taille_);
  return *this;
}

Table::Cases::~Cases() {
  if (donnees_) memoire_->Liberer(donnees_, taille_ * sizeof(Case));
}

}  // namespace glissaro::solveur
