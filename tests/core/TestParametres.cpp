#include <gtest/gtest.h>

#include <filesystem>

#include "AideFichiers.h"
#include "AidePlateau.h"
#include "Ini.h"
#include "Parametres.h"

using namespace glissaro;
using glissaro::test::ContenuFichier;
using glissaro::test::DossierTemporaire;

TEST(Ini, NomsSansCasseValeursRogneesPremiereCleGagne) {
  const auto ini = FichierIni::DepuisTexte(
      "; commentaire\r\n[Skin]\r\n  nom =  Bois clair  \r\nNOM=autre\r\nvide=\r\n[autre]\r\nnom=x\r\n[skin]\r\ncle=2\r\n");
  EXPECT_EQ(ini.LireTexte("SKIN", "Nom", "?"), "Bois clair");
  EXPECT_EQ(ini.LireTexte("skin", "vide", "?"), "");
  EXPECT_EQ(ini.LireTexte("skin", "absente", "?"), "?");
  EXPECT_EQ(ini.LireTexte("autre", "nom", "?"), "x");
  EXPECT_EQ(ini.LireTexte("skin", "cle", "?"), "?");  // only the first section of a name counts
  EXPECT_EQ(ini.LireTexte("absente", "nom", "?"), "?");

  const auto accents = FichierIni::DepuisTexte("[a]\nb=R\xE9" "duire\n");
  EXPECT_EQ(accents.LireTexte("a", "b", ""), "Réduire");

  const auto longue = FichierIni::DepuisTexte("[a]\r\nb=" + std::string(3000, 'z') + "\r\n");
  EXPECT_EQ(longue.LireTexte("a", "b", "").size(), 2047u);
}

TEST(Ini, EntiersSelonLesReglesDesParametres) {
  const auto ini = FichierIni::DepuisTexte(
      "[s]\na=0x14\nb=$1F\nc=-12\nd=12abc\ne=\nf=0x\ng=x14\nh=+7\ni= 5\nj=-0x14\nk=+0x14\n");
  EXPECT_EQ(ini.LireEntier("s", "a", 1), 20);
  EXPECT_EQ(ini.LireEntier("s", "b", 1), 31);
  EXPECT_EQ(ini.LireEntier("s", "c", 1), -12);
  EXPECT_EQ(ini.LireEntier("s", "d", 1), 1);
  EXPECT_EQ(ini.LireEntier("s", "e", 1), 1);
  EXPECT_EQ(ini.LireEntier("s", "f", 1), 1);
  EXPECT_EQ(ini.LireEntier("s", "g", 1), 1);
  EXPECT_EQ(ini.LireEntier("s", "h", 1), 7);
  EXPECT_EQ(ini.LireEntier("s", "i", 1), 5);  // blanks around a value are removed
  EXPECT_EQ(ini.LireEntier("s", "j", 1), 1);  // a sign goes with decimal digits only
  EXPECT_EQ(ini.LireEntier("s", "k", 1), 1);
  EXPECT_EQ(ini.LireEntier("s", "z", 9), 9);
}

TEST(Ini, EcrireGardeLeResteDuFichier) {
  auto ini = FichierIni::DepuisTexte("[autre]\r\nx=1\r\n\r\n[SKIN]\r\nDeplacement=4\r\n; note\r\nperso=oui\r\n\r\n[fin]\r\ny=2\r\n");
  ini.Ecrire("skin", "Nom", "Ardoise");
  ini.EcrireEntier("skin", "deplacement", 1);
  ini.Ecrire("neuve", "k", "v");
  EXPECT_EQ(ini.Texte(),
            "[autre]\r\nx=1\r\n\r\n[SKIN]\r\nDeplacement=1\r\n; note\r\nperso=oui\r\nNom=Ardoise\r\n\r\n[fin]\r\ny=2\r\n"
            "[neuve]\r\nk=v\r\n");
}

TEST(Parametres, SansFichierLesValeursParDefautEtLaFermetureCreeLeFichier) {
  DossierTemporaire dossier;
  const auto fichier = CheminParametres(dossier.Chemin() + "/");
  const auto p = LireParametres(fichier);
  EXPECT_EQ(p.NomSkin, "Glissaro");
  EXPECT_EQ(p.VitesseDeplacement, 2);
  EXPECT_EQ(p.VitesseMagneto, 200);
  ASSERT_TRUE(EcrireParametres(fichier, p).ok);
  EXPECT_EQ(*ContenuFichier(fichier), "[skin]\r\nNom=Glissaro\r\ndeplacement=2\r\nMagneto=200\r\n");
}

TEST(Parametres, ValeursLuesEtEcritesTellesQuelles) {
  DossierTemporaire dossier;
  const auto fichier = dossier.Fichier("Glissaro.ini");
  ASSERT_TRUE(EcrireFichierSur(fichier, "[Autre]\r\nk=v\r\n[SKIN]\r\nnom=glissaro\r\nDEPLACEMENT=3\r\nMagneto=0x14\r\n").ok);
  auto p = LireParametres(fichier);
  EXPECT_EQ(p.NomSkin, "glissaro");  // not the default skin's exact name
  EXPECT_NE(p.NomSkin, kNomSkinDefaut);
  EXPECT_EQ(p.VitesseDeplacement, 3);
  EXPECT_EQ(p.VitesseMagneto, 20);
  ASSERT_TRUE(EcrireParametres(fichier, p).ok);
  EXPECT_EQ(*ContenuFichier(fichier), "[Autre]\r\nk=v\r\n[SKIN]\r\nnom=glissaro\r\nDEPLACEMENT=3\r\nMagneto=20\r\n");
}

TEST(Parametres, VitessesNullesOuNegativesRemplacees) {
  DossierTemporaire dossier;
  const auto fichier = dossier.Fichier("Glissaro.ini");
  ASSERT_TRUE(EcrireFichierSur(fichier, "[skin]\r\nDeplacement=0\r\nMagneto=-5\r\n").ok);
  const auto p = LireParametres(fichier);
  EXPECT_EQ(p.VitesseDeplacement, 2);
  EXPECT_EQ(p.VitesseMagneto, 200);
  EXPECT_EQ(DemiIntervalle(20), 10);
  EXPECT_EQ(DemiIntervalle(200), 100);
  EXPECT_EQ(DemiIntervalle(500), 250);
  EXPECT_EQ(DemiIntervalle(25), 12);
  EXPECT_EQ(DemiIntervalle(27), 14);
}

TEST(Parametres, EcritureImpossibleGardeLAncienFichier) {
  if (geteuid() == 0) {
    // root writes into read-only folders: use a path whose folder is a file.
    DossierTemporaire dossier;
    const auto bloque = dossier.Fichier("fichier");
    ASSERT_TRUE(EcrireFichierSur(bloque, "x").ok);
    const auto r = EcrireParametres(bloque + "/Glissaro.ini", Parametres{});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Impossible d'écrire dans " + bloque + "/Glissaro.ini");
    return;
  }
  DossierTemporaire dossier;
  const auto fichier = dossier.Fichier("Glissaro.ini");
  ASSERT_TRUE(EcrireFichierSur(fichier, "[skin]\r\nNom=Ancien\r\n").ok);
  std::filesystem::permissions(dossier.Chemin(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const auto r = EcrireParametres(fichier, Parametres{});
  std::filesystem::permissions(dossier.Chemin(), std::filesystem::perms::owner_all);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Impossible d'écrire dans " + fichier);
  EXPECT_EQ(*ContenuFichier(fichier), "[skin]\r\nNom=Ancien\r\n");
}

TEST(Parametres, LaSectionJeuNApparaitQuAuBesoin) {
  DossierTemporaire dossier;
  const auto fichier = dossier.Fichier("Glissaro.ini");
  Parametres p;
  ASSERT_TRUE(EcrireParametres(fichier, p).ok);
  EXPECT_EQ(*ContenuFichier(fichier), "[skin]\r\nNom=Glissaro\r\ndeplacement=2\r\nMagneto=200\r\n");
  p.Zoom = 200;
  p.PlacesFinales = false;
  ASSERT_TRUE(EcrireParametres(fichier, p).ok);
  EXPECT_EQ(*ContenuFichier(fichier),
            "[skin]\r\nNom=Glissaro\r\ndeplacement=2\r\nMagneto=200\r\n[jeu]\r\nZoom=200\r\nPlacesFinales=0\r\n");
  const auto lus = LireParametres(fichier);
  EXPECT_EQ(lus.Zoom, 200);
  EXPECT_FALSE(lus.PlacesFinales);
  // Back to the defaults: the section stays and says so.
  ASSERT_TRUE(EcrireParametres(fichier, Parametres{}).ok);
  EXPECT_EQ(LireParametres(fichier).Zoom, 0);
  EXPECT_TRUE(LireParametres(fichier).PlacesFinales);
  EXPECT_NE(ContenuFichier(fichier)->find("[jeu]\r\nZoom=0\r\nPlacesFinales=1\r\n"), std::string::npos);
  // A size not offered is automatic; anything but 0 shows the places.
  ASSERT_TRUE(EcrireFichierSur(fichier, "[JEU]\r\nzoom=175\r\nplacesfinales=oui\r\n").ok);
  EXPECT_EQ(LireParametres(fichier).Zoom, 0);
  EXPECT_TRUE(LireParametres(fichier).PlacesFinales);
}
