#include "Publication.h"

#include "Texte.h"

namespace glissaro {

std::vector<std::string> ValeursBalises(const ChampsPage& c) {
  const std::string titre = EchapperHtml(c.titre);
  const std::string email = EchapperHtml(c.email);
  const std::string auteur = EchapperHtml(c.auteur) + "   <a href=\"mailto:" + email + "\">" + email + "</a>";
  const std::string fichier = c.fichier.empty() ? titre : EchapperHtml(c.fichier);
  return {titre, auteur, EchapperHtml(c.coups), auteur, EchapperHtml(c.date), fichier + ".jpg", fichier + ".wbp"};
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

std::string EchapperHtml(const std::string& texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  for (const char c : texte) {
    switch (c) {
      case '&': sortie += "&amp;"; break;
      case '<': sortie += "&lt;"; break;
      case '>': sortie += "&gt;"; break;
      case '"': sortie += "&quot;"; break;
      case '\'': sortie += "&#39;"; break;
      default: sortie += c;
    }
  }
  return sortie;
}

std::string NomDeLaPage(const std::string& titre, const std::string& nomFichier) {
  std::string nom;
  for (std::size_t i = 0; i < titre.size(); ++i) {
    const auto u = static_cast<unsigned char>(titre[i]);
    if (u < 0x20 || u == 0x7F || titre[i] == '/' || titre[i] == '\\') continue;
    // The C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
    if (u == 0xC2 && i + 1 < titre.size() && (static_cast<unsigned char>(titre[i + 1]) & 0xE0) == 0x80) {
      ++i;
      continue;
    }
    nom += titre[i];
  }
  const auto debut = nom.find_first_not_of(". ");
  nom = debut == std::string::npos ? std::string() : std::string(RognerDroite(nom.substr(debut)));
  // Room for ".htm" in a file name of 255 bytes, cut between characters.
  constexpr std::size_t kLongueurMax = 250;
  if (nom.size() > kLongueurMax) {
    std::size_t fin = kLongueurMax;
    while (fin > 0 && (static_cast<unsigned char>(nom[fin]) & 0xC0) == 0x80) --fin;
    nom.resize(fin);
  }
  return nom.empty() ? nomFichier : nom;
}

}  // namespace glissaro
