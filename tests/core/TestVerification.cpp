#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "Verification.h"

using namespace glissaro;
using glissaro::test::Dessiner;

using Fautes = std::vector<TPosition>;  // {row, column}

TEST(Verification, PlacesFinalesEtMaitres) {
  TPlateau vide = Dessiner({"...", "...", "..."});
  EXPECT_EQ(VerifierGrille(vide).texte, "Pas d'emplacement final! Grille Incorrecte");

  TPlateau sansMaitre = Dessiner({"a..", "...", "..."}, {"...", ".x.", "..."});
  const auto r = VerifierGrille(sansMaitre);
  EXPECT_EQ(r.issue, IssueVerification::PasDeMaitre);
  EXPECT_FALSE(r.numerotees);

  // Two master tiles (one piece) and one final place: tiles are counted.
  TPlateau deuxTuiles = Dessiner({"AA.", "...", "..."}, {"...", "...", "..x"});
  deuxTuiles.Case(1, 1).Piece = 77;
  const auto r2 = VerifierGrille(deuxTuiles);
  EXPECT_EQ(r2.texte, "Pas assez d'emplacement finale pour la ou les  masters brique. Grille incorrecte");
  EXPECT_EQ(deuxTuiles.Case(1, 1).Piece, 77);  // nothing numbered
  EXPECT_TRUE(r2.fautes.empty());
}

TEST(Verification, JonctionsFautivesToutesMarquees) {
  // Haut in row 1; a Normal tile joined to a Final tile; a join not given back.
  TPlateau p = Dessiner({"a.b", "cA.", "d.."}, {"...", "..x", "..."});
  p.Case(1, 1).Haut = true;
  p.Case(2, 1).Droit = true;
  p.Case(2, 2).Gauche = true;
  p.Case(3, 1).Droit = true;
  const auto r = VerifierGrille(p);
  EXPECT_EQ(r.issue, IssueVerification::JonctionsIncorrectes);
  EXPECT_EQ(r.texte, "Grille Incorrecte");
  // Scan order: rows from the top, columns from the left; the tile that has
  // the faulty join is marked, not its neighbour (3,1)'s right neighbour is
  // floor without Gauche.
  EXPECT_EQ(r.fautes, (Fautes{{1, 1}, {2, 1}, {2, 2}, {3, 1}}));
  EXPECT_FALSE(r.numerotees);
}

TEST(Verification, UnCarreDeQuatreAvecUneJonctionManquante) {
  TPlateau p = Dessiner({"aa.", "aa.", "..A"}, {"...", "...", "..x"});
  // Remove the join between (2,1) and (2,2), both sides.
  p.Case(2, 1).Droit = false;
  p.Case(2, 2).Gauche = false;
  const auto r = VerifierGrille(p);
  EXPECT_EQ(r.issue, IssueVerification::PiecesIncorrectes);
  EXPECT_TRUE(r.numerotees);
  // Columns from the left, rows from the top.
  EXPECT_EQ(r.fautes, (Fautes{{2, 1}, {2, 2}}));
}

TEST(Verification, NumerotationParColonnesEtAnneauDeBord) {
  TPlateau p = Dessiner({"#####", "#b.A#", "#a.c#", "#####"}, {".....", ".....", "...x.", "....."});
  // Join the border into one ring.
  for (int c = 1; c <= 5; ++c)
    for (int l = 1; l <= 4; ++l) {
      auto& k = p.Case(l, c);
      if (k.Serie != TSerieMap::Bord) continue;
      k.Droit = c < 5 && (l == 1 || l == 4);
      k.Gauche = c > 1 && (l == 1 || l == 4);
      k.Bas = l < 4 && (c == 1 || c == 5);
      k.Haut = l > 1 && (c == 1 || c == 5);
    }
  const auto r = VerifierGrille(p);
  ASSERT_TRUE(r.Correcte()) << r.texte;
  EXPECT_EQ(r.texte, "Grille correcte");
  // The ring is met first (column 1), then b above a in column 2, then A, c.
  EXPECT_EQ(p.Case(1, 1).Piece, 1);
  EXPECT_EQ(p.Case(4, 5).Piece, 1);
  EXPECT_EQ(p.Case(2, 2).Piece, 2);
  EXPECT_EQ(p.Case(3, 2).Piece, 3);
  EXPECT_EQ(p.Case(2, 4).Piece, 4);
  EXPECT_EQ(p.Case(3, 4).Piece, 5);
  EXPECT_EQ(p.Case(2, 3).Piece, 0);
}

TEST(Verification, PorteEtBordIsolesSontDesPiecesAPart) {
  TPlateau p = Dessiner({"#D#", ".A.", "..."}, {"...", "...", ".x."});
  ASSERT_TRUE(VerifierGrille(p).Correcte());
  EXPECT_EQ(p.Case(1, 1).Piece, 1);
  EXPECT_EQ(p.Case(1, 2).Piece, 2);
  EXPECT_EQ(p.Case(2, 2).Piece, 3);
  EXPECT_EQ(p.Case(1, 3).Piece, 4);
}
