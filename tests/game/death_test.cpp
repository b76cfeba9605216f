// Death, drops and the player's four levels.
#include "game/death.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

TEST(Death, BelowOneHealthAFighterDiesAndDropsItsBullets) {
  PlayFixture f;
  Fighter& alive = f.Opponent(1, 100, 100);
  alive.Health = 1;
  KillIfDead(f.game, 1);
  EXPECT_EQ(alive.Alive, kTrue);

  Fighter& dying = f.Opponent(2, 100, 100);
  dying.Health = 0.5f;
  dying.Ammo = 10;
  KillIfDead(f.game, 2);
  EXPECT_EQ(std::tuple(dying.Alive, dying.Health, f.p.Kills, f.p.ScoreInfoOn), std::tuple(0, 0, 1, kTrue));
  // The drop lowers the fighter's own count.
  EXPECT_EQ(std::tuple(f.p.AmmoBoxOn[0], f.p.AmmoBoxAmount[0], dying.Ammo), std::tuple(kTrue, 9, 9));

  f.player.Health = 0;
  KillIfDead(f.game, 0);
  EXPECT_EQ(std::tuple(f.player.Alive, f.p.Kills), std::tuple(0, 1));  // the player's death is no kill
}

TEST(Death, TheCorpseIsOneOfFourPicturesStampedThroughItsMask) {
  PlayFixture f;
  // Four corpses in a column, images at x 0 and masks at x 20: corpse k is a 10x10 square in colour k + 1.
  Surface dead(40, 80, 0);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool body = x >= 5 && x < 15 && y % 20 >= 5 && y % 20 < 15;
      SetPixel(dead, x, y, body ? static_cast<Colour>(y / 20 + 1) : 0);
      SetPixel(dead, 20 + x, y, body ? 0 : 0xFFFFFF);
    }
  }
  f.game.surfaces.DeadDC = dead;
  Random probe = f.game.random;
  while (static_cast<int>(Int(probe.Rnd() * 13)) == 1) f.game.random = probe;  // no acid drop drawn first
  const auto corpse = static_cast<Colour>(Int(probe.Rnd() * 4) + 1);
  f.Opponent(1, 100.4, 50.6).Health = 0;  // stamped at the rounded corner (100, 51)
  KillIfDead(f.game, 1);
  f.game.settings.OptBloodStays = kOff;  // no corpses kept
  f.Opponent(2, 200, 200).Health = 0;
  KillIfDead(f.game, 2);
  for (int y = 0; y < kFieldSize; ++y) {
    for (int x = 0; x < kFieldSize; ++x) {
      const bool body = x >= 105 && x < 115 && y >= 56 && y < 66;
      ASSERT_EQ(GetPixel(f.game.surfaces.Terain, x, y), body ? corpse : 0) << x << "," << y;
    }
  }
}

TEST(Death, OneDeathInThirteenDropsAnAcidBesideTheBody) {
  PlayFixture f;
  std::set<double> offsets[2];  // x and y, each Int(Rnd x 10) - 5
  for (int death = 0; death < 150; ++death) {
    Random probe = f.game.random;
    const bool rolled = static_cast<int>(Int(probe.Rnd() * 13)) == 1;
    f.p.AcidOn.fill(0);
    f.Opponent(1, 100, 50).Health = 0;
    KillIfDead(f.game, 1);
    const auto lying = std::find(f.p.AcidOn.begin(), f.p.AcidOn.end(), kTrue);
    const auto kind = static_cast<std::size_t>(lying - f.p.AcidOn.begin());
    ASSERT_EQ(kind < kAcidKinds, rolled) << death;
    if (!rolled) continue;
    offsets[0].insert(f.p.AcidX[kind] - 100);
    offsets[1].insert(f.p.AcidY[kind] - 50);
  }
  for (const std::set<double>& axis : offsets) {
    EXPECT_GE(axis.size(), 4u);
    EXPECT_GE(*axis.begin(), -5);
    EXPECT_LE(*axis.rbegin(), 4);
  }
}

TEST(Death, AHitStreakRaisesAccuracyExperienceByTheHitsInTheHistory) {
  PlayFixture f;
  for (int i = 0; i < 12; ++i) RecordShot(f.game, 0);
  for (int i = 0; i < 9; ++i) RecordShot(f.game, kTrue);
  EXPECT_EQ(std::tuple(f.player.AccuracyXp, f.p.HitsInHistory, f.p.HitHistory[0]), std::tuple(45, 9, 0));
}

TEST(Death, AccuracyLevelsDownToMinusThreeThenExperienceStaysAtAHundred) {
  PlayFixture f;
  f.player.Accuracy = 0;
  f.player.AccuracyXp = 99;
  RecordShot(f.game, kTrue);
  EXPECT_EQ(std::tuple(f.player.Accuracy, f.player.AccuracyXp, f.Played(7)), std::tuple(-3, 0, 1));
  EXPECT_EQ(f.g.sound.starts.back().pan, 381) << "always right of the middle, at 10 / 3 x 145";
  f.player.AccuracyXp = 98;
  for (const int xp : {99, 100}) {  // one hit in the history each time
    f.p.HitsInHistory = 0;
    f.p.HitHistory.fill(0);
    RecordShot(f.game, kTrue);
    EXPECT_EQ(std::tuple(f.player.Accuracy, f.player.AccuracyXp), std::tuple(-3, xp));
  }
}

TEST(Death, BulletSpeedExperienceFollowsTheNearestOpponentAndStopsAtFourteen) {
  PlayFixture f;
  f.p.NearestEnemy = 0;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletXp, 5);
  f.p.NearestEnemy = 99;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletXp, 5);

  f.player.BulletXp = 95;  // exactly 100
  f.p.NearestEnemy = 0;
  AddBulletXp(f.game);
  EXPECT_EQ(f.player.BulletSpeed, 4);
  EXPECT_DOUBLE_EQ(f.player.Range, 70);
  EXPECT_DOUBLE_EQ(f.player.Speed, 10.5);
  EXPECT_EQ(f.player.BulletXp, 0);

  f.player.BulletSpeed = 14;
  f.player.BulletXp = 94;
  for (const int xp : {99, 100}) {
    f.p.NearestEnemy = 0;
    AddBulletXp(f.game);
    EXPECT_EQ(std::tuple(f.player.BulletSpeed, f.player.BulletXp), std::tuple(14, xp));
  }
}

TEST(Death, MeleeLevelsUpToElevenAndItsExperienceNeverWraps) {
  PlayFixture f;
  f.player.MeleeXp = 99;
  AddMeleeXp(f.game, 1);
  EXPECT_EQ(std::tuple(f.player.Melee, f.player.MeleeXp), std::tuple(1, 0));
  f.player.Melee = 11;
  for (int i = 0; i < 40000; ++i) AddMeleeXp(f.game, 1);
  EXPECT_EQ(f.player.Melee, 11);
  EXPECT_EQ(f.player.MeleeXp, 32767);
}

}  // namespace
}  // namespace kesmir
