// Death, corpses and drops; the player's experience.
#include "game/death.h"

#include "audio/sound_bank.h"
#include "game/acid.h"
#include "render/pickups.h"

namespace kesmir {

namespace {
constexpr int kSoundLevelUp = 7;
}

void KillIfDead(Game& game, int index) {
  PlayState& p = game.play;
  Fighter& f = p.Fighters[static_cast<std::size_t>(index)];
  // A fighter dies once: a second blow in the same frame neither counts nor drops anything again.
  if (f.Health >= 1 || f.Alive == 0) return;
  f.Health = 0;
  f.Alive = 0;
  if (index > 0) p.Kills = AddSat(p.Kills, 1);
  if (static_cast<int>(Int(game.Rnd() * 13)) == 1) UpdateAcid(game, kTrue, static_cast<Integer>(index));
  const int k = static_cast<int>(Int(game.Rnd() * 4));
  if (game.settings.OptBloodStays == kOn) {
    DrawMasked(game.surfaces.Terain, CLng(f.X), CLng(f.Y), 20, 20, game.surfaces.DeadDC, 0, 20 * k, 20, 20 * k);
  }
  if (static_cast<int>(Int(game.Rnd() * 3)) == 1) UpdateHealthBoxes(game, kTrue, f.X, f.Y);
  UpdateAmmoBoxes(game, kTrue, f.X, f.Y, f.Ammo);
  p.ScoreInfoOn = kTrue;
}

void RecordShot(Game& game, Integer hit) {
  PlayState& p = game.play;
  Fighter& player = p.Fighters[0];
  for (std::size_t i = 9; i >= 2; --i) p.HitHistory[i] = p.HitHistory[i - 1];
  p.HitHistory[1] = hit != 0 ? 1 : 0;
  p.HitsInHistory = 0;
  for (Integer h : p.HitHistory)
    if (h == 1) ++p.HitsInHistory;
  if (hit != 0) player.AccuracyXp = AddSat(player.AccuracyXp, p.HitsInHistory);
  if (player.AccuracyXp >= 100 && player.Accuracy >= 0) {
    player.AccuracyXp = 0;
    player.Accuracy = AddSat(player.Accuracy, -3);
    PlaySoundFx(game, kSoundLevelUp, kLevelUpPosX);
  }
  if (player.AccuracyXp >= 100) player.AccuracyXp = 100;
}

void AddMeleeXp(Game& game, int points) {
  Fighter& player = game.play.Fighters[0];
  // At melee 11 the experience keeps counting; it stops at the field's limit instead of wrapping.
  player.MeleeXp = AddSat(player.MeleeXp, points);
  if (player.MeleeXp >= 100 && player.Melee <= 10) {
    player.Melee = AddSat(player.Melee, 1);
    player.MeleeXp = 0;
    PlaySoundFx(game, kSoundLevelUp, kLevelUpPosX);
  }
}

void AddBulletXp(Game& game) {
  PlayState& p = game.play;
  Fighter& player = p.Fighters[0];
  p.NearestEnemy = AddSat(100, -static_cast<long long>(p.NearestEnemy));
  player.BulletXp = AddSat(player.BulletXp, IntDiv(p.NearestEnemy, 20).value_or(0));
  if (player.BulletXp >= 100 && player.BulletSpeed <= 13) {
    player.BulletXp = 0;
    player.BulletSpeed = AddSat(player.BulletSpeed, 1);
    player.Range = DoubleText(player.Range + 10);
    player.Speed = DoubleText(player.Speed + 0.5);
    PlaySoundFx(game, kSoundLevelUp, kLevelUpPosX);
  }
  if (player.BulletXp > 99) player.BulletXp = 100;
}

}  // namespace kesmir
