// The program icon: a small slate tray holding a two-cell wooden piece and
// a red master block sliding towards its place, in the default skin's colours.
// The pictures are drawn in relief; the scalable (SVG) icon draws the same
// shapes in the same colours, its relief given by gradients and soft shadows.
#include "io.h"
#include "relief.h"
#include "skins.h"
#include "svg.h"

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

// Where everything lies on an icon of `size` pixels.
struct Layout {
  float S;
  bool tiny, small;
  QRectF tray;
  float trayRadius;
  float pad;
  QRectF inner;
  float gap;
  float cw, ch;
  float blockRadius;
  QRectF wood, red;
  QPointF target;
};

Layout layout(int size) {
  Layout L;
  const float S = float(size);
  L.S = S;
  const bool tiny = L.tiny = size <= 16;
  L.small = size <= 32;
  const float margin = tiny ? 0.f : S * 0.055f;
  const float bottomRoom = L.small ? 0.f : S * 0.03f;  // room for the drop shadow
  L.tray = QRectF(margin, margin, S - 2 * margin, S - 2 * margin - bottomRoom);
  L.trayRadius = S * (tiny ? 0.19f : 0.2f);

  const float pad = L.pad = S * (tiny ? 0.125f : 0.12f);
  const QRectF inner = L.inner = L.tray.adjusted(pad, pad, -pad, -pad);
  const float gap = L.gap = S * (tiny ? 0.07f : 0.05f);
  const float cw = L.cw = float(inner.width() - gap) / 2;
  const float ch = L.ch = float(inner.height() - gap) / 2;
  L.blockRadius = std::max(1.f, S * 0.07f);
  L.wood = QRectF(inner.left(), inner.top(), cw, inner.height());
  // The master block, a little short of the bottom cell: it is on its way up.
  const float lift = tiny ? 0.f : ch * 0.18f;
  L.red = QRectF(inner.left() + cw + gap, inner.top() + ch + gap - lift, cw, ch);
  L.target = QPointF(inner.left() + cw + gap + cw / 2, inner.top() + ch / 2);
  return L;
}

// The floor of the tray, around the pieces.
QRectF floorRect(const Layout& L) {
  return L.inner.adjusted(-L.pad * 0.35, -L.pad * 0.35, L.pad * 0.35, L.pad * 0.35);
}

// Grain line i (1..5) across the wooden piece.
QPainterPath grainLine(const Layout& L, int i) {
  const QRectF& wood = L.wood;
  const float S = L.S, cw = L.cw;
  const qreal y = wood.top() + wood.height() * i / 6.0;
  QPainterPath l;
  l.moveTo(wood.left() + cw * 0.12, y);
  l.cubicTo(wood.left() + cw * 0.4, y - S * 0.01, wood.left() + cw * 0.6, y + S * 0.01,
            wood.right() - cw * 0.12, y);
  return l;
}

const QColor kGrain(0x9a, 0x5e, 0x2c, 110);

// A piece: a rounded block shaded from its top left corner to the
// opposite one.
void paintBlock(QPainter& p, const QRectF& block, float radius, const QColor& light, const QColor& dark) {
  QPainterPath path;
  path.addRoundedRect(block, radius, radius);
  QLinearGradient g(block.topLeft(), block.bottomRight());
  g.setColorAt(0, light);
  g.setColorAt(1, dark);
  p.fillPath(path, g);
}

// The flat colours: the tray, its floor, the target ring, the two pieces,
// the master block's stud and the grain of the wood.
void paintColours(QImage& albedo, const Layout& L) {
  const float S = L.S;
  const bool small = L.small;
  const QRectF tray = L.tray;
  const float trayRadius = L.trayRadius;
  const float cw = L.cw;
  const float blockRadius = L.blockRadius;
  const QRectF wood = L.wood, red = L.red;
  DesignPainter p(albedo, kSs);
  QLinearGradient g(0, tray.top(), 0, tray.bottom());
  g.setColorAt(0, kTrayTop);
  g.setColorAt(1, kTrayBottom);
  p.fillRect(QRectF(0, 0, S, S), g);
  QPainterPath floor;
  floor.addRoundedRect(floorRect(L), trayRadius * 0.6, trayRadius * 0.6);
  p.fillPath(floor, kFloor);
  if (!small) {
    p.setPen(QPen(kRedLight, S * 0.03));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(L.target, cw * 0.3, cw * 0.3);
  }
  paintBlock(p, wood, blockRadius, kWoodLight, kWoodDark);
  paintBlock(p, red, blockRadius, kRedLight, kRedDark);
  if (!small) {
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(red.center(), cw * 0.12, cw * 0.12);
    // Grain lines on the wood.
    p.setPen(QPen(kGrain, S * 0.008));
    for (int i = 1; i < 6; ++i) p.drawPath(grainLine(L, i));
  }
}

// The heights and the gloss: the raised tray, its sunken floor and the
// two pieces standing on it.
void shapeRelief(Relief& r, const Layout& L, const Sdf& trayShape) {
  const float S = L.S;
  const float pad = L.pad;
  const float trayRadius = L.trayRadius;
  const float blockRadius = L.blockRadius;
  const float unit = S / 64;  // heights scale with the picture
  r.raise(trayShape, 2.2f * unit, std::max(1.f, 3.f * unit), Profile::Round);
  r.levelTo(sdfRoundedBox(L.inner.adjusted(-pad * 0.35, -pad * 0.35, pad * 0.35, pad * 0.35),
                          trayRadius * 0.6f),
            0.6f * unit, std::max(0.6f, 1.5f * unit), Profile::Round);
  const Sdf woodShape = sdfRoundedBox(L.wood, blockRadius);
  const Sdf redShape = sdfRoundedBox(L.red, blockRadius);
  r.levelTo(woodShape, 3.4f * unit, std::max(0.8f, 2.4f * unit), Profile::Round);
  r.levelTo(redShape, 3.4f * unit, std::max(0.8f, 2.4f * unit), Profile::Round);
  r.setGloss(redShape, 1.f);
  r.setGloss(woodShape, 0.4f);
  r.setGloss(trayShape, 0.3f);
}

// The shaded picture cut out along the tray's outline (its coverage on
// the grid), over a soft drop shadow beneath it.
QImage cutOut(const QImage& colour, const Field& cover, const Layout& L, int size) {
  const float S = L.S;
  Field shadow(cover.w, cover.h);
  if (!L.small) {
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

QImage programIcon(int size) {
  const Layout L = layout(size);
  const Sdf trayShape = sdfRoundedBox(L.tray, L.trayRadius);
  Relief r(size, size, kSs);
  paintColours(r.albedo(), L);
  shapeRelief(r, L, trayShape);

  Light light;
  const float unit = L.S / 64;
  light.shadowReach = 5 * unit;
  const QImage colour = r.render(light);
  return cutOut(colour, r.cover(trayShape), L, size);
}

QPainterPath roundedPath(const QRectF& r, qreal radius) {
  QPainterPath p;
  p.addRoundedRect(r, radius, radius);
  return p;
}

// A soft bevel along the inside of a rounded shape lit from the top left:
// light along the upper left edge, shade along the lower right one.
void svgBevel(Svg& svg, const QRectF& r, qreal radius, qreal width, qreal light, qreal shade) {
  const QString clip = svg.clip(roundedPath(r, radius));
  const QString grad = svg.linearGradient(
      r.topLeft(), r.bottomRight(),
      {{0, QColor::fromRgbF(1, 1, 1, light)}, {0.42, QColor::fromRgbF(1, 1, 1, 0)},
       {0.58, QColor::fromRgbF(0, 0, 0, 0)}, {1, QColor::fromRgbF(0, 0, 0, shade)}});
  svg.begin(1, svg.blur(width * 0.22), clip);
  const qreal h = width / 2;
  svg.rect(r.adjusted(h, h, -h, -h), std::max(0.0, radius - h), SvgPaint(),
           {SvgPaint::url(grad), width});
  svg.end();
}

QString programIconSvg() {
  const Layout L = layout(256);
  const qreal S = L.S, unit = S / 64;
  Svg svg(256, QStringLiteral("Glissaro"));

  // Drop shadow beneath the tray.
  svg.begin(0.45, svg.blur(S * 0.02), {}, QPointF(0, S * 0.025));
  svg.rect(L.tray, L.trayRadius, QColor(Qt::black));
  svg.end();

  svg.rect(L.tray, L.trayRadius,
           SvgPaint::url(svg.linearGradient(QPointF(0, L.tray.top()), QPointF(0, L.tray.bottom()),
                                            {{0, kTrayTop}, {1, kTrayBottom}})));
  svgBevel(svg, L.tray, L.trayRadius, 3 * unit, 0.34, 0.7);

  // The sunken floor: shaded under the rim at the top left, lit at the lower right.
  const QRectF floor = floorRect(L);
  const qreal floorRadius = L.trayRadius * 0.6;
  svg.rect(floor, floorRadius, kFloor);
  {
    const QString clip = svg.clip(roundedPath(floor, floorRadius));
    const QString grad = svg.linearGradient(
        floor.topLeft(), floor.bottomRight(),
        {{0, QColor::fromRgbF(0, 0, 0, 0.55)}, {0.45, QColor::fromRgbF(0, 0, 0, 0)},
         {0.6, QColor::fromRgbF(1, 1, 1, 0)}, {1, QColor::fromRgbF(1, 1, 1, 0.16)}});
    svg.begin(1, svg.blur(unit * 0.6), clip);
    const qreal w = 2.4 * unit, h = w / 2;
    svg.rect(floor.adjusted(h, h, -h, -h), floorRadius - h, SvgPaint(), {SvgPaint::url(grad), w});
    svg.end();
  }

  svg.circle(L.target, L.cw * 0.3, SvgPaint(), {kRedLight, S * 0.03});

  // Shadows the pieces cast on the floor, away from the light.
  svg.begin(0.5, svg.blur(unit * 1.3), {}, QPointF(unit * 1.4, unit * 1.8));
  svg.rect(L.wood, L.blockRadius, QColor(Qt::black));
  svg.rect(L.red, L.blockRadius, QColor(Qt::black));
  svg.end();

  svg.rect(L.wood, L.blockRadius,
           SvgPaint::url(svg.linearGradient(L.wood.topLeft(), L.wood.bottomRight(),
                                            {{0, kWoodLight}, {1, kWoodDark}})));
  for (int i = 1; i < 6; ++i)
    svg.path(grainLine(L, i), SvgPaint(), {kGrain, S * 0.008, "bevel", "square"});
  svgBevel(svg, L.wood, L.blockRadius, 2.4 * unit, 0.36, 0.55);

  svg.rect(L.red, L.blockRadius,
           SvgPaint::url(svg.linearGradient(L.red.topLeft(), L.red.bottomRight(),
                                            {{0, kRedLight}, {1, kRedDark}})));
  svgBevel(svg, L.red, L.blockRadius, 2.4 * unit, 0.42, 0.55);
  svg.circle(L.red.center(), L.cw * 0.12, kGold);
  return svg.text();
}

}  // namespace

void writeProgramIcons(const QString& root) {
  for (int size : {16, 32, 48, 64, 128, 256, 512})
    savePng(programIcon(size), root + QString("/data/icones/glissaro-%1.png").arg(size));
  saveUtf8(programIconSvg(), root + "/data/icones/glissaro.svg");
}

}  // namespace art
