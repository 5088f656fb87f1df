// Text helpers shared by every reader and writer of the program's files.
//
// Strings live in UTF-8 inside the program; the files on disk (boards,
// settings, skin descriptions, page template) are Windows-1252 with CR LF
// line ends, and sequence files store Windows-1252 character codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glissaro {

// Windows-1252 bytes to UTF-8. Every byte maps to a character (the five
// unassigned bytes map to the C1 control of the same code).
std::string Cp1252VersUtf8(std::string_view octets);

// UTF-8 to Windows-1252. A character that the code page lacks, or a
// malformed sequence, becomes '?'.
std::string Utf8VersCp1252(std::string_view texte);

// Removes the characters of codes 0 to 32 at both ends (blanks, tabs and
// other control characters), as the program's readers do.
std::string_view Rogner(std::string_view texte);
std::string_view RognerGauche(std::string_view texte);
std::string_view RognerDroite(std::string_view texte);

// Strict integer conversion: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// Nothing may follow, not even a blank. The value must fit in 32 bits
// (hexadecimal values from 80000000 to FFFFFFFF are taken as negative, so
// "$FFFFFFFF" is -1).
std::optional<int32_t> EntierStrict(std::string_view texte);

// The message given when a text is not an integer:
// "'abc' n'est pas une valeur entière correcte".
std::string MessageEntierIncorrect(std::string_view texte);

// A line of a file as an error message quotes it: converted from
// Windows-1252 and cut to its first 40 characters, followed by "…" when it
// was longer.
std::string CiterLigne(std::string_view octetsCp1252);

// ASCII case folding, used wherever names are compared without regard to case.
std::string MajusculesAscii(std::string_view texte);
bool EgalSansCasse(std::string_view a, std::string_view b);

// Splits a file's contents into lines. CR LF and LF alone end a line; a final
// line without an end is kept; nothing follows the last line end.
std::vector<std::string> DecouperLignes(std::string_view contenu);

// Joins lines with CR LF after every line (the last one included).
std::string JoindreLignesCrLf(const std::vector<std::string>& lignes);

// "%s" in a message pattern replaced by a value (first occurrence only).
std::string Remplacer(std::string_view modele, std::string_view valeur);

}  // namespace glissaro
