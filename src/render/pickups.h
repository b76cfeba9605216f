// Health and ammunition pick-ups: placing new ones and drawing those that lie on the field.
#pragma once

#include "core/game.h"

namespace kesmir {

// Spawn -1 places a health pick-up 0..14 pixels right of and below (x, y); every call draws them all.
// A request outside 0..290 on either axis does nothing at all, not even the drawing.
void UpdateHealthBoxes(Game& game, Integer spawn, double x, double y);
// As above for ammunition; amount is lowered by one in the caller's variable and the pick-up holds the
// rest, at most 50.
void UpdateAmmoBoxes(Game& game, Integer spawn, double x, double y, Integer& amount);

}  // namespace kesmir
