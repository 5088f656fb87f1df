// Helpers of the skin tests: pictures with known colours, skin folders
// written on the fly, a window carrying the component, synthetic mouse
// events.
#pragma once

#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "Dialogues.h"
#include "SkinForm.h"

namespace glissaro::test {

// Size of the test skin's panel.
inline constexpr int kLargeurPanneau = 200;
inline constexpr int kHauteurPanneau = 100;

// Colours of the test skin's panel pictures.
inline constexpr QRgb kRepos = 0xFF0A141E;
inline constexpr QRgb kEnfonce = 0xFF3C0000;
inline constexpr QRgb kSurvol = 0xFF00503C;

// Glyph k of the digit strip (15 × 21 glyphs) is filled with this colour.
QRgb CouleurChiffre(int k);
// Glyph (row, column) of the character strip (13 × 20 glyphs).
QRgb CouleurTexte(int ligne, int colonne);

QImage Uni(int largeur, int hauteur, QRgb couleur);
QImage BandeChiffres();
QImage BandeTexte();
// The test mask: black inside, white (outside) in the 10 × 10 top-left corner.
QImage MasqueTest();

void EcrireOctets(const QString& chemin, const std::string& octets);
// Writes a picture in the format of the path's extension.
void EcrireImage(const QString& chemin, const QImage& image);
// A JPEG written with libjpeg (quality 95), baseline or progressive.
std::string EncoderJpeg(const QImage& image, bool progressif = false);
// A JPEG whose last pass comes back again and again (fois more times):
// as valid a file as libjpeg reads, and as long to decode as it is made.
std::string RepeterDernierePasse(const std::string& jpeg, int fois);

// A skin folder holding mask.bmp, up.bmp, down.bmp, over.bmp, numbers.bmp
// and text.bmp (the test pictures above) and the description skin.ini.
class DossierSkin {
 public:
  DossierSkin();
  QString Chemin(const QString& nom) const { return dossier_.filePath(nom); }
  QString Ini() const { return Chemin("skin.ini"); }
  std::string Dossier() const { return (dossier_.path() + '/').toStdString(); }
  // Writes skin.ini: the lines (UTF-8, stored Windows-1252) with CR LF ends.
  void Description(const std::vector<std::string>& lignes) const;

 private:
  QTemporaryDir dossier_;
};

// The "[VERSION]" and "[BITMAPINFO]" sections naming the six test pictures.
std::vector<std::string> EnTeteStandard();
// The same followed by more lines.
std::vector<std::string> Avec(std::vector<std::string> lignes, const std::vector<std::string>& suite);

// A window carrying the component, with scripted dialogues.
struct Panneau {
  DialoguesScriptes dialogues;
  std::unique_ptr<QWidget> fenetre = std::make_unique<QWidget>();
  TSkinForm* skin = nullptr;
  Panneau();
  std::vector<std::string> Erreurs() const { return dialogues.Textes("erreur"); }
};

void Presser(TSkinForm& skin, QPoint point, Qt::MouseButton bouton = Qt::LeftButton);
void Deplacer(TSkinForm& skin, QPoint point, Qt::MouseButtons boutons = Qt::NoButton);
void Relacher(TSkinForm& skin, QPoint point, Qt::MouseButton bouton = Qt::LeftButton);
// A press then a release at the same point.
void Cliquer(TSkinForm& skin, QPoint point);

}  // namespace glissaro::test
