// glissaro-plateaux: builds the board library from its definition files,
// measures it, and finds the hardest start of a piece set.
//
//   glissaro-plateaux --sortie DOSSIER DEFINITION...
//   glissaro-plateaux bilan DEFINITION...
//   glissaro-plateaux difficile DEFINITION [--titre TITRE] [--limite N] [--sortie FICHIER.wbp]
//   glissaro-plateaux solution DEFINITION --titre TITRE --sortie FICHIER.gestes [--limite ETATS]
//   glissaro-plateaux generer --boite 4x5 --niveau moyen [--porte] [--graine N] [--sortie FICHIER.wbp]
//
// Each DEFINITION is a definition file or a folder of them (every ".txt"
// file in it, by name). The first form writes every board with the game's
// own writer to DOSSIER/<dossier>/<nom>.wbp, with status 1 when the
// editor's check passes and 0 otherwise. Files already there under other
// names are left alone. DOSSIER/Optima.ini then lists the proven optima
// ("optimum:") by the fingerprint of each board file written.
//
// "bilan" solves every board and prints, a line each, its folder, rank,
// title, size, the solver's optimum (or the stored solution's length for a
// board the solver cannot finish) and the states explored; a board whose
// optimum differs from its definition's is reported. Both "bilan" and
// "solution" leave alone the pieces of a room no door has opened to until
// the master can open one (OptionsSolveur::sallesFermees), and for a board
// a million states do not prove, bound the moves room by room
// (OptionsSolveur::borneDesSalles).
//
// "difficile" explores every arrangement of each board's pieces (or of the
// board TITRE only) backward from the solved ones and prints the start
// whose optimal solution is the longest, as a definition to paste, with
// the solver's own count for it; --sortie also writes it as a board file.
// A piece set with more than N arrangements (40 000 000 by default) is
// refused.
//
// "solution" solves the board TITRE (up to ETATS states, 30 000 000 by
// default) and writes its optimal solution as pointer gestures, the file
// the tests replay for a board too large to be solved while they run.
//
// "generer" makes a new board at random in the box (4x4, 4x5, 5x5, 6x6),
// its optimum in the level's range (facile, moyen, difficile,
// tres-difficile), with a door before the goal when asked, and prints it
// as a definition with its optimum, the arrangements explored and the
// seed (drawn from the clock when not given: the same seed gives the same
// board); --sortie also writes it as a board file.
//
// Exit status 1 when any definition is faulty, a board fails the check, an
// optimum differs or a search is refused.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Definitions.h"
#include "Arrangements.h"
#include "DessinPieces.h"
#include "FichierPlateau.h"
#include "Fichiers.h"
#include "Gestes.h"
#include "Hasard.h"
#include "Records.h"
#include "Solveur.h"
#include "Texte.h"

namespace fs = std::filesystem;
using namespace glissaro;
using namespace glissaro::plateaux;

namespace {

constexpr const char* kUsage =
    "Usage : glissaro-plateaux --sortie DOSSIER DEFINITION.txt|DOSSIER_DE_DEFINITIONS...\n"
    "        glissaro-plateaux bilan DEFINITION.txt|DOSSIER_DE_DEFINITIONS...\n"
    "        glissaro-plateaux difficile DEFINITION.txt [--titre TITRE] [--limite N] [--sortie FICHIER.wbp]\n"
    "        glissaro-plateaux generer --boite 4x4|4x5|5x5|6x6 --niveau facile|moyen|difficile|tres-difficile\n"
    "                                  [--porte] [--graine N] [--sortie FICHIER.wbp]\n"
    "        glissaro-plateaux solution DEFINITION.txt --titre TITRE --sortie FICHIER.gestes [--limite ETATS]\n";

bool ListerDefinitions(const std::string& argument, std::vector<std::string>& fichiers) {
  std::error_code ec;
  if (fs::is_directory(argument, ec)) {
    std::vector<std::string> trouves;
    for (const auto& entree : fs::directory_iterator(argument, ec))
      if (entree.is_regular_file() && entree.path().extension() == ".txt") trouves.push_back(entree.path().string());
    std::sort(trouves.begin(), trouves.end());
    fichiers.insert(fichiers.end(), trouves.begin(), trouves.end());
    return !ec;
  }
  if (fs::is_regular_file(argument, ec)) {
    fichiers.push_back(argument);
    return true;
  }
  return false;
}

// Reads the boards of the definition files; false after any fault.
bool LireDefinitions(const std::vector<std::string>& fichiers, std::vector<DefinitionPlateau>& definitions) {
  bool ok = true;
  for (const auto& fichier : fichiers) {
    const auto lu = LireFichier(fichier, kTailleMaxTexte);
    if (!lu.Lu()) {
      std::cerr << lu.message << "\n";
      ok = false;
      continue;
    }
    auto analyse = AnalyserDefinitions(lu.contenu, fichier);
    for (const auto& e : analyse.erreurs) std::cerr << e << "\n";
    if (!analyse.erreurs.empty()) ok = false;
    for (auto& d : analyse.plateaux) definitions.push_back(std::move(d));
  }
  // The same board defined in two files.
  for (std::size_t i = 0; i < definitions.size(); ++i)
    for (std::size_t j = i + 1; j < definitions.size(); ++j)
      if (CheminRelatif(definitions[i]) == CheminRelatif(definitions[j])) {
        std::cerr << "Le plateau " << CheminRelatif(definitions[j]) << " est défini dans " << definitions[i].fichier
                  << " et dans " << definitions[j].fichier << "\n";
        ok = false;
      }
  return ok;
}

// A board built and checked, or nullopt after printing why not.
std::optional<TPlateau> Construit(const DefinitionPlateau& d) {
  const auto construit = ConstruirePlateau(d);
  for (const auto& e : construit.erreurs) std::cerr << e << "\n";
  if (!construit.erreurs.empty()) return std::nullopt;
  if (!construit.valide) {
    std::cerr << "Le plateau " << CheminRelatif(d) << " ne passe pas la vérification : " << construit.verdict << "\n";
    return std::nullopt;
  }
  return construit.plateau;
}

double Secondes(std::chrono::steady_clock::time_point debut) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
}

int Construire(const std::string& sortie, const std::vector<DefinitionPlateau>& definitions) {
  bool ok = true;
  int ecrits = 0;
  std::map<std::string, int32_t> optima;  // by fingerprint of the file written
  for (const auto& d : definitions) {
    const auto construit = ConstruirePlateau(d);
    for (const auto& e : construit.erreurs) std::cerr << e << "\n";
    if (!construit.erreurs.empty()) {
      ok = false;
      continue;
    }
    const std::string dossier = (fs::path(sortie) / d.dossier).string();
    const std::string chemin = (fs::path(sortie) / CheminRelatif(d)).string();
    if (!CreerDossiers(dossier)) {
      std::cerr << "Impossible de créer le dossier " << dossier << "\n";
      ok = false;
      continue;
    }
    const auto ecriture = EcrirePlateau(chemin, construit.plateau, construit.valide ? "1" : "0");
    if (!ecriture.ok) {
      std::cerr << ecriture.message << "\n";
      ok = false;
      continue;
    }
    ++ecrits;
    if (d.optimum > 0)
      if (const auto empreinte = EmpreinteDuFichier(chemin)) optima[*empreinte] = d.optimum;
    const auto& p = construit.plateau;
    std::cout << chemin << " : " << p.Largeur << " × " << p.Hauteur << ", " << construit.verdict << "\n";
    if (!construit.valide) {
      std::cerr << "Le plateau " << chemin << " ne passe pas la vérification : " << construit.verdict << "\n";
      ok = false;
    }
  }
  std::cout << ecrits << " plateau(x) écrit(s)\n";
  // The proven optima, shipped beside the boards (the game then does not
  // search for them).
  const std::string fichierOptima = (fs::path(sortie) / "Optima.ini").string();
  const auto ecriture = EcrireFichierSur(fichierOptima, TexteOptimaLivres(optima));
  if (!ecriture.ok) {
    std::cerr << ecriture.message << "\n";
    ok = false;
  }
  std::cout << fichierOptima << " : " << optima.size() << " optimum(s) prouvé(s)\n";
  return ok ? 0 : 1;
}

// The optimal search with the rooms left alone; when a million states do
// not prove the board, again with the moves bounded room by room, whose
// rooms' games take seconds to minutes before the search starts.
ResultatSolveur Prouver(const TPlateau& plateau, OptionsSolveur options) {
  options.sallesFermees = true;
  OptionsSolveur rapide = options;
  rapide.limiteEtats = std::min<std::size_t>(options.limiteEtats, 1'000'000);
  rapide.approchee = false;
  const auto r = Resoudre(plateau, rapide);
  if (r.optimale || r.issue == IssueSolveur::AucuneSolution) return r;
  options.borneDesSalles = true;
  return Resoudre(plateau, options);
}

int Bilan(const std::vector<DefinitionPlateau>& definitions) {
  bool ok = true;
  std::cout << "dossier | rang | titre | taille | coups | états explorés | secondes\n";
  for (const auto& d : definitions) {
    const auto p = Construit(d);
    if (!p) {
      ok = false;
      continue;
    }
    std::cout << d.dossier << " | " << (d.rang > 0 ? std::to_string(d.rang) : "-") << " | " << d.titre << " | "
              << p->Largeur << " × " << p->Hauteur << " | " << std::flush;
    if (d.solution > 0) {
      // Too large for the solver: the stored solution's length.
      std::cout << d.solution << " (solution rangée) | - | -\n";
      continue;
    }
    const auto debut = std::chrono::steady_clock::now();
    OptionsSolveur optimale;
    optimale.approchee = false;  // compared with the optimum of the definition
    const auto r = Prouver(*p, optimale);
    const double duree = Secondes(debut);
    if (r.issue != IssueSolveur::Solution) {
      std::cout << "sans solution trouvée | " << r.etats << " | " << duree << "\n";
      ok = false;
      continue;
    }
    std::cout << r.coups << " | " << r.etats << " | " << duree;
    if (r.coups != d.optimum) {
      std::cout << " | la définition dit " << (d.optimum > 0 ? std::to_string(d.optimum) : "rien");
      ok = false;
    }
    std::cout << "\n";
  }
  return ok ? 0 : 1;
}

int Difficile(const std::vector<DefinitionPlateau>& definitions, const std::string& titre, uint64_t limite,
              const std::string& sortie) {
  std::vector<const DefinitionPlateau*> choisis;
  for (const auto& d : definitions)
    if (titre.empty() || d.titre == titre) choisis.push_back(&d);
  if (choisis.empty()) {
    std::cerr << "Aucun plateau « " << titre << " » dans ces définitions.\n";
    return 1;
  }
  if (!sortie.empty() && choisis.size() != 1) {
    std::cerr << "--sortie attend un seul plateau : choisissez-le avec --titre.\n";
    return 1;
  }
  std::cout << "Limite : " << limite << " arrangements.\n";
  bool ok = true;
  for (const auto* d : choisis) {
    const auto p = Construit(*d);
    if (!p) {
      ok = false;
      continue;
    }
    std::cout << "\n; " << d->titre << " (" << p->Largeur << " × " << p->Hauteur << ")\n";
    const auto r = ChercherLePlusDifficile(*p, limite);
    if (!r.ok) {
      std::cerr << d->titre << " : " << (r.message.empty() ? "recherche refusée" : r.message) << "\n";
      ok = false;
      continue;
    }
    std::cout << "; " << r.arrangements << " arrangements, " << r.resolus << " résolus, " << r.explores
              << " atteints depuis eux ; au plus " << r.coups << " coups (" << r.plusDifficiles
              << " départ(s)), en " << r.duree.count() / 1000.0 << " s\n;";
    for (std::size_t k = 0; k < r.parDistance.size(); ++k) std::cout << " " << r.parDistance[k];
    std::cout << "\n";
    const auto debut = std::chrono::steady_clock::now();
    const auto solution = Resoudre(r.depart, {MesureSolveur::Coups, 50'000'000, nullptr, std::size_t{4} << 30, false});
    std::cout << "; le solveur : "
              << (solution.issue == IssueSolveur::Solution ? std::to_string(solution.coups) + " coups"
                                                           : std::string("pas de solution"))
              << ", " << solution.etats << " états, " << Secondes(debut) << " s\n";
    if (solution.issue != IssueSolveur::Solution || solution.coups != r.coups) ok = false;
    std::cout << "titre: " << d->titre << "\n";
    if (d->bordsJoints) std::cout << "bords: joints\n";
    std::cout << "optimum: " << r.coups << "\nmaximum: " << r.coups << "\nplateau:\n";
    for (const auto& ligne : DessinDesPieces(r.depart)) std::cout << ligne << "\n";
    std::cout << "places:\n";
    for (const auto& ligne : d->places) std::cout << ligne << "\n";
    if (!d->jonctions.empty()) {
      std::cout << "jonctions:\n";
      for (const auto& ligne : d->jonctions) std::cout << ligne << "\n";
    }
    if (!sortie.empty()) {
      const auto ecriture = EcrirePlateau(sortie, r.depart, "1");
      if (!ecriture.ok) {
        std::cerr << ecriture.message << "\n";
        ok = false;
      }
    }
  }
  return ok ? 0 : 1;
}

int Solution(const std::vector<DefinitionPlateau>& definitions, const std::string& titre, uint64_t limite,
             const std::string& sortie) {
  const DefinitionPlateau* d = nullptr;
  for (const auto& candidat : definitions)
    if (candidat.titre == titre) d = &candidat;
  if (!d) {
    std::cerr << "Aucun plateau « " << titre << " » dans ces définitions.\n";
    return 1;
  }
  const auto p = Construit(*d);
  if (!p) return 1;
  const auto debut = std::chrono::steady_clock::now();
  const auto r = Prouver(*p, {MesureSolveur::Coups, static_cast<std::size_t>(limite), nullptr, std::size_t{8} << 30});
  if (r.issue != IssueSolveur::Solution) {
    std::cerr << titre << " : pas de solution trouvée en " << r.etats << " états.\n";
    return 1;
  }
  std::cout << titre << " : " << r.coups << " coups" << (r.optimale ? " (optimale)" : " (non optimale)") << ", " << r.etats << " états, " << Secondes(debut) << " s\n";
  std::string texte = "# Solution de « " + d->titre + " » (" + d->dossier + ") : " + std::to_string(r.coups) +
                      " coups\n# Gestes de glissaro-outils jouer : cases de 20 pixels, vitesse 2.\n";
  for (const auto& geste : GestesDeLaSolution(*p, r.chemin, 20)) {
    texte += "\n";
    for (const auto& ligne : geste) texte += ligne + "\n";
  }
  const auto ecriture = EcrireFichierSur(sortie, texte);
  if (!ecriture.ok) {
    std::cerr << ecriture.message << "\n";
    return 1;
  }
  return 0;
}

int Generer(int argc, char** argv) {
  DemandeHasard demande;
  std::optional<BoiteHasard> boite;
  std::optional<NiveauHasard> niveau;
  std::optional<uint64_t> graine;
  std::string sortie;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--porte") {
      demande.porte = true;
      continue;
    }
    if ((a != "--boite" && a != "--niveau" && a != "--graine" && a != "--sortie") || i + 1 >= argc) {
      std::cerr << kUsage;
      return 1;
    }
    const std::string valeur = argv[++i];
    if (a == "--boite") {
      boite = BoiteDeMot(valeur);
      if (!boite) {
        std::cerr << "--boite attend 4x4, 4x5, 5x5 ou 6x6, pas « " << valeur << " ».\n";
        return 1;
      }
    } else if (a == "--niveau") {
      niveau = NiveauDeMot(valeur);
      if (!niveau) {
        std::cerr << "--niveau attend facile, moyen, difficile ou tres-difficile, pas « " << valeur << " ».\n";
        return 1;
      }
    } else if (a == "--graine") {
      const auto n = EntierStrict(valeur);
      if (!n || *n < 0) {
        std::cerr << "--graine attend un nombre entier positif, pas « " << valeur << " ».\n";
        return 1;
      }
      graine = static_cast<uint64_t>(*n);
    } else {
      sortie = valeur;
    }
  }
  if (!boite || !niveau) {
    std::cerr << kUsage;
    return 1;
  }
  demande.boite = *boite;
  demande.niveau = *niveau;
  demande.graine = graine ? *graine
                          : static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1'000'000'000;
  auto r = FabriquerPlateau(demande);
  if (r.issue == IssueHasard::Aucun) {
    std::cerr << r.message << "\n";
    return 1;
  }
  if (r.issue == IssueHasard::Proche) std::cerr << r.message << "\n";
  r.plateau.Titre = "Hasard";
  std::cout << "; " << NomBoite(demande.boite) << ", " << NomNiveau(r.niveau) << (demande.porte ? ", avec une porte" : "")
            << " : graine " << demande.graine << ", " << r.essais << " jeu(x) de pièces, " << r.explores
            << " arrangements explorés, en " << r.duree.count() / 1000.0 << " s\n";
  std::cout << "titre: Hasard\nbords: joints\noptimum: " << r.optimum << "\nplateau:\n";
  for (const auto& ligne : DessinDesPieces(r.plateau)) std::cout << ligne << "\n";
  std::cout << "places:\n";
  for (int l = 1; l <= r.plateau.Hauteur; ++l) {
    for (int c = 1; c <= r.plateau.Largeur; ++c) {
      const auto& k = r.plateau.Case(l, c);
      std::cout << (k.PlaceFinal ? '*' : k.Serie == TSerieMap::Bord ? '#' : '.');
    }
    std::cout << "\n";
  }
  if (!sortie.empty()) {
    const auto ecriture = EcrirePlateau(sortie, r.plateau, "1");
    if (!ecriture.ok) {
      std::cerr << ecriture.message << "\n";
      return 1;
    }
  }
  return r.issue == IssueHasard::Fait ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  GarderLaMemoireDesRecherches();
  if (argc > 1 && std::string(argv[1]) == "generer") return Generer(argc, argv);
  std::string commande, sortie, titre;
  uint64_t limite = kLimiteArrangements;
  std::vector<std::string> fichiers;
  int i = 1;
  if (argc > 1 && (std::string(argv[1]) == "bilan" || std::string(argv[1]) == "difficile" ||
                   std::string(argv[1]) == "solution"))
    commande = argv[i++];
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--sortie" || a == "--titre" || a == "--limite") {
      if (i + 1 >= argc) {
        std::cerr << "L'option " << a << " attend une valeur.\n" << kUsage;
        return 1;
      }
      const std::string valeur = argv[++i];
      if (a == "--sortie") {
        sortie = valeur;
      } else if (a == "--titre") {
        titre = valeur;
      } else {
        const auto n = EntierStrict(valeur);
        if (!n || *n < 1) {
          std::cerr << "--limite attend un nombre d'arrangements, pas « " << valeur << " ».\n";
          return 1;
        }
        limite = static_cast<uint64_t>(*n);
      }
    } else if (!ListerDefinitions(a, fichiers)) {
      std::cerr << "Impossible de lire " << a << "\n";
      return 1;
    }
  }
  if (commande == "solution" && limite == kLimiteArrangements) limite = 30'000'000;
  if (fichiers.empty() || (commande.empty() && sortie.empty()) || (commande == "bilan" && !sortie.empty()) ||
      (commande == "solution" && (titre.empty() || sortie.empty())) ||
      (commande.empty() && (!titre.empty() || limite != kLimiteArrangements))) {
    std::cerr << kUsage;
    return 1;
  }
  std::vector<DefinitionPlateau> definitions;
  if (!LireDefinitions(fichiers, definitions)) return 1;
  if (commande == "bilan") return Bilan(definitions);
  if (commande == "difficile") return Difficile(definitions, titre, limite, sortie);
  if (commande == "solution") return Solution(definitions, titre, limite, sortie);
  return Construire(sortie, definitions);
}
