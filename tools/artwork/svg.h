// A small writer of SVG 1.1 documents, for the scalable icons: shapes,
// gradients, clipping and blur, everything inside the one file.
#pragma once

#include <QColor>
#include <QGradient>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace art {

// What fills or strokes a shape: a colour (its alpha becomes the opacity),
// a gradient given by Svg, or nothing.
struct SvgPaint {
  QString value = QStringLiteral("none");
  qreal opacity = 1;

  SvgPaint() = default;
  SvgPaint(const QColor& c);  // NOLINT: a colour is a paint
  static SvgPaint url(const QString& id);
};

struct SvgStroke {
  SvgPaint paint;
  qreal width = 0;
  const char* join = "miter";
  const char* cap = "butt";
};

class Svg {
 public:
  // A square document of `size` user units, shown at that many pixels.
  Svg(int size, const QString& title);

  // Definitions; each returns the id to refer to.
  QString linearGradient(QPointF from, QPointF to, const QGradientStops& stops);
  QString radialGradient(QPointF centre, qreal radius, QPointF focus, const QGradientStops& stops);
  QString blur(qreal sigma);  // a Gaussian blur filter
  QString clip(const QPainterPath& path);

  // Groups: an opacity, a filter id and a clip id, each optional.
  void begin(qreal opacity = 1, const QString& filter = {}, const QString& clip = {},
             QPointF offset = {});
  void end();

  void rect(const QRectF& r, qreal radius, const SvgPaint& fill, const SvgStroke& stroke = {});
  void circle(QPointF c, qreal r, const SvgPaint& fill, const SvgStroke& stroke = {});
  void path(const QPainterPath& p, const SvgPaint& fill, const SvgStroke& stroke = {});

  QString text() const;
  // Writes the document; exits on failure.
  void save(const QString& path) const;

  static QString number(qreal v);

 private:
  QString nextId(const char* kind);
  QString paintAttributes(const SvgPaint& fill, const SvgStroke& stroke) const;
  void line(const QString& element);

  int size_;
  QString title_;
  QString defs_;
  QString body_;
  int depth_ = 1;
  int ids_ = 0;
};

// Path data of a QPainterPath ("M ... L ... C ... Z").
QString svgPathData(const QPainterPath& path);

}  // namespace art
