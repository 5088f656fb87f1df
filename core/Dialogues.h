// Every message box, confirmation, file dialog, input box and beep of the
// program goes through this interface, so that the windows can be driven
// without a screen. The program uses the Qt implementation (ui/); tests use
// DialoguesScriptes, which records what was shown and answers from a script.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Hasard.h"

namespace glissaro {

enum class Reponse { Oui, Non, Annuler };

// What the player asks of a board made at random.
struct ChoixHasard {
  BoiteHasard boite = BoiteHasard::B4x5;
  NiveauHasard niveau = NiveauHasard::Moyen;
  bool porte = false;
};

// A file open or save dialog as the program sets it up.
struct DialogueFichier {
  std::string titre;
  std::string filtreDescription;  // "Plateau Glissaro"
  std::string filtreMotif;        // "*.wbp"
  std::string extensionDefaut;    // "wbp", without the dot; empty for none
  std::string dossierInitial;
  std::string nomFichier;         // proposed file name
  bool doitExister = true;        // an open dialog accepts only existing files
};

class Dialogues {
 public:
  virtual ~Dialogues() = default;

  // Message boxes with an OK button.
  virtual void Information(const std::string& texte) = 0;
  virtual void Avertissement(const std::string& texte) = 0;
  virtual void Erreur(const std::string& texte) = 0;
  // A plain message without icon, titled with the application's name.
  virtual void Message(const std::string& texte) = 0;

  // "Confirmation" box with a question icon and the buttons "&Oui" and "&Non".
  virtual bool Confirmer(const std::string& texte) = 0;
  // The same with a Cancel button.
  virtual Reponse ConfirmerOuAnnuler(const std::string& texte) = 0;

  // An information box with two buttons: true when the player chose the
  // first, which is the default ("Plateau suivant" and "OK").
  virtual bool Choisir(const std::string& texte, const std::string& boutonDefaut, const std::string& autreBouton) = 0;

  // The default beep.
  virtual void Bip() = 0;

  // File dialogs: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> OuvrirFichier(const DialogueFichier& dialogue) = 0;
  virtual std::optional<std::string> EnregistrerFichier(const DialogueFichier& dialogue) = 0;

  // Input box: the text typed, or nothing when cancelled.
  virtual std::optional<std::string> Saisir(const std::string& titre, const std::string& invite,
                                            const std::string& valeur) = 0;

  // The "Plateau au hasard" dialog: box, level and door, from the choice
  // proposed; nothing when cancelled.
  virtual std::optional<ChoixHasard> ChoisirHasard(const ChoixHasard& propose) = 0;
};

// The scripted implementation: each call is recorded as "kind: text" and
// answered from the queues (answers run out to No, Cancel and nothing).
class DialoguesScriptes : public Dialogues {
 public:
  struct Appel {
    std::string genre;  // "information", "avertissement", "erreur", "message",
                        // "confirmation", "confirmation3", "choix", "bip", "ouvrir",
                        // "enregistrer", "saisie", "hasard"
    std::string texte;  // message text, or dialog title
  };

  std::vector<Appel> appels;
  std::deque<bool> confirmations;
  std::deque<bool> choix;
  std::deque<Reponse> reponses;
  std::deque<std::optional<std::string>> fichiers;
  std::deque<std::optional<std::string>> saisies;
  std::deque<std::optional<ChoixHasard>> hasards;
  std::vector<DialogueFichier> dialoguesFichier;

  void Information(const std::string& texte) override { appels.push_back({"information", texte}); }
  void Avertissement(const std::string& texte) override { appels.push_back({"avertissement", texte}); }
  void Erreur(const std::string& texte) override { appels.push_back({"erreur", texte}); }
  void Message(const std::string& texte) override { appels.push_back({"message", texte}); }
  bool Confirmer(const std::string& texte) override {
    appels.push_back({"confirmation", texte});
    if (confirmations.empty()) return false;
    const bool r = confirmations.front();
    confirmations.pop_front();
    return r;
  }
  Reponse ConfirmerOuAnnuler(const std::string& texte) override {
    appels.push_back({"confirmation3", texte});
    if (reponses.empty()) return Reponse::Annuler;
    const Reponse r = reponses.front();
    reponses.pop_front();
    return r;
  }
  bool Choisir(const std::string& texte, const std::string&, const std::string&) override {
    appels.push_back({"choix", texte});
    if (choix.empty()) return false;
    const bool r = choix.front();
    choix.pop_front();
    return r;
  }
  void Bip() override { appels.push_back({"bip", ""}); }
  std::optional<std::string> OuvrirFichier(const DialogueFichier& d) override {
    appels.push_back({"ouvrir", d.titre});
    dialoguesFichier.push_back(d);
    return Suivant(fichiers);
  }
  std::optional<std::string> EnregistrerFichier(const DialogueFichier& d) override {
    appels.push_back({"enregistrer", d.titre});
    dialoguesFichier.push_back(d);
    return Suivant(fichiers);
  }
  std::optional<std::string> Saisir(const std::string& titre, const std::string&, const std::string&) override {
    appels.push_back({"saisie", titre});
    return Suivant(saisies);
  }

  std::optional<ChoixHasard> ChoisirHasard(const ChoixHasard&) override {
    appels.push_back({"hasard", "Plateau au hasard"});
    if (hasards.empty()) return std::nullopt;
    auto r = hasards.front();
    hasards.pop_front();
    return r;
  }

  // The texts shown of one kind, in order.
  std::vector<std::string> Textes(const std::string& genre) const {
    std::vector<std::string> r;
    for (const auto& a : appels)
      if (a.genre == genre) r.push_back(a.texte);
    return r;
  }

 private:
  static std::optional<std::string> Suivant(std::deque<std::optional<std::string>>& file) {
    if (file.empty()) return std::nullopt;
    auto r = file.front();
    file.pop_front();
    return r;
  }
};

}  // namespace glissaro
