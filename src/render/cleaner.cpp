// The Cleaner: once a minute of play it drives down the field and restores clean ground behind it.
#include "audio/sound_bank.h"
#include "render/effects.h"

namespace kesmir {

namespace {

constexpr int kWidth = 50;
constexpr int kHeight = 64;
constexpr int kBandWidth = 49;
constexpr int kBandHeight = 10;
constexpr int kBandOffset = 40;  // the strip lies this far below the vehicle's top
constexpr int kStartSecond = 59;

}  // namespace

void UpdateCleaner(Game& game, Integer spawn) {
  PlayState& p = game.play;
  Surfaces& s = game.surfaces;
  if (spawn != 0 && p.CleanerOn == 0) {
    p.CleanerOn = kTrue;
    p.CleanerY = -kHeight;
    game.Randomize();
    p.CleanerX = Int(game.Rnd() * 260);
    PlaySoundFx(game, kSoundCleaner, p.CleanerX * 10.0 / 3.0);
    ++game.effects.Tallies.CleanerRuns;
  }
  if (p.CleanerOn == kTrue) {
    p.CleanerY = DoubleText(p.CleanerY + 2);
    if (p.CleanerY > kFieldSize) p.CleanerOn = 0;  // this last step is still carried out
    const int x = CLng(p.CleanerX);
    const int y = CLng(p.CleanerY);
    // The clean-ground picture is taken from the same height as the strip it replaces.
    BitBlt(s.Terain, x, y + kBandOffset, kBandWidth, kBandHeight, s.CleanLineDC, 0, y + kBandOffset,
           RasterOp::SrcCopy);
    DrawMasked(s.Field, x, y, kWidth, kHeight, s.CleanerDC, 0, 0, kWidth, 0);
  }
  if (game.clock.GameSeconds == kStartSecond && p.CleanerOn == 0) UpdateCleaner(game, kTrue);
}

}  // namespace kesmir
