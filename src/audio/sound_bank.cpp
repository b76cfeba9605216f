// The sound bank: loading the sound files, and playing, stopping and turning the sounds by number.
#include "audio/sound_bank.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/folders.h"
#include "app/progress.h"

namespace kesmir {

namespace {

constexpr Integer kMuted = 8;    // SoundMuted when the options screen found the volume at 0
constexpr Integer kMono = 8;     // OptMono when every sound gets the middle pan
constexpr double kMiddle = 500;  // the pan scale position that mono gives every sound

// The sound output when the buffer holds its sound; nullptr when there is nothing to play.
ISound* Output(Game& game, int buffer) {
  if (buffer < 0 || !game.audio.Loaded || !game.audio.BufferReady[static_cast<std::size_t>(buffer)]) return nullptr;
  return game.platform.sound;
}

}  // namespace

void LoadSounds(Game& game) {
  AudioState& audio = game.audio;
  ISound* sound = game.platform.sound;
  std::string reason;
  const bool open = sound && sound->Open(kSoundBuffers, reason);
  if (sound && !open) {
    std::fprintf(stderr, "kesmir: no sound output %s%s%s; the game plays silently\n",
                 reason.empty() ? "was found" : "(", reason.c_str(), reason.empty() ? "" : ")");
  }
  audio.BufferReady.fill(false);
  for (std::size_t i = 0; i < kSounds.size() && !game.app.Ended; ++i) {
    if (open) {
      const auto path = DataPath(game, "Sounds/" + std::string(kSounds[i].file) + ".wav");
      audio.BufferReady[i] = sound->Load(static_cast<int>(i), path.string());
      if (!audio.BufferReady[i]) std::fprintf(stderr, "kesmir: cannot load sound %s\n", path.c_str());
    }
    ShowProgress(game);
  }
  audio.Loaded = true;
}

void ReleaseSounds(Game& game) {
  AudioState& audio = game.audio;
  for (std::size_t i = 0; i < audio.BufferReady.size(); ++i) {
    if (audio.BufferReady[i] && game.platform.sound) game.platform.sound->Unload(static_cast<int>(i));
    audio.BufferReady[i] = false;
  }
  audio.Loaded = false;
}

void PlaySoundFx(Game& game, int soundId, double posX) {
  const Settings& settings = game.settings;
  if (settings.SoundMuted == kMuted) return;
  if (settings.OptMono == kMono) posX = kMiddle;
  // Not centred on the field, and intended: the left edge is 10 dB left, the middle 4.3 dB right.
  const double pan = posX * (100.0 / 700.0) * 20.0 - 1000.0;
  const int buffer = SoundBuffer(soundId);
  if (buffer < 0) return;
  const SoundRow& row = kSounds[static_cast<std::size_t>(buffer)];
  const Long volume = std::min<Long>(0, 32 * settings.SoundVolume - 3200 + row.offset);
  // Drawn even when the sound did not load, so that the game's random sequence does not depend on the
  // sound output.
  const Long start = row.start == kRandomStart ? CLng(game.Rnd() * 500) : row.start;
  ISound* sound = Output(game, buffer);
  if (!sound) return;
  sound->SetVolume(buffer, volume);
  sound->SetPan(buffer, CLng(pan));  // a pan out of range fails and the previous one stays
  sound->Play(buffer, start, row.loops);
}

void PlaySoundFx(Game& game, std::string_view soundId, double posX) {
  const auto number = ParseNumber(soundId);
  if (!number || *number != Int(*number)) return;
  PlaySoundFx(game, static_cast<int>(CLng(*number)), posX);
}

void StopSound(Game& game, int soundId) {
  const int buffer = SoundBuffer(soundId);
  if (ISound* sound = Output(game, buffer)) sound->Stop(buffer);
}

void SetSoundVolume(Game& game, int soundId, Long volume) {
  const int buffer = SoundBuffer(soundId);
  if (ISound* sound = Output(game, buffer)) sound->SetVolume(buffer, volume);
}

void PlaySoundLooping(Game& game, int soundId) {
  const int buffer = SoundBuffer(soundId);
  if (ISound* sound = Output(game, buffer)) sound->PlayLooping(buffer);
}

}  // namespace kesmir
