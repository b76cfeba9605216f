// The local high-score list: its screen and its single entry point.
#pragma once

#include "core/game.h"

namespace kesmir {

// Loads the list, offers a score to it and advances the name entry.
void UpdateHighScores(Game& game, Long score);
void HighScoresScreen(Game& game);

}  // namespace kesmir
