// Vector shapes shared by the pictures: button icons, display glyphs, text.
#pragma once

#include <QPainterPath>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <array>

namespace art {

enum class Icon {
  Minimise,
  Close,
  Gear,
  Folder,
  Restart,
  Help,
  OpenSequence,
  SaveSequence,
  First,
  Back,
  Forward,
  Last,
};

// Filled shape of an icon, fitted into `box` (design units); `detail` as for
// textPath.
QPainterPath iconPath(Icon icon, const QRectF& box, int detail = 1);

// Fonts are read from the DejaVu files shipped with Debian so that the
// output does not depend on the desktop's font configuration.
enum class Face { Sans, SansBold, CondensedBold, SerifBold, MonoBold };
QRawFont font(Face face, qreal pixelSize);

// Outline of a text whose baseline starts at `origin`; `tracking` is added
// between letters.  For a picture drawn at `detail` times the design size,
// each letter's outline is read from the font at that size (and brought back
// to design units), while the letters stay where the design size puts them.
QPainterPath textPath(const QString& text, Face face, qreal pixelSize, QPointF origin,
                      qreal tracking = 0, int detail = 1);
// Outline of a text centred (ink box) on `centre`.
QPainterPath centredText(const QString& text, Face face, qreal pixelSize, QPointF centre,
                         int detail = 1);

// Seven-segment digit: the seven segment outlines (a..g) of a cell.
struct SegmentStyle {
  float thickness = 2.4f;  // segment width
  float gap = 0.45f;       // space between neighbouring segments
  float slant = 0.12f;     // horizontal shift per unit of height (italic)
};
std::array<QPainterPath, 7> segments(const QRectF& digitBox, const SegmentStyle& style);
// Which segments are lit for '0'..'9' (bit 0 = a ... bit 6 = g).
int segmentMask(char digit);

// Character tables of the skin strips.
inline constexpr const char* kDigitChars = "0123456789 ";
inline constexpr std::array<const char*, 3> kTextRows = {
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*",
    "0123456789 .:<>-'!_+\\/[]^&%,=$",
    "abcdefghijklmnopqrstuvwxyz",
};

}  // namespace art
