#include "UNouveau.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace glissaro {

namespace {

// A number field with its arrows. Whatever number is typed is taken, and
// one outside the limits is brought to the nearest limit when the field is
// left or the dialog ends; anything but digits is refused.
class ChampNombre : public QSpinBox {
 public:
  ChampNombre(QWidget* parent, const char* nom, int maximum, int x, int y) : QSpinBox(parent) {
    setObjectName(nom);
    setRange(3, maximum);
    setValue(3);
    setWrapping(false);
    setKeyboardTracking(false);
    // A 25-pixel field with its arrows attached on its right.
    setGeometry(x, y, 25 + 18, 22);
  }

 protected:
  QValidator::State validate(QString& texte, int&) const override {
    if (texte.size() > 3) return QValidator::Invalid;
    for (const QChar c : texte)
      if (!c.isDigit()) return QValidator::Invalid;
    if (texte.isEmpty()) return QValidator::Intermediate;
    const int n = texte.toInt();
    return n >= minimum() && n <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
  }
  void fixup(QString& texte) const override {
    const int n = texte.isEmpty() ? minimum() : std::clamp(texte.toInt(), minimum(), maximum());
    texte = QString::number(n);
  }
};

QLabel* Etiquette(QWidget* parent, const QString& texte, QWidget* champ, int x, int y, int largeur) {
  auto* etiquette = new QLabel(texte, parent);
  etiquette->setGeometry(x, y, largeur, 22);
  etiquette->setBuddy(champ);
  return etiquette;
}

}  // namespace

TFrmNouveau::TFrmNouveau(QWidget* parent) : QDialog(parent) {
  setObjectName("FrmNouveau");
  setWindowTitle("Nouveau Plateau");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(297, 87);

  EdNomPlateau = new QLineEdit(this);
  EdNomPlateau->setObjectName("EdNomPlateau");
  EdNomPlateau->setMaxLength(15);
  EdNomPlateau->setGeometry(8, 22, 185, 22);
  auto* nom = new QLabel("Nom", this);
  nom->setGeometry(8, 4, 185, 16);
  nom->setBuddy(EdNomPlateau);

  EdLargeur = new ChampNombre(this, "EdLargeur", 20, 56, 56);
  EdHauteur = new ChampNombre(this, "EdHauteur", 16, 160, 56);
  Etiquette(this, "Largeur", EdLargeur, 8, 56, 46);
  Etiquette(this, "Hauteur", EdHauteur, 110, 56, 48);

  BtOk = new QPushButton("OK", this);
  BtOk->setObjectName("BtOk");
  BtOk->setGeometry(216, 8, 75, 25);
  BtOk->setDefault(true);
  BtCancel = new QPushButton("Annuler", this);
  BtCancel->setObjectName("BtCancel");
  BtCancel->setGeometry(216, 48, 75, 25);
  connect(BtOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(BtCancel, &QPushButton::clicked, this, &QDialog::reject);

  setTabOrder(EdNomPlateau, EdHauteur);
  setTabOrder(EdHauteur, EdLargeur);
  setTabOrder(EdLargeur, BtOk);
  setTabOrder(BtOk, BtCancel);
}

QString TFrmNouveau::NomPlateau() const { return EdNomPlateau->text(); }
int TFrmNouveau::Largeur() const { return EdLargeur->value(); }
int TFrmNouveau::Hauteur() const { return EdHauteur->value(); }

void TFrmNouveau::done(int resultat) {
  // A number still being typed is taken, brought within its limits.
  EdLargeur->interpretText();
  EdHauteur->interpretText();
  QDialog::done(resultat);
}

void TFrmNouveau::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  FormShow();
}

void TFrmNouveau::FormShow() {
  EdNomPlateau->setText("Niveau 0");
  EdHauteur->setRange(3, 16);
  EdLargeur->setRange(3, 20);
  EdHauteur->setValue(3);
  EdLargeur->setValue(3);
  EdNomPlateau->setFocus();
  EdNomPlateau->selectAll();
}

}  // namespace glissaro
