// The play-field effects that run by themselves: airplane runs, the bomb explosion, snow, the Cleaner.
#pragma once

#include "core/game.h"

namespace kesmir {

// Advances and draws the airplane and the bomb icon; a -1 flag requests that run (health, ammunition, bomb,
// supply). A request while an airplane flies is dropped; a bomb run costs 15 bullets when it starts.
void UpdateAirPlane(Game& game, Integer healthRun, Integer ammoRun, Integer bombRun, Integer supplyRun);
// Spawn -1 starts an explosion with its top-left at (x, y), restarting one that runs; every call advances a
// running explosion one of its 27 frames. Frame 8 stamps the crater and hurts the fighters near it.
void UpdateExplosion(Game& game, Integer spawn, double x, double y);
// Adapts the number of flakes to the spare time and the player's bullet experience, then moves and draws
// them; a flake that reaches its ground height settles into the terrain.
void UpdateSnow(Game& game);
// Moves and draws the Cleaner, restoring the ground under it; spawn -1 starts a run if none is on the field.
// Starts a run by itself at second 59 of the game clock.
void UpdateCleaner(Game& game, Integer spawn);

}  // namespace kesmir
