#include "Publication.h"

namespace glissaro {

std::vector<std::string> ValeursBalises(const ChampsPage& c) {
  const std::string auteur = c.auteur + "   <a href=\"mailto:" + c.email + "\">" + c.email + "</a>";
  return {c.titre, auteur, c.coups, auteur, c.date, c.titre + ".jpg", c.titre + ".wbp"};
}

std::string RemplacerBalises(std::string ligne, const std::vector<std::string>& valeurs) {
  for (std::size_t i = 0; i < valeurs.size(); ++i) {
    const std::string balise = "TAG" + std::to_string(i + 1);
    const auto pos = ligne.find(balise);
    if (pos != std::string::npos) ligne.replace(pos, balise.size(), valeurs[i]);
  }
  return ligne;
}

std::vector<std::string> RemplirModele(const std::vector<std::string>& modele, const ChampsPage& champs) {
  const auto valeurs = ValeursBalises(champs);
  std::vector<std::string> page;
  page.reserve(modele.size());
  for (const auto& ligne : modele) page.push_back(RemplacerBalises(ligne, valeurs));
  return page;
}

}  // namespace glissaro
