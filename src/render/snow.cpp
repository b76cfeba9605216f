// Snow: single-pixel flakes drifting in from the top and the left and settling into the terrain; how many
// are in play follows the machine's spare time and the player's bullet experience.
#include <algorithm>
#include <cmath>

#include "game/geometry.h"
#include "render/effects.h"

namespace kesmir {

namespace {

// At or below this spare time per pass (about 3 ms) the snow thins out by one slot per frame.
constexpr Long kBusySpin = 10000;
constexpr Integer kCrowded = 1000;
constexpr int kLastSlot = kSnowSlots - 1;
constexpr double kEntry = -15;

// Rounds a step of the amount rule the way a Single is rounded to an Integer.
Integer RoundAmount(double value) { return CInt(static_cast<float>(value)); }

Integer AdaptAmount(Game& game) {
  Integer a = game.effects.SnowAmount;
  if (game.clock.MaxSpin <= kBusySpin) {
    if (a > 0) a = static_cast<Integer>(a - 1);
    return a;
  }
  if (a >= kCrowded) return static_cast<Integer>(a - 20);
  // Each step uses the value the one before left: the amount drifts faster the larger it is.
  if (a < 41) a = RoundAmount(a + game.Rnd());
  if (a > 40) a = RoundAmount(a + game.Rnd() * 4 - 2);
  if (a > 50) a = RoundAmount(a + game.Rnd() * 8 - 4);
  if (a > 250) a = RoundAmount(a + game.Rnd() * 16 - 8);
  const Integer xp = game.play.Fighters[0].BulletXp;
  if (xp < 30) a = AddSat(a, -2);
  if (xp > 74) a = AddSat(a, 2);
  return std::max<Integer>(a, 0);
}

void StartFlake(Game& game, SnowFlake& flake) {
  flake.Active = kTrue;
  if (static_cast<int>(Int(game.Rnd() * 2)) == 1) {  // from the top
    flake.X = Int(game.Rnd() * 300);
    flake.Y = kEntry;
    flake.Angle = static_cast<Integer>(Int(game.Rnd() * 60) + 30);
  } else {  // from the left
    flake.X = kEntry;
    flake.Y = Int(game.Rnd() * 300);
    flake.Angle = static_cast<Integer>(Int(game.Rnd() * 50) + 20);
  }
  flake.Speed = static_cast<Integer>(Int(game.Rnd() * 5) + 2);
  game.Randomize();
  flake.GroundY = static_cast<Integer>(Int(game.Rnd() * 300));
}

// The dot a settled flake leaves: slower flakes lie lighter, the fastest are mid-grey.
Colour SettledColour(Integer speed) {
  switch (speed) {
    case 2: return Rgb(224, 224, 224);
    case 4:
    case 5: return Rgb(192, 192, 192);
    case 6: return Rgb(128, 128, 128);
    default: return Rgb(255, 255, 255);
  }
}

}  // namespace

void UpdateSnow(Game& game) {
  EffectsState& e = game.effects;
  Surfaces& s = game.surfaces;
  e.SnowAmount = AdaptAmount(game);
  if (e.SnowAmount < 1) return;
  // The amount can pass the last slot for a frame before it is brought down by 20; the flakes beyond the
  // table are skipped.
  const int last = std::min<int>(e.SnowAmount, kLastSlot);
  for (int i = 0; i <= last; ++i) {
    SnowFlake& flake = e.SnowFlakes[static_cast<std::size_t>(i)];
    if (flake.Active == 0) StartFlake(game, flake);
    if (flake.Y > 300 || flake.X > 300) flake.Active = 0;  // gone, after this last move
    flake.Angle = AddSat(flake.Angle, static_cast<long long>(Int(game.Rnd() * 9)) - 4);  // wobble
    flake.X = DoubleText(flake.X + flake.Speed * CosDeg(game, flake.Angle));
    flake.Y = DoubleText(flake.Y + flake.Speed * SinDeg(game, flake.Angle));
    const int x = CLng(flake.X);
    const int y = CLng(flake.Y);
    if (flake.Y >= flake.GroundY) {
      if (SetPixel(s.Terain, x, y, SettledColour(flake.Speed))) ++e.Tallies.FlakesSettled;
      flake.Active = 0;
    } else {
      SetPixel(s.Field, x, y, Rgb(255, 255, 255));
    }
  }
}

}  // namespace kesmir
