// The bomb explosion: 27 frames of animation with the screen shaking, the crater and the blast on frame 8.
#include "game/blood.h"
#include "game/death.h"
#include "game/geometry.h"
#include "render/effects.h"

namespace kesmir {

namespace {

constexpr int kSize = 64;
constexpr Integer kLastFrame = 26;
constexpr Integer kBlastFrame = 8;
constexpr int kBlastReach = 49;  // a fighter whose centre is this close or closer is hurt

void Blast(Game& game) {
  EffectsState& e = game.effects;
  PlayState& p = game.play;
  Surfaces& s = game.surfaces;
  DrawMasked(s.Terain, CLng(e.ExplosionX), CLng(e.ExplosionY), kSize, kSize, s.BoomDirtDC, 0, 0, kSize, 0);
  for (int i = 0; i < kFighterSlots; ++i) {
    Fighter& f = p.Fighters[static_cast<std::size_t>(i)];
    if (f.Alive != kTrue) continue;
    GetAngleDistance(game, f.X + 10.0, f.Y + 10.0, e.ExplosionX + 32, e.ExplosionY + 32);
    if (p.Distance > kBlastReach) continue;
    // Damage grows with the fighter's own bullet speed: level 1 takes none.
    const Integer damage = SatInteger(static_cast<long long>(f.BulletSpeed - 1) * (50 - p.Distance));
    f.Health = static_cast<float>(f.Health - damage);
    // Away from the blast; taken before the kill, whose acid drop measures with the same Angle.
    const double away = p.Angle + 180.0;
    KillIfDead(game, i);
    SprayBlood(game, f.X + 10.0, f.Y + 10.0, 30, away, 5);
  }
}

}  // namespace

void UpdateExplosion(Game& game, Integer spawn, double x, double y) {
  EffectsState& e = game.effects;
  PlayState& p = game.play;
  if (spawn != 0) {
    // A bomb arriving during an explosion restarts the animation at the new place.
    p.ShakeOn = kTrue;
    e.ExplosionX = DoubleText(x);
    e.ExplosionY = DoubleText(y);
    e.ExplosionFrame = 0;
    ++e.Tallies.Explosions;
  }
  if (p.ShakeOn == 0) return;
  const Integer frame = e.ExplosionFrame;
  Surfaces& s = game.surfaces;
  DrawMasked(s.Field, CLng(e.ExplosionX), CLng(e.ExplosionY), kSize, kSize, s.ExplosionDC, frame * kSize, 0,
             frame * kSize, kSize);
  e.ExplosionFrame = AddSat(frame, 1);
  if (frame >= kLastFrame) p.ShakeOn = 0;
  if (frame == kBlastFrame) Blast(game);
}

}  // namespace kesmir
