// The bomb explosion: its 27 shaking frames, the crater and the blast on frame 8, restarts.
#include <gtest/gtest.h>

#include "render/effects.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::CountColour;
using testing::PlayGame;

constexpr Colour kCrater = Rgb(90, 60, 30);

// A crater picture: image cell in one colour, mask cell black, so a stamp leaves exactly that colour.
Surface CraterPicture() {
  Surface dirt(128, 64, 0);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) dirt.Row(y)[x] = kCrater;
  return dirt;
}

// Places fighter i alive with its centre at (cx, cy).
Fighter& PlaceFighter(Game& game, std::size_t i, double cx, double cy, Integer bulletSpeed) {
  Fighter& f = game.play.Fighters[i];
  f.Alive = kTrue;
  f.X = static_cast<float>(cx - 10);
  f.Y = static_cast<float>(cy - 10);
  f.Health = 200;
  f.BulletSpeed = bulletSpeed;
  return f;
}

int Particles(const Game& game) {
  int n = 0;
  for (Integer life : game.play.BloodLife) n += life > 0 ? 1 : 0;
  return n;
}

TEST(Explosion, TheScreenShakesForExactly27Frames) {
  PlayGame g;
  UpdateExplosion(*g, kTrue, 100, 100);
  int frames = 1;
  while (g->play.ShakeOn != 0 && frames < 100) {
    UpdateExplosion(*g, 0, 0, 0);
    ++frames;
  }
  EXPECT_EQ(frames, 27);
  EXPECT_EQ(g->effects.ExplosionFrame, 27);
  UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(g->effects.ExplosionFrame, 27) << "idle: nothing advances";
}

TEST(Explosion, TheCraterIsStampedOnTheNinthFrameAndStays) {
  PlayGame g;
  g->surfaces.BoomDirtDC = CraterPicture();
  g->surfaces.Terain.Fill(0);
  UpdateExplosion(*g, kTrue, 100, 120);
  for (int frame = 1; frame < 8; ++frame) UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(CountColour(g->surfaces.Terain, kCrater), 0) << "eight frames shown, no crater yet";
  UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(CountColour(g->surfaces.Terain, kCrater), 64 * 64);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 100, 120), kCrater);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 163, 183), kCrater);
  for (int frame = 0; frame < 30; ++frame) UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(CountColour(g->surfaces.Terain, kCrater), 64 * 64);
}

TEST(Explosion, ABombArrivingBeforeTheBlastMovesCraterAndDamageToTheNewPlace) {
  PlayGame g;
  g->surfaces.BoomDirtDC = CraterPicture();
  g->surfaces.Terain.Fill(0);
  Fighter& nearFirst = PlaceFighter(*g, 1, 32, 32, 3);
  UpdateExplosion(*g, kTrue, 0, 0);
  for (int frame = 1; frame < 5; ++frame) UpdateExplosion(*g, 0, 0, 0);
  UpdateExplosion(*g, kTrue, 200, 200);
  for (int frame = 0; frame < 30; ++frame) UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 10, 10), 0);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 210, 210), kCrater);
  EXPECT_EQ(nearFirst.Health, 200);
  EXPECT_EQ(g->effects.Tallies.Explosions, 2);
}

TEST(ExplosionBlast, DamageIsBulletSpeedLessOneTimesFiftyLessTheDistance) {
  PlayGame g;
  // Blast centre (132, 132).
  Fighter& speedThree = PlaceFighter(*g, 1, 142, 132, 3);  // 10 pixels: (3 - 1) x 40
  Fighter& edge = PlaceFighter(*g, 2, 132, 181, 5);        // 49 pixels: (5 - 1) x 1
  Fighter& outside = PlaceFighter(*g, 3, 182, 132, 9);     // 50 pixels: untouched
  Fighter& player = g->play.Fighters[0];
  player.X = 122;  // centre on the blast: the player is hurt like anyone
  player.Y = 122;
  player.Health = 300;
  UpdateExplosion(*g, kTrue, 100, 100);
  for (int frame = 1; frame <= 8; ++frame) UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(speedThree.Health, 200 - 80);
  EXPECT_EQ(edge.Health, 200 - 4);
  EXPECT_EQ(outside.Health, 200);
  EXPECT_EQ(player.Health, 300 - 2 * 50);
  UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(speedThree.Health, 120) << "the blast happens once";
}

TEST(ExplosionBlast, BulletSpeedOneTakesNoDamageButStillSpraysThirtyParticlesAwayFromTheBlast) {
  PlayGame g;
  g->play.Fighters[0].Alive = 0;
  Fighter& f = PlaceFighter(*g, 4, 142, 132, 1);  // 10 pixels right of the blast centre
  UpdateExplosion(*g, kTrue, 100, 100);
  for (int frame = 1; frame <= 8; ++frame) UpdateExplosion(*g, 0, 0, 0);
  EXPECT_EQ(f.Health, 200);
  EXPECT_EQ(Particles(*g), 30);
  // Measured from the fighter to the blast (180 degrees) and turned round: they fly right, +-40 degrees.
  for (std::size_t i = 0; i < kBloodSlots; ++i) {
    if (g->play.BloodLife[i] <= 0) continue;
    const int angle = g->play.BloodAngle[i];
    EXPECT_GE(angle, 320);
    EXPECT_LE(angle, 400);
    EXPECT_GT(g->play.BloodX[i], 142);
  }
}

TEST(ExplosionBlast, AKillThatDropsAnAcidStillSpraysAwayFromTheBlast) {
  PlayGame g;
  bool dropped = false;
  // One death in thirteen drops an acid, which measures from the player to it: blasts until one does.
  for (int attempt = 0; attempt < 100 && !dropped; ++attempt) {
    g->play.BloodLife.fill(0);
    Fighter& f = PlaceFighter(*g, 4, 142, 132, 3);  // 10 pixels right of the blast centre
    f.Health = 1;
    UpdateExplosion(*g, kTrue, 100, 100);
    for (int frame = 1; frame <= 8; ++frame) UpdateExplosion(*g, 0, 0, 0);
    ASSERT_EQ(f.Alive, 0);
    for (Integer on : g->play.AcidOn) dropped = dropped || on == kTrue;
  }
  ASSERT_TRUE(dropped);
  for (std::size_t i = 0; i < kBloodSlots; ++i) {
    if (g->play.BloodLife[i] <= 0) continue;
    EXPECT_GE(g->play.BloodAngle[i], 320);
    EXPECT_LE(g->play.BloodAngle[i], 400);
  }
}

}  // namespace
}  // namespace kesmir
