#include "Jpeg.h"

#include <cstdio>
#include <csetjmp>
#include <cstdlib>

#include <jpeglib.h>

namespace glissaro {

namespace {

struct GestionErreur {
  jpeg_error_mgr base;
  std::jmp_buf retour;
  char message[JMSG_LENGTH_MAX];
};

void SurErreur(j_common_ptr info) {
  auto* gestion = reinterpret_cast<GestionErreur*>(info->err);
  (*info->err->format_message)(info, gestion->message);
  std::longjmp(gestion->retour, 1);
}

}  // namespace

std::string EncoderJpeg(const QImage& image, int qualite, std::string* erreur) {
  if (image.isNull()) {
    if (erreur) *erreur = "image vide";
    return {};
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  GestionErreur gestion{};
  info.err = jpeg_std_error(&gestion.base);
  gestion.base.error_exit = SurErreur;
  unsigned char* tampon = nullptr;
  unsigned long taille = 0;
  if (setjmp(gestion.retour)) {
    jpeg_destroy_compress(&info);
    std::free(tampon);
    if (erreur) *erreur = gestion.message;
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &tampon, &taille);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, qualite, TRUE);  // baseline tables, not progressive
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW ligne = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &ligne, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string octets(reinterpret_cast<const char*>(tampon), taille);
  std::free(tampon);
  return octets;
}

}  // namespace glissaro
