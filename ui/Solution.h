// The solver run away from the user-interface thread: a search in a thread
// of its own whose result comes back to the windows' thread, and a wait with
// a progress dialog and its Cancel button. The rest of the program stays
// single-threaded: the search works on its own copy of the board.
#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "Solveur.h"

class QWidget;

namespace glissaro {

class TRechercheSolution : public QObject {
  Q_OBJECT
 public:
  explicit TRechercheSolution(QObject* parent = nullptr);
  ~TRechercheSolution() override;

  // Starts a search, ending the one that runs.
  void Lancer(const TPlateau& plateau, const OptionsSolveur& options);
  // Stops the search that runs; its result never comes.
  void Annuler();
  // A search was started and its result has not come yet.
  bool EnCours() const { return enCours_; }

 signals:
  // The result of the last search started, in the windows' thread.
  void Finie(const glissaro::ResultatSolveur& resultat);

 private:
  std::thread fil_;
  std::shared_ptr<std::atomic<bool>> annuler_;
  int generation_ = 0;
  bool enCours_ = false;
};

// Solves while a progress dialog with a Cancel button waits (it shows only
// when the search lasts); nothing when cancelled.
std::optional<ResultatSolveur> ResoudreEnAttendant(QWidget* parent, const TPlateau& plateau, MesureSolveur mesure);


}  // namespace glissaro
