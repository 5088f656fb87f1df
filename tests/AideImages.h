// Hostile pictures for the tests of the bounded picture reader, and the
// peak memory they must not raise.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <string>

namespace glissaro::test {

// A bitmap of about sixty bytes that announces largeur × hauteur pixels:
// 8 bits a pixel, RLE compressed, its only data the end-of-picture code.
inline std::string BmpAnnoncant(int largeur, int hauteur) {
  auto mot = [](std::string& s, uint32_t v, int octets) {
    for (int i = 0; i < octets; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  };
  const std::string donnees("\x00\x01", 2);
  const uint32_t debut = 14 + 40 + 4;  // headers and a one-colour palette
  std::string s = "BM";
  mot(s, debut + static_cast<uint32_t>(donnees.size()), 4);
  mot(s, 0, 4);
  mot(s, debut, 4);
  mot(s, 40, 4);
  mot(s, static_cast<uint32_t>(largeur), 4);
  mot(s, static_cast<uint32_t>(hauteur), 4);
  mot(s, 1, 2);  // planes
  mot(s, 8, 2);  // bits a pixel
  mot(s, 1, 4);  // RLE8
  mot(s, static_cast<uint32_t>(donnees.size()), 4);
  mot(s, 2835, 4);
  mot(s, 2835, 4);
  mot(s, 1, 4);  // colours used
  mot(s, 0, 4);
  mot(s, 0x00808080, 4);
  return s + donnees;
}

// The most memory the process has held so far, in MiB.
inline long PicMemoireMio() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace glissaro::test
