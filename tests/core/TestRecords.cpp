// The player's records: the board's fingerprint, the rule of what counts,
// the file, the library's order and the texts shown.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AidePlateau.h"
#include "Bibliotheque.h"
#include "AideFichiers.h"
#include "Records.h"
#include "Sequence.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;

TEST(Records, LEmpreinteSuitLesCasesSeulement) {
  const auto a = Dessiner({"#####", "#AA.#", "#b..#", "#####"}, {".....", "...x.", "...x.", "....."}, "Un", 1);
  DossierTemporaire dossier;
  ASSERT_TRUE(EcrirePlateau(dossier.Fichier("un.wbp"), a, "1").ok);
  TPlateau relu;
  ASSERT_EQ(LirePlateau(dossier.Fichier("un.wbp"), relu).statut, StatutLecture::Ok);
  auto autre = a;
  autre.Titre = "Deux";
  autre.Etat = 2;
  EXPECT_EQ(EmpreintePlateau(a), EmpreintePlateau(relu));
  EXPECT_EQ(EmpreintePlateau(a), EmpreintePlateau(autre));
  EXPECT_EQ(EmpreintePlateau(a).size(), 16u);
  // One tile elsewhere, or one more final place: another board.
  const auto bouge = Dessiner({"#####", "#AA.#", "#.b.#", "#####"}, {".....", "...x.", "...x.", "....."});
  const auto place = Dessiner({"#####", "#AA.#", "#b..#", "#####"}, {".....", "..xx.", "...x.", "....."});
  EXPECT_NE(EmpreintePlateau(a), EmpreintePlateau(bouge));
  EXPECT_NE(EmpreintePlateau(a), EmpreintePlateau(place));
}

TEST(Records, CeQuiCompteEtCeQuiBatLeRecord) {
  TRecords r;
  const std::string e = "0123456789ABCDEF";
  // Not played: the solution was shown, or the events were replayed.
  EXPECT_FALSE(r.NoterPartie(e, "T", "d/T.wbp", {.coups = 9, .solutionMontree = true}, "2026-01-01").enregistre);
  EXPECT_FALSE(r.NoterPartie(e, "T", "d/T.wbp", {.coups = 9, .evenementsNonJoues = true}, "2026-01-01").enregistre);
  EXPECT_EQ(r.Trouver(e), nullptr);

  auto i = r.NoterPartie(e, "T", "d/T.wbp", {.coups = 12, .indices = 2}, "2026-01-01");
  EXPECT_TRUE(i.enregistre);
  EXPECT_FALSE(i.nouveauRecord);  // a first solve beats nothing
  i = r.NoterPartie(e, "T", "d/T.wbp", {.coups = 14}, "2026-01-02");  // worse
  EXPECT_FALSE(i.enregistre);
  EXPECT_EQ(i.ancienMeilleur, 12);
  i = r.NoterPartie(e, "T", "d/T.wbp", {.coups = 12, .indices = 1}, "2026-01-03");  // as good, fewer hints
  EXPECT_TRUE(i.enregistre);
  EXPECT_FALSE(i.nouveauRecord);
  EXPECT_FALSE(r.NoterPartie(e, "T", "d/T.wbp", {.coups = 12, .indices = 1}, "2026-01-04").enregistre);
  i = r.NoterPartie(e, "T2", "e/T2.wbp", {.coups = 10, .indices = 3}, "2026-01-05");  // better, moved and renamed
  EXPECT_TRUE(i.nouveauRecord);
  EXPECT_EQ(i.ancienMeilleur, 12);
  const auto* rec = r.Trouver(e);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->Meilleur, 10);
  EXPECT_EQ(rec->Indices, 3);
  EXPECT_EQ(rec->Date, "2026-01-05");
  EXPECT_EQ(rec->Chemin, "e/T2.wbp");
  EXPECT_FALSE(rec->ResoluALOptimum());
  r.NoterOptimum(e, "T2", "e/T2.wbp", 10);
  EXPECT_TRUE(r.Trouver(e)->ResoluALOptimum());
}

TEST(Records, LesEvenementsNonJouesSuiventLHistorique) {
  THistorique h;
  for (int i = 0; i < 6; ++i) h.Ajouter(1, EvDroite);
  h.MarquerNonJoues(4);  // a solution shown after the fourth event
  h.PosHistorique = 4;
  EXPECT_FALSE(h.NonJouesAppliques());
  h.PosHistorique = 5;  // replayed one of them
  EXPECT_TRUE(h.NonJouesAppliques());
  h.Couper();  // and played on from there: still not all played
  EXPECT_TRUE(h.NonJouesAppliques());
  h.PosHistorique = 3;  // back before them, then a press: they are gone
  h.Couper();
  h.Ajouter(2, EvBas);
  h.Ajouter(2, EvBas);
  EXPECT_FALSE(h.NonJouesAppliques());
  h.Charger({{1, EvDroite, 0}, {1, EvCompteur, 0}});  // a reloaded sequence
  EXPECT_FALSE(h.NonJouesAppliques());
  h.PosHistorique = 2;  // replayed to its end
  EXPECT_TRUE(h.NonJouesAppliques());
  h.Vider();
  EXPECT_EQ(h.DebutNonJoue, THistorique::kCapacite);
}

TEST(Records, LeFichierSeRelitTelQuel) {
  DossierTemporaire dossier;
  const auto f = CheminRecords(dossier.Chemin() + "/");
  ASSERT_TRUE(EcrireFichierSur(f, "; mes records\r\n[skin]\r\nNom=x\r\n").ok);
  auto r = TRecords::Charger(f);
  r.NoterPartie("00000000000000AA", "L'Âne rouge", "2 - Classiques/L'Âne rouge.wbp", {.coups = 83}, "2026-12-08");
  r.NoterOptimum("00000000000000AA", "L'Âne rouge", "x", 81);
  r.NoterOptimum("00000000000000BB", "Deux clés", "3 - Portes/Deux clés.wbp", 13);
  ASSERT_TRUE(r.Enregistrer(f).ok);
  const auto texte = *ContenuFichier(f);
  EXPECT_NE(texte.find("; mes records\r\n[skin]\r\nNom=x\r\n[00000000000000AA]\r\nTitre=L'\xC2ne rouge\r\n"),
            std::string::npos);  // Windows-1252, CR LF, other lines kept

  const auto relu = TRecords::Charger(f);
  const auto* a = relu.Trouver("00000000000000AA");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Titre, "L'Âne rouge");
  EXPECT_EQ(a->Chemin, "2 - Classiques/L'Âne rouge.wbp");
  EXPECT_EQ(a->Meilleur, 83);
  EXPECT_EQ(a->Optimum, 81);
  EXPECT_TRUE(a->Resolu);
  const auto* b = relu.Trouver("00000000000000BB");
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->Resolu);
  EXPECT_EQ(b->Optimum, 13);
  EXPECT_EQ(relu.Trouver("SKIN"), nullptr);
}

TEST(Records, LaBibliothequeDansLOrdreDuGestionnaire) {
  DossierTemporaire dossier;
  namespace fs = std::filesystem;
  for (const char* f : {"2 - Classiques/02 - Le fanion.wbp", "2 - Classiques/01 - L'Âne rouge.wbp",
                        "1 - premiers pas/02 - Deux.WBP", "1 - premiers pas/01 - Un.wbp", "1 - premiers pas/notes.txt",
                        "1 - premiers pas/10 - Dix.wbp", ".cache/01 - Cache.wbp", "1 - premiers pas/profond/x.wbp"}) {
    fs::create_directories(fs::path(dossier.Fichier(f)).parent_path());
    std::ofstream(dossier.Fichier(f)) << "x";
  }
  std::ofstream(dossier.Fichier("racine.wbp")) << "x";
  const auto chemins = CheminsBibliotheque(LireBibliotheque(dossier.Chemin()));
  const std::vector<std::string> attendus = {"1 - premiers pas/01 - Un.wbp", "1 - premiers pas/02 - Deux.wbp",
                                             "1 - premiers pas/10 - Dix.wbp", "2 - Classiques/01 - L'Âne rouge.wbp",
                                             "2 - Classiques/02 - Le fanion.wbp"};
  EXPECT_EQ(chemins, attendus);

  const auto rien = [](const std::string&) { return false; };
  EXPECT_EQ(PlateauSuivant(chemins, "1 - premiers pas/10 - Dix.wbp", rien), attendus[3]);
  EXPECT_EQ(PlateauSuivant(chemins, "ailleurs.wbp", rien), attendus[0]);
  const auto resolus = [](const std::string& c) { return c.find("L'Âne") != std::string::npos; };
  EXPECT_EQ(PlateauSuivant(chemins, "1 - PREMIERS PAS/10 - dix.wbp", resolus), attendus[4]);
  EXPECT_EQ(PlateauSuivant(chemins, attendus[4], rien), std::nullopt);
  EXPECT_TRUE(AvantSansCasse("école", "Ézard"));
  EXPECT_TRUE(AvantSansCasse("Élan", "zèbre"));
}

TEST(Records, LesPlateauxDeLaBibliothequeRetrouventLeurRecord) {
  DossierTemporaire dossier;
  const auto racine = dossier.Chemin() + "/";
  std::filesystem::create_directory(racine + "a");
  const auto x = Dessiner({"A.", ".."}, {".x", ".."});
  const auto y = Dessiner({"A.", "b."}, {".x", ".."});
  const auto z = Dessiner({"Ab", ".."}, {"..", "x."});
  ASSERT_TRUE(EcrirePlateau(racine + "a/x.wbp", x, "1").ok);
  ASSERT_TRUE(EcrirePlateau(racine + "a/y.wbp", y, "1").ok);
  ASSERT_TRUE(EcrirePlateau(racine + "a/z.wbp", z, "1").ok);
  TRecords r;
  r.NoterPartie(EmpreintePlateau(x), "x", "a/x.wbp", {.coups = 1}, "2026-12-08");
  r.NoterPartie(EmpreintePlateau(y), "y", "ailleurs/y.wbp", {.coups = 2}, "2026-12-08");  // moved since
  r.NoterPartie("00000000000000CC", "w", "a/z.wbp", {.coups = 3}, "2026-12-08");  // another board there now
  const auto trouves = RecordsDesPlateaux(r, racine, {"a/x.wbp", "a/y.wbp", "a/z.wbp"});
  ASSERT_EQ(trouves.size(), 3u);
  EXPECT_EQ(trouves[0], r.Trouver(EmpreintePlateau(x)));
  EXPECT_EQ(trouves[1], r.Trouver(EmpreintePlateau(y)));
  EXPECT_EQ(trouves[2], nullptr);

  // The next board to play passes over x, solved at its optimum, and over a
  // board that cannot be played.
  r.NoterOptimum(EmpreintePlateau(x), "x", "a/x.wbp", 1);
  r.NoterOptimum(EmpreintePlateau(y), "y", "a/y.wbp", 1);
  ASSERT_TRUE(EcrirePlateau(racine + "a/w.wbp", z, "0").ok);
  EXPECT_EQ(PlateauSuivantAJouer(r, racine, "ailleurs.wbp"), "a/y.wbp");
  EXPECT_EQ(PlateauSuivantAJouer(r, racine, "a/y.wbp"), "a/z.wbp");
  EXPECT_EQ(PlateauSuivantAJouer(r, racine, "a/z.wbp"), std::nullopt);
  EXPECT_EQ(CheminDansBibliotheque(racine, racine + "a/z.wbp"), "a/z.wbp");
}

TEST(Records, LesTextes) {
  EXPECT_EQ(TexteResultat(83, 81), "Résolu en 83 coups — optimum : 81 coups");
  EXPECT_EQ(TexteResultat(81, 81), "Résolu en 81 coups — optimum atteint !");
  EXPECT_EQ(TexteResultat(1, std::nullopt), "Résolu en 1 coup");
  EXPECT_EQ(TexteNouveauRecord(85), "Nouveau record ! (ancien : 85 coups)");
  RecordPlateau r;
  EXPECT_EQ(TexteRecord(&r), "Pas encore résolu");
  EXPECT_EQ(TexteRecord(nullptr), "Pas encore résolu");
  r.Resolu = true;
  r.Meilleur = 83;
  r.Date = "2026-12-08";
  EXPECT_EQ(TexteRecord(&r), "Votre record : 83 coups (le 8 décembre 2026)");
  EXPECT_EQ(DateEnLettres("2027-08-01"), "1er août 2027");
  EXPECT_EQ(DateEnLettres("hier"), "hier");
  EXPECT_EQ(DateDuJour().size(), 10u);
  EXPECT_EQ(TexteProgression(12, 27, 7), "12 plateaux résolus sur 27, dont 7 à l'optimum");
  EXPECT_EQ(TexteProgression(1, 27, 0), "1 plateau résolu sur 27, dont 0 à l'optimum");
}
