// Fakes of the platform interfaces, recording what the game asked of them.
#pragma once

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/game.h"
#include "fakes/fake_sound.h"

namespace kesmir::testing {

class FakeWindow : public IWindow {
 public:
  bool failFullScreen = false;
  std::vector<bool> modes;  // each SetScreenMode request that succeeded: true = full screen
  int canvasWidth = 0;
  int canvasHeight = 0;
  std::string caption;
  int presents = 0;
  std::vector<std::uint32_t> lastField;
  bool keepField = true;  // the simulator measures the game, not this copy
  std::deque<WindowEvent> events;
  int polls = 0;
  int closeAtPoll = -1;  // the window is closed by the user at this poll
  bool textInput = false;   // typed characters are being delivered

  bool SetScreenMode(bool fullScreen, int w, int h) override {
    if (fullScreen && failFullScreen) return false;
    modes.push_back(fullScreen);
    canvasWidth = w;
    canvasHeight = h;
    return true;
  }
  void SetCaption(const std::string& text) override { caption = text; }
  std::string Caption() const override { return caption; }
  void Present(PixelView field, Point, PixelView, Point) override {
    ++presents;
    if (keepField) lastField.assign(field.pixels, field.pixels + static_cast<std::ptrdiff_t>(field.width) * field.height);
  }
  void SetTextInput(bool on) override { textInput = on; }
  // Queues the characters of ASCII text as typed characters.
  void Type(const std::string& text) {
    for (unsigned char c : text) events.push_back({EventKind::TextInput, c, {}});
  }
  bool PollEvent(WindowEvent& event) override {
    if (++polls == closeAtPoll) {
      event = {EventKind::Close, 0, {}};
      return true;
    }
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
  }
};

class FakeKeyboard : public IKeyboard {
 public:
  std::uint8_t keys[256] = {};
  bool acquired = false;
  bool failReads = false;
  int reads = 0;
  std::vector<std::string>* log = nullptr;

  void Press(int dik) { keys[dik] = 0x80; }
  void ReleaseKey(int dik) { keys[dik] = 0; }
  bool Acquire() override {
    acquired = true;
    return true;
  }
  void Release() override {
    acquired = false;
    if (log) log->push_back("keyboard released");
  }
  bool ReadState(std::uint8_t (&state)[256]) override {
    ++reads;
    if (failReads) return false;
    std::copy(std::begin(keys), std::end(keys), std::begin(state));
    return true;
  }
};

class FakeMouse : public IMouse {
 public:
  Point position;
  std::vector<std::optional<Rect>> confines;
  std::vector<std::string>* log = nullptr;

  Point Position() override { return position; }
  void Confine(const std::optional<Rect>& rect) override {
    confines.push_back(rect);
    if (log) log->push_back(rect ? "pointer confined" : "pointer freed");
  }
};

// A clock that only moves when asked to: each reading advances it a little, as real time would pass while
// the program runs; sleeping advances it by the time slept.
class FakeClock : public IClock {
 public:
  std::uint64_t now = 1'000'000;  // one second after start
  std::uint64_t stepPerRead = 5;
  std::uint64_t slept = 0;

  Date today;
  Date Today() override { return today; }
  std::uint64_t Micros() override {
    now += stepPerRead;
    return now;
  }
  void SleepMicros(std::uint64_t micros) override {
    now += micros;
    slept += micros;
  }
};

class FakeDialogs : public IDialogs {
 public:
  struct Shown {
    std::string title;
    std::string text;
    MessageKind kind;
  };
  std::vector<Shown> shown;
  bool answerYes = true;  // the answer to Yes/No questions
  bool ShowMessage(const std::string& title, const std::string& text, MessageKind kind) override {
    shown.push_back({title, text, kind});
    return kind != MessageKind::YesNo || answerYes;
  }
};

// A score server and a web server in memory: FTP files by name, web files by address. Each failure switch
// makes the matching transfer fail with the error text given.
class FakeNetwork : public INetwork {
 public:
  std::map<std::string, std::string> ftpFiles;
  std::map<std::string, std::string> webFiles;
  std::string failFtpGet, failFtpPut, failFtpList, failHttp;
  bool failOnCertificate = false;  // failFtpGet is the server's certificate failing verification
  std::vector<std::string> calls;  // "get Atopw.kzm", "put Atopw.kzm", "list", "http <url>"
  std::function<void(const std::string& call)> whileRunning;  // the moment a transfer is under way
  FtpAccount lastAccount;
  TransferLimits lastLimits;

  TransferResult FtpGet(const FtpAccount& account, const std::string& name, std::size_t maxBytes,
                        const TransferLimits& limits, std::string& contents) override {
    if (!Note(account, limits, "get " + name)) return {false, "cut short"};
    if (!failFtpGet.empty()) return {false, failFtpGet, false, failOnCertificate};
    return Serve(ftpFiles, name, maxBytes, contents);
  }
  TransferResult FtpPut(const FtpAccount& account, const std::string& name, const std::string& contents,
                        const TransferLimits& limits) override {
    if (!Note(account, limits, "put " + name)) return {false, "cut short"};
    if (!failFtpPut.empty()) return {false, failFtpPut};
    ftpFiles[name] = contents;
    return {true, {}};
  }
  // DELE and RMD remove an entry, MKD adds one unless it is there.
  TransferResult FtpCommand(const FtpAccount& account, const std::string& command,
                            const TransferLimits& limits) override {
    if (!Note(account, limits, command)) return {false, "cut short"};
    const std::string name = command.substr(command.find(' ') + 1);
    if (command.starts_with("MKD ")) return {ftpFiles.emplace(name, "").second, "exists"};
    return {ftpFiles.erase(name) > 0, "no such file"};
  }
  TransferResult FtpList(const FtpAccount& account, const TransferLimits& limits,
                         std::vector<std::string>& names) override {
    if (!Note(account, limits, "list")) return {false, "cut short"};
    if (!failFtpList.empty()) return {false, failFtpList};
    names.clear();
    for (const auto& [name, contents] : ftpFiles) names.push_back(name);
    return {true, {}};
  }
  TransferResult HttpGet(const std::string& url, std::size_t maxBytes, const TransferLimits& limits,
                         std::string& contents) override {
    if (!Note({}, limits, "http " + url)) return {false, "cut short"};
    if (!failHttp.empty()) return {false, failHttp};
    return Serve(webFiles, url, maxBytes, contents);
  }
  // The score service: a post is answered with postStatus and postAnswer, unless failPost fails it first.
  TransferResult PostFile(const std::string& url, const FtpAccount& account, const std::string& body,
                          std::size_t maxBytes, const TransferLimits& limits, std::string& answer) override {
    lastAccount = account;
    if (!Note(account, limits, "post " + url)) return {false, "cut short"};
    posted.push_back(body);
    if (!failPost.empty()) return {false, failPost};
    if (postStatus / 100 != 2) {
      TransferResult refused{false, "the server said \"" + std::to_string(postStatus) + " " + postAnswer + "\""};
      refused.status = postStatus;
      return refused;
    }
    if (postAnswer.size() > maxBytes) return {false, "the answer is too large"};
    answer = postAnswer;
    TransferResult answered{true, {}};
    answered.status = postStatus;
    return answered;
  }
  int postStatus = 200;
  std::string postAnswer, failPost;
  std::vector<std::string> posted;  // the bodies posted, in order

 private:
  // Records the call; false when the caller's progress check cut the transfer short.
  bool Note(const FtpAccount& account, const TransferLimits& limits, std::string call) {
    if (!account.host.empty()) lastAccount = account;
    lastLimits = limits;
    calls.push_back(call);
    if (whileRunning) whileRunning(call);
    return !limits.keepGoing || limits.keepGoing();
  }
  static TransferResult Serve(const std::map<std::string, std::string>& files, const std::string& key,
                              std::size_t maxBytes, std::string& contents) {
    const auto it = files.find(key);
    if (it == files.end()) return {false, "no such file", true};
    if (it->second.size() > maxBytes) return {false, "the file is too large"};
    contents = it->second;
    return {true, {}};
  }
};

// The connection check's answer, set by the test.
class FakeConnection : public IConnectionMonitor {
 public:
  std::optional<bool> answer;
  std::string host;
  int port = 0;
  std::optional<bool> Reachable(const std::string& h, int p) override {
    host = h;
    port = p;
    return answer;
  }
};

class FakeDesktop : public IDesktop {
 public:
  std::vector<std::string> opened;
  bool OpenUrl(const std::string& url) override {
    opened.push_back(url);
    return true;
  }
};

// Pictures come from a map of file names to images; everything else is missing.
class FakePictures : public IPictures {
 public:
  std::map<std::string, Image> files;  // keyed by file name without folder
  std::vector<std::string> loaded;
  std::map<std::string, Image> saved;  // keyed by full path

  std::optional<Image> Load(const std::string& path) override {
    const std::string name = std::filesystem::path(path).filename().string();
    loaded.push_back(name);
    auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool SaveBmp(const std::string& path, PixelView view) override {
    Image image{view.width, view.height, {view.pixels, view.pixels + static_cast<std::ptrdiff_t>(view.width) * view.height}};
    saved[path] = image;
    return true;
  }
};

// Every character renders as a solid block half the size wide (a column wider when bold) and the size high,
// so tests can see where text went, how large and how heavy.
class FakeFonts : public IFonts {
 public:
  struct Call {
    std::string text;
    int size;
    bool bold;
  };
  std::vector<Call> calls;
  TextBitmap Render(const std::string& text, int size, bool bold, bool) override {
    calls.push_back({text, size, bold});
    TextBitmap b;
    b.width = static_cast<int>(text.size()) * (std::max(size, 2) / 2 + (bold ? 1 : 0));
    b.height = std::max(size, 1);
    b.coverage.assign(static_cast<std::size_t>(b.width * b.height), 255);
    return b;
  }
};

class FakeSystem : public ISystem {
 public:
  MemoryStatus memory{1024ull * 1024 * 1024, 512ull * 1024 * 1024};
  MemoryStatus Memory() override { return memory; }
};

// A Game wired to fakes, deterministic, with its folders under a fresh temporary directory.
struct FakeGame {
  FakeWindow window;
  FakeKeyboard keyboard;
  FakeMouse mouse;
  FakeClock clock;
  FakeDialogs dialogs;
  FakePictures pictures;
  FakeFonts fonts;
  FakeSystem system;
  FakeSound sound;
  FakeNetwork network;
  FakeConnection connection;
  FakeDesktop desktop;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  std::filesystem::path root;

  FakeGame();
  ~FakeGame();
  FakeGame(const FakeGame&) = delete;
  FakeGame& operator=(const FakeGame&) = delete;
  Game& operator*() { return *game; }
  Game* operator->() { return game.get(); }

  // Writes a file under the user or the data folder.
  void WriteUserFile(const std::string& relative, const std::string& contents);
  void WriteDataFile(const std::string& relative, const std::string& contents);
  std::string ReadUserFile(const std::string& relative) const;
};

// A solid picture of the given size.
Image SolidImage(int width, int height, std::uint32_t colour);

}  // namespace kesmir::testing
