#include "Ini.h"

#include <set>

#include "Texte.h"

namespace glissaro {

namespace {

// A section header "[name]": the name between the brackets, trimmed.
std::optional<std::string_view> NomSection(std::string_view ligne) {
  const auto t = Rogner(ligne);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const auto fin = t.find(']');
  if (fin == std::string_view::npos) return std::nullopt;
  return Rogner(t.substr(1, fin - 1));
}

// A key line "name=value": the trimmed name, or nothing for comments and
// lines without "=".
std::optional<std::string_view> NomCle(std::string_view ligne) {
  const auto t = RognerGauche(ligne);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const auto egal = t.find('=');
  if (egal == std::string_view::npos) return std::nullopt;
  return Rogner(t.substr(0, egal));
}

std::string_view ValeurDe(std::string_view ligne) {
  return Rogner(ligne.substr(ligne.find('=') + 1));
}

// Cuts a UTF-8 text to at most n characters.
std::string CouperCaracteres(std::string_view texte, std::size_t n) {
  std::size_t caracteres = 0;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    if ((static_cast<unsigned char>(texte[i]) & 0xC0) != 0x80) {
      if (caracteres == n) return std::string(texte.substr(0, i));
      ++caracteres;
    }
  }
  return std::string(texte);
}

}  // namespace

FichierIni FichierIni::Charger(const std::string& chemin) {
  const auto contenu = LireFichier(chemin);
  if (!contenu) return {};
  return DepuisTexte(*contenu);
}

FichierIni FichierIni::DepuisTexte(std::string_view octetsCp1252) {
  FichierIni ini;
  for (auto& ligne : DecouperLignes(octetsCp1252)) ini.lignes_.push_back(Cp1252VersUtf8(ligne));
  return ini;
}

std::optional<std::string> FichierIni::Lire(std::string_view section, std::string_view cle) const {
  bool dansSection = false;
  bool sectionVue = false;
  for (const auto& ligne : lignes_) {
    if (const auto nom = NomSection(ligne)) {
      // Only the first section of a name counts.
      if (dansSection) return std::nullopt;
      dansSection = !sectionVue && EgalSansCasse(*nom, section);
      sectionVue = sectionVue || dansSection;
      continue;
    }
    if (!dansSection) continue;
    const auto nom = NomCle(ligne);
    if (nom && EgalSansCasse(*nom, cle)) return CouperCaracteres(ValeurDe(ligne), kLongueurMaxValeur);
  }
  return std::nullopt;
}

std::string FichierIni::LireTexte(std::string_view section, std::string_view cle, std::string_view defaut) const {
  auto valeur = Lire(section, cle);
  return valeur ? *valeur : std::string(defaut);
}

int32_t FichierIni::LireEntier(std::string_view section, std::string_view cle, int32_t defaut) const {
  const auto valeur = Lire(section, cle);
  if (!valeur || valeur->empty()) return defaut;
  std::string texte = *valeur;
  if (texte.size() > 2 && texte[0] == '0' && (texte[1] == 'x' || texte[1] == 'X')) texte = "$" + texte.substr(2);
  // Only a sign with decimal digits, or "$" with hexadecimal digits, is a
  // number here.
  std::size_t i = (texte[0] == '-' || texte[0] == '+') ? 1 : 0;
  if (i < texte.size() && (texte[i] == 'x' || texte[i] == 'X')) return defaut;
  if (texte[0] == ' ') return defaut;
  const auto nombre = EntierStrict(texte);
  return nombre ? *nombre : defaut;
}

bool FichierIni::SectionExiste(std::string_view section) const {
  for (const auto& ligne : lignes_) {
    const auto nom = NomSection(ligne);
    if (nom && EgalSansCasse(*nom, section)) return true;
  }
  return false;
}

void FichierIni::Parcourir(const std::function<void(const std::string&, const std::string&, const std::string&)>&
                               visiteur) const {
  std::set<std::string> sectionsVues;  // upper-cased
  std::set<std::string> clesVues;
  std::string section;
  bool ignoree = true;  // keys before any section, or in a repeated one
  for (const auto& ligne : lignes_) {
    if (const auto nom = NomSection(ligne)) {
      section = std::string(*nom);
      ignoree = !sectionsVues.insert(MajusculesAscii(section)).second;
      clesVues.clear();
      continue;
    }
    if (ignoree) continue;
    const auto nom = NomCle(ligne);
    if (!nom || !clesVues.insert(MajusculesAscii(*nom)).second) continue;
    visiteur(section, std::string(*nom), CouperCaracteres(ValeurDe(ligne), kLongueurMaxValeur));
  }
}

void FichierIni::Ecrire(std::string_view section, std::string_view cle, std::string_view valeur) {
  const std::string nouvelle = std::string(cle) + "=" + std::string(valeur);
  std::size_t i = 0;
  // Find the first section of that name.
  for (; i < lignes_.size(); ++i) {
    const auto nom = NomSection(lignes_[i]);
    if (nom && EgalSansCasse(*nom, section)) break;
  }
  if (i == lignes_.size()) {
    lignes_.push_back("[" + std::string(section) + "]");
    lignes_.push_back(nouvelle);
    return;
  }
  std::size_t derniere = i;  // last non-blank line of the section
  for (std::size_t j = i + 1; j < lignes_.size(); ++j) {
    if (NomSection(lignes_[j])) break;
    const auto nom = NomCle(lignes_[j]);
    if (nom && EgalSansCasse(*nom, cle)) {
      // The key keeps the spelling it had in the file.
      lignes_[j] = std::string(*nom) + "=" + std::string(valeur);
      return;
    }
    if (!Rogner(lignes_[j]).empty()) derniere = j;
  }
  lignes_.insert(lignes_.begin() + static_cast<std::ptrdiff_t>(derniere) + 1, nouvelle);
}

void FichierIni::EcrireEntier(std::string_view section, std::string_view cle, int32_t valeur) {
  Ecrire(section, cle, std::to_string(valeur));
}

std::string FichierIni::Texte() const {
  std::string sortie;
  for (const auto& ligne : lignes_) {
    sortie += Utf8VersCp1252(ligne);
    sortie += "\r\n";
  }
  return sortie;
}

ResultatEcriture FichierIni::Enregistrer(const std::string& chemin) const { return EcrireFichierSur(chemin, Texte()); }

}  // namespace glissaro
