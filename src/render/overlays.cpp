// The play-field overlays.
#include "render/overlays.h"

#include <string>

#include "scores/high_scores.h"
#include "scores/score_line.h"

namespace kesmir {
namespace {

// The score information stays for this many frames after a death, plus the one that ends it.
constexpr Integer kScoreInfoFrames = 240;

// "  k(" + the score of the row above place k + ")": the place within reach and the score to beat for it.
std::string PlaceText(const ScoreLists& lists, int total) {
  std::string text = "  10(" + std::string(Trim(lists.HsScore[9])) + ")";
  for (int k = 9; k >= 1; --k) {
    if (ScoreValue(lists.HsScore[static_cast<std::size_t>(k)]) < total) {
      text = "  " + std::to_string(k) + "(" + std::string(Trim(lists.HsScore[static_cast<std::size_t>(k - 1)])) + ")";
    }
  }
  return text;
}

void DrawScoreInfo(Game& game) {
  PlayState& p = game.play;
  Surfaces& s = game.surfaces;
  Integer& frames = game.effects.ScoreInfoFrames;
  frames = AddSat(frames, 1);
  if (frames > kScoreInfoFrames) {
    p.ScoreInfoOn = 0;
    frames = 0;
  }
  s.Field.fontSize = 12;
  if (game.scores.HsScore[0].empty()) UpdateHighScores(game, 0);
  const Integer total = AddSat(p.Score, p.StatBonus);
  const std::string place = PlaceText(game.scores, total);
  DrawMasked(s.Field, 3, 282, 85, 15, s.LayerScoreDC, 0, 0, 0, 15);
  s.Field.foreColour = Rgb(192, 255, 192);
  if (game.platform.fonts) TextOutA(s.Field, *game.platform.fonts, 5, 280, std::to_string(total));
  s.Field.fontSize = 8;
  if (game.platform.fonts) TextOutA(s.Field, *game.platform.fonts, 35, 283, place);
}

void DrawDebugLine(Game& game) {
  Surfaces& s = game.surfaces;
  if (s.Field.fontSize != 8) s.Field.fontSize = 8;
  const std::string text = "Vol=" + std::to_string(game.settings.SoundVolume) +
                           " Snow=" + std::to_string(game.effects.SnowAmount) +
                           " Fps=" + std::to_string(game.clock.Fps) + "(" + std::to_string(game.clock.MaxSpin / 30) + ")";
  DrawMasked(s.Field, 1, 3, 298, 13, s.LayerDC, 0, 0, 0, 18);
  if (game.platform.fonts) TextOutA(s.Field, *game.platform.fonts, 3, 2, text);
}

}  // namespace

void DrawFireMode(Game& game) {
  const PlayState& p = game.play;
  const bool manyBullets = p.Fighters[0].Ammo > 14;  // the bomb icon then takes the corner
  int baseX = manyBullets ? 240 : 270;
  for (const Integer timer : p.AcidTimer) {
    if (timer > 0) baseX = manyBullets ? 210 : 240;  // an acid icon takes a place too
  }
  int width = 0;
  if (p.FireMode == 1) width = 4;
  if (p.FireMode == 2) width = 8;
  if (p.FireMode == 3) width = 11;
  // The icons give way while the player stands in the bottom-right corner.
  if (p.AcidIconShown != 0 && width > 0) {
    DrawMasked(game.surfaces.Field, baseX + 10, 282, width, 11, game.surfaces.BulletsOutDC, 0, 0, 0, 11);
  }
}

void DrawOverlays(Game& game) {
  const Fighter& player = game.play.Fighters[0];
  // Each overlay gives way while the player stands where it would cover the figure.
  if (player.Y < 260 && game.play.ScoreInfoOn != 0 && game.settings.OptScoreInfo == kOn) DrawScoreInfo(game);
  if (player.Y > 20 && game.settings.OptDebugInfo == kOn) DrawDebugLine(game);
}

}  // namespace kesmir
