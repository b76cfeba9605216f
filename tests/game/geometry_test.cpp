// The shared angle and distance routine.
#include "game/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

struct Case {
  double x1, y1, x2, y2;
  int angle, distance;
};

TEST(GetAngleDistance, AxesQuadrantsAndTheShortenedFactor) {
  testing::FakeGame g;
  for (const Case c : {Case{0, 0, 10, 0, 0, 10}, Case{0, 0, 0, 10, 90, 10}, Case{0, 0, -10, 0, 180, 10},
                       Case{0, 0, 0, -10, 270, 10}, Case{0, 0, 10, 10, 46, 14}, Case{0, 0, -10, 10, 134, 14},
                       Case{0, 0, -10, -10, 226, 14}, Case{0, 0, 10, -10, 314, 14}, Case{0, 0, 1, 0, 0, 1},
                       Case{0, 0, 1, 1000, 90, 1000}, Case{0, 0, 1000, 1, 1, 1000},
                       Case{0, 0, 1000, -1, 359, 1000}, Case{150, 150, 153.5, 150, 0, 4},
                       Case{0, 0, 2.5, 0, 0, 2}}) {
    GetAngleDistance(*g, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(g->play.Angle, c.angle) << c.x2 << "," << c.y2;
    EXPECT_EQ(g->play.Distance, c.distance) << c.x2 << "," << c.y2;
  }
}

TEST(GetAngleDistance, EqualPointsKeepTheAngleAndGiveDistanceZero) {
  testing::FakeGame g;
  GetAngleDistance(*g, 0, 0, -5, 5);
  GetAngleDistance(*g, 7, 7, 7, 7);
  EXPECT_EQ(g->play.Angle, 134);
  EXPECT_EQ(g->play.Distance, 0);
}

}  // namespace
}  // namespace kesmir

namespace kesmir {
namespace {

TEST(DegreeTable, GivesExactlyWhatTheCosineOfTheRadiansGives) {
  testing::FakeGame g;
  g->app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
  for (int a = -720; a <= 720; ++a) {
    ASSERT_EQ(CosDeg(*g, a), std::cos(a * g->app.DegToRad)) << a;
    ASSERT_EQ(SinDeg(*g, a), std::sin(a * g->app.DegToRad)) << a;
  }
  g->app.DegToRad = 0;  // before start-up sets it, every angle is zero radians
  EXPECT_EQ(CosDeg(*g, 90), 1.0);
}

}  // namespace
}  // namespace kesmir
