#include "FormEditeur.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtMath>

#include <algorithm>

#include "DessinPlateau.h"
#include "FichierPlateau.h"
#include "Records.h"
#include "Solution.h"
#include "UNouveau.h"
#include "Verification.h"

namespace glissaro {

namespace {

constexpr const char* kTitre = "Editeur Glissaro";
constexpr const char* kPasDeNiveau = "Pas de niveau chargé !!!";
constexpr QSize kTailleFenetre{518, 541};
// The heights that CalculerOrigine leaves out of the window's.
constexpr int kHauteurBouton = 40;
constexpr int kHauteurPalette = 85;
constexpr int kHauteurBarre = 29;
// Palette tiles: 41 pixels apart, two rows of eight.
constexpr int kPasPalette = 41;

// The client area: the grid stands on it, over a light yellow ground
// between the tool bar and the palette.
class ZoneClient : public QWidget {
 public:
  using QWidget::QWidget;
  QWidget* Haut = nullptr;
  QWidget* Bas = nullptr;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter peintre(this);
    const int y0 = Haut ? Haut->geometry().bottom() + 1 : 0;
    const int y1 = Bas ? Bas->geometry().top() : height();
    peintre.fillRect(QRect(0, y0, width(), y1 - y0), TFrmEditeur::kJaunePale);
  }
};

// The tool bar pictures, 32 × 32, flat, drawn here.
QPixmap Toile() {
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  return image;
}

void Preparer(QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }

QPen Trait(const QColor& couleur, qreal largeur) {
  return QPen(couleur, largeur, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A round green or blue badge in the lower right corner.
void Pastille(QPainter& p, const QColor& couleur) {
  p.setPen(Trait(Qt::white, 1.5));
  p.setBrush(couleur);
  p.drawEllipse(QPointF(23, 23), 8, 8);
}

QIcon IconeTester() {
  QPixmap image = Toile();
  QPainter p(&image);
  Preparer(p);
  // A small board: a border ring around a master tile.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const bool milieu = x == 1 && y == 1;
      p.setPen(Trait(milieu ? QColor(170, 110, 20) : QColor(90, 95, 110), 1));
      p.setBrush(milieu ? QColor(240, 190, 60) : QColor(150, 155, 170));
      p.drawRoundedRect(QRectF(1.5 + 8 * x, 1.5 + 8 * y, 7, 7), 1.5, 1.5);
    }
  Pastille(p, QColor(46, 158, 79));
  p.setPen(Trait(Qt::white, 2.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath coche;
  coche.moveTo(19, 23.5);
  coche.lineTo(22, 26.5);
  coche.lineTo(27, 19.5);
  p.drawPath(coche);
  return QIcon(image);
}

QIcon IconeReinitialiser() {
  QPixmap image = Toile();
  QPainter p(&image);
  Preparer(p);
  const QColor bleu(40, 110, 200);
  const QPointF centre(16, 16);
  const qreal rayon = 10;
  // A circle open at the top, turning left, ended by an arrow head.
  const qreal debut = 115, etendue = 295;
  p.setPen(Trait(bleu, 4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(centre.x() - rayon, centre.y() - rayon, 2 * rayon, 2 * rayon), int(debut * 16), int(etendue * 16));
  const qreal a = qDegreesToRadians(debut + etendue);
  const QPointF bout(centre.x() + rayon * qCos(a), centre.y() - rayon * qSin(a));
  const QPointF sens(-qSin(a), -qCos(a));  // along the arc, turning left
  const QPointF dehors(qCos(a), -qSin(a));
  QPolygonF fleche;
  fleche << bout + sens * 7 << bout + dehors * 6 << bout - dehors * 6;
  p.setPen(Trait(bleu, 1));
  p.setBrush(bleu);
  p.drawPolygon(fleche);
  return QIcon(image);
}

QIcon IconeOuvrir() {
  QPixmap image = Toile();
  QPainter p(&image);
  Preparer(p);
  const QColor trait(150, 110, 30);
  p.setPen(Trait(trait, 1.2));
  p.setBrush(QColor(230, 185, 75));
  p.drawRoundedRect(QRectF(2.5, 6.5, 11, 5), 1.5, 1.5);
  p.drawRoundedRect(QRectF(2.5, 9.5, 24, 18), 2, 2);
  // A sheet in the folder.
  p.setPen(Trait(QColor(140, 140, 140), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 6.5, 18, 10));
  // The open flap.
  QPainterPath rabat;
  rabat.moveTo(7.5, 14.5);
  rabat.lineTo(30.5, 14.5);
  rabat.lineTo(26.5, 27.5);
  rabat.lineTo(2.5, 27.5);
  rabat.closeSubpath();
  p.setPen(Trait(trait, 1.2));
  p.setBrush(QColor(255, 220, 120));
  p.drawPath(rabat);
  return QIcon(image);
}

QIcon IconeNouveau() {
  QPixmap image = Toile();
  QPainter p(&image);
  Preparer(p);
  // A sheet with a folded corner.
  QPainterPath feuille;
  feuille.moveTo(5.5, 2.5);
  feuille.lineTo(19.5, 2.5);
  feuille.lineTo(25.5, 8.5);
  feuille.lineTo(25.5, 29.5);
  feuille.lineTo(5.5, 29.5);
  feuille.closeSubpath();
  p.setPen(Trait(QColor(110, 115, 125), 1.2));
  p.setBrush(Qt::white);
  p.drawPath(feuille);
  QPainterPath coin;
  coin.moveTo(19.5, 2.5);
  coin.lineTo(19.5, 8.5);
  coin.lineTo(25.5, 8.5);
  p.setBrush(QColor(220, 222, 228));
  p.drawPath(coin);
  // Faint grid lines: an empty board.
  p.setPen(Trait(QColor(200, 205, 215), 1));
  for (int i = 0; i < 3; ++i) p.drawLine(QPointF(8.5, 12.5 + 4 * i), QPointF(18.5, 12.5 + 4 * i));
  Pastille(p, QColor(40, 110, 200));
  p.setPen(Trait(Qt::white, 2.2));
  p.drawLine(QPointF(23, 19), QPointF(23, 27));
  p.drawLine(QPointF(19, 23), QPointF(27, 23));
  return QIcon(image);
}

QIcon IconeEnregistrer() {
  QPixmap image = Toile();
  QPainter p(&image);
  Preparer(p);
  // A diskette: body, metal shutter, label.
  QPainterPath corps;
  corps.moveTo(3.5, 5.5);
  corps.quadTo(3.5, 3.5, 5.5, 3.5);
  corps.lineTo(24.5, 3.5);
  corps.lineTo(28.5, 7.5);
  corps.lineTo(28.5, 26.5);
  corps.quadTo(28.5, 28.5, 26.5, 28.5);
  corps.lineTo(5.5, 28.5);
  corps.quadTo(3.5, 28.5, 3.5, 26.5);
  corps.closeSubpath();
  p.setPen(Trait(QColor(25, 55, 110), 1.2));
  p.setBrush(QColor(45, 90, 165));
  p.drawPath(corps);
  p.setPen(Trait(QColor(120, 125, 135), 1));
  p.setBrush(QColor(205, 210, 220));
  p.drawRect(QRectF(9.5, 3.5, 13, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(45, 90, 165));
  p.drawRect(QRectF(17.5, 5, 3, 5));
  p.setPen(Trait(QColor(150, 155, 165), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(7.5, 16.5, 17, 10), 1, 1);
  p.setPen(Trait(QColor(180, 185, 195), 1));
  p.drawLine(QPointF(10, 20), QPointF(22, 20));
  p.drawLine(QPointF(10, 23), QPointF(22, 23));
  return QIcon(image);
}

QToolButton* Bouton(QToolBar* barre, const char* nom, const QIcon& icone) {
  auto* bouton = new QToolButton(barre);
  bouton->setObjectName(nom);
  bouton->setAutoRaise(true);
  bouton->setFixedSize(kHauteurBouton, kHauteurBouton);
  bouton->setIconSize(QSize(32, 32));
  bouton->setIcon(icone);
  barre->addWidget(bouton);
  return bouton;
}

}  // namespace

TFrmEditeur::TFrmEditeur(TFrmNouveau& nouveau, Dialogues& dialogues, const QString& chemin)
    : nouveau_(nouveau), dialogues_(dialogues) {
  setObjectName("FrmEditeur");
  resize(kTailleFenetre);
  ChargerImages();
  CreerOutils();
  CreerMenus();
  CreerPalette();
  FormCreate();
  if (!chemin.isEmpty()) Chemin = chemin.endsWith('/') ? chemin : chemin + '/';
  const std::string plateaux = (Chemin + "plateaux/").toStdString();
  ODEditeur = {"Charger un plateau Glissaro", "Plateau Glissaro", "*.wbp", "wbp", plateaux, ""};
  SDEditeur = {"Sauvegarder le plateau Glissaro", "Plateau Glissaro", "*.wbp", "wbp", plateaux, ""};
  Loaded();
}

void TFrmEditeur::FormCreate() {
  Modifie = false;
  Chemin = QCoreApplication::applicationDirPath() + '/';
  setWindowTitle(kTitre);
  TailleCarre = 20;
}

void TFrmEditeur::ChargerImages() {
  ImageListNormal = new TImageList(this);
  ImageListFinal = new TImageList(this);
  ImageListBord = new TImageList(this);
  ImageListFond = new TImageList(this);
  // The default skin's tile picture, cut as the game cuts it and brought to
  // the editor's 20-pixel tiles. Should it be unreadable, the lists keep
  // blank pictures.
  TImagesPieces pieces;
  const QString erreur = pieces.ChargerPieces(QImage(QStringLiteral(":/editeur/pieces.bmp")), "pieces.bmp");
  if (!erreur.isEmpty()) qWarning("%s", qUtf8Printable(erreur));
  const int t = std::max(1, pieces.TailleCase() - 1);
  for (const auto serie : {TSerieMap::Normal, TSerieMap::Final, TSerieMap::Bord, TSerieMap::Vide})
    for (const QImage& image : pieces.Liste(serie))
      ListeDeSerie(serie)->Add(
          image.copy(0, 0, t, t).scaled(TailleCarre, TailleCarre, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

  ImageListItemTool = {IconeTester(), IconeReinitialiser(), IconeOuvrir(), IconeNouveau(), QIcon(), IconeEnregistrer()};
}

TImageList* TFrmEditeur::ListeDeSerie(TSerieMap serie) const {
  switch (serie) {
    case TSerieMap::Normal: return ImageListNormal;
    case TSerieMap::Final: return ImageListFinal;
    case TSerieMap::Bord: return ImageListBord;
    case TSerieMap::Vide: break;
  }
  return ImageListFond;
}

void TFrmEditeur::CreerOutils() {
  auto* client = new ZoneClient(this);
  Client = client;
  Client->setObjectName("Client");
  setCentralWidget(Client);
  auto* disposition = new QVBoxLayout(Client);
  disposition->setContentsMargins(0, 0, 0, 0);
  disposition->setSpacing(0);

  ToolBar1 = new QToolBar(Client);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(32, 32));
  // The buttons carry no action, so no hint shows over them.
  ToolButton1 = Bouton(ToolBar1, "ToolButton1", ImageListItemTool[3]);
  ToolButton2 = Bouton(ToolBar1, "ToolButton2", ImageListItemTool[2]);
  ToolButton3 = Bouton(ToolBar1, "ToolButton3", ImageListItemTool[5]);
  ToolButton4 = Bouton(ToolBar1, "ToolButton4", ImageListItemTool[1]);
  TbTester = Bouton(ToolBar1, "TbTester", ImageListItemTool[0]);
  connect(ToolButton1, &QToolButton::clicked, this, &TFrmEditeur::Nouveau1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TFrmEditeur::Ouvrir1Click);
  connect(ToolButton3, &QToolButton::clicked, this, &TFrmEditeur::Enregistrer1Click);
  connect(ToolButton4, &QToolButton::clicked, this, &TFrmEditeur::Rinitialiser1Click);
  connect(TbTester, &QToolButton::clicked, this, &TFrmEditeur::Tester1Click);
  disposition->addWidget(ToolBar1);
  disposition->addStretch(1);

  PageControl1 = new QTabWidget(Client);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setFixedHeight(kHauteurPalette);
  disposition->addWidget(PageControl1);

  Panel1 = new QFrame(Client);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(kHauteurBarre);
  Panel1->setFrameShape(QFrame::StyledPanel);
  disposition->addWidget(Panel1);

  client->Haut = ToolBar1;
  client->Bas = PageControl1;
}

void TFrmEditeur::CreerMenus() {
  auto action = [this](QMenu* menu, const char* nom, const QString& texte, void (TFrmEditeur::*gestion)()) {
    auto* a = menu->addAction(texte);
    a->setObjectName(nom);
    connect(a, &QAction::triggered, this, gestion);
    return a;
  };
  Fichier1 = menuBar()->addMenu("&Fichier");
  Fichier1->setObjectName("Fichier1");
  Nouveau1 = action(Fichier1, "Nouveau1", "&Nouveau", &TFrmEditeur::Nouveau1Click);
  Ouvrir1 = action(Fichier1, "Ouvrir1", "&Ouvrir", &TFrmEditeur::Ouvrir1Click);
  Fermer1 = action(Fichier1, "Fermer1", "&Fermer le plateau", &TFrmEditeur::Fermer1Click);
  Fichier1->addSeparator();
  Enregistrer1 = action(Fichier1, "Enregistrer1", "&Enregistrer", &TFrmEditeur::Enregistrer1Click);
  Fichier1->addSeparator();
  Quitter1 = action(Fichier1, "Quitter1", "&Fermer l'éditeur", &TFrmEditeur::Quitter1Click);
  Edition1 = menuBar()->addMenu("&Edition");
  Edition1->setObjectName("Edition1");
  Rinitialiser1 = action(Edition1, "Rinitialiser1", "Ré-initialiser", &TFrmEditeur::Rinitialiser1Click);
  Tester1 = action(Edition1, "Tester1", "&Tester", &TFrmEditeur::Tester1Click);
  Resoudre1 = action(Edition1, "Resoudre1", "Résoudre", &TFrmEditeur::Resoudre1Click);
}

void TFrmEditeur::CreerPalette() {
  auto tuile = [this](QWidget* parent, const QString& nom, TSerieMap serie, int x, int y) {
    auto* carre = new TCarre(parent);
    carre->setObjectName(nom);
    carre->move(x, y);
    carre->SetSerie(serie);
    carre->SetImages(ListeDeSerie(serie));
    carre->SetColorGrille(kBleu);
    connect(carre, &TCarre::Click, this, &TFrmEditeur::N0Click);
    return carre;
  };
  const struct {
    const char* titre;
    const char* prefixe;
    TSerieMap serie;
    TCarre** tuiles;
  } onglets[] = {{"Normales", "N", TSerieMap::Normal, N.data()},
                 {"Maitres", "F", TSerieMap::Final, F.data()},
                 {"Bordures", "B", TSerieMap::Bord, B.data()}};
  int numero = 1;
  for (const auto& onglet : onglets) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet%1").arg(numero++));
    PageControl1->addTab(page, onglet.titre);
    for (int k = 0; k < 16; ++k) {
      TCarre* carre =
          tuile(page, onglet.prefixe + QString::number(k), onglet.serie, 8 + kPasPalette * (k % 8), 8 + 24 * (k / 8));
      const auto jonctions = JonctionsDeMap(static_cast<int16_t>(k));
      carre->SetDroit(jonctions[0]);
      carre->SetGauche(jonctions[1]);
      carre->SetHaut(jonctions[2]);
      carre->SetBas(jonctions[3]);
      onglet.tuiles[k] = carre;
    }
    if (onglet.serie == TSerieMap::Bord) {
      B[16] = tuile(page, "B16", TSerieMap::Bord, 328, 8);
      B[16]->SetPorte(true);
    }
  }
  PageControl1->setCurrentIndex(0);
  connect(PageControl1, &QTabWidget::currentChanged, this, &TFrmEditeur::PageControl1Change);

  Fond = tuile(Panel1, "Fond", TSerieMap::Vide, 8, (kHauteurBarre - 20) / 2);
  CBEmplacementFinal = new QCheckBox("Emplacement maitre final", Panel1);
  CBEmplacementFinal->setObjectName("CBEmplacementFinal");
  // Red while it can be used; greyed like any control when it cannot.
  QPalette rouge = CBEmplacementFinal->palette();
  for (const auto groupe : {QPalette::Active, QPalette::Inactive}) {
    rouge.setColor(groupe, QPalette::WindowText, kRouge);
    rouge.setColor(groupe, QPalette::ButtonText, kRouge);
  }
  CBEmplacementFinal->setPalette(rouge);
  CBEmplacementFinal->adjustSize();
  CBEmplacementFinal->move(40, (kHauteurBarre - CBEmplacementFinal->height()) / 2);
  CBEmplacementFinal->setChecked(false);
}

void TFrmEditeur::Loaded() {
  for (int k = 0; k < 16; ++k) {
    N[static_cast<std::size_t>(k)]->SetMap(static_cast<int16_t>(k));
    F[static_cast<std::size_t>(k)]->SetMap(static_cast<int16_t>(k));
    B[static_cast<std::size_t>(k)]->SetMap(static_cast<int16_t>(k));
  }
  B[16]->SetMap(kMapPorteFermee);
  Fond->SetMap(kMapFond);
  Fond->SetColorGrille(kRouge);
  CarreCourant = Fond;
}

void TFrmEditeur::DefinirTitre(bool plateauCharge) {
  setWindowTitle(plateauCharge ? kTitre + QStringLiteral(" : ") + NomPlateau : QString(kTitre));
}

void TFrmEditeur::showEvent(QShowEvent* evenement) {
  QMainWindow::showEvent(evenement);
  if (dejaMontre_) return;
  dejaMontre_ = true;
  // Centred on the window that opened it.
  QRect autour;
  if (const QWidget* proprietaire = QApplication::activeWindow(); proprietaire && proprietaire != this)
    autour = proprietaire->frameGeometry();
  else if (const QScreen* ecran = screen())
    autour = ecran->availableGeometry();
  if (autour.isValid()) move(autour.center() - QPoint(kTailleFenetre.width() / 2, kTailleFenetre.height() / 2));
  // 518 × 541 frame included: the inside gives way to the frame, now if it
  // is known, else as soon as the window system tells it.
  AjusterAuCadre();
  QTimer::singleShot(0, this, &TFrmEditeur::AjusterAuCadre);
}

void TFrmEditeur::AjusterAuCadre() {
  const QSize cadre = frameGeometry().size() - geometry().size();
  if (frameGeometry().size() != kTailleFenetre && !cadre.isNull()) resize(kTailleFenetre - cadre);
}

// Palette and grid.

void TFrmEditeur::N0Click(TCarre* carre) {
  // The first click after a failed check clears its marks.
  if (GrilleChargee() && Cases[1][1]->ColorGrille() != kVert) ColorerGrille(kVert);
  CarreCourant->SetColorGrille(kBleu);
  CarreCourant = carre;
  CarreCourant->SetColorGrille(kRouge);
}

void TFrmEditeur::PageControl1Change(int index) {
  CBEmplacementFinal->setChecked(false);
  CBEmplacementFinal->setEnabled(index != 2);
}

void TFrmEditeur::PoserCarre(TCarre* carre) {
  carre->SetImages(CarreCourant->Images());
  carre->SetSerie(CarreCourant->Serie());
  carre->SetMap(CarreCourant->Map());
  carre->SetDroit(CarreCourant->Droit());
  carre->SetHaut(CarreCourant->Haut());
  carre->SetBas(CarreCourant->Bas());
  carre->SetGauche(CarreCourant->Gauche());
  carre->SetPorte(CarreCourant->Porte());
  carre->SetPlaceFinal(CBEmplacementFinal->isChecked());
  Modifie = true;
}

void TFrmEditeur::CalculerOrigine() {
  // From the window's outer size, not its client area.
  const QSize taille = frameGeometry().size();
  OrigineY = (taille.height() - (kHauteurBouton + kHauteurBarre + kHauteurPalette)) / 2 - (Hauteur * 20) / 2;
  OrigineX = taille.width() / 2 - (Largeur * 20) / 2 - 20;
}

TCarre* TFrmEditeur::CreerCase(int colonne, int ligne, TSerieMap serie, int16_t image) {
  auto* carre = new TCarre(Client);
  carre->setObjectName(QStringLiteral("Case_%1_%2").arg(colonne).arg(ligne));
  Cases[static_cast<std::size_t>(colonne)][static_cast<std::size_t>(ligne)] = carre;
  carre->SetColorGrille(kVert);
  carre->SetPosX(static_cast<uint16_t>(colonne));
  carre->SetPosY(static_cast<uint16_t>(ligne));
  carre->move(colonne * TailleCarre + OrigineX, ligne * TailleCarre + OrigineY);
  carre->SetSerie(serie);
  carre->SetImages(ListeDeSerie(serie));
  carre->SetMap(image);
  connect(carre, &TCarre::Click, this, &TFrmEditeur::PoserCarre);
  carre->show();
  return carre;
}

void TFrmEditeur::CreerGrilleVide() {
  CalculerOrigine();
  for (int colonne = 1; colonne <= Largeur; ++colonne)
    for (int ligne = 1; ligne <= Hauteur; ++ligne) CreerCase(colonne, ligne, TSerieMap::Vide, kMapFond);
}

void TFrmEditeur::ViderGrille() {
  const QObjectList enfants = Client->children();
  for (auto it = enfants.rbegin(); it != enfants.rend(); ++it) {
    auto* carre = qobject_cast<TCarre*>(*it);
    if (carre && carre->PosX() >= 1) delete carre;
  }
  for (auto& colonne : Cases) colonne.fill(nullptr);
}

void TFrmEditeur::ColorerGrille(const QColor& couleur) {
  for (int colonne = 1; colonne <= Largeur; ++colonne)
    for (int ligne = 1; ligne <= Hauteur; ++ligne)
      if (TCarre* carre = Cases[static_cast<std::size_t>(colonne)][static_cast<std::size_t>(ligne)])
        carre->SetColorGrille(couleur);
}

// Commands.

bool TFrmEditeur::QuestionEnregistrer() {
  if (!Modifie) return true;
  switch (dialogues_.ConfirmerOuAnnuler("Voulez-vous enregistrer niveau actuel ?")) {
    case Reponse::Annuler: return false;
    case Reponse::Oui: Enregistrer1Click(); break;
    case Reponse::Non: break;
  }
  return true;
}

void TFrmEditeur::Nouveau1Click() {
  if (!QuestionEnregistrer()) return;
  if (nouveau_.exec() != QDialog::Accepted) return;
  NomPlateau = nouveau_.NomPlateau();
  FichierPlateau.clear();
  DefinirTitre(true);
  ViderGrille();
  Largeur = static_cast<uint16_t>(nouveau_.Largeur());
  Hauteur = static_cast<uint16_t>(nouveau_.Hauteur());
  CreerGrilleVide();
  Modifie = false;
}

void TFrmEditeur::Ouvrir1Click() {
  if (!QuestionEnregistrer()) return;
  const auto chemin = dialogues_.OuvrirFichier(ODEditeur);
  if (!chemin) return;
  OuvrirPlateau(QString::fromStdString(*chemin));
}

bool TFrmEditeur::OuvrirPlateau(const QString& chemin) {
  TPlateau lu;
  const auto lecture = LirePlateau(chemin.toStdString(), lu, ModeLecture::Editeur);
  if (lecture.statut != StatutLecture::Ok) {
    dialogues_.Erreur(lecture.message);
    return false;
  }
  ViderGrille();
  NomPlateau = QString::fromStdString(lu.Titre);
  FichierPlateau = chemin;
  DefinirTitre(true);
  Largeur = lu.Largeur;
  Hauteur = lu.Hauteur;
  CalculerOrigine();
  for (int ligne = 1; ligne <= Hauteur; ++ligne)
    for (int colonne = 1; colonne <= Largeur; ++colonne) {
      const TCarreau& k = lu.Case(ligne, colonne);
      TCarre* carre = CreerCase(colonne, ligne, k.Serie, k.Map);
      carre->SetPiece(k.Piece);
      carre->SetHaut(k.Haut);
      carre->SetDroit(k.Droit);
      carre->SetBas(k.Bas);
      carre->SetGauche(k.Gauche);
      carre->SetPlaceFinal(k.PlaceFinal);
      carre->SetPorte(k.Porte);
    }
  Modifie = false;
  return true;
}

void TFrmEditeur::Fermer1Click() {
  if (Modifie && !dialogues_.Confirmer("Confirmez la fermeture du plateau courant ?")) return;
  ViderGrille();
  Modifie = false;
  NomPlateau.clear();
  FichierPlateau.clear();
  DefinirTitre(false);
}

void TFrmEditeur::Quitter1Click() { close(); }

void TFrmEditeur::closeEvent(QCloseEvent* evenement) {
  if (!QuestionEnregistrer()) {
    evenement->ignore();
    return;
  }
  evenement->accept();
}

void TFrmEditeur::Rinitialiser1Click() {
  if (Modifie && !dialogues_.Confirmer("Confirmez la ré-initialisation du plateau courant ?")) return;
  ViderGrille();
  CreerGrilleVide();
  Modifie = false;
}

void TFrmEditeur::Tester1Click() {
  if (windowTitle() == kTitre) {
    dialogues_.Bip();
    dialogues_.Avertissement(kPasDeNiveau);
    return;
  }
  VerifierGrille(true);
}

void TFrmEditeur::Resoudre1Click() {
  if (windowTitle() == kTitre) {
    dialogues_.Bip();
    dialogues_.Avertissement(kPasDeNiveau);
    return;
  }
  if (!VerifierGrille(false)) {
    dialogues_.Bip();
    dialogues_.Erreur(kTexteGrilleIncorrecte);
    return;
  }
  // The board as play sees it once loaded.
  TPlateau plateau = PlateauDeLaGrille();
  for (int ligne = 1; ligne <= plateau.Hauteur; ++ligne)
    for (int colonne = 1; colonne <= plateau.Largeur; ++colonne)
      AjusterCaseLue(plateau.Case(ligne, colonne), ligne, colonne);
  const auto coups = ResoudreEnAttendant(this, plateau, MesureSolveur::Coups);
  if (!coups || coups->issue == IssueSolveur::Annule) return;
  if (coups->issue == IssueSolveur::AucuneSolution) {
    dialogues_.Information("Ce plateau n'a pas de solution");
    return;
  }
  if (coups->issue == IssueSolveur::LimiteAtteinte) {
    dialogues_.Information("Aucune solution trouvée dans la limite de " + std::to_string(coups->etats) +
                           " positions : ce plateau est trop grand pour être résolu ici.");
    return;
  }
  // Says whether each count is proven the fewest.
  const std::string texte =
      (coups->optimale ? "Solution optimale en " : "Solution trouvée en ") + TexteCoups(coups->coups);
  const auto pas = ResoudreEnAttendant(this, plateau, MesureSolveur::Pas);
  if (!pas || pas->issue != IssueSolveur::Solution) {
    dialogues_.Information(texte + (coups->optimale ? "" : " (non optimale)"));
    return;
  }
  dialogues_.Information(texte + " (" + std::to_string(pas->pas) + " pas" +
                         (coups->optimale && pas->optimale ? ")" : ", non optimale)"));
}

// The check and the board file.

TPlateau TFrmEditeur::PlateauDeLaGrille() const {
  TPlateau p;
  p.Titre = NomPlateau.toStdString();
  if (!GrilleChargee()) return p;
  p.Largeur = Largeur;
  p.Hauteur = Hauteur;
  for (int ligne = 1; ligne <= Hauteur; ++ligne)
    for (int colonne = 1; colonne <= Largeur; ++colonne)
      if (const TCarre* carre = Cases[static_cast<std::size_t>(colonne)][static_cast<std::size_t>(ligne)])
        static_cast<TCellule&>(p.Case(ligne, colonne)) = carre->Cellule();
  return p;
}

bool TFrmEditeur::VerifierGrille(bool rapport) {
  TPlateau plateau = PlateauDeLaGrille();
  const ResultatVerification resultat = glissaro::VerifierGrille(plateau);
  // Too few final places: said in any case, nothing on the grid changes.
  if (resultat.EchecPlacesFinales()) {
    dialogues_.Avertissement(resultat.texte);
    return false;
  }
  if (resultat.numerotees) {
    int derniere = 0;
    for (int ligne = 1; ligne <= plateau.Hauteur; ++ligne)
      for (int colonne = 1; colonne <= plateau.Largeur; ++colonne) {
        const uint16_t piece = plateau.Case(ligne, colonne).Piece;
        Cases[static_cast<std::size_t>(colonne)][static_cast<std::size_t>(ligne)]->SetPiece(piece);
        derniere = std::max<int>(derniere, piece);
      }
    NumeroPiece = static_cast<int16_t>(derniere + 1);
  }
  if (resultat.Correcte()) {
    ColorerGrille(kVert);
    if (rapport) dialogues_.Information(resultat.texte);
    return true;
  }
  ColorerGrille(kBlanc);
  for (const TPosition faute : resultat.fautes)
    Cases[static_cast<std::size_t>(faute.colonne)][static_cast<std::size_t>(faute.ligne)]->SetColorGrille(kRouge);
  if (rapport) {
    dialogues_.Bip();
    dialogues_.Erreur(resultat.texte);
  }
  return false;
}

void TFrmEditeur::Enregistrer1Click() {
  // No board, nothing to save (the grid may have been closed).
  if (!GrilleChargee()) {
    dialogues_.Bip();
    dialogues_.Avertissement(kPasDeNiveau);
    return;
  }
  DialogueFichier dialogue = SDEditeur;
  dialogue.nomFichier = (NomPlateau + ".wbp").toStdString();
  // A board that has a file is saved where it lies, under its name.
  if (!FichierPlateau.isEmpty()) {
    const QFileInfo fichier(FichierPlateau);
    dialogue.dossierInitial = (fichier.absolutePath() + '/').toStdString();
    dialogue.nomFichier = fichier.fileName().toStdString();
  }
  const auto choisi = dialogues_.EnregistrerFichier(dialogue);
  if (!choisi) return;
  const QString chemin = QString::fromStdString(*choisi);
  FichierPlateau = chemin;
  // The board takes the name of its file, less the extension.
  QString nom = QFileInfo(chemin).fileName();
  if (nom.endsWith(".wbp", Qt::CaseInsensitive)) nom.chop(4);
  NomPlateau = nom;
  DefinirTitre(true);
  EcrirePlateau(chemin);
}

bool TFrmEditeur::EcrirePlateau(const QString& chemin) {
  const bool valide = VerifierGrille(false);
  const auto ecriture = glissaro::EcrirePlateau(chemin.toStdString(), PlateauDeLaGrille(), valide ? "1" : "0");
  if (!ecriture.ok) {
    dialogues_.Erreur(ecriture.message);
    return false;
  }
  Modifie = false;
  return true;
}

}  // namespace glissaro
