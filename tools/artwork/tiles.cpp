#include "tiles.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

namespace {

constexpr int kSs = 4;  // grid cells per output pixel
constexpr float kTau = 2 * std::numbers::pi_v<float>;

// Joined sides of the sixteen images of a series, by image index.
struct Joins {
  bool right, left, up, down;
};

constexpr Joins kJoins[16] = {
    {false, false, false, false},  // 0
    {false, false, true, false},   // 1  up
    {false, false, false, true},   // 2  down
    {true, false, false, false},   // 3  right
    {false, true, false, false},   // 4  left
    {true, false, false, true},    // 5  right, down
    {false, true, false, true},    // 6  left, down
    {true, false, true, false},    // 7  right, up
    {false, true, true, false},    // 8  left, up
    {true, true, true, false},     // 9  right, left, up
    {true, false, true, true},     // 10 right, down, up
    {false, true, true, true},     // 11 left, down, up
    {true, true, false, true},     // 12 right, left, down
    {true, true, true, true},      // 13 all four
    {true, true, false, false},    // 14 right, left
    {false, false, true, true},    // 15 down, up
};

// Position of ordinary image i; master images lie five rows lower and
// border images five columns further right.
constexpr QPoint kNormalAt[16] = {{3, 3}, {2, 4}, {4, 3}, {3, 4}, {4, 1}, {0, 0}, {2, 0}, {0, 2},
                                  {4, 4}, {1, 2}, {0, 1}, {2, 2}, {1, 0}, {1, 1}, {3, 1}, {2, 3}};

struct Rgb {
  float r, g, b;
};

Rgb rgb(const QColor& c) { return {float(c.red()), float(c.green()), float(c.blue())}; }
Rgb lerp(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb scaled(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
QRgb toRgb(Rgb c) {
  auto ch = [](float v) { return std::clamp(int(std::lround(v)), 0, 255); };
  return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

// Surface colour of a material at tile coordinates u, v (0..1 across one
// tile).  Every texture repeats exactly once per tile, so that the tiles of
// one piece join without a seam.
Rgb materialColour(const Material& m, float u, float v) {
  const Rgb light = rgb(m.light), base = rgb(m.base), dark = rgb(m.dark);
  const float s = m.textureStrength;
  switch (m.texture) {
    case Texture::Grain: {
      // Long fibres along the rows with gently wandering growth rings.
      const float warp = fbm(u * 4, v * 4, 4, 4, m.seed);
      const float ring = v * 4 + 0.55f * warp + 0.08f * std::sin(kTau * u);
      const float band = std::pow(0.5f + 0.5f * std::sin(kTau * ring), 3.f);
      const float fibre = fbm(u * 2, v * 48, 2, 48, 3, m.seed + 3);
      const float t = std::clamp(0.34f * band * s + 0.7f * (fibre - 0.5f) * s +
                                     0.15f * (warp - 0.5f), -1.f, 1.f);
      return t >= 0 ? lerp(base, dark, t) : lerp(base, light, -t);
    }
    case Texture::Plank: {
      const float warp = fbm(u * 4, v * 4, 4, 4, m.seed);
      const float ring = u * 4 + 1.0f * warp;
      const float band = std::pow(0.5f + 0.5f * std::sin(kTau * ring), 3.f);
      const float fibre = fbm(u * 40, v * 3, 40, 3, 3, m.seed + 3);
      const float t = std::clamp(0.55f * band * s + 0.4f * (fibre - 0.5f) * s, -1.f, 1.f);
      return t >= 0 ? lerp(base, dark, t) : lerp(base, light, -t);
    }
    case Texture::Lacquer: {
      const float n = fbm(u * 4, v * 4, 4, 3, m.seed);
      return lerp(base, dark, 0.18f * s * n);
    }
    case Texture::Stone: {
      // Fine-grained granite: soft mottling, dark and light specks.
      const float n = fbm(u * 4, v * 4, 4, 4, m.seed);
      const float grain = valueNoise(u * 48, v * 48, 48, m.seed + 5);
      const float speck = hashUnit(int(u * 64), int(v * 64), m.seed + 6);
      Rgb c = lerp(base, n > 0.5f ? dark : light, std::abs(n - 0.5f) * 0.9f * s);
      c = scaled(c, 1 + 0.10f * s * (grain - 0.5f));
      if (speck > 0.93f) c = lerp(c, light, 0.35f * s);
      if (speck < 0.05f) c = lerp(c, dark, 0.45f * s);
      return c;
    }
    case Texture::Ceramic: {
      const float n = fbm(u * 4, v * 4, 4, 3, m.seed);
      return lerp(light, base, 0.25f + 0.5f * n * s);
    }
  }
  return base;
}

class TilePainter {
 public:
  TilePainter(const TileStyle& st, int scale)
      : st_(st), T_(st.tile), k_(st.tile / 32.f), r_(T_, T_, kSs, scale) {}

  Relief& relief() { return r_; }
  float k() const { return k_; }
  int T() const { return T_; }

  void floor() {
    const Rgb f = rgb(st_.floor);
    eachCell([&](int x, int y, QRgb& px) {
      const float u = r_.gx(x) / T_, v = r_.gy(y) / T_;
      const float n = fbm(u * 4, v * 4, 4, 4, 77) - 0.5f;
      const float fine = valueNoise(u * 32, v * 32, 32, 78) - 0.5f;
      px = toRgb(scaled(f, 1 + st_.floorNoise * (1.4f * n + 0.6f * fine)));
    });
  }

  // A piece of material whose body runs to the tile's edge on joined sides.
  Sdf body(Joins j, float radiusFraction) const {
    const float m = st_.margin * T_;
    const QRectF r(QPointF(j.left ? -T_ : m, j.up ? -T_ : m),
                   QPointF(j.right ? 2 * T_ : T_ - m, j.down ? 2 * T_ : T_ - m));
    return sdfRoundedBox(r, radiusFraction * T_);
  }

  void piece(const Material& mat, Joins j) {
    const Sdf s = body(j, mat.radius);
    r_.raise(s, mat.height * k_, mat.bevel * T_, mat.profile);
    r_.setGloss(s, mat.gloss);
    paintMaterial(mat, s);
    if (mat.ornament == Ornament::Stud) stud(mat);
    if (mat.ornament == Ornament::Ring) ring(mat);
  }

  void ring(const Material& mat) {
    const QPointF c(T_ / 2.0, T_ / 2.0);
    const float rad = 0.2f * T_, w = 0.075f * T_;
    const Sdf s = [=](float x, float y) {
      return std::abs(std::hypot(x - float(c.x()), y - float(c.y())) - rad) - w / 2;
    };
    r_.sink(s, 0.5f * k_, w / 2, Profile::Round);
    DesignPainter p(r_.albedo(), r_.ss());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mat.ornamentColour, w));
    p.drawEllipse(c, rad, rad);
  }

  void paintMaterial(const Material& mat, const Sdf& s) {
    eachCell([&](int x, int y, QRgb& px) {
      const float d = s(r_.gx(x), r_.gy(y));
      const float cover = std::clamp(0.5f - d * r_.ss(), 0.f, 1.f);
      if (cover <= 0) return;
      const Rgb c = materialColour(mat, r_.gx(x) / T_, r_.gy(y) / T_);
      px = toRgb(lerp(rgb(QColor(px)), c, cover));
    });
  }

  void stud(const Material& mat) {
    const QPointF c(T_ / 2.0, T_ / 2.0);
    const float rad = 0.13f * T_;
    const Sdf s = sdfCircle(c, rad);
    r_.raise(s, 0.9f * k_, rad * 0.7f, Profile::Round);
    r_.setGloss(s, 1.0f);
    DesignPainter p(r_.albedo(), r_.ss());
    QRadialGradient g(c - QPointF(rad * 0.35, rad * 0.35), rad * 1.3);
    g.setColorAt(0, mat.ornamentColour.lighter(125));
    g.setColorAt(1, mat.ornamentColour.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, rad, rad);
  }

  void target() {
    const QPointF c(T_ / 2.0, T_ / 2.0);
    {
      DesignPainter p(r_.albedo(), r_.ss());
      QRadialGradient tint(c, 0.42 * T_);
      QColor t0 = st_.targetTint, t1 = st_.targetTint;
      t1.setAlpha(0);
      tint.setColorAt(0, t0);
      tint.setColorAt(0.75, t0);
      tint.setColorAt(1, t1);
      p.setPen(Qt::NoPen);
      p.setBrush(tint);
      p.drawEllipse(c, 0.42 * T_, 0.42 * T_);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(st_.target, 0.085 * T_));
      p.drawEllipse(c, 0.29 * T_, 0.29 * T_);
      p.setPen(Qt::NoPen);
      p.setBrush(st_.target);
      QPainterPath diamond;
      const qreal a = 0.1 * T_;
      diamond.moveTo(c + QPointF(0, -a));
      diamond.lineTo(c + QPointF(a, 0));
      diamond.lineTo(c + QPointF(0, a));
      diamond.lineTo(c + QPointF(-a, 0));
      diamond.closeSubpath();
      p.drawPath(diamond);
    }
    const float ringR = 0.29f * T_, ringW = 0.085f * T_;
    const Sdf ring = [=](float x, float y) {
      return std::abs(std::hypot(x - float(c.x()), y - float(c.y())) - ringR) - ringW / 2;
    };
    r_.sink(ring, 0.7f * k_, ringW / 2, Profile::Round);
    r_.setGloss(ring, 0.5f);
  }

  void door(bool touched) {
    const Material& stone = st_.border;
    piece(stone, kJoins[0]);
    const float T = T_;
    const float top = stone.height * k_;
    const QRectF recess(0.18 * T, 0.15 * T, 0.64 * T, 0.7 * T);
    const Sdf rs = sdfRoundedBox(recess, 0.07f * T);
    r_.levelTo(rs, top - 2.0f * k_, 0.06f * T, Profile::Round);
    r_.setGloss(rs, 0.1f);
    {
      DesignPainter p(r_.albedo(), r_.ss());
      QPainterPath path;
      path.addRoundedRect(recess, 0.07 * T, 0.07 * T);
      p.fillPath(path, st_.doorRecess);
    }
    if (touched) {
      DesignPainter p(r_.emissive(), r_.ss());
      QPainterPath path;
      path.addRoundedRect(recess.adjusted(0.3, 0.3, -0.3, -0.3), 0.07 * T, 0.07 * T);
      QRadialGradient g(QPointF(T / 2, recess.bottom()), recess.height() * 1.05);
      QColor hot = st_.doorGlow, cool = st_.doorGlow;
      cool.setAlpha(40);
      g.setColorAt(0, hot);
      g.setColorAt(1, cool);
      p.fillPath(path, g);
    }

    // The gate: three bars and a cross bar, lifted half-way once touched.
    const float lift = touched ? 0.36f * T : 0.f;
    const float barW = 0.095f * T;
    const float barTop = float(recess.top()) - 0.02f * T;
    const float barBottom = float(recess.bottom()) - 0.02f * T - lift;
    const float crossY = 0.5f * T - lift * 0.55f;
    Sdf gate = [](float, float) { return 1e9f; };
    for (float cx : {0.33f * T, 0.5f * T, 0.67f * T}) {
      const Sdf bar = sdfRoundedBox(QRectF(cx - barW / 2, barTop, barW, barBottom - barTop), barW / 2);
      gate = sdfUnion(gate, bar);
    }
    const Sdf cross = sdfRoundedBox(QRectF(0.22 * T, crossY - barW / 2, 0.56 * T, barW), barW / 2);
    gate = sdfUnion(gate, cross);
    // The gate stays inside the recess.
    const Sdf clipped = [=](float x, float y) { return std::max(gate(x, y), rs(x, y) + 0.3f); };
    r_.levelTo(clipped, top - 0.7f * k_, barW / 2, Profile::Cove);
    r_.setGloss(clipped, 0.9f);
    eachCell([&](int x, int y, QRgb& px) {
      const float d = clipped(r_.gx(x), r_.gy(y));
      const float cover = std::clamp(0.5f - d * r_.ss(), 0.f, 1.f);
      if (cover <= 0) return;
      const float shadeK = 0.85f + 0.3f * (1 - r_.gy(y) / T);
      const Rgb metal = scaled(rgb(st_.doorBars), shadeK);
      px = toRgb(lerp(rgb(QColor(px)), metal, cover));
    });
    DesignPainter p(r_.albedo(), r_.ss());
    p.setPen(Qt::NoPen);
    p.setBrush(st_.doorRivets);
    for (float cx : {0.33f * T, 0.5f * T, 0.67f * T})
      p.drawEllipse(QPointF(cx, crossY), barW * 0.42, barW * 0.42);
    if (touched) {
      // Light spilling over the lower edge of the bars.
      DesignPainter e(r_.emissive(), r_.ss());
      QColor glow = st_.doorGlow;
      glow.setAlpha(70);
      e.setPen(Qt::NoPen);
      e.setBrush(glow);
      for (float cx : {0.33f * T, 0.5f * T, 0.67f * T})
        e.drawEllipse(QPointF(cx, barBottom - barW * 0.4f), barW * 0.6, barW * 0.6);
    }
  }

  QImage render() {
    Light l = st_.light;
    l.shadowReach = 5 * k_;
    return r_.render(l);
  }

 private:
  template <typename F>
  void eachCell(F&& f) {
    QImage& a = r_.albedo();
    for (int y = 0; y < r_.gridH(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(a.scanLine(y));
      for (int x = 0; x < r_.gridW(); ++x) f(x, y, line[x]);
    }
  }

  const TileStyle& st_;
  int T_;
  float k_;
  Relief r_;
};

}  // namespace

QRgb materialAt(const Material& m, float u, float v) { return toRgb(materialColour(m, u, v)); }

QPoint tilePosition(int series, int index) {
  if (series == 3) return index == 0 ? QPoint(8, 6) : QPoint(7, 6);
  if (series == 2 && index == 16) return {6, 6};
  if (series == 2 && index == 17) return {5, 6};
  const QPoint p = kNormalAt[index];
  if (series == 1) return p + QPoint(0, 5);
  if (series == 2) return p + QPoint(5, 0);
  return p;
}

QImage piecesPicture(const TileStyle& st, int scale) {
  const int T = st.tile * scale;  // output pixels of one tile
  QImage pic(10 * T, 10 * T, QImage::Format_RGB32);

  TilePainter plain(st, scale);
  plain.floor();
  const QImage floor = plain.render();
  {
    QPainter p(&pic);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) p.drawImage(x * T, y * T, floor);
  }
  auto put = [&](QPoint cell, const QImage& img) {
    QPainter p(&pic);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(cell.x() * T, cell.y() * T, img);
  };

  const Material* materials[3] = {&st.normal, &st.master, &st.border};
  for (int series = 0; series < 3; ++series)
    for (int i = 0; i < 16; ++i) {
      TilePainter t(st, scale);
      t.floor();
      t.piece(*materials[series], kJoins[i]);
      put(tilePosition(series, i), t.render());
    }
  for (bool touched : {false, true}) {
    TilePainter t(st, scale);
    t.floor();
    t.door(touched);
    put(tilePosition(2, touched ? 17 : 16), t.render());
  }
  {
    TilePainter t(st, scale);
    t.floor();
    t.target();
    put(tilePosition(3, 1), t.render());
  }
  put(tilePosition(3, 0), floor);
  return pic;
}

}  // namespace art
