#include "Uplayer.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>

#include "Fichiers.h"
#include "Parametres.h"
#include "SkinForm.h"
#include "SkinImages.h"
#include "Uplateau.h"
#include "gestion.h"

namespace glissaro {

TFrmPlayer::TFrmPlayer(Dialogues& dialogues, const QString& chemin) : dialogues_(dialogues) {
  setObjectName("FrmPlayer");
  setWindowTitle("Glissaro");
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  OuvrirUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
  Chemin = chemin.isEmpty() ? QCoreApplication::applicationDirPath() : chemin;
  if (!Chemin.endsWith('/')) Chemin += '/';
  Loaded();
}

int32_t TFrmPlayer::Compteur() const { return plateau_ ? plateau_->Partie.Compteur : 0; }

void TFrmPlayer::DefinirFenetres(const Fenetres& fenetres) {
  plateau_ = fenetres.plateau;
  gestion_ = fenetres.gestion;
}

QString TFrmPlayer::DossierSkin(const QString& nom) const {
  return TrouverFichierSansCasse(Chemin + "skins/" + nom) + "/";
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

  PopupMenu1->addSeparator();
  Editeurdeplateau1 = PopupMenu1->addAction("&Editeur de plateau");
  Editeurdeplateau1->setObjectName("Editeurdeplateau1");
  Editeurdeplateau1->setEnabled(false);  // the editor comes later
  PopupMenu1->addSeparator();
  SkinsMenu = PopupMenu1->addMenu("&Skins");
  SkinsMenu->setObjectName("SkinsMenu");
  groupeSkins_ = new QActionGroup(this);
  Defaut1 = radio(SkinsMenu, groupeSkins_, "Defaut1", "Defaut", 0);
  Defaut1->setChecked(true);
  PopupMenu1->addSeparator();
  Plateauxsupplmentaires1 = PopupMenu1->addAction("Plateaux supplèmentaires");
  Plateauxsupplmentaires1->setObjectName("Plateauxsupplmentaires1");
  Plateauxsupplmentaires1->setEnabled(false);  // the pack installer comes later
  PopupMenu1->addSeparator();
  Apropos1 = PopupMenu1->addAction("A propos...");
  Apropos1->setObjectName("Apropos1");
  Apropos1->setEnabled(false);  // the about box comes later
  Officialiser1 = PopupMenu1->addAction("Officialiser");
  Officialiser1->setObjectName("Officialiser1");
  Officialiser1->setVisible(false);
  Officialiser1->setEnabled(false);
}

void TFrmPlayer::Loaded() {
  SkinForm1 = new TSkinForm(dialogues_, this);
  SkinForm1->setObjectName("SkinForm1");
  SkinForm1->SetKeyColor(Qt::white);
  SkinForm1->SetTolerance(Qt::black);
  connect(SkinForm1, &TSkinForm::OnMouseUpNotify, this, &TFrmPlayer::SkinForm1MouseUpNotify);
  SkinForm1->LoadDefaultSkin();
  CreerMenu();

  const auto parametres = LireParametres(CheminParametres(Chemin.toStdString()));
  NomSkin = QString::fromStdString(parametres.NomSkin);
  VitesseDeplacement = parametres.VitesseDeplacement;
  VitesseMagneto = parametres.VitesseMagneto;
  for (auto* a : groupeDeplacement_->actions())
    if (a->data().toInt() == VitesseDeplacement) a->setChecked(true);
  for (auto* a : groupeMagneto_->actions())
    if (a->data().toInt() == VitesseMagneto) a->setChecked(true);

  if (NomSkin == kNomSkinDefaut) return;
  // A remembered skin whose folder or description is missing, or that does
  // not load, leaves the default skin in place rather than a half-loaded
  // panel.
  const QString description = TrouverFichierSansCasse(DossierSkin(NomSkin) + "skin.ini");
  if (!QFileInfo(description).isFile() || !SkinForm1->LoadSkinFile(description)) {
    if (QFileInfo(description).isFile()) SkinForm1->LoadDefaultSkin();
    NomSkin = kNomSkinDefaut;
    Defaut1->setChecked(true);
    return;
  }
  for (auto* a : SkinsMenu->actions())
    if (a->text().trimmed().toUpper() == NomSkin.trimmed().toUpper()) a->setChecked(true);
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
  CreerDossiers((Chemin + "plateaux").toStdString());
  CreerDossiers((Chemin + "sequences").toStdString());
  if (plateau_) {
    plateau_->SD_Sequence = {"sauvegarde une séquenceGlissaro", "sequences Glissaro", "*.swb", "swb",
                             (Chemin + "sequences/").toStdString(), ""};
    plateau_->OD_sauvegarde = {"Recharger une séquence Glissaro", "sequences Glissaro", "*.swb", "swb",
                               (Chemin + "sequences/").toStdString(), ""};
  }
}

void TFrmPlayer::SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button, Qt::KeyboardModifiers, int X,
                                        int Y) {
  if (Button != Qt::LeftButton) return;
  if (ID == "QUITTER") {
    close();
  } else if (ID == "REDUIRE") {
    showMinimized();
  } else if (ID == "CHARGER") {
    if (gestion_ && plateau_ && gestion_->exec() == QDialog::Accepted && !gestion_->FichierChoisi.isEmpty()) {
      FichierPlateau = gestion_->FichierChoisi;
      plateau_->ChargerPlateau(FichierPlateau);
    }
  } else if (ID == "RAZ") {
    if (!FichierPlateau.trimmed().isEmpty() && plateau_ && dialogues_.Confirmer("Recommencez ce plateau"))
      plateau_->ChargerPlateau(FichierPlateau);
  } else if (ID == "AIDE") {
    voirAide();
  } else if (ID == "PARAM") {
    PopupMenu1->popup(mapToGlobal(QPoint(X, Y)));
  }
  // "RETOUR" waits for the replay window.
}

void TFrmPlayer::voirAide() { OuvrirUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath("Glissaro.chm"))); }

void TFrmPlayer::deplace2Click(QAction* item) {
  VitesseDeplacement = item->data().toInt();
  if (plateau_) plateau_->DefinirVitesse(VitesseDeplacement);
  item->setChecked(true);
}

void TFrmPlayer::Magneto50Click(QAction* item) {
  VitesseMagneto = item->data().toInt();
  item->setChecked(true);
}

void TFrmPlayer::closeEvent(QCloseEvent* evenement) {
  if (!dialogues_.Confirmer("Quitter Glissaro ?")) {
    evenement->ignore();
    return;
  }
  Parametres p;
  p.NomSkin = NomSkin.toStdString();
  p.VitesseDeplacement = VitesseDeplacement;
  p.VitesseMagneto = VitesseMagneto;
  const auto ecriture = EcrireParametres(CheminParametres(Chemin.toStdString()), p);
  if (!ecriture.ok) dialogues_.Erreur(ecriture.message);
  evenement->accept();
  emit Fermee();
}

void TFrmPlayer::keyPressEvent(QKeyEvent* evenement) {
  if (evenement->key() == Qt::Key_F1)
    voirAide();
  else
    QWidget::keyPressEvent(evenement);
}

}  // namespace glissaro
