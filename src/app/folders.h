// Where the game's files live: the data folder it ships, the user folder it writes.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// A file the program writes, under the user folder ("OtherFiles/Options.txt").
std::filesystem::path UserPath(const Game& game, std::string_view relative);
// A file the program ships, under the data folder.
std::filesystem::path DataPath(const Game& game, std::string_view relative);
// Tells that a file of the user folder could not be saved: the file and what it costs on stderr, and, once
// per run, a message box naming the folder so that the player knows before the scores are gone.
void SayNotSaved(Game& game, const std::filesystem::path& file, std::string_view consequence);
// A file the program both reads and writes: the user folder's copy when it exists, else the data folder's.
std::filesystem::path ReadablePath(const Game& game, std::string_view relative);

}  // namespace kesmir
