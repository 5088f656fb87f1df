// Any bytes as a skin picture: the BMP and JPEG readers of the skins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "Dialogues.h"
#include "SkinFields.h"
#include "SkinImages.h"

using namespace glissaro;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  const QByteArray octets(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
  DecoderJpeg(octets);
  static const QString fichier = QDir::tempPath() + "/glissaro-fuzz-" + QString::number(QCoreApplication::applicationPid()) + ".bmp";
  QFile f(fichier);
  if (!f.open(QIODevice::WriteOnly)) std::abort();
  f.write(octets);
  f.close();
  DialoguesScriptes dialogues;
  try {
    ChargerImageFichier(fichier.toStdString(), dialogues);
  } catch (const ErreurSkin&) {
    // A refused picture says why: that is the expected way out.
  }
  return 0;
}
