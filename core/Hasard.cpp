#include "Hasard.h"

#include <algorithm>
#include <array>
#include <climits>
#include <random>
#include <vector>

#include "Arrangements.h"
#include "Verification.h"

namespace glissaro {

namespace {

struct Boite {
  int largeur, hauteur;
  // The level bounds: the least optimum of Moyen, Difficile and Très
  // difficile (Facile starts at its own least).
  int facile;
  std::array<int, 3> seuils;
  int vides;  // free cells of the box
  // Weights of the shapes drawn: cube, bars of two (lying, standing),
  // square, bars of three (lying, standing). The larger boxes take larger
  // pieces: with small ones their arrangements are too many to explore.
  std::array<int, 6> poids;
};

// The bounds grow with the box: a larger box holds longer solutions, and
// each level stays a step up from the one before on every box.
constexpr std::array<Boite, kNombreBoites> kBoites = {{
    {4, 4, 5, {13, 25, 40}, 2, {3, 5, 5, 0, 0, 0}},
    {4, 5, 8, {21, 41, 71}, 2, {3, 5, 5, 0, 0, 0}},
    {5, 5, 10, {26, 51, 86}, 2, {1, 3, 3, 4, 3, 3}},
    {6, 6, 12, {31, 61, 101}, 2, {1, 2, 2, 6, 5, 5}},
}};

const Boite& BoiteDe(BoiteHasard b) { return kBoites[static_cast<std::size_t>(b)]; }

// The work a request may take, in arrangements explored: about four
// seconds on a 2-core machine, whatever the box.
constexpr uint64_t kTravail = 5'000'000;
// A piece set with more arrangements than this is drawn again.
constexpr uint64_t kArrangementsParEssai = 400'000;

// A piece of the box: its top-left cell (row and column in the box, from
// 0) and its size.
struct Bloc {
  int ligne, colonne, hauteur, largeur;
  bool maitre;
};

// The board: a frame around the box (with, for a door board, a door in
// the bottom frame and the master's niche below it), the pieces on it,
// the final places under the master's goal: at the bottom of the box, or
// in the niche.
TPlateau Construire(const Boite& b, const std::vector<Bloc>& blocs, int colonneBut, bool porte) {
  const int L = b.largeur + 2, H = b.hauteur + 2 + (porte ? 3 : 0);
  // A code a cell: the frame, a door, floor, or the piece's index.
  constexpr int kCadre = -1, kPorte = -2, kSol = -3, kDehors = -4;
  std::vector<std::vector<int>> dessin(static_cast<std::size_t>(H), std::vector<int>(static_cast<std::size_t>(L), kCadre));
  for (int l = 0; l < b.hauteur; ++l)
    for (int c = 0; c < b.largeur; ++c) dessin[static_cast<std::size_t>(l + 1)][static_cast<std::size_t>(c + 1)] = kSol;
  std::vector<TPosition> places;
  const int ligneBut = porte ? b.hauteur + 2 : b.hauteur - 1;  // in the board, from 0
  for (int dl = 0; dl < 2; ++dl)
    for (int dc = 0; dc < 2; ++dc) {
      const int l = ligneBut + dl, c = colonneBut + 1 + dc;
      places.push_back({l + 1, c + 1});
      if (porte) dessin[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)] = kSol;
    }
  if (porte)
    for (int dc = 0; dc < 2; ++dc)
      dessin[static_cast<std::size_t>(b.hauteur + 1)][static_cast<std::size_t>(colonneBut + 1 + dc)] = kPorte;
  for (std::size_t i = 0; i < blocs.size(); ++i)
    for (int dl = 0; dl < blocs[i].hauteur; ++dl)
      for (int dc = 0; dc < blocs[i].largeur; ++dc)
        dessin[static_cast<std::size_t>(blocs[i].ligne + 1 + dl)][static_cast<std::size_t>(blocs[i].colonne + 1 + dc)] =
            static_cast<int>(i);
  const auto car = [&](int l, int c) -> int {
    if (l < 1 || l > H || c < 1 || c > L) return kDehors;
    return dessin[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)];
  };
  TPlateau p;
  p.Largeur = static_cast<uint16_t>(L);
  p.Hauteur = static_cast<uint16_t>(H);
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) {
      TCarreau& k = p.Case(l, c);
      k.PosX = static_cast<uint16_t>(c);
      k.PosY = static_cast<uint16_t>(l);
      const int ch = car(l, c);
      if (ch == kSol) {
        k.Serie = TSerieMap::Vide;
        k.Map = kMapFond;
        continue;
      }
      if (ch == kPorte) {
        k.Serie = TSerieMap::Bord;
        k.Porte = true;
        k.Map = kMapPorteFermee;
        continue;
      }
      k.Serie = ch == kCadre                             ? TSerieMap::Bord
                : blocs[static_cast<std::size_t>(ch)].maitre ? TSerieMap::Final
                                                             : TSerieMap::Normal;
      // The frame is one piece: its tiles are joined to the frame beside.
      k.Haut = car(l - 1, c) == ch;
      k.Bas = car(l + 1, c) == ch;
      k.Gauche = car(l, c - 1) == ch;
      k.Droit = car(l, c + 1) == ch;
      k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
    }
  for (const TPosition& f : places) p.Case(f).PlaceFinal = true;
  NumeroterPieces(p);
  return p;
}

// A piece set in the box: the master square first, then the box filled in
// reading order with cubes, bars and (in the larger boxes) squares, the
// box's free cells drawn first.
std::vector<Bloc> Tirer(const Boite& b, std::mt19937_64& alea) {
  std::vector<std::vector<int>> pris(static_cast<std::size_t>(b.hauteur), std::vector<int>(static_cast<std::size_t>(b.largeur), 0));
  std::vector<Bloc> blocs;
  const auto au = [&](int n) { return static_cast<int>(alea() % static_cast<uint64_t>(n)); };
  const Bloc maitre{au(b.hauteur - 1), au(b.largeur - 1), 2, 2, true};
  blocs.push_back(maitre);
  const auto poser = [&](const Bloc& x, int marque) {
    for (int dl = 0; dl < x.hauteur; ++dl)
      for (int dc = 0; dc < x.largeur; ++dc) pris[static_cast<std::size_t>(x.ligne + dl)][static_cast<std::size_t>(x.colonne + dc)] = marque;
  };
  poser(maitre, 1);
  for (int v = 0; v < b.vides;) {
    const int l = au(b.hauteur), c = au(b.largeur);
    if (pris[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)] != 0) continue;
    pris[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)] = 2;
    ++v;
  }
  const auto libre = [&](const Bloc& x) {
    if (x.ligne + x.hauteur > b.hauteur || x.colonne + x.largeur > b.largeur) return false;
    for (int dl = 0; dl < x.hauteur; ++dl)
      for (int dc = 0; dc < x.largeur; ++dc)
        if (pris[static_cast<std::size_t>(x.ligne + dl)][static_cast<std::size_t>(x.colonne + dc)] != 0) return false;
    return true;
  };
  constexpr std::array<std::array<int, 2>, 6> kFormes = {{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 3}, {3, 1}}};
  for (int l = 0; l < b.hauteur; ++l)
    for (int c = 0; c < b.largeur; ++c) {
      if (pris[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)] != 0) continue;
      std::vector<Bloc> possibles;
      std::vector<int> poids;
      for (std::size_t f = 0; f < kFormes.size(); ++f) {
        // A cube always fits: it fills what no other shape can.
        const int p = f == 0 ? std::max(b.poids[f], 1) : b.poids[f];
        const Bloc x{l, c, kFormes[f][0], kFormes[f][1], false};
        if (p > 0 && libre(x)) {
          possibles.push_back(x);
          poids.push_back(p);
        }
      }
      std::discrete_distribution<int> choix(poids.begin(), poids.end());
      const Bloc x = possibles[static_cast<std::size_t>(choix(alea))];
      blocs.push_back(x);
      poser(x, 1);
    }
  return blocs;
}

// Whether the goal shows at the start: a final place left uncovered.
bool ButVisible(const std::vector<TPosition>& couvertes, const TPlateau& plateau) {
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c)
      if (plateau.Case(l, c).PlaceFinal &&
          std::find(couvertes.begin(), couvertes.end(), TPosition{l, c}) == couvertes.end())
        return true;
  return false;
}

// The door board with the pieces of the box where the board without door
// has them (the box and its frame are the same above the door's row).
TPlateau AvecPorte(const TPlateau& sansPorte, TPlateau porte) {
  for (int l = 1; l < sansPorte.Hauteur; ++l)
    for (int c = 1; c <= sansPorte.Largeur; ++c) {
      TCarreau& k = porte.Case(l, c);
      k = sansPorte.Case(l, c);
      k.PlaceFinal = false;
    }
  return porte;
}

}  // namespace

std::string NomBoite(BoiteHasard boite) {
  const Boite& b = BoiteDe(boite);
  return std::to_string(b.largeur) + " × " + std::to_string(b.hauteur);
}

std::string NomNiveau(NiveauHasard niveau) {
  static const std::array<const char*, kNombreNiveaux> kNoms = {"Facile", "Moyen", "Difficile", "Très difficile"};
  return kNoms[static_cast<std::size_t>(niveau)];
}

std::optional<BoiteHasard> BoiteDeMot(const std::string& mot) {
  for (int i = 0; i < kNombreBoites; ++i) {
    const Boite& b = kBoites[static_cast<std::size_t>(i)];
    if (mot == std::to_string(b.largeur) + "x" + std::to_string(b.hauteur)) return static_cast<BoiteHasard>(i);
  }
  return std::nullopt;
}

std::optional<NiveauHasard> NiveauDeMot(const std::string& mot) {
  static const std::array<const char*, kNombreNiveaux> kMots = {"facile", "moyen", "difficile", "tres-difficile"};
  for (int i = 0; i < kNombreNiveaux; ++i)
    if (mot == kMots[static_cast<std::size_t>(i)] || mot == NomNiveau(static_cast<NiveauHasard>(i)))
      return static_cast<NiveauHasard>(i);
  return std::nullopt;
}

Fourchette FourchetteDe(BoiteHasard boite, NiveauHasard niveau) {
  const Boite& b = BoiteDe(boite);
  const auto n = static_cast<std::size_t>(niveau);
  return {n == 0 ? b.facile : b.seuils[n - 1], n < b.seuils.size() ? b.seuils[n] - 1 : INT_MAX};
}

NiveauHasard NiveauDe(BoiteHasard boite, int coups) {
  int n = 0;
  for (const int seuil : BoiteDe(boite).seuils) n += coups >= seuil ? 1 : 0;
  return static_cast<NiveauHasard>(n);
}

ResultatHasard FabriquerPlateau(const DemandeHasard& demande) {
  const auto debut = std::chrono::steady_clock::now();
  ResultatHasard r;
  const Boite& b = BoiteDe(demande.boite);
  const Fourchette voulue = FourchetteDe(demande.boite, demande.niveau);
  std::mt19937_64 alea(demande.graine);
  // The first board met at each level, for a request that cannot be met.
  std::array<std::optional<std::pair<TPlateau, int>>, kNombreNiveaux> parNiveau;

  while (r.explores < kTravail) {
    if (demande.annuler && demande.annuler->load()) {
      r.issue = IssueHasard::Annule;
      return r;
    }
    if (demande.progres) demande.progres(static_cast<int>(r.explores * 100 / kTravail));
    ++r.essais;
    const std::vector<Bloc> blocs = Tirer(b, alea);
    // The goal: the master square's place at the bottom, in the middle or
    // in a corner.
    const std::array<int, 3> colonnes = {(b.largeur - 2) / 2 + static_cast<int>(alea() % 2) * ((b.largeur - 2) % 2), 0,
                                         b.largeur - 2};
    const int colonneBut = colonnes[alea() % 3];
    // A door board's arrangements are those of the box without it, the
    // master's goal just above the door.
    const TPlateau sansPorte = Construire(b, blocs, colonneBut, false);
    const TPlateau porte = demande.porte ? Construire(b, {}, colonneBut, true) : TPlateau{};
    const Exploration x = ExplorerComposante(sansPorte, kArrangementsParEssai, demande.annuler);
    if (x.annulee) {
      r.issue = IssueHasard::Annule;
      return r;
    }
    // A refused set still costs the count of its arrangements.
    r.explores += x.ok ? 2 * x.Nombre() : x.arrangements > 0 ? x.arrangements : kArrangementsParEssai;
    if (!x.ok || x.Maximum() == 0) continue;

    // Without a door an arrangement's distance is its optimum. With one,
    // the master has to stand just above the door to pass it, all of it
    // against the door: that is the box's own goal, and the last move there
    // touches every cell of the door, opens it (a move more) and goes on
    // into the niche. So the optimum is the distance and one.
    const int enPlus = demande.porte ? 1 : 0;
    std::vector<std::size_t> candidats;
    for (std::size_t i = 0; i < x.Nombre(); ++i) {
      const int d = x.Distance(i) + enPlus;
      if (x.Distance(i) > 0 && d >= b.facile &&
          (voulue.Contient(d) || !parNiveau[static_cast<std::size_t>(NiveauDe(demande.boite, d))]))
        candidats.push_back(i);
    }
    std::shuffle(candidats.begin(), candidats.end(), alea);
    for (const std::size_t i : candidats) {
      const int optimum = x.Distance(i) + enPlus;
      const auto niveau = static_cast<std::size_t>(NiveauDe(demande.boite, optimum));
      if (!voulue.Contient(optimum) && parNiveau[niveau]) continue;
      // The goal shows at the start (a door board's, in its niche, always).
      if (!demande.porte && !ButVisible(x.Couvertes(i), sansPorte)) continue;
      std::string probleme;
      TPlateau depart = x.Plateau(i, &probleme);
      if (!probleme.empty()) continue;
      if (demande.porte) {
        depart = AvecPorte(depart, porte);
        if (!VerifierGrille(depart).Correcte()) continue;
      }
      depart.Etat = 1;
      const auto obtenu = static_cast<NiveauHasard>(niveau);
      if (obtenu == demande.niveau) {
        r.issue = IssueHasard::Fait;
        r.plateau = std::move(depart);
        r.optimum = optimum;
        r.niveau = obtenu;
        r.duree = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debut);
        return r;
      }
      parNiveau[niveau] = std::pair{depart, optimum};
    }
  }
  // Not met: the nearest level made, the harder one on a tie.
  const int voulu = static_cast<int>(demande.niveau);
  for (int ecart = 1; ecart < kNombreNiveaux; ++ecart)
    for (const int n : {voulu + ecart, voulu - ecart}) {
      if (n < 0 || n >= kNombreNiveaux || !parNiveau[static_cast<std::size_t>(n)]) continue;
      r.issue = IssueHasard::Proche;
      r.plateau = parNiveau[static_cast<std::size_t>(n)]->first;
      r.optimum = parNiveau[static_cast<std::size_t>(n)]->second;
      r.niveau = static_cast<NiveauHasard>(n);
      r.message = "Aucun plateau « " + NomNiveau(demande.niveau) + " » n'a pu être fait en " + NomBoite(demande.boite) +
                  (demande.porte ? " avec une porte" : "") + " dans le temps permis : trop peu de cases libres pour " +
                  "des solutions de cette longueur. Le niveau le plus proche est « " + NomNiveau(r.niveau) + " » (" +
                  std::to_string(r.optimum) + " coups).";
      r.duree = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debut);
      return r;
    }
  r.message = "Aucun plateau n'a pu être fait en " + NomBoite(demande.boite) + " dans le temps permis.";
  r.duree = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - debut);
  return r;
}

std::string ProchainTitreHasard(const std::vector<std::string>& noms) {
  int plusGrand = 0;
  for (const std::string& nom : noms) {
    if (nom.size() != 10 || nom.compare(0, 7, "Hasard ") != 0) continue;
    if (!std::all_of(nom.begin() + 7, nom.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
    plusGrand = std::max(plusGrand, std::stoi(nom.substr(7)));
  }
  if (plusGrand >= 999) return "";
  const std::string numero = std::to_string(plusGrand + 1);
  return "Hasard " + std::string(3 - numero.size(), '0') + numero;
}

}  // namespace glissaro
