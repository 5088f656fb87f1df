#include "Sequence.h"

#include <algorithm>

#include "Texte.h"

namespace glissaro {

namespace {

void AjouterEvenement(std::string& octets, TEvenement e) {
  const auto valeur = static_cast<uint16_t>(e.Valeur);
  octets += static_cast<char>(valeur & 0xFF);
  octets += static_cast<char>(valeur >> 8);
  octets += static_cast<char>(e.Code);
  octets += '\0';
}

}  // namespace

std::string TexteSequence(std::string_view titre, const THistorique& historique) {
  std::string octets;
  std::string titre1252 = Utf8VersCp1252(titre).substr(0, kLongueurTitreSequence);
  titre1252.resize(kLongueurTitreSequence, ' ');
  for (char c : titre1252) AjouterEvenement(octets, TEvenement{static_cast<int16_t>(static_cast<unsigned char>(c)), 0, 0});
  for (int i = 0; i < historique.PosHistorique; ++i) AjouterEvenement(octets, historique[i]);
  return octets;
}

ResultatEcriture EcrireSequence(const std::string& chemin, std::string_view titre, const THistorique& historique) {
  return EcrireFichierSur(chemin, TexteSequence(titre, historique));
}

ResultatSequence LireSequenceDepuisOctets(std::string_view octets, const std::string& nomFichier) {
  ResultatSequence r;
  if (octets.size() > kTailleMaxSequence) {
    r.message = MessageFichierTropGrand(nomFichier);
    return r;
  }
  if (octets.size() % 4 != 0 || octets.size() < 4 * kLongueurTitreSequence) {
    r.message = "Le fichier " + nomFichier + " n'est pas une séquence Glissaro complète : sa longueur (" +
                std::to_string(octets.size()) + " octets) ne correspond pas à une suite d'enregistrements.";
    return r;
  }
  auto lire = [&octets](std::size_t i) {
    const auto* p = reinterpret_cast<const unsigned char*>(octets.data()) + 4 * i;
    TEvenement e;
    e.Valeur = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
    e.Code = static_cast<int8_t>(p[2]);
    e.Reserve = p[3];
    return e;
  };
  std::string titre1252;
  for (std::size_t i = 0; i < kLongueurTitreSequence; ++i) {
    const auto e = lire(i);
    if (e.Valeur != 0) titre1252 += static_cast<char>(static_cast<uint16_t>(e.Valeur) & 0xFF);
  }
  r.titreStocke = Cp1252VersUtf8(titre1252);
  const std::size_t total = octets.size() / 4 - kLongueurTitreSequence;
  r.evenements.reserve(total);
  for (std::size_t i = 0; i < total; ++i) r.evenements.push_back(lire(kLongueurTitreSequence + i));
  r.ok = true;
  return r;
}

ResultatSequence LireSequence(const std::string& chemin) {
  const auto fichier = LireFichier(chemin, kTailleMaxSequence);
  if (!fichier.Lu()) {
    ResultatSequence r;
    r.message = fichier.message;
    return r;
  }
  return LireSequenceDepuisOctets(fichier.contenu, chemin);
}

bool TitreCorrespond(std::string_view titreStocke, std::string_view titrePlateau) {
  const std::string stocke = Utf8VersCp1252(titreStocke);
  const std::string plateau = Utf8VersCp1252(titrePlateau).substr(0, kLongueurTitreSequence);
  return EgalSansCasse(Rogner(stocke), Rogner(plateau));
}

std::string MessageAutrePlateau(std::string_view titreStocke) {
  return "Erreur !!! . Cette sauvegarde appartient au plateau : " + std::string(Rogner(titreStocke));
}

}  // namespace glissaro
