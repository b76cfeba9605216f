// Reading and writing the options file with its line rules.
#include "app/options.h"

#include <cstdio>
#include <limits>
#include <string>

#include "app/folders.h"
#include "core/files.h"

namespace kesmir {

namespace {

constexpr int kOptionLines = 14;
// A real options file is under 100 bytes; reading stops well before an oversized one costs anything.
constexpr std::size_t kMaxOptionsBytes = 64 * 1024;

// The settings in file order; lines 9 and 10 are Long counters, the rest Integer.
struct OptionField {
  Integer Settings::*integer;
  Long Settings::*counter;
};

constexpr OptionField kFields[kOptionLines] = {
    {&Settings::OptBloodFly, nullptr},  {&Settings::OptBloodStays, nullptr}, {&Settings::OptBulletFly, nullptr},
    {&Settings::OptDebugInfo, nullptr}, {&Settings::OptScoreInfo, nullptr},  {&Settings::OptSnow, nullptr},
    {&Settings::OptMono, nullptr},      {&Settings::SoundVolume, nullptr},   {nullptr, &Settings::PlayTimeTotal},
    {nullptr, &Settings::TimesPlayed},  {&Settings::OptFootSteps, nullptr},  {&Settings::MapsGenerated, nullptr},
    {&Settings::OptFullScreen, nullptr}, {&Settings::OptMovement, nullptr},
};

constexpr int kFootStepsLine = 10;   // zero-based index of line 11
constexpr int kFullScreenLine = 12;  // zero-based index of line 13

// Int() of a line's text; nullopt when the text is not a number or does not fit the field.
std::optional<long long> LineValue(const std::string& text, long long low, long long high) {
  const auto number = ParseNumber(text);
  if (!number) return std::nullopt;
  const double whole = Int(*number);
  if (whole < static_cast<double>(low) || whole > static_cast<double>(high)) return std::nullopt;
  return static_cast<long long>(whole);
}

void ReadOptions(Game& game) {
  Settings& s = game.settings;
  const auto contents = ReadFileLimited(ReadablePath(game, kOptionsFile), kMaxOptionsBytes);
  const std::vector<std::string> lines = contents ? SplitLines(*contents) : std::vector<std::string>{};
  // A line that cannot be read repeats the text of the last line read (empty before the first).
  std::string text;
  for (int i = 0; i < kOptionLines; ++i) {
    if (static_cast<std::size_t>(i) < lines.size()) text = lines[static_cast<std::size_t>(i)];
    const OptionField& field = kFields[i];
    if (field.counter) {
      if (auto v = LineValue(text, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()))
        s.*field.counter = static_cast<Long>(*v);
      continue;
    }
    const auto v = LineValue(text, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
    if (i == kFootStepsLine) {
      s.OptFootSteps = (v && (*v == kOn || *v == kOff)) ? static_cast<Integer>(*v) : kOn;
    } else if (i == kFullScreenLine) {
      s.OptFullScreen = (v && (*v == kOn || *v == kOff)) ? static_cast<Integer>(*v) : kOff;
    } else if (v) {
      s.*field.integer = static_cast<Integer>(*v);
    }
  }
  game.app.StoredFullScreen = s.OptFullScreen;
  if (game.app.ScreenModeForRun) s.OptFullScreen = *game.app.ScreenModeForRun;
}

void WriteOptions(Game& game) {
  const Settings& s = game.settings;
  std::string out;
  for (const OptionField& field : kFields) {
    if (field.integer == &Settings::OptFullScreen && game.app.ScreenModeForRun) {
      out += std::to_string(game.app.StoredFullScreen);
    } else {
      out += field.counter ? std::to_string(s.*field.counter) : std::to_string(s.*field.integer);
    }
    out += "\r\n";
  }
  const auto path = UserPath(game, kOptionsFile);
  if (!WriteFileAtomic(path, out) && !game.app.OptionsWriteWarned) {
    SayNotSaved(game, path, "settings will not be kept");
    game.app.OptionsWriteWarned = true;
  }
}

}  // namespace

void LoadSaveOptions(Game& game, Integer save) {
  if (save != 0) {
    WriteOptions(game);
  } else {
    ReadOptions(game);
  }
}

}  // namespace kesmir
