#include "Rejeu.h"

namespace glissaro {

namespace {

bool EstMouvement(int8_t code) { return code < EvCompteur; }
bool EstPorte(int8_t code) { return code > 15; }
uint16_t Valeur(const TEvenement& e) { return static_cast<uint16_t>(e.Valeur); }

}  // namespace

bool TRejeu::PasAvant() {
  auto& h = partie_.Historique;
  if (h.PosHistorique >= h.Fin) return false;
  const TEvenement e = h[h.PosHistorique];
  if (e.Code == EvCompteur) {
    partie_.Compteur = Valeur(e);
    partie_.AfficherCompteur(partie_.Compteur, false);
  }
  if (EstMouvement(e.Code)) {
    partie_.PieceChoisie = Valeur(e);
    partie_.ChoisirPiece();
    switch (e.Code) {
      case EvHaut: partie_.DecalerHaut(); break;
      case EvBas: partie_.DecalerBas(); break;
      case EvGauche: partie_.DecalerGauche(); break;
      case EvDroite: partie_.DecalerDroite(); break;
      default: break;
    }
  }
  if (EstPorte(e.Code)) {
    // The door cell becomes again what the recorded game made of it.
    const int colonne = ColonneDuCode(Valeur(e)), ligne = LigneDuCode(Valeur(e));
    if (partie_.Plateau.Contient(ligne, colonne)) {
      auto& cellule = partie_.Plateau.Case(ligne, colonne);
      if (e.Code == EvPorteTouchee) {
        cellule.Porte = true;
        cellule.Serie = TSerieMap::Bord;
        cellule.Map = kMapPorteTouchee;
      } else {
        cellule.Serie = TSerieMap::Vide;
        cellule.Map = kMapFond;
      }
      partie_.DessinerCase(ligne, colonne);
    }
  }
  ++h.PosHistorique;
  return true;
}

void TRejeu::PasArriere() {
  auto& h = partie_.Historique;
  for (;;) {
    if (h.PosHistorique == 0) {
      partie_.Compteur = 0;
      partie_.AfficherCompteur(0, false);
      break;
    }
    --h.PosHistorique;
    const TEvenement e = h[h.PosHistorique];
    if (e.Code == EvCompteur) {
      partie_.Compteur = Valeur(e);
      partie_.AfficherCompteur(partie_.Compteur, false);
      break;
    }
    if (EstMouvement(e.Code))
      AnnulerMouvement();
    else if (EstPorte(e.Code))
      RetablirPorte();
    else
      break;
  }
  partie_.DernierePiece = 0;
}

void TRejeu::AnnulerMouvement() {
  auto& h = partie_.Historique;
  for (;;) {
    const TEvenement e = h[h.PosHistorique];
    partie_.PieceChoisie = Valeur(e);
    partie_.ChoisirPiece();
    switch (e.Code) {
      case EvBas: partie_.DecalerHaut(); break;
      case EvHaut: partie_.DecalerBas(); break;
      case EvDroite: partie_.DecalerGauche(); break;
      case EvGauche: partie_.DecalerDroite(); break;
      default: break;
    }
    if (h.PosHistorique == 0) return;
    const TEvenement avant = h[h.PosHistorique - 1];
    if (!EstMouvement(avant.Code) || avant.Valeur != e.Valeur) return;
    --h.PosHistorique;
  }
}

void TRejeu::RetablirPorte() {
  auto& h = partie_.Historique;
  for (;;) {
    const TEvenement e = h[h.PosHistorique];
    const int colonne = ColonneDuCode(Valeur(e)), ligne = LigneDuCode(Valeur(e));
    if (partie_.Plateau.Contient(ligne, colonne)) partie_.FermerPorte(ligne, colonne, e.Code);
    if (h.PosHistorique == 0 || !EstPorte(h[h.PosHistorique - 1].Code)) return;
    --h.PosHistorique;
  }
}

bool TRejeu::AnnulerCoup() {
  if (!PeutAnnulerCoup()) return false;
  auto& h = partie_.Historique;
  // After a counted move the last event is its mark: the first step takes
  // only the mark, the second the move itself.
  if (h[h.PosHistorique - 1].Code == EvCompteur) PasArriere();
  if (h.PosHistorique > 0) PasArriere();
  // The mark of the move before is applied again, so that a new move
  // recorded from here keeps it and stays a move of its own.
  if (h.PosHistorique < h.Fin && h[h.PosHistorique].Code == EvCompteur) PasAvant();
  return true;
}

bool TRejeu::RetablirCoup() {
  if (!PeutRetablirCoup()) return false;
  auto& h = partie_.Historique;
  // A mark met before anything else ends the move only when it changes the
  // counter: the replay leaves positions just before the mark whose value
  // it already shows.
  const int32_t depart = partie_.Compteur;
  bool joue = false;
  while (h.PosHistorique < h.Fin) {
    const bool marque = h[h.PosHistorique].Code == EvCompteur;
    PasAvant();
    if (marque && (joue || partie_.Compteur != depart)) break;
    if (!marque) joue = true;
  }
  return true;
}

namespace {

bool Joint(const TCarreau& cellule, int dx, int dy) {
  return dx > 0 ? cellule.Droit : dx < 0 ? cellule.Gauche : dy > 0 ? cellule.Bas : cellule.Haut;
}

// A place a tile may step onto and leave again without a trace: floor
// without joins, either plain (no piece, the image of its place) or the
// floor of an opened door (closing it again gives back its door cell).
bool PlaceLibre(const TPartie& partie, int ligne, int colonne) {
  const auto& k = partie.Plateau.Case(ligne, colonne);
  if (k.Serie != TSerieMap::Vide || k.Droit || k.Gauche || k.Haut || k.Bas) return false;
  if (k.Porte && partie.PlateauCharge.Case(ligne, colonne).Serie == TSerieMap::Bord) return true;
  return k.Piece == 0 && k.Map == (k.PlaceFinal ? kMapFondFinal : kMapFond);
}

bool MouvementPossible(const TPartie& partie, uint16_t piece, int dx, int dy) {
  if (piece == 0) return false;
  const auto& p = partie.Plateau;
  bool trouvee = false;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      if (k.Piece != piece) continue;
      trouvee = true;
      if (k.Serie != TSerieMap::Normal && k.Serie != TSerieMap::Final) return false;
      const int lv = l + dy, cv = c + dx;
      if (!p.Contient(lv, cv)) return false;
      const bool memePiece = p.Case(lv, cv).Piece == piece;
      if (memePiece ? !Joint(k, dx, dy) : !PlaceLibre(partie, lv, cv)) return false;
    }
  return trouvee;
}

bool PorteDansLEtat(const TPartie& partie, uint16_t code, int16_t map) {
  const int colonne = ColonneDuCode(code), ligne = LigneDuCode(code);
  if (!partie.Plateau.Contient(ligne, colonne)) return false;
  const auto& k = partie.Plateau.Case(ligne, colonne);
  return k.Porte && k.Serie == TSerieMap::Bord && k.Map == map;
}

bool EvenementPossible(const TPartie& partie, const TEvenement& e) {
  switch (e.Code) {
    case EvCompteur: return true;
    case EvHaut: return MouvementPossible(partie, Valeur(e), 0, -1);
    case EvBas: return MouvementPossible(partie, Valeur(e), 0, 1);
    case EvGauche: return MouvementPossible(partie, Valeur(e), -1, 0);
    case EvDroite: return MouvementPossible(partie, Valeur(e), 1, 0);
    case EvPorteTouchee: return PorteDansLEtat(partie, Valeur(e), kMapPorteFermee);
    case EvPorteOuverte: return PorteDansLEtat(partie, Valeur(e), kMapPorteTouchee);
    default: return false;
  }
}

}  // namespace

std::optional<std::size_t> PremierEvenementIncorrect(const TPlateau& plateau, const std::vector<TEvenement>& evenements) {
  TPartie essai;
  essai.CommencerPartie(plateau);
  ChargerEvenements(essai.Historique, evenements);
  TRejeu rejeu(essai);
  for (std::size_t i = 0; i < evenements.size(); ++i) {
    if (i >= static_cast<std::size_t>(essai.Historique.Fin) || !EvenementPossible(essai, evenements[i])) return i + 1;
    rejeu.PasAvant();
  }
  return std::nullopt;
}

std::string MessageSequenceIncorrecte(std::size_t numero) {
  return "Séquence incorrecte pour ce plateau (événement n° " + std::to_string(numero) + ")";
}

ControleSequence ControlerSequence(const TPlateau& plateau, const ResultatSequence& sequence) {
  if (!TitreCorrespond(sequence.titreStocke, plateau.Titre))
    return {ControleSequence::Issue::AutrePlateau, MessageAutrePlateau(sequence.titreStocke)};
  if (const auto numero = PremierEvenementIncorrect(plateau, sequence.evenements))
    return {ControleSequence::Issue::Incorrecte, MessageSequenceIncorrecte(*numero)};
  return {};
}

void TRejeu::Debut() {
  while (partie_.Historique.PosHistorique > 0) PasArriere();
}

void TRejeu::Fin() {
  while (partie_.Historique.PosHistorique < partie_.Historique.Fin) PasAvant();
}

}  // namespace glissaro
