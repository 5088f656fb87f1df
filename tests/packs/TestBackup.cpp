// The restore of TBackupFile on archives written byte by byte.
#include <gtest/gtest.h>

#include <utility>

#include "AideArchive.h"
#include "Dialogues.h"
#include "backup.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

struct Progression {
  std::string fichier;
  int pourcent;
};

// An archive in a folder of its own, restored into the sub-folder "cible".
class Restauration : public ::testing::Test {
 protected:
  std::string Archive(const glissaro::test::Archive& a, const std::string& nom = "Pack01.pkg") {
    const auto chemin = dossier.Fichier(nom);
    a.Ecrire(chemin);
    return chemin;
  }
  std::string Cible(const std::string& nom = "") const { return dossier.Fichier("cible") + (nom.empty() ? "" : "/" + nom); }
  bool Restaurer(const glissaro::test::Archive& a) { return b.Restore(Archive(a), Cible()); }

  DossierTemporaire dossier;
  DialoguesScriptes dialogues;
  TBackupFile b{&dialogues};
};

TEST_F(Restauration, UnePremiereEntreeNulleNeRestaureRienEtReussit) {
  std::vector<Progression> progression;
  b.OnProgress = [&](TBackupFile& s, const std::string& f, TPercentage p, bool&) {
    EXPECT_EQ(&s, &b);
    progression.push_back({f, p});
  };
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Fin()));
  EXPECT_EQ(b.FilesRestored(), 0);
  EXPECT_FALSE(b.Busy());
  EXPECT_FALSE(std::filesystem::exists(Cible()));
  ASSERT_EQ(progression.size(), 1u);
  EXPECT_EQ(progression[0].fichier, "");
  EXPECT_EQ(progression[0].pourcent, 100);
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST_F(Restauration, UnFichierVideEstCreeEtCompte) {
  std::filesystem::create_directories(Cible());
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Entree("vide.wbp").FinDonnees().Fin()));
  EXPECT_EQ(b.FilesRestored(), 1);
  ASSERT_TRUE(std::filesystem::is_regular_file(Cible("vide.wbp")));
  EXPECT_EQ(std::filesystem::file_size(Cible("vide.wbp")), 0u);
}

TEST_F(Restauration, BlocsStockesEtCompressesAlternentDansLOrdre) {
  const std::string a = Aleatoire(1000, 1), c = Texte(16384), d = Aleatoire(16384, 2), e = Texte(300);
  auto archive = glissaro::test::Archive().Entete(static_cast<int32_t>(a.size() + c.size() + d.size() + e.size()));
  archive.Entree("dossier\\melange.wbp").Stocke(a).Compresse(c).Stocke(d).Compresse(e).FinDonnees().Fin();
  std::vector<std::string> cibles;
  b.OnProgress = [&](TBackupFile&, const std::string& f, TPercentage, bool&) { cibles.push_back(f); };
  EXPECT_TRUE(Restaurer(archive));
  EXPECT_EQ(Lire(Cible("melange.wbp")), a + c + d + e);
  // One report per block, the zero block included, then the final one.
  auto attendues = std::vector<std::string>(5, Cible("melange.wbp"));
  attendues.push_back("");
  EXPECT_EQ(cibles, attendues);
}

TEST_F(Restauration, LaProgressionEstArrondieAuPairLePlusProche) {
  // 200 bytes in all: 1, 3, 5 and 7 bytes written are 0.5, 1.5, 2.5 and 3.5 %.
  auto archive = glissaro::test::Archive().Entete(200).Entree("p.wbp");
  for (int n : {1, 2, 2, 2, 193}) archive.Stocke(std::string(static_cast<std::size_t>(n), 'x'));
  archive.FinDonnees().Fin();
  std::vector<int> pourcents;
  b.OnProgress = [&](TBackupFile&, const std::string&, TPercentage p, bool&) { pourcents.push_back(p); };
  EXPECT_TRUE(Restaurer(archive));
  EXPECT_EQ(pourcents, (std::vector<int>{0, 2, 2, 4, 100, 100, 100}));
}

TEST_F(Restauration, FileListNEstJamaisEcrit) {
  for (auto mode : {TRestoreMode::rmAll, TRestoreMode::rmNoOverwrite, TRestoreMode::rmNewer, TRestoreMode::rmExisting,
                    TRestoreMode::rmExistingNewer}) {
    SCOPED_TRACE(static_cast<int>(mode));
    std::filesystem::remove_all(Cible());
    std::filesystem::create_directories(Cible());
    // Even where a file of that name exists, for the modes that want one.
    EcrireTexte(Cible("FILE:LIST"), "avant");
    EcrireTexte(Cible("LIST"), "avant");
    b.RestoreMode = mode;
    int demandes = 0;
    b.OnRestoreFile = [&](TBackupFile&, std::string&, int32_t, bool&) { ++demandes; };
    EXPECT_TRUE(Restaurer(glissaro::test::Archive()
                              .Entete(0)
                              .Fichier("FILE:LIST", "a.wbp\r\n", DateDos(2030, 1, 1, 0, 0, 0))
                              .Fichier("a.wbp", "plateau")
                              .Fin()));
    EXPECT_EQ(Lire(Cible("FILE:LIST")), "avant");
    EXPECT_EQ(Lire(Cible("LIST")), "avant");
    EXPECT_EQ(demandes, 1);  // a.wbp only
    EXPECT_EQ(b.FilesRestored(), mode == TRestoreMode::rmAll || mode == TRestoreMode::rmNoOverwrite ||
                                         mode == TRestoreMode::rmNewer
                                     ? 1
                                     : 0);
  }
}

TEST_F(Restauration, RmAllRemplaceLesFichiersEtLesDate) {
  std::filesystem::create_directories(Cible());
  EcrireTexte(Cible("a.wbp"), "un ancien plateau bien plus long");
  const int32_t date = DateDos(2001, 2, 3, 4, 5, 6);
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(7).Fichier("C:\\Jeux\\a.wbp", "nouveau", date).Fin()));
  EXPECT_EQ(Lire(Cible("a.wbp")), "nouveau");
  EXPECT_EQ(DateDuFichier(Cible("a.wbp")), date);
}

TEST_F(Restauration, LesModesComparentLesDatesEnEntiersSignes) {
  const int32_t fa = DateDos(2010, 6, 1, 12, 0, 0);
  // Years from 2044 on set the sign bit: such a date is "older" than any
  // date before it.
  const int32_t lointaine = DateDos(2050, 1, 1, 0, 0, 0);
  ASSERT_LT(lointaine, 0);
  struct Cas {
    TRestoreMode mode;
    std::vector<std::string> ecrits;
  };
  const std::vector<Cas> cas = {
      {TRestoreMode::rmAll, {"absent", "ancien", "futur", "recent"}},
      {TRestoreMode::rmNoOverwrite, {"absent"}},
      {TRestoreMode::rmNewer, {"absent", "ancien"}},
      {TRestoreMode::rmExisting, {"ancien", "futur", "recent"}},
      {TRestoreMode::rmExistingNewer, {"ancien"}},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    std::filesystem::remove_all(Cible());
    std::filesystem::create_directories(Cible());
    for (const char* nom : {"ancien", "recent", "futur"}) EcrireTexte(Cible(nom), "existant");
    DaterFichier(Cible("ancien"), 2005, 1, 1);
    DaterFichier(Cible("recent"), 2015, 1, 1);
    DaterFichier(Cible("futur"), 2001, 1, 1);
    b.RestoreMode = c.mode;
    EXPECT_TRUE(Restaurer(glissaro::test::Archive()
                              .Entete(0)
                              .Fichier("absent", "neuf", fa)
                              .Fichier("ancien", "neuf", fa)
                              .Fichier("recent", "neuf", fa)
                              .Fichier("futur", "neuf", lointaine)
                              .Fin()));
    std::vector<std::string> ecrits;
    for (const char* nom : {"absent", "ancien", "futur", "recent"})
      if (Lire(Cible(nom)) == "neuf") ecrits.push_back(nom);
    EXPECT_EQ(ecrits, c.ecrits);
    EXPECT_EQ(b.FilesRestored(), static_cast<int>(c.ecrits.size()));
  }
}

TEST_F(Restauration, UneLongueurDEntreeNegativeNeConsommeQueSesQuatreOctets) {
  EXPECT_TRUE(Restaurer(glissaro::test::Archive()
                            .Entete(0)
                            .Entier(-5)
                            .Entier(-1)
                            .Fichier("a.wbp", "A")
                            .Entier(-2147483647 - 1)
                            .Fichier("b.wbp", "B")
                            .Fin()));
  EXPECT_EQ(b.FilesRestored(), 2);
  EXPECT_EQ(Lire(Cible("a.wbp")), "A");
  EXPECT_EQ(Lire(Cible("b.wbp")), "B");
}

TEST_F(Restauration, UnBlocEndommageSignaleUneFoisLErreurDeCompressionEtGardeSesOctets) {
  const std::string contenu = Texte(5000);
  std::string bloc = Deflate(contenu);
  bloc.back() = static_cast<char>(bloc.back() ^ 0x55);  // Adler-32 checksum damaged
  const int32_t date = DateDos(1999, 12, 31, 23, 59, 58);
  auto archive = glissaro::test::Archive().Entete(10000).Entree("abime.wbp", date);
  archive.Entier(static_cast<int32_t>(bloc.size())).Octets(bloc).Stocke("jamais").FinDonnees();
  archive.Fichier("suivant.wbp", "jamais lu").Fin();

  EXPECT_FALSE(Restaurer(archive));
  EXPECT_EQ(b.ErrorCode(), kErrCompression);
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Compression error"});
  EXPECT_EQ(Lire(Cible("abime.wbp")), contenu);
  EXPECT_EQ(DateDuFichier(Cible("abime.wbp")), date);
  EXPECT_EQ(b.FilesRestored(), 1);
  EXPECT_FALSE(std::filesystem::exists(Cible("suivant.wbp")));
}

TEST_F(Restauration, UnBlocQuiGonfleAuDelaDe16384OctetsEstTronque) {
  const std::string contenu = Texte(20000);
  auto archive = glissaro::test::Archive().Entete(20000).Entree("gros.wbp").Compresse(contenu).FinDonnees().Fin();
  EXPECT_TRUE(Restaurer(archive));
  EXPECT_EQ(Lire(Cible("gros.wbp")), contenu.substr(0, 16384));
}

TEST_F(Restauration, OnErrorRecoitLeCodeALaPlaceDeLaBoite) {
  std::vector<std::pair<int32_t, std::string>> erreurs;
  b.OnError = [&](TBackupFile&, int32_t code, const std::string& texte) { erreurs.emplace_back(code, texte); };
  auto archive = glissaro::test::Archive().Entete(0).Entree("a.wbp").Entier(6).Octets("pas ca").FinDonnees().Fin();
  EXPECT_FALSE(Restaurer(archive));
  EXPECT_EQ(erreurs, (std::vector<std::pair<int32_t, std::string>>{{6, "Compression error"}}));
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST_F(Restauration, UneArchiveAbsenteRendFauxSansMessage) {
  EXPECT_FALSE(b.Restore(dossier.Fichier("absent.pkg"), Cible()));
  EXPECT_TRUE(dialogues.appels.empty());
  EXPECT_FALSE(b.Busy());
  EXPECT_FALSE(std::filesystem::exists(Cible()));
}

TEST_F(Restauration, LesDonneesIllisiblesDUnFichierEcritDonnentCannotReadFile) {
  // Without the marker, and short: the file is not kept (an old one stays
  // whole), not counted, and the restore stops after it.
  for (const auto& donnees : {std::string("XYZ") + '\0' + std::string(4, '\0'), std::string("EC2") + '\0' + "\xF6\xFF"}) {
    std::filesystem::remove_all(Cible());
    std::filesystem::create_directories(Cible());
    EcrireTexte(Cible("b.wbp"), "ancien");
    dialogues.appels.clear();
    auto archive = glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A");
    archive.Entier(5).Octets("b.wbp").Entier(0).Octets(donnees);
    EXPECT_FALSE(Restaurer(archive));
    EXPECT_EQ(b.ErrorCode(), kErrCannotReadFile);
    EXPECT_EQ(b.FilesRestored(), 1);
    EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Cannot read file"});
    EXPECT_EQ(Lire(Cible("a.wbp")), "A");
    EXPECT_EQ(Lire(Cible("b.wbp")), "ancien");
    EXPECT_EQ(Contenu(Cible()), (std::vector<std::string>{"a.wbp", "b.wbp"}));  // no temporary file left
  }
}

TEST_F(Restauration, LesArchivesIllisiblesLevent) {
  try {
    Restaurer(glissaro::test::Archive().Entier(50).Octets("court"));
    ADD_FAILURE() << "aucune exception";
  } catch (const EBackupError& e) {
    EXPECT_STREQ(e.what(), "Cannot read archive");
  }
  EXPECT_FALSE(b.Busy());

  // A skipped file without the marker.
  b.RestoreMode = TRestoreMode::rmExisting;
  try {
    Restaurer(glissaro::test::Archive().Entete(0).Entier(5).Octets("a.wbp").Entier(0).Octets("ZIP!").Fin());
    ADD_FAILURE() << "aucune exception";
  } catch (const EBackupError& e) {
    EXPECT_STREQ(e.what(), "Invalid archive type");
  }
  // An entry cut short.
  try {
    Restaurer(glissaro::test::Archive().Entete(0).Entier(12).Octets("a.w"));
    ADD_FAILURE() << "aucune exception";
  } catch (const EBackupError& e) {
    EXPECT_STREQ(e.what(), kStreamReadError);
  }
  EXPECT_FALSE(b.Busy());
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST_F(Restauration, ContinueFauxArreteSansMessage) {
  b.OnProgress = [](TBackupFile&, const std::string& f, TPercentage, bool& continuer) {
    if (!f.empty()) continuer = false;
  };
  EXPECT_FALSE(Restaurer(glissaro::test::Archive()
                             .Entete(0)
                             .Entree("a.wbp")
                             .Stocke("1")
                             .Stocke("2")
                             .FinDonnees()
                             .Fichier("b.wbp", "B")
                             .Fin()));
  EXPECT_FALSE(std::filesystem::exists(Cible("a.wbp")));  // stopped half way: not kept
  EXPECT_FALSE(std::filesystem::exists(Cible("b.wbp")));
  EXPECT_EQ(b.ErrorCode(), 0);
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST_F(Restauration, OnRestoreFileRenommeOuRefuseEtOnFileRestoredVoitLeFichierOuvert) {
  std::vector<std::pair<std::string, int32_t>> demandes;
  b.OnRestoreFile = [&](TBackupFile&, std::string& f, int32_t fa, bool& restaurer) {
    demandes.emplace_back(f, fa);
    if (f == Cible("refuse.wbp")) restaurer = false;
    if (f == Cible("a.wbp")) f = Cible("sous/renomme.wbp");
  };
  std::vector<std::string> restaures;
  b.OnFileRestored = [&](TBackupFile&, std::string& f, int& fd) {
    restaures.push_back(f);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "+", 1), 1);
  };
  const int32_t date = DateDos(2012, 12, 12, 12, 12, 12);
  EXPECT_TRUE(
      Restaurer(glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A", date).Fichier("refuse.wbp", "R").Fin()));
  EXPECT_EQ(demandes, (std::vector<std::pair<std::string, int32_t>>{{Cible("a.wbp"), date},
                                                                     {Cible("refuse.wbp"), DateDos(2003, 4, 5, 6, 7, 8)}}));
  EXPECT_EQ(restaures, std::vector<std::string>{Cible("sous/renomme.wbp")});
  EXPECT_EQ(Lire(Cible("sous/renomme.wbp")), "A+");
  EXPECT_EQ(DateDuFichier(Cible("sous/renomme.wbp")), date);
  EXPECT_FALSE(std::filesystem::exists(Cible("refuse.wbp")));
  EXPECT_EQ(b.FilesRestored(), 1);
}

TEST_F(Restauration, ArchiveStreamEstLuALaPlaceDUnFichier) {
  const auto archive = glissaro::test::Archive().Entete(3).Fichier("a.wbp", "abc").Fin();
  std::istringstream flux("avant" + archive.octets);
  flux.seekg(5);
  b.ArchiveStream = &flux;
  EXPECT_TRUE(b.Restore(":STREAM", Cible()));
  EXPECT_EQ(Lire(Cible("a.wbp")), "abc");
  b.ArchiveStream = nullptr;
  EXPECT_THROW(b.Restore(":STREAM", Cible()), EBackupError);
}

TEST_F(Restauration, UneSecondeRestaurationPendantLaPremiereEstRefusee) {
  bool interne = true;
  b.ProcessMessages = [&] {
    if (!b.Busy() || !interne) return;
    interne = false;
    EXPECT_FALSE(b.Restore(dossier.Fichier("Pack01.pkg"), dossier.Fichier("autre")));
  };
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Fichier("b.wbp", "B").Fin()));
  EXPECT_FALSE(interne);
  EXPECT_EQ(b.FilesRestored(), 2);
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"A restore is already running"});
  EXPECT_FALSE(std::filesystem::exists(dossier.Fichier("autre")));
}

// ---------------------------------------------------------------- volumes

class Volumes : public Restauration {
 protected:
  // a.wbp split over Pack01.pkg and Pack01.002, then b.wbp in the second.
  void SetUp() override {
    Archive(glissaro::test::Archive()
                .Entete(9)
                .Entree("a.wbp", date)
                .Stocke("un")
                .Compresse("deux")
                .FinDonnees()
                .Volume("002"));
    Archive(glissaro::test::Archive().Marque().Compresse("trois").FinDonnees().Fichier("b.wbp", "B").Fin(),
            "Pack01.002");
  }
  const int32_t date = DateDos(2004, 8, 15, 10, 30, 0);
};

TEST_F(Volumes, OnNeedDiskEstDemandeUneFoisMemeQuandLeVolumeEstLa) {
  std::vector<uint16_t> disques;
  std::vector<std::string> attendus;
  b.OnNeedDisk = [&](TBackupFile&, uint16_t disque, bool&) {
    disques.push_back(disque);
    attendus.push_back(b.VolumeName());
  };
  EXPECT_TRUE(b.Restore(dossier.Fichier("Pack01.pkg"), Cible()));
  EXPECT_EQ(disques, std::vector<uint16_t>{2});
  EXPECT_EQ(attendus, std::vector<std::string>{dossier.Fichier("Pack01.002")});
  EXPECT_EQ(Lire(Cible("a.wbp")), "undeuxtrois");
  EXPECT_EQ(DateDuFichier(Cible("a.wbp")), date);
  EXPECT_EQ(Lire(Cible("b.wbp")), "B");
  EXPECT_EQ(b.FilesRestored(), 2);
}

TEST_F(Volumes, LaQuestionParDefautEstPoseeJusquAuVolume) {
  // The disk is not there at the first answer; it is at the second.
  std::filesystem::rename(dossier.Fichier("Pack01.002"), dossier.Fichier("ailleurs"));
  struct Inserer : DialoguesScriptes {
    std::function<void()> avant;
    bool Confirmer(const std::string& texte) override {
      if (avant) avant();
      return DialoguesScriptes::Confirmer(texte);
    }
  };
  Inserer d;
  d.confirmations = {true, true};
  int appels = 0;
  d.avant = [&] {
    if (++appels == 2) std::filesystem::rename(dossier.Fichier("ailleurs"), dossier.Fichier("Pack01.002"));
  };
  TBackupFile avecBoite(&d);
  EXPECT_TRUE(avecBoite.Restore(dossier.Fichier("Pack01.pkg"), Cible()));
  EXPECT_EQ(d.Textes("confirmation"), std::vector<std::string>(2, "Please insert disk 2 and click OK to continue."));
  EXPECT_EQ(Lire(Cible("a.wbp")), "undeuxtrois");
  EXPECT_EQ(avecBoite.FilesRestored(), 2);
}

TEST_F(Volumes, AnnulerArreteSansMessageEtGardeLAncienFichier) {
  std::filesystem::create_directories(Cible());
  EcrireTexte(Cible("a.wbp"), "ancien");
  dialogues.confirmations = {false};
  EXPECT_FALSE(b.Restore(dossier.Fichier("Pack01.pkg"), Cible()));
  EXPECT_EQ(dialogues.Textes("confirmation"), std::vector<std::string>{"Please insert disk 2 and click OK to continue."});
  EXPECT_TRUE(dialogues.Textes("erreur").empty());
  // a.wbp goes on in the second volume: its first half replaces nothing.
  EXPECT_EQ(Lire(Cible("a.wbp")), "ancien");
  EXPECT_FALSE(std::filesystem::exists(Cible("b.wbp")));
  EXPECT_EQ(b.FilesRestored(), 0);
}

TEST_F(Volumes, UnVolumeSuivantSansMarqueLeve) {
  Archive(glissaro::test::Archive().Octets("XX").Fin(), "Pack01.002");
  b.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
  EXPECT_THROW(b.Restore(dossier.Fichier("Pack01.pkg"), Cible()), EBackupError);
  EXPECT_FALSE(b.Busy());
  EXPECT_FALSE(std::filesystem::exists(Cible("a.wbp")));
}

TEST_F(Volumes, UnVolumeQuiRevientArreteLaRestauration) {
  // Pack01.002 names itself as the next volume; then a chain of volumes
  // that goes back to the first one.
  Archive(glissaro::test::Archive().Marque().Compresse("trois").FinDonnees().Volume("002"), "Pack01.002");
  b.OnNeedDisk = [](TBackupFile&, uint16_t, bool&) {};
  EXPECT_FALSE(b.Restore(dossier.Fichier("Pack01.pkg"), Cible()));
  EXPECT_EQ(b.ErrorCode(), kErrVolumeAgain);
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Volume already read: " + dossier.Fichier("Pack01.002")});
  // a.wbp ended whole in the second volume: kept.
  EXPECT_EQ(Lire(Cible("a.wbp")), "undeuxtrois");
  EXPECT_EQ(b.FilesRestored(), 1);

  dialogues.appels.clear();
  Archive(glissaro::test::Archive().Marque().Compresse("trois").FinDonnees().Volume("pkg"), "Pack01.002");
  EXPECT_FALSE(b.Restore(dossier.Fichier("Pack01.pkg"), Cible()));
  EXPECT_EQ(dialogues.Textes("erreur"), std::vector<std::string>{"Volume already read: " + dossier.Fichier("Pack01.pkg")});
}

TEST_F(Restauration, UnFichierLieAilleursEstRemplaceSansEcrireAuTravers) {
  // The target is a hard link to a file outside the folder: restoring
  // replaces the link and leaves the other file as it was.
  std::filesystem::create_directories(Cible());
  const auto ailleurs = dossier.Fichier("ailleurs.wbp");
  EcrireTexte(ailleurs, "a moi");
  std::filesystem::create_hard_link(ailleurs, Cible("a.wbp"));
  EXPECT_TRUE(Restaurer(glissaro::test::Archive().Entete(0).Fichier("a.wbp", "du paquet").Fin()));
  EXPECT_EQ(Lire(Cible("a.wbp")), "du paquet");
  EXPECT_EQ(Lire(ailleurs), "a moi");
  EXPECT_EQ(std::filesystem::hard_link_count(ailleurs), 1u);
}

}  // namespace

namespace {

TEST_F(Restauration, ChaqueFichierArriveEntierResteQuandLArchiveSeGateApres) {
  // Two whole files, then: no end marker; a negative length and the end; a
  // name cut short; a name longer than the archive; a volume marker that
  // names the archive itself.
  const auto deux = [] { return glissaro::test::Archive().Entete(0).Fichier("a.wbp", "A").Fichier("b.wbp", "B"); };
  const std::vector<glissaro::test::Archive> fautes = {
      deux(), deux().Entier(-1), deux().Entier(9).Octets("c.w"), deux().Entier(1 << 30).Octets("c.wbp"),
      deux().Volume("pkg")};
  for (std::size_t i = 0; i < fautes.size(); ++i) {
    SCOPED_TRACE(i);
    std::filesystem::remove_all(Cible());
    bool reussi = true;
    try {
      reussi = Restaurer(fautes[i]);
    } catch (const EBackupError&) {
      reussi = false;
    }
    EXPECT_FALSE(reussi);
    EXPECT_EQ(Contenu(Cible()), (std::vector<std::string>{"a.wbp", "b.wbp"}));
    EXPECT_EQ(Lire(Cible("b.wbp")), "B");
    EXPECT_EQ(b.FilesRestored(), 2);
  }
}

}  // namespace
