// A game ready for play-field effect tests: sounds loaded into the fake output, a player on the field.
#pragma once

#include <numbers>
#include <vector>

#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"

namespace kesmir::testing {

struct PlayGame : FakeGame {
  PlayGame() {
    Game& g = *game;
    g.app.DegToRad = std::numbers::pi / 180.0;
    LoadSounds(g);
    sound.starts.clear();
    fonts.calls.clear();
    g.app.GameStarted = kTrue;
    g.app.GameStopped = 0;
    Fighter& player = g.play.Fighters[0];
    player.Alive = kTrue;
    player.X = 140;
    player.Y = 140;
    player.Ammo = 20;
    player.Health = 100;
    player.BulletSpeed = 3;
    player.Recharge = 15;
  }

  // The sound numbers started since the last ClearSounds, in order.
  std::vector<int> SoundsStarted() const {
    std::vector<int> ids;
    for (const FakeSound::Start& s : sound.starts) ids.push_back(kSounds[static_cast<std::size_t>(s.buffer)].id);
    return ids;
  }
  int Starts(int soundId) const {
    int n = 0;
    for (int id : SoundsStarted()) n += id == soundId ? 1 : 0;
    return n;
  }
  bool Playing(int soundId) const {
    auto it = sound.buffers.find(SoundBuffer(soundId));
    return it != sound.buffers.end() && it->second.playing;
  }
  void ClearSounds() { sound.starts.clear(); }
};

// A surface of w x h in one colour.
inline Surface Solid(int w, int h, Colour colour) { return Surface(w, h, colour); }

// Counts the pixels of a surface in one colour.
inline int CountColour(const Surface& s, Colour colour) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.Row(y)[x] == colour ? 1 : 0;
  return n;
}

}  // namespace kesmir::testing
