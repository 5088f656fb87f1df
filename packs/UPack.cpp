#include "UPack.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "Fichiers.h"

namespace glissaro {

namespace {

// The instructions, line by line.
const char* const kInstructions[] = {
    "Cet écran permet de charger des plateaux supplémentaires pour Glissaro.",
    "",
    // One sentence: one paragraph, wrapped as the width allows.
    "Ces plateaux se positionnent automatiquement dans un dossier "
    "PackXX  ( XX correspond au n° de package reçu).",
    "",
    "Pour l'installation, suivez les opérations suivantes:",
    "",
    "1/ Cliquez sur le bouton \"Charger un package\"",
    "",
    "2/ Localisez le fichier que vous venez de recevoir \"PackXX.PKG\"",
    "   ",
    "",
    "3/ Cliquez \"Ouvrir\"",
};

// The two buttons are off while a restore runs, and "Annuler" shows; as
// they were again however it ends.
class BoutonsInactifs {
 public:
  BoutonsInactifs(QPushButton* a, QPushButton* b, QPushButton* annuler) : a_(a), b_(b), annuler_(annuler) {
    a_->setEnabled(false);
    b_->setEnabled(false);
    annuler_->show();
  }
  ~BoutonsInactifs() {
    a_->setEnabled(true);
    b_->setEnabled(true);
    annuler_->hide();
  }
  BoutonsInactifs(const BoutonsInactifs&) = delete;
  BoutonsInactifs& operator=(const BoutonsInactifs&) = delete;

 private:
  QPushButton* a_;
  QPushButton* b_;
  QPushButton* annuler_;
};

}  // namespace

TFrmPack::TFrmPack(const QString& chemin, Dialogues& dialogues, QWidget* parent)
    : QDialog(parent), BackupFile1(&dialogues), chemin_(chemin), dialogues_(dialogues) {
  if (!chemin_.endsWith('/')) chemin_ += '/';
  setObjectName("FrmPack");
  setWindowTitle("Plateaux supplémentaires");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);
  setFixedSize(389, 360);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(0, 0, 389, 315);
  QStringList lignes;
  for (const char* ligne : kInstructions) lignes << QString::fromUtf8(ligne);
  Memo1->setPlainText(lignes.join('\n'));

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(0, 315, 389, 45);
  Panel1->setFrameShape(QFrame::StyledPanel);

  BitBtn1 = new QPushButton("Charger un package", Panel1);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(120, 12, std::max(115, BitBtn1->sizeHint().width()), 25);
  BitBtn2 = new QPushButton("&Fermer", Panel1);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(304, 12, 75, 25);
  BtAnnuler = new QPushButton("Annuler", Panel1);
  BtAnnuler->setObjectName("BtAnnuler");
  BtAnnuler->setGeometry(12, 12, 75, 25);
  BtAnnuler->hide();
  connect(BtAnnuler, &QPushButton::clicked, this, [this] { BackupFile1.Cancel(); });
  connect(BitBtn1, &QPushButton::clicked, this, &TFrmPack::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TFrmPack::reject);

  OpenDialogPackage.titre = "Charger un package";
  OpenDialogPackage.filtreDescription = "Package Glissaro";
  OpenDialogPackage.filtreMotif = "*.pkg";
  OpenDialogPackage.doitExister = false;

  BackupFile1.SetBackupMode(TBackupMode::bmAll);
  BackupFile1.CompressionLevel = TCompressionLevel::clFastest;
  BackupFile1.RestoreMode = TRestoreMode::rmAll;
  BackupFile1.MaxSize = 0;
  BackupFile1.SetArchiveFlag = false;
  BackupFile1.RestoreFullPath = false;
  BackupFile1.SaveFileID = false;
  // The windows stay responsive while a large archive is read.
  BackupFile1.ProcessMessages = [] { QCoreApplication::processEvents(); };
}

QString TFrmPack::DossierPaquet(const QString& chemin, const QString& archive) {
  QString dossier = chemin;
  if (!dossier.endsWith('/')) dossier += '/';
  const QString nom = QFileInfo(archive).fileName();
  const int point = nom.indexOf('.');
  return dossier + "plateaux/" + (point < 0 ? QString() : nom.left(point));
}

void TFrmPack::BitBtn1Click() {
  if (BackupFile1.Busy()) return;
  OpenDialogPackage.dossierInitial = chemin_.toStdString();
  const auto choisi = dialogues_.OuvrirFichier(OpenDialogPackage);
  if (!choisi) return;
  Installer(QString::fromStdString(*choisi));
}

void TFrmPack::OuvrirPaquet(const QString& archive) {
  QTimer::singleShot(0, this, [this, archive] { Installer(archive); });
  exec();
}

void TFrmPack::Installer(const QString& archive) {
  if (BackupFile1.Busy()) return;
  const QString dossier = DossierPaquet(chemin_, archive);
  if (!CreerDossiers(dossier.toStdString())) {
    dialogues_.Bip();
    dialogues_.Erreur("Erreur à la création du repertoire !!!");
    return;
  }

  bool restaure = false;
  {
    BoutonsInactifs inactifs(BitBtn1, BitBtn2, BtAnnuler);
    try {
      restaure = BackupFile1.Restore(archive.toStdString(), dossier.toStdString());
    } catch (const std::exception& erreur) {
      // The archive could not be read on: its text, and the action ends.
      dialogues_.Erreur(erreur.what());
      return;
    }
  }
  if (restaure)
    dialogues_.Message("Mise en place de :  " + std::to_string(BackupFile1.FilesRestored()) +
                       " plateaux supplémentaires.");
  else
    dialogues_.Message("chargement en erreur !!!");
}

void TFrmPack::reject() {
  if (BackupFile1.Busy()) return;
  QDialog::reject();
}

void TFrmPack::showEvent(QShowEvent* evenement) {
  if (const QScreen* ecran = screen() ? screen() : QGuiApplication::primaryScreen()) {
    const QRect zone = ecran->availableGeometry();
    move(zone.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(evenement);
}

}  // namespace glissaro
