#include "Fichiers.h"

#include <cctype>

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

std::string MessageEcritureImpossible(const std::string& chemin, int erreur) {
  switch (erreur) {
    case ENOSPC:
    case EDQUOT: return "Impossible d'écrire " + chemin + " : disque plein";
    case ENAMETOOLONG: return "Nom de fichier trop long : " + chemin;
    case EROFS: return "Impossible d'écrire " + chemin + " : disque en lecture seule";
    default: return "Impossible d'écrire dans " + chemin;
  }
}

namespace {

std::string DossierDe(const std::string& chemin) {
  const auto barre = chemin.rfind('/');
  return barre == std::string::npos ? std::string(".") : chemin.substr(0, barre == 0 ? 1 : barre);
}

constexpr std::size_t kLongueurSuffixe = 6;  // mkostemp's XXXXXX

}  // namespace

FichierTemporaire::FichierTemporaire(std::string cible) : cible_(std::move(cible)) {
  std::string modele = DossierDe(cible_) + "/" + kPrefixeTemporaire + std::string(kLongueurSuffixe, 'X');
  fd_ = mkostemp(modele.data(), O_CLOEXEC);
  if (fd_ >= 0)
    chemin_ = modele;
  else
    erreur_ = errno;
}

FichierTemporaire::~FichierTemporaire() {
  if (fd_ >= 0) ::close(fd_);
  if (!chemin_.empty()) ::unlink(chemin_.c_str());
}

bool FichierTemporaire::Echec() {
  if (erreur_ == 0) erreur_ = errno != 0 ? errno : EIO;
  return false;
}

bool FichierTemporaire::Ecrire(std::string_view octets) {
  if (fd_ < 0) return false;
  while (!octets.empty()) {
    const ssize_t n = ::write(fd_, octets.data(), octets.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Echec();
    octets.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool FichierTemporaire::Remplacer(bool synchroniser) {
  if (fd_ < 0) return false;
  struct stat infos {};
  const mode_t mode = mode_ ? static_cast<mode_t>(*mode_)
                   : ::stat(cible_.c_str(), &infos) == 0 ? (infos.st_mode & 07777)
                                                          : 0644;
  bool ok = ::fchmod(fd_, mode) == 0 && (!synchroniser || ::fsync(fd_) == 0);
  if (!ok) Echec();
  if (::close(fd_) != 0 && ok) ok = Echec();
  fd_ = -1;
  if (!ok) return false;
  if (std::rename(chemin_.c_str(), cible_.c_str()) != 0) return Echec();
  chemin_.clear();
  return true;
}

ResultatEcriture EcrireFichierSur(const std::string& chemin, const std::string& contenu) {
  FichierTemporaire fichier(chemin);
  if (!fichier.Ecrire(contenu) || !fichier.Remplacer()) return {false, MessageEcritureImpossible(chemin, fichier.Erreur())};
  return {};
}

int SupprimerTemporairesAbandonnes(const std::string& dossier) {
  int supprimes = 0;
  std::error_code ec;
  const std::string_view prefixe(kPrefixeTemporaire);
  for (const auto& entree : std::filesystem::directory_iterator(dossier, ec)) {
    const std::string nom = entree.path().filename().string();
    if (nom.size() != prefixe.size() + kLongueurSuffixe || !nom.starts_with(prefixe)) continue;
    if (!entree.is_regular_file(ec) || entree.is_symlink(ec)) continue;
    supprimes += std::filesystem::remove(entree.path(), ec) ? 1 : 0;
  }
  return supprimes;
}

bool SynchroniserDossier(const std::string& dossier) {
  const int fd = ::open(dossier.empty() ? "." : dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::syncfs(fd) == 0;
  ::close(fd);
  return ok;
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

GenreFichier GenreDuFichier(const std::string& chemin) {
  const auto barre = chemin.find_last_of('/');
  const auto point = chemin.find_last_of('.');
  if (point == std::string::npos || (barre != std::string::npos && point < barre)) return GenreFichier::Autre;
  std::string extension = chemin.substr(point + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "wbp") return GenreFichier::Plateau;
  if (extension == "swb") return GenreFichier::Sequence;
  if (extension == "pkg") return GenreFichier::Paquet;
  return GenreFichier::Autre;
}

}  // namespace glissaro
