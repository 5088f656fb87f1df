#include "Magneto.h"

#include <QBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "Parametres.h"
#include "Vue.h"
#include "Uplateau.h"
#include "Uplayer.h"

namespace glissaro {

namespace {

constexpr int kTailleImage = 30;

}  // namespace

std::vector<QPixmap> DecouperBoutons(const QImage& bande) {
  std::vector<QPixmap> images;
  if (bande.isNull()) return images;
  const QImage source = bande.convertToFormat(QImage::Format_ARGB32);
  const int ratio = bande.devicePixelRatio() >= 2 ? 2 : 1;
  const int taille = kTailleImage * ratio;
  for (int x = 0; x + taille <= source.width(); x += taille) {
    QImage image = source.copy(x, 0, taille, std::min(taille, source.height()));
    image.setDevicePixelRatio(ratio);
    for (int y = 0; y < image.height(); ++y) {
      auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int i = 0; i < image.width(); ++i)
        if ((ligne[i] & 0xFFFFFF) == 0xFFFFFF) ligne[i] = 0;
    }
    images.push_back(QPixmap::fromImage(image));
  }
  return images;
}

QImage BandeMagneto(bool sous, qreal ratio) {
  const QString nom = sous ? QStringLiteral(":/magneto/magnetoOn") : QStringLiteral(":/magneto/magnetoOff");
  QImage bande(nom + ".bmp");
  if (ratio >= 1.5) {
    QImage double_(nom + "@2x.bmp");
    if (!double_.isNull() && double_.size() == 2 * bande.size()) {
      double_.setDevicePixelRatio(2);
      return double_;
    }
  }
  return bande;
}

TFrmMagneto::TFrmMagneto(TSession& session, TFrmPlayer& player, TFrmPlateau& plateau)
    : session_(session), player_(player), plateau_(plateau) {
  setObjectName("FrmMagneto");
  setWindowTitle("Magnétoscope");
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(223, 39);
  setAutoFillBackground(true);
  QPalette blanc = palette();
  blanc.setColor(QPalette::Window, Qt::white);
  setPalette(blanc);

  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setIconSize(QSize(kTailleImage, kTailleImage));
  ToolBar1->setMovable(false);
  ToolBar1->setStyleSheet("QToolBar { background: white; border: none; spacing: 0px; }");
  auto* mise = new QHBoxLayout(this);
  mise->setContentsMargins(0, 0, 0, 0);
  mise->addWidget(ToolBar1);

  auto bouton = [this](const char* nom, const QString& bulle) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(nom);
    b->setToolTip(bulle);
    b->setAutoRaise(true);
    b->setFixedSize(37, 36);
    b->setIconSize(QSize(kTailleImage, kTailleImage));
    ToolBar1->addWidget(b);
    return b;
  };
  TbCharger = bouton("TbCharger", "Recharger une séquence");
  TBenreg = bouton("TBenreg", "Enregistrer une séquence");
  TbPremier = bouton("TbPremier", "Début");
  TBRetour = bouton("TBRetour", "Retour");
  TBAvance = bouton("TBAvance", "Avance");
  TBFin = bouton("TBFin", "Fin");

  connect(TbCharger, &QToolButton::clicked, this, [this] { plateau_.RechargerSequence(); });
  connect(TBenreg, &QToolButton::clicked, this, [this] { plateau_.SauverSequence(); });
  connect(TbPremier, &QToolButton::clicked, this, &TFrmMagneto::TbPremierClick);
  connect(TBFin, &QToolButton::clicked, this, &TFrmMagneto::TBFinClick);
  // Held down, "Retour" and "Avance" step once an interval, from one
  // interval after the press.
  connect(TBRetour, &QToolButton::pressed, &TimerRetour, qOverload<>(&QTimer::start));
  connect(TBRetour, &QToolButton::released, &TimerRetour, &QTimer::stop);
  connect(TBAvance, &QToolButton::pressed, &TimerAvance, qOverload<>(&QTimer::start));
  connect(TBAvance, &QToolButton::released, &TimerAvance, &QTimer::stop);
  // The other buttons of the mouse, which a tool button ignores.
  TBRetour->installEventFilter(this);
  TBAvance->installEventFilter(this);
  connect(&TimerRetour, &QTimer::timeout, this, [this] { TimerRetourTimer(true); });
  connect(&TimerAvance, &QTimer::timeout, this, [this] { TimerAvanceTimer(true); });

  ImageListTempoOff = DecouperBoutons(BandeMagneto(false, devicePixelRatioF()));
  ImageListTempoOn = DecouperBoutons(BandeMagneto(true, devicePixelRatioF()));
  if (session_.Reglages().NomSkin == kNomSkinDefaut)
    DefinirImages({}, {});
  else
    player_.ImageMagneto(*this);
  AppliquerVitesse(session_.Reglages().VitesseMagneto);
  session_.AjouterObservateur(this);
}

TFrmMagneto::~TFrmMagneto() { session_.RetirerObservateur(this); }

void TFrmMagneto::ReglagesModifies() { AppliquerVitesse(session_.Reglages().VitesseMagneto); }

void TFrmMagneto::DefinirImages(std::vector<QPixmap> off, std::vector<QPixmap> on) {
  ImageListMagnetoOff = off.empty() ? ImageListTempoOff : std::move(off);
  ImageListMagnetoON = on.empty() ? ImageListTempoOn : std::move(on);
  AppliquerImages();
}

void TFrmMagneto::AppliquerImages() {
  QToolButton* const boutons[] = {TbCharger, TBenreg, TbPremier, TBRetour, TBAvance, TBFin};
  for (std::size_t i = 0; i < std::size(boutons); ++i) {
    QIcon icone;
    if (i < ImageListMagnetoOff.size()) icone.addPixmap(ImageListMagnetoOff[i], QIcon::Normal);
    if (i < ImageListMagnetoON.size()) icone.addPixmap(ImageListMagnetoON[i], QIcon::Active);
    boutons[i]->setIcon(icone);
  }
}

void TFrmMagneto::AppliquerVitesse(int vitesse) {
  TimerRetour.setInterval(vitesse);
  TimerAvance.setInterval(DemiIntervalle(vitesse));
}

void TFrmMagneto::showEvent(QShowEvent* evenement) {
  // Beside the board when one is shown, else beside the panel.
  const QWidget& reference = plateau_.isVisible() ? static_cast<const QWidget&>(plateau_) : player_;
  if (const QScreen* ecran = reference.screen()) {
    const QRect r = reference.frameGeometry(), zone = ecran->availableGeometry();
    const QSize taille = frameGeometry().size().expandedTo(size());
    const auto [x, y] = PositionACote({r.x(), r.y(), r.width(), r.height()}, taille.width(), taille.height(),
                                      {zone.x(), zone.y(), zone.width(), zone.height()});
    move(x, y);
  }
  QWidget::showEvent(evenement);
  AppliquerVitesse(session_.Reglages().VitesseMagneto);
}

bool TFrmMagneto::eventFilter(QObject* objet, QEvent* evenement) {
  const bool appui =
      evenement->type() == QEvent::MouseButtonPress || evenement->type() == QEvent::MouseButtonDblClick;
  if ((objet != TBRetour && objet != TBAvance) || (!appui && evenement->type() != QEvent::MouseButtonRelease) ||
      static_cast<QMouseEvent*>(evenement)->button() == Qt::LeftButton)
    return QWidget::eventFilter(objet, evenement);
  auto* bouton = static_cast<QToolButton*>(objet);
  QTimer& minuterie = bouton == TBRetour ? TimerRetour : TimerAvance;
  bouton->setDown(appui);
  if (appui)
    minuterie.start();
  else
    minuterie.stop();
  return true;
}

void TFrmMagneto::TimerAvanceTimer(bool parTimer) {
  const auto& h = session_.Partie().Historique();
  if (h.PosHistorique >= h.Fin) return;
  TimerAvance.stop();
  session_.Partie().Avancer();
  if (parTimer) TimerAvance.start();
}

void TFrmMagneto::TimerRetourTimer(bool parTimer) {
  if (session_.Partie().Historique().PosHistorique == 0) {
    session_.Partie().Reculer();  // shows 0
    return;
  }
  TimerRetour.stop();
  session_.Partie().Reculer();
  if (parTimer) TimerRetour.start();
}

void TFrmMagneto::TbPremierClick() { session_.Partie().AllerAuDebut(); }

void TFrmMagneto::TBFinClick() { session_.Partie().AllerALaFin(); }

}  // namespace glissaro
