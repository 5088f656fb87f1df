// What a test reads back of the files it made, whole, or nothing when the
// file cannot be read.
#pragma once

#include <optional>
#include <string>

#include "Fichiers.h"

namespace glissaro::test {

inline std::optional<std::string> ContenuFichier(const std::string& chemin) {
  auto lu = LireFichier(chemin, kTailleMaxImage);
  if (!lu.Lu()) return std::nullopt;
  return std::move(lu.contenu);
}

}  // namespace glissaro::test
