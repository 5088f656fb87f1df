// The program's message boxes, confirmations, file dialogs, input box and
// beep, on Qt widgets.
#pragma once

#include "Dialogues.h"

class QCoreApplication;

namespace glissaro {

// Qt's own texts in French (standard buttons, file dialogs), from the
// translations installed with Qt; false when they are not there.
bool ChargerTraductionsQt(QCoreApplication& application);

class DialoguesQt : public Dialogues {
 public:
  void Information(const std::string& texte) override;
  void Avertissement(const std::string& texte) override;
  void Erreur(const std::string& texte) override;
  void Message(const std::string& texte) override;
  bool Confirmer(const std::string& texte) override;
  Reponse ConfirmerOuAnnuler(const std::string& texte) override;
  bool Choisir(const std::string& texte, const std::string& boutonDefaut, const std::string& autreBouton) override;
  void Bip() override;
  std::optional<std::string> OuvrirFichier(const DialogueFichier& dialogue) override;
  std::optional<std::string> EnregistrerFichier(const DialogueFichier& dialogue) override;
  std::optional<std::string> Saisir(const std::string& titre, const std::string& invite,
                                    const std::string& valeur) override;
  std::optional<ChoixHasard> ChoisirHasard(const ChoixHasard& propose) override;
};

}  // namespace glissaro
