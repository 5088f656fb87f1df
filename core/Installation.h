// The player's program folder, and the shipped data it is made from.
//
// A program folder that holds the game's data and that the player may
// write (build/programme of scripts/run, ~/.local/share/glissaro of
// scripts/install) is the game's folder as it is. An executable installed
// for the whole machine (/usr/games/glissaro, its data read-only in
// /usr/share/games/glissaro) keeps the player's things in the player's own
// folder, $XDG_DATA_HOME/glissaro/ (by default ~/.local/share/glissaro/),
// made from the shipped data at the first start and brought up to date
// whenever the shipped data changed:
// - a shipped file the player did not change is replaced by the new one,
//   or removed when it is shipped no more;
// - a shipped board the player changed stays, and the new one is put
//   beside it as "… (nouveau).wbp", its title the file's name without the
//   rank that begins it, followed by " (nouveau)";
// - everything else (the player's boards and folders, sequences, packs,
//   settings, records, extra skins) is never touched.
// The folder's manifest ".livres" records every shipped file with its
// SHA-256, one "checksum  path" line each, as sha256sum writes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Plateforme.h"

namespace glissaro {

// Where a machine-wide executable finds its shipped data, from its folder.
inline constexpr const char* kDonneesLivrees = "../share/games/glissaro";
inline constexpr const char* kManifeste = ".livres";

struct DossierDuJeu {
  std::string programme;             // the game's folder, "/" at the end
  std::optional<std::string> livre;  // the shipped data it is made from, "/" at the end
  std::string erreur;                // French, when no folder can be chosen
};

// The game's folder for an executable in dossierExecutable: that folder
// when it holds the game's skins and may be written; the player's folder
// when the shipped data lies at kDonneesLivrees from it; that folder again
// otherwise.
DossierDuJeu ChoisirDossierDuJeu(const std::string& dossierExecutable, const LireVariable& variable);

struct FichierLivre {
  std::string chemin;  // relative, "/" between folders
  std::string somme;   // SHA-256
  bool executable = false;
};
// Every regular file below a folder of shipped data but its manifest,
// sorted by path; nothing when the folder cannot be read.
std::optional<std::vector<FichierLivre>> InventaireLivre(const std::string& livre);

struct ResultatInstallation {
  bool ok = true;
  std::string message;  // French, when not ok
  int copies = 0;       // shipped files written
  int nouveaux = 0;     // new versions put beside boards the player changed
  int gardes = 0;       // boards the player changed, kept
  int retires = 0;      // files removed
};

// Makes the player's folder (joueur) from the shipped data (livre), or
// brings it up to date, as above; its "sequences" and "plateaux" folders
// exist afterwards. A folder that cannot be made or written stops with
// the message, and the manifest is not changed, so that the next run
// tries again.
ResultatInstallation MettreAJourDossierJoueur(const std::string& livre, const std::string& joueur);

// The same at the game's start: when the shipped files have the sizes and
// dates they had at the last update (kept beside the manifest), nothing
// else is read and nothing is done.
ResultatInstallation MettreAJourSiLivreChange(const std::string& livre, const std::string& joueur);

// Removes the shipped files the player did not change, and the manifest;
// the boards they changed and all their own files stay.
ResultatInstallation RetirerFichiersLivres(const std::string& joueur);

}  // namespace glissaro
