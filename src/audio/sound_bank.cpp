// The sound bank.
#include "audio/sound_bank.h"

#include "app/progress.h"
#include "core/numbers.h"

namespace kesmir {

void LoadSounds(Game& game) {
  for (std::size_t i = 0; i < kSoundFiles.size() && !game.app.Ended; ++i) ShowProgress(game);
  game.audio.Loaded = true;
}

void ReleaseSounds(Game& game) { game.audio.Loaded = false; }

void PlaySoundFx(Game&, int, double) {}

void PlaySoundFx(Game& game, std::string_view soundId, double posX) {
  const auto number = ParseNumber(soundId);
  if (!number || *number != Int(*number)) return;
  PlaySoundFx(game, static_cast<int>(CLng(*number)), posX);
}

void StopSound(Game&, int) {}
void SetSoundVolume(Game&, int, Long) {}
void PlaySoundLooping(Game&, int) {}

}  // namespace kesmir
