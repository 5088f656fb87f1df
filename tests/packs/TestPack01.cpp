// The sample pack shipped in data/paquets: it installs as the installer
// does, and every board in it is valid and solved by its recorded gestures.
#include <gtest/gtest.h>

#include <sstream>

#include "AideArchive.h"
#include "Outils.h"
#include "Partie.h"
#include "Texte.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

const std::string kSources = GLISSARO_SOURCES;
const std::string kPaquet = kSources + "/data/paquets/Pack01.pkg";
const std::string kSolutions = kSources + "/tests/donnees/solutions/Pack01";

// Plays a gesture file as glissaro-outils jouer does: presses take a
// piece, drags move it while the left button is held, releases count.
void Jouer(TPartie& partie, const std::string& gestes) {
  std::istringstream lignes(Lire(gestes));
  std::string ligne;
  bool gaucheTenu = false;
  int numero = 0;
  while (std::getline(lignes, ligne)) {
    ++numero;
    const auto texte = std::string(Rogner(ligne));
    if (texte.empty() || texte[0] == '#') continue;
    std::istringstream mots(texte);
    std::string verbe;
    int x = 0, y = 0;
    ASSERT_TRUE(static_cast<bool>(mots >> verbe >> x >> y)) << gestes << ":" << numero;
    if (verbe == "appuyer" || verbe == "appuyer-droit") {
      gaucheTenu = verbe == "appuyer";
      partie.Appuyer(x, y);
    } else if (verbe == "glisser") {
      if (gaucheTenu) partie.Glisser(x, y);
    } else {
      ASSERT_EQ(verbe, "relacher") << gestes << ":" << numero;
      gaucheTenu = false;
      partie.Relacher();
    }
  }
}

TEST(Pack01, ChaquePlateauDuPaquetSeResoutParSaSolution) {
  DossierTemporaire dossier;
  const auto cible = dossier.Fichier("plateaux/Pack01");
  std::ostringstream sortie, erreurs;
  ASSERT_EQ(outils::Executer({"paquet", "extraire", kPaquet, cible}, sortie, erreurs), 0) << erreurs.str();

  const auto plateaux = Contenu(cible);
  ASSERT_GE(plateaux.size(), 5u);
  EXPECT_EQ(sortie.str(), "fichiers " + std::to_string(plateaux.size()) + "\n");

  std::vector<std::string> solutions;
  for (const auto& s : Contenu(kSolutions)) solutions.push_back(s.substr(0, s.size() - std::string(".gestes").size()));
  std::vector<std::string> titres;
  for (const auto& nom : plateaux) {
    SCOPED_TRACE(nom);
    ASSERT_EQ(std::filesystem::path(nom).extension(), ".wbp");
    TPartie partie;
    partie.DefinirTailleCase(20);
    partie.DefinirVitesse(2);
    const auto lecture = partie.Charger(cible + "/" + nom);
    ASSERT_EQ(lecture.statut, StatutLecture::Ok) << lecture.message;
    EXPECT_EQ(lecture.ligneEtat, "1");
    EXPECT_EQ(partie.Plateau().Titre + ".wbp", nom);
    titres.push_back(partie.Plateau().Titre);
    EXPECT_FALSE(partie.Resolu());
    Jouer(partie, kSolutions + "/" + partie.Plateau().Titre + ".gestes");
    EXPECT_TRUE(partie.Resolu());
    EXPECT_TRUE(partie.BravoAffiche());
    EXPECT_GT(partie.Compteur(), 0);
  }
  // One solution a board, none left over.
  std::sort(titres.begin(), titres.end());
  std::sort(solutions.begin(), solutions.end());
  EXPECT_EQ(titres, solutions);
}

}  // namespace
