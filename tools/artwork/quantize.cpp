#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace art {

namespace {

struct Entry {
  std::array<int, 3> c;
  double weight;
};

// Perceptual-ish weights for the distance between two colours.
double distance2(const std::array<double, 3>& a, const std::array<int, 3>& b) {
  const double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

struct Box {
  std::vector<Entry> items;
  double score() const {
    if (items.size() < 2) return 0;
    std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
    double w = 0;
    for (const Entry& e : items) {
      for (int k = 0; k < 3; ++k) {
        lo[k] = std::min(lo[k], e.c[k]);
        hi[k] = std::max(hi[k], e.c[k]);
      }
      w += e.weight;
    }
    const int range = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    return range * std::sqrt(w);
  }
};

std::array<double, 3> mean(const std::vector<Entry>& items) {
  std::array<double, 3> m{0, 0, 0};
  double w = 0;
  for (const Entry& e : items) {
    for (int k = 0; k < 3; ++k) m[k] += e.c[k] * e.weight;
    w += e.weight;
  }
  for (double& x : m) x /= std::max(w, 1e-9);
  return m;
}

// Every colour of the pictures but the reserved ones, with its pixel count.
std::vector<Entry> histogramOf(const std::vector<QImage>& images, const std::vector<QRgb>& reserved) {
  std::map<QRgb, double> histogram;
  for (const QImage& src : images) {
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < img.width(); ++x) histogram[line[x] | 0xff000000u] += 1;
    }
  }
  for (QRgb r : reserved) histogram.erase(r | 0xff000000u);
  std::vector<Entry> all;
  for (const auto& [rgb, w] : histogram) all.push_back({{qRed(rgb), qGreen(rgb), qBlue(rgb)}, w});
  return all;
}

// Splits a box in two at the weighted median of its widest axis; the upper
// half is returned, the lower one stays in b.
Box splitBox(Box& b) {
  std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
  double total = 0;
  for (const Entry& e : b.items) {
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], e.c[k]);
      hi[k] = std::max(hi[k], e.c[k]);
    }
    total += e.weight;
  }
  int axis = 0;
  for (int k = 1; k < 3; ++k)
    if (hi[k] - lo[k] > hi[axis] - lo[axis]) axis = k;
  std::stable_sort(b.items.begin(), b.items.end(),
                   [axis](const Entry& p, const Entry& q) { return p.c[axis] < q.c[axis]; });
  double acc = 0;
  size_t cut = 1;
  for (size_t i = 0; i + 1 < b.items.size(); ++i) {
    acc += b.items[i].weight;
    cut = i + 1;
    if (acc >= total / 2) break;
  }
  Box other{std::vector<Entry>(b.items.begin() + static_cast<long>(cut), b.items.end())};
  b.items.resize(cut);
  return other;
}

// Median cut: the box with the highest score is split until there are as
// many boxes as free entries (or nothing left to split).
std::vector<std::array<double, 3>> medianCut(const std::vector<Entry>& all, int free) {
  std::vector<Box> boxes{Box{all}};
  while (static_cast<int>(boxes.size()) < free) {
    size_t best = 0;
    double bestScore = -1;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const double s = boxes[i].score();
      if (s > bestScore) {
        bestScore = s;
        best = i;
      }
    }
    if (bestScore <= 0) break;
    Box other = splitBox(boxes[best]);
    boxes.push_back(std::move(other));
  }
  std::vector<std::array<double, 3>> palette;
  for (const Box& b : boxes) palette.push_back(mean(b.items));
  return palette;
}

// Lloyd refinement: each entry moves to the mean of the colours nearest it.
void refine(std::vector<std::array<double, 3>>& palette, const std::vector<Entry>& all) {
  for (int pass = 0; pass < 6; ++pass) {
    std::vector<std::array<double, 3>> sum(palette.size(), {0, 0, 0});
    std::vector<double> weight(palette.size(), 0);
    for (const Entry& e : all) {
      size_t best = 0;
      double bd = 1e300;
      for (size_t i = 0; i < palette.size(); ++i) {
        const double d = distance2(palette[i], e.c);
        if (d < bd) {
          bd = d;
          best = i;
        }
      }
      for (int k = 0; k < 3; ++k) sum[best][k] += e.c[k] * e.weight;
      weight[best] += e.weight;
    }
    for (size_t i = 0; i < palette.size(); ++i)
      if (weight[i] > 0)
        for (int k = 0; k < 3; ++k) palette[i][k] = sum[i][k] / weight[i];
  }
}

// The 256 entries: the reserved colours first, then the palette, then black.
QList<QRgb> colourTable(const std::vector<std::array<double, 3>>& palette,
                        const std::vector<QRgb>& reserved) {
  QList<QRgb> table;
  for (QRgb r : reserved) table.push_back(r | 0xff000000u);
  for (const auto& p : palette)
    table.push_back(qRgb(static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1])),
                         static_cast<int>(std::lround(p[2]))));
  while (table.size() < 256) table.push_back(qRgb(0, 0, 0));
  return table;
}

}  // namespace

std::vector<QImage> toIndexed8(const std::vector<QImage>& images,
                               const std::vector<QRgb>& reserved) {
  const std::vector<Entry> all = histogramOf(images, reserved);
  const int free = 256 - static_cast<int>(reserved.size());
  std::vector<std::array<double, 3>> palette;
  if (static_cast<int>(all.size()) <= free) {
    for (const Entry& e : all) palette.push_back({double(e.c[0]), double(e.c[1]), double(e.c[2])});
  } else {
    palette = medianCut(all, free);
    refine(palette, all);
  }
  const QList<QRgb> table = colourTable(palette, reserved);

  std::map<QRgb, int> lookup;
  auto indexOf = [&](QRgb rgb) {
    rgb |= 0xff000000u;
    auto it = lookup.find(rgb);
    if (it != lookup.end()) return it->second;
    int best = 0;
    double bd = 1e300;
    const std::array<int, 3> c{qRed(rgb), qGreen(rgb), qBlue(rgb)};
    for (int i = 0; i < table.size(); ++i) {
      const std::array<double, 3> t{double(qRed(table[i])), double(qGreen(table[i])),
                                    double(qBlue(table[i]))};
      const double d = distance2(t, c);
      if (d < bd) {
        bd = d;
        best = i;
      }
    }
    lookup[rgb] = best;
    return best;
  };

  std::vector<QImage> out;
  for (const QImage& src : images) {
    const QImage img = src.convertToFormat(QImage::Format_RGB32);
    QImage idx(img.size(), QImage::Format_Indexed8);
    idx.setColorTable(table);
    idx.fill(0);  // also clears the row padding, which is written to the file
    for (int y = 0; y < img.height(); ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      uchar* d = idx.scanLine(y);
      for (int x = 0; x < img.width(); ++x) d[x] = static_cast<uchar>(indexOf(line[x]));
    }
    out.push_back(idx);
  }
  return out;
}

}  // namespace art
