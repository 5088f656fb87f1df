#include "Paquet.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "Fichiers.h"
#include "Texte.h"
#include "Zlib.h"
#include "backup.h"

namespace glissaro::paquet {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBloc = 16384;
// What closing a volume in the middle of a file's data takes: its zero
// block, then the "NEXT:DISK" entry (length and twelve characters).
constexpr int64_t kReserve = 4 + 4 + 12;
constexpr const char* kMarqueVolume = "NEXT:DISK";
constexpr const char* kListe = "FILE:LIST";
constexpr char kMarqueDonnees[4] = {'E', 'C', '2', '\0'};

void Entier(std::string& octets, int32_t valeur) {
  const auto v = static_cast<uint32_t>(valeur);
  for (int i = 0; i < 4; ++i) octets += static_cast<char>(v >> (8 * i) & 0xFF);
}

// The archive's extension (after the last dot of the last component)
// replaced.
std::string ChangerExtension(const std::string& chemin, const std::string& extension) {
  const auto separateur = chemin.find_last_of("/\\:");
  const auto point = chemin.rfind('.');
  const bool a = point != std::string::npos && (separateur == std::string::npos || point > separateur);
  return (a ? chemin.substr(0, point) : chemin) + extension;
}

std::string TroisChiffres(int numero) {
  char texte[16];
  std::snprintf(texte, sizeof texte, "%03d", numero);
  return texte;
}

// ------------------------------------------------------------- the writer

// Writes the archive's bytes, volume after volume, never more than the
// volume size in one file. Each volume is written to a temporary file
// beside its target; only once the whole archive is written do they take
// their targets' places, so that a failure (a full disk) leaves the old
// archive as it was and no temporary file.
class Ecrivain {
 public:
  Ecrivain(std::string archive, int64_t limite) : archive_(std::move(archive)), limite_(limite) {}

  int Volumes() const { return volumes_; }
  const std::string& Message() const { return message_; }

  bool Ouvrir() {
    if (!Vider()) return false;
    ++volumes_;
    fichiers_.push_back(std::make_unique<FichierTemporaire>(volumes_ == 1 ? archive_ : NomVolume(archive_, volumes_)));
    utilise_ = 0;
    if (!fichiers_.back()->Ouvert()) return Echec();
    return true;
  }
  bool Ecrire(const std::string& octets) { return Ecrire(octets.data(), octets.size()); }
  bool Ecrire(const void* octets, std::size_t taille) {
    if (!message_.empty()) return false;
    tampon_.append(static_cast<const char*>(octets), taille);
    utilise_ += static_cast<int64_t>(taille);
    return tampon_.size() < kTampon || Vider();
  }
  // Every volume takes its target's place.
  bool Terminer() {
    if (!Vider()) return false;
    for (auto& f : fichiers_)
      if (!f->Remplacer()) {
        message_ = MessageEcritureImpossible(f->Cible(), f->Erreur());
        return false;
      }
    return true;
  }
  // Room left in this volume, keeping what closing it takes.
  int64_t Libre() const {
    return limite_ > 0 ? limite_ - utilise_ - kReserve : std::numeric_limits<int64_t>::max();
  }
  // Room in a fresh volume, after the data marker that opens it.
  int64_t Capacite() const {
    return limite_ > 0 ? limite_ - 4 - kReserve : std::numeric_limits<int64_t>::max();
  }
  // Goes on in the next volume. Within a file's data, the data ends here
  // with a zero block and goes on in the next volume; between two entries,
  // the next volume carries an empty continuation of the last file.
  bool Changer(bool dansDonnees) {
    if (volumes_ >= 999) {
      message_ = "Trop de volumes (999 au plus) pour " + archive_;
      return false;
    }
    std::string fin;
    if (dansDonnees) Entier(fin, 0);
    Entier(fin, 12);
    fin += kMarqueVolume + TroisChiffres(volumes_ + 1);
    if (!Ecrire(fin) || !Ouvrir()) return false;
    std::string debut(kMarqueDonnees, 4);
    if (!dansDonnees) Entier(debut, 0);
    return Ecrire(debut);
  }

 private:
  static constexpr std::size_t kTampon = 64 * 1024;

  bool Vider() {
    if (!message_.empty()) return false;
    if (tampon_.empty()) return true;
    const bool ok = fichiers_.back()->Ecrire(tampon_);
    tampon_.clear();
    return ok || Echec();
  }
  bool Echec() {
    const auto& f = *fichiers_.back();
    if (message_.empty()) message_ = MessageEcritureImpossible(f.Cible(), f.Erreur());
    return false;
  }

  std::string archive_;
  int64_t limite_;
  std::vector<std::unique_ptr<FichierTemporaire>> fichiers_;  // the volumes written so far
  std::string tampon_;
  int64_t utilise_ = 0;
  int volumes_ = 0;
  std::string message_;
};

// Whether a file of the folder being packed is the archive being written or
// one of its further volumes (the same name with a three-digit extension).
bool EstDeLArchive(const fs::path& fichier, const fs::path& archive) {
  std::error_code ec;
  const fs::path f = fs::weakly_canonical(fichier, ec);
  const fs::path a = fs::weakly_canonical(archive, ec);
  if (f == a) return true;
  if (f.parent_path() != a.parent_path() || f.stem() != a.stem()) return false;
  const std::string e = f.extension().string();
  return e.size() == 4 && std::all_of(e.begin() + 1, e.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Niveau(Compression c) {
  switch (c) {
    case Compression::Rapide: return 1;
    case Compression::Max: return 9;
    default: return Z_DEFAULT_COMPRESSION;
  }
}

// Writes one entry: its header, then the data read from source in blocks.
bool EcrireEntree(Ecrivain& e, const std::string& nom, int32_t date, std::istream& source, Compression compression,
                  const Zlib& zlib, const std::string& origine, std::string& message) {
  std::string tete;
  Entier(tete, static_cast<int32_t>(nom.size()));
  tete += nom;
  Entier(tete, date);
  tete.append(kMarqueDonnees, 4);
  if (e.Libre() < static_cast<int64_t>(tete.size()) && !e.Changer(false)) return false;
  if (!e.Ecrire(tete)) return false;

  std::array<unsigned char, kBloc> brut;
  std::vector<unsigned char> compresse(compression == Compression::Aucune ? 0 : zlib.BorneCompression(kBloc));
  while (true) {
    source.read(reinterpret_cast<char*>(brut.data()), kBloc);
    const auto lus = static_cast<std::size_t>(source.gcount());
    if (lus == 0) break;
    uLongf taille = static_cast<uLongf>(compresse.size());
    const bool compresser =
        compression != Compression::Aucune &&
        zlib.Compresser(compresse.data(), &taille, brut.data(), static_cast<uLong>(lus), Niveau(compression)) == Z_OK &&
        taille < lus;
    const auto longueur = static_cast<int64_t>(compresser ? taille : lus);
    if (e.Libre() < 4 + longueur && e.Capacite() >= 4 + longueur && !e.Changer(true)) return false;
    if (e.Libre() >= 4 + longueur) {
      std::string b;
      Entier(b, static_cast<int32_t>(compresser ? longueur : -longueur));
      if (!e.Ecrire(b) || !e.Ecrire(compresser ? compresse.data() : brut.data(), static_cast<std::size_t>(longueur)))
        return false;
      continue;
    }
    // A volume too small for the block: its bytes stored in pieces.
    std::size_t fait = 0;
    while (fait < lus) {
      const int64_t place = e.Libre() - 4;
      if (place <= 0) {
        if (!e.Changer(true)) return false;
        continue;
      }
      const auto morceau = static_cast<std::size_t>(std::min<int64_t>(place, static_cast<int64_t>(lus - fait)));
      std::string b;
      Entier(b, -static_cast<int32_t>(morceau));
      if (!e.Ecrire(b) || !e.Ecrire(brut.data() + fait, morceau)) return false;
      fait += morceau;
    }
  }
  if (source.bad()) {
    message = "Impossible de lire le fichier " + origine;
    return false;
  }
  std::string fin;
  Entier(fin, 0);
  return e.Ecrire(fin);
}

// A file of the folder that goes into the pack: where it is, its name as
// stored (Windows-1252), its size and date.
struct FichierDuPaquet {
  std::string chemin, nom;
  int64_t taille;
  int32_t date;
};

// The regular files of the folder, by stored name; false, with the
// message, for a folder or a file that cannot be read or a name the
// archive cannot hold.
bool ListerFichiers(const std::string& sortie, const std::string& dossier, std::vector<FichierDuPaquet>& fichiers,
                    std::string& message) {
  std::error_code ec;
  fs::directory_iterator it(dossier, ec);
  if (ec) {
    message = "Impossible de lire le dossier " + dossier;
    return false;
  }
  for (const auto& entree : it) {
    if (!entree.is_regular_file(ec) || entree.is_symlink(ec)) continue;
    const std::string nom = entree.path().filename().string();
    // Never the archive itself, nor what is being written beside it.
    if (EstDeLArchive(entree.path(), sortie) || nom.starts_with(kPrefixeTemporaire)) continue;
    const std::string stocke = Utf8VersCp1252(nom);
    if (Cp1252VersUtf8(stocke) != nom || nom.find_first_of("\\:") != std::string::npos) {
      message = "Nom de fichier impossible à mettre dans un paquet : " + nom;
      return false;
    }
    struct stat st {};
    if (::stat(entree.path().c_str(), &st) != 0) {
      message = "Impossible de lire le fichier " + entree.path().string();
      return false;
    }
    fichiers.push_back({entree.path().string(), stocke, static_cast<int64_t>(st.st_size),
                        DosDateTimeFromTime(st.st_mtime)});
  }
  std::sort(fichiers.begin(), fichiers.end(),
            [](const FichierDuPaquet& a, const FichierDuPaquet& b) { return a.nom < b.nom; });
  return true;
}

// The archive's bytes: its header, the list of the files, each file and
// its end. A file that cannot be read sets message; the writer keeps its
// own.
bool EcrireArchive(Ecrivain& e, const std::vector<FichierDuPaquet>& fichiers, int64_t total, const std::string& liste,
                   Compression compression, const Zlib& zlib, std::string& message) {
  std::string entete;
  Entier(entete, static_cast<int32_t>(std::string_view(kTexteEntete).size()));
  entete += kTexteEntete;
  Entier(entete, static_cast<int32_t>(total));
  Entier(entete, 0);
  if (!e.Ouvrir() || !e.Ecrire(entete)) return false;
  std::istringstream sourceListe(liste);
  if (!EcrireEntree(e, kListe, DosDateTimeFromTime(std::time(nullptr)), sourceListe, compression, zlib, kListe, message))
    return false;
  for (const auto& f : fichiers) {
    std::ifstream source(f.chemin, std::ios::binary);
    if (!source) {
      message = "Impossible de lire le fichier " + f.chemin;
      return false;
    }
    if (!EcrireEntree(e, f.nom, f.date, source, compression, zlib, f.chemin, message)) return false;
  }
  std::string fin;
  Entier(fin, 0);
  return e.Ecrire(fin);
}

// ------------------------------------------------------------- the reader

class Lecteur {
 public:
  bool Ouvrir(const std::string& chemin) {
    // Only a regular file: a pipe or a device would be waited on for ever.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(chemin, ec)) return false;
    fichier_ = std::make_unique<std::ifstream>(chemin, std::ios::binary | std::ios::ate);
    if (!*fichier_) return false;
    reste_ = static_cast<int64_t>(fichier_->tellg());
    fichier_->seekg(0);
    return true;
  }
  void Lire(void* octets, int64_t taille) {
    if (taille < 0 || taille > reste_ || !fichier_->read(static_cast<char*>(octets), taille))
      throw std::runtime_error("fin de fichier inattendue");
    reste_ -= taille;
  }
  void Sauter(int64_t taille) {
    if (taille < 0 || taille > reste_) throw std::runtime_error("fin de fichier inattendue");
    fichier_->seekg(taille, std::ios::cur);
    reste_ -= taille;
  }
  int32_t Entier() {
    unsigned char o[4];
    Lire(o, 4);
    return static_cast<int32_t>(o[0] | o[1] << 8 | o[2] << 16 | static_cast<uint32_t>(o[3]) << 24);
  }
  std::string Texte(int32_t taille) {
    if (taille > reste_) throw std::runtime_error("fin de fichier inattendue");
    std::string t(static_cast<std::size_t>(taille), '\0');
    Lire(t.data(), taille);
    return t;
  }

 private:
  std::unique_ptr<std::ifstream> fichier_;
  int64_t reste_ = 0;
};

// Reads one file's data and counts the bytes a restore would write.
int64_t LireDonnees(Lecteur& l, const Zlib& zlib, const std::string& nom) {
  char marque[4];
  l.Lire(marque, 4);
  if (std::string_view(marque, 4) != std::string_view(kMarqueDonnees, 4))
    throw std::runtime_error("données sans la marque EC2 pour " + nom);
  int64_t taille = 0;
  std::array<unsigned char, kBloc> entree, sortie;
  while (true) {
    const int32_t b = l.Entier();
    if (b == 0) return taille;
    const int64_t longueur = b < 0 ? -static_cast<int64_t>(b) : b;
    if (longueur > static_cast<int64_t>(kBloc)) throw std::runtime_error("bloc trop long dans " + nom);
    if (b < 0) {
      l.Sauter(longueur);
      taille += longueur;
      continue;
    }
    l.Lire(entree.data(), longueur);
    if (!zlib.Disponible()) throw std::runtime_error("zlib indisponible");
    uInt produits = 0;
    const int r = zlib.Inflater(entree.data(), static_cast<uInt>(longueur), sortie.data(), static_cast<uInt>(kBloc), &produits);
    taille += produits;
    if (r < 0) throw std::runtime_error("bloc compressé endommagé dans " + nom);
  }
}

}  // namespace

std::string NomVolume(const std::string& archive, int numero) {
  return ChangerExtension(archive, "." + TroisChiffres(numero));
}

std::string TexteDate(int32_t date) {
  const auto v = static_cast<uint32_t>(date);
  char texte[32];
  std::snprintf(texte, sizeof texte, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (v >> 25), v >> 21 & 0xF,
                v >> 16 & 0x1F, v >> 11 & 0x1F, v >> 5 & 0x3F, (v & 0x1F) * 2);
  return texte;
}

ResultatPaquet CreerPaquet(const std::string& sortie, const std::string& dossier, const OptionsPaquet& options) {
  ResultatPaquet r;
  if (options.volume != 0 && options.volume < kVolumeMinimum) {
    r.message = "Taille de volume trop petite : " + std::to_string(options.volume) + " octets (" +
                std::to_string(kVolumeMinimum) + " au moins)";
    return r;
  }
  std::vector<FichierDuPaquet> fichiers;
  if (!ListerFichiers(sortie, dossier, fichiers, r.message)) return r;

  int64_t total = 0;
  std::string liste;
  for (const auto& f : fichiers) {
    total += f.taille;
    liste += f.nom + "\r\n";
  }
  if (total > std::numeric_limits<int32_t>::max()) {
    r.message = "Paquet trop grand : " + std::to_string(total) + " octets de fichiers";
    return r;
  }

  const Zlib zlib;
  if (options.compression != Compression::Aucune && !zlib.Disponible()) {
    r.message = "Compression impossible : zlib indisponible";
    return r;
  }
  Ecrivain e(sortie, options.volume);
  std::string message;
  if (!EcrireArchive(e, fichiers, total, liste, options.compression, zlib, message) || !e.Terminer()) {
    r.message = !message.empty() ? message : e.Message();
    return r;
  }
  r.ok = true;
  r.fichiers = static_cast<int>(fichiers.size());
  r.volumes = e.Volumes();
  return r;
}

ResultatListe ListerPaquet(const std::string& archive) {
  ResultatListe r;
  const Zlib zlib;
  Lecteur l;
  std::string volume = archive;
  if (!l.Ouvrir(volume)) {
    r.message = "Impossible d'ouvrir le fichier " + archive;
    return r;
  }
  try {
    l.Sauter(l.Entier());
    l.Entier();  // total
    l.Entier();  // header value
    while (true) {
      const int32_t n = l.Entier();
      if (n == 0) break;
      if (n < 0) continue;
      const std::string nom = l.Texte(n);
      if (nom.compare(0, 9, kMarqueVolume) == 0) {
        volume = ChangerExtension(volume, "." + nom.substr(9, 3));
        if (!l.Ouvrir(volume)) throw std::runtime_error("volume introuvable : " + volume);
        const int64_t suite = LireDonnees(l, zlib, r.entrees.empty() ? std::string() : r.entrees.back().nom);
        if (!r.entrees.empty()) r.entrees.back().taille += suite;
        continue;
      }
      EntreePaquet e;
      e.nom = Cp1252VersUtf8(nom);
      e.date = l.Entier();
      e.taille = LireDonnees(l, zlib, e.nom);
      r.entrees.push_back(std::move(e));
    }
  } catch (const std::exception& erreur) {
    r.message = "Paquet illisible : " + volume + " (" + erreur.what() + ")";
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace glissaro::paquet
