// The one routine that measures direction and distance between two points.
#pragma once

#include "core/game.h"

namespace kesmir {

// Leaves the direction from point 1 to point 2 in game.play.Angle (whole degrees 0..359, 0 = +x,
// 90 = +y) and the rounded length in game.play.Distance. Equal points keep the previous Angle.
void GetAngleDistance(Game& game, double x1, double y1, double x2, double y2);

}  // namespace kesmir
