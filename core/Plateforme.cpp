#include "Plateforme.h"

#include <string_view>

namespace glissaro {

std::string PlateformeDemandee(const LireVariable& variable) {
  const auto rempli = [&](const char* nom) {
    const char* valeur = variable(nom);
    return valeur != nullptr && *valeur != '\0';
  };
  if (variable("QT_QPA_PLATFORM") != nullptr) return {};
  const char* session = variable("XDG_SESSION_TYPE");
  const bool wayland = rempli("WAYLAND_DISPLAY") || (session != nullptr && std::string_view(session) == "wayland");
  return wayland && rempli("DISPLAY") ? "xcb" : "";
}

bool EstPlateformeWayland(const std::string& nom) { return nom.starts_with("wayland"); }

}  // namespace glissaro
