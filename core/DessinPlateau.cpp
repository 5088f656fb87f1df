#include "DessinPlateau.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "Vue.h"

namespace glissaro {

namespace {

struct Position {
  int colonne, ligne;
};

// Where each image is cut from in "pieces.bmp", as (column, row).
constexpr std::array<Position, 16> kNormal = {{{3, 3}, {2, 4}, {4, 3}, {3, 4}, {4, 1}, {0, 0}, {2, 0}, {0, 2},
                                               {4, 4}, {1, 2}, {0, 1}, {2, 2}, {1, 0}, {1, 1}, {3, 1}, {2, 3}}};
constexpr std::array<Position, 2> kFond = {{{8, 6}, {7, 6}}};
constexpr Position kPorteFermee{6, 6};
constexpr Position kPorteTouchee{5, 6};

constexpr int kNombreListes = 4;
constexpr std::array<std::size_t, kNombreListes> kTailles = {16, 16, 18, 2};

QImage Vierge(int taille) {
  QImage image(taille, taille, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

}  // namespace

TImagesPieces::TImagesPieces() {
  for (std::size_t i = 0; i < kNombreListes; ++i) listes_[i].assign(kTailles[i], Vierge(tailleCase_));
  anneau_ = PreparerAnneau(listes_, tailleCase_);
}

QString TImagesPieces::ChargerPieces(const QImage& image, const QString& nomFichier) {
  const int taille = image.height() / 10;
  if (taille < 1)
    return QStringLiteral("L'image des pièces %1 mesure %2 pixels de haut : il en faut au moins 10 (dix rangées de cases).")
        .arg(nomFichier)
        .arg(image.height());
  if (image.width() < 10 * taille)
    return QStringLiteral("L'image des pièces %1 mesure %2 pixels de large : pour des cases de %3 pixels, il en faut au moins %4 (dix colonnes de cases).")
        .arg(nomFichier)
        .arg(image.width())
        .arg(taille)
        .arg(10 * taille);

  const QImage source = image.convertToFormat(QImage::Format_RGB32);
  // Each tile is stretched onto the square one pixel smaller than a tile of
  // a blank picture; the last column and row keep the blank.
  listes_ = Decouper([&](int colonne, int ligne) {
    QImage tuile = Vierge(taille);
    QPainter peintre(&tuile);
    peintre.drawImage(QRect(0, 0, taille - 1, taille - 1), source, QRect(colonne * taille, ligne * taille, taille, taille));
    return tuile;
  });
  tailleCase_ = taille;
  taillePieces_ = image.size();
  anneau_ = PreparerAnneau(listes_, tailleCase_);
  listesDoubles_ = {};
  anneauDouble_ = QImage();
  return {};
}

bool TImagesPieces::ChargerPiecesDoubles(const QImage& image) {
  listesDoubles_ = {};
  anneauDouble_ = QImage();
  if (image.isNull() || image.size() != 2 * taillePieces_) return false;
  QImage source = image.convertToFormat(QImage::Format_RGB32);
  // Cut and drawn in its own pixels.
  source.setDevicePixelRatio(1);
  const int taille = 2 * tailleCase_;
  // Taken as they are: every pixel of the picture reaches the board.
  listesDoubles_ = Decouper([&](int colonne, int ligne) { return source.copy(colonne * taille, ligne * taille, taille, taille); });
  anneauDouble_ = PreparerAnneau(listesDoubles_, taille);
  return true;
}

TImagesPieces::Listes TImagesPieces::Decouper(const std::function<QImage(int, int)>& couper) {
  Listes listes;
  const auto ajouter = [&](TSerieMap serie, Position p) {
    listes[static_cast<std::size_t>(serie)].push_back(couper(p.colonne, p.ligne));
  };
  for (const auto p : kFond) ajouter(TSerieMap::Vide, p);
  for (const auto p : kNormal) ajouter(TSerieMap::Normal, p);
  // Border tiles lie five columns to the right, master tiles five rows below.
  for (const auto p : kNormal) ajouter(TSerieMap::Bord, {p.colonne + 5, p.ligne});
  ajouter(TSerieMap::Bord, kPorteFermee);
  ajouter(TSerieMap::Bord, kPorteTouchee);
  for (const auto p : kNormal) ajouter(TSerieMap::Final, {p.colonne, p.ligne + 5});
  return listes;
}

QImage TImagesPieces::PreparerAnneau(const Listes& listes, int t) {
  const QImage& fond = listes[static_cast<std::size_t>(TSerieMap::Vide)][kMapFond];
  const QImage& place = listes[static_cast<std::size_t>(TSerieMap::Vide)][kMapFondFinal];
  // What the final-place floor adds to the plain floor: opacity from the
  // difference, colour from the final place.
  std::vector<float> marque(static_cast<std::size_t>(t * t), 0.f);
  int points = 0;
  double luminance = 0;
  for (int y = 0; y < t; ++y)
    for (int x = 0; x < t; ++x) {
      const QRgb a = fond.pixel(x, y), b = place.pixel(x, y);
      const int ecart = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
      const float opacite = std::clamp((ecart - 16) / 48.f, 0.f, 1.f);
      marque[static_cast<std::size_t>(y * t + x)] = opacite;
      if (opacite > 0.5f) {
        ++points;
        luminance += qGray(b);
      }
    }
  QImage anneau(t, t, QImage::Format_ARGB32_Premultiplied);
  anneau.fill(Qt::transparent);
  // A mark is a part of the tile: a skin whose two floors differ nearly
  // everywhere, or nowhere, gets the drawn ring.
  const bool marqueDuSkin = points >= t * t / 50 && points <= t * t * 6 / 10;
  const bool claire = marqueDuSkin && luminance / points > 150;
  const QColor halo = claire ? QColor(20, 20, 20) : QColor(255, 255, 255);
  QPainter peintre(&anneau);
  peintre.setRenderHint(QPainter::Antialiasing);
  if (!marqueDuSkin) {
    const QPointF centre(t / 2.0 - 0.5, t / 2.0 - 0.5);
    const qreal rayon = t * 0.3, epaisseur = std::max(1.5, t / 12.0);
    peintre.setBrush(Qt::NoBrush);
    peintre.setPen(QPen(QColor(255, 255, 255, 190), epaisseur + 2));
    peintre.drawEllipse(centre, rayon, rayon);
    peintre.setPen(QPen(QColor(200, 30, 40, 230), epaisseur));
    peintre.drawEllipse(centre, rayon, rayon);
    return anneau;
  }
  peintre.end();
  // The halo: the mark widened by a pixel or two, under the mark itself.
  const int r = std::max(1, t / 24);
  for (int y = 0; y < t; ++y)
    for (int x = 0; x < t; ++x) {
      float voisin = 0;
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx) {
          const int xv = x + dx, yv = y + dy;
          if (xv >= 0 && yv >= 0 && xv < t && yv < t) voisin = std::max(voisin, marque[static_cast<std::size_t>(yv * t + xv)]);
        }
      const float m = marque[static_cast<std::size_t>(y * t + x)] * 0.9f, h = voisin * 0.7f;
      const float alpha = m + h * (1 - m);
      if (alpha <= 0) continue;
      const QRgb c = place.pixel(x, y);
      auto canal = [&](int couleur, int fondHalo) {
        return static_cast<int>(std::lround(couleur * m + fondHalo * h * (1 - m)));
      };
      anneau.setPixel(x, y, qRgba(canal(qRed(c), halo.red()), canal(qGreen(c), halo.green()), canal(qBlue(c), halo.blue()),
                                  static_cast<int>(std::lround(alpha * 255))));
    }
  return anneau;
}

void TImagesPieces::DessinerAnneau(QPainter& peintre, int ligne, int colonne) const {
  const int t = tailleCase_;
  peintre.drawImage(QRect((colonne - 1) * t, (ligne - 1) * t, t, t), anneau_, QRect(0, 0, t - 1, t - 1));
}

const QImage* TImagesPieces::Image(TSerieMap serie, int16_t map) const {
  const auto indice = static_cast<std::size_t>(serie);
  if (indice >= listes_.size() || map < 0) return nullptr;
  const auto& liste = listes_[indice];
  return static_cast<std::size_t>(map) < liste.size() ? &liste[static_cast<std::size_t>(map)] : nullptr;
}

void TImagesPieces::DessinerCase(QPainter& peintre, const TCellule& cellule, int ligne, int colonne, bool anneau) const {
  const QImage* image = Image(cellule.Serie, cellule.Map);
  if (!image) image = Image(TSerieMap::Vide, kMapFond);
  const int t = tailleCase_;
  peintre.drawImage(QRect((colonne - 1) * t, (ligne - 1) * t, t, t), *image, QRect(0, 0, t - 1, t - 1));
  if (anneau && cellule.PlaceFinal && cellule.Serie != TSerieMap::Vide) DessinerAnneau(peintre, ligne, colonne);
}

void TImagesPieces::DessinerCaseDouble(QPainter& peintre, const TCellule& cellule, int ligne, int colonne,
                                       bool anneau) const {
  if (!PiecesDoubles()) return;
  const auto image = [this](TSerieMap serie, int16_t map) -> const QImage* {
    const auto& liste = listesDoubles_[static_cast<std::size_t>(serie)];
    return map >= 0 && static_cast<std::size_t>(map) < liste.size() ? &liste[static_cast<std::size_t>(map)] : nullptr;
  };
  const QImage* tuile = image(cellule.Serie, cellule.Map);
  if (!tuile) tuile = image(TSerieMap::Vide, kMapFond);
  const int t = 2 * tailleCase_;
  const QPoint coin((colonne - 1) * t, (ligne - 1) * t);
  peintre.drawImage(coin, *tuile);
  if (anneau && cellule.PlaceFinal && cellule.Serie != TSerieMap::Vide) peintre.drawImage(coin, anneauDouble_);
}

QImage TImagesPieces::DessinerPlateau(const TPlateau& plateau, bool anneaux) const {
  QImage image(std::max(1, plateau.Largeur * tailleCase_), std::max(1, plateau.Hauteur * tailleCase_),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter peintre(&image);
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) DessinerCase(peintre, plateau.Case(l, c), l, c, anneaux);
  return image;
}

QImage TImagesPieces::DessinerPlateauDouble(const TPlateau& plateau, bool anneaux) const {
  if (!PiecesDoubles()) return {};
  const int t = 2 * tailleCase_;
  QImage image(std::max(1, plateau.Largeur * t), std::max(1, plateau.Hauteur * t), QImage::Format_RGB32);
  QPainter peintre(&image);
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) DessinerCaseDouble(peintre, plateau.Case(l, c), l, c, anneaux);
  return image;
}

void TImageZoom::Definir(const QImage& source, int zoom) {
  zoom_ = zoom > 0 ? zoom : 100;
  DefinirEcran(source, QSize(AEchelle(source.width(), zoom_), AEchelle(source.height(), zoom_)), 1);
}

void TImageZoom::DefinirEcran(const QImage& source, QSize ecran, qreal ratio) {
  source_ = source.size();
  if (ecran == source.size() || source.isNull()) {
    image_ = QImage();
    return;
  }
  image_ = QImage(ecran.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio);
  MettreAJour(source, source.rect());
}

QRect TImageZoom::VersEcran(const QRect& zone) const {
  if (image_.isNull() || source_.isEmpty()) return zone;
  const double sx = double(image_.width()) / source_.width(), sy = double(image_.height()) / source_.height();
  // Smooth filtering reaches one screen pixel further on each side.
  const int gauche = static_cast<int>(std::floor(zone.left() * sx)) - 1;
  const int haut = static_cast<int>(std::floor(zone.top() * sy)) - 1;
  const int droite = static_cast<int>(std::ceil((zone.right() + 1) * sx)) + 1;
  const int bas = static_cast<int>(std::ceil((zone.bottom() + 1) * sy)) + 1;
  return QRect(QPoint(gauche, haut), QPoint(droite - 1, bas - 1)).intersected(image_.rect());
}

QRect TImageZoom::MettreAJour(const QImage& source, const QRect& zone) {
  const QRect ecran = VersEcran(zone);
  if (image_.isNull() || ecran.isEmpty()) return ecran;
  QPainter peintre(&image_);
  peintre.setRenderHint(QPainter::SmoothPixmapTransform);
  // The whole picture drawn through a clip: the pixels inside come out as
  // a full scaling makes them, with no seam at the edges of the area.
  peintre.setClipRect(ecran);
  peintre.drawImage(QRectF(image_.rect()), source, QRectF(source.rect()));
  return ecran;
}

}  // namespace glissaro
