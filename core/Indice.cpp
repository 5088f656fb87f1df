#include "Indice.h"

namespace glissaro {

OptionsSolveur OptionsIndice() {
  OptionsSolveur options;
  options.mesure = MesureSolveur::Coups;
  return options;
}

TIndice IndiceDuResultat(const TPlateau& plateau, const ResultatSolveur& resultat) {
  TIndice indice;
  switch (resultat.issue) {
    case IssueSolveur::Annule: return indice;
    case IssueSolveur::AucuneSolution: indice.issue = IssueIndice::AucuneSolution; return indice;
    case IssueSolveur::LimiteAtteinte: indice.issue = IssueIndice::Indisponible; return indice;
    case IssueSolveur::Solution: break;
  }
  if (resultat.chemin.empty()) {
    indice.issue = IssueIndice::DejaResolu;
    return indice;
  }
  const PasSolution& pas = resultat.chemin.front();
  if (!plateau.Contient(pas.ligne, pas.colonne)) {
    indice.issue = IssueIndice::Indisponible;
    return indice;
  }
  indice.issue = IssueIndice::Pas;
  indice.piece = plateau.Case(pas.ligne, pas.colonne).Piece;
  indice.dx = pas.direction == EvDroite ? 1 : pas.direction == EvGauche ? -1 : 0;
  indice.dy = pas.direction == EvBas ? 1 : pas.direction == EvHaut ? -1 : 0;
  return indice;
}

std::string TexteIndice(IssueIndice issue) {
  switch (issue) {
    case IssueIndice::DejaResolu: return "Le plateau est déjà résolu";
    case IssueIndice::AucuneSolution: return "Aucune solution depuis cette position";
    case IssueIndice::Indisponible: return "Indice indisponible sur ce plateau";
    default: return {};
  }
}

}  // namespace glissaro
