// The player's folder made from the shipped data and brought up to date.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "AideFichiers.h"
#include "AidePlateau.h"
#include "FichierPlateau.h"
#include "Fichiers.h"
#include "Installation.h"
#include "Sha256.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::DossierTemporaire;

namespace {

class Installation : public ::testing::Test {
 protected:
  // Shipped data: two boards, a skin picture, an executable.
  void SetUp() override {
    Livrer("plateaux/1 - Essais/01 - Le coin.wbp", Plateau("Le coin"));
    Livrer("plateaux/1 - Essais/02 - Le bord.wbp", Plateau("Le bord"));
    Livrer("skins/Glissaro/pieces.bmp", "BM image");
    Livrer("glissaro-outils", "#!/bin/sh\n");
    chmod(Livre("glissaro-outils").c_str(), 0755);
  }
  static std::string Plateau(const std::string& titre) {
    return TexteDuPlateau(glissaro::test::Dessiner({"A.", ".."}, {"..", ".x"}, titre), "1");
  }
  std::string Livre(const std::string& f = "") const { return dossier.Fichier("livre/" + f); }
  std::string Joueur(const std::string& f = "") const { return dossier.Fichier("joueur/" + f); }
  void Livrer(const std::string& f, const std::string& contenu) const {
    std::filesystem::create_directories(std::filesystem::path(Livre(f)).parent_path());
    ASSERT_TRUE(EcrireFichierSur(Livre(f), contenu).ok);
  }
  ResultatInstallation MettreAJour() const { return MettreAJourDossierJoueur(Livre(), Joueur()); }

  DossierTemporaire dossier;
};

TEST_F(Installation, LaPremiereFoisToutEstLivreEnsuiteRienNeBouge) {
  const auto r = MettreAJour();
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.copies, 4);
  EXPECT_EQ(ContenuFichier(Joueur("plateaux/1 - Essais/01 - Le coin.wbp")), Plateau("Le coin"));
  EXPECT_TRUE(std::filesystem::is_directory(Joueur("sequences")));
  struct stat infos {};
  ASSERT_EQ(stat(Joueur("glissaro-outils").c_str(), &infos), 0);
  EXPECT_EQ(infos.st_mode & 0777, 0755u);
  // The manifest as sha256sum writes it.
  EXPECT_NE(ContenuFichier(Joueur(".livres"))->find(Sha256De(Plateau("Le coin")) + "  plateaux/1 - Essais/01 - Le coin.wbp\n"),
            std::string::npos);
  const auto encore = MettreAJour();
  EXPECT_TRUE(encore.ok);
  EXPECT_EQ(encore.copies + encore.nouveaux + encore.retires, 0);
}

TEST_F(Installation, UneMiseAJourGardeCeQueLeJoueurAChangeEtSesPropresFichiers) {
  ASSERT_TRUE(MettreAJour().ok);
  // The player changes a shipped board and a shipped picture, keeps their
  // own things beside.
  ASSERT_TRUE(EcrireFichierSur(Joueur("plateaux/1 - Essais/01 - Le coin.wbp"), Plateau("Mon coin")).ok);
  ASSERT_TRUE(EcrireFichierSur(Joueur("skins/Glissaro/pieces.bmp"), "retouchée").ok);
  const std::map<std::string, std::string> siens = {{"Glissaro.ini", "[skin]\r\nNom=Ardoise\r\n"},
                                                   {"Records.ini", "[0123456789ABCDEF]\r\nMeilleur=3\r\n"},
                                                   {"sequences/partie.swb", "x"},
                                                   {"plateaux/Les miens/Mien.wbp", Plateau("Mien")},
                                                   {"skins/Autre/skin.ini", "[VERSION]\r\n"}};
  for (const auto& [f, contenu] : siens) {
    std::filesystem::create_directories(std::filesystem::path(Joueur(f)).parent_path());
    ASSERT_TRUE(EcrireFichierSur(Joueur(f), contenu).ok);
  }
  // A new version: both boards change, the second board is no longer
  // shipped after the player changed it, a third one is gone unchanged.
  Livrer("plateaux/1 - Essais/01 - Le coin.wbp", Plateau("Le coin, revu"));
  Livrer("skins/Glissaro/pieces.bmp", "BM nouvelle image");
  Livrer("plateaux/2 - Suite/01 - Le couloir.wbp", Plateau("Le couloir"));
  ASSERT_TRUE(MettreAJour().ok);
  ASSERT_TRUE(EcrireFichierSur(Joueur("plateaux/1 - Essais/02 - Le bord.wbp"), Plateau("Mon bord")).ok);
  std::filesystem::remove(Livre("plateaux/1 - Essais/02 - Le bord.wbp"));
  std::filesystem::remove(Livre("plateaux/2 - Suite/01 - Le couloir.wbp"));
  const auto r = MettreAJour();
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.retires, 1);
  EXPECT_FALSE(std::filesystem::exists(Joueur("plateaux/2 - Suite")));  // removed, and its folder empty
  EXPECT_EQ(ContenuFichier(Joueur("plateaux/1 - Essais/02 - Le bord.wbp")), Plateau("Mon bord"));
  // The changed board stays; the new one beside it, titled after its file.
  EXPECT_EQ(ContenuFichier(Joueur("plateaux/1 - Essais/01 - Le coin.wbp")), Plateau("Mon coin"));
  TPlateau nouveau;
  ASSERT_EQ(LirePlateau(Joueur("plateaux/1 - Essais/01 - Le coin (nouveau).wbp"), nouveau).statut, StatutLecture::Ok);
  EXPECT_EQ(nouveau.Titre, "Le coin (nouveau)");
  // A picture the player changed is shipped again.
  EXPECT_EQ(ContenuFichier(Joueur("skins/Glissaro/pieces.bmp")), "BM nouvelle image");
  for (const auto& [f, contenu] : siens) EXPECT_EQ(ContenuFichier(Joueur(f)), contenu) << f;

  // Removed: the shipped files the player did not change.
  const auto retrait = RetirerFichiersLivres(Joueur());
  EXPECT_EQ(retrait.gardes, 1);
  EXPECT_FALSE(std::filesystem::exists(Joueur("skins/Glissaro/pieces.bmp")));
  EXPECT_TRUE(std::filesystem::exists(Joueur("plateaux/1 - Essais/01 - Le coin.wbp")));
  EXPECT_FALSE(std::filesystem::exists(Joueur(".livres")));
  for (const auto& [f, contenu] : siens) EXPECT_EQ(ContenuFichier(Joueur(f)), contenu) << f;
}

TEST_F(Installation, AuDemarrageRienNEstLuTantQueLesDonneesLivreesNOntPasChange) {
  ASSERT_TRUE(MettreAJourSiLivreChange(Livre(), Joueur()).ok);
  EXPECT_EQ(ContenuFichier(Joueur("skins/Glissaro/pieces.bmp")), "BM image");
  // Unchanged shipped data: a file the player removed stays removed.
  std::filesystem::remove(Joueur("skins/Glissaro/pieces.bmp"));
  EXPECT_EQ(MettreAJourSiLivreChange(Livre(), Joueur()).copies, 0);
  EXPECT_FALSE(std::filesystem::exists(Joueur("skins/Glissaro/pieces.bmp")));
  // A new version (a package update): the folder is brought up to date.
  Livrer("skins/Glissaro/pieces.bmp", "BM image 2");
  const auto r = MettreAJourSiLivreChange(Livre(), Joueur());
  EXPECT_EQ(r.copies, 1);
  EXPECT_EQ(ContenuFichier(Joueur("skins/Glissaro/pieces.bmp")), "BM image 2");
}

TEST_F(Installation, UnDossierImpossibleACreerEstDitEtLeManifesteResteCommeIlEtait) {
  ASSERT_TRUE(EcrireFichierSur(dossier.Fichier("fichier"), "x").ok);
  const auto r = MettreAJourDossierJoueur(Livre(), dossier.Fichier("fichier/joueur"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Impossible de créer le dossier " + dossier.Fichier("fichier/joueur/") +
                           " : le jeu ne peut pas y garder vos plateaux, réglages et records.");
}

TEST(DossierDuJeu, LeDossierDuProgrammeOuCeluiDuJoueur) {
  DossierTemporaire dossier;
  const auto choisir = [](const std::string& executable, std::map<std::string, std::string> env) {
    return ChoisirDossierDuJeu(executable, [env](const char* nom) -> const char* {
      const auto it = env.find(nom);
      return it == env.end() ? nullptr : it->second.c_str();
    });
  };
  // A program folder with its data: itself.
  std::filesystem::create_directories(dossier.Fichier("programme/skins"));
  auto d = choisir(dossier.Fichier("programme"), {{"HOME", "/maison"}});
  EXPECT_EQ(d.programme, dossier.Fichier("programme/"));
  EXPECT_FALSE(d.livre);
  // Installed for the machine: the player's folder, from the shipped data.
  std::filesystem::create_directories(dossier.Fichier("usr/games"));
  std::filesystem::create_directories(dossier.Fichier("usr/share/games/glissaro"));
  d = choisir(dossier.Fichier("usr/games"), {{"HOME", "/maison"}, {"XDG_DATA_HOME", "relatif"}});
  EXPECT_EQ(d.programme, "/maison/.local/share/glissaro/");
  EXPECT_EQ(d.livre, dossier.Fichier("usr/share/games/glissaro/"));
  d = choisir(dossier.Fichier("usr/games"), {{"HOME", "/maison"}, {"XDG_DATA_HOME", "/donnees"}});
  EXPECT_EQ(d.programme, "/donnees/glissaro/");
  d = choisir(dossier.Fichier("usr/games"), {});
  EXPECT_FALSE(d.erreur.empty());
}

TEST(Sha256, LesValeursDeReference) {
  EXPECT_EQ(Sha256De(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256De("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Over several blocks, added in pieces of any size.
  Sha256 morceaux;
  const std::string million(1'000'000, 'a');
  for (std::size_t i = 0; i < million.size(); i += 777) morceaux.Ajouter(std::string_view(million).substr(i, 777));
  EXPECT_EQ(morceaux.Hexadecimal(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
