#include "TableEtats.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

namespace glissaro::solveur {

namespace {
// Below this, a table is the first one (never grown) or small enough for
// its faults not to matter.
constexpr std::size_t kPeuplerDes = std::size_t{64} << 10;
// From this size on, a table is read at random over more pages than the
// processor keeps addresses for: it asks for large pages.
constexpr std::size_t kGrandesPagesDes = std::size_t{8} << 20;
constexpr std::size_t kQuadrupleJusqua = std::size_t{64} << 10;
}  // namespace

namespace {
// Advice on the whole blocks of that size (a power of two) within the
// memory given.
void Conseiller(void* debut, std::size_t octets, std::uintptr_t bloc, int conseil) {
  const auto a = (reinterpret_cast<std::uintptr_t>(debut) + bloc - 1) & ~(bloc - 1);
  const auto b = (reinterpret_cast<std::uintptr_t>(debut) + octets) & ~(bloc - 1);
  if (b > a) madvise(reinterpret_cast<void*>(a), b - a, conseil);
}
}  // namespace

void Peupler(void* debut, std::size_t octets) {
#if defined(MADV_POPULATE_WRITE)
  Conseiller(debut, octets, 4096, MADV_POPULATE_WRITE);
#else
  (void)debut;
  (void)octets;
#endif
}

Table::Table(Memoire& memoire, std::size_t tailleCle, std::size_t limite)
    : memoire_(memoire), taille_(tailleCle), cles_(memoire, tailleCle, std::max<std::size_t>(1024, (1 << 18) / tailleCle)) {
  // 16 KiB to start with (less under a smaller limit), doubled as the
  // states come: what a board costs follows the states it has, whatever
  // the limit.
  cases_ = Cases(std::clamp<std::size_t>(limite / 16 / sizeof(Case), 64, 1024));
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

Table::Cases::Cases(std::size_t n) : donnees_(static_cast<Case*>(std::calloc(n, sizeof(Case)))), taille_(n) {
  if (!donnees_) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  if (n * sizeof(Case) >= kGrandesPagesDes) Conseiller(donnees_, n * sizeof(Case), std::uintptr_t{2} << 20, MADV_HUGEPAGE);
#endif
  // A table that grew is a third full at least: every page of it will be
  // written.
  if (n * sizeof(Case) >= kPeuplerDes) Peupler(donnees_, n * sizeof(Case));
}

Table::Cases::Cases(Cases&& o) noexcept
    : donnees_(std::exchange(o.donnees_, nullptr)), taille_(std::exchange(o.taille_, 0)) {}

Table::Cases& Table::Cases::operator=(Cases&& o) noexcept {
  std::swap(donnees_, o.donnees_);
  std::swap(taille_, o.taille_);
  return *this;
}

Table::Cases::~Cases() { std::free(donnees_); }

}  // namespace glissaro::solveur
