// A small reader and writer of initialisation files ("INI": sections in
// square brackets, key=value lines), used by the settings file and by the
// skin descriptions.
//
// Files are Windows-1252 on disk; names and values are UTF-8 here. Section
// and key names are matched without regard to case; values are trimmed of
// blanks at both ends and cut to 2047 characters; when a key appears twice
// in a section the first one wins. Writing keeps every other section, key,
// comment and line of the file as it was, and ends lines with CR LF.
//
// A description is kept as its text with the place of each line that is
// not blank: a file of a million blank lines costs its own size, not a
// million strings.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Fichiers.h"

namespace glissaro {

class FichierIni {
 public:
  static constexpr std::size_t kLongueurMaxValeur = 2047;

  FichierIni() = default;

  // Reads a file of at most tailleMax bytes. A missing file gives an empty
  // description; a file that cannot be read (too large, not a regular
  // file...) too, and its message goes into *message when given.
  static FichierIni Charger(const std::string& chemin, std::string* message = nullptr,
                            std::size_t tailleMax = kTailleMaxTexte);
  // Reads Windows-1252 text already in memory (embedded descriptions).
  static FichierIni DepuisTexte(std::string_view octetsCp1252);

  // The value of a key, trimmed and cut to 2047 characters, or nothing when
  // the section or the key is missing.
  std::optional<std::string> Lire(std::string_view section, std::string_view cle) const;
  std::string LireTexte(std::string_view section, std::string_view cle, std::string_view defaut) const;

  // An integer value: a value longer than two characters that starts with
  // "0x" or "0X" is hexadecimal; otherwise an optional sign and decimal
  // digits, or "$" and hexadecimal digits. Anything else, "-0x14" among
  // them, gives the default.
  int32_t LireEntier(std::string_view section, std::string_view cle, int32_t defaut) const;

  bool SectionExiste(std::string_view section) const;

  // Every key of the file in order, with its section: each key once per
  // section (the first wins), the first section of a name only, values as
  // Lire gives them.
  void Parcourir(const std::function<void(const std::string& section, const std::string& cle,
                                          const std::string& valeur)>& visiteur) const;

  // Sets a key: the first key of that name in the section gets the value; a
  // missing key is added at the end of its section, a missing section at the
  // end of the file.
  void Ecrire(std::string_view section, std::string_view cle, std::string_view valeur);
  void EcrireEntier(std::string_view section, std::string_view cle, int32_t valeur);

  // The whole file as Windows-1252 text with CR LF line ends.
  std::string Texte() const;

  // Writes the file safely (temporary file then rename): on failure the old
  // file is untouched and the message names the full path.
  ResultatEcriture Enregistrer(const std::string& chemin) const;

 private:
  // A line of texte_ that is not blank, without its line end.
  struct Ligne {
    uint32_t debut = 0;
    uint32_t longueur = 0;
  };
  std::string_view Contenu(Ligne ligne) const { return std::string_view(texte_).substr(ligne.debut, ligne.longueur); }
  void Indexer();
  // Replaces the characters [debut, fin) of the text and indexes it again.
  void Remplacer(std::size_t debut, std::size_t fin, std::string_view par);

  std::string texte_;          // UTF-8, line ends as in the file
  std::vector<Ligne> lignes_;  // the lines that are not blank, in order
};

}  // namespace glissaro
