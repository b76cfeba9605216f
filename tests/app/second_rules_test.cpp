// The once-per-second rules: recharge experience, the clock, the spawn schedule, health drift, waves.
#include <gtest/gtest.h>

#include <cmath>

#include "app/game_clock.h"
#include "audio/sound_bank.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

struct Seconds : ::testing::Test, testing::PlayFixture {
  void SetUp() override { player.Health = 90; }
};

TEST_F(Seconds, HoldingFireRaisesRechargeExperienceFasterAndFaster) {
  g->input.FireHeld = kTrue;
  std::vector<int> gains;
  for (int s = 0; s < 10; ++s) {
    const Integer before = player.RechargeXp;
    SecondRules(*g);
    gains.push_back(player.RechargeXp - before);
  }
  EXPECT_EQ(gains, (std::vector<int>{0, 0, 1, 1, 1, 1, 1, 2, 2, 2}));
  g->input.FireHeld = 0;
  SecondRules(*g);
  EXPECT_EQ(g->play.FireHeldSeconds, 0);
}

TEST_F(Seconds, RechargeLevelsDownToFourThenExperienceStaysAtAHundred) {
  player.RechargeXp = 100;
  SecondRules(*g);
  EXPECT_EQ(player.Recharge, 14);
  EXPECT_EQ(player.RechargeXp, 0);
  EXPECT_EQ(Played(7), 1);
  player.Recharge = 5;
  player.RechargeXp = 100;
  SecondRules(*g);
  EXPECT_EQ(player.Recharge, 4);
  player.RechargeXp = 150;
  SecondRules(*g);
  EXPECT_EQ(player.Recharge, 4);
  EXPECT_EQ(player.RechargeXp, 100);
}

TEST_F(Seconds, HealthDriftsTowardsThirtyTimesTheBulletSpeedLevel) {
  player.Health = 100;
  std::vector<float> health;
  for (int s = 0; s < 10; ++s) {
    SecondRules(*g);
    health.push_back(player.Health);
  }
  EXPECT_EQ(health, (std::vector<float>{98, 96, 94, 92, 90, 88, 89, 90, 88, 89}));
  player.Health = 200;  // far above: a further 6 a second
  SecondRules(*g);
  EXPECT_EQ(player.Health, 192);
  player.Alive = 0;  // a dead player keeps losing health
  player.Health = 10;
  g->clock.GameMinutes = 1;  // and no spawn tick this second
  g->clock.SpawnTimer = 0;
  SecondRules(*g);
  EXPECT_EQ(player.Health, 8);
}

TEST_F(Seconds, OpponentsSpawnEverySecondThenEveryThirdSecondThenFaster) {
  for (const auto& [minute, period] : {std::pair{0, 1}, std::pair{1, 3}, std::pair{10, 3}, std::pair{11, 2},
                                       std::pair{21, 1}}) {
    g->clock.GameMinutes = static_cast<Integer>(minute);
    g->clock.GameSeconds = 0;
    g->clock.SpawnTimer = 0;
    std::vector<int> ticks;
    for (int s = 1; s <= 6; ++s) {
      for (std::size_t i = 1; i < kFighterSlots; ++i) g->play.Fighters[i].Alive = 0;
      g->play.FightersAlive = 1;
      SecondRules(*g);
      if (Opponents() > 0) ticks.push_back(s);
    }
    std::vector<int> expected;
    for (int s = period; s <= 6; s += period) expected.push_back(s);
    EXPECT_EQ(ticks, expected) << "minute " << minute;
  }
}

TEST_F(Seconds, TheClockCountsMinutesAndTheAlarmWarnsOfTheWaveAtFive) {
  g->clock.GameMinutes = 4;
  g->clock.GameSeconds = 56;
  SecondRules(*g);  // 4:57
  EXPECT_EQ(Played(37), 1);
  SecondRules(*g);
  SecondRules(*g);
  EXPECT_EQ(g->app.WaveCount, 0);
  SecondRules(*g);  // 5:00
  EXPECT_EQ(g->clock.GameMinutes, 5);
  EXPECT_EQ(g->clock.GameSeconds, 0);
  EXPECT_EQ(g->app.WaveCount, 11);
  EXPECT_EQ(g->effects.AirPlaneOn, kTrue);
  EXPECT_EQ(g->effects.AirMission, 4);
  EXPECT_EQ(g->clock.WaveStart, 0);
}

TEST_F(Seconds, NoWavesAfterMinuteThirty) {
  g->clock.GameMinutes = 34;
  g->clock.GameSeconds = 56;
  SecondRules(*g);
  EXPECT_EQ(Played(37), 0);
  g->clock.GameMinutes = 35;
  g->clock.GameSeconds = 59;
  SecondRules(*g);
  EXPECT_EQ(g->app.WaveCount, 0);
}

TEST_F(Seconds, TheClockRunsTheRulesOnlyWhileAGameIsPlaying) {
  g->app.GameStopped = kTrue;
  g.clock.now += 2'000'000;
  GameClock(*g);
  EXPECT_EQ(g->clock.GameSeconds, 0);
  g->app.GameStopped = 0;
  g.clock.now += 2'000'000;
  GameClock(*g);
  EXPECT_EQ(g->clock.GameSeconds, 1);
}

}  // namespace
}  // namespace kesmir
