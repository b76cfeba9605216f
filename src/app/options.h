// The options file: 14 decimal lines holding the settings and the lifetime counters.
#pragma once

#include "core/game.h"

namespace kesmir {

inline constexpr const char* kOptionsFile = "OtherFiles/Options.txt";

// Non-zero writes every setting to the user folder's options file; zero reads the options file (the user
// folder's, else the shipped default) into the settings.
void LoadSaveOptions(Game& game, Integer save);

}  // namespace kesmir
