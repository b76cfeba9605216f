// kesmir --replay: a recorded game shown again in the window, at its own pace, with its sounds.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <tuple>

#include "core/game.h"
#include "platform/sdl_platform.h"

namespace kesmir {

// Plays the replay file on a game whose platform is the real one, and shows the end-of-game picture until
// Esc, Return or the window's close. Nothing is written to the user folder and nothing is uploaded. Returns
// the exit status: 0 shown, 1 the recording does not fit this game, 2 the file cannot be read.
int WatchReplay(Game& game, SdlFrontEnd& window, IClock& clock, IPictures& pictures, const std::filesystem::path& file);

// The high-score screen's way to the replays of its rows: found by their headers, watched in the same window
// on a copy of the game, so that the game goes on as it was.
class ReplayShelf final : public IReplayShelf {
 public:
  ReplayShelf(SdlFrontEnd& window, IClock& clock, IPictures& pictures)
      : window_(window), clock_(clock), pictures_(pictures) {}
  std::string Kept(long long score, long long kills, const std::string& date) override;
  void Watch(Game& game, const std::string& file) override;
  // Where the replays are; the index is read again when the folder changes.
  void SetFolder(const std::filesystem::path& folder) { folder_ = folder; }

 private:
  SdlFrontEnd& window_;
  IClock& clock_;
  IPictures& pictures_;
  std::filesystem::path folder_;
  std::filesystem::file_time_type indexed_{};
  std::map<std::tuple<long long, long long, std::string>, std::string> index_;
};

}  // namespace kesmir
