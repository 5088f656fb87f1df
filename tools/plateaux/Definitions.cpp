#include "Definitions.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

#include "Texte.h"
#include "Verification.h"

namespace glissaro::plateaux {

namespace {

constexpr std::string_view kCaracteresInterdits = "\\/:*?\"<>|";

enum class Section { Aucune, Dessin, Places, Jonctions };

bool EstCaractereDeDessin(char c) {
  return c == '.' || c == '#' || c == '+' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9');
}

bool EstMaitre(char c) { return c >= 'A' && c <= 'Z'; }
bool EstOrdinaire(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

std::size_t NombreDeCaracteres(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// "mot: valeur" with a known keyword: the keyword and the rest, trimmed.
bool LireMotCle(std::string_view ligne, std::string& mot, std::string& valeur) {
  const auto deuxPoints = ligne.find(':');
  if (deuxPoints == std::string_view::npos) return false;
  const auto m = Rogner(ligne.substr(0, deuxPoints));
  static constexpr std::string_view kMots[] = {"titre",    "dossier",  "plateau", "places", "jonctions",
                                               "bords",    "rangs",    "optimum", "solution", "maximum"};
  if (std::find(std::begin(kMots), std::end(kMots), m) == std::end(kMots)) return false;
  mot = std::string(m);
  valeur = std::string(Rogner(ligne.substr(deuxPoints + 1)));
  return true;
}

// The problem with a folder or title name for a file name, or "".
std::string ProblemeNom(const std::string& nom) {
  if (nom.empty()) return "le nom est vide";
  if (Rogner(nom).size() != nom.size()) return "le nom commence ou finit par un blanc";
  if (Cp1252VersUtf8(Utf8VersCp1252(nom)) != nom) return "le nom a des caractères hors de Windows-1252";
  for (const char c : nom) {
    if (kCaracteresInterdits.find(c) != std::string_view::npos || static_cast<unsigned char>(c) < 32)
      return std::string("le caractère « ") + c + " » est interdit dans un nom de fichier";
  }
  if (nom == "." || nom == "..") return "le nom « " + nom + " » est réservé";
  return "";
}

}  // namespace

std::string ProblemeTitre(const std::string& titre) {
  const std::string probleme = ProblemeNom(titre);
  if (!probleme.empty()) return probleme;
  if (NombreDeCaracteres(titre) > 15) return "le titre a plus de 15 caractères";
  return "";
}

ResultatAnalyse AnalyserDefinitions(std::string_view texte, const std::string& nomFichier) {
  ResultatAnalyse r;
  std::string dossier;
  bool rangs = false;
  std::map<std::string, int> derniersRangs;  // by folder
  Section section = Section::Aucune;
  int numero = 0;
  auto erreur = [&](const std::string& message) {
    r.erreurs.push_back("Fichier " + nomFichier + ", ligne " + std::to_string(numero) + " : " + message);
  };
  auto courant = [&]() -> DefinitionPlateau* { return r.plateaux.empty() ? nullptr : &r.plateaux.back(); };

  for (const auto& brute : DecouperLignes(texte)) {
    ++numero;
    const std::string ligne(Rogner(brute));
    if (ligne.empty() || ligne.front() == ';') {
      section = Section::Aucune;
      continue;
    }
    std::string mot, valeur;
    if (LireMotCle(ligne, mot, valeur)) {
      section = Section::Aucune;
      if (mot == "dossier") {
        const std::string probleme = ProblemeNom(valeur);
        if (!probleme.empty()) erreur("dossier « " + valeur + " » : " + probleme);
        dossier = valeur;
        rangs = false;
      } else if (mot == "rangs") {
        if (valeur == "oui") rangs = true;
        else if (valeur == "non") rangs = false;
        else erreur("« rangs: » attend « oui » ou « non », pas « " + valeur + " »");
      } else if (mot == "titre") {
        DefinitionPlateau d;
        d.titre = valeur;
        d.dossier = dossier;
        d.fichier = nomFichier;
        d.ligne = numero;
        if (rangs) d.rang = ++derniersRangs[dossier];
        if (d.rang > 99) erreur("plus de 99 plateaux classés dans le dossier « " + dossier + " »");
        if (dossier.empty()) erreur("le plateau « " + valeur + " » vient avant toute ligne « dossier: »");
        const std::string probleme = ProblemeTitre(valeur);
        if (!probleme.empty()) erreur("titre « " + valeur + " » : " + probleme);
        r.plateaux.push_back(std::move(d));
      } else if (courant() == nullptr) {
        erreur("« " + mot + ": » vient avant toute ligne « titre: »");
      } else if (mot == "optimum" || mot == "solution" || mot == "maximum") {
        const auto n = EntierStrict(valeur);
        int& cible = mot == "optimum" ? courant()->optimum : mot == "solution" ? courant()->solution : courant()->maximum;
        if (!n || *n < 1) erreur("« " + mot + ": » attend un nombre de coups, pas « " + valeur + " »");
        else if (cible >= 0) erreur("« " + mot + ": » est donné deux fois pour « " + courant()->titre + " »");
        else cible = *n;
      } else if (mot == "bords") {
        if (valeur == "joints") courant()->bordsJoints = true;
        else if (valeur == "seuls") courant()->bordsJoints = false;
        else erreur("« bords: » attend « joints » ou « seuls », pas « " + valeur + " »");
      } else if (!valeur.empty()) {
        erreur("le dessin commence à la ligne qui suit « " + mot + ": »");
      } else {
        auto& d = *courant();
        auto& cible = mot == "plateau" ? d.dessin : mot == "places" ? d.places : d.jonctions;
        if (!cible.empty()) erreur("« " + mot + ": » est donné deux fois pour « " + d.titre + " »");
        cible.clear();
        section = mot == "plateau" ? Section::Dessin : mot == "places" ? Section::Places : Section::Jonctions;
      }
      continue;
    }
    if (section == Section::Aucune || courant() == nullptr) {
      erreur("ligne incomprise « " + ligne + " »");
      continue;
    }
    auto& d = *courant();
    if (section == Section::Dessin) {
      for (const char c : ligne)
        if (!EstCaractereDeDessin(c)) {
          erreur(std::string("caractère « ") + c + " » inconnu dans le dessin de « " + d.titre + " »");
          break;
        }
      d.dessin.push_back(ligne);
    } else if (section == Section::Places) {
      d.places.push_back(ligne);
    } else {
      d.jonctions.push_back(ligne);
    }
  }

  std::set<std::string> chemins;
  for (const auto& d : r.plateaux) {
    if (!chemins.insert(CheminRelatif(d)).second) {
      numero = d.ligne;
      erreur("le plateau « " + d.titre + " » du dossier « " + d.dossier + " » est défini deux fois");
    }
  }
  return r;
}

std::string NomDeFichier(const DefinitionPlateau& definition) {
  std::string rang;
  if (definition.rang > 0) rang = std::string(definition.rang < 10 ? "0" : "") + std::to_string(definition.rang) + " - ";
  return rang + definition.titre;
}

std::string CheminRelatif(const DefinitionPlateau& definition) {
  return definition.dossier + "/" + NomDeFichier(definition) + ".wbp";
}

PlateauConstruit ConstruirePlateau(const DefinitionPlateau& d) {
  PlateauConstruit r;
  auto erreur = [&](const std::string& message) {
    r.erreurs.push_back("Fichier " + d.fichier + ", plateau « " + d.titre + " » (ligne " + std::to_string(d.ligne) +
                        ") : " + message);
  };

  const std::string probleme = ProblemeTitre(d.titre);
  if (!probleme.empty()) erreur("titre : " + probleme);
  if (d.dessin.empty()) {
    erreur("pas de dessin « plateau: »");
    return r;
  }
  const std::size_t hauteur = d.dessin.size();
  const std::size_t largeur = d.dessin.front().size();
  if (largeur < 1 || largeur > static_cast<std::size_t>(kLargeurMax) || hauteur > static_cast<std::size_t>(kHauteurMax))
    erreur("le plateau mesure " + std::to_string(largeur) + " colonnes sur " + std::to_string(hauteur) +
           " lignes : au plus 20 sur 16");
  for (const auto& ligne : d.dessin)
    if (ligne.size() != largeur) erreur("les lignes du dessin n'ont pas toutes " + std::to_string(largeur) + " cases");
  auto memeTaille = [&](const std::vector<std::string>& image, const char* nom) {
    bool ok = image.size() == hauteur;
    for (const auto& ligne : image) ok = ok && ligne.size() == largeur;
    if (!ok) erreur(std::string("le dessin « ") + nom + ": » n'a pas la taille du plateau");
    return ok;
  };
  if (d.places.empty()) erreur("pas de dessin « places: »");
  else memeTaille(d.places, "places");
  if (!d.jonctions.empty()) memeTaille(d.jonctions, "jonctions");
  if (!d.jonctions.empty() && d.bordsJoints) erreur("« bords: joints » et « jonctions: » ensemble");
  if (!r.erreurs.empty()) return r;

  const int H = static_cast<int>(hauteur), L = static_cast<int>(largeur);
  auto car = [&](const std::vector<std::string>& image, int l, int c) -> char {
    if (image.empty() || l < 1 || l > H || c < 1 || c > L) return 0;
    return image[static_cast<std::size_t>(l - 1)][static_cast<std::size_t>(c - 1)];
  };
  // Two side-by-side cells are joined when they hold the same piece letter,
  // or when both are border tiles under the same mark of "jonctions:".
  auto joints = [&](int l, int c, int l2, int c2) {
    const char a = car(d.dessin, l, c), b = car(d.dessin, l2, c2);
    if (a == 0 || b == 0) return false;
    if (EstMaitre(a) || EstOrdinaire(a)) return a == b;
    if (a == '#' && b == '#') {
      if (d.bordsJoints) return true;
      const char ja = car(d.jonctions, l, c);
      return ja != 0 && ja != '.' && ja == car(d.jonctions, l2, c2);
    }
    return false;
  };

  TPlateau& p = r.plateau;
  p.Titre = d.titre;
  p.Largeur = static_cast<uint16_t>(L);
  p.Hauteur = static_cast<uint16_t>(H);
  p.Etat = 0;
  for (int l = 1; l <= H; ++l) {
    for (int c = 1; c <= L; ++c) {
      TCarreau& k = p.Case(l, c);
      const char ch = car(d.dessin, l, c);
      k.PosX = static_cast<uint16_t>(c);
      k.PosY = static_cast<uint16_t>(l);
      k.PlaceFinal = car(d.places, l, c) == '*';
      const char marque = car(d.jonctions, l, c);
      if (marque != 0 && marque != '.' && ch != '#')
        erreur("la marque de jonction en ligne " + std::to_string(l) + ", colonne " + std::to_string(c) +
               " n'est pas sur un bord « # »");
      if (ch == '.') {
        k.Serie = TSerieMap::Vide;
        k.Map = kMapFond;
        continue;
      }
      if (ch == '+') {
        k.Serie = TSerieMap::Bord;
        k.Porte = true;
        k.Map = kMapPorteFermee;
      } else {
        k.Serie = ch == '#' ? TSerieMap::Bord : EstMaitre(ch) ? TSerieMap::Final : TSerieMap::Normal;
        k.Haut = joints(l, c, l - 1, c);
        k.Bas = joints(l, c, l + 1, c);
        k.Gauche = joints(l, c, l, c - 1);
        k.Droit = joints(l, c, l, c + 1);
        k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
      }
      if (k.PlaceFinal && k.Serie == TSerieMap::Bord)
        erreur("la place finale en ligne " + std::to_string(l) + ", colonne " + std::to_string(c) +
               " est sous un bord ou une porte : aucune pièce maîtresse ne peut l'atteindre");
    }
  }
  if (!r.erreurs.empty()) return r;

  const auto verification = VerifierGrille(p);
  r.verdict = verification.texte;
  r.valide = verification.Correcte();
  p.Etat = r.valide ? 1 : 0;
  return r;
}

}  // namespace glissaro::plateaux
