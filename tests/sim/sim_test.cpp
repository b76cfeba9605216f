// Whole games in the headless simulator: they run, end, repeat exactly, and keep their tables sound.
#include "simulation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "core/files.h"
#include "scores/score_line.h"

namespace kesmir::sim {
namespace {

// The result without the frame times and the memory, which differ from run to run.
std::string Untimed(SimResult r) {
  r.frameNsP50 = r.frameNsP99 = r.maxRssKb = r.rssAfterFirstMinuteKb = 0;
  return ResultJson(r);
}

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
  const std::string a = Untimed(RunSimulation(options));
  EXPECT_EQ(a, Untimed(RunSimulation(options)));
  options.seed = 12;
  EXPECT_NE(a, Untimed(RunSimulation(options)));
}

TEST(Simulator, TwelveMinutesOfPlayPassTheWavesOfMinutesFiveAndTen) {
  SimOptions options;
  options.seed = 5;
  options.minutes = 12;
  options.autopilot = true;
  options.immortal = true;  // the waves are what is tested here, not the autopilot's skill
  const SimResult r = RunSimulation(options);
  EXPECT_EQ(std::tuple(r.gameMinutes, r.waves, r.fightersInBounds), std::tuple(12, 2, true));
  // Everything the twelve minutes drew and played, as stored: a rule of play that changes shows here.
  EXPECT_EQ(Untimed(r),
            "{\"frames\":23729,\"game_minutes\":12,\"game_seconds\":0,\"spawned\":246,\"waves\":2,\"kills\":228,"
            "\"score\":1862,\"player_alive\":true,\"max_fighters_alive\":14,\"max_bullets\":18,\"frame_ns_p50\":0"
            ",\"frame_ns_p99\":0,\"max_rss_kb\":0,\"supply_runs\":2,\"bombs\":22,\"explosions\":22,\"drugs_taken"
            "\":7,\"cleaner_runs\":12,\"flakes_settled\":54969,\"blood_stains\":51068,\"final_score\":0,\"high_sc"
            "ore_place\":-1,\"rss_after_first_minute_kb\":0,\"state_hash\":\"c99e91e3bee1816a\"}");
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
  EXPECT_EQ(Untimed(r),
            "{\"frames\":794,\"game_minutes\":0,\"game_seconds\":25,\"spawned\":10,\"waves\":0,\"kills\":5,\"scor"
            "e\":16,\"player_alive\":false,\"max_fighters_alive\":4,\"max_bullets\":5,\"frame_ns_p50\":0,\"frame_"
            "ns_p99\":0,\"max_rss_kb\":0,\"supply_runs\":0,\"bombs\":1,\"explosions\":1,\"drugs_taken\":0,\"clean"
            "er_runs\":0,\"flakes_settled\":104,\"blood_stains\":1180,\"final_score\":21,\"high_score_place\":0,"
            "\"rss_after_first_minute_kb\":0,\"state_hash\":\"5a900a171b2dcbf0\"}");
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
