#include "Texte.h"

#include <array>
#include <limits>

namespace glissaro {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the unassigned
// ones keep the C1 control of the same value.
constexpr std::array<char32_t, 32> kHaut1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AjouterUtf8(std::string& sortie, char32_t c) {
  if (c < 0x80) {
    sortie += static_cast<char>(c);
  } else if (c < 0x800) {
    sortie += static_cast<char>(0xC0 | (c >> 6));
    sortie += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    sortie += static_cast<char>(0xE0 | (c >> 12));
    sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    sortie += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    sortie += static_cast<char>(0xF0 | (c >> 18));
    sortie += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    sortie += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    sortie += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char OctetCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHaut1252.size(); ++i)
    if (kHaut1252[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

bool EstBlanc(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 32;
}

int ValeurHexa(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string Cp1252VersUtf8(std::string_view octets) {
  std::string sortie;
  sortie.reserve(octets.size());
  for (char o : octets) {
    const auto u = static_cast<unsigned char>(o);
    if (u >= 0x80 && u < 0xA0)
      AjouterUtf8(sortie, kHaut1252[u - 0x80]);
    else
      AjouterUtf8(sortie, u);
  }
  return sortie;
}

std::string Utf8VersCp1252(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  std::size_t i = 0;
  while (i < texte.size()) {
    const auto u = static_cast<unsigned char>(texte[i]);
    int suite = 0;
    char32_t c = 0;
    if (u < 0x80) {
      c = u;
    } else if ((u & 0xE0) == 0xC0) {
      c = u & 0x1F;
      suite = 1;
    } else if ((u & 0xF0) == 0xE0) {
      c = u & 0x0F;
      suite = 2;
    } else if ((u & 0xF8) == 0xF0) {
      c = u & 0x07;
      suite = 3;
    } else {
      sortie += '?';
      ++i;
      continue;
    }
    bool valide = i + static_cast<std::size_t>(suite) < texte.size();
    for (int k = 1; valide && k <= suite; ++k) {
      const auto s = static_cast<unsigned char>(texte[i + k]);
      if ((s & 0xC0) != 0x80)
        valide = false;
      else
        c = (c << 6) | (s & 0x3F);
    }
    if (!valide) {
      sortie += '?';
      ++i;
      continue;
    }
    sortie += OctetCp1252(c);
    i += 1 + suite;
  }
  return sortie;
}

std::string_view RognerGauche(std::string_view texte) {
  std::size_t debut = 0;
  while (debut < texte.size() && EstBlanc(texte[debut])) ++debut;
  return texte.substr(debut);
}

std::string_view RognerDroite(std::string_view texte) {
  std::size_t fin = texte.size();
  while (fin > 0 && EstBlanc(texte[fin - 1])) --fin;
  return texte.substr(0, fin);
}

std::string_view Rogner(std::string_view texte) { return RognerDroite(RognerGauche(texte)); }

std::optional<int32_t> EntierStrict(std::string_view texte) {
  std::size_t i = 0;
  while (i < texte.size() && texte[i] == ' ') ++i;
  bool negatif = false;
  if (i < texte.size() && (texte[i] == '-' || texte[i] == '+')) {
    negatif = texte[i] == '-';
    ++i;
  }
  bool hexa = false;
  if (i < texte.size() && texte[i] == '$') {
    hexa = true;
    ++i;
  } else if (i < texte.size() && (texte[i] == 'x' || texte[i] == 'X')) {
    hexa = true;
    ++i;
  } else if (i + 1 < texte.size() && texte[i] == '0' && (texte[i + 1] == 'x' || texte[i + 1] == 'X')) {
    hexa = true;
    i += 2;
  }
  if (i >= texte.size()) return std::nullopt;
  uint64_t valeur = 0;
  for (; i < texte.size(); ++i) {
    const int chiffre = hexa ? ValeurHexa(texte[i]) : (texte[i] >= '0' && texte[i] <= '9' ? texte[i] - '0' : -1);
    if (chiffre < 0) return std::nullopt;
    valeur = valeur * (hexa ? 16 : 10) + static_cast<uint64_t>(chiffre);
    if (valeur > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hexa) {
    const auto v = static_cast<int32_t>(static_cast<uint32_t>(valeur));
    return negatif ? static_cast<int32_t>(0u - static_cast<uint32_t>(v)) : v;
  }
  if (negatif) {
    if (valeur > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(valeur));
  }
  if (valeur > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return std::nullopt;
  return static_cast<int32_t>(valeur);
}

std::string MessageEntierIncorrect(std::string_view texte) {
  return "'" + std::string(texte) + "' n'est pas une valeur entière correcte";
}

std::string CiterLigne(std::string_view octetsCp1252) {
  constexpr std::size_t kLongueurCitation = 40;
  // One byte is one character in Windows-1252.
  if (octetsCp1252.size() <= kLongueurCitation) return Cp1252VersUtf8(octetsCp1252);
  return Cp1252VersUtf8(octetsCp1252.substr(0, kLongueurCitation)) + "…";
}

std::string MajusculesAscii(std::string_view texte) {
  std::string sortie(texte);
  for (char& c : sortie)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return sortie;
}

bool EgalSansCasse(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::vector<std::string> DecouperLignes(std::string_view contenu) {
  std::vector<std::string> lignes;
  std::size_t debut = 0;
  while (debut < contenu.size()) {
    std::size_t fin = contenu.find('\n', debut);
    if (fin == std::string_view::npos) {
      lignes.emplace_back(contenu.substr(debut));
      break;
    }
    std::size_t finTexte = fin;
    if (finTexte > debut && contenu[finTexte - 1] == '\r') --finTexte;
    lignes.emplace_back(contenu.substr(debut, finTexte - debut));
    debut = fin + 1;
  }
  return lignes;
}

std::string JoindreLignesCrLf(const std::vector<std::string>& lignes) {
  std::string sortie;
  for (const auto& l : lignes) {
    sortie += l;
    sortie += "\r\n";
  }
  return sortie;
}

std::string Remplacer(std::string_view modele, std::string_view valeur) {
  std::string sortie(modele);
  const auto pos = sortie.find("%s");
  if (pos != std::string::npos) sortie.replace(pos, 2, valeur);
  return sortie;
}

}  // namespace glissaro
