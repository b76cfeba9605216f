// Direction and distance between two points.
#include "game/geometry.h"

#include <cmath>
#include <numbers>

namespace kesmir {

namespace detail {

const double kStandardDegToRad = std::atan(1.0) * 4.0 / 180.0;

DegreeTable::DegreeTable() {
  for (int a = kLowest; a <= kHighest; ++a) {
    cosine[a - kLowest] = std::cos(a * kStandardDegToRad);
    sine[a - kLowest] = std::sin(a * kStandardDegToRad);
  }
}

const DegreeTable kDegrees;  // made after kStandardDegToRad above: one file, in order

}  // namespace detail

void GetAngleDistance(Game& game, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  PlayState& play = game.play;
  if (dx > 0 && dy == 0) {
    play.Angle = 0;
  } else if (dx == 0 && dy > 0) {
    play.Angle = 90;
  } else if (dx < 0 && dy == 0) {
    play.Angle = 180;
  } else if (dx == 0 && dy < 0) {
    play.Angle = 270;
  } else if (dx != 0 && dy != 0) {
    // The factor is pi x 18, not 180 / pi: within a quadrant the angle runs from 0 to 89. Intended; the
    // aim of every shot and every fighter's facing depend on it.
    const Integer a = CInt(std::fabs(std::atan(dx / dy)) * std::numbers::pi * 18.0);
    if (dx > 0 && dy > 0) play.Angle = static_cast<Integer>(90 - a);
    if (dx < 0 && dy > 0) play.Angle = static_cast<Integer>(90 + a);
    if (dx < 0 && dy < 0) play.Angle = static_cast<Integer>(270 - a);
    if (dx > 0 && dy < 0) play.Angle = static_cast<Integer>(270 + a);
  }
  play.Distance = CInt(std::sqrt(dx * dx + dy * dy));
}

}  // namespace kesmir
