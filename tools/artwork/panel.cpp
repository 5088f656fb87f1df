#include "panel.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace art {

QRect scaled(const QRect& r, int scale) {
  return QRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
}

QImage monoMask(const Sdf& outline, QSize size, int scale) {
  const QSize out = size * scale;
  const float k = float(scale);
  QImage m(out, QImage::Format_Mono);
  m.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  m.fill(0);  // also clears the row padding, which is written to the file
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x)
      m.setPixel(x, y, outline((x + 0.5f) / k, (y + 0.5f) / k) < 0 ? 1 : 0);
  return m;
}

PanelSet composePanel(const Sdf& outline, QSize size, const std::vector<QRect>& designAreas,
                      const std::function<QImage(KeyState)>& render, const char* name,
                      int scale) {
  const QSize out = size * scale;
  std::vector<QRect> areas;
  for (const QRect& r : designAreas) areas.push_back(scaled(r, scale));
  const QString label = scale == 1 ? QString::fromLatin1(name)
                                   : QString("%1 (%2x)").arg(QLatin1String(name)).arg(scale);

  PanelSet set;
  set.mask = monoMask(outline, size, scale);
  set.rest = render(KeyState::Rest).convertToFormat(QImage::Format_RGB32);
  if (set.rest.size() != out) {
    std::fprintf(stderr, "%s: drawn at %dx%d instead of %dx%d\n", qPrintable(label),
                 set.rest.width(), set.rest.height(), out.width(), out.height());
    std::exit(1);
  }

  auto compose = [&](KeyState state, const char* stateName) {
    const QImage full = render(state).convertToFormat(QImage::Format_RGB32);
    QImage img = set.rest;
    int leak = 0;
    for (int y = 0; y < out.height(); ++y)
      for (int x = 0; x < out.width(); ++x) {
        const bool inside = std::any_of(areas.begin(), areas.end(),
                                        [&](const QRect& r) { return r.contains(x, y); });
        if (inside) {
          img.setPixel(x, y, full.pixel(x, y));
        } else if (set.mask.pixelIndex(x, y) == 1) {
          const QRgb a = full.pixel(x, y), b = set.rest.pixel(x, y);
          leak = std::max({leak, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                           std::abs(qBlue(a) - qBlue(b))});
        }
      }
    if (leak > 6)
      std::printf("  note: %s %s differs by up to %d outside its hot areas\n", qPrintable(label),
                  stateName, leak);
    return img;
  };
  set.pressed = compose(KeyState::Pressed, "pressed");
  set.hover = compose(KeyState::Hover, "hover");

  for (QImage* img : {&set.rest, &set.pressed, &set.hover})
    for (int y = 0; y < out.height(); ++y)
      for (int x = 0; x < out.width(); ++x)
        if (set.mask.pixelIndex(x, y) == 0) img->setPixel(x, y, qRgb(255, 255, 255));
  return set;
}

bool checkInsideMask(const QImage& mask, const std::vector<QRect>& rects, const char* name,
                     int scale) {
  bool ok = true;
  for (const QRect& design : rects) {
    const QRect r = scaled(design, scale);
    int outside = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (!mask.rect().contains(x, y) || mask.pixelIndex(x, y) == 0) ++outside;
    if (outside > 0) {
      std::printf("  error: %s at %dx: %d pixels of (%d, %d, %d, %d) lie outside the panel\n",
                  name, scale, outside, design.x(), design.y(), design.width(), design.height());
      ok = false;
    }
  }
  return ok;
}

bool checkFlat(const QImage& img, const std::vector<QRect>& rects, QColor background,
               const char* name, int scale) {
  bool ok = true;
  for (const QRect& design : rects) {
    const QRect r = scaled(design, scale);
    int off = 0, worst = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        if (!img.rect().contains(x, y)) {
          ++off;
          worst = 255;
          continue;
        }
        const QRgb c = img.pixel(x, y), b = background.rgb();
        const int d = std::max({std::abs(qRed(c) - qRed(b)), std::abs(qGreen(c) - qGreen(b)),
                                std::abs(qBlue(c) - qBlue(b))});
        if (d > 0) ++off;
        worst = std::max(worst, d);
      }
    if (off > 0) {
      std::printf("  note: %s at %dx: %d pixels of the display (%d, %d, %d, %d) differ from its "
                  "background by up to %d\n",
                  name, scale, off, design.x(), design.y(), design.width(), design.height(), worst);
      ok = false;
    }
  }
  return ok;
}

void drawKey(Relief& r, const KeySpec& key, const KeyLook& look, KeyState state,
             float baseLevel) {
  const QRectF face = key.face;
  const float radius = look.round ? float(std::min(face.width(), face.height()) / 2) : look.radius;
  const Sdf cap = sdfRoundedBox(face, radius);
  const bool pressed = state == KeyState::Pressed;
  const bool hover = state == KeyState::Hover;

  if (pressed) {
    r.levelTo(cap, baseLevel + 0.5f, 1.0f, Profile::Round);
    r.sink(sdfRoundedBox(face.adjusted(1, 1, -1, -1), std::max(radius - 1, 1.f)), 0.35f, 3.f,
           Profile::Smooth);
  } else {
    r.levelTo(cap, baseLevel + look.height, look.bevel, Profile::Round);
  }
  r.setGloss(cap, look.gloss);

  QColor top = look.faceTop, bottom = look.faceBottom;
  if (hover) top = look.hoverTop, bottom = look.hoverBottom;
  if (pressed) top = look.pressedTop, bottom = look.pressedBottom;

  const QPointF shift = pressed ? QPointF(0.5, 0.6) : QPointF(0, 0);
  const QRectF iconBox = face.adjusted(key.iconInset, key.iconInset, -key.iconInset,
                                       -key.iconInset).translated(shift);
  const QPainterPath icon = iconPath(key.icon, iconBox, r.scale());
  QColor iconColour = look.icon;
  if (hover) iconColour = key.iconHover.isValid() ? key.iconHover : look.iconHover;
  if (pressed) iconColour = look.iconPressed;
  {
    DesignPainter p(r.albedo(), r.ss());
    p.setClipRect(QRectF(key.area));
    QPainterPath capPath;
    if (look.round)
      capPath.addEllipse(face);
    else
      capPath.addRoundedRect(face, radius, radius);
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(capPath, g);
    if (look.iconShadow.isValid()) p.fillPath(icon.translated(0.45, 0.55), look.iconShadow);
    p.fillPath(icon, iconColour);
  }
  r.raisePath(icon, pressed ? 0.15f : 0.3f, 0.5f, Profile::Round);

  if (hover) {
    const QColor glow = key.glow.isValid() ? key.glow : look.glow;
    DesignPainter p(r.emissive(), r.ss());
    p.setClipRect(QRectF(key.area));
    QColor soft = glow;
    soft.setAlphaF(glow.alphaF() * 0.35f);
    QPen pen(soft, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(icon, pen);
    QColor rim = glow;
    rim.setAlphaF(glow.alphaF() * 0.5f);
    QPainterPath capPath;
    if (look.round)
      capPath.addEllipse(face.adjusted(0.6, 0.6, -0.6, -0.6));
    else
      capPath.addRoundedRect(face.adjusted(0.6, 0.6, -0.6, -0.6), radius - 0.5, radius - 0.5);
    p.strokePath(capPath, QPen(rim, 1.1));
  }
}

void flattenWell(QImage& img, const Sdf& flatArea, QColor background, int scale) {
  // Pixel centres at least half a pixel inside the flat area.
  const float k = float(scale);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (flatArea((x + 0.5f) / k, (y + 0.5f) / k) < -0.5f / k)
        img.setPixel(x, y, background.rgb());
}

}  // namespace art
