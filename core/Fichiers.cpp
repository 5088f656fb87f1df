#include "Fichiers.h"

#include <cctype>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace glissaro {

std::optional<std::string> LireFichier(const std::string& chemin) {
  std::error_code ec;
  if (std::filesystem::is_directory(chemin, ec)) return std::nullopt;
  std::ifstream entree(chemin, std::ios::binary);
  if (!entree) return std::nullopt;
  std::string contenu((std::istreambuf_iterator<char>(entree)), std::istreambuf_iterator<char>());
  if (entree.bad()) return std::nullopt;
  return contenu;
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
