#include "Gestes.h"

#include "Partie.h"

namespace glissaro::plateaux {

std::vector<std::vector<std::string>> GestesDeLaSolution(const TPlateau& plateau, const std::vector<PasSolution>& chemin,
                                                         int taille) {
  TPartie partie;
  partie.DefinirTailleCase(taille);
  partie.DefinirVitesse(2);
  partie.CommencerPartie(plateau);
  auto point = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
  std::vector<std::vector<std::string>> gestes;
  std::size_t i = 0;
  while (i < chemin.size()) {
    int x = (chemin[i].colonne - 1) * taille + taille / 2, y = (chemin[i].ligne - 1) * taille + taille / 2;
    std::vector<std::string> geste{"appuyer " + point(x, y)};
    partie.Appuyer(x, y);
    const uint16_t piece = partie.PieceChoisie;
    do {
      x += ((chemin[i].direction == EvDroite) - (chemin[i].direction == EvGauche)) * taille;
      y += ((chemin[i].direction == EvBas) - (chemin[i].direction == EvHaut)) * taille;
      partie.Glisser(x, y);
      geste.push_back("glisser " + point(x, y));
      ++i;
    } while (i < chemin.size() && partie.Plateau.Contient(chemin[i].ligne, chemin[i].colonne) &&
             partie.Plateau.Case(chemin[i].ligne, chemin[i].colonne).Piece == piece);
    partie.Relacher();
    geste.push_back("relacher " + point(x, y));
    gestes.push_back(std::move(geste));
  }
  return gestes;
}

}  // namespace glissaro::plateaux
