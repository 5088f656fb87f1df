#include "DessinPlateau.h"

#include <QFileInfo>
#include <QPainter>

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
}

QString TImagesPieces::ChargerPieces(const QString& chemin) {
  QImage image;
  if (!QFileInfo(chemin).isFile() || !image.load(chemin))
    return QStringLiteral("Impossible d'ouvrir le fichier %1").arg(chemin);
  return ChargerPieces(image, chemin);
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
  auto couper = [&](Position p) {
    QImage tuile = Vierge(taille);
    QPainter peintre(&tuile);
    peintre.drawImage(QRect(0, 0, taille - 1, taille - 1), source,
                      QRect(p.colonne * taille, p.ligne * taille, taille, taille));
    return tuile;
  };
  std::array<std::vector<QImage>, 4> listes;
  auto& normal = listes[static_cast<std::size_t>(TSerieMap::Normal)];
  auto& final = listes[static_cast<std::size_t>(TSerieMap::Final)];
  auto& bord = listes[static_cast<std::size_t>(TSerieMap::Bord)];
  auto& fond = listes[static_cast<std::size_t>(TSerieMap::Vide)];
  for (const auto p : kFond) fond.push_back(couper(p));
  for (const auto p : kNormal) normal.push_back(couper(p));
  // Border tiles lie five columns to the right, master tiles five rows below.
  for (const auto p : kNormal) bord.push_back(couper({p.colonne + 5, p.ligne}));
  bord.push_back(couper(kPorteFermee));
  bord.push_back(couper(kPorteTouchee));
  for (const auto p : kNormal) final.push_back(couper({p.colonne, p.ligne + 5}));

  listes_ = std::move(listes);
  tailleCase_ = taille;
  return {};
}

const QImage* TImagesPieces::Image(TSerieMap serie, int16_t map) const {
  const auto indice = static_cast<std::size_t>(serie);
  if (indice >= listes_.size() || map < 0) return nullptr;
  const auto& liste = listes_[indice];
  return static_cast<std::size_t>(map) < liste.size() ? &liste[static_cast<std::size_t>(map)] : nullptr;
}

void TImagesPieces::DessinerCase(QPainter& peintre, const TCellule& cellule, int ligne, int colonne) const {
  const QImage* image = Image(cellule.Serie, cellule.Map);
  if (!image) image = Image(TSerieMap::Vide, kMapFond);
  const int t = tailleCase_;
  peintre.drawImage(QRect((colonne - 1) * t, (ligne - 1) * t, t, t), *image, QRect(0, 0, t - 1, t - 1));
}

QImage TImagesPieces::DessinerPlateau(const TPlateau& plateau) const {
  QImage image(std::max(1, plateau.Largeur * tailleCase_), std::max(1, plateau.Hauteur * tailleCase_),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter peintre(&image);
  for (int l = 1; l <= plateau.Hauteur; ++l)
    for (int c = 1; c <= plateau.Largeur; ++c) DessinerCase(peintre, plateau.Case(l, c), l, c);
  return image;
}

}  // namespace glissaro
