// The terrain generator: the four play maps derived once from the shipped base maps.
#pragma once

#include "core/game.h"

namespace kesmir {

// Unless the options say the maps exist, filters each shipped base map Pictures/Map0N.jpg (diffuse, blur,
// diffuse, enlarge by 4 pixels) into the user folder's Pictures/Map0N.bmp, announcing every step over the
// main logo, then records MapsGenerated = 1 in the options file. Terain is left holding the last base map.
// A missing base map or a failed write abandons it, said once on standard error; the next start tries again.
void GenerateMaps(Game& game);

}  // namespace kesmir
