// The tile picture "pieces.bmp": ten rows of square tiles holding the pieces
// of the three series, the doors and the two floors.
#pragma once

#include "relief.h"

#include <QColor>
#include <QImage>

#include <cstdint>

namespace art {

enum class Texture { Grain, Lacquer, Stone, Ceramic, Plank };
enum class Ornament { None, Stud, Ring };

struct Material {
  QColor light, base, dark;
  Texture texture = Texture::Grain;
  float textureStrength = 1.f;
  float gloss = 0.4f;
  float height = 3.f;        // design pixels at 32-pixel tiles
  float bevel = 0.16f;       // fraction of the tile
  float radius = 0.22f;      // corner radius, fraction of the tile
  Profile profile = Profile::Round;
  Ornament ornament = Ornament::None;
  QColor ornamentColour;
  uint32_t seed = 1;
};

struct TileStyle {
  int tile = 32;
  float margin = 0.05f;      // floor left around free sides, fraction of the tile
  QColor floor;
  float floorNoise = 0.02f;
  QColor target, targetTint; // final place marking
  Material normal, master, border;
  QColor doorRecess, doorBars, doorGlow, doorRivets;
  Light light;
};

// The whole picture, 10 x 10 tiles; at `scale`, every tile is `scale` times
// larger (the same tile drawn at that size).
QImage piecesPicture(const TileStyle& style, int scale = 1);

// Colour of a material at tile coordinates (u, v); textures repeat once per
// unit.  Also used for the wooden frame of a panel.
QRgb materialAt(const Material& m, float u, float v);

// Picture of one cell of a board, by series (0 normal, 1 master, 2 border,
// 3 floor) and image index, as cut from the picture.
QPoint tilePosition(int series, int index);

}  // namespace art
