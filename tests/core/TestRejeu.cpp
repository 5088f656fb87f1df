#include <gtest/gtest.h>

#include <random>
#include <set>

#include "AidePlateau.h"
#include "Rejeu.h"

using namespace glissaro;
using glissaro::test::Dessiner;
using glissaro::test::Geste;

namespace {

// Every field of every cell, as text, to compare whole boards. A door cell's
// piece number is left out: a tile that passed through the opened door
// took it away (closing the door again gives it back), and nothing reads it
// (a door never moves).
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
  std::string depart, arrivee;
  PartieJouee() {
    partie.DefinirObservateur(&compteurs);
    partie.CommencerPartie(Dessiner({"#DD###", "#..A.#", "#bb..#", "#..c.#", "######"},
                                    {"......", "......", "......", ".....x", "......"}));
    depart = Photo(partie.Plateau());
    Geste(partie, 3, 2, {{0, 1}});          // b down: 1
    Geste(partie, 2, 4, {{-1, 0}, {-1, 0}});  // A touches (1,3) then (1,2): the door opens (2), A counts (3)
    Geste(partie, 2, 2, {{0, -1}, {1, 0}});   // A into the opened door and along it: A again, not counted
    Geste(partie, 4, 4, {{1, 0}, {0, -1}});  // c: 4
    arrivee = Photo(partie.Plateau());
  }
};

}  // namespace

TEST(Rejeu, DebutPuisFinRendentLesPositionsEtLesPortes) {
  PartieJouee j;
  ASSERT_EQ(j.partie.Compteur(), 4);
  ASSERT_EQ(j.partie.Plateau().Case(1, 3).Serie, TSerieMap::Final);  // A stands in the opened door
  ASSERT_EQ(j.partie.Plateau().Case(1, 2).Serie, TSerieMap::Vide);
  const auto fin = j.partie.Historique().Fin;
  j.partie.AllerAuDebut();
  EXPECT_EQ(j.partie.Historique().PosHistorique, 0);
  EXPECT_EQ(j.partie.Historique().Fin, fin);
  EXPECT_EQ(Photo(j.partie.Plateau()), j.depart);
  EXPECT_EQ(j.partie.Plateau().Case(1, 2).Map, kMapPorteFermee);
  EXPECT_EQ(j.partie.Plateau().Case(1, 3).Map, kMapPorteFermee);
  // A crossed the opened door: closed again, its cells have their numbers.
  EXPECT_EQ(j.partie.Plateau().Case(1, 2).Piece, j.partie.PlateauCharge().Case(1, 2).Piece);
  EXPECT_EQ(j.partie.Plateau().Case(1, 3).Piece, j.partie.PlateauCharge().Case(1, 3).Piece);
  EXPECT_EQ(j.partie.Compteur(), 0);
  EXPECT_EQ(j.compteurs.textes.back(), "0000");
  j.partie.AllerALaFin();
  EXPECT_EQ(Photo(j.partie.Plateau()), j.arrivee);
  EXPECT_EQ(j.partie.Compteur(), 4);
  EXPECT_EQ(j.compteurs.textes.back(), "0004");
  EXPECT_EQ(j.partie.Historique().PosHistorique, fin);
  EXPECT_EQ(j.partie.Historique().Fin, fin);  // the replay records nothing
}

TEST(Rejeu, UnPasArriereApresUnCoupCompteNEnleveQueLaMarque) {
  PartieJouee j;
  const auto photo = Photo(j.partie.Plateau());
  const auto pos = j.partie.Historique().PosHistorique;
  j.partie.Reculer();
  EXPECT_EQ(Photo(j.partie.Plateau()), photo);
  EXPECT_EQ(j.partie.Compteur(), 4);
  EXPECT_EQ(j.partie.Historique().PosHistorique, pos - 1);
  {
    // The next gesture always counts, even of the piece counted last.
    PartieJouee k;
    k.partie.Reculer();
    Geste(k.partie, 3, 5, {{0, 1}});
    EXPECT_EQ(k.partie.Compteur(), 5);
  }
  // The next takes back everything after the mark 3: c's two steps and A's
  // two uncounted ones.
  j.partie.Reculer();
  EXPECT_EQ(j.partie.Plateau().Case(4, 4).Serie, TSerieMap::Normal);
  EXPECT_EQ(j.partie.Plateau().Case(2, 2).Serie, TSerieMap::Final);
  EXPECT_EQ(j.partie.Plateau().Case(1, 2).Serie, TSerieMap::Vide);  // the door stays open
  EXPECT_EQ(j.partie.Compteur(), 3);
  // Forward again, event by event: the mark, A up, A right, c right.
  EXPECT_TRUE(j.partie.Avancer());
  EXPECT_EQ(j.partie.Compteur(), 3);
  EXPECT_EQ(j.partie.Plateau().Case(4, 5).Serie, TSerieMap::Vide);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(j.partie.Avancer());
  EXPECT_EQ(j.partie.Plateau().Case(4, 5).Serie, TSerieMap::Normal);
  EXPECT_EQ(j.partie.Plateau().Case(1, 3).Serie, TSerieMap::Final);
}

TEST(Rejeu, AuxDeuxBoutsRienNeBouge) {
  PartieJouee j;
  const auto photo = Photo(j.partie.Plateau());
  EXPECT_FALSE(j.partie.Avancer());
  j.partie.AllerALaFin();
  EXPECT_EQ(Photo(j.partie.Plateau()), photo);
  j.partie.AllerAuDebut();
  j.compteurs.textes.clear();
  j.partie.Reculer();
  j.partie.Reculer();
  EXPECT_EQ(j.compteurs.textes, (std::vector<std::string>{"0000", "0000"}));
  EXPECT_EQ(j.partie.Historique().PosHistorique, 0);
}

TEST(Rejeu, LaMarqueArreteLeRetourQuelleQueSoitSaValeur) {
  TPartie partie;
  partie.CommencerPartie(Dessiner({"a...", "...."}));
  // Piece 1 moved after a mark whose value is also 1.
  Geste(partie, 1, 1, {{1, 0}});
  Geste(partie, 1, 2, {{1, 0}});
  ASSERT_EQ(partie.Historique().Fin, 3);  // right, mark 1, right (same piece: not counted)
  partie.Reculer();
  EXPECT_EQ(partie.Historique().PosHistorique, 1);
  EXPECT_EQ(partie.Plateau().Case(1, 2).Serie, TSerieMap::Normal);
  EXPECT_EQ(partie.Compteur(), 1);
}

TEST(AnnulerRetablir, UnCoupALaFoisAvecLesCompteursDuMagnetoscope) {
  // The same game stopped after each gesture: what each undo must bring
  // back.
  TPartie temoin;
  temoin.CommencerPartie(Dessiner({"#DD###", "#..A.#", "#bb..#", "#..c.#", "######"},
                                  {"......", "......", "......", ".....x", "......"}));
  const std::string depart = Photo(temoin.Plateau());
  Geste(temoin, 3, 2, {{0, 1}});
  const std::string apresB = Photo(temoin.Plateau());
  Geste(temoin, 2, 4, {{-1, 0}, {-1, 0}});
  const std::string apresA = Photo(temoin.Plateau());

  PartieJouee j;
  const auto fin = j.partie.Historique().Fin;
  // The counter goes 4, 3 (A's move, its uncounted continuation taken back
  // with c's), 2 (the door's opening, counted on its own), 1, 0: the
  // values the replay shows at the same marks.
  const std::vector<std::pair<int32_t, std::string>> attendus = {
      {3, apresA}, {2, apresA}, {1, apresB}, {0, depart}};
  std::vector<uint16_t> positions;
  for (const auto& [compteur, photo] : attendus) {
    ASSERT_TRUE(j.partie.Annuler());
    EXPECT_EQ(j.partie.Compteur(), compteur);
    EXPECT_EQ(j.compteurs.textes.back(), TexteCompteur(compteur));
    EXPECT_EQ(Photo(j.partie.Plateau()), photo) << compteur;
    EXPECT_EQ(j.partie.Historique().Fin, fin);
    positions.push_back(j.partie.Historique().PosHistorique);
  }
  EXPECT_FALSE(j.partie.Annuler());
  // Forward again, the same stops the other way, doors applied again.
  for (int i = static_cast<int>(attendus.size()) - 2; i >= 0; --i) {
    ASSERT_TRUE(j.partie.Retablir());
    EXPECT_EQ(j.partie.Historique().PosHistorique, positions[static_cast<std::size_t>(i)]);
    EXPECT_EQ(j.partie.Compteur(), attendus[static_cast<std::size_t>(i)].first);
    EXPECT_EQ(Photo(j.partie.Plateau()), attendus[static_cast<std::size_t>(i)].second);
  }
  ASSERT_TRUE(j.partie.Retablir());
  EXPECT_EQ(Photo(j.partie.Plateau()), j.arrivee);
  EXPECT_EQ(j.partie.Compteur(), 4);
  EXPECT_FALSE(j.partie.Retablir());

  // Two moves back, then a new gesture: the history is cut there, the mark
  // before it kept, and the new move is taken back alone.
  j.partie.Annuler();
  j.partie.Annuler();
  Geste(j.partie, 4, 4, {{0, -1}});
  EXPECT_EQ(j.partie.Compteur(), 3);
  EXPECT_EQ(j.partie.Historique().Fin, j.partie.Historique().PosHistorique);
  EXPECT_FALSE(j.partie.PeutRetablir());
  j.partie.Annuler();
  EXPECT_EQ(j.partie.Compteur(), 2);
  EXPECT_EQ(Photo(j.partie.Plateau()), apresA);
}

TEST(AnnulerRetablir, DepuisUneMarqueLaisseeParLeMagnetoscope) {
  PartieJouee j;
  // The replay's first step back leaves the last mark unapplied: redo plays
  // no empty move, it goes on to the end of the next one.
  j.partie.Reculer();
  j.partie.Reculer();
  ASSERT_EQ(j.partie.Compteur(), 3);
  ASSERT_TRUE(j.partie.Retablir());
  EXPECT_EQ(Photo(j.partie.Plateau()), j.arrivee);
  EXPECT_EQ(j.partie.Compteur(), 4);
}

// ------------------------------------------------------ sequences checked

namespace {

std::vector<TEvenement> Evenements(std::initializer_list<std::pair<int, int>> liste) {
  std::vector<TEvenement> e;
  for (const auto& [code, valeur] : liste) e.push_back({static_cast<int16_t>(valeur), static_cast<int8_t>(code), 0});
  return e;
}

std::multiset<std::string> Noms(const TPlateau& p) {
  std::multiset<std::string> noms;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) noms.insert(p.Case(l, c).Nom);
  return noms;
}

// Replays a sequence accepted for the board to its end, event by event, and
// back to its start: the names stay a permutation of those given at load,
// and the start is the loaded board again.
void VerifierInvariant(const TPlateau& plateau, const std::vector<TEvenement>& evenements) {
  TPartie partie;
  partie.CommencerPartie(plateau);
  partie.RechargerSequence(evenements);
  const auto noms = Noms(plateau);
  while (partie.Avancer()) ASSERT_EQ(Noms(partie.Plateau()), noms) << "événement " << partie.Historique().PosHistorique;
  partie.Reculer();
  ASSERT_EQ(Noms(partie.Plateau()), noms);
  partie.AllerAuDebut();
  ASSERT_EQ(Photo(partie.Plateau()), Photo(plateau));
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) ASSERT_EQ(partie.Plateau().Case(l, c).Piece, plateau.Case(l, c).Piece);
}

}  // namespace

TEST(Sequences, UnEvenementQueLePlateauNAuraitPasPuJouerEstRefuse) {
  const PartieJouee j;
  const TPlateau& plateau = j.partie.PlateauCharge();
  const int A = plateau.Case(2, 4).Piece, b = plateau.Case(3, 2).Piece, bord = plateau.Case(2, 1).Piece;
  const struct {
    const char* cas;
    std::vector<TEvenement> evenements;
    std::size_t numero;
  } refusees[] = {
      {"ouvrir le maître", Evenements({{EvPorteOuverte, 402}}), 1},
      {"une porte ouverte sur une tuile et le bord",
       Evenements({{EvCompteur, 3}, {EvPorteOuverte, 203}, {EvPorteTouchee, 101}}), 2},
      {"le bord bouge", Evenements({{EvDroite, bord}}), 1},  // onto floor
      {"le fond bouge", Evenements({{EvBas, 0}}), 1},
      {"une pièce qui n'existe pas", Evenements({{EvBas, 99}}), 1},
      {"sur le bord", Evenements({{EvDroite, A}, {EvDroite, A}}), 2},
      {"sur une autre pièce", Evenements({{EvDroite, b}, {EvHaut, b}}), 2},  // A stands above
      {"hors du plateau", Evenements({{EvHaut, b}, {EvHaut, b}}), 2},
      {"un code inconnu", Evenements({{127, 402}}), 1},
      {"le code des titres", Evenements({{EvCompteur, 1}, {0, 65}}), 2},
      {"une porte hors du plateau", Evenements({{EvPorteTouchee, 2107}}), 1},
      {"une porte ouverte avant d'être touchée", Evenements({{EvPorteOuverte, 201}}), 1},
      {"une porte touchée deux fois", Evenements({{EvPorteTouchee, 201}, {EvPorteTouchee, 201}}), 2},
  };
  for (const auto& r : refusees) {
    SCOPED_TRACE(r.cas);
    EXPECT_EQ(PremierEvenementIncorrect(plateau, r.evenements), r.numero);
  }
  // The game that was played passes; so does one cut anywhere.
  const std::vector<TEvenement> jouee(j.partie.Historique().Evenements.begin(),
                                      j.partie.Historique().Evenements.begin() + j.partie.Historique().Fin);
  for (std::size_t n = 0; n <= jouee.size(); ++n)
    EXPECT_EQ(PremierEvenementIncorrect(plateau, {jouee.begin(), jouee.begin() + static_cast<std::ptrdiff_t>(n)}),
              std::nullopt);

  // What the board window and glissaro-outils say.
  ResultatSequence sequence;
  sequence.titreStocke = "Autre";
  EXPECT_EQ(ControlerSequence(plateau, sequence).issue, ControleSequence::Issue::AutrePlateau);
  sequence.titreStocke = plateau.Titre;
  sequence.evenements = refusees[1].evenements;
  const auto controle = ControlerSequence(plateau, sequence);
  EXPECT_EQ(controle.issue, ControleSequence::Issue::Incorrecte);
  EXPECT_EQ(controle.message, "Séquence incorrecte pour ce plateau (événement n° 2)");
}

TEST(Sequences, CeQuiPasseRendLePlateauChargeEtChaqueNomUneFois) {
  const auto plateau = Dessiner({"##DD####",
                                 "#aa.bB.#",
                                 "#a..bB.#",
                                 "#.cc..d#",
                                 "#.C.ee.D",
                                 "#f..e.gD",
                                 "########"},
                                {"........", "......x.", "......x.", "........", "..x.....", "........", "........"});
  std::mt19937 hasard(2024);
  auto tirage = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(hasard); };
  int portesOuvertes = 0, hostilesAcceptes = 0;
  for (int partie = 0; partie < 40; ++partie) {
    // A game played at random, stepped back at times.
    TPartie jeu;
    jeu.CommencerPartie(plateau);
    for (int geste = 0; geste < 150; ++geste) {
      if (tirage(0, 9) == 0) jeu.Reculer();
      int x = 20 * tirage(0, plateau.Largeur - 1) + 10, y = 20 * tirage(0, plateau.Hauteur - 1) + 10;
      jeu.Appuyer(x, y);
      for (int k = 0; k < 3; ++k) jeu.Glisser(x += tirage(-25, 25), y += tirage(-25, 25));
      jeu.Relacher();
    }
    std::vector<TEvenement> jouee(jeu.Historique().Evenements.begin(),
                                  jeu.Historique().Evenements.begin() + jeu.Historique().PosHistorique);
    for (const auto& e : jouee) portesOuvertes += e.Code == EvPorteOuverte;
    ASSERT_EQ(PremierEvenementIncorrect(plateau, jouee), std::nullopt) << "partie " << partie;
    VerifierInvariant(plateau, jouee);

    // The same game with a few events changed at random, and events drawn at
    // random: what passes the check (up to the first refused event) keeps
    // the board whole.
    for (int essai = 0; essai < 20; ++essai) {
      auto hostile = jouee;
      if (essai % 2 == 1) hostile.resize(static_cast<std::size_t>(tirage(0, 60)));
      for (int k = tirage(1, 3); k > 0 && !hostile.empty(); --k) {
        auto& e = hostile[static_cast<std::size_t>(tirage(0, static_cast<int>(hostile.size()) - 1))];
        const int8_t codes[] = {EvHaut, EvBas, EvGauche, EvDroite, EvCompteur, EvPorteTouchee, EvPorteOuverte, 0, 3};
        e.Code = codes[tirage(0, 8)];
        e.Valeur = static_cast<int16_t>(tirage(0, 1) ? tirage(0, 40) : tirage(100, 899));
      }
      const auto refus = PremierEvenementIncorrect(plateau, hostile);
      if (refus) {
        hostile.resize(*refus - 1);
        ASSERT_EQ(PremierEvenementIncorrect(plateau, hostile), std::nullopt);
      } else {
        ++hostilesAcceptes;
      }
      VerifierInvariant(plateau, hostile);
    }
  }
  EXPECT_GT(portesOuvertes, 0);
  EXPECT_GT(hostilesAcceptes, 0);
}
