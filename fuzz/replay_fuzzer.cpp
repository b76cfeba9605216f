// Fuzzes replays: reading any file, and playing any recording to its end, refused or not, without a hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_game.h"
#include "replay/player.h"
#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  if (size == 0) return 0;
  testing::FakeGame& fake = fuzz::FuzzGame();
  Game& game = *fake;
  fuzz::ClearRecords(fake);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  // Odd first byte: the rest is a recording, packed here, so that the player is reached past the checksum.
  std::string error;
  std::optional<replay::Replay> replay;
  if (data[0] & 1) {
    replay = replay::Replay{{}, bytes};
    fuzz::Require(replay::DecodeReplay(replay::EncodeReplay(*replay), error).has_value(), "a packed replay reads back");
  } else {
    replay = replay::DecodeReplay(bytes, error);
    fuzz::Require(replay.has_value() == error.empty(), "a refused replay says why, a read one does not");
  }
  if (!replay) return 0;
  const Platform platform = game.platform;
  replay::ReplayPlayer player(*replay, {});
  const replay::PlayOutcome outcome = player.Play(game);
  fuzz::Require(outcome.ended != !outcome.error.empty(), "a replay that does not end says why");
  game.platform = platform;
  game.app.Ended = false;
  return 0;
}
