#include "Uplateau.h"

#include <QAction>
#include <QFileInfo>
#include <QLinearGradient>
#include <QWindow>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <cmath>

#include "Records.h"
#include "Solution.h"
#include "SkinForm.h"
#include "SkinImages.h"
#include "Uplayer.h"
#include "Vue.h"
#include "gestion.h"

namespace glissaro {

namespace {

// A hint flashes for two seconds.
constexpr int kIntervalleClignotement = 250;
constexpr int kClignotements = 8;

}  // namespace

TImagePlateau::TImagePlateau(QWidget* parent) : QWidget(parent) { setObjectName("ImagePlateau"); }

QPoint TImagePlateau::VersPlateau(QPointF position) const {
  const QPoint p(static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
  return {glissaro::VersPlateau(p.x(), ZoomEcran), glissaro::VersPlateau(p.y(), ZoomEcran)};
}

QRectF TImagePlateau::RectangleCase(int ligne, int colonne, int tailleCase) const {
  if (Picture.isNull()) return {};
  const double sx = double(width()) / Picture.width(), sy = double(height()) / Picture.height();
  return QRectF((colonne - 1) * tailleCase * sx, (ligne - 1) * tailleCase * sy, tailleCase * sx, tailleCase * sy);
}

void TImagePlateau::DefinirEchelle(int zoom) {
  ZoomEcran = zoom;
  const qreal ratio = devicePixelRatioF();
  doubleMontre_ = !PictureDouble.isNull() && zoom * ratio >= 200;
  const QSize ecran = (QSizeF(AEchelle(Picture.width(), zoom), AEchelle(Picture.height(), zoom)) * ratio).toSize();
  Zoom.DefinirEcran(Source(), ecran, ratio);
}

void TImagePlateau::MettreAJour(const QRect& zone) {
  const int echelle = doubleMontre_ ? 2 : 1;
  const QRect source(zone.topLeft() * echelle, zone.size() * echelle);
  const QImage& ecran = Zoom.Image().isNull() ? Source() : Zoom.Image();
  const QRect pixels = Zoom.Image().isNull() ? source : Zoom.MettreAJour(Source(), source);
  if (ecran.isNull() || ecran.width() == 0) return;
  // Screen pixels back to the window's coordinates.
  const qreal f = double(width()) / ecran.width();
  update(QRectF(pixels.x() * f, pixels.y() * f, pixels.width() * f, pixels.height() * f).toAlignedRect());
}

void TImagePlateau::paintEvent(QPaintEvent* evenement) {
  QPainter peintre(this);
  const QImage& image = Zoom.Image().isNull() ? Source() : Zoom.Image();
  if (image.isNull()) return;
  if (image.size() == (QSizeF(size()) * devicePixelRatioF()).toSize()) {
    // Pixel for pixel.
    const QRect zone = evenement->rect();
    const qreal r = double(image.width()) / width();
    peintre.drawImage(QRectF(zone), image, QRectF(zone.x() * r, zone.y() * r, zone.width() * r, zone.height() * r));
  } else {
    // The picture fills the window, stretched to fit.
    peintre.setRenderHint(QPainter::SmoothPixmapTransform);
    peintre.drawImage(rect(), image);
  }
  if (!Plateau) return;
  peintre.setRenderHint(QPainter::Antialiasing);
  const qreal unite = std::max(1.0, double(width()) / std::max(1, Picture.width()));
  if (Indice.issue == IssueIndice::Pas) {
    if (IndiceAllume) DessinerPiece(peintre, Indice.piece, QColor(255, 214, 64), 3 * unite, true);
    DessinerFleche(peintre);
  }
  if (Selection != 0) {
    DessinerPiece(peintre, Selection, QColor(20, 20, 20, 200), 4 * unite, false);
    DessinerPiece(peintre, Selection, QColor(255, 255, 255), 2 * unite, false);
  }
}

void TImagePlateau::DessinerPiece(QPainter& peintre, uint16_t piece, const QColor& couleur, qreal epaisseur,
                                  bool remplir) const {
  // The outline of the piece: the edges of its cells that no cell of the
  // same piece shares, drawn just inside.
  QPainterPath contour;
  auto meme = [&](int l, int c) { return Plateau->Contient(l, c) && Plateau->Case(l, c).Piece == piece; };
  const qreal retrait = epaisseur / 2 + 1;
  for (int l = 1; l <= Plateau->Hauteur; ++l)
    for (int c = 1; c <= Plateau->Largeur; ++c) {
      const auto& cellule = Plateau->Case(l, c);
      if (cellule.Piece != piece || cellule.Serie == TSerieMap::Vide || cellule.Serie == TSerieMap::Bord) continue;
      const QRectF r = RectangleCase(l, c, TailleCase);
      const qreal g = meme(l, c - 1) ? r.left() : r.left() + retrait;
      const qreal d = meme(l, c + 1) ? r.right() : r.right() - retrait;
      const qreal h = meme(l - 1, c) ? r.top() : r.top() + retrait;
      const qreal b = meme(l + 1, c) ? r.bottom() : r.bottom() - retrait;
      if (remplir) contour.addRect(QRectF(QPointF(g, h), QPointF(d, b)));
      if (!meme(l - 1, c)) contour.moveTo(g, h), contour.lineTo(d, h);
      if (!meme(l + 1, c)) contour.moveTo(g, b), contour.lineTo(d, b);
      if (!meme(l, c - 1)) contour.moveTo(g, h), contour.lineTo(g, b);
      if (!meme(l, c + 1)) contour.moveTo(d, h), contour.lineTo(d, b);
    }
  if (remplir) {
    QColor voile = couleur;
    voile.setAlpha(110);
    peintre.fillPath(contour, voile);
  }
  peintre.strokePath(contour, QPen(couleur, epaisseur, Qt::SolidLine, Qt::SquareCap));
}

void TImagePlateau::DessinerFleche(QPainter& peintre) const {
  // From the middle of the piece, one cell long, the way of its first step.
  QPointF centre;
  int n = 0;
  for (int l = 1; l <= Plateau->Hauteur; ++l)
    for (int c = 1; c <= Plateau->Largeur; ++c)
      if (Plateau->Case(l, c).Piece == Indice.piece) {
        centre += RectangleCase(l, c, TailleCase).center();
        ++n;
      }
  if (n == 0) return;
  centre /= n;
  const QRectF cellule = RectangleCase(1, 1, TailleCase);
  const QPointF sens(Indice.dx, Indice.dy), travers(-Indice.dy, Indice.dx);
  const qreal longueur = Indice.dx ? cellule.width() : cellule.height();
  const qreal largeur = std::min(cellule.width(), cellule.height());
  const QPointF pointe = centre + sens * longueur;
  const QPointF base = pointe - sens * largeur * 0.45;
  QPainterPath fleche;
  fleche.moveTo(centre + travers * largeur * 0.12);
  fleche.lineTo(base + travers * largeur * 0.12);
  fleche.lineTo(base + travers * largeur * 0.32);
  fleche.lineTo(pointe);
  fleche.lineTo(base - travers * largeur * 0.32);
  fleche.lineTo(base - travers * largeur * 0.12);
  fleche.lineTo(centre - travers * largeur * 0.12);
  fleche.closeSubpath();
  peintre.setPen(QPen(QColor(40, 30, 0), std::max(1.0, largeur / 20)));
  peintre.setBrush(QColor(255, 214, 64));
  peintre.drawPath(fleche);
}

// The caption of a board drawn inside the main window: the board's title
// on a strip in the panel's colours; a press there moves the window.
class TLegendePlateau : public QWidget {
 public:
  explicit TLegendePlateau(QWidget* parent) : QWidget(parent) {
    setObjectName("LabelTitre");
    setFixedHeight(fontMetrics().height() + 8);
    setCursor(Qt::OpenHandCursor);
  }
  QString Titre;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter peintre(this);
    peintre.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fond(0, 0, 0, height());
    fond.setColorAt(0, QColor(78, 92, 110));
    fond.setColorAt(1, QColor(48, 58, 72));
    QPainterPath bande;
    bande.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, 4), 5, 5);
    peintre.fillPath(bande, fond);
    peintre.setPen(QPen(QColor(24, 30, 38), 1));
    peintre.drawPath(bande);
    peintre.setPen(QColor(236, 240, 244));
    peintre.drawText(rect().adjusted(8, 0, -8, 0), Qt::AlignCenter,
                     fontMetrics().elidedText(Titre, Qt::ElideRight, width() - 16));
  }
  void mousePressEvent(QMouseEvent* evenement) override {
    if (evenement->button() == Qt::LeftButton && window()->windowHandle()) window()->windowHandle()->startSystemMove();
  }
};

void TImagePlateau::mousePressEvent(QMouseEvent* e) { emit MouseDown(e); }
void TImagePlateau::mouseMoveEvent(QMouseEvent* e) { emit MouseMove(e); }
void TImagePlateau::mouseReleaseEvent(QMouseEvent* e) { emit MouseUp(e); }

TFrmPlateau::TFrmPlateau(TSession& session, TFrmPlayer& player, Dialogues& dialogues)
    : session_(session), player_(player), dialogues_(dialogues) {
  setObjectName("FrmPlateau");
  // A tool window without title-bar buttons.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFocusPolicy(Qt::StrongFocus);
  ImagePlateau = new TImagePlateau(this);
  ImagePlateau->Plateau = &Partie().Plateau();
  connect(ImagePlateau, &TImagePlateau::MouseDown, this, &TFrmPlateau::ImagePlateauMouseDown);
  connect(ImagePlateau, &TImagePlateau::MouseMove, this, &TFrmPlateau::ImagePlateauMouseMove);
  connect(ImagePlateau, &TImagePlateau::MouseUp, this, &TFrmPlateau::ImagePlateauMouseUp);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  // The keys are read by the window itself (TraiterTouche); the menu only
  // shows them.
  auto article = [this](const char* nom, const QString& texte, const QList<QKeySequence>& touches) {
    auto* a = PopupMenu1->addAction(texte);
    a->setObjectName(nom);
    a->setShortcuts(touches);
    a->setShortcutContext(Qt::WidgetShortcut);
    a->setShortcutVisibleInContextMenu(true);
    return a;
  };
  AnnulerCoup1 = article("AnnulerCoup1", "Annuler le coup", {QKeySequence("Ctrl+Z"), QKeySequence(Qt::Key_Backspace)});
  RetablirCoup1 = article("RetablirCoup1", "Rétablir le coup", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  Indice1 = article("Indice1", "Indice", {QKeySequence(Qt::Key_H)});
  connect(AnnulerCoup1, &QAction::triggered, this, &TFrmPlateau::AnnulerCoup1Click);
  connect(RetablirCoup1, &QAction::triggered, this, &TFrmPlateau::RetablirCoup1Click);
  connect(Indice1, &QAction::triggered, this, &TFrmPlateau::Indice1Click);
  PopupMenu1->addSeparator();
  MontrerSolution1 = PopupMenu1->addAction("Montrer la solution");
  MontrerSolution1->setObjectName("MontrerSolution1");
  connect(MontrerSolution1, &QAction::triggered, this, &TFrmPlateau::MontrerSolution1Click);
  PopupMenu1->addSeparator();
  fermer = PopupMenu1->addAction("&Fermer le plateau");
  fermer->setObjectName("fermer");
  connect(fermer, &QAction::triggered, this, &TFrmPlateau::fermerClick);
  connect(PopupMenu1, &QMenu::aboutToShow, this, &TFrmPlateau::MettreAJourActions);

  rechercheOptimum_ = new TRechercheSolution(this);
  connect(rechercheOptimum_, &TRechercheSolution::Finie, this, &TFrmPlateau::NoterOptimum);
  rechercheIndice_ = new TRechercheSolution(this);
  connect(rechercheIndice_, &TRechercheSolution::Finie, this, &TFrmPlateau::ResultatIndice);
  delaiIndice_.setSingleShot(true);
  connect(&delaiIndice_, &QTimer::timeout, this, [this] {
    rechercheIndice_->Annuler();
    dialogues_.Information(TexteIndice(IssueIndice::Indisponible));
  });
  clignotement_.setInterval(kIntervalleClignotement);
  connect(&clignotement_, &QTimer::timeout, this, [this] {
    if (++clignotements_ >= kClignotements) {
      AnnulerIndice();
      return;
    }
    ImagePlateau->IndiceAllume = !ImagePlateau->IndiceAllume;
    ImagePlateau->update();
  });

  const std::string sequences = session_.Chemin() + "sequences/";
  SD_Sequence = {"sauvegarde une séquenceGlissaro", "sequences Glissaro", "*.swb", "swb", sequences, ""};
  OD_sauvegarde = {"Recharger une séquence Glissaro", "sequences Glissaro", "*.swb", "swb", sequences, ""};
  session_.AjouterObservateur(this);
  // The tile pictures of the current skin, from the start.
  ChargerPieces(TrouverFichierSansCasse(player_.DossierSkin() + "pieces.bmp"));
  zoom_ = ZoomValide(session_.Reglages().Zoom) ? session_.Reglages().Zoom : kZoomAutomatique;
  placesFinales_ = session_.Reglages().PlacesFinales;
  MettreAJourActions();
}

TFrmPlateau::~TFrmPlateau() { session_.RetirerObservateur(this); }

QString ChargerPiecesSkin(TImagesPieces& images, const QString& chemin) {
  std::string erreur;
  const QImage image = LireImageSkin(chemin, kBornePieces, &erreur);
  if (image.isNull()) return QString::fromStdString(erreur);
  const QString refus = images.ChargerPieces(image, chemin);
  // The tiles at twice the size, when the skin has them (for dense screens
  // and the larger board sizes).
  if (refus.isEmpty()) images.ChargerPiecesDoubles(LireImageDouble(chemin, kBornePieces, image.size()));
  return refus;
}

bool TFrmPlateau::ChargerPieces(const QString& chemin) {
  const QString erreur = ChargerPiecesSkin(Images, chemin);
  if (!erreur.isEmpty()) {
    dialogues_.Erreur(erreur.toStdString());
    return false;
  }
  session_.Partie().DefinirTailleCase(Images.TailleCase());
  return true;
}

void TFrmPlateau::ChargerPlateau(const QString& chemin) {
  hide();
  AnnulerIndice();
  ImagePlateau->Selection = 0;
  session_.Partie().DefinirTailleCase(Images.TailleCase());
  ImagePlateau->Picture = QImage();
  ImagePlateau->PictureDouble = QImage();
  ImagePlateau->DefinirEchelle(100);
  const auto lecture = session_.ChargerPlateau(chemin.toStdString());
  MettreAJourActions();
  if (lecture.enTeteLu) setWindowTitle(QString::fromStdString(lecture.titre));
  if (lecture.statut == StatutLecture::Erreur) dialogues_.Erreur(lecture.message);
  if (lecture.statut != StatutLecture::Ok) return;

  if (!session_.OptimumConnu()) {
    OptionsSolveur options;
    options.limiteMemoire = std::size_t{256} << 20;
    rechercheOptimum_->Lancer(Partie().Plateau(), options);
  }
  RedessinerTout();
  Placer();
  show();
  // The frame's size is known once the window is shown.
  Placer();
}

int TFrmPlateau::ZoomEffectif() const {
  if (zoom_ != kZoomAutomatique) return zoom_;
  const QScreen* ecran = player_.screen() ? player_.screen() : QGuiApplication::primaryScreen();
  if (!ecran) return kZooms.front();
  const int t = Images.TailleCase();
  // The frame as the last showing measured it.
  const QSize bordure = (frameGeometry().size() - size()).expandedTo(QSize(0, 0));
  return ZoomAutomatique(Partie().Plateau().Largeur * t + bordure.width(), Partie().Plateau().Hauteur * t + bordure.height(),
                         ecran->geometry().width(), ecran->geometry().height());
}

void TFrmPlateau::AppliquerTaille() {
  const int z = ZoomEffectif();
  const QImage& image = ImagePlateau->Picture;
  const QSize taille(AEchelle(image.width(), z), AEchelle(image.height(), z));
  const int haut = legende_ ? legende_->height() : 0;
  setFixedSize(taille + QSize(0, haut));
  if (legende_) legende_->setGeometry(0, 0, taille.width(), haut);
  ImagePlateau->setGeometry(QRect(QPoint(0, haut), taille));
  ImagePlateau->DefinirEchelle(z);
  ImagePlateau->update();
}

void TFrmPlateau::RedessinerTout() {
  ImagePlateau->TailleCase = Images.TailleCase();
  ImagePlateau->Picture = Images.DessinerPlateau(Partie().Plateau(), placesFinales_);
  ImagePlateau->PictureDouble = Images.DessinerPlateauDouble(Partie().Plateau(), placesFinales_);
  AppliquerTaille();
}

void TFrmPlateau::ReglagesModifies() {
  const Parametres& reglages = session_.Reglages();
  const int zoom = ZoomValide(reglages.Zoom) ? reglages.Zoom : kZoomAutomatique;
  if (zoom != zoom_) {
    zoom_ = zoom;
    if (isVisible() && Partie().Charge()) {
      AppliquerTaille();
      Placer();
    }
  }
  if (reglages.PlacesFinales != placesFinales_) {
    placesFinales_ = reglages.PlacesFinales;
    if (Partie().Charge() && !ImagePlateau->Picture.isNull()) RedessinerTout();
  }
}

void TFrmPlateau::Assembler(TFrmPlayer& fenetre) {
  if (legende_) return;
  hide();
  setParent(&fenetre, Qt::Widget);
  auto* legende = new TLegendePlateau(this);
  legende->Titre = windowTitle();
  legende_ = legende;
  hide();
}

void TFrmPlateau::changeEvent(QEvent* evenement) {
  if (evenement->type() == QEvent::WindowTitleChange && legende_) {
    static_cast<TLegendePlateau*>(legende_)->Titre = windowTitle();
    legende_->update();
  }
  QWidget::changeEvent(evenement);
}

void TFrmPlateau::Placer() {
  if (legende_) {
    // One window: the main window lays out the panel and the board.
    player_.DisposerAssemblage();
    return;
  }
  const QScreen* ecran = player_.screen() ? player_.screen() : screen();
  const int hauteurEcran = ecran ? ecran->geometry().height() : 0;
  const int bordure = frameGeometry().height() - geometry().height();
  const int hauteur = height() + std::max(0, bordure);
  const int largeur = frameGeometry().width();
  const int haut = hauteurEcran / 2 + player_.height() / 2 - hauteur / 2;
  const QPoint panneau(player_.x(), haut - player_.height());
  const QPoint plateau(player_.x() + player_.width() / 2 - largeur / 2, haut);
  // Known before the panel moves, which the board window follows.
  decalage_ = plateau - panneau;
  player_.move(panneau);
  move(plateau);
}

void TFrmPlateau::RetenirDecalage() {
  if (isVisible() && !legende_) decalage_ = pos() - player_.pos();
}

void TFrmPlateau::SuivrePanneau() {
  if (isVisible() && !legende_) move(player_.pos() + decalage_);
}

void TFrmPlateau::DessinerCase(int ligne, int colonne) {
  if (ImagePlateau->Picture.isNull() || !Partie().Plateau().Contient(ligne, colonne)) return;
  {
    QPainter peintre(&ImagePlateau->Picture);
    Images.DessinerCase(peintre, Partie().Plateau().Case(ligne, colonne), ligne, colonne, placesFinales_);
  }
  if (!ImagePlateau->PictureDouble.isNull()) {
    QPainter peintre(&ImagePlateau->PictureDouble);
    Images.DessinerCaseDouble(peintre, Partie().Plateau().Case(ligne, colonne), ligne, colonne, placesFinales_);
  }
  const int t = Images.TailleCase();
  ImagePlateau->MettreAJour(QRect((colonne - 1) * t, (ligne - 1) * t, t, t));
}

void TFrmPlateau::ImagePlateauMouseDown(QMouseEvent* e) {
  AnnulerIndice();
  sourisEnfoncee_ = true;
  const QPoint p = ImagePlateau->VersPlateau(e->position());
  session_.Partie().Appuyer(p.x(), p.y());
  if (Partie().PieceChoisieMobile()) SelectionnerPiece(Partie().PieceChoisie());
}

void TFrmPlateau::ImagePlateauMouseMove(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  const QPoint p = ImagePlateau->VersPlateau(e->position());
  session_.Partie().Glisser(p.x(), p.y());
}

void TFrmPlateau::ImagePlateauMouseUp(QMouseEvent* e) {
  sourisEnfoncee_ = false;
  session_.Partie().Relacher();
  MettreAJourActions();
  if (e->button() == Qt::RightButton) PopupMenu1->popup(e->globalPosition().toPoint());
}

bool TFrmPlateau::TraiterTouche(QKeyEvent* e) {
  if (!isVisible() || !Partie().Charge() || sourisEnfoncee_) return false;
  const auto modificateurs = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool aucun = modificateurs == Qt::NoModifier;
  const bool ctrl = modificateurs == Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Z:
      if (ctrl) AnnulerCoup1Click();
      else if (modificateurs == (Qt::ControlModifier | Qt::ShiftModifier)) RetablirCoup1Click();
      else return false;
      return true;
    case Qt::Key_Backspace:
      if (!aucun) return false;
      AnnulerCoup1Click();
      return true;
    case Qt::Key_Y:
      if (!ctrl) return false;
      RetablirCoup1Click();
      return true;
    case Qt::Key_H:
      if (!aucun) return false;
      Indice1Click();
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      const bool arriere = e->key() == Qt::Key_Backtab || modificateurs == Qt::ShiftModifier;
      if (!aucun && modificateurs != Qt::ShiftModifier) return false;
      SelectionnerPiece(Partie().PieceSuivante(PieceSelectionnee(), !arriere));
      return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!aucun) return false;
      DeplacerSelection(e->key() == Qt::Key_Left ? -1 : e->key() == Qt::Key_Right ? 1 : 0,
                        e->key() == Qt::Key_Up ? -1 : e->key() == Qt::Key_Down ? 1 : 0);
      return true;
    default: return false;
  }
}

void TFrmPlateau::SelectionnerPiece(uint16_t piece) {
  if (ImagePlateau->Selection == piece) return;
  ImagePlateau->Selection = piece;
  ImagePlateau->update();
}

void TFrmPlateau::DeplacerSelection(int dx, int dy) {
  if (PieceSelectionnee() == 0) return;
  AnnulerIndice();
  session_.Partie().DeplacerAuClavier(PieceSelectionnee(), dx, dy);
  MettreAJourActions();
}

void TFrmPlateau::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1)
    player_.voirAide();
  else if (!TraiterTouche(e))
    QWidget::keyPressEvent(e);
}

void TFrmPlateau::hideEvent(QHideEvent* evenement) {
  AnnulerIndice();
  rechercheOptimum_->Annuler();
  QWidget::hideEvent(evenement);
  // The main window shrinks back to its panel.
  if (legende_) player_.DisposerAssemblage();
}

void TFrmPlateau::MettreAJourActions() {
  AnnulerCoup1->setEnabled(Partie().Charge() && Partie().PeutAnnuler());
  RetablirCoup1->setEnabled(Partie().Charge() && Partie().PeutRetablir());
  Indice1->setEnabled(Partie().Charge());
}

void TFrmPlateau::AnnulerCoup1Click() {
  if (!Partie().Charge()) return;
  AnnulerIndice();
  session_.Partie().Annuler();
  MettreAJourActions();
}

void TFrmPlateau::RetablirCoup1Click() {
  if (!Partie().Charge()) return;
  AnnulerIndice();
  session_.Partie().Retablir();
  MettreAJourActions();
}

void TFrmPlateau::Indice1Click() {
  if (!Partie().Charge()) return;
  AnnulerIndice();
  // The one place where a hint asks the solver.
  positionIndice_ = Partie().Plateau();
  rechercheIndice_->Lancer(Partie().Plateau(), OptionsIndice());
  delaiIndice_.start(DelaiIndice);
}

void TFrmPlateau::ResultatIndice(const ResultatSolveur& resultat) {
  if (!delaiIndice_.isActive()) return;
  delaiIndice_.stop();
  // The replay may have moved the pieces meanwhile: an answer for another
  // position says nothing.
  const auto& p = Partie().Plateau();
  for (int l = 1; l <= p.Hauteur; ++l)
    for (int c = 1; c <= p.Largeur; ++c)
      if (p.Case(l, c).Piece != positionIndice_.Case(l, c).Piece || p.Case(l, c).Map != positionIndice_.Case(l, c).Map)
        return;
  const TIndice indice = IndiceDuResultat(Partie().Plateau(), resultat);
  if (indice.issue == IssueIndice::Pas)
    MontrerIndice(indice);
  else if (const std::string texte = TexteIndice(indice.issue); !texte.empty())
    dialogues_.Information(texte);
}

void TFrmPlateau::MontrerIndice(const TIndice& indice) {
  session_.Partie().NoterIndice();
  ImagePlateau->Indice = indice;
  ImagePlateau->IndiceAllume = true;
  clignotements_ = 0;
  clignotement_.start();
  ImagePlateau->update();
}

void TFrmPlateau::AnnulerIndice() {
  if (delaiIndice_.isActive()) {
    delaiIndice_.stop();
    rechercheIndice_->Annuler();
  }
  clignotement_.stop();
  if (ImagePlateau->Indice.issue != IssueIndice::Annule) {
    ImagePlateau->Indice = {};
    ImagePlateau->IndiceAllume = false;
    ImagePlateau->update();
  }
}

void TFrmPlateau::fermerClick() {
  session_.FermerPlateau();
  close();
}

void TFrmPlateau::SauverSequence() {
  const auto chemin = dialogues_.EnregistrerFichier(SD_Sequence);
  if (!chemin) return;
  if (QFileInfo::exists(QString::fromStdString(*chemin)) && !dialogues_.Confirmer("Ce fichier existe déjà le remplacer ?"))
    return;
  const auto ecriture = session_.EnregistrerSequence(*chemin, windowTitle().toStdString());
  if (!ecriture.ok) dialogues_.Erreur(ecriture.message);
}

bool TFrmPlateau::PlateauPourSequence() {
  if (!session_.PlateauChoisi() && gestion_ && gestion_->exec() == QDialog::Accepted &&
      !gestion_->FichierChoisi.isEmpty())
    ChargerPlateau(gestion_->FichierChoisi);
  return session_.PlateauChoisi();
}

void TFrmPlateau::RechargerSequence() {
  if (!PlateauPourSequence()) return;
  const auto chemin = dialogues_.OuvrirFichier(OD_sauvegarde);
  if (!chemin) return;
  ChargerSequence(*chemin);
}

void TFrmPlateau::RechargerSequenceDepuis(const QString& chemin) {
  if (PlateauPourSequence()) ChargerSequence(chemin.toStdString());
}

void TFrmPlateau::ChargerSequence(const std::string& chemin) {
  ChargerPlateau(QString::fromStdString(session_.FichierPlateau()));
  if (!Partie().Charge()) return;

  // Nothing of a sequence made for another board, or that this board could
  // not have played, reaches the history.
  const auto rechargement = session_.RechargerSequence(chemin);
  if (rechargement.controle.issue != ControleSequence::Issue::Correcte) {
    if (rechargement.lue) dialogues_.Bip();
    dialogues_.Erreur(rechargement.controle.message);
    return;
  }
  MettreAJourActions();
  dialogues_.Information("Séquence rechargée");
}

void TFrmPlateau::MontrerSolution1Click() {
  if (!Partie().Charge()) return;
  AnnulerIndice();
  const auto resultat = ResoudreEnAttendant(this, Partie().Plateau(), MesureSolveur::Coups);
  if (!resultat || resultat->issue == IssueSolveur::Annule) return;
  if (resultat->issue == IssueSolveur::AucuneSolution) {
    dialogues_.Information("Aucune solution depuis cette position");
    return;
  }
  if (resultat->issue == IssueSolveur::LimiteAtteinte) {
    dialogues_.Information("Aucune solution trouvée dans la limite de " + std::to_string(resultat->etats) +
                           " positions : ce plateau est trop grand pour être résolu ici.");
    return;
  }
  // Shown, not played: no record for this game.
  session_.MontrerSolution(resultat->chemin);
  MettreAJourActions();
  dialogues_.Information("Solution " + std::string(resultat->optimale ? "optimale" : "trouvée") + " en " +
                         TexteCoups(resultat->coups) + (resultat->optimale ? "" : " (non optimale)") +
                         " depuis cette position : le magnétoscope la rejoue (« Avance », « Fin »).");
}

void TFrmPlateau::CaseChangee(int ligne, int colonne) { DessinerCase(ligne, colonne); }

bool TFrmPlateau::RechercheOptimumEnCours() const { return rechercheOptimum_->EnCours(); }

void TFrmPlateau::NoterOptimum(const ResultatSolveur& resultat) {
  if (resultat.issue == IssueSolveur::Solution && resultat.optimale) session_.NoterOptimum(resultat.coups);
}

void TFrmPlateau::Felicitations(const std::string& texte, int32_t) {
  // The session's congratulation, with the result against the records.
  if (dialogues_.Choisir(texte, "Plateau suivant", "OK"))
    // Not from inside the release that ended the game.
    QMetaObject::invokeMethod(this, &TFrmPlateau::PlateauSuivant1Click, Qt::QueuedConnection);
}

void TFrmPlateau::PlateauSuivant1Click() {
  if (const auto suivant = session_.PlateauSuivant())
    ChargerPlateau(QString::fromStdString(*suivant));
  else
    dialogues_.Information("Vous avez résolu toute la bibliothèque !");
}

void TFrmPlateau::HistoriquePlein() {
  dialogues_.Avertissement(
      "L'historique des coups est plein : la suite de cette partie ne sera plus enregistrée "
      "(le magnétoscope et les séquences s'arrêtent au dernier coup enregistré). Le jeu continue.");
}

}  // namespace glissaro
