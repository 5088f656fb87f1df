// The icons of the game's three file types: a sheet of paper with a folded
// corner, marked with a board, a replay strip or a box, in the program
// icon's colours.  The same drawing gives the pictures and the scalable
// (SVG) icons.
#include "io.h"
#include "skins.h"
#include "svg.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace art {

namespace {

const QColor kSlate(0x46, 0x52, 0x64);
const QColor kSlateDark(0x27, 0x2e, 0x39);
const QColor kWood(0xd4, 0x94, 0x52);
const QColor kRed(0xd0, 0x36, 0x40);
const QColor kGold(0xf2, 0xc1, 0x4e);

enum class Type { Plateau, Sequence, Paquet };

// The few painting operations of the icons, on a picture or into an SVG.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void setPen(const QColor& colour, qreal width) = 0;
  virtual void setNoPen() = 0;
  virtual void setBrush(const QColor& colour) = 0;
  virtual void setBrush(const QLinearGradient& gradient) = 0;
  virtual void drawPath(const QPainterPath& path) = 0;
  virtual void drawRoundedRect(const QRectF& r, qreal radius) = 0;
  virtual void drawRect(const QRectF& r) = 0;
};

class PictureCanvas final : public Canvas {
 public:
  explicit PictureCanvas(QPainter& p) : p_(p) {}
  void setPen(const QColor& colour, qreal width) override { p_.setPen(QPen(colour, width)); }
  void setNoPen() override { p_.setPen(Qt::NoPen); }
  void setBrush(const QColor& colour) override { p_.setBrush(colour); }
  void setBrush(const QLinearGradient& gradient) override { p_.setBrush(gradient); }
  void drawPath(const QPainterPath& path) override { p_.drawPath(path); }
  void drawRoundedRect(const QRectF& r, qreal radius) override { p_.drawRoundedRect(r, radius, radius); }
  void drawRect(const QRectF& r) override { p_.drawRect(r); }

 private:
  QPainter& p_;
};

class SvgCanvas final : public Canvas {
 public:
  explicit SvgCanvas(Svg& svg) : svg_(svg) {}
  // QPen's default joins and caps.
  void setPen(const QColor& colour, qreal width) override { pen_ = {colour, width, "bevel", "square"}; }
  void setNoPen() override { pen_ = {}; }
  void setBrush(const QColor& colour) override { brush_ = colour; }
  void setBrush(const QLinearGradient& g) override {
    brush_ = SvgPaint::url(svg_.linearGradient(g.start(), g.finalStop(), g.stops()));
  }
  void drawPath(const QPainterPath& path) override { svg_.path(path, brush_, pen_); }
  void drawRoundedRect(const QRectF& r, qreal radius) override { svg_.rect(r, radius, brush_, pen_); }
  void drawRect(const QRectF& r) override { svg_.rect(r, 0, brush_, pen_); }

 private:
  Svg& svg_;
  SvgStroke pen_;
  SvgPaint brush_;
};

// The sheet: its outline and the area left for the mark.
QRectF drawSheet(Canvas& p, qreal s) {
  const qreal m = s <= 16 ? 1 : s * 0.1;
  const QRectF page(m + s * 0.04, m * 0.6, s - 2 * m - s * 0.08, s - m * 1.2);
  const qreal fold = page.width() * 0.3;
  QPainterPath sheet;
  sheet.moveTo(page.topLeft());
  sheet.lineTo(page.right() - fold, page.top());
  sheet.lineTo(page.right(), page.top() + fold);
  sheet.lineTo(page.bottomRight());
  sheet.lineTo(page.bottomLeft());
  sheet.closeSubpath();
  QLinearGradient g(page.topLeft(), page.bottomLeft());
  g.setColorAt(0, QColor(0xfb, 0xfb, 0xf8));
  g.setColorAt(1, QColor(0xe2, 0xe4, 0xe8));
  p.setPen(QColor(0x8a, 0x92, 0x9e), std::max(1.0, s / 64));
  p.setBrush(g);
  p.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(page.right() - fold, page.top());
  corner.lineTo(page.right() - fold, page.top() + fold);
  corner.lineTo(page.right(), page.top() + fold);
  corner.closeSubpath();
  p.setBrush(QColor(0xc8, 0xcc, 0xd4));
  p.drawPath(corner);
  const qreal pad = page.width() * 0.14;
  return QRectF(page.left() + pad, page.top() + fold + pad * 0.5, page.width() - 2 * pad,
                page.bottom() - page.top() - fold - pad * 1.5);
}

void block(Canvas& p, const QRectF& r, const QColor& c) {
  const qreal radius = std::max(0.5, std::min(r.width(), r.height()) * 0.18);
  p.setNoPen();
  p.setBrush(c);
  p.drawRoundedRect(r, radius);
}

// The icon drawn on a square of `size` units.
void drawTypeIcon(Canvas& p, Type type, int size) {
  const qreal s = size;
  const QRectF zone = drawSheet(p, s);
  const qreal side = std::min(zone.width(), zone.height());
  const QRectF mark(zone.center().x() - side / 2, zone.center().y() - side / 2, side, side);
  const qreal gap = std::max(0.5, side * 0.06);
  switch (type) {
    case Type::Plateau: {
      // A tray with a tall wooden piece and the red master block.
      block(p, mark, kSlateDark);
      const QRectF in = mark.adjusted(gap * 1.5, gap * 1.5, -gap * 1.5, -gap * 1.5);
      const qreal half = (in.width() - gap) / 2;
      block(p, QRectF(in.left(), in.top(), half, in.height()), kWood);
      block(p, QRectF(in.left() + half + gap, in.top() + (in.height() - gap) / 2 + gap, half, (in.height() - gap) / 2), kRed);
      break;
    }
    case Type::Sequence: {
      // A strip of moves with the replay's "play" triangle.
      block(p, mark, kSlate);
      const QRectF in = mark.adjusted(gap * 2, gap * 2, -gap * 2, -gap * 2);
      QPainterPath play;
      play.moveTo(in.left() + in.width() * 0.2, in.top());
      play.lineTo(in.right(), in.center().y());
      play.lineTo(in.left() + in.width() * 0.2, in.bottom());
      play.closeSubpath();
      p.setNoPen();
      p.setBrush(kGold);
      p.drawPath(play);
      break;
    }
    case Type::Paquet: {
      // A box of boards: its lid, its body and a red band.
      const QRectF lid(mark.left(), mark.top() + side * 0.08, side, side * 0.28);
      const QRectF body(mark.left() + side * 0.06, lid.bottom() - gap * 0.5, side * 0.88, mark.bottom() - lid.bottom());
      block(p, body, kWood.darker(115));
      block(p, lid, kWood);
      p.setBrush(kRed);
      p.drawRect(QRectF(mark.center().x() - side * 0.08, lid.top(), side * 0.16, body.bottom() - lid.top()));
      break;
    }
  }
}

QImage typeIcon(Type type, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  PictureCanvas canvas(p);
  drawTypeIcon(canvas, type, size);
  return img;
}

// The scalable icon: the drawing of the largest picture.
QString typeIconSvg(Type type, const QString& title) {
  Svg svg(256, title);
  SvgCanvas canvas(svg);
  drawTypeIcon(canvas, type, 256);
  return svg.text();
}

}  // namespace

void writeTypeIcons(const QString& root) {
  const struct {
    Type type;
    const char* name;
    const char* title;
  } types[] = {{Type::Plateau, "plateau", "Plateau de Glissaro"},
               {Type::Sequence, "sequence", "S\u00e9quence de Glissaro"},
               {Type::Paquet, "paquet", "Paquet de plateaux de Glissaro"}};
  const QString dir = root + "/data/icones/types/";
  for (const auto& t : types) {
    for (int size : {16, 32, 48, 64, 128, 256, 512})
      savePng(typeIcon(t.type, size),
              dir + QString("application-x-glissaro-%1-%2.png").arg(t.name).arg(size));
    saveUtf8(typeIconSvg(t.type, QString::fromUtf8(t.title)),
             dir + QString("application-x-glissaro-%1.svg").arg(t.name));
  }
}

}  // namespace art
