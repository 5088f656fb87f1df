// The board file ".wbp": Windows-1252 text, one value per line, CR LF.
//
//   1  "V1.00" (never compared)      4  Hauteur
//   2  title                          5  status: "0", "1" or "2"
//   3  Largeur                        6… nine lines per cell, row by row:
//      Serie, Map, Piece, Haut, Droit, Bas, Gauche, PlaceFinal, Porte
#pragma once

#include <string>
#include <string_view>

#include "Fichiers.h"
#include "Plateau.h"

namespace glissaro {

enum class StatutLecture {
  Ok,         // the board was read
  NonValide,  // line 5 is exactly "0": the board was never validated
  Erreur,     // the file cannot be opened, or a line is wrong
};

// How a reader takes the file.
enum class ModeLecture {
  // Play and previews: status "0" is refused; each cell gets PosX, PosY and
  // Nom, floor on a final place image 1 and door cells image 16.
  Jeu,
  // The editor: line 5 is read and ignored; cells are taken as written.
  Editeur,
};

struct ResultatLecture {
  StatutLecture statut = StatutLecture::Erreur;
  // Lines 2 to 5, known as soon as they were read (also for a status "0"
  // board, whose title and size the board window shows).
  bool enTeteLu = false;
  std::string titre;
  int largeur = 0;
  int hauteur = 0;
  std::string ligneEtat;  // line 5 as written
  // The French message of an error, naming the file and the line.
  std::string message;
};

// Reads a board. The board is changed only when the result is Ok; on any
// other result it keeps what it had. Widths outside 1 to 20 and heights
// outside 1 to 16 are refused before any cell is read.
ResultatLecture LirePlateau(const std::string& chemin, TPlateau& plateau, ModeLecture mode = ModeLecture::Jeu);
// The same from contents already in memory; nomFichier names the file in
// messages.
ResultatLecture LirePlateauDepuisTexte(std::string_view contenu, const std::string& nomFichier, TPlateau& plateau,
                                       ModeLecture mode = ModeLecture::Jeu);

// The text of a board file: "V1.00", the title, the size, the status line,
// then every cell; Windows-1252 with CR LF.
std::string TexteDuPlateau(const TPlateau& plateau, std::string_view ligneEtat);

// Writes a board file safely (temporary file, then rename): on failure the
// file that was there is untouched and the message names the path.
ResultatEcriture EcrirePlateau(const std::string& chemin, const TPlateau& plateau, std::string_view ligneEtat);

// The name (without ".wbp") of the file to load for a board previewed from
// the file nomFichier whose stored title is titre: the title, as the
// editor names a board's file after it; but a file of the shipped library
// named by its rank in its folder and its title ("07 - Le fanion" titled
// "Le fanion") is loaded as it is.
std::string NomDuPlateauChoisi(std::string_view nomFichier, std::string_view titre);

}  // namespace glissaro
