// The fighter pass: melee, pick-ups, decisions, firing, the field's edge, drawing.
#include "game/fighters.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "input/keyboard.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;
using testing::SolidImage;

TEST(Fighters, MeleeHurtsTheOpponentThreeTimesAsMuchAndTakesItsBullets) {
  PlayFixture f;
  Fighter& enemy = f.Opponent(1, 152, 140);  // 12 pixels from the player
  enemy.Ammo = 7;
  UpdateFighters(f.game);
  EXPECT_NEAR(f.player.Health, 100 - 0.1, 1e-4);
  EXPECT_NEAR(enemy.Health, 20 - 0.3, 1e-4);
  EXPECT_EQ(f.player.MeleeXp, 1);
  EXPECT_EQ(enemy.Ammo, 0);
  EXPECT_EQ(f.player.Ammo, 27);
  enemy.Ammo = 500;  // the player's bullets are cut to 30 x (16 - Recharge)
  UpdateFighters(f.game);
  EXPECT_EQ(f.player.Ammo, 30);
}

TEST(Fighters, AnAmmunitionPickUpAboveTheCapKeepsTheSurplus) {
  PlayFixture f;
  f.p.AmmoBoxOn[0] = kTrue;
  f.p.AmmoBoxX[0] = 150 - 4;
  f.p.AmmoBoxY[0] = 150 - 3;
  f.p.AmmoBoxAmount[0] = 10;
  UpdateFighters(f.game);
  EXPECT_EQ(f.player.Ammo, 15);
  EXPECT_EQ(f.p.AmmoBoxAmount[0], 15);
  EXPECT_EQ(f.p.AmmoBoxOn[0], kTrue);
  ASSERT_FALSE(f.g.fonts.calls.empty());
  EXPECT_EQ(f.g.fonts.calls.back().text, "15   ");
  EXPECT_EQ(f.g.fonts.calls.back().size, 7);
  EXPECT_EQ(f.game.surfaces.Field.fontSize, 8);

  f.player.Ammo = 0;  // room for all of it: the pick-up is gone
  UpdateFighters(f.game);
  EXPECT_EQ(f.player.Ammo, 15);
  EXPECT_EQ(f.p.AmmoBoxOn[0], 0);
  EXPECT_EQ(f.Played(5), 1);
}

TEST(Fighters, AHealthPickUpIsTakenAtNinePixelsNotAtTen) {
  for (const auto& [offset, taken] : {std::pair{9, true}, std::pair{10, false}}) {
    PlayFixture f;
    f.p.HealthBoxOn[3] = kTrue;
    f.p.HealthBoxX[3] = 150 + offset - 3;
    f.p.HealthBoxY[3] = 150 - 3;
    UpdateFighters(f.game);
    EXPECT_EQ(f.p.HealthBoxOn[3] == 0, taken) << offset;
    if (taken) {
      EXPECT_GE(f.player.Health, 125);  // 25 + up to 90 \ 4 for bullet-speed level 3
      EXPECT_LE(f.player.Health, 147);
    }
  }
}

TEST(Fighters, AnOpponentExactlyAtItsRangeNeitherFiresNorSetsOut) {
  PlayFixture f;
  Fighter& enemy = f.Opponent(1, 180, 140);  // 40 pixels right of the player
  enemy.Range = 40;
  enemy.Cooldown = 0;
  UpdateFighters(f.game);
  EXPECT_EQ(f.p.Bullets[0].Life, 0);
  EXPECT_EQ(enemy.PathLeft, 0);
  EXPECT_EQ(enemy.Facing, 180);

  enemy.Range = 41;  // in range: it fires
  UpdateFighters(f.game);
  EXPECT_GT(f.p.Bullets[0].Life, 0);
  EXPECT_EQ(f.p.Bullets[0].Owner, 1);
  EXPECT_EQ(enemy.Ammo, 9);
  EXPECT_EQ(enemy.Cooldown, 15);
  EXPECT_EQ(f.p.Bullets[1].Life, 0);  // one shot: it carries fewer than 15 x (16 - 15) bullets

  f.p.Bullets[0].Life = 0;
  enemy.Ammo = 15;  // at 15 x (16 - Recharge) bullets it fires two at once
  enemy.Cooldown = 0;
  UpdateFighters(f.game);
  EXPECT_GT(f.p.Bullets[1].Life, 0);
  EXPECT_EQ(enemy.Ammo, 13);

  enemy.Range = 39;  // out of range: it walks a new leg towards the player
  UpdateFighters(f.game);
  EXPECT_GE(enemy.PathLeft, 38);
  EXPECT_GE(enemy.Heading, 170);
  EXPECT_LE(enemy.Heading, 190);
}

TEST(Fighters, AnOpponentOutsideTheFieldNeverFiresAndIsPushedBack) {
  PlayFixture f;
  Fighter& enemy = f.Opponent(1, -60, 140);
  enemy.Range = 500;
  enemy.Cooldown = 0;
  UpdateFighters(f.game);
  EXPECT_EQ(f.p.Bullets[0].Life, 0);
  EXPECT_GT(enemy.X, -60 + 2 - 0.01);  // pushed 2 pixels, and its edge turn sends it at the player
  EXPECT_EQ(enemy.PathLeft, 10);
  EXPECT_EQ(enemy.Heading, 0);
}

TEST(Fighters, AWeakOpponentInRangeFleesAwayFromThePlayer) {
  PlayFixture f;
  for (int i = 0; i < 100; ++i) {
    Fighter& enemy = f.Opponent(1, 180, 140);
    enemy.Health = 8;  // below 3 x its level 3
    enemy.Range = 50;
    UpdateFighters(f.game);
    EXPECT_FLOAT_EQ(enemy.PathLeft, 50);
    // Away from the player on its left: headings -90..89, kept in 0..360.
    EXPECT_TRUE(enemy.Heading >= 270 || enemy.Heading < 90) << enemy.Heading;
  }
}

TEST(Fighters, EveryFighterIsCountedAndDrawnFromItsFacingCell) {
  PlayFixture f;
  Surface sheet(72 * 21, 42, 0);
  for (int cell = 0; cell < 72; ++cell) {
    for (int y = 0; y < 21; ++y) {
      for (int x = 0; x < 21; ++x) SetPixel(sheet, cell * 21 + x, y, static_cast<Colour>(cell + 1));
    }
  }
  f.game.surfaces.PlayerDC = sheet;  // masks are black: the image shows whole
  for (const auto& [facing, cell] : {std::pair{0, 0}, std::pair{4, 0}, std::pair{5, 1}, std::pair{355, 71},
                                     std::pair{359, 71}}) {
    f.player.Facing = static_cast<Integer>(facing);
    UpdateFighters(f.game);
    EXPECT_EQ(GetPixel(f.game.surfaces.Field, 150, 150), cell + 1) << facing;
  }
  for (int i = 1; i <= 50; ++i) f.Opponent(i, 10 + i, 10);
  UpdateFighters(f.game);
  EXPECT_EQ(f.p.FightersAlive, 51);
}

TEST(Fighters, TheCleanerPushesAndHurtsThoseItTouches) {
  PlayFixture f;
  Fighter& enemy = f.Opponent(1, 50, 50);
  f.p.CleanerOn = kTrue;
  f.p.CleanerX = 50 - 17;
  f.p.CleanerY = 50 - 32;
  UpdateFighters(f.game);
  EXPECT_FLOAT_EQ(enemy.Health, 18);
  EXPECT_NEAR(enemy.Y, 52, 1e-4);
  EXPECT_EQ(f.Played(3), 1);

  // Killed in melee while touching the Cleaner, an opponent dies once.
  f.p.Kills = 0;
  Fighter& touching = f.Opponent(2, f.player.X + 12, f.player.Y);
  touching.Health = 0.2f;
  f.p.CleanerX = touching.X - 17;
  f.p.CleanerY = touching.Y - 32;
  UpdateFighters(f.game);
  EXPECT_EQ(touching.Alive, 0);
  EXPECT_EQ(f.p.Kills, 1);
  // Killed by the Cleaner with bullets left, its update ends there: it does not take back the box it dropped.
  Fighter& carrier = f.Opponent(3, 200, 200);
  carrier.Health = 1;
  f.p.CleanerX = 200 - 17;
  f.p.CleanerY = 200 - 32;
  f.p.AmmoBoxOn.fill(0);
  UpdateFighters(f.game);
  EXPECT_EQ(carrier.Alive, 0);
  EXPECT_EQ(std::count(f.p.AmmoBoxOn.begin(), f.p.AmmoBoxOn.end(), kTrue), 1);
}

TEST(Fighters, FootStepsAreLeftEveryTenFramesOfWalkingOnly) {
  PlayFixture f;
  f.game.surfaces.FootDC = Surface(2, 2, Rgb(1, 2, 3));
  auto marks = [&f] {
    int count = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) count += GetPixel(f.game.surfaces.Terain, x, y) == Rgb(1, 2, 3);
    return count;
  };
  for (int frame = 0; frame < 30; ++frame) UpdateFighters(f.game);
  EXPECT_EQ(marks(), 4);  // one 2x2 mark at the tenth frame, then standing still leaves none
  f.game.input.KeyState[kDikD] = 0x80;
  for (int frame = 0; frame < 30; ++frame) UpdateFighters(f.game);
  EXPECT_GE(marks(), 8);
  f.game.settings.OptFootSteps = kOff;
  const int before = marks();
  for (int frame = 0; frame < 30; ++frame) UpdateFighters(f.game);
  EXPECT_EQ(marks(), before);
}

}  // namespace
}  // namespace kesmir
