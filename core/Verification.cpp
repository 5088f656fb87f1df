#include "Verification.h"

#include <algorithm>

namespace glissaro {

namespace {

class Fautes {
 public:
  explicit Fautes(std::vector<TPosition>& liste) : liste_(liste) {}
  void Marquer(int ligne, int colonne) {
    const TPosition p{ligne, colonne};
    if (std::find(liste_.begin(), liste_.end(), p) == liste_.end()) liste_.push_back(p);
  }
  bool Aucune() const { return liste_.empty(); }

 private:
  std::vector<TPosition>& liste_;
};

void VerifierJonctions(const TPlateau& p, Fautes& fautes) {
  for (int l = 1; l <= p.Hauteur; ++l) {
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& t = p.Case(l, c);
      if (t.Haut && (l == 1 || !p.Case(l - 1, c).Bas || p.Case(l - 1, c).Serie != t.Serie)) fautes.Marquer(l, c);
      if (t.Bas && (l == p.Hauteur || !p.Case(l + 1, c).Haut || p.Case(l + 1, c).Serie != t.Serie)) fautes.Marquer(l, c);
      if (t.Gauche && (c == 1 || !p.Case(l, c - 1).Droit || p.Case(l, c - 1).Serie != t.Serie)) fautes.Marquer(l, c);
      if (t.Droit && (c == p.Largeur || !p.Case(l, c + 1).Gauche || p.Case(l, c + 1).Serie != t.Serie))
        fautes.Marquer(l, c);
    }
  }
}

void VerifierPieces(const TPlateau& p, Fautes& fautes) {
  for (int c = 1; c <= p.Largeur; ++c) {
    for (int l = 1; l <= p.Hauteur; ++l) {
      const auto& t = p.Case(l, c);
      if (t.Piece == 0) continue;
      const bool faute = (!t.Haut && l > 1 && p.Case(l - 1, c).Piece == t.Piece) ||
                         (!t.Bas && l < p.Hauteur && p.Case(l + 1, c).Piece == t.Piece) ||
                         (!t.Gauche && c > 1 && p.Case(l, c - 1).Piece == t.Piece) ||
                         (!t.Droit && c < p.Largeur && p.Case(l, c + 1).Piece == t.Piece);
      if (faute) fautes.Marquer(l, c);
    }
  }
}

}  // namespace

ResultatVerification VerifierGrille(TPlateau& plateau) {
  ResultatVerification r;
  int places = 0, maitres = 0;
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) {
      const auto& t = plateau.Case(l, c);
      if (t.PlaceFinal) ++places;
      if (t.Serie == TSerieMap::Final) ++maitres;
    }
  if (places == 0) {
    r.issue = IssueVerification::PasDePlaceFinale;
    r.texte = kTextePasDePlaceFinale;
    return r;
  }
  if (maitres == 0) {
    r.issue = IssueVerification::PasDeMaitre;
    r.texte = kTextePasDeMaitre;
    return r;
  }
  if (places < maitres) {
    r.issue = IssueVerification::PasAssezDePlaces;
    r.texte = kTextePasAssezDePlaces;
    return r;
  }

  Fautes fautes(r.fautes);
  VerifierJonctions(plateau, fautes);
  if (!fautes.Aucune()) {
    r.issue = IssueVerification::JonctionsIncorrectes;
    r.texte = kTexteGrilleIncorrecte;
    return r;
  }

  NumeroterPieces(plateau);
  r.numerotees = true;

  VerifierPieces(plateau, fautes);
  if (!fautes.Aucune()) {
    r.issue = IssueVerification::PiecesIncorrectes;
    r.texte = kTexteGrilleIncorrecte;
    return r;
  }
  r.texte = kTexteGrilleCorrecte;
  return r;
}

}  // namespace glissaro
