// Frame counting, pacing and the game clock.
#pragma once

#include "core/game.h"

namespace kesmir {

inline constexpr int kPassMillis = 30;  // a pass lasts at least this long plus one tick

// Counts passes per second, runs the once-per-second rules while a game is playing, and waits until more
// than 30 ms have passed since the previous call returned.
void GameClock(Game& game);

// The rules run once per second of play: recharge experience, the clock, spawning, health drift, waves.
void SecondRules(Game& game);

}  // namespace kesmir
