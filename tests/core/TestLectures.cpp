// Readers that no file can exhaust: every reader takes a regular file of
// bounded size, and says so of anything else at once.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>

#include "AidePlateau.h"
#include "FichierPlateau.h"
#include "Fichiers.h"
#include "Ini.h"
#include "Parametres.h"
#include "Sequence.h"

using namespace glissaro;
using glissaro::test::Dessiner;
using glissaro::test::DossierTemporaire;

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOUS_ASAN_CLANG 1
#endif
#endif
#ifndef SOUS_ASAN_CLANG
#define SOUS_ASAN_CLANG 0
#endif

namespace {

// A file of n bytes: its contents followed by blank lines (CR LF).
void EcrireAvecLignesVides(const std::string& chemin, const std::string& contenu, std::size_t n) {
  std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
  f << contenu;
  std::string bloc;
  for (int i = 0; i < 32 * 1024; ++i) bloc += "\r\n";
  for (std::size_t reste = n > contenu.size() ? n - contenu.size() : 0; reste > 0;) {
    const std::size_t pas = std::min(reste, bloc.size());
    f.write(bloc.data(), static_cast<std::streamsize>(pas));
    reste -= pas;
  }
}

const std::string kDeuxSurDeux = TexteDuPlateau(Dessiner({"A.", ".."}, {"..", ".x"}, "Deux"), "1");
const std::string kParametres = "[skin]\r\nNom=Bois\r\ndeplacement=4\r\nMagneto=20\r\n";

}  // namespace

TEST(Lectures, SeulUnFichierOrdinaireDeTailleBorneeEstLu) {
  DossierTemporaire dossier;
  const auto tube = dossier.Fichier("tube");
  ASSERT_EQ(::mkfifo(tube.c_str(), 0600), 0);
  // A folder, a pipe without writer (never waited on), a device (never
  // drained).
  for (const std::string& chemin : {dossier.Chemin(), tube, std::string("/dev/zero")}) {
    const auto lu = LireFichier(chemin, 100);
    EXPECT_EQ(lu.etat, FichierLu::Etat::PasOrdinaire) << chemin;
    EXPECT_EQ(lu.message, "Le fichier " + chemin + " n'est pas un fichier ordinaire (dossier, tube ou périphérique)");
  }
  const auto absent = LireFichier(dossier.Fichier("absent"), 100);
  EXPECT_EQ(absent.etat, FichierLu::Etat::Absent);
  EXPECT_EQ(absent.message, "Impossible d'ouvrir le fichier " + dossier.Fichier("absent"));
  const auto cent = dossier.Fichier("cent");
  ASSERT_TRUE(EcrireFichierSur(cent, std::string(100, 'x')).ok);
  EXPECT_EQ(LireFichier(cent, 100).contenu, std::string(100, 'x'));
  const auto trop = LireFichier(cent, 99);
  EXPECT_EQ(trop.etat, FichierLu::Etat::TropGrand);
  EXPECT_EQ(trop.message, "Le fichier " + cent + " est trop grand");
  EXPECT_TRUE(trop.contenu.empty());

  // Each reader goes through it. A board: blank lines after its cells are
  // never looked at, up to the bound.
  const auto plateau = dossier.Fichier("p.wbp");
  TPlateau lu = Dessiner({"b"}, {}, "Ancien");
  EcrireAvecLignesVides(plateau, kDeuxSurDeux, kTailleMaxPlateau);
  EXPECT_EQ(LirePlateau(plateau, lu).statut, StatutLecture::Ok);
  EXPECT_EQ(lu.Titre, "Deux");
  EcrireAvecLignesVides(plateau, kDeuxSurDeux, kTailleMaxPlateau + 1);
  lu = Dessiner({"b"}, {}, "Ancien");
  EXPECT_EQ(LirePlateau(plateau, lu).message, "Le fichier " + plateau + " est trop grand");
  EXPECT_EQ(LirePlateau(tube, lu, ModeLecture::Editeur).statut, StatutLecture::Erreur);
  EXPECT_EQ(lu.Titre, "Ancien");
  EXPECT_NE(LireSequence(tube).message.find("n'est pas un fichier ordinaire"), std::string::npos);

  // The settings: the defaults and the message; a file that cannot be read
  // is not replaced at the close.
  const auto ini = dossier.Fichier("Glissaro.ini");
  EcrireAvecLignesVides(ini, kParametres, kTailleMaxTexte);
  std::string message;
  EXPECT_EQ(LireParametres(ini, &message).NomSkin, "Bois");
  EXPECT_EQ(message, "");
  EcrireAvecLignesVides(ini, kParametres, kTailleMaxTexte + 1);
  const auto p = LireParametres(ini, &message);
  EXPECT_EQ(p.NomSkin, "Glissaro");
  EXPECT_EQ(p.VitesseDeplacement, 2);
  EXPECT_EQ(message, "Le fichier " + ini + " est trop grand");
  const auto ecriture = EcrireParametres(ini, Parametres{});
  EXPECT_FALSE(ecriture.ok);
  EXPECT_EQ(ecriture.message, message);
  EXPECT_EQ(std::filesystem::file_size(ini), kTailleMaxTexte + 1);
  message.clear();
  FichierIni::Charger(tube, &message);
  EXPECT_NE(message.find("n'est pas un fichier ordinaire"), std::string::npos);
}

TEST(Lectures, LaMemoireResteBorneeQuelQueSoitLeFichier) {
#if defined(__SANITIZE_ADDRESS__) || SOUS_ASAN_CLANG
  // The sanitizer reserves terabytes of address space for its shadow: a
  // limit on the address space means nothing under it.
  GTEST_SKIP() << "sans objet sous AddressSanitizer";
#endif
  DossierTemporaire dossier;
  // 20 MB of blank lines after a valid board and after the settings; the
  // largest settings file accepted, all of it lines to index.
  const auto plateau = dossier.Fichier("p.wbp");
  const auto ini = dossier.Fichier("Glissaro.ini");
  const auto pleine = dossier.Fichier("Plein.ini");
  EcrireAvecLignesVides(plateau, kDeuxSurDeux, 20 << 20);
  EcrireAvecLignesVides(ini, kParametres, 20 << 20);
  {
    std::ofstream f(pleine, std::ios::binary);
    std::string lignes = "[skin]\n";
    while (lignes.size() + 2 <= kTailleMaxTexte) lignes += "a\n";
    f << lignes;
  }
  const pid_t enfant = fork();
  ASSERT_GE(enfant, 0);
  if (enfant == 0) {
    // What the process holds now, and 48 MiB more: a few times the largest
    // file that is read (1 MiB).
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limite = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (48u << 20);
    const struct rlimit r = {limite, limite};
    if (setrlimit(RLIMIT_AS, &r) != 0) _exit(3);
    try {
      TPlateau lu;
      std::string message;
      const bool ok = LirePlateau(plateau, lu).message == "Le fichier " + plateau + " est trop grand" &&
                      LirePlateau("/dev/zero", lu).statut == StatutLecture::Erreur &&
                      !LireSequence("/dev/zero").ok && LireParametres(ini, &message).NomSkin == "Glissaro" &&
                      !message.empty() && FichierIni::Charger(pleine).SectionExiste("skin");
      _exit(ok ? 0 : 1);
    } catch (const std::bad_alloc&) {
      _exit(2);
    }
  }
  int statut = 0;
  ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
  ASSERT_TRUE(WIFEXITED(statut));
  EXPECT_EQ(WEXITSTATUS(statut), 0) << "1 : lecture fausse, 2 : mémoire épuisée, 3 : pas de limite possible";
}
