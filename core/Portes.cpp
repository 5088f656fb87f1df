#include "Portes.h"

#include <array>

#include "Historique.h"

namespace glissaro {

namespace {

// Walks a door: the cells with Porte joined by their sides to the start,
// each once, depth first, trying below, above, right, then left. The visit
// returns false to end the walk, and so does the walk.
bool ParcourirPorte(const TPlateau& plateau, TPosition depart, const std::function<bool(int, int)>& visite) {
  std::array<std::array<bool, kLargeurMax>, kHauteurMax> vu{};
  std::function<bool(int, int)> parcourir = [&](int l, int c) {
    vu[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)] = true;
    if (!visite(l, c)) return false;
    constexpr std::array<std::array<int, 2>, 4> kVoisins = {{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
    for (const auto& [dl, dc] : kVoisins) {
      const int lv = l + dl, cv = c + dc;
      if (!plateau.Contient(lv, cv) || vu[static_cast<std::size_t>(lv - 1)][static_cast<std::size_t>(cv - 1)]) continue;
      if (!plateau.Case(lv, cv).Porte) continue;
      if (!parcourir(lv, cv)) return false;
    }
    return true;
  };
  return parcourir(depart.ligne, depart.colonne);
}

bool EstPorteFermee(const TPlateau& plateau, int ligne, int colonne) {
  return plateau.Case(ligne, colonne).Map == kMapPorteFermee;
}

// A frame cell for a corner touch: border, or a touched door cell.
bool EstCadre(const TPlateau& plateau, int ligne, int colonne) {
  const auto& cellule = plateau.Case(ligne, colonne);
  return cellule.Map == kMapPorteTouchee || cellule.Serie == TSerieMap::Bord;
}

void OuvrirPorte(TPlateau& plateau, TPosition porte, const ActionsPortes& actions) {
  ParcourirPorte(plateau, porte, [&](int l, int c) {
    auto& cellule = plateau.Case(l, c);
    if (cellule.Map == kMapPorteTouchee) {
      cellule.Serie = TSerieMap::Vide;
      cellule.Map = kMapFond;
      if (actions.dessiner) actions.dessiner({l, c});
      if (actions.enregistrer) actions.enregistrer(CodePosition({l, c}), EvPorteOuverte);
    }
    return true;
  });
}

void ToucherPorte(TPlateau& plateau, TPosition porte, const ActionsPortes& actions) {
  plateau.Case(porte).Map = kMapPorteTouchee;
  if (actions.dessiner) actions.dessiner(porte);
  const bool complete = PorteComplete(plateau, porte);
  if (actions.enregistrer) actions.enregistrer(CodePosition(porte), EvPorteTouchee);
  if (!complete) return;
  OuvrirPorte(plateau, porte, actions);
  if (actions.porteOuverte) actions.porteOuverte();
}

}  // namespace

bool PorteComplete(const TPlateau& plateau, TPosition porte) {
  return ParcourirPorte(plateau, porte, [&](int l, int c) { return plateau.Case(l, c).Map != kMapPorteFermee; });
}

void VerifierPortes(TPlateau& p, uint16_t piece, const ActionsPortes& actions) {
  const int H = p.Hauteur, L = p.Largeur;
  const auto fermee = [&p](int l, int c) { return EstPorteFermee(p, l, c); };
  const auto cadre = [&p](int l, int c) { return EstCadre(p, l, c); };
  const auto toucher = [&](int l, int c) { ToucherPorte(p, {l, c}, actions); };
  for (int l = 1; l <= H; ++l) {
    for (int c = 1; c <= L; ++c) {
      if (p.Case(l, c).Piece != piece) continue;
      if (l > 1 && fermee(l - 1, c)) toucher(l - 1, c);
      if (l < H && fermee(l + 1, c)) toucher(l + 1, c);
      if (c > 1 && fermee(l, c - 1)) toucher(l, c - 1);
      if (c < L && fermee(l, c + 1)) toucher(l, c + 1);
      if (l > 1 && c < L && cadre(l - 1, c) && cadre(l, c + 1) && fermee(l - 1, c + 1)) toucher(l - 1, c + 1);
      if (l < H && c < L && cadre(l + 1, c) && cadre(l, c + 1) && fermee(l + 1, c + 1)) toucher(l + 1, c + 1);
      if (l < H && c > 1 && cadre(l + 1, c) && cadre(l, c - 1) && fermee(l + 1, c - 1)) toucher(l + 1, c - 1);
      if (l > 1 && c > 1 && cadre(l - 1, c) && cadre(l, c - 1) && fermee(l - 1, c - 1)) toucher(l - 1, c - 1);
    }
  }
}

}  // namespace glissaro
