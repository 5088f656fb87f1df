// The web page of a published board, made from the page template: on each
// line the tags "TAG1" to "TAG7" are tried in this order and the first
// occurrence of each is replaced.
#pragma once

#include <string>
#include <vector>

namespace glissaro {

struct ChampsPage {
  std::string titre;   // TAG1
  std::string auteur;  // TAG2 and TAG4 with the e-mail address
  std::string email;
  std::string coups;   // TAG3
  std::string date;    // TAG5, today in the system's short format
  // The board file's name without its extension: TAG6 and TAG7 name the
  // picture and the board file by it (the title when it is empty).
  std::string fichier;
};

// The replacement of each tag, TAG1 first. What was typed or read from the
// board goes into the page as text, never as markup.
std::vector<std::string> ValeursBalises(const ChampsPage& champs);

// One template line with its tags replaced. Everything after a tag is kept.
std::string RemplacerBalises(std::string ligne, const std::vector<std::string>& valeurs);

// The whole page.
std::vector<std::string> RemplirModele(const std::vector<std::string>& modele, const ChampsPage& champs);

// "&", "<", ">", '"' and "'" as HTML entities.
std::string EchapperHtml(const std::string& texte);

// The page's file name, without ".htm": the title reduced to a plain file
// name (no "/" or "\", no control character, no leading dot or blank), or
// the board file's own name when nothing is left of it.
std::string NomDeLaPage(const std::string& titre, const std::string& nomFichier);

}  // namespace glissaro
