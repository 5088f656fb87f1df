// Hostile archives: names that try to leave the target folder, links where
// files go, lengths that the archive does not hold.
#include <gtest/gtest.h>

#include "AideArchive.h"
#include "Dialogues.h"
#include "backup.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

// The archive and the target "paquet/cible" live in a folder of their own;
// nothing may appear anywhere in it but inside the target.
class Surete : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(Cible()); }
  std::string Cible(const std::string& nom = "") const {
    return dossier.Fichier("paquet/cible") + (nom.empty() ? "" : "/" + nom);
  }
  bool Restaurer(const glissaro::test::Archive& a, const std::string& cible) {
    a.Ecrire(dossier.Fichier("hostile.pkg"));
    return b.Restore(dossier.Fichier("hostile.pkg"), cible);
  }
  // What lies outside the target (the archive aside).
  std::vector<std::string> Dehors() const {
    std::vector<std::string> r;
    for (const auto& p : Contenu(dossier.Chemin()))
      if (p != "hostile.pkg" && p != "paquet" && p.rfind("paquet/cible", 0) != 0) r.push_back(p);
    return r;
  }
  std::vector<std::string> Dedans() const { return Contenu(Cible()); }

  DossierTemporaire dossier;
  DialoguesScriptes dialogues;
  TBackupFile b{&dialogues};
};

TEST_F(Surete, LesNomsSontReduitsAUnNomSimpleDansLeDossier) {
  for (const std::string nom : {"..\\..\\x", "/etc/x", "C:\\x", "a/../../x", "..:x", "D:x", "\\\\serveur\\partage\\x"}) {
    SCOPED_TRACE(nom);
    std::filesystem::remove_all(Cible());
    EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Fichier(nom, "hostile").Fin(), Cible()));
    EXPECT_EQ(Dedans(), std::vector<std::string>{"x"});
    EXPECT_EQ(Lire(Cible("x")), "hostile");
    EXPECT_TRUE(Dehors().empty());
  }
}

TEST_F(Surete, UnNomVidePointOuPointPointEstRefuseEtLeDejaEcritReste) {
  for (const std::string nom : {":", "..", ".", "a\\..", "dossier/", "C:"}) {
    SCOPED_TRACE(nom);
    std::filesystem::remove_all(Cible());
    dialogues.appels.clear();
    EXPECT_FALSE(Restaurer(
        glissaro::test::Archive().Entete(0).Fichier("avant.wbp", "A").Fichier(nom, "hostile").Fichier("apres", "B").Fin(),
        Cible()));
    EXPECT_EQ(b.ErrorCode(), kErrUnsafeName);
    EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Unsafe file name in archive: " + nom});
    EXPECT_EQ(Dedans(), std::vector<std::string>{"avant.wbp"});
    EXPECT_EQ(b.FilesRestored(), 1);
    EXPECT_TRUE(Dehors().empty());
  }
}

TEST_F(Surete, LesCheminsCompletsRestentDansLeDossier) {
  b.RestoreFullPath = true;
  // The first three characters are a drive; what follows is kept below the
  // target, without a root.
  EXPECT_TRUE(Restaurer(glissaro::test::Archive()
                            .Entete(0)
                            .Fichier("C:\\Glissaro\\plateaux\\a.wbp", "A")
                            .Fichier("C:\\/etc/b", "B")
                            .Fichier("C:\\.\\c", "C")
                            .Fin(),
                        Cible()));
  EXPECT_EQ(Dedans(), (std::vector<std::string>{"Glissaro", "Glissaro/plateaux", "Glissaro/plateaux/a.wbp", "c",
                                                "etc", "etc/b"}));
  EXPECT_TRUE(Dehors().empty());

  for (const std::string nom : {"a/../../x", "C:\\a\\..\\..\\x", "C:\\..", "ab"}) {
    SCOPED_TRACE(nom);
    std::filesystem::remove_all(Cible());
    EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier(nom, "hostile").Fin(), Cible()));
    EXPECT_EQ(b.ErrorCode(), kErrUnsafeName);
    EXPECT_TRUE(Dehors().empty());
  }
}

TEST_F(Surete, SansDossierCibleLesCheminsRestentSousLeDossierCourant) {
  DossierCourant courant(Cible());
  EXPECT_TRUE(Restaurer(glissaro::test::Archive()
                            .Entete(0)
                            .Fichier("sous\\dossier\\a.wbp", "A")
                            .Fichier("C:\\Jeux\\b.wbp", "B")
                            .Fichier("/tmp/c.wbp", "C")
                            .Fin(),
                        ""));
  EXPECT_EQ(Dedans(), (std::vector<std::string>{"Jeux", "Jeux/b.wbp", "sous", "sous/dossier", "sous/dossier/a.wbp",
                                                "tmp", "tmp/c.wbp"}));
  EXPECT_EQ(Lire(Cible("sous/dossier/a.wbp")), "A");

  for (const std::string nom : {"../x", "a\\..\\..\\x", "C:..\\x", ":"}) {
    SCOPED_TRACE(nom);
    EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier(nom, "hostile").Fin(), ""));
    EXPECT_EQ(b.ErrorCode(), kErrUnsafeName);
    EXPECT_TRUE(Dehors().empty());
  }
}

TEST_F(Surete, UnLienSymboliqueNEstPasSuivi) {
  const auto victime = dossier.Fichier("victime");
  EcrireTexte(victime, "intact");
  std::filesystem::create_symlink(victime, Cible("x.wbp"));
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier("x.wbp", "hostile").Fin(), Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrSymbolicLink);
  EXPECT_EQ(Lire(victime), "intact");
  EXPECT_TRUE(std::filesystem::is_symlink(Cible("x.wbp")));
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Symbolic link at a target path: " + Cible("x.wbp")});

  // A link to nowhere is not followed either.
  std::filesystem::create_symlink(dossier.Fichier("cree"), Cible("y.wbp"));
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier("y.wbp", "hostile").Fin(), Cible()));
  EXPECT_FALSE(std::filesystem::exists(dossier.Fichier("cree")));

  // Nor a stored folder that is a link.
  std::filesystem::create_directories(dossier.Fichier("ailleurs"));
  std::filesystem::create_directory_symlink(dossier.Fichier("ailleurs"), Cible("lien"));
  b.RestoreFullPath = true;
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier("C:\\lien\\z.wbp", "hostile").Fin(), Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrSymbolicLink);
  EXPECT_TRUE(std::filesystem::is_empty(dossier.Fichier("ailleurs")));
}

TEST_F(Surete, UnBlocTropLongEstUneErreurDeLecture) {
  // Written: the file is neither kept nor counted; the restore stops.
  auto archive = glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Entree("b.wbp");
  archive.Entier(-16385).Octets(std::string(16385, 'x')).FinDonnees().Fichier("c.wbp", "C").Fin();
  EXPECT_FALSE(Restaurer(archive, Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrCannotReadFile);
  EXPECT_EQ(b.FilesRestored(), 1);
  EXPECT_EQ(Dedans(), std::vector<std::string>{"a.wbp"});

  // Skipped: nothing written, the read error leaves Restore.
  b.RestoreMode = TRestoreMode::rmExisting;
  EXPECT_THROW(Restaurer(archive, Cible("vide")), EBackupError);
  EXPECT_FALSE(b.Busy());
}

TEST_F(Surete, UneLongueurQuiDepasseLaFinEstUneErreurDeLecture) {
  // A block announced longer than what follows.
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Entree("a.wbp").Entier(10000).Octets("court"), Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrCannotReadFile);

  // A name of two gigabytes: refused before anything is allocated.
  try {
    Restaurer(glissaro::test::Archive().Entete(0).Entier(0x7FFFFFFF).Octets("a.wbp"), Cible());
    ADD_FAILURE() << "aucune exception";
  } catch (const EBackupError& e) {
    EXPECT_STREQ(e.what(), kStreamReadError);
  }
  // A header text of two gigabytes.
  EXPECT_THROW(Restaurer(glissaro::test::Archive().Entier(0x7FFFFFFF).Octets("x"), Cible()), EBackupError);
  // The same read from a stream that cannot tell its end.
  struct FluxSansFin : std::streambuf {
    std::string octets;
    std::size_t i = 0;
    int_type underflow() override {
      if (i >= octets.size()) return traits_type::eof();
      return traits_type::to_int_type(octets[i]);
    }
    int_type uflow() override {
      if (i >= octets.size()) return traits_type::eof();
      return traits_type::to_int_type(octets[i++]);
    }
  } tampon;
  tampon.octets = glissaro::test::Archive().Entete(0).Entier(0x7FFFFFFF).Octets("a.wbp").octets;
  std::istream flux(&tampon);
  b.ArchiveStream = &flux;
  EXPECT_THROW(b.Restore(":STREAM", Cible()), EBackupError);
  EXPECT_TRUE(Dehors().empty());
}

TEST_F(Surete, UneExtensionDeVolumeAvecSeparateurEstRefusee) {
  b.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) { ADD_FAILURE() << "question posée"; };
  EXPECT_THROW(Restaurer(glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Volume("/.."), Cible()),
               EBackupError);
  // a.wbp ended whole before the marker: it is kept, and nothing else.
  EXPECT_EQ(Dedans(), std::vector<std::string>{"a.wbp"});
  EXPECT_EQ(Lire(Cible("a.wbp")), "A");
}

}  // namespace

namespace {

TEST_F(Surete, UneBombeEstArreteeALaBorneSansRienEcrireAuDela) {
  // 137 KB whose one board inflates to 52 MB; then a picture (bounded at
  // 64 MiB) three times larger than the whole pack says it holds.
  auto bombe = glissaro::test::Archive().Entete(1000).Fichier("avant.wbp", "A").Entree("bombe.wbp");
  const std::string zeros = Deflate(std::string(16384, '\0'));
  for (int i = 0; i < 3200; ++i) bombe.Entier(static_cast<int32_t>(zeros.size())).Octets(zeros);
  bombe.FinDonnees().Fichier("apres.wbp", "B").Fin();
  ASSERT_LT(bombe.octets.size(), 140'000u);
  std::vector<int64_t> ecrits;
  b.OnProgress = [&](TBackupFile& s, const std::string&, TPercentage, bool&) { ecrits.push_back(s.BytesRestored()); };
  EXPECT_FALSE(Restaurer(bombe, Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrTooLarge);
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Paquet refusé, il écrirait trop : le fichier " +
                                                                  Cible("bombe.wbp") + " dépasserait 65536 octets"});
  EXPECT_EQ(Dedans(), std::vector<std::string>{"avant.wbp"});  // the bomb removed, what came before kept
  EXPECT_LE(ecrits.back(), 1 + 65536);

  dialogues.appels.clear();
  std::filesystem::remove_all(Cible());
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(10).Fichier("image.png", Texte(200'000)).Fin(), Cible()));
  ASSERT_EQ(dialogues.Textes("erreur").size(), 1u);
  EXPECT_EQ(dialogues.Textes("erreur")[0], "Paquet refusé, il écrirait trop : il écrirait plus de 65547 octets (il en annonce 10)");
  EXPECT_TRUE(Dedans().empty());
}

TEST_F(Surete, UneRestaurationAnnuleeSArreteEntreDeuxBlocs) {
  // Cancelled while the second block of b.wbp is read: a.wbp stays, b.wbp
  // is dropped, nothing is said.
  auto archive = glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Entree("b.wbp");
  archive.Stocke("un").Stocke("deux").Stocke("trois").FinDonnees().Fin();
  int blocs = 0;
  b.ProcessMessages = [&] {
    if (++blocs == 3) b.Cancel();  // a.wbp's block, its end, then b.wbp's first
  };
  EXPECT_FALSE(Restaurer(archive, Cible()));
  EXPECT_EQ(blocs, 3);
  EXPECT_EQ(b.BytesRestored(), 3);  // "A", then "un"
  EXPECT_EQ(Dedans(), std::vector<std::string>{"a.wbp"});
  EXPECT_EQ(b.FilesRestored(), 1);
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST_F(Surete, LesTemporairesAbandonnesPartentEtLesNomsLongsPassent) {
  // What a restore killed midway left; and a name of 254 bytes, which the
  // file system takes, with a temporary name that would not have fit.
  EcrireTexte(Cible(".glissaro-Ab12Cd"), "abandonné");
  EcrireTexte(Cible(".glissaro-notes.txt"), "au joueur");
  const std::string long254 = std::string(250, 'n') + ".wbp";
  const std::string long300 = std::string(296, 'n') + ".wbp";
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Fichier(long254, "L").Fin(), Cible()));
  EXPECT_EQ(Dedans(), (std::vector<std::string>{".glissaro-notes.txt", long254}));
  EXPECT_EQ(Lire(Cible(long254)), "L");
  // One too long for any file system: said in French.
  EXPECT_FALSE(Restaurer(glissaro::test::Archive().Entete(0).Fichier(long300, "L").Fin(), Cible()));
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Nom de fichier trop long : " + Cible(long300)});
  EXPECT_EQ(Dedans(), (std::vector<std::string>{".glissaro-notes.txt", long254}));
}

}  // namespace
