// kesmir-sim: runs the real game code headless with the fake platform, no window and no waiting, and
// prints one JSON line of what happened and how long frames took.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/sdl_platform.h"
#include "simulation.h"

namespace {

bool ParseArgs(int argc, char** argv, kesmir::sim::SimOptions& options, std::string& verify) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    long long number = 0;
    auto value = [&] {
      if (i + 1 >= argc) return false;
      char* end = nullptr;
      number = std::strtoll(argv[++i], &end, 10);
      return end && *end == '\0' && number >= 0;
    };
    if (arg == "--seed" && value()) {
      options.seed = static_cast<std::uint64_t>(number);
    } else if (arg == "--minutes" && value()) {
      options.minutes = static_cast<int>(std::min(number, 100000LL));
    } else if (arg == "--frames" && value()) {
      options.maxFrames = number;
    } else if (arg == "--autopilot") {
      options.autopilot = true;
    } else if (arg == "--busy") {
      options.busy = true;
    } else if (arg == "--until-death") {
      options.untilDeath = true;
    } else if (arg == "--name" && i + 1 < argc) {
      options.name = argv[++i];
    } else if (arg == "--immortal") {
      options.immortal = true;
    } else if (arg == "--max-load") {
      options.maxLoad = true;
    } else if (arg == "--pace-by-clock") {
      options.paceByClock = true;
    } else if (arg == "--record" && i + 1 < argc) {
      options.recordTo = argv[++i];
    } else if (arg == "--verify" && i + 1 < argc) {
      verify = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: kesmir-sim [--seed N] [--minutes M] [--frames F] [--autopilot] [--immortal] [--max-load]\n"
                   "                  [--busy] [--until-death [--name NAME]]\n"
                   "                  [--pace-by-clock] [--record FILE]\n"
                   "       kesmir-sim --verify FILE\n");
      return false;
    }
  }
  // What the recording cannot hold: changes made to the game behind its ports.
  if (!options.recordTo.empty() && (options.immortal || options.maxLoad || options.busy)) {
    std::fprintf(stderr, "kesmir-sim: --record cannot be used with --immortal, --max-load or --busy\n");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  kesmir::sim::SimOptions options;
  std::string verify;
  if (!ParseArgs(argc, argv, options, verify)) return 2;
  std::error_code ec;
  options.dataDir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
  // With a name to enter the run keeps its lists in the user folder, as the game does.
  if (!options.name.empty()) {
    if (const char* home = std::getenv("KESMIR_HOME"); home && *home) options.userDir = home;
  }
  kesmir::SdlPictures pictures;  // the real picture files, decoded without a window
  options.pictures = &pictures;
  // A replay is drawn with the game's own fonts, so that its pictures are the game's.
  std::unique_ptr<kesmir::SdlFonts> fonts;
  if (!verify.empty() || !options.recordTo.empty() || options.paceByClock) {
    fonts = std::make_unique<kesmir::SdlFonts>();
    options.fonts = fonts.get();
  }
  if (!verify.empty()) {
    if (const char* home = std::getenv("KESMIR_HOME"); home && *home) options.userDir = home;
    return kesmir::sim::VerifyReplay(verify, options);
  }
  std::printf("%s\n", kesmir::sim::ResultJson(kesmir::sim::RunSimulation(options)).c_str());
  return 0;
}
