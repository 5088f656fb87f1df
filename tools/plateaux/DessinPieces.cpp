#include "DessinPieces.h"

#include <map>
#include <utility>

namespace glissaro::plateaux {

std::vector<std::string> DessinDesPieces(const TPlateau& p) {
  std::vector<std::string> dessin(p.Hauteur, std::string(p.Largeur, '.'));
  std::map<uint16_t, char> lettres;
  auto lettre = [&](int l, int c) -> char {
    if (!p.Contient(l, c)) return 0;
    const auto t = lettres.find(p.Case(l, c).Piece);
    return t == lettres.end() ? 0 : t->second;
  };
  const std::string ordinaires = "abcdefghijklmnopqrstuvwxyz0123456789", maitres = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::size_t prochaineOrdinaire = 0, prochaineMaitre = 0;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      char& ici = dessin[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)];
      if (k.Serie == TSerieMap::Vide) continue;
      if (k.Serie == TSerieMap::Bord) {
        ici = k.Porte ? '+' : '#';
        continue;
      }
      if (const auto t = lettres.find(k.Piece); t != lettres.end()) {
        ici = t->second;
        continue;
      }
      // A new piece: the next letter of its series, or, once they are all
      // used, the first that no piece beside this one shows.
      const std::string& jeu = k.Serie == TSerieMap::Final ? maitres : ordinaires;
      std::size_t& prochaine = k.Serie == TSerieMap::Final ? prochaineMaitre : prochaineOrdinaire;
      char choisie = 0;
      if (prochaine < jeu.size()) {
        choisie = jeu[prochaine++];
      } else {
        for (const char candidate : jeu) {
          bool libre = true;
          for (int l2 = 1; l2 <= p.Hauteur && libre; ++l2)
            for (int c2 = 1; c2 <= p.Largeur && libre; ++c2) {
              if (p.Case(l2, c2).Piece != k.Piece) continue;
              for (const auto& [dl, dc] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                if (lettre(l2 + dl, c2 + dc) == candidate && p.Case(l2 + dl, c2 + dc).Piece != k.Piece) libre = false;
            }
          if (libre) {
            choisie = candidate;
            break;
          }
        }
      }
      lettres[k.Piece] = choisie;
      ici = choisie;
    }
  return dessin;
}

}  // namespace glissaro::plateaux
