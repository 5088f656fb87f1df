// Small relief renderer used by every picture of the artwork generator.
//
// A picture is described at its final ("design") size but computed on a
// finer grid (supersampling): an albedo layer painted with QPainter, a height
// field built from signed distance shapes or from painted paths, a gloss
// layer and an emissive layer.  Lighting (diffuse, specular, soft cast
// shadows from the height field) is applied on the fine grid, which is then
// averaged down to the design size.  Everything is deterministic.
//
// The same description can be rendered at an integer multiple of the design
// size (the pictures for high-density screens): the grid then holds `scale`
// times more cells per design unit, and is averaged down to `scale` output
// pixels per design unit.  Coordinates, distances and heights stay in design
// units, so the picture at 2x covers exactly what the 1x picture covers.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <vector>

namespace art {

// ------------------------------------------------------------------ fields

struct Field {
  int w = 0;
  int h = 0;
  std::vector<float> v;

  Field() = default;
  Field(int width, int height, float init = 0.f);

  float& at(int x, int y) { return v[static_cast<size_t>(y) * w + x]; }
  float at(int x, int y) const { return v[static_cast<size_t>(y) * w + x]; }
  float clamped(int x, int y) const;
  float sample(float x, float y) const;  // bilinear, clamped at the borders
};

// Gaussian blur (separable), sigma in grid pixels.
Field blur(const Field& f, float sigma);

// Coverage (0..1, anti-aliased) of a path given in design units on a grid of
// w x h cells of 1/scale design units each.
Field coverage(const QPainterPath& path, int w, int h, double scale);

// Euclidean distance, in grid pixels, from every covered cell (>= 0.5) to the
// nearest uncovered one; 0 outside.
Field insideDistance(const Field& cov);

// ---------------------------------------------------------- distance shapes

// Signed distance in design pixels: negative inside.
using Sdf = std::function<float(float x, float y)>;

Sdf sdfRoundedBox(QRectF r, float radius);
Sdf sdfCircle(QPointF c, float radius);
Sdf sdfUnion(Sdf a, Sdf b);
Sdf sdfSmoothUnion(Sdf a, Sdf b, float k);
Sdf sdfSubtract(Sdf a, Sdf b);  // a minus b
Sdf sdfSmoothSubtract(Sdf a, Sdf b, float k);

// Height profiles, t running 0 at the edge to 1 at the full width.
enum class Profile { Round, Smooth, Linear, Cove };
float profile(Profile p, float t);

// ------------------------------------------------------------------- noise

float hashUnit(int x, int y, uint32_t seed);
// Value noise whose lattice repeats every `period` cells.
float valueNoise(float x, float y, int period, uint32_t seed);
float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed);
// Fractal sum, periodic over `period` units of x and y.
float fbm(float x, float y, int period, int octaves, uint32_t seed);
float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);

// ------------------------------------------------------------------ relief

struct Light {
  float dx = -0.62f, dy = -0.78f, dz = 1.05f;  // direction towards the light
  float ambient = 0.30f;
  float specular = 0.55f;
  float shininess = 18.f;
  float shadow = 0.45f;       // darkening in full shadow
  float shadowReach = 6.f;    // design pixels searched along the light
  QColor specColour = QColor(255, 250, 240);
};

class Relief {
 public:
  // `width` x `height` design units, `supersample` grid cells per output
  // pixel along each axis, `scale` output pixels per design unit.
  Relief(int width, int height, int supersample, int scale = 1);

  int width() const { return w_; }    // design units
  int height() const { return h_; }
  int scale() const { return scale_; }
  int ss() const { return ss_; }      // grid cells per design unit
  int gridW() const { return w_ * ss_; }
  int gridH() const { return h_ * ss_; }

  // Painting layers, at grid resolution; painters are pre-scaled so that
  // they draw in design units.
  QImage& albedo() { return albedo_; }
  QImage& emissive() { return emissive_; }
  Field& heights() { return height_; }
  Field& gloss() { return gloss_; }
  Field& shadowMask() { return noShadow_; }  // 1 = receives no cast shadow

  // Grid cell centre in design units.
  float gx(int x) const { return (x + 0.5f) / ss_; }
  float gy(int y) const { return (y + 0.5f) / ss_; }

  // Height helpers.  `d` is the signed distance (design px) of the shape.
  void raise(const Sdf& shape, float amount, float bevel, Profile p);
  void sink(const Sdf& shape, float amount, float bevel, Profile p);
  // Raises (or, with a negative amount, sinks) what a path covers, bevelled
  // by the distance to its edge.
  void raisePath(const QPainterPath& path, float amount, float bevel, Profile p);
  // Sets the height inside a shape to `level` (flattening what lay there),
  // blending over `bevel` design pixels from its edge.
  void levelTo(const Sdf& shape, float level, float bevel, Profile p);
  void setGloss(const Sdf& shape, float value);
  void noShadowIn(const Sdf& shape);

  // Coverage (0..1) of a shape on the grid.
  Field cover(const Sdf& shape) const;

  // Shading, then averaging down to the design size times the scale (RGB32).
  QImage render(const Light& light) const;

 private:
  int w_, h_;
  int scale_;
  int down_;  // grid cells per output pixel
  int ss_;
  QImage albedo_;
  QImage emissive_;
  Field height_;
  Field gloss_;
  Field noShadow_;
};

// A painter on a grid image that draws in design units.
class DesignPainter : public QPainter {
 public:
  DesignPainter(QImage& img, int supersample);
};

// Colour helpers.
QColor mix(const QColor& a, const QColor& b, float t);
QColor shade(const QColor& c, float factor);

// Averages a supersampled image down by `ss` (keeps alpha, premultiplied).
QImage downsample(const QImage& img, int ss);

}  // namespace art
