// The windowing system the game runs on. On a Wayland desktop the compositor
// places every window itself and shapes none, so the game prefers the X11
// platform (Xwayland, which GNOME and KDE provide) where its shaped panel
// and its board placed under it work as on any X11 desktop; without an X
// server it runs on Wayland and draws the panel and the board in one
// window. Plain C++: the program entry applies the choice before Qt starts.
#pragma once

#include <functional>
#include <string>

namespace glissaro {

// The value of an environment variable, or nullptr when it is not set.
using LireVariable = std::function<const char*(const char*)>;

// The Qt platform the game asks for: "xcb" in a Wayland session (WAYLAND_DISPLAY
// set, or XDG_SESSION_TYPE "wayland") where an X server is reachable
// (DISPLAY set), unless the player chose one (QT_QPA_PLATFORM set, even
// empty); otherwise nothing, and Qt chooses.
std::string PlateformeDemandee(const LireVariable& variable);

// Whether a Qt platform name is Wayland's ("wayland", "wayland-egl"...).
bool EstPlateformeWayland(const std::string& nom);

}  // namespace glissaro
