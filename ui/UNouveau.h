// TFrmNouveau: the small modal dialog in which a new board is named and
// sized before the editor builds it.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QSpinBox;
class QPushButton;

namespace glissaro {

class TFrmNouveau : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmNouveau(QWidget* parent = nullptr);

  // The name (at most 15 characters) and the size, each number field with
  // its arrows: 3 to 20 columns, 3 to 16 rows, never wrapping around.
  QLineEdit* EdNomPlateau = nullptr;
  QSpinBox* EdLargeur = nullptr;
  QSpinBox* EdHauteur = nullptr;
  QPushButton* BtOk = nullptr;
  QPushButton* BtCancel = nullptr;

  // The results, read after an OK ending.
  QString NomPlateau() const;
  int Largeur() const;
  int Hauteur() const;

  void done(int resultat) override;

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  // Every showing starts from "Niveau 0", 3 by 3, the name selected.
  void FormShow();
};

}  // namespace glissaro
