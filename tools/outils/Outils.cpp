#include "Outils.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "FichierPlateau.h"
#include "JeuSolution.h"
#include "Installation.h"
#include "Fichiers.h"
#include "Partie.h"
#include "Rejeu.h"
#include "Sequence.h"
#include "Solveur.h"
#include "Texte.h"
#include "Verification.h"
#include "Paquet.h"
#include "backup.h"

namespace glissaro::outils {

namespace {

constexpr const char* kUsage =
    "Usage :\n"
    "  glissaro-outils verifier PLATEAU.wbp...\n"
    "  glissaro-outils jouer PLATEAU.wbp GESTES [--taille N] [--vitesse V] [--sequence SORTIE.swb]\n"
    "  glissaro-outils rejouer PLATEAU.wbp SEQUENCE.swb\n"
    "  glissaro-outils paquet creer SORTIE.pkg DOSSIER [--volume OCTETS] [--compression aucune|rapide|normale|max]\n"
    "  glissaro-outils paquet lister ARCHIVE.pkg\n"
    "  glissaro-outils paquet extraire ARCHIVE.pkg DOSSIER\n"
    "  glissaro-outils resoudre PLATEAU.wbp [--pas] [--optimale] [--sequence SORTIE.swb] [--limite ETATS] [--memoire Mio]\n"
    "  glissaro-outils installer DOSSIER [--depuis DONNEES]\n"
    "  glissaro-outils desinstaller DOSSIER\n";

// ---------------------------------------------------------------- verifier

bool VerifierUn(const std::string& chemin, std::ostream& sortie, std::ostream& erreurs) {
  TPlateau plateau;
  const auto lecture = LirePlateau(chemin, plateau, ModeLecture::Editeur);
  if (lecture.statut != StatutLecture::Ok) {
    erreurs << lecture.message << "\n";
    return false;
  }
  sortie << chemin << "\n";
  sortie << "titre " << plateau.Titre << "\n";
  sortie << "taille " << plateau.Largeur << " " << plateau.Hauteur << "\n";
  sortie << "etat " << Cp1252VersUtf8(lecture.ligneEtat) << "\n";
  const auto resultat = VerifierGrille(plateau);
  sortie << "verdict " << resultat.texte << "\n";
  if (resultat.issue == IssueVerification::JonctionsIncorrectes ||
      resultat.issue == IssueVerification::PiecesIncorrectes) {
    sortie << "fautes";
    for (const TPosition faute : resultat.fautes) sortie << " (" << faute.colonne << "," << faute.ligne << ")";
    sortie << "\n";
  }
  if (resultat.numerotees) {
    sortie << "pieces\n";
    for (int l = 1; l <= plateau.Hauteur; ++l) {
      for (int c = 1; c <= plateau.Largeur; ++c) sortie << (c > 1 ? " " : "") << plateau.Case(l, c).Piece;
      sortie << "\n";
    }
  }
  return resultat.Correcte();
}

int Verifier(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.size() < 2) {
    erreurs << "Aucun plateau à vérifier.\n" << kUsage;
    return 1;
  }
  bool tousCorrects = true;
  for (std::size_t i = 1; i < arguments.size(); ++i)
    if (!VerifierUn(arguments[i], sortie, erreurs)) tousCorrects = false;
  return tousCorrects ? 0 : 1;
}

// ------------------------------------------------------------------- jouer

// A board read for play, or the reason why not on the error stream.
bool LectureReussie(const ResultatLecture& lecture, const std::string& chemin, std::ostream& erreurs) {
  if (lecture.statut == StatutLecture::NonValide)
    erreurs << "Ce plateau n'a pas été testé \"valide\" avec l'editeur : " << chemin << "\n";
  else if (lecture.statut != StatutLecture::Ok)
    erreurs << lecture.message << "\n";
  return lecture.statut == StatutLecture::Ok;
}

class Journal : public ObservateurPartie {
 public:
  explicit Journal(std::ostream& sortie) : sortie_(sortie) {}
  void Felicitations(const std::string&, int32_t etat) override { sortie_ << "bravo " << (etat == 2 ? 2 : 1) << "\n"; }
  void HistoriquePlein() override { sortie_ << "historique plein\n"; }

 private:
  std::ostream& sortie_;
};

struct Geste {
  std::string verbe;
  int x = 0;
  int y = 0;
};

bool LireGestes(const std::string& chemin, std::vector<Geste>& gestes, std::ostream& erreurs) {
  const auto fichier = LireFichier(chemin, kTailleMaxTexte);
  if (!fichier.Lu()) {
    erreurs << fichier.message << "\n";
    return false;
  }
  int numero = 0;
  for (const auto& brute : DecouperLignes(fichier.contenu)) {
    ++numero;
    const auto ligne = Rogner(brute);
    if (ligne.empty() || ligne.front() == '#') continue;
    std::istringstream mots{std::string(ligne)};
    Geste g;
    std::string x, y, reste;
    mots >> g.verbe >> x >> y;
    const auto vx = EntierStrict(x), vy = EntierStrict(y);
    const bool verbeConnu =
        g.verbe == "appuyer" || g.verbe == "appuyer-droit" || g.verbe == "glisser" || g.verbe == "relacher";
    if (!verbeConnu || !vx || !vy || (mots >> reste)) {
      erreurs << "Fichier " << chemin << ", ligne " << numero << " : geste incorrect « " << ligne
              << " » (attendu : appuyer, appuyer-droit, glisser ou relacher suivi de X Y)\n";
      return false;
    }
    g.x = *vx;
    g.y = *vy;
    gestes.push_back(g);
  }
  return true;
}

std::optional<int> OptionEntiere(const std::string& nom, const std::string& valeur, std::ostream& erreurs) {
  const auto v = EntierStrict(valeur);
  if (!v) {
    erreurs << "Option " << nom << " : " << MessageEntierIncorrect(valeur) << " (un entier positif est attendu)\n";
    return std::nullopt;
  }
  if (*v <= 0) {
    erreurs << "Option " << nom << " : la valeur doit être supérieure à 0 (" << valeur << " donné)\n";
    return std::nullopt;
  }
  return *v;
}

// The end of a game: the counter, the history, the board and the tiles'
// names.
void Rapport(const TPartie& partie, std::ostream& sortie) {
  const auto& h = partie.Historique();
  sortie << "compteur " << partie.Compteur() << "\n";
  sortie << "position " << h.PosHistorique << " " << h.Fin << "\n";
  for (int i = 0; i < h.Fin; ++i) sortie << "evenement " << static_cast<int>(h[i].Code) << " " << h[i].Valeur << "\n";
  const auto& p = partie.Plateau();
  sortie << "plateau\n";
  for (int l = 1; l <= p.Hauteur; ++l) {
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      sortie << (c > 1 ? " " : "") << static_cast<int>(k.Serie) << "/" << k.Map << "/" << k.Piece;
    }
    sortie << "\n";
  }
  sortie << "noms\n";
  for (int l = 1; l <= p.Hauteur; ++l) {
    for (int c = 1; c <= p.Largeur; ++c) sortie << (c > 1 ? " " : "") << p.Case(l, c).Nom;
    sortie << "\n";
  }
}

int Jouer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  std::vector<std::string> positionnels;
  int taille = kTailleCaseDefaut, vitesse = kVitesseDeplacementDefaut;
  std::string fichierSequence;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const auto& a = arguments[i];
    if (a == "--taille" || a == "--vitesse" || a == "--sequence") {
      if (i + 1 >= arguments.size()) {
        erreurs << "L'option " << a << " attend une valeur.\n";
        return 1;
      }
      const auto& valeur = arguments[++i];
      if (a == "--sequence") {
        fichierSequence = valeur;
        continue;
      }
      const auto v = OptionEntiere(a, valeur, erreurs);
      if (!v) return 1;
      (a == "--taille" ? taille : vitesse) = *v;
    } else {
      positionnels.push_back(a);
    }
  }
  if (positionnels.size() != 2) {
    erreurs << "La commande jouer attend un plateau et un fichier de gestes.\n" << kUsage;
    return 1;
  }

  std::vector<Geste> gestes;
  if (!LireGestes(positionnels[1], gestes, erreurs)) return 1;

  TPartie partie;
  Journal journal(sortie);
  partie.DefinirObservateur(&journal);
  partie.DefinirTailleCase(taille);
  partie.DefinirVitesse(vitesse);
  if (!LectureReussie(partie.Charger(positionnels[0]), positionnels[0], erreurs)) return 1;

  bool gaucheTenu = false;
  for (const auto& g : gestes) {
    if (g.verbe == "appuyer" || g.verbe == "appuyer-droit") {
      gaucheTenu = g.verbe == "appuyer";
      partie.Appuyer(g.x, g.y);
    } else if (g.verbe == "glisser") {
      if (gaucheTenu) partie.Glisser(g.x, g.y);
    } else {
      gaucheTenu = false;
      partie.Relacher();
    }
  }

  Rapport(partie, sortie);
  if (!fichierSequence.empty()) {
    const auto ecriture = EcrireSequence(fichierSequence, partie.Plateau().Titre, partie.Historique());
    if (!ecriture.ok) {
      erreurs << ecriture.message << "\n";
      return 1;
    }
  }
  return 0;
}

// ----------------------------------------------------------------- rejouer

// Loads a board and a sequence as the board window does, checks the
// sequence against the board and replays it to its end, as the replay
// window's "Fin" does. A solved position is congratulated as the player's
// next click on the board would.
int Rejouer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.size() != 3) {
    erreurs << "La commande rejouer attend un plateau et une séquence.\n" << kUsage;
    return 1;
  }
  TPartie partie;
  Journal journal(sortie);
  partie.DefinirObservateur(&journal);
  if (!LectureReussie(partie.Charger(arguments[1]), arguments[1], erreurs)) return 1;
  const auto rechargement = RechargerSequenceDuFichier(partie, arguments[2]);
  if (rechargement.controle.issue != ControleSequence::Issue::Correcte) {
    erreurs << rechargement.controle.message << "\n";
    return 1;
  }
  partie.AllerALaFin();
  if (partie.Resolu()) journal.Felicitations(TexteFelicitations(partie.Plateau().Etat), partie.Plateau().Etat);
  Rapport(partie, sortie);
  return 0;
}

// ------------------------------------------------------------------ paquet

int PaquetCreer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  std::vector<std::string> positionnels;
  paquet::OptionsPaquet options;
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const auto& a = arguments[i];
    if (a != "--volume" && a != "--compression") {
      positionnels.push_back(a);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      erreurs << "L'option " << a << " attend une valeur.\n";
      return 1;
    }
    const auto& valeur = arguments[++i];
    if (a == "--volume") {
      const auto v = OptionEntiere(a, valeur, erreurs);
      if (!v) return 1;
      options.volume = *v;
    } else if (valeur == "aucune") {
      options.compression = paquet::Compression::Aucune;
    } else if (valeur == "rapide") {
      options.compression = paquet::Compression::Rapide;
    } else if (valeur == "normale") {
      options.compression = paquet::Compression::Normale;
    } else if (valeur == "max") {
      options.compression = paquet::Compression::Max;
    } else {
      erreurs << "Option --compression : « " << valeur << " » (attendu : aucune, rapide, normale ou max)\n";
      return 1;
    }
  }
  if (positionnels.size() != 2) {
    erreurs << "La commande paquet creer attend une archive et un dossier.\n" << kUsage;
    return 1;
  }
  const auto r = paquet::CreerPaquet(positionnels[0], positionnels[1], options);
  if (!r.ok) {
    erreurs << r.message << "\n";
    return 1;
  }
  sortie << "fichiers " << r.fichiers << "\n";
  sortie << "volumes " << r.volumes << "\n";
  return 0;
}

int PaquetLister(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.size() != 3) {
    erreurs << "La commande paquet lister attend une archive.\n" << kUsage;
    return 1;
  }
  const auto r = paquet::ListerPaquet(arguments[2]);
  for (const auto& e : r.entrees) sortie << e.nom << " " << e.taille << " " << paquet::TexteDate(e.date) << "\n";
  if (!r.ok) {
    erreurs << r.message << "\n";
    return 1;
  }
  return 0;
}

// Restores as the installer does (every file replaced, stored folders
// dropped); the volume prompt is answered by whether the next volume is
// there.
int PaquetExtraire(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.size() != 4) {
    erreurs << "La commande paquet extraire attend une archive et un dossier.\n" << kUsage;
    return 1;
  }
  const auto& archive = arguments[2];
  const auto& dossier = arguments[3];
  if (!CreerDossiers(dossier)) {
    erreurs << "Impossible de créer le dossier " << dossier << "\n";
    return 1;
  }
  TBackupFile restauration;
  restauration.RestoreMode = TRestoreMode::rmAll;
  restauration.RestoreFullPath = false;
  std::string erreur;
  restauration.OnNeedDisk = [](TBackupFile& s, uint16_t, bool& continuer) {
    std::error_code ec;
    continuer = std::filesystem::is_regular_file(s.VolumeName(), ec);
  };
  restauration.OnError = [&erreur](TBackupFile&, int32_t, const std::string& texte) { erreur = texte; };
  bool ok = false;
  try {
    ok = restauration.Restore(archive, dossier);
  } catch (const std::exception& e) {
    erreur = e.what();
  }
  sortie << "fichiers " << restauration.FilesRestored() << "\n";
  if (ok) return 0;
  if (erreur.empty()) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(archive, ec))
      erreur = "Impossible d'ouvrir le fichier " + archive;
    else
      erreur = "Restauration arrêtée : le volume " + restauration.VolumeName() + " est introuvable";
  }
  erreurs << erreur << "\n";
  return 1;
}

int Paquet(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  const std::string action = arguments.size() > 1 ? arguments[1] : "";
  if (action == "creer") return PaquetCreer(arguments, sortie, erreurs);
  if (action == "lister") return PaquetLister(arguments, sortie, erreurs);
  if (action == "extraire") return PaquetExtraire(arguments, sortie, erreurs);
  erreurs << "La commande paquet attend creer, lister ou extraire.\n" << kUsage;
  return 1;
}

// ---------------------------------------------------------------- resoudre

int Resoudre(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  std::vector<std::string> positionnels;
  OptionsSolveur options;
  std::string fichierSequence;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const auto& a = arguments[i];
    if (a == "--pas") {
      options.mesure = MesureSolveur::Pas;
    } else if (a == "--optimale") {
      options.approchee = false;
    } else if (a == "--sequence" || a == "--limite" || a == "--memoire") {
      if (i + 1 >= arguments.size()) {
        erreurs << "L'option " << a << " attend une valeur.\n";
        return 1;
      }
      const auto& valeur = arguments[++i];
      if (a == "--sequence") {
        fichierSequence = valeur;
      } else {
        const auto v = OptionEntiere(a, valeur, erreurs);
        if (!v) return 1;
        if (a == "--limite")
          options.limiteEtats = static_cast<std::size_t>(*v);
        else
          options.limiteMemoire = static_cast<std::size_t>(*v) << 20;
      }
    } else {
      positionnels.push_back(a);
    }
  }
  if (positionnels.size() != 1) {
    erreurs << "La commande resoudre attend un plateau.\n" << kUsage;
    return 1;
  }
  TPlateau plateau;
  if (!LectureReussie(LirePlateau(positionnels[0], plateau, ModeLecture::Jeu), positionnels[0], erreurs)) return 1;
  const auto r = glissaro::Resoudre(plateau, options);
  if (r.issue == IssueSolveur::Solution) {
    if (options.mesure == MesureSolveur::Coups)
      sortie << "coups " << r.coups << "\n";
    else
      sortie << "pas " << r.pas << "\n";
    sortie << "optimale " << (r.optimale ? "oui" : "non") << "\n";
  }
  sortie << "etats " << r.etats << "\n";
  if (r.issue == IssueSolveur::AucuneSolution) sortie << "aucune solution\n";
  if (r.issue == IssueSolveur::LimiteAtteinte) sortie << "limite atteinte\n";
  if (r.issue == IssueSolveur::Solution && !fichierSequence.empty()) {
    // The solution as play would have recorded it, from the start.
    THistorique historique;
    const auto evenements = EvenementsDeLaSolution(plateau, r.chemin, 0);
    historique.Charger(evenements);
    historique.PosHistorique = historique.Fin;
    const auto ecriture = EcrireSequence(fichierSequence, plateau.Titre, historique);
    if (!ecriture.ok) {
      erreurs << ecriture.message << "\n";
      return 1;
    }
  }
  return r.issue == IssueSolveur::Solution ? 0 : 1;
}

// ---------------------------------------------------- installer, desinstaller

// The shipped data beside this program, as the game finds it.
std::string DonneesDuProgramme() {
  std::error_code ec;
  const auto programme = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : (programme.parent_path() / kDonneesLivrees).lexically_normal().string();
}

int Installer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  std::string dossier, livre;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "--depuis") {
      if (i + 1 >= arguments.size()) {
        erreurs << "L'option --depuis attend un dossier.\n";
        return 1;
      }
      livre = arguments[++i];
    } else if (dossier.empty()) {
      dossier = arguments[i];
    } else {
      erreurs << "La commande installer attend un seul dossier.\n" << kUsage;
      return 1;
    }
  }
  if (dossier.empty()) {
    erreurs << "La commande installer attend le dossier du joueur.\n" << kUsage;
    return 1;
  }
  if (livre.empty()) livre = DonneesDuProgramme();
  const auto r = MettreAJourDossierJoueur(livre, dossier);
  if (!r.ok) {
    erreurs << r.message << "\n";
    return 1;
  }
  sortie << "copies " << r.copies << "\nnouveaux " << r.nouveaux << "\nretires " << r.retires << "\n";
  return 0;
}

int Desinstaller(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.size() != 2) {
    erreurs << "La commande desinstaller attend le dossier du joueur.\n" << kUsage;
    return 1;
  }
  const auto r = RetirerFichiersLivres(arguments[1]);
  sortie << "retires " << r.retires << "\ngardes " << r.gardes << "\n";
  return 0;
}

}  // namespace

int Executer(const std::vector<std::string>& arguments, std::ostream& sortie, std::ostream& erreurs) {
  if (arguments.empty()) {
    erreurs << kUsage;
    return 1;
  }
  const auto& commande = arguments[0];
  if (commande == "verifier") return Verifier(arguments, sortie, erreurs);
  if (commande == "jouer") return Jouer(arguments, sortie, erreurs);
  if (commande == "rejouer") return Rejouer(arguments, sortie, erreurs);
  if (commande == "paquet") return Paquet(arguments, sortie, erreurs);
  if (commande == "resoudre") return Resoudre(arguments, sortie, erreurs);
  if (commande == "installer") return Installer(arguments, sortie, erreurs);
  if (commande == "desinstaller") return Desinstaller(arguments, sortie, erreurs);
  erreurs << "Commande inconnue : " << commande << "\n" << kUsage;
  return 1;
}

}  // namespace glissaro::outils
