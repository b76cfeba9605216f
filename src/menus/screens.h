// The menu screens drawn by the main loop over the menu background.
#pragma once

#include "core/game.h"

namespace kesmir {

void MainMenuScreen(Game& game);
void OptionsScreen(Game& game);
void HelpScreen(Game& game);
void AboutScreen(Game& game);

}  // namespace kesmir
