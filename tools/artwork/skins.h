// The two skins drawn by the generator.  Each function writes its pictures
// below `root`, the top of the source tree.
#pragma once

#include <QString>

namespace art {

// Default skin: embedded panel pictures and strips, built-in replay buttons,
// and the tile picture of the "Glissaro" skin folder.
void writeGlissaroPanel(const QString& root);
void writeGlissaroTiles(const QString& root);
void writeBuiltInReplayButtons(const QString& root);

// Second skin, "Ardoise": a complete skin folder.
void writeArdoiseSkin(const QString& root);

// Program icon in several sizes.
void writeProgramIcons(const QString& root);

// Icons of the game's file types (boards, sequences, packs).
void writeTypeIcons(const QString& root);

}  // namespace art
