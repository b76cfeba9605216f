// The game clock and the pacing of passes and frames.
#include "app/game_clock.h"

#include <algorithm>

#include "app/status_bar.h"

namespace kesmir {

namespace {

// Waits until the tick count passes FrameDeadline, then sets the next deadline. The wait's spare time is kept
// as SpinCount on a scale where 10000 means about 3 ms.
void Pace(Game& game, IClock& clock) {
  ClockState& c = game.clock;
  const std::uint64_t start = clock.Micros();
  // The deadline is passed once the millisecond count exceeds it, at FrameDeadline + 1 ms.
  const std::uint64_t wake = c.FrameDeadline < 0 ? 0 : static_cast<std::uint64_t>(c.FrameDeadline + 1) * 1000;
  const std::uint64_t now = clock.WaitUntil(wake);
  c.FrameDeadline = static_cast<std::int64_t>(clock.Ticks()) + kPassMillis;
  const std::uint64_t spare = now - start;
  c.SpinCount = static_cast<Long>(std::min<std::uint64_t>(spare * 10 / 3, 2147483647ULL));
  c.MaxSpin = std::max(c.MaxSpin, c.SpinCount);
}

}  // namespace

void GameClock(Game& game) {
  ClockState& c = game.clock;
  const AppState& app = game.app;
  IClock* clock = game.platform.clock;
  if (!clock) return;
  const bool playing = app.GameStarted != 0 && app.GameStopped == 0;
  if (playing && (c.FramesThisSecond == 1 || c.FramesThisSecond == 15)) DrawStatusBar(game);
  const auto t = static_cast<std::int64_t>(clock->Ticks());
  if (t - 1000 >= c.SecondMark) {
    c.Fps = c.FramesThisSecond;
    c.SecondMark = static_cast<std::int64_t>(clock->Ticks());
    c.FramesThisSecond = 0;
    c.MaxSpin = 0;
    if (app.GameStarted == kTrue && app.GameStopped == 0) SecondRules(game);
  }
  c.SpinCount = 0;
  c.FramesThisSecond = c.FramesThisSecond < 2147483647 ? c.FramesThisSecond + 1 : c.FramesThisSecond;
  Pace(game, *clock);
}

}  // namespace kesmir
