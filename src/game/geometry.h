// The one routine that measures direction and distance between two points.
#pragma once

#include "core/game.h"

namespace kesmir {

// Leaves the direction from point 1 to point 2 in game.play.Angle (whole degrees 0..359, 0 = +x,
// 90 = +y) and the rounded length in game.play.Distance. Equal points keep the previous Angle.
void GetAngleDistance(Game& game, double x1, double y1, double x2, double y2);

// The cosine and sine of a whole number of degrees, as cos(degrees x DegToRad) gives them; whole degrees
// 0..360 come from a table computed that same way, so the results are identical, only cheaper.
double CosDeg(const Game& game, int degrees);
double SinDeg(const Game& game, int degrees);

}  // namespace kesmir
