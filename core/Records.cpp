#include "Records.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "Bibliotheque.h"
#include "FichierPlateau.h"
#include "Texte.h"

namespace glissaro {

std::string CheminRecords(const std::string& chemin) { return chemin + "Records.ini"; }

std::string CheminOptimaLivres(const std::string& chemin) { return chemin + "plateaux/Optima.ini"; }

std::string EmpreintePlateau(const TPlateau& plateau) {
  // FNV-1a, 64 bits, over the size and the fields of every cell in the order
  // of the board file.
  uint64_t h = 0xcbf29ce484222325ULL;
  const auto ajouter = [&h](uint32_t valeur) {
    for (int i = 0; i < 4; ++i) {
      h ^= (valeur >> (8 * i)) & 0xFF;
      h *= 0x100000001b3ULL;
    }
  };
  ajouter(plateau.Largeur);
  ajouter(plateau.Hauteur);
  for (int ligne = 1; ligne <= plateau.Hauteur; ++ligne)
    for (int colonne = 1; colonne <= plateau.Largeur; ++colonne) {
      const auto& c = plateau.Case(ligne, colonne);
      ajouter(static_cast<uint32_t>(c.Serie));
      ajouter(static_cast<uint16_t>(c.Map));
      ajouter(c.Piece);
      ajouter(static_cast<uint32_t>(c.Haut) | c.Droit << 1 | c.Bas << 2 | c.Gauche << 3 | c.PlaceFinal << 4 |
              c.Porte << 5);
    }
  char texte[17];
  std::snprintf(texte, sizeof texte, "%016llX", static_cast<unsigned long long>(h));
  return texte;
}

bool CompteePourRecord(const FinDePartie& fin) { return !fin.solutionMontree && !fin.evenementsNonJoues; }

FinDePartie FinDe(const TPartie& partie) {
  return {partie.Compteur(), partie.Indices(), partie.SolutionMontree(), partie.Historique().NonJouesAppliques()};
}

namespace {

bool EstEmpreinte(std::string_view nom) {
  if (nom.size() != 16) return false;
  for (char c : nom)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

std::optional<int32_t> Nombre(const std::string& valeur) {
  const auto n = EntierStrict(valeur);
  if (!n || *n < 0) return std::nullopt;
  return n;
}

constexpr std::string_view kSectionOptima = "Optima";

}  // namespace

std::map<std::string, int32_t> LireOptimaLivres(const std::string& fichier) {
  std::map<std::string, int32_t> optima;
  FichierIni::Charger(fichier).Parcourir([&](const std::string& section, const std::string& cle, const std::string& valeur) {
    const auto coups = Nombre(valeur);
    if (MajusculesAscii(section) == MajusculesAscii(kSectionOptima) && EstEmpreinte(MajusculesAscii(cle)) && coups)
      optima[MajusculesAscii(cle)] = *coups;
  });
  return optima;
}

std::string TexteOptimaLivres(const std::map<std::string, int32_t>& optima) {
  FichierIni ini;
  for (const auto& [empreinte, coups] : optima) ini.EcrireEntier(kSectionOptima, empreinte, coups);
  return ini.Texte();
}

TRecords TRecords::Charger(const std::string& fichier, std::string* erreur) {
  TRecords r;
  r.ini_ = FichierIni::Charger(fichier, erreur, kTailleMaxRecords);
  r.ini_.Parcourir([&r](const std::string& section, const std::string& cle, const std::string& valeur) {
    const std::string empreinte = MajusculesAscii(section);
    if (!EstEmpreinte(empreinte)) return;
    auto& record = r.records_[empreinte];
    const std::string c = MajusculesAscii(cle);
    if (c == "TITRE") record.Titre = valeur;
    else if (c == "CHEMIN") record.Chemin = valeur;
    else if (c == "MEILLEUR") record.Meilleur = Nombre(valeur);
    else if (c == "DATE") record.Date = valeur;
    else if (c == "OPTIMUM") record.Optimum = Nombre(valeur);
    else if (c == "RESOLU") record.Resolu = valeur == "1";
    else if (c == "INDICES") record.Indices = Nombre(valeur).value_or(0);
  });
  // A board is solved only with its best.
  for (auto& [empreinte, record] : r.records_) record.Resolu = record.Resolu && record.Meilleur.has_value();
  return r;
}

const RecordPlateau* TRecords::Trouver(const std::string& empreinte) const {
  const auto it = records_.find(empreinte);
  return it == records_.end() ? nullptr : &it->second;
}

void TRecords::Ecrire(const std::string& empreinte, std::string_view cle, std::string_view valeur) {
  ini_.Ecrire(empreinte, cle, valeur);
}

IssueRecord TRecords::NoterPartie(const std::string& empreinte, std::string_view titre, std::string_view chemin,
                                  const FinDePartie& fin, std::string_view date) {
  IssueRecord issue;
  if (!CompteePourRecord(fin)) return issue;
  auto& record = records_[empreinte];
  record.Titre = titre;
  record.Chemin = chemin;
  Ecrire(empreinte, "Titre", titre);
  Ecrire(empreinte, "Chemin", chemin);
  const bool avant = record.Resolu && record.Meilleur;
  if (avant) issue.ancienMeilleur = record.Meilleur;
  const bool mieux = !avant || fin.coups < *record.Meilleur ||
                     (fin.coups == *record.Meilleur && fin.indices < record.Indices);
  if (!mieux) return issue;
  issue.enregistre = true;
  issue.nouveauRecord = avant && fin.coups < *record.Meilleur;
  record.Meilleur = fin.coups;
  record.Date = date;
  record.Resolu = true;
  record.Indices = fin.indices;
  Ecrire(empreinte, "Meilleur", std::to_string(fin.coups));
  Ecrire(empreinte, "Date", date);
  Ecrire(empreinte, "Resolu", "1");
  Ecrire(empreinte, "Indices", std::to_string(fin.indices));
  return issue;
}

void TRecords::NoterOptimum(const std::string& empreinte, std::string_view titre, std::string_view chemin,
                            int32_t optimum) {
  auto& record = records_[empreinte];
  if (record.Titre.empty()) {
    record.Titre = titre;
    Ecrire(empreinte, "Titre", titre);
  }
  if (record.Chemin.empty()) {
    record.Chemin = chemin;
    Ecrire(empreinte, "Chemin", chemin);
  }
  record.Optimum = optimum;
  Ecrire(empreinte, "Optimum", std::to_string(optimum));
}

ResultatEcriture TRecords::Enregistrer(const std::string& fichier) const { return ini_.Enregistrer(fichier); }

std::string MessageRecordsIllisibles(const std::string& raison) {
  return "Vos records ne peuvent pas être lus (" + raison +
         ").\nIls ne seront ni affichés ni enregistrés jusqu'à la fermeture de Glissaro, "
         "et le fichier reste tel qu'il est.";
}

void TRecords::AjouterOptimaLivres(const std::map<std::string, int32_t>& optima) {
  for (const auto& [empreinte, coups] : optima) {
    auto& record = records_[empreinte];
    if (!record.Optimum) record.Optimum = coups;
  }
}

std::optional<TRecords> TCarnetRecords::Relire() {
  if (illisible_) return std::nullopt;
  std::string erreur;
  auto records = TRecords::Charger(fichier_, &erreur);
  if (erreur.empty()) {
    if (!optima_) optima_ = LireOptimaLivres(fichierOptima_);
    records.AjouterOptimaLivres(*optima_);
    return records;
  }
  illisible_ = true;
  dialogues_.Avertissement(MessageRecordsIllisibles(erreur));
  return std::nullopt;
}

TRecords TCarnetRecords::Lire() { return Relire().value_or(TRecords{}); }

bool TCarnetRecords::Modifier(const std::function<void(TRecords&)>& modifier) {
  auto records = Relire();
  if (!records) {
    TRecords aucun;
    modifier(aucun);
    return false;
  }
  modifier(*records);
  const auto ecriture = records->Enregistrer(fichier_);
  if (!ecriture.ok) dialogues_.Avertissement(ecriture.message);
  return ecriture.ok;
}

std::optional<std::string> EmpreinteDuFichier(const std::string& chemin) {
  TPlateau plateau;
  if (LirePlateau(chemin, plateau, ModeLecture::Jeu).statut != StatutLecture::Ok) return std::nullopt;
  return EmpreintePlateau(plateau);
}

std::vector<const RecordPlateau*> RecordsDesPlateaux(const TRecords& records, const std::string& dossierPlateaux,
                                                     const std::vector<std::string>& chemins) {
  std::vector<const RecordPlateau*> trouves(chemins.size(), nullptr);
  std::map<std::string, std::string> parChemin;  // path -> fingerprint
  for (const auto& [empreinte, record] : records.Tous())
    if (!record.Chemin.empty()) parChemin[record.Chemin] = empreinte;
  std::size_t resolusTrouves = 0;
  for (std::size_t i = 0; i < chemins.size(); ++i) {
    const auto it = parChemin.find(chemins[i]);
    if (it == parChemin.end()) continue;
    if (EmpreinteDuFichier(dossierPlateaux + chemins[i]) != it->second) continue;
    trouves[i] = records.Trouver(it->second);
    resolusTrouves += trouves[i]->Resolu;
  }
  std::size_t resolus = 0;
  for (const auto& [empreinte, record] : records.Tous()) resolus += record.Resolu;
  if (resolusTrouves == resolus) return trouves;
  for (std::size_t i = 0; i < chemins.size(); ++i) {
    if (trouves[i]) continue;
    if (const auto empreinte = EmpreinteDuFichier(dossierPlateaux + chemins[i])) trouves[i] = records.Trouver(*empreinte);
  }
  return trouves;
}

std::string CheminDansBibliotheque(const std::string& dossierPlateaux, const std::string& fichier) {
  return fichier.starts_with(dossierPlateaux) ? fichier.substr(dossierPlateaux.size()) : fichier;
}

std::optional<std::string> PlateauSuivantAJouer(const TRecords& records, const std::string& dossierPlateaux,
                                                std::string_view actuel) {
  const auto chemins = CheminsBibliotheque(LireBibliotheque(dossierPlateaux));
  return PlateauSuivant(chemins, actuel, [&](const std::string& chemin) {
    const auto empreinte = EmpreinteDuFichier(dossierPlateaux + chemin);
    if (!empreinte) return true;
    const auto* record = records.Trouver(*empreinte);
    return record && record->ResoluALOptimum();
  });
}

std::string DateDuJour() {
  const std::time_t maintenant = std::time(nullptr);
  std::tm local{};
  localtime_r(&maintenant, &local);
  char texte[40];
  std::snprintf(texte, sizeof texte, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return texte;
}

std::string DateEnLettres(std::string_view iso) {
  static constexpr std::array<const char*, 12> kMois = {"janvier", "février", "mars",      "avril",
                                                         "mai",     "juin",    "juillet",   "août",
                                                         "septembre", "octobre", "novembre", "décembre"};
  int annee = 0, mois = 0, jour = 0;
  char reste = 0;
  const std::string texte(iso);
  if (texte.size() != 10 || std::sscanf(texte.c_str(), "%4d-%2d-%2d%c", &annee, &mois, &jour, &reste) != 3 ||
      mois < 1 || mois > 12 || jour < 1 || jour > 31)
    return texte;
  return (jour == 1 ? std::string("1er") : std::to_string(jour)) + " " + kMois[static_cast<std::size_t>(mois - 1)] +
         " " + std::to_string(annee);
}

std::string TexteCoups(int32_t coups) { return std::to_string(coups) + (coups > 1 ? " coups" : " coup"); }

std::string TexteResultat(int32_t coups, std::optional<int32_t> optimum) {
  std::string texte = "Résolu en " + TexteCoups(coups);
  if (optimum) texte += coups <= *optimum ? " — optimum atteint !" : " — optimum : " + TexteCoups(*optimum);
  return texte;
}

std::string TexteNouveauRecord(int32_t ancienMeilleur) {
  return "Nouveau record ! (ancien : " + TexteCoups(ancienMeilleur) + ")";
}

std::string TexteRecord(const RecordPlateau* record) {
  if (!record || !record->Resolu || !record->Meilleur) return "Pas encore résolu";
  std::string texte = "Votre record : " + TexteCoups(*record->Meilleur);
  if (!record->Date.empty()) texte += " (le " + DateEnLettres(record->Date) + ")";
  return texte;
}

std::string TexteProgression(int resolus, int total, int optimaux) {
  return std::to_string(resolus) + (resolus > 1 ? " plateaux résolus" : " plateau résolu") + " sur " +
         std::to_string(total) + ", dont " + std::to_string(optimaux) + " à l'optimum";
}

}  // namespace glissaro
