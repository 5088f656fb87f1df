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
    if (partie_.Plateau.Contient(ligne, colonne)) {
      auto& cellule = partie_.Plateau.Case(ligne, colonne);
      cellule.Porte = true;
      cellule.Serie = TSerieMap::Bord;
      cellule.Map = e.Code;
      partie_.DessinerCase(ligne, colonne);
    }
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

void TRejeu::Debut() {
  while (partie_.Historique.PosHistorique > 0) PasArriere();
}

void TRejeu::Fin() {
  while (partie_.Historique.PosHistorique < partie_.Historique.Fin) PasAvant();
}

}  // namespace glissaro
