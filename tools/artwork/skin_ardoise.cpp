// The "Ardoise" skin: a school slate in an oak frame, written on in chalk,
// with wooden push pegs on its ledge.
#include "io.h"
#include "panel.h"
#include "relief.h"
#include "replay.h"
#include "skins.h"
#include "strips.h"
#include "tiles.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace art {

namespace {

constexpr QSize kPanel(200, 300);  // design units, the 1x picture's pixels
constexpr int kSs = 4;             // grid cells per output pixel

const QColor kSlate(0x2d, 0x37, 0x35);
const QColor kChalk(0xee, 0xeb, 0xe1);
const QColor kChalkWarm(0xf4, 0xb4, 0x8a);

const QRectF kFrame(2, 14, 196, 284);
const QRectF kTab(70, 0, 60, 36);
const QPointF kHole(100, 12.5);
const QRectF kSlateArea(16, 38, 168, 204);
const QRectF kTray(22, 246, 156, 7);

// Display boxes drawn in chalk, and where their glyphs go.
const QRectF kTitleBox(22, 105, 156, 27);
const QPoint kTitleAt(28, 110);
constexpr QSize kTitleSize(144, 16);
const QRectF kCounterBox(52, 160, 96, 42);
const QPoint kCounterAt(60, 166);
constexpr QSize kCounterSize(80, 30);

constexpr QSize kDigitCell(20, 30);
constexpr QSize kTextCell(10, 16);

Sdf outline() {
  const Sdf frame = sdfRoundedBox(kFrame, 16);
  const Sdf tab = sdfRoundedBox(kTab, 18);
  return sdfSubtract(sdfSmoothUnion(frame, tab, 10), sdfCircle(kHole, 5.5f));
}

struct Button {
  const char* id;
  QRect area;
  Icon icon;
  const char* hint;
};

// Hints are in the Windows code page: \xe9 is e acute, \xe8 e grave.
const std::vector<Button>& buttons() {
  static const std::vector<Button> list = {
      {"REDUIRE", QRect(144, 18, 17, 17), Icon::Minimise, "R\xe9" "duire"},
      {"QUITTER", QRect(164, 18, 17, 17), Icon::Close, "Quitter"},
      {"PARAM", QRect(22, 257, 28, 28), Icon::Gear, "Param\xe8tres"},
      {"CHARGER", QRect(54, 257, 28, 28), Icon::Folder, "Charger un plateau"},
      {"RAZ", QRect(86, 257, 28, 28), Icon::Restart, "Recommencer"},
      {"AIDE", QRect(150, 257, 28, 28), Icon::Help, "Aide"},
      {"RETOUR", QRect(118, 257, 28, 28), Icon::Back, "Magn\xe9toscope"},
  };
  return list;
}

Material oak() {
  Material m;
  m.light = QColor(0xc8, 0x93, 0x5c);
  m.base = QColor(0xa8, 0x74, 0x40);
  m.dark = QColor(0x73, 0x4a, 0x24);
  m.texture = Texture::Grain;
  m.seed = 5;
  return m;
}

KeyLook pegLook() {
  KeyLook k;
  k.faceTop = QColor(0xe4, 0xc0, 0x8a);
  k.faceBottom = QColor(0xb8, 0x8a, 0x55);
  k.hoverTop = QColor(0xf0, 0xcf, 0x9a);
  k.hoverBottom = QColor(0xc6, 0x98, 0x62);
  k.pressedTop = QColor(0xa2, 0x76, 0x45);
  k.pressedBottom = QColor(0xb6, 0x88, 0x55);
  k.icon = QColor(0x4e, 0x30, 0x18);
  k.iconHover = QColor(0xc2, 0x4a, 0x1a);
  k.iconPressed = QColor(0x3a, 0x22, 0x10);
  k.glow = QColor(0xff, 0x7a, 0x20, 150);
  k.height = 2.6f;
  k.bevel = 3.0f;
  k.gloss = 0.45f;
  k.round = true;
  return k;
}

KeyLook brassLook() {
  KeyLook k = pegLook();
  k.faceTop = QColor(0xec, 0xcf, 0x7c);
  k.faceBottom = QColor(0xa8, 0x80, 0x32);
  k.hoverTop = QColor(0xf8, 0xe0, 0x94);
  k.hoverBottom = QColor(0xbc, 0x92, 0x40);
  k.pressedTop = QColor(0x96, 0x70, 0x2a);
  k.pressedBottom = QColor(0xb0, 0x88, 0x3a);
  k.icon = QColor(0x4a, 0x34, 0x10);
  k.iconHover = QColor(0x7a, 0x2a, 0x08);
  k.height = 1.8f;
  k.bevel = 2.2f;
  k.gloss = 1.0f;
  return k;
}

// Chalk: the colour laid over the albedo through a grainy, broken coverage.
void chalk(Relief& r, const QPainterPath& path, QColor colour, float strength, uint32_t seed) {
  const Field cov = coverage(path, r.gridW(), r.gridH(), r.ss());
  QImage& a = r.albedo();
  for (int y = 0; y < r.gridH(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(a.scanLine(y));
    for (int x = 0; x < r.gridW(); ++x) {
      float c = cov.at(x, y);
      if (c <= 0) continue;
      const float gx = r.gx(x), gy = r.gy(y);
      const float grain = fbm(gx * 0.9f, gy * 0.9f, 4096, 3, seed);
      const float speck = hashUnit(int(gx * 2), int(gy * 2), seed + 7);
      c *= strength * std::clamp(0.3f + 0.95f * grain, 0.f, 1.f) * (speck < 0.1f ? 0.4f : 1.f);
      const QRgb p = line[x];
      line[x] = qRgb(int(qRed(p) + (colour.red() - qRed(p)) * c),
                     int(qGreen(p) + (colour.green() - qGreen(p)) * c),
                     int(qBlue(p) + (colour.blue() - qBlue(p)) * c));
    }
  }
}

// A slightly wavering hand-drawn line through the given points.
QPainterPath handLine(const QList<QPointF>& pts, uint32_t seed, float wobble = 0.45f) {
  QPainterPath p;
  int n = 0;
  for (qsizetype i = 0; i + 1 < pts.size(); ++i) {
    const QPointF a = pts[i], b = pts[i + 1];
    const QPointF d = b - a;
    const qreal len = std::hypot(d.x(), d.y());
    const QPointF normal(-d.y() / len, d.x() / len);
    const int steps = std::max(2, int(len / 3));
    for (int s = 0; s <= steps; ++s) {
      if (i > 0 && s == 0) continue;
      const float off = wobble * (2 * valueNoise(n * 0.35f, 0.5f, 4096, seed) - 1);
      const QPointF q = a + d * (qreal(s) / steps) + normal * off;
      if (n++ == 0)
        p.moveTo(q);
      else
        p.lineTo(q);
    }
  }
  QPainterPathStroker st;
  st.setWidth(1.35);
  st.setCapStyle(Qt::RoundCap);
  st.setJoinStyle(Qt::RoundJoin);
  return st.createStroke(p);
}

QPainterPath handBox(const QRectF& b, uint32_t seed) {
  // Drawn in one stroke, overshooting a little where it closes.
  return handLine({b.topLeft() + QPointF(-1.5, 0.3), b.topRight(), b.bottomRight(), b.bottomLeft(),
                   b.topLeft() + QPointF(0.3, -1.2)},
                  seed);
}

void paintFrame(Relief& r, const Sdf& shape) {
  const Material wood = oak();
  Material stile = wood;
  stile.texture = Texture::Plank;
  QImage& a = r.albedo();
  for (int y = 0; y < r.gridH(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(a.scanLine(y));
    for (int x = 0; x < r.gridW(); ++x) {
      const float fx = r.gx(x), fy = r.gy(y);
      const bool rail = fx > kSlateArea.left() && fx < kSlateArea.right();
      // Rails run across, stiles run down the full height.
      const QRgb c = rail ? materialAt(wood, fx / 52, fy / 52) : materialAt(stile, fx / 52, fy / 52 + 0.21f);
      float k = 1;
      const float d = -shape(fx, fy);
      if (d < 1.2f) k *= 0.5f + 0.5f * std::clamp(d / 1.2f, 0.f, 1.f);
      const float seam = std::min(std::abs(fx - float(kSlateArea.left())),
                                  std::abs(fx - float(kSlateArea.right())));
      if (seam < 0.4f && (fy < kSlateArea.top() || fy > kSlateArea.bottom())) k *= 0.6f;
      line[x] = qRgb(int(qRed(c) * k), int(qGreen(c) * k), int(qBlue(c) * k));
    }
  }
  r.raise(shape, 5.f, 5.f, Profile::Round);
  r.setGloss(shape, 0.3f);
}

void paintSlate(Relief& r) {
  const Sdf slate = sdfRoundedBox(kSlateArea, 5);
  r.levelTo(slate, 2.f, 1.6f, Profile::Round);
  r.setGloss(slate, 0.12f);
  DesignPainter p(r.albedo(), r.ss());
  QPainterPath s;
  s.addRoundedRect(kSlateArea, 5, 5);
  p.fillPath(s, kSlate);
  // Faint traces of earlier wiping, away from the displays.
  p.setClipPath(s);
  for (const QRectF& e : {QRectF(30, 44, 150, 46), QRectF(40, 208, 120, 30)}) {
    QRadialGradient g(e.center(), e.width() / 2);
    g.setColorAt(0, QColor(255, 255, 255, 10));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(e);
  }
}

void paintWriting(Relief& r) {
  const int detail = r.scale();
  chalk(r, textPath(QStringLiteral("Glissaro"), Face::SansBold, 27, QPointF(37, 72), 0.4, detail),
        kChalk, 0.95f, 3);
  QPainterPath swoosh = handLine({QPointF(40, 80), QPointF(100, 78.5), QPointF(160, 80.5)}, 9, 0.3f);
  chalk(r, swoosh, kChalkWarm, 0.8f, 4);
  chalk(r, textPath(QStringLiteral("plateau"), Face::Sans, 10.5, QPointF(24, 100), 0, detail),
        kChalk, 0.7f, 5);
  chalk(r, textPath(QStringLiteral("coups"), Face::Sans, 10.5, QPointF(54, 155), 0, detail),
        kChalk, 0.7f, 6);
  chalk(r, handBox(kTitleBox, 11), kChalk, 0.8f, 7);
  chalk(r, handBox(kCounterBox, 12), kChalk, 0.8f, 8);

  // A little sketch: a two-cell piece sliding onto its place.
  chalk(r, handBox(QRectF(56, 214, 30, 15), 13), kChalkWarm, 0.85f, 9);
  chalk(r, handLine({QPointF(93, 221.5), QPointF(111, 221.5)}, 14, 0.25f), kChalk, 0.8f, 10);
  chalk(r, handLine({QPointF(106, 217.5), QPointF(111.5, 221.5), QPointF(106, 225.5)}, 15, 0.2f),
        kChalk, 0.8f, 10);
  QPainterPath dashes;
  const QRectF place(118, 214, 30, 15);
  for (int i = 0; i < 5; ++i) {
    const qreal x = place.left() + i * 6.5;
    dashes.addPath(handLine({QPointF(x, place.top()), QPointF(std::min(x + 3.5, place.right()), place.top())}, 20 + i, 0.15f));
    dashes.addPath(handLine({QPointF(x, place.bottom()), QPointF(std::min(x + 3.5, place.right()), place.bottom())}, 30 + i, 0.15f));
  }
  for (int i = 0; i < 2; ++i) {
    const qreal y = place.top() + i * 8.5;
    dashes.addPath(handLine({QPointF(place.left(), y), QPointF(place.left(), y + 4)}, 40 + i, 0.15f));
    dashes.addPath(handLine({QPointF(place.right(), y), QPointF(place.right(), y + 4)}, 50 + i, 0.15f));
  }
  chalk(r, dashes, kChalk, 0.7f, 11);
}

void paintLedge(Relief& r) {
  const Sdf tray = sdfRoundedBox(kTray, 3.5f);
  r.levelTo(tray, 3.4f, 1.4f, Profile::Round);
  const QRectF stick(121, 247.2, 30, 4.6);
  const Sdf stickShape = sdfRoundedBox(stick, 2.3f);
  r.levelTo(stickShape, 5.4f, 2.0f, Profile::Cove);
  r.setGloss(stickShape, 0.1f);
  DesignPainter p(r.albedo(), r.ss());
  QPainterPath t;
  t.addRoundedRect(kTray, 3.5, 3.5);
  p.fillPath(t, QColor(0x6e, 0x48, 0x26));
  QPainterPath s;
  s.addRoundedRect(stick, 2.3, 2.3);
  p.fillPath(s, QColor(0xf2, 0xef, 0xe6));
}

QImage renderPanel(KeyState state, int scale) {
  Relief r(kPanel.width(), kPanel.height(), kSs, scale);
  const Sdf shape = outline();
  paintFrame(r, shape);
  paintSlate(r);
  paintWriting(r);
  paintLedge(r);

  const KeyLook peg = pegLook();
  const KeyLook brass = brassLook();
  for (const Button& b : buttons()) {
    KeySpec k;
    k.area = b.area;
    k.icon = b.icon;
    k.face = QRectF(b.area).adjusted(0.5, 0.5, -1.5, -1.5);
    const bool small = b.area.width() < 20;
    k.iconInset = small ? 3.6f : 6.f;
    if (b.icon == Icon::Close) {
      k.glow = QColor(0xff, 0x40, 0x20, 170);
      k.iconHover = QColor(0xb0, 0x10, 0x08);
    }
    drawKey(r, k, small ? brass : peg, state, 5.f);
  }

  Light light;
  light.shadowReach = 5;
  QImage img = r.render(light);
  flattenWell(img, sdfRoundedBox(kTitleBox.adjusted(2, 2, -2, -2), 1), kSlate, scale);
  flattenWell(img, sdfRoundedBox(kCounterBox.adjusted(2, 2, -2, -2), 1), kSlate, scale);
  return img;
}

StripStyle chalkStyle() {
  StripStyle s;
  s.background = kSlate;
  s.ink = kChalk;
  s.glow = QColor(0xff, 0xff, 0xff, 22);
  s.glowRadius = 1.0f;
  s.chalk = 0.55f;
  s.seed = 17;
  s.digitCell = kDigitCell;
  s.sevenSegment = false;
  s.digitFace = Face::SansBold;
  s.digitPixels = 25;
  s.digitBaseline = 24.5;
  s.textCell = kTextCell;
  s.textFace = Face::CondensedBold;
  s.textPixels = 13;
  s.textBaseline = 12.5;
  s.maxInkWidth = 9.0;
  return s;
}

TileStyle tileStyle() {
  TileStyle t;
  t.tile = 24;
  t.margin = 0.06f;
  t.floor = QColor(0x3a, 0x45, 0x43);
  t.floorNoise = 0.045f;
  t.target = QColor(0xf2, 0x9a, 0x68);
  t.targetTint = QColor(0x55, 0x62, 0x5e);

  Material& ivory = t.normal;
  ivory.light = QColor(0xfa, 0xf4, 0xe6);
  ivory.base = QColor(0xe6, 0xdc, 0xc4);
  ivory.dark = QColor(0xcc, 0xbf, 0xa2);
  ivory.texture = Texture::Ceramic;
  ivory.gloss = 0.9f;
  ivory.height = 2.8f;
  ivory.bevel = 0.22f;
  ivory.radius = 0.3f;
  ivory.profile = Profile::Smooth;
  ivory.seed = 61;

  Material& coral = t.master;
  coral.light = QColor(0xff, 0x9c, 0x6a);
  coral.base = QColor(0xe4, 0x66, 0x38);
  coral.dark = QColor(0xb4, 0x44, 0x1e);
  coral.texture = Texture::Lacquer;
  coral.gloss = 1.0f;
  coral.height = 2.8f;
  coral.bevel = 0.22f;
  coral.radius = 0.3f;
  coral.profile = Profile::Smooth;
  coral.ornament = Ornament::Ring;
  coral.ornamentColour = QColor(0xfb, 0xe8, 0xd4);
  coral.seed = 62;

  Material& wood = t.border;
  wood = oak();
  wood.light = QColor(0x9a, 0x68, 0x3c);
  wood.base = QColor(0x74, 0x4a, 0x27);
  wood.dark = QColor(0x4c, 0x2e, 0x16);
  wood.texture = Texture::Plank;
  wood.textureStrength = 0.6f;
  wood.gloss = 0.25f;
  wood.height = 3.2f;
  wood.bevel = 0.14f;
  wood.radius = 0.1f;
  wood.seed = 63;

  t.doorRecess = QColor(0x16, 0x11, 0x0d);
  t.doorBars = QColor(0xa8, 0xac, 0xb4);
  t.doorGlow = QColor(0xff, 0xb0, 0x40, 235);
  t.doorRivets = QColor(0xd8, 0xa8, 0x48);
  return t;
}

QString skinIni() {
  QString s;
  s += "[VERSION]\nVer=210\n";
  s += "[BITMAPINFO]\n";
  s += "MaskBitmap=ardoise_masque.bmp\n";
  s += "MouseUpBitmap=ardoise_repos.bmp\n";
  s += "MouseDownBitmap=ardoise_appui.bmp\n";
  s += "MouseOnBitmap=ardoise_survol.bmp\n";
  s += "NumbersBitmap=ardoise_chiffres.bmp\n";
  s += "TextBitmap=ardoise_texte.bmp\n";
  s += "[HOTAREAINFO]\n";
  s += QString("Count=%1\n").arg(buttons().size());
  int n = 1;
  for (const Button& b : buttons())
    s += QString("%1=%2, %3, %4, %5, %6, %7\n")
             .arg(n++)
             .arg(QLatin1String(b.id))
             .arg(b.area.x())
             .arg(b.area.y())
             .arg(b.area.width())
             .arg(b.area.height())
             .arg(QString::fromLatin1(b.hint));
  s += "[DISPLAYINFO]\nCount=2\n";
  s += QString("1=TEXT_TITRE, Arial, FALSE, FALSE, 8, $000000, %1, %2, Text, Version 1.00, "
               "Titre, %3, %4\n")
           .arg(kTitleAt.x())
           .arg(kTitleAt.y())
           .arg(kTitleSize.width())
           .arg(kTitleSize.height());
  s += QString("2=TEXT_CPT, Arial, FALSE, FALSE, 8, $000000, %1, %2, Number, 0000, Compteur, "
               "%3, %4\n")
           .arg(kCounterAt.x())
           .arg(kCounterAt.y())
           .arg(kCounterSize.width())
           .arg(kCounterSize.height());
  s += "Charset=1\n";
  s += "[TRACKBARINFO]\nCount=0\n";
  return s;
}

}  // namespace

void writeArdoiseSkin(const QString& root) {
  const QString dir = root + "/data/skins/Ardoise/";
  std::vector<QRect> areas;
  for (const Button& b : buttons()) areas.push_back(b.area);
  const std::vector<QRect> displays = {QRect(kTitleAt, kTitleSize), QRect(kCounterAt, kCounterSize)};
  std::vector<QRect> all = areas;
  all.insert(all.end(), displays.begin(), displays.end());
  const StripStyle st = chalkStyle();
  ReplayStyle replay;
  replay.look = pegLook();
  replay.iconInset = 5.4f;
  replay.shadow = QColor(0x3a, 0x26, 0x12, 110);

  for (int scale : kScales) {
    const PanelSet set = composePanel(
        outline(), kPanel, areas, [scale](KeyState s) { return renderPanel(s, scale); },
        "Ardoise", scale);
    if (!checkInsideMask(set.mask, all, "Ardoise", scale)) std::exit(1);
    checkFlat(set.rest, displays, kSlate, "Ardoise", scale);
    saveMonoMask(set.mask, atScale(dir + "ardoise_masque.bmp", scale));
    saveBmp24(set.rest, atScale(dir + "ardoise_repos.bmp", scale));
    saveBmp24(set.pressed, atScale(dir + "ardoise_appui.bmp", scale));
    saveBmp24(set.hover, atScale(dir + "ardoise_survol.bmp", scale));

    saveBmp24(numberStrip(st, scale), atScale(dir + "ardoise_chiffres.bmp", scale));
    saveBmp24(textStrip(st, 0, scale), atScale(dir + "ardoise_texte.bmp", scale));
    // The description keeps the 1x coordinates: the game doubles them.
    if (scale == 1) saveWindowsText(skinIni(), dir + "skin.ini");

    saveBmp24(piecesPicture(tileStyle(), scale), atScale(dir + "pieces.bmp", scale));

    saveBmp24(replayStrip(replay, false, scale), atScale(dir + "magnetoOff.bmp", scale));
    saveBmp24(replayStrip(replay, true, scale), atScale(dir + "magnetoOn.bmp", scale));
  }
}

}  // namespace art
