#include "gestion.h"

#include <QBoxLayout>
#include <QDir>
#include <QDragMoveEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "Bibliotheque.h"
#include "DessinPlateau.h"
#include "FichierPlateau.h"
#include "Fichiers.h"
#include "Hasard.h"
#include "Records.h"
#include "UHasard.h"

namespace glissaro {

namespace {

constexpr const char* kPasValide = "Ce plateau n'a pas été testé \"valide\" avec l'editeur";

// The tree's four icons, drawn here: a closed folder, an open folder, a
// board (a small grid of tiles) and the same board lit when selected.
QIcon IconeDossier(bool ouvert) {
  QPixmap image(16, 16);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(150, 110, 30));
  p.setBrush(QColor(240, 200, 90));
  p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
  p.drawRoundedRect(QRectF(1.5, 5.5, 13, 9), 1.5, 1.5);
  if (ouvert) {
    QPainterPath rabat;
    rabat.moveTo(3.5, 8.5);
    rabat.lineTo(15.5, 8.5);
    rabat.lineTo(13.5, 14.5);
    rabat.lineTo(1.5, 14.5);
    rabat.closeSubpath();
    p.setBrush(QColor(255, 225, 130));
    p.drawPath(rabat);
  }
  return QIcon(image);
}

// A board's icon: a board solved carries a green tick in its lower right
// corner, a board solved at its optimum a gold star.
QIcon IconePlateau(bool choisi, MarquePlateau marque = MarquePlateau::Aucune) {
  QPixmap image(16, 16);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(choisi ? QColor(160, 40, 20) : QColor(90, 90, 90));
  p.setBrush(choisi ? QColor(255, 235, 200) : QColor(235, 235, 235));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
  const QColor tuiles[] = {QColor(190, 130, 70), QColor(230, 180, 40), QColor(120, 120, 130)};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      if ((x + y) % 3 == 2) continue;
      p.setPen(Qt::NoPen);
      p.setBrush(choisi && x == 1 && y == 1 ? QColor(220, 60, 30) : tuiles[(x + 2 * y) % 3]);
      p.drawRoundedRect(QRectF(2.5 + 4 * x, 2.5 + 4 * y, 3.4, 3.4), 0.8, 0.8);
    }
  p.setRenderHint(QPainter::Antialiasing);
  if (marque == MarquePlateau::Resolu) {
    QPainterPath coche;
    coche.moveTo(8.5, 11.5);
    coche.lineTo(11, 14.5);
    coche.lineTo(15.5, 8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(coche);
    p.setPen(QPen(QColor(30, 150, 50), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(coche);
  } else if (marque == MarquePlateau::Optimum) {
    QPainterPath etoile;
    for (int k = 0; k < 10; ++k) {
      const double angle = -M_PI / 2 + k * M_PI / 5;
      const double rayon = k % 2 == 0 ? 4.6 : 2.0;
      const QPointF point(11.3 + rayon * std::cos(angle), 11.2 + rayon * std::sin(angle));
      if (k == 0)
        etoile.moveTo(point);
      else
        etoile.lineTo(point);
    }
    etoile.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 0.9));
    p.setBrush(QColor(255, 200, 30));
    p.drawPath(etoile);
  }
  return QIcon(image);
}

}  // namespace

TArbrePlateaux::TArbrePlateaux(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("TreeView1");
  setHeaderHidden(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIndentation(19);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::InternalMove);
}

void TArbrePlateaux::dragEnterEvent(QDragEnterEvent* e) {
  if (e->source() == this)
    e->acceptProposedAction();
  else
    e->ignore();
}

void TArbrePlateaux::dragMoveEvent(QDragMoveEvent* e) {
  // A board may be dropped anywhere on the tree; a folder is never moved.
  if (e->source() == this && TFrmGestion::EstPlateau(currentItem()))
    e->acceptProposedAction();
  else
    e->ignore();
}

void TArbrePlateaux::dropEvent(QDropEvent* e) {
  QTreeWidgetItem* cible = itemAt(e->position().toPoint());
  // The tree never moves its nodes by itself: the manager moves the file.
  e->setDropAction(Qt::IgnoreAction);
  e->accept();
  emit Deplace(cible);
}

TFrmGestion::TFrmGestion(const QString& chemin, const TImagesPieces& images, Dialogues& dialogues, QWidget* parent)
    : QDialog(parent),
      chemin_(chemin),
      carnetPropre_(CheminRecords(chemin.toStdString()), dialogues, CheminOptimaLivres(chemin.toStdString())),
      images_(images),
      dialogues_(dialogues) {
  setObjectName("FrmGestion");
  setWindowTitle("Gestion et chargement des plateaux");
  // A title bar without system menu nor close box: OK or Cancel end it.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);
  resize(500, 280);
  setMinimumSize(490, 280);

  ImageListArbre = {IconeDossier(false), IconeDossier(true), IconePlateau(false), IconePlateau(true)};
  IconesMarquees = {IconePlateau(false, MarquePlateau::Resolu), IconePlateau(true, MarquePlateau::Resolu),
                    IconePlateau(false, MarquePlateau::Optimum), IconePlateau(true, MarquePlateau::Optimum)};

  auto* separateur = new QSplitter(Qt::Horizontal, this);
  separateur->setObjectName("Splitter1");
  separateur->setHandleWidth(3);
  separateur->addWidget(CreerArbre(separateur));
  separateur->addWidget(CreerApercu(separateur));
  separateur->setSizes({233, 500 - 233 - 3});
  separateur->setStretchFactor(1, 1);
  recherche_ = new TRechercheSolution(this);
  connect(recherche_, &TRechercheSolution::Finie, this, &TFrmGestion::SolutionTrouvee);

  auto* mise = new QVBoxLayout(this);
  mise->setContentsMargins(0, 0, 0, 0);
  mise->setSpacing(0);
  mise->addWidget(separateur, 1);
  mise->addWidget(CreerBoutons());

  connect(BtOk, &QPushButton::clicked, this, &QDialog::accept);
  // A double-click on a board opens it, as OK does (Entrée reaches OK, the
  // default button).
  connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* noeud) {
    if (EstPlateau(noeud)) BtOk->click();
  });
  connect(BtCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtNouveauDossier, &QPushButton::clicked, this, &TFrmGestion::BtNouveauDossierClick);
  connect(BtHasard, &QPushButton::clicked, this, &TFrmGestion::BtHasardClick);
  connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* noeud) {
    MettreAJourIcones();
    TreeView1Change(noeud);
  });
  connect(TreeView1, &QTreeWidget::itemExpanded, this, [this] { MettreAJourIcones(); });
  connect(TreeView1, &QTreeWidget::itemCollapsed, this, [this] { MettreAJourIcones(); });
  connect(TreeView1, &TArbrePlateaux::Deplace, this, &TFrmGestion::TreeView1DragDrop);
}

QWidget* TFrmGestion::CreerArbre(QWidget* parent) {
  auto* gauche = new QWidget(parent);
  auto* dansGauche = new QVBoxLayout(gauche);
  dansGauche->setContentsMargins(0, 0, 0, 0);
  dansGauche->setSpacing(2);
  TreeView1 = new TArbrePlateaux(gauche);
  dansGauche->addWidget(TreeView1, 1);
  LabelProgression = new QLabel(gauche);
  LabelProgression->setObjectName("LabelProgression");
  LabelProgression->setWordWrap(true);
  LabelProgression->setAlignment(Qt::AlignCenter);
  LabelProgression->setContentsMargins(4, 2, 4, 2);
  LabelProgression->setMinimumHeight(2 * LabelProgression->fontMetrics().lineSpacing() + 4);
  dansGauche->addWidget(LabelProgression);
  return gauche;
}

QWidget* TFrmGestion::CreerApercu(QWidget* parent) {
  auto* cadre = new QFrame(parent);
  cadre->setObjectName("Panel2");
  cadre->setFrameStyle(QFrame::Box | QFrame::Sunken);
  cadre->setLineWidth(2);
  cadre->setAutoFillBackground(true);
  QPalette blanc = cadre->palette();
  blanc.setColor(QPalette::Window, Qt::white);
  cadre->setPalette(blanc);
  auto* dansCadre = new QVBoxLayout(cadre);
  dansCadre->setContentsMargins(2, 2, 2, 2);
  ImageReduite = new TImageReduite(cadre);
  dansCadre->addWidget(ImageReduite, 1);
  LabelSolution = new QLabel(cadre);
  LabelSolution->setObjectName("LabelSolution");
  LabelSolution->setAlignment(Qt::AlignCenter);
  dansCadre->addWidget(LabelSolution);
  LabelRecord = new QLabel(cadre);
  LabelRecord->setObjectName("LabelRecord");
  LabelRecord->setAlignment(Qt::AlignCenter);
  LabelRecord->setWordWrap(true);
  LabelRecord->setMinimumHeight(2 * LabelRecord->fontMetrics().lineSpacing());
  dansCadre->addWidget(LabelRecord);
  return cadre;
}

QWidget* TFrmGestion::CreerBoutons() {
  auto* barre = new QWidget(this);
  barre->setObjectName("Panel1");
  barre->setFixedHeight(41);
  auto* dansBarre = new QHBoxLayout(barre);
  BtNouveauDossier = new QPushButton("Nouveau dossier", barre);
  BtNouveauDossier->setObjectName("BtNouveauDossier");
  BtHasard = new QPushButton("Plateau au hasard…", barre);
  BtHasard->setObjectName("BtHasard");
  BtOk = new QPushButton("OK", barre);
  BtOk->setObjectName("BtOk");
  BtOk->setDefault(true);
  BtCancel = new QPushButton("Annuler", barre);
  BtCancel->setObjectName("BtCancel");
  dansBarre->addWidget(BtNouveauDossier);
  dansBarre->addWidget(BtHasard);
  dansBarre->addStretch(1);
  dansBarre->addWidget(BtOk);
  dansBarre->addWidget(BtCancel);
  return barre;
}

void TFrmGestion::SolutionTrouvee(const ResultatSolveur& r) {
  if (r.issue == IssueSolveur::Solution && !r.optimale) {
    // Not proven: shown, never kept as the board's optimum.
    LabelSolution->setText(QString::fromStdString("Solution trouvée : " + TexteCoups(r.coups) + " (non optimale)"));
  } else if (r.issue == IssueSolveur::Solution) {
    LabelSolution->setText(QString::fromStdString("Solution optimale : " + TexteCoups(r.coups)));
    // Kept, so that it is found once per board.
    carnet_->Modifier([&](TRecords& records) {
      records.NoterOptimum(empreinteApercu_, Cases.Titre, cheminApercu_, r.coups);
    });
    records_ = carnet_->Lire();
  } else if (r.issue == IssueSolveur::AucuneSolution) {
    LabelSolution->setText("Ce plateau n'a pas de solution");
  } else {
    LabelSolution->clear();
  }
}

void TFrmGestion::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  FormShow();
}

void TFrmGestion::hideEvent(QHideEvent* evenement) {
  recherche_->Annuler();
  QDialog::hideEvent(evenement);
}

void TFrmGestion::FormShow() {
  if (const QScreen* ecran = screen()) move(ecran->geometry().center() - rect().center());
  RemplirArbre();
  ImageReduite->Picture = QImage();
  ImageReduite->update();
  recherche_->Annuler();
  LabelSolution->clear();
  LabelRecord->clear();
  FichierChoisi.clear();
}

void TFrmGestion::RemplirArbre() {
  const QSignalBlocker bloque(TreeView1);
  TreeView1->clear();
  for (const auto& dossier : LireBibliotheque(DossierPlateaux().toStdString()))
    AjouterDossier(QString::fromStdString(dossier.nom));
  MarquerResolus();
}

void TFrmGestion::MarquerResolus() {
  records_ = carnet_->Lire();
  std::vector<QTreeWidgetItem*> noeuds;
  std::vector<std::string> chemins;
  for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
    auto* dossier = TreeView1->topLevelItem(i);
    for (int j = 0; j < dossier->childCount(); ++j) {
      noeuds.push_back(dossier->child(j));
      chemins.push_back(CheminRelatif(dossier->child(j)));
    }
  }
  const auto trouves = RecordsDesPlateaux(records_, DossierPlateaux().toStdString(), chemins);
  int resolus = 0, optimaux = 0;
  for (std::size_t i = 0; i < noeuds.size(); ++i) {
    auto marque = MarquePlateau::Aucune;
    if (trouves[i] && trouves[i]->Resolu) marque = trouves[i]->ResoluALOptimum() ? MarquePlateau::Optimum : MarquePlateau::Resolu;
    resolus += marque != MarquePlateau::Aucune;
    optimaux += marque == MarquePlateau::Optimum;
    noeuds[i]->setData(0, Qt::UserRole, static_cast<int>(marque));
  }
  LabelProgression->setText(
      QString::fromStdString(TexteProgression(resolus, static_cast<int>(noeuds.size()), optimaux)));
  MettreAJourIcones();
}

std::string TFrmGestion::CheminRelatif(const QTreeWidgetItem* plateau) const {
  return (plateau->parent()->text(0) + "/" + plateau->text(0) + ".wbp").toStdString();
}

void TFrmGestion::AjouterDossier(const QString& nom) {
  if (nom.trimmed().startsWith('.')) return;
  auto* dossier = new QTreeWidgetItem(TreeView1, {nom});
  for (const auto& plateau : PlateauxDuDossier((DossierPlateaux() + nom).toStdString()))
    new QTreeWidgetItem(dossier, {QString::fromStdString(plateau)});
}

void TFrmGestion::MettreAJourIcones() {
  for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
    auto* dossier = TreeView1->topLevelItem(i);
    dossier->setIcon(0, ImageListArbre[dossier->isExpanded() ? 1 : 0]);
    for (int j = 0; j < dossier->childCount(); ++j) {
      auto* plateau = dossier->child(j);
      const bool choisi = plateau == TreeView1->currentItem();
      const auto marque = static_cast<MarquePlateau>(plateau->data(0, Qt::UserRole).toInt());
      if (marque == MarquePlateau::Aucune)
        plateau->setIcon(0, ImageListArbre[choisi ? 3 : 2]);
      else
        plateau->setIcon(0, IconesMarquees[(marque == MarquePlateau::Optimum ? 2 : 0) + (choisi ? 1 : 0)]);
    }
  }
}

QTreeWidgetItem* TFrmGestion::Noeud(const QString& dossier, const QString& plateau) const {
  for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
    auto* d = TreeView1->topLevelItem(i);
    if (d->text(0) != dossier) continue;
    if (plateau.isEmpty()) return d;
    for (int j = 0; j < d->childCount(); ++j)
      if (d->child(j)->text(0) == plateau) return d->child(j);
  }
  return nullptr;
}

void TFrmGestion::TreeView1Change(QTreeWidgetItem* noeud) {
  if (!EstPlateau(noeud)) return;
  const QString dossier = DossierPlateaux() + noeud->parent()->text(0) + "/";
  const QString fichier = dossier + noeud->text(0) + ".wbp";

  TPlateau lu;
  const auto lecture = LirePlateau(fichier.toStdString(), lu, ModeLecture::Jeu);
  if (lecture.statut == StatutLecture::Erreur) {
    // A board that cannot be read is refused; nothing else changes.
    dialogues_.Erreur(lecture.message);
    return;
  }
  ImageReduite->Picture = QImage();
  ImageReduite->update();
  recherche_->Annuler();
  LabelSolution->clear();
  LabelRecord->clear();
  // The chosen path is built from the title stored in the file (or the
  // file itself for a ranked board of the library).
  FichierChoisi =
      dossier + QString::fromStdString(NomDuPlateauChoisi(noeud->text(0).toStdString(), lecture.titre)) + ".wbp";
  const int t = images_.TailleCase();
  ImageMemoire = QImage(lecture.largeur * t, lecture.hauteur * t, QImage::Format_RGB32);
  ImageMemoire.fill(Qt::white);
  if (lecture.statut == StatutLecture::NonValide) {
    dialogues_.Bip();
    dialogues_.Erreur(kPasValide);
    return;
  }
  Cases = lu;
  ImageMemoire = images_.DessinerPlateau(Cases);
  ImageReduite->Picture = ImageMemoire;
  ImageReduite->update();
  empreinteApercu_ = EmpreintePlateau(Cases);
  cheminApercu_ = CheminRelatif(noeud);
  const auto* record = records_.Trouver(empreinteApercu_);
  LabelRecord->setText(QString::fromStdString(TexteRecord(record)));
  if (record && record->Optimum) {
    LabelSolution->setText(QString::fromStdString("Solution optimale : " + TexteCoups(*record->Optimum)));
    return;
  }
  LabelSolution->setText("Recherche de la solution optimale…");
  recherche_->Lancer(Cases, OptionsApercu);
}

void TFrmGestion::TreeView1DragDrop(QTreeWidgetItem* cible) {
  QTreeWidgetItem* deplace = TreeView1->currentItem();
  if (!cible || cible == deplace || !EstPlateau(deplace)) return;
  NomDeplace = deplace->text(0);
  const QString source = deplace->parent()->text(0);
  QTreeWidgetItem* dossierCible = EstPlateau(cible) ? cible->parent() : cible;
  const QString destination = dossierCible->text(0);
  QTreeWidgetItem* arrive = nullptr;
  {
    const QSignalBlocker bloque(TreeView1);
    delete deplace;
    arrive = new QTreeWidgetItem(dossierCible, {NomDeplace});
  }
  const QString cheminSource = DossierPlateaux() + source + "/" + NomDeplace + ".wbp";
  const QString cheminDestination = DossierPlateaux() + destination + "/" + NomDeplace + ".wbp";
  if (QFileInfo::exists(cheminDestination)) {
    dialogues_.Bip();
    RemplirArbre();
    dialogues_.Avertissement("Ce fichier existe déja dans ce répertoire");
    return;
  }
  bool ok = QFile::copy(cheminSource, cheminDestination);
  if (ok && !QFile::remove(cheminSource)) {
    // Never leave the board in two folders.
    QFile::remove(cheminDestination);
    ok = false;
  }
  if (!ok) {
    dialogues_.Bip();
    RemplirArbre();
    dialogues_.Erreur("Erreur système déplacement impossible !!!");
    return;
  }
  // The moved board stays selected: preview and choice from its new place.
  TreeView1->setCurrentItem(arrive);
  MarquerResolus();
}

void TFrmGestion::accept() {
  if (!FichierChoisi.isEmpty()) {
    TPlateau lu;
    const auto lecture = LirePlateau(FichierChoisi.toStdString(), lu, ModeLecture::Jeu);
    if (lecture.statut == StatutLecture::Erreur) {
      dialogues_.Erreur(lecture.message);
      return;
    }
    if (lecture.statut == StatutLecture::NonValide) {
      dialogues_.Bip();
      dialogues_.Erreur(kPasValide);
      return;
    }
  }
  QDialog::accept();
}

void TFrmGestion::BtNouveauDossierClick() {
  const auto saisie = dialogues_.Saisir("Nouveau dossier ", "Entrez le nom du nouveau dossier", "");
  if (!saisie) return;
  QString nom = QString::fromStdString(*saisie);
  // Both separators make nested folders; nothing may lead out of the
  // board library.
  const QStringList parties = QString(nom).replace('\\', '/').split('/');
  if (parties.contains("..")) {
    dialogues_.Erreur("Nom de dossier incorrect : " + *saisie + " (« .. » ne peut pas en faire partie)");
    return;
  }
  const QString chemin = DossierPlateaux() + QString(nom).replace('\\', '/');
  if (QFileInfo(chemin).isDir()) {
    dialogues_.Erreur(*saisie + " existe déjà!");
    return;
  }
  if (!CreerDossiers(chemin.toStdString())) {
    dialogues_.Erreur("Impossible de créer le dossier " + chemin.toStdString());
    return;
  }
  RemplirArbre();
}

void TFrmGestion::BtHasardClick() {
  const auto choix = dialogues_.ChoisirHasard(choixHasard_);
  if (!choix) return;
  choixHasard_ = *choix;
  DemandeHasard demande;
  demande.boite = choix->boite;
  demande.niveau = choix->niveau;
  demande.porte = choix->porte;
  demande.graine = std::random_device{}() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  auto r = FabriquerEnAttendant(this, demande);
  if (!r) return;  // cancelled: nothing made, nothing written
  if (r->issue == IssueHasard::Aucun) {
    dialogues_.Erreur(r->message);
    return;
  }
  if (r->issue == IssueHasard::Proche &&
      !dialogues_.Confirmer(r->message + "\nGarder ce plateau « " + NomNiveau(r->niveau) + " » ?"))
    return;
  const QString dossier = DossierPlateaux() + kDossierHasard;
  if (!CreerDossiers(dossier.toStdString())) {
    dialogues_.Erreur("Impossible de créer le dossier " + dossier.toStdString());
    return;
  }
  const std::string titre = ProchainTitreHasard(PlateauxDuDossier(dossier.toStdString()));
  if (titre.empty()) {
    dialogues_.Erreur("Le dossier « " + std::string(kDossierHasard) + " » est plein : déplacez ou supprimez des plateaux.");
    return;
  }
  r->plateau.Titre = titre;
  const std::string fichier = (dossier + "/").toStdString() + titre + ".wbp";
  const auto ecriture = EcrirePlateau(fichier, r->plateau, "1");
  if (!ecriture.ok) {
    dialogues_.Erreur(ecriture.message);
    return;
  }
  // Its optimum is known: kept as for a board of the library, under the
  // fingerprint the preview reads back.
  TPlateau lu;
  if (LirePlateau(fichier, lu, ModeLecture::Jeu).statut == StatutLecture::Ok) {
    const std::string relatif = std::string(kDossierHasard) + "/" + titre + ".wbp";
    carnet_->Modifier([&](TRecords& records) { records.NoterOptimum(EmpreintePlateau(lu), titre, relatif, r->optimum); });
  }
  RemplirArbre();
  if (QTreeWidgetItem* noeud = Noeud(kDossierHasard, QString::fromStdString(titre))) {
    noeud->parent()->setExpanded(true);
    TreeView1->setCurrentItem(noeud);
    TreeView1->scrollToItem(noeud);
  }
}

}  // namespace glissaro
