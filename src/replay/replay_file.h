// A replay file: the header of claims about the game, then the compressed recording (see docs/REPLAY.md).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesmir::replay {

inline constexpr int kFormatVersion = 2;
inline constexpr int kOldestFormatVersion = 1;

// How the body holds the terrain a game started on.
inline constexpr std::uint8_t kTerrainNamed = 0;    // the header's terrain map, read again from the user folder
inline constexpr std::uint8_t kTerrainWhole = 1;    // every pixel
inline constexpr std::uint8_t kTerrainChanges = 2;  // format 2: a map's file and fingerprint, then the changes
inline constexpr std::size_t kMaxBodyBytes = 64u << 20;  // a recording of many hours; anything larger is refused

// What the game said about itself when it ended.
struct ReplayHeader {
  int formatVersion = kFormatVersion;
  std::string gameVersion;
  int terrainMap = 0;  // the map NewGame loaded (1..4); 0: the previous game's terrain, kept in the body
  std::string name;    // the player's name when one was entered
  std::string date;    // yyyymmdd of the game's start
  int score = 0;       // the final score, bonus included, as the high-score list takes it
  int kills = 0;
  int minutes = 0;
  int seconds = 0;
  std::array<int, 4> levels{};  // accuracy, recharge, bullet speed, melee at the end
  std::uint64_t stateHash = 0;  // the field, the terrain and the status bar when the game ended
  bool operator==(const ReplayHeader&) const = default;
};

struct Replay {
  ReplayHeader header;
  std::string body;  // the start state, the terrain when kept, the recorded answers
};

std::string EncodeReplay(const Replay& replay);
// The replay, or nullopt with a one-line reason (not a replay, another version, damaged, cut short).
std::optional<Replay> DecodeReplay(std::string_view file, std::string& error);

}  // namespace kesmir::replay
