// The default skin: a graphite console with amber displays.
#include "io.h"
#include "panel.h"
#include "quantize.h"
#include "replay.h"
#include "relief.h"
#include "skins.h"
#include "strips.h"
#include "tiles.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace art {

namespace {

constexpr QSize kPanel(364, 139);  // design units, the 1x picture's pixels
constexpr int kSs = 4;             // grid cells per output pixel

const QColor kBodyTop(0x66, 0x75, 0x8c);
const QColor kBodyMid(0x4a, 0x56, 0x6a);
const QColor kBodyBottom(0x31, 0x3a, 0x49);
const QColor kBezel(0x24, 0x2b, 0x36);
const QColor kLcd(0x0f, 0x15, 0x1c);
const QColor kTroughColour(0x2e, 0x36, 0x44);
const QColor kCream(0xf0, 0xec, 0xe2);
const QColor kAmber(0xff, 0xb4, 0x3a);
const QColor kWood(0xd0, 0x92, 0x52);
const QColor kCrimson(0xc9, 0x33, 0x3c);

Sdf outline() {
  const Sdf body = sdfRoundedBox(QRectF(1, 12, 362, 88), 30);
  const Sdf ear = sdfRoundedBox(QRectF(302, 0, 62, 54), 20);
  const Sdf pod = sdfRoundedBox(QRectF(86, 68, 240, 70), 24);
  return sdfSmoothUnion(sdfSmoothUnion(body, ear, 12), pod, 14);
}

// Display wells: the outer shape, and the flat area the glyphs are copied on.
const QRectF kCounterWell(56, 54, 72, 32);
const QRectF kTitleWell(143, 55, 212, 33);
constexpr float kWellRadius = 7, kWellBevel = 3;
const QRectF kTroughRect(99, 100, 216, 32);

Sdf wellFlat(const QRectF& well) {
  return sdfRoundedBox(well.adjusted(kWellBevel, kWellBevel, -kWellBevel, -kWellBevel),
                       kWellRadius - kWellBevel);
}

struct Button {
  QRect area;
  Icon icon;
  bool quit = false;
};

const std::vector<Button>& buttons() {
  static const std::vector<Button> list = {
      {QRect(322, 5, 18, 20), Icon::Minimise},
      {QRect(340, 23, 14, 16), Icon::Close, true},
      {QRect(107, 105, 19, 20), Icon::Gear},
      {QRect(152, 105, 20, 19), Icon::Folder},
      {QRect(196, 106, 23, 20), Icon::Restart},
      {QRect(287, 107, 20, 18), Icon::Help},
      {QRect(242, 107, 21, 19), Icon::Back},
  };
  return list;
}

KeyLook keyLook() {
  KeyLook k;
  k.faceTop = QColor(0x86, 0x94, 0xa9);
  k.faceBottom = QColor(0x5c, 0x68, 0x7c);
  k.hoverTop = QColor(0x97, 0xa5, 0xba);
  k.hoverBottom = QColor(0x68, 0x75, 0x8a);
  k.pressedTop = QColor(0x46, 0x51, 0x62);
  k.pressedBottom = QColor(0x56, 0x62, 0x75);
  k.icon = kCream;
  k.iconHover = QColor(0xff, 0xc4, 0x55);
  k.iconPressed = QColor(0xff, 0xb0, 0x38);
  k.iconShadow = QColor(0x2a, 0x31, 0x3d, 200);
  k.glow = QColor(0xff, 0x9e, 0x22, 200);
  k.height = 2.0f;
  k.bevel = 1.8f;
  k.radius = 4.5f;
  k.gloss = 0.7f;
  return k;
}

void paintBody(Relief& r, const Sdf& shape) {
  {
    DesignPainter p(r.albedo(), r.ss());
    QLinearGradient g(0, 0, 0, kPanel.height());
    g.setColorAt(0, kBodyTop);
    g.setColorAt(0.5, kBodyMid);
    g.setColorAt(1, kBodyBottom);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(kPanel)), g);
  }
  // Fine brushed grain, and a dark line along the outer edge.
  QImage& a = r.albedo();
  for (int y = 0; y < r.gridH(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(a.scanLine(y));
    for (int x = 0; x < r.gridW(); ++x) {
      const float fx = r.gx(x), fy = r.gy(y);
      float k = 1 + 0.035f * (fbm(fx * 0.04f, fy * 1.3f, 4096, 3, 11) - 0.5f);
      const float d = -shape(fx, fy);
      if (d < 1.4f) k *= 0.45f + 0.55f * std::clamp(d / 1.4f, 0.f, 1.f);
      const QRgb c = line[x];
      line[x] = qRgb(std::min(255, int(qRed(c) * k)), std::min(255, int(qGreen(c) * k)),
                     std::min(255, int(qBlue(c) * k)));
    }
  }
  r.raise(shape, 4.f, 6.f, Profile::Round);
  r.setGloss(shape, 0.35f);
}

void paintWell(Relief& r, const QRectF& well) {
  const Sdf outer = sdfRoundedBox(well, kWellRadius);
  const Sdf lip = sdfRoundedBox(well.adjusted(-2.5, -2.5, 2.5, 2.5), kWellRadius + 2.5f);
  r.raise(lip, 0.8f, 1.5f, Profile::Round);
  r.levelTo(outer, 1.6f, kWellBevel, Profile::Round);
  r.noShadowIn(outer);
  r.setGloss(outer, 0.9f);
  DesignPainter p(r.albedo(), r.ss());
  QPainterPath path;
  path.addRoundedRect(well, kWellRadius, kWellRadius);
  p.fillPath(path, kBezel);
  QPainterPath flat;
  const QRectF f = well.adjusted(kWellBevel, kWellBevel, -kWellBevel, -kWellBevel);
  flat.addRoundedRect(f, kWellRadius - kWellBevel, kWellRadius - kWellBevel);
  p.fillPath(flat, kLcd);
}

void paintEmblem(Relief& r, QPointF at) {
  // A tiny board: a two-cell wooden piece, a red master block and the
  // target it is about to reach.
  const QRectF socket(at, QSizeF(28, 28));
  r.levelTo(sdfRoundedBox(socket, 6), 2.6f, 1.6f, Profile::Round);
  r.noShadowIn(sdfRoundedBox(socket.adjusted(2, 2, -2, -2), 4));
  const QRectF wood(at + QPointF(2.5, 2.5), QSizeF(10.5, 23));
  const QRectF red(at + QPointF(15, 15), QSizeF(10.5, 10.5));
  const QPointF target = at + QPointF(20.25, 7.75);
  r.levelTo(sdfRoundedBox(wood, 3), 4.4f, 1.4f, Profile::Round);
  r.levelTo(sdfRoundedBox(red, 3), 4.4f, 1.4f, Profile::Round);
  r.setGloss(sdfRoundedBox(red, 3), 1.0f);
  DesignPainter p(r.albedo(), r.ss());
  QPainterPath s;
  s.addRoundedRect(socket, 6, 6);
  p.fillPath(s, QColor(0x27, 0x2e, 0x39));
  QPainterPath w;
  w.addRoundedRect(wood, 3, 3);
  QLinearGradient gw(wood.topLeft(), wood.bottomRight());
  gw.setColorAt(0, kWood.lighter(112));
  gw.setColorAt(1, kWood.darker(112));
  p.fillPath(w, gw);
  QPainterPath m;
  m.addRoundedRect(red, 3, 3);
  p.fillPath(m, kCrimson);
  p.setPen(QPen(kCrimson.lighter(125), 1.1));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(target, 3.0, 3.0);
  p.setPen(Qt::NoPen);
  p.setBrush(kCrimson.lighter(125));
  p.drawEllipse(target, 0.9, 0.9);
}

void paintWordmark(Relief& r) {
  const QPainterPath text =
      textPath(QStringLiteral("Glissaro"), Face::SansBold, 25, QPointF(57, 42.5), 0.3, r.scale());
  {
    DesignPainter p(r.albedo(), r.ss());
    p.fillPath(text, kCream);
  }
  r.raisePath(text, 1.0f, 0.9f, Profile::Round);
  // Slanted vents on the right of the name.
  QPainterPath vents;
  for (int i = 0; i < 7; ++i) {
    QPainterPath l;
    l.moveTo(220 + i * 11 + 6, 23);
    l.lineTo(220 + i * 11, 41);
    QPainterPathStroker st;
    st.setWidth(3.2);
    st.setCapStyle(Qt::RoundCap);
    vents.addPath(st.createStroke(l));
  }
  vents = vents.simplified();
  {
    DesignPainter p(r.albedo(), r.ss());
    p.fillPath(vents, QColor(0x1f, 0x25, 0x2f));
  }
  r.raisePath(vents, -1.6f, 1.2f, Profile::Round);
}

QImage renderPanel(KeyState state, int scale) {
  Relief r(kPanel.width(), kPanel.height(), kSs, scale);
  const Sdf shape = outline();
  paintBody(r, shape);
  paintWell(r, kCounterWell);
  paintWell(r, kTitleWell);

  // The button trough along the bottom.
  const Sdf trough = sdfRoundedBox(kTroughRect, 15);
  r.levelTo(trough, 2.4f, 2.5f, Profile::Round);
  {
    DesignPainter p(r.albedo(), r.ss());
    QPainterPath t;
    t.addRoundedRect(kTroughRect, 15, 15);
    QLinearGradient g(kTroughRect.topLeft(), kTroughRect.bottomLeft());
    g.setColorAt(0, kTroughColour.darker(115));
    g.setColorAt(1, kTroughColour.lighter(108));
    p.fillPath(t, g);
  }

  paintEmblem(r, QPointF(20, 17));
  paintWordmark(r);

  const KeyLook look = keyLook();
  // The quit key wears a brick-red cap.
  KeyLook quitLook = look;
  quitLook.faceTop = QColor(0xb8, 0x55, 0x4c);
  quitLook.faceBottom = QColor(0x8a, 0x36, 0x30);
  quitLook.hoverTop = QColor(0xd2, 0x63, 0x57);
  quitLook.hoverBottom = QColor(0x9e, 0x3e, 0x36);
  quitLook.pressedTop = QColor(0x6e, 0x2a, 0x26);
  quitLook.pressedBottom = QColor(0x82, 0x34, 0x2e);
  quitLook.iconPressed = QColor(0xff, 0xd0, 0xc0);
  for (const Button& b : buttons()) {
    KeySpec k;
    k.area = b.area;
    k.icon = b.icon;
    k.face = QRectF(b.area).adjusted(0.5, 0.5, -1.5, -1.5);
    k.iconInset = b.area.width() < 16 ? 2.4f : 2.2f;
    if (b.quit) {
      k.glow = QColor(0xff, 0x5a, 0x40, 200);
      k.iconHover = QColor(0xff, 0xf4, 0xe8);
    }
    const bool onBody = b.area.y() < 60;
    drawKey(r, k, b.quit ? quitLook : look, state, onBody ? 4.f : 2.4f);
  }

  Light light;
  light.shadowReach = 5;
  QImage img = r.render(light);
  flattenWell(img, wellFlat(kCounterWell), kLcd, scale);
  flattenWell(img, wellFlat(kTitleWell), kLcd, scale);
  return img;
}

StripStyle lcdStyle() {
  StripStyle s;
  s.background = kLcd;
  s.ink = kAmber;
  s.ghost = QColor(0x1c, 0x24, 0x2d);
  s.glow = QColor(0xff, 0x8c, 0x10, 90);
  s.glowRadius = 0.9f;
  s.digitCell = QSize(15, 21);
  s.sevenSegment = true;
  s.digitBox = QRectF(2.3, 2.0, 9.4, 17.0);
  s.segment.thickness = 2.3f;
  s.segment.gap = 0.4f;
  s.segment.slant = 0.09f;
  s.textCell = QSize(13, 20);
  s.textFace = Face::SansBold;
  s.textPixels = 15.5;
  s.textBaseline = 15.5;
  s.maxInkWidth = 11.6;
  return s;
}

TileStyle tileStyle() {
  TileStyle t;
  t.tile = 32;
  t.margin = 0.05f;
  t.floor = QColor(0xcd, 0xd2, 0xd9);
  t.floorNoise = 0.025f;
  t.target = QColor(0xc4, 0x2e, 0x38);
  t.targetTint = QColor(0xe6, 0xc3, 0xc4);

  Material& wood = t.normal;
  wood.light = QColor(0xe2, 0xae, 0x72);
  wood.base = QColor(0xcc, 0x8e, 0x50);
  wood.dark = QColor(0x9a, 0x5e, 0x2c);
  wood.texture = Texture::Grain;
  wood.gloss = 0.35f;
  wood.height = 3.f;
  wood.bevel = 0.15f;
  wood.radius = 0.22f;
  wood.seed = 21;

  Material& master = t.master;
  master.light = QColor(0xe8, 0x5a, 0x60);
  master.base = QColor(0xc8, 0x2e, 0x38);
  master.dark = QColor(0x8c, 0x18, 0x22);
  master.texture = Texture::Lacquer;
  master.gloss = 1.0f;
  master.height = 3.f;
  master.bevel = 0.17f;
  master.radius = 0.24f;
  master.ornament = Ornament::Stud;
  master.ornamentColour = QColor(0xf2, 0xc1, 0x4e);
  master.seed = 33;

  Material& stone = t.border;
  stone.light = QColor(0x6b, 0x75, 0x86);
  stone.base = QColor(0x4b, 0x54, 0x63);
  stone.dark = QColor(0x33, 0x3a, 0x46);
  stone.texture = Texture::Stone;
  stone.gloss = 0.15f;
  stone.height = 3.4f;
  stone.bevel = 0.14f;
  stone.radius = 0.12f;
  stone.profile = Profile::Linear;
  stone.seed = 45;

  t.doorRecess = QColor(0x1a, 0x1e, 0x26);
  t.doorBars = QColor(0x9c, 0xa6, 0xb5);
  t.doorGlow = QColor(0xff, 0xa8, 0x30, 235);
  t.doorRivets = QColor(0xe8, 0xb4, 0x48);
  return t;
}

}  // namespace

void writeGlissaroTiles(const QString& root) {
  for (int scale : kScales)
    saveBmp24(piecesPicture(tileStyle(), scale),
              atScale(root + "/data/skins/Glissaro/pieces.bmp", scale));
}

void writeGlissaroPanel(const QString& root) {
  const QString dir = root + "/resources/skin/bmp/";
  std::vector<QRect> areas;
  for (const Button& b : buttons()) areas.push_back(b.area);
  const std::vector<QRect> displays = {
      QRect(150, 62, 198, 19),  // title display
      QRect(62, 60, 61, 23),    // move counter
  };
  std::vector<QRect> all = areas;
  all.insert(all.end(), displays.begin(), displays.end());
  const StripStyle lcd = lcdStyle();

  for (int scale : kScales) {
    const PanelSet set = composePanel(
        outline(), kPanel, areas, [scale](KeyState s) { return renderPanel(s, scale); },
        "GLISSARO", scale);
    if (!checkInsideMask(set.mask, all, "GLISSARO", scale)) std::exit(1);
    checkFlat(set.rest, displays, kLcd, "GLISSARO", scale);

    const std::vector<QImage> indexed =
        toIndexed8({set.rest, set.pressed, set.hover}, {qRgb(255, 255, 255), kLcd.rgb()});
    saveMonoMask(set.mask, atScale(dir + "GLISSAROMASK.bmp", scale));
    saveBmpIndexed(indexed[0], atScale(dir + "GLISSARODOWN.bmp", scale));
    saveBmpIndexed(indexed[1], atScale(dir + "GLISSAROUP.bmp", scale));
    saveBmpIndexed(indexed[2], atScale(dir + "GLISSAROOVER.bmp", scale));

    const QImage numbers = numberStrip(lcd, scale);
    const QImage text = textStrip(lcd, 10, scale);
    saveBmpIndexed(toIndexed8({numbers}, {kLcd.rgb()})[0], atScale(dir + "NUMBERS.bmp", scale));
    saveBmpIndexed(toIndexed8({text}, {kLcd.rgb()})[0], atScale(dir + "TEXT.bmp", scale));
  }
}

void writeBuiltInReplayButtons(const QString& root) {
  ReplayStyle st;
  st.look = keyLook();
  st.look.radius = 6.5f;
  st.look.height = 2.6f;
  st.look.bevel = 2.6f;
  st.iconInset = 4.6f;
  st.shadow = QColor(0x1c, 0x24, 0x30, 110);
  for (int scale : kScales) {
    saveBmp24(replayStrip(st, false, scale),
              atScale(root + "/resources/magneto/magnetoOff.bmp", scale));
    saveBmp24(replayStrip(st, true, scale),
              atScale(root + "/resources/magneto/magnetoOn.bmp", scale));
  }
}

}  // namespace art
