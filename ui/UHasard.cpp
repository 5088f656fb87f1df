#include "UHasard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <QPushButton>
#include <QVBoxLayout>

#include <atomic>
#include <climits>
#include <memory>
#include <thread>

namespace glissaro {

std::string TexteNiveau(BoiteHasard boite, NiveauHasard niveau) {
  const Fourchette f = FourchetteDe(boite, niveau);
  const std::string coups = f.maximum == INT_MAX ? std::to_string(f.minimum) + " coups et plus"
                                                 : std::to_string(f.minimum) + " à " + std::to_string(f.maximum) + " coups";
  return NomNiveau(niveau) + " (" + coups + ")";
}

TFrmHasard::TFrmHasard(const ChoixHasard& propose, QWidget* parent) : QDialog(parent) {
  setObjectName("FrmHasard");
  setWindowTitle("Plateau au hasard");
  setModal(true);
  auto* mise = new QVBoxLayout(this);
  auto* champs = new QFormLayout;
  ComboBoite = new QComboBox(this);
  ComboBoite->setObjectName("ComboBoite");
  for (int b = 0; b < kNombreBoites; ++b) ComboBoite->addItem(QString::fromStdString(NomBoite(static_cast<BoiteHasard>(b))));
  ComboBoite->setCurrentIndex(static_cast<int>(propose.boite));
  ComboNiveau = new QComboBox(this);
  ComboNiveau->setObjectName("ComboNiveau");
  RemplirNiveaux();
  ComboNiveau->setCurrentIndex(static_cast<int>(propose.niveau));
  CheckPorte = new QCheckBox("Avec une porte à ouvrir", this);
  CheckPorte->setObjectName("CheckPorte");
  CheckPorte->setChecked(propose.porte);
  champs->addRow("Boîte :", ComboBoite);
  champs->addRow("Niveau :", ComboNiveau);
  champs->addRow("", CheckPorte);
  mise->addLayout(champs);
  auto* note = new QLabel("Chaque plateau est prouvé : sa solution optimale est connue.", this);
  note->setWordWrap(true);
  mise->addWidget(note);
  auto* boutons = new QDialogButtonBox(this);
  BtOk = boutons->addButton("OK", QDialogButtonBox::AcceptRole);
  BtOk->setObjectName("BtOk");
  BtOk->setDefault(true);
  BtCancel = boutons->addButton("Annuler", QDialogButtonBox::RejectRole);
  BtCancel->setObjectName("BtCancel");
  mise->addWidget(boutons);
  connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(ComboBoite, &QComboBox::currentIndexChanged, this, [this] {
    const int niveau = ComboNiveau->currentIndex();
    RemplirNiveaux();
    ComboNiveau->setCurrentIndex(niveau);
  });
}

void TFrmHasard::RemplirNiveaux() {
  const auto boite = static_cast<BoiteHasard>(std::max(0, ComboBoite->currentIndex()));
  ComboNiveau->clear();
  for (int n = 0; n < kNombreNiveaux; ++n)
    ComboNiveau->addItem(QString::fromStdString(TexteNiveau(boite, static_cast<NiveauHasard>(n))));
}

ChoixHasard TFrmHasard::Choix() const {
  return {static_cast<BoiteHasard>(ComboBoite->currentIndex()), static_cast<NiveauHasard>(ComboNiveau->currentIndex()),
          CheckPorte->isChecked()};
}

std::optional<ResultatHasard> FabriquerEnAttendant(QWidget* parent, DemandeHasard demande) {
  // The making has its own copy of the request and its own flags: it may
  // outlive this call by a moment once cancelled, never the thread.
  auto annuler = std::make_shared<std::atomic<bool>>(false);
  auto avancement = std::make_shared<std::atomic<int>>(0);
  QProgressDialog attente("Fabrication du plateau…", "Annuler", 0, 100, parent);
  attente.setObjectName("AttenteHasard");
  attente.setWindowTitle("Plateau au hasard");
  attente.setWindowModality(Qt::WindowModal);
  attente.setMinimumDuration(300);
  attente.setAutoClose(false);
  attente.setAutoReset(false);
  QEventLoop boucle;
  std::optional<ResultatHasard> resultat;
  demande.annuler = annuler.get();
  demande.progres = [avancement](int n) { avancement->store(n); };
  QObject context;
  std::thread fil([&, demande] {
    ResultatHasard r = FabriquerPlateau(demande);
    QMetaObject::invokeMethod(
        &context,
        [&, r = std::move(r)]() mutable {
          if (r.issue != IssueHasard::Annule) resultat = std::move(r);
          boucle.quit();
        },
        Qt::QueuedConnection);
  });
  QObject::connect(&attente, &QProgressDialog::canceled, &boucle, [&] { annuler->store(true); });
  QTimer montre;
  QObject::connect(&montre, &QTimer::timeout, &attente, [&] { attente.setValue(avancement->load()); });
  montre.start(100);
  boucle.exec();
  fil.join();
  montre.stop();
  attente.reset();
  if (annuler->load()) return std::nullopt;
  return resultat;
}

}  // namespace glissaro
