#include "SkinForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <new>

#include "Dialogues.h"
#include "Ini.h"
#include "SkinFields.h"
#include "SkinImages.h"
#include "Texte.h"

namespace glissaro {

namespace {

const QString kChiffres = QStringLiteral("0123456789 ");
const QString kLignesTexte[3] = {
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ@\"?*"),
    QStringLiteral("0123456789 .:<>-'!_+\\/[]^&%,=$"),
    QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
};
constexpr int kColonnesTexte = 30;
// Where a character missing from the strip is drawn from: the blank.
constexpr int kLigneBlanc = 1;
constexpr int kColonneBlanc = 10;

// The plain letters of an accented letter or a ligature ("É" E, "ç" c,
// "œ" oe), the straight apostrophe for the curly ones; empty for anything
// else.
QString LettresSimples(QChar caractere) {
  switch (caractere.unicode()) {
    case u'œ': return QStringLiteral("oe");
    case u'Œ': return QStringLiteral("OE");
    case u'æ': return QStringLiteral("ae");
    case u'Æ': return QStringLiteral("AE");
    case u'ß': return QStringLiteral("ss");
    case u'\u2018':
    case u'\u2019': return QStringLiteral("'");
    default: break;
  }
  const QString decompose = QString(caractere).normalized(QString::NormalizationForm_D);
  if (decompose.size() > 1 && decompose[0].unicode() < 0x80) return decompose.left(1);
  return {};
}

constexpr std::size_t kTailleLotRegion = 2000;
constexpr std::size_t kCroissanceTampon = 100;

constexpr const char* kLigneHotAreaDefaut = "NOT_DEFINED, 0, 0, 0, 0, Hint";
constexpr const char* kLigneDisplayDefaut = "NOT_DEFINED, Arial, FALSE, FALSE, 0, $000000, 0, 0";
constexpr const char* kLigneTrackBarDefaut = "NOT_DEFINED, NOT_DEFINED, NOT_DEFINED, 0, 0, 0, H";

constexpr const char* kAvertissementVersion = "Skin File is an old version.\rPlease use skin builder to update it.";
constexpr const char* kPasSurUneFenetre = "Please Drop me on a Form";
constexpr const char* kMemoireInsuffisante = "Mémoire insuffisante";
constexpr const char* kMemoireRegion = "Échec d'assertion (SkinForm) : mémoire insuffisante pour la région de la fenêtre";

QString Q(const std::string& texte) { return QString::fromStdString(texte); }

// Whether a point lies in the rectangle from (left, top) up to, not
// including, (left + width, top + height); empty when a size is not positive.
bool Contient(const QRect& rect, const QPoint& point) {
  const int64_t x = point.x();
  const int64_t y = point.y();
  return x >= rect.x() && x < int64_t{rect.x()} + rect.width() && y >= rect.y() &&
         y < int64_t{rect.y()} + rect.height();
}

// Skins have a few dozen elements; a count past this is a broken or hostile
// description, refused before any table is sized to it.
constexpr int kElementsMax = 1000;

int Compte(const FichierIni& description, const char* section) {
  const int compte = std::max(0, description.LireEntier(section, "Count", 0));
  if (compte > kElementsMax)
    throw ErreurSkin("Trop d'éléments dans la section [" + std::string(section) + "] : " + std::to_string(compte) +
                     " (" + std::to_string(kElementsMax) + " au plus)");
  return compte;
}

// Draws part of a picture (rect, in panel pixels) at a place of the
// surface, pixels as they are: a picture drawn at twice the size gives its
// own pixels, one in panel pixels is enlarged on a surface at twice it.
void Dessiner(QPainter& peintre, const QPoint& cible, const QImage& source, const QRect& rect) {
  const qreal r = source.devicePixelRatio();
  peintre.drawImage(QRectF(cible, rect.size()), source, QRectF(rect.x() * r, rect.y() * r, rect.width() * r, rect.height() * r));
}

void Copier(QImage& surface, const QPoint& cible, const QImage& source, const QRect& rect) {
  if (surface.isNull() || source.isNull()) return;
  QPainter peintre(&surface);
  peintre.setCompositionMode(QPainter::CompositionMode_Source);
  Dessiner(peintre, cible, source, rect);
}

// Opaque where the mask is not of the key colour range, transparent
// elsewhere.
QImage AlphaDuMasque(const QImage& masque, const QColor& cle, const QColor& tolerance) {
  const QImage image = masque.convertToFormat(QImage::Format_RGB32);
  QImage alpha(image.size(), QImage::Format_ARGB32_Premultiplied);
  const int hautR = std::min(cle.red() + tolerance.red(), 255), hautG = std::min(cle.green() + tolerance.green(), 255),
            hautB = std::min(cle.blue() + tolerance.blue(), 255);
  for (int y = 0; y < image.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* cible = reinterpret_cast<QRgb*>(alpha.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int r = qRed(source[x]), g = qGreen(source[x]), b = qBlue(source[x]);
      const bool dehors = r >= cle.red() && r <= hautR && g >= cle.green() && g <= hautG && b >= cle.blue() && b <= hautB;
      cible[x] = dehors ? 0 : 0xFF000000;
    }
  }
  alpha.setDevicePixelRatio(masque.devicePixelRatio());
  return alpha;
}

}  // namespace

QColor CouleurDepuisValeur(int32_t valeur) {
  const auto v = static_cast<uint32_t>(valeur);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

QRect TrackBarInfoRec::TrackRect() const {
  return Horizontal ? QRect(Left, Top, Length, ThumbHeight) : QRect(Left, Top, ThumbWidth, Length);
}

QRect TrackBarInfoRec::ThumbRect() const {
  return Horizontal ? QRect(Left + Offset, Top, ThumbWidth, ThumbHeight)
                    : QRect(Left, Top + Offset, ThumbWidth, ThumbHeight);
}

// ---- creation and placing ---------------------------------------------------

TSkinForm::TSkinForm(Dialogues& dialogues, QWidget* parent) : QWidget(parent), dialogues_(dialogues) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  PlacerSurParent();
}

TSkinForm::~TSkinForm() {
  if (fenetreSuivie_) fenetreSuivie_->removeEventFilter(this);
}

void TSkinForm::PlacerSurParent() {
  if (fenetreSuivie_) {
    fenetreSuivie_->removeEventFilter(this);
    fenetreSuivie_ = nullptr;
  }
  QWidget* parent = parentWidget();
  inerte_ = false;
  if (parent == nullptr) return;
  if (!parent->isWindow()) {
    // Only a window can take the skin's shape: the component stays inert.
    inerte_ = true;
    dialogues_.Erreur(kPasSurUneFenetre);
    return;
  }
  if (!parent->windowFlags().testFlag(Qt::FramelessWindowHint)) {
    const bool visible = parent->isVisible();
    parent->setWindowFlag(Qt::FramelessWindowHint, true);
    if (visible) parent->show();
  }
  fenetreSuivie_ = parent;
  parent->installEventFilter(this);
  if (!shapedByOwner_) setGeometry(parent->rect());
}

QWidget* TSkinForm::Fenetre() const {
  if (inerte_) return nullptr;
  QWidget* parent = parentWidget();
  return parent != nullptr && parent->isWindow() ? parent : nullptr;
}

bool TSkinForm::event(QEvent* evenement) {
  switch (evenement->type()) {
    case QEvent::ParentChange:
      PlacerSurParent();
      break;
    case QEvent::ToolTip: {
      // The hint is that of the element under the mouse at the last
      // movement; its 1-pixel sensitive area makes the next movement end it,
      // so that the next hint shown is that of the element then under the
      // mouse.
      const auto* aide = static_cast<QHelpEvent*>(evenement);
      if (inerte_ || hint_.isEmpty()) {
        QToolTip::hideText();
        evenement->ignore();
        return true;
      }
      QToolTip::showText(aide->globalPos(), hint_, this, QRect(aide->pos(), QSize(1, 1)));
      return true;
    }
    case QEvent::Leave:
      // The pointer left the panel, maybe straight from an area: every
      // element shows its picture at rest again (toggles stay down).
      if (!inerte_ && !deplacementFenetre_) {
        for (auto& zone : hotAreas_) zone.Pressed = false;
        isOver_ = false;
        currentID_.clear();
        hint_.clear();
        RedrawSkin();
      }
      break;
    default:
      break;
  }
  return QWidget::event(evenement);
}

bool TSkinForm::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == fenetreSuivie_ && evenement->type() == QEvent::Resize && !shapedByOwner_)
    setGeometry(fenetreSuivie_->rect());
  return QWidget::eventFilter(objet, evenement);
}

void TSkinForm::paintEvent(QPaintEvent* evenement) {
  QPainter peintre(this);
  const QRect zone = evenement->rect();
  if (surface_.isNull()) {
    if (shapedByOwner_) peintre.setCompositionMode(QPainter::CompositionMode_Source);
    peintre.fillRect(zone, shapedByOwner_ ? QColor(Qt::transparent) : palette().window().color());
    return;
  }
  const QRect panneau(QPoint(0, 0), surface_.deviceIndependentSize().toSize());
  const qreal r = surface_.devicePixelRatio();
  const QRect visible = zone.intersected(panneau);
  const QRect pixels(visible.x() * r, visible.y() * r, visible.width() * r, visible.height() * r);
  if (shapedByOwner_) {
    // Nothing of the panel outside its mask: the desktop shows through.
    peintre.setCompositionMode(QPainter::CompositionMode_Source);
    peintre.fillRect(zone, Qt::transparent);
    QImage morceau = surface_.copy(pixels).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!alphaMasque_.isNull()) {
      QPainter masque(&morceau);
      masque.setCompositionMode(QPainter::CompositionMode_DestinationIn);
      masque.drawImage(QPoint(0, 0), alphaMasque_, pixels);
    }
    peintre.drawImage(QRectF(visible), morceau);
    return;
  }
  for (const QRect& reste : QRegion(zone).subtracted(QRegion(panneau))) peintre.fillRect(reste, palette().window());
  peintre.drawImage(QRectF(visible), surface_, QRectF(pixels));
}

// ---- loading ----------------------------------------------------------------

bool TSkinForm::LoadSkinFile(const QString& chemin) {
  if (inerte_) return false;
  QString normalise = chemin;
  normalise.replace('\\', '/');
  const QString reel = TrouverFichierSansCasse(normalise);
  const std::string dossier = (QFileInfo(reel).path() + '/').toStdString();
  return Charger(
      [&] {
        std::string illisible;
        auto description = FichierIni::Charger(reel.toStdString(), &illisible);
        if (!illisible.empty()) throw ErreurSkin(illisible);
        return description;
      },
      Source::Fichier, dossier);
}

bool TSkinForm::LoadDefaultSkin() {
  if (inerte_) return false;
  // The embedded description is read from memory: no file is written.
  return Charger(
      [] {
        InitialiserRessourcesSkin();
        QFile ressource(QString::fromLatin1(kRessourceDescriptionSkin));
        if (!ressource.open(QIODevice::ReadOnly)) throw ErreurSkin("Ressource SKIN non trouvée");
        const QByteArray octets = ressource.readAll();
        return FichierIni::DepuisTexte(std::string_view(octets.constData(), static_cast<std::size_t>(octets.size())));
      },
      Source::Ressource, {});
}

bool TSkinForm::Charger(const std::function<FichierIni()>& ouvrir, Source source, const std::string& dossier) {
  try {
    if (QWidget* fenetre = Fenetre()) setGeometry(fenetre->rect());
    hoverEnabled_ = true;
    const FichierIni description = ouvrir();
    LireDescription(description, source, dossier);
    return true;
  } catch (const ErreurSkin& erreur) {
    dialogues_.Erreur(erreur.what());
  } catch (const std::bad_alloc&) {
    dialogues_.Erreur(kMemoireInsuffisante);
  } catch (const std::exception& erreur) {
    dialogues_.Erreur(erreur.what());
  }
  return false;
}

int TSkinForm::EchelleEcran() const {
  const QWidget* fenetre = Fenetre();
  const qreal ratio = fenetre ? fenetre->devicePixelRatioF() : QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0;
  return ratio >= 1.5 ? 2 : 1;
}

void TSkinForm::ChargerImage(LecteurImagesSkin& lecteur, ImageSkin& cible, const std::string& nom, Source source,
                             const BorneImage& borne) {
  if (source == Source::Ressource) {
    cible.simple = lecteur.Ressource(nom);
    cible.double_ = echelle_ == 2 ? LecteurImagesSkin::RessourceDouble(nom, cible.simple.size()) : QImage();
  } else if (auto image = lecteur.Fichier(nom, borne)) {
    cible.simple = std::move(*image);
    cible.double_ = echelle_ == 2 ? lecteur.FichierDouble(nom, borne, cible.simple.size()) : QImage();
  }
}

void TSkinForm::LireDescription(const FichierIni& description, Source source, const std::string& dossier) {
  echelle_ = EchelleEcran();
  version_ = description.LireEntier("Version", "Ver", 0);
  if (version_ < SkinFileVersion) dialogues_.Avertissement(kAvertissementVersion);

  // Each picture defaults to the one before it, as written.
  std::string masque = description.LireTexte("BITMAPINFO", "MaskBitmap", "");
  std::string repos = description.LireTexte("BITMAPINFO", "MouseUpBitmap", masque);
  std::string enfonce = description.LireTexte("BITMAPINFO", "MouseDownBitmap", repos);
  std::string survol = description.LireTexte("BITMAPINFO", "MouseOnBitmap", enfonce);
  std::string chiffres = description.LireTexte("BITMAPINFO", "NumbersBitmap", "");
  std::string caracteres = description.LireTexte("BITMAPINFO", "TextBitmap", "");
  if (survol == enfonce) hoverEnabled_ = false;
  if (source == Source::Fichier) {
    masque = dossier + masque;
    repos = dossier + repos;
    enfonce = dossier + enfonce;
    if (!survol.empty()) survol = dossier + survol;
    if (!chiffres.empty()) chiffres = dossier + chiffres;
    if (!caracteres.empty()) caracteres = dossier + caracteres;
  }

  hotAreas_.resize(static_cast<std::size_t>(Compte(description, "HOTAREAINFO")));

  LecteurImagesSkin lecteur(dialogues_);
  ChargerImage(lecteur, masque_, masque, source, kBornePanneau);
  ChargerImage(lecteur, imageRepos_, repos, source, kBornePanneau);
  ChargerImage(lecteur, imageSurvol_, survol, source, kBornePanneau);
  ChargerImage(lecteur, imageEnfonce_, enfonce, source, kBornePanneau);
  if (!chiffres.empty()) ChargerImage(lecteur, chiffres_, chiffres, source, kBorneBande);
  if (!caracteres.empty()) ChargerImage(lecteur, caracteres_, caracteres, source, kBorneBande);

  ApplyMask();

  groupes_.clear();
  for (std::size_t i = 0; i < hotAreas_.size(); ++i)
    LireHotArea(hotAreas_[i], static_cast<int>(i),
                description.LireTexte("HOTAREAINFO", std::to_string(i + 1), kLigneHotAreaDefaut));

  const int nombreDisplays = Compte(description, "DISPLAYINFO");
  charset_ = description.LireEntier("DISPLAYINFO", "Charset", 1);
  displays_.resize(static_cast<std::size_t>(nombreDisplays));
  for (std::size_t i = 0; i < displays_.size(); ++i)
    LireDisplay(displays_[i], description.LireTexte("DISPLAYINFO", std::to_string(i + 1), kLigneDisplayDefaut));

  trackBars_.resize(static_cast<std::size_t>(Compte(description, "TRACKBARINFO")));
  for (std::size_t i = 0; i < trackBars_.size(); ++i)
    LireTrackBar(lecteur, trackBars_[i],
                 description.LireTexte("TRACKBARINFO", std::to_string(i + 1), kLigneTrackBarDefaut), source, dossier);

  dragging_ = false;
  activeTrackBar_ = -1;
  emit OnSkinChanged();
  RedrawSkin();
}

void TSkinForm::LireHotArea(HotAreaInfoRec& zone, int index, const std::string& ligne) {
  const auto champs = SplitFields(ligne);
  zone.ID = Q(ChampTexte(champs, 0));
  zone.Left = ChampEntier(champs, 1);
  zone.Top = ChampEntier(champs, 2);
  zone.Width = ChampEntier(champs, 3);
  zone.Height = ChampEntier(champs, 4);
  zone.Hint = Q(ChampTexte(champs, 5));
  zone.IsToggle = false;
  zone.Group.clear();
  zone.Pressed = false;
  if (champs.size() >= 7) {
    zone.IsToggle = true;
    zone.Down = champs[6] != "FALSE";
  }
  // The group is read only from lines of exactly 8 fields.
  if (champs.size() == 8) zone.Group = Q(champs[7]);
  if (zone.Group.isEmpty()) return;
  auto groupe = std::find_if(groupes_.begin(), groupes_.end(),
                             [&](const GroupInfoRec& g) { return g.Name == zone.Group; });
  if (groupe == groupes_.end()) groupe = groupes_.insert(groupes_.end(), GroupInfoRec{zone.Group, -1});
  if (zone.Down) groupe->Current = index;
}

void TSkinForm::LireDisplay(DisplayInfoRec& affichage, const std::string& ligne) {
  const auto champs = SplitFields(ligne);
  affichage.Font = QFont();
  affichage.Charset = charset_;
  affichage.ID = Q(ChampTexte(champs, 0));
  affichage.Font.setFamily(Q(ChampTexte(champs, 1)));
  affichage.Font.setBold(ChampTexte(champs, 2) == "TRUE");
  affichage.Font.setItalic(ChampTexte(champs, 3) == "TRUE");
  const int taille = ChampEntier(champs, 4);
  // A negative size is a height in pixels; zero keeps the default size.
  if (taille > 0)
    affichage.Font.setPointSize(taille);
  else if (taille < 0 && taille > std::numeric_limits<int>::min())
    affichage.Font.setPixelSize(-taille);
  affichage.FontColor = CouleurDepuisValeur(ChampEntier(champs, 5));
  affichage.Left = ChampEntier(champs, 6);
  affichage.Top = ChampEntier(champs, 7);
  if (champs.size() >= 9) affichage.Kind = Q(champs[8]);
  affichage.Value = champs.size() >= 10 ? Q(champs[9]) : QString();
  affichage.Hint = champs.size() >= 11 ? Q(champs[10]) : QString();
  if (champs.size() >= 13) {
    affichage.Width = EntierStrict(champs[11]).value_or(10);
    affichage.Height = EntierStrict(champs[12]).value_or(10);
  }
}

void TSkinForm::LireTrackBar(LecteurImagesSkin& lecteur, TrackBarInfoRec& barre, const std::string& ligne,
                             Source source, const std::string& dossier) {
  const auto champs = SplitFields(ligne);
  barre.ID = Q(ChampTexte(champs, 0));
  std::string pouce = ChampTexte(champs, 1);
  std::string pouceActif = ChampTexte(champs, 2);
  barre.Left = ChampEntier(champs, 3);
  barre.Top = ChampEntier(champs, 4);
  barre.Length = ChampEntier(champs, 5);
  barre.Horizontal = ChampTexte(champs, 6) != "V";
  barre.Position = champs.size() >= 8 ? static_cast<uint8_t>(ChampEntier(champs, 7)) : 0;
  barre.Hint = champs.size() >= 9 ? Q(champs[8]) : QString();
  barre.Min = 0;
  barre.Max = 100;
  if (source == Source::Fichier) {
    pouce = dossier + pouce;
    pouceActif = dossier + pouceActif;
  }
  ImageSkin auRepos{barre.ThumbBitmap, barre.ThumbBitmap2x}, actif{barre.ActiveThumbBitmap, barre.ActiveThumbBitmap2x};
  ChargerImage(lecteur, auRepos, pouce, source, kBorneBande);
  ChargerImage(lecteur, actif, pouceActif, source, kBorneBande);
  barre.ThumbBitmap = auRepos.simple;
  barre.ThumbBitmap2x = auRepos.double_;
  barre.ActiveThumbBitmap = actif.simple;
  barre.ActiveThumbBitmap2x = actif.double_;
  barre.ThumbWidth = barre.ActiveThumbBitmap.width();
  barre.ThumbHeight = barre.ActiveThumbBitmap.height();
  if (barre.Length <= barre.ThumbSize())
    throw ErreurSkin("La barre de défilement " + barre.ID.toStdString() + " est trop courte pour son curseur (longueur " +
                     std::to_string(barre.Length) + ", curseur " + std::to_string(barre.ThumbSize()) + ")");
  barre.Offset = static_cast<int>(int64_t{barre.Length - barre.ThumbSize()} * barre.Position / 100);
}

// ---- window shape -------------------------------------------------------------

std::optional<QRegion> TSkinForm::BitmapToRegion(const QImage& masque, const QColor& keyColor,
                                                 const QColor& tolerance) {
  if (masque.isNull()) return std::nullopt;
  const QImage image = masque.convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) return std::nullopt;
  const int basR = keyColor.red(), basG = keyColor.green(), basB = keyColor.blue();
  const int hautR = std::min(basR + tolerance.red(), 255);
  const int hautG = std::min(basG + tolerance.green(), 255);
  const int hautB = std::min(basB + tolerance.blue(), 255);
  const auto transparent = [&](QRgb p) {
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    return r >= basR && r <= hautR && g >= basG && g <= hautG && b >= basB && b <= hautB;
  };

  try {
    QRegion region;
    std::vector<QRect> tampon;
    // The runs are merged batch by batch, so the buffer stays bounded.
    const auto fusionner = [&] {
      if (tampon.empty()) return;
      QRegion lot;
      lot.setRects(tampon.data(), static_cast<int>(tampon.size()));
      region += lot;
      tampon.clear();
    };
    const int largeur = image.width();
    for (int y = 0; y < image.height(); ++y) {
      const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      int x = 0;
      while (x < largeur) {
        while (x < largeur && transparent(ligne[x])) ++x;
        if (x >= largeur) break;
        const int debut = x;
        while (x < largeur && !transparent(ligne[x])) ++x;
        if (tampon.size() == tampon.capacity()) tampon.reserve(tampon.capacity() + kCroissanceTampon);
        tampon.emplace_back(debut, y, x - debut, 1);
        if (tampon.size() == kTailleLotRegion) fusionner();
      }
    }
    fusionner();
    return region;
  } catch (const std::bad_alloc&) {
    throw ErreurSkin(kMemoireRegion);
  }
}

void TSkinForm::ApplyMask() {
  const QSize taille = masque_.simple.size();
  QWidget* fenetre = Fenetre();
  if (fenetre && !shapedByOwner_) fenetre->resize(taille);
  resize(taille);
  surface_ = masque_.simple.isNull() ? QImage() : QImage(taille * echelle_, QImage::Format_RGB32);
  if (!surface_.isNull()) {
    surface_.setDevicePixelRatio(echelle_);
    surface_.fill(Qt::white);
  }
  const auto region = BitmapToRegion(masque_.simple, keyColor_, tolerance_);
  region_ = region;
  alphaMasque_ = QImage();
  if (shapedByOwner_) {
    // The window is the owner's: the shape only tells what to paint, from
    // the finer mask when the skin is drawn at twice the size.
    if (!masque_.simple.isNull()) {
      alphaMasque_ = AlphaDuMasque(masque_.Ecran(), keyColor_, tolerance_);
      if (alphaMasque_.devicePixelRatio() != echelle_) {
        alphaMasque_ = alphaMasque_.scaled(surface_.size());
        alphaMasque_.setDevicePixelRatio(echelle_);
      }
    }
    update();
    return;
  }
  if (fenetre) {
    if (!region)
      fenetre->clearMask();
    else if (region->isEmpty())
      // Qt takes an empty mask for no mask at all: a region outside the
      // window leaves no pixel of it visible.
      fenetre->setMask(QRegion(-1, -1, 1, 1));
    else
      fenetre->setMask(*region);
  }
  update();
}

// ---- drawing -------------------------------------------------------------------

void TSkinForm::CopierRect(const ImageSkin& source, const QRect& rect) {
  Copier(surface_, rect.topLeft(), source.Ecran(), rect);
  update(rect);
}

void TSkinForm::RedrawSkin() {
  if (!surface_.isNull()) {
    {
      QPainter peintre(&surface_);
      peintre.setCompositionMode(QPainter::CompositionMode_Source);
      if (!imageRepos_.simple.isNull()) peintre.drawImage(QPointF(0, 0), imageRepos_.Ecran());
      if (!imageEnfonce_.simple.isNull())
        for (const auto& zone : hotAreas_)
          if ((zone.IsToggle && zone.Down) || zone.Pressed)
            Dessiner(peintre, zone.Rect().topLeft(), imageEnfonce_.Ecran(), zone.Rect());
      for (std::size_t i = 0; i < trackBars_.size(); ++i) {
        const auto& barre = trackBars_[i];
        const bool active = static_cast<int>(i) == activeTrackBar_;
        const QImage& pouce = active ? barre.ActiveThumbBitmap : barre.ThumbBitmap;
        const QImage& double_ = active ? barre.ActiveThumbBitmap2x : barre.ThumbBitmap2x;
        if (!pouce.isNull()) peintre.drawImage(QPointF(barre.ThumbRect().topLeft()), double_.isNull() ? pouce : double_);
      }
    }
    for (const auto& affichage : displays_) {
      if (affichage.Kind == QLatin1String("Number")) {
        DrawNumberStrip(affichage.Left, affichage.Top, affichage.Value);
      } else if (affichage.Kind == QLatin1String("Text")) {
        DrawTextStrip(affichage.Left, affichage.Top, affichage.Value);
      } else {
        QPainter peintre(&surface_);
        peintre.setClipRect(affichage.Rect());
        peintre.setFont(affichage.Font);
        peintre.setPen(affichage.FontColor);
        peintre.setBackgroundMode(Qt::TransparentMode);
        const QFontMetrics mesures(affichage.Font, &surface_);
        peintre.drawText(QPoint(affichage.Left, affichage.Top + mesures.ascent()), affichage.Value);
      }
    }
  }
  needsRedraw_ = false;
  update();
}

void TSkinForm::DrawNumberStrip(int left, int top, const QString& texte) {
  const int largeur = chiffres_.simple.width() / static_cast<int>(kChiffres.size());
  const int hauteur = chiffres_.simple.height();
  if (surface_.isNull() || largeur <= 0) return;
  for (int i = 0; i < texte.size(); ++i) {
    const int k = std::max(0, static_cast<int>(kChiffres.indexOf(texte[i])));
    Copier(surface_, QPoint(left + i * largeur, top), chiffres_.Ecran(), QRect(k * largeur, 0, largeur, hauteur));
  }
  update();
}

void TSkinForm::DrawTextStrip(int left, int top, const QString& texte) {
  const int largeur = caracteres_.simple.width() / kColonnesTexte;
  const int hauteur = caracteres_.simple.height() / 3;
  if (surface_.isNull() || largeur <= 0 || hauteur <= 0) return;
  // Where a character stands in the strip: (row, column), or nothing.
  auto chercher = [](QChar caractere) -> std::optional<QPoint> {
    for (int r = 0; r < 3; ++r)
      if (const auto c = kLignesTexte[r].indexOf(caractere); c >= 0) return QPoint(static_cast<int>(c), r);
    return std::nullopt;
  };
  int position = 0;
  auto dessiner = [&](QPoint glyphe) {
    Copier(surface_, QPoint(left + position++ * largeur, top), caracteres_.Ecran(),
           QRect(glyphe.x() * largeur, glyphe.y() * hauteur, largeur, hauteur));
  };
  for (const QChar caractere : texte) {
    if (const auto glyphe = chercher(caractere)) {
      dessiner(*glyphe);
      continue;
    }
    // A letter missing from the strip is drawn as its plain letters; what
    // has none is the blank.
    const QString simple = LettresSimples(caractere);
    if (simple.isEmpty()) dessiner({kColonneBlanc, kLigneBlanc});
    for (const QChar lettre : simple) dessiner(chercher(lettre).value_or(QPoint(kColonneBlanc, kLigneBlanc)));
  }
  update();
}

// ---- owner's operations ----------------------------------------------------------

void TSkinForm::SetDisplayText(const QString& id, const QString& texte) {
  for (auto& affichage : displays_) {
    if (affichage.ID == id) {
      affichage.Value = texte;
      break;
    }
  }
  RedrawSkin();
}

void TSkinForm::SetHotAreaDown(const QString& id, bool etat) {
  const int index = IndexOfHotArea(id);
  if (index < 0) return;
  hotAreas_[static_cast<std::size_t>(index)].Down = etat;
  RedrawSkin();
}

int TSkinForm::IndexOfHotArea(const QString& id) const {
  for (std::size_t i = 0; i < hotAreas_.size(); ++i)
    if (hotAreas_[i].ID == id) return static_cast<int>(i);
  return -1;
}

QString TSkinForm::GetHotAreaID(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= hotAreas_.size()) return {};
  return hotAreas_[static_cast<std::size_t>(index)].ID;
}

void TSkinForm::SelectGroupMember(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= hotAreas_.size()) return;
  const QString groupe = hotAreas_[static_cast<std::size_t>(index)].Group;
  const auto trouve =
      std::find_if(groupes_.begin(), groupes_.end(), [&](const GroupInfoRec& g) { return g.Name == groupe; });
  if (trouve == groupes_.end()) return;
  const int precedent = trouve->Current;
  trouve->Current = index;
  if (precedent == -1) return;
  SetHotAreaDown(GetHotAreaID(precedent), false);
  CopierRect(imageRepos_, hotAreas_[static_cast<std::size_t>(index)].Rect());
}

void TSkinForm::ClampTrackBar(TrackBarInfoRec& barre) {
  int position = std::clamp<int>(barre.Position, barre.Min, barre.Max);
  barre.Position = static_cast<uint8_t>(position);
  barre.Offset = static_cast<int>(int64_t{position} * (barre.Length - barre.ThumbSize()) / 100);
}

// ---- mouse ---------------------------------------------------------------------

void TSkinForm::PlacerCurseur(TrackBarInfoRec& barre, int64_t offset) {
  const int course = barre.Length - barre.ThumbSize();
  barre.Offset = static_cast<int>(std::clamp<int64_t>(offset, 0, course));
  barre.Position = static_cast<uint8_t>(int64_t{barre.Offset} * 100 / course);
  ClampTrackBar(barre);
  const QString id = barre.ID;
  const int position = barre.Position;
  emit OnTrackBarNotify(id, position);
  RedrawSkin();
}

bool TSkinForm::PresserTrackBar(int index, const QPoint& point) {
  auto& barre = trackBars_[static_cast<std::size_t>(index)];
  // A bar that its thumb fills cannot move (such skins are refused at load).
  if (barre.Length - barre.ThumbSize() <= 0) return false;
  const int coordonnee = barre.Horizontal ? point.x() : point.y();
  const int debut = barre.Horizontal ? barre.Left : barre.Top;
  if (Contient(barre.ThumbRect(), point)) {
    currentID_ = barre.ID;
    dragging_ = true;
    activeTrackBar_ = index;
    grabOffset_ = coordonnee - debut - barre.Offset;
    return true;
  }
  if (Contient(barre.TrackRect(), point)) {
    currentID_ = barre.ID;
    PlacerCurseur(barre, int64_t{coordonnee} - debut - barre.ThumbSize() / 2);
    return true;
  }
  return false;
}

void TSkinForm::DeplacerCurseur(const QPoint& point) {
  if (activeTrackBar_ < 0 || static_cast<std::size_t>(activeTrackBar_) >= trackBars_.size()) return;
  auto& barre = trackBars_[static_cast<std::size_t>(activeTrackBar_)];
  if (barre.Length - barre.ThumbSize() <= 0) return;
  const int coordonnee = barre.Horizontal ? point.x() : point.y();
  const int debut = barre.Horizontal ? barre.Left : barre.Top;
  if (coordonnee < debut || int64_t{coordonnee} > int64_t{debut} + barre.Length) return;
  currentID_ = barre.ID;
  PlacerCurseur(barre, int64_t{coordonnee} - debut - grabOffset_);
}

void TSkinForm::CommencerDeplacementFenetre(const QPoint& global) {
  QWidget* fenetre = Fenetre();
  if (fenetre == nullptr) return;
  deplacementFenetre_ = true;
  QWindow* poignee = fenetre->windowHandle();
  if (poignee != nullptr && poignee->startSystemMove()) {
    deplacementManuel_ = false;
    return;
  }
  // No system move on this platform: the window follows the mouse here
  // until the release.
  deplacementManuel_ = true;
  origineSouris_ = global;
  origineFenetre_ = fenetre->pos();
}

void TSkinForm::mousePressEvent(QMouseEvent* evenement) {
  if (inerte_) return;
  const QPoint point = evenement->position().toPoint();
  currentID_.clear();
  hotPressed_ = false;
  dragging_ = false;
  activeTrackBar_ = -1;
  deplacementFenetre_ = false;
  deplacementManuel_ = false;
  if (evenement->button() == Qt::LeftButton) {
    for (std::size_t i = 0; i < hotAreas_.size(); ++i) {
      if (!Contient(hotAreas_[i].Rect(), point)) continue;
      CopierRect(imageEnfonce_, hotAreas_[i].Rect());
      hotPressed_ = true;
      hotAreas_[i].Pressed = true;
      currentID_ = hotAreas_[i].ID;
      if (!hotAreas_[i].Group.isEmpty()) SelectGroupMember(static_cast<int>(i));
      if (hotAreas_[i].IsToggle) {
        hotAreas_[i].Down = !hotAreas_[i].Down;
        CopierRect(hotAreas_[i].Down ? imageEnfonce_ : imageRepos_, hotAreas_[i].Rect());
      }
      break;
    }
    for (const auto& affichage : displays_) {
      if (Contient(affichage.Rect(), point)) {
        hotPressed_ = true;
        currentID_ = affichage.ID;
        break;
      }
    }
    for (std::size_t i = 0; i < trackBars_.size(); ++i)
      if (PresserTrackBar(static_cast<int>(i), point)) break;
    if (!hotPressed_ && !dragging_) CommencerDeplacementFenetre(evenement->globalPosition().toPoint());
  }
  emit OnMouseDownNotify(currentID_, evenement->button(), evenement->modifiers(), point.x(), point.y());
}

void TSkinForm::mouseMoveEvent(QMouseEvent* evenement) {
  if (inerte_) return;
  if (deplacementFenetre_) {
    if (deplacementManuel_) {
      if (QWidget* fenetre = Fenetre())
        fenetre->move(origineFenetre_ + (evenement->globalPosition().toPoint() - origineSouris_));
      return;
    }
    // The system moves the window; once its button is up the move is over.
    if (evenement->buttons() != Qt::NoButton) return;
    deplacementFenetre_ = false;
  }
  const QPoint point = evenement->position().toPoint();
  if (needsRedraw_) RedrawSkin();
  hint_.clear();
  const bool etaitDessus = isOver_;
  currentID_.clear();
  if (dragging_) {
    DeplacerCurseur(point);
  } else {
    for (const auto& barre : trackBars_)
      if (Contient(barre.TrackRect(), point)) hint_ = barre.Hint;
  }
  for (auto& zone : hotAreas_) {
    if (Contient(zone.Rect(), point)) {
      isOver_ = true;
      currentID_ = zone.ID;
      if (hoverEnabled_) CopierRect(imageSurvol_, zone.Rect());
      hint_ = zone.Hint;
      break;
    }
    zone.Pressed = false;
    isOver_ = false;
  }
  for (const auto& affichage : displays_) {
    if (Contient(affichage.Rect(), point)) {
      currentID_ = affichage.ID;
      hint_ = affichage.Hint;
      break;
    }
  }
  if (etaitDessus != isOver_) needsRedraw_ = true;
  emit OnMouseMoveNotify(currentID_, evenement->buttons(), evenement->modifiers(), point.x(), point.y());
  QWidget::mouseMoveEvent(evenement);
}

void TSkinForm::mouseReleaseEvent(QMouseEvent* evenement) {
  if (inerte_) return;
  if (deplacementFenetre_) {
    // The release ends the window move and reaches no element.
    deplacementFenetre_ = false;
    deplacementManuel_ = false;
    return;
  }
  const QPoint point = evenement->position().toPoint();
  currentID_.clear();
  hotPressed_ = false;
  dragging_ = false;
  activeTrackBar_ = -1;
  for (auto& zone : hotAreas_) {
    if (Contient(zone.Rect(), point)) {
      currentID_ = zone.ID;
      zone.Pressed = false;
      break;
    }
  }
  for (const auto& affichage : displays_) {
    if (Contient(affichage.Rect(), point)) {
      currentID_ = affichage.ID;
      break;
    }
  }
  RedrawSkin();
  emit OnMouseUpNotify(currentID_, evenement->button(), evenement->modifiers(), point.x(), point.y());
}

}  // namespace glissaro
