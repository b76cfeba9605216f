// The player's control: bomb clicks, fire modes, the fire rhythm, both movement modes.
#include <gtest/gtest.h>

#include "game/fighters.h"
#include "input/keyboard.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

int ShotsInFlight(const PlayState& p) {
  int count = 0;
  for (const Bullet& b : p.Bullets) count += b.Life > 0 ? 1 : 0;
  return count;
}

TEST(PlayerControl, ABombCostsFifteenBulletsAndAnyRightClickStopsTheLeg) {
  for (const int ammo : {15, 14}) {  // with 14 no airplane comes
    PlayFixture f;
    f.player.Ammo = static_cast<Integer>(ammo);
    f.player.PathLeft = 30;
    f.game.input.BombClick = kTrue;
    ControlPlayer(f.game);
    EXPECT_EQ(f.player.Ammo, ammo == 15 ? 0 : 14);
    EXPECT_EQ(f.game.effects.AirMission, ammo == 15 ? 3 : 0);
    EXPECT_EQ(f.game.effects.AirPlaneOn, ammo == 15 ? kTrue : 0);
    EXPECT_EQ(f.player.PathLeft, 0);
    EXPECT_EQ(f.game.input.BombClick, 0);
  }
}

TEST(PlayerControl, FireModesCycleAndFireAllTheirShotsEvenWithTooFewBullets) {
  PlayFixture f;
  f.game.input.FireModeKey = kTrue;
  ControlPlayer(f.game);
  EXPECT_EQ(f.p.FireMode, 2);
  EXPECT_EQ(f.game.input.FireModeKey, 0);
  f.game.input.FireModeKey = kTrue;
  ControlPlayer(f.game);
  EXPECT_EQ(f.p.FireMode, 3);
  f.player.Ammo = 1;
  f.game.input.FireHeld = kTrue;
  UpdateFighters(f.game);
  EXPECT_EQ(ShotsInFlight(f.p), 3);
  EXPECT_EQ(f.player.Ammo, 0);  // floored by the fighter pass
  f.game.input.FireModeKey = kTrue;
  ControlPlayer(f.game);
  EXPECT_EQ(f.p.FireMode, 1);
}

TEST(PlayerControl, HeldFireShootsEveryRechargeFrames) {
  PlayFixture f;
  f.game.input.FireHeld = kTrue;
  std::vector<int> shotFrames;
  for (int frame = 0; frame < 50; ++frame) {
    const Integer before = f.player.Ammo;
    UpdateFighters(f.game);
    if (f.player.Ammo < before) shotFrames.push_back(frame);
  }
  EXPECT_EQ(shotFrames, (std::vector<int>{0, 15, 30, 45}));
  EXPECT_EQ(f.Played(1), 4);
  EXPECT_EQ(f.g.sound.starts.back().pan, 333) << "heard where the player stands, x 140";
}

TEST(PlayerControl, ADeadPlayerNeitherFiresNorWalks) {
  PlayFixture f;
  f.player.Alive = 0;
  f.game.input.FireHeld = kTrue;
  f.game.input.KeyState[kDikW] = 0x80;
  ControlPlayer(f.game);
  EXPECT_EQ(ShotsInFlight(f.p), 0);
  EXPECT_FLOAT_EQ(f.player.Y, 140);
}

TEST(PlayerControl, StaticMovementFollowsTheScreenAndRealMovementTheFacing) {
  PlayFixture f;
  f.game.input.KeyState[kDikW] = 0x80;
  f.game.input.KeyState[kDikRight] = 0x80;
  ControlPlayer(f.game);
  EXPECT_FLOAT_EQ(f.player.X, 141);
  EXPECT_FLOAT_EQ(f.player.Y, 139);

  PlayFixture g;
  g.game.settings.OptMovement = kOff;
  g.player.Facing = 0;  // the pointer straight right of the player
  g.game.input.KeyState[kDikUp] = 0x80;
  ControlPlayer(g.game);
  EXPECT_NEAR(g.player.X, 141, 1e-5);
  EXPECT_NEAR(g.player.Y, 140, 1e-5);
  g.game.input.KeyState[kDikUp] = 0;
  g.game.input.KeyState[kDikA] = 0x80;  // left goes up the screen
  ControlPlayer(g.game);
  EXPECT_NEAR(g.player.X, 141, 1e-5);
  EXPECT_NEAR(g.player.Y, 139, 1e-5);
  g.player.Facing = 365;  // the facing is kept in 0..359
  ControlPlayer(g.game);
  EXPECT_EQ(g.player.Facing, 5);
}

}  // namespace
}  // namespace kesmir
