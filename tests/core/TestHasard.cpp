// Boards made at random: every box and level, with and without a door,
// checked against the editor's check and the solver, and played.
#include <gtest/gtest.h>

#include "AidePlateau.h"
#include "Hasard.h"
#include "Records.h"
#include "Solveur.h"
#include "Verification.h"

using namespace glissaro;
using glissaro::test::Rejouer;

namespace {

std::string Nom(const DemandeHasard& d) {
  return NomBoite(d.boite) + " " + NomNiveau(d.niveau) + (d.porte ? " avec porte" : "") + ", graine " +
         std::to_string(d.graine);
}

}  // namespace

TEST(Hasard, ChaqueBoiteEtChaqueNiveauDonneUnPlateauProuveQuiSeJoue) {
  const test::DossierTemporaire dossier;
  for (int b = 0; b < kNombreBoites; ++b)
    for (int n = 0; n < kNombreNiveaux; ++n)
      for (const bool porte : {false, true}) {
        DemandeHasard d;
        d.boite = static_cast<BoiteHasard>(b);
        d.niveau = static_cast<NiveauHasard>(n);
        d.porte = porte;
        d.graine = 1;
        const ResultatHasard r = FabriquerPlateau(d);
        ASSERT_EQ(r.issue, IssueHasard::Fait) << Nom(d) << " : " << r.message;
        const TPlateau& p = r.plateau;
        EXPECT_TRUE(FourchetteDe(d.boite, d.niveau).Contient(r.optimum)) << Nom(d) << " : " << r.optimum;
        // The editor's check passes and numbers the pieces as they are.
        TPlateau verifie = p;
        EXPECT_TRUE(VerifierGrille(verifie).Correcte()) << Nom(d);
        EXPECT_EQ(EmpreintePlateau(verifie), EmpreintePlateau(p)) << Nom(d);
        EXPECT_EQ(p.Etat, 1);
        // A border ring, a master piece, a final place left to see, a
        // door exactly when asked.
        bool anneau = true, maitre = false, butVisible = false, unePorte = false;
        for (int l = 1; l <= p.Hauteur; ++l)
          for (int c = 1; c <= p.Largeur; ++c) {
            const auto& k = p.Case(l, c);
            if ((l == 1 || l == p.Hauteur || c == 1 || c == p.Largeur) && k.Serie != TSerieMap::Bord) anneau = false;
            maitre = maitre || k.Serie == TSerieMap::Final;
            butVisible = butVisible || (k.PlaceFinal && k.Serie == TSerieMap::Vide);
            unePorte = unePorte || k.Porte;
          }
        EXPECT_TRUE(anneau && maitre && butVisible) << Nom(d);
        EXPECT_EQ(unePorte, porte) << Nom(d);
        // As the game reads it, the solver finds the same optimum on its
        // own, and its solution plays to a solved board at that count.
        const std::string fichier = dossier.Fichier("hasard.wbp");
        ASSERT_TRUE(EcrirePlateau(fichier, p, "1").ok);
        TPlateau lu;
        ASSERT_EQ(LirePlateau(fichier, lu, ModeLecture::Jeu).statut, StatutLecture::Ok) << Nom(d);
        const ResultatSolveur s = Resoudre(lu, {MesureSolveur::Coups, 4'000'000, nullptr, std::size_t{1} << 30, false});
        ASSERT_EQ(s.issue, IssueSolveur::Solution) << Nom(d);
        EXPECT_TRUE(s.optimale) << Nom(d);
        EXPECT_EQ(s.coups, r.optimum) << Nom(d);
        EXPECT_EQ(Rejouer(lu, s), std::make_pair(true, r.optimum)) << Nom(d);
      }
}

TEST(Hasard, LaMemeGraineDonneLeMemePlateauEtUneAutreUnAutre) {
  DemandeHasard d;
  d.graine = 42;
  const auto a = FabriquerPlateau(d), b = FabriquerPlateau(d);
  d.graine = 43;
  const auto c = FabriquerPlateau(d);
  EXPECT_EQ(EmpreintePlateau(a.plateau), EmpreintePlateau(b.plateau));
  EXPECT_EQ(a.optimum, b.optimum);
  EXPECT_NE(EmpreintePlateau(a.plateau), EmpreintePlateau(c.plateau));
}

TEST(Hasard, UnNiveauHorsDePorteeProposeLePlusProcheFait) {
  DemandeHasard d;
  d.boite = BoiteHasard::B6x6;
  d.niveau = NiveauHasard::TresDifficile;
  d.porte = true;
  d.graine = 2;
  const auto r = FabriquerPlateau(d);
  ASSERT_EQ(r.issue, IssueHasard::Proche);
  EXPECT_EQ(r.niveau, NiveauHasard::Difficile);
  EXPECT_TRUE(FourchetteDe(d.boite, r.niveau).Contient(r.optimum));
  EXPECT_EQ(r.message, "Aucun plateau « Très difficile » n'a pu être fait en 6 × 6 avec une porte dans le temps permis : "
                       "trop peu de cases libres pour des solutions de cette longueur. Le niveau le plus proche est "
                       "« Difficile » (" + std::to_string(r.optimum) + " coups).");
  TPlateau p = r.plateau;
  EXPECT_TRUE(VerifierGrille(p).Correcte());
}

TEST(Hasard, UneFabricationAnnuleeSArreteSansPlateau) {
  std::atomic<bool> annuler{false};
  DemandeHasard d;
  d.boite = BoiteHasard::B6x6;
  d.niveau = NiveauHasard::TresDifficile;
  d.annuler = &annuler;
  int appels = 0;
  d.progres = [&](int) {
    if (++appels == 3) annuler.store(true);
  };
  const auto r = FabriquerPlateau(d);
  EXPECT_EQ(r.issue, IssueHasard::Annule);
  EXPECT_EQ(r.plateau.Hauteur, 0);
}

TEST(Hasard, LesNiveauxMontentDansChaqueBoiteEtSeDisent) {
  for (int b = 0; b < kNombreBoites; ++b) {
    const auto boite = static_cast<BoiteHasard>(b);
    int precedent = 0;
    for (int n = 0; n < kNombreNiveaux; ++n) {
      const Fourchette f = FourchetteDe(boite, static_cast<NiveauHasard>(n));
      EXPECT_GT(f.minimum, precedent) << NomBoite(boite);
      EXPECT_GE(f.maximum, f.minimum);
      EXPECT_EQ(NiveauDe(boite, f.minimum), static_cast<NiveauHasard>(n));
      if (n > 0) {
        EXPECT_EQ(f.minimum, FourchetteDe(boite, static_cast<NiveauHasard>(n - 1)).maximum + 1);
      }
      precedent = f.minimum;
    }
  }
  EXPECT_EQ(BoiteDeMot("5x5"), BoiteHasard::B5x5);
  EXPECT_EQ(NiveauDeMot("tres-difficile"), NiveauHasard::TresDifficile);
  EXPECT_FALSE(BoiteDeMot("7x7"));
  EXPECT_EQ(ProchainTitreHasard({}), "Hasard 001");
  EXPECT_EQ(ProchainTitreHasard({"Hasard 001", "Hasard 007", "Hasard 12", "Hasard 0x9", "Mon plateau"}), "Hasard 008");
  EXPECT_EQ(ProchainTitreHasard({"Hasard 999"}), "");
}
