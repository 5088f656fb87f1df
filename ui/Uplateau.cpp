#include "Uplateau.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "Rejeu.h"
#include "Sequence.h"
#include "Solution.h"
#include "SkinForm.h"
#include "SkinImages.h"
#include "Uplayer.h"
#include "gestion.h"

#include <QFileInfo>

namespace glissaro {

TImagePlateau::TImagePlateau(QWidget* parent) : QWidget(parent) { setObjectName("ImagePlateau"); }

void TImagePlateau::paintEvent(QPaintEvent*) {
  QPainter peintre(this);
  // The picture fills the window, stretched to fit.
  if (!Picture.isNull()) peintre.drawImage(rect(), Picture);
}

void TImagePlateau::mousePressEvent(QMouseEvent* e) { emit MouseDown(e); }
void TImagePlateau::mouseMoveEvent(QMouseEvent* e) { emit MouseMove(e); }
void TImagePlateau::mouseReleaseEvent(QMouseEvent* e) { emit MouseUp(e); }

TFrmPlateau::TFrmPlateau(TFrmPlayer& player, Dialogues& dialogues) : player_(player), dialogues_(dialogues) {
  setObjectName("FrmPlateau");
  // A tool window without title-bar buttons.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  ImagePlateau = new TImagePlateau(this);
  connect(ImagePlateau, &TImagePlateau::MouseDown, this, &TFrmPlateau::ImagePlateauMouseDown);
  connect(ImagePlateau, &TImagePlateau::MouseMove, this, &TFrmPlateau::ImagePlateauMouseMove);
  connect(ImagePlateau, &TImagePlateau::MouseUp, this, &TFrmPlateau::ImagePlateauMouseUp);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  fermer = PopupMenu1->addAction("&Fermer le plateau");
  fermer->setObjectName("fermer");
  connect(fermer, &QAction::triggered, this, &TFrmPlateau::fermerClick);
  MontrerSolution1 = PopupMenu1->addAction("Montrer la solution");
  MontrerSolution1->setObjectName("MontrerSolution1");
  connect(MontrerSolution1, &QAction::triggered, this, &TFrmPlateau::MontrerSolution1Click);

  Partie.DefinirObservateur(this);
  // The tile pictures of the current skin, from the start.
  ChargerPieces(TrouverFichierSansCasse(player_.DossierSkin(player_.NomSkin) + "pieces.bmp"));
  Partie.DefinirVitesse(player_.VitesseDeplacement);
}

bool TFrmPlateau::ChargerPieces(const QString& chemin) {
  const QString erreur = Images.ChargerPieces(chemin);
  if (!erreur.isEmpty()) {
    dialogues_.Erreur(erreur.toStdString());
    return false;
  }
  Partie.DefinirTailleCase(Images.TailleCase());
  return true;
}

void TFrmPlateau::ChargerPlateau(const QString& chemin) {
  hide();
  Partie.DefinirTailleCase(Images.TailleCase());
  Partie.DefinirVitesse(player_.VitesseDeplacement);
  ImagePlateau->Picture = QImage();
  const auto lecture = Partie.ChargerPlateau(chemin.toStdString());
  if (lecture.enTeteLu) {
    const QString titre = QString::fromStdString(lecture.titre);
    setWindowTitle(titre);
    player_.SkinForm1->SetDisplayText("TEXT_TITRE", titre);
    const int t = Images.TailleCase();
    setFixedSize(lecture.largeur * t, lecture.hauteur * t);
    ImagePlateau->setGeometry(0, 0, lecture.largeur * t, lecture.hauteur * t);
  }
  if (lecture.statut == StatutLecture::Erreur) dialogues_.Erreur(lecture.message);
  if (lecture.statut != StatutLecture::Ok) return;

  ImagePlateau->Picture = Images.DessinerPlateau(Partie.Plateau);
  ImagePlateau->update();
  Placer();
  show();
  // The frame's size is known once the window is shown.
  Placer();
}

void TFrmPlateau::Placer() {
  const QScreen* ecran = player_.screen() ? player_.screen() : screen();
  const int hauteurEcran = ecran ? ecran->geometry().height() : 0;
  const int bordure = frameGeometry().height() - geometry().height();
  const int hauteur = height() + std::max(0, bordure);
  const int largeur = frameGeometry().width();
  const int haut = hauteurEcran / 2 + player_.height() / 2 - hauteur / 2;
  player_.move(player_.x(), haut - player_.height());
  move(player_.x() + player_.width() / 2 - largeur / 2, haut);
}

void TFrmPlateau::DessinerCase(int ligne, int colonne) {
  if (ImagePlateau->Picture.isNull() || !Partie.Plateau.Contient(ligne, colonne)) return;
  {
    QPainter peintre(&ImagePlateau->Picture);
    Images.DessinerCase(peintre, Partie.Plateau.Case(ligne, colonne), ligne, colonne);
  }
  const int t = Images.TailleCase();
  ImagePlateau->update((colonne - 1) * t, (ligne - 1) * t, t, t);
}

void TFrmPlateau::ImagePlateauMouseDown(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  Partie.Appuyer(p.x(), p.y());
}

void TFrmPlateau::ImagePlateauMouseMove(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  const QPoint p = e->position().toPoint();
  Partie.Glisser(p.x(), p.y());
}

void TFrmPlateau::ImagePlateauMouseUp(QMouseEvent* e) {
  Partie.Relacher();
  if (e->button() == Qt::RightButton) PopupMenu1->popup(e->globalPosition().toPoint());
}

void TFrmPlateau::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1)
    player_.voirAide();
  else
    QWidget::keyPressEvent(e);
}

void TFrmPlateau::fermerClick() {
  player_.SkinForm1->SetDisplayText("TEXT_CPT", "0000");
  Partie.Compteur = 0;
  player_.SkinForm1->SetDisplayText("TEXT_TITRE", "Version 1.00");
  player_.FichierPlateau.clear();
  close();
}

void TFrmPlateau::SauverSequence() {
  const auto chemin = dialogues_.EnregistrerFichier(SD_Sequence);
  if (!chemin) return;
  if (QFileInfo::exists(QString::fromStdString(*chemin)) && !dialogues_.Confirmer("Ce fichier existe déjà le remplacer ?"))
    return;
  const auto ecriture = EcrireSequence(*chemin, windowTitle().toStdString(), Partie.Historique);
  if (!ecriture.ok) dialogues_.Erreur(ecriture.message);
}

void TFrmPlateau::RechargerSequence() {
  if (player_.FichierPlateau.trimmed().isEmpty()) {
    if (gestion_ && gestion_->exec() == QDialog::Accepted && !gestion_->FichierChoisi.isEmpty()) {
      player_.FichierPlateau = gestion_->FichierChoisi;
      ChargerPlateau(player_.FichierPlateau);
    }
    if (player_.FichierPlateau.trimmed().isEmpty()) return;
  }
  const auto chemin = dialogues_.OuvrirFichier(OD_sauvegarde);
  if (!chemin) return;
  ChargerPlateau(player_.FichierPlateau);
  if (!Partie.Charge()) return;

  const auto sequence = LireSequence(*chemin);
  if (!sequence.ok) {
    dialogues_.Erreur(sequence.message);
    return;
  }
  // Nothing of a sequence made for another board, or that this board could
  // not have played, reaches the history.
  const auto controle = ControlerSequence(Partie.Plateau, sequence);
  if (controle.issue != ControleSequence::Issue::Correcte) {
    dialogues_.Bip();
    dialogues_.Erreur(controle.message);
    return;
  }
  ChargerEvenements(Partie.Historique, sequence.evenements);
  dialogues_.Information("Séquence rechargée");
}

void TFrmPlateau::MontrerSolution1Click() {
  if (!Partie.Charge()) return;
  const auto resultat = ResoudreEnAttendant(this, Partie.Plateau, MesureSolveur::Coups);
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
  // What could be replayed forward is dropped; the solution follows the
  // position, as play would have recorded it.
  auto& h = Partie.Historique;
  h.Couper();
  const auto evenements = EvenementsDeLaSolution(Partie.Plateau, resultat->chemin, Partie.Compteur);
  std::size_t places = static_cast<std::size_t>(THistorique::kCapacite - h.Fin);
  for (std::size_t i = 0; i < evenements.size() && i < places; ++i) h.Evenements[h.Fin++] = evenements[i];
  if (evenements.size() > places) HistoriquePlein();
  dialogues_.Information("Solution en " + TexteCoups(resultat->coups).toStdString() +
                         " depuis cette position : le magnétoscope la rejoue (« Avance », « Fin »).");
}

void TFrmPlateau::CaseChangee(int ligne, int colonne) { DessinerCase(ligne, colonne); }

void TFrmPlateau::CompteurAffiche(const std::string& texte) {
  player_.SkinForm1->SetDisplayText("TEXT_CPT", QString::fromStdString(texte));
}

void TFrmPlateau::Felicitations(const std::string& texte, int32_t) { dialogues_.Information(texte); }

void TFrmPlateau::HistoriquePlein() {
  dialogues_.Avertissement(
      "L'historique des coups est plein : la suite de cette partie ne sera plus enregistrée "
      "(le magnétoscope et les séquences s'arrêtent au dernier coup enregistré). Le jeu continue.");
}

}  // namespace glissaro
