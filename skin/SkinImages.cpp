#include "SkinImages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "Dialogues.h"
#include "Fichiers.h"
#include "SkinFields.h"
#include "Texte.h"

// Registration of the embedded skin; outside any namespace, as Qt requires.
static void EnregistrerRessourcesSkin() { Q_INIT_RESOURCE(skin); }

namespace glissaro {

void InitialiserRessourcesSkin() {
  static const bool fait = (EnregistrerRessourcesSkin(), true);
  (void)fait;
}

namespace {

constexpr const char* kPasDeGif = "No GIF support!";

// ---- libjpeg ---------------------------------------------------------------

struct GestionErreurJpeg {
  jpeg_error_mgr standard;
  std::jmp_buf saut;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void SortieErreurJpeg(j_common_ptr info) {
  auto* gestion = reinterpret_cast<GestionErreurJpeg*>(info->err);
  (*info->err->format_message)(info, gestion->message);
  std::longjmp(gestion->saut, 1);
}

extern "C" void MessageJpegIgnore(j_common_ptr) {}

// The largest picture a skin may bring.
constexpr unsigned kCoteMaxJpeg = 8192;
constexpr uint64_t kPixelsMaxJpeg = 16u << 20;

// Decodes into a malloc'ed RGB buffer (3 bytes a pixel, rows packed). Plain
// C data only: libjpeg reports errors by jumping back here.
bool DecoderJpegBrut(const unsigned char* octets, unsigned long taille, unsigned char** pixels, int* largeur,
                     int* hauteur, char* message) {
  jpeg_decompress_struct info;
  GestionErreurJpeg gestion;
  std::memset(&info, 0, sizeof info);
  info.err = jpeg_std_error(&gestion.standard);
  gestion.standard.error_exit = SortieErreurJpeg;
  gestion.standard.output_message = MessageJpegIgnore;
  gestion.message[0] = '\0';
  unsigned char* volatile tampon = nullptr;
  if (setjmp(gestion.saut)) {
    jpeg_destroy_decompress(&info);
    std::free(tampon);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", gestion.message);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, octets, taille);
  jpeg_read_header(&info, TRUE);
  // A few bytes may announce a picture of any size: skins never need one
  // this large, and it is refused before anything is allocated for it.
  if (info.image_width > kCoteMaxJpeg || info.image_height > kCoteMaxJpeg ||
      static_cast<uint64_t>(info.image_width) * info.image_height > kPixelsMaxJpeg) {
    std::snprintf(message, JMSG_LENGTH_MAX, "image trop grande (%u × %u pixels)", info.image_width,
                  info.image_height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const std::size_t ligne = static_cast<std::size_t>(info.output_width) * 3;
  tampon = static_cast<unsigned char*>(std::malloc(ligne * info.output_height));
  if (tampon == nullptr) {
    jpeg_destroy_decompress(&info);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", "mémoire insuffisante");
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW rangee = tampon + ligne * info.output_scanline;
    jpeg_read_scanlines(&info, &rangee, 1);
  }
  jpeg_finish_decompress(&info);
  *largeur = static_cast<int>(info.output_width);
  *hauteur = static_cast<int>(info.output_height);
  jpeg_destroy_decompress(&info);
  *pixels = tampon;
  return true;
}

bool EstExtensionJpeg(const QString& suffixe) {
  return suffixe == "jpg" || suffixe == "jpeg" || suffixe == "jpe" || suffixe == "jfif";
}

// The formats a skin file may use besides JPEG: those Qt reads, GIF excepted.
bool EstExtensionQt(const QString& suffixe) {
  if (suffixe.isEmpty() || suffixe == "gif") return false;
  return QImageReader::supportedImageFormats().contains(suffixe.toLatin1());
}

std::string NomDeFichier(std::string_view chemin) {
  const auto separateur = chemin.find_last_of("/\\");
  return std::string(separateur == std::string_view::npos ? chemin : chemin.substr(separateur + 1));
}

}  // namespace

std::string ExtensionSkin(std::string_view nom) {
  const auto point = nom.find('.');
  if (point == std::string_view::npos) return {};
  return MajusculesAscii(nom.substr(point + 1, 3));
}

std::string NomRessourceSkin(std::string_view nom) { return MajusculesAscii(nom.substr(0, nom.find('.'))); }

QImage CopieBitmap(const QImage& image) {
  if (image.isNull()) return {};
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage copie(image.size(), QImage::Format_RGB32);
  copie.fill(Qt::white);
  QPainter peintre(&copie);
  peintre.drawImage(0, 0, image);
  return copie;
}

QImage DecoderJpeg(const QByteArray& octets, std::string* erreur) {
  unsigned char* pixels = nullptr;
  int largeur = 0;
  int hauteur = 0;
  char message[JMSG_LENGTH_MAX];
  if (octets.isEmpty()) {
    if (erreur) *erreur = "fichier JPEG vide";
    return {};
  }
  if (!DecoderJpegBrut(reinterpret_cast<const unsigned char*>(octets.constData()),
                       static_cast<unsigned long>(octets.size()), &pixels, &largeur, &hauteur, message)) {
    if (erreur) *erreur = message;
    return {};
  }
  QImage image(largeur, hauteur, QImage::Format_RGB32);
  for (int y = 0; y < hauteur; ++y) {
    const unsigned char* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(largeur) * 3;
    auto* cible = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < largeur; ++x, source += 3) cible[x] = qRgb(source[0], source[1], source[2]);
  }
  std::free(pixels);
  return image;
}

QString TrouverFichierSansCasse(const QString& chemin) {
  const QFileInfo info(chemin);
  if (info.exists()) return chemin;
  const QDir dossier = info.dir();
  if (!dossier.exists()) return chemin;
  const QString nom = info.fileName();
  const auto entrees = dossier.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  for (const QString& entree : entrees)
    if (entree.compare(nom, Qt::CaseInsensitive) == 0) return dossier.filePath(entree);
  return chemin;
}

std::optional<QImage> ChargerImageFichier(const std::string& nom, Dialogues& dialogues) {
  if (ExtensionSkin(NomDeFichier(nom)) == "GIF") {
    dialogues.Message(kPasDeGif);
    return std::nullopt;
  }
  QString chemin = QString::fromStdString(nom);
  chemin.replace('\\', '/');
  const QString suffixe = QFileInfo(chemin).suffix();
  const QString format = suffixe.toLower();
  const bool jpeg = EstExtensionJpeg(format);
  if (!jpeg && !EstExtensionQt(format))
    throw ErreurSkin("Extension de fichier graphique inconnue (." + suffixe.toStdString() + ")");
  // Bounded, and only a regular file: a pipe or a device named by a skin
  // is refused at once.
  const auto fichier = LireFichier(TrouverFichierSansCasse(chemin).toStdString(), kTailleMaxImage);
  if (fichier.etat == FichierLu::Etat::TropGrand || fichier.etat == FichierLu::Etat::PasOrdinaire)
    throw ErreurSkin(fichier.message);
  if (!fichier.Lu()) throw ErreurSkin("Impossible d'ouvrir le fichier " + nom);
  const QByteArray octets = QByteArray::fromRawData(fichier.contenu.data(), static_cast<qsizetype>(fichier.contenu.size()));
  std::string detail;
  const QImage image = jpeg ? DecoderJpeg(octets, &detail) : QImage::fromData(octets, format.toLatin1().constData());
  if (image.isNull()) {
    std::string message = "Le fichier " + nom + " n'est pas une image valide";
    if (!detail.empty()) message += " (" + detail + ")";
    throw ErreurSkin(message);
  }
  return CopieBitmap(image);
}

QImage ChargerImageRessource(const std::string& nom, Dialogues& dialogues) {
  InitialiserRessourcesSkin();
  const std::string extension = ExtensionSkin(nom);
  const std::string ressource = NomRessourceSkin(nom);
  if (extension == "GIF") dialogues.Message(kPasDeGif);
  const bool bitmap = extension == "BMP";
  QFile fichier(QString::fromLatin1(bitmap ? kPrefixeRessourceBmp : kPrefixeRessourceJpg) +
                QString::fromStdString(ressource));
  if (ressource.empty() || !QFileInfo(fichier.fileName()).isFile() || !fichier.open(QIODevice::ReadOnly))
    throw ErreurSkin("Ressource " + ressource + " non trouvée");
  const QByteArray octets = fichier.readAll();
  std::string detail;
  const QImage image = bitmap ? QImage::fromData(octets, "BMP") : DecoderJpeg(octets, &detail);
  if (image.isNull()) {
    std::string message = "La ressource " + ressource + " n'est pas une image valide";
    if (!detail.empty()) message += " (" + detail + ")";
    throw ErreurSkin(message);
  }
  return CopieBitmap(image);
}

}  // namespace glissaro
