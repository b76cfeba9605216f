// Blood particles: creation and per-frame movement in one emitter.
#pragma once

#include "core/game.h"

namespace kesmir {

// Emits Count particles at (X, Y) in direction Dir with speed Speed (Count 0 moves the particles in flight).
void SprayBlood(Game& game, double x, double y, double count, double dir, double speed);

}  // namespace kesmir
