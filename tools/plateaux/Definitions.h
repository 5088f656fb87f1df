// Board definitions: the text files from which glissaro-plateaux builds the
// boards shipped with the game.
//
// A definition file is UTF-8 text. Lines starting with ';' are comments;
// blank lines separate the parts. A file holds any number of boards:
//
//   dossier: 2 - Classiques        folder of the boards that follow
//
//   titre: L'Âne rouge             starts a board (at most 15 characters)
//   plateau:                       the picture, one character a cell
//   ######
//   #aBBb#
//   ...
//   places:                        same size; '*' marks a final place,
//   ######                         any other character is ignored
//   #.**.#
//   jonctions:                     optional, same size: border tiles side
//   aaaaaa                         by side under the same character (other
//   a....a                         than '.') are joined into one piece
//   bords: joints                  optional, instead of "jonctions:": every
//                                  border tile is joined to the border
//                                  tiles beside it (one piece a wall)
//   optimum: 81                    the fewest moves that solve the board,
//                                  checked by the tests with the solver
//   solution: 412                  instead, for a board too large for the
//                                  solver: the moves of its stored solution
//   maximum: 81                    the largest optimum of any arrangement
//                                  of the board's pieces (a hardest start:
//                                  glissaro-plateaux difficile)
//
//   rangs: oui                     after "dossier:": the files of the
//                                  boards that follow in this folder are
//                                  named "01 - <titre>.wbp", "02 - ..." in
//                                  their order here, the order of their
//                                  difficulty; the titles keep no rank
//
// Characters of the picture:
//   '.'        floor
//   '#'        border tile (a piece of its own unless joined)
//   '+'        door cell; side-by-side door cells make one door
//   a-z, 0-9   ordinary pieces   } side-by-side cells with the same
//   A-Z        master pieces     } character are joined into one piece
//
// A picture goes on until a blank line, a comment or the next keyword.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Plateau.h"

namespace glissaro::plateaux {

struct DefinitionPlateau {
  std::string titre;    // UTF-8
  std::string dossier;  // UTF-8
  std::vector<std::string> dessin;
  std::vector<std::string> places;
  std::vector<std::string> jonctions;
  bool bordsJoints = false;  // "bords: joints"
  int rang = 0;              // in its folder, from 1; 0 without rank
  int optimum = -1;          // -1 when not given
  int solution = -1;
  int maximum = -1;
  std::string fichier;  // where the board was defined, for messages
  int ligne = 0;
};

struct ResultatAnalyse {
  std::vector<DefinitionPlateau> plateaux;
  std::vector<std::string> erreurs;  // French, naming the file and the line
};

// Reads the boards of one definition file (contents already in memory).
ResultatAnalyse AnalyserDefinitions(std::string_view texte, const std::string& nomFichier);

// The problem with a title, or an empty string when it is fit for a board
// and its file name: 1 to 15 characters, all of them in Windows-1252, none
// that a file name forbids, no blank at either end.
std::string ProblemeTitre(const std::string& titre);

struct PlateauConstruit {
  TPlateau plateau;          // the cells as the editor writes them
  bool valide = false;       // the editor's check passed (pieces numbered)
  std::string verdict;       // the check's text
  std::vector<std::string> erreurs;  // faults of the definition itself
};

// Builds the board of a definition: cells with their series, joined sides,
// images (Map as the editor writes them: the tile's image, 16 for a door,
// 0 for floor), final places and doors; then runs the editor's check, which
// numbers the pieces. Status 1 when the check passed, 0 otherwise.
PlateauConstruit ConstruirePlateau(const DefinitionPlateau& definition);

// The board's file name without extension: "<titre>", or with its rank
// "07 - <titre>".
std::string NomDeFichier(const DefinitionPlateau& definition);

// Path of a board's file below the library folder: "<dossier>/<nom>.wbp".
std::string CheminRelatif(const DefinitionPlateau& definition);

}  // namespace glissaro::plateaux
