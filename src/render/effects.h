// The play-field effects that run by themselves: airplane runs, the bomb explosion, snow, the Cleaner.
#pragma once

#include "core/game.h"

namespace kesmir {

// Advances and draws the airplane; a -1 flag requests that run (health, ammunition, bomb, supply).
void UpdateAirPlane(Game& game, Integer healthRun, Integer ammoRun, Integer bombRun, Integer supplyRun);
// Advances a running explosion; spawn -1 starts one at (x, y).
void UpdateExplosion(Game& game, Integer spawn, double x, double y);
void UpdateSnow(Game& game);
// Moves and draws the Cleaner; spawn -1 starts a run.
void UpdateCleaner(Game& game, Integer spawn);

}  // namespace kesmir
