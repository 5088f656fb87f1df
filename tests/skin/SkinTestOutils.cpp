#include "SkinTestOutils.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

#include "Texte.h"

namespace glissaro::test {

QRgb CouleurChiffre(int k) { return qRgb(200, 10 + 20 * k, 7); }
QRgb CouleurTexte(int ligne, int colonne) { return qRgb(40 + 60 * ligne, 5 + 8 * colonne, 99); }

QImage Uni(int largeur, int hauteur, QRgb couleur) {
  QImage image(largeur, hauteur, QImage::Format_RGB32);
  image.fill(couleur);
  return image;
}

QImage BandeChiffres() {
  QImage image(165, 21, QImage::Format_RGB32);
  QPainter peintre(&image);
  for (int k = 0; k < 11; ++k) peintre.fillRect(k * 15, 0, 15, 21, QColor(CouleurChiffre(k)));
  return image;
}

QImage BandeTexte() {
  QImage image(400, 60, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter peintre(&image);
  for (int ligne = 0; ligne < 3; ++ligne)
    for (int colonne = 0; colonne < 30; ++colonne)
      peintre.fillRect(colonne * 13, ligne * 20, 13, 20, QColor(CouleurTexte(ligne, colonne)));
  return image;
}

QImage MasqueTest() {
  QImage image = Uni(kLargeurPanneau, kHauteurPanneau, qRgb(0, 0, 0));
  QPainter peintre(&image);
  peintre.fillRect(0, 0, 10, 10, Qt::white);
  return image;
}

void EcrireOctets(const QString& chemin, const std::string& octets) {
  QFile fichier(chemin);
  if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("écriture impossible");
  fichier.write(octets.data(), static_cast<qint64>(octets.size()));
}

void EcrireImage(const QString& chemin, const QImage& image) {
  if (!image.save(chemin)) throw std::runtime_error("image non écrite: " + chemin.toStdString());
}

std::string EncoderJpeg(const QImage& source, bool progressif) {
  const QImage image = source.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info;
  jpeg_error_mgr erreurs;
  info.err = jpeg_std_error(&erreurs);
  jpeg_create_compress(&info);
  unsigned char* tampon = nullptr;
  unsigned long taille = 0;
  jpeg_mem_dest(&info, &tampon, &taille);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressif) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* ligne = const_cast<JSAMPLE*>(image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &ligne, 1);
  }
  jpeg_finish_compress(&info);
  std::string octets(reinterpret_cast<const char*>(tampon), taille);
  jpeg_destroy_compress(&info);
  std::free(tampon);
  return octets;
}

std::string RepeterDernierePasse(const std::string& jpeg, int fois) {
  // The last pass: from its start-of-scan marker to the end-of-image one.
  const auto debut = jpeg.rfind("\xFF\xDA");
  const std::string passe = jpeg.substr(debut, jpeg.size() - 2 - debut);
  std::string r = jpeg.substr(0, jpeg.size() - 2);
  for (int i = 0; i < fois; ++i) r += passe;
  return r + "\xFF\xD9";
}

DossierSkin::DossierSkin() {
  EcrireImage(Chemin("mask.bmp"), MasqueTest());
  EcrireImage(Chemin("up.bmp"), Uni(kLargeurPanneau, kHauteurPanneau, kRepos));
  EcrireImage(Chemin("down.bmp"), Uni(kLargeurPanneau, kHauteurPanneau, kEnfonce));
  EcrireImage(Chemin("over.bmp"), Uni(kLargeurPanneau, kHauteurPanneau, kSurvol));
  EcrireImage(Chemin("numbers.bmp"), BandeChiffres());
  EcrireImage(Chemin("text.bmp"), BandeTexte());
}

void DossierSkin::Description(const std::vector<std::string>& lignes) const {
  std::string texte;
  for (const auto& ligne : lignes) texte += Utf8VersCp1252(ligne) + "\r\n";
  EcrireOctets(Ini(), texte);
}

std::vector<std::string> EnTeteStandard() {
  return {"[Version]",          "Ver=210",
          "[BITMAPINFO]",       "MaskBitmap=mask.bmp",
          "MouseUpBitmap=up.bmp", "MouseDownBitmap=down.bmp",
          "MouseOnBitmap=over.bmp", "NumbersBitmap=numbers.bmp",
          "TextBitmap=text.bmp"};
}

std::vector<std::string> Avec(std::vector<std::string> lignes, const std::vector<std::string>& suite) {
  lignes.insert(lignes.end(), suite.begin(), suite.end());
  return lignes;
}

Panneau::Panneau() { skin = new TSkinForm(dialogues, fenetre.get()); }

namespace {

void Envoyer(TSkinForm& skin, QEvent::Type type, QPoint point, Qt::MouseButton bouton, Qt::MouseButtons boutons) {
  QMouseEvent evenement(type, QPointF(point), QPointF(skin.mapToGlobal(point)), bouton, boutons, Qt::NoModifier);
  QApplication::sendEvent(&skin, &evenement);
}

}  // namespace

void Presser(TSkinForm& skin, QPoint point, Qt::MouseButton bouton) {
  Envoyer(skin, QEvent::MouseButtonPress, point, bouton, bouton);
}

void Deplacer(TSkinForm& skin, QPoint point, Qt::MouseButtons boutons) {
  Envoyer(skin, QEvent::MouseMove, point, Qt::NoButton, boutons);
}

void Relacher(TSkinForm& skin, QPoint point, Qt::MouseButton bouton) {
  Envoyer(skin, QEvent::MouseButtonRelease, point, bouton, Qt::NoButton);
}

void Cliquer(TSkinForm& skin, QPoint point) {
  Presser(skin, point);
  Relacher(skin, point);
}

}  // namespace glissaro::test
