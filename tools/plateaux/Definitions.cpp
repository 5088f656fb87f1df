#include "Definitions.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <utility>

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

// What reading a definition file keeps from line to line.
struct Lecture {
  explicit Lecture(const std::string& fichier) : nomFichier(fichier) {}

  const std::string& nomFichier;
  ResultatAnalyse r;
  std::string dossier;
  bool rangs = false;
  std::map<std::string, int> derniersRangs;  // by folder
  Section section = Section::Aucune;
  int numero = 0;

  void Erreur(const std::string& message) {
    r.erreurs.push_back("Fichier " + nomFichier + ", ligne " + std::to_string(numero) + " : " + message);
  }
  DefinitionPlateau* Courant() { return r.plateaux.empty() ? nullptr : &r.plateaux.back(); }

  void MotCle(const std::string& mot, const std::string& valeur);
  void NouveauPlateau(const std::string& titre);
  void MotCleDuPlateau(DefinitionPlateau& d, const std::string& mot, const std::string& valeur);
  void LigneDeDessin(const std::string& ligne);
  void VerifierChemins();
};

void Lecture::MotCle(const std::string& mot, const std::string& valeur) {
  section = Section::Aucune;
  if (mot == "dossier") {
    const std::string probleme = ProblemeNom(valeur);
    if (!probleme.empty()) Erreur("dossier « " + valeur + " » : " + probleme);
    dossier = valeur;
    rangs = false;
  } else if (mot == "rangs") {
    if (valeur == "oui") rangs = true;
    else if (valeur == "non") rangs = false;
    else Erreur("« rangs: » attend « oui » ou « non », pas « " + valeur + " »");
  } else if (mot == "titre") {
    NouveauPlateau(valeur);
  } else if (Courant() == nullptr) {
    Erreur("« " + mot + ": » vient avant toute ligne « titre: »");
  } else {
    MotCleDuPlateau(*Courant(), mot, valeur);
  }
}

void Lecture::NouveauPlateau(const std::string& titre) {
  DefinitionPlateau d;
  d.titre = titre;
  d.dossier = dossier;
  d.fichier = nomFichier;
  d.ligne = numero;
  if (rangs) d.rang = ++derniersRangs[dossier];
  if (d.rang > 99) Erreur("plus de 99 plateaux classés dans le dossier « " + dossier + " »");
  if (dossier.empty()) Erreur("le plateau « " + titre + " » vient avant toute ligne « dossier: »");
  const std::string probleme = ProblemeTitre(titre);
  if (!probleme.empty()) Erreur("titre « " + titre + " » : " + probleme);
  r.plateaux.push_back(std::move(d));
}

void Lecture::MotCleDuPlateau(DefinitionPlateau& d, const std::string& mot, const std::string& valeur) {
  if (mot == "optimum" || mot == "solution" || mot == "maximum") {
    const auto n = EntierStrict(valeur);
    int& cible = mot == "optimum" ? d.optimum : mot == "solution" ? d.solution : d.maximum;
    if (!n || *n < 1) Erreur("« " + mot + ": » attend un nombre de coups, pas « " + valeur + " »");
    else if (cible >= 0) Erreur("« " + mot + ": » est donné deux fois pour « " + d.titre + " »");
    else cible = *n;
  } else if (mot == "bords") {
    if (valeur == "joints") d.bordsJoints = true;
    else if (valeur == "seuls") d.bordsJoints = false;
    else Erreur("« bords: » attend « joints » ou « seuls », pas « " + valeur + " »");
  } else if (!valeur.empty()) {
    Erreur("le dessin commence à la ligne qui suit « " + mot + ": »");
  } else {
    auto& cible = mot == "plateau" ? d.dessin : mot == "places" ? d.places : d.jonctions;
    if (!cible.empty()) Erreur("« " + mot + ": » est donné deux fois pour « " + d.titre + " »");
    cible.clear();
    section = mot == "plateau" ? Section::Dessin : mot == "places" ? Section::Places : Section::Jonctions;
  }
}

void Lecture::LigneDeDessin(const std::string& ligne) {
  if (section == Section::Aucune || Courant() == nullptr) {
    Erreur("ligne incomprise « " + ligne + " »");
    return;
  }
  auto& d = *Courant();
  if (section == Section::Dessin) {
    for (const char c : ligne)
      if (!EstCaractereDeDessin(c)) {
        Erreur(std::string("caractère « ") + c + " » inconnu dans le dessin de « " + d.titre + " »");
        break;
      }
    d.dessin.push_back(ligne);
  } else if (section == Section::Places) {
    d.places.push_back(ligne);
  } else {
    d.jonctions.push_back(ligne);
  }
}

void Lecture::VerifierChemins() {
  std::set<std::string> chemins;
  for (const auto& d : r.plateaux) {
    if (!chemins.insert(CheminRelatif(d)).second) {
      numero = d.ligne;
      Erreur("le plateau « " + d.titre + " » du dossier « " + d.dossier + " » est défini deux fois");
    }
  }
}

using Signaler = std::function<void(const std::string&)>;

// The sizes of the pictures: the board's picture at most 20 columns by 16
// rows, every line as long, and the other pictures of its size.
void VerifierDessins(const DefinitionPlateau& d, const Signaler& erreur) {
  if (d.dessin.empty()) {
    erreur("pas de dessin « plateau: »");
    return;
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
}

// A picture's character at a place, from (1, 1); 0 off the picture (the
// pictures have been checked to have the board's size).
char Caractere(const std::vector<std::string>& image, TPosition p) {
  if (p.ligne < 1 || p.ligne > static_cast<int>(image.size())) return 0;
  const std::string& ligne = image[static_cast<std::size_t>(p.ligne - 1)];
  if (p.colonne < 1 || p.colonne > static_cast<int>(ligne.size())) return 0;
  return ligne[static_cast<std::size_t>(p.colonne - 1)];
}

// Two side-by-side cells are joined when they hold the same piece letter,
// or when both are border tiles under the same mark of "jonctions:".
bool Joints(const DefinitionPlateau& d, TPosition p, TPosition q) {
  const char a = Caractere(d.dessin, p), b = Caractere(d.dessin, q);
  if (a == 0 || b == 0) return false;
  if (EstMaitre(a) || EstOrdinaire(a)) return a == b;
  if (a == '#' && b == '#') {
    if (d.bordsJoints) return true;
    const char ja = Caractere(d.jonctions, p);
    return ja != 0 && ja != '.' && ja == Caractere(d.jonctions, q);
  }
  return false;
}

// The cell at p as the editor writes it: its place, its series, its joins
// and its image.
void PoserCase(const DefinitionPlateau& d, TPosition p, TCarreau& k, const Signaler& erreur) {
  const char ch = Caractere(d.dessin, p);
  k.PosX = static_cast<uint16_t>(p.colonne);
  k.PosY = static_cast<uint16_t>(p.ligne);
  k.PlaceFinal = Caractere(d.places, p) == '*';
  const char marque = Caractere(d.jonctions, p);
  if (marque != 0 && marque != '.' && ch != '#')
    erreur("la marque de jonction en ligne " + std::to_string(p.ligne) + ", colonne " + std::to_string(p.colonne) +
           " n'est pas sur un bord « # »");
  if (ch == '.') {
    k.Serie = TSerieMap::Vide;
    k.Map = kMapFond;
    return;
  }
  if (ch == '+') {
    k.Serie = TSerieMap::Bord;
    k.Porte = true;
    k.Map = kMapPorteFermee;
  } else {
    k.Serie = ch == '#' ? TSerieMap::Bord : EstMaitre(ch) ? TSerieMap::Final : TSerieMap::Normal;
    k.Haut = Joints(d, p, {p.ligne - 1, p.colonne});
    k.Bas = Joints(d, p, {p.ligne + 1, p.colonne});
    k.Gauche = Joints(d, p, {p.ligne, p.colonne - 1});
    k.Droit = Joints(d, p, {p.ligne, p.colonne + 1});
    k.Map = MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas);
  }
  if (k.PlaceFinal && k.Serie == TSerieMap::Bord)
    erreur("la place finale en ligne " + std::to_string(p.ligne) + ", colonne " + std::to_string(p.colonne) +
           " est sous un bord ou une porte : aucune pièce maîtresse ne peut l'atteindre");
}

}  // namespace

std::string ProblemeTitre(const std::string& titre) {
  const std::string probleme = ProblemeNom(titre);
  if (!probleme.empty()) return probleme;
  if (NombreDeCaracteres(titre) > 15) return "le titre a plus de 15 caractères";
  return "";
}

ResultatAnalyse AnalyserDefinitions(std::string_view texte, const std::string& nomFichier) {
  Lecture lecture(nomFichier);
  for (const auto& brute : DecouperLignes(texte)) {
    ++lecture.numero;
    const std::string ligne(Rogner(brute));
    std::string mot, valeur;
    if (ligne.empty() || ligne.front() == ';')
      lecture.section = Section::Aucune;
    else if (LireMotCle(ligne, mot, valeur))
      lecture.MotCle(mot, valeur);
    else
      lecture.LigneDeDessin(ligne);
  }
  lecture.VerifierChemins();
  return std::move(lecture.r);
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
  const Signaler erreur = [&](const std::string& message) {
    r.erreurs.push_back("Fichier " + d.fichier + ", plateau « " + d.titre + " » (ligne " + std::to_string(d.ligne) +
                        ") : " + message);
  };

  const std::string probleme = ProblemeTitre(d.titre);
  if (!probleme.empty()) erreur("titre : " + probleme);
  VerifierDessins(d, erreur);
  if (!r.erreurs.empty()) return r;

  const int H = static_cast<int>(d.dessin.size()), L = static_cast<int>(d.dessin.front().size());
  TPlateau& p = r.plateau;
  p.Titre = d.titre;
  p.Largeur = static_cast<uint16_t>(L);
  p.Hauteur = static_cast<uint16_t>(H);
  p.Etat = 0;
  for (int l = 1; l <= H; ++l)
    for (int c = 1; c <= L; ++c) PoserCase(d, {l, c}, p.Case(l, c), erreur);
  if (!r.erreurs.empty()) return r;

  const auto verification = VerifierGrille(p);
  r.verdict = verification.texte;
  r.valide = verification.Correcte();
  p.Etat = r.valide ? 1 : 0;
  return r;
}

}  // namespace glissaro::plateaux
