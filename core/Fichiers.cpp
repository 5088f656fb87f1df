#include "Fichiers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace glissaro {

std::string MessageFichierTropGrand(const std::string& chemin) { return "Le fichier " + chemin + " est trop grand"; }

std::string MessageFichierIllisible(const std::string& chemin) { return "Impossible d'ouvrir le fichier " + chemin; }

FichierLu LireFichier(const std::string& chemin, std::size_t tailleMax) {
  FichierLu lu;
  auto refus = [&](FichierLu::Etat etat, std::string message) {
    lu.etat = etat;
    lu.contenu.clear();
    lu.message = std::move(message);
    return lu;
  };
  // Opened without waiting: a pipe with no writer must not hang the game.
  const int fd = ::open(chemin.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const bool absent = errno == ENOENT || errno == ENOTDIR;
    return refus(absent ? FichierLu::Etat::Absent : FichierLu::Etat::Illisible, MessageFichierIllisible(chemin));
  }
  struct Fermeture {
    int fd;
    ~Fermeture() { ::close(fd); }
  } fermeture{fd};
  struct stat infos {};
  if (::fstat(fd, &infos) != 0) return refus(FichierLu::Etat::Illisible, MessageFichierIllisible(chemin));
  if (!S_ISREG(infos.st_mode))
    return refus(FichierLu::Etat::PasOrdinaire,
                 "Le fichier " + chemin + " n'est pas un fichier ordinaire (dossier, tube ou périphérique)");
  if (infos.st_size < 0 || static_cast<uintmax_t>(infos.st_size) > tailleMax)
    return refus(FichierLu::Etat::TropGrand, MessageFichierTropGrand(chemin));
  // The file may grow while it is read: one byte more than the bound is
  // enough to know it is too large.
  lu.contenu.resize(std::min<std::size_t>(static_cast<std::size_t>(infos.st_size), tailleMax) + 1);
  std::size_t total = 0;
  for (;;) {
    if (total == lu.contenu.size()) {
      if (total > tailleMax) return refus(FichierLu::Etat::TropGrand, MessageFichierTropGrand(chemin));
      lu.contenu.resize(std::min(tailleMax + 1, std::max<std::size_t>(2 * total, 4096)));
    }
    const ssize_t n = ::read(fd, lu.contenu.data() + total, lu.contenu.size() - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      return refus(FichierLu::Etat::Illisible, MessageFichierIllisible(chemin));
    }
    if (n == 0) break;
    total += static_cast<std::size_t>(n);
  }
  lu.contenu.resize(total);
  lu.etat = FichierLu::Etat::Lu;
  return lu;
}

std::string MessageEcritureImpossible(const std::string& chemin) {
  return "Impossible d'écrire dans " + chemin;
}

ResultatEcriture EcrireFichierSur(const std::string& chemin, const std::string& contenu) {
  const ResultatEcriture echec{false, MessageEcritureImpossible(chemin)};
  std::string modele = chemin + ".XXXXXX";
  const int fd = mkstemp(modele.data());
  if (fd < 0) return echec;
  const std::string temporaire = modele;
  bool ok = true;
  std::size_t ecrit = 0;
  while (ok && ecrit < contenu.size()) {
    const ssize_t n = ::write(fd, contenu.data() + ecrit, contenu.size() - ecrit);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      ecrit += static_cast<std::size_t>(n);
    }
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual ones (read and write for the user, read for the others).
  struct stat infos {};
  const mode_t mode = ::stat(chemin.c_str(), &infos) == 0 ? (infos.st_mode & 07777) : 0644;
  if (ok && ::fchmod(fd, mode) != 0) ok = false;
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temporaire.c_str(), chemin.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temporaire.c_str());
    return echec;
  }
  return {};
}

bool DossierExiste(const std::string& chemin) {
  std::error_code ec;
  return std::filesystem::is_directory(chemin, ec);
}

bool CreerDossiers(const std::string& chemin) {
  std::error_code ec;
  if (chemin.empty()) return false;
  std::filesystem::create_directories(chemin, ec);
  return DossierExiste(chemin);
}

}  // namespace glissaro
