// The answering ports of a replay and the run of a recorded game.
#include "replay/player.h"

#include <algorithm>

#include "app/main_loop.h"
#include "app/new_game.h"
#include "replay/answers.h"
#include "replay/recorder.h"
#include "replay/start_state.h"

namespace kesmir::replay {

// Every port reads the next answer; the first one missing or of another kind ends the replay: the game is
// told to end, and every later question gets a neutral answer.
struct ReplayPlayer::Ports {
  const Replay& replay;
  PlayerOptions options;
  AnswerReader answers;
  Game* game = nullptr;
  PlayOutcome outcome;
  bool over = false;  // the game ended or the replay failed: nothing more is read
  std::uint64_t lastMicros = 0;
  std::uint64_t lastTicks = 0;

  Ports(const Replay& r, PlayerOptions o, std::string_view recorded)
      : replay(r), options(std::move(o)), answers(recorded, r.header.formatVersion) {}

  // A recorded picture read again from the user folder, or from the data folder; a file that leaves both
  // folders is not read.
  std::optional<Image> LoadRecorded(const std::string& file, const Game& g) const {
    if (!options.pictures || file.find("..") != std::string::npos || file.starts_with('/')) return std::nullopt;
    auto image = options.pictures->Load((options.pictureDir / file).string());
    if (!image) image = options.pictures->Load((g.app.DataDir / file).string());
    return image;
  }

  // Whether an answer may be taken; ok is what reading it gave.
  bool Take(bool ok) {
    if (over) return false;
    if (!ok) {
      outcome.error = answers.AtEnd() ? "the recording ends before the game does"
                                      : "the recording does not fit this game at answer " +
                                            std::to_string(answers.Read());
      Stop();
    }
    return ok;
  }
  void Stop() {
    over = true;
    if (game) game->app.Ended = true;
  }

  struct Window final : IWindow {
    Ports& p;
    explicit Window(Ports& ports) : p(ports) {}
    bool SetScreenMode(bool, int, int) override {
      bool ok = true;
      return p.Take(p.answers.Flag(Tag::ScreenMode, ok)) && ok;
    }
    void SetCaption(const std::string& c) override {
      if (p.options.show) p.options.show->SetCaption(c);
    }
    std::string Caption() const override { return p.options.show ? p.options.show->Caption() : ""; }
    void Present(PixelView f, Point fp, PixelView s, Point sp) override {
      if (p.options.show) p.options.show->Present(f, fp, s, sp);
    }
    bool PollEvent(WindowEvent& e) override {
      bool got = false;
      return p.Take(p.answers.Event(got, e)) && got;
    }
  } window{*this};
  struct Keyboard final : IKeyboard {
    Ports& p;
    explicit Keyboard(Ports& ports) : p(ports) {}
    bool Acquire() override {
      bool ok = false;
      return p.Take(p.answers.Flag(Tag::Acquire, ok)) && ok;
    }
    void Release() override {}
    bool ReadState(std::uint8_t (&state)[256]) override {
      bool ok = false;
      std::uint8_t read[256];
      if (!p.Take(p.answers.Keys(ok, read)) || !ok) return false;
      std::copy(std::begin(read), std::end(read), std::begin(state));
      return true;
    }
  } keyboard{*this};
  struct Mouse final : IMouse {
    Ports& p;
    Point last;
    explicit Mouse(Ports& ports) : p(ports) {}
    Point Position() override {
      Point read;
      if (p.Take(p.answers.Mouse(read))) last = read;
      return last;
    }
    void Confine(const std::optional<Rect>&) override {}
  } mouse{*this};
  struct Pad final : IPad {
    Ports& p;
    explicit Pad(Ports& ports) : p(ports) {}
    PadState ReadPad() override {
      PadState read;
      return p.Take(p.answers.Pad(read)) ? read : PadState{};
    }
    void Rumble(int) override {}
  } pad{*this};
  struct Clock final : IClock {
    Ports& p;
    explicit Clock(Ports& ports) : p(ports) {}
    Date Today() override {
      Date d;
      return p.Take(p.answers.Today(d)) ? d : Date{};
    }
    std::uint64_t Micros() override { return Read(Tag::Micros); }
    std::uint64_t Ticks() override {
      std::uint64_t t = 0;
      if (p.Take(p.answers.Ticks(t))) p.lastTicks = t;
      return p.lastTicks;
    }
    void SleepMicros(std::uint64_t) override {}
    std::uint64_t WaitUntil(std::uint64_t wake) override {
      std::uint64_t t = 0;
      if (p.Take(p.answers.Wait(wake, t))) p.lastMicros = t;
      t = p.lastMicros;
      if (!p.over && p.options.pace && !p.options.pace(t)) {
        p.outcome.stopped = true;
        p.Stop();
      }
      return t;
    }
    std::uint64_t Read(Tag tag) {
      std::uint64_t t = 0;
      if (p.Take(p.answers.Clock(tag, t))) p.lastMicros = t;
      return p.lastMicros;
    }
  } clock{*this};
  struct Dialogs final : IDialogs {
    Ports& p;
    explicit Dialogs(Ports& ports) : p(ports) {}
    bool ShowMessage(const std::string&, const std::string&, MessageKind) override {
      bool yes = false;
      return p.Take(p.answers.Flag(Tag::Dialog, yes)) && yes;
    }
  } dialogs{*this};
  // The picture recorded is read from this machine's files; one that differs is still given, but the replay
  // no longer shows exactly what the player saw. One that is missing here is given as grey, so that the game
  // takes the same path as when it was recorded.
  struct Pictures final : IPictures {
    Ports& p;
    explicit Pictures(Ports& ports) : p(ports) {}
    std::optional<Image> Load(const std::string&) override {
      PictureAnswer recorded;
      if (!p.Take(p.answers.Picture(recorded)) || !recorded.ok) return std::nullopt;
      std::optional<Image> image = p.game ? p.LoadRecorded(recorded.file, *p.game) : std::nullopt;
      if (!image || ImageHash(*image) != recorded.hash) p.outcome.picturesExact = false;
      if (!image) image = Image{300, 300, std::vector<std::uint32_t>(300 * 300, 0x808080)};
      return image;
    }
    bool SaveBmp(const std::string&, PixelView) override {
      bool ok = false;
      return p.Take(p.answers.Flag(Tag::Saved, ok)) && ok;
    }
  } pictures{*this};
  struct Connection final : IConnectionMonitor {
    Ports& p;
    explicit Connection(Ports& ports) : p(ports) {}
    std::optional<bool> Reachable(const std::string&, int) override {
      std::optional<bool> answer;
      return p.Take(p.answers.Reachable(answer)) ? answer : std::nullopt;
    }
  } connection{*this};
  // A replay never reaches a server: every transfer fails at once.
  struct Network final : INetwork {
    static TransferResult Offline() { return {false, "a replay is offline"}; }
    TransferResult FtpGet(const FtpAccount&, const std::string&, std::size_t, const TransferLimits&,
                          std::string&) override {
      return Offline();
    }
    TransferResult FtpPut(const FtpAccount&, const std::string&, const std::string&, const TransferLimits&) override {
      return Offline();
    }
    TransferResult FtpCommand(const FtpAccount&, const std::string&, const TransferLimits&) override {
      return Offline();
    }
    TransferResult FtpList(const FtpAccount&, const TransferLimits&, std::vector<std::string>&) override {
      return Offline();
    }
    TransferResult HttpGet(const std::string&, std::size_t, const TransferLimits&, std::string&) override {
      return Offline();
    }
    TransferResult PostFile(const std::string&, const FtpAccount&, const std::string&, std::size_t,
                            const TransferLimits&, std::string&) override {
      return Offline();
    }
  } network;
  struct Desktop final : IDesktop {
    bool OpenUrl(const std::string&) override { return false; }
  } desktop;
};

ReplayPlayer::ReplayPlayer(const Replay& replay, PlayerOptions options) {
  ports_ = std::make_unique<Ports>(replay, std::move(options), std::string_view());
}

ReplayPlayer::~ReplayPlayer() = default;

PlayOutcome ReplayPlayer::Play(Game& game) {
  Ports& p = *ports_;
  ByteReader body(p.replay.body);
  const std::uint8_t parts = body.Byte();
  if (!ReadStartState(body, game)) {
    p.outcome.error = "the replay's start state is damaged";
    return p.outcome;
  }
  const std::uint8_t terrain = body.Byte();
  bool terrainRead = terrain == kTerrainNamed;
  if (terrain == kTerrainWhole) terrainRead = ReadPixels(body, game.surfaces.Terain);
  if (terrain == kTerrainChanges && p.replay.header.formatVersion >= 2) {
    const std::string file = body.Text(1024);
    const std::uint64_t hash = body.Fixed64();
    const std::optional<Image> base = body.Failed() ? std::nullopt : p.LoadRecorded(file, game);
    // Without the same map the terrain's pixels come out wrong, but the game's rules never read them.
    if (!base || ImageHash(*base) != hash) p.outcome.picturesExact = false;
    terrainRead = ReadPixels(body, game.surfaces.Terain, base ? &*base : nullptr);
  }
  if (!terrainRead || body.Failed()) {
    p.outcome.error = "the replay's terrain is damaged";
    return p.outcome;
  }
  p.answers = AnswerReader(std::string_view(p.replay.body).substr(body.Position()), p.replay.header.formatVersion);
  p.game = &game;
  Platform& platform = game.platform;
  auto part = [parts](int bit, auto* port) { return (parts >> bit) & 1 ? port : nullptr; };
  platform.window = part(0, &p.window);
  platform.keyboard = part(1, &p.keyboard);
  platform.mouse = part(2, &p.mouse);
  platform.pad = part(3, &p.pad);
  platform.clock = part(4, &p.clock);
  platform.dialogs = part(5, &p.dialogs);
  platform.pictures = part(6, &p.pictures);
  platform.connection = part(7, &p.connection);
  platform.network = &p.network;
  platform.desktop = &p.desktop;
  platform.recorder = this;
  game.app.Ended = false;
  game.app.InputAcquired = true;

  // The recording began inside the pass that started the game: that pass goes on from where NewGame was.
  NewGame(game);
  FinishPass(game);
  while (!game.app.Ended) MainLoopPass(game);
  p.outcome.answers = p.answers.Read();
  return p.outcome;
}

bool ReplayPlayer::GameEnding(Game& game) {
  Ports& p = *ports_;
  if (p.over) return false;
  p.outcome.ended = true;
  p.outcome.reached = Outcome(game);
  p.Stop();
  return false;
}

}  // namespace kesmir::replay
