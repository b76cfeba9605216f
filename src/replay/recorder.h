// Records every game: ports between the game and the platform that answer as the platform does and keep
// each answer from NewGame to EndGame, then a replay file in the user folder's Replays/.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/game.h"
#include "replay/replay_file.h"

namespace kesmir::replay {

inline constexpr int kKeptLatest = 20;
inline constexpr int kKeptBest = 10;

// The claims of a game that has just ended: score, kills, time, levels and the fingerprint of what it shows.
ReplayHeader Outcome(const Game& game);

// Removes the replays in folder that are neither among the kKeptLatest newest nor the kKeptBest best.
void PruneReplays(const std::filesystem::path& folder);

class Recorder final : public IGameRecorder {
 public:
  // Puts its ports in place of the platform's ones, which they go on asking.
  Recorder(Platform& platform, std::string gameVersion);
  ~Recorder() override;
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  void GameStarting(Game& game) override;
  bool GameEnding(Game& game) override;
  // Writes the name into the last replay's header.
  void NameEntered(const std::string& name) override;
  // The replay file the last game was written to; empty when none was.
  const std::filesystem::path& LastFile() const { return lastFile_; }

  struct Ports;

 private:
  std::unique_ptr<Ports> ports_;
  std::string gameVersion_;
  std::filesystem::path lastFile_;
  bool named_ = false;
};

}  // namespace kesmir::replay
