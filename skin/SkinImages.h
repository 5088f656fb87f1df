// The images of a skin: read from files beside a description (bitmaps,
// JPEG through libjpeg, and the other formats Qt reads) or from the
// program's embedded resources, and turned into opaque 32-bit bitmaps.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

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

// Decodes a JPEG with libjpeg. A null image on failure, with libjpeg's
// message in *erreur when given.
QImage DecoderJpeg(const QByteArray& octets, std::string* erreur = nullptr);

// A file or folder named in a skin: the path itself when it exists, else an
// entry of the same folder whose name matches without regard to case (skins come from
// case-insensitive systems), else the path unchanged.
QString TrouverFichierSansCasse(const QString& chemin);

// Loads an image from a file. A "GIF" name shows "No GIF support!" and gives
// nothing (the caller keeps its image). Throws ErreurSkin with
// "Extension de fichier graphique inconnue (.ext)" for a name without a
// readable picture extension, "Impossible d'ouvrir le fichier <name>" when
// the file cannot be opened, and a message naming the file when it holds no
// valid picture.
std::optional<QImage> ChargerImageFichier(const std::string& nom, Dialogues& dialogues);

// Loads an image from the embedded resources: a "BMP" extension reads the
// bitmap resource of the upper-cased name, anything else its JPEG resource
// ("GIF" first shows "No GIF support!"). Throws ErreurSkin with
// "Ressource NAME non trouvée" when the resource is missing.
QImage ChargerImageRessource(const std::string& nom, Dialogues& dialogues);

}  // namespace glissaro
