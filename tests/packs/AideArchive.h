// Archives written byte by byte for the tests, so that the reader is not
// only checked against the pack maker; and what the restore tests share.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/AidePlateau.h"

namespace glissaro::test {

// An MS-DOS packed date.
inline int32_t DateDos(int annee, int mois, int jour, int heure, int minute, int seconde) {
  return static_cast<int32_t>(static_cast<uint32_t>(annee - 1980) << 25 | static_cast<uint32_t>(mois) << 21 |
                              static_cast<uint32_t>(jour) << 16 | static_cast<uint32_t>(heure) << 11 |
                              static_cast<uint32_t>(minute) << 5 | static_cast<uint32_t>(seconde / 2));
}

// One zlib stream of the data (RFC 1950).
inline std::string Deflate(std::string_view donnees, int niveau = 9) {
  std::string sortie(compressBound(donnees.size()), '\0');
  uLongf taille = sortie.size();
  compress2(reinterpret_cast<Bytef*>(sortie.data()), &taille, reinterpret_cast<const Bytef*>(donnees.data()),
            donnees.size(), niveau);
  sortie.resize(taille);
  return sortie;
}

class Archive {
 public:
  Archive& Entier(int32_t v) {
    for (int i = 0; i < 4; ++i) octets += static_cast<char>(static_cast<uint32_t>(v) >> (8 * i) & 0xFF);
    return *this;
  }
  Archive& Octets(std::string_view o) {
    octets.append(o);
    return *this;
  }
  // L, the header text, the total, the header value.
  Archive& Entete(int32_t total, std::string_view texte = "Archive d'essai", int32_t valeur = 0) {
    return Entier(static_cast<int32_t>(texte.size())).Octets(texte).Entier(total).Entier(valeur);
  }
  // N, the name, FA and the data marker.
  Archive& Entree(std::string_view nom, int32_t fa = DateDos(2003, 4, 5, 6, 7, 8)) {
    return Entier(static_cast<int32_t>(nom.size())).Octets(nom).Entier(fa).Octets(std::string_view("EC2\0", 4));
  }
  Archive& Marque() { return Octets(std::string_view("EC2\0", 4)); }
  Archive& Stocke(std::string_view donnees) {
    return Entier(-static_cast<int32_t>(donnees.size())).Octets(donnees);
  }
  Archive& Compresse(std::string_view donnees) {
    const auto z = Deflate(donnees);
    return Entier(static_cast<int32_t>(z.size())).Octets(z);
  }
  Archive& FinDonnees() { return Entier(0); }
  // A whole file entry: one compressed block per 16,384 bytes.
  Archive& Fichier(std::string_view nom, std::string_view contenu, int32_t fa = DateDos(2003, 4, 5, 6, 7, 8)) {
    Entree(nom, fa);
    for (std::size_t i = 0; i < contenu.size(); i += 16384) Compresse(contenu.substr(i, 16384));
    return FinDonnees();
  }
  Archive& Volume(std::string_view extension) {
    const std::string nom = "NEXT:DISK" + std::string(extension);
    return Entier(static_cast<int32_t>(nom.size())).Octets(nom);
  }
  Archive& Fin() { return Entier(0); }

  void Ecrire(const std::string& chemin) const {
    std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
    f.write(octets.data(), static_cast<std::streamsize>(octets.size()));
  }

  std::string octets;
};

inline std::string Lire(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

inline void EcrireTexte(const std::string& chemin, std::string_view contenu) {
  std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
  f.write(contenu.data(), static_cast<std::streamsize>(contenu.size()));
}

// The local date and time of a file's modification, as an MS-DOS date.
inline int32_t DateDuFichier(const std::string& chemin) {
  struct stat st {};
  if (::lstat(chemin.c_str(), &st) != 0) return -1;
  struct tm t {};
  localtime_r(&st.st_mtime, &t);
  return DateDos(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

// Sets a file's modification time from a local date.
inline void DaterFichier(const std::string& chemin, int annee, int mois, int jour) {
  struct tm t {};
  t.tm_year = annee - 1900;
  t.tm_mon = mois - 1;
  t.tm_mday = jour;
  t.tm_hour = 12;
  t.tm_isdst = -1;
  const std::time_t instant = std::mktime(&t);
  const struct timespec temps[2] = {{instant, 0}, {instant, 0}};
  utimensat(AT_FDCWD, chemin.c_str(), temps, AT_SYMLINK_NOFOLLOW);
}

// Bytes that zlib cannot make smaller.
inline std::string Aleatoire(std::size_t taille, uint32_t graine = 12345) {
  std::string s(taille, '\0');
  for (auto& c : s) {
    graine = graine * 1103515245u + 12345u;
    c = static_cast<char>(graine >> 16);
  }
  return s;
}

// Text that zlib makes much smaller.
inline std::string Texte(std::size_t taille) {
  std::string s;
  for (int i = 0; s.size() < taille; ++i) s += "ligne " + std::to_string(i) + " du plateau\r\n";
  s.resize(taille);
  return s;
}

// Every path below a folder, relative to it, sorted.
inline std::vector<std::string> Contenu(const std::string& dossier) {
  std::vector<std::string> r;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dossier))
    r.push_back(std::filesystem::relative(e.path(), dossier).string());
  std::sort(r.begin(), r.end());
  return r;
}

// Works in another current folder for the length of a test.
class DossierCourant {
 public:
  explicit DossierCourant(const std::string& dossier) : ancien_(std::filesystem::current_path()) {
    std::filesystem::current_path(dossier);
  }
  ~DossierCourant() { std::filesystem::current_path(ancien_); }
  DossierCourant(const DossierCourant&) = delete;
  DossierCourant& operator=(const DossierCourant&) = delete;

 private:
  std::filesystem::path ancien_;
};

}  // namespace glissaro::test
