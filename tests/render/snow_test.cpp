// Snow: the amount rule, where flakes enter and how they move, settling colours, and the table's last slot.
#include <gtest/gtest.h>

#include "render/effects.h"
#include "fakes/play_fixture.h"
#include "fakes/reference_picture.h"

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
  bool lastSlotUsed = false;
  for (int frame = 0; frame < 400; ++frame) {
    const Integer before = g->effects.SnowAmount;
    UpdateSnow(*g);
    const Integer a = g->effects.SnowAmount;
    if (before >= 1000) {
      ASSERT_EQ(a, before - 20);
    }
    ASSERT_LE(a, 1000 + 16 + 2);
    passed = passed || a > 1000;
    lastSlotUsed = lastSlotUsed || g->effects.SnowFlakes[1000].Active == kTrue;
  }
  EXPECT_TRUE(passed) << "the rule can carry the amount past 1000";
  EXPECT_TRUE(lastSlotUsed);
  int active = 0;
  for (const SnowFlake& flake : g->effects.SnowFlakes) active += flake.Active == kTrue ? 1 : 0;
  EXPECT_GT(active, 200);
}

// Sixty frames of 300 flakes: half enter from the top and half from the left, 15 pixels out, and drift down
// and right at 2 to 6 pixels a frame, white in the air; each settles into the ground at a height of its own,
// lighter the slower it fell: speed 2 light grey, 3 white, 4 and 5 grey, 6 mid-grey.
TEST(SnowFlakes, EnterFromTheTopAndTheLeftDriftDownAndRightAndSettleInTheColourOfTheirSpeed) {
  SnowGame g;
  g->effects.SnowAmount = 300;
  for (int frame = 0; frame < 60; ++frame) UpdateSnow(*g);
  EXPECT_EQ(testing::CompareWithReference("render/reference/snow_sixty_frames",
                                          {g->surfaces.Field.View(), g->surfaces.Terain.View()}),
            "");
}

}  // namespace
}  // namespace kesmir
