// Record lines of a skin description: splitting a line into its fields and
// reading the fields strictly, with the messages a skin load stops on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace glissaro {

// A failure that stops a skin load; what() is the message shown to the user.
class ErreurSkin : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Splits a record line at its commas:
// - characters of codes 1 to 32 before a field are skipped;
// - a field that starts with a double quote ends at the closing quote, a
//   doubled quote inside stands for one quote, and the quotes are removed;
// - any other field runs up to the next comma or the next character below
//   code 32, blanks included;
// - after a field, blanks are skipped, and a comma there is skipped with the
//   characters of codes 1 to 32 that follow it;
// - two commas in a row give an empty field.
std::vector<std::string> SplitFields(std::string_view ligne);

// The field at a 0-based index; a line too short fails with
// "Indice de liste hors limites (index)".
const std::string& ChampTexte(const std::vector<std::string>& champs, std::size_t index);

// The field at an index converted strictly to an integer (sign and decimal
// digits, or hexadecimal after "$", "x" or "0x"); fails with the list index
// message, or with "'field' n'est pas une valeur entière correcte".
int32_t ChampEntier(const std::vector<std::string>& champs, std::size_t index);

// The message of a missing field.
std::string MessageIndiceHorsLimites(std::size_t index);

}  // namespace glissaro
