// Blood particles: creation and per-frame movement in one emitter.
#pragma once

#include "core/game.h"

namespace kesmir {

// Creates up to `count` particles at (x, y) flying along `dir` (degrees, spread at random by up to 80; any
// negative dir gives each particle a random direction) at speed \ 3 pixels per frame, then moves every
// particle one step: drawn on Field while it flies, left on Terain when it lands during a game. Dir -2
// creates only and moves nothing. Count 0 only moves.
void SprayBlood(Game& game, double x, double y, double count, double dir, double speed);

}  // namespace kesmir
