#include "SkinImages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
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

// Each pass over a large picture costs its time: all the passes together
// may cover at most this many pixels (32 passes over a 4096 × 4096 panel,
// where a real picture takes about ten).
constexpr uint64_t kPixelsDesPassesMax = uint64_t{32} * 4096 * 4096;

// Stops a decode that goes on pass after pass: a few kilobytes may repeat
// the last pass of a large picture a million times.
extern "C" void SuivreJpeg(j_common_ptr info) {
  const auto* decodeur = reinterpret_cast<j_decompress_ptr>(info);
  const int passes = decodeur->input_scan_number;
  const uint64_t pixels = uint64_t{decodeur->image_width} * decodeur->image_height;
  if (passes <= kPassesMaxJpeg && static_cast<uint64_t>(passes) * pixels <= kPixelsDesPassesMax) return;
  auto* gestion = reinterpret_cast<GestionErreurJpeg*>(info->err);
  std::snprintf(gestion->message, sizeof gestion->message, "décodage trop long : %d passes", passes);
  std::longjmp(gestion->saut, 1);
}

enum class IssueJpeg { Decodee, Erreur, TropGrande };

// Decodes into a malloc'ed RGB buffer (3 bytes a pixel, rows packed). Plain
// C data only: libjpeg reports errors by jumping back here. A picture over
// the bound is refused from its header, before anything is allocated for
// it; *largeur and *hauteur then give its announced size.
IssueJpeg DecoderJpegBrut(const unsigned char* octets, unsigned long taille, int largeurMax, int hauteurMax,
                          unsigned char** pixels, int* largeur, int* hauteur, char* message) {
  jpeg_decompress_struct info;
  GestionErreurJpeg gestion;
  jpeg_progress_mgr suivi;
  std::memset(&info, 0, sizeof info);
  std::memset(&suivi, 0, sizeof suivi);
  info.err = jpeg_std_error(&gestion.standard);
  gestion.standard.error_exit = SortieErreurJpeg;
  gestion.standard.output_message = MessageJpegIgnore;
  gestion.message[0] = '\0';
  suivi.progress_monitor = SuivreJpeg;
  unsigned char* volatile tampon = nullptr;
  if (setjmp(gestion.saut)) {
    jpeg_destroy_decompress(&info);
    std::free(tampon);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", gestion.message);
    return IssueJpeg::Erreur;
  }
  jpeg_create_decompress(&info);
  info.progress = &suivi;
  jpeg_mem_src(&info, octets, taille);
  jpeg_read_header(&info, TRUE);
  if (info.image_width > static_cast<unsigned>(largeurMax) || info.image_height > static_cast<unsigned>(hauteurMax)) {
    *largeur = static_cast<int>(std::min<JDIMENSION>(info.image_width, INT32_MAX));
    *hauteur = static_cast<int>(std::min<JDIMENSION>(info.image_height, INT32_MAX));
    std::snprintf(message, JMSG_LENGTH_MAX, "image trop grande (%u × %u pixels)", info.image_width,
                  info.image_height);
    jpeg_destroy_decompress(&info);
    return IssueJpeg::TropGrande;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const std::size_t ligne = static_cast<std::size_t>(info.output_width) * 3;
  tampon = static_cast<unsigned char*>(std::malloc(ligne * info.output_height));
  if (tampon == nullptr) {
    jpeg_destroy_decompress(&info);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", "mémoire insuffisante");
    return IssueJpeg::Erreur;
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
  return IssueJpeg::Decodee;
}

// A decoded picture, or why not: a message, and for a picture over the
// bound its announced size.
struct Decodage {
  QImage image;
  std::string erreur;
  QSize tropGrande;
};

Decodage DecoderJpegBorne(const QByteArray& octets, const BorneImage& borne) {
  Decodage d;
  if (octets.isEmpty()) {
    d.erreur = "fichier JPEG vide";
    return d;
  }
  unsigned char* pixels = nullptr;
  int largeur = 0;
  int hauteur = 0;
  char message[JMSG_LENGTH_MAX];
  const auto issue = DecoderJpegBrut(reinterpret_cast<const unsigned char*>(octets.constData()),
                                     static_cast<unsigned long>(octets.size()), borne.largeur, borne.hauteur, &pixels,
                                     &largeur, &hauteur, message);
  if (issue != IssueJpeg::Decodee) {
    d.erreur = message;
    if (issue == IssueJpeg::TropGrande) d.tropGrande = QSize(largeur, hauteur);
    return d;
  }
  d.image = QImage(largeur, hauteur, QImage::Format_RGB32);
  for (int y = 0; y < hauteur; ++y) {
    const unsigned char* source = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(largeur) * 3;
    auto* cible = reinterpret_cast<QRgb*>(d.image.scanLine(y));
    for (int x = 0; x < largeur; ++x, source += 3) cible[x] = qRgb(source[0], source[1], source[2]);
  }
  std::free(pixels);
  return d;
}

// ---- the other formats -------------------------------------------------------

uint32_t Mot32(const QByteArray& o, int i) {
  return static_cast<uint32_t>(static_cast<unsigned char>(o[i])) |
         static_cast<uint32_t>(static_cast<unsigned char>(o[i + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(o[i + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(o[i + 3])) << 24;
}
uint16_t Mot16(const QByteArray& o, int i) {
  return static_cast<uint16_t>(static_cast<unsigned char>(o[i]) | static_cast<unsigned char>(o[i + 1]) << 8);
}

// A bitmap whose header announces more pixel data than the file holds (a
// reader would make up the rest): why it is refused, or nothing. Called
// once the size is known to be within its bound.
std::optional<std::string> IncoherenceBmp(const QByteArray& o) {
  if (o.size() < 26 || o[0] != 'B' || o[1] != 'M') return std::nullopt;
  const uint32_t debutPixels = Mot32(o, 10);
  const uint32_t tailleEntete = Mot32(o, 14);
  int64_t largeur = 0, hauteur = 0, bits = 0;
  uint32_t compression = 0, tailleDonnees = 0;
  if (tailleEntete == 12) {
    largeur = Mot16(o, 18);
    hauteur = Mot16(o, 20);
    bits = Mot16(o, 24);
  } else if (tailleEntete >= 40 && o.size() >= 54) {
    largeur = static_cast<int32_t>(Mot32(o, 18));
    hauteur = std::abs(static_cast<int64_t>(static_cast<int32_t>(Mot32(o, 22))));
    bits = Mot16(o, 28);
    compression = Mot32(o, 30);
    tailleDonnees = Mot32(o, 34);
  } else {
    return std::nullopt;
  }
  const int64_t taille = o.size();
  if (debutPixels > taille) return "ses pixels commenceraient après la fin du fichier";
  const int64_t reste = taille - debutPixels;
  constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kChamps = 3, kChampsAlpha = 6;
  const int64_t attendu = compression == kRgb || compression == kChamps || compression == kChampsAlpha
                              ? (largeur * bits + 31) / 32 * 4 * hauteur
                          : compression == kRle8 || compression == kRle4 ? tailleDonnees
                                                                          : 0;
  if (attendu <= reste) return std::nullopt;
  return "son en-tête annonce " + std::to_string(attendu) + " octets de pixels, le fichier n'en contient que " +
         std::to_string(reste);
}

// A picture in a format Qt reads, measured from its header first.
Decodage DecoderQt(const QByteArray& octets, const QByteArray& format, const BorneImage& borne) {
  Decodage d;
  QBuffer tampon;
  tampon.setData(octets);
  tampon.open(QIODevice::ReadOnly);
  QImageReader lecteur(&tampon, format);
  const QSize taille = lecteur.size();
  if (!taille.isValid()) return d;  // no picture, or none whose size can be told
  if (taille.width() > borne.largeur || taille.height() > borne.hauteur) {
    d.tropGrande = taille;
    return d;
  }
  if (format == "bmp")
    if (auto incoherence = IncoherenceBmp(octets)) {
      d.erreur = *incoherence;
      return d;
    }
  d.image = lecteur.read();
  return d;
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

std::string MessageImageTropGrande(const std::string& nom, int largeur, int hauteur, const BorneImage& borne) {
  return "L'image " + nom + " mesure " + std::to_string(largeur) + " × " + std::to_string(hauteur) + " pixels : " +
         borne.genre + " en a au plus " + std::to_string(borne.largeur) + " × " + std::to_string(borne.hauteur) + ".";
}

QImage DecoderJpeg(const QByteArray& octets, std::string* erreur, const BorneImage& borne) {
  auto d = DecoderJpegBorne(octets, borne);
  if (erreur) *erreur = d.erreur;
  return d.image;
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

std::optional<QImage> ChargerImageFichier(const std::string& nom, Dialogues& dialogues, const BorneImage& borne) {
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
  const auto d = jpeg ? DecoderJpegBorne(octets, borne) : DecoderQt(octets, format.toLatin1(), borne);
  if (d.tropGrande.isValid()) throw ErreurSkin(MessageImageTropGrande(nom, d.tropGrande.width(), d.tropGrande.height(), borne));
  if (d.image.isNull()) {
    std::string message = "Le fichier " + nom + " n'est pas une image valide";
    if (!d.erreur.empty()) message += " (" + d.erreur + ")";
    throw ErreurSkin(message);
  }
  return CopieBitmap(d.image);
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

namespace glissaro {

QImage LireImageSkin(const QString& chemin, const BorneImage& borne, std::string* erreur) {
  // No skin picture of this kind is a GIF: its name is fixed.
  DialoguesScriptes sansMessage;
  try {
    if (auto image = ChargerImageFichier(chemin.toStdString(), sansMessage, borne)) return *image;
    if (erreur) *erreur = "Le fichier " + chemin.toStdString() + " n'est pas une image valide";
  } catch (const ErreurSkin& refus) {
    if (erreur) *erreur = refus.what();
  }
  return {};
}

std::string NomDouble(std::string_view nom) {
  const auto separateur = nom.find_last_of("/\\");
  const auto point = nom.rfind('.');
  const bool extension = point != std::string_view::npos && (separateur == std::string_view::npos || point > separateur);
  if (!extension) return std::string(nom) + "@2x";
  return std::string(nom.substr(0, point)) + "@2x" + std::string(nom.substr(point));
}

BorneImage BorneDouble(const BorneImage& borne) { return {2 * borne.largeur, 2 * borne.hauteur, borne.genre}; }

namespace {

QImage Double(QImage image, QSize taille) {
  if (image.size() != 2 * taille) return {};
  image.setDevicePixelRatio(2);
  return image;
}

}  // namespace

QImage LireImageDouble(const QString& chemin, const BorneImage& borne, QSize taille) {
  const QString double_ = TrouverFichierSansCasse(QString::fromStdString(NomDouble(chemin.toStdString())));
  if (!QFileInfo(double_).isFile()) return {};
  return Double(LireImageSkin(double_, BorneDouble(borne), nullptr), taille);
}

QImage LecteurImagesSkin::FichierDouble(const std::string& nom, const BorneImage& borne, QSize taille) {
  const std::string double_ = NomDouble(nom);
  if (!QFileInfo(TrouverFichierSansCasse(QString::fromStdString(double_).replace('\\', '/'))).isFile()) return {};
  try {
    if (const auto image = Fichier(double_, BorneDouble(borne))) return Double(*image, taille);
  } catch (const ErreurSkin&) {
    // Unusable: the 1× picture is drawn.
  }
  return {};
}

QImage LecteurImagesSkin::RessourceDouble(const std::string& nom, QSize taille) {
  InitialiserRessourcesSkin();
  const bool bitmap = ExtensionSkin(nom) == "BMP";
  QFile fichier(QString::fromLatin1(bitmap ? kPrefixeRessourceBmp : kPrefixeRessourceJpg) +
                QString::fromStdString(NomRessourceSkin(nom)) + "@2X");
  if (!QFileInfo(fichier.fileName()).isFile() || !fichier.open(QIODevice::ReadOnly)) return {};
  const QByteArray octets = fichier.readAll();
  const QImage image = bitmap ? QImage::fromData(octets, "BMP") : DecoderJpeg(octets);
  return Double(CopieBitmap(image), taille);
}

std::optional<QImage> LecteurImagesSkin::Fichier(const std::string& nom, const BorneImage& borne) {
  QString chemin = QString::fromStdString(nom);
  chemin.replace('\\', '/');
  const QString cle = TrouverFichierSansCasse(chemin);
  if (const auto deja = lues_.find(cle); deja != lues_.end()) {
    const QImage& image = deja->second;
    if (image.width() > borne.largeur || image.height() > borne.hauteur)
      throw ErreurSkin(MessageImageTropGrande(nom, image.width(), image.height(), borne));
    return image;
  }
  auto image = ChargerImageFichier(nom, dialogues_, borne);
  if (!image) return image;
  const auto octets = static_cast<std::size_t>(image->sizeInBytes());
  if (octets > reste_)
    throw ErreurSkin("Les images de cette skin dépassent " + std::to_string(budget_ >> 20) +
                     " Mio une fois décodées : l'image " + nom + " (" + std::to_string(image->width()) + " × " +
                     std::to_string(image->height()) + " pixels) n'y tient plus.");
  reste_ -= octets;
  lues_.emplace(cle, *image);
  return image;
}

}  // namespace glissaro
