// Watching a replay: the real window and sound, the player's answers, and the watcher's own keys.
#include "platform/watch.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

#include "app/startup.h"
#include "audio/sound_bank.h"
#include "core/files.h"
#include "replay/player.h"

namespace kesmir {

namespace {

namespace fs = std::filesystem;

constexpr int kVkEscape = 27;
constexpr int kVkReturn = 13;
constexpr int kVkSpace = 32;
constexpr int kVkF = 70;
constexpr std::uint64_t kPollMicros = 10000;  // how often the watcher's keys are looked at while waiting
constexpr std::size_t kMaxReplayBytes = 32u << 20;

// The recorded clock mapped onto the real one: each pacing wait returns once real time has caught up with
// the recorded reading, scaled by the speed. Pausing or changing the speed starts the mapping afresh.
class Pace {
 public:
  Pace(SdlFrontEnd& window, IClock& clock) : window_(window), clock_(clock) {}

  bool operator()(std::uint64_t recorded) {
    if (!started_) Restart(recorded);
    for (;;) {
      if (!WatcherKeys(recorded)) return false;
      const std::uint64_t now = clock_.Micros();
      if (paused_) {
        clock_.SleepMicros(kPollMicros);
        continue;
      }
      const std::uint64_t due = realBase_ + (recorded - std::min(recorded, recordedBase_)) / speed_;
      if (now >= due) return true;
      clock_.SleepMicros(std::min(due - now, kPollMicros));
    }
  }

 private:
  void Restart(std::uint64_t recorded) {
    started_ = true;
    recordedBase_ = recorded;
    realBase_ = clock_.Micros();
  }

  // False when the watcher stops.
  bool WatcherKeys(std::uint64_t recorded) {
    WindowEvent e;
    while (window_.PollEvent(e)) {
      if (e.kind == EventKind::Close || (e.kind == EventKind::KeyDown && e.code == kVkEscape)) return false;
      if (e.kind == EventKind::KeyDown && e.code == kVkSpace) paused_ = !paused_, Restart(recorded);
      if (e.kind == EventKind::KeyDown && e.code == kVkF) ToggleSpeed(recorded);
    }
    const bool shoulder = (window_.Pad().ReadPad().buttons & kPadRightShoulder) != 0;
    if (shoulder && !shoulderHeld_) ToggleSpeed(recorded);
    shoulderHeld_ = shoulder;
    return true;
  }

  void ToggleSpeed(std::uint64_t recorded) {
    speed_ = speed_ == 1 ? 4 : 1;
    Restart(recorded);
  }

  SdlFrontEnd& window_;
  IClock& clock_;
  bool started_ = false;
  bool paused_ = false;
  bool shoulderHeld_ = false;
  std::uint64_t speed_ = 1;
  std::uint64_t recordedBase_ = 0;
  std::uint64_t realBase_ = 0;
};

// The watcher's window: the replay's pictures go where this window's layout puts them, whichever layout
// the game was recorded in.
class WatchWindow final : public IWindow {
 public:
  WatchWindow(IWindow& window, Point fieldAt, Point statusAt) : window_(window), fieldAt_(fieldAt), statusAt_(statusAt) {}
  bool SetScreenMode(bool, int, int) override { return true; }
  void SetCaption(const std::string& caption) override { window_.SetCaption(caption); }
  std::string Caption() const override { return window_.Caption(); }
  void Present(PixelView field, Point, PixelView status, Point) override {
    window_.Present(field, fieldAt_, status, statusAt_);
  }
  bool PollEvent(WindowEvent&) override { return false; }

 private:
  IWindow& window_;
  Point fieldAt_;
  Point statusAt_;
};

// The end-of-game picture stays until the watcher is done with it.
void ShowEnd(Game& game, SdlFrontEnd& window, IWindow& shown, IClock& clock) {
  for (;;) {
    shown.Present(game.surfaces.MenuField.View(), {}, game.surfaces.StatusField.View(), {});
    WindowEvent e;
    while (window.PollEvent(e)) {
      if (e.kind == EventKind::Close) return;
      if (e.kind == EventKind::KeyDown && (e.code == kVkEscape || e.code == kVkReturn)) return;
    }
    clock.SleepMicros(kPollMicros * 3);
  }
}

// A folder of its own for whatever the game would write while the replay runs; removed at the end.
struct ScratchHome {
  fs::path dir;
  explicit ScratchHome(const fs::path& userDir) {
    std::string pattern = (fs::temp_directory_path() / "kesmir-replay-XXXXXX").string();
    if (mkdtemp(pattern.data())) dir = pattern;
    std::error_code ec;
    fs::create_directories(dir / "OtherFiles", ec);
    // The watcher's own options (window or full screen), read but never written back.
    fs::copy_file(userDir / "OtherFiles/Options.txt", dir / "OtherFiles/Options.txt", ec);
  }
  ~ScratchHome() {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }
};

}  // namespace

namespace {

// Plays the replay on the game in the window and shows its end; the exit status of WatchReplay.
int Show(Game& game, const replay::Replay& replay, SdlFrontEnd& window, IClock& clock, IPictures& pictures,
         const fs::path& file) {
  const fs::path userDir = game.app.UserDir;
  ScratchHome scratch(userDir);
  if (scratch.dir.empty()) {
    std::fprintf(stderr, "kesmir: no temporary folder for the replay\n");
    return 2;
  }
  game.app.UserDir = scratch.dir;
  replay::PlayerOptions options;
  options.pictureDir = userDir;
  options.pictures = &pictures;
  WatchWindow shown(window, game.app.FieldOrigin, game.app.StatusOrigin);
  options.show = &shown;
  options.pace = Pace(window, clock);
  replay::ReplayPlayer player(replay, options);
  const replay::PlayOutcome outcome = player.Play(game);
  if (outcome.stopped) return 0;
  if (!outcome.ended) {
    std::fprintf(stderr, "kesmir: %s: %s\n", file.c_str(), outcome.error.c_str());
    return 1;
  }
  if (!outcome.picturesExact) {
    std::fprintf(stderr, "kesmir: %s: this machine's terrain maps are not the recorded ones\n", file.c_str());
  }
  std::fprintf(stderr, "kesmir: replay ended: score %d, kills %d, time %d:%02d\n", outcome.reached.score,
               outcome.reached.kills, outcome.reached.minutes, outcome.reached.seconds);
  ShowEnd(game, window, shown, clock);
  return 0;
}

std::optional<replay::Replay> ReadReplay(const fs::path& file, std::string& error) {
  const auto contents = ReadFileLimited(file, kMaxReplayBytes);
  error = contents ? "" : "cannot read the file, or it is larger than 32 MB";
  return contents ? replay::DecodeReplay(*contents, error) : std::nullopt;
}

}  // namespace

int WatchReplay(Game& game, SdlFrontEnd& window, IClock& clock, IPictures& pictures, const fs::path& file) {
  std::string error;
  const auto replay = ReadReplay(file, error);
  if (!replay) {
    std::fprintf(stderr, "kesmir: %s: %s\n", file.c_str(), error.c_str());
    return 2;
  }
  // Nothing of the user folder is written: start-up reads it from a scratch copy of the options.
  const fs::path userDir = game.app.UserDir;
  ScratchHome scratch(userDir);
  game.app.UserDir = scratch.dir.empty() ? userDir : scratch.dir;
  game.platform.network = nullptr;
  if (scratch.dir.empty() || !StartUp(game)) return 0;
  game.app.UserDir = userDir;
  return Show(game, *replay, window, clock, pictures, file);
}

std::string ReplayShelf::Kept(long long score, long long kills, const std::string& date) {
  std::error_code ec;
  const auto stamp = fs::last_write_time(folder_, ec);
  if (ec) return {};
  if (stamp != indexed_) {
    indexed_ = stamp;
    index_.clear();
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
      if (entry.path().extension() != ".kzr") continue;
      std::string error;
      if (const auto replay = ReadReplay(entry.path(), error)) {
        // As the list stores them: kills within 0..999, the score within 0..99999.
        const replay::ReplayHeader& h = replay->header;
        index_[{std::clamp(h.score, 0, 99999), std::clamp(h.kills, 0, 999), h.date}] = entry.path().string();
      }
    }
  }
  const auto found = index_.find({score, kills, date});
  return found == index_.end() ? std::string() : found->second;
}

void ReplayShelf::Watch(Game& game, const std::string& file) {
  std::string error;
  const auto replay = ReadReplay(file, error);
  if (!replay) {
    std::fprintf(stderr, "kesmir: %s: %s\n", file.c_str(), error.c_str());
    return;
  }
  auto copy = std::make_unique<Game>(game);
  copy->platform.replays = nullptr;
  Show(*copy, *replay, window_, clock_, pictures_, file);
  copy.reset();
  // The replay's sounds stopped the menu's own.
  SetSoundVolume(game, kSoundMenuAmbience, 32 * game.settings.SoundVolume - 3201);
  PlaySoundLooping(game, kSoundMenuAmbience);
}

}  // namespace kesmir
