// The settings file Glissaro.ini of the program folder: the skin name and
// the two speeds, read once at start and written at a confirmed close.
#pragma once

#include <string>

#include "Fichiers.h"

namespace glissaro {

inline constexpr const char* kNomSkinDefaut = "Glissaro";
inline constexpr int kVitesseDeplacementDefaut = 2;
inline constexpr int kVitesseMagnetoDefaut = 200;

struct Parametres {
  std::string NomSkin = kNomSkinDefaut;                  // key "Nom"
  int VitesseDeplacement = kVitesseDeplacementDefaut;    // key "Deplacement": 1, 2 or 4
  int VitesseMagneto = kVitesseMagnetoDefaut;            // key "Magneto": 20, 200 or 500 ms
  // Section "jeu", added on top of the three keys above.
  int Zoom = 0;                // key "Zoom": 0 automatic, else 100, 150, 200 or 300 (percent)
  bool PlacesFinales = true;   // key "PlacesFinales": final places marked under the pieces
};

// The settings file of a program folder (which ends with "/").
std::string CheminParametres(const std::string& chemin);

// Reads the settings; a missing file, section or key, or an unreadable
// number, gives the default. A speed of 0 or below is never used: the move
// speed becomes 2 and the replay speed 200. A board size other than those
// offered is automatic; "PlacesFinales" is off only when it reads 0. A file
// that cannot be read (larger than 1 MiB, not a regular file...) gives the
// defaults too, and its message goes into *message when given.
Parametres LireParametres(const std::string& fichier, std::string* message = nullptr);

// Writes "Nom", "deplacement" and "Magneto" in that order into the section
// "skin", then "Zoom" and "PlacesFinales" (1 or 0) into the section "jeu"
// when that section exists or either differs from its default; every other
// section and key of the file is kept. The file is
// replaced safely; on failure the message reads "Impossible d'écrire dans "
// followed by the full path, and the old file is untouched. A file that
// exists but cannot be read is not replaced (its other sections would be
// lost): the message is the reader's.
ResultatEcriture EcrireParametres(const std::string& fichier, const Parametres& parametres);

// The forward replay timer runs at half the replay speed, rounded to the
// nearest integer with a half going to the even neighbour (25 gives 12).
int DemiIntervalle(int intervalle);

}  // namespace glissaro
