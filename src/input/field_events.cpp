// Handlers of the play field's window events; they only set flags that the next pass reads.
#include "input/field_events.h"

#include "audio/sound_bank.h"

namespace kesmir {

void ResumeGame(Game& game) {
  game.app.GameStopped = 0;
  SetSoundVolume(game, kSoundGameAmbience, 32 * game.settings.SoundVolume - 3300);
  PlaySoundLooping(game, kSoundGameAmbience);
  StopSound(game, kSoundMenuAmbience);
}

void Field_KeyDown(Game& game, int keyCode) {
  const bool movement = keyCode == kVkD || keyCode == kVkW || keyCode == kVkS || keyCode == kVkA;
  if (game.app.GameStopped != 0 && movement) ResumeGame(game);
}

void Field_KeyUp(Game& game, int keyCode) {
  if (keyCode == kVkControl || keyCode == kVkQ) game.input.FireModeKey = kTrue;
}

void Field_MouseDown(Game& game, int button) {
  if (button == 1) game.input.FireHeld = kTrue;
  if (button == 2) game.input.BombClick = kTrue;
}

void Field_MouseUp(Game& game, int button) {
  if (button == 1) game.input.FireHeld = 0;
  if (button == 2) game.input.BombClick = 0;
}

}  // namespace kesmir
