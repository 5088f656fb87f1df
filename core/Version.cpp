#include "Version.h"

namespace glissaro {

std::optional<VersionProgramme> VersionDuProgramme() {
#if defined(GLISSARO_VERSION_MAJEURE) && defined(GLISSARO_VERSION_MINEURE) && defined(GLISSARO_VERSION_REVISION)
  return VersionProgramme{GLISSARO_VERSION_MAJEURE, GLISSARO_VERSION_MINEURE, GLISSARO_VERSION_REVISION};
#else
  return std::nullopt;
#endif
}

std::string TexteVersion(const std::optional<VersionProgramme>& version) {
  if (!version) return {};
  return std::to_string(version->majeure) + "." + std::to_string(version->mineure) + std::to_string(version->revision);
}

std::string TitreSansPlateau() { return "Version " + TexteVersion(VersionDuProgramme()); }

}  // namespace glissaro
