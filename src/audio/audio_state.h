// State of the sound bank.
#pragma once

#include <array>

namespace kesmir {

inline constexpr int kSoundBuffers = 31;  // one buffer per sound file

struct AudioState {
  bool Loaded = false;  // LoadSounds has run and ReleaseSounds has not
  std::array<bool, kSoundBuffers> BufferReady{};  // by buffer (loading order): its file loaded
};

}  // namespace kesmir
