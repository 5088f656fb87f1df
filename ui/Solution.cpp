#include "Solution.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QString>

namespace glissaro {

TRechercheSolution::TRechercheSolution(QObject* parent) : QObject(parent) {}

TRechercheSolution::~TRechercheSolution() { Annuler(); }

void TRechercheSolution::Annuler() {
  ++generation_;
  enCours_ = false;
  if (annuler_) annuler_->store(true);
  if (fil_.joinable()) fil_.join();
  annuler_.reset();
}

void TRechercheSolution::Lancer(const TPlateau& plateau, const OptionsSolveur& options) {
  Annuler();
  annuler_ = std::make_shared<std::atomic<bool>>(false);
  const int generation = generation_;
  enCours_ = true;
  OptionsSolveur o = options;
  o.annuler = annuler_.get();
  fil_ = std::thread([this, plateau, o, annuler = annuler_, generation] {
    const ResultatSolveur r = Resoudre(plateau, o);
    if (annuler->load()) return;
    QMetaObject::invokeMethod(
        this,
        [this, r, generation] {
          if (generation != generation_) return;
          enCours_ = false;
          emit Finie(r);
        },
        Qt::QueuedConnection);
  });
}

std::optional<ResultatSolveur> ResoudreEnAttendant(QWidget* parent, const TPlateau& plateau, MesureSolveur mesure) {
  TRechercheSolution recherche;
  std::optional<ResultatSolveur> resultat;
  QEventLoop boucle;
  QProgressDialog attente("Recherche de la solution…", "Annuler", 0, 0, parent);
  attente.setWindowTitle("Glissaro");
  attente.setWindowModality(Qt::WindowModal);
  attente.setMinimumDuration(400);
  QObject::connect(&recherche, &TRechercheSolution::Finie, &boucle, [&](const ResultatSolveur& r) {
    resultat = r;
    boucle.quit();
  });
  QObject::connect(&attente, &QProgressDialog::canceled, &boucle, [&] {
    recherche.Annuler();
    boucle.quit();
  });
  OptionsSolveur options;
  options.mesure = mesure;
  recherche.Lancer(plateau, options);
  boucle.exec();
  attente.reset();
  return resultat;
}


}  // namespace glissaro
