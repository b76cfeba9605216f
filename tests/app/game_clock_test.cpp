// Pacing and frame counting: passes of at least 30 ms, nothing made up, spare time measured, no busy core.
#include "app/game_clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(GameClock, APassLastsMoreThan30MillisecondsFromTheEndOfTheLastWait) {
  FakeGame g;
  GameClock(*g);  // first call: the deadline lies in the past
  std::uint64_t previousEnd = g.clock.now;
  for (int pass = 0; pass < 50; ++pass) {
    g.clock.now += 2000;  // the pass's own work takes 2 ms
    GameClock(*g);
    const std::uint64_t length = g.clock.now - previousEnd;
    EXPECT_GT(length, 30'000u);
    EXPECT_LT(length, 32'100u);
    previousEnd = g.clock.now;
  }
}

TEST(GameClock, ASlowPassIsNotMadeUp) {
  FakeGame g;
  GameClock(*g);
  g.clock.now += 100'000;  // a pass of 100 ms
  const std::uint64_t before = g.clock.now;
  GameClock(*g);
  EXPECT_LT(g.clock.now - before, 1000u);  // no wait at all
  EXPECT_LT(g->clock.SpinCount, 100);  // nothing to spare
  const std::uint64_t next = g.clock.now;
  GameClock(*g);
  EXPECT_GT(g.clock.now - next, 30'000u);  // and the next pass waits its full time again
}

TEST(GameClock, TheWaitSleepsAndSpinsOnlyUnderAMillisecond) {
  FakeGame g;
  GameClock(*g);
  g.clock.slept = 0;
  g.clock.now += 5000;
  GameClock(*g);
  // About 26 ms to wait: all of it asleep but for less than a millisecond of spinning at the end.
  EXPECT_GE(g.clock.slept, 25'000u);
  EXPECT_LT(g.clock.slept, 26'000u);
  // Spare time of about 26 ms on the scale where 10000 is 3 ms.
  EXPECT_NEAR(g->clock.SpinCount, 26'000 * 10 / 3, 400);
  EXPECT_EQ(g->clock.MaxSpin, g->clock.SpinCount);
}

TEST(GameClock, FramesAreCountedPerSecondAndMaxSpinStartsAfreshEachSecond) {
  FakeGame g;
  for (int pass = 0; pass < 100; ++pass) GameClock(*g);
  // About 32 passes per second at most; the first second began at the first call.
  EXPECT_GE(g->clock.Fps, 30);
  EXPECT_LE(g->clock.Fps, 33);
  const Long counted = g->clock.FramesThisSecond;
  g.clock.now += 1'200'000;  // one pass of 1.2 s: a new second begins on the next call
  GameClock(*g);
  EXPECT_EQ(g->clock.Fps, counted);
  EXPECT_EQ(g->clock.FramesThisSecond, 1);
  EXPECT_LT(g->clock.MaxSpin, 100);  // the slow pass had nothing to spare
}

}  // namespace
}  // namespace kesmir
