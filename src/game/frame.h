// The frame driver: one frame of play.
#pragma once

#include "core/game.h"

namespace kesmir {

// Reads the input, rebuilds the play field and runs every step of the simulation in its fixed order.
void RunFrame(Game& game);

}  // namespace kesmir
