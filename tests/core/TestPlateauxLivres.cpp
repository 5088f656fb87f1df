// The board library shipped in data/plateaux: every board is a valid,
// validated file named after its rank and title, it is exactly what its
// definition in tools/plateaux/definitions gives, its optimum is the one
// its definition states (or, for a board too large for the solver, its
// stored solution solves it in the moves stated), the folders go in order
// of difficulty, and the hardest starts are proved. Also the definition
// reader of glissaro-plateaux and its search of the hardest start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "Definitions.h"
#include "Arrangements.h"
#include "DessinPieces.h"
#include "AideFichiers.h"
#include "FichierPlateau.h"
#include "Gestes.h"
#include "Partie.h"
#include "Records.h"
#include "Solveur.h"
#include "Texte.h"
#include "Verification.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
namespace fs = std::filesystem;

namespace {

const fs::path kSources = GLISSARO_SOURCES;
const fs::path kBibliotheque = kSources / "data" / "plateaux";
const fs::path kSolutions = kSources / "tests" / "donnees" / "solutions";
const fs::path kDefinitions = kSources / "tools" / "plateaux" / "definitions";

// Every board file of the library, as "<dossier>/<titre>.wbp", sorted.
std::vector<std::string> PlateauxLivres() {
  std::vector<std::string> r;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(kBibliotheque, ec))
    if (e.is_regular_file() && e.path().extension() == ".wbp") r.push_back(fs::relative(e.path(), kBibliotheque).string());
  std::sort(r.begin(), r.end());
  return r;
}

std::size_t NombreDeCaracteres(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Every board of the definition files, by "<dossier>/<nom>.wbp".
const std::map<std::string, plateaux::DefinitionPlateau>& Definitions() {
  static const auto definitions = [] {
    std::map<std::string, plateaux::DefinitionPlateau> r;
    for (const auto& e : fs::directory_iterator(kDefinitions)) {
      if (!e.is_regular_file() || e.path().extension() != ".txt") continue;
      const auto contenu = ContenuFichier(e.path().string());
      if (!contenu) continue;
      for (auto& d : plateaux::AnalyserDefinitions(*contenu, e.path().string()).plateaux)
        r.emplace(plateaux::CheminRelatif(d), std::move(d));
    }
    return r;
  }();
  return definitions;
}

TPlateau Charge(const std::string& relatif) {
  TPlateau p;
  EXPECT_EQ(LirePlateau((kBibliotheque / relatif).string(), p).statut, StatutLecture::Ok) << relatif;
  return p;
}

bool APorte(const TPlateau& p) {
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c)
      if (p.Case(l, c).Porte) return true;
  return false;
}

struct Rejeu {
  bool lu = false;
  std::string erreur;
  int gestes = 0;
  int coupsAnnonces = -1;  // the "… : N coups" of the first comment line
};

// Plays gesture lines ("appuyer X Y", "glisser X Y", "relacher X Y", blank
// lines and # comments) on a game.
Rejeu JouerLignes(const std::vector<std::string>& lignes, const std::string& chemin, TPartie& partie) {
  Rejeu r;
  int numero = 0;
  for (const auto& brute : lignes) {
    ++numero;
    const std::string ligne(Rogner(brute));
    if (ligne.empty()) continue;
    if (ligne.front() == '#') {
      const auto fin = ligne.rfind(" coups");
      const auto debut = ligne.rfind(": ", fin);
      if (r.coupsAnnonces < 0 && fin != std::string::npos && debut != std::string::npos)
        r.coupsAnnonces = EntierStrict(ligne.substr(debut + 2, fin - debut - 2)).value_or(-1);
      continue;
    }
    std::istringstream mots(ligne);
    std::string verbe, x, y, reste;
    mots >> verbe >> x >> y;
    const auto vx = EntierStrict(x), vy = EntierStrict(y);
    if (!vx || !vy || (mots >> reste) || (verbe != "appuyer" && verbe != "glisser" && verbe != "relacher")) {
      r.erreur = chemin + ", ligne " + std::to_string(numero) + " : « " + ligne + " »";
      return r;
    }
    if (verbe == "appuyer") {
      partie.Appuyer(*vx, *vy);
      ++r.gestes;
    } else if (verbe == "glisser") {
      partie.Glisser(*vx, *vy);
    } else {
      partie.Relacher();
    }
  }
  r.lu = true;
  return r;
}

Rejeu JouerGestes(const std::string& chemin, TPartie& partie) {
  const auto contenu = ContenuFichier(chemin);
  if (!contenu) {
    Rejeu r;
    r.erreur = "impossible d'ouvrir " + chemin;
    return r;
  }
  return JouerLignes(DecouperLignes(*contenu), chemin, partie);
}

void NouvellePartie(const std::string& relatif, TPartie& partie) {
  partie.DefinirTailleCase(20);
  partie.DefinirVitesse(2);
  const auto lecture = partie.Charger((kBibliotheque / relatif).string());
  EXPECT_EQ(lecture.statut, StatutLecture::Ok) << lecture.message;
}

// "07 - Titre" gives 7, a name without rank 0.
int RangDuNom(const std::string& nom) {
  if (nom.size() < 6 || !std::isdigit(static_cast<unsigned char>(nom[0])) ||
      !std::isdigit(static_cast<unsigned char>(nom[1])) || nom.substr(2, 3) != " - ")
    return 0;
  return (nom[0] - '0') * 10 + (nom[1] - '0');
}

class PlateauLivre : public ::testing::TestWithParam<std::string> {};

std::string NomDeTest(const ::testing::TestParamInfo<std::string>& info) {
  std::string nom;
  for (const char c : info.param) nom += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return nom + "_" + std::to_string(info.index);
}

}  // namespace

// ------------------------------------------------------------ each board

TEST_P(PlateauLivre, EstUnFichierWindows1252EnCrLfNommeDapresSonTitre) {
  const fs::path chemin = kBibliotheque / GetParam();
  const auto contenu = ContenuFichier(chemin.string());
  ASSERT_TRUE(contenu.has_value());
  ASSERT_GE(contenu->size(), 2u);
  // Every line ends with CR LF, and there is nothing after the last one.
  std::size_t lignes = 0;
  for (std::size_t i = 0; i < contenu->size(); ++i) {
    const char c = (*contenu)[i];
    if (c == '\n') {
      ASSERT_TRUE(i > 0 && (*contenu)[i - 1] == '\r') << "LF seul, octet " << i;
      ++lignes;
    } else if (c == '\r') {
      ASSERT_TRUE(i + 1 < contenu->size() && (*contenu)[i + 1] == '\n') << "CR seul, octet " << i;
    }
  }
  EXPECT_EQ(contenu->substr(contenu->size() - 2), "\r\n");

  const auto decoupees = DecouperLignes(*contenu);
  ASSERT_GE(decoupees.size(), 5u);
  EXPECT_EQ(decoupees[0], "V1.00");
  // The title line, read as Windows-1252, is the file's name without
  // ".wbp" and without the rank before it; written in UTF-8 it would not
  // read back the same.
  const std::string titre = Cp1252VersUtf8(decoupees[1]);
  const std::string nom = chemin.stem().string();
  const std::string sansRang = RangDuNom(nom) > 0 ? nom.substr(5) : nom;
  EXPECT_EQ(titre, sansRang);
  EXPECT_EQ(decoupees[1], Utf8VersCp1252(sansRang));
  EXPECT_EQ(NomDuPlateauChoisi(nom, titre), nom);
  EXPECT_LE(NombreDeCaracteres(titre), 15u) << titre;
  EXPECT_EQ(plateaux::ProblemeTitre(titre), "");
  EXPECT_EQ(decoupees[4], "1");
  const int largeur = EntierStrict(decoupees[2]).value_or(0);
  const int hauteur = EntierStrict(decoupees[3]).value_or(0);
  EXPECT_EQ(lignes, 5u + 9u * static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur));
}

TEST_P(PlateauLivre, SeChargePourJouerEtPasseLaVerificationDeLediteur) {
  const std::string chemin = (kBibliotheque / GetParam()).string();
  TPlateau jeu;
  const auto lecture = LirePlateau(chemin, jeu, ModeLecture::Jeu);
  ASSERT_EQ(lecture.statut, StatutLecture::Ok) << lecture.message;
  EXPECT_EQ(lecture.ligneEtat, "1");
  EXPECT_EQ(jeu.Etat, 1);
  EXPECT_GE(jeu.Largeur, 3);
  EXPECT_LE(jeu.Largeur, kLargeurMax);
  EXPECT_GE(jeu.Hauteur, 3);
  EXPECT_LE(jeu.Hauteur, kHauteurMax);

  TPlateau editeur;
  ASSERT_EQ(LirePlateau(chemin, editeur, ModeLecture::Editeur).statut, StatutLecture::Ok);
  const TPlateau stocke = editeur;
  const auto verification = VerifierGrille(editeur);
  EXPECT_TRUE(verification.Correcte()) << verification.texte;
  EXPECT_EQ(verification.texte, kTexteGrilleCorrecte);
  int maitres = 0, places = 0;
  for (int l = 1; l <= editeur.Hauteur; ++l) {
    for (int c = 1; c <= editeur.Largeur; ++c) {
      const auto& k = editeur.Case(l, c);
      EXPECT_EQ(k.Piece, stocke.Case(l, c).Piece) << "ligne " << l << ", colonne " << c;
      if (k.Serie == TSerieMap::Final) ++maitres;
      if (k.PlaceFinal) ++places;
      // The image agrees with the joined sides; doors show as closed.
      if (k.Porte) {
        EXPECT_EQ(k.Serie, TSerieMap::Bord) << "ligne " << l << ", colonne " << c;
        EXPECT_EQ(k.Map, kMapPorteFermee);
      } else if (k.Serie != TSerieMap::Vide) {
        EXPECT_EQ(k.Map, MapDesJonctions(k.Droit, k.Gauche, k.Haut, k.Bas)) << "ligne " << l << ", colonne " << c;
      }
      // Nothing but the border on the board's edge.
      if (l == 1 || c == 1 || l == editeur.Hauteur || c == editeur.Largeur) {
        EXPECT_EQ(k.Serie, TSerieMap::Bord) << "ligne " << l << ", colonne " << c;
      }
    }
  }
  // Solvable at all only with as many final places as master tiles.
  EXPECT_EQ(places, maitres);
}

TEST_P(PlateauLivre, SaSolutionRangeeLeResoutAvecLesReglesDuJeu) {
  const fs::path relatif = GetParam();
  const fs::path solution = kSolutions / relatif.parent_path() / (relatif.stem().string() + ".gestes");
  const auto d = Definitions().find(GetParam());
  ASSERT_NE(d, Definitions().end());
  // A board too large for the solver has its solution stored; the others
  // may have one too.
  if (d->second.solution < 0 && !fs::is_regular_file(solution)) GTEST_SKIP() << "pas de solution rangée";
  ASSERT_TRUE(fs::is_regular_file(solution)) << "pas de solution " << solution;

  TPartie partie;
  NouvellePartie(relatif.string(), partie);
  ASSERT_EQ(partie.Seuil(), 10);
  EXPECT_FALSE(partie.Resolu()) << "le plateau est résolu avant le premier coup";
  const bool porte = APorte(partie.Plateau());

  const auto rejeu = JouerGestes(solution.string(), partie);
  ASSERT_TRUE(rejeu.lu) << rejeu.erreur;
  EXPECT_TRUE(partie.Resolu());
  EXPECT_TRUE(partie.BravoAffiche());
  EXPECT_GT(partie.Compteur(), 0);
  // The comment at the top of the file tells the number of moves, and the
  // definition the same: its stored length, or its optimum, which every
  // stored solution of a proven board reaches.
  EXPECT_EQ(rejeu.coupsAnnonces, partie.Compteur());
  EXPECT_EQ(partie.Compteur(), d->second.solution > 0 ? d->second.solution : d->second.optimum);
  // Nothing was lost for want of room in the history, and a board with
  // doors is solved by opening at least one of them.
  EXPECT_FALSE(partie.Historique().Plein());
  int ouvertures = 0;
  for (int i = 0; i < partie.Historique().Fin; ++i)
    if (partie.Historique()[i].Code == EvPorteOuverte) ++ouvertures;
  if (porte) {
    EXPECT_GT(ouvertures, 0);
  } else {
    EXPECT_EQ(ouvertures, 0);
  }
}

TEST_P(PlateauLivre, SonOptimumEstCeluiDeSaDefinitionEtSeJoue) {
  const auto d = Definitions().find(GetParam());
  ASSERT_NE(d, Definitions().end());
  // Exactly one of the two lengths.
  ASSERT_NE(d->second.optimum > 0, d->second.solution > 0) << GetParam();

  // Every board gets an answer with the board manager's limits, proven
  // optimal or not.
  TPartie partie;
  NouvellePartie(GetParam(), partie);
  OptionsSolveur options;
  options.limiteMemoire = std::size_t{256} << 20;
#ifdef GLISSARO_SANITISEURS
  // Several times slower under the sanitizers: the few boards that need
  // many states are solved in the plain build only.
  options.limiteEtats = 150'000;
#endif
  const auto r = Resoudre(partie.Plateau(), options);
  if (r.issue == IssueSolveur::LimiteAtteinte && options.limiteEtats < OptionsSolveur{}.limiteEtats)
    GTEST_SKIP() << r.etats << " états : vérifié sans les sanitizers";
  ASSERT_EQ(r.issue, IssueSolveur::Solution) << r.etats << " états";
  EXPECT_LE(r.memoire, options.limiteMemoire);
  if (d->second.optimum > 0) {
    if (r.optimale) {
      EXPECT_EQ(r.coups, d->second.optimum);
    } else {
      EXPECT_GE(r.coups, d->second.optimum);
    }
  } else {
    EXPECT_FALSE(r.optimale) << "optimum prouvé : à ranger dans la définition";
  }

  // The solution, played as a player's gestures, solves the board in as
  // many moves on the game's own counter.
  std::vector<std::string> lignes;
  for (const auto& geste : plateaux::GestesDeLaSolution(partie.Plateau(), r.chemin, partie.TailleCase()))
    lignes.insert(lignes.end(), geste.begin(), geste.end());
  const auto rejeu = JouerLignes(lignes, GetParam(), partie);
  ASSERT_TRUE(rejeu.lu) << rejeu.erreur;
  EXPECT_TRUE(partie.Resolu());
  EXPECT_EQ(partie.Compteur(), r.coups);
}

// A shortcut of the optimal search (set by regler) against the search
// without it, on every board both prove within the limit (the boards with
// doors only, when asked), in those measures: the same optimum, never
// more states. Gives how many were compared.
int ComparerSansRaccourci(void (*regler)(OptionsSolveur&, bool), bool portesSeulement,
                          std::initializer_list<MesureSolveur> mesures) {
  int comparees = 0;
  for (const auto& relatif : PlateauxLivres()) {
    TPartie partie;
    NouvellePartie(relatif, partie);
    bool portes = false;
    for (int l = 1; l <= partie.Plateau().Hauteur; ++l)
      for (int c = 1; c <= partie.Plateau().Largeur; ++c) portes = portes || partie.Plateau().Case(l, c).Porte;
    if (portesSeulement && !portes) continue;
    for (const auto mesure : mesures) {
#ifdef GLISSARO_SANITISEURS
      OptionsSolveur options{mesure, 40'000, nullptr};
#else
      OptionsSolveur options{mesure, 400'000, nullptr};
#endif
      options.approchee = false;
      regler(options, false);
      const auto sans = Resoudre(partie.Plateau(), options);
      if (!sans.optimale) continue;
      regler(options, true);
      const auto avec = Resoudre(partie.Plateau(), options);
      if (!avec.optimale) continue;
      ++comparees;
      EXPECT_EQ(mesure == MesureSolveur::Coups ? avec.coups : avec.pas, mesure == MesureSolveur::Coups ? sans.coups : sans.pas)
          << relatif;
      EXPECT_LE(avec.etats, sans.etats) << relatif;
    }
  }
  return comparees;
}

TEST(BibliothequeLivree, LesPiecesSurLeCheminNeFontJamaisDepasserLOptimum) {
  // The bound that counts the pieces on a master tile's way.
  const int comparees = ComparerSansRaccourci(
      [](OptionsSolveur& o, bool avec) { o.pieceSurLeChemin = avec; }, false, {MesureSolveur::Coups});
  EXPECT_GE(comparees, 25);
}

TEST(BibliothequeLivree, LesSallesFermeesNeChangentJamaisLOptimum) {
  // The rooms no door has opened to, left alone until a master can open
  // one.
  const int comparees = ComparerSansRaccourci([](OptionsSolveur& o, bool avec) { o.sallesFermees = avec; }, true,
                                              {MesureSolveur::Coups, MesureSolveur::Pas});
  EXPECT_GE(comparees, 20);
}

TEST(BibliothequeLivree, LaBorneDesSallesNeDepasseJamaisLOptimum) {
  // The moves bounded room by room; in both measures, the states of a
  // level taken nearest the end first.
  const int comparees = ComparerSansRaccourci([](OptionsSolveur& o, bool avec) { o.borneDesSalles = avec; }, true,
                                              {MesureSolveur::Coups, MesureSolveur::Pas});
  EXPECT_GE(comparees, 20);
}

TEST(BibliothequeLivree, SansPreuveDansSesLimitesLeSolveurDonneUneSolutionQuiSeJoue) {
  // 3 000 states do not prove "Le passage"; the fast search that follows
  // still finds a way, said not optimal, that the game plays to its count.
  TPartie partie;
  NouvellePartie("1 - Premiers pas/11 - Le passage.wbp", partie);
  OptionsSolveur options;
  options.limiteEtats = 3000;
  const auto r = Resoudre(partie.Plateau(), options);
  ASSERT_EQ(r.issue, IssueSolveur::Solution);
  EXPECT_FALSE(r.optimale);
  EXPECT_GT(r.etats, options.limiteEtats);
  // Asked for the proven answer only, it has none.
  OptionsSolveur prouvee = options;
  prouvee.approchee = false;
  EXPECT_EQ(Resoudre(partie.Plateau(), prouvee).issue, IssueSolveur::LimiteAtteinte);
  std::vector<std::string> lignes;
  for (const auto& geste : plateaux::GestesDeLaSolution(partie.Plateau(), r.chemin, partie.TailleCase()))
    lignes.insert(lignes.end(), geste.begin(), geste.end());
  ASSERT_TRUE(JouerLignes(lignes, "1 - Premiers pas/11 - Le passage.wbp", partie).lu);
  EXPECT_TRUE(partie.Resolu());
  EXPECT_EQ(partie.Compteur(), r.coups);
}

INSTANTIATE_TEST_SUITE_P(Bibliotheque, PlateauLivre, ::testing::ValuesIn(PlateauxLivres()), NomDeTest);

// ------------------------------------------------------- the whole library

TEST(BibliothequeLivree, AssezDePlateauxDansAssezDeDossiers) {
  const auto plateaux = PlateauxLivres();
  EXPECT_GE(plateaux.size(), 50u);
  std::set<std::string> dossiers;
  int pleineTaille = 0, avecPortes = 0, portesLongues = 0;
  for (const auto& relatif : plateaux) {
    dossiers.insert(fs::path(relatif).parent_path().string());
    const TPlateau p = Charge(relatif);
    if (p.Largeur == kLargeurMax && p.Hauteur == kHauteurMax) ++pleineTaille;
    if (APorte(p)) {
      ++avecPortes;
      const auto& d = Definitions().at(relatif);
      if (std::max(d.optimum, d.solution) >= 30) ++portesLongues;
    }
  }
  EXPECT_GE(dossiers.size(), 5u);
  EXPECT_GE(pleineTaille, 4);
  EXPECT_GE(avecPortes, 8);
  EXPECT_GE(portesLongues, 3);
  // Boards lie one level down, in their folder.
  for (const auto& relatif : plateaux) EXPECT_EQ(fs::path(relatif).parent_path().parent_path(), fs::path()) << relatif;
}

TEST(BibliothequeLivree, ChaqueDossierVaDansLOrdreDeDifficulte) {
  // In each folder the files are ranked 01, 02... without gap, and the
  // moves that solve them never decrease along the ranks.
  std::map<std::string, std::vector<std::pair<int, int>>> parDossier;  // (rank, moves)
  for (const auto& relatif : PlateauxLivres()) {
    const fs::path p = relatif;
    const int rang = RangDuNom(p.stem().string());
    EXPECT_GT(rang, 0) << "plateau sans rang : " << relatif;
    const auto& d = Definitions().at(relatif);
    EXPECT_EQ(d.rang, rang);
    parDossier[p.parent_path().string()].emplace_back(rang, d.optimum > 0 ? d.optimum : d.solution);
  }
  for (auto& [dossier, rangs] : parDossier) {
    std::sort(rangs.begin(), rangs.end());
    for (std::size_t i = 0; i < rangs.size(); ++i) {
      EXPECT_EQ(rangs[i].first, static_cast<int>(i) + 1) << dossier;
      if (i > 0) {
        EXPECT_LE(rangs[i - 1].second, rangs[i].second) << dossier << ", rang " << rangs[i].first;
      }
    }
  }
}

TEST(BibliothequeLivree, LeCoursMontreSonButDesLeDepart) {
  // On the first-steps course every final place is floor at the start, so
  // the player sees where to go; two boards of the first library, kept as
  // they were, still hide theirs under a piece.
  const std::set<std::string> anciens = {"Premier pas", "Le grand carré"};
  int lecons = 0;
  for (const auto& relatif : PlateauxLivres()) {
    if (fs::path(relatif).parent_path() != "1 - Premiers pas") continue;
    const TPlateau p = Charge(relatif);
    if (anciens.count(p.Titre)) continue;
    ++lecons;
    for (int l = 1; l <= p.Hauteur; ++l)
      for (int c = 1; c <= p.Largeur; ++c)
        if (p.Case(l, c).PlaceFinal) {
          EXPECT_EQ(p.Case(l, c).Serie, TSerieMap::Vide) << relatif << ", ligne " << l << ", colonne " << c;
        }
  }
  EXPECT_GE(lecons, 8);
}

TEST(BibliothequeLivree, ChaqueSolutionRangeeAppartientAUnPlateau) {
  const auto plateaux = PlateauxLivres();
  std::set<std::string> attendues, dossiers;
  for (const auto& relatif : plateaux) {
    const fs::path p = relatif;
    attendues.insert((p.parent_path() / (p.stem().string() + ".gestes")).string());
    dossiers.insert(p.parent_path().string());
  }
  // Solutions in the library's folders (other folders hold the solutions
  // of boards shipped elsewhere).
  for (const auto& dossier : dossiers) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(kSolutions / dossier, ec)) {
      const std::string relatif = fs::relative(e.path(), kSolutions).string();
      EXPECT_TRUE(attendues.count(relatif)) << "solution sans plateau : " << relatif;
    }
  }
}

TEST(BibliothequeLivree, LesFichiersSontCeQueDonnentLesDefinitions) {
  std::map<std::string, std::string> construits;
  std::map<std::string, int32_t> prouves;  // the definitions' optima, by board
  std::vector<fs::path> fichiers;
  for (const auto& e : fs::directory_iterator(kDefinitions))
    if (e.is_regular_file() && e.path().extension() == ".txt") fichiers.push_back(e.path());
  ASSERT_FALSE(fichiers.empty());
  for (const auto& fichier : fichiers) {
    const auto contenu = ContenuFichier(fichier.string());
    ASSERT_TRUE(contenu.has_value());
    const auto analyse = plateaux::AnalyserDefinitions(*contenu, fichier.string());
    EXPECT_TRUE(analyse.erreurs.empty()) << analyse.erreurs.front();
    for (const auto& d : analyse.plateaux) {
      const auto construit = plateaux::ConstruirePlateau(d);
      ASSERT_TRUE(construit.erreurs.empty()) << construit.erreurs.front();
      EXPECT_TRUE(construit.valide) << d.titre;
      EXPECT_TRUE(construits.emplace(plateaux::CheminRelatif(d), TexteDuPlateau(construit.plateau, "1")).second);
      if (d.optimum > 0) prouves.emplace(plateaux::CheminRelatif(d), d.optimum);
    }
  }
  const auto livres = PlateauxLivres();
  EXPECT_EQ(std::set<std::string>(livres.begin(), livres.end()).size(), construits.size());
  for (const auto& [relatif, texte] : construits) {
    const auto contenu = ContenuFichier((kBibliotheque / relatif).string());
    ASSERT_TRUE(contenu.has_value()) << "plateau défini mais absent : " << relatif;
    EXPECT_TRUE(*contenu == texte) << "plateau à régénérer (glissaro-plateaux) : " << relatif;
  }
  // The shipped optima: every proven one, by the fingerprint the game
  // computes from the file.
  std::map<std::string, int32_t> optima;
  for (const auto& [relatif, coups] : prouves) optima[EmpreinteDuFichier((kBibliotheque / relatif).string()).value()] = coups;
  EXPECT_EQ(optima.size(), prouves.size());
  EXPECT_EQ(LireOptimaLivres((kBibliotheque / "Optima.ini").string()), optima);
  EXPECT_EQ(ContenuFichier((kBibliotheque / "Optima.ini").string()), TexteOptimaLivres(optima))
      << "Optima.ini à régénérer (glissaro-plateaux)";
}

// ------------------------------------------------------ the hardest starts

namespace {

// What makes a piece set: each piece's series and tiles relative to its
// first cell, sorted.
std::vector<std::vector<int>> JeuDePieces(const TPlateau& p) {
  std::map<uint16_t, std::vector<int>> pieces;
  std::map<uint16_t, std::pair<int, int>> premiere;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c) {
      const auto& k = p.Case(l, c);
      if (k.Serie != TSerieMap::Normal && k.Serie != TSerieMap::Final) continue;
      const auto [it, nouvelle] = premiere.emplace(k.Piece, std::pair{l, c});
      auto& v = pieces[k.Piece];
      if (nouvelle) v.push_back(static_cast<int>(k.Serie));
      v.insert(v.end(), {l - it->second.first, c - it->second.second});
    }
  std::vector<std::vector<int>> jeu;
  for (auto& [numero, v] : pieces) jeu.push_back(v);
  std::sort(jeu.begin(), jeu.end());
  return jeu;
}

int CasesLibres(const TPlateau& p) {
  int n = 0;
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c)
      if (p.Case(l, c).Serie != TSerieMap::Bord) ++n;
  return n;
}

}  // namespace

TEST(LesPlusDifficiles, DesJeuxDePiecesVariesEtLesDeuxPlusPetitsProuvesDeNouveau) {
  std::vector<std::pair<uint64_t, std::string>> parArrangements;
  std::set<std::vector<std::vector<int>>> jeux;
  std::set<int> tailles;
  for (const auto& relatif : PlateauxLivres()) {
    if (fs::path(relatif).parent_path() != "5 - Les plus difficiles") continue;
    const auto& d = Definitions().at(relatif);
    // Its optimum, checked by the solver with every board, is the largest
    // of its piece set.
    EXPECT_GT(d.maximum, 0) << relatif;
    EXPECT_EQ(d.maximum, d.optimum) << relatif;
    const TPlateau p = Charge(relatif);
    EXPECT_FALSE(APorte(p));
    std::string probleme;
    parArrangements.emplace_back(CompterArrangements(p, &probleme), relatif);
    EXPECT_EQ(probleme, "");
    jeux.insert(JeuDePieces(p));
    tailles.insert(CasesLibres(p));
  }
  EXPECT_GE(parArrangements.size(), 8u);
  EXPECT_GE(jeux.size(), 4u);
  EXPECT_TRUE(tailles.count(20) && tailles.count(25)) << "des boîtes de 4 × 5 et de 5 × 5";

  // The proof again on the two smallest: the whole search finds the
  // stored maximum, and the start it picks is the stored board.
  std::sort(parArrangements.begin(), parArrangements.end());
  ASSERT_GE(parArrangements.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& relatif = parArrangements[i].second;
    const auto& d = Definitions().at(relatif);
    const auto r = ChercherLePlusDifficile(Charge(relatif));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.arrangements, parArrangements[i].first);
    EXPECT_EQ(r.coups, d.maximum) << relatif;
    EXPECT_EQ(plateaux::DessinDesPieces(r.depart), d.dessin) << relatif;
  }
}

TEST(LesPlusDifficiles, LaRechercheAReboursDonneLOptimumDeChaqueArrangement) {
  // A small board whose every arrangement is laid out here by brute force
  // and solved forward by the solver: the backward search must count them
  // all, start from the solved ones, and find as many arrangements at each
  // distance as the solver finds optima.
  const auto analyse = plateaux::AnalyserDefinitions(
      "dossier: D\ntitre: Petit\nplateau:\n#####\n#Aa.#\n#A.b#\n#cc.#\n#####\n"
      "places:\n#####\n#...#\n#..*#\n#..*#\n#####\n",
      "essai.txt");
  ASSERT_TRUE(analyse.erreurs.empty());
  const auto construit = plateaux::ConstruirePlateau(analyse.plateaux.at(0));
  ASSERT_TRUE(construit.valide) << construit.verdict;
  const TPlateau& modele = construit.plateau;

  // The pieces: cells relative to the first, and their tiles.
  struct Piece {
    std::vector<std::pair<int, int>> cases;
    std::vector<TCellule> tuiles;
  };
  std::map<uint16_t, Piece> pieces;
  for (int l = 1; l <= modele.Hauteur; ++l)
    for (int c = 1; c <= modele.Largeur; ++c) {
      const auto& k = modele.Case(l, c);
      if (k.Serie == TSerieMap::Normal || k.Serie == TSerieMap::Final) {
        pieces[k.Piece].cases.emplace_back(l, c);
        pieces[k.Piece].tuiles.push_back(k);
      }
    }
  std::vector<Piece> liste;
  for (auto& [n, piece] : pieces) {
    const auto premiere = piece.cases.front();
    for (auto& [l, c] : piece.cases) l -= premiere.first, c -= premiere.second;
    liste.push_back(piece);
  }
  TPlateau vide = modele;
  for (int l = 1; l <= vide.Hauteur; ++l)
    for (int c = 1; c <= vide.Largeur; ++c) {
      auto& k = vide.Case(l, c);
      if (k.Serie == TSerieMap::Bord) continue;
      const bool place = k.PlaceFinal;
      static_cast<TCellule&>(k) = TCellule{};
      k.PlaceFinal = place;
    }
  // Every way to lay them, boards that differ only by identical pieces
  // swapped counted once (by their picture).
  std::set<std::string> vus;
  std::map<int, std::size_t> optima;
  std::size_t arrangements = 0;
  std::function<void(std::size_t, TPlateau&)> poser = [&](std::size_t i, TPlateau& p) {
    if (i == liste.size()) {
      std::string image;
      for (int l = 1; l <= p.Hauteur; ++l)
        for (int c = 1; c <= p.Largeur; ++c) image += std::to_string(p.Case(l, c).Map) + std::to_string(static_cast<int>(p.Case(l, c).Serie));
      if (!vus.insert(image).second) return;
      ++arrangements;
      TPlateau numerote = p;
      EXPECT_TRUE(VerifierGrille(numerote).Correcte());
      const auto r = Resoudre(numerote);
      if (r.issue == IssueSolveur::Solution) ++optima[r.coups];
      return;
    }
    for (int l = 1; l <= p.Hauteur; ++l)
      for (int c = 1; c <= p.Largeur; ++c) {
        bool libre = true;
        for (const auto& [dl, dc] : liste[i].cases)
          libre = libre && p.Contient(l + dl, c + dc) && p.Case(l + dl, c + dc).Serie == TSerieMap::Vide;
        if (!libre) continue;
        for (std::size_t t = 0; t < liste[i].cases.size(); ++t) {
          auto& k = p.Case(l + liste[i].cases[t].first, c + liste[i].cases[t].second);
          const bool place = k.PlaceFinal;
          static_cast<TCellule&>(k) = liste[i].tuiles[t];
          k.PlaceFinal = place;
        }
        poser(i + 1, p);
        for (const auto& [dl, dc] : liste[i].cases) {
          auto& k = p.Case(l + dl, c + dc);
          const bool place = k.PlaceFinal;
          static_cast<TCellule&>(k) = TCellule{};
          k.PlaceFinal = place;
        }
      }
  };
  poser(0, vide);
  ASSERT_GT(arrangements, 100u);

  EXPECT_EQ(CompterArrangements(modele), arrangements);
  const auto r = ChercherLePlusDifficile(modele);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(r.arrangements, arrangements);
  ASSERT_FALSE(optima.empty());
  EXPECT_EQ(r.coups, optima.rbegin()->first);
  EXPECT_EQ(r.resolus, optima[0]);
  std::size_t atteints = 0;
  for (int k = 0; k <= r.coups; ++k) {
    EXPECT_EQ(r.parDistance.at(static_cast<std::size_t>(k)), optima[k]) << k << " coups";
    atteints += optima[k];
  }
  EXPECT_EQ(r.explores, atteints);
  EXPECT_EQ(r.plusDifficiles, optima[r.coups]);
  // The start it gives needs that many moves, and its picture reads back
  // as the same board.
  TPlateau depart = r.depart;
  EXPECT_EQ(Resoudre(depart).coups, r.coups);
  auto definition = analyse.plateaux.at(0);
  definition.dessin = plateaux::DessinDesPieces(r.depart);
  EXPECT_EQ(TexteDuPlateau(plateaux::ConstruirePlateau(definition).plateau, "1"), TexteDuPlateau(r.depart, "1"));
}

TEST(LesPlusDifficiles, LaRechercheRefuseCeQuElleNeTraitePas) {
  auto construire = [](const std::string& dessin) {
    const auto analyse = plateaux::AnalyserDefinitions("dossier: D\ntitre: T\nplateau:\n" + dessin +
                                                           "places:\n#####\n#..*#\n#####\n#####\n",
                                                       "essai.txt");
    return plateaux::ConstruirePlateau(analyse.plateaux.at(0)).plateau;
  };
  // Doors are not for this search.
  auto r = ChercherLePlusDifficile(construire("#####\n#A..+\n#####\n#####\n"));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("porte"), std::string::npos) << r.message;
  // Over the limit, the count and the limit are told and nothing is explored.
  const TPlateau p = construire("#####\n#Aa.#\n#####\n#####\n");
  EXPECT_EQ(CompterArrangements(p), 6u);  // A and a on three cells
  r = ChercherLePlusDifficile(p, 5);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.explores, 0u);
  EXPECT_NE(r.message.find("6 arrangements"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("limite de 5"), std::string::npos) << r.message;
  r = ChercherLePlusDifficile(p, 6);
  ASSERT_TRUE(r.ok) << r.message;
  // In a corridor A never passes a: only "a A ." and "a . A" (solved) and
  // ". a A" (solved) are reached, the first in one move.
  EXPECT_EQ(r.resolus, 2u);
  EXPECT_EQ(r.explores, 3u);
  EXPECT_EQ(r.coups, 1);
  EXPECT_EQ(plateaux::DessinDesPieces(r.depart)[1], "#aA.#");
}

// ------------------------------------------------- the definition reader

namespace {

plateaux::PlateauConstruit ConstruireSeul(const std::string& texte) {
  const auto analyse = plateaux::AnalyserDefinitions(texte, "essai.txt");
  EXPECT_TRUE(analyse.erreurs.empty()) << (analyse.erreurs.empty() ? "" : analyse.erreurs.front());
  EXPECT_EQ(analyse.plateaux.size(), 1u);
  if (analyse.plateaux.empty()) return {};
  return plateaux::ConstruirePlateau(analyse.plateaux.front());
}

}  // namespace

TEST(DefinitionsDePlateaux, LettresPortesPlacesEtBordsIsoles) {
  const auto r = ConstruireSeul(
      "; un essai\n"
      "dossier: Essais\n"
      "\n"
      "titre: Porte étroite\n"
      "plateau:\n"
      "######\n"
      "#AAb.#\n"
      "#.bb.+\n"
      "######\n"
      "places:\n"
      "######\n"
      "#...*#\n"
      "#...*#\n"
      "######\n");
  ASSERT_TRUE(r.erreurs.empty()) << r.erreurs.front();
  ASSERT_TRUE(r.valide) << r.verdict;
  const TPlateau& p = r.plateau;
  EXPECT_EQ(p.Titre, "Porte étroite");
  EXPECT_EQ(p.Largeur, 6);
  EXPECT_EQ(p.Hauteur, 4);
  EXPECT_EQ(p.Etat, 1);
  // The master piece: two tiles joined side by side.
  EXPECT_EQ(p.Case(2, 2).Serie, TSerieMap::Final);
  EXPECT_TRUE(p.Case(2, 2).Droit);
  EXPECT_FALSE(p.Case(2, 2).Gauche || p.Case(2, 2).Haut || p.Case(2, 2).Bas);
  EXPECT_EQ(p.Case(2, 2).Map, 3);
  EXPECT_EQ(p.Case(2, 3).Map, 4);
  EXPECT_EQ(p.Case(2, 2).Piece, p.Case(2, 3).Piece);
  // The ordinary L: (2,4) down to (3,4), then left to (3,3); not joined to
  // the master beside it.
  EXPECT_EQ(p.Case(2, 4).Serie, TSerieMap::Normal);
  EXPECT_FALSE(p.Case(2, 4).Gauche);
  EXPECT_TRUE(p.Case(2, 4).Bas);
  EXPECT_EQ(p.Case(3, 4).Map, MapDesJonctions(false, true, true, false));
  EXPECT_EQ(p.Case(3, 3).Piece, p.Case(2, 4).Piece);
  EXPECT_NE(p.Case(3, 3).Piece, p.Case(2, 2).Piece);
  // A door cell: a border tile with Porte and image 16, a piece of its own.
  EXPECT_EQ(p.Case(3, 6).Serie, TSerieMap::Bord);
  EXPECT_TRUE(p.Case(3, 6).Porte);
  EXPECT_EQ(p.Case(3, 6).Map, kMapPorteFermee);
  // Floor: image 0 even on a final place, as the editor writes it.
  EXPECT_EQ(p.Case(2, 5).Serie, TSerieMap::Vide);
  EXPECT_TRUE(p.Case(2, 5).PlaceFinal);
  EXPECT_EQ(p.Case(2, 5).Map, kMapFond);
  EXPECT_EQ(p.Case(2, 5).Piece, 0);
  EXPECT_TRUE(p.Case(3, 5).PlaceFinal);
  EXPECT_FALSE(p.Case(3, 2).PlaceFinal);
  // Without "bords:", every border tile is a piece of one tile.
  EXPECT_EQ(p.Case(1, 1).Map, 0);
  EXPECT_NE(p.Case(1, 1).Piece, p.Case(1, 2).Piece);
  // Numbered as the editor numbers: column by column from the left.
  EXPECT_EQ(p.Case(1, 1).Piece, 1);
  EXPECT_EQ(p.Case(2, 1).Piece, 2);
  EXPECT_EQ(p.Case(3, 1).Piece, 3);
  EXPECT_EQ(p.Case(4, 1).Piece, 4);
  EXPECT_EQ(p.Case(1, 2).Piece, 5);
  EXPECT_EQ(p.Case(2, 2).Piece, 6);
  EXPECT_EQ(plateaux::CheminRelatif(plateaux::AnalyserDefinitions("dossier: Essais\ntitre: Porte étroite\n", "x").plateaux.at(0)),
            "Essais/Porte étroite.wbp");
}

TEST(DefinitionsDePlateaux, BordsJointsOuJonctionsDessinees) {
  const std::string dessin =
      "plateau:\n"
      "#####\n"
      "#A..#\n"
      "#####\n"
      "places:\n"
      "#####\n"
      "#..*#\n"
      "#####\n";
  const auto anneau = ConstruireSeul("dossier: D\ntitre: Anneau\nbords: joints\n" + dessin);
  ASSERT_TRUE(anneau.valide);
  const auto& a = anneau.plateau;
  // The whole frame is one piece, its corners and sides drawn joined.
  for (int l = 1; l <= 3; ++l)
    for (int c = 1; c <= 5; ++c)
      if (a.Case(l, c).Serie == TSerieMap::Bord) {
        EXPECT_EQ(a.Case(l, c).Piece, 1) << l << "," << c;
      }
  EXPECT_EQ(a.Case(1, 1).Map, MapDesJonctions(true, false, false, true));
  EXPECT_EQ(a.Case(1, 3).Map, MapDesJonctions(true, true, false, false));
  EXPECT_EQ(a.Case(2, 5).Map, MapDesJonctions(false, false, true, true));

  const auto marques = ConstruireSeul("dossier: D\ntitre: Marques\n" + dessin +
                                      "jonctions:\n"
                                      "aab..\n"
                                      "a...b\n"
                                      "a..bb\n");
  ASSERT_TRUE(marques.valide);
  const auto& m = marques.plateau;
  EXPECT_EQ(m.Case(1, 1).Piece, m.Case(1, 2).Piece);
  EXPECT_EQ(m.Case(1, 1).Piece, m.Case(3, 1).Piece);
  EXPECT_NE(m.Case(1, 2).Piece, m.Case(1, 3).Piece);  // 'a' beside 'b'
  EXPECT_EQ(m.Case(1, 3).Map, 0);                      // 'b' alone up there
  EXPECT_NE(m.Case(1, 4).Piece, m.Case(1, 5).Piece);  // '.' joins nothing
  EXPECT_EQ(m.Case(2, 5).Piece, m.Case(3, 5).Piece);
  EXPECT_EQ(m.Case(3, 4).Piece, m.Case(3, 5).Piece);
  EXPECT_FALSE(m.Case(2, 5).Haut);
}

TEST(DefinitionsDePlateaux, RangsEtNombresDeCoups) {
  const auto analyse = plateaux::AnalyserDefinitions(
      "dossier: Sans\ntitre: Un\noptimum: 12\n"
      "dossier: Avec\nrangs: oui\ntitre: Deux\nsolution: 400\ntitre: Trois\noptimum: 7\nmaximum: 7\n"
      "dossier: Sans\ntitre: Quatre\n",
      "f.txt");
  ASSERT_TRUE(analyse.erreurs.empty()) << analyse.erreurs.front();
  ASSERT_EQ(analyse.plateaux.size(), 4u);
  std::vector<std::string> chemins;
  for (const auto& d : analyse.plateaux) chemins.push_back(plateaux::CheminRelatif(d));
  // Ranks follow the order in the folder; a new "dossier:" ends them.
  EXPECT_EQ(chemins, (std::vector<std::string>{"Sans/Un.wbp", "Avec/01 - Deux.wbp", "Avec/02 - Trois.wbp",
                                                "Sans/Quatre.wbp"}));
  EXPECT_EQ(analyse.plateaux[0].optimum, 12);
  EXPECT_EQ(analyse.plateaux[0].solution, -1);
  EXPECT_EQ(analyse.plateaux[1].solution, 400);
  EXPECT_EQ(analyse.plateaux[2].maximum, 7);
  auto erreurs = [](const std::string& texte) { return plateaux::AnalyserDefinitions(texte, "f.txt").erreurs; };
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\noptimum: douze\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\noptimum: 0\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\noptimum: 3\noptimum: 3\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\nrangs: peut-être\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\nsolution: 3\n").empty());  // before any board
}

TEST(DefinitionsDePlateaux, UnPlateauQuiEchoueALaVerificationNEstPasValide) {
  // No master tile: the editor's check refuses it, the status is 0.
  const auto r = ConstruireSeul("dossier: D\ntitre: Sans maître\nplateau:\n###\n#a#\n#.#\n###\nplaces:\n...\n...\n.*.\n...\n");
  EXPECT_TRUE(r.erreurs.empty());
  EXPECT_FALSE(r.valide);
  EXPECT_EQ(r.verdict, kTextePasDeMaitre);
  EXPECT_EQ(r.plateau.Etat, 0);
}

TEST(DefinitionsDePlateaux, LesFautesSontSignaleesAvecLeFichierEtLaLigne) {
  auto erreurs = [](const std::string& texte) { return plateaux::AnalyserDefinitions(texte, "f.txt").erreurs; };
  auto fautesDeConstruction = [](const std::string& texte) {
    const auto analyse = plateaux::AnalyserDefinitions(texte, "f.txt");
    EXPECT_TRUE(analyse.erreurs.empty());
    return analyse.plateaux.empty() ? std::vector<std::string>{"rien"}
                                    : plateaux::ConstruirePlateau(analyse.plateaux.front()).erreurs;
  };
  // Reading.
  auto e = erreurs("titre: Orphelin\n");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].rfind("Fichier f.txt, ligne 1 : ", 0), 0u) << e[0];
  EXPECT_FALSE(erreurs("dossier: D\ntitre: Un titre bien trop long\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: A/B\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: Œuf ☺\n").empty());  // ☺ is not in Windows-1252
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\nplateau:\n#?#\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\nbords: collés\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\ntitre: T\n").empty());
  EXPECT_FALSE(erreurs("dossier: D\ntitre: T\n###\n").empty());
  EXPECT_TRUE(erreurs("dossier: D\ntitre: Œuf\n").empty());
  // Building.
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A\n###\nplaces:\n...\n.*.\n...\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n").empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n*..\n...\n...\n").empty());
  EXPECT_FALSE(fautesDeConstruction(
                   "dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n...\njonctions:\n...\n.a.\n...\n")
                   .empty());
  EXPECT_FALSE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n" + std::string(21, '#') + "\n#A" +
                                    std::string(18, '.') + "#\n" + std::string(21, '#') + "\nplaces:\n" +
                                    std::string(21, '.') + "\n.*" + std::string(19, '.') + "\n" + std::string(21, '.') +
                                    "\n")
                   .empty());
  EXPECT_TRUE(fautesDeConstruction("dossier: D\ntitre: T\nplateau:\n###\n#A#\n###\nplaces:\n...\n.*.\n...\n").empty());
}
