// Loading and releasing the picture set.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// Measures memory, puts a random base map into Terain and the status-bar background into StatusField, then
// loads every picture of the table with one progress step per picture from the loading strip onwards.
void LoadGraphics(Game& game);
// Deletes every picture surface.
void ReleaseGraphics(Game& game);
// Loads one picture file into a surface; a missing or broken file leaves the surface empty and is said on
// standard error.
bool LoadPictureFile(Game& game, const std::filesystem::path& path, Surface& into);
// Puts the generated play map number n (1..4, from the user folder) into Terain; a missing map keeps the
// terrain as it is.
void LoadTerrainMap(Game& game, int n);

}  // namespace kesmir
