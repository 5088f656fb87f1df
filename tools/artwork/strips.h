// Glyph strips of the skinned displays: digits for "Number" displays and the
// three-row character grid for "Text" displays.
#pragma once

#include "glyphs.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <cstdint>

namespace art {

struct StripStyle {
  QColor background;        // must equal the display well's background
  QColor ink;
  QColor ghost;             // unlit segments; invalid colour for none
  QColor glow;              // halo around the ink; alpha gives its strength
  float glowRadius = 0.8f;  // design pixels
  float chalk = 0;          // 0: clean ink; up to 1: grainy chalk
  uint32_t seed = 1;

  QSize digitCell{15, 21};
  bool sevenSegment = true;
  QRectF digitBox;          // segment box inside a digit cell
  SegmentStyle segment;
  Face digitFace = Face::SansBold;
  qreal digitPixels = 18;   // font digits: size
  qreal digitBaseline = 17;

  QSize textCell{13, 20};
  Face textFace = Face::CondensedBold;
  qreal textPixels = 14;
  qreal textBaseline = 15;
  qreal maxInkWidth = 11.5;  // wider glyphs are narrowed to this
};

// 11 glyphs "0123456789 " side by side.  At `scale`, every cell is `scale`
// times larger and its glyph drawn at `scale` times the size.
QImage numberStrip(const StripStyle& style, int scale = 1);
// 30 columns by 3 rows; the width is 30 cells plus `extraWidth` unused pixels
// (design units, like the cells).
QImage textStrip(const StripStyle& style, int extraWidth, int scale = 1);

}  // namespace art
