// The one routine that measures direction and distance between two points.
#pragma once

#include <cmath>

#include "core/game.h"

namespace kesmir {

// Leaves the direction from point 1 to point 2 in game.play.Angle (whole degrees 0..359, 0 = +x,
// 90 = +y) and the rounded length in game.play.Distance. Equal points keep the previous Angle.
void GetAngleDistance(Game& game, double x1, double y1, double x2, double y2);

namespace detail {
struct DegreeTable {
  double cosine[361];
  double sine[361];
  DegreeTable();
};
extern const double kStandardDegToRad;
extern const DegreeTable kDegrees;  // filled at start-up with the standard factor
}  // namespace detail

// The cosine and sine of a whole number of degrees, as cos(degrees x DegToRad) gives them; whole degrees
// 0..360 come from a table computed that same way, so the results are identical, only cheaper. Inline: the
// effects ask thousands of times a frame.
inline double CosDeg(const Game& game, int degrees) {
  if (degrees >= 0 && degrees <= 360 && game.app.DegToRad == detail::kStandardDegToRad) {
    return detail::kDegrees.cosine[degrees];
  }
  return std::cos(degrees * game.app.DegToRad);
}
inline double SinDeg(const Game& game, int degrees) {
  if (degrees >= 0 && degrees <= 360 && game.app.DegToRad == detail::kStandardDegToRad) {
    return detail::kDegrees.sine[degrees];
  }
  return std::sin(degrees * game.app.DegToRad);
}

}  // namespace kesmir
