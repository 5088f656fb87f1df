#include "Partie.h"

#include <array>
#include <cstdlib>
#include <iterator>

#include "Pieces.h"
#include "Portes.h"
#include "Version.h"

namespace glissaro {

namespace {

bool EstMouvement(int8_t code) { return code < EvCompteur; }
bool EstPorte(int8_t code) { return code > 15; }
uint16_t Valeur(const TEvenement& e) { return static_cast<uint16_t>(e.Valeur); }

// The four steps among the move events (a move code may be anything
// below the counter mark's in a file).
bool EstPas(int8_t code) { return code == EvHaut || code == EvBas || code == EvGauche || code == EvDroite; }
// The step of a move event, and the event of a step.
int Dx(int8_t code) { return (code == EvDroite) - (code == EvGauche); }
int Dy(int8_t code) { return (code == EvBas) - (code == EvHaut); }
int8_t CodeDuPas(int dx, int dy) { return dx > 0 ? EvDroite : dx < 0 ? EvGauche : dy > 0 ? EvBas : EvHaut; }

}  // namespace

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

// ---- a new game -------------------------------------------------------------

void TPartie::NouvellePartie() {
  compteur_ = 0;
  historique_.Vider();
  dernierePiece_ = 0;
  bravoAffiche_ = false;
  indices_ = 0;
  solutionMontree_ = false;
  pleinSignale_ = false;
  AfficherCompteur(0, false);
}

ResultatLecture TPartie::Charger(const std::string& chemin) {
  charge_ = false;
  NouvellePartie();
  const auto resultat = LirePlateau(chemin, plateau_, ModeLecture::Jeu);
  if (resultat.statut == StatutLecture::Ok) {
    plateauCharge_ = plateau_;
    charge_ = true;
  }
  return resultat;
}

void TPartie::CommencerPartie(const TPlateau& plateau) {
  NouvellePartie();
  plateau_ = plateau;
  plateauCharge_ = plateau;
  charge_ = true;
}

// ---- play -----------------------------------------------------------------------

void TPartie::Appuyer(int x, int y) {
  if (!charge_) return;
  const TPosition p{y >= 0 ? y / tailleCase_ + 1 : 0, x >= 0 ? x / tailleCase_ + 1 : 0};
  priseA_ = p;
  if (plateau_.Contient(p)) {
    const auto& cellule = plateau_.Case(p);
    pieceChoisie_ = cellule.Piece;
    nomChoisi_ = cellule.Nom;
    serieChoisie_ = cellule.Serie;
  } else {
    // Outside the board nothing is taken.
    pieceChoisie_ = 0;
    nomChoisi_.clear();
    serieChoisie_ = TSerieMap::Vide;
  }
  referenceX_ = x;
  referenceY_ = y;
  historique_.Couper();
}

void TPartie::Glisser(int x, int y) {
  if (!charge_) return;
  bouge_ = false;
  // In 64 bits: the pointer may be anywhere, the difference never overflows.
  const int64_t dx = int64_t{x} - referenceX_, dy = int64_t{y} - referenceY_;
  const int32_t seuil = Seuil();
  if (-dx > seuil) Pas(-1, 0);
  if (dx > seuil) Pas(1, 0);
  if (-dy > seuil) Pas(0, -1);
  if (dy > seuil) Pas(0, 1);
  if (bouge_) {
    VerifierPortes();
    referenceX_ = x;
    referenceY_ = y;
  }
}

void TPartie::Relacher() {
  if (!charge_) return;
  // Counting: the taken tile ended the gesture away from where it was taken
  // (columns from the left, rows from the top: the first such cell decides).
  const TCarreau* arrivee = nullptr;
  for (int c = 1; c <= plateau_.Largeur && !arrivee; ++c)
    for (int l = 1; l <= plateau_.Hauteur && !arrivee; ++l) {
      const auto& cellule = plateau_.Case(l, c);
      if (cellule.Nom == nomChoisi_ && !(TPosition{l, c} == priseA_)) arrivee = &cellule;
    }
  if (arrivee && arrivee->Piece != dernierePiece_) {
    dernierePiece_ = arrivee->Piece;
    ++compteur_;
    AfficherCompteur(compteur_, true);
  }
  // End of the game.
  if (Resolu() && !bravoAffiche_) {
    if (observateur_) observateur_->Felicitations(TexteFelicitations(plateau_.Etat), plateau_.Etat);
    bravoAffiche_ = true;
  }
}

uint16_t TPartie::PieceSuivante(uint16_t courante, bool avant) const {
  const auto pieces = NumerosDesPiecesMobiles(plateau_);
  if (pieces.empty()) return 0;
  if (avant) {
    const auto suivante = std::upper_bound(pieces.begin(), pieces.end(), courante);
    return suivante == pieces.end() ? pieces.front() : *suivante;
  }
  const auto position = std::lower_bound(pieces.begin(), pieces.end(), courante);
  return position == pieces.begin() ? pieces.back() : *std::prev(position);
}

bool TPartie::DeplacerAuClavier(uint16_t piece, int dx, int dy) {
  if (!charge_ || piece == 0 || std::abs(dx) + std::abs(dy) != 1) return false;
  TPosition premiere;
  for (int l = 1; l <= plateau_.Hauteur && !premiere.ligne; ++l)
    for (int c = 1; c <= plateau_.Largeur && !premiere.ligne; ++c)
      if (plateau_.Case(l, c).Piece == piece) premiere = {l, c};
  if (!premiere.ligne) return false;
  // The piece is taken as a press on that tile takes it.
  const auto& prise = plateau_.Case(premiere);
  pieceChoisie_ = piece;
  nomChoisi_ = prise.Nom;
  serieChoisie_ = prise.Serie;
  priseA_ = premiere;
  bouge_ = false;
  Pas(dx, dy);
  const bool pas = bouge_;
  if (pas) VerifierPortes();
  Relacher();
  return pas;
}

bool TPartie::Resolu() const {
  for (int l = plateau_.Hauteur; l >= 1; --l)
    for (int c = 1; c <= plateau_.Largeur; ++c) {
      const auto& cellule = plateau_.Case(l, c);
      if (cellule.PlaceFinal && cellule.Serie != TSerieMap::Final) return false;
    }
  return true;
}

// ---- the move rule ----------------------------------------------------------

bool TPartie::PieceChoisieMobile() const { return TuileMobile(TCellule{.Serie = serieChoisie_}); }

bool TPartie::PeutAller(uint16_t piece, TSerieMap serie, int dx, int dy) const {
  if (!TuileMobile(TCellule{.Serie = serie})) return false;
  for (int c = 1; c <= plateau_.Largeur; ++c) {
    for (int l = 1; l <= plateau_.Hauteur; ++l) {
      const auto& cellule = plateau_.Case(l, c);
      if (cellule.Piece != piece) continue;
      const int lv = l + dy, cv = c + dx;
      if (!plateau_.Contient(lv, cv)) return false;
      const bool joint = dx > 0 ? cellule.Droit : dx < 0 ? cellule.Gauche : dy > 0 ? cellule.Bas : cellule.Haut;
      if (!joint && plateau_.Case(lv, cv).Serie != TSerieMap::Vide) return false;
    }
  }
  return true;
}

bool TPartie::PeutAller(uint16_t piece, int dx, int dy) const {
  for (int l = 1; l <= plateau_.Hauteur; ++l)
    for (int c = 1; c <= plateau_.Largeur; ++c)
      if (plateau_.Case(l, c).Piece == piece) return PeutAller(piece, plateau_.Case(l, c).Serie, dx, dy);
  return false;
}

bool TPartie::Pas(int dx, int dy) {
  if (!PeutAller(dx, dy)) return false;
  Enregistrer(static_cast<int16_t>(pieceChoisie_), CodeDuPas(dx, dy));
  Decaler(dx, dy);
  return true;
}

void TPartie::Decaler(int dx, int dy) {
  const int largeur = plateau_.Largeur, hauteur = plateau_.Hauteur;
  if (dx != 0) {
    // Columns from the far side; a tile in the last column in that
    // direction never moves off the board.
    const int premiere = dx > 0 ? largeur - 1 : 2;
    const int derniere = dx > 0 ? 1 : largeur;
    for (int c = premiere; dx > 0 ? c >= derniere : c <= derniere; c -= dx)
      for (int l = 1; l <= hauteur; ++l)
        if (plateau_.Case(l, c).Piece == pieceChoisie_) DeplacerCase({l, c}, {l, c + dx});
  } else {
    const int premiere = dy > 0 ? hauteur - 1 : 2;
    const int derniere = dy > 0 ? 1 : hauteur;
    for (int l = premiere; dy > 0 ? l >= derniere : l <= derniere; l -= dy)
      for (int c = 1; c <= largeur; ++c)
        if (plateau_.Case(l, c).Piece == pieceChoisie_) DeplacerCase({l, c}, {l + dy, c});
  }
  bouge_ = true;
}

void TPartie::DeplacerCase(TPosition s, TPosition d) {
  auto& source = plateau_.Case(s);
  auto& destination = plateau_.Case(d);
  destination.Droit = source.Droit;
  destination.Gauche = source.Gauche;
  destination.Haut = source.Haut;
  destination.Bas = source.Bas;
  destination.Piece = source.Piece;
  destination.Map = source.Map;
  destination.Serie = source.Serie;
  std::swap(source.Nom, destination.Nom);
  DessinerCase(d.ligne, d.colonne);
  source.Droit = source.Gauche = source.Haut = source.Bas = false;
  source.Piece = 0;
  source.Map = source.PlaceFinal ? kMapFondFinal : kMapFond;
  source.Serie = TSerieMap::Vide;
  DessinerCase(s.ligne, s.colonne);
}

void TPartie::Prendre(uint16_t piece) {
  pieceChoisie_ = piece;
  for (int l = 1; l <= plateau_.Hauteur; ++l)
    for (int c = 1; c <= plateau_.Largeur; ++c) {
      const auto& cellule = plateau_.Case(l, c);
      if (cellule.Piece == piece) {
        nomChoisi_ = cellule.Nom;
        serieChoisie_ = cellule.Serie;
        return;
      }
    }
}

// ---- doors ------------------------------------------------------------------

void TPartie::VerifierPortes() {
  if (serieChoisie_ != TSerieMap::Final) return;
  glissaro::VerifierPortes(plateau_, pieceChoisie_,
                           {[this](TPosition p) { DessinerCase(p.ligne, p.colonne); },
                            [this](int16_t valeur, int8_t code) { Enregistrer(valeur, code); },
                            // Opening a door counts as a move.
                            [this] {
                              ++compteur_;
                              AfficherCompteur(compteur_, true);
                            }});
}

void TPartie::FermerPorte(TPosition porte, int16_t map) {
  auto& cellule = plateau_.Case(porte);
  const auto& charge = plateauCharge_.Case(porte);
  cellule.Porte = true;
  cellule.Serie = TSerieMap::Bord;
  cellule.Map = map;
  cellule.Piece = charge.Piece;
  cellule.Droit = charge.Droit;
  cellule.Gauche = charge.Gauche;
  cellule.Haut = charge.Haut;
  cellule.Bas = charge.Bas;
  DessinerCase(porte.ligne, porte.colonne);
}

// ---- the replay -------------------------------------------------------------

void TPartie::AppliquerPorte(const TEvenement& e) {
  // The door cell becomes again what the recorded game made of it.
  const TPosition p = PositionDuCode(Valeur(e));
  if (!plateau_.Contient(p)) return;
  auto& cellule = plateau_.Case(p);
  if (e.Code == EvPorteTouchee) {
    cellule.Porte = true;
    cellule.Serie = TSerieMap::Bord;
    cellule.Map = kMapPorteTouchee;
  } else {
    cellule.Serie = TSerieMap::Vide;
    cellule.Map = kMapFond;
  }
  DessinerCase(p.ligne, p.colonne);
}

bool TPartie::Avancer() {
  auto& h = historique_;
  if (h.PosHistorique >= h.Fin) return false;
  const TEvenement e = h[h.PosHistorique];
  if (e.Code == EvCompteur) {
    compteur_ = Valeur(e);
    AfficherCompteur(compteur_, false);
  }
  if (EstMouvement(e.Code)) {
    Prendre(Valeur(e));
    if (EstPas(e.Code)) Decaler(Dx(e.Code), Dy(e.Code));
  }
  if (EstPorte(e.Code)) AppliquerPorte(e);
  ++h.PosHistorique;
  return true;
}

void TPartie::Reculer() {
  auto& h = historique_;
  for (;;) {
    if (h.PosHistorique == 0) {
      compteur_ = 0;
      AfficherCompteur(0, false);
      break;
    }
    --h.PosHistorique;
    const TEvenement e = h[h.PosHistorique];
    if (e.Code == EvCompteur) {
      compteur_ = Valeur(e);
      AfficherCompteur(compteur_, false);
      break;
    }
    if (EstMouvement(e.Code))
      AnnulerMouvement();
    else if (EstPorte(e.Code))
      RetablirPorte();
    else
      break;
  }
  dernierePiece_ = 0;
}

void TPartie::AnnulerMouvement() {
  auto& h = historique_;
  for (;;) {
    const TEvenement e = h[h.PosHistorique];
    Prendre(Valeur(e));
    if (EstPas(e.Code)) Decaler(-Dx(e.Code), -Dy(e.Code));
    if (h.PosHistorique == 0) return;
    const TEvenement avant = h[h.PosHistorique - 1];
    if (!EstMouvement(avant.Code) || avant.Valeur != e.Valeur) return;
    --h.PosHistorique;
  }
}

void TPartie::RetablirPorte() {
  auto& h = historique_;
  for (;;) {
    const TEvenement e = h[h.PosHistorique];
    const TPosition p = PositionDuCode(Valeur(e));
    if (plateau_.Contient(p)) FermerPorte(p, e.Code);
    if (h.PosHistorique == 0 || !EstPorte(h[h.PosHistorique - 1].Code)) return;
    --h.PosHistorique;
  }
}

void TPartie::AllerAuDebut() {
  while (historique_.PosHistorique > 0) Reculer();
}

void TPartie::AllerALaFin() {
  while (historique_.PosHistorique < historique_.Fin) Avancer();
}

bool TPartie::Annuler() {
  if (!PeutAnnuler()) return false;
  auto& h = historique_;
  // After a counted move the last event is its mark: the first step takes
  // only the mark, the second the move itself.
  if (h[h.PosHistorique - 1].Code == EvCompteur) Reculer();
  if (h.PosHistorique > 0) Reculer();
  // The mark of the move before is applied again, so that a new move
  // recorded from here keeps it and stays a move of its own.
  if (h.PosHistorique < h.Fin && h[h.PosHistorique].Code == EvCompteur) Avancer();
  return true;
}

bool TPartie::Retablir() {
  if (!PeutRetablir()) return false;
  auto& h = historique_;
  // A mark met before anything else ends the move only when it changes the
  // counter: the replay leaves positions just before the mark whose value
  // it already shows.
  const int32_t depart = compteur_;
  bool joue = false;
  while (h.PosHistorique < h.Fin) {
    const bool marque = h[h.PosHistorique].Code == EvCompteur;
    Avancer();
    if (marque && (joue || compteur_ != depart)) break;
    if (!marque) joue = true;
  }
  return true;
}

// ---- events not played here -------------------------------------------------

void TPartie::RechargerSequence(const std::vector<TEvenement>& evenements) {
  historique_.Charger(evenements);
}

bool TPartie::AjouterSolution(const std::vector<TEvenement>& evenements) {
  // What could be replayed forward is dropped; the solution follows the
  // position, as play would have recorded it; shown, not played.
  historique_.Couper();
  solutionMontree_ = true;
  historique_.MarquerNonJoues(historique_.Fin);
  const bool tout = historique_.Prolonger(evenements);
  if (!tout) {
    pleinSignale_ = true;
    if (observateur_) observateur_->HistoriquePlein();
  }
  return tout;
}

void TPartie::RemettreCompteur() {
  compteur_ = 0;
  AfficherCompteur(0, false);
}

// ---- what the game tells and records ----------------------------------------

void TPartie::AfficherCompteur(int32_t valeur, bool marque) {
  if (observateur_) observateur_->CompteurAffiche(TexteCompteur(valeur));
  if (marque) Enregistrer(static_cast<int16_t>(static_cast<uint16_t>(compteur_ & 0xFFFF)), EvCompteur);
}

void TPartie::DessinerCase(int ligne, int colonne) {
  if (observateur_) observateur_->CaseChangee(ligne, colonne);
}

void TPartie::Enregistrer(int16_t valeur, int8_t code) {
  if (historique_.Ajouter(valeur, code)) return;
  if (!pleinSignale_) {
    pleinSignale_ = true;
    if (observateur_) observateur_->HistoriquePlein();
  }
}

}  // namespace glissaro
