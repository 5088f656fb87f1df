#include <gtest/gtest.h>

#include "Publication.h"

using namespace glissaro;

TEST(Publication, LesSeptBalisesEtLeursRemplacements) {
  ChampsPage c{"Niveau 3", "Ana", "ana@exemple.fr", "42", "08/12/2026", ""};
  const auto page = RemplirModele(
      {"<h1>TAG1</h1>", "TAG2 | TAG4", "TAG3 coups le TAG5", "<img src=\"TAG6\"> <a href=\"TAG7\">", "sans balise"},
      c);
  EXPECT_EQ(page, (std::vector<std::string>{
                      "<h1>Niveau 3</h1>",
                      "Ana   <a href=\"mailto:ana@exemple.fr\">ana@exemple.fr</a> | Ana   <a "
                      "href=\"mailto:ana@exemple.fr\">ana@exemple.fr</a>",
                      "42 coups le 08/12/2026", "<img src=\"Niveau 3.jpg\"> <a href=\"Niveau 3.wbp\">",
                      "sans balise"}));
}

TEST(Publication, SeuleLaPremiereOccurrenceEstRemplaceeEtRienNEstCoupe) {
  ChampsPage c{"T", "", "", "", "", ""};
  EXPECT_EQ(RemplirModele({"TAG1 et TAG1"}, c)[0], "T et TAG1");
  const std::string longue(400, 'x');
  EXPECT_EQ(RemplirModele({"a TAG1" + longue + "TAG3"}, c)[0], "a T" + longue);
  // A later tag is looked for in the line as already changed.
  ChampsPage d{"avec TAG3", "", "", "7", "", ""};
  EXPECT_EQ(RemplirModele({"TAG1"}, d)[0], "avec 7");
}

TEST(Publication, LeNomDeLaPageEstUnSimpleNomDeFichier) {
  EXPECT_EQ(NomDeLaPage("../../Evasion", "e"), "Evasion");
  EXPECT_EQ(NomDeLaPage("..\\..\\Evasion", "e"), "Evasion");
  EXPECT_EQ(NomDeLaPage("/etc/passwd", "e"), "etcpasswd");
  EXPECT_EQ(NomDeLaPage(" .cachée\t\x01\xC2\x85 x ", "e"), "cachée x");
  EXPECT_EQ(NomDeLaPage("Le grand carré", "e"), "Le grand carré");
  // Nothing left: the board file's name.
  EXPECT_EQ(NomDeLaPage("../..", "Mon plateau"), "Mon plateau");
  EXPECT_EQ(NomDeLaPage("", "Mon plateau"), "Mon plateau");
  // Short enough for a file name, cut between two characters.
  const std::string nom = NomDeLaPage(std::string(249, 'a') + "éé", "e");
  EXPECT_EQ(nom, std::string(249, 'a'));
}

TEST(Publication, LesChampsEntrentDansLaPageCommeDuTexte) {
  ChampsPage c{"<b>A & B</b>", "O'Neil", "x\"@y", "<3", "01/02/2026", "a&b"};
  EXPECT_EQ(ValeursBalises(c),
            (std::vector<std::string>{"&lt;b&gt;A &amp; B&lt;/b&gt;",
                                      "O&#39;Neil   <a href=\"mailto:x&quot;@y\">x&quot;@y</a>", "&lt;3",
                                      "O&#39;Neil   <a href=\"mailto:x&quot;@y\">x&quot;@y</a>", "01/02/2026",
                                      "a&amp;b.jpg", "a&amp;b.wbp"}));
}
