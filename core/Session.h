// One run of the game, as the windows show it and ask it: the program
// folder, the settings, the player's records, the current board file and
// the game on it (with its replay). The program entry makes it and hands it
// to every window; the windows change it only through its verbs and the
// game's, and are told of what changes through ObservateurSession.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Dialogues.h"
#include "Parametres.h"
#include "Partie.h"
#include "Records.h"
#include "Rejeu.h"
#include "Solveur.h"

namespace glissaro {

// Whoever shows the session: the game's news (cells, counter,
// congratulation, full history), and the title the panel shows.
class ObservateurSession : public ObservateurPartie {
 public:
  // The board's title at a load, or the version's when the board is closed.
  virtual void TitreAffiche(const std::string& /*titre*/) {}
  // A setting changed (TSession::Reglages).
  virtual void ReglagesModifies() {}
};

class TSession : private ObservateurPartie {
 public:
  // chemin: the program folder ("/" is added at its end when missing). The
  // settings are read from
  // its Glissaro.ini; a file that cannot be read gives the defaults, and
  // its message is kept (MessageReglages).
  TSession(std::string chemin, Dialogues& dialogues);
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  const std::string& Chemin() const { return chemin_; }
  std::string DossierPlateaux() const { return chemin_ + "plateaux/"; }

  // ---- Settings, kept in Glissaro.ini at a confirmed close.
  const Parametres& Reglages() const { return reglages_; }
  const std::string& MessageReglages() const { return messageReglages_; }
  // Each change is told to the observers; the move speed reaches the game
  // at once.
  void DefinirNomSkin(std::string nom);
  void DefinirVitesseDeplacement(int vitesse);
  void DefinirVitesseMagneto(int vitesse);
  // The board's size on the screen (Vue.h's zooms).
  void DefinirZoom(int zoom);
  void DefinirPlacesFinales(bool montrer);
  ResultatEcriture EnregistrerReglages() const;

  // ---- The player's records (Records.ini), shared with the board manager.
  TCarnetRecords& Records() { return records_; }
  // The records know the current board's optimum (then none is searched).
  bool OptimumConnu();
  // The solver proved the current board's optimum.
  void NoterOptimum(int32_t coups);
  // The board after the current one in the library's order that is not yet
  // solved at its optimum, as a file; nothing when none is left.
  std::optional<std::string> PlateauSuivant();

  // ---- The current board: the file of the last load (empty when none),
  // and its game.
  const std::string& FichierPlateau() const { return fichier_; }
  bool PlateauChoisi() const;
  // The board becomes the current one, and a new game starts on it at the
  // move speed of the settings; the title is shown when the file's header
  // could be read. A file that cannot be played stays the current one (so
  // that "RAZ" says why again) with no game on it.
  ResultatLecture ChargerPlateau(const std::string& chemin);
  // The board is closed: no current board, the counter at 0 and the
  // version as the title.
  void FermerPlateau();
  TPartie& Partie() { return partie_; }
  const TPartie& Partie() const { return partie_; }
  // The board file as a path in the library, or itself when it lies
  // elsewhere.
  std::string CheminDansLaBibliotheque() const;

  // ---- The game's sequences: the history written under a title, and a
  // sequence file reloaded onto the board once checked (Rejeu.h).
  ResultatEcriture EnregistrerSequence(const std::string& chemin, const std::string& titre) const;
  RechargementSequence RechargerSequence(const std::string& chemin);
  // The solver's path from the position, shown: its moves follow the
  // position in the history, to be replayed; false when the history could
  // not hold them all.
  bool MontrerSolution(const std::vector<PasSolution>& chemin);

  void AjouterObservateur(ObservateurSession* observateur);
  void RetirerObservateur(ObservateurSession* observateur);

 private:
  void CaseChangee(int ligne, int colonne) override;
  void CompteurAffiche(const std::string& texte) override;
  // The solved game is noted in the records (when it counts for one) before
  // the observers are told: their congratulation carries the result's
  // lines.
  void Felicitations(const std::string& texte, int32_t etat) override;
  void HistoriquePlein() override;
  void AfficherTitre(const std::string& titre);
  void ReglageModifie();

  std::string chemin_;
  std::string messageReglages_;  // before reglages_, which its reading fills
  Parametres reglages_;
  TCarnetRecords records_;
  std::string fichier_;
  // The current board's fingerprint and path in the library, for its
  // records, from its last load.
  std::string empreinte_;
  std::string cheminBibliotheque_;
  TPartie partie_;
  std::vector<ObservateurSession*> observateurs_;
};

}  // namespace glissaro
