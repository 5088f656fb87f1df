#include "panel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace art {

QImage monoMask(const Sdf& outline, QSize size) {
  QImage m(size, QImage::Format_Mono);
  m.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  m.fill(0);  // also clears the row padding, which is written to the file
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      m.setPixel(x, y, outline(x + 0.5f, y + 0.5f) < 0 ? 1 : 0);
  return m;
}

PanelSet composePanel(const Sdf& outline, QSize size, const std::vector<QRect>& areas,
                      const std::function<QImage(KeyState)>& render, const char* name) {
  PanelSet set;
  set.mask = monoMask(outline, size);
  set.rest = render(KeyState::Rest).convertToFormat(QImage::Format_RGB32);

  auto compose = [&](KeyState state, const char* label) {
    const QImage full = render(state).convertToFormat(QImage::Format_RGB32);
    QImage out = set.rest;
    int leak = 0;
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) {
        const bool inside = std::any_of(areas.begin(), areas.end(),
                                        [&](const QRect& r) { return r.contains(x, y); });
        if (inside) {
          out.setPixel(x, y, full.pixel(x, y));
        } else if (set.mask.pixelIndex(x, y) == 1) {
          const QRgb a = full.pixel(x, y), b = set.rest.pixel(x, y);
          leak = std::max({leak, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                           std::abs(qBlue(a) - qBlue(b))});
        }
      }
    if (leak > 6)
      std::printf("  note: %s %s differs by up to %d outside its hot areas\n", name, label, leak);
    return out;
  };
  set.pressed = compose(KeyState::Pressed, "pressed");
  set.hover = compose(KeyState::Hover, "hover");

  for (QImage* img : {&set.rest, &set.pressed, &set.hover})
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x)
        if (set.mask.pixelIndex(x, y) == 0) img->setPixel(x, y, qRgb(255, 255, 255));
  return set;
}

bool checkInsideMask(const QImage& mask, const std::vector<QRect>& rects, const char* name) {
  bool ok = true;
  for (const QRect& r : rects) {
    int outside = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (!mask.rect().contains(x, y) || mask.pixelIndex(x, y) == 0) ++outside;
    if (outside > 0) {
      std::printf("  error: %s: %d pixels of (%d, %d, %d, %d) lie outside the panel\n", name,
                  outside, r.x(), r.y(), r.width(), r.height());
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
  const QPainterPath icon = iconPath(key.icon, iconBox);
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

void flattenWell(QImage& img, const Sdf& flatArea, QColor background) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (flatArea(x + 0.5f, y + 0.5f) < -0.5f) img.setPixel(x, y, background.rgb());
}

}  // namespace art
