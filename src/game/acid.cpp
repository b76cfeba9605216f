// Acid pick-ups: dropping them at a death, drawing and taking them, and the effects they start.
#include "game/acid.h"

#include "audio/sound_bank.h"
#include "game/blood.h"
#include "game/geometry.h"

namespace kesmir {

namespace {

constexpr int kSoundHealth = 4;
constexpr int kSoundAcidPickUp = 27;
// The sound each kind plays when taken: two good kinds, then two bad ones.
constexpr int kKindSounds[kAcidKinds] = {32, 31, 28, 29};
constexpr Integer kEffectFrames = 600;
constexpr Integer kFastTriggerAmmo = 333;
constexpr int kIconY = 270;
constexpr int kIconSize = 30;

bool IsGood(std::size_t kind) { return kind < 2; }

void Drop(Game& game, Integer index) {
  PlayState& p = game.play;
  const auto kind = static_cast<std::size_t>(Int(game.Rnd() * kAcidKinds));
  // At most one acid of a kind lies on the field: a kind already lying means no drop, even if others are free.
  if (p.AcidOn[kind] == kTrue) return;
  if (index < 0 || index >= kFighterSlots) return;
  const Fighter& f = p.Fighters[static_cast<std::size_t>(index)];
  p.AcidOn[kind] = kTrue;
  p.AcidX[kind] = DoubleText(Int(game.Rnd() * 10) + f.X - 5);
  p.AcidY[kind] = DoubleText(Int(game.Rnd() * 10) + f.Y - 5);
}

// Draws the acids lying on the field, each flickering between its two cells, and lets the player take one.
void DrawAndCollect(Game& game) {
  PlayState& p = game.play;
  Surfaces& s = game.surfaces;
  const Fighter& player = p.Fighters[0];
  for (std::size_t k = 0; k < kAcidKinds; ++k) {
    if (p.AcidOn[k] != kTrue) continue;
    const int cell = static_cast<int>(Int(game.Rnd() * 2)) * 7;
    BitBlt(s.Field, CLng(p.AcidX[k]), CLng(p.AcidY[k]), 7, 7, s.AcidDC, cell, 0, RasterOp::SrcCopy);
    GetAngleDistance(game, player.X + 10.0, player.Y + 10.0, p.AcidX[k] + 3, p.AcidY[k] + 3);
    if (p.Distance > 9) continue;
    const double at = player.X * 10.0 / 3.0;
    p.AcidOn[k] = 0;
    PlaySoundFx(game, kSoundHealth, at);
    p.AcidTimer[k] = kEffectFrames;
    PlaySoundFx(game, kSoundAcidPickUp, at);
    PlaySoundFx(game, kKindSounds[k], 500);
    PlaySoundFx(game, kSoundHeart, at);
    ++game.effects.Tallies.DrugsTaken;
    break;  // one acid per call
  }
}

// One frame of a running effect of the kind; `firstFrame` when the timer stood at 600 before this call.
void ApplyEffect(Game& game, std::size_t kind, bool firstFrame) {
  PlayState& p = game.play;
  InputState& in = game.input;
  Fighter& player = p.Fighters[0];
  auto jitter = [&game](int range) { return Int(game.Rnd() * range) - (range - 1) / 2; };
  switch (kind) {
    case 0:  // a full magazine and a trigger with no delay
      if (firstFrame) player.Ammo = kFastTriggerAmmo;
      player.Cooldown = 0;
      p.FireMode = 1;
      break;
    case 1:  // health held within 5 of 30 x bullet speed, whatever hits the player
      player.Health = static_cast<float>(Int(game.Rnd() * 11) + 30.0 * player.BulletSpeed - 5);
      break;
    case 2:  // the shakes
      player.X = static_cast<float>(player.X + jitter(5));
      player.Y = static_cast<float>(player.Y + jitter(5));
      SprayBlood(game, player.X + 10.0, player.Y + 10.0, 1, Int(game.Rnd() * 360), 5);
      break;
    case 3:  // trembling hands and a trigger that goes off by itself
      player.X = static_cast<float>(player.X + jitter(3));
      player.Y = static_cast<float>(player.Y + jitter(3));
      in.CursorX = CLng(in.CursorX + jitter(3));
      in.CursorY = CLng(in.CursorY + jitter(3));
      if (static_cast<int>(Int(game.Rnd() * 5)) == 1) in.FireHeld = kTrue;  // held until pressed and released
      player.Health = static_cast<float>(player.Health + jitter(3));
      SprayBlood(game, player.X + 10.0, player.Y + 10.0, 1, Int(game.Rnd() * 360), 5);
      break;
    default: break;
  }
}

void DrawIcon(Game& game, std::size_t kind) {
  PlayState& p = game.play;
  const bool goodRuns = p.AcidTimer[0] > 0 || p.AcidTimer[1] > 0;
  const bool badRuns = p.AcidTimer[2] > 0 || p.AcidTimer[3] > 0;
  // Cell 0 good, 30 bad, 60 when good and bad run together.
  int cell = IsGood(kind) ? 0 : kIconSize;
  if (IsGood(kind) ? badRuns : goodRuns) cell = 2 * kIconSize;
  DrawMasked(game.surfaces.Field, p.AcidIconX, kIconY, kIconSize, kIconSize, game.surfaces.AcidHearthDC, cell, 0,
             cell, kIconSize);
}

}  // namespace

void UpdateAcid(Game& game, Integer drop, Integer index) {
  PlayState& p = game.play;
  const Fighter& player = p.Fighters[0];
  // A dropping call runs the whole procedure too, so in a frame with a drop the effects act twice. Intended:
  // an effect lasts 600 calls, and a frame full of deaths shortens it a little.
  if (drop == kTrue) Drop(game, index);
  DrawAndCollect(game);

  p.AcidIconX = player.Ammo > 14 ? 240 : 270;  // beside the bomb icon while the player can afford a bomb
  p.AcidIconShown = player.X > 220 && player.Y > 260 ? kFalse : kTrue;

  for (std::size_t k = 0; k < kAcidKinds; ++k) {
    if (p.AcidTimer[k] <= 0) continue;
    const bool firstFrame = p.AcidTimer[k] == kEffectFrames;
    p.AcidTimer[k] = static_cast<Integer>(p.AcidTimer[k] - 1);
    ApplyEffect(game, k, firstFrame);
    // The end of any effect stops the heart-beat, even while another still runs. Intended: the silence marks
    // the end of the first effect; the beat comes back with the next acid taken or a resumed game.
    if (p.AcidTimer[k] == 0) StopSound(game, kSoundHeart);
    if (p.AcidIconShown == kTrue) DrawIcon(game, k);
  }
}

}  // namespace kesmir
