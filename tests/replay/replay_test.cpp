// Recorded games: they play again to the same end, recording changes nothing, a changed answer changes the end,
// bad files are refused with a reason, and the kept files are the best and the latest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "core/files.h"
#include "fakes/fake_platform.h"
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

// Pictures by their whole path, so that the user folder and the data folder are told apart.
struct FolderPictures final : IPictures {
  std::map<std::string, Image> files;
  std::optional<Image> Load(const std::string& path) override {
    const auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional<Image>(it->second);
  }
  bool SaveBmp(const std::string&, PixelView) override { return false; }
};

// A replay names the map its game was played on, or keeps the terrain it kept as its changes from the map it
// was drawn on; watching reads that map again (from the user folder, or the shipped one from the data folder),
// and a machine whose map is another one is told so, while the score still comes out the same.
TEST(Replay, TheMapIsReadAgainAndAnotherMapIsNoticed) {
  for (const auto& [seed, terrain] : {std::pair{2, kTerrainNamed}, std::pair{4, kTerrainChanges}}) {
    Scratch scratch;
    FolderPictures pictures;
    sim::SimOptions options;
    options.seed = static_cast<std::uint64_t>(seed);
    options.untilDeath = true;
    options.pictures = &pictures;
    options.userDir = (scratch.dir / "user").string();
    options.dataDir = (scratch.dir / "data").string();
    options.recordTo = (scratch.dir / "game.kzr").string();
    auto maps = [&](std::uint32_t colour) {
      for (int n = 1; n <= 4; ++n) {
        const std::string name = "/Pictures/Map0" + std::to_string(n);
        const auto c = colour * static_cast<std::uint32_t>(n);
        pictures.files[options.userDir + name + ".bmp"] = Image{300, 300, std::vector<std::uint32_t>(300 * 300, c)};
        pictures.files[options.dataDir + name + ".jpg"] = Image{300, 300, std::vector<std::uint32_t>(300 * 300, c + 1)};
      }
    };
    maps(0x102030u);
    sim::RunSimulation(options);
    const Replay replay = Read(options.recordTo);
    ByteReader body(replay.body);
    body.Byte();
    Game scratchGame;
    ASSERT_TRUE(ReadStartState(body, scratchGame));
    ASSERT_EQ(body.Byte(), terrain) << seed;
    const PlayOutcome same = sim::PlayHeadless(replay, options);
    ASSERT_TRUE(same.ended) << same.error;
    EXPECT_TRUE(same.picturesExact) << seed;
    EXPECT_EQ(same.reached.stateHash, replay.header.stateHash) << seed;

    maps(0x00FF00u);
    const PlayOutcome other = sim::PlayHeadless(replay, options);
    ASSERT_TRUE(other.ended) << other.error;
    EXPECT_FALSE(other.picturesExact) << seed;
    EXPECT_NE(other.reached.stateHash, replay.header.stateHash) << seed;
    EXPECT_EQ(std::tie(other.reached.score, other.reached.kills), std::tie(replay.header.score, replay.header.kills));
  }
}

// The same game of 1:59 stored in each format (the first without its terrain, so its last picture differs):
// each still plays to the score, kills, time and levels it claims, and the second to its last picture.
TEST(Replay, StoredReplaysOfEachFormatStillPlayToTheirEnd) {
  if (const char* update = std::getenv("KESMIR_UPDATE_REFERENCES"); update && std::string(update) == "1") {
    sim::SimOptions options;
    options.seed = 5, options.autopilot = true, options.untilDeath = true, options.name = "Ann";
    options.recordTo = (fs::path(KESMIR_REPLAY_TESTS_DIR) / "format2.kzr").string();
    sim::RunSimulation(options);
  }
  for (const int format : {1, 2}) {
    const Replay replay =
        Read(fs::path(KESMIR_REPLAY_TESTS_DIR) / ("format" + std::to_string(format) + ".kzr"));
    ASSERT_EQ(replay.header.formatVersion, format);
    const PlayOutcome again = sim::PlayHeadless(replay, sim::SimOptions{});
    ASSERT_TRUE(again.ended) << again.error;
    EXPECT_EQ(std::tie(again.reached.score, again.reached.kills, again.reached.minutes, again.reached.seconds,
                       again.reached.levels),
              std::tie(replay.header.score, replay.header.kills, replay.header.minutes, replay.header.seconds,
                       replay.header.levels));
    EXPECT_EQ(replay.header.minutes * 60 + replay.header.seconds, 119);
    if (format == 2) {
      EXPECT_EQ(again.reached.stateHash, replay.header.stateHash);
    }
  }
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

// What the ports answer between the start and the end of a game is what the replay holds, in that order.
TEST(Replay, EachPortsAnswerIsRecordedInTheOrderAsked) {
  kesmir::testing::FakeGame g;
  Game& game = *g;
  Recorder recorder(game.platform, "test");
  recorder.GameStarting(game);
  g.window.failFullScreen = true;
  g.dialogs.answerYes = false;
  g.connection.answer = true;
  g.clock.now = 5'000'000;
  std::uint8_t keys[256];
  game.platform.keyboard->Acquire();
  game.platform.window->SetScreenMode(true, 640, 480);
  game.platform.dialogs->ShowMessage("Kesmir", "Go on?", MessageKind::YesNo);
  game.platform.pictures->SaveBmp((game.app.UserDir / "shot.bmp").string(), game.surfaces.Field.View());
  game.platform.connection->Reachable("example.org", 21);
  game.platform.clock->Micros();
  game.platform.keyboard->ReadState(keys);
  recorder.GameEnding(game);
  EXPECT_EQ(recorder.LastFile().filename(), "000001-0.kzr");  // the first game's, scoring 0
  const Replay replay = Read(recorder.LastFile());

  ByteReader body(replay.body);
  body.Byte();
  Game scratch;
  ASSERT_TRUE(ReadStartState(body, scratch));
  ASSERT_EQ(body.Byte(), kTerrainWhole);
  ASSERT_TRUE(ReadPixels(body, scratch.surfaces.Terain));
  AnswerReader in(std::string_view(replay.body).substr(body.Position()), kFormatVersion);
  bool acquired = false, fullScreen = true, yes = true, saved = false, ok = false;
  std::optional<bool> reachable;
  std::uint64_t micros = 0;
  ASSERT_TRUE(in.Flag(Tag::Acquire, acquired) && in.Flag(Tag::ScreenMode, fullScreen) && in.Flag(Tag::Dialog, yes) &&
              in.Flag(Tag::Saved, saved) && in.Reachable(reachable) && in.Clock(Tag::Micros, micros) &&
              in.Keys(ok, keys));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(std::vector<bool>({acquired, fullScreen, yes, saved, ok}), std::vector<bool>({true, false, false, true, true}));
  EXPECT_EQ(reachable, std::optional<bool>(true));
  EXPECT_GT(micros, 5'000'000u);

  // The parts a game had are the parts its replay gives it again: here a pad, and no window.
  struct StillPad final : IPad {
    PadState ReadPad() override { return {}; }
    void Rumble(int) override {}
  } pad;
  for (IPad* withPad : {static_cast<IPad*>(&pad), static_cast<IPad*>(nullptr)}) {
    kesmir::testing::FakeGame bare;
    bare->platform.window = nullptr;
    bare->platform.pad = withPad;
    Recorder noWindow(bare->platform, "test");
    noWindow.GameStarting(*bare);
    noWindow.GameEnding(*bare);
    EXPECT_EQ(static_cast<std::uint8_t>(Read(noWindow.LastFile()).body.at(0)), withPad ? 0xFE : 0xF6);
  }
}

// The state a game carries in comes back as it was written: numbers of every kind, texts and flags.
TEST(Replay, TheStartStateComesBackAsWritten) {
  Game before;
  Fighter& f = before.play.Fighters[3];
  f.X = 123.25f, f.Health = -2.5f, f.Name = "Zed", f.Alive = kTrue;
  before.play.Bullets[7].X = 88.125;
  before.app.DegToRad = 0.0174532925199433;
  before.clock.SecondMark = -7;
  before.settings.PlayTimeTotal = 123456789;
  before.input.KeyState[0x1E] = 0x80;
  before.scores.YourName = "Ann";
  before.random.Seed(99);
  ByteWriter out;
  WriteStartState(out, before);
  Game after;
  ByteReader in(out.Bytes());
  ASSERT_TRUE(ReadStartState(in, after));
  EXPECT_TRUE(in.AtEnd());
  const Fighter& g = after.play.Fighters[3];
  EXPECT_EQ(std::tie(g.X, g.Health, g.Name, g.Alive), std::tie(f.X, f.Health, f.Name, f.Alive));
  EXPECT_EQ(std::tie(after.play.Bullets[7].X, after.app.DegToRad, after.clock.SecondMark, after.settings.PlayTimeTotal),
            std::tie(before.play.Bullets[7].X, before.app.DegToRad, before.clock.SecondMark, before.settings.PlayTimeTotal));
  EXPECT_EQ(std::tie(after.input.KeyState[0x1E], after.scores.YourName), std::tie(before.input.KeyState[0x1E], before.scores.YourName));
  EXPECT_EQ(after.random.State(), before.random.State());
  ByteReader cut(std::string_view(out.Bytes()).substr(0, out.Bytes().size() - 1));
  EXPECT_FALSE(ReadStartState(cut, after));
}

// Recorded answers of every kind come back as they were given, and a payload no port could have given is
// refused rather than handed to the game.
TEST(Replay, EveryKindOfAnswerReadsBackAndImpossibleOnesAreRefused) {
  std::uint8_t keys[256] = {};
  keys[0x11] = 0x80, keys[0x1E] = 0x80;
  PadState pad;
  pad.connected = true, pad.buttons = 5, pad.leftX = -32768, pad.rightTrigger = 32767;
  const WindowEvent event{EventKind::KeyDown, 17, {3, -4}};
  AnswerWriter out;
  out.Keys(true, keys), out.Mouse({5, -7}), out.Pad(pad), out.Clock(Tag::Micros, 1'000'123);
  out.Wait(1'031'000, 1'031'007), out.Ticks(1031), out.Ticks(1032), out.Clock(Tag::Micros, 1'032'400);
  out.Today({2026, 12, 9}), out.Event(true, event), out.Event(false, {}), out.Flag(Tag::Acquire, true);
  out.Flag(Tag::ScreenMode, false), out.Flag(Tag::Dialog, true), out.Reachable(false), out.Reachable(std::nullopt);
  out.Picture({"Pictures/Map01.bmp", true, 0x0123456789ABCDEFull}), out.Flag(Tag::Saved, true);

  const std::string written = out.Bytes();
  AnswerReader in(written, kFormatVersion);
  bool ok = false, got = false, yes = false, no = true, acquired = false, saved = false;
  std::uint8_t k[256];
  Point p;
  PadState pd;
  std::uint64_t micros = 0, wake = 0, t1 = 0, t2 = 0, micros2 = 0;
  Date d;
  WindowEvent e, none;
  std::optional<bool> reach = true, unknown = true;
  PictureAnswer picture;
  ASSERT_TRUE(in.Keys(ok, k) && in.Mouse(p) && in.Pad(pd) && in.Clock(Tag::Micros, micros) &&
              in.Wait(1'031'000, wake) && in.Ticks(t1) && in.Ticks(t2) && in.Clock(Tag::Micros, micros2) &&
              in.Today(d) && in.Event(got, e) && in.Event(ok, none) && in.Flag(Tag::Acquire, acquired) &&
              in.Flag(Tag::ScreenMode, no) && in.Flag(Tag::Dialog, yes) && in.Reachable(reach) &&
              in.Reachable(unknown) && in.Picture(picture) && in.Flag(Tag::Saved, saved));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_FALSE(in.Next());
  EXPECT_TRUE(std::equal(std::begin(k), std::end(k), std::begin(keys)));
  EXPECT_EQ(std::tie(p.x, p.y, pd.connected, pd.buttons, pd.leftX, pd.rightTrigger),
            std::make_tuple(5, -7, true, 5u, -32768, 32767));
  EXPECT_EQ(std::vector<std::uint64_t>({micros, wake, t1, t2, micros2}),
            std::vector<std::uint64_t>({1'000'123, 1'031'007, 1031, 1032, 1'032'400}));
  EXPECT_EQ(std::tie(d.year, d.month, d.day, e.code, e.position.x, e.position.y), std::make_tuple(2026, 12, 9, 17, 3, -4));
  EXPECT_EQ(e.kind, EventKind::KeyDown);
  EXPECT_EQ(std::vector<bool>({got, ok, acquired, no, yes, saved}), std::vector<bool>({true, false, true, false, true, true}));
  EXPECT_EQ(reach, std::optional<bool>(false));
  EXPECT_EQ(unknown, std::nullopt);
  EXPECT_EQ(std::tie(picture.file, picture.ok, picture.hash),
            std::make_tuple(std::string("Pictures/Map01.bmp"), true, 0x0123456789ABCDEFull));

  // One answer made by hand: its tag, and its payload in the stream of its kind, read as the reader says.
  auto reads = [](Tag tag, const std::string& payload, auto&& read) {
    ByteWriter w;
    w.Text(std::string(1, static_cast<char>(tag)));
    for (Tag kind : kStreamOrder) w.Text(kind == tag ? payload : "");
    AnswerReader r(w.Bytes(), kFormatVersion);
    return read(r);
  };
  auto signedBytes = [](std::initializer_list<std::int64_t> values) {
    ByteWriter w;
    for (std::int64_t v : values) w.Signed(v);
    return w.Bytes();
  };
  auto mouse = [&](AnswerReader& r) { return r.Mouse(p); };
  for (const auto& far : {signedBytes({2'000'000, 0}), signedBytes({-2'000'000, 0}), signedBytes({0, 2'000'000}),
                          signedBytes({0, -2'000'000}), signedBytes({5})}) {
    EXPECT_FALSE(reads(Tag::Mouse, far, mouse));
  }
  EXPECT_TRUE(reads(Tag::Mouse, signedBytes({1'000'000, -1'000'000}), mouse));
  for (const std::string keysMade : {"\x02", "\x01\x81\x02", "\x01\x02\x11"}) {
    EXPECT_FALSE(reads(Tag::Keys, keysMade, [&](AnswerReader& r) { return r.Keys(ok, k); })) << keysMade.size();
  }
  EXPECT_FALSE(reads(Tag::Pad, "\x80\x04", [&](AnswerReader& r) { return r.Pad(pd); }));  // a seventh axis
  EXPECT_FALSE(reads(Tag::Event, std::string("\x08\x00\x00\x00", 4), [&](AnswerReader& r) { return r.Event(got, e); }));
  EXPECT_FALSE(reads(Tag::Acquire, "\x02", [&](AnswerReader& r) { return r.Flag(Tag::Acquire, ok); }));
  EXPECT_FALSE(reads(Tag::Reachable, "\x03", [&](AnswerReader& r) { return r.Reachable(reach); }));
  EXPECT_FALSE(reads(Tag::Picture, std::string("\x00\x02", 2) + std::string(8, '\0'),
                     [&](AnswerReader& r) { return r.Picture(picture); }));
  EXPECT_FALSE(reads(Tag::Mouse, signedBytes({1, 1}), [&](AnswerReader& r) { return r.Keys(ok, k); }))
      << "an answer of another kind";
  EXPECT_FALSE(reads(Tag::Mouse, signedBytes({1, 1, 1}), [&](AnswerReader& r) { return r.Mouse(p) && r.AtEnd(); }))
      << "a payload left over in its stream";
  const std::string trailing = written + '\0';
  EXPECT_FALSE(AnswerReader(trailing, kFormatVersion).Next()) << "bytes after the last stream";
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
