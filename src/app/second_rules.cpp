// The once-per-second rules of a game in play.
#include "app/game_clock.h"
#include "app/new_game.h"
#include "audio/sound_bank.h"
#include "game/death.h"
#include "render/effects.h"

namespace kesmir {

namespace {

constexpr int kSoundLevelUp = 7;
constexpr int kSoundAlarm = 37;
constexpr int kLastWaveMinute = 30;

void Spawn(Game& game) {
  GameTick(game);
  game.clock.SpawnTimer = 0;
}

}  // namespace

void SecondRules(Game& game) {
  ClockState& c = game.clock;
  PlayState& p = game.play;
  Fighter& player = p.Fighters[0];

  if (game.input.FireHeld == kTrue && player.Ammo > 0) {
    p.FireHeldSeconds = AddSat(p.FireHeldSeconds, 1);
  } else {
    p.FireHeldSeconds = 0;
  }
  player.RechargeXp = CInt(player.RechargeXp + p.FireHeldSeconds / 5.0);
  if (player.RechargeXp >= 100 && player.Recharge > 4) {
    player.Recharge = AddSat(player.Recharge, -1);
    player.RechargeXp = 0;
    p.FireHeldSeconds = 0;
    PlaySoundFx(game, kSoundLevelUp, kLevelUpPosX);
  }
  if (player.RechargeXp >= 100) player.RechargeXp = 100;

  const bool minuteOver = c.GameSeconds == 59;
  c.GameSeconds = minuteOver ? 0 : static_cast<Integer>(c.GameSeconds + 1);
  if (minuteOver) c.GameMinutes = AddSat(c.GameMinutes, 1);
  c.SpawnTimer = AddSat(c.SpawnTimer, 1);

  const int m = c.GameMinutes;
  if (m <= 0 && c.SpawnTimer == 1) Spawn(game);
  if (m > 0 && c.SpawnTimer == 3) Spawn(game);
  if (m > 10 && c.SpawnTimer == 2) Spawn(game);
  if (m > 20 && c.SpawnTimer == 1) Spawn(game);

  const double cap = 30.0 * player.BulletSpeed;
  if (player.Health >= cap || player.Alive == 0) {
    player.Health -= 2;
    if (player.Health > 60.0 * player.BulletSpeed) player.Health -= 6;
  } else {
    player.Health += 1;
  }

  const int s = c.GameSeconds;
  if (m >= 4 && m <= kLastWaveMinute - 1 && m % 5 == 4 && s == 57) PlaySoundFx(game, kSoundAlarm, kLevelUpPosX);
  if (m >= 5 && m <= kLastWaveMinute && m % 5 == 0 && s == 0) c.WaveStart = kTrue;
  if (c.WaveStart == kTrue) {
    UpdateAirPlane(game, 0, 0, 0, kTrue);
    game.app.WaveCount = 11;
    c.WaveStart = 0;
  }
}

}  // namespace kesmir
