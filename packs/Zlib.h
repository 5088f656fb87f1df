// zlib, taken from the system when a pack is written or read rather than
// at every start of the program: glissaro-outils solves and checks boards
// far more often than it touches a pack, and one more library to load
// costs each start about as much as solving a small board (0.15 ms).
#pragma once

#include <zlib.h>

namespace glissaro {

class Zlib {
 public:
  // Loads the library (only counted again when it is already there).
  Zlib();
  ~Zlib();
  Zlib(const Zlib&) = delete;
  Zlib& operator=(const Zlib&) = delete;

  // Whether the library and all it is asked for were found.
  bool Disponible() const { return fin_ != nullptr; }

  uLong BorneCompression(uLong taille) const { return borne_(taille); }
  int Compresser(Bytef* dest, uLongf* tailleDest, const Bytef* source, uLong taille, int niveau) const {
    return compresser_(dest, tailleDest, source, taille, niveau);
  }
  // One stream in one call: Z_OK, Z_STREAM_END or Z_BUF_ERROR as the
  // output was filled, below zero for damaged data. *produits: the bytes
  // made, those before an error included.
  int Inflater(const Bytef* source, uInt taille, Bytef* sortie, uInt place, uInt* produits) const;

 private:
  void* bibliotheque_ = nullptr;
  decltype(&::compressBound) borne_ = nullptr;
  decltype(&::compress2) compresser_ = nullptr;
  decltype(&::inflateInit_) debut_ = nullptr;
  decltype(&::inflate) inflater_ = nullptr;
  decltype(&::inflateEnd) fin_ = nullptr;
};

}  // namespace glissaro
