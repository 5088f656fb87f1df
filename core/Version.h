// The program's version, set once in the build (the project's version in
// CMakeLists.txt), and its texts.
#pragma once

#include <optional>
#include <string>

namespace glissaro {

// Major, minor and release numbers; nothing when the program carries none.
struct VersionProgramme {
  int majeure = 0;
  int mineure = 0;
  int revision = 0;
};
std::optional<VersionProgramme> VersionDuProgramme();

// "1.00" for 1.0.0, "1.25" for 1.2.5: each number in decimal, one after the
// other, with a point after the first; empty without a version.
std::string TexteVersion(const std::optional<VersionProgramme>& version);

// The game's web site, named in the about box and in the congratulation of
// an officialised board.
inline constexpr const char* kAdresseSiteWeb = "https://glissaro.org";

// What the panel's title shows without a board: "Version 1.00".
std::string TitreSansPlateau();

}  // namespace glissaro
