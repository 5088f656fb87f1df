// Showing a board at a size the player can see: the scales offered, the
// automatic choice, pointer positions taken back to board pixels, and the
// place of a window beside another. Plain arithmetic: the board window
// applies it.
#pragma once

#include <array>

namespace glissaro {

// The scales of the board picture, in percent; 0 stands for the automatic
// choice.
inline constexpr std::array<int, 4> kZooms = {100, 150, 200, 300};
inline constexpr int kZoomAutomatique = 0;

// 0 or one of kZooms.
bool ZoomValide(int zoom);

// The largest of kZooms at which a window of largeur × hauteur pixels at
// 100 % stays within 60 % of the screen's width and height; never less
// than 100.
int ZoomAutomatique(int largeur, int hauteur, int largeurEcran, int hauteurEcran);

// A length of the board picture on the screen at a scale (rounded down),
// and a position on the screen back to board pixels (rounded down, below 0
// too), so that every rule keeps working in board pixels.
int AEchelle(int longueur, int zoom);
int VersPlateau(int position, int zoom);

struct Rectangle {
  int x = 0, y = 0, largeur = 0, hauteur = 0;
};

// Where a window of largeur × hauteur goes beside a reference window: on
// its right, top edges aligned; on its left when the right would leave the
// screen's area; under it when neither side has room. Always kept within
// the area as far as it fits.
std::array<int, 2> PositionACote(const Rectangle& reference, int largeur, int hauteur, const Rectangle& ecran);

}  // namespace glissaro
