#include "SkinFields.h"

#include "Texte.h"

namespace glissaro {

namespace {

// The characters of codes 1 to 32 (blanks, tabs, other controls). The
// character of code 0 ends the line.
bool EstSeparateur(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// A quoted field starting at ligne[i] == '"': its text with doubled quotes
// collapsed. An unterminated field runs to the end of the line. On return i
// is just past the closing quote.
std::string ChampEntreGuillemets(std::string_view ligne, std::size_t& i) {
  std::string champ;
  ++i;
  while (i < ligne.size() && ligne[i] != '\0') {
    if (ligne[i] == '"') {
      if (i + 1 < ligne.size() && ligne[i + 1] == '"') {
        champ += '"';
        i += 2;
        continue;
      }
      ++i;
      return champ;
    }
    champ += ligne[i++];
  }
  return champ;
}

}  // namespace

std::vector<std::string> SplitFields(std::string_view ligne) {
  // Text after a character of code 0 is not part of the line.
  ligne = ligne.substr(0, ligne.find('\0'));
  std::vector<std::string> champs;
  std::size_t i = 0;
  const std::size_t n = ligne.size();
  while (i < n && EstSeparateur(ligne[i])) ++i;
  while (i < n) {
    if (ligne[i] == '"') {
      champs.push_back(ChampEntreGuillemets(ligne, i));
    } else {
      const std::size_t debut = i;
      while (i < n && static_cast<unsigned char>(ligne[i]) >= 32 && ligne[i] != ',') ++i;
      champs.emplace_back(ligne.substr(debut, i - debut));
    }
    while (i < n && EstSeparateur(ligne[i])) ++i;
    if (i < n && ligne[i] == ',') {
      ++i;
      while (i < n && EstSeparateur(ligne[i])) ++i;
    }
  }
  return champs;
}

std::string MessageIndiceHorsLimites(std::size_t index) {
  return "Indice de liste hors limites (" + std::to_string(index) + ")";
}

const std::string& ChampTexte(const std::vector<std::string>& champs, std::size_t index) {
  if (index >= champs.size()) throw ErreurSkin(MessageIndiceHorsLimites(index));
  return champs[index];
}

int32_t ChampEntier(const std::vector<std::string>& champs, std::size_t index) {
  const std::string& champ = ChampTexte(champs, index);
  const auto valeur = EntierStrict(champ);
  if (!valeur) throw ErreurSkin(MessageEntierIncorrect(champ));
  return *valeur;
}

}  // namespace glissaro
