// The web page of a published board, made from the page template: on each
// line the tags "TAG1" to "TAG7" are tried in this order and the first
// occurrence of each is replaced.
#pragma once

#include <string>
#include <vector>

namespace glissaro {

struct ChampsPage {
  std::string titre;   // TAG1, and TAG6 / TAG7 with ".jpg" / ".wbp"
  std::string auteur;  // TAG2 and TAG4 with the e-mail address
  std::string email;
  std::string coups;   // TAG3
  std::string date;    // TAG5, today in the system's short format
};

// The replacement of each tag, TAG1 first.
std::vector<std::string> ValeursBalises(const ChampsPage& champs);

// One template line with its tags replaced. Everything after a tag is kept.
std::string RemplacerBalises(std::string ligne, const std::vector<std::string>& valeurs);

// The whole page.
std::vector<std::string> RemplirModele(const std::vector<std::string>& modele, const ChampsPage& champs);

}  // namespace glissaro
