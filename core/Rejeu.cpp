#include "Rejeu.h"

#include "Pieces.h"

namespace glissaro {

namespace {

uint16_t Valeur(const TEvenement& e) { return static_cast<uint16_t>(e.Valeur); }

// A place a tile may step onto and leave again without a trace: floor
// without joins, either plain (no piece, the image of its place) or the
// floor of an opened door (closing it again gives back its door cell).
bool PlaceLibre(const TPartie& partie, int ligne, int colonne) {
  const auto& k = partie.Plateau().Case(ligne, colonne);
  if (k.Serie != TSerieMap::Vide || k.Droit || k.Gauche || k.Haut || k.Bas) return false;
  if (k.Porte && partie.PlateauCharge().Case(ligne, colonne).Serie == TSerieMap::Bord) return true;
  return k.Piece == 0 && k.Map == (k.PlaceFinal ? kMapFondFinal : kMapFond);
}

// The game's move rule, for a piece made only of tiles that move, each one
// landing on its own piece or on a place it leaves without a trace.
bool MouvementPossible(const TPartie& partie, uint16_t piece, int dx, int dy) {
  if (piece == 0 || !partie.PeutAller(piece, dx, dy)) return false;
  const auto& p = partie.Plateau();
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      if (k.Piece != piece) continue;
      if (!TuileMobile(k)) return false;
      if (p.Case(l + dy, c + dx).Piece != piece && !PlaceLibre(partie, l + dy, c + dx)) return false;
    }
  return true;
}

bool PorteDansLEtat(const TPartie& partie, uint16_t code, int16_t map) {
  const TPosition porte = PositionDuCode(code);
  if (!partie.Plateau().Contient(porte)) return false;
  const auto& k = partie.Plateau().Case(porte);
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
  essai.RechargerSequence(evenements);
  for (std::size_t i = 0; i < evenements.size(); ++i) {
    if (i >= static_cast<std::size_t>(essai.Historique().Fin) || !EvenementPossible(essai, evenements[i])) return i + 1;
    essai.Avancer();
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

RechargementSequence RechargerSequenceDuFichier(TPartie& partie, const std::string& chemin) {
  const auto sequence = LireSequence(chemin);
  if (!sequence.ok) return {false, {ControleSequence::Issue::Incorrecte, sequence.message}};
  RechargementSequence resultat{true, ControlerSequence(partie.Plateau(), sequence)};
  if (resultat.controle.issue == ControleSequence::Issue::Correcte) partie.RechargerSequence(sequence.evenements);
  return resultat;
}

}  // namespace glissaro
