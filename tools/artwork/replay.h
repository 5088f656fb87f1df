// Pictures of the replay window's six buttons: a horizontal strip of 30 x 30
// images on white (white is transparent), at rest or under the mouse.
#pragma once

#include "panel.h"

#include <QImage>

namespace art {

struct ReplayStyle {
  KeyLook look;
  float iconInset = 6.f;
  QColor shadow;  // soft shadow of the key on the white background
};

// At `scale`, every button is `scale` times larger (30 x 30 design units
// drawn on 60 x 60 pixels at 2x), in the same strip order.
QImage replayStrip(const ReplayStyle& style, bool hover, int scale = 1);

}  // namespace art
