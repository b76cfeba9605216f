// kesmir: finds the data and user folders, opens the platform and runs the game.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "app/command_line.h"
#include "app/settings.h"
#include "app/startup.h"
#include "core/game.h"
#include "network/ftp_exchange.h"
#include "platform/curl_network.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_desktop.h"
#include "platform/sdl_platform.h"
#include "platform/x_errors.h"
#include "platform/watch.h"
#include "replay/recorder.h"

namespace {

namespace fs = std::filesystem;

// The folder of the executable when it holds Pictures/ (a build tree or a game folder), else the data folder
// where an install puts it relative to the executable: /usr/games/kesmir reads /usr/share/games/kesmir, and a
// package unpacked under any root or installed under any prefix reads its own copy.
fs::path FindDataDir() {
  std::error_code ec;
  fs::path exeDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
  if (ec) {
    char* base = SDL_GetBasePath();
    exeDir = base ? fs::path(base) : fs::current_path(ec);
    SDL_free(base);
  }
  if (fs::is_directory(exeDir / "Pictures", ec)) return exeDir;
  return (exeDir / KESMIR_DATA_FROM_EXE).lexically_normal();
}

fs::path FindUserDir(const kesmir::CommandLine& line) {
  if (line.home) return *line.home;
  if (const char* home = std::getenv("KESMIR_HOME"); home && *home) return home;
  // A relative XDG_DATA_HOME is invalid by the XDG rules and ignored, as unset.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && fs::path(xdg).is_absolute()) {
    return fs::path(xdg) / "kesmir";
  }
  if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".local/share/kesmir";
  return fs::current_path() / "kesmir-data";
}

// Drivers that run without showing anything: a player would see nothing happen.
bool ShowsWindow(const char* driver) {
  return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

std::string DisplayName() {
  if (const char* x = std::getenv("DISPLAY"); x && *x) return x;
  if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) return wayland;
  return "(neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

// SDL with a video driver that shows a window. When the display refuses a connection for a moment, SDL
// silently falls back to a driver without a window, so unless SDL_VIDEODRIVER names a driver on purpose
// the display is tried again for about two seconds before giving up.
struct SdlSession {
  static constexpr int kAttempts = 8;
  static constexpr Uint32 kRetryMs = 250;
  bool ok = false;
  SdlSession() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    const bool driverChosen = chosen && *chosen;
    std::string error;
    kesmir::ReportXErrors();  // before SDL's video starts, which keeps the handler it finds
    for (int attempt = 0; attempt < kAttempts && !ok; ++attempt) {
      if (attempt > 0) SDL_Delay(kRetryMs);
      if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        if (driverChosen) break;
        continue;
      }
      ok = driverChosen || ShowsWindow(SDL_GetCurrentVideoDriver());
      if (!ok) {
        error = std::string("only the \"") + SDL_GetCurrentVideoDriver() + "\" video driver started";
        SDL_Quit();
      }
    }
    if (!ok && driverChosen) {
      std::fprintf(stderr, "kesmir: cannot start SDL: %s\n", error.c_str());
    } else if (!ok) {
      std::fprintf(stderr, "kesmir: cannot open the display %s: %s\n", DisplayName().c_str(), error.c_str());
    }
    if (ok) IMG_Init(IMG_INIT_JPG);
    // Without pads the game is played as ever; one line tells why a pad does nothing.
    if (ok && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
      std::fprintf(stderr, "kesmir: game controllers unavailable: %s\n", SDL_GetError());
    }
  }
  ~SdlSession() {
    if (ok) {
      IMG_Quit();
      SDL_Quit();
    }
  }
};

// The synchronisation from the command line asks the server itself, so it takes it as reachable.
class AssumedConnection final : public kesmir::IConnectionMonitor {
 public:
  std::optional<bool> Reachable(const std::string&, int) override { return true; }
};

// Without a window or sound: the world scores are synchronised and the program ends.
int SynchronizeScores(kesmir::Game& game, kesmir::SystemClock& clock) {
  kesmir::CurlNetwork network;
  AssumedConnection connection;
  game.platform.clock = &clock;
  game.platform.network = &network;
  game.platform.connection = &connection;
  // Players who synchronise at the same moment must not wait the same random times.
  game.random.Randomize(clock.Micros() ^ (static_cast<std::uint64_t>(getpid()) << 32) ^
                        static_cast<std::uint64_t>(std::time(nullptr)));
  return kesmir::SynchronizeFromCommandLine(game);
}

}  // namespace

int main(int argc, char** argv) {
  kesmir::SystemClock clock;  // first, so that start-up is timed from here
  const kesmir::CommandLine line = kesmir::ParseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
  if (!line.error.empty()) {
    std::fprintf(stderr, "kesmir: %s\n%s", line.error.c_str(), kesmir::Usage().c_str());
    return 2;
  }
  if (line.help) {
    std::printf("%s", kesmir::Usage().c_str());
    return 0;
  }
  if (line.version) {
    std::printf("%.*s\n", static_cast<int>(kesmir::kVersionText.size()), kesmir::kVersionText.data());
    return 0;
  }

  auto game = std::make_unique<kesmir::Game>();
  game->app.DataDir = FindDataDir();
  game->app.UserDir = FindUserDir(line);
  std::error_code ec;
  fs::create_directories(game->app.UserDir / "OtherFiles", ec);
  fs::create_directories(game->app.UserDir / "Pictures", ec);
  if (ec) std::fprintf(stderr, "kesmir: cannot create %s; nothing will be saved\n", game->app.UserDir.c_str());
  if (line.fullScreen) game->app.ScreenModeForRun = *line.fullScreen ? kesmir::kOn : kesmir::kOff;
  if (line.syncScores) return SynchronizeScores(*game, clock);

  SdlSession sdl;
  if (!sdl.ok) return 1;

  kesmir::SdlFrontEnd frontEnd;
  if (!frontEnd.Ok()) return 1;
  kesmir::SdlPictures pictures;
  kesmir::SdlFonts fonts;
  kesmir::SystemInfo system;
  game->platform = {&frontEnd, &frontEnd, &frontEnd, &clock, &frontEnd, &pictures, &fonts, &system};
  kesmir::SdlPad::AddMappings(game->app.UserDir / "gamecontrollerdb.txt");
  if (const char* script = std::getenv("KESMIR_VIRTUAL_PAD"); script && *script) frontEnd.Pad().DriveFrom(script);
  game->platform.pad = &frontEnd.Pad();
  kesmir::SdlAudio audio;  // opened by LoadSounds; without a device the game runs silent
  game->platform.sound = &audio;
  kesmir::CurlNetwork network;
  kesmir::CurlConnectionMonitor connection;  // checks the score server in the background
  kesmir::SdlDesktop desktop;
  game->platform.network = &network;
  game->platform.connection = &connection;
  game->platform.desktop = &desktop;
  game->Randomize();
  if (const char* report = std::getenv("KESMIR_REPORT_STARTUP"); report && *report == '1') {
    game->app.ReportStartupTime = true;
  }

  if (line.replay) return kesmir::WatchReplay(*game, frontEnd, clock, pictures, *line.replay);
  // Every game is recorded into the user folder's Replays/ when it ends, and offered again on the high scores.
  kesmir::replay::Recorder recorder(game->platform, std::string(kesmir::kVersionText));
  kesmir::ReplayShelf shelf(frontEnd, clock, pictures);
  shelf.SetFolder(game->app.UserDir / "Replays");
  game->platform.replays = &shelf;
  kesmir::Form_Activate(*game);
  return 0;
}
