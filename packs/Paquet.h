// The authors' side of board packs: making a ".pkg" archive from a folder of
// boards, and listing what an archive holds. The game itself only restores
// (backup.h); glissaro-outils offers these as "paquet creer" and "paquet
// lister".
//
// An archive made here carries a header text of our own, the total of the
// file sizes, the header value 0, a "FILE:LIST" entry whose data names the
// files (one a line, CR LF), then each file under its plain name with its
// modification date, its data cut into blocks of at most 16,384 bytes, each
// compressed with zlib or stored when compression does not make it smaller.
// With a volume size, the archive is cut into volumes of at most that many
// bytes (PackXX.pkg, PackXX.002, PackXX.003...) joined by "NEXT:DISK"
// markers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace glissaro::paquet {

enum class Compression { Aucune, Rapide, Normale, Max };

inline constexpr const char* kTexteEntete = "Glissaro - paquet de plateaux";
// The smallest volume accepted: room for the header, an entry with the
// longest file name and the markers that close a volume.
inline constexpr int64_t kVolumeMinimum = 1024;

struct OptionsPaquet {
  int64_t volume = 0;  // largest volume in bytes; 0: a single file
  Compression compression = Compression::Normale;
};

struct ResultatPaquet {
  bool ok = false;
  std::string message;  // French, when not ok
  int fichiers = 0;     // files stored (the "FILE:LIST" entry aside)
  int volumes = 0;      // volume files written
};

// Stores the regular files of dossier (not its sub-folders), by name, into
// the archive sortie and its further volumes.
ResultatPaquet CreerPaquet(const std::string& sortie, const std::string& dossier, const OptionsPaquet& options = {});

struct EntreePaquet {
  std::string nom;     // the stored name, in UTF-8
  int64_t taille = 0;  // bytes once restored
  int32_t date = 0;    // MS-DOS packed date
};

struct ResultatListe {
  bool ok = false;
  std::string message;  // French, when not ok
  std::vector<EntreePaquet> entrees;  // every file entry, "FILE:LIST" included
};

// Reads the archive through all its volumes (found beside it) and lists its
// file entries. Compressed blocks are inflated to know the sizes, as a
// restore would (at most 16,384 bytes a block).
ResultatListe ListerPaquet(const std::string& archive);

// "YYYY-MM-DD HH:MM:SS" of an MS-DOS packed date, fields as stored.
std::string TexteDate(int32_t date);

// The name of a further volume: the archive's extension replaced by the
// three digits of the volume number ("Pack01.pkg", 2 -> "Pack01.002").
std::string NomVolume(const std::string& archive, int numero);

}  // namespace glissaro::paquet
