// The solver's storage: the memory it counts, entries kept in pages, the
// queues of states by priority and the table of the states met. Nothing
// here knows the board: a state is a key of fixed width and a fingerprint.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace glissaro::solveur {

// What the search holds, counted as it is allocated, and where its blocks
// come from. The peak counts the blocks: a search in its region holds the
// region's large pages it has touched, up to 2 MiB more.
class Memoire {
 public:
  std::size_t actuelle = 0;
  std::size_t pic = 0;

  Memoire() = default;
  Memoire(const Memoire&) = delete;
  Memoire& operator=(const Memoire&) = delete;
  ~Memoire();

  void Prendre(std::size_t n) {
    actuelle += n;
    pic = std::max(pic, actuelle);
  }
  void Rendre(std::size_t n) { actuelle -= n; }

  // A block of n bytes, zeroed when asked. ecrit: it is about to be
  // written in full, so its pages are taken at once rather than with one
  // fault each (where the system cannot, they come as they are touched).
  void* Allouer(std::size_t n, bool zero, bool ecrit);
  void Liberer(void* bloc, std::size_t n);
  // The search has outgrown its first few thousand states: its next blocks
  // come from one region in large pages, while it has room, where the
  // system gives them. A search of a few megabytes then costs a fault for
  // each 2 MiB rather than for each 4 KiB, and nothing to give back.
  // Whether the region opened with this call.
  bool Grandir();
  bool DansLaRegion(const void* bloc) const {
    const auto debut = reinterpret_cast<std::uintptr_t>(region_);
    const auto b = reinterpret_cast<std::uintptr_t>(bloc);
    return region_ && b >= debut && b < debut + kRegion;
  }
  static constexpr std::size_t kRegion = std::size_t{8} << 20;

 private:
  std::byte* region_ = nullptr;
  bool essayee_ = false;
  std::size_t haut_ = 0;   // the region's bytes given
  std::size_t blocs_ = 0;  // its blocks still held
};

// Entries of a fixed width stored in pages, so growing never copies nor
// holds twice the data. From the second page on, a page is taken whole at
// once: a search that filled one will most likely fill the next. An entry
// is kLargeur items, or as many as the constructor says when kLargeur is 0.
template <class T, std::size_t kLargeur = 1>
class Pages {
 public:
  // parPage is rounded up to a power of two: an entry is found by shifts.
  Pages(Memoire& memoire, std::size_t largeur, std::size_t parPage)
      : memoire_(&memoire), largeur_(largeur), decalage_(std::bit_width(parPage - 1)), parPage_(std::size_t{1} << decalage_) {}
  Pages(Pages&&) noexcept = default;
  Pages& operator=(Pages&&) = delete;
  ~Pages() { Vider(); }

  std::size_t Taille() const { return n_; }
  T* operator[](std::size_t i) const { return pages_[i >> decalage_] + (i & (parPage_ - 1)) * Largeur(); }
  // Entries that fit in the pages already taken.
  std::size_t Restantes() const { return pages_.size() * parPage_ - n_; }
  // The bytes the next Ajouter takes.
  std::size_t Besoin() const { return n_ == pages_.size() * parPage_ ? OctetsPage() : 0; }
  [[gnu::always_inline]] T* Ajouter() {
    if (n_ == pages_.size() * parPage_) {
      pages_.push_back(static_cast<T*>(memoire_->Allouer(parPage_ * Largeur() * sizeof(T), false, !pages_.empty())));
      memoire_->Prendre(OctetsPage());
    }
    return (*this)[n_++];
  }
  // The pages taken before the region opened, moved into it while it has
  // room: what they have yet to hold then comes without a fault a page.
  // Every address of an entry changes.
  void Reloger() {
    for (std::size_t j = 0; j < pages_.size(); ++j) {
      if (memoire_->DansLaRegion(pages_[j])) continue;
      const std::size_t octets = parPage_ * Largeur() * sizeof(T);
      T* page = static_cast<T*>(memoire_->Allouer(octets, false, false));
      if (!memoire_->DansLaRegion(page)) {
        memoire_->Liberer(page, octets);
        return;
      }
      const std::size_t tenues = std::min(parPage_, n_ - j * parPage_);
      std::copy_n(pages_[j], tenues * Largeur(), page);
      memoire_->Liberer(pages_[j], octets);
      pages_[j] = page;
    }
  }
  void Vider() {
    if (memoire_) {
      memoire_->Rendre(pages_.size() * OctetsPage());
      for (T* page : pages_) memoire_->Liberer(page, parPage_ * Largeur() * sizeof(T));
    }
    pages_.clear();
    pages_.shrink_to_fit();
    n_ = 0;
  }

 private:
  std::size_t Largeur() const { return kLargeur ? kLargeur : largeur_; }
  std::size_t OctetsPage() const { return parPage_ * Largeur() * sizeof(T) + sizeof(T*); }
  Memoire* memoire_;
  std::size_t largeur_;
  int decalage_;
  std::size_t parPage_;
  std::size_t n_ = 0;
  std::vector<T*> pages_;
};

// Queues of states by priority (cost, or cost and estimate); the smallest
// comes first. A bucket is given back once read.
class Seaux {
 public:
  explicit Seaux(Memoire& memoire) : memoire_(memoire) {}
  [[gnu::always_inline]] void Ajouter(std::size_t priorite, uint32_t etat) {
    while (priorite >= seaux_.size()) {
      seaux_.emplace_back(memoire_, 1, 4096);
      lus_.push_back(0);
    }
    *seaux_[priorite].Ajouter() = etat;
    courant_ = std::min(courant_, priorite);
  }
  [[gnu::always_inline]] bool Prendre(uint32_t* etat, std::size_t* priorite) {
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

// The states met: their keys, one after the other, and an open-addressing
// table of slots that hold an 80-bit fingerprint of the state, the
// cheapest cost known and the index, so a probe reads one slot and never
// the key.
class Table {
 public:
  struct Empreinte {
    uint64_t h1;
    uint16_t h2;
  };

  Table(Memoire& memoire, std::size_t tailleCle, std::size_t limite);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

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

  // Between two states, when no key is held: once the region has opened,
  // the keys' first page moves into it. A key's address holds otherwise.
  void EntreDeuxEtats() {
    if (!reloger_) return;
    reloger_ = false;
    cles_.Reloger();
  }

  // Asks the processor for the key's slot ahead of Trouver.
  void Prevoir(const Empreinte& e) const { __builtin_prefetch(&cases_[Position(e.h1)]); }

  // The index of the state with that fingerprint, adding it when new
  // (Place said there is room; its key is then written at NouvelleCle).
  // *etat: 0 new, 1 known and now reached cheaper, 2 known at no more.
  [[gnu::always_inline]] uint32_t Trouver(const Empreinte& e, uint16_t cout, int* etat) {
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
  // The slots, zeroed.
  class Cases {
   public:
    Cases() = default;
    Cases(Memoire& memoire, std::size_t n);
    Cases(Cases&& o) noexcept;
    Cases& operator=(Cases&& o) noexcept;
    ~Cases();
    Case& operator[](std::size_t i) { return donnees_[i]; }
    const Case& operator[](std::size_t i) const { return donnees_[i]; }
    std::size_t size() const { return taille_; }

   private:
    Memoire* memoire_ = nullptr;
    Case* donnees_ = nullptr;
    std::size_t taille_ = 0;
  };

  [[gnu::noinline]] bool Verifier(std::size_t limite, std::size_t reserve);
  // The table's size need not be a power of two: the slot is the hash's
  // high bits scaled to it.
  std::size_t Position(uint64_t h) const {
    return static_cast<std::size_t>(((h >> 32) * static_cast<uint64_t>(cases_.size())) >> 32);
  }
  void Agrandir(std::size_t taille);

  Memoire& memoire_;
  std::size_t taille_;
  Pages<uint8_t, 0> cles_;
  Cases cases_;
  uint8_t* nouvelle_ = nullptr;
  std::size_t controle_ = 0;  // the number of states at the next check
  bool reloger_ = false;       // the region has just opened
};

}  // namespace glissaro::solveur
