// Death, drops and the player's four levels.
#include "game/death.h"

#include <gtest/gtest.h>

#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

TEST(Death, BelowOneHealthAFighterDiesLeavesACorpseAndDropsItsBullets) {
  PlayFixture f;
  Fighter& alive = f.Opponent(1, 100, 100);
  alive.Health = 1;
  KillIfDead(f.game, 1);
  EXPECT_EQ(alive.Alive, kTrue);

  f.game.surfaces.DeadDC = Surface(40, 80, 0xFFFFFF);  // white masks: nothing drawn over the ground
  Fighter& dying = f.Opponent(2, 100, 100);
  dying.Health = 0.5f;
  dying.Ammo = 10;
  KillIfDead(f.game, 2);
  EXPECT_EQ(dying.Alive, 0);
  EXPECT_EQ(dying.Health, 0);
  EXPECT_EQ(f.p.Kills, 1);
  EXPECT_EQ(f.p.ScoreInfoOn, kTrue);
  EXPECT_EQ(f.p.AmmoBoxOn[0], kTrue);
  EXPECT_EQ(f.p.AmmoBoxAmount[0], 9);
  EXPECT_EQ(dying.Ammo, 9);  // the drop lowers the fighter's own count

  f.player.Health = 0;
  KillIfDead(f.game, 0);
  EXPECT_EQ(f.player.Alive, 0);
  EXPECT_EQ(f.p.Kills, 1);  // the player's death is no kill
}

TEST(Death, AHitStreakRaisesAccuracyExperienceByTheHitsInTheHistory) {
  PlayFixture f;
  for (int i = 0; i < 12; ++i) RecordShot(f.game, 0);
  for (int i = 0; i < 9; ++i) RecordShot(f.game, kTrue);
  EXPECT_EQ(f.player.AccuracyXp, 45);
  EXPECT_EQ(f.p.HitsInHistory, 9);
  EXPECT_EQ(f.p.HitHistory[0], 0);
}

TEST(Death, AccuracyLevelsDownToMinusThreeThenExperienceStaysAtAHundred) {
  PlayFixture f;
  f.player.Accuracy = 0;
  f.player.AccuracyXp = 99;
  RecordShot(f.game, kTrue);
  EXPECT_EQ(f.player.Accuracy, -3);
  EXPECT_EQ(f.player.AccuracyXp, 0);
  EXPECT_EQ(f.Played(7), 1);
  f.player.AccuracyXp = 99;
  RecordShot(f.game, kTrue);
  RecordShot(f.game, kTrue);
  EXPECT_EQ(f.player.Accuracy, -3);
  EXPECT_EQ(f.player.AccuracyXp, 100);
}

TEST(Death, BulletSpeedExperienceFollowsTheNearestOpponentAndStopsAtFourteen) {
  PlayFixture f;
  f.p.NearestEnemy = 0;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletXp, 5);
  f.p.NearestEnemy = 99;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletXp, 5);

  f.player.BulletXp = 98;
  f.p.NearestEnemy = 0;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletSpeed, 4);
  EXPECT_DOUBLE_EQ(f.player.Range, 70);
  EXPECT_DOUBLE_EQ(f.player.Speed, 10.5);
  EXPECT_EQ(f.player.BulletXp, 0);

  f.player.BulletSpeed = 14;
  f.player.BulletXp = 98;
  f.p.NearestEnemy = 0;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletSpeed, 14);
  EXPECT_EQ(f.player.BulletXp, 100);
}

TEST(Death, MeleeLevelsUpToElevenAndItsExperienceNeverWraps) {
  PlayFixture f;
  f.player.MeleeXp = 99;
  AddMeleeXp(f.game, 1);
  EXPECT_EQ(f.player.Melee, 1);
  EXPECT_EQ(f.player.MeleeXp, 0);
  f.player.Melee = 11;
  for (int i = 0; i < 40000; ++i) AddMeleeXp(f.game, 1);
  EXPECT_EQ(f.player.Melee, 11);
  EXPECT_EQ(f.player.MeleeXp, 32767);
}

}  // namespace
}  // namespace kesmir
