#include "FichierPlateau.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "Texte.h"

namespace glissaro {

namespace {

// Reads the lines of a board file one after the other, as they are needed:
// nothing after the last cell is looked at, and a file that ends early
// reads its missing lines as empty. CR LF and LF alone end a line.
class Lecteur {
 public:
  Lecteur(std::string_view contenu, const std::string& nomFichier) : reste_(contenu), nomFichier_(nomFichier) {}

  std::string_view Suivante() {
    ++numero_;
    const auto fin = reste_.find('\n');
    std::string_view ligne = reste_.substr(0, fin);
    reste_ = fin == std::string_view::npos ? std::string_view() : reste_.substr(fin + 1);
    if (fin != std::string_view::npos && !ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    return ligne;
  }

  // The next line as an integer within [min, max]; on failure the message
  // names the file and the line.
  std::optional<int32_t> Entier(int64_t min, int64_t max, std::string& message) {
    const std::string_view ligne = Suivante();
    const auto valeur = EntierStrict(Rogner(ligne));
    if (!valeur) {
      message = Contexte() + MessageEntierIncorrect(CiterLigne(ligne));
      return std::nullopt;
    }
    if (*valeur < min || *valeur > max) {
      message = Contexte() + "'" + CiterLigne(ligne) + "' est hors des limites (" + std::to_string(min) + " à " +
                std::to_string(max) + ")";
      return std::nullopt;
    }
    return valeur;
  }

  std::string Contexte() const {
    return "Fichier " + nomFichier_ + ", ligne " + std::to_string(numero_) + " : ";
  }

 private:
  std::string_view reste_;
  std::string nomFichier_;
  std::size_t numero_ = 0;
};

ResultatLecture Echec(ResultatLecture r, std::string message) {
  r.statut = StatutLecture::Erreur;
  r.message = std::move(message);
  return r;
}

const char* Booleen(bool b) { return b ? "1" : "0"; }

// The pictures the tiles of a series have.
struct ImagesSerie {
  int nombre;
  const char* nom;
};
ImagesSerie ImagesDeSerie(TSerieMap serie) {
  switch (serie) {
    case TSerieMap::Normal: return {16, "une tuile ordinaire"};
    case TSerieMap::Final: return {16, "une tuile maître"};
    case TSerieMap::Bord: return {kMapPorteTouchee + 1, "une tuile de bordure"};
    case TSerieMap::Vide: break;
  }
  return {kMapFondFinal + 1, "le fond"};
}

}  // namespace

ResultatLecture LirePlateauDepuisTexte(std::string_view contenu, const std::string& nomFichier, TPlateau& plateau,
                                       ModeLecture mode) {
  ResultatLecture r;
  Lecteur lecteur(contenu, nomFichier);
  std::string message;

  lecteur.Suivante();  // format version, never compared
  r.titre = Cp1252VersUtf8(lecteur.Suivante());
  const auto largeur = lecteur.Entier(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), message);
  if (!largeur) return Echec(r, message);
  const auto hauteur = lecteur.Entier(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), message);
  if (!hauteur) return Echec(r, message);
  r.largeur = *largeur;
  r.hauteur = *hauteur;
  if (r.largeur < 1 || r.largeur > kLargeurMax || r.hauteur < 1 || r.hauteur > kHauteurMax)
    return Echec(r, "Le plateau " + nomFichier + " mesure " + std::to_string(r.largeur) + " colonnes sur " +
                        std::to_string(r.hauteur) + " lignes : un plateau a de 1 à 20 colonnes et de 1 à 16 lignes.");
  r.enTeteLu = true;

  r.ligneEtat = std::string(lecteur.Suivante());
  int32_t etat = 0;
  if (mode == ModeLecture::Jeu) {
    // "0", with or without blanks around it: never validated.
    if (Rogner(r.ligneEtat) == "0") {
      r.statut = StatutLecture::NonValide;
      return r;
    }
    const auto valeur = EntierStrict(Rogner(r.ligneEtat));
    if (!valeur) return Echec(r, lecteur.Contexte() + MessageEntierIncorrect(CiterLigne(r.ligneEtat)));
    etat = *valeur;
  } else {
    etat = EntierStrict(Rogner(r.ligneEtat)).value_or(0);
  }

  // The cells are read into a copy: the caller's board changes only when the
  // whole file was right.
  TPlateau lu;
  lu.Largeur = static_cast<uint16_t>(r.largeur);
  lu.Hauteur = static_cast<uint16_t>(r.hauteur);
  lu.Titre = r.titre;
  lu.Etat = etat;
  for (int ligne = 1; ligne <= lu.Hauteur; ++ligne) {
    for (int colonne = 1; colonne <= lu.Largeur; ++colonne) {
      TCarreau& cellule = lu.Case(ligne, colonne);
      const auto serie = lecteur.Entier(0, 3, message);
      if (!serie) return Echec(r, message);
      const auto map = lecteur.Entier(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), message);
      if (!map) return Echec(r, message);
      const std::string ligneMap = lecteur.Contexte();
      const auto piece = lecteur.Entier(0, std::numeric_limits<uint16_t>::max(), message);
      if (!piece) return Echec(r, message);
      cellule.Serie = static_cast<TSerieMap>(*serie);
      cellule.Map = static_cast<int16_t>(*map);
      cellule.Piece = static_cast<uint16_t>(*piece);
      cellule.Haut = lecteur.Suivante() == "1";
      cellule.Droit = lecteur.Suivante() == "1";
      cellule.Bas = lecteur.Suivante() == "1";
      cellule.Gauche = lecteur.Suivante() == "1";
      cellule.PlaceFinal = lecteur.Suivante() == "1";
      cellule.Porte = lecteur.Suivante() == "1";
      // A picture number the tiles of its series do not have (a door cell
      // takes the closed door's whatever it says).
      if (const auto images = ImagesDeSerie(cellule.Serie); !cellule.Porte && (*map < 0 || *map >= images.nombre))
        return Echec(r, ligneMap + "l'image " + std::to_string(*map) + " n'existe pas pour " + images.nom + " (0 à " +
                            std::to_string(images.nombre - 1) + ")");
      if (mode == ModeLecture::Jeu) {
        AjusterCaseLue(cellule, ligne, colonne);
      } else {
        cellule.PosX = static_cast<uint16_t>(colonne);
        cellule.PosY = static_cast<uint16_t>(ligne);
      }
    }
  }
  plateau = std::move(lu);
  r.statut = StatutLecture::Ok;
  return r;
}

ResultatLecture LirePlateau(const std::string& chemin, TPlateau& plateau, ModeLecture mode) {
  const auto fichier = LireFichier(chemin, kTailleMaxPlateau);
  if (!fichier.Lu()) {
    ResultatLecture r;
    r.message = fichier.message;
    return r;
  }
  return LirePlateauDepuisTexte(fichier.contenu, chemin, plateau, mode);
}

std::string TexteDuPlateau(const TPlateau& plateau, std::string_view ligneEtat) {
  std::string t;
  t.reserve(64 + 24 * static_cast<std::size_t>(plateau.Largeur) * plateau.Hauteur);
  auto ligne = [&t](std::string_view texte) {
    t += texte;
    t += "\r\n";
  };
  ligne("V1.00");
  ligne(Utf8VersCp1252(plateau.Titre));
  ligne(std::to_string(plateau.Largeur));
  ligne(std::to_string(plateau.Hauteur));
  ligne(ligneEtat);
  const int hauteur = std::min<int>(plateau.Hauteur, kHauteurMax);
  const int largeur = std::min<int>(plateau.Largeur, kLargeurMax);
  for (int l = 1; l <= hauteur; ++l) {
    for (int c = 1; c <= largeur; ++c) {
      const auto& cellule = plateau.Case(l, c);
      ligne(std::to_string(static_cast<int>(cellule.Serie)));
      ligne(std::to_string(cellule.Map));
      ligne(std::to_string(cellule.Piece));
      ligne(Booleen(cellule.Haut));
      ligne(Booleen(cellule.Droit));
      ligne(Booleen(cellule.Bas));
      ligne(Booleen(cellule.Gauche));
      ligne(Booleen(cellule.PlaceFinal));
      ligne(Booleen(cellule.Porte));
    }
  }
  return t;
}

ResultatEcriture EcrirePlateau(const std::string& chemin, const TPlateau& plateau, std::string_view ligneEtat) {
  return EcrireFichierSur(chemin, TexteDuPlateau(plateau, ligneEtat));
}

std::string NomDuPlateauChoisi(std::string_view nomFichier, std::string_view titre) {
  const bool classe = nomFichier.size() == titre.size() + 5 && nomFichier[0] >= '0' && nomFichier[0] <= '9' &&
                      nomFichier[1] >= '0' && nomFichier[1] <= '9' && nomFichier.substr(2, 3) == " - " &&
                      nomFichier.substr(5) == titre;
  return std::string(classe ? nomFichier : titre);
}

}  // namespace glissaro
