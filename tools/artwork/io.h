// Writing the pictures and text files into the source tree.
#pragma once

#include <QImage>
#include <QString>

namespace art {

// Every skin picture is written at its design size and, for high-density
// screens, drawn again at twice that size.
inline constexpr int kScales[] = {1, 2};

// The file of a picture drawn at `scale`: "NAME@2x.EXT" beside "NAME.EXT".
QString atScale(const QString& path, int scale);

// Creates the folder of `path` when needed, then writes; exits on failure.
void saveBmp24(const QImage& img, const QString& path);
void saveBmpIndexed(const QImage& indexed, const QString& path);
void saveMonoMask(const QImage& mono, const QString& path);
void savePng(const QImage& img, const QString& path);

// Writes a text file in UTF-8 as it is (line ends included).
void saveUtf8(const QString& text, const QString& path);

// Writes a text file in the Windows single-byte code page with CR LF line
// ends; `text` uses '\n' line ends.
void saveWindowsText(const QString& text, const QString& path);

}  // namespace art
