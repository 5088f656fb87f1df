// TFrmHasard: the "Plateau au hasard" dialog of the board manager (the box,
// the level with the range of its optimal moves in that box, the door),
// and the making itself, away from the windows' thread while a progress
// dialog with its Cancel button waits.
#pragma once

#include <QDialog>

#include <optional>

#include "Dialogues.h"
#include "Hasard.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace glissaro {

class TFrmHasard : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmHasard(const ChoixHasard& propose, QWidget* parent = nullptr);
  ChoixHasard Choix() const;

  QComboBox* ComboBoite = nullptr;
  QComboBox* ComboNiveau = nullptr;
  QCheckBox* CheckPorte = nullptr;
  QPushButton* BtOk = nullptr;
  QPushButton* BtCancel = nullptr;

 private:
  // The levels' lines for the box chosen: "Moyen (21 à 40 coups)".
  void RemplirNiveaux();
};

// "Moyen (21 à 40 coups)", "Très difficile (71 coups et plus)".
std::string TexteNiveau(BoiteHasard boite, NiveauHasard niveau);

// Makes the board while a progress dialog waits; nothing when cancelled.
std::optional<ResultatHasard> FabriquerEnAttendant(QWidget* parent, DemandeHasard demande);

}  // namespace glissaro
