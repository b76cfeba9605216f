// kesmir --replay: a recorded game shown again in the window, at its own pace, with its sounds.
#pragma once

#include <filesystem>

#include "core/game.h"
#include "platform/sdl_platform.h"

namespace kesmir {

// Plays the replay file on a game whose platform is the real one, and shows the end-of-game picture until
// Esc, Return or the window's close. Nothing is written to the user folder and nothing is uploaded. Returns
// the exit status: 0 shown, 1 the recording does not fit this game, 2 the file cannot be read.
int WatchReplay(Game& game, SdlFrontEnd& window, IClock& clock, IPictures& pictures, const std::filesystem::path& file);

}  // namespace kesmir
