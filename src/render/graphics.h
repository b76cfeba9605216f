// Loading and releasing the picture set.
#pragma once

#include <string_view>

#include "core/game.h"

namespace kesmir {

// Measures memory, puts a random base map into Terain and the status-bar background into StatusField, then
// loads every picture of the table with one progress step per picture from the loading strip onwards.
void LoadGraphics(Game& game);
// Deletes every picture surface.
void ReleaseGraphics(Game& game);
// Loads one picture file of the data folder's Pictures/ into a surface; a missing or broken file leaves the
// surface empty and is said once on standard error.
bool LoadPictureFile(Game& game, std::string_view file, Surface& into);

}  // namespace kesmir
