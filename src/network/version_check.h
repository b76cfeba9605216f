// The announcement of the newest version and the download of its installer.
#pragma once

#include "core/game.h"

namespace kesmir {

// Shows the announced version and offers its installer, whether or not it is newer.
void ShowLatestVersion(Game& game);

}  // namespace kesmir
