// glissaro-artwork: draws every picture of the game (front panels, glyph
// strips, tile pictures, replay buttons, program icons) and writes them into
// the source tree given as argument.
//
//   glissaro-artwork SOURCE_DIR [panel] [tiles] [replay] [ardoise] [icons] [types]
//
// Without a part name every part is written.  The output only depends on
// this program and on the DejaVu fonts.
//
// Every skin picture (panels and their masks, glyph strips, tiles, replay
// buttons) is written twice: NAME.EXT at its design size and NAME@2x.EXT,
// the same design drawn natively at twice the size for high-density screens
// (the skin descriptions keep the 1x coordinates; the game doubles them).
// The icons are drawn at 16 to 512 pixels, and as SVG drawings (glissaro.svg
// and the file type icons) for the scalable icon theme folder.
#include "skins.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args.first().startsWith('-')) {
    std::fprintf(stderr, "usage: glissaro-artwork SOURCE_DIR [panel|tiles|replay|ardoise|icons|types]...\n");
    return 2;
  }
  const QString root = QDir(args.takeFirst()).absolutePath();
  const QStringList known = {"panel", "tiles", "replay", "ardoise", "icons", "types"};
  for (const QString& a : args)
    if (!known.contains(a)) {
      std::fprintf(stderr, "unknown part: %s\n", qPrintable(a));
      return 2;
    }
  auto wanted = [&](const char* part) { return args.isEmpty() || args.contains(part); };

  if (wanted("panel")) {
    std::printf("default front panel\n");
    art::writeGlissaroPanel(root);
  }
  if (wanted("tiles")) {
    std::printf("default tiles\n");
    art::writeGlissaroTiles(root);
  }
  if (wanted("replay")) {
    std::printf("built-in replay buttons\n");
    art::writeBuiltInReplayButtons(root);
  }
  if (wanted("ardoise")) {
    std::printf("skin Ardoise\n");
    art::writeArdoiseSkin(root);
  }
  if (wanted("icons")) {
    std::printf("program icons\n");
    art::writeProgramIcons(root);
  }
  if (wanted("types")) {
    std::printf("file type icons\n");
    art::writeTypeIcons(root);
  }
  return 0;
}
