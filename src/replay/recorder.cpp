// The recording ports and the writing of replay files.
#include "replay/recorder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "app/folders.h"
#include "core/files.h"
#include "replay/answers.h"
#include "replay/start_state.h"

namespace kesmir::replay {

namespace {

namespace fs = std::filesystem;

std::uint64_t SurfaceHash(const Surface& surface) {
  std::uint64_t hash = 14695981039346656037ull ^ (surface.Width() * 65536ull + surface.Height());
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) hash = (hash * 1099511628211ull) ^ surface.Row(y)[x];
  return hash * 1099511628211ull;
}

// A replay's place among the kept ones, from its name "<sequence>-<score>.kzr".
struct Kept {
  fs::path path;
  long long sequence = 0;
  long long score = 0;
};

std::vector<Kept> KeptReplays(const fs::path& folder) {
  std::vector<Kept> kept;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const auto dash = name.find('-');
    if (entry.path().extension() != ".kzr" || dash == std::string::npos) continue;
    Kept k{entry.path()};
    const char* end = name.data() + name.size() - 4;
    if (std::from_chars(name.data(), name.data() + dash, k.sequence).ec != std::errc() ||
        std::from_chars(name.data() + dash + 1, end, k.score).ptr != end) {
      continue;
    }
    kept.push_back(k);
  }
  return kept;
}

// Where the platform's own answers go: one recording port per part, each also passing the answer on.
struct Recording {
  AnswerWriter answers;
  bool on = false;
  int terrainMap = 0;
  fs::path userDir;
  fs::path dataDir;
  // The terrain map read last, recording or not: a game that keeps the terrain keeps it as its changes.
  std::string lastMapPath;
  Image lastMap;
};

// A terrain map: the generated ones in the user folder, the shipped ones in the data folder.
bool IsMapFile(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  return name.size() == 9 && name.rfind("Map0", 0) == 0 && name[4] >= '1' && name[4] <= '4' &&
         (name.ends_with(".bmp") || name.ends_with(".jpg"));
}

std::string Relative(const Recording& r, const std::string& path) {
  for (const fs::path& base : {r.userDir, r.dataDir}) {
    const std::string prefix = base.string() + "/";
    if (!base.empty() && path.rfind(prefix, 0) == 0) return path.substr(prefix.size());
  }
  return path;
}

// Whether most of the surface's pixels are those of the picture: then its changes pack smaller than it.
bool MostlyLike(const Surface& surface, const Image& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
    return false;
  }
  long same = 0;
  for (int y = 0; y < std::min(surface.Height(), picture.height); ++y) {
    for (int x = 0; x < std::min(surface.Width(), picture.width); ++x) {
      same += surface.Row(y)[x] == (picture.pixels[static_cast<std::size_t>(y * picture.width + x)] & 0x00FFFFFFu);
    }
  }
  return same * 2 > static_cast<long>(surface.Width()) * surface.Height();
}

}  // namespace

struct Recorder::Ports {
  Recording rec;
  Platform original;

  struct Window final : IWindow {
    IWindow* inner;
    Recording& rec;
    Window(IWindow* i, Recording& r) : inner(i), rec(r) {}
    bool SetScreenMode(bool full, int w, int h) override {
      const bool ok = inner->SetScreenMode(full, w, h);
      if (rec.on) rec.answers.Flag(Tag::ScreenMode, ok);
      return ok;
    }
    void SetCaption(const std::string& c) override { inner->SetCaption(c); }
    std::string Caption() const override { return inner->Caption(); }
    void Present(PixelView f, Point fp, PixelView s, Point sp) override { inner->Present(f, fp, s, sp); }
    bool PollEvent(WindowEvent& e) override {
      const bool got = inner->PollEvent(e);
      if (rec.on) rec.answers.Event(got, e);
      return got;
    }
    void SetTextInput(bool on) override { inner->SetTextInput(on); }
  };
  struct Keyboard final : IKeyboard {
    IKeyboard* inner;
    Recording& rec;
    Keyboard(IKeyboard* i, Recording& r) : inner(i), rec(r) {}
    bool Acquire() override {
      const bool ok = inner->Acquire();
      if (rec.on) rec.answers.Flag(Tag::Acquire, ok);
      return ok;
    }
    void Release() override { inner->Release(); }
    bool ReadState(std::uint8_t (&state)[256]) override {
      const bool ok = inner->ReadState(state);
      if (rec.on) rec.answers.Keys(ok, state);
      return ok;
    }
  };
  struct Mouse final : IMouse {
    IMouse* inner;
    Recording& rec;
    Mouse(IMouse* i, Recording& r) : inner(i), rec(r) {}
    Point Position() override {
      const Point p = inner->Position();
      if (rec.on) rec.answers.Mouse(p);
      return p;
    }
    void Confine(const std::optional<Rect>& r) override { inner->Confine(r); }
    void Warp(Point p) override { inner->Warp(p); }
  };
  struct Pad final : IPad {
    IPad* inner;
    Recording& rec;
    Pad(IPad* i, Recording& r) : inner(i), rec(r) {}
    PadState ReadPad() override {
      const PadState s = inner->ReadPad();
      if (rec.on) rec.answers.Pad(s);
      return s;
    }
    void Rumble(int ms) override { inner->Rumble(ms); }
  };
  struct Clock final : IClock {
    IClock* inner;
    Recording& rec;
    Clock(IClock* i, Recording& r) : inner(i), rec(r) {}
    Date Today() override {
      const Date d = inner->Today();
      if (rec.on) rec.answers.Today(d);
      return d;
    }
    std::uint64_t Micros() override {
      const std::uint64_t t = inner->Micros();
      if (rec.on) rec.answers.Clock(Tag::Micros, t);
      return t;
    }
    std::uint64_t Ticks() override {
      const std::uint64_t t = inner->Ticks();
      if (rec.on) rec.answers.Ticks(t);
      return t;
    }
    void SleepMicros(std::uint64_t us) override { inner->SleepMicros(us); }
    std::uint64_t WaitUntil(std::uint64_t wake) override {
      const std::uint64_t t = inner->WaitUntil(wake);
      if (rec.on) rec.answers.Wait(wake, t);
      return t;
    }
  };
  struct Dialogs final : IDialogs {
    IDialogs* inner;
    Recording& rec;
    Dialogs(IDialogs* i, Recording& r) : inner(i), rec(r) {}
    bool ShowMessage(const std::string& title, const std::string& text, MessageKind kind) override {
      const bool yes = inner->ShowMessage(title, text, kind);
      if (rec.on) rec.answers.Flag(Tag::Dialog, yes);
      return yes;
    }
  };
  struct Pictures final : IPictures {
    IPictures* inner;
    Recording& rec;
    Pictures(IPictures* i, Recording& r) : inner(i), rec(r) {}
    std::optional<Image> Load(const std::string& path) override {
      auto image = inner->Load(path);
      if (image && IsMapFile(path)) rec.lastMapPath = path, rec.lastMap = *image;
      if (!rec.on) return image;
      const std::string file = Relative(rec, path);
      rec.answers.Picture({file, image.has_value(), image ? ImageHash(*image) : 0});
      // A map of the generated set: the replay names it instead of keeping its pixels.
      if (image && file.size() == 18 && file.rfind("Pictures/Map0", 0) == 0 && file.ends_with(".bmp")) {
        rec.terrainMap = file[13] - '0';
      }
      return image;
    }
    bool SaveBmp(const std::string& path, PixelView pixels) override {
      const bool ok = inner->SaveBmp(path, pixels);
      // A map just made: it becomes the terrain, and reads back as these pixels.
      if (ok && IsMapFile(path) && pixels.pixels && pixels.width > 0 && pixels.height > 0) {
        rec.lastMapPath = path;
        rec.lastMap = {pixels.width, pixels.height,
                       {pixels.pixels, pixels.pixels + static_cast<std::ptrdiff_t>(pixels.width) * pixels.height}};
      }
      if (rec.on) rec.answers.Flag(Tag::Saved, ok);
      return ok;
    }
  };
  struct Connection final : IConnectionMonitor {
    IConnectionMonitor* inner;
    Recording& rec;
    Connection(IConnectionMonitor* i, Recording& r) : inner(i), rec(r) {}
    std::optional<bool> Reachable(const std::string& host, int port) override {
      const auto answer = inner->Reachable(host, port);
      if (rec.on) rec.answers.Reachable(answer);
      return answer;
    }
  };

  std::unique_ptr<Window> window;
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<Mouse> mouse;
  std::unique_ptr<Pad> pad;
  std::unique_ptr<Clock> clock;
  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<Pictures> pictures;
  std::unique_ptr<Connection> connection;
  ByteWriter start;
  Surface startTerrain;
  std::string startMapFile;  // the map the starting terrain was read from, relative; empty when none
  Image startMap;
};

namespace {

template <typename Wrapper, typename Port>
void Wrap(std::unique_ptr<Wrapper>& wrapper, Port*& port, Recording& rec) {
  if (!port) return;
  wrapper = std::make_unique<Wrapper>(port, rec);
  port = wrapper.get();
}

}  // namespace

ReplayHeader Outcome(const Game& game) {
  const Fighter& player = game.play.Fighters[0];
  ReplayHeader h;
  h.date = player.DateStamp;
  h.score = AddSat(game.play.StatBonus, game.play.Score);
  h.kills = game.play.Kills;
  h.minutes = game.clock.GameMinutes;
  h.seconds = game.clock.GameSeconds;
  h.levels = {player.Accuracy, player.Recharge, player.BulletSpeed, player.Melee};
  for (const Surface* s : {&game.surfaces.Field, &game.surfaces.Terain, &game.surfaces.StatusField}) {
    h.stateHash = h.stateHash * 31 + SurfaceHash(*s);
  }
  return h;
}

void PruneReplays(const fs::path& folder) {
  std::vector<Kept> kept = KeptReplays(folder);
  std::vector<Kept> keep;
  std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.sequence > b.sequence; });
  keep.insert(keep.end(), kept.begin(), kept.begin() + std::min<std::ptrdiff_t>(kKeptLatest, std::ssize(kept)));
  // Ties go to the older game, which reached the score first.
  std::stable_sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
    return a.score != b.score ? a.score > b.score : a.sequence < b.sequence;
  });
  keep.insert(keep.end(), kept.begin(), kept.begin() + std::min<std::ptrdiff_t>(kKeptBest, std::ssize(kept)));
  for (const Kept& k : kept) {
    const bool stays = std::any_of(keep.begin(), keep.end(), [&](const Kept& x) { return x.path == k.path; });
    std::error_code ec;
    if (!stays) fs::remove(k.path, ec);
  }
}

Recorder::Recorder(Platform& platform, std::string gameVersion)
    : ports_(std::make_unique<Ports>()), gameVersion_(std::move(gameVersion)) {
  Ports& p = *ports_;
  p.original = platform;
  Wrap(p.window, platform.window, p.rec);
  Wrap(p.keyboard, platform.keyboard, p.rec);
  Wrap(p.mouse, platform.mouse, p.rec);
  Wrap(p.pad, platform.pad, p.rec);
  Wrap(p.clock, platform.clock, p.rec);
  Wrap(p.dialogs, platform.dialogs, p.rec);
  Wrap(p.pictures, platform.pictures, p.rec);
  Wrap(p.connection, platform.connection, p.rec);
  platform.recorder = this;
}

Recorder::~Recorder() = default;

void Recorder::GameStarting(Game& game) {
  Ports& p = *ports_;
  p.rec.answers = AnswerWriter();
  p.rec.terrainMap = 0;
  p.rec.userDir = game.app.UserDir;
  p.rec.dataDir = game.app.DataDir;
  p.start = ByteWriter();
  WriteStartState(p.start, game);
  p.startTerrain = game.surfaces.Terain;
  p.startMapFile = p.rec.lastMapPath.empty() ? "" : Relative(p.rec, p.rec.lastMapPath);
  p.startMap = p.rec.lastMap;
  p.rec.on = true;
}

bool Recorder::GameEnding(Game& game) {
  Ports& p = *ports_;
  if (!p.rec.on) return true;
  p.rec.on = false;
  Replay replay;
  replay.header = Outcome(game);
  replay.header.gameVersion = gameVersion_;
  replay.header.terrainMap = p.rec.terrainMap;
  ByteWriter body;
  // Which parts the game had: the player gives the game the same ones, since a missing part is never asked.
  body.Byte(static_cast<std::uint8_t>((p.window ? 1 : 0) | (p.keyboard ? 2 : 0) | (p.mouse ? 4 : 0) |
                                      (p.pad ? 8 : 0) | (p.clock ? 16 : 0) | (p.dialogs ? 32 : 0) |
                                      (p.pictures ? 64 : 0) | (p.connection ? 128 : 0)));
  body.Append(p.start.Bytes());
  if (p.rec.terrainMap != 0) {
    body.Byte(kTerrainNamed);
  } else if (!p.startMapFile.empty() && MostlyLike(p.startTerrain, p.startMap)) {
    body.Byte(kTerrainChanges);
    body.Text(p.startMapFile);
    body.Fixed64(ImageHash(p.startMap));
    WritePixels(body, p.startTerrain, &p.startMap);
  } else {
    body.Byte(kTerrainWhole);
    WritePixels(body, p.startTerrain);
  }
  body.Append(p.rec.answers.Bytes());
  replay.body = std::move(body.Bytes());
  p.rec.answers = AnswerWriter();

  const fs::path folder = UserPath(game, "Replays");
  std::error_code ec;
  fs::create_directories(folder, ec);
  long long sequence = 0;
  for (const Kept& k : KeptReplays(folder)) sequence = std::max(sequence, k.sequence);
  char name[64];
  std::snprintf(name, sizeof name, "%06lld-%d.kzr", sequence + 1, replay.header.score);
  const fs::path path = folder / name;
  if (!WriteFileAtomic(path, EncodeReplay(replay))) {
    std::fprintf(stderr, "kesmir: cannot write the replay %s\n", path.c_str());
    lastFile_.clear();
    return true;
  }
  lastFile_ = path;
  named_ = false;
  PruneReplays(folder);
  return true;
}

void Recorder::NameEntered(const std::string& name) {
  if (lastFile_.empty() || named_) return;
  named_ = true;  // one name per game
  std::string error;
  auto replay = DecodeReplay(ReadFileLimited(lastFile_, kMaxBodyBytes).value_or(""), error);
  if (!replay) return;
  replay->header.name = name;
  if (!WriteFileAtomic(lastFile_, EncodeReplay(*replay))) {
    std::fprintf(stderr, "kesmir: cannot write the name into the replay %s\n", lastFile_.c_str());
  }
}

}  // namespace kesmir::replay
