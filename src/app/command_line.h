// The program's command line: what the player asked for this run.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmir {

inline constexpr std::string_view kVersionText = "Kesmir 1.14";

struct CommandLine {
  bool help = false;
  bool version = false;
  bool syncScores = false;               // synchronise the world scores without a window, then end
  std::optional<bool> fullScreen;        // --fullscreen / --windowed: this run only, the options file unchanged
  std::optional<std::filesystem::path> home;  // the user folder for this run
  std::optional<std::filesystem::path> replay;  // a replay to watch instead of playing
  std::string error;                     // not empty: the line could not be read; says why
};

// Reads the arguments after the program's name. Options may come in any order; "--home DIR" and
// "--home=DIR" are the same.
CommandLine ParseCommandLine(const std::vector<std::string_view>& args);

// The usage text that --help prints, and an unreadable command line prints on stderr.
std::string Usage();

}  // namespace kesmir
