// Reading the command line.
#include "app/command_line.h"

namespace kesmir {

CommandLine ParseCommandLine(const std::vector<std::string_view>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--windowed" || arg == "--fullscreen") {
      const bool full = arg == "--fullscreen";
      if (line.fullScreen && *line.fullScreen != full) line.error = "--windowed and --fullscreen exclude each other";
      line.fullScreen = full;
    } else if (arg == "--sync-scores") {
      line.syncScores = true;
    } else if (arg == "--home" || arg.starts_with("--home=") || arg == "--replay" || arg.starts_with("--replay=")) {
      const bool home = arg.starts_with("--home");
      const std::string_view name = home ? "--home" : "--replay";
      std::string_view value;
      if (arg == name) {
        if (i + 1 < args.size()) value = args[++i];
      } else {
        value = arg.substr(name.size() + 1);
      }
      if (value.empty()) line.error = home ? "--home needs a folder" : "--replay needs a file";
      (home ? line.home : line.replay) = std::filesystem::path(value);
    } else {
      line.error = "unknown option " + std::string(arg);
    }
  }
  return line;
}

std::string Usage() {
  return "Usage: kesmir [OPTION]...\n"
         "A top-down action game: walk with W A S D, aim with the mouse, fire with the left button,\n"
         "call a bomb run with the right button.\n"
         "\n"
         "  --windowed      play in a window this time (the options file is not changed)\n"
         "  --fullscreen    play in full screen this time (the options file is not changed)\n"
         "  --home DIR      keep scores, options and maps in DIR this time (as KESMIR_HOME does)\n"
         "  --replay FILE   watch a recorded game again (Esc stops, Space pauses, F runs four times\n"
         "                  as fast); the user folder's Replays/ keeps the best and the latest games\n"
         "  --sync-scores   merge the local high scores into the world list on the score server and\n"
         "                  end, without a window; exit status 0 when the server holds the merged list\n"
         "  --help          show this text and end\n"
         "  --version       say the version and end\n"
         "\n"
         "The user folder is KESMIR_HOME, else $XDG_DATA_HOME/kesmir, else ~/.local/share/kesmir.\n"
         "The score server is set in OtherFiles/Network.txt of the user folder.\n";
}

}  // namespace kesmir
