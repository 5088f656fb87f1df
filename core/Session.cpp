#include "Session.h"

#include <algorithm>

#include "JeuSolution.h"
#include "Sequence.h"
#include "Texte.h"
#include "Version.h"

namespace glissaro {

namespace {

std::string AvecBarre(std::string chemin) {
  if (chemin.empty() || chemin.back() != '/') chemin += '/';
  return chemin;
}

}  // namespace

TSession::TSession(std::string chemin, Dialogues& dialogues)
    : chemin_(AvecBarre(std::move(chemin))),
      reglages_(LireParametres(CheminParametres(chemin_), &messageReglages_)),
      records_(CheminRecords(chemin_), dialogues, CheminOptimaLivres(chemin_)) {
  partie_.DefinirObservateur(this);
  partie_.DefinirVitesse(reglages_.VitesseDeplacement);
}

// ---- settings -------------------------------------------------------------

void TSession::DefinirNomSkin(std::string nom) {
  reglages_.NomSkin = std::move(nom);
  ReglageModifie();
}

void TSession::DefinirVitesseDeplacement(int vitesse) {
  reglages_.VitesseDeplacement = vitesse;
  partie_.DefinirVitesse(vitesse);
  ReglageModifie();
}

void TSession::DefinirVitesseMagneto(int vitesse) {
  reglages_.VitesseMagneto = vitesse;
  ReglageModifie();
}

void TSession::DefinirZoom(int zoom) {
  reglages_.Zoom = zoom;
  ReglageModifie();
}

void TSession::DefinirPlacesFinales(bool montrer) {
  reglages_.PlacesFinales = montrer;
  ReglageModifie();
}

ResultatEcriture TSession::EnregistrerReglages() const { return EcrireParametres(CheminParametres(chemin_), reglages_); }

// ---- the current board ----------------------------------------------------

bool TSession::PlateauChoisi() const { return !Rogner(fichier_).empty(); }

ResultatLecture TSession::ChargerPlateau(const std::string& chemin) {
  fichier_ = chemin;
  partie_.DefinirVitesse(reglages_.VitesseDeplacement);
  const auto lecture = partie_.Charger(chemin);
  if (lecture.enTeteLu) AfficherTitre(lecture.titre);
  if (lecture.statut == StatutLecture::Ok) {
    empreinte_ = EmpreintePlateau(partie_.Plateau());
    cheminBibliotheque_ = CheminDansLaBibliotheque();
  }
  return lecture;
}

void TSession::FermerPlateau() {
  partie_.RemettreCompteur();
  AfficherTitre(TitreSansPlateau());
  fichier_.clear();
}

std::string TSession::CheminDansLaBibliotheque() const { return CheminDansBibliotheque(DossierPlateaux(), fichier_); }

// ---- sequences ----------------------------------------------------------------

ResultatEcriture TSession::EnregistrerSequence(const std::string& chemin, const std::string& titre) const {
  return EcrireSequence(chemin, titre, partie_.Historique());
}

RechargementSequence TSession::RechargerSequence(const std::string& chemin) {
  return RechargerSequenceDuFichier(partie_, chemin);
}

bool TSession::MontrerSolution(const std::vector<PasSolution>& chemin) {
  return partie_.AjouterSolution(EvenementsDeLaSolution(partie_.Plateau(), chemin, partie_.Compteur()));
}

// ---- records ----------------------------------------------------------------

bool TSession::OptimumConnu() {
  const auto records = records_.Lire();
  const auto* record = records.Trouver(empreinte_);
  return record && record->Optimum;
}

void TSession::NoterOptimum(int32_t coups) {
  records_.Modifier([&](TRecords& records) {
    records.NoterOptimum(empreinte_, partie_.Plateau().Titre, cheminBibliotheque_, coups);
  });
}

std::optional<std::string> TSession::PlateauSuivant() {
  const auto suivant = PlateauSuivantAJouer(records_.Lire(), DossierPlateaux(), cheminBibliotheque_);
  if (!suivant) return std::nullopt;
  return DossierPlateaux() + *suivant;
}

// ---- what the game tells ----------------------------------------------------

void TSession::Felicitations(const std::string& texte, int32_t etat) {
  const auto fin = FinDe(partie_);
  IssueRecord issue;
  std::optional<int32_t> optimum;
  const auto noter = [&](TRecords& records) {
    issue = records.NoterPartie(empreinte_, partie_.Plateau().Titre, cheminBibliotheque_, fin, DateDuJour());
    if (const auto* record = records.Trouver(empreinte_)) optimum = record->Optimum;
  };
  // A game that does not count is measured against the records all the
  // same, without writing them.
  if (CompteePourRecord(fin)) {
    records_.Modifier(noter);
  } else {
    auto records = records_.Lire();
    noter(records);
  }
  std::string message = texte + "\n" + TexteResultat(fin.coups, optimum);
  if (issue.nouveauRecord) message += "\n" + TexteNouveauRecord(*issue.ancienMeilleur);
  for (auto* o : observateurs_) o->Felicitations(message, etat);
}

void TSession::AjouterObservateur(ObservateurSession* observateur) { observateurs_.push_back(observateur); }

void TSession::RetirerObservateur(ObservateurSession* observateur) {
  observateurs_.erase(std::remove(observateurs_.begin(), observateurs_.end(), observateur), observateurs_.end());
}

void TSession::CaseChangee(int ligne, int colonne) {
  for (auto* o : observateurs_) o->CaseChangee(ligne, colonne);
}
void TSession::CompteurAffiche(const std::string& texte) {
  for (auto* o : observateurs_) o->CompteurAffiche(texte);
}
void TSession::HistoriquePlein() {
  for (auto* o : observateurs_) o->HistoriquePlein();
}
void TSession::AfficherTitre(const std::string& titre) {
  for (auto* o : observateurs_) o->TitreAffiche(titre);
}
void TSession::ReglageModifie() {
  for (auto* o : observateurs_) o->ReglagesModifies();
}

}  // namespace glissaro
