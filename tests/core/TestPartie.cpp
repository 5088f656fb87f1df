#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <set>

#include "AidePlateau.h"
#include "Partie.h"
#include "Version.h"

using namespace glissaro;
using glissaro::test::Centre;
using glissaro::test::Dessiner;
using glissaro::test::Geste;

namespace {

// Records what the rules ask to show.
struct Temoin : ObservateurPartie {
  std::vector<std::pair<int, int>> cases;
  std::vector<std::string> compteurs;
  std::vector<std::pair<std::string, int32_t>> bravos;
  int pleins = 0;
  void CaseChangee(int l, int c) override { cases.emplace_back(l, c); }
  void CompteurAffiche(const std::string& t) override { compteurs.push_back(t); }
  void Felicitations(const std::string& t, int32_t e) override { bravos.emplace_back(t, e); }
  void HistoriquePlein() override { ++pleins; }
};

struct Jeu {
  TPartie partie;
  Temoin temoin;
  explicit Jeu(const TPlateau& p) {
    partie.DefinirObservateur(&temoin);
    partie.DefinirTailleCase(20);
    partie.DefinirVitesse(2);
    partie.CommencerPartie(p);
  }
  std::vector<std::pair<int, int>> Evenements() const {
    std::vector<std::pair<int, int>> r;
    for (int i = 0; i < partie.Historique().Fin; ++i) r.emplace_back(partie.Historique()[i].Code, partie.Historique()[i].Valeur);
    return r;
  }
  const TCarreau& Case(int l, int c) const { return partie.Plateau().Case(l, c); }
};

uint16_t PieceEn(const Jeu& j, int l, int c) { return j.Case(l, c).Piece; }

}  // namespace

TEST(Regles, PrendreSurLeFondLeBordOuUnePorteNeBougeRien) {
  Jeu j(Dessiner({"#D#", "...", ".a."}));
  for (auto [l, c] : {std::pair{2, 2}, {1, 1}, {1, 2}}) {
    Geste(j.partie, l, c, {{1, 0}, {0, 1}, {-1, 0}});
    EXPECT_EQ(j.partie.Historique().Fin, 0);
  }
  EXPECT_EQ(j.Case(3, 2).Serie, TSerieMap::Normal);
  EXPECT_EQ(j.partie.Compteur(), 0);
}

TEST(Regles, BordDuPlateauEtVoisinsBloquent) {
  // b sits in the last column: it cannot go right; a can go right onto
  // floor but not onto b nor onto the border.
  Jeu j(Dessiner({"a.b", "#cc"}));
  j.partie.Appuyer(Centre(3), Centre(1));
  EXPECT_FALSE(j.partie.PeutAller(1, 0));
  EXPECT_FALSE(j.partie.PeutAller(0, 1));  // c below
  EXPECT_TRUE(j.partie.PeutAller(-1, 0));
  EXPECT_EQ(j.partie.Historique().Fin, 0);  // a question records nothing
  j.partie.Glisser(Centre(3) - 11, Centre(1));
  EXPECT_EQ(j.partie.Historique().Fin, 1);  // the step does
  j.partie.Appuyer(Centre(2), Centre(2));
  EXPECT_FALSE(j.partie.PeutAller(-1, 0));  // the border tile
  EXPECT_FALSE(j.partie.PeutAller(0, -1));  // b stands above c's right tile
  EXPECT_EQ(j.partie.Historique().Fin, 1);
}

TEST(Regles, UnPointeurAuxBornesDesEntiersFaitUnPas) {
  Jeu j(Dessiner({"...", ".a.", "..."}));
  j.partie.Appuyer(Centre(2), Centre(2));
  j.partie.Glisser(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{{EvGauche, 1}, {EvBas, 1}}));
  j.partie.Glisser(std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
  EXPECT_EQ(j.Case(2, 2).Serie, TSerieMap::Normal);
}

TEST(Regles, SeuilStrictEtUnPasParAxeEtParEvenement) {
  Jeu j(Dessiner({".....", ".....", "..a..", ".....", "....."}));
  ASSERT_EQ(j.partie.Seuil(), 10);
  const int x = Centre(3), y = Centre(3);
  j.partie.Appuyer(x, y);
  j.partie.Glisser(x + 10, y);  // exactly the threshold: no step
  EXPECT_EQ(j.partie.Historique().Fin, 0);
  j.partie.Glisser(x + 11, y);  // one more pixel: one step
  EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{{EvDroite, 1}}));
  EXPECT_EQ(j.Case(3, 4).Serie, TSerieMap::Normal);
  // The reference point moved to (x + 11, y): ten cells' worth further in
  // one event is still one step.
  j.partie.Glisser(x + 11 + 200, y);
  EXPECT_EQ(j.partie.Historique().Fin, 2);
  EXPECT_EQ(j.Case(3, 5).Serie, TSerieMap::Normal);
}

TEST(Regles, GlissementDiagonalFaitDeuxPasEnregistres) {
  Jeu j(Dessiner({"...", ".a.", "..."}));
  j.partie.Appuyer(Centre(2), Centre(2));
  j.partie.Glisser(Centre(2) - 11, Centre(2) + 11);
  EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{{EvGauche, 1}, {EvBas, 1}}));
  EXPECT_EQ(j.Case(3, 1).Serie, TSerieMap::Normal);
  // Horizontal first: order of the drawn cells follows the shifts.
  EXPECT_EQ(j.temoin.cases, (std::vector<std::pair<int, int>>{{2, 1}, {2, 2}, {3, 1}, {2, 1}}));
}

TEST(Regles, LePointDeReferenceBougeSurLesDeuxAxesApresUnPas) {
  Jeu j(Dessiner({"...", ".a.", "..."}));
  const int x = Centre(2), y = Centre(2);
  j.partie.Appuyer(x, y);
  j.partie.Glisser(x + 2, y - 9);   // neither axis beyond the threshold
  j.partie.Glisser(x + 11, y - 5);  // right; the upward travel is dropped
  j.partie.Glisser(x + 11, y - 14);  // 9 pixels up from the new reference: nothing
  EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{{EvDroite, 1}}));
}

TEST(Regles, UnePieceBougeEntiereEtSeuleLaPieceChoisie) {
  // An L of three tiles moving down past another piece.
  Jeu j(Dessiner({"aa.b", "a..b", "....", "...."}));
  const uint16_t a = PieceEn(j, 1, 1);
  Geste(j.partie, 1, 2, {{0, 1}, {0, 1}});
  EXPECT_EQ(j.Case(3, 1).Piece, a);
  EXPECT_EQ(j.Case(3, 2).Piece, a);
  EXPECT_EQ(j.Case(4, 1).Piece, a);
  EXPECT_EQ(j.Case(1, 1).Serie, TSerieMap::Vide);
  EXPECT_EQ(j.Case(1, 4).Serie, TSerieMap::Normal);
  // The names travel with the tiles.
  EXPECT_EQ(j.Case(3, 1).Nom, "L1C1");
  EXPECT_EQ(j.Case(4, 1).Nom, "L2C1");
  EXPECT_EQ(j.Case(3, 2).Nom, "L1C2");
  // The joins too, and the image number.
  EXPECT_TRUE(j.Case(3, 1).Droit);
  EXPECT_TRUE(j.Case(3, 1).Bas);
  EXPECT_EQ(j.Case(3, 1).Map, MapDesJonctions(true, false, false, true));
}

TEST(Regles, UnePlaceFinaleRetrouveSonImageQuandUneTuileLaQuitte) {
  Jeu j(Dessiner({"a."}, {"x."}));
  EXPECT_EQ(j.Case(1, 1).Map, MapDesJonctions(false, false, false, false));
  Geste(j.partie, 1, 1, {{1, 0}});
  EXPECT_EQ(j.Case(1, 1).Map, kMapFondFinal);
  EXPECT_TRUE(j.Case(1, 1).PlaceFinal);
  EXPECT_FALSE(j.Case(1, 2).PlaceFinal);
}

TEST(Portes, UnePorteDeTroisCasesSOuvreAuTroisiemeContact) {
  Jeu j(Dessiner({"#DDD#", "#...#", "#A..#", "#####"}, {".....", ".....", "....x", "....."}));
  const auto A = PieceEn(j, 3, 2);
  j.partie.Appuyer(Centre(2), Centre(3));
  j.partie.Glisser(Centre(2), Centre(2));  // up: touches (1,2)
  EXPECT_EQ(j.Case(1, 2).Map, kMapPorteTouchee);
  EXPECT_EQ(j.Case(1, 3).Map, kMapPorteFermee);
  j.partie.Glisser(Centre(3), Centre(2));  // right: touches (1,3)
  EXPECT_EQ(j.Case(1, 2).Serie, TSerieMap::Bord);
  j.partie.Glisser(Centre(4), Centre(2));  // right: touches (1,4), the door opens
  j.partie.Relacher();
  EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{
                                {EvHaut, A}, {EvPorteTouchee, 201},
                                {EvDroite, A}, {EvPorteTouchee, 301},
                                {EvDroite, A}, {EvPorteTouchee, 401},
                                {EvPorteOuverte, 401}, {EvPorteOuverte, 301}, {EvPorteOuverte, 201},
                                {EvCompteur, 1},   // the opening counts one move
                                {EvCompteur, 2}}));  // and the gesture another
  EXPECT_EQ(j.partie.Compteur(), 2);
  for (int c = 2; c <= 4; ++c) {
    EXPECT_EQ(j.Case(1, c).Serie, TSerieMap::Vide);
    EXPECT_EQ(j.Case(1, c).Map, kMapFond);
    EXPECT_TRUE(j.Case(1, c).Porte);
  }
  // The opened door is floor: the master piece walks through it.
  Geste(j.partie, 2, 4, {{0, -1}});
  EXPECT_EQ(j.Case(1, 4).Serie, TSerieMap::Final);
}

TEST(Portes, UnePorteEnDiagonaleNEstToucheeQuEntreDeuxCasesDeCadre) {
  Jeu j(Dessiner({"##D##", ".A#..", "....."}));
  Geste(j.partie, 2, 2, {{0, 1}});
  EXPECT_EQ(j.Case(1, 3).Map, kMapPorteFermee);  // stepping away touches nothing
  Geste(j.partie, 3, 2, {{0, -1}});
  // Back at (2,2): above is a border tile, right is a border tile: the door
  // at the corner is touched, and, being alone, opens.
  EXPECT_EQ(j.Case(1, 3).Serie, TSerieMap::Vide);
  EXPECT_EQ(j.partie.Historique()[j.partie.Historique().Fin - 3].Code, EvPorteTouchee);

  Jeu non(Dessiner({"##D##", ".A...", "....."}));
  Geste(non.partie, 2, 2, {{0, 1}});
  Geste(non.partie, 3, 2, {{0, -1}});
  EXPECT_EQ(non.Case(1, 3).Map, kMapPorteFermee);  // the cell on the right is floor
}

TEST(Portes, ChaqueDiagonaleToucheEntreDeuxCasesDeCadre) {
  // One board a corner: the master steps into (2,2), the door stands at a
  // corner of it with border tiles on both sides between them.
  const struct {
    const char* nom;
    std::vector<std::string> lignes;
    int ligneDepart, porteLigne, porteColonne;
  } coins[] = {{"haut-droite", {".#D", "..#", ".A."}, 3, 1, 3},
               {"bas-droite", {".A.", "..#", ".#D"}, 1, 3, 3},
               {"bas-gauche", {".A.", "#..", "D#."}, 1, 3, 1},
               {"haut-gauche", {"D#.", "#..", ".A."}, 3, 1, 1}};
  for (const auto& coin : coins) {
    SCOPED_TRACE(coin.nom);
    Jeu j(Dessiner(coin.lignes));
    const int A = PieceEn(j, coin.ligneDepart, 2);
    Geste(j.partie, coin.ligneDepart, 2, {{0, 2 - coin.ligneDepart}});
    const int16_t code = CodePosition({coin.porteLigne, coin.porteColonne});
    EXPECT_EQ(j.Evenements(), (std::vector<std::pair<int, int>>{{coin.ligneDepart == 3 ? EvHaut : EvBas, A},
                                                                 {EvPorteTouchee, code},
                                                                 {EvPorteOuverte, code},
                                                                 {EvCompteur, 1},
                                                                 {EvCompteur, 2}}));
  }
}

TEST(Portes, LaPorteSOuvreDansLOrdreDuParcoursBasHautDroiteGauche) {
  // A door in a cross; A touches S, E, N, W and last the centre C, across
  // the corner between N and W: the walk starts at C and tries below,
  // above, right, then left.
  Jeu j(Dessiner({".......", "...D...", "..DDD..", "...D...", ".......", "...A..."}));
  Geste(j.partie, 6, 4, {{0, -1}});                                   // touches S (4,4)
  Geste(j.partie, 5, 4, {{1, 0}, {1, 0}, {0, -1}, {0, -1}});          // E (3,5) from (3,6)
  Geste(j.partie, 3, 6, {{0, -1}, {0, -1}, {-1, 0}, {-1, 0}});        // N (2,4) from (1,4)
  EXPECT_EQ(j.Case(3, 4).Map, kMapPorteFermee);
  Geste(j.partie, 1, 4, {{-1, 0}, {0, 1}});                           // W, then C, from (2,3)
  std::vector<int> ouvertes;
  for (const auto& [code, valeur] : j.Evenements())
    if (code == EvPorteOuverte) ouvertes.push_back(valeur);
  EXPECT_EQ(ouvertes, (std::vector<int>{403, 404, 402, 503, 303}));
}

TEST(Portes, UneCaseToucheeCompteCommeCadrePourLaDiagonale) {
  // Door cells (1,2) and (1,3); A comes back to (2,2) under (1,2).
  Jeu j(Dessiner({"#DD#", ".A##", "...."}));
  Geste(j.partie, 2, 2, {{0, 1}});
  Geste(j.partie, 3, 2, {{0, -1}});
  // Test 1 touches (1,2) above; test 5 then sees (1,2) as frame (Map 17)
  // and (2,3) as border: (1,3) is touched too, and the door opens.
  EXPECT_EQ(j.Case(1, 2).Serie, TSerieMap::Vide);
  EXPECT_EQ(j.Case(1, 3).Serie, TSerieMap::Vide);
}

TEST(Portes, SeulUnMaitreQuiBougeToucheUnePorte) {
  Jeu j(Dessiner({"#D#D#", "#A.b#", "#...#"}));
  j.partie.Appuyer(Centre(2), Centre(2));
  j.partie.Relacher();
  EXPECT_EQ(j.Case(1, 2).Map, kMapPorteFermee);  // beside it since the load
  Geste(j.partie, 2, 4, {{0, 1}, {0, -1}});        // an ordinary piece comes and goes
  EXPECT_EQ(j.Case(1, 4).Map, kMapPorteFermee);
  Geste(j.partie, 2, 2, {{1, 0}});
  EXPECT_EQ(j.Case(1, 2).Map, kMapPorteFermee);  // no longer beside it
  Geste(j.partie, 2, 3, {{-1, 0}});
  EXPECT_EQ(j.Case(1, 2).Serie, TSerieMap::Vide);  // stepped back beside it: touched and opened
}

TEST(Comptage, UnGesteCompteAuPlusUnCoup) {
  Jeu j(Dessiner({"a...", "....", "...b"}));
  Geste(j.partie, 1, 1, {{1, 0}, {1, 0}});
  EXPECT_EQ(j.partie.Compteur(), 1);
  Geste(j.partie, 1, 3, {{0, 1}});  // A again
  EXPECT_EQ(j.partie.Compteur(), 1);
  Geste(j.partie, 3, 4, {{-1, 0}});  // B
  EXPECT_EQ(j.partie.Compteur(), 2);
  Geste(j.partie, 2, 3, {{-1, 0}});  // A
  EXPECT_EQ(j.partie.Compteur(), 3);
  EXPECT_EQ(j.temoin.compteurs.back(), "0003");
  EXPECT_EQ(j.temoin.compteurs.front(), "0000");
  // There and back counts nothing, but both steps are recorded.
  const auto fin = j.partie.Historique().Fin;
  Geste(j.partie, 3, 3, {{0, -1}, {0, 1}});
  EXPECT_EQ(j.partie.Compteur(), 3);
  EXPECT_EQ(j.partie.Historique().Fin, fin + 2);
}

TEST(Comptage, UnePorteOuverteDansUnGesteCompteAjouteDeux) {
  Jeu j(Dessiner({"#D###", "#..a.", "#B...", "#####"}, {".....", "....x", ".....", "....."}));
  Geste(j.partie, 2, 4, {{1, 0}});  // A counted last
  ASSERT_EQ(j.partie.Compteur(), 1);
  Geste(j.partie, 3, 2, {{0, -1}});  // B opens the door
  EXPECT_EQ(j.partie.Compteur(), 3);
  // B was counted last: another gesture of it is no new move.
  Geste(j.partie, 2, 2, {{1, 0}});
  EXPECT_EQ(j.partie.Compteur(), 3);
}

TEST(Comptage, TexteDuCompteur) {
  EXPECT_EQ(TexteCompteur(0), "0000");
  EXPECT_EQ(TexteCompteur(7), "0007");
  EXPECT_EQ(TexteCompteur(9999), "9999");
  EXPECT_EQ(TexteCompteur(10000), "10000");
  EXPECT_EQ(TexteCompteur(12345), "12345");
}

TEST(FinDePartie, FelicitationsUneFoisParChargementSelonLEtat) {
  const auto plateau = Dessiner({"A.", ".."}, {".x", ".."}, "Fin", 2);
  Jeu j(plateau);
  j.partie.Appuyer(Centre(1), Centre(1));
  j.partie.Relacher();
  EXPECT_TRUE(j.temoin.bravos.empty());
  Geste(j.partie, 1, 1, {{1, 0}});
  ASSERT_EQ(j.temoin.bravos.size(), 1u);
  EXPECT_EQ(j.temoin.bravos[0].first,
            "Bravo, Vous pouvez comparer votre record avec le record mondial\n\r sur le site Web " +
                std::string(kAdresseSiteWeb));
  Geste(j.partie, 1, 2, {{0, 1}});
  Geste(j.partie, 2, 2, {{0, -1}});
  EXPECT_EQ(j.temoin.bravos.size(), 1u);  // not again before a new load

  for (int etat : {1, 3}) {
    auto p = plateau;
    p.Etat = etat;
    j.partie.CommencerPartie(p);
    Geste(j.partie, 1, 1, {{1, 0}});
    EXPECT_EQ(j.temoin.bravos.back().first,
              "Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !");
  }
  EXPECT_EQ(j.temoin.bravos.size(), 3u);
}

TEST(FinDePartie, UnAppuiSansGlissementSurUnPlateauResoluFelicite) {
  auto plateau = Dessiner({"A."}, {"x."});
  Jeu j(plateau);
  EXPECT_TRUE(j.partie.Resolu());
  j.partie.Appuyer(Centre(2), Centre(1));
  j.partie.Relacher();
  EXPECT_EQ(j.temoin.bravos.size(), 1u);
}

TEST(Historique, AjoutCoupureEtLimite) {
  // 5001 events, indices 0 to 5000; the next one is not recorded.
  THistorique h;
  for (int i = 0; i < 5001; ++i) ASSERT_TRUE(h.Ajouter(static_cast<int16_t>(i), EvDroite)) << i;
  EXPECT_FALSE(h.Ajouter(-1, EvGauche));
  EXPECT_EQ(h.PosHistorique, 5001);
  EXPECT_EQ(h.Fin, 5001);
  EXPECT_EQ(h[5000].Valeur, 5000);

  Jeu j(Dessiner({"a.."}));
  Geste(j.partie, 1, 1, {{1, 0}, {1, 0}, {-1, 0}});
  // Three steps and a counter mark.
  EXPECT_EQ(j.partie.Historique().PosHistorique, 4);
  EXPECT_EQ(j.partie.Historique().Fin, 4);
  // After stepping back, a press cuts what could be replayed.
  j.partie.AllerAuDebut();
  j.partie.Avancer();
  j.partie.Avancer();
  j.partie.Appuyer(Centre(2), Centre(1));
  EXPECT_EQ(j.partie.Historique().Fin, 2);
}

TEST(Historique, PleinLeJeuContinueSansEnregistrer) {
  Jeu j(Dessiner({"a."}));
  j.partie.Appuyer(Centre(1), Centre(1));
  int x = Centre(1);
  for (int i = 0; i < THistorique::kCapacite + 20; ++i) {
    x += (i % 2 == 0) ? 20 : -20;
    j.partie.Glisser(x, Centre(1));
  }
  EXPECT_EQ(j.partie.Historique().PosHistorique, THistorique::kCapacite);
  EXPECT_EQ(j.temoin.pleins, 1);
  // Play went on: after an odd number of extra steps the piece is on the right.
  EXPECT_EQ(j.Case(1, 2).Serie, TSerieMap::Normal);
  // A new load forgets the warning.
  j.partie.CommencerPartie(Dessiner({"a."}));
  EXPECT_EQ(j.partie.Historique().Fin, 0);
}

TEST(Regles, GestesAuHasardGardentLesInvariants) {
  const auto plateau = Dessiner({"##DD####",
                                 "#aa.bB.#",
                                 "#a..bB.#",
                                 "#.cc..d#",
                                 "#.C.ee.#",
                                 "#f..e.g#",
                                 "########"},
                                {"........", "......x.", "......x.", "........", "..x.....", "........", "........"});
  Jeu j(plateau);
  std::mt19937 hasard(1234);
  std::multiset<std::string> nomsDepart;
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) nomsDepart.insert(plateau.Case(l, c).Nom);
  for (int geste = 0; geste < 3000; ++geste) {
    const int l = std::uniform_int_distribution<int>(1, plateau.Hauteur)(hasard);
    const int c = std::uniform_int_distribution<int>(1, plateau.Largeur)(hasard);
    int x = Centre(c), y = Centre(l);
    j.partie.Appuyer(x, y);
    for (int k = 0; k < 4; ++k) {
      x += std::uniform_int_distribution<int>(-25, 25)(hasard);
      y += std::uniform_int_distribution<int>(-25, 25)(hasard);
      j.partie.Glisser(x, y);
    }
    j.partie.Relacher();
  }
  std::multiset<std::string> noms;
  std::map<uint16_t, int> tuilesParPiece, tuilesDepart;
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) {
      const auto& k = j.Case(l, c);
      const auto& d = plateau.Case(l, c);
      noms.insert(k.Nom);
      EXPECT_EQ(k.PlaceFinal, d.PlaceFinal);
      EXPECT_EQ(k.Porte, d.Porte);
      EXPECT_EQ(k.PosX, c);
      EXPECT_EQ(k.PosY, l);
      if (k.Serie != TSerieMap::Vide) ++tuilesParPiece[k.Piece];
      if (d.Serie != TSerieMap::Vide && !d.Porte) ++tuilesDepart[d.Piece];
    }
  EXPECT_EQ(noms, nomsDepart);
  for (const auto& [piece, n] : tuilesDepart) EXPECT_EQ(tuilesParPiece[piece], n) << "piece " << piece;
  EXPECT_GT(j.partie.Compteur(), 10);
}

TEST(Clavier, LesPiecesDansLOrdreDeLeursNumerosSansFondNiBord) {
  Jeu j(Dessiner({"#####", "#a.B#", "#c..#", "#####"}));
  const uint16_t a = PieceEn(j, 2, 2), b = PieceEn(j, 2, 4), c = PieceEn(j, 3, 2);
  ASSERT_LT(a, c);
  ASSERT_LT(c, b);
  EXPECT_EQ(j.partie.PieceSuivante(0, true), a);
  EXPECT_EQ(j.partie.PieceSuivante(a, true), c);
  EXPECT_EQ(j.partie.PieceSuivante(c, true), b);
  EXPECT_EQ(j.partie.PieceSuivante(b, true), a);
  EXPECT_EQ(j.partie.PieceSuivante(0, false), b);
  EXPECT_EQ(j.partie.PieceSuivante(a, false), b);
  EXPECT_EQ(j.partie.PieceSuivante(PieceEn(j, 1, 1), true), a);  // a border piece is none of them
  EXPECT_EQ(Jeu(Dessiner({"#.#"})).partie.PieceSuivante(0, true), 0);
}

TEST(Clavier, UneFlecheFaitCeQueFaitUnGlissementDUneCaseSuiviDUnRelachement) {
  // A master piece through a door, two pieces, moves refused on the way.
  const auto plateau = Dessiner({"#DD###", "#..A.#", "#bb..#", "#..c.#", "######"},
                                {"......", "......", "......", ".....x", "......"});
  Jeu souris(plateau), clavier(plateau);
  struct Pas {
    int ligne, colonne, dx, dy;
  };
  // (row, column) of a tile of the piece before its step, for the mouse.
  const std::vector<Pas> partie = {{3, 2, 0, 1}, {2, 4, -1, 0}, {2, 3, -1, 0}, {2, 2, 0, -1},
                                   {1, 2, 1, 0}, {1, 3, 0, -1}, {4, 4, 1, 0}, {4, 5, 0, -1},
                                   {3, 5, 0, 1}, {4, 5, 0, 1}, {4, 2, -1, 0}};
  for (const auto& p : partie) {
    const uint16_t piece = PieceEn(souris, p.ligne, p.colonne);
    ASSERT_NE(piece, 0);
    const auto avant = souris.partie.Historique().Fin;
    Geste(souris.partie, p.ligne, p.colonne, {{p.dx, p.dy}});
    const bool pas = clavier.partie.DeplacerAuClavier(piece, p.dx, p.dy);
    EXPECT_EQ(pas, souris.partie.Historique().Fin > avant);
    EXPECT_EQ(clavier.Evenements(), souris.Evenements()) << p.ligne << "," << p.colonne;
    EXPECT_EQ(clavier.partie.Compteur(), souris.partie.Compteur());
    EXPECT_EQ(clavier.temoin.cases, souris.temoin.cases);
  }
  // A's consecutive steps counted once, the door's opening once: b, A, door, c.
  EXPECT_EQ(clavier.partie.Compteur(), 4);
  EXPECT_EQ(clavier.Case(1, 2).Serie, TSerieMap::Vide);
  // A refused step keeps what could be replayed forward.
  clavier.partie.Reculer();
  const auto fin = clavier.partie.Historique().Fin;
  EXPECT_FALSE(clavier.partie.DeplacerAuClavier(PieceEn(clavier, 4, 2), 0, 1));
  EXPECT_EQ(clavier.partie.Historique().Fin, fin);
  EXPECT_FALSE(clavier.partie.DeplacerAuClavier(PieceEn(clavier, 1, 1), 1, 0));  // a border piece
}
