// The pointer: its position on the play field, the player's facing, confinement during play.
#pragma once

#include "core/game.h"

namespace kesmir {

// Reads the pointer into CursorX, CursorY (relative to Field) and turns the player to face it.
void ReadMousePos(Game& game);
// True confines the pointer to the play field; false frees it.
void ClipMouse(Game& game, bool confine);

}  // namespace kesmir
