#include "relief.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace art {

// ------------------------------------------------------------------ fields

Field::Field(int width, int height, float init)
    : w(width), h(height), v(static_cast<size_t>(width) * height, init) {}

float Field::clamped(int x, int y) const {
  x = std::clamp(x, 0, w - 1);
  y = std::clamp(y, 0, h - 1);
  return at(x, y);
}

float Field::sample(float x, float y) const {
  // Cell centres sit at integer coordinates.
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const float tx = x - fx;
  const float ty = y - fy;
  const float a = clamped(x0, y0), b = clamped(x0 + 1, y0);
  const float c = clamped(x0, y0 + 1), d = clamped(x0 + 1, y0 + 1);
  return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
}

Field blur(const Field& f, float sigma) {
  if (sigma <= 0.01f) return f;
  const int radius = static_cast<int>(std::ceil(sigma * 3));
  std::vector<float> k(2 * radius + 1);
  float sum = 0;
  for (int i = -radius; i <= radius; ++i) {
    k[i + radius] = std::exp(-(i * i) / (2 * sigma * sigma));
    sum += k[i + radius];
  }
  for (float& x : k) x /= sum;
  Field tmp(f.w, f.h), out(f.w, f.h);
  for (int y = 0; y < f.h; ++y)
    for (int x = 0; x < f.w; ++x) {
      float s = 0;
      for (int i = -radius; i <= radius; ++i) s += k[i + radius] * f.clamped(x + i, y);
      tmp.at(x, y) = s;
    }
  for (int y = 0; y < f.h; ++y)
    for (int x = 0; x < f.w; ++x) {
      float s = 0;
      for (int i = -radius; i <= radius; ++i) s += k[i + radius] * tmp.clamped(x, y + i);
      out.at(x, y) = s;
    }
  return out;
}

Field coverage(const QPainterPath& path, int w, int h, double scale) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(path);
  }
  Field f(w, h);
  for (int y = 0; y < h; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) f.at(x, y) = qAlpha(line[x]) / 255.f;
  }
  return f;
}

namespace {

// One-dimensional squared distance transform (Felzenszwalb & Huttenlocher).
void edt1d(const float* f, float* d, int n, std::vector<int>& v, std::vector<float>& z) {
  const float inf = std::numeric_limits<float>::infinity();
  int k = 0;
  v[0] = 0;
  z[0] = -inf;
  z[1] = inf;
  for (int q = 1; q < n; ++q) {
    if (f[q] == inf) continue;
    if (f[v[k]] == inf) {
      v[k] = q;
      continue;
    }
    float s;
    for (;;) {
      s = ((f[q] + q * q) - (f[v[k]] + v[k] * v[k])) / (2.f * q - 2.f * v[k]);
      if (s <= z[k] && k > 0) {
        --k;
        continue;
      }
      break;
    }
    ++k;
    v[k] = q;
    z[k] = s;
    z[k + 1] = inf;
  }
  k = 0;
  for (int q = 0; q < n; ++q) {
    while (z[k + 1] < q) ++k;
    const float dq = static_cast<float>(q - v[k]);
    d[q] = (f[v[k]] == inf) ? inf : dq * dq + f[v[k]];
  }
}

}  // namespace

Field insideDistance(const Field& cov) {
  const float inf = std::numeric_limits<float>::infinity();
  const int w = cov.w, h = cov.h;
  Field sq(w, h);
  for (size_t i = 0; i < sq.v.size(); ++i) sq.v[i] = cov.v[i] >= 0.5f ? inf : 0.f;
  const int n = std::max(w, h);
  std::vector<float> f(n), d(n), z(n + 1);
  std::vector<int> v(n);
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) f[y] = sq.at(x, y);
    edt1d(f.data(), d.data(), h, v, z);
    for (int y = 0; y < h; ++y) sq.at(x, y) = d[y];
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) f[x] = sq.at(x, y);
    edt1d(f.data(), d.data(), w, v, z);
    for (int x = 0; x < w; ++x) sq.at(x, y) = d[x];
  }
  // A grid without any uncovered cell: treat the border as the edge.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float& s = sq.at(x, y);
      if (s == inf) {
        const float e = static_cast<float>(std::min({x + 1, y + 1, w - x, h - y}));
        s = e * e;
      }
      s = std::sqrt(s);
    }
  return sq;
}

// ---------------------------------------------------------- distance shapes

Sdf sdfRoundedBox(QRectF r, float radius) {
  const float cx = static_cast<float>(r.center().x());
  const float cy = static_cast<float>(r.center().y());
  const float hx = static_cast<float>(r.width() / 2);
  const float hy = static_cast<float>(r.height() / 2);
  radius = std::min({radius, hx, hy});
  return [=](float x, float y) {
    const float qx = std::abs(x - cx) - (hx - radius);
    const float qy = std::abs(y - cy) - (hy - radius);
    const float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.f) - radius;
  };
}

Sdf sdfCircle(QPointF c, float radius) {
  const float cx = static_cast<float>(c.x()), cy = static_cast<float>(c.y());
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Sdf sdfUnion(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Sdf sdfSmoothUnion(Sdf a, Sdf b, float k) {
  return [=](float x, float y) {
    const float da = a(x, y), db = b(x, y);
    const float h = std::clamp(0.5f + 0.5f * (db - da) / k, 0.f, 1.f);
    return db * (1 - h) + da * h - k * h * (1 - h);
  };
}

Sdf sdfSubtract(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Sdf sdfSmoothSubtract(Sdf a, Sdf b, float k) {
  return [=](float x, float y) {
    const float da = a(x, y), db = -b(x, y);
    const float h = std::clamp(0.5f - 0.5f * (db - da) / k, 0.f, 1.f);
    return da * (1 - h) + db * h + k * h * (1 - h);
  };
}

float profile(Profile p, float t) {
  t = std::clamp(t, 0.f, 1.f);
  switch (p) {
    case Profile::Round: return 1 - (1 - t) * (1 - t);
    case Profile::Smooth: return t * t * (3 - 2 * t);
    case Profile::Linear: return t;
    case Profile::Cove: return std::sqrt(std::max(0.f, 1 - (1 - t) * (1 - t)));
  }
  return t;
}

// ------------------------------------------------------------------- noise

float hashUnit(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
               seed * 0xcb1ab31fu;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return (h & 0xffffffu) / 16777216.f;
}

float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  auto wrap = [](int i, int p) { return ((i % p) + p) % p; };
  const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  const float tx = x - fx, ty = y - fy;
  const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const float a = hashUnit(wrap(x0, periodX), wrap(y0, periodY), seed);
  const float b = hashUnit(wrap(x0 + 1, periodX), wrap(y0, periodY), seed);
  const float c = hashUnit(wrap(x0, periodX), wrap(y0 + 1, periodY), seed);
  const float d = hashUnit(wrap(x0 + 1, periodX), wrap(y0 + 1, periodY), seed);
  return (a * (1 - sx) + b * sx) * (1 - sy) + (c * (1 - sx) + d * sx) * sy;
}

float valueNoise(float x, float y, int period, uint32_t seed) {
  return valueNoise(x, y, period, period, seed);
}

float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  int freq = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * valueNoise(x * freq, y * freq, periodX * freq, periodY * freq, seed + 101u * o);
    norm += amp;
    amp *= 0.5f;
    freq *= 2;
  }
  return sum / norm;
}

float fbm(float x, float y, int period, int octaves, uint32_t seed) {
  return fbm(x, y, period, period, octaves, seed);
}

// ------------------------------------------------------------------ relief

DesignPainter::DesignPainter(QImage& img, int supersample) : QPainter(&img) {
  setRenderHint(QPainter::Antialiasing);
  setRenderHint(QPainter::SmoothPixmapTransform);
  scale(supersample, supersample);
}

Relief::Relief(int width, int height, int supersample, int scale)
    : w_(width),
      h_(height),
      scale_(scale),
      down_(supersample),
      ss_(supersample * scale),
      albedo_(width * ss_, height * ss_, QImage::Format_ARGB32_Premultiplied),
      emissive_(width * ss_, height * ss_, QImage::Format_ARGB32_Premultiplied),
      height_(width * ss_, height * ss_),
      gloss_(width * ss_, height * ss_),
      noShadow_(width * ss_, height * ss_) {
  albedo_.fill(Qt::black);
  emissive_.fill(Qt::transparent);
}

Field Relief::cover(const Sdf& shape) const {
  Field f(gridW(), gridH());
  const float half = 0.5f / ss_;
  for (int y = 0; y < gridH(); ++y)
    for (int x = 0; x < gridW(); ++x)
      f.at(x, y) = std::clamp(0.5f - shape(gx(x), gy(y)) / (2 * half), 0.f, 1.f);
  return f;
}

void Relief::raise(const Sdf& shape, float amount, float bevel, Profile p) {
  for (int y = 0; y < gridH(); ++y)
    for (int x = 0; x < gridW(); ++x) {
      const float d = shape(gx(x), gy(y));
      if (d < 0) height_.at(x, y) += amount * profile(p, -d / bevel);
    }
}

void Relief::sink(const Sdf& shape, float amount, float bevel, Profile p) {
  raise(shape, -amount, bevel, p);
}

void Relief::raisePath(const QPainterPath& path, float amount, float bevel, Profile p) {
  const Field dist = insideDistance(coverage(path, gridW(), gridH(), ss_));
  for (size_t i = 0; i < dist.v.size(); ++i)
    if (dist.v[i] > 0) height_.v[i] += amount * profile(p, dist.v[i] / ss_ / bevel);
}

void Relief::levelTo(const Sdf& shape, float level, float bevel, Profile p) {
  for (int y = 0; y < gridH(); ++y)
    for (int x = 0; x < gridW(); ++x) {
      const float d = shape(gx(x), gy(y));
      if (d < 0) {
        const float t = profile(p, -d / bevel);
        float& hgt = height_.at(x, y);
        hgt = hgt * (1 - t) + level * t;
      }
    }
}

void Relief::setGloss(const Sdf& shape, float value) {
  for (int y = 0; y < gridH(); ++y)
    for (int x = 0; x < gridW(); ++x)
      if (shape(gx(x), gy(y)) < 0) gloss_.at(x, y) = value;
}

void Relief::noShadowIn(const Sdf& shape) {
  for (int y = 0; y < gridH(); ++y)
    for (int x = 0; x < gridW(); ++x)
      if (shape(gx(x), gy(y)) < 0) noShadow_.at(x, y) = 1;
}

QImage Relief::render(const Light& light) const {
  const int W = gridW(), H = gridH();
  QImage out(W, H, QImage::Format_ARGB32_Premultiplied);

  const float ln = std::sqrt(light.dx * light.dx + light.dy * light.dy + light.dz * light.dz);
  const float lx = light.dx / ln, ly = light.dy / ln, lz = light.dz / ln;
  float hx = lx, hy = ly, hz = lz + 1;
  const float hn = std::sqrt(hx * hx + hy * hy + hz * hz);
  hx /= hn;
  hy /= hn;
  hz /= hn;
  const float flatSpec = std::pow(hz, light.shininess);
  const float planar = std::sqrt(lx * lx + ly * ly);
  const float dirX = lx / planar, dirY = ly / planar;
  const float rise = lz / planar;  // design px of height per design px along the light

  const float sr = light.specColour.redF(), sg = light.specColour.greenF(),
              sb = light.specColour.blueF();

  for (int y = 0; y < H; ++y) {
    const QRgb* alb = reinterpret_cast<const QRgb*>(albedo_.constScanLine(y));
    const QRgb* emi = reinterpret_cast<const QRgb*>(emissive_.constScanLine(y));
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < W; ++x) {
      const float gxh = (height_.clamped(x + 1, y) - height_.clamped(x - 1, y)) * 0.5f * ss_;
      const float gyh = (height_.clamped(x, y + 1) - height_.clamped(x, y - 1)) * 0.5f * ss_;
      float nx = -gxh, ny = -gyh, nz = 1;
      const float nn = std::sqrt(nx * nx + ny * ny + nz * nz);
      nx /= nn;
      ny /= nn;
      nz /= nn;
      const float diff = std::max(0.f, nx * lx + ny * ly + nz * lz);
      float lit = light.ambient + (1 - light.ambient) * (diff / lz);

      if (noShadow_.at(x, y) < 0.5f && light.shadow > 0) {
        const float h0 = height_.at(x, y);
        float occ = 0;
        for (float t = 0.5f; t <= light.shadowReach; t += 0.5f) {
          const float hs = height_.sample(x + dirX * t * ss_, y + dirY * t * ss_);
          const float above = hs - (h0 + t * rise);
          if (above > 0) occ = std::max(occ, std::min(1.f, above / (0.3f + 0.35f * t)));
        }
        lit *= 1 - light.shadow * occ;
      }

      const float s = std::max(0.f, nx * hx + ny * hy + nz * hz);
      const float reflet =
          gloss_.at(x, y) * light.specular * std::max(0.f, std::pow(s, light.shininess) - flatSpec);

      const QRgb a = alb[x];
      const QRgb e = emi[x];
      auto channel = [&](int albedoC, int emC, float specC) {
        const float c = albedoC * lit + 255.f * reflet * specC + emC;
        return std::clamp(static_cast<int>(std::lround(c)), 0, 255);
      };
      dst[x] = qRgb(channel(qRed(a), qRed(e), sr), channel(qGreen(a), qGreen(e), sg),
                    channel(qBlue(a), qBlue(e), sb));
    }
  }
  return downsample(out, down_).convertToFormat(QImage::Format_RGB32);
}

QImage downsample(const QImage& src, int ss) {
  const QImage img = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int w = img.width() / ss, h = img.height() / ss;
  QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
  const int n = ss * ss;
  for (int y = 0; y < h; ++y) {
    QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      int r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < ss; ++j) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y * ss + j));
        for (int i = 0; i < ss; ++i) {
          const QRgb c = line[x * ss + i];
          r += qRed(c);
          g += qGreen(c);
          b += qBlue(c);
          a += qAlpha(c);
        }
      }
      dst[x] = qRgba((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n, (a + n / 2) / n);
    }
  }
  return out;
}

QColor mix(const QColor& a, const QColor& b, float t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                          a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t,
                          a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor shade(const QColor& c, float factor) {
  return QColor::fromRgbF(std::clamp(c.redF() * factor, 0.f, 1.f),
                          std::clamp(c.greenF() * factor, 0.f, 1.f),
                          std::clamp(c.blueF() * factor, 0.f, 1.f), c.alphaF());
}

}  // namespace art
