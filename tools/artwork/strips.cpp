#include "strips.h"

#include "relief.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr int kSs = 8;  // grid cells per output pixel

struct Ink {
  QPainterPath lit;
  QPainterPath ghost;
};

// Renders one cell: background, ghost shapes, glow and ink.  `at` and `cell`
// are in design units, the strip is drawn at `scale` times that size.
void drawCell(QImage& strip, QPoint at, QSize cell, const Ink& ink, const StripStyle& st,
              int scale) {
  const int d = kSs * scale;  // grid cells per design unit
  const int W = cell.width() * d, H = cell.height() * d;
  const Field litCov = coverage(ink.lit, W, H, d);
  const Field ghostCov = coverage(ink.ghost, W, H, d);
  Field halo = blur(litCov, st.glowRadius * d);

  QImage grid(W, H, QImage::Format_ARGB32_Premultiplied);
  const float bg[3] = {float(st.background.red()), float(st.background.green()),
                       float(st.background.blue())};
  const float in[3] = {float(st.ink.red()), float(st.ink.green()), float(st.ink.blue())};
  const QColor gh = st.ghost.isValid() ? st.ghost : st.background;
  const float gc[3] = {float(gh.red()), float(gh.green()), float(gh.blue())};
  const float gl[3] = {float(st.glow.red()), float(st.glow.green()), float(st.glow.blue())};
  const float glowAlpha = st.glow.isValid() ? st.glow.alphaF() : 0.f;

  for (int y = 0; y < H; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(grid.scanLine(y));
    for (int x = 0; x < W; ++x) {
      // The halo fades out before the cell's edge so that cells join cleanly.
      const float ex = std::min(x + 0.5f, W - x - 0.5f) / d;
      const float ey = std::min(y + 0.5f, H - y - 0.5f) / d;
      const float edge = std::clamp(std::min(ex, ey) - 0.6f, 0.f, 1.f);
      float h = halo.at(x, y) * glowAlpha * edge;
      if (h < 0.004f) h = 0;
      float a = litCov.at(x, y);
      if (st.chalk > 0 && a > 0) {
        const float gx = (at.x() * d + x) / float(d), gy = (at.y() * d + y) / float(d);
        const float grain = fbm(gx * 0.9f, gy * 0.9f, 4096, 3, st.seed);
        const float speck = hashUnit(int(gx * 2), int(gy * 2), st.seed + 7);
        const float chalky = std::clamp(0.35f + 0.9f * grain, 0.f, 1.f) * (speck < 0.12f ? 0.35f : 1.f);
        a *= 1 - st.chalk * (1 - chalky);
      }
      const float g = ghostCov.at(x, y);
      float c[3];
      for (int k = 0; k < 3; ++k) {
        float v = bg[k] + (gc[k] - bg[k]) * g;
        v = v + (gl[k] - v) * h;
        v = v + (in[k] - v) * a;
        c[k] = v;
      }
      line[x] = qRgb(int(std::lround(c[0])), int(std::lround(c[1])), int(std::lround(c[2])));
    }
  }
  const QImage small = downsample(grid, kSs);
  QPainter p(&strip);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(at * scale, small);
}

Ink digitInk(char ch, const StripStyle& st, int scale) {
  Ink ink;
  if (st.sevenSegment) {
    const auto segs = segments(st.digitBox, st.segment);
    const int mask = segmentMask(ch);
    for (int i = 0; i < 7; ++i) {
      if (mask & (1 << i))
        ink.lit.addPath(segs[i]);
      else if (st.ghost.isValid())
        ink.ghost.addPath(segs[i]);
    }
  } else if (ch != ' ') {
    QPainterPath p =
        textPath(QString(QChar(ch)), st.digitFace, st.digitPixels, QPointF(0, 0), 0, scale);
    const QRectF b = p.boundingRect();
    ink.lit = p.translated(st.digitCell.width() / 2.0 - b.center().x(), st.digitBaseline);
  }
  return ink;
}

Ink textInk(QChar ch, const StripStyle& st, int scale) {
  Ink ink;
  if (ch == ' ') return ink;
  QPainterPath p = textPath(QString(ch), st.textFace, st.textPixels, QPointF(0, 0), 0, scale);
  QRectF b = p.boundingRect();
  if (b.width() > st.maxInkWidth) {
    const qreal k = st.maxInkWidth / b.width();
    p = QTransform::fromScale(k, 1).map(p);
    b = p.boundingRect();
  }
  ink.lit = p.translated(st.textCell.width() / 2.0 - b.center().x(), st.textBaseline);
  return ink;
}

}  // namespace

QImage numberStrip(const StripStyle& st, int scale) {
  const QString chars = QString::fromLatin1(kDigitChars);
  QImage strip(st.digitCell.width() * chars.size() * scale, st.digitCell.height() * scale,
               QImage::Format_RGB32);
  strip.fill(st.background);
  for (int i = 0; i < chars.size(); ++i)
    drawCell(strip, QPoint(i * st.digitCell.width(), 0), st.digitCell,
             digitInk(chars[i].toLatin1(), st, scale), st, scale);
  return strip;
}

QImage textStrip(const StripStyle& st, int extraWidth, int scale) {
  QImage strip((st.textCell.width() * 30 + extraWidth) * scale, st.textCell.height() * 3 * scale,
               QImage::Format_RGB32);
  strip.fill(st.background);
  for (int row = 0; row < 3; ++row) {
    const QString chars = QString::fromLatin1(kTextRows[row]);
    for (int col = 0; col < chars.size(); ++col)
      drawCell(strip, QPoint(col * st.textCell.width(), row * st.textCell.height()), st.textCell,
               textInk(chars[col], st, scale), st, scale);
  }
  return strip;
}

}  // namespace art
