// Recorded games: they play again to the same end, recording changes nothing, a changed answer changes the end,
// bad files are refused with a reason, and the kept files are the best and the latest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>

#include "core/files.h"
#include "replay/answers.h"
#include "replay/recorder.h"
#include "replay/start_state.h"
#include "simulation.h"

namespace kesmir::replay {
namespace {

namespace fs = std::filesystem;

struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("kesmir-replay-" + std::to_string(::getpid()));
  Scratch() { fs::create_directories(dir); }
  ~Scratch() { fs::remove_all(dir); }
};

sim::SimResult Untimed(sim::SimResult r) {
  r.frameNsP50 = r.frameNsP99 = r.maxRssKb = r.rssAfterFirstMinuteKb = 0;
  return r;
}

Replay Read(const fs::path& file) {
  std::string error;
  auto replay = DecodeReplay(ReadFileLimited(file, 1 << 24).value_or(""), error);
  EXPECT_TRUE(replay) << error;
  return replay.value_or(Replay{});
}

// The same answers with the key given held down in the n-th keyboard read only.
std::string WithKeyInOneRead(const std::string& body, int n, int key) {
  Game scratch;
  ByteReader start(body);
  start.Byte();
  EXPECT_TRUE(ReadStartState(start, scratch));
  const std::uint8_t terrain = start.Byte();
  if (terrain == kTerrainChanges) start.Text(), start.Fixed64();
  if (terrain != kTerrainNamed) ReadPixels(start, scratch.surfaces.Terain);
  AnswerReader in(std::string_view(body).substr(start.Position()), kFormatVersion);
  AnswerWriter out;
  int reads = 0;
  while (const auto tag = in.Next()) {
    bool ok = false;
    std::uint8_t keys[256];
    Point p;
    PadState pad;
    std::uint64_t t = 0;
    Date d;
    WindowEvent e;
    std::optional<bool> r;
    PictureAnswer picture;
    switch (*tag) {
      case Tag::Keys:
        EXPECT_TRUE(in.Keys(ok, keys));
        if (reads++ == n) keys[key] = 0x80;
        out.Keys(ok, keys);
        break;
      case Tag::Mouse: EXPECT_TRUE(in.Mouse(p)), out.Mouse(p); break;
      case Tag::Pad: EXPECT_TRUE(in.Pad(pad)), out.Pad(pad); break;
      case Tag::Micros: EXPECT_TRUE(in.Clock(*tag, t)), out.Clock(*tag, t); break;
      case Tag::Ticks: EXPECT_TRUE(in.Ticks(t)), out.Ticks(t); break;
      case Tag::Wait: EXPECT_TRUE(in.Wait(0, t)), out.Wait(0, t); break;
      case Tag::Today: EXPECT_TRUE(in.Today(d)), out.Today(d); break;
      case Tag::Event: EXPECT_TRUE(in.Event(ok, e)), out.Event(ok, e); break;
      case Tag::Reachable: EXPECT_TRUE(in.Reachable(r)), out.Reachable(r); break;
      case Tag::Picture: EXPECT_TRUE(in.Picture(picture)), out.Picture(picture); break;
      default: EXPECT_TRUE(in.Flag(*tag, ok)), out.Flag(*tag, ok); break;
    }
  }
  EXPECT_TRUE(in.AtEnd());
  return body.substr(0, start.Position()) + out.Bytes();
}

TEST(Replay, ARecordedGamePlaysAgainToItsEndAndOneKeyChangedInOneFrameChangesIt) {
  Scratch scratch;
  sim::SimOptions options;
  options.seed = 6;
  options.untilDeath = true;
  options.paceByClock = true;
  const sim::SimResult plain = Untimed(sim::RunSimulation(options));
  options.recordTo = (scratch.dir / "idle.kzr").string();
  EXPECT_EQ(sim::ResultJson(Untimed(sim::RunSimulation(options))), sim::ResultJson(plain))
      << "recording changed the game";

  options.autopilot = true;
  options.name = "Ann";
  options.recordTo = (scratch.dir / "played.kzr").string();
  const sim::SimResult played = sim::RunSimulation(options);
  ASSERT_GE(played.highScorePlace, 0);
  for (const char* name : {"idle.kzr", "played.kzr"}) {
    const Replay replay = Read(scratch.dir / name);
    const PlayOutcome again = sim::PlayHeadless(replay, options);
    ASSERT_TRUE(again.ended) << name << ": " << again.error;
    ReplayHeader reached = again.reached;
    reached.gameVersion = replay.header.gameVersion;
    reached.terrainMap = replay.header.terrainMap;
    reached.name = replay.header.name;
    EXPECT_EQ(reached, replay.header) << name;
  }
  const Replay replay = Read(scratch.dir / "played.kzr");
  EXPECT_EQ(replay.header.name, "Ann");
  EXPECT_EQ(replay.header.score, played.finalScore);
  EXPECT_EQ(replay.header.kills, played.kills);
  EXPECT_EQ(replay.header.minutes * 60 + replay.header.seconds, played.gameMinutes * 60 + played.gameSeconds);

  // The W key held in the 200th frame only: the player stands a step higher from then on.
  Replay changed = replay;
  changed.body = WithKeyInOneRead(replay.body, 200, 0x11);
  ASSERT_NE(changed.body, replay.body);
  const PlayOutcome other = sim::PlayHeadless(changed, options);
  EXPECT_TRUE(!other.ended || other.reached.stateHash != replay.header.stateHash);
}

// A game of 1:59 recorded in format 1 (its terrain left out, so its last picture differs): it still plays to
// the score, kills, time and levels it claims.
TEST(Replay, AReplayOfTheFirstFormatStillPlaysToItsEnd) {
  const Replay replay = Read(fs::path(KESMIR_REPLAY_TESTS_DIR) / "format1.kzr");
  ASSERT_EQ(replay.header.formatVersion, 1);
  const PlayOutcome again = sim::PlayHeadless(replay, sim::SimOptions{});
  ASSERT_TRUE(again.ended) << again.error;
  EXPECT_EQ(std::tie(again.reached.score, again.reached.kills, again.reached.minutes, again.reached.seconds,
                     again.reached.levels),
            std::tie(replay.header.score, replay.header.kills, replay.header.minutes, replay.header.seconds,
                     replay.header.levels));
  EXPECT_EQ(replay.header.minutes * 60 + replay.header.seconds, 119);
}

TEST(Replay, DamagedCutShortOtherVersionAndHandMadeFilesAreRefusedWithAReason) {
  Scratch scratch;
  sim::SimOptions options;
  options.seed = 2;
  options.untilDeath = true;
  options.recordTo = (scratch.dir / "game.kzr").string();
  sim::RunSimulation(options);
  const std::string file = ReadFileLimited(options.recordTo, 1 << 24).value_or("");
  ASSERT_GT(file.size(), 100u);
  std::string error;
  ASSERT_TRUE(DecodeReplay(file, error));

  auto refused = [&](const std::string& bytes, const std::string& reason) {
    error.clear();
    EXPECT_FALSE(DecodeReplay(bytes, error)) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  };
  for (std::size_t cut : {std::size_t{0}, std::size_t{5}, std::size_t{12}, file.size() / 2, file.size() - 1}) {
    refused(file.substr(0, cut), cut < 8 ? "not a replay" : "cut short");
  }
  std::string flipped = file;
  flipped[file.size() - 40] ^= 0x20;
  refused(flipped, "damaged");
  std::string later = file;
  later[8] = static_cast<char>(kFormatVersion + 1);
  refused(later, "replay format 3; this game reads formats 1 to 2");
  refused("KESMIRRP\x01\x05hello\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01", "cut short");

  // Well packed but made by hand: the game is never reached, or the answers run out or do not fit.
  Replay handMade = Read(options.recordTo);
  for (std::size_t keep : {std::size_t{0}, std::size_t{40}, handMade.body.size() / 2}) {
    Replay cutBody = handMade;
    cutBody.body.resize(keep);
    const auto decoded = DecodeReplay(EncodeReplay(cutBody), error);
    ASSERT_TRUE(decoded);
    const PlayOutcome outcome = sim::PlayHeadless(*decoded, options);
    EXPECT_FALSE(outcome.ended);
    EXPECT_FALSE(outcome.error.empty());
  }
  Replay noise = handMade;
  for (std::size_t i = noise.body.size() / 3; i < noise.body.size(); i += 7) noise.body[i] = static_cast<char>(i * 31);
  const PlayOutcome outcome = sim::PlayHeadless(noise, options);
  EXPECT_TRUE(!outcome.ended || outcome.reached != handMade.header);
}

TEST(Replay, TheTenBestAndTheTwentyLatestGamesAreKept) {
  Scratch scratch;
  std::set<std::string> expected;
  for (int game = 1; game <= 40; ++game) {
    const int score = (game * 37) % 41;  // all different, best ones spread over the old games
    const std::string name = std::to_string(100000 + game).substr(1) + "-" + std::to_string(score) + ".kzr";
    ASSERT_TRUE(WriteFileAtomic(scratch.dir / name, "x"));
    if (game > 20 || score > 30) expected.insert(name);
  }
  ASSERT_TRUE(WriteFileAtomic(scratch.dir / "notes.txt", "kept"));
  PruneReplays(scratch.dir);
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(scratch.dir)) left.insert(entry.path().filename().string());
  expected.insert("notes.txt");
  EXPECT_EQ(left, expected);
}

}  // namespace
}  // namespace kesmir::replay
