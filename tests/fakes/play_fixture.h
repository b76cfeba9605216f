// A game in play on the fake platform: the player set up as a new game does, sounds loaded and counted.
#pragma once

#include <cmath>
#include <vector>

#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"

namespace kesmir::testing {

struct PlayGame : FakeGame {
  PlayGame() {
    Game& g = *game;
    g.app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
    g.settings.SoundVolume = 100;
    LoadSounds(g);
    fonts.calls.clear();  // the loading screen's
    g.app.GameStarted = kTrue;
    Fighter& player = g.play.Fighters[0];
    player = Fighter{};
    player.Alive = kTrue;
    player.X = 140;
    player.Y = 140;
    player.Facing = 270;
    player.Ammo = 20;
    player.Speed = 10;
    player.Health = 100;
    player.Accuracy = 30;
    player.BulletSpeed = 3;
    player.Range = 60;
    player.Recharge = 15;
  }

  // An opponent in slot i with its top-left at (x, y).
  Fighter& Opponent(int i, double x, double y) {
    Fighter& f = game->play.Fighters[static_cast<std::size_t>(i)];
    f = Fighter{};
    f.Alive = kTrue;
    f.X = static_cast<float>(x);
    f.Y = static_cast<float>(y);
    f.Health = 20;
    f.Ammo = 10;
    f.Speed = 10;
    f.Accuracy = 30;
    f.BulletSpeed = 3;
    f.Range = 40;
    f.Recharge = 15;
    f.Cooldown = 1000;  // holds fire unless a test wants it
    f.Kind = "AiLVL0";
    return f;
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

// The same game through short names, for the simulation's tests.
struct PlayFixture {
  PlayGame g;
  Game& game = *g;
  PlayState& p = game.play;
  Fighter& player = game.play.Fighters[0];

  Fighter& Opponent(int i, double x, double y) { return g.Opponent(i, x, y); }
  int Played(int soundId) const { return g.Starts(soundId); }
  // How many opponents are alive.
  int Opponents() const {
    int count = 0;
    for (std::size_t i = 1; i < kFighterSlots; ++i) count += p.Fighters[i].Alive != 0 ? 1 : 0;
    return count;
  }
};

// Counts the pixels of a surface in one colour.
inline int CountColour(const Surface& s, Colour colour) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.Row(y)[x] == colour ? 1 : 0;
  return n;
}

}  // namespace kesmir::testing
