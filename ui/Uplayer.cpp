#include "Uplayer.h"

#include <QAction>
#include <algorithm>
#include <utility>
#include <vector>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include "DessinPlateau.h"
#include "Fichiers.h"
#include "FormEditeur.h"
#include "Parametres.h"
#include "Vue.h"
#include "SkinForm.h"
#include "SkinImages.h"
#include "Magneto.h"
#include "UAuteur.h"
#include "UPack.h"
#include "Uabout.h"
#include "Uplateau.h"
#include "gestion.h"

namespace glissaro {

TFrmPlayer::TFrmPlayer(TSession& session, Dialogues& dialogues) : session_(session), dialogues_(dialogues) {
  setObjectName("FrmPlayer");
  setWindowTitle("Glissaro");
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  OuvrirUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  Loaded();
  session_.AjouterObservateur(this);
}

TFrmPlayer::~TFrmPlayer() { session_.RetirerObservateur(this); }

void TFrmPlayer::CompteurAffiche(const std::string& texte) {
  SkinForm1->SetDisplayText("TEXT_CPT", QString::fromStdString(texte));
}

void TFrmPlayer::TitreAffiche(const std::string& titre) {
  SkinForm1->SetDisplayText("TEXT_TITRE", QString::fromStdString(titre));
}

void TFrmPlayer::DefinirFenetres(const Fenetres& fenetres) {
  plateau_ = fenetres.plateau;
  gestion_ = fenetres.gestion;
  magneto_ = fenetres.magneto;
  editeur_ = fenetres.editeur;
  auteur_ = fenetres.auteur;
  about_ = fenetres.about;
  pack_ = fenetres.pack;
  Plateauxsupplmentaires1->setEnabled(pack_ != nullptr);
  if (pack_)
    connect(Plateauxsupplmentaires1, &QAction::triggered, this, &TFrmPlayer::Plateauxsupplmentaires1Click,
            Qt::UniqueConnection);
  Apropos1->setEnabled(about_ != nullptr);
  Officialiser1->setEnabled(auteur_ != nullptr);
  if (about_) connect(Apropos1, &QAction::triggered, this, &TFrmPlayer::Apropos1Click, Qt::UniqueConnection);
  if (auteur_)
    connect(Officialiser1, &QAction::triggered, this, &TFrmPlayer::Officialiser1Click, Qt::UniqueConnection);
  Editeurdeplateau1->setEnabled(editeur_ != nullptr);
  if (editeur_) {
    connect(Editeurdeplateau1, &QAction::triggered, this, &TFrmPlayer::Editeurdeplateau1Click, Qt::UniqueConnection);
    // The program's end asks the editor nothing: it is hidden before the
    // windows still shown are closed.
    connect(this, &TFrmPlayer::Fermee, editeur_, &QWidget::hide, Qt::UniqueConnection);
  }
}

void TFrmPlayer::Editeurdeplateau1Click() {
  if (!editeur_) return;
  editeur_->show();
  editeur_->raise();
  editeur_->activateWindow();
}

QString TFrmPlayer::DossierSkin(const QString& nom) const {
  return TrouverFichierSansCasse(Chemin() + "skins/" + nom) + "/";
}

void TFrmPlayer::CreerMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");

  auto* vitesse = PopupMenu1->addMenu("Vitesse de Déplacement");
  groupeDeplacement_ = new QActionGroup(this);
  auto radio = [](QMenu* menu, QActionGroup* groupe, const char* nom, const QString& texte, int tag) {
    auto* a = menu->addAction(texte);
    a->setObjectName(nom);
    a->setCheckable(true);
    a->setData(tag);
    groupe->addAction(a);
    return a;
  };
  deplace4 = radio(vitesse, groupeDeplacement_, "deplace4", "Rapide", 4);
  deplace2 = radio(vitesse, groupeDeplacement_, "deplace2", "Normal", 2);
  Deplace1 = radio(vitesse, groupeDeplacement_, "Deplace1", "Lent", 1);
  deplace2->setChecked(true);
  connect(groupeDeplacement_, &QActionGroup::triggered, this, &TFrmPlayer::deplace2Click);

  auto* magneto = PopupMenu1->addMenu("Vitesse &Magnétoscope");
  groupeMagneto_ = new QActionGroup(this);
  Magneto50 = radio(magneto, groupeMagneto_, "Magneto50", "&Rapide", 20);
  Magneto100 = radio(magneto, groupeMagneto_, "Magneto100", "&Normal", 200);
  Magneto200 = radio(magneto, groupeMagneto_, "Magneto200", "&Lent", 500);
  Magneto100->setChecked(true);
  connect(groupeMagneto_, &QActionGroup::triggered, this, &TFrmPlayer::Magneto50Click);

  auto* taille = PopupMenu1->addMenu("Taille du plateau");
  taille->setObjectName("TailleDuPlateau");
  groupeTaille_ = new QActionGroup(this);
  Taille0 = radio(taille, groupeTaille_, "Taille0", "Automatique", kZoomAutomatique);
  Taille100 = radio(taille, groupeTaille_, "Taille100", "100 %", 100);
  Taille150 = radio(taille, groupeTaille_, "Taille150", "150 %", 150);
  Taille200 = radio(taille, groupeTaille_, "Taille200", "200 %", 200);
  Taille300 = radio(taille, groupeTaille_, "Taille300", "300 %", 300);
  Taille0->setChecked(true);
  connect(groupeTaille_, &QActionGroup::triggered, this, &TFrmPlayer::TailleClick);
  PlacesFinales1 = PopupMenu1->addAction("Montrer les places finales");
  PlacesFinales1->setObjectName("PlacesFinales1");
  PlacesFinales1->setCheckable(true);
  PlacesFinales1->setChecked(true);
  connect(PlacesFinales1, &QAction::triggered, this, &TFrmPlayer::PlacesFinales1Click);

  PopupMenu1->addSeparator();
  Editeurdeplateau1 = PopupMenu1->addAction("&Editeur de plateau");
  Editeurdeplateau1->setObjectName("Editeurdeplateau1");
  Editeurdeplateau1->setEnabled(false);  // until an editor is given
  PopupMenu1->addSeparator();
  SkinsMenu = PopupMenu1->addMenu("&Skins");
  SkinsMenu->setObjectName("SkinsMenu");
  groupeSkins_ = new QActionGroup(this);
  Defaut1 = radio(SkinsMenu, groupeSkins_, "Defaut1", "Defaut", 0);
  Defaut1->setData(QString(kNomSkinDefaut));
  Defaut1->setChecked(true);
  connect(Defaut1, &QAction::triggered, this, &TFrmPlayer::Defaut1Click);
  PopupMenu1->addSeparator();
  Plateauxsupplmentaires1 = PopupMenu1->addAction("Plateaux supplèmentaires");
  Plateauxsupplmentaires1->setObjectName("Plateauxsupplmentaires1");
  Plateauxsupplmentaires1->setEnabled(false);  // until the pack installer is given
  PopupMenu1->addSeparator();
  Apropos1 = PopupMenu1->addAction("A propos...");
  Apropos1->setObjectName("Apropos1");
  Apropos1->setEnabled(false);  // until the about box is given
  Officialiser1 = PopupMenu1->addAction("Officialiser");
  Officialiser1->setObjectName("Officialiser1");
  // Hidden from players; authors start the program with --auteur.
  Officialiser1->setVisible(false);
  Officialiser1->setEnabled(false);
}

void TFrmPlayer::Loaded() {
  SkinForm1 = new TSkinForm(dialogues_, this);
  SkinForm1->setObjectName("SkinForm1");
  SkinForm1->SetKeyColor(Qt::white);
  SkinForm1->SetTolerance(Qt::black);
  connect(SkinForm1, &TSkinForm::OnMouseUpNotify, this, &TFrmPlayer::SkinForm1MouseUpNotify);
  // A press on the panel may start moving it: the board window then keeps
  // its place beside it.
  SkinForm1->installEventFilter(this);
  SkinForm1->LoadDefaultSkin();
  CreerMenu();
  ListeSkins();

  if (!session_.MessageReglages().empty()) dialogues_.Erreur(session_.MessageReglages());
  const Parametres& reglages = session_.Reglages();
  for (auto* a : groupeDeplacement_->actions())
    if (a->data().toInt() == reglages.VitesseDeplacement) a->setChecked(true);
  for (auto* a : groupeMagneto_->actions())
    if (a->data().toInt() == reglages.VitesseMagneto) a->setChecked(true);
  for (auto* a : groupeTaille_->actions())
    if (a->data().toInt() == reglages.Zoom) a->setChecked(true);
  PlacesFinales1->setChecked(reglages.PlacesFinales);
  ChargerSkinDesReglages();
}

void TFrmPlayer::ChargerSkinDesReglages() {
  const QString nom = QString::fromStdString(session_.Reglages().NomSkin);
  if (nom == kNomSkinDefaut) return;
  const auto parDefaut = [this] {
    session_.DefinirNomSkin(kNomSkinDefaut);
    Defaut1->setChecked(true);
  };
  // A remembered skin whose folder or description is missing, or that does
  // not load, leaves the default skin in place rather than a half-loaded
  // panel.
  const QString description = TrouverFichierSansCasse(DossierSkin(nom) + "skin.ini");
  if (!QFileInfo(description).isFile() || !SkinForm1->LoadSkinFile(description)) {
    if (QFileInfo(description).isFile()) SkinForm1->LoadDefaultSkin();
    parDefaut();
    return;
  }
  // The board is drawn with the skin's tiles: without a usable picture of
  // them the default skin takes over, as after a failed switch.
  TImagesPieces pieces;
  const QString erreur = ChargerPiecesSkin(pieces, TrouverFichierSansCasse(DossierSkin(nom) + "pieces.bmp"));
  if (!erreur.isEmpty()) {
    dialogues_.Erreur(erreur.toStdString() + "\nLa skin par défaut est utilisée à la place de « " + nom.toStdString() +
                      " ».");
    SkinForm1->LoadDefaultSkin();
    parDefaut();
    return;
  }
  CocherSkin();
}

void TFrmPlayer::ListeSkins() {
  QStringList dossiers = QDir(Chemin() + "skins").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(dossiers.begin(), dossiers.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  for (const auto& nom : dossiers) AjouteSkin(nom);
}

void TFrmPlayer::AjouteSkin(const QString& nom) {
  if (nom.startsWith('.') || nom.compare(kNomSkinDefaut, Qt::CaseInsensitive) == 0) return;
  auto* item = SkinsMenu->addAction(nom);
  item->setObjectName(nom);
  item->setCheckable(true);
  item->setData(nom);
  groupeSkins_->addAction(item);
  connect(item, &QAction::triggered, this, [this, item] { SkinClick(item); });
}

void TFrmPlayer::CocherSkin() {
  const QString nom = QString::fromStdString(session_.Reglages().NomSkin);
  if (nom == kNomSkinDefaut) {
    Defaut1->setChecked(true);
    return;
  }
  for (auto* a : SkinsMenu->actions())
    if (a != Defaut1 && a->text().trimmed().toUpper() == nom.trimmed().toUpper()) a->setChecked(true);
}

bool TFrmPlayer::ChangerSkin(const QString& nom) {
  const bool defaut = nom == kNomSkinDefaut;
  const QString precedent = QString::fromStdString(session_.Reglages().NomSkin);
  // What the panel shows (the board's title, the counter) comes back with
  // the previous panel.
  std::vector<std::pair<QString, QString>> affiches;
  for (const auto& affichage : SkinForm1->Displays()) affiches.emplace_back(affichage.ID, affichage.Value);
  auto panneauPrecedent = [this, &precedent, &affiches] {
    if (precedent == kNomSkinDefaut)
      SkinForm1->LoadDefaultSkin();
    else
      SkinForm1->LoadSkinFile(TrouverFichierSansCasse(DossierSkin(precedent) + "skin.ini"));
    for (auto it = affiches.rbegin(); it != affiches.rend(); ++it) SkinForm1->SetDisplayText(it->first, it->second);
  };
  if (defaut) {
    if (!SkinForm1->LoadDefaultSkin()) {
      panneauPrecedent();
      return false;
    }
  } else {
    const QString description = TrouverFichierSansCasse(DossierSkin(nom) + "skin.ini");
    if (!QFileInfo(description).isFile()) {
      dialogues_.Erreur("La skin « " + nom.toStdString() + " » n'a pas de description : le fichier " +
                        (DossierSkin(nom) + "skin.ini").toStdString() + " est introuvable.");
      return false;
    }
    if (!SkinForm1->LoadSkinFile(description)) {
      panneauPrecedent();
      return false;
    }
  }
  if (plateau_ && !plateau_->ChargerPieces(TrouverFichierSansCasse(DossierSkin(nom) + "pieces.bmp"))) {
    panneauPrecedent();
    return false;
  }
  session_.DefinirNomSkin(defaut ? std::string(kNomSkinDefaut) : nom.toStdString());
  if (magneto_) ImageMagneto(*magneto_);
  return true;
}

void TFrmPlayer::SkinClick(QAction* item) {
  if (ChangerSkin(item->data().toString()) && plateau_ && !session_.FichierPlateau().empty())
    plateau_->ChargerPlateau(QString::fromStdString(session_.FichierPlateau()));
  CocherSkin();
}

void TFrmPlayer::Defaut1Click() { SkinClick(Defaut1); }

void TFrmPlayer::ImageMagneto(TFrmMagneto& magneto) {
  auto charger = [this, &magneto](const QString& nom) -> std::vector<QPixmap> {
    const QString fichier = TrouverFichierSansCasse(DossierSkin() + nom);
    if (!QFileInfo(fichier).isFile()) return {};
    std::string erreur;
    QImage bande = LireImageSkin(fichier, kBorneBande, &erreur);
    // Drawn at twice the size on a dense screen, when the skin has it.
    if (!bande.isNull() && magneto.devicePixelRatioF() >= 1.5)
      if (QImage double_ = LireImageDouble(fichier, kBorneBande, bande.size()); !double_.isNull()) bande = double_;
    auto images = DecouperBoutons(bande);
    if (!erreur.empty())
      dialogues_.Avertissement(erreur + "\nLe magnétoscope garde ses boutons par défaut.");
    return images;
  };
  magneto.DefinirImages(charger("magnetoOff.bmp"), charger("magnetoOn.bmp"));
}

void TFrmPlayer::showEvent(QShowEvent* evenement) {
  QWidget::showEvent(evenement);
  if (!dejaMontree_) {
    dejaMontree_ = true;
    FormShow();
  }
}

void TFrmPlayer::FormShow() {
  if (const QScreen* ecran = screen()) move(ecran->geometry().center() - rect().center());
  CreerDossiers(session_.DossierPlateaux());
  CreerDossiers(session_.Chemin() + "sequences");
}

void TFrmPlayer::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button, Qt::KeyboardModifiers, int X,
                                        int Y) {
  if (Button != Qt::LeftButton) return;
  if (ID == "QUITTER") {
    close();
  } else if (ID == "REDUIRE") {
    showMinimized();
  } else if (ID == "CHARGER") {
    if (gestion_ && plateau_ && gestion_->exec() == QDialog::Accepted && !gestion_->FichierChoisi.isEmpty())
      plateau_->ChargerPlateau(gestion_->FichierChoisi);
  } else if (ID == "RAZ") {
    if (session_.PlateauChoisi() && plateau_ && dialogues_.Confirmer("Recommencez ce plateau"))
      plateau_->ChargerPlateau(QString::fromStdString(session_.FichierPlateau()));
  } else if (ID == "RETOUR") {
    if (magneto_) magneto_->setVisible(!magneto_->isVisible());
  } else if (ID == "AIDE") {
    voirAide();
  } else if (ID == "PARAM") {
    PopupMenu1->popup(mapToGlobal(QPoint(X, Y)));
  }
}

void TFrmPlayer::voirAide() {
  // The help file named in the working folder when there is one, else the
  // help page shipped with the program.
  const QString chm = QDir::current().absoluteFilePath("Glissaro.chm");
  OuvrirUrl(QUrl::fromLocalFile(QFileInfo(chm).isFile() ? chm : Chemin() + "aide/index.html"));
}

void TFrmPlayer::Officialiser1Click() {
  if (auteur_) auteur_->exec();
}

void TFrmPlayer::Plateauxsupplmentaires1Click() {
  if (pack_) pack_->exec();
}

void TFrmPlayer::Apropos1Click() {
  if (about_) about_->exec();
}

void TFrmPlayer::MontrerOfficialiser(bool visible) { Officialiser1->setVisible(visible); }

void TFrmPlayer::deplace2Click(QAction* item) {
  session_.DefinirVitesseDeplacement(item->data().toInt());
  item->setChecked(true);
}

void TFrmPlayer::Magneto50Click(QAction* item) {
  session_.DefinirVitesseMagneto(item->data().toInt());
  item->setChecked(true);
}

void TFrmPlayer::TailleClick(QAction* item) {
  session_.DefinirZoom(item->data().toInt());
  item->setChecked(true);
}

void TFrmPlayer::PlacesFinales1Click() { session_.DefinirPlacesFinales(PlacesFinales1->isChecked()); }

void TFrmPlayer::OuvrirFichier(const QString& chemin) {
  const QFileInfo fichier(chemin);
  if (!fichier.isFile()) {
    dialogues_.Erreur("Le fichier " + chemin.toStdString() + " est introuvable.");
    return;
  }
  const QString complet = fichier.absoluteFilePath();
  switch (GenreDuFichier(complet.toStdString())) {
    case GenreFichier::Plateau:
      if (plateau_) plateau_->ChargerPlateau(complet);
      break;
    case GenreFichier::Sequence:
      if (plateau_) plateau_->RechargerSequenceDepuis(complet);
      break;
    case GenreFichier::Paquet:
      if (pack_) pack_->OuvrirPaquet(complet);
      break;
    case GenreFichier::Autre:
      dialogues_.Erreur("Glissaro ouvre les plateaux (.wbp), les séquences (.swb) et les paquets de plateaux (.pkg) : " +
                        complet.toStdString() + " n'en est pas un.");
      break;
  }
}

void TFrmPlayer::AssemblerPlateau() {
  if (!plateau_ || assemble_) return;
  assemble_ = true;
  setAttribute(Qt::WA_TranslucentBackground);
  SkinForm1->SetShapedByOwner(true);
  plateau_->Assembler(*this);
  connect(SkinForm1, &TSkinForm::OnSkinChanged, this, &TFrmPlayer::DisposerAssemblage);
  // The skin loaded at creation, shaped again by this window.
  SkinForm1->ApplyMask();
  SkinForm1->RedrawSkin();
  DisposerAssemblage();
}

void TFrmPlayer::DisposerAssemblage() {
  if (!assemble_) return;
  const QSize panneau = SkinForm1->size();
  const bool avecPlateau = plateau_ && plateau_->isVisibleTo(this);
  const QSize plateau = avecPlateau ? plateau_->size() : QSize(0, 0);
  // The board's left is the panel's left plus half the panel's width minus
  // half its own; a board wider than the panel moves the panel right.
  int gauchePanneau = 0, gauchePlateau = panneau.width() / 2 - plateau.width() / 2;
  if (gauchePlateau < 0) {
    gauchePanneau = -gauchePlateau;
    gauchePlateau = 0;
  }
  SkinForm1->move(gauchePanneau, 0);
  QRegion forme = SkinForm1->Region().translated(gauchePanneau, 0);
  if (avecPlateau) {
    plateau_->move(gauchePlateau, panneau.height());
    forme += plateau_->geometry();
  }
  resize(std::max(gauchePanneau + panneau.width(), gauchePlateau + plateau.width()),
         panneau.height() + plateau.height());
  setMask(forme);
}

void TFrmPlayer::moveEvent(QMoveEvent* evenement) {
  QWidget::moveEvent(evenement);
  if (plateau_) plateau_->SuivrePanneau();
}

bool TFrmPlayer::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == SkinForm1 && evenement->type() == QEvent::MouseButtonPress && plateau_) plateau_->RetenirDecalage();
  return QWidget::eventFilter(objet, evenement);
}

QIcon IconeGlissaro() {
  QIcon icone;
  for (int taille : {16, 32, 48, 64, 128, 256}) icone.addFile(QStringLiteral(":/icones/glissaro-%1.png").arg(taille));
  return icone;
}

void TFrmPlayer::closeEvent(QCloseEvent* evenement) {
  if (!dialogues_.Confirmer("Quitter Glissaro ?")) {
    evenement->ignore();
    return;
  }
  const auto ecriture = session_.EnregistrerReglages();
  if (!ecriture.ok) dialogues_.Erreur(ecriture.message);
  evenement->accept();
  emit Fermee();
}

void TFrmPlayer::keyPressEvent(QKeyEvent* evenement) {
  if (evenement->key() == Qt::Key_F1)
    voirAide();
  else if (!plateau_ || !plateau_->TraiterTouche(evenement))
    QWidget::keyPressEvent(evenement);
}

}  // namespace glissaro
