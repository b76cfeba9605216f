// The fighter pass: melee, pick-ups, decisions, firing, the field's edge, drawing.
#include "game/fighters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "input/keyboard.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

TEST(Fighters, MeleeHurtsTheOpponentThreeTimesAsMuchTakesItsBulletsAndAKillSoundsAndBleeds) {
  PlayFixture f;
  f.player.Melee = 5;  // each frame of contact hurts 5 / 5 + 3 / 10
  Fighter& enemy = f.Opponent(1, 152, 140);  // 12 pixels from the player
  enemy.Ammo = 7;
  UpdateFighters(f.game);
  EXPECT_NEAR(f.player.Health, 100 - 1.3 / 3, 1e-4);
  EXPECT_NEAR(enemy.Health, 20 - 1.3, 1e-4);
  EXPECT_EQ(std::tuple(f.player.MeleeXp, enemy.Ammo, f.player.Ammo), std::tuple(1, 0, 27));
  enemy.Ammo = 500;  // the player's bullets are cut to 30 x (16 - Recharge)
  enemy.Health = 1.2f;
  UpdateFighters(f.game);
  EXPECT_EQ(std::tuple(f.player.Ammo, enemy.Alive), std::tuple(30, 0));
  EXPECT_EQ(f.Played(6), 1) << "the fight sound, for the kill only";
  EXPECT_EQ(std::count_if(f.p.BloodLife.begin(), f.p.BloodLife.end(), [](Integer life) { return life > 0; }), 10);
}

TEST(Fighters, AnAmmunitionPickUpAboveTheCapKeepsTheSurplus) {
  PlayFixture f;
  f.p.AmmoBoxOn[0] = kTrue;
  f.p.AmmoBoxX[0] = 150 - 4;
  f.p.AmmoBoxY[0] = 150 - 3;
  f.p.AmmoBoxAmount[0] = 10;
  UpdateFighters(f.game);
  EXPECT_EQ(std::tuple(f.player.Ammo, f.p.AmmoBoxAmount[0], f.p.AmmoBoxOn[0]), std::tuple(15, 15, kTrue));
  ASSERT_FALSE(f.g.fonts.calls.empty());
  const testing::FakeFonts::Call& label = f.g.fonts.calls.back();
  EXPECT_EQ(std::tuple(label.text, label.size, f.game.surfaces.Field.fontSize), std::tuple("15   ", 7, 8));

  f.player.Ammo = 0;  // room for all of it: the pick-up is gone
  UpdateFighters(f.game);
  EXPECT_EQ(std::tuple(f.player.Ammo, f.p.AmmoBoxOn[0], f.Played(5)), std::tuple(15, 0, 1));
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
  EXPECT_EQ(std::tuple(f.p.Bullets[0].Life, enemy.PathLeft, enemy.Facing), std::tuple(0, 0, 180));

  enemy.Range = 41;  // in range: it fires once its delay has run out
  enemy.Cooldown = 2;
  UpdateFighters(f.game);
  EXPECT_EQ(f.p.Bullets[0].Life, 0);
  UpdateFighters(f.game);
  EXPECT_GT(f.p.Bullets[0].Life, 0);
  EXPECT_EQ(std::tuple(f.p.Bullets[0].Owner, enemy.Ammo, enemy.Cooldown), std::tuple(1, 9, 15));
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

TEST(Fighters, AnOpponentFiresOnlyInsideTheFieldAndTurnsAtItsEdge) {
  PlayFixture f;
  Fighter& outside = f.Opponent(1, -60, 140);
  Fighter& atEdge = f.Opponent(2, 302, 140);  // pushed back to x 300, the last column inside
  Fighter& low = f.Opponent(3, 140, 290);     // y 290 is not yet beyond the edge
  for (Fighter* enemy : {&outside, &atEdge, &low}) {
    enemy->Range = 500;
    enemy->Cooldown = 0;
  }
  UpdateFighters(f.game);
  EXPECT_EQ(std::tuple(f.p.Bullets[0].Owner, f.p.Bullets[1].Owner), std::tuple(2, 3));
  EXPECT_EQ(f.p.Bullets[2].Life, 0) << "none from outside";
  EXPECT_GT(outside.X, -60 + 2 - 0.01);  // pushed 2 pixels, and its edge turn sends it at the player
  EXPECT_EQ(std::tuple(outside.PathLeft, outside.Heading, atEdge.PathLeft, atEdge.Heading), std::tuple(10, 0, 10, 180));
  EXPECT_EQ(low.PathLeft, 0);
}

TEST(Fighters, OpponentsWalkTheirLegsAndLeaveADeadPlayerAlone) {
  PlayFixture f;
  f.player.Alive = 0;
  Fighter& enemy = f.Opponent(1, 100, 100);
  enemy.Range = 500;
  enemy.Cooldown = 0;
  enemy.Facing = 7;
  enemy.Speed = 20;
  enemy.PathLeft = 5;
  enemy.Heading = 60;
  UpdateFighters(f.game);
  EXPECT_NEAR(enemy.X, 101, 1e-4);
  EXPECT_NEAR(enemy.Y, 100 + std::sqrt(3.0), 1e-4);
  EXPECT_FLOAT_EQ(enemy.PathLeft, 3);
  EXPECT_EQ(enemy.Facing, 7);
  EXPECT_EQ(f.p.Bullets[0].Life, 0);
}

TEST(Fighters, AHeadingBelowNoughtOrAbove360IsTurnedOnceBackIntoThatRange) {
  PlayFixture f;
  f.player.Alive = 0;
  const std::pair<int, int> headings[] = {{-10, 350}, {-1, 359}, {0, 0}, {360, 360}, {361, 1}};
  for (int i = 0; i < 5; ++i) f.Opponent(i + 1, 100, 50 + 40 * i).Heading = static_cast<Integer>(headings[i].first);
  UpdateFighters(f.game);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.p.Fighters[i + 1].Heading, headings[i].second) << headings[i].first;
}

TEST(Fighters, OpponentsSeekHealthWhenWeakBulletsWhenShortAndWithNoneLeftTheLastThingMeasured) {
  PlayFixture f;
  f.p.HealthBoxOn[2] = kTrue;  // centre (43, 253)
  f.p.HealthBoxX[2] = 40;
  f.p.HealthBoxY[2] = 250;
  f.p.AmmoBoxOn[4] = kTrue;  // centre (254, 43)
  f.p.AmmoBoxX[4] = 250;
  f.p.AmmoBoxY[4] = 40;
  f.p.AmmoBoxAmount[4] = 20;
  Fighter& weak = f.Opponent(1, 33, 133);  // 110 above the health
  weak.Health = 8;                         // below 3 x the player's level 3
  Fighter& shortOfAmmo = f.Opponent(2, 134, 33);  // 110 left of the bullets
  shortOfAmmo.Ammo = 7;
  f.player.Health = 5;  // the player is never sent walking
  f.player.Ammo = 5;
  UpdateFighters(f.game);
  EXPECT_EQ(weak.Heading, 90);
  EXPECT_FLOAT_EQ(weak.PathLeft, 110);
  EXPECT_EQ(shortOfAmmo.Heading, 0);
  EXPECT_FLOAT_EQ(shortOfAmmo.PathLeft, 110);
  EXPECT_EQ(f.player.PathLeft, 0);

  f.p.HealthBoxOn[2] = 0;
  f.p.AmmoBoxOn[4] = 0;
  Fighter& empty = f.Opponent(3, 239, 140);  // on a leg, out of bullets: it turns to the player it measured
  empty.Ammo = 0;
  empty.PathLeft = 30;
  UpdateFighters(f.game);
  EXPECT_EQ(empty.Heading, 180);
  EXPECT_FLOAT_EQ(empty.PathLeft, 100);
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

TEST(Fighters, TheCleanerPushesHurtsAndKillsThoseWithin29Pixels) {
  PlayFixture f;
  f.p.CleanerOn = kTrue;  // measured to (50, 50)
  f.p.CleanerX = 50 - 17;
  f.p.CleanerY = 50 - 32;
  Fighter& near = f.Opponent(1, 50 + 29, 50);
  Fighter& far = f.Opponent(2, 50, 50 + 30);
  Fighter& dying = f.Opponent(3, 50, 50);
  dying.Health = 2;
  UpdateFighters(f.game);
  EXPECT_FLOAT_EQ(near.Health, 18);
  EXPECT_NEAR(near.Y, 52, 1e-4);
  EXPECT_FLOAT_EQ(far.Health, 20);
  EXPECT_EQ(dying.Alive, 0);
  EXPECT_EQ(f.Played(3), 2);

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

TEST(Fighters, FootStepsMarkEveryTenthFrameOnlyWhenTheFighterHasMoved) {
  PlayFixture f;
  f.game.surfaces.FootDC = Surface(2, 2, Rgb(1, 2, 3));
  auto marks = [&f] { return testing::CountColour(f.game.surfaces.Terain, Rgb(1, 2, 3)); };
  // The player at (140, 140) has the position key 2 x 140 + 140 \ 2 = 350; within 2 of the last it stood still.
  f.p.StepCounter[0] = 8;
  f.p.StepLastPos[0] = 347;
  UpdateFighters(f.game);
  EXPECT_EQ(marks(), 0) << "the ninth frame";
  UpdateFighters(f.game);
  EXPECT_EQ(std::tuple(marks(), f.p.StepCounter[0], f.p.StepLastPos[0]), std::tuple(4, 0, 350));
  for (const int last : {348, 352}) {
    f.p.StepCounter[0] = 9;
    f.p.StepLastPos[0] = static_cast<Integer>(last);
    UpdateFighters(f.game);
    EXPECT_EQ(marks(), 4) << last;
    EXPECT_EQ(f.p.StepCounter[0], 10) << "standing still, the count goes on";
  }
  f.game.settings.OptFootSteps = kOff;
  f.p.StepCounter[0] = 9;
  f.p.StepLastPos[0] = 0;
  UpdateFighters(f.game);
  EXPECT_EQ(marks(), 4);
}

}  // namespace
}  // namespace kesmir
