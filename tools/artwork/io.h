// Writing the pictures and text files into the source tree.
#pragma once

#include <QImage>
#include <QString>

namespace art {

// Creates the folder of `path` when needed, then writes; exits on failure.
void saveBmp24(const QImage& img, const QString& path);
void saveBmpIndexed(const QImage& indexed, const QString& path);
void saveMonoMask(const QImage& mono, const QString& path);
void savePng(const QImage& img, const QString& path);

// Writes a text file in the Windows single-byte code page with CR LF line
// ends; `text` uses '\n' line ends.
void saveWindowsText(const QString& text, const QString& path);

}  // namespace art
