#include <gtest/gtest.h>

#include "Texte.h"

using namespace glissaro;

TEST(Texte, Windows1252AllerRetour) {
  EXPECT_EQ(Cp1252VersUtf8("R\xE9" "duire \x80 \x9C"), "Réduire € œ");
  EXPECT_EQ(Utf8VersCp1252("Réduire € œ"), "R\xE9" "duire \x80 \x9C");
  EXPECT_EQ(Utf8VersCp1252("日本"), "??");
  EXPECT_EQ(Utf8VersCp1252("a\xC3"), "a?");  // cut sequence
  std::string tous;
  for (int i = 0; i < 256; ++i) tous += static_cast<char>(i);
  EXPECT_EQ(Utf8VersCp1252(Cp1252VersUtf8(tous)), tous);
}

TEST(Texte, EntiersStricts) {
  EXPECT_EQ(EntierStrict("42"), 42);
  EXPECT_EQ(EntierStrict("  -7"), -7);
  EXPECT_EQ(EntierStrict("+7"), 7);
  EXPECT_EQ(EntierStrict("$FF"), 255);
  EXPECT_EQ(EntierStrict("x1f"), 31);
  EXPECT_EQ(EntierStrict("0X10"), 16);
  EXPECT_EQ(EntierStrict("$FFFFFFFF"), -1);
  EXPECT_EQ(EntierStrict("2147483647"), 2147483647);
  EXPECT_EQ(EntierStrict("-2147483648"), -2147483647 - 1);
  for (const char* faux : {"", " ", "5 ", "5,", "abc", "2147483648", "$", "0x", "1e3", "--1", "\t5"})
    EXPECT_FALSE(EntierStrict(faux).has_value()) << "'" << faux << "'";
  EXPECT_EQ(MessageEntierIncorrect("5 "), "'5 ' n'est pas une valeur entière correcte");
}

TEST(Texte, LignesEtRognage) {
  EXPECT_EQ(DecouperLignes("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(DecouperLignes("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(DecouperLignes(""), std::vector<std::string>{});
  EXPECT_EQ(JoindreLignesCrLf({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(Rogner(" \t\x01x y\r "), "x y");
  EXPECT_TRUE(EgalSansCasse("Glissaro", "GLISSARO"));
  EXPECT_FALSE(EgalSansCasse("é", "É"));
}
