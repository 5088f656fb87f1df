#include "Pieces.h"

#include <map>

namespace glissaro {

std::vector<TPiece> PiecesMobiles(const TPlateau& plateau) {
  std::map<uint16_t, TPiece> parNumero;
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) {
      const auto& cellule = plateau.Case(l, c);
      if (!TuileMobile(cellule)) continue;
      auto& piece = parNumero[cellule.Piece];
      if (piece.cases.empty()) {
        piece.numero = cellule.Piece;
        piece.serie = cellule.Serie;
      }
      piece.cases.push_back({l, c});
      if (cellule.Serie == TSerieMap::Final) ++piece.maitres;
    }
  std::vector<TPiece> pieces;
  for (auto& [numero, piece] : parNumero) pieces.push_back(std::move(piece));
  return pieces;
}

std::vector<uint16_t> NumerosDesPiecesMobiles(const TPlateau& plateau) {
  std::vector<uint16_t> numeros;
  for (const auto& piece : PiecesMobiles(plateau)) numeros.push_back(piece.numero);
  return numeros;
}

std::vector<int> TSorte::Cle() const {
  std::vector<int> cle{static_cast<int>(serie)};
  for (std::size_t i = 0; i < decalages.size(); ++i) {
    const auto& t = tuiles[i];
    cle.insert(cle.end(), {decalages[i].ligne, decalages[i].colonne, static_cast<int>(t.Serie), t.Map, t.Droit,
                           t.Gauche, t.Haut, t.Bas});
  }
  return cle;
}

TSorte SorteDe(const TPlateau& plateau, const TPiece& piece) {
  TSorte sorte;
  sorte.serie = piece.serie;
  sorte.maitres = piece.maitres;
  const TPosition ancre = piece.Ancre();
  for (const auto& p : piece.cases) {
    sorte.decalages.push_back({p.ligne - ancre.ligne, p.colonne - ancre.colonne});
    sorte.tuiles.push_back(plateau.Case(p));
  }
  return sorte;
}

}  // namespace glissaro
