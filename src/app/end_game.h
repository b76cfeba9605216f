// The end of a game.
#pragma once

#include "core/game.h"

namespace kesmir {

// Freezes the last frame under the menu panel, offers the score to the high-score list, restarts the menu
// ambience and counts the game in the lifetime counters of the options file.
void EndGame(Game& game);

}  // namespace kesmir
