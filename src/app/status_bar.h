// The status bar under the play field.
#pragma once

#include "core/game.h"

namespace kesmir {

// Redraws the gauges, the score with its bonus, the kills and the game time on StatusField.
void DrawStatusBar(Game& game);

}  // namespace kesmir
