// Plays a replay: ports that answer the game from the recording, and the run from NewGame to EndGame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/game.h"
#include "replay/replay_file.h"

namespace kesmir::replay {

struct PlayerOptions {
  std::filesystem::path pictureDir;  // the user folder the recorded pictures are read from
  IPictures* pictures = nullptr;     // the decoder for them; none answers every picture as missing
  IWindow* show = nullptr;           // where the frames are shown; none shows nothing
  // Called at each pacing wait with the recorded clock reading; false stops the replay.
  std::function<bool(std::uint64_t recordedMicros)> pace;
};

struct PlayOutcome {
  bool ended = false;   // the game reached its end
  std::string error;    // why it did not: the recording ended early or did not fit the game
  bool stopped = false; // the pace stopped it
  ReplayHeader reached; // score, kills, time, levels and fingerprint at the end
  bool picturesExact = true;  // every picture read was the one recorded
  long long answers = 0;
};

class ReplayPlayer final : public IGameRecorder {
 public:
  ReplayPlayer(const Replay& replay, PlayerOptions options);
  ~ReplayPlayer() override;
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  // Sets the game in the state the game started from and plays it with the player's ports in place of the
  // window, input, clock, dialogs, pictures and network; the sound and the fonts stay the game's own. The
  // game is one set up as the program sets it up (pictures loaded); its files land where its UserDir says.
  PlayOutcome Play(Game& game);

  void GameStarting(Game&) override {}
  bool GameEnding(Game& game) override;

  struct Ports;

 private:
  std::unique_ptr<Ports> ports_;
};

}  // namespace kesmir::replay
