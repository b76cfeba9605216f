// The fighter pass and the opponents' decisions.
#include "game/fighters.h"

#include <cmath>
#include <string>

#include "audio/sound_bank.h"
#include "game/blood.h"
#include "game/death.h"
#include "game/geometry.h"
#include "game/shots.h"

namespace kesmir {

namespace {

constexpr int kSoundBlood = 3;
constexpr int kSoundHealth = 4;
constexpr int kSoundAmmo = 5;
constexpr int kSoundFight = 6;

double Pan(const Fighter& f) { return f.X * 10.0 / 3.0; }

void KeepOnField(Fighter& f) {
  if (f.X < 0) f.X += 2;
  if (f.X > 290) f.X -= 2;
  if (f.Y < 0) f.Y += 2;
  if (f.Y > 290) f.Y -= 2;
}

void Walk(Game& game, Fighter& f) {
  if (f.PathLeft <= 0) return;
  const double s = f.Speed / 10.0;
  f.PathLeft = static_cast<float>(f.PathLeft - s);
  f.X = static_cast<float>(f.X + s * CosDeg(game, f.Heading));
  f.Y = static_cast<float>(f.Y + s * SinDeg(game, f.Heading));
}

void TakeHealth(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  const Fighter& player = p.Fighters[0];
  for (std::size_t j = 0; j < kBoxSlots; ++j) {
    if (p.HealthBoxOn[j] != kTrue) continue;
    GetAngleDistance(game, f.X + 10.0, f.Y + 10.0, p.HealthBoxX[j] + 3, p.HealthBoxY[j] + 3);
    if (p.Distance <= 9) {
      p.HealthBoxOn[j] = 0;
      // The bonus follows the player's bullet-speed level, whoever takes the pick-up.
      const Long bonus = IntDiv(CLng(game.Rnd() * 30 * player.BulletSpeed), 4).value_or(0);
      f.Health = static_cast<float>(f.Health + 25.0 + bonus);
      PlaySoundFx(game, kSoundHealth, Pan(f));
    }
    if (i > 0 && f.Health < 3.0 * player.BulletSpeed && p.HealthBoxOn[j] == kTrue) {
      f.Heading = p.Angle;
      f.PathLeft = p.Distance;
    }
  }
}

void Melee(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  Fighter& player = p.Fighters[0];
  const double hurt = player.Melee / 5.0 + player.BulletSpeed / 10.0;
  f.Health = static_cast<float>(f.Health - hurt);
  player.Health = static_cast<float>(player.Health - hurt / 3.0);
  AddMeleeXp(game, 1);
  KillIfDead(game, 0);
  player.Ammo = AddSat(player.Ammo, f.Ammo);
  f.Ammo = 0;
  const long long cap = 30LL * (16 - player.Recharge);
  if (player.Ammo > cap) player.Ammo = SatInteger(cap);
  SprayBlood(game, f.X, f.Y, 5, Int(game.Rnd() * 360), 3);
  KillIfDead(game, i);
  if (f.Alive == 0) PlaySoundFx(game, kSoundFight, Pan(f));
}

void FaceThePlayer(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  const Fighter& player = p.Fighters[0];
  GetAngleDistance(game, f.X, f.Y, player.X, player.Y);
  f.Facing = p.Angle;
  if (p.Distance < 13) Melee(game, f, i);
  if (f.Alive == 0) return;

  const double range = f.Range;
  const double weak = 3.0 * f.BulletSpeed;
  if (f.Health >= weak || range <= p.Distance) {
    if (range < p.Distance && f.PathLeft < 1) {
      f.Heading = static_cast<Integer>(p.Angle + static_cast<int>(Int(game.Rnd() * 20)) - 10);
      f.PathLeft = static_cast<float>(p.Distance + Int(game.Rnd() * 10));
    }
  } else {
    // Weak and within range: flee into the half-plane away from the player, re-rolled every frame.
    f.Heading = static_cast<Integer>(p.Angle - 270 + static_cast<int>(Int(game.Rnd() * 180)));
    f.PathLeft = 50;
  }

  const bool inside = f.X >= 0 && f.X <= 300 && f.Y >= 0 && f.Y <= 300;
  if (range > p.Distance && f.Cooldown < 1 && f.Ammo > 0 && inside) {
    FireShot(game, i);
    if (f.Ammo >= 15 * (16 - f.Recharge)) {
      FireShot(game, i);
      f.Ammo = AddSat(f.Ammo, -1);
    }
    f.Ammo = AddSat(f.Ammo, -1);
    f.Cooldown = f.Recharge;
    PlaySoundFx(game, kSoundBulletFire, Pan(f));
  }
  if (f.X < 4 || f.X > 290 || f.Y < 4 || f.Y > 290) {
    f.PathLeft = 10;
    f.Heading = p.Angle;
  }
  if (p.Distance < p.NearestEnemy) p.NearestEnemy = p.Distance;
}

void CleanerContact(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  if (p.CleanerOn != kTrue) return;
  GetAngleDistance(game, f.X, f.Y, p.CleanerX + 17, p.CleanerY + 32);
  if (p.Distance > 29) return;
  f.Y += 2;
  SprayBlood(game, f.X + 10.0, f.Y + 20.0, 5, Int(game.Rnd() * 180), 4);
  f.Health -= 2;
  PlaySoundFx(game, kSoundBlood, Pan(f));
  KillIfDead(game, i);
}

void FootSteps(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  if (game.settings.OptFootSteps != kOn) return;
  const auto slot = static_cast<std::size_t>(i);
  p.StepCounter[slot] = AddSat(p.StepCounter[slot], 1);
  if (p.StepCounter[slot] < 10) return;
  const Integer key = CInt(2.0 * f.X + IntDiv(CLng(f.Y), 2).value_or(0));
  if (key >= p.StepLastPos[slot] - 2 && key <= p.StepLastPos[slot] + 2) return;  // standing still
  const double x = Int(game.Rnd() * 10) + f.X + 4;
  const double y = Int(game.Rnd() * 10) + f.Y + 4;
  BitBlt(game.surfaces.Terain, CLng(x), CLng(y), 2, 2, game.surfaces.FootDC, 0, 0, RasterOp::SrcCopy);
  p.StepCounter[slot] = 0;
  p.StepLastPos[slot] = key;
}

void TakeAmmo(Game& game, Fighter& f, int i) {
  PlayState& p = game.play;
  for (std::size_t j = 0; j < kBoxSlots; ++j) {
    if (p.AmmoBoxOn[j] != kTrue) continue;
    GetAngleDistance(game, f.X + 10.0, f.Y + 10.0, p.AmmoBoxX[j] + 4, p.AmmoBoxY[j] + 3);
    if (p.Distance <= 11) {
      f.Ammo = AddSat(f.Ammo, p.AmmoBoxAmount[j]);
      const long long cap = 240 - 15LL * f.Recharge;
      p.AmmoBoxAmount[j] = SatInteger(f.Ammo - cap);
      if (p.AmmoBoxAmount[j] > 0) {
        f.Ammo = AddSat(f.Ammo, -static_cast<long long>(p.AmmoBoxAmount[j]));
        if (i == 0 && game.platform.fonts) {
          // The surplus stays in the pick-up and is shown beside the player.
          Surface& field = game.surfaces.Field;
          field.fontSize = 7;
          const std::string text = (std::to_string(p.AmmoBoxAmount[j]) + "        ").substr(0, 5);
          TextOutA(field, *game.platform.fonts, CLng(f.X + 6.0), CLng(f.Y + 17.0), text);
          field.fontSize = 8;
        }
      }
      if (p.AmmoBoxAmount[j] < 1) {
        p.AmmoBoxOn[j] = 0;
        PlaySoundFx(game, kSoundAmmo, Pan(f));
      }
    }
    if (i > 0 && p.AmmoBoxOn[j] == kTrue && f.Ammo < 8) {
      f.Heading = p.Angle;
      f.PathLeft = p.Distance;
    }
  }
}

const Surface& SpriteSheet(const Game& game, const std::string& kind) {
  const Surfaces& s = game.surfaces;
  if (kind.size() == 6 && kind.compare(0, 5, "AiLVL") == 0) {
    switch (kind[5]) {
      case '0': return s.AiLVL0DC;
      case '1': return s.AiLVL1DC;
      case '2': return s.AiLVL2DC;
      case '3': return s.AiLVL3DC;
      case '4': return s.AiLVL4DC;
      case '5': return s.AiLVL5DC;
      default: break;
    }
  }
  return s.PlayerDC;
}

void Draw(Game& game, const Fighter& f) {
  const int cellX = (f.Facing / 5) * 21;
  DrawMasked(game.surfaces.Field, CLng(f.X), CLng(f.Y), 21, 21, SpriteSheet(game, f.Kind), cellX, 0, cellX, 21);
}

}  // namespace

void UpdateFighters(Game& game) {
  PlayState& p = game.play;
  ControlPlayer(game);
  p.NearestEnemy = 500;
  p.FightersAlive = 0;
  for (int i = 0; i < kFighterSlots; ++i) {
    Fighter& f = p.Fighters[static_cast<std::size_t>(i)];
    if (f.Alive == 0) continue;
    p.FightersAlive = AddSat(p.FightersAlive, 1);
    KeepOnField(f);
    if (f.Cooldown > 0) --f.Cooldown;
    Walk(game, f);
    TakeHealth(game, f, i);
    if (i > 0 && p.Fighters[0].Alive != 0) FaceThePlayer(game, f, i);
    if (f.Alive != 0) CleanerContact(game, f, i);
    if (f.Alive == 0) continue;  // died in its own update: it neither walks on, picks up nor is drawn
    FootSteps(game, f, i);
    TakeAmmo(game, f, i);
    if (p.Fighters[0].Ammo < 0) p.Fighters[0].Ammo = 0;
    if (f.PathLeft > 0 && f.Ammo == 0) {
      // Out of ammunition: walk towards whatever was measured last in this pass of the fighter.
      f.Heading = p.Angle;
      f.PathLeft = p.Distance;
    }
    if (f.Heading < 0) f.Heading = static_cast<Integer>(f.Heading + 360);
    if (f.Heading > 360) f.Heading = static_cast<Integer>(f.Heading - 360);
    Draw(game, f);
  }
}

}  // namespace kesmir
