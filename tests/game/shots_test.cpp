// Shots: their flight, life, hits, score, friendly fire and the kill count.
#include "game/shots.h"

#include <gtest/gtest.h>

#include <tuple>

#include "game/death.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

// A shot of fighter `owner` at (x, y), flying right.
Bullet& Shot(PlayFixture& f, int owner, double x, double y, Integer life, Integer speed = 3) {
  // Life, direction, x, y, step x, step y, speed, owner.
  return f.p.Bullets[0] = Bullet{life, 0, x, y, 1, 0, speed, static_cast<Integer>(owner)};
}

TEST(Shots, APlayerShotOfRange60LivesTwentyFramesThenMarksTheGroundAndCountsAMiss) {
  PlayFixture f;
  f.player.Facing = 0;
  f.player.Accuracy = 0;
  FireShot(f.game, 0);
  Bullet& b = f.p.Bullets[0];
  b.Life = 61;  // range 60 plus 1: a life of 1 left still flies
  const double startX = b.X;
  for (int frame = 1; frame <= 20; ++frame) {
    MoveBullets(f.game);
    ASSERT_GT(b.Life, 0) << "frame " << frame;
  }
  EXPECT_NEAR(b.X - startX, 60.0, 1e-3);
  EXPECT_EQ(f.Played(2), 0);
  MoveBullets(f.game);  // frame 21
  EXPECT_LE(b.Life, 0);
  EXPECT_EQ(f.Played(2), 1);
  EXPECT_EQ(f.p.HitHistory[1], 0);
  EXPECT_EQ(GetPixel(f.game.surfaces.Terain, CLng(b.X), CLng(b.Y)), Rgb(128, 64, 64));
  EXPECT_NEAR(b.X - startX, 60.0, 1e-3);  // the player's spent shot does not fly on
}

TEST(Shots, FiringSpreadsAroundTheFacingLeavesFromTheMuzzleAndMarksTheGroundWithPowder) {
  PlayFixture f;
  f.player.Facing = 90;
  f.player.Accuracy = 30;
  for (int i = 0; i < 200; ++i) {
    f.player.X = static_cast<float>(14 * (i % 10));  // a place of its own for each shot's powder
    f.player.Y = static_cast<float>(14 * (i / 10));
    f.p.Bullets[0].Life = 0;
    FireShot(f.game, 0);
    const Bullet& b = f.p.Bullets[0];
    EXPECT_GE(b.Direction, 75.0);
    EXPECT_LT(b.Direction, 105.0);
    EXPECT_NEAR(b.X, f.player.X + 10 + 3 * std::cos(40 * f.game.app.DegToRad), 1e-9);
    EXPECT_NEAR(b.Y, f.player.Y + 10 + 3 * std::sin(40 * f.game.app.DegToRad), 1e-9);
    EXPECT_GE(b.Life, 60);
    EXPECT_LE(b.Life, 67);
    EXPECT_EQ(b.Speed, 3);
  }
  for (const Colour powder : {Rgb(255, 255, 0), Rgb(192, 192, 0)}) {  // each with one chance in three
    EXPECT_NEAR(testing::CountColour(f.game.surfaces.Terain, powder), 200 / 3, 8) << powder;
  }
}

TEST(Shots, ThePassLeavesTheDirectionFromTheLastFighterTestedToTheShot) {
  PlayFixture f;
  f.Opponent(1, 0, 0);
  Shot(f, 1, 147, 170, 50);  // ends 20 straight below the player's centre (150, 150)
  f.p.Angle = 0;
  MoveBullets(f.game);
  EXPECT_EQ(f.p.Angle, 90);
  EXPECT_EQ(f.p.Distance, 20);
}

TEST(Shots, WithEverySlotInFlightNoShotIsCreated) {
  PlayFixture f;
  for (Bullet& b : f.p.Bullets) b.Life = 5;
  f.p.Bullets[200].Owner = 7;
  FireShot(f.game, 0);
  EXPECT_EQ(f.p.Bullets[200].Owner, 7);
  f.p.Bullets[200].Life = 0;
  FireShot(f.game, 0);
  EXPECT_EQ(f.p.Bullets[200].Owner, 0);
}

TEST(Shots, AHitIsCloserThanEightPixelsFromTheCentre) {
  for (const int off : {7, 8}) {
    PlayFixture f;
    Fighter& target = f.Opponent(1, 100, 100);  // centre (110, 110)
    Shot(f, 0, 110 - off - 3, 110, 50);          // after 3 steps: `off` pixels left of the centre
    MoveBullets(f.game);
    const int hit = off == 7 ? 1 : 0;
    EXPECT_FLOAT_EQ(target.Health, hit != 0 ? 11 : 20) << off;
    // A hit scores, is recorded and ends the shot; a miss flies on.
    EXPECT_EQ(std::tuple(f.p.Score, f.p.HitHistory[1], f.p.Bullets[0].Life == 0), std::tuple(hit, hit, hit != 0))
        << off;
  }
}

TEST(Shots, ScoreFollowsTheTargetsLevelAndOpponentsHitEachOtherWithoutScore) {
  PlayFixture f;
  Fighter& target = f.Opponent(1, 100, 100);
  target.BulletSpeed = 5;
  target.Health = 1;  // its last point still scores
  Shot(f, 0, 107, 110, 50);
  MoveBullets(f.game);
  EXPECT_EQ(f.p.Score, 3);

  PlayFixture g;
  Fighter& shooter = g.Opponent(1, 0, 0);
  shooter.BulletSpeed = 4;
  Fighter& other = g.Opponent(2, 100, 100);
  Shot(g, 1, 107, 110, 50);
  MoveBullets(g.game);
  EXPECT_FLOAT_EQ(other.Health, 20 - 12);  // three times the shooter's level
  EXPECT_EQ(g.p.Score, 0);
  EXPECT_FLOAT_EQ(shooter.Health, 20);
}

TEST(Shots, OneShotHitsTwoFightersOnTheSamePointButNeverItsShooter) {
  PlayFixture f;
  Fighter& a = f.Opponent(1, 100, 100);
  Fighter& b = f.Opponent(2, 100, 100);
  f.player.X = 100;
  f.player.Y = 100;
  Shot(f, 0, 107, 110, 50);
  MoveBullets(f.game);
  EXPECT_FLOAT_EQ(a.Health, 11);
  EXPECT_FLOAT_EQ(b.Health, 11);
  EXPECT_FLOAT_EQ(f.player.Health, 100);
  EXPECT_EQ(f.p.Score, 2);
  EXPECT_EQ(f.Played(11) + f.Played(12) + f.Played(13) + f.Played(14) + f.Played(15) + f.Played(16), 2);
}

TEST(Shots, AKillByAnOpponentsShotIsTakenOffTheKillCount) {
  // Shooter 1 (an opponent) or 0 (the player) kills fighter victim; the player too counts when killed.
  for (const auto& [shooter, victimIndex, kills] : {std::tuple{1, 2, 0}, {0, 1, 1}, {1, 0, -1}}) {
    PlayFixture f;
    if (shooter == 1) f.Opponent(1, 0, 0);
    Fighter& victim = victimIndex == 0 ? f.player : f.Opponent(victimIndex, 100, 100);
    victim.Health = 5;
    victim.X = 100;
    victim.Y = 100;
    Shot(f, shooter, 107, 110, 50);
    MoveBullets(f.game);
    EXPECT_EQ(victim.Alive, 0) << victimIndex;
    EXPECT_EQ(f.p.Kills, kills) << victimIndex;
  }
}

TEST(Shots, TheCleanerSwallowsShotsCloserThan29Pixels) {
  PlayFixture f;
  Fighter& target = f.Opponent(1, 100, 100);
  f.p.CleanerOn = kTrue;
  f.p.CleanerX = 107 + 28.4 - 17;  // its point 28.4 right of where the shot ends, on the target
  f.p.CleanerY = 110 - 35;
  Shot(f, 0, 104, 110, 50);
  MoveBullets(f.game);
  EXPECT_FLOAT_EQ(target.Health, 20);
  EXPECT_LE(f.p.Bullets[0].Life, 0);
  f.p.CleanerX += 0.2;  // 28.6, counted as 29: the next shot hits
  Shot(f, 0, 104, 110, 50);
  MoveBullets(f.game);
  EXPECT_FLOAT_EQ(target.Health, 11);
}

TEST(Shots, AnOpponentsSpentShotStillFliesThisFrameAndCanHit) {
  PlayFixture f;
  f.Opponent(1, 0, 0);
  Fighter& target = f.Opponent(2, 100, 100);
  Shot(f, 1, 104, 110, 2);  // spent at once
  MoveBullets(f.game);
  EXPECT_FLOAT_EQ(target.Health, 11);
  EXPECT_EQ(f.Played(2), 1);
}

}  // namespace
}  // namespace kesmir
