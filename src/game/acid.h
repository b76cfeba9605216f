// Acid pick-ups ("drugs") and their effects.
#pragma once

#include "core/game.h"

namespace kesmir {

// drop -1 drops an acid beside fighter index; every call draws, collects and runs the acid effects.
void UpdateAcid(Game& game, Integer drop, Integer index);

}  // namespace kesmir
