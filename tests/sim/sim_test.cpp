// Whole games in the headless simulator: they run, end, repeat exactly, and keep their tables sound.
#include "simulation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/files.h"
#include "scores/score_line.h"

namespace kesmir::sim {
namespace {

TEST(Simulator, AGameWithoutAPlayerAtTheControlsEndsInDeathWithoutACrash) {
  SimOptions options;
  options.seed = 3;
  options.minutes = 100;
  const SimResult r = RunSimulation(options);
  EXPECT_TRUE(r.gameEnded);
  EXPECT_FALSE(r.playerAlive);
  EXPECT_GT(r.spawned, 0);
  EXPECT_TRUE(r.fightersInBounds);
  EXPECT_LT(r.gameMinutes, 100);
}

TEST(Simulator, TheSameSeedPlaysTheSameGame) {
  SimOptions options;
  options.seed = 11;
  options.minutes = 3;
  options.autopilot = true;
  SimResult a = RunSimulation(options);
  SimResult b = RunSimulation(options);
  for (SimResult* timed : {&a, &b}) timed->frameNsP50 = timed->frameNsP99 = timed->maxRssKb = timed->rssAfterFirstMinuteKb = 0;
  EXPECT_EQ(ResultJson(a), ResultJson(b));
  options.seed = 12;
  SimResult c = RunSimulation(options);
  c.frameNsP50 = c.frameNsP99 = c.maxRssKb = c.rssAfterFirstMinuteKb = 0;
  EXPECT_NE(ResultJson(a), ResultJson(c));
}

TEST(Simulator, TwelveMinutesOfPlayPassTheWavesOfMinutesFiveAndTen) {
  SimOptions options;
  options.seed = 5;
  options.minutes = 12;
  options.autopilot = true;
  options.immortal = true;  // the waves are what is tested here, not the autopilot's skill
  const SimResult r = RunSimulation(options);
  EXPECT_EQ(r.gameMinutes, 12);
  EXPECT_EQ(r.waves, 2);
  EXPECT_GE(r.maxFightersAlive, 12);
  EXPECT_GT(r.spawned, 60);
  EXPECT_GT(r.kills, 30);
  EXPECT_TRUE(r.fightersInBounds);
  EXPECT_GE(r.effects.supplyRuns, 1);
  EXPECT_GE(r.effects.cleanerRuns, 5);
}

TEST(Simulator, TheAutopilotFightsSpawnedOpponentsAndScores) {
  SimOptions options;
  options.seed = 2;
  options.minutes = 12;
  options.autopilot = true;
  const SimResult r = RunSimulation(options);
  EXPECT_GT(r.spawned, 5);
  EXPECT_GT(r.kills, 3);
  EXPECT_GT(r.score, 0);
  EXPECT_TRUE(r.fightersInBounds);
}

TEST(Simulator, FullTablesKeepEverythingInBoundsEveryEffectRunsAndSnowThinsWhenBusy) {
  SimOptions options;
  options.maxLoad = true;
  options.maxFrames = 600;
  options.minutes = 1000;
  const SimResult r = RunSimulation(options);
  EXPECT_EQ(r.frames, 600);
  EXPECT_EQ(r.maxFightersAlive, 51);
  EXPECT_EQ(r.maxBullets, 201);
  EXPECT_TRUE(r.fightersInBounds);
  EXPECT_GT(r.effects.bombs, 0);
  EXPECT_GT(r.effects.explosions, 0);
  EXPECT_GT(r.effects.cleanerRuns, 0);
  EXPECT_GT(r.effects.flakesSettled, 0);
  EXPECT_GT(r.effects.bloodStains, 0);

  // Snow comes once the player has some bullet experience, and only while passes have time to spare.
  SimOptions calm;
  calm.seed = 8;
  calm.minutes = 2;
  calm.autopilot = true;
  calm.immortal = true;
  SimOptions busy = calm;
  busy.busy = true;
  EXPECT_GT(RunSimulation(calm).effects.flakesSettled, 0);
  EXPECT_EQ(RunSimulation(busy).effects.flakesSettled, 0);
}

TEST(Simulator, AfterDeathTheNameGoesIntoTheHiddenHighScoreList) {
  const auto home = std::filesystem::temp_directory_path() / ("kesmir-sim-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home / "OtherFiles");
  SimOptions options;
  options.seed = 3;
  options.autopilot = true;
  options.untilDeath = true;
  options.name = "tESTER";
  options.userDir = home.string();
  const SimResult r = RunSimulation(options);
  EXPECT_TRUE(r.gameEnded);
  ASSERT_GE(r.highScorePlace, 0);  // no list on disk yet: any score enters
  const std::string contents = ReadFileLimited(home / "Atop112.kzm", 1 << 20).value_or("");
  const std::string row = CodeScoreLine(contents.substr(0, contents.find('\r')), false);
  EXPECT_NE(row.find("N=Tester"), std::string::npos) << row;
  EXPECT_EQ(std::stoi(row.substr(0, 5)), r.finalScore);
  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace kesmir::sim
