// Saves that survive faults: every file the program writes goes to a
// temporary file that is then renamed over the old one, so a full disk or a
// read-only folder leaves the old file byte for byte, and no temporary file
// behind.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "AidePlateau.h"
#include "AideFichiers.h"
#include "Ini.h"
#include "Parametres.h"
#include "Records.h"
#include "Sequence.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;

namespace {

// A small file system of its own (64 KiB), where the tests can fill the
// disk and make the folder read-only. Needs the right to mount (root).
class PetitDisque : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0 || ::mount("tmpfs", dossier.Chemin().c_str(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "pas de droit de monter un petit système de fichiers ici";
    monte = true;
  }
  void TearDown() override {
    if (monte) ::umount(dossier.Chemin().c_str());
  }
  // Fills the disk but for a few bytes.
  void Remplir() {
    std::string bloc(1024, 'x');
    for (int i = 0;; ++i)
      if (!EcrireFichierSur(dossier.Fichier("plein" + std::to_string(i)), bloc).ok) break;
  }
  void LectureSeule() {
    ASSERT_EQ(::mount("tmpfs", dossier.Chemin().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
  }
  std::size_t Fichiers() const {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dossier.Chemin())) n += e.path().filename().string().rfind("plein", 0) != 0;
    return n;
  }

  DossierTemporaire dossier;
  bool monte = false;
};

}  // namespace

TEST_F(PetitDisque, DisquePleinChaqueEcritureGardeLAncienFichier) {
  const auto plateau = dossier.Fichier("Niveau.wbp");
  const auto sequence = dossier.Fichier("partie.swb");
  const auto ini = dossier.Fichier("Glissaro.ini");
  ASSERT_TRUE(EcrirePlateau(plateau, Dessiner({"A."}, {".x"}, "Niveau"), "1").ok);
  THistorique court;
  ASSERT_TRUE(EcrireSequence(sequence, "Niveau", court).ok);
  ASSERT_TRUE(EcrireParametres(ini, Parametres{}).ok);
  const auto records = dossier.Fichier("Records.ini");
  auto r = TRecords::Charger(records);
  r.NoterPartie("00000000000000AA", "Niveau", "a/Niveau.wbp", {.coups = 5}, "2026-12-08");
  ASSERT_TRUE(r.Enregistrer(records).ok);
  const auto avantRecords = *ContenuFichier(records);
  const auto avantPlateau = *ContenuFichier(plateau);
  const auto avantSequence = *ContenuFichier(sequence);
  const auto avantIni = *ContenuFichier(ini);
  Remplir();

  // Each new content is larger than what the disk has left.
  std::vector<std::string> lignes(16, std::string(20, '.'));
  const auto grand = Dessiner(lignes, {}, "Niveau");
  const auto r1 = EcrirePlateau(plateau, grand, "1");
  EXPECT_FALSE(r1.ok);
  EXPECT_EQ(r1.message, "Impossible d'écrire " + plateau + " : disque plein");
  THistorique long_;
  for (int i = 0; i < 2000; ++i) long_.Ajouter(1, EvDroite);
  EXPECT_FALSE(EcrireSequence(sequence, "Niveau", long_).ok);
  Parametres p;
  p.NomSkin = std::string(4000, 's');
  EXPECT_FALSE(EcrireParametres(ini, p).ok);
  r.NoterPartie("00000000000000AA", std::string(4000, 't'), "a/Niveau.wbp", {.coups = 4}, "2026-12-09");
  EXPECT_FALSE(r.Enregistrer(records).ok);

  EXPECT_EQ(*ContenuFichier(plateau), avantPlateau);
  EXPECT_EQ(*ContenuFichier(sequence), avantSequence);
  EXPECT_EQ(*ContenuFichier(ini), avantIni);
  EXPECT_EQ(*ContenuFichier(records), avantRecords);
  EXPECT_EQ(Fichiers(), 4u);  // no temporary file left behind
}

TEST_F(PetitDisque, DossierEnLectureSeule) {
  const auto fichier = dossier.Fichier("Niveau.wbp");
  ASSERT_TRUE(EcrireFichierSur(fichier, "ancien").ok);
  LectureSeule();
  const auto r = EcrireFichierSur(fichier, "nouveau");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Impossible d'écrire " + fichier + " : disque en lecture seule");
  EXPECT_EQ(*ContenuFichier(fichier), "ancien");
  EXPECT_EQ(Fichiers(), 1u);
}

TEST(Sauvegardes, UnRemplacementGardeLesDroitsEtNeLaisseRienDerriere) {
  DossierTemporaire dossier;
  const auto fichier = dossier.Fichier("f.txt");
  ASSERT_TRUE(EcrireFichierSur(fichier, "un").ok);
  std::filesystem::permissions(fichier, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                            std::filesystem::perms::group_read);
  ASSERT_TRUE(EcrireFichierSur(fichier, "deux").ok);
  EXPECT_EQ(*ContenuFichier(fichier), "deux");
  EXPECT_EQ(std::filesystem::status(fichier).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dossier.Chemin()), std::filesystem::directory_iterator()), 1);
  // A folder where the file should be: refused, nothing changed.
  std::filesystem::create_directory(dossier.Fichier("dossier"));
  EXPECT_FALSE(EcrireFichierSur(dossier.Fichier("dossier"), "x").ok);
  EXPECT_TRUE(std::filesystem::is_directory(dossier.Fichier("dossier")));
}
