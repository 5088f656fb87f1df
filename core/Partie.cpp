#include "Partie.h"

#include <array>
#include <cstdlib>
#include <iterator>
#include <set>
#include <functional>

namespace glissaro {

std::string TexteCompteur(int32_t valeur) {
  const bool negatif = valeur < 0;
  std::string chiffres = std::to_string(negatif ? -static_cast<int64_t>(valeur) : static_cast<int64_t>(valeur));
  if (chiffres.size() < 4) chiffres.insert(0, 4 - chiffres.size(), '0');
  return negatif ? "-" + chiffres : chiffres;
}

std::string TexteFelicitations(int32_t etat) {
  if (etat == 2)
    return std::string("Bravo, Vous pouvez comparer votre record avec le record mondial") + "\n\r" +
           " sur le site Web " + kAdresseSiteWeb;
  return "Bravo !!! si vous trouvez votre plateau correct, faites-le officialiser !";
}

void TPartie::DefinirVitesse(int vitesse) {
  VitesseDeplacement = vitesse > 0 ? vitesse : 2;
  Seuil = TailleCase / VitesseDeplacement;
}

void TPartie::NouvellePartie() {
  DefinirVitesse(VitesseDeplacement);
  Compteur = 0;
  Historique.Vider();
  DernierePiece = 0;
  BravoAffiche = false;
  Indices = 0;
  SolutionMontree = false;
  pleinSignale_ = false;
  AfficherCompteur(0, false);
}

ResultatLecture TPartie::ChargerPlateau(const std::string& chemin) {
  charge_ = false;
  NouvellePartie();
  const auto resultat = LirePlateau(chemin, Plateau, ModeLecture::Jeu);
  if (resultat.statut == StatutLecture::Ok) {
    PlateauCharge = Plateau;
    charge_ = true;
  }
  return resultat;
}

void TPartie::CommencerPartie(const TPlateau& plateau) {
  NouvellePartie();
  Plateau = plateau;
  PlateauCharge = plateau;
  charge_ = true;
}

void TPartie::Appuyer(int x, int y) {
  if (!charge_) return;
  const int colonne = x >= 0 ? x / TailleCase + 1 : 0;
  const int ligne = y >= 0 ? y / TailleCase + 1 : 0;
  ColonneChoisie = colonne;
  LigneChoisie = ligne;
  if (Plateau.Contient(ligne, colonne)) {
    const auto& cellule = Plateau.Case(ligne, colonne);
    PieceChoisie = cellule.Piece;
    NomChoisi = cellule.Nom;
    SerieChoisie = cellule.Serie;
  } else {
    // Outside the board nothing is taken.
    PieceChoisie = 0;
    NomChoisi.clear();
    SerieChoisie = TSerieMap::Vide;
  }
  ReferenceX = x;
  ReferenceY = y;
  Historique.Couper();
}

void TPartie::Glisser(int x, int y) {
  if (!charge_) return;
  bouge_ = false;
  // In 64 bits: the pointer may be anywhere, the difference never overflows.
  const int64_t dx = int64_t{x} - ReferenceX, dy = int64_t{y} - ReferenceY;
  if (-dx > Seuil && PeutAllerGauche()) DecalerGauche();
  if (dx > Seuil && PeutAllerDroite()) DecalerDroite();
  if (-dy > Seuil && PeutMonter()) DecalerHaut();
  if (dy > Seuil && PeutDescendre()) DecalerBas();
  if (bouge_) {
    VerifierPortes();
    ReferenceX = x;
    ReferenceY = y;
  }
}

void TPartie::Relacher() {
  if (!charge_) return;
  // Counting: the taken tile ended the gesture away from where it was taken
  // (columns from the left, rows from the top: the first such cell decides).
  const TCarreau* arrivee = nullptr;
  for (int c = 1; c <= Plateau.Largeur && !arrivee; ++c)
    for (int l = 1; l <= Plateau.Hauteur && !arrivee; ++l) {
      const auto& cellule = Plateau.Case(l, c);
      if (cellule.Nom == NomChoisi && !(l == LigneChoisie && c == ColonneChoisie)) arrivee = &cellule;
    }
  if (arrivee && arrivee->Piece != DernierePiece) {
    DernierePiece = arrivee->Piece;
    ++Compteur;
    AfficherCompteur(Compteur, true);
  }
  // End of the game.
  if (Resolu() && !BravoAffiche) {
    if (observateur_) observateur_->Felicitations(TexteFelicitations(Plateau.Etat), Plateau.Etat);
    BravoAffiche = true;
  }
}

uint16_t TPartie::PieceSuivante(uint16_t courante, bool avant) const {
  std::set<uint16_t> pieces;
  for (int l = 1; l <= Plateau.Hauteur; ++l)
    for (int c = 1; c <= Plateau.Largeur; ++c) {
      const auto& cellule = Plateau.Case(l, c);
      if (cellule.Serie == TSerieMap::Normal || cellule.Serie == TSerieMap::Final) pieces.insert(cellule.Piece);
    }
  if (pieces.empty()) return 0;
  if (avant) {
    const auto suivante = pieces.upper_bound(courante);
    return suivante == pieces.end() ? *pieces.begin() : *suivante;
  }
  const auto position = pieces.lower_bound(courante);
  return position == pieces.begin() ? *pieces.rbegin() : *std::prev(position);
}

bool TPartie::DeplacerAuClavier(uint16_t piece, int dx, int dy) {
  if (!charge_ || piece == 0 || std::abs(dx) + std::abs(dy) != 1) return false;
  int ligne = 0, colonne = 0;
  for (int l = 1; l <= Plateau.Hauteur && !ligne; ++l)
    for (int c = 1; c <= Plateau.Largeur && !ligne; ++c)
      if (Plateau.Case(l, c).Piece == piece) ligne = l, colonne = c;
  if (!ligne) return false;
  // The piece is taken as a press on that tile takes it.
  const auto& prise = Plateau.Case(ligne, colonne);
  PieceChoisie = piece;
  NomChoisi = prise.Nom;
  SerieChoisie = prise.Serie;
  LigneChoisie = ligne;
  ColonneChoisie = colonne;
  bouge_ = false;
  const int8_t code = dx > 0 ? EvDroite : dx < 0 ? EvGauche : dy > 0 ? EvBas : EvHaut;
  if (PeutAller(dx, dy, code)) Decaler(dx, dy);
  const bool pas = bouge_;
  if (pas) VerifierPortes();
  Relacher();
  return pas;
}

bool TPartie::Resolu() const {
  for (int l = Plateau.Hauteur; l >= 1; --l)
    for (int c = 1; c <= Plateau.Largeur; ++c) {
      const auto& cellule = Plateau.Case(l, c);
      if (cellule.PlaceFinal && cellule.Serie != TSerieMap::Final) return false;
    }
  return true;
}

bool TPartie::PeutAller(int dx, int dy, int8_t code) {
  if (SerieChoisie == TSerieMap::Vide || SerieChoisie == TSerieMap::Bord) return false;
  for (int c = 1; c <= Plateau.Largeur; ++c) {
    for (int l = 1; l <= Plateau.Hauteur; ++l) {
      const auto& cellule = Plateau.Case(l, c);
      if (cellule.Piece != PieceChoisie) continue;
      const int lv = l + dy, cv = c + dx;
      if (!Plateau.Contient(lv, cv)) return false;
      const bool joint = dx > 0 ? cellule.Droit : dx < 0 ? cellule.Gauche : dy > 0 ? cellule.Bas : cellule.Haut;
      if (!joint && Plateau.Case(lv, cv).Serie != TSerieMap::Vide) return false;
    }
  }
  Enregistrer(static_cast<int16_t>(PieceChoisie), code);
  return true;
}

bool TPartie::PeutAllerDroite() { return PeutAller(1, 0, EvDroite); }
bool TPartie::PeutAllerGauche() { return PeutAller(-1, 0, EvGauche); }
bool TPartie::PeutDescendre() { return PeutAller(0, 1, EvBas); }
bool TPartie::PeutMonter() { return PeutAller(0, -1, EvHaut); }

void TPartie::Decaler(int dx, int dy) {
  const int largeur = Plateau.Largeur, hauteur = Plateau.Hauteur;
  if (dx != 0) {
    // Columns from the far side; a tile in the last column in that
    // direction never moves off the board.
    const int premiere = dx > 0 ? largeur - 1 : 2;
    const int derniere = dx > 0 ? 1 : largeur;
    for (int c = premiere; dx > 0 ? c >= derniere : c <= derniere; c -= dx)
      for (int l = 1; l <= hauteur; ++l)
        if (Plateau.Case(l, c).Piece == PieceChoisie) DeplacerCase(l, c, l, c + dx);
  } else {
    const int premiere = dy > 0 ? hauteur - 1 : 2;
    const int derniere = dy > 0 ? 1 : hauteur;
    for (int l = premiere; dy > 0 ? l >= derniere : l <= derniere; l -= dy)
      for (int c = 1; c <= largeur; ++c)
        if (Plateau.Case(l, c).Piece == PieceChoisie) DeplacerCase(l, c, l + dy, c);
  }
  bouge_ = true;
}

void TPartie::DecalerDroite() { Decaler(1, 0); }
void TPartie::DecalerGauche() { Decaler(-1, 0); }
void TPartie::DecalerBas() { Decaler(0, 1); }
void TPartie::DecalerHaut() { Decaler(0, -1); }

void TPartie::DeplacerCase(int ls, int cs, int ld, int cd) {
  auto& source = Plateau.Case(ls, cs);
  auto& destination = Plateau.Case(ld, cd);
  destination.Droit = source.Droit;
  destination.Gauche = source.Gauche;
  destination.Haut = source.Haut;
  destination.Bas = source.Bas;
  destination.Piece = source.Piece;
  destination.Map = source.Map;
  destination.Serie = source.Serie;
  std::swap(source.Nom, destination.Nom);
  DessinerCase(ld, cd);
  source.Droit = source.Gauche = source.Haut = source.Bas = false;
  source.Piece = 0;
  source.Map = source.PlaceFinal ? kMapFondFinal : kMapFond;
  source.Serie = TSerieMap::Vide;
  DessinerCase(ls, cs);
}

void TPartie::ChoisirPiece() {
  for (int l = 1; l <= Plateau.Hauteur; ++l)
    for (int c = 1; c <= Plateau.Largeur; ++c) {
      const auto& cellule = Plateau.Case(l, c);
      if (cellule.Piece == PieceChoisie) {
        NomChoisi = cellule.Nom;
        SerieChoisie = cellule.Serie;
        return;
      }
    }
}

bool TPartie::EstPorteFermee(int ligne, int colonne) const {
  return Plateau.Case(ligne, colonne).Map == kMapPorteFermee;
}

bool TPartie::EstCadre(int ligne, int colonne) const {
  const auto& cellule = Plateau.Case(ligne, colonne);
  return cellule.Map == kMapPorteTouchee || cellule.Serie == TSerieMap::Bord;
}

void TPartie::VerifierPortes() {
  if (SerieChoisie != TSerieMap::Final) return;
  const int H = Plateau.Hauteur, L = Plateau.Largeur;
  for (int l = 1; l <= H; ++l) {
    for (int c = 1; c <= L; ++c) {
      if (Plateau.Case(l, c).Piece != PieceChoisie) continue;
      if (l > 1 && EstPorteFermee(l - 1, c)) ToucherPorte(l - 1, c);
      if (l < H && EstPorteFermee(l + 1, c)) ToucherPorte(l + 1, c);
      if (c > 1 && EstPorteFermee(l, c - 1)) ToucherPorte(l, c - 1);
      if (c < L && EstPorteFermee(l, c + 1)) ToucherPorte(l, c + 1);
      if (l > 1 && c < L && EstCadre(l - 1, c) && EstCadre(l, c + 1) && EstPorteFermee(l - 1, c + 1))
        ToucherPorte(l - 1, c + 1);
      if (l < H && c < L && EstCadre(l + 1, c) && EstCadre(l, c + 1) && EstPorteFermee(l + 1, c + 1))
        ToucherPorte(l + 1, c + 1);
      if (l < H && c > 1 && EstCadre(l + 1, c) && EstCadre(l, c - 1) && EstPorteFermee(l + 1, c - 1))
        ToucherPorte(l + 1, c - 1);
      if (l > 1 && c > 1 && EstCadre(l - 1, c) && EstCadre(l, c - 1) && EstPorteFermee(l - 1, c - 1))
        ToucherPorte(l - 1, c - 1);
    }
  }
}

namespace {

// Walks a door: the cells with Porte joined by their sides to the start,
// each once, depth first, trying below, above, right, then left. The visit
// returns false to end the walk.
void ParcourirPorte(const TPlateau& plateau, int ligne, int colonne, const std::function<bool(int, int)>& visite) {
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
  parcourir(ligne, colonne);
}

}  // namespace

void TPartie::ToucherPorte(int ligne, int colonne) {
  Plateau.Case(ligne, colonne).Map = kMapPorteTouchee;
  DessinerCase(ligne, colonne);
  drapeauPorte_ = true;
  PorteComplete(ligne, colonne);
  Enregistrer(CodePosition(colonne, ligne), EvPorteTouchee);
  if (drapeauPorte_) {
    OuvrirPorte(ligne, colonne);
    if (Comptage) {
      ++Compteur;
      AfficherCompteur(Compteur, true);
    }
  }
}

void TPartie::PorteComplete(int ligne, int colonne) {
  ParcourirPorte(Plateau, ligne, colonne, [this](int l, int c) {
    if (Plateau.Case(l, c).Map == kMapPorteFermee) {
      drapeauPorte_ = false;
      return false;
    }
    return true;
  });
}

void TPartie::OuvrirPorte(int ligne, int colonne) {
  ParcourirPorte(Plateau, ligne, colonne, [this](int l, int c) {
    auto& cellule = Plateau.Case(l, c);
    if (cellule.Map == kMapPorteTouchee) {
      cellule.Serie = TSerieMap::Vide;
      cellule.Map = kMapFond;
      DessinerCase(l, c);
      Enregistrer(CodePosition(c, l), EvPorteOuverte);
    }
    return true;
  });
}

void TPartie::FermerPorte(int ligne, int colonne, int16_t map) {
  auto& cellule = Plateau.Case(ligne, colonne);
  const auto& charge = PlateauCharge.Case(ligne, colonne);
  cellule.Porte = true;
  cellule.Serie = TSerieMap::Bord;
  cellule.Map = map;
  cellule.Piece = charge.Piece;
  cellule.Droit = charge.Droit;
  cellule.Gauche = charge.Gauche;
  cellule.Haut = charge.Haut;
  cellule.Bas = charge.Bas;
  DessinerCase(ligne, colonne);
}

void TPartie::AfficherCompteur(int32_t valeur, bool marque) {
  if (observateur_) observateur_->CompteurAffiche(TexteCompteur(valeur));
  if (marque) Enregistrer(static_cast<int16_t>(static_cast<uint16_t>(Compteur & 0xFFFF)), EvCompteur);
}

void TPartie::DessinerCase(int ligne, int colonne) {
  if (observateur_) observateur_->CaseChangee(ligne, colonne);
}

void TPartie::Enregistrer(int16_t valeur, int8_t code) {
  if (Historique.Ajouter(valeur, code)) return;
  if (!pleinSignale_) {
    pleinSignale_ = true;
    if (observateur_) observateur_->HistoriquePlein();
  }
}

}  // namespace glissaro
