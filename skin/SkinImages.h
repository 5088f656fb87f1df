// The images of a skin: read from files beside a description (bitmaps,
// JPEG through libjpeg, and the other formats Qt reads) or from the
// program's embedded resources, and turned into opaque 32-bit bitmaps.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace glissaro {

class Dialogues;

// Resource paths of the embedded skin.
inline constexpr const char* kRessourceDescriptionSkin = ":/skin/SKIN.ini";
inline constexpr const char* kPrefixeRessourceBmp = ":/skin/BMP/";
inline constexpr const char* kPrefixeRessourceJpg = ":/skin/JPG/";

// Makes sure the embedded skin is registered with Qt's resource system.
void InitialiserRessourcesSkin();

// The "extension" of an image name as the skin rules see it: the three
// characters after the first "." of the file name, upper-cased (empty when
// there is no dot).
std::string ExtensionSkin(std::string_view nom);

// The resource name of an image name: the part before its first ".",
// upper-cased.
std::string NomRessourceSkin(std::string_view nom);

// A copy of a picture on an opaque 32-bit bitmap of the same size (a
// translucent picture is drawn over white).
QImage CopieBitmap(const QImage& image);

// The largest picture of each kind a skin may bring, in pixels. A picture
// is measured from its header, before anything is decoded: a few bytes may
// announce gigabytes.
struct BorneImage {
  int largeur = 0;
  int hauteur = 0;
  const char* genre = "";  // "une image du panneau"
};
inline constexpr BorneImage kBornePanneau{4096, 4096, "une image du panneau"};
// Ten rows of tiles of at most 256 pixels.
inline constexpr BorneImage kBornePieces{2560, 2560, "l'image des pièces"};
// Digit and character strips, track-bar thumbs, replay buttons.
inline constexpr BorneImage kBorneBande{4096, 512, "une bande de caractères, un curseur ou une barre de boutons"};
// What the pictures a skin description names may take once decoded, all
// together (32 bits a pixel); the tiles and the replay buttons have their
// own bounds above.
inline constexpr std::size_t kBudgetImagesSkin = std::size_t{256} << 20;
// A progressive JPEG is decoded in a few passes (about ten); one of more
// passes than this (fewer for a large picture) is refused rather than
// decoded for minutes.
inline constexpr int kPassesMaxJpeg = 100;

// "L'image <nom> mesure 5790 × 5790 pixels : une image du panneau en a au
// plus 4096 × 4096."
std::string MessageImageTropGrande(const std::string& nom, int largeur, int hauteur, const BorneImage& borne);

// Decodes a JPEG with libjpeg, within a bound. A null image on failure,
// with libjpeg's message (or "image trop grande (L × H pixels)", "décodage
// trop long : N passes") in *erreur when given.
QImage DecoderJpeg(const QByteArray& octets, std::string* erreur = nullptr, const BorneImage& borne = kBornePanneau);

// A file or folder named in a skin: the path itself when it exists, else an
// entry of the same folder whose name matches without regard to case (skins come from
// case-insensitive systems), else the path unchanged.
QString TrouverFichierSansCasse(const QString& chemin);

// Loads an image from a file, at most as large as the bound. A "GIF" name
// shows "No GIF support!" and gives nothing (the caller keeps its image).
// Throws ErreurSkin with "Extension de fichier graphique inconnue (.ext)"
// for a name without a readable picture extension, "Impossible d'ouvrir le
// fichier <name>" when the file cannot be opened, the message above for a
// picture over the bound, and a message naming the file when it holds no
// valid picture (a bitmap whose header announces more pixels than the file
// holds among them).
std::optional<QImage> ChargerImageFichier(const std::string& nom, Dialogues& dialogues,
                                          const BorneImage& borne = kBornePanneau);

// Loads an image from the embedded resources: a "BMP" extension reads the
// bitmap resource of the upper-cased name, anything else its JPEG resource
// ("GIF" first shows "No GIF support!"). Throws ErreurSkin with
// "Ressource NAME non trouvée" when the resource is missing.
QImage ChargerImageRessource(const std::string& nom, Dialogues& dialogues);

// One picture a skin folder brings beside its description ("pieces.bmp",
// the replay buttons), through the same bounded reader: a null image and
// the message when it cannot be used.
QImage LireImageSkin(const QString& chemin, const BorneImage& borne, std::string* erreur);

// The name of a picture drawn at twice the size: "@2x" before the file
// name's last extension ("pieces.bmp" gives "pieces@2x.bmp").
std::string NomDouble(std::string_view nom);
// The bound of such a picture: twice the bound of its kind.
BorneImage BorneDouble(const BorneImage& borne);
// The "@2x" picture of a file read at 1× (taille): null when there is none,
// when it cannot be read, or when it is not exactly twice taille (the 1×
// picture is then drawn as it is). Its device pixel ratio is 2.
QImage LireImageDouble(const QString& chemin, const BorneImage& borne, QSize taille);

// The pictures of one skin description being loaded: a file named several
// times is decoded once, and all of them together stay within a budget.
class LecteurImagesSkin {
 public:
  explicit LecteurImagesSkin(Dialogues& dialogues, std::size_t budget = kBudgetImagesSkin)
      : dialogues_(dialogues), budget_(budget), reste_(budget) {}
  // As ChargerImageFichier; throws ErreurSkin as well when the skin's
  // pictures would pass the budget.
  std::optional<QImage> Fichier(const std::string& nom, const BorneImage& borne);
  QImage Ressource(const std::string& nom) { return ChargerImageRessource(nom, dialogues_); }
  // The "@2x" picture of a file or of an embedded picture read at 1×
  // (taille), as LireImageDouble; a file counts in the budget.
  QImage FichierDouble(const std::string& nom, const BorneImage& borne, QSize taille);
  static QImage RessourceDouble(const std::string& nom, QSize taille);

 private:
  Dialogues& dialogues_;
  std::size_t budget_;
  std::size_t reste_;
  std::map<QString, QImage> lues_;  // by the path found on disk
};

}  // namespace glissaro
