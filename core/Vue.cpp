#include "Vue.h"

#include <algorithm>
#include <cstdint>

namespace glissaro {

bool ZoomValide(int zoom) {
  return zoom == kZoomAutomatique || std::find(kZooms.begin(), kZooms.end(), zoom) != kZooms.end();
}

int ZoomAutomatique(int largeur, int hauteur, int largeurEcran, int hauteurEcran) {
  for (auto i = kZooms.rbegin(); i != kZooms.rend(); ++i) {
    // size × zoom / 100 ≤ screen × 60 / 100
    const int64_t z = *i;
    if (largeur * z <= int64_t{60} * largeurEcran && hauteur * z <= int64_t{60} * hauteurEcran) return *i;
  }
  return kZooms.front();
}

int AEchelle(int longueur, int zoom) { return static_cast<int>(int64_t{longueur} * zoom / 100); }

int VersPlateau(int position, int zoom) {
  if (zoom <= 0) return position;
  const int64_t p = int64_t{position} * 100;
  // Rounded down on both sides of 0.
  return static_cast<int>(p >= 0 ? p / zoom : -((-p + zoom - 1) / zoom));
}

std::array<int, 2> PositionACote(const Rectangle& r, int largeur, int hauteur, const Rectangle& e) {
  const int droiteEcran = e.x + e.largeur, basEcran = e.y + e.hauteur;
  int x, y = r.y;
  if (r.x + r.largeur + largeur <= droiteEcran) {
    x = r.x + r.largeur;
  } else if (r.x - largeur >= e.x) {
    x = r.x - largeur;
  } else {
    x = r.x;
    y = r.y + r.hauteur;
  }
  x = std::max(e.x, std::min(x, droiteEcran - largeur));
  y = std::max(e.y, std::min(y, basEcran - hauteur));
  return {x, y};
}

}  // namespace glissaro
