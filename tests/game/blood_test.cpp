// Blood particles: creating, the free slots, speed, flight pixels and stains, and the create-only call.
#include "game/blood.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::CountColour;
using testing::PlayGame;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr int kSoundBlood = 3;

int Alive(const Game& game) {
  int n = 0;
  for (Integer life : game.play.BloodLife) n += life > 0 ? 1 : 0;
  return n;
}

TEST(BloodCreate, SixteenParticlesPlayTheBloodSoundAndFifteenDoNot) {
  PlayGame g;
  SprayBlood(*g, 100, 100, 15, 0, 3);
  EXPECT_EQ(g.Starts(kSoundBlood), 0);
  SprayBlood(*g, 100, 100, 16, 0, 3);
  EXPECT_EQ(g.Starts(kSoundBlood), 1);
  EXPECT_EQ(Alive(*g), 31);
}

TEST(BloodCreate, OnlyFreeSlotsAreTakenAndTheRestIsNotCreated) {
  PlayGame g;
  for (std::size_t i = 0; i < 200; ++i) g->play.BloodLife[i] = 100;  // slot 200 is the only free one
  SprayBlood(*g, 50, 60, 40, -2, 3);
  EXPECT_EQ(Alive(*g), 201);
  EXPECT_EQ(g->play.BloodX[200], 50);
  EXPECT_EQ(g->play.BloodY[200], 60);
  EXPECT_EQ(g->play.BloodLife[0], 100) << "create-only: nothing moved";
}

TEST(BloodMove, SpeedThreeMovesOnePixelPerFrameAndSpeedTwoLandsWhereItStarted) {
  PlayGame g;
  SprayBlood(*g, 100, 100, 1, 90, 3);
  // Spread up to 40 either side of 90 degrees: one pixel per frame mostly downwards.
  const double x1 = g->play.BloodX[0];
  const double y1 = g->play.BloodY[0];
  EXPECT_NEAR(std::hypot(x1 - 100.0, y1 - 100.0), 1.0, 1e-3);
  EXPECT_GT(y1, 100.7);
  SprayBlood(*g, 0, 0, 0, 0, 0);
  EXPECT_NEAR(std::hypot(g->play.BloodX[0] - x1, g->play.BloodY[0] - y1), 1.0, 1e-3);

  PlayGame h;
  h->surfaces.Terain.Fill(0);
  SprayBlood(*h, 120, 80, 5, -1, 2);  // 2 \ 3 = 0
  for (int frame = 0; frame < 25; ++frame) SprayBlood(*h, 0, 0, 0, 0, 0);
  EXPECT_EQ(Alive(*h), 0);
  EXPECT_EQ(GetPixel(h->surfaces.Terain, 120, 80), kRed);
  EXPECT_EQ(CountColour(h->surfaces.Terain, kRed), 1);
  EXPECT_EQ(h->effects.Tallies.BloodStains, 5);
}

TEST(BloodMove, FlyingBloodAndStainsFollowTheirOptionsAndNothingLandsOnTheMenuScreensOrWhilePaused) {
  struct Case {
    Integer fly, stays, started, stopped;
    bool flightShown, stained;
  };
  for (const Case c : {Case{kOff, kOn, kTrue, 0, false, true}, Case{kOn, kOff, kTrue, 0, true, false},
                       Case{kOn, kOn, 0, 0, true, false}, Case{kOn, kOn, kTrue, kTrue, true, false}}) {
    PlayGame g;
    g->settings.OptBloodFly = c.fly;
    g->settings.OptBloodStays = c.stays;
    g->app.GameStarted = c.started;
    g->app.GameStopped = c.stopped;
    g->surfaces.Field.Fill(0);
    g->surfaces.Terain.Fill(0);
    SprayBlood(*g, 150, 150, 30, -1, 9);
    EXPECT_EQ(CountColour(g->surfaces.Field, kRed) > 0, c.flightShown) << c.fly;
    for (int frame = 0; frame < 25; ++frame) SprayBlood(*g, 0, 0, 0, 0, 0);
    EXPECT_EQ(Alive(*g), 0);
    EXPECT_EQ(CountColour(g->surfaces.Terain, kRed) > 0, c.stained) << c.stays << c.started << c.stopped;
  }
}

TEST(BloodMove, CreateOnlyCallsMoveNothingAndEveryOtherCallMovesEveryParticle) {
  PlayGame g;
  SprayBlood(*g, 100, 100, 3, -2, 6);
  EXPECT_EQ(g->play.BloodX[0], 100);
  EXPECT_EQ(g->play.BloodY[0], 100);
  const Integer life = g->play.BloodLife[0];
  SprayBlood(*g, 0, 0, 0, -2, 0);  // does nothing at all
  EXPECT_EQ(g->play.BloodLife[0], life);
  SprayBlood(*g, 10, 10, 1, 45, 3);  // creating elsewhere moves these too
  EXPECT_EQ(g->play.BloodLife[0], life - 1);
  EXPECT_NEAR(std::hypot(g->play.BloodX[0] - 100.0, g->play.BloodY[0] - 100.0), 2.0, 1e-3);
}

TEST(BloodCreate, OddArgumentsStayWithinTheTable) {
  PlayGame g;
  SprayBlood(*g, 1e12, -1e12, 1e9, 1e6, 1e9);
  SprayBlood(*g, std::nan(""), 0, std::nan(""), std::nan(""), 3);
  for (int frame = 0; frame < 25; ++frame) SprayBlood(*g, 0, 0, 0, 0, 0);
  EXPECT_EQ(Alive(*g), 0);
}

}  // namespace
}  // namespace kesmir
