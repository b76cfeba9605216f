// The end of a game.
#include "app/end_game.h"

#include <algorithm>

#include "app/options.h"
#include "app/status_bar.h"
#include "audio/sound_bank.h"
#include "scores/high_scores.h"

namespace kesmir {

void EndGame(Game& game) {
  PlayState& p = game.play;
  Surfaces& s = game.surfaces;
  Settings& o = game.settings;
  p.Fighters[0].Health = 0;
  DrawStatusBar(game);
  game.app.GameStopped = 0;
  game.app.GameStarted = 0;
  s.MenuField.SetPicture(s.Field);
  BlendPicture(s.MainMenuDC, 15, 15, 270, 270, s.MenuField, 0, 0, 270, 270);
  if (game.platform.recorder && !game.platform.recorder->GameEnding(game)) return;
  UpdateHighScores(game, AddSat(p.StatBonus, p.Score));
  SetSoundVolume(game, kSoundMenuAmbience, 32 * o.SoundVolume - 3201);
  PlaySoundLooping(game, kSoundMenuAmbience);
  o.TimesPlayed = o.TimesPlayed < 2147483647 ? o.TimesPlayed + 1 : o.TimesPlayed;
  // The game's length in whole minutes, halves up.
  const long long minutes = static_cast<long long>(game.clock.GameMinutes) + (game.clock.GameSeconds > 29 ? 1 : 0);
  o.PlayTimeTotal = static_cast<Long>(std::min<long long>(o.PlayTimeTotal + minutes, 2147483647LL));
  LoadSaveOptions(game, -1);
}

}  // namespace kesmir
