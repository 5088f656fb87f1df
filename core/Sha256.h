// SHA-256 (FIPS 180-4), for the manifests of shipped files: what the
// player changed is told from what was shipped by their checksums, as
// sha256sum writes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace glissaro {

class Sha256 {
 public:
  Sha256();
  void Ajouter(std::string_view octets);
  // The 64 lower-case hexadecimal digits; the object is spent after it.
  std::string Hexadecimal();

 private:
  void Bloc(const unsigned char* bloc);

  std::array<uint32_t, 8> etat_;
  std::array<unsigned char, 64> tampon_{};
  std::size_t remplissage_ = 0;
  uint64_t longueur_ = 0;
};

// The checksum of some bytes, and of a file read in pieces (nothing when it
// cannot be read).
std::string Sha256De(std::string_view octets);
std::string Sha256DuFichier(const std::string& chemin, bool* lu = nullptr);

}  // namespace glissaro
