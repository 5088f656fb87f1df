#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "JeuSolution.h"
#include "Rejeu.h"
#include "Sequence.h"
#include "Solveur.h"
#include "SolveurReference.h"
#include "TableEtats.h"

#include <cstring>
#include <optional>
#include <random>

using namespace glissaro;
using glissaro::test::Dessiner;
using glissaro::test::Rejouer;

namespace {

ResultatSolveur Coups(const TPlateau& p, std::size_t limite = 4'000'000) {
  return Resoudre(p, {MesureSolveur::Coups, limite, nullptr});
}
ResultatSolveur Pas(const TPlateau& p) { return Resoudre(p, {MesureSolveur::Pas, 4'000'000, nullptr}); }

// The classic 4 × 5 puzzle with its 2 × 2 block, in a border.
TPlateau AneRouge() {
  return Dessiner({"######", "#bAAc#", "#bAAc#", "#deef#", "#dghf#", "#i..j#", "######"},
                  {"......", "......", "......", "......", "..xx..", "..xx..", "......"}, "Ane rouge");
}

// A small random board: pieces of one to four tiles in a room, a master
// piece, its final places; with a door, a wall with a door of one or two
// cells stands between the room and the places.
TPlateau Hasard(std::mt19937& alea, bool porte) {
  auto tirer = [&](int n) { return static_cast<int>(alea() % static_cast<unsigned>(n)); };
  const int L = 4 + tirer(3) + (porte ? 2 : 0), H = 3 + tirer(3);
  std::vector<std::string> lignes(static_cast<std::size_t>(H + 2), std::string(static_cast<std::size_t>(L + 2), '#'));
  std::vector<std::string> places(lignes.size(), std::string(lignes[0].size(), '.'));
  const int piece = porte ? L - 2 : L;  // columns of the room
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) lignes[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)] = '.';
  if (porte) {
    const int debut = 1 + tirer(H);
    const int hauteur = debut < H && tirer(2) ? 2 : 1;
    for (int l = 1; l <= H; ++l)
      lignes[static_cast<std::size_t>(l)][static_cast<std::size_t>(L - 1)] = l >= debut && l < debut + hauteur ? 'D' : '#';
  }
  auto poser = [&](char lettre, int hl, int lc, int l, int c, std::vector<std::string>& ou, char vide) {
    for (int i = 0; i < hl; ++i)
      for (int j = 0; j < lc; ++j)
        if (ou[static_cast<std::size_t>(l + i)][static_cast<std::size_t>(c + j)] != vide) return false;
    for (int i = 0; i < hl; ++i)
      for (int j = 0; j < lc; ++j) ou[static_cast<std::size_t>(l + i)][static_cast<std::size_t>(c + j)] = lettre;
    return true;
  };
  const int hm = 1 + tirer(2), lm = 1 + tirer(2);
  while (!poser('A', hm, lm, 1 + tirer(H - hm + 1), 1 + tirer(piece - lm + 1), lignes, '.')) {
  }
  // The places: beyond the door, or anywhere in the room.
  const int cp = porte ? L - lm + 1 : 1 + tirer(L - lm + 1);
  poser('x', hm, lm, 1 + tirer(H - hm + 1), cp, places, '.');
  char lettre = 'a';
  for (int essai = 0; essai < 12; ++essai) {
    const int h = 1 + tirer(2), l = 1 + tirer(2);
    if (poser(lettre, h, l, 1 + tirer(H - h + 1), 1 + tirer(piece - l + 1), lignes, '.')) ++lettre;
  }
  return Dessiner(lignes, places, "Hasard");
}

// The former solver and the optimal search on a board, within 30,000
// states; nothing when either meets the limit.
std::optional<std::pair<ResultatSolveur, ResultatSolveur>> LesDeux(const TPlateau& p, MesureSolveur mesure) {
  OptionsSolveur options{mesure, 30'000, nullptr};
  auto ancien = reference::Resoudre(p, options);
  options.approchee = false;
  auto r = Resoudre(p, options);
  if (r.issue == IssueSolveur::LimiteAtteinte || ancien.issue == IssueSolveur::LimiteAtteinte) return std::nullopt;
  return std::make_pair(std::move(ancien), std::move(r));
}

}  // namespace

TEST(Solveur, LesMemesOptimaQueLAncienSolveurEtLeJeuLesCompteAinsi) {
  // Against the former solver on random boards, both measures: the same
  // answer without doors. With doors (where the former one miscounted),
  // the game is the judge: the new solution plays to the count it gives,
  // and no solution of the former one plays to fewer moves.
  std::mt19937 alea(19);
  int comparees = 0, resolus = 0, avecPortes = 0;
#ifdef GLISSARO_SANITISEURS
  const int plateaux = 60;  // several times slower there
#else
  const int plateaux = 160;
#endif
  for (int i = 0; i < plateaux; ++i) {
    const bool porte = i % 2 == 1;
    const TPlateau p = Hasard(alea, porte);
    for (const auto mesure : {MesureSolveur::Coups, MesureSolveur::Pas}) {
      const auto deux = LesDeux(p, mesure);
      if (!deux) continue;
      const auto& [ancien, r] = *deux;
      ++comparees;
      if (r.issue == IssueSolveur::Solution) {
        ++resolus;
        EXPECT_TRUE(r.optimale);
        EXPECT_EQ(Rejouer(p, r), std::make_pair(true, r.coups)) << i;
        EXPECT_EQ(static_cast<int>(r.chemin.size()), r.pas);
      }
      if (!porte) {
        ASSERT_EQ(r.issue, ancien.issue) << i;
        EXPECT_EQ(mesure == MesureSolveur::Coups ? r.coups : r.pas, mesure == MesureSolveur::Coups ? ancien.coups : ancien.pas) << i;
      } else if (ancien.issue == IssueSolveur::Solution) {
        ++avecPortes;
        const auto [resolu, compteur] = Rejouer(p, ancien);
        if (!resolu) continue;
        ASSERT_EQ(r.issue, IssueSolveur::Solution) << i;
        EXPECT_LE(mesure == MesureSolveur::Coups ? r.coups : r.pas,
                  mesure == MesureSolveur::Coups ? compteur : static_cast<int>(ancien.chemin.size()))
            << i;
      }
    }
  }
  EXPECT_GT(comparees, plateaux * 5 / 4);
  EXPECT_GT(resolus, comparees / 2);
  EXPECT_GT(avecPortes, plateaux / 6);
}

TEST(Solveur, UnPlateauQuiEstSonPropreMiroir) {
  // Boards whose walls and places are their own mirror, pieces anywhere:
  // rectangles, L and J (a kind and its mirror), a master piece of two
  // cells whose places are in the middle of the bottom row; and the same
  // boards turned a quarter, their own mirror top to bottom. The mirror
  // of a state counts as the state: the same optima as the former solver,
  // and solutions that play.
  std::mt19937 alea(7);
  auto tirer = [&](int n) { return static_cast<int>(alea() % static_cast<unsigned>(n)); };
  const std::vector<std::vector<std::pair<int, int>>> formes = {
      {{0, 0}}, {{0, 0}, {0, 1}}, {{0, 0}, {1, 0}}, {{0, 0}, {1, 0}, {1, 1}}, {{0, 0}, {1, 0}, {1, -1}}};
  int comparees = 0, approchees = 0;
  for (int i = 0; i < 80; ++i) {
    const int L = 4 + 2 * tirer(2), H = 3 + tirer(2);
    std::vector<std::string> lignes(static_cast<std::size_t>(H), std::string(static_cast<std::size_t>(L), '.'));
    std::vector<std::string> places = lignes;
    places[static_cast<std::size_t>(H - 1)].replace(static_cast<std::size_t>(L / 2 - 1), 2, "xx");
    auto poser = [&](char lettre, const std::vector<std::pair<int, int>>& forme) {
      const int l0 = tirer(H), c0 = tirer(L);
      for (auto [dl, dc] : forme)
        if (l0 + dl >= H || c0 + dc < 0 || c0 + dc >= L || lignes[static_cast<std::size_t>(l0 + dl)][static_cast<std::size_t>(c0 + dc)] != '.')
          return false;
      for (auto [dl, dc] : forme) lignes[static_cast<std::size_t>(l0 + dl)][static_cast<std::size_t>(c0 + dc)] = lettre;
      return true;
    };
    while (!poser('A', formes[1])) {
    }
    char lettre = 'a';
    for (int essai = 0; essai < 8; ++essai) {
      const int f = tirer(5);
      if (!poser(lettre, formes[static_cast<std::size_t>(f)])) continue;
      ++lettre;
      // Mostly an L with a J: kinds paired by the mirror.
      if (f >= 3 && tirer(4) > 0 && poser(lettre, formes[static_cast<std::size_t>(7 - f)])) ++lettre;
    }
    auto tourner = [](const std::vector<std::string>& t) {
      std::vector<std::string> r(t[0].size(), std::string(t.size(), '.'));
      for (std::size_t l = 0; l < t.size(); ++l)
        for (std::size_t c = 0; c < t[0].size(); ++c) r[c][l] = t[l][c];
      return r;
    };
    const TPlateau p = i % 2 ? Dessiner(tourner(lignes), tourner(places), "Miroir") : Dessiner(lignes, places, "Miroir");
    for (const auto mesure : {MesureSolveur::Coups, MesureSolveur::Pas}) {
      const auto deux = LesDeux(p, mesure);
      if (!deux) continue;
      const auto& [ancien, r] = *deux;
      ++comparees;
      ASSERT_EQ(r.issue, ancien.issue) << i;
      if (r.issue != IssueSolveur::Solution) continue;
      EXPECT_EQ(mesure == MesureSolveur::Coups ? r.coups : r.pas, mesure == MesureSolveur::Coups ? ancien.coups : ancien.pas) << i;
      EXPECT_EQ(Rejouer(p, r), std::make_pair(true, r.coups)) << i;
      // The best-first search, after a small limit, reaches states again
      // more cheaply, as their mirror too: its solution plays all the same.
      const auto approchee = Resoudre(p, {mesure, static_cast<std::size_t>(r.etats / 2), nullptr});
      if (approchee.issue != IssueSolveur::Solution) continue;
      ++approchees;
      EXPECT_EQ(Rejouer(p, approchee), std::make_pair(true, approchee.coups)) << i;
    }
  }
  EXPECT_GT(comparees, 120);
  EXPECT_GT(approchees, 20);
}

TEST(Solveur, DeuxPiecesMaitresses) {
  // Two master pieces, each final place to be covered by one or the other:
  // in both measures the same optima as the former solver (the bound of
  // the steps weighs both), and solutions that play.
  const auto p = Dessiner({"A.b.", "c.eB", ".dd."}, {"....", "....", "x..x"});
  for (const auto mesure : {MesureSolveur::Coups, MesureSolveur::Pas}) {
    const auto deux = LesDeux(p, mesure);
    ASSERT_TRUE(deux);
    const auto& [ancien, r] = *deux;
    ASSERT_EQ(r.issue, IssueSolveur::Solution);
    EXPECT_EQ(mesure == MesureSolveur::Coups ? r.coups : r.pas, mesure == MesureSolveur::Coups ? ancien.coups : ancien.pas);
    EXPECT_EQ(Rejouer(p, r), std::make_pair(true, r.coups));
  }
}

TEST(Solveur, LaMemoireCompteeResteSousSaLimiteEtPresDElle) {
  // Eight interchangeable tiles on an open board, and a place walled off:
  // millions of states to go through.
  const auto ouvert =
      Dessiner({"########", "#abcd..#", "#efgh..#", "#......#", "#......#", "#.....A#", "########", "###.####", "########"},
               {"........", "........", "........", "........", "........", "........", "........", "...x....", "........"});
  OptionsSolveur options{MesureSolveur::Coups, 4'000'000, nullptr, std::size_t{8} << 20, false};
  options.pieceSurLeChemin = false;  // it would see at once that the place is out of reach
  const auto r = Resoudre(ouvert, options);
  EXPECT_EQ(r.issue, IssueSolveur::LimiteAtteinte);
  EXPECT_LE(r.memoire, options.limiteMemoire);
  EXPECT_GT(r.memoire, options.limiteMemoire * 9 / 10);
  // A search within the cap says what it took.
  const auto petit = Pas(AneRouge());
  EXPECT_GT(petit.memoire, 0u);
  EXPECT_LT(petit.memoire, options.limiteMemoire);
}

TEST(Solveur, LesBlocsDeLaRegionNeSeChevauchentPasEtRepartentAZero) {
  solveur::Memoire memoire;
  memoire.Grandir();
  auto* a = static_cast<uint8_t*>(memoire.Allouer(1000, false, false));
  auto* b = static_cast<uint8_t*>(memoire.Allouer(1000, false, false));
  std::memset(a, 0xAB, 1000);
  std::memset(b, 0xCD, 1000);
  auto toutA = [](const uint8_t* p, std::size_t n, uint8_t v) { return std::all_of(p, p + n, [v](uint8_t x) { return x == v; }); };
  // a given back while b is held: a new block must not be b's bytes, and
  // comes zeroed when asked so.
  memoire.Liberer(a, 1000);
  auto* c = static_cast<uint8_t*>(memoire.Allouer(1000, true, false));
  EXPECT_TRUE(toutA(c, 1000, 0));
  EXPECT_TRUE(toutA(b, 1000, 0xCD));
  // Everything given back: the region starts over, its bytes written.
  memoire.Liberer(b, 1000);
  memoire.Liberer(c, 1000);
  auto* d = static_cast<uint8_t*>(memoire.Allouer(3000, true, false));
  EXPECT_TRUE(toutA(d, 3000, 0));
  memoire.Liberer(d, 3000);
}

TEST(Solveur, LesPagesPrisesAvantLaRegionYPassentAvecCeQuEllesTiennent) {
  solveur::Memoire memoire;
  solveur::Pages<uint32_t> pages(memoire, 1, 1024);
  for (uint32_t i = 0; i < 2500; ++i) *pages.Ajouter() = i * 7;  // two full pages, a third begun
  ASSERT_FALSE(memoire.DansLaRegion(pages[0]));
  ASSERT_TRUE(memoire.Grandir());
  pages.Reloger();
  for (uint32_t i = 0; i < 3000; ++i) {
    if (i >= 2500) *pages.Ajouter() = i * 7;
    ASSERT_TRUE(memoire.DansLaRegion(pages[i])) << i;
    ASSERT_EQ(*pages[i], i * 7) << i;
  }
}

TEST(Solveur, PetitsPlateauxDansLesDeuxMesures) {
  const auto simple = Dessiner({"A.."}, {"..x"});
  EXPECT_EQ(Coups(simple).coups, 1);
  EXPECT_EQ(Pas(simple).pas, 2);

  // Around b in one move of four steps, or b aside then A: two moves, three steps.
  const auto autour = Dessiner({"Ab.", "..."}, {"..x", "..."});
  const auto c = Coups(autour);
  ASSERT_EQ(c.issue, IssueSolveur::Solution);
  EXPECT_EQ(c.coups, 1);
  EXPECT_EQ(c.pas, 4);
  const auto p = Pas(autour);
  EXPECT_EQ(p.pas, 3);
  EXPECT_EQ(p.coups, 2);
  EXPECT_EQ(Rejouer(autour, c), std::make_pair(true, 1));
  EXPECT_EQ(Rejouer(autour, p), std::make_pair(true, 2));

  // Already solved.
  EXPECT_EQ(Coups(Dessiner({"A."}, {"x."})).coups, 0);
}

TEST(Solveur, UnePorteQuiDoitEtreOuverte) {
  const auto porte = Dessiner({"#####", "#A.D.", "#####"}, {".....", "....x", "....."});
  const auto c = Coups(porte);
  ASSERT_EQ(c.issue, IssueSolveur::Solution);
  EXPECT_EQ(c.coups, 2);  // one move, and the door that opens on the way
  EXPECT_EQ(c.pas, 3);
  EXPECT_EQ(Rejouer(porte, c), std::make_pair(true, 2));
  EXPECT_EQ(Pas(porte).pas, 3);

  // A door of two cells: both must be touched before the master passes.
  auto plateau = Dessiner({"###DD###", "#A.....#", "########"}, {"....x...", "........", "........"});
  const auto d = Coups(plateau);
  ASSERT_EQ(d.issue, IssueSolveur::Solution);
  EXPECT_EQ(d.coups, 2);  // A along under both cells, then up: one run, one door
  EXPECT_EQ(Rejouer(plateau, d), std::make_pair(true, 2));
}

TEST(Solveur, LesPiecesIdentiquesSontInterchangeables) {
  // No final place can be reached: the whole space is explored.
  auto identiques = Dessiner({"#....", "#b.c.", "#....", "#A#.."}, {".....", ".....", ".....", "..x.."});
  auto differentes = identiques;
  differentes.Case(2, 4).Map = 7;  // another picture: another kind of piece
  OptionsSolveur toutVoir{MesureSolveur::Coups, 4'000'000, nullptr};
  toutVoir.pieceSurLeChemin = false;  // it would see at once that the place is out of reach
  const auto a = Resoudre(identiques, toutVoir), b = Resoudre(differentes, toutVoir);
  EXPECT_EQ(a.issue, IssueSolveur::AucuneSolution);
  EXPECT_EQ(b.issue, IssueSolveur::AucuneSolution);
  EXPECT_LT(a.etats, b.etats);
  EXPECT_GT(a.etats, b.etats / 3);
}

TEST(Solveur, SansSolutionOuALaLimite) {
  const auto r = Coups(Dessiner({"A#."}, {"..x"}));
  EXPECT_EQ(r.issue, IssueSolveur::AucuneSolution);
  EXPECT_EQ(r.etats, 1u);
  const auto limite = Coups(AneRouge(), 100);
  EXPECT_EQ(limite.issue, IssueSolveur::LimiteAtteinte);
  EXPECT_LE(limite.etats, 200u);  // both searches stopped at the limit
  std::atomic<bool> annuler{true};
  EXPECT_EQ(Resoudre(AneRouge(), {MesureSolveur::Coups, 4'000'000, &annuler}).issue, IssueSolveur::Annule);
}

TEST(Solveur, LAneRouge) {
  const auto plateau = AneRouge();
  const auto c = Coups(plateau);
  ASSERT_EQ(c.issue, IssueSolveur::Solution);
  EXPECT_EQ(c.coups, 81);
  EXPECT_EQ(Rejouer(plateau, c), std::make_pair(true, 81));
  EXPECT_LT(c.etats, 12'100u);  // half of the 23,962 arrangements: the board is its own mirror
  const auto p = Pas(plateau);
  ASSERT_EQ(p.issue, IssueSolveur::Solution);
  EXPECT_EQ(p.pas, 116);
  EXPECT_TRUE(Rejouer(plateau, p).first);
}
