#include "svg.h"

#include "io.h"

#include <cmath>

namespace art {

namespace {

QString colourText(const QColor& c) {
  return QString::asprintf("#%02x%02x%02x", c.red(), c.green(), c.blue());
}

QString escaped(const QString& s) { return s.toHtmlEscaped(); }

QString stopsText(const QGradientStops& stops) {
  QString s;
  for (const QGradientStop& st : stops) {
    s += QString("      <stop offset=\"%1\" stop-color=\"%2\"").arg(Svg::number(st.first),
                                                              colourText(st.second));
    if (st.second.alpha() < 255) s += QString(" stop-opacity=\"%1\"").arg(Svg::number(st.second.alphaF()));
    s += "/>\n";
  }
  return s;
}

}  // namespace

SvgPaint::SvgPaint(const QColor& c) : value(colourText(c)), opacity(c.alphaF()) {}

SvgPaint SvgPaint::url(const QString& id) {
  SvgPaint p;
  p.value = QString("url(#%1)").arg(id);
  return p;
}

QString Svg::number(qreal v) {
  if (std::abs(v) < 0.0005) return QStringLiteral("0");
  QString s = QString::number(v, 'f', 3);
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s;
}

QString svgPathData(const QPainterPath& path) {
  QStringList out;
  auto pt = [](qreal x, qreal y) { return Svg::number(x) + ' ' + Svg::number(y); };
  QPointF start, last;
  bool open = false;
  auto close = [&] {
    if (open && start == last) out << QStringLiteral("Z");
    open = false;
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    switch (e.type) {
      case QPainterPath::MoveToElement:
        close();
        out << "M " + pt(e.x, e.y);
        start = last = QPointF(e.x, e.y);
        open = true;
        break;
      case QPainterPath::LineToElement:
        out << "L " + pt(e.x, e.y);
        last = QPointF(e.x, e.y);
        break;
      case QPainterPath::CurveToElement: {
        const QPainterPath::Element c2 = path.elementAt(i + 1), to = path.elementAt(i + 2);
        out << "C " + pt(e.x, e.y) + ' ' + pt(c2.x, c2.y) + ' ' + pt(to.x, to.y);
        last = QPointF(to.x, to.y);
        i += 2;
        break;
      }
      case QPainterPath::CurveToDataElement:
        break;
    }
  }
  close();
  return out.join(' ');
}

Svg::Svg(int size, const QString& title) : size_(size), title_(title) {}

QString Svg::nextId(const char* kind) { return QString("%1%2").arg(QLatin1String(kind)).arg(++ids_); }

QString Svg::linearGradient(QPointF from, QPointF to, const QGradientStops& stops) {
  const QString id = nextId("degrade");
  defs_ += QString("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" y1=\"%3\" "
                   "x2=\"%4\" y2=\"%5\">\n")
               .arg(id, number(from.x()), number(from.y()), number(to.x()), number(to.y()));
  defs_ += stopsText(stops) + "    </linearGradient>\n";
  return id;
}

QString Svg::radialGradient(QPointF centre, qreal radius, QPointF focus, const QGradientStops& stops) {
  const QString id = nextId("halo");
  defs_ += QString("    <radialGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" cx=\"%2\" cy=\"%3\" "
                   "r=\"%4\" fx=\"%5\" fy=\"%6\">\n")
               .arg(id, number(centre.x()), number(centre.y()), number(radius), number(focus.x()),
                    number(focus.y()));
  defs_ += stopsText(stops) + "    </radialGradient>\n";
  return id;
}

QString Svg::blur(qreal sigma) {
  const QString id = nextId("flou");
  defs_ += QString("    <filter id=\"%1\" x=\"-0.25\" y=\"-0.25\" width=\"1.5\" height=\"1.5\" "
                   "color-interpolation-filters=\"sRGB\">\n"
                   "      <feGaussianBlur stdDeviation=\"%2\"/>\n    </filter>\n")
               .arg(id, number(sigma));
  return id;
}

QString Svg::clip(const QPainterPath& path) {
  const QString id = nextId("cadre");
  defs_ += QString("    <clipPath id=\"%1\">\n      <path d=\"%2\"/>\n    </clipPath>\n")
               .arg(id, svgPathData(path));
  return id;
}

void Svg::line(const QString& element) { body_ += QString(2 * depth_, ' ') + element + '\n'; }

void Svg::begin(qreal opacity, const QString& filter, const QString& clip, QPointF offset) {
  QString g = QStringLiteral("<g");
  if (opacity < 1) g += QString(" opacity=\"%1\"").arg(number(opacity));
  if (!offset.isNull())
    g += QString(" transform=\"translate(%1 %2)\"").arg(number(offset.x()), number(offset.y()));
  if (!filter.isEmpty()) g += QString(" filter=\"url(#%1)\"").arg(filter);
  if (!clip.isEmpty()) g += QString(" clip-path=\"url(#%1)\"").arg(clip);
  line(g + '>');
  ++depth_;
}

void Svg::end() {
  --depth_;
  line(QStringLiteral("</g>"));
}

QString Svg::paintAttributes(const SvgPaint& fill, const SvgStroke& stroke) const {
  QString a = QString(" fill=\"%1\"").arg(fill.value);
  if (fill.value != "none" && fill.opacity < 1)
    a += QString(" fill-opacity=\"%1\"").arg(number(fill.opacity));
  if (stroke.width > 0 && stroke.paint.value != "none") {
    a += QString(" stroke=\"%1\" stroke-width=\"%2\"").arg(stroke.paint.value, number(stroke.width));
    if (stroke.paint.opacity < 1)
      a += QString(" stroke-opacity=\"%1\"").arg(number(stroke.paint.opacity));
    if (QLatin1String(stroke.join) != QLatin1String("miter"))
      a += QString(" stroke-linejoin=\"%1\"").arg(QLatin1String(stroke.join));
    if (QLatin1String(stroke.cap) != QLatin1String("butt"))
      a += QString(" stroke-linecap=\"%1\"").arg(QLatin1String(stroke.cap));
  }
  return a;
}

void Svg::rect(const QRectF& r, qreal radius, const SvgPaint& fill, const SvgStroke& stroke) {
  QString e = QString("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                  .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
  if (radius > 0) e += QString(" rx=\"%1\" ry=\"%1\"").arg(number(radius));
  line(e + paintAttributes(fill, stroke) + "/>");
}

void Svg::circle(QPointF c, qreal r, const SvgPaint& fill, const SvgStroke& stroke) {
  line(QString("<circle cx=\"%1\" cy=\"%2\" r=\"%3\"").arg(number(c.x()), number(c.y()), number(r)) +
       paintAttributes(fill, stroke) + "/>");
}

void Svg::path(const QPainterPath& p, const SvgPaint& fill, const SvgStroke& stroke) {
  QString e = QString("<path d=\"%1\"").arg(svgPathData(p));
  if (p.fillRule() == Qt::OddEvenFill && fill.value != "none") e += " fill-rule=\"evenodd\"";
  line(e + paintAttributes(fill, stroke) + "/>");
}

QString Svg::text() const {
  QString s;
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += QString("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1\" height=\"%1\" "
               "viewBox=\"0 0 %1 %1\">\n")
           .arg(size_);
  s += QString("  <title>%1</title>\n").arg(escaped(title_));
  if (!defs_.isEmpty()) s += "  <defs>\n" + defs_ + "  </defs>\n";
  s += body_;
  s += "</svg>\n";
  return s;
}

void Svg::save(const QString& path) const { saveUtf8(text(), path); }

}  // namespace art
