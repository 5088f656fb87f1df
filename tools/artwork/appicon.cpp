// The program icon: a small slate tray holding a two-cell wooden piece and
// a red master block sliding towards its place, in the default skin's colours.
#include "io.h"
#include "relief.h"
#include "skins.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr int kSs = 4;

const QColor kTrayTop(0x5c, 0x6a, 0x80);
const QColor kTrayBottom(0x34, 0x3d, 0x4c);
const QColor kFloor(0x27, 0x2e, 0x39);
const QColor kWoodLight(0xe2, 0xa8, 0x66);
const QColor kWoodDark(0xb0, 0x70, 0x38);
const QColor kRedLight(0xe4, 0x4c, 0x54);
const QColor kRedDark(0xa8, 0x22, 0x2c);
const QColor kGold(0xf2, 0xc1, 0x4e);

QImage programIcon(int size) {
  const float S = float(size);
  const bool tiny = size <= 16;
  const bool small = size <= 32;
  const float margin = tiny ? 0.f : S * 0.055f;
  const float bottomRoom = small ? 0.f : S * 0.03f;  // room for the drop shadow
  const QRectF tray(margin, margin, S - 2 * margin, S - 2 * margin - bottomRoom);
  const float trayRadius = S * (tiny ? 0.19f : 0.2f);
  const Sdf trayShape = sdfRoundedBox(tray, trayRadius);

  const float pad = S * (tiny ? 0.125f : 0.12f);
  const QRectF inner = tray.adjusted(pad, pad, -pad, -pad);
  const float gap = S * (tiny ? 0.07f : 0.05f);
  const float cw = float(inner.width() - gap) / 2, ch = float(inner.height() - gap) / 2;
  const float blockRadius = std::max(1.f, S * 0.07f);
  const QRectF wood(inner.left(), inner.top(), cw, inner.height());
  // The master block, a little short of the bottom cell: it is on its way up.
  const float lift = tiny ? 0.f : ch * 0.18f;
  const QRectF red(inner.left() + cw + gap, inner.top() + ch + gap - lift, cw, ch);
  const QPointF target(inner.left() + cw + gap + cw / 2, inner.top() + ch / 2);

  Relief r(size, size, kSs);
  {
    DesignPainter p(r.albedo(), kSs);
    QLinearGradient g(0, tray.top(), 0, tray.bottom());
    g.setColorAt(0, kTrayTop);
    g.setColorAt(1, kTrayBottom);
    p.fillRect(QRectF(0, 0, S, S), g);
    QPainterPath floor;
    floor.addRoundedRect(inner.adjusted(-pad * 0.35, -pad * 0.35, pad * 0.35, pad * 0.35),
                         trayRadius * 0.6, trayRadius * 0.6);
    p.fillPath(floor, kFloor);
    if (!small) {
      p.setPen(QPen(kRedLight, S * 0.03));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(target, cw * 0.3, cw * 0.3);
    }
    QPainterPath w;
    w.addRoundedRect(wood, blockRadius, blockRadius);
    QLinearGradient gw(wood.topLeft(), wood.bottomRight());
    gw.setColorAt(0, kWoodLight);
    gw.setColorAt(1, kWoodDark);
    p.fillPath(w, gw);
    QPainterPath m;
    m.addRoundedRect(red, blockRadius, blockRadius);
    QLinearGradient gr(red.topLeft(), red.bottomRight());
    gr.setColorAt(0, kRedLight);
    gr.setColorAt(1, kRedDark);
    p.fillPath(m, gr);
    if (!small) {
      p.setPen(Qt::NoPen);
      p.setBrush(kGold);
      p.drawEllipse(red.center(), cw * 0.12, cw * 0.12);
      // Grain lines on the wood.
      p.setPen(QPen(QColor(0x9a, 0x5e, 0x2c, 110), S * 0.008));
      for (int i = 1; i < 6; ++i) {
        const qreal y = wood.top() + wood.height() * i / 6.0;
        QPainterPath l;
        l.moveTo(wood.left() + cw * 0.12, y);
        l.cubicTo(wood.left() + cw * 0.4, y - S * 0.01, wood.left() + cw * 0.6, y + S * 0.01,
                  wood.right() - cw * 0.12, y);
        p.drawPath(l);
      }
    }
  }
  const float unit = S / 64;  // heights scale with the picture
  r.raise(trayShape, 2.2f * unit, std::max(1.f, 3.f * unit), Profile::Round);
  r.levelTo(sdfRoundedBox(inner.adjusted(-pad * 0.35, -pad * 0.35, pad * 0.35, pad * 0.35),
                          trayRadius * 0.6f),
            0.6f * unit, std::max(0.6f, 1.5f * unit), Profile::Round);
  const Sdf woodShape = sdfRoundedBox(wood, blockRadius);
  const Sdf redShape = sdfRoundedBox(red, blockRadius);
  r.levelTo(woodShape, 3.4f * unit, std::max(0.8f, 2.4f * unit), Profile::Round);
  r.levelTo(redShape, 3.4f * unit, std::max(0.8f, 2.4f * unit), Profile::Round);
  r.setGloss(redShape, 1.f);
  r.setGloss(woodShape, 0.4f);
  r.setGloss(trayShape, 0.3f);

  Light light;
  light.shadowReach = 5 * unit;
  const QImage colour = r.render(light);

  // Alpha from the tray's outline, with a soft drop shadow beneath it.
  const Field cover = r.cover(trayShape);
  Field shadow(cover.w, cover.h);
  if (!small) {
    const int dy = int(std::lround(S * 0.025f * kSs));
    for (int y = 0; y < cover.h; ++y)
      for (int x = 0; x < cover.w; ++x) shadow.at(x, y) = cover.clamped(x, y - dy);
    shadow = blur(shadow, S * 0.02f * kSs);
  }
  QImage out(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float a = 0, s = 0;
      for (int j = 0; j < kSs; ++j)
        for (int i = 0; i < kSs; ++i) {
          a += cover.at(x * kSs + i, y * kSs + j);
          s += shadow.at(x * kSs + i, y * kSs + j);
        }
      a /= kSs * kSs;
      s = s / (kSs * kSs) * 0.45f;
      const QRgb c = colour.pixel(x, y);
      // Tray over shadow (the shadow is black).
      const float alpha = a + s * (1 - a);
      if (alpha <= 0) {
        out.setPixel(x, y, qRgba(0, 0, 0, 0));
        continue;
      }
      auto ch = [&](int v) { return std::clamp(int(std::lround(v * a / alpha)), 0, 255); };
      out.setPixel(x, y, qRgba(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)),
                               std::clamp(int(std::lround(alpha * 255)), 0, 255)));
    }
  return out;
}

}  // namespace

void writeProgramIcons(const QString& root) {
  for (int size : {16, 32, 48, 64, 128, 256})
    savePng(programIcon(size), root + QString("/data/icones/glissaro-%1.png").arg(size));
}

}  // namespace art
