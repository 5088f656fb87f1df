#include "glyphs.h"

#include <QFile>
#include <QList>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace art {

namespace {

constexpr double kPi = std::numbers::pi;

QPainterPath polygon(std::initializer_list<QPointF> pts) {
  QPainterPath p;
  p.addPolygon(QPolygonF(QList<QPointF>(pts)));
  p.closeSubpath();
  return p;
}

QPainterPath roundedRect(const QRectF& r, qreal radius) {
  QPainterPath p;
  p.addRoundedRect(r, radius, radius);
  return p;
}

QPainterPath disc(QPointF c, qreal r) {
  QPainterPath p;
  p.addEllipse(c, r, r);
  return p;
}

QPainterPath stroke(const QPainterPath& line, qreal width, Qt::PenCapStyle cap = Qt::RoundCap) {
  QPainterPathStroker s;
  s.setWidth(width);
  s.setCapStyle(cap);
  s.setJoinStyle(Qt::RoundJoin);
  return s.createStroke(line).simplified();
}

QPainterPath triangle(QPointF tip, qreal length, qreal halfBase, int dir /* +1 right, -1 left */) {
  return polygon({tip, QPointF(tip.x() - dir * length, tip.y() - halfBase),
                  QPointF(tip.x() - dir * length, tip.y() + halfBase)});
}

QPainterPath folder(const QRectF& b) {
  const qreal w = b.width(), h = b.height();
  QPainterPath body = roundedRect(QRectF(b.left(), b.top() + 0.2 * h, w, 0.8 * h), 0.08 * w);
  QPainterPath tab = roundedRect(QRectF(b.left(), b.top() + 0.06 * h, 0.44 * w, 0.3 * h), 0.08 * w);
  QPainterPath shape = body.united(tab);
  // The front flap, separated from the back by a thin slit.
  QPainterPath slit = stroke(
      [&] {
        QPainterPath l;
        l.moveTo(b.left() - w, b.top() + 0.42 * h);
        l.lineTo(b.right() + w, b.top() + 0.36 * h);
        return l;
      }(),
      std::max(0.09 * h, 0.9), Qt::FlatCap);
  return shape.subtracted(slit).simplified();
}

QString dejaVu(const char* file) { return QStringLiteral("/usr/share/fonts/truetype/dejavu/") + file; }

}  // namespace

QRawFont font(Face face, qreal pixelSize) {
  const char* file = "DejaVuSans.ttf";
  switch (face) {
    case Face::Sans: file = "DejaVuSans.ttf"; break;
    case Face::SansBold: file = "DejaVuSans-Bold.ttf"; break;
    case Face::CondensedBold: file = "DejaVuSansCondensed-Bold.ttf"; break;
    case Face::SerifBold: file = "DejaVuSerif-Bold.ttf"; break;
    case Face::MonoBold: file = "DejaVuSansMono-Bold.ttf"; break;
  }
  const QString path = dejaVu(file);
  QRawFont f(path, pixelSize, QFont::PreferNoHinting);
  if (!f.isValid()) {
    std::fprintf(stderr, "cannot read the font %s (package fonts-dejavu-core)\n",
                 qPrintable(path));
    std::exit(2);
  }
  return f;
}

QPainterPath textPath(const QString& text, Face face, qreal pixelSize, QPointF origin,
                      qreal tracking, int detail) {
  const QRawFont f = font(face, pixelSize);
  const QRawFont fine = detail == 1 ? f : font(face, pixelSize * detail);
  const QTransform back = QTransform::fromScale(1.0 / detail, 1.0 / detail);
  const QList<quint32> glyphs = f.glyphIndexesForString(text);
  const QList<QPointF> advances = f.advancesForGlyphIndexes(glyphs);
  QPainterPath out;
  QPointF pen = origin;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    const QPainterPath glyph =
        detail == 1 ? f.pathForGlyph(glyphs[i]) : back.map(fine.pathForGlyph(glyphs[i]));
    out.addPath(glyph.translated(pen));
    pen += advances[i] + QPointF(tracking, 0);
  }
  return out;
}

QPainterPath centredText(const QString& text, Face face, qreal pixelSize, QPointF centre,
                         int detail) {
  QPainterPath p = textPath(text, face, pixelSize, QPointF(0, 0), 0, detail);
  const QRectF b = p.boundingRect();
  return p.translated(centre - b.center());
}

namespace {

// The square an icon is drawn in: its side, its centre, and its points
// given as fractions of the side from its top left corner.
struct IconSquare {
  qreal s;
  QPointF c;
  QRectF sq;
  explicit IconSquare(const QRectF& box)
      : s(std::min(box.width(), box.height())), c(box.center()), sq(c.x() - s / 2, c.y() - s / 2, s, s) {}
  QPointF at(qreal u, qreal v) const { return QPointF(sq.left() + u * s, sq.top() + v * s); }
};

QPainterPath closeIcon(const IconSquare& q) {
  QPainterPath l;
  l.moveTo(q.at(0.27, 0.27));
  l.lineTo(q.at(0.73, 0.73));
  l.moveTo(q.at(0.73, 0.27));
  l.lineTo(q.at(0.27, 0.73));
  return stroke(l, 0.17 * q.s);
}

QPainterPath gearIcon(const IconSquare& q) {
  const qreal s = q.s;
  const QPointF c = q.c;
  const int teeth = 8;
  const qreal rOut = 0.47 * s, rRoot = 0.34 * s;
  QPolygonF poly;
  for (int k = 0; k < teeth; ++k) {
    const qreal a = k * 2 * kPi / teeth;
    const qreal aRoot = 0.27, aTip = 0.16;
    auto pt = [&](qreal r, qreal ang) {
      return QPointF(c.x() + r * std::cos(ang), c.y() + r * std::sin(ang));
    };
    poly << pt(rRoot, a - aRoot) << pt(rOut, a - aTip) << pt(rOut, a + aTip)
         << pt(rRoot, a + aRoot);
    // Follow the root circle to the next tooth.
    const qreal next = (k + 1) * 2 * kPi / teeth - aRoot;
    for (int i = 1; i < 3; ++i) poly << pt(rRoot, a + aRoot + (next - a - aRoot) * i / 3);
  }
  QPainterPath g;
  g.addPolygon(poly);
  g.closeSubpath();
  return g.subtracted(disc(c, 0.15 * s)).simplified();
}

QPainterPath restartIcon(const IconSquare& q) {
  const qreal s = q.s;
  const qreal r = 0.3 * s;
  const QPointF cc = q.at(0.5, 0.54);
  const qreal a0 = -35 * kPi / 180, a1 = 250 * kPi / 180;
  QPainterPath arc;
  const int n = 48;
  for (int i = 0; i <= n; ++i) {
    const qreal a = a0 + (a1 - a0) * i / n;
    const QPointF p(cc.x() + r * std::cos(a), cc.y() + r * std::sin(a));
    if (i == 0)
      arc.moveTo(p);
    else
      arc.lineTo(p);
  }
  QPainterPath shape = stroke(arc, 0.15 * s, Qt::FlatCap);
  // Arrow head at the end of the arc, pointing along it (clockwise).
  const QPointF end(cc.x() + r * std::cos(a1), cc.y() + r * std::sin(a1));
  const QPointF tangent(-std::sin(a1), std::cos(a1));
  const QPointF normal(std::cos(a1), std::sin(a1));
  const qreal len = 0.24 * s, half = 0.2 * s;
  const QPointF base = end - tangent * (0.04 * s);
  QPainterPath head = polygon({base + tangent * len, base + normal * half, base - normal * half});
  return shape.united(head).simplified();
}

QPainterPath openSequenceIcon(const IconSquare& q) {
  QPainterPath f = folder(QRectF(q.at(0.04, 0.3), QSizeF(0.92 * q.s, 0.64 * q.s)));
  // An arrow rising out of the folder.
  QPainterPath arrow = polygon({q.at(0.62, 0.0), q.at(0.88, 0.27), q.at(0.71, 0.27), q.at(0.71, 0.62),
                                q.at(0.53, 0.62), q.at(0.53, 0.27), q.at(0.36, 0.27)});
  QPainterPath halo = stroke(arrow, 0.16 * q.s).united(arrow);
  return f.subtracted(halo).united(arrow).simplified();
}

QPainterPath saveSequenceIcon(const IconSquare& q) {
  const qreal s = q.s;
  const QRectF b(q.at(0.1, 0.1), QSizeF(0.8 * s, 0.8 * s));
  const qreal ch = 0.16 * s;
  QPainterPath body = polygon({b.topLeft(), QPointF(b.right() - ch, b.top()),
                               QPointF(b.right(), b.top() + ch), b.bottomRight(),
                               b.bottomLeft()});
  QPainterPath label = roundedRect(
      QRectF(b.left() + 0.16 * b.width(), b.top() + 0.5 * b.height(), 0.68 * b.width(),
             0.38 * b.height()),
      0.04 * s);
  QPainterPath shutter;
  shutter.addRect(QRectF(b.left() + 0.22 * b.width(), b.top(), 0.52 * b.width(),
                         0.3 * b.height()));
  QPainterPath slot;
  slot.addRect(QRectF(b.left() + 0.52 * b.width(), b.top() + 0.05 * b.height(),
                      0.13 * b.width(), 0.19 * b.height()));
  return body.subtracted(label).subtracted(shutter).united(slot).simplified();
}

// First and Last: a bar and a triangle pointing at it.
QPainterPath endIcon(const IconSquare& q, int dir /* +1 last, -1 first */) {
  const qreal s = q.s;
  const qreal mid = 0.5;
  QPainterPath bar;
  const qreal barX = dir > 0 ? 0.76 : 0.12;
  bar.addRoundedRect(QRectF(q.at(barX, 0.2), QSizeF(0.12 * s, 0.6 * s)), 0.03 * s, 0.03 * s);
  const QPointF tip = dir > 0 ? q.at(0.76, mid) : q.at(0.24, mid);
  return bar.united(triangle(tip, 0.52 * s, 0.3 * s, dir)).simplified();
}

// Back and Forward: two triangles.
QPainterPath stepIcon(const IconSquare& q, int dir /* +1 forward, -1 back */) {
  const qreal s = q.s;
  const QPointF tip1 = dir > 0 ? q.at(0.96, 0.5) : q.at(0.04, 0.5);
  const QPointF tip2 = dir > 0 ? q.at(0.54, 0.5) : q.at(0.46, 0.5);
  return triangle(tip1, 0.44 * s, 0.3 * s, dir)
      .united(triangle(tip2, 0.44 * s, 0.3 * s, dir))
      .simplified();
}

}  // namespace

QPainterPath iconPath(Icon icon, const QRectF& box, int detail) {
  const IconSquare q(box);
  switch (icon) {
    case Icon::Minimise:
      return roundedRect(QRectF(q.at(0.2, 0.6), QSizeF(0.6 * q.s, 0.17 * q.s)), 0.06 * q.s);
    case Icon::Close:
      return closeIcon(q);
    case Icon::Gear:
      return gearIcon(q);
    case Icon::Folder:
      return folder(QRectF(q.at(0.08, 0.16), QSizeF(0.84 * q.s, 0.66 * q.s)));
    case Icon::Restart:
      return restartIcon(q);
    case Icon::Help:
      return centredText(QStringLiteral("?"), Face::SansBold, 1.0 * q.s, q.c + QPointF(0, 0.01 * q.s),
                         detail);
    case Icon::OpenSequence:
      return openSequenceIcon(q);
    case Icon::SaveSequence:
      return saveSequenceIcon(q);
    case Icon::First:
    case Icon::Last:
      return endIcon(q, icon == Icon::Last ? 1 : -1);
    case Icon::Back:
    case Icon::Forward:
      return stepIcon(q, icon == Icon::Forward ? 1 : -1);
  }
  return {};
}

std::array<QPainterPath, 7> segments(const QRectF& box, const SegmentStyle& st) {
  const qreal t = st.thickness, g = st.gap, ht = t / 2;
  const qreal xl = box.left() + ht, xr = box.right() - ht;
  const qreal yt = box.top() + ht, ym = box.center().y(), yb = box.bottom() - ht;
  const qreal bottom = box.bottom();
  auto sl = [&](QPointF p) { return QPointF(p.x() + st.slant * (bottom - p.y()), p.y()); };
  auto horizontal = [&](qreal y, qreal x0, qreal x1) {
    x0 += g;
    x1 -= g;
    return polygon({sl({x0, y}), sl({x0 + ht, y - ht}), sl({x1 - ht, y - ht}), sl({x1, y}),
                    sl({x1 - ht, y + ht}), sl({x0 + ht, y + ht})});
  };
  auto vertical = [&](qreal x, qreal y0, qreal y1) {
    y0 += g;
    y1 -= g;
    return polygon({sl({x, y0}), sl({x + ht, y0 + ht}), sl({x + ht, y1 - ht}), sl({x, y1}),
                    sl({x - ht, y1 - ht}), sl({x - ht, y0 + ht})});
  };
  return {horizontal(yt, xl, xr), vertical(xr, yt, ym), vertical(xr, ym, yb),
          horizontal(yb, xl, xr), vertical(xl, ym, yb), vertical(xl, yt, ym),
          horizontal(ym, xl, xr)};
}

int segmentMask(char digit) {
  static constexpr int masks[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  if (digit >= '0' && digit <= '9') return masks[digit - '0'];
  return 0;
}

}  // namespace art
