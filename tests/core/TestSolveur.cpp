#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "Rejeu.h"
#include "Sequence.h"
#include "Solveur.h"

using namespace glissaro;
using glissaro::test::Dessiner;

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

// Plays a solution's events with the replay and tells whether the board
// ends solved, and with which counter.
std::pair<bool, int32_t> Rejouer(const TPlateau& p, const ResultatSolveur& r) {
  int32_t fin = 0;
  const auto evenements = EvenementsDeLaSolution(p, r.chemin, 0, &fin);
  TPartie partie;
  partie.CommencerPartie(p);
  ChargerEvenements(partie.Historique, evenements);
  TRejeu(partie).Fin();
  EXPECT_EQ(partie.Compteur, fin);
  return {partie.Resolu(), partie.Compteur};
}

}  // namespace

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
  const auto a = Coups(identiques), b = Coups(differentes);
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
  EXPECT_LE(limite.etats, 200u);
  std::atomic<bool> annuler{true};
  EXPECT_EQ(Resoudre(AneRouge(), {MesureSolveur::Coups, 4'000'000, &annuler}).issue, IssueSolveur::Annule);
}

TEST(Solveur, LAneRouge) {
  const auto plateau = AneRouge();
  const auto c = Coups(plateau);
  ASSERT_EQ(c.issue, IssueSolveur::Solution);
  EXPECT_EQ(c.coups, 81);
  EXPECT_EQ(Rejouer(plateau, c), std::make_pair(true, 81));
  const auto p = Pas(plateau);
  ASSERT_EQ(p.issue, IssueSolveur::Solution);
  EXPECT_EQ(p.pas, 116);
  EXPECT_TRUE(Rejouer(plateau, p).first);
}
