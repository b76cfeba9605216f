// The small interfaces through which the game reaches the platform; SDL implements them, tests fake them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kesmir {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < x + w && p.y < y + h; }
};

// A decoded picture: pixels row by row, each 0x00BBGGRR (red in the low byte, as GDI colours are).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Read-only view of pixels in the same layout, for presenting and saving.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
};

// Rendered text: one coverage byte (0 = none, 255 = full) per pixel; the text cell's top-left is (0, 0).
struct TextBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

// Window events delivered by the yield. Key codes are the window system's virtual key codes
// (65 'A', 68 'D', 83 'S', 87 'W', 17 Ctrl, 81 'Q', 8 Backspace) of the keys at those places on a US
// keyboard, whatever the layout; mouse buttons are 1 left, 2 right.
// TextInput is one character typed while text input is on, as its Unicode code point. FocusLost: the window
// lost the keyboard focus or was minimised.
enum class EventKind { KeyDown, KeyUp, MouseDown, MouseUp, Close, TextInput, FocusLost };

struct WindowEvent {
  EventKind kind = EventKind::Close;
  int code = 0;     // key code, mouse button or typed character
  Point position;   // pointer position in canvas pixels at the event (mouse events)
};

// Physical memory in bytes, as measured once at start-up.
struct MemoryStatus {
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
};

enum class MessageKind { Warning, Information, YesNo };

// The window and its canvas. The canvas is the logical drawing area (windowed: the play field with the
// status bar below it; full screen: 640x480 with the picture placed on black).
class IWindow {
 public:
  virtual ~IWindow() = default;
  // Lays the window out for the mode with a canvas of the size given. False when the mode cannot be
  // entered; the window then stays as it was.
  virtual bool SetScreenMode(bool fullScreen, int canvasWidth, int canvasHeight) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  // Shows the two visible surfaces at their canvas positions; everything else on the canvas is black.
  virtual void Present(PixelView field, Point fieldPos, PixelView status, Point statusPos) = 0;
  // Takes the next pending event; false when none is left.
  virtual bool PollEvent(WindowEvent& event) = 0;
  // Turns the delivery of typed characters (TextInput events) on or off; it starts off. A window without
  // text entry ignores it.
  virtual void SetTextInput(bool) {}
};

// The keyboard as 256 bytes indexed by DirectInput key code; non-zero = down. A key pressed and released
// between two reads is reported down once, so a quick tap is never lost.
class IKeyboard {
 public:
  virtual ~IKeyboard() = default;
  virtual bool Acquire() = 0;
  virtual void Release() = 0;
  // Fills state with the keys down; false (state untouched) when the keyboard cannot be read.
  virtual bool ReadState(std::uint8_t (&state)[256]) = 0;
};

class IMouse {
 public:
  virtual ~IMouse() = default;
  // Pointer position in canvas pixels (may lie outside the canvas).
  virtual Point Position() = 0;
  // Confines the pointer to the canvas rectangle given, or frees it.
  virtual void Confine(const std::optional<Rect>& canvasRect) = 0;
  // Moves the pointer to a canvas point, as if the mouse had been moved there; Position then reads it.
  virtual void Warp(Point) {}
};

// Buttons of a game controller, as bits of PadState::buttons (the layout of the common pads: A at the bottom
// of the four face buttons, B to its right).
enum PadButton : std::uint32_t {
  kPadA = 1u << 0,
  kPadB = 1u << 1,
  kPadBack = 1u << 2,
  kPadStart = 1u << 3,
  kPadLeftShoulder = 1u << 4,
  kPadRightShoulder = 1u << 5,
  kPadUp = 1u << 6,
  kPadDown = 1u << 7,
  kPadLeft = 1u << 8,
  kPadRight = 1u << 9,
};

// The game controller that drives the game. Sticks run from -32768 to 32767 (left and up negative), triggers
// from 0 to 32767.
struct PadState {
  bool connected = false;
  bool lost = false;  // the pad that drove the game went away since the last read
  int leftX = 0;
  int leftY = 0;
  int rightX = 0;
  int rightY = 0;
  int leftTrigger = 0;
  int rightTrigger = 0;
  std::uint32_t buttons = 0;  // held now, or pressed and released since the last read
};

class IPad {
 public:
  virtual ~IPad() = default;
  virtual PadState ReadPad() = 0;
  // A short rumble; nothing when the pad has no motors.
  virtual void Rumble(int milliseconds) = 0;
};

struct Date {
  int year = 2002;
  int month = 8;
  int day = 27;
};

class IClock {
 public:
  virtual ~IClock() = default;
  // Today's local date.
  virtual Date Today() = 0;
  // Monotonic microseconds since start; milliseconds are this divided by 1000.
  virtual std::uint64_t Micros() = 0;
  virtual void SleepMicros(std::uint64_t micros) = 0;
  // Milliseconds since start.
  virtual std::uint64_t Ticks() { return Micros() / 1000; }
  // Waits until the microsecond count reaches wakeMicros and returns the first reading at or past it (at once
  // when it has passed). Sleeping overshoots by up to some tens of microseconds, so the last stretch is spun.
  virtual std::uint64_t WaitUntil(std::uint64_t wakeMicros) {
    for (;;) {
      const std::uint64_t now = Micros();
      if (now >= wakeMicros) return now;
      if (wakeMicros - now > kSpinMicros + 50) SleepMicros(wakeMicros - now - kSpinMicros);
    }
  }
  static constexpr std::uint64_t kSpinMicros = 120;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Shows a message box; for YesNo returns true when Yes was chosen.
  virtual bool ShowMessage(const std::string& title, const std::string& text, MessageKind kind) = 0;
};

class IPictures {
 public:
  virtual ~IPictures() = default;
  // Decodes a JPEG or BMP file; nullopt when it is missing or not a picture.
  virtual std::optional<Image> Load(const std::string& path) = 0;
  // Writes a BMP file; false when it cannot be written.
  virtual bool SaveBmp(const std::string& path, PixelView pixels) = 0;
};

class IFonts {
 public:
  virtual ~IFonts() = default;
  // Renders text (Windows-1252 bytes) at a size in points at 96 dpi, in the proportional face or the
  // fixed-width one; an empty bitmap when no font is available.
  virtual TextBitmap Render(const std::string& text, int pointSize, bool bold, bool fixedWidth) = 0;
};

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual MemoryStatus Memory() = 0;
};

// Sound output: numbered buffers, each holding one sound in the device's format and playing on a channel of
// its own, so a buffer started again restarts instead of overlapping itself. A buffer keeps its volume and
// pan between plays. Volumes are hundredths of a decibel of attenuation (-10000 silent .. 0 full); a pan
// attenuates the opposite side by |pan| hundredths of a decibel (-10000 left only .. 10000 right only).
class ISound {
 public:
  virtual ~ISound() = default;
  // Opens the output device for `buffers` buffers; false, with the reason, when there is none: every later
  // call then does nothing.
  virtual bool Open(int buffers, std::string& reason) = 0;
  // Loads a WAV file into a buffer; false when it is missing or not a sound (the buffer stays empty).
  virtual bool Load(int buffer, const std::string& path) = 0;
  // Empties a buffer, stopping it first.
  virtual void Unload(int buffer) = 0;
  // False, keeping the previous value, when the value is outside its range or the buffer is empty.
  virtual bool SetVolume(int buffer, int volume) = 0;
  virtual bool SetPan(int buffer, int pan) = 0;
  // Plays from a byte position (rounded down to a whole sample frame; past the end plays from the start),
  // once or looping; a loop goes on from the buffer's beginning after the first pass.
  virtual void Play(int buffer, long startByte, bool loop) = 0;
  // Stops; the buffer keeps its position.
  virtual void Stop(int buffer) = 0;
  // Plays looping from where the buffer stands: where a loop was stopped; its beginning when it never
  // played, ran to its end or was stopped during a single play. A buffer already playing goes on.
  virtual void PlayLooping(int buffer) = 0;
};

// An FTP account on the score server. The password is handed to the transfer only, never printed.
struct FtpAccount {
  std::string host;
  int port = 21;
  std::string user;
  std::string password;
  bool tryTls = true;       // use TLS when the server offers it, else plain; false: always plain
  bool requireTls = false;  // TLS or nothing: a server without it is refused before the log-in
  std::string caFile;       // the server's certificate or its authority, for a server the system does not know
  std::string uploadTag;    // part of this installation's temporary upload names, so it can find its own
};

// Limits of one transfer, in seconds: the connection with the FTP greeting and log-in, each later server
// answer, a stretch without any progress, the whole transfer.
struct TransferLimits {
  long connectSeconds = 10;
  long responseSeconds = 15;
  long stallSeconds = 15;
  long totalSeconds = 60;
  // Asked several times a second while a transfer runs, on the caller's thread; false cuts the transfer short.
  std::function<bool()> keepGoing;
};

// The outcome of one transfer: error names what failed when ok is false (never the password), in the server's
// own words when it refused.
struct TransferResult {
  bool ok = false;
  std::string error;
  bool missing = false;      // the server answered that the file does not exist (FTP 550, HTTP 404)
  bool certificate = false;  // the server's TLS certificate could not be verified
  bool noTls = false;        // TLS was required and the server does not offer it
  int status = 0;            // the HTTP status an answer came with; 0 when none came
};

// Blocking transfers with the score server (passive FTP) and the web server (HTTP). Downloads land in memory:
// a download larger than maxBytes fails, so a runaway file never reaches the disk. The FTP transfers share
// one log-in, made by the first of them and kept until EndSession; one that finds it gone logs in again.
class INetwork {
 public:
  virtual ~INetwork() = default;
  virtual TransferResult FtpGet(const FtpAccount& account, const std::string& remoteName, std::size_t maxBytes,
                                const TransferLimits& limits, std::string& contents) = 0;
  // Stores contents under remoteName; the server's file is replaced only once the whole upload has arrived.
  virtual TransferResult FtpPut(const FtpAccount& account, const std::string& remoteName, const std::string& contents,
                                const TransferLimits& limits) = 0;
  // Sends one command in the account's login folder ("DELE name", "MKD name", "RMD name"); ok when the server
  // accepted it.
  virtual TransferResult FtpCommand(const FtpAccount& account, const std::string& command,
                                    const TransferLimits& limits) = 0;
  // The names in the account's login folder.
  virtual TransferResult FtpList(const FtpAccount& account, const TransferLimits& limits,
                                 std::vector<std::string>& names) = 0;
  // Fetches an http:// or https:// address; a server's error status is a failure.
  virtual TransferResult HttpGet(const std::string& url, std::size_t maxBytes, const TransferLimits& limits,
                                 std::string& contents) = 0;
  // Posts body as text to an http:// or https:// address with the account's user and password (HTTP Basic),
  // trusting its caFile too; the answer lands in answer. A status other than 2xx is a failure whose error
  // quotes the status and the first line of the answer.
  virtual TransferResult PostFile(const std::string& url, const FtpAccount& account, const std::string& body,
                                  std::size_t maxBytes, const TransferLimits& limits, std::string& answer) = 0;
  // Logs out of the score server, if logged in.
  virtual void EndSession() {}
};

// Whether a server accepts connections, found out in the background so that asking never waits.
class IConnectionMonitor {
 public:
  virtual ~IConnectionMonitor() = default;
  // The latest answer for host:port (true: it accepted a connection), nullopt before the first answer for
  // that server. Starts a fresh check in the background when the latest is old enough.
  virtual std::optional<bool> Reachable(const std::string& host, int port) = 0;
};

// The desktop: hands an address to the user's web browser or download handler.
class IDesktop {
 public:
  virtual ~IDesktop() = default;
  // False when it could not be handed over.
  virtual bool OpenUrl(const std::string& url) = 0;
};

struct Game;

// Told when a game starts and when it ends, so that what the platform answered in between can be kept.
class IGameRecorder {
 public:
  virtual ~IGameRecorder() = default;
  // At the start of NewGame, before anything of the new game is set.
  virtual void GameStarting(Game& game) = 0;
  // In EndGame once the end-of-game picture is made; false when the game is a replay shown again, which
  // enters no list and keeps no options.
  virtual bool GameEnding(Game& game) = 0;
  // The name the player entered into the high-score list after the game that ended last.
  virtual void NameEntered(const std::string&) {}
};

// The replays kept of this machine's games, and watching one again in the window.
class IReplayShelf {
 public:
  virtual ~IReplayShelf() = default;
  // The replay file of a game with this final score, kills (negative counted as 0) and start date
  // (yyyymmdd); empty when none is kept.
  virtual std::string Kept(long long score, long long kills, const std::string& date) = 0;
  // Shows the replay in the window until it ends and the watcher is done; the game then goes on as it was.
  virtual void Watch(Game& game, const std::string& file) = 0;
};

// The platform parts a Game uses; owned by main (SDL) or by a test (fakes).
struct Platform {
  IWindow* window = nullptr;
  IKeyboard* keyboard = nullptr;
  IMouse* mouse = nullptr;
  IClock* clock = nullptr;
  IDialogs* dialogs = nullptr;
  IPictures* pictures = nullptr;
  IFonts* fonts = nullptr;
  ISystem* system = nullptr;
  ISound* sound = nullptr;
  INetwork* network = nullptr;
  IConnectionMonitor* connection = nullptr;
  IDesktop* desktop = nullptr;
  IPad* pad = nullptr;
  IGameRecorder* recorder = nullptr;
  IReplayShelf* replays = nullptr;
};

}  // namespace kesmir
