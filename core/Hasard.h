// New boards made at random, each with a proven optimum: a piece set is
// drawn in a box (a master square and bars and cubes around it, a cell or
// two left free), every arrangement of it is explored backward from the
// solved ones, and the start is chosen among the arrangements whose fewest
// moves fall in the level asked for. A door board adds, below the box, a
// niche for the master behind a door of the border: its optimum is the
// solver's, door opening included.
//
// The same request and seed give the same board: the work is counted in
// arrangements explored, never in time.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Plateau.h"

namespace glissaro {

enum class BoiteHasard { B4x4, B4x5, B5x5, B6x6 };
enum class NiveauHasard { Facile, Moyen, Difficile, TresDifficile };

inline constexpr int kNombreBoites = 4;
inline constexpr int kNombreNiveaux = 4;

// "4 × 4", "4 × 5", "5 × 5", "6 × 6": columns by rows.
std::string NomBoite(BoiteHasard boite);
// "Facile", "Moyen", "Difficile", "Très difficile".
std::string NomNiveau(NiveauHasard niveau);
// From the tool's words ("4x5", "moyen", "tres-difficile"...).
std::optional<BoiteHasard> BoiteDeMot(const std::string& mot);
std::optional<NiveauHasard> NiveauDeMot(const std::string& mot);

// The optimal moves of a level in a box, bounds included; the last level
// has no upper bound (maximum INT_MAX).
struct Fourchette {
  int minimum = 0;
  int maximum = 0;
  bool Contient(int coups) const { return coups >= minimum && coups <= maximum; }
};
Fourchette FourchetteDe(BoiteHasard boite, NiveauHasard niveau);
// The level of an optimum in a box.
NiveauHasard NiveauDe(BoiteHasard boite, int coups);

struct DemandeHasard {
  BoiteHasard boite = BoiteHasard::B4x5;
  NiveauHasard niveau = NiveauHasard::Moyen;
  bool porte = false;
  uint64_t graine = 0;
  const std::atomic<bool>* annuler = nullptr;
  // Called now and then from the making's thread with the share of the
  // work done, 0 to 100.
  std::function<void(int)> progres;
};

enum class IssueHasard {
  Fait,     // a board of the level asked
  Proche,   // none in the work allowed: a board of the nearest level made
  Aucun,    // nothing could be made
  Annule,
};

struct ResultatHasard {
  IssueHasard issue = IssueHasard::Aucun;
  TPlateau plateau;  // checked (status 1), pieces numbered; its title empty
  int optimum = 0;   // its fewest moves, proven
  NiveauHasard niveau = NiveauHasard::Facile;  // the level of that optimum
  uint64_t explores = 0;  // arrangements explored in all
  int essais = 0;         // piece sets drawn
  std::string message;    // French, for Proche and Aucun
  std::chrono::milliseconds duree{0};
};

ResultatHasard FabriquerPlateau(const DemandeHasard& demande);

// The folder of the library where the game keeps the boards it made.
inline constexpr const char* kDossierHasard = "Plateaux au hasard";
// The title of the next board made: "Hasard 001", one more than the
// highest number among the names given (the folder's boards); empty when
// 999 is taken.
std::string ProchainTitreHasard(const std::vector<std::string>& noms);

}  // namespace glissaro
