#include "Parametres.h"

#include "Ini.h"
#include "Vue.h"

namespace glissaro {

std::string CheminParametres(const std::string& chemin) { return chemin + "Glissaro.ini"; }

Parametres LireParametres(const std::string& fichier, std::string* message) {
  const auto ini = FichierIni::Charger(fichier, message);
  Parametres p;
  p.NomSkin = ini.LireTexte("skin", "Nom", kNomSkinDefaut);
  p.VitesseDeplacement = ini.LireEntier("skin", "Deplacement", kVitesseDeplacementDefaut);
  p.VitesseMagneto = ini.LireEntier("skin", "Magneto", kVitesseMagnetoDefaut);
  if (p.VitesseDeplacement <= 0) p.VitesseDeplacement = kVitesseDeplacementDefaut;
  if (p.VitesseMagneto <= 0) p.VitesseMagneto = kVitesseMagnetoDefaut;
  p.Zoom = ini.LireEntier("jeu", "Zoom", kZoomAutomatique);
  if (!ZoomValide(p.Zoom)) p.Zoom = kZoomAutomatique;
  p.PlacesFinales = ini.LireEntier("jeu", "PlacesFinales", 1) != 0;
  return p;
}

ResultatEcriture EcrireParametres(const std::string& fichier, const Parametres& parametres) {
  std::string illisible;
  auto ini = FichierIni::Charger(fichier, &illisible);
  if (!illisible.empty()) return {false, illisible};
  ini.Ecrire("skin", "Nom", parametres.NomSkin);
  ini.EcrireEntier("skin", "deplacement", parametres.VitesseDeplacement);
  ini.EcrireEntier("skin", "Magneto", parametres.VitesseMagneto);
  // A player who never changed the board's display keeps the file of the
  // three keys alone.
  if (ini.SectionExiste("jeu") || parametres.Zoom != kZoomAutomatique || !parametres.PlacesFinales) {
    ini.EcrireEntier("jeu", "Zoom", parametres.Zoom);
    ini.EcrireEntier("jeu", "PlacesFinales", parametres.PlacesFinales ? 1 : 0);
  }
  return ini.Enregistrer(fichier);
}

int DemiIntervalle(int intervalle) {
  const int moitie = intervalle / 2;
  if (intervalle % 2 == 0) return moitie;
  // An odd interval ends in a half: it goes to the even neighbour.
  const int haut = intervalle > 0 ? moitie + 1 : moitie - 1;
  return (moitie % 2 == 0) ? moitie : haut;
}

}  // namespace glissaro
