// The score storage in one SQLite file, shared safely by several service processes on one machine.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "server/score_store.h"

namespace kesmir {

// nullptr with the reason in error when the file cannot be opened or its tables made.
std::unique_ptr<IScoreStore> OpenSqliteStore(const std::filesystem::path& path, std::string& error);

}  // namespace kesmir
