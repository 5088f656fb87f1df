#include "replay.h"

#include <QPainter>

#include <array>
#include <cmath>

namespace art {

namespace {

constexpr int kCell = 30;  // design units
constexpr int kSs = 4;     // grid cells per output pixel

// Reload a sequence, save it, go to the start, step back, step forward,
// go to the end.
constexpr std::array<Icon, 6> kIcons = {Icon::OpenSequence, Icon::SaveSequence, Icon::First,
                                        Icon::Back,         Icon::Forward,      Icon::Last};

QImage replayButton(const ReplayStyle& st, Icon icon, bool hover, int scale) {
  Relief r(kCell, kCell, kSs, scale);
  r.albedo().fill(Qt::white);
  const QRectF face(3, 2.5, 23.5, 23.5);
  {
    // A soft contact shadow on the white, drawn rather than cast so that it
    // fades out well inside the cell.
    DesignPainter p(r.albedo(), r.ss());
    QPainterPath path;
    if (st.look.round)
      path.addEllipse(face.translated(1.2, 1.6));
    else
      path.addRoundedRect(face.translated(1.2, 1.6), st.look.radius, st.look.radius);
    for (int i = 4; i >= 1; --i) {
      QColor c = st.shadow;
      c.setAlphaF(st.shadow.alphaF() / 4);
      p.setPen(QPen(c, i * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(c);
      p.drawPath(path);
    }
  }
  r.noShadowIn([&](float x, float y) {
    const float dx = std::max({float(face.left()) - x, x - float(face.right()), 0.f});
    const float dy = std::max({float(face.top()) - y, y - float(face.bottom()), 0.f});
    return (dx > 0 || dy > 0) ? -1.f : 1.f;
  });
  KeySpec k;
  k.area = QRect(0, 0, kCell, kCell);
  k.icon = icon;
  k.face = face;
  k.iconInset = st.iconInset;
  drawKey(r, k, st.look, hover ? KeyState::Hover : KeyState::Rest, 0.f);
  Light light;
  light.shadowReach = 3;
  return r.render(light);
}

}  // namespace

QImage replayStrip(const ReplayStyle& st, bool hover, int scale) {
  const int cell = kCell * scale;
  QImage strip(cell * static_cast<int>(kIcons.size()), cell, QImage::Format_RGB32);
  strip.fill(Qt::white);
  QPainter p(&strip);
  for (size_t i = 0; i < kIcons.size(); ++i)
    p.drawImage(static_cast<int>(i) * cell, 0, replayButton(st, kIcons[i], hover, scale));
  return strip;
}

}  // namespace art
