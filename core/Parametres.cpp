#include "Parametres.h"

#include "Ini.h"

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
  return p;
}

ResultatEcriture EcrireParametres(const std::string& fichier, const Parametres& parametres) {
  std::string illisible;
  auto ini = FichierIni::Charger(fichier, &illisible);
  if (!illisible.empty()) return {false, illisible};
  ini.Ecrire("skin", "Nom", parametres.NomSkin);
  ini.EcrireEntier("skin", "deplacement", parametres.VitesseDeplacement);
  ini.EcrireEntier("skin", "Magneto", parametres.VitesseMagneto);
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
