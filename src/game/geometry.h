// The one routine that measures direction and distance between two points.
#pragma once

#include <cmath>

#include "core/game.h"

namespace kesmir {

// Leaves the direction from point 1 to point 2 in game.play.Angle (whole degrees 0..359, 0 = +x,
// 90 = +y) and the rounded length in game.play.Distance. Equal points keep the previous Angle.
void GetAngleDistance(Game& game, double x1, double y1, double x2, double y2);

namespace detail {
// Cosines and sines of the whole degrees kLowest..kHighest, each computed as cos(degrees x the standard
// factor): the effects' directions, spread around a shot's, reach below 0 and above 360.
struct DegreeTable {
  static constexpr int kLowest = -360;
  static constexpr int kHighest = 720;
  double cosine[kHighest - kLowest + 1];
  double sine[kHighest - kLowest + 1];
  DegreeTable();
};
extern const double kStandardDegToRad;
extern const DegreeTable kDegrees;  // filled at start-up

inline bool InDegreeTable(const Game& game, int degrees) {
  return degrees >= DegreeTable::kLowest && degrees <= DegreeTable::kHighest &&
         game.app.DegToRad == kStandardDegToRad;
}
}  // namespace detail

// The cosine and sine of a whole number of degrees, as cos(degrees x DegToRad) gives them; with the
// standard factor they come from a table computed that same way, so the results are identical, only
// cheaper. Inline: the effects ask thousands of times a frame.
inline double CosDeg(const Game& game, int degrees) {
  if (detail::InDegreeTable(game, degrees)) return detail::kDegrees.cosine[degrees - detail::DegreeTable::kLowest];
  return std::cos(degrees * game.app.DegToRad);
}
inline double SinDeg(const Game& game, int degrees) {
  if (detail::InDegreeTable(game, degrees)) return detail::kDegrees.sine[degrees - detail::DegreeTable::kLowest];
  return std::sin(degrees * game.app.DegToRad);
}

}  // namespace kesmir
