// Shots: firing and their flight, hits and marks.
#pragma once

#include "core/game.h"

namespace kesmir {

// Puts a shot of the fighter into the first free slot (none when all 201 are in flight).
void FireShot(Game& game, int shooter);
// Moves every shot in flight pixel by pixel, tests it against the fighters and the Cleaner, and draws it.
void MoveBullets(Game& game);

}  // namespace kesmir
