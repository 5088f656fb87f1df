#include "Bibliotheque.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Texte.h"

namespace glissaro {

namespace {

// The next code point of a UTF-8 text; a stray byte stands for itself.
char32_t Suivant(std::string_view t, std::size_t& i) {
  const auto o = static_cast<unsigned char>(t[i++]);
  const int suite = o >= 0xF0 ? 3 : o >= 0xE0 ? 2 : o >= 0xC0 ? 1 : 0;
  if (suite == 0 || i + static_cast<std::size_t>(suite) > t.size()) return o;
  char32_t c = o & (0x3F >> suite);
  for (int k = 0; k < suite; ++k) c = (c << 6) | (static_cast<unsigned char>(t[i++]) & 0x3F);
  return c;
}

char32_t Minuscule(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x152 || c == 0x160 || c == 0x17D) return c + 1;  // Œ Š Ž
  if (c == 0x178) return 0xFF;                              // Ÿ
  return c;
}

// The plain letter of an accented Latin letter, in small letters.
char32_t Base(char32_t c) {
  c = Minuscule(c);
  if (c < 0xDF) return c;
  static constexpr char32_t kLatin1[] = U"saaaaaaaceeeeiiiidnooooo\u00F7ouuuuyty";
  if (c <= 0xFF) return c == 0xF7 ? c : kLatin1[c - 0xDF];
  if (c == 0x153) return 'o';
  if (c == 0x161) return 's';
  if (c == 0x17E) return 'z';
  return c;
}

// Compares two texts code point by code point through f; 0 when equal.
template <typename F>
int Comparer(std::string_view a, std::string_view b, F f) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t x = f(Suivant(a, i));
    const char32_t y = f(Suivant(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  return j < b.size() ? -1 : 0;
}

}  // namespace

bool AvantSansCasse(std::string_view a, std::string_view b) {
  // Plain letters first ("Élan" before "zèbre"), then accents, then case.
  if (const int c = Comparer(a, b, Base)) return c < 0;
  if (const int c = Comparer(a, b, Minuscule)) return c < 0;
  return a < b;
}

std::vector<std::string> PlateauxDuDossier(const std::string& chemin) {
  namespace fs = std::filesystem;
  std::vector<std::string> plateaux;
  std::error_code e;
  for (fs::directory_iterator f(chemin, e), fin; !e && f != fin; f.increment(e)) {
    if (f->is_directory(e)) continue;
    const std::string fichier = f->path().filename().string();
    const auto point = fichier.find('.');
    if (point == std::string::npos || !EgalSansCasse(std::string_view(fichier).substr(point, 4), ".wbp")) continue;
    plateaux.push_back(fichier.substr(0, point));
  }
  std::sort(plateaux.begin(), plateaux.end(), AvantSansCasse);
  return plateaux;
}

std::vector<DossierBibliotheque> LireBibliotheque(const std::string& dossierPlateaux) {
  namespace fs = std::filesystem;
  std::vector<DossierBibliotheque> bibliotheque;
  std::error_code erreur;
  for (fs::directory_iterator it(dossierPlateaux, erreur), fin; !erreur && it != fin; it.increment(erreur)) {
    if (!it->is_directory(erreur)) continue;
    const std::string nom = it->path().filename().string();
    if (Rogner(nom).starts_with('.')) continue;
    DossierBibliotheque dossier{nom, PlateauxDuDossier(it->path().string())};
    bibliotheque.push_back(std::move(dossier));
  }
  std::sort(bibliotheque.begin(), bibliotheque.end(),
            [](const auto& a, const auto& b) { return AvantSansCasse(a.nom, b.nom); });
  return bibliotheque;
}

std::vector<std::string> CheminsBibliotheque(const std::vector<DossierBibliotheque>& bibliotheque) {
  std::vector<std::string> chemins;
  for (const auto& dossier : bibliotheque)
    for (const auto& plateau : dossier.plateaux) chemins.push_back(dossier.nom + "/" + plateau + ".wbp");
  return chemins;
}

std::optional<std::string> PlateauSuivant(const std::vector<std::string>& chemins, std::string_view actuel,
                                          const std::function<bool(const std::string&)>& aPasser) {
  auto it = std::find_if(chemins.begin(), chemins.end(), [&](const auto& c) { return EgalSansCasse(c, actuel); });
  it = it == chemins.end() ? chemins.begin() : it + 1;
  for (; it != chemins.end(); ++it)
    if (!aPasser(*it)) return *it;
  return std::nullopt;
}

}  // namespace glissaro
