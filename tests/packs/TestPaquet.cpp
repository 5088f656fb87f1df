// The pack maker and its commands: glissaro-outils paquet creer, lister,
// extraire.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <sstream>

#include "AideArchive.h"
#include "core/AideOutils.h"
#include "Outils.h"
#include "Paquet.h"
#include "backup.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

int32_t Entier(const std::string& o, std::size_t i) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<unsigned char>(o[i])) |
                              static_cast<uint32_t>(static_cast<unsigned char>(o[i + 1])) << 8 |
                              static_cast<uint32_t>(static_cast<unsigned char>(o[i + 2])) << 16 |
                              static_cast<uint32_t>(static_cast<unsigned char>(o[i + 3])) << 24);
}

// A folder of files to pack: an empty one, incompressible bytes over
// several blocks, text, an accented name; and a sub-folder left out.
class Paquet : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Source("sous-dossier"));
    EcrireTexte(Source("sous-dossier/oublie.wbp"), "jamais");
    EcrireTexte(Source("vide.wbp"), "");
    EcrireTexte(Source("hasard.bin"), hasard);
    EcrireTexte(Source("Âne rouge.wbp"), texte);
    DaterFichier(Source("vide.wbp"), 2002, 2, 2);
    DaterFichier(Source("hasard.bin"), 2011, 11, 11);
    DaterFichier(Source("Âne rouge.wbp"), 1995, 5, 5);  // before 1980 would be clamped; 1995 kept
  }
  std::string Source(const std::string& nom = "") const {
    return dossier.Fichier("source") + (nom.empty() ? "" : "/" + nom);
  }

  DossierTemporaire dossier;
  const std::string hasard = Aleatoire(40000);
  const std::string texte = Texte(50000);
};

TEST_F(Paquet, CreerListerExtraireRendLesMemesFichiers) {
  const auto archive = dossier.Fichier("Pack07.pkg");
  auto s = Lancer({"paquet", "creer", archive, Source()});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  EXPECT_EQ(s.sortie, "fichiers 3\nvolumes 1\n");

  s = Lancer({"paquet", "lister", archive});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  std::istringstream lignes(s.sortie);
  std::string liste, l1, l2, l3, reste;
  std::getline(lignes, liste);
  std::getline(lignes, l1);
  std::getline(lignes, l2);
  std::getline(lignes, l3);
  EXPECT_FALSE(std::getline(lignes, reste));
  // The file list comes first: one name a line, CR LF, as stored (sorted
  // by their Windows-1252 bytes: "Â" comes after the ASCII letters).
  EXPECT_EQ(liste.rfind("FILE:LIST 37 ", 0), 0u) << liste;
  EXPECT_EQ(l1, "hasard.bin 40000 " + paquet::TexteDate(DateDuFichier(Source("hasard.bin"))));
  EXPECT_EQ(l2, "vide.wbp 0 2002-02-02 12:00:00");
  EXPECT_EQ(l3, "Âne rouge.wbp 50000 1995-05-05 12:00:00");

  s = Lancer({"paquet", "extraire", archive, dossier.Fichier("dest")});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  EXPECT_EQ(s.sortie, "fichiers 3\n");
  EXPECT_EQ(Contenu(dossier.Fichier("dest")), (std::vector<std::string>{"hasard.bin", "vide.wbp", "Âne rouge.wbp"}));
  EXPECT_EQ(Lire(dossier.Fichier("dest/hasard.bin")), hasard);
  EXPECT_EQ(Lire(dossier.Fichier("dest/Âne rouge.wbp")), texte);
  EXPECT_EQ(Lire(dossier.Fichier("dest/vide.wbp")), "");
  for (const char* nom : {"hasard.bin", "vide.wbp", "Âne rouge.wbp"})
    EXPECT_EQ(DateDuFichier(dossier.Fichier("dest/") + nom), DateDuFichier(Source(nom))) << nom;
}

TEST_F(Paquet, LeFormatEcritEstCeluiQueLeLecteurAttend) {
  const auto archive = dossier.Fichier("Pack07.pkg");
  ASSERT_EQ(Lancer({"paquet", "creer", archive, Source()}).statut, 0);
  const std::string o = Lire(archive);
  // Header: our text, the total of the file sizes, 0.
  const auto l = static_cast<std::size_t>(Entier(o, 0));
  EXPECT_EQ(o.substr(4, l), paquet::kTexteEntete);
  EXPECT_EQ(Entier(o, 4 + l), 90000);
  EXPECT_EQ(Entier(o, 8 + l), 0);
  // First entry: FILE:LIST, its date, the marker, one block of the names.
  std::size_t i = 12 + l;
  EXPECT_EQ(Entier(o, i), 9);
  EXPECT_EQ(o.substr(i + 4, 9), "FILE:LIST");
  i += 4 + 9 + 4;
  EXPECT_EQ(o.substr(i, 4), std::string("EC2\0", 4));
  i += 4;
  // Incompressible data is stored, text compressed: walk every block.
  auto blocs = [&](std::size_t& j) {
    std::pair<int, int> stockesCompresses{0, 0};
    while (true) {
      const int32_t b = Entier(o, j);
      j += 4;
      if (b == 0) return stockesCompresses;
      EXPECT_LE(std::abs(b), 16384);
      (b < 0 ? stockesCompresses.first : stockesCompresses.second)++;
      j += static_cast<std::size_t>(std::abs(b));
    }
  };
  blocs(i);
  const std::vector<std::pair<std::string, std::pair<int, int>>> attendus = {
      {"hasard.bin", {3, 0}}, {"vide.wbp", {0, 0}}, {"\xC2ne rouge.wbp", {0, 4}}};
  for (const auto& [nom, nombres] : attendus) {
    EXPECT_EQ(Entier(o, i), static_cast<int32_t>(nom.size()));
    EXPECT_EQ(o.substr(i + 4, nom.size()), nom);
    i += 4 + nom.size() + 4;
    EXPECT_EQ(o.substr(i, 4), std::string("EC2\0", 4));
    i += 4;
    EXPECT_EQ(blocs(i), nombres) << nom;
  }
  EXPECT_EQ(Entier(o, i), 0);
  EXPECT_EQ(i + 4, o.size());

  // Without compression, every block is stored.
  ASSERT_EQ(Lancer({"paquet", "creer", archive, Source(), "--compression", "aucune"}).statut, 0);
  EXPECT_NE(Lire(archive).find(texte.substr(0, 16384)), std::string::npos);
}

TEST_F(Paquet, LesVolumesSontBornesEtSeRestaurentEnSuivantLesMarques) {
  const auto archive = dossier.Fichier("Pack08.pkg");
  auto s = Lancer({"paquet", "creer", archive, Source(), "--volume", "5000", "--compression", "max"});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  std::istringstream sortie(s.sortie);
  std::string mot;
  int fichiers = 0, volumes = 0;
  sortie >> mot >> fichiers >> mot >> volumes;
  EXPECT_EQ(fichiers, 3);
  ASSERT_GE(volumes, 9);
  for (int v = 1; v <= volumes; ++v) {
    const auto nom = v == 1 ? archive : paquet::NomVolume(archive, v);
    ASSERT_TRUE(std::filesystem::exists(nom)) << nom;
    EXPECT_LE(std::filesystem::file_size(nom), 5000u) << nom;
  }
  EXPECT_EQ(paquet::NomVolume(archive, 2), dossier.Fichier("Pack08.002"));
  EXPECT_FALSE(std::filesystem::exists(paquet::NomVolume(archive, volumes + 1)));

  s = Lancer({"paquet", "lister", archive});
  EXPECT_EQ(s.statut, 0) << s.erreurs;
  EXPECT_NE(s.sortie.find("hasard.bin 40000 "), std::string::npos);
  EXPECT_NE(s.sortie.find("Âne rouge.wbp 50000 "), std::string::npos);

  s = Lancer({"paquet", "extraire", archive, dossier.Fichier("dest")});
  ASSERT_EQ(s.statut, 0) << s.erreurs;
  EXPECT_EQ(s.sortie, "fichiers 3\n");
  EXPECT_EQ(Lire(dossier.Fichier("dest/hasard.bin")), hasard);
  EXPECT_EQ(Lire(dossier.Fichier("dest/Âne rouge.wbp")), texte);

  // A volume missing: the prompt is cancelled, what came before stays.
  std::filesystem::remove(paquet::NomVolume(archive, volumes));
  s = Lancer({"paquet", "extraire", archive, dossier.Fichier("dest2")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.sortie.rfind("fichiers ", 0), 0u);
  EXPECT_NE(s.erreurs.find(paquet::NomVolume(archive, volumes)), std::string::npos) << s.erreurs;
  EXPECT_TRUE(std::filesystem::exists(dossier.Fichier("dest2/hasard.bin")));
  s = Lancer({"paquet", "lister", archive});
  EXPECT_EQ(s.statut, 1);
}

TEST_F(Paquet, UnDossierVideDonneUnPaquetSansFichier) {
  std::filesystem::create_directories(dossier.Fichier("rien"));
  const auto archive = dossier.Fichier("Vide.pkg");
  EXPECT_EQ(Lancer({"paquet", "creer", archive, dossier.Fichier("rien")}).sortie, "fichiers 0\nvolumes 1\n");
  const auto s = Lancer({"paquet", "extraire", archive, dossier.Fichier("dest")});
  EXPECT_EQ(s.statut, 0);
  EXPECT_EQ(s.sortie, "fichiers 0\n");
  EXPECT_TRUE(Contenu(dossier.Fichier("dest")).empty());
}

TEST_F(Paquet, ExtraireSignaleLesErreurs) {
  // A missing archive.
  auto s = Lancer({"paquet", "extraire", dossier.Fichier("absent.pkg"), dossier.Fichier("dest")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.sortie, "fichiers 0\n");
  EXPECT_EQ(s.erreurs, "Impossible d'ouvrir le fichier " + dossier.Fichier("absent.pkg") + "\n");
  // A damaged block: the component's error.
  std::string bloc = Deflate(texte.substr(0, 1000));
  bloc[bloc.size() / 2] = static_cast<char>(bloc[bloc.size() / 2] ^ 0xFF);
  Archive a;
  a.Entete(1000).Entree("a.wbp").Entier(static_cast<int32_t>(bloc.size())).Octets(bloc).FinDonnees().Fin();
  a.Ecrire(dossier.Fichier("abime.pkg"));
  s = Lancer({"paquet", "extraire", dossier.Fichier("abime.pkg"), dossier.Fichier("dest")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.sortie, "fichiers 1\n");
  EXPECT_EQ(s.erreurs, "Compression error\n");
  // An archive that cannot be read: the exception's text.
  EcrireTexte(dossier.Fichier("court.pkg"), "ab");
  s = Lancer({"paquet", "extraire", dossier.Fichier("court.pkg"), dossier.Fichier("dest")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.erreurs, "Cannot read archive\n");
  s = Lancer({"paquet", "lister", dossier.Fichier("court.pkg")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_NE(s.erreurs.find("Paquet illisible"), std::string::npos);
  // Volumes that come round again: Boucle.002 sends back to Boucle.pkg.
  Archive().Entete(0).Entree("a.wbp").Stocke("A").FinDonnees().Volume("002").Ecrire(dossier.Fichier("Boucle.pkg"));
  Archive().Marque().FinDonnees().Volume("pkg").Ecrire(dossier.Fichier("Boucle.002"));
  s = Lancer({"paquet", "extraire", dossier.Fichier("Boucle.pkg"), dossier.Fichier("dest")});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.erreurs, "Volume already read: " + dossier.Fichier("Boucle.pkg") + "\n");
}

TEST_F(Paquet, CreerRefuseUnVolumeTropPetitEtUnNomQueLeLecteurCouperait) {
  const auto archive = dossier.Fichier("P.pkg");
  auto s = Lancer({"paquet", "creer", archive, Source(), "--volume", "1023"});
  EXPECT_EQ(s.statut, 1);
  EXPECT_NE(s.erreurs.find("Taille de volume trop petite"), std::string::npos);
  // The smallest volume: blocks too large for it go in stored pieces.
  EXPECT_EQ(Lancer({"paquet", "creer", archive, Source(), "--volume", "1024"}).statut, 0);
  EXPECT_EQ(Lancer({"paquet", "extraire", archive, dossier.Fichier("dest")}).sortie, "fichiers 3\n");
  EXPECT_EQ(Lire(dossier.Fichier("dest/hasard.bin")), hasard);
  EXPECT_EQ(Lire(dossier.Fichier("dest/Âne rouge.wbp")), texte);
  EcrireTexte(Source("a\\b.wbp"), "x");
  s = Lancer({"paquet", "creer", archive, Source()});
  EXPECT_EQ(s.statut, 1);
  EXPECT_NE(s.erreurs.find("a\\b.wbp"), std::string::npos);
}

TEST_F(Paquet, UnPaquetFaitDansLeDossierQuIlRangeNeSeContientPas) {
  // An old version of the pack, and one of its volumes, lie in the folder.
  EcrireTexte(Source("Pack09.pkg"), "ancien paquet");
  EcrireTexte(Source("Pack09.002"), "ancien volume");
  ASSERT_EQ(Lancer({"paquet", "creer", Source("Pack09.pkg"), Source()}).statut, 0);
  const auto liste = paquet::ListerPaquet(Source("Pack09.pkg"));
  ASSERT_TRUE(liste.ok) << liste.message;
  std::vector<std::string> noms;
  for (const auto& e : liste.entrees) noms.push_back(e.nom);
  EXPECT_EQ(noms, (std::vector<std::string>{"FILE:LIST", "hasard.bin", "vide.wbp", "Âne rouge.wbp"}));
}

// A small file system of its own (128 KiB), which the test fills up.
// Needs the right to mount (root).
TEST_F(Paquet, UnDisquePleinLaisseLAncienPaquetEtLeDitEnFrancais) {
  const std::string disque = dossier.Fichier("disque");
  std::filesystem::create_directories(disque);
  if (geteuid() != 0 || ::mount("tmpfs", disque.c_str(), "tmpfs", 0, "size=128k") != 0)
    GTEST_SKIP() << "pas de droit de monter un petit système de fichiers ici";
  struct Demonter {
    std::string d;
    ~Demonter() { ::umount(d.c_str()); }
  } demonter{disque};
  const std::string archive = disque + "/Pack10.pkg";
  ASSERT_EQ(Lancer({"paquet", "creer", archive, Source(), "--compression", "aucune"}).statut, 0);
  const std::string ancien = Lire(archive);
  // Larger now than the disk can take beside the old one.
  EcrireTexte(Source("encore.bin"), Aleatoire(60000, 7));
  auto s = Lancer({"paquet", "creer", archive, Source(), "--compression", "aucune"});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.erreurs, "Impossible d'écrire " + archive + " : disque plein\n");
  EXPECT_EQ(Lire(archive), ancien);
  EXPECT_EQ(Contenu(disque), std::vector<std::string>{"Pack10.pkg"});  // no temporary file left

  // Restored onto the full disk: the file that does not fit is said in
  // French, and not kept half written.
  s = Lancer({"paquet", "extraire", archive, disque + "/dest"});
  EXPECT_EQ(s.statut, 1);
  EXPECT_EQ(s.erreurs, "Impossible d'écrire " + disque + "/dest/hasard.bin : disque plein\n");
  EXPECT_EQ(Contenu(disque + "/dest"), std::vector<std::string>{});
}

}  // namespace
