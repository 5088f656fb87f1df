// The player's records: for every board solved by play, the fewest moves and
// the day they were made, and the optimum the solver proved. They live in
// Records.ini in the program folder (Windows-1252, CR LF, replaced safely),
// one section per board named by the board's fingerprint, so that a board
// keeps its record when it is moved, renamed or installed twice:
//
//   [3F9A0C7D12E4B865]
//   Titre=L'Âne rouge
//   Chemin=2 - Classiques/01 - L'Âne rouge.wbp
//   Meilleur=83
//   Date=2026-12-08
//   Optimum=81
//   Resolu=1
//   Indices=0
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Dialogues.h"
#include "Fichiers.h"
#include "Ini.h"
#include "Partie.h"
#include "Plateau.h"

namespace glissaro {

// The records file of a program folder (which ends with "/").
std::string CheminRecords(const std::string& chemin);

// The fingerprint of a board's start: its width, its height and every
// cell's fields (series, picture, piece, the four joins, final place, door),
// but neither its title, nor its status, nor its file; 16 hexadecimal digits.
std::string EmpreintePlateau(const TPlateau& plateau);

// The proven optima of the library's boards, shipped with them as
// plateaux/Optima.ini: a Windows-1252 INI file, one key a board in the
// section [Optima], its fingerprint, and the fewest moves that solve it
// (a board its player changed has another fingerprint). A missing or
// unreadable file, or a value that is not a count, gives nothing.
std::string CheminOptimaLivres(const std::string& chemin);
std::map<std::string, int32_t> LireOptimaLivres(const std::string& fichier);
std::string TexteOptimaLivres(const std::map<std::string, int32_t>& optima);

struct RecordPlateau {
  std::string Titre;
  std::string Chemin;                // relative to plateaux/, where the board was last seen
  std::optional<int32_t> Meilleur;   // fewest moves
  std::string Date;                  // the day of the best, "2026-12-08"
  std::optional<int32_t> Optimum;    // proved by the solver
  bool Resolu = false;
  int32_t Indices = 0;               // hints asked for in the best game

  bool ResoluALOptimum() const { return Resolu && Meilleur && Optimum && *Meilleur <= *Optimum; }
};

// How a game came to its end.
struct FinDePartie {
  int32_t coups = 0;
  int32_t indices = 0;              // hints asked for since the load
  bool solutionMontree = false;     // the whole solution was shown since the load
  bool evenementsNonJoues = false;  // the position holds events the player did not play
};

// A game makes a record only when the player played it: not when the
// solution was shown, nor when the position was reached by replaying events
// that were not played (a reloaded sequence, a shown solution). Hints are
// allowed and counted.
bool CompteePourRecord(const FinDePartie& fin);
// How the game stands now.
FinDePartie FinDe(const TPartie& partie);

struct IssueRecord {
  bool enregistre = false;               // the record was set or bettered
  bool nouveauRecord = false;            // it beats a best stored before
  std::optional<int32_t> ancienMeilleur;
};

class TRecords {
 public:
  // A missing file gives no records; so does one that cannot be read whole
  // (larger than kTailleMaxRecords, unreadable, not a regular file), and
  // then its message goes into *erreur when given.
  static TRecords Charger(const std::string& fichier, std::string* erreur = nullptr);

  const RecordPlateau* Trouver(const std::string& empreinte) const;
  const std::map<std::string, RecordPlateau>& Tous() const { return records_; }

  // A solved game: the best is set when there was none, or bettered by
  // fewer moves (or as few moves with fewer hints); its day is `date`. The
  // title and the path follow the board in any case when the game counts.
  IssueRecord NoterPartie(const std::string& empreinte, std::string_view titre, std::string_view chemin,
                          const FinDePartie& fin, std::string_view date);
  // The shipped optima, for the boards whose optimum is not stored yet:
  // known, never written to the file.
  void AjouterOptimaLivres(const std::map<std::string, int32_t>& optima);
  // The optimum the solver proved for a board.
  void NoterOptimum(const std::string& empreinte, std::string_view titre, std::string_view chemin, int32_t optimum);

  // Writes the file safely (temporary file, then rename).
  ResultatEcriture Enregistrer(const std::string& fichier) const;

 private:
  void Ecrire(const std::string& empreinte, std::string_view cle, std::string_view valeur);

  FichierIni ini_;  // the file as read, changed key by key
  std::map<std::string, RecordPlateau> records_;
};

// The records file of a run of the game, shared by every window. A file
// that is there but cannot be read whole is never written over: the player
// is told once, and until the game ends the records are neither shown nor
// kept, the file staying byte for byte as it was.
class TCarnetRecords {
 public:
  // optima: the shipped optima's file (CheminOptimaLivres), read once.
  TCarnetRecords(std::string fichier, Dialogues& dialogues, std::string optima = {})
      : fichier_(std::move(fichier)), fichierOptima_(std::move(optima)), dialogues_(dialogues) {}

  const std::string& Fichier() const { return fichier_; }
  // The file could not be read during this run.
  bool Illisible() const { return illisible_; }

  // The records as the file holds them now (none once it could not be read).
  TRecords Lire();
  // Reads the file, hands the records to modifier and writes them back
  // safely, so that what the other windows wrote in the meantime is kept.
  // A file that cannot be read gets nothing written: modifier then sees
  // no records. A failed write is said. True when the file was written.
  bool Modifier(const std::function<void(TRecords&)>& modifier);

 private:
  // Reads the file; a failure is said the first time only.
  std::optional<TRecords> Relire();

  std::string fichier_;
  std::string fichierOptima_;
  std::optional<std::map<std::string, int32_t>> optima_;
  Dialogues& dialogues_;
  bool illisible_ = false;
};

// What the player is told of a records file that cannot be read.
std::string MessageRecordsIllisibles(const std::string& raison);

// The fingerprint of a board file, or nothing when it cannot be played
// (unreadable, or never validated).
std::optional<std::string> EmpreinteDuFichier(const std::string& chemin);

// The records of the boards of a library (paths relative to
// dossierPlateaux), in their order: each board's record or nullptr. A record
// is looked for first at the path it names, checked by the fingerprint of the
// file there; the other boards are read only when a solved board was not
// found that way (moved or renamed since it was last played).
std::vector<const RecordPlateau*> RecordsDesPlateaux(const TRecords& records, const std::string& dossierPlateaux,
                                                     const std::vector<std::string>& chemins);

// A board file as a path relative to the library (dossierPlateaux ends
// with "/"), or the path itself when it lies elsewhere.
std::string CheminDansBibliotheque(const std::string& dossierPlateaux, const std::string& fichier);

// The board to play after `actuel` (a path relative to the library): the
// next one in the board manager's order that can be played and is not
// already solved at its optimum; nothing when none is left.
std::optional<std::string> PlateauSuivantAJouer(const TRecords& records, const std::string& dossierPlateaux,
                                                std::string_view actuel);

// Today's date, "2026-12-08".
std::string DateDuJour();
// "2026-12-08" as "8 décembre 2026" ("1er" for the first of a month); the
// text itself when it is not such a date.
std::string DateEnLettres(std::string_view iso);

// "83 coups", "1 coup", "0 coup".
std::string TexteCoups(int32_t coups);
// The line under the congratulation: "Résolu en 83 coups — optimum : 81
// coups", "Résolu en 81 coups — optimum atteint !", or without the optimum
// part when it is not known.
std::string TexteResultat(int32_t coups, std::optional<int32_t> optimum);
// "Nouveau record ! (ancien : 85 coups)".
std::string TexteNouveauRecord(int32_t ancienMeilleur);
// The board manager's line: "Votre record : 83 coups (le 8 décembre 2026)"
// or "Pas encore résolu".
std::string TexteRecord(const RecordPlateau* record);
// "12 plateaux résolus sur 27, dont 7 à l'optimum".
std::string TexteProgression(int resolus, int total, int optimaux);

}  // namespace glissaro
