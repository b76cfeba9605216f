// The blood particle emitter: creates particles and moves every particle in flight.
#include "game/blood.h"

#include <cmath>

#include "audio/sound_bank.h"
#include "game/geometry.h"

namespace kesmir {

namespace {

constexpr int kSoundBlood = 3;
constexpr Colour kBloodRed = Rgb(255, 0, 0);
// Dir -2 creates particles without moving any (the menu's edge particles).
constexpr double kCreateOnly = -2;

void Create(Game& game, double x, double y, double count, double dir, double speed) {
  PlayState& p = game.play;
  if (count > 15) PlaySoundFx(game, kSoundBlood, x * 10.0 / 3.0);
  const double spread = Int(game.Rnd() * 80);  // one spread for the whole call
  const double halfSpread = static_cast<double>(IntDiv(spread, 2).value_or(0));
  const Integer perFrame = SatInteger(IntDiv(speed, 3).value_or(0));
  for (std::size_t i = 0; i < kBloodSlots; ++i) {
    if (p.BloodLife[i] > 0) continue;
    count -= 1;
    p.BloodX[i] = static_cast<float>(x);
    p.BloodY[i] = static_cast<float>(y);
    p.BloodAngle[i] = dir < 0 ? CInt(game.Rnd() * 360) : CInt(dir + game.Rnd() * spread - halfSpread);
    p.BloodSpeed[i] = perFrame;
    p.BloodLife[i] = CInt(game.Rnd() * 15 + 5);
    if (count < 1) break;
  }
}

void Move(Game& game) {
  PlayState& p = game.play;
  const bool flying = game.settings.OptBloodFly == kOn;
  // Stains only while a game runs: on the menu screens the particles vanish where they land.
  const bool staining = game.settings.OptBloodStays == kOn && game.app.GameStopped == 0 &&
                        game.app.GameStarted == kTrue;
  // Every call moves every particle in flight, thousands a frame under fire.
  Surface& field = game.surfaces.Field;
  for (std::size_t i = 0; i < kBloodSlots; ++i) {
    const Integer life = p.BloodLife[i];
    if (life < 1) continue;
    p.BloodLife[i] = static_cast<Integer>(life - 1);
    const Integer angle = p.BloodAngle[i];
    const float x = static_cast<float>(p.BloodX[i] + p.BloodSpeed[i] * CosDeg(game, angle));
    const float y = static_cast<float>(p.BloodY[i] + p.BloodSpeed[i] * SinDeg(game, angle));
    p.BloodX[i] = x;
    p.BloodY[i] = y;
    if (life != 1) {
      if (flying) SetPixel(field, CLng(x), CLng(y), kBloodRed);
    } else if (staining) {
      SetPixel(game.surfaces.Terain, CLng(x), CLng(y), kBloodRed);
      ++game.effects.Tallies.BloodStains;
    }
  }
}

}  // namespace

void SprayBlood(Game& game, double x, double y, double count, double dir, double speed) {
  if (count > 0) Create(game, x, y, count, dir, speed);
  if (dir != kCreateOnly) Move(game);
}

}  // namespace kesmir
