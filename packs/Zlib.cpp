#include "Zlib.h"

#include <dlfcn.h>

namespace glissaro {

namespace {
template <class F>
void Symbole(void* bibliotheque, const char* nom, F& f) {
  f = reinterpret_cast<F>(dlsym(bibliotheque, nom));
}
}  // namespace

Zlib::Zlib() : bibliotheque_(dlopen("libz.so.1", RTLD_NOW | RTLD_LOCAL)) {
  if (!bibliotheque_) return;
  Symbole(bibliotheque_, "compressBound", borne_);
  Symbole(bibliotheque_, "compress2", compresser_);
  Symbole(bibliotheque_, "inflateInit_", debut_);
  Symbole(bibliotheque_, "inflate", inflater_);
  if (borne_ && compresser_ && debut_ && inflater_) Symbole(bibliotheque_, "inflateEnd", fin_);
}

Zlib::~Zlib() {
  if (bibliotheque_) dlclose(bibliotheque_);
}

int Zlib::Inflater(const Bytef* source, uInt taille, Bytef* sortie, uInt place, uInt* produits) const {
  *produits = 0;
  z_stream z{};
  const int debut = debut_(&z, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
  if (debut != Z_OK) return debut;
  z.next_in = const_cast<Bytef*>(source);
  z.avail_in = taille;
  z.next_out = sortie;
  z.avail_out = place;
  const int r = inflater_(&z, Z_NO_FLUSH);
  *produits = place - z.avail_out;
  fin_(&z);
  return r;
}

}  // namespace glissaro
