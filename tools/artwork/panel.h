// Front panels of the skins: outline mask, buttons in their three states,
// and the composition that keeps the three pictures identical outside the
// hot areas.
#pragma once

#include "glyphs.h"
#include "relief.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

namespace art {

enum class KeyState { Rest, Pressed, Hover };

struct PanelSet {
  QImage mask;     // 1 bit: white outside, black inside
  QImage rest;     // RGB32, white outside the mask
  QImage pressed;  // every hot area pressed
  QImage hover;    // every hot area lit
};

// Pictures drawn at `scale` times the design size: every design coordinate
// (hot areas, displays, outline) is multiplied by `scale` in the picture.
QRect scaled(const QRect& r, int scale);

// The window shape: a pixel belongs to the panel when its centre lies inside.
// `size` is the design size; the mask is `scale` times larger.
QImage monoMask(const Sdf& outline, QSize size, int scale = 1);

// Renders the panel once per state and keeps, from the pressed and hover
// renderings, only the hot-area rectangles; reports how much the renderings
// differed outside them (shadows leaking out of a button).  `size` and
// `areas` are in design units, `render` draws at `scale` times that size.
PanelSet composePanel(const Sdf& outline, QSize size, const std::vector<QRect>& areas,
                      const std::function<QImage(KeyState)>& render, const char* name,
                      int scale = 1);

// Reports every rectangle (hot area or display, in design units) that is not
// wholly inside the mask drawn at `scale`; returns false when there is one.
bool checkInsideMask(const QImage& mask, const std::vector<QRect>& rects, const char* name,
                     int scale = 1);

// Notes every display rectangle (design units) of a picture drawn at `scale`
// that is not wholly of the well's exact background colour, and how far its
// pixels stray from it; returns false when there is one.
bool checkFlat(const QImage& img, const std::vector<QRect>& rects, QColor background,
               const char* name, int scale = 1);

struct KeyLook {
  QColor faceTop, faceBottom;
  QColor hoverTop, hoverBottom;
  QColor pressedTop, pressedBottom;
  QColor icon, iconHover, iconPressed;
  QColor iconShadow;   // thin engraving under the icon; invalid for none
  QColor glow;         // hover light around the icon and along the rim
  float height = 2.2f;
  float bevel = 2.0f;
  float radius = 4.5f;
  float gloss = 0.6f;
  bool round = false;  // circular key instead of a rounded square
};

struct KeySpec {
  QRect area;          // the hot area; everything drawn stays inside it
  Icon icon;
  QRectF face;         // key cap, inside the area
  float iconInset = 3;
  QColor glow;         // overrides the look's glow (the quit key is red)
  QColor iconHover;    // overrides the look's lit icon colour
};

// Draws a key cap standing on a surface at `baseLevel`.
void drawKey(Relief& r, const KeySpec& key, const KeyLook& look, KeyState state, float baseLevel);

// Sets the pixels of the display wells to their exact background colour (the
// glyph strips are copied as opaque rectangles and must blend in).  `img` is
// drawn at `scale` times the design size of `flatArea`.
void flattenWell(QImage& img, const Sdf& flatArea, QColor background, int scale = 1);

}  // namespace art
