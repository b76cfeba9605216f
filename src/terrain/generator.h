// The terrain generator: the four play maps derived once from the shipped base maps.
#pragma once

#include "core/game.h"

namespace kesmir {

// Generates Map01.bmp..Map04.bmp unless the options say they exist, then records that they do.
void GenerateMaps(Game& game);

}  // namespace kesmir
