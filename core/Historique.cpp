#include "Historique.h"

namespace glissaro {

bool THistorique::Ajouter(TEvenement evenement) {
  if (Plein()) return false;
  evenement.Reserve = 0;
  Evenements[PosHistorique] = evenement;
  ++PosHistorique;
  Fin = PosHistorique;
  return true;
}

}  // namespace glissaro
