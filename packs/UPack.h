// TFrmPack: the pack installer. Asks for a ".pkg" archive, makes a folder
// for it under the board folder and restores the archive into it, then
// says how many files were installed.
#pragma once

#include <QDialog>
#include <QString>

#include "Dialogues.h"
#include "backup.h"

class QPlainTextEdit;
class QPushButton;
class QFrame;

namespace glissaro {

class TFrmPack : public QDialog {
  Q_OBJECT
 public:
  // chemin: the program folder, ending with "/".
  TFrmPack(const QString& chemin, Dialogues& dialogues, QWidget* parent = nullptr);

  QPlainTextEdit* Memo1 = nullptr;
  QFrame* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // "Charger un package"
  QPushButton* BitBtn2 = nullptr;  // "&Fermer"
  // "Annuler": shown while a restore runs, it stops it between two blocks.
  QPushButton* BtAnnuler = nullptr;
  DialogueFichier OpenDialogPackage;
  TBackupFile BackupFile1;

  // The install action.
  void BitBtn1Click();
  // Installs an archive already chosen, as the install action does after
  // its dialog.
  void Installer(const QString& archive);
  // Opens the installer on an archive (a pack opened from the desktop): the
  // window shows and installs it, then stays open until closed.
  void OuvrirPaquet(const QString& archive);

  // The pack folder of an archive: {chemin}plateaux/ followed by the
  // archive's file name up to its first "." (the board folder itself when
  // the name has no dot).
  static QString DossierPaquet(const QString& chemin, const QString& archive);

 public slots:
  // The dialog is not closed while a restore runs.
  void reject() override;

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  QString chemin_;
  Dialogues& dialogues_;
};

}  // namespace glissaro
