// Any bytes as a skin description, loaded by the skinned panel from a
// folder that holds a few small pictures (m.bmp, n.bmp, t.bmp, j.jpg) the
// description may name; the INI reader alone as well.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QWidget>

#include "Dialogues.h"
#include "Ini.h"
#include "SkinForm.h"

using namespace glissaro;

namespace {

QString dossier;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(*argc, *argv);
  dossier = QDir::tempPath() + "/glissaro-fuzz-skin-" + QString::number(QCoreApplication::applicationPid());
  QDir().mkpath(dossier);
  QImage masque(40, 30, QImage::Format_RGB32);
  masque.fill(Qt::white);
  for (int y = 5; y < 25; ++y)
    for (int x = 3; x < 37; ++x) masque.setPixel(x, y, 0);
  masque.save(dossier + "/m.bmp");
  QImage chiffres(44, 8, QImage::Format_RGB32);
  chiffres.fill(Qt::darkGreen);
  chiffres.save(dossier + "/n.bmp");
  QImage texte(60, 9, QImage::Format_RGB32);
  texte.fill(Qt::darkBlue);
  texte.save(dossier + "/t.bmp");
  texte.save(dossier + "/j.jpg");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
  const auto ini = FichierIni::DepuisTexte(texte);
  ini.LireEntier("Version", "Ver", 0);
  ini.LireTexte("HOTAREAINFO", "1", "");

  QFile f(dossier + "/skin.ini");
  if (!f.open(QIODevice::WriteOnly)) return 0;
  f.write(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
  f.close();
  DialoguesScriptes dialogues;
  QWidget fenetre;
  TSkinForm skin(dialogues, &fenetre);
  skin.LoadSkinFile(dossier + "/skin.ini");
  // Draw what was read, and show the displays new values.
  skin.SetDisplayText("TEXT_CPT", "0123 abc");
  skin.SetDisplayText("TEXT_TITRE", "Titre éà");
  skin.RedrawSkin();
  return 0;
}
