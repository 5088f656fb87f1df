#include "JeuSolution.h"

#include "Partie.h"

namespace glissaro {

namespace {

// Plays the gestures of a solution on a game that holds its board.
std::vector<TGeste> Jouer(TPartie& partie, const std::vector<PasSolution>& chemin) {
  const int t = partie.TailleCase();
  std::vector<TGeste> gestes;
  std::size_t i = 0;
  while (i < chemin.size()) {
    TGeste geste{(chemin[i].colonne - 1) * t + t / 2, (chemin[i].ligne - 1) * t + t / 2, {}};
    partie.Appuyer(geste.x, geste.y);
    const uint16_t piece = partie.PieceChoisie();
    int x = geste.x, y = geste.y;
    do {
      x += ((chemin[i].direction == EvDroite) - (chemin[i].direction == EvGauche)) * t;
      y += ((chemin[i].direction == EvBas) - (chemin[i].direction == EvHaut)) * t;
      partie.Glisser(x, y);
      geste.pas.emplace_back(x, y);
      ++i;
    } while (i < chemin.size() && partie.Plateau().Contient(chemin[i].ligne, chemin[i].colonne) &&
             partie.Plateau().Case(chemin[i].ligne, chemin[i].colonne).Piece == piece);
    partie.Relacher();
    gestes.push_back(std::move(geste));
  }
  return gestes;
}

}  // namespace

std::vector<TGeste> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin, int taille) {
  TPartie partie;
  partie.DefinirTailleCase(taille);
  partie.CommencerPartie(plateau);
  return Jouer(partie, chemin);
}

std::vector<TEvenement> EvenementsDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                               int32_t compteurDepart, int32_t* compteurFin) {
  TPartie partie;
  partie.CommencerPartie(plateau);
  Jouer(partie, chemin);
  // Played from 0: the counter marks follow the counter it started at.
  std::vector<TEvenement> evenements;
  const auto& h = partie.Historique();
  for (int k = 0; k < h.Fin; ++k) {
    TEvenement e = h[k];
    if (e.Code == EvCompteur)
      e.Valeur = static_cast<int16_t>((static_cast<uint32_t>(compteurDepart) + static_cast<uint16_t>(e.Valeur)) & 0xFFFF);
    evenements.push_back(e);
  }
  if (compteurFin) *compteurFin = compteurDepart + partie.Compteur();
  return evenements;
}

}  // namespace glissaro
