// File helpers of the core: whole-file reading, safe replacement of a file,
// and folder creation. Plain C++ (std::filesystem and POSIX calls).
#pragma once

#include <optional>
#include <string>

namespace glissaro {

// Reads a whole file. Returns nothing when it cannot be opened or read.
std::optional<std::string> LireFichier(const std::string& chemin);

// Writes contents to a temporary file in the same folder, flushes it to disk
// and renames it over the target, so that a failure at any point leaves the
// old file byte for byte. On failure the temporary file is removed and the
// message "Impossible d'écrire dans <chemin>" is returned.
struct ResultatEcriture {
  bool ok = true;
  std::string message;
};
ResultatEcriture EcrireFichierSur(const std::string& chemin, const std::string& contenu);

// The message of a failed write.
std::string MessageEcritureImpossible(const std::string& chemin);

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
