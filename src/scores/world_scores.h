// The world score list's screen.
#pragma once

#include "core/game.h"

namespace kesmir {

void WorldScoresScreen(Game& game);

}  // namespace kesmir
