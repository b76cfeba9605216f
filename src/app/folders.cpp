// Data and user folder paths.
#include "app/folders.h"

#include <system_error>

namespace kesmir {

std::filesystem::path UserPath(const Game& game, std::string_view relative) {
  return game.app.UserDir / std::filesystem::path(relative);
}

std::filesystem::path DataPath(const Game& game, std::string_view relative) {
  return game.app.DataDir / std::filesystem::path(relative);
}

std::filesystem::path ReadablePath(const Game& game, std::string_view relative) {
  std::error_code ec;
  auto user = UserPath(game, relative);
  if (std::filesystem::is_regular_file(user, ec)) return user;
  return DataPath(game, relative);
}

}  // namespace kesmir
