// Any bytes as a sequence file, loaded onto a board with doors and replayed
// to the end and back: a sequence from elsewhere never crashes the replay.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FichierPlateau.h"
#include "Rejeu.h"
#include "Sequence.h"

using namespace glissaro;

namespace {

TPlateau Plateau() {
  const char* lignes[] = {"#DD##", "#.A.#", "#bb.#", "#..c#", "#####"};
  TPlateau p;
  p.Largeur = 5;
  p.Hauteur = 5;
  p.Titre = "Fuzz";
  p.Etat = 1;
  for (int l = 1; l <= 5; ++l)
    for (int c = 1; c <= 5; ++c) {
      auto& k = p.Case(l, c);
      const char x = lignes[l - 1][c - 1];
      k.Serie = x == '.' ? TSerieMap::Vide : x == '#' || x == 'D' ? TSerieMap::Bord
                : x == 'A'                                      ? TSerieMap::Final
                                                                : TSerieMap::Normal;
      k.Porte = x == 'D';
      k.Droit = x == 'b' && c == 2;
      k.Gauche = x == 'b' && c == 3;
    }
  p.Case(4, 2).PlaceFinal = true;
  NumeroterPieces(p);
  for (int l = 1; l <= 5; ++l)
    for (int c = 1; c <= 5; ++c) AjusterCaseLue(p.Case(l, c), l, c);
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  const auto sequence =
      LireSequenceDepuisOctets(std::string_view(reinterpret_cast<const char*>(donnees), taille), "fuzz.swb");
  if (!sequence.ok) return 0;
  static const TPlateau plateau = Plateau();
  TitreCorrespond(sequence.titreStocke, plateau.Titre);
  TPartie partie;
  partie.CommencerPartie(plateau);
  partie.RechargerSequence(sequence.evenements);
  partie.AllerALaFin();
  partie.Reculer();
  partie.AllerAuDebut();
  partie.AllerALaFin();
  return 0;
}
