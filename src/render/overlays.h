// The overlays drawn over the play field: the fire-mode indicator, the score information, the debug line.
#pragma once

#include "core/game.h"

namespace kesmir {

void DrawFireMode(Game& game);
void DrawOverlays(Game& game);

}  // namespace kesmir
