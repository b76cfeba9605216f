// The fighter pass: the player's control, then every fighter walks, decides, fires, picks up and is drawn.
#pragma once

#include "core/game.h"

namespace kesmir {

// Turns one frame's input into the player's bomb, fire mode, shots and steps.
void ControlPlayer(Game& game);
// The fighter pass of a frame.
void UpdateFighters(Game& game);

}  // namespace kesmir
