// Snow: the amount rule, where flakes enter and how they move, settling colours, and the table's last slot.
#include <gtest/gtest.h>

#include "render/effects.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::CountColour;
using testing::PlayGame;

constexpr Long kIdle = 60000;  // plenty of spare time per pass

struct SnowGame : PlayGame {
  SnowGame() {
    Game& g = *game;
    g.clock.MaxSpin = kIdle;
    g.play.Fighters[0].BulletXp = 50;
  }
};

TEST(SnowAmount, ABusyMachineThinsTheSnowOneSlotPerFrameDownToNone) {
  SnowGame g;
  g->effects.SnowAmount = 30;
  g->clock.MaxSpin = 10000;
  for (int frame = 1; frame <= 30; ++frame) {
    UpdateSnow(*g);
    ASSERT_EQ(g->effects.SnowAmount, 30 - frame);
  }
  g->surfaces.Field.Fill(0);
  for (int frame = 0; frame < 10; ++frame) UpdateSnow(*g);
  EXPECT_EQ(g->effects.SnowAmount, 0);
  EXPECT_EQ(CountColour(g->surfaces.Field, Rgb(255, 255, 255)), 0) << "no flake is drawn at amount 0";
}

TEST(SnowAmount, FollowsTheBulletExperienceWhenTheMachineHasTimeToSpare) {
  SnowGame low;  // below 30: the snow never starts
  low->play.Fighters[0].BulletXp = 29;
  for (int frame = 0; frame < 200; ++frame) UpdateSnow(*low);
  EXPECT_EQ(low->effects.SnowAmount, 0);

  SnowGame mid;  // 30..74: grows about half a slot per frame up to 40, then drifts
  for (int frame = 0; frame < 200; ++frame) UpdateSnow(*mid);
  EXPECT_GE(mid->effects.SnowAmount, 30);
  EXPECT_LE(mid->effects.SnowAmount, 400);

  SnowGame high;  // above 74: grows by about two slots per frame
  high->play.Fighters[0].BulletXp = 75;
  for (int frame = 0; frame < 200; ++frame) UpdateSnow(*high);
  EXPECT_GE(high->effects.SnowAmount, 250);
}

TEST(SnowAmount, PassesTheLastSlotOnlyForAFrameAndNeverUsesSlotsBeyondIt) {
  SnowGame g;
  g->play.Fighters[0].BulletXp = 100;
  g->effects.SnowAmount = 990;
  bool passed = false;
  for (int frame = 0; frame < 400; ++frame) {
    const Integer before = g->effects.SnowAmount;
    UpdateSnow(*g);
    const Integer a = g->effects.SnowAmount;
    if (before >= 1000) {
      ASSERT_EQ(a, before - 20);
    }
    ASSERT_LE(a, 1000 + 16 + 2);
    passed = passed || a > 1000;
  }
  EXPECT_TRUE(passed) << "the rule can carry the amount past 1000";
  int active = 0;
  for (const SnowFlake& flake : g->effects.SnowFlakes) active += flake.Active == kTrue ? 1 : 0;
  EXPECT_GT(active, 200);
}

TEST(SnowFlakes, AFlakeFromTheLeftStartsAtMinusFifteenAndDriftsRightAndDown) {
  SnowGame g;
  g->effects.SnowAmount = 300;
  UpdateSnow(*g);
  int fromLeft = 0, fromTop = 0;
  for (int i = 0; i <= g->effects.SnowAmount && i < kSnowSlots; ++i) {
    const SnowFlake& f = g->effects.SnowFlakes[static_cast<std::size_t>(i)];
    EXPECT_GE(f.Speed, 2);
    EXPECT_LE(f.Speed, 6);
    EXPECT_GE(f.GroundY, 0);
    EXPECT_LE(f.GroundY, 299);
    if (f.X < -8) {  // entered from the left one step ago
      ++fromLeft;
      EXPECT_GE(f.Angle, 16);
      EXPECT_LE(f.Angle, 73);
      EXPECT_GT(f.X, -15);
      EXPECT_GE(f.Y, 0);
    } else if (f.Y < -8) {  // from the top
      ++fromTop;
      EXPECT_GE(f.Angle, 26);
      EXPECT_LE(f.Angle, 93);
      EXPECT_GE(f.X, -1);
    }
  }
  // Half start from each edge; a flake from the left whose ground lies above it settles at once.
  EXPECT_GT(fromLeft, 30);
  EXPECT_GT(fromTop, 100);
}

TEST(SnowFlakes, SettleIntoTheTerrainInTheColourOfTheirSpeed) {
  const std::pair<Integer, Colour> cases[] = {{2, Rgb(224, 224, 224)}, {3, Rgb(255, 255, 255)},
                                              {4, Rgb(192, 192, 192)}, {5, Rgb(192, 192, 192)},
                                              {6, Rgb(128, 128, 128)}};
  for (const auto& [speed, colour] : cases) {
    SnowGame g;
    g->effects.SnowAmount = 1;  // grows to 1 or 2: slots 0 and 1 move
    g->surfaces.Terain.Fill(0);
    SnowFlake& flake = g->effects.SnowFlakes[0];
    flake = SnowFlake{kTrue, 50, 99, 90, speed, 100};
    g->effects.SnowFlakes[1] = SnowFlake{kTrue, 350, 20, 90, 2, 299};  // beyond the right edge: freed
    UpdateSnow(*g);
    // Straight down, wobbling up to 4 degrees: the dot lies under the flake's start.
    EXPECT_EQ(flake.Active, 0);
    EXPECT_EQ(GetPixel(g->surfaces.Terain, CLng(flake.X), CLng(flake.Y)), colour) << speed;
    EXPECT_NEAR(flake.X, 50, 1);
    EXPECT_EQ(g->effects.SnowFlakes[1].Active, 0);
    EXPECT_EQ(g->effects.Tallies.FlakesSettled, 1);
  }
}

}  // namespace
}  // namespace kesmir
