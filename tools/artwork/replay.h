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

QImage replayStrip(const ReplayStyle& style, bool hover);

}  // namespace art
