// Reduction of true-colour pictures to one shared 256-colour palette.
#pragma once

#include <QImage>

#include <vector>

namespace art {

// Builds a single palette for all `images` (median cut refined by a few
// k-means passes) and maps every pixel to its nearest entry, without
// dithering: two pixels of the same colour always get the same index, so
// pictures that agree outside some rectangles still agree once reduced.
// The `reserved` colours are kept exactly (white, display backgrounds...).
std::vector<QImage> toIndexed8(const std::vector<QImage>& images,
                               const std::vector<QRgb>& reserved);

}  // namespace art
