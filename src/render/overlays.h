// The overlays drawn over the play field: the fire-mode indicator, the score information, the debug line.
#pragma once

#include "core/game.h"

namespace kesmir {

// The bullets of the fire mode (4, 8 or 11 columns of BulletsOut) at y 282, left of the bomb and acid icons;
// hidden while the player stands in the bottom-right corner.
void DrawFireMode(Game& game);

// For 241 frames after each death (ScoreInfoOn), unless the option hides it or the player stands at y 260 or
// below: the score with its bonus and the best place it is above, with the score of the row above that place.
// Then, unless the option hides it or the player stands at y 20 or above: the debug line with the volume, the
// snow, the frame rate and the spare time.
void DrawOverlays(Game& game);

}  // namespace kesmir
