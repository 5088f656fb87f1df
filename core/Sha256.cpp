#include "Sha256.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace glissaro {

namespace {

constexpr std::array<uint32_t, 64> kK = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t Rotation(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

Sha256::Sha256()
    : etat_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Bloc(const unsigned char* bloc) {
  std::array<uint32_t, 64> w{};
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t{bloc[4 * i]} << 24 | uint32_t{bloc[4 * i + 1]} << 16 | uint32_t{bloc[4 * i + 2]} << 8 | bloc[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    const uint32_t s0 = Rotation(w[i - 15], 7) ^ Rotation(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = Rotation(w[i - 2], 17) ^ Rotation(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = etat_;
  for (int i = 0; i < 64; ++i) {
    const uint32_t t1 = h + (Rotation(e, 6) ^ Rotation(e, 11) ^ Rotation(e, 25)) + ((e & f) ^ (~e & g)) + kK[i] + w[i];
    const uint32_t t2 = (Rotation(a, 2) ^ Rotation(a, 13) ^ Rotation(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::array<uint32_t, 8> fin{a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i) etat_[i] += fin[i];
}

void Sha256::Ajouter(std::string_view octets) {
  longueur_ += octets.size();
  const auto* p = reinterpret_cast<const unsigned char*>(octets.data());
  std::size_t reste = octets.size();
  if (remplissage_ > 0) {
    const std::size_t pris = std::min(reste, tampon_.size() - remplissage_);
    std::memcpy(tampon_.data() + remplissage_, p, pris);
    remplissage_ += pris;
    p += pris;
    reste -= pris;
    if (remplissage_ < tampon_.size()) return;
    Bloc(tampon_.data());
    remplissage_ = 0;
  }
  for (; reste >= tampon_.size(); p += tampon_.size(), reste -= tampon_.size()) Bloc(p);
  std::memcpy(tampon_.data(), p, reste);
  remplissage_ = reste;
}

std::string Sha256::Hexadecimal() {
  const uint64_t bits = longueur_ * 8;
  Ajouter(std::string_view("\x80", 1));
  while (remplissage_ != 56) Ajouter(std::string_view("\0", 1));
  for (int i = 7; i >= 0; --i) {
    const char octet = static_cast<char>(bits >> (8 * i) & 0xFF);
    Ajouter(std::string_view(&octet, 1));
  }
  std::string texte;
  char chiffres[9];
  for (const uint32_t mot : etat_) {
    std::snprintf(chiffres, sizeof chiffres, "%08x", mot);
    texte += chiffres;
  }
  return texte;
}

std::string Sha256De(std::string_view octets) {
  Sha256 s;
  s.Ajouter(octets);
  return s.Hexadecimal();
}

std::string Sha256DuFichier(const std::string& chemin, bool* lu) {
  std::ifstream fichier(chemin, std::ios::binary);
  if (lu) *lu = static_cast<bool>(fichier);
  if (!fichier) return {};
  Sha256 s;
  char morceau[65536];
  while (fichier.read(morceau, sizeof morceau) || fichier.gcount() > 0)
    s.Ajouter(std::string_view(morceau, static_cast<std::size_t>(fichier.gcount())));
  if (lu) *lu = !fichier.bad();
  return s.Hexadecimal();
}

}  // namespace glissaro
