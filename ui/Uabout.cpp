#include "Uabout.h"

#include <algorithm>

#include <QDesktopServices>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace glissaro {

TLien::TLien(const QString& texte, QWidget* parent) : QLabel(texte, parent) {
  setCursor(Qt::PointingHandCursor);
  setStyleSheet("color: blue; text-decoration: underline;");
}

void TLien::mouseReleaseEvent(QMouseEvent* evenement) {
  if (evenement->button() == Qt::LeftButton && rect().contains(evenement->position().toPoint())) emit Clique();
  QLabel::mouseReleaseEvent(evenement);
}

namespace {

// The logo: the program's icon and its name.
QPixmap Logo() {
  QPixmap logo(227, 45);
  logo.fill(Qt::white);
  QPainter p(&logo);
  p.setRenderHint(QPainter::Antialiasing);
  p.drawPixmap(QRect(4, 2, 41, 41), QPixmap(":/apropos/glissaro-64.png"));
  QFont police("DejaVu Sans", 22, QFont::Bold);
  p.setFont(police);
  p.setPen(QColor(40, 52, 70));
  p.drawText(QRect(54, 0, 173, 45), Qt::AlignVCenter | Qt::AlignLeft, "Glissaro");
  return logo;
}

}  // namespace

TFrmAbout::TFrmAbout(const QString& chemin, Dialogues& dialogues, QWidget* parent)
    : QDialog(parent), chemin_(chemin), dialogues_(dialogues) {
  setObjectName("FrmAbout");
  setWindowTitle("A propos ...");
  setModal(true);
  setFixedSize(242, 294);
  setAutoFillBackground(true);
  QPalette blanc = palette();
  blanc.setColor(QPalette::Window, Qt::white);
  setPalette(blanc);
  OuvrirUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

  auto etiquette = [this](const char* nom, const QString& texte, int x, int y, bool gras = false) {
    auto* l = new QLabel(texte, this);
    l->setObjectName(nom);
    l->move(x, y);
    if (gras) l->setStyleSheet("font-weight: bold;");
    l->adjustSize();
    return l;
  };
  auto lien = [this](const char* nom, const QString& texte, int x, int y) {
    auto* l = new TLien(texte, this);
    l->setObjectName(nom);
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(8, 8, 227, 45);
  Image1->setPixmap(Logo());
  etiquette("Label10", "Site Internet:", 80, 64, true);
  Label2 = lien("Label2", kAdresseSiteWeb, 56, 80);
  QFont treize = Label2->font();
  treize.setPixelSize(13);
  Label2->setFont(treize);
  Label2->adjustSize();
  etiquette("Developpement", "Développement :", 72, 120, true);
  Label6 = etiquette("Label6", kDeveloppeur, 72, 136);
  Label1 = lien("Label1", kCourrielDeveloppeur, 72, 152);
  etiquette("Label7", "Vie du site Internet et concours:", 24, 184, true);
  Label8 = etiquette("Label8", kAnimateurSite, 80, 203);
  Label9 = lien("Label9", kCourrielSite, 48, 216);
  Button2 = new QPushButton(kAssociation, this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(16, 256, std::max(75, Button2->sizeHint().width()), 25);
  Label3 = etiquette("Label3", "1.00", std::max(112, Button2->geometry().right() + 8), 264);
  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(152, 256, 75, 25);
  BitBtn1->setDefault(true);

  // A text wider than the room left of its place moves left, never out of
  // the window.
  for (QLabel* texte : findChildren<QLabel*>())
    if (texte != Image1 && texte->geometry().right() > width() - 8)
      texte->move(std::max(8, width() - 8 - texte->width()), texte->y());

  connect(Label2, &TLien::Clique, this, &TFrmAbout::Label2Click);
  connect(Label1, &TLien::Clique, this, [this] { Label1Click(Label1); });
  connect(Label9, &TLien::Clique, this, [this] { Label1Click(Label9); });
  connect(Button2, &QPushButton::clicked, this, &TFrmAbout::Button2Click);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmAbout::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  if (const QScreen* ecran = screen()) move(ecran->geometry().center() - rect().center());
  Label3->setText(QString::fromStdString(TexteVersion(VersionDuProgramme())));
  Label3->adjustSize();
}

void TFrmAbout::Label1Click(QLabel* etiquette) { OuvrirUrl(QUrl("mailto:" + etiquette->text())); }

void TFrmAbout::Label2Click() { OuvrirUrl(QUrl(Label2->text())); }

void TFrmAbout::Button2Click() {
  const QString fichier = chemin_ + kFichierAssociation;
  if (!QFileInfo(fichier).isFile() || !OuvrirUrl(QUrl::fromLocalFile(fichier)))
    dialogues_.Avertissement("Le fichier d'information du " + std::string(kAssociation) + " est introuvable : " +
                             fichier.toStdString());
}

}  // namespace glissaro
