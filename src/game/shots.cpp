// Firing, flight and hits of shots.
#include "game/shots.h"

#include <cmath>
#include <utility>

#include "audio/sound_bank.h"
#include "game/blood.h"
#include "game/death.h"
#include "game/geometry.h"

namespace kesmir {

namespace {

constexpr int kSoundMiss = 2;
constexpr int kSoundFirstDamage = 11;
constexpr Colour kPowder = Rgb(255, 255, 0);
constexpr Colour kPowderDark = Rgb(192, 192, 0);
constexpr Colour kBulletMark = Rgb(128, 64, 64);
constexpr Colour kTrail = Rgb(235, 255, 0);
constexpr Colour kHead = Rgb(255, 255, 0);

void PowderMark(Game& game, double x, double y, Colour colour) {
  if (static_cast<int>(Int(game.Rnd() * 3)) != 0) return;
  const double px = x + game.Rnd() * 10 - 5;
  const double py = y + game.Rnd() * 10 - 5;
  SetPixel(game.surfaces.Terain, CLng(px), CLng(py), colour);
}

// Tests the shot against every fighter at its present point. Each test is a measurement that leaves its
// distance in Distance and, between different points, its direction in Angle. Most tests are misses far
// away, so a test only notes which measurement came last; Angle and Distance are worked out from it when
// something may read them: before a hit or a death is handled, and at the end.
void HitFighters(Game& game, Bullet& b) {
  constexpr int kNone = -2;
  constexpr int kCleaner = -1;
  PlayState& p = game.play;
  const auto centre = [&p](int u) {
    const Fighter& f = p.Fighters[static_cast<std::size_t>(u)];
    return std::pair{f.X + 10.0, f.Y + 10.0};
  };
  // Neither the shot, the Cleaner nor any fighter moves during the tests, so the Cleaner is measured once
  // and a fighter's measurement can be taken again from its index.
  bool cleanerMeasured = false;
  bool cleanerAngleKnown = false;  // its direction is worked out only when something reads it
  Integer cleanerAngle = 0;
  Integer cleanerDistance = 0;
  bool cleanerSamePoint = false;
  int distanceFrom = kNone;  // the latest measurement
  int angleFrom = kNone;     // the latest measurement between different points
  const auto settle = [&] {
    if (angleFrom == kCleaner) {
      if (!cleanerAngleKnown) {
        GetAngleDistance(game, b.X, b.Y, p.CleanerX + 17, p.CleanerY + 35);
        cleanerAngle = p.Angle;
        cleanerAngleKnown = true;
      }
      p.Angle = cleanerAngle;
    } else if (angleFrom >= 0) {
      const auto [x, y] = centre(angleFrom);
      GetAngleDistance(game, x, y, b.X, b.Y);
    }
    if (distanceFrom == kCleaner) {
      p.Distance = cleanerDistance;
    } else if (distanceFrom >= 0) {
      const auto [x, y] = centre(distanceFrom);
      p.Distance = CInt(std::sqrt((b.X - x) * (b.X - x) + (b.Y - y) * (b.Y - y)));
    }
    angleFrom = distanceFrom = kNone;
  };
  for (int u = 0; u < kFighterSlots; ++u) {
    Fighter& f = p.Fighters[static_cast<std::size_t>(u)];
    if (f.Alive == 0 || u == b.Owner) continue;
    if (p.CleanerOn == kTrue) {
      if (!cleanerMeasured) {
        const double dx = p.CleanerX + 17 - b.X;  // as GetAngleDistance measures it
        const double dy = p.CleanerY + 35 - b.Y;
        cleanerMeasured = true;
        cleanerDistance = CInt(std::sqrt(dx * dx + dy * dy));
        cleanerSamePoint = dx == 0 && dy == 0;
      }
      distanceFrom = kCleaner;
      if (!cleanerSamePoint) angleFrom = kCleaner;
      if (cleanerDistance < 29) {
        // The Cleaner swallows the shot. Every later test would measure the Cleaner again and stop there.
        b.Life = 0;
        break;
      }
    }
    const auto [fromX, fromY] = centre(u);
    const double dx = b.X - fromX;
    const double dy = b.Y - fromY;
    const double squared = dx * dx + dy * dy;
    distanceFrom = u;
    if (dx != 0 || dy != 0) angleFrom = u;  // equal points leave the angle as it was
    const bool hit = squared < 64 && CInt(std::sqrt(squared)) < 8;  // a distance of 8 or more rounds to a miss
    if (hit || f.Health < 1) settle();
    if (hit) {
      if (f.Health > 0 && b.Owner == 0) p.Score = AddSat(p.Score, f.BulletSpeed - 2);
      b.Life = 0;
      if (b.Owner == 0) RecordShot(game, kTrue);
      SprayBlood(game, f.X + 10.0, f.Y + 10.0, 40, b.Direction, b.Speed);
      const Fighter& shooter = p.Fighters[static_cast<std::size_t>(b.Owner)];
      f.Health = static_cast<float>(f.Health - 3.0 * shooter.BulletSpeed);
      PlaySoundFx(game, kSoundFirstDamage + static_cast<int>(Int(game.Rnd() * 6)), f.X * 10.0 / 3.0);
    }
    if (f.Health < 1) {
      settle();
      KillIfDead(game, u);
    }
    // A kill by an opponent's shot is not the player's: take back the kill KillIfDead counted. Intended to
    // apply to the player's own death as well, as the kill count always has.
    if (f.Health < 1 && b.Owner != 0 && b.Life < 1) p.Kills = AddSat(p.Kills, -1);
  }
  settle();
}

}  // namespace

void FireShot(Game& game, int shooter) {
  PlayState& p = game.play;
  const double degToRad = game.app.DegToRad;
  int slot = -1;
  for (int i = 0; i < kBulletSlots; ++i) {
    if (p.Bullets[static_cast<std::size_t>(i)].Life < 1) {
      slot = i;
      break;
    }
  }
  if (slot < 0) return;
  Bullet& b = p.Bullets[static_cast<std::size_t>(slot)];
  const Fighter& f = p.Fighters[static_cast<std::size_t>(shooter)];
  b.Owner = static_cast<Integer>(shooter);
  b.Direction = SingleText(f.Accuracy * game.Rnd() + f.Facing - f.Accuracy / 2);  // Integer \ truncates
  b.X = DoubleText(f.X + 10.0 + 3.0 * std::cos((f.Facing - 50) * degToRad));
  b.Y = DoubleText(f.Y + 10.0 + 3.0 * std::sin((f.Facing - 50) * degToRad));
  b.StepX = static_cast<float>(std::cos(b.Direction * degToRad));
  b.StepY = static_cast<float>(std::sin(b.Direction * degToRad));
  b.Life = CInt(f.Range + game.Rnd() * 7);
  b.Speed = f.BulletSpeed;
  PowderMark(game, b.X, b.Y, kPowder);
  PowderMark(game, b.X, b.Y, kPowderDark);
}

void MoveBullets(Game& game) {
  PlayState& p = game.play;
  Surface& field = game.surfaces.Field;
  for (Bullet& b : p.Bullets) {
    if (b.Life <= 0) continue;
    b.Life = AddSat(b.Life, -static_cast<long long>(b.Speed));
    if (b.Life < 1) {
      SetPixel(game.surfaces.Terain, CLng(b.X), CLng(b.Y), kBulletMark);
      PlaySoundFx(game, kSoundMiss, b.X * 10.0 / 3.0);
      if (b.Owner == 0) {
        RecordShot(game, 0);
        continue;
      }
      // An opponent's spent shot still makes this frame's flight and can still hit.
    }
    for (int step = 0; step < b.Speed; ++step) {
      b.X = DoubleText(b.X + b.StepX);
      b.Y = DoubleText(b.Y + b.StepY);
      if (game.settings.OptBulletFly == kOn) SetPixel(field, CLng(b.X), CLng(b.Y), kTrail);
    }
    HitFighters(game, b);
    SetPixel(field, CLng(b.X), CLng(b.Y), kHead);
  }
}

}  // namespace kesmir
