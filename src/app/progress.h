// The loading and progress screen.
#pragma once

#include "core/game.h"

namespace kesmir {

inline constexpr int kStartupSteps = 74;  // a full bar at start-up
inline constexpr int kNetworkSteps = 22;  // a full bar during a transfer

// Draws the next step: the title picture, the bar sliding in from the left, the caption; then yields.
void ShowProgress(Game& game);

// While a transfer of an exchange waits: the caption again with the whole seconds it has waited, so that
// the player sees the game is alive.
void ShowTransferWait(Game& game, long long seconds);

}  // namespace kesmir
