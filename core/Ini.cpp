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

// Calls f(debut, longueur) for every line of a text, without its line end:
// CR LF and LF alone end a line, a last line without an end counts, and
// nothing follows the last line end.
template <typename F>
void ChaqueLigne(std::string_view texte, F&& f) {
  std::size_t debut = 0;
  while (debut < texte.size()) {
    const std::size_t fin = texte.find('\n', debut);
    const std::size_t finLigne = fin == std::string_view::npos ? texte.size() : fin;
    std::size_t finTexte = finLigne;
    if (fin != std::string_view::npos && finTexte > debut && texte[finTexte - 1] == '\r') --finTexte;
    f(debut, finTexte - debut);
    if (fin == std::string_view::npos) break;
    debut = fin + 1;
  }
}

bool ChiffresDecimaux(std::string_view texte) {
  if (texte.empty()) return false;
  for (char c : texte)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

FichierIni FichierIni::Charger(const std::string& chemin, std::string* message, std::size_t tailleMax) {
  const auto fichier = LireFichier(chemin, tailleMax);
  if (fichier.Lu()) return DepuisTexte(fichier.contenu);
  if (message && fichier.etat != FichierLu::Etat::Absent) *message = fichier.message;
  return {};
}

FichierIni FichierIni::DepuisTexte(std::string_view octetsCp1252) {
  FichierIni ini;
  // The places of the lines are 32-bit: a text beyond that is no
  // description (files are read with a bound far below it).
  if (octetsCp1252.size() > UINT32_MAX / 4) return ini;
  ini.texte_ = Cp1252VersUtf8(octetsCp1252);
  ini.Indexer();
  return ini;
}

void FichierIni::Indexer() {
  std::size_t nombre = 0;
  ChaqueLigne(texte_, [&](std::size_t debut, std::size_t longueur) {
    if (!Rogner(std::string_view(texte_).substr(debut, longueur)).empty()) ++nombre;
  });
  lignes_.clear();
  lignes_.shrink_to_fit();
  lignes_.reserve(nombre);
  ChaqueLigne(texte_, [&](std::size_t debut, std::size_t longueur) {
    if (!Rogner(std::string_view(texte_).substr(debut, longueur)).empty())
      lignes_.push_back({static_cast<uint32_t>(debut), static_cast<uint32_t>(longueur)});
  });
}

void FichierIni::Remplacer(std::size_t debut, std::size_t fin, std::string_view par) {
  texte_.replace(debut, fin - debut, par);
  Indexer();
}

std::optional<std::string> FichierIni::Lire(std::string_view section, std::string_view cle) const {
  bool dansSection = false;
  bool sectionVue = false;
  for (const auto l : lignes_) {
    const auto ligne = Contenu(l);
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
  const std::string_view texte = *valeur;
  std::optional<int32_t> nombre;
  if (texte.size() > 2 && texte[0] == '0' && (texte[1] == 'x' || texte[1] == 'X'))
    nombre = EntierStrict("$" + std::string(texte.substr(2)));
  else if (texte[0] == '$')
    nombre = EntierStrict(texte);
  else if (ChiffresDecimaux(texte.substr(texte[0] == '-' || texte[0] == '+' ? 1 : 0)))
    nombre = EntierStrict(texte);
  return nombre.value_or(defaut);
}

bool FichierIni::SectionExiste(std::string_view section) const {
  for (const auto l : lignes_) {
    const auto nom = NomSection(Contenu(l));
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
  for (const auto l : lignes_) {
    const auto ligne = Contenu(l);
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
    const auto nom = NomSection(Contenu(lignes_[i]));
    if (nom && EgalSansCasse(*nom, section)) break;
  }
  const bool finSansSaut = !texte_.empty() && texte_.back() != '\n';
  if (i == lignes_.size()) {
    Remplacer(texte_.size(), texte_.size(),
              (finSansSaut ? "\r\n[" : "[") + std::string(section) + "]\r\n" + nouvelle + "\r\n");
    return;
  }
  std::size_t derniere = i;  // last line of the section
  for (std::size_t j = i + 1; j < lignes_.size(); ++j) {
    const auto ligne = lignes_[j];
    if (NomSection(Contenu(ligne))) break;
    const auto nom = NomCle(Contenu(ligne));
    if (nom && EgalSansCasse(*nom, cle)) {
      // The key keeps the spelling it had in the file.
      Remplacer(ligne.debut, ligne.debut + ligne.longueur, std::string(*nom) + "=" + std::string(valeur));
      return;
    }
    derniere = j;
  }
  // The new key goes on a line of its own after the section's last line.
  std::size_t apres = lignes_[derniere].debut + lignes_[derniere].longueur;
  if (apres == texte_.size()) {
    Remplacer(apres, apres, "\r\n" + nouvelle);
    return;
  }
  apres += texte_[apres] == '\r' ? 2 : 1;
  Remplacer(apres, apres, nouvelle + "\r\n");
}

void FichierIni::EcrireEntier(std::string_view section, std::string_view cle, int32_t valeur) {
  Ecrire(section, cle, std::to_string(valeur));
}

std::string FichierIni::Texte() const {
  std::string sortie;
  sortie.reserve(texte_.size() + texte_.size() / 8);
  ChaqueLigne(texte_, [&](std::size_t debut, std::size_t longueur) {
    sortie += Utf8VersCp1252(std::string_view(texte_).substr(debut, longueur));
    sortie += "\r\n";
  });
  return sortie;
}

ResultatEcriture FichierIni::Enregistrer(const std::string& chemin) const { return EcrireFichierSur(chemin, Texte()); }

}  // namespace glissaro
