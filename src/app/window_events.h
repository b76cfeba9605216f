// The yield to the window system and the refresh of the visible surfaces.
#pragma once

#include "core/game.h"

namespace kesmir {

// Processes pending window events: key and mouse events of the play field, characters typed into the name
// entry, the window's loss of focus and its close.
void DoEvents(Game& game);

// Shows Field and StatusField in the window.
void RefreshScreen(Game& game);

}  // namespace kesmir
