// Reading and writing the options file, what bad files do, and the command line that can override it.
#include "app/options.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "core/files.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

std::string Lines(std::initializer_list<const char*> lines, const char* end = "\r\n") {
  std::string out;
  for (const char* line : lines) out += std::string(line) + end;
  return out;
}

// Reads the options file into the settings and writes them back: the file as the game keeps it.
std::string Kept(FakeGame& g) {
  LoadSaveOptions(*g, 0);
  LoadSaveOptions(*g, -1);
  return g.ReadUserFile("OtherFiles/Options.txt");
}

TEST(Options, WritingAndReadingBackKeepsEveryValue) {
  FakeGame g;
  Settings& s = g->settings;
  s = {8, 0, 8, 0, 8, 0, 8, 57, 123456, 789, 8, 1, 8, 8, 0};
  LoadSaveOptions(*g, -1);
  const std::string written = Lines({"8", "0", "8", "0", "8", "0", "8", "57", "123456", "789", "8", "1", "8", "8"});
  EXPECT_EQ(g.ReadUserFile("OtherFiles/Options.txt"), written);
  s = {};
  EXPECT_EQ(Kept(g), written);
  EXPECT_FALSE(g->app.OptionsWriteWarned);  // a write that succeeds says nothing
}

TEST(Options, NoFileAnywhereMeansFullScreenAllOnVolumeZero) {
  FakeGame g;
  g->settings = {8, 8, 8, 8, 8, 8, 8, 50, 10, 10, 8, 1, 8, 8, 0};
  EXPECT_EQ(Kept(g), Lines({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(Options, UserCopyWinsOverTheShippedDefaultAndWritesGoToTheUserFolder) {
  FakeGame g;
  g.WriteDataFile("OtherFiles/Options.txt", Lines({"0", "0", "0", "8", "0", "0", "0", "70", "0", "0", "0", "0", "8", "0"}));
  LoadSaveOptions(*g, 0);
  EXPECT_EQ(g->settings.SoundVolume, 70);
  EXPECT_EQ(g->settings.OptFullScreen, 8);
  g->settings.SoundVolume = 33;
  LoadSaveOptions(*g, -1);
  g->settings.SoundVolume = 0;
  LoadSaveOptions(*g, 0);
  EXPECT_EQ(g->settings.SoundVolume, 33);
  EXPECT_FALSE(std::filesystem::exists(g.root / "data" / "OtherFiles" / "Options.txt.tmp"));
}

TEST(Options, OnlyFootStepsAndFullScreenAreValidated) {
  FakeGame g;
  g.WriteUserFile("OtherFiles/Options.txt",
                  Lines({"3", "0", "0", "0", "0", "0", "0", "250", "0", "0", "1", "0", "5", "-4"}));
  EXPECT_EQ(Kept(g), Lines({"3", "0", "0", "0", "0", "0", "0", "250", "0", "0", "0", "0", "8", "-4"}));
}

TEST(Options, AShortFileRepeatsItsLastLine) {
  FakeGame g;
  g.WriteUserFile("OtherFiles/Options.txt", Lines({"0", "0", "0", "0", "0", "0", "0", "40", "100", "8"}));
  EXPECT_EQ(Kept(g), Lines({"0", "0", "0", "0", "0", "0", "0", "40", "100", "8", "8", "8", "8", "8"}));
  g.WriteUserFile("OtherFiles/Options.txt", Lines({"0", "0", "0", "0", "0", "0", "0", "40", "100", "7"}));
  EXPECT_EQ(Kept(g), Lines({"0", "0", "0", "0", "0", "0", "0", "40", "100", "7", "0", "7", "8", "7"}));
}

TEST(Options, TextAndOutOfRangeLinesKeepTheirSetting) {
  FakeGame g;
  g->settings.SoundVolume = 42;
  g->settings.OptSnow = 8;
  g->settings.PlayTimeTotal = 77;
  g.WriteUserFile("OtherFiles/Options.txt",
                  Lines({" 8 ", "8.9", "-0.5", "0", "0", "snow", "0", "99999", "1e12", "12abc", "x", "0", "y", "0"}));
  // Int(8.9) is 8, Int(-0.5) is -1; text, and numbers too big for their field, leave the setting as it was;
  // text on the two validated lines gives their default.
  EXPECT_EQ(Kept(g), Lines({"8", "8", "-1", "0", "0", "8", "0", "42", "77", "0", "0", "0", "8", "0"}));
}

TEST(Options, LineEndsExtraLinesAndGarbageAreSurvived) {
  FakeGame g;
  g.WriteUserFile("OtherFiles/Options.txt",
                  Lines({"8", "8", "8", "8", "8", "8", "8", "9", "1", "2", "8", "1", "8", "8", "99", "junk"}, "\n"));
  LoadSaveOptions(*g, 0);
  EXPECT_EQ(g->settings.SoundVolume, 9);
  EXPECT_EQ(g->settings.OptMovement, 8);

  g.WriteUserFile("OtherFiles/Options.txt", "");
  LoadSaveOptions(*g, 0);
  EXPECT_EQ(g->settings.SoundVolume, 0);
  EXPECT_EQ(g->settings.OptFullScreen, 0);

  g->settings.SoundVolume = 5;
  std::string binary(4096, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 37 + 11);
  g.WriteUserFile("OtherFiles/Options.txt", binary);
  LoadSaveOptions(*g, 0);
  EXPECT_TRUE(g->settings.OptFullScreen == 0 || g->settings.OptFullScreen == 8);

  g.WriteUserFile("OtherFiles/Options.txt", std::string(5'000'000, '7'));
  LoadSaveOptions(*g, 0);
  EXPECT_TRUE(g->settings.OptFullScreen == 0 || g->settings.OptFullScreen == 8);
}

TEST(Options, AnUnwritableUserFolderCostsOnlyTheWrite) {
  FakeGame g;
  g->app.UserDir = g.root / "not-a-folder";
  g.WriteUserFile("../not-a-folder", "a file where the folder should be");
  g->settings.SoundVolume = 12;
  LoadSaveOptions(*g, -1);
  LoadSaveOptions(*g, -1);
  EXPECT_TRUE(g->app.OptionsWriteWarned);
  EXPECT_EQ(g->settings.SoundVolume, 12);
}

// --fullscreen and --windowed hold for the run; the file keeps the player's choice until the options screen
// changes it.
TEST(Options, TheCommandLinesScreenModeHoldsForTheRunAndIsNeverWritten) {
  FakeGame g;
  const std::string windowed = Lines({"0", "0", "0", "8", "0", "0", "0", "70", "5", "6", "0", "1", "8", "0"});
  g.WriteUserFile("OtherFiles/Options.txt", windowed);
  g->app.ScreenModeForRun = kOn;
  EXPECT_EQ(Kept(g), windowed);
  EXPECT_EQ(g->settings.OptFullScreen, kOn);
  g->app.ScreenModeForRun.reset();  // the player ticked the box on the options screen
  g->settings.OptFullScreen = kOn;
  LoadSaveOptions(*g, -1);
  EXPECT_EQ(SplitLines(g.ReadUserFile("OtherFiles/Options.txt"))[12], "0");
}

TEST(CommandLine, ReadsEachOptionAndRefusesWhatItDoesNotKnow) {
  const CommandLine all = ParseCommandLine({"--windowed", "--home", "/tmp/k", "--sync-scores", "--version", "-h"});
  EXPECT_TRUE(all.error.empty()) << all.error;
  EXPECT_EQ(all.fullScreen, false);
  EXPECT_EQ(all.home, std::filesystem::path("/tmp/k"));
  EXPECT_TRUE(all.syncScores && all.version && all.help);
  EXPECT_EQ(ParseCommandLine({"--fullscreen", "--home=/x"}).fullScreen, true);
  EXPECT_EQ(ParseCommandLine({"--home=/x"}).home, std::filesystem::path("/x"));
  EXPECT_FALSE(ParseCommandLine({}).fullScreen.has_value());
  for (const auto& wrong : std::vector<std::vector<std::string_view>>{
           {"--bogus"}, {"--home"}, {"--home="}, {"--windowed", "--fullscreen"}, {"game.kzm"}}) {
    EXPECT_FALSE(ParseCommandLine(wrong).error.empty()) << wrong[0];
  }
}

}  // namespace
}  // namespace kesmir
