// Boards drawn as text for the tests.
//
// One character a cell:  '.' floor   '#' border tile   'D' closed door cell
// a-z ordinary tiles, A-Z (but D) master tiles: side-by-side cells with the
// same letter are joined into one piece. An optional second picture marks
// final places with 'x'.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FichierPlateau.h"
#include "JeuSolution.h"
#include "Partie.h"
#include "Plateau.h"
#include "Solveur.h"

namespace glissaro::test {

inline TPlateau Dessiner(const std::vector<std::string>& lignes, const std::vector<std::string>& places = {},
                         const std::string& titre = "Essai", int etat = 1) {
  TPlateau p;
  p.Titre = titre;
  p.Etat = etat;
  p.Hauteur = static_cast<uint16_t>(lignes.size());
  p.Largeur = static_cast<uint16_t>(lignes.at(0).size());
  auto lettre = [&](int l, int c) -> char {
    if (l < 1 || l > p.Hauteur || c < 1 || c > p.Largeur) return 0;
    return lignes[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)];
  };
  for (int l = 1; l <= p.Hauteur; ++l) {
    for (int c = 1; c <= p.Largeur; ++c) {
      TCarreau& k = p.Case(l, c);
      const char ch = lettre(l, c);
      const bool piece = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z' && ch != 'D');
      if (ch == '.') {
        k.Serie = TSerieMap::Vide;
      } else if (ch == '#') {
        k.Serie = TSerieMap::Bord;
      } else if (ch == 'D') {
        k.Serie = TSerieMap::Bord;
        k.Porte = true;
        k.Map = kMapPorteFermee;
      } else if (piece) {
        k.Serie = (ch >= 'A' && ch <= 'Z') ? TSerieMap::Final : TSerieMap::Normal;
        k.Haut = lettre(l - 1, c) == ch;
        k.Bas = lettre(l + 1, c) == ch;
        k.Gauche = lettre(l, c - 1) == ch;
        k.Droit = lettre(l, c + 1) == ch;
      }
      if (!places.empty() && places[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)] == 'x')
        k.PlaceFinal = true;
      if (ch != 'D' && k.Serie != TSerieMap::Vide) k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
    }
  }
  NumeroterPieces(p);
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) AjusterCaseLue(p.Case(l, c), l, c);
  return p;
}

// Plays a solution's events with the replay and tells whether the board
// ends solved, and with which counter.
inline std::pair<bool, int32_t> Rejouer(const TPlateau& p, const ResultatSolveur& r) {
  int32_t fin = 0;
  const auto evenements = EvenementsDeLaSolution(p, r.chemin, 0, &fin);
  TPartie partie;
  partie.CommencerPartie(p);
  partie.RechargerSequence(evenements);
  partie.AllerALaFin();
  EXPECT_EQ(partie.Compteur(), fin);
  return {partie.Resolu(), partie.Compteur()};
}

// A fresh folder for one test, removed at the end of the test.
class DossierTemporaire {
 public:
  DossierTemporaire() {
    std::string modele = (std::filesystem::temp_directory_path() / "glissaro-test-XXXXXX").string();
    chemin_ = mkdtemp(modele.data());
  }
  ~DossierTemporaire() {
    std::error_code ec;
    std::filesystem::remove_all(chemin_, ec);
  }
  DossierTemporaire(const DossierTemporaire&) = delete;
  DossierTemporaire& operator=(const DossierTemporaire&) = delete;
  std::string Fichier(const std::string& nom) const { return chemin_ + "/" + nom; }
  const std::string& Chemin() const { return chemin_; }

 private:
  std::string chemin_;
};

// Pixel centre of a cell for a given tile size.
inline int Centre(int indice, int taille = 20) { return (indice - 1) * taille + taille / 2; }

// One whole gesture: press at the centre of (row, column), drag by
// (dx, dy) cells in single pointer events, release.
inline void Geste(TPartie& partie, int ligne, int colonne, const std::vector<std::pair<int, int>>& pas) {
  const int t = partie.TailleCase();
  int x = Centre(colonne, t), y = Centre(ligne, t);
  partie.Appuyer(x, y);
  for (const auto& [dx, dy] : pas) {
    x += dx * t;
    y += dy * t;
    partie.Glisser(x, y);
  }
  partie.Relacher();
}

}  // namespace glissaro::test
