// The game controller as a second keyboard and mouse: it produces the keys, buttons and pointer they do.
#pragma once

#include "core/game.h"

namespace kesmir {

// Reads the pad and adds its inputs to this poll: keys into KeyState (read just before), the play field's
// key and button events, the pointer. In play the left stick walks (W A S D), the right stick aims, the
// right trigger fires, the left trigger calls the bomb run, a shoulder changes the fire mode and Start
// pauses. In the menus the stick and the d-pad step the pointer through the clickable items (up and down
// move the slider of the world scores, left and right step there), A clicks, B is Esc, Start is Enter and
// Back is X; a name is entered letter by letter. A pad pulled out during play pauses the game.
void PollPad(Game& game);

}  // namespace kesmir
