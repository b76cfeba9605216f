// The player's control: bomb, fire mode, firing and walking.
#include <cmath>

#include "audio/sound_bank.h"
#include "game/death.h"
#include "game/fighters.h"
#include "game/shots.h"
#include "input/keyboard.h"
#include "render/effects.h"

namespace kesmir {

namespace {

bool Down(const Game& game, int first, int second) {
  return game.input.KeyState[first] != 0 || game.input.KeyState[second] != 0;
}

void Step(Game& game, Fighter& player, double angle, double dx, double dy) {
  const double step = player.Speed / 10.0;
  if (game.settings.OptMovement == kOff) {
    player.X = static_cast<float>(player.X + step * std::cos(angle * game.app.DegToRad));
    player.Y = static_cast<float>(player.Y + step * std::sin(angle * game.app.DegToRad));
  } else {
    player.X = static_cast<float>(player.X + step * dx);
    player.Y = static_cast<float>(player.Y + step * dy);
  }
  player.PathLeft = 0;
}

}  // namespace

void ControlPlayer(Game& game) {
  PlayState& p = game.play;
  InputState& in = game.input;
  Fighter& player = p.Fighters[0];
  if (player.Alive == 0) return;

  if (in.BombClick == kTrue) {
    if (player.Ammo > 14) UpdateAirPlane(game, 0, 0, kTrue, 0);
    player.PathLeft = 0;
    in.BombClick = 0;
  }
  if (in.FireModeKey == kTrue) {
    p.FireMode = static_cast<Integer>(p.FireMode % 3 + 1);
    in.FireModeKey = 0;
  }
  if (player.Cooldown < 1 && player.Ammo > 0 && in.FireHeld == kTrue) {
    // Every shot of the mode leaves even with fewer bullets left; the fighter pass floors Ammo at 0.
    const int shots = p.FireMode >= 1 && p.FireMode <= 3 ? p.FireMode : 1;
    for (int s = 0; s < shots; ++s) FireShot(game, 0);
    player.Ammo = AddSat(player.Ammo, -shots);
    player.Cooldown = player.Recharge;
    if (p.NearestEnemy < 100) AddBulletXp(game);
    PlaySoundFx(game, kSoundBulletFire, player.X * 10.0 / 3.0);
  }
  if (player.Facing >= 360) player.Facing = static_cast<Integer>(player.Facing - 360);
  if (player.Facing < 0) player.Facing = static_cast<Integer>(player.Facing + 360);

  const double facing = player.Facing;
  if (Down(game, kDikLeft, kDikA)) Step(game, player, facing - 90, -1, 0);
  if (Down(game, kDikRight, kDikD)) Step(game, player, facing + 90, 1, 0);
  if (Down(game, kDikUp, kDikW)) Step(game, player, facing, 0, -1);
  if (Down(game, kDikDown, kDikS)) Step(game, player, facing - 180, 0, 1);
}

}  // namespace kesmir
