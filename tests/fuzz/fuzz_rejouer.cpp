// A board and a sequence, as glissaro-outils rejouer takes them: the bytes
// before the first zero byte are the board file, the bytes after it the
// sequence file (its title is not compared). What the check lets through,
// replayed to its end and back, must give the loaded board again, with
// every tile name once at every step.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "FichierPlateau.h"
#include "Rejeu.h"
#include "Sequence.h"
#include "Texte.h"

using namespace glissaro;

namespace {

bool MemeCase(const TCarreau& a, const TCarreau& b) {
  return a.Droit == b.Droit && a.Gauche == b.Gauche && a.Haut == b.Haut && a.Bas == b.Bas &&
         a.PlaceFinal == b.PlaceFinal && a.Porte == b.Porte && a.Serie == b.Serie && a.Map == b.Map &&
         a.Piece == b.Piece && a.PosX == b.PosX && a.PosY == b.PosY && a.Nom == b.Nom;
}

std::map<std::string, int> Noms(const TPlateau& p) {
  std::map<std::string, int> noms;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) ++noms[p.Case(l, c).Nom];
  return noms;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  const std::string_view tout(reinterpret_cast<const char*>(donnees), taille);
  const auto zero = tout.find('\0');
  if (zero == std::string_view::npos) return 0;
  TPlateau plateau;
  if (LirePlateauDepuisTexte(tout.substr(0, zero), "fuzz.wbp", plateau).statut != StatutLecture::Ok) return 0;
  auto sequence = LireSequenceDepuisOctets(tout.substr(zero + 1), "fuzz.swb");
  if (!sequence.ok) return 0;
  // The title as a sequence file of this board stores it.
  sequence.titreStocke = Cp1252VersUtf8(Utf8VersCp1252(plateau.Titre).substr(0, kLongueurTitreSequence));
  // A refused sequence is refused whole; what comes before the refused
  // event passes the check on its own and is replayed.
  if (const auto numero = PremierEvenementIncorrect(plateau, sequence.evenements)) {
    if (ControlerSequence(plateau, sequence).issue != ControleSequence::Issue::Incorrecte) std::abort();
    sequence.evenements.resize(*numero - 1);
    if (PremierEvenementIncorrect(plateau, sequence.evenements)) std::abort();
  }

  TPartie partie;
  partie.CommencerPartie(plateau);
  partie.RechargerSequence(sequence.evenements);
  const auto noms = Noms(plateau);
  while (partie.Avancer())
    if (Noms(partie.Plateau()) != noms) std::abort();
  partie.Reculer();
  partie.AllerAuDebut();
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c)
      if (!MemeCase(partie.Plateau().Case(l, c), plateau.Case(l, c))) std::abort();
  return 0;
}
