// The start of a game.
#pragma once

#include "core/game.h"

namespace kesmir {

// Resets the play field, sets up the player, picks the terrain and starts the in-game ambience.
void NewGame(Game& game);

}  // namespace kesmir
