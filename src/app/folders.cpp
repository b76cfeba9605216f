// Data and user folder paths.
#include "app/folders.h"

#include <cstdio>
#include <system_error>

namespace kesmir {

std::filesystem::path UserPath(const Game& game, std::string_view relative) {
  return game.app.UserDir / std::filesystem::path(relative);
}

std::filesystem::path DataPath(const Game& game, std::string_view relative) {
  return game.app.DataDir / std::filesystem::path(relative);
}

void SayNotSaved(Game& game, const std::filesystem::path& file, std::string_view consequence) {
  std::fprintf(stderr, "kesmir: cannot write %s; %.*s\n", file.c_str(), static_cast<int>(consequence.size()),
               consequence.data());
  if (game.app.SaveFailureShown || !game.platform.dialogs) return;
  game.app.SaveFailureShown = true;
  game.platform.dialogs->ShowMessage("Kesmir",
                                     "Kesmir cannot save its files in\n" + game.app.UserDir.string() +
                                         "\n\nNew scores and settings will be lost when the game ends.\n"
                                         "Free some disk space or make the folder writable.",
                                     MessageKind::Warning);
}

std::filesystem::path ReadablePath(const Game& game, std::string_view relative) {
  std::error_code ec;
  auto user = UserPath(game, relative);
  if (std::filesystem::is_regular_file(user, ec)) return user;
  return DataPath(game, relative);
}

}  // namespace kesmir
