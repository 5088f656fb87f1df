#include "Historique.h"

#include <algorithm>

namespace glissaro {

bool THistorique::Ajouter(TEvenement evenement) {
  if (Plein()) return false;
  evenement.Reserve = 0;
  Evenements[PosHistorique] = evenement;
  ++PosHistorique;
  Fin = PosHistorique;
  return true;
}

void THistorique::Charger(const std::vector<TEvenement>& evenements) {
  const std::size_t n = std::min<std::size_t>(evenements.size(), kCapacite);
  for (std::size_t i = 0; i < n; ++i) Evenements[i] = evenements[i];
  PosHistorique = 0;
  Fin = static_cast<uint16_t>(n);
  // Events read from a file were not played here.
  DebutNonJoue = kCapacite;
  MarquerNonJoues(0);
}

bool THistorique::Prolonger(const std::vector<TEvenement>& evenements) {
  const std::size_t place = static_cast<std::size_t>(kCapacite - Fin);
  for (std::size_t i = 0; i < evenements.size() && i < place; ++i) Evenements[Fin++] = evenements[i];
  return evenements.size() <= place;
}

}  // namespace glissaro
