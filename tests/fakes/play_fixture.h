// A game in play on the fake platform: the player set up as a new game does, sounds loaded and counted.
#pragma once

#include <cmath>

#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"

namespace kesmir::testing {

struct PlayFixture {
  FakeGame g;
  Game& game = *g;
  PlayState& p = game.play;
  Fighter& player = game.play.Fighters[0];

  PlayFixture() {
    game.app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
    game.settings.SoundVolume = 100;
    LoadSounds(game);
    game.app.GameStarted = kTrue;
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
    Fighter& f = p.Fighters[static_cast<std::size_t>(i)];
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

  // How many opponents are alive.
  int Opponents() const {
    int count = 0;
    for (std::size_t i = 1; i < kFighterSlots; ++i) count += p.Fighters[i].Alive != 0 ? 1 : 0;
    return count;
  }

  // How many times a sound has started.
  int Played(int soundId) const {
    int count = 0;
    for (const auto& start : g.sound.starts) count += start.buffer == SoundBuffer(soundId) ? 1 : 0;
    return count;
  }
};

}  // namespace kesmir::testing
