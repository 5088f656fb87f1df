// File helpers of the core: bounded reading of a file, safe replacement of
// a file, and folder creation. Plain C++ (std::filesystem and POSIX calls).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace glissaro {

// The most that each kind of file may hold. Every reader of the program
// goes through LireFichier with its own bound: what a legal file can hold,
// with a wide margin, so that a hostile file costs at most that much memory.
inline constexpr std::size_t kTailleMaxPlateau = 64 * 1024;  // a 20 × 16 board is about 12 KB
inline constexpr std::size_t kTailleMaxTexte = 1024 * 1024;  // settings, skin descriptions, page template
inline constexpr std::size_t kTailleMaxImage = 64 * 1024 * 1024;  // skin pictures
// Records.ini: a record takes about 130 bytes, so many thousands of boards.
inline constexpr std::size_t kTailleMaxRecords = 16 * 1024 * 1024;

// A file read into memory, or why not.
struct FichierLu {
  enum class Etat {
    Lu,
    Absent,        // no such file (or a path through something that is not a folder)
    Illisible,     // cannot be opened or read
    PasOrdinaire,  // a folder, a pipe, a device...
    TropGrand,     // more bytes than the bound
  };
  Etat etat = Etat::Illisible;
  std::string contenu;  // the bytes, when read
  std::string message;  // the French message, when not read
  bool Lu() const { return etat == Etat::Lu; }
};

// Reads a whole file of at most tailleMax bytes. Only a regular file is
// read (a pipe is never waited on, a device never drained), and never more
// than tailleMax + 1 bytes are taken from it: a longer file is refused with
// "Le fichier <chemin> est trop grand" and nothing of it is kept.
FichierLu LireFichier(const std::string& chemin, std::size_t tailleMax);

// The messages of a refused file.
std::string MessageFichierTropGrand(const std::string& chemin);
std::string MessageFichierIllisible(const std::string& chemin);

// A new file written beside its target, that takes the target's place
// only once it is complete: Remplacer() gives it the permissions of the
// file it replaces (or read and write for the user, read for the others),
// flushes it to disk and renames it over the target, so that a link at the
// target is replaced, never written through. Until then, and if anything
// fails, the target is untouched; the temporary file is removed when the
// object goes without having replaced it.
//
// The temporary file is named kPrefixeTemporaire and six characters, in the
// target's folder: short, so that any name the file system takes can be a
// target, and known, so that what a killed program left can be found.
inline constexpr const char* kPrefixeTemporaire = ".glissaro-";

class FichierTemporaire {
 public:
  explicit FichierTemporaire(std::string cible);
  ~FichierTemporaire();
  FichierTemporaire(const FichierTemporaire&) = delete;
  FichierTemporaire& operator=(const FichierTemporaire&) = delete;

  bool Ouvert() const { return fd_ >= 0; }
  int Descripteur() const { return fd_; }
  const std::string& Cible() const { return cible_; }
  void ChangerCible(std::string cible) { cible_ = std::move(cible); }
  bool Ecrire(std::string_view octets);
  // Flushed to disk first unless the caller flushes many files at once
  // (SynchroniserDossier) before they count.
  bool Remplacer(bool synchroniser = true);
  // The permissions the file takes, instead of those of the file it
  // replaces.
  void DefinirMode(unsigned mode) { mode_ = mode; }
  // The system's error (errno) of the first step that failed, 0 if none.
  int Erreur() const { return erreur_; }

 private:
  bool Echec();

  std::string cible_;
  std::string chemin_;
  int fd_ = -1;
  int erreur_ = 0;
  std::optional<unsigned> mode_;
};

// Writes contents to a temporary file in the same folder, flushes it to disk
// and renames it over the target, so that a failure at any point leaves the
// old file byte for byte. On failure the temporary file is removed and the
// message of the failed write is returned.
struct ResultatEcriture {
  bool ok = true;
  std::string message;
};
ResultatEcriture EcrireFichierSur(const std::string& chemin, const std::string& contenu);

// The message of a failed write, saying what happened when the system's
// error tells it: "Impossible d'écrire <chemin> : disque plein", "Nom de
// fichier trop long : <chemin>", else "Impossible d'écrire dans <chemin>".
std::string MessageEcritureImpossible(const std::string& chemin, int erreur = 0);

// Removes the temporary files that a program killed while writing left in
// a folder (its own files only, by their name); how many.
int SupprimerTemporairesAbandonnes(const std::string& dossier);

// Flushes to disk everything written in the file system of a folder: one
// call for many files written with Remplacer(false). False on failure.
bool SynchroniserDossier(const std::string& dossier);

// Tells whether a folder exists.
bool DossierExiste(const std::string& chemin);

// Creates a folder together with its missing parents; true when the folder
// exists afterwards.
bool CreerDossiers(const std::string& chemin);

// The kinds of file the game opens, by their extension (any case): boards
// ".wbp", sequences ".swb", board packs ".pkg".
enum class GenreFichier { Plateau, Sequence, Paquet, Autre };
GenreFichier GenreDuFichier(const std::string& chemin);

}  // namespace glissaro
