#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "Rejeu.h"

using namespace glissaro;
using glissaro::test::Dessiner;
using glissaro::test::Geste;

namespace {

// Every field of every cell, as text, to compare whole boards. A door cell's
// piece number is left out: a tile that passed through the opened door
// took it away, and nothing reads it (a door never moves).
std::string Photo(const TPlateau& p) {
  std::string s;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      s += std::to_string(static_cast<int>(k.Serie)) + "/" + std::to_string(k.Map) + "/" + (k.Porte ? "-" : std::to_string(k.Piece)) + "/" +
           (k.Haut ? "h" : "") + (k.Bas ? "b" : "") + (k.Gauche ? "g" : "") + (k.Droit ? "d" : "") +
           (k.Porte ? "P" : "") + (k.PlaceFinal ? "F" : "") + "/" + k.Nom + " ";
    }
  return s;
}

struct Compteurs : ObservateurPartie {
  std::vector<std::string> textes;
  void CompteurAffiche(const std::string& t) override { textes.push_back(t); }
};

// A game with a door opened by a master piece and a few ordinary moves.
struct PartieJouee {
  TPartie partie;
  Compteurs compteurs;
  TRejeu magneto{partie};
  std::string depart, arrivee;
  PartieJouee() {
    partie.DefinirObservateur(&compteurs);
    partie.CommencerPartie(Dessiner({"#DD###", "#..A.#", "#bb..#", "#..c.#", "######"},
                                    {"......", "......", "......", ".....x", "......"}));
    depart = Photo(partie.Plateau);
    Geste(partie, 3, 2, {{0, 1}});          // b down: 1
    Geste(partie, 2, 4, {{-1, 0}, {-1, 0}});  // A touches (1,3) then (1,2): the door opens (2), A counts (3)
    Geste(partie, 2, 2, {{0, -1}, {1, 0}});   // A into the opened door and along it: A again, not counted
    Geste(partie, 4, 4, {{1, 0}, {0, -1}});  // c: 4
    arrivee = Photo(partie.Plateau);
  }
};

}  // namespace

TEST(Rejeu, DebutPuisFinRendentLesPositionsEtLesPortes) {
  PartieJouee j;
  ASSERT_EQ(j.partie.Compteur, 4);
  ASSERT_EQ(j.partie.Plateau.Case(1, 3).Serie, TSerieMap::Final);  // A stands in the opened door
  ASSERT_EQ(j.partie.Plateau.Case(1, 2).Serie, TSerieMap::Vide);
  const auto fin = j.partie.Historique.Fin;
  j.magneto.Debut();
  EXPECT_EQ(j.partie.Historique.PosHistorique, 0);
  EXPECT_EQ(j.partie.Historique.Fin, fin);
  EXPECT_EQ(Photo(j.partie.Plateau), j.depart);
  EXPECT_EQ(j.partie.Plateau.Case(1, 2).Map, kMapPorteFermee);
  EXPECT_EQ(j.partie.Plateau.Case(1, 3).Map, kMapPorteFermee);
  EXPECT_EQ(j.partie.Compteur, 0);
  EXPECT_EQ(j.compteurs.textes.back(), "0000");
  j.magneto.Fin();
  EXPECT_EQ(Photo(j.partie.Plateau), j.arrivee);
  EXPECT_EQ(j.partie.Compteur, 4);
  EXPECT_EQ(j.compteurs.textes.back(), "0004");
  EXPECT_EQ(j.partie.Historique.PosHistorique, fin);
  EXPECT_EQ(j.partie.Historique.Fin, fin);  // the replay records nothing
}

TEST(Rejeu, UnPasArriereApresUnCoupCompteNEnleveQueLaMarque) {
  PartieJouee j;
  const auto photo = Photo(j.partie.Plateau);
  const auto pos = j.partie.Historique.PosHistorique;
  j.magneto.PasArriere();
  EXPECT_EQ(Photo(j.partie.Plateau), photo);
  EXPECT_EQ(j.partie.Compteur, 4);
  EXPECT_EQ(j.partie.Historique.PosHistorique, pos - 1);
  EXPECT_EQ(j.partie.DernierePiece, 0);
  // The next takes back everything after the mark 3: c's two steps and A's
  // two uncounted ones.
  j.magneto.PasArriere();
  EXPECT_EQ(j.partie.Plateau.Case(4, 4).Serie, TSerieMap::Normal);
  EXPECT_EQ(j.partie.Plateau.Case(2, 2).Serie, TSerieMap::Final);
  EXPECT_EQ(j.partie.Plateau.Case(1, 2).Serie, TSerieMap::Vide);  // the door stays open
  EXPECT_EQ(j.partie.Compteur, 3);
  // Forward again, event by event: the mark, A up, A right, c right.
  EXPECT_TRUE(j.magneto.PasAvant());
  EXPECT_EQ(j.partie.Compteur, 3);
  EXPECT_EQ(j.partie.Plateau.Case(4, 5).Serie, TSerieMap::Vide);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(j.magneto.PasAvant());
  EXPECT_EQ(j.partie.Plateau.Case(4, 5).Serie, TSerieMap::Normal);
  EXPECT_EQ(j.partie.Plateau.Case(1, 3).Serie, TSerieMap::Final);
}

TEST(Rejeu, AuxDeuxBoutsRienNeBouge) {
  PartieJouee j;
  const auto photo = Photo(j.partie.Plateau);
  EXPECT_FALSE(j.magneto.PasAvant());
  j.magneto.Fin();
  EXPECT_EQ(Photo(j.partie.Plateau), photo);
  j.magneto.Debut();
  j.compteurs.textes.clear();
  j.magneto.PasArriere();
  j.magneto.PasArriere();
  EXPECT_EQ(j.compteurs.textes, (std::vector<std::string>{"0000", "0000"}));
  EXPECT_EQ(j.partie.Historique.PosHistorique, 0);
}

TEST(Rejeu, LaMarqueArreteLeRetourQuelleQueSoitSaValeur) {
  TPartie partie;
  TRejeu magneto(partie);
  partie.CommencerPartie(Dessiner({"a...", "...."}));
  // Piece 1 moved after a mark whose value is also 1.
  Geste(partie, 1, 1, {{1, 0}});
  Geste(partie, 1, 2, {{1, 0}});
  ASSERT_EQ(partie.Historique.Fin, 3);  // right, mark 1, right (same piece: not counted)
  magneto.PasArriere();
  EXPECT_EQ(partie.Historique.PosHistorique, 1);
  EXPECT_EQ(partie.Plateau.Case(1, 2).Serie, TSerieMap::Normal);
  EXPECT_EQ(partie.Compteur, 1);
}

TEST(AnnulerRetablir, UnCoupALaFoisAvecLesCompteursDuMagnetoscope) {
  // The same game stopped after each gesture: what each undo must bring
  // back.
  TPartie temoin;
  temoin.CommencerPartie(Dessiner({"#DD###", "#..A.#", "#bb..#", "#..c.#", "######"},
                                  {"......", "......", "......", ".....x", "......"}));
  const std::string depart = Photo(temoin.Plateau);
  Geste(temoin, 3, 2, {{0, 1}});
  const std::string apresB = Photo(temoin.Plateau);
  Geste(temoin, 2, 4, {{-1, 0}, {-1, 0}});
  const std::string apresA = Photo(temoin.Plateau);

  PartieJouee j;
  const auto fin = j.partie.Historique.Fin;
  // The counter goes 4, 3 (A's move, its uncounted continuation taken back
  // with c's), 2 (the door's opening, counted on its own), 1, 0: the
  // values the replay shows at the same marks.
  const std::vector<std::pair<int32_t, std::string>> attendus = {
      {3, apresA}, {2, apresA}, {1, apresB}, {0, depart}};
  std::vector<uint16_t> positions;
  for (const auto& [compteur, photo] : attendus) {
    ASSERT_TRUE(j.magneto.AnnulerCoup());
    EXPECT_EQ(j.partie.Compteur, compteur);
    EXPECT_EQ(j.compteurs.textes.back(), TexteCompteur(compteur));
    EXPECT_EQ(Photo(j.partie.Plateau), photo) << compteur;
    EXPECT_EQ(j.partie.Historique.Fin, fin);
    positions.push_back(j.partie.Historique.PosHistorique);
  }
  EXPECT_FALSE(j.magneto.AnnulerCoup());
  // Forward again, the same stops the other way, doors applied again.
  for (int i = static_cast<int>(attendus.size()) - 2; i >= 0; --i) {
    ASSERT_TRUE(j.magneto.RetablirCoup());
    EXPECT_EQ(j.partie.Historique.PosHistorique, positions[static_cast<std::size_t>(i)]);
    EXPECT_EQ(j.partie.Compteur, attendus[static_cast<std::size_t>(i)].first);
    EXPECT_EQ(Photo(j.partie.Plateau), attendus[static_cast<std::size_t>(i)].second);
  }
  ASSERT_TRUE(j.magneto.RetablirCoup());
  EXPECT_EQ(Photo(j.partie.Plateau), j.arrivee);
  EXPECT_EQ(j.partie.Compteur, 4);
  EXPECT_FALSE(j.magneto.RetablirCoup());

  // Two moves back, then a new gesture: the history is cut there, the mark
  // before it kept, and the new move is taken back alone.
  j.magneto.AnnulerCoup();
  j.magneto.AnnulerCoup();
  Geste(j.partie, 4, 4, {{0, -1}});
  EXPECT_EQ(j.partie.Compteur, 3);
  EXPECT_EQ(j.partie.Historique.Fin, j.partie.Historique.PosHistorique);
  EXPECT_FALSE(j.magneto.PeutRetablirCoup());
  j.magneto.AnnulerCoup();
  EXPECT_EQ(j.partie.Compteur, 2);
  EXPECT_EQ(Photo(j.partie.Plateau), apresA);
}

TEST(AnnulerRetablir, DepuisUneMarqueLaisseeParLeMagnetoscope) {
  PartieJouee j;
  // The replay's first step back leaves the last mark unapplied: redo plays
  // no empty move, it goes on to the end of the next one.
  j.magneto.PasArriere();
  j.magneto.PasArriere();
  ASSERT_EQ(j.partie.Compteur, 3);
  ASSERT_TRUE(j.magneto.RetablirCoup());
  EXPECT_EQ(Photo(j.partie.Plateau), j.arrivee);
  EXPECT_EQ(j.partie.Compteur, 4);
}
