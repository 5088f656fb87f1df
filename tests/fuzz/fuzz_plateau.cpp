// Any bytes as a board file: read for play and for the editor; a board
// that reads is written back and must read back the same; the check runs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FichierPlateau.h"
#include "Partie.h"
#include "Verification.h"

using namespace glissaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
  TPlateau jeu;
  const auto lecture = LirePlateauDepuisTexte(texte, "fuzz.wbp", jeu, ModeLecture::Jeu);
  if (lecture.statut == StatutLecture::Ok) {
    TPlateau relu;
    if (LirePlateauDepuisTexte(TexteDuPlateau(jeu, "1"), "relu.wbp", relu).statut != StatutLecture::Ok) std::abort();
    for (int l = 1; l <= jeu.Hauteur; ++l)
      for (int c = 1; c <= jeu.Largeur; ++c)
        if (relu.Case(l, c).Serie != jeu.Case(l, c).Serie || relu.Case(l, c).Map != jeu.Case(l, c).Map ||
            relu.Case(l, c).Piece != jeu.Case(l, c).Piece)
          std::abort();
    // A few gestures over the whole board.
    TPartie partie;
    partie.CommencerPartie(jeu);
    for (int l = 1; l <= jeu.Hauteur; ++l)
      for (int c = 1; c <= jeu.Largeur; ++c) {
        const int x = (c - 1) * 20 + 10, y = (l - 1) * 20 + 10;
        partie.Appuyer(x, y);
        partie.Glisser(x + 25, y);
        partie.Glisser(x + 25, y + 25);
        partie.Glisser(x - 15, y - 15);
        partie.Relacher();
      }
  }
  TPlateau editeur;
  if (LirePlateauDepuisTexte(texte, "fuzz.wbp", editeur, ModeLecture::Editeur).statut == StatutLecture::Ok)
    VerifierGrille(editeur);
  return 0;
}
