// Splitting record lines into fields and reading fields strictly.
#include <gtest/gtest.h>

#include "SkinFields.h"

namespace glissaro {
namespace {

using Champs = std::vector<std::string>;

TEST(SplitFields, RecordLineOfTheDefaultSkin) {
  EXPECT_EQ(SplitFields("REDUIRE, 322, 5, 18, 20, Réduire"), (Champs{"REDUIRE", "322", "5", "18", "20", "Réduire"}));
  EXPECT_EQ(SplitFields("TEXT_TITRE, Arial, FALSE, FALSE, 8, $000000, 150, 62, Text,Version 1.00, Titre, 198, 19"),
            (Champs{"TEXT_TITRE", "Arial", "FALSE", "FALSE", "8", "$000000", "150", "62", "Text", "Version 1.00",
                    "Titre", "198", "19"}));
}

TEST(SplitFields, QuotedFields) {
  // A quoted hint may hold commas; the quotes are removed.
  EXPECT_EQ(SplitFields(R"(OK, 1, 2, 3, 4, "Ouvrir, puis jouer")"),
            (Champs{"OK", "1", "2", "3", "4", "Ouvrir, puis jouer"}));
  // A doubled quote stands for one quote.
  EXPECT_EQ(SplitFields(R"("dit ""bonjour""", b)"), (Champs{R"(dit "bonjour")", "b"}));
  // Blanks after the closing quote are skipped; text there starts a new
  // field even without a comma.
  EXPECT_EQ(SplitFields(R"("a b"   , c)"), (Champs{"a b", "c"}));
  EXPECT_EQ(SplitFields(R"("a"b,c)"), (Champs{"a", "b", "c"}));
  // An unterminated quote runs to the end of the line.
  EXPECT_EQ(SplitFields(R"(x, "jusqu'au bout, ici)"), (Champs{"x", "jusqu'au bout, ici"}));
  EXPECT_EQ(SplitFields(R"("")"), (Champs{""}));
}

TEST(SplitFields, BlanksAndControlCharacters) {
  // Blanks inside a field and before its comma belong to the field.
  EXPECT_EQ(SplitFields("Charger un plateau , 5"), (Champs{"Charger un plateau ", "5"}));
  // Characters of codes 1 to 32 before a field and after a comma are skipped.
  EXPECT_EQ(SplitFields(std::string("\t \x01" "a,\t\x1f b")), (Champs{"a", "b"}));
  // A control character ends an unquoted field.
  EXPECT_EQ(SplitFields("ab\tcd,e"), (Champs{"ab", "cd", "e"}));
  // A character of code 0 ends the line.
  EXPECT_EQ(SplitFields(std::string("a,b\0,c", 6)), (Champs{"a", "b"}));
}

TEST(SplitFields, EmptyFields) {
  EXPECT_EQ(SplitFields("a,,b"), (Champs{"a", "", "b"}));
  EXPECT_EQ(SplitFields(",a"), (Champs{"", "a"}));
  EXPECT_EQ(SplitFields("a, ,b"), (Champs{"a", "", "b"}));
  // A comma at the end adds no field; an empty line has none.
  EXPECT_EQ(SplitFields("a,"), (Champs{"a"}));
  EXPECT_TRUE(SplitFields("").empty());
  EXPECT_TRUE(SplitFields("  \t ").empty());
}

TEST(SkinChamps, IntegerForms) {
  const Champs champs{"12", "-5", "+7", "$FF", "x1A", "X1a", "0x10", "0X10", " 42", "$FFFFFFFF"};
  const int32_t attendus[] = {12, -5, 7, 255, 26, 26, 16, 16, 42, -1};
  for (std::size_t i = 0; i < champs.size(); ++i) EXPECT_EQ(ChampEntier(champs, i), attendus[i]) << champs[i];
}

TEST(SkinChamps, IntegerErrorsNameTheField) {
  const Champs champs{"5 ", "1.5", "", "$", "abc", "0x", "99999999999"};
  for (std::size_t i = 0; i < champs.size(); ++i) {
    try {
      ChampEntier(champs, i);
      ADD_FAILURE() << "accepté: '" << champs[i] << "'";
    } catch (const ErreurSkin& erreur) {
      EXPECT_EQ(std::string(erreur.what()), "'" + champs[i] + "' n'est pas une valeur entière correcte");
    }
  }
}

TEST(SkinChamps, MissingFieldGivesTheListIndex) {
  const Champs champs{"A", "1"};
  EXPECT_EQ(ChampTexte(champs, 1), "1");
  try {
    ChampTexte(champs, 2);
    ADD_FAILURE();
  } catch (const ErreurSkin& erreur) {
    EXPECT_STREQ(erreur.what(), "Indice de liste hors limites (2)");
  }
  try {
    ChampEntier(champs, 5);
    ADD_FAILURE();
  } catch (const ErreurSkin& erreur) {
    EXPECT_STREQ(erreur.what(), "Indice de liste hors limites (5)");
  }
}

}  // namespace
}  // namespace glissaro
