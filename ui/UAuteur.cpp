#include "UAuteur.h"

#include <QBoxLayout>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

#include "DessinPlateau.h"
#include "FichierPlateau.h"
#include "Fichiers.h"
#include "Jpeg.h"
#include "Publication.h"
#include "Solution.h"
#include "Texte.h"

namespace glissaro {

namespace {

constexpr const char* kPasValide = "Ce plateau n'a pas été testé \"valide\" avec l'editeur";

}  // namespace

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
  const bool vertical = orientation == Qt::Vertical;
  Moins = new QToolButton(this);
  Plus = new QToolButton(this);
  Moins->setArrowType(vertical ? Qt::UpArrow : Qt::LeftArrow);
  Plus->setArrowType(vertical ? Qt::DownArrow : Qt::RightArrow);
  for (auto* b : {Moins, Plus}) {
    b->setAutoRepeat(true);
    b->setFixedSize(vertical ? QSize(17, 16) : QSize(16, 17));
  }
  QBoxLayout* mise = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(this)) : new QHBoxLayout(this);
  mise->setContentsMargins(0, 0, 0, 0);
  mise->setSpacing(0);
  mise->addWidget(Moins);
  mise->addWidget(Plus);
  connect(Moins, &QToolButton::clicked, this, [this] { emit Change(-1); });
  connect(Plus, &QToolButton::clicked, this, [this] { emit Change(1); });
}

TFrmAuteur::TFrmAuteur(const QString& chemin, const TImagesPieces& images, Dialogues& dialogues, QWidget* parent)
    : QDialog(parent), chemin_(chemin), images_(images), dialogues_(dialogues) {
  setObjectName("FrmAuteur");
  setWindowTitle("Ecran Auteur");
  setModal(true);
  setFixedSize(567, 249);

  ImageReduite = new TImageReduite(this, palette().color(QPalette::Window));
  ImageReduite->setObjectName("ImageReduite");
  PlacerImage();
  UpDown1 = new TUpDown(Qt::Vertical, this);
  UpDown1->setObjectName("UpDown1");
  UpDown1->move(8, 32);
  UpDown2 = new TUpDown(Qt::Horizontal, this);
  UpDown2->setObjectName("UpDown2");
  UpDown2->move(32, 8);
  connect(UpDown1, &TUpDown::Change, this, &TFrmAuteur::UpDown1ChangingEx);
  connect(UpDown2, &TUpDown::Change, this, &TFrmAuteur::UpDown2ChangingEx);

  TitreDuPlateau = new QLabel("Titre", this);
  TitreDuPlateau->setObjectName("TitreDuPlateau");
  TitreDuPlateau->setStyleSheet("color: blue; font-weight: bold; font-size: 16px;");
  TitreDuPlateau->setGeometry(216, 8, 200, 24);

  BitBtn1 = new QPushButton("Charger un plateau", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(424, 8, 131, 25);

  auto champ = [this](const char* nom, const QString& libelle, int y) {
    auto* etiquette = new QLabel(libelle, this);
    etiquette->setGeometry(272, y + 4, 90, 17);
    auto* edition = new QLineEdit(this);
    edition->setObjectName(nom);
    edition->setGeometry(368, y, 185, 23);
    etiquette->setBuddy(edition);
    return edition;
  };
  Edit1 = champ("Edit1", "Auteur ", 56);
  Edit3 = champ("Edit3", "Email", 96);
  Edit2 = champ("Edit2", "Nb de coups", 136);
  Edit2->setMaxLength(3);
  Edit2->setFixedWidth(49);

  Button1 = new QPushButton("Officialiser", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(456, 208, 97, 25);

  OpenDialog1 = {"Charger un plateau", "Plateau Glissaro", "*.wbp", "wbp", "", ""};
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmAuteur::BitBtn1Click);
  connect(Button1, &QPushButton::clicked, this, &TFrmAuteur::Button1Click);
}

void TFrmAuteur::BitBtn1Click() {
  OpenDialog1.dossierInitial = (chemin_ + "plateaux/").toStdString();
  const auto choisi = dialogues_.OuvrirFichier(OpenDialog1);
  if (!choisi) return;
  ImageReduite->Picture = QImage();
  ImageReduite->update();
  FichierPlateau = QString::fromStdString(*choisi);
  lu_ = false;
  // The number of moves belongs to the board: a new choice starts it again.
  Edit2->clear();

  TPlateau lu;
  const auto lecture = LirePlateau(*choisi, lu, ModeLecture::Jeu);
  if (lecture.enTeteLu) {
    TitreDuPlateau->setText(QString::fromStdString(lecture.titre));
    Largeur = lecture.largeur;
    Hauteur = lecture.hauteur;
    const int t = images_.TailleCase();
    ImageMemoire = QImage(Largeur * t, Hauteur * t, QImage::Format_RGB32);
    ImageMemoire.fill(Qt::white);
  }
  if (lecture.statut == StatutLecture::NonValide) {
    dialogues_.Bip();
    dialogues_.Erreur(kPasValide);
    return;
  }
  if (lecture.statut == StatutLecture::Erreur) {
    dialogues_.Erreur(lecture.message);
    return;
  }
  Cases = lu;
  lu_ = true;
  ImageMemoire = images_.DessinerPlateau(Cases);
  ImageReduite->Picture = ImageMemoire;
  ImageReduite->update();
  // The optimum is proposed as the number of moves, when proven; the author
  // may change it.
  const auto solution = ResoudreEnAttendant(this, Cases, MesureSolveur::Coups);
  if (solution && solution->issue == IssueSolveur::Solution && solution->optimale && solution->coups <= 999)
    Edit2->setText(QString::number(solution->coups));
}

void TFrmAuteur::UpDown1ChangingEx(int delta) {
  TailleImage.setHeight(std::clamp(TailleImage.height() + delta, 1, kTailleMax));
  PlacerImage();
}

void TFrmAuteur::UpDown2ChangingEx(int delta) {
  TailleImage.setWidth(std::clamp(TailleImage.width() + delta, 1, kTailleMax));
  PlacerImage();
}

void TFrmAuteur::PlacerImage() {
  QSize montree = TailleImage;
  if (montree.width() > kZoneImage.width() || montree.height() > kZoneImage.height())
    montree = montree.scaled(kZoneImage.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
  ImageReduite->setGeometry(QRect(kZoneImage.topLeft(), montree));
  ImageReduite->setToolTip(
      QStringLiteral("Image publiée : %1 × %2 pixels").arg(TailleImage.width()).arg(TailleImage.height()));
}

bool TFrmAuteur::Ecrire(const QString& chemin, const std::string& contenu) {
  const auto ecriture = EcrireFichierSur(chemin.toStdString(), contenu);
  if (!ecriture.ok) dialogues_.Erreur(ecriture.message);
  return ecriture.ok;
}

void TFrmAuteur::Button1Click() {
  // Only a board whose cells were read here is ever rewritten.
  if (FichierPlateau.isEmpty() || !lu_) return;
  if (!dialogues_.Confirmer("Confirmez l'officialisation")) return;

  // The picture, at the size set with the arrows.
  Image1 = ImageMemoire.scaled(TailleImage, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  std::string erreur;
  const std::string jpeg = EncoderJpeg(Image1, 90, &erreur);
  const QString base = FichierPlateau.left(FichierPlateau.size() - 4);
  if (jpeg.empty()) {
    dialogues_.Erreur("Impossible de créer l'image " + (base + ".jpg").toStdString() + " : " + erreur);
    return;
  }
  if (!Ecrire(base + ".jpg", jpeg)) return;

  // The board file, officialised.
  TPlateau officiel = Cases;
  officiel.Titre = TitreDuPlateau->text().toStdString();
  officiel.Largeur = static_cast<uint16_t>(Largeur);
  officiel.Hauteur = static_cast<uint16_t>(Hauteur);
  if (!Ecrire(FichierPlateau, TexteDuPlateau(officiel, "2"))) return;

  if (!Button2Click()) return;
  dialogues_.Information("Plateau Officialisé");
}

bool TFrmAuteur::Button2Click() {
  const std::string modele = (chemin_ + "TemplatePage.txt").toStdString();
  const auto fichier = LireFichier(modele, kTailleMaxTexte);
  if (!fichier.Lu()) {
    dialogues_.Erreur(fichier.message);
    return false;
  }
  Memo1.clear();
  const std::vector<std::string> lignes = DecouperLignes(Cp1252VersUtf8(fichier.contenu));
  ChampsPage champs;
  champs.titre = TitreDuPlateau->text().toStdString();
  champs.auteur = Edit1->text().toStdString();
  champs.email = Edit3->text().toStdString();
  champs.coups = Edit2->text().toStdString();
  champs.date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
  // The picture and the board file are named after the board file.
  const QString nomFichier = QFileInfo(FichierPlateau.left(FichierPlateau.size() - 4)).fileName();
  champs.fichier = nomFichier.toStdString();
  std::string page;
  for (const auto& ligne : RemplirModele(lignes, champs)) {
    Memo1 << QString::fromStdString(ligne);
    page += Utf8VersCp1252(ligne) + "\r\n";
  }
  // The page stays in the board's folder whatever the title holds.
  const QString dossier = QFileInfo(FichierPlateau).absolutePath() + "/";
  return Ecrire(dossier + QString::fromStdString(NomDeLaPage(champs.titre, champs.fichier)) + ".htm", page);
}

}  // namespace glissaro
