// glissaro-pixels: what the smoke tests read of a screenshot.
//   glissaro-pixels boite IMAGE        the rectangle "x y largeur hauteur" of
//                                      the pixels that differ from the one
//                                      at (0, 0) (the desktop's, or a mask's
//                                      outside)
//   glissaro-pixels pixel IMAGE X Y    that pixel, "RRGGBB"
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage : glissaro-pixels boite IMAGE | pixel IMAGE X Y\n");
    return 2;
  }
  const QImage image = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "image illisible : %s\n", argv[2]);
    return 1;
  }
  if (std::strcmp(argv[1], "pixel") == 0 && argc == 5) {
    const int x = std::atoi(argv[3]), y = std::atoi(argv[4]);
    if (!image.valid(x, y)) return 1;
    std::printf("%06X\n", image.pixel(x, y) & 0xFFFFFF);
    return 0;
  }
  if (std::strcmp(argv[1], "boite") == 0) {
    const QRgb fond = image.pixel(0, 0);
    int gauche = image.width(), haut = image.height(), droite = -1, bas = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != fond) {
          gauche = std::min(gauche, x);
          droite = std::max(droite, x);
          haut = std::min(haut, y);
          bas = std::max(bas, y);
        }
    if (droite < 0) return 1;
    std::printf("%d %d %d %d\n", gauche, haut, droite - gauche + 1, bas - haut + 1);
    return 0;
  }
  return 2;
}
