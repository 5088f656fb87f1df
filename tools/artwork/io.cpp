#include "io.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace art {

namespace {

void prepare(const QString& path) {
  const QDir dir = QFileInfo(path).absoluteDir();
  if (!dir.exists() && !QDir().mkpath(dir.absolutePath())) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.absolutePath()));
    std::exit(1);
  }
}

void save(const QImage& img, const QString& path, const char* format) {
  prepare(path);
  if (!img.save(path, format)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("  %s (%dx%d)\n", qPrintable(path), img.width(), img.height());
}

}  // namespace

namespace {

void put16(QByteArray& b, int v) {
  b.append(char(v & 0xff));
  b.append(char((v >> 8) & 0xff));
}

void put32(QByteArray& b, qint64 v) {
  for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xff));
}

// Windows bitmap with a BITMAPINFOHEADER, rows bottom-up and padded with
// zeros to four bytes (Qt's writer leaves that padding uninitialised).
void writeBmp(const QImage& img, int bits, const QString& path) {
  const int w = img.width(), h = img.height();
  const int colours = bits <= 8 ? (1 << bits) : 0;
  const int stride = ((w * bits + 31) / 32) * 4;
  const int offset = 14 + 40 + 4 * colours;
  QByteArray b;
  b.append("BM");
  put32(b, offset + qint64(stride) * h);
  put32(b, 0);
  put32(b, offset);
  put32(b, 40);
  put32(b, w);
  put32(b, h);
  put16(b, 1);
  put16(b, bits);
  put32(b, 0);  // no compression
  put32(b, qint64(stride) * h);
  put32(b, 3780);  // 96 dots per inch
  put32(b, 3780);
  put32(b, colours);
  put32(b, colours);
  const QList<QRgb> table = img.colorTable();
  for (int i = 0; i < colours; ++i) {
    const QRgb c = i < table.size() ? table[i] : 0;
    b.append(char(qBlue(c)));
    b.append(char(qGreen(c)));
    b.append(char(qRed(c)));
    b.append('\0');
  }
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(stride, '\0');
    for (int x = 0; x < w; ++x) {
      if (bits == 1) {
        if (img.pixelIndex(x, y)) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
      } else if (bits == 8) {
        row[x] = char(img.pixelIndex(x, y));
      } else {
        const QRgb c = img.pixel(x, y);
        row[3 * x] = char(qBlue(c));
        row[3 * x + 1] = char(qGreen(c));
        row[3 * x + 2] = char(qRed(c));
      }
    }
    b.append(row);
  }
  prepare(path);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(b) != b.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("  %s (%dx%d, %d bits)\n", qPrintable(path), w, h, bits);
}

}  // namespace

QString atScale(const QString& path, int scale) {
  if (scale == 1) return path;
  const qsizetype dot = path.lastIndexOf('.');
  const qsizetype slash = path.lastIndexOf('/');
  const QString tag = QString("@%1x").arg(scale);
  if (dot <= slash) return path + tag;
  return path.left(dot) + tag + path.mid(dot);
}

void saveBmp24(const QImage& img, const QString& path) {
  writeBmp(img.convertToFormat(QImage::Format_RGB32), 24, path);
}

void saveBmpIndexed(const QImage& indexed, const QString& path) {
  Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
  writeBmp(indexed, 8, path);
}

void saveMonoMask(const QImage& mono, const QString& path) {
  Q_ASSERT(mono.format() == QImage::Format_Mono);
  writeBmp(mono, 1, path);
}

void savePng(const QImage& img, const QString& path) { save(img, path, "PNG"); }

void saveUtf8(const QString& text, const QString& path) {
  prepare(path);
  const QByteArray bytes = text.toUtf8();
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("  %s\n", qPrintable(path));
}

void saveWindowsText(const QString& text, const QString& path) {
  prepare(path);
  QByteArray bytes;
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    // Latin-1 and the Windows code page agree outside 0x80..0x9f.
    if (u >= 0x80 && (u < 0xa0 || u > 0xff)) {
      std::fprintf(stderr, "character U+%04X cannot be written to %s\n", unsigned(u),
                   qPrintable(path));
      std::exit(1);
    }
    if (u == '\n') bytes.append("\r\n");
    else bytes.append(static_cast<char>(u));
  }
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("  %s\n", qPrintable(path));
}

}  // namespace art
