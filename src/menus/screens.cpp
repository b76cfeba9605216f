// The main menu, options, help and about screens.
#include "menus/screens.h"

namespace kesmir {

void MainMenuScreen(Game&) {}
void OptionsScreen(Game&) {}
void HelpScreen(Game&) {}
void AboutScreen(Game&) {}

}  // namespace kesmir
