// The main loop: menu screens and play share one loop and one pacing rule.
#pragma once

#include <string>

#include "core/game.h"

namespace kesmir {

// Runs the loop's entry and then its passes until the program ends.
void MainLoop(Game& game);
// The loop's entry: options again, terrain generation, the menu background, the menu ambience.
void MainLoopEntry(Game& game);
// One pass of the loop.
void MainLoopPass(Game& game);
// The rest of a pass once the screen has been dispatched: the game's frames when one runs, then the menu's
// particles, the clock and the window's events.
void FinishPass(Game& game);
// The menu's particles: one burst at the pointer and one on each edge of the menu panel.
void MenuParticles(Game& game);
// The memory line of the debug information, exactly 40 characters.
std::string MemoryLine(const MemoryStatus& memory);

}  // namespace kesmir
