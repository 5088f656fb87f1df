// JPEG pictures written with libjpeg: 24-bit RGB input, the library's
// default settings with quality 90, baseline.
#pragma once

#include <QImage>

#include <string>

namespace glissaro {

// The JPEG bytes of a picture; empty on failure, with libjpeg's message in
// *erreur when given.
std::string EncoderJpeg(const QImage& image, int qualite = 90, std::string* erreur = nullptr);

}  // namespace glissaro
