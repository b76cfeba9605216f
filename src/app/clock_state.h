// Frame counting, pacing and the game clock.
#pragma once

#include <cstdint>

#include "core/numbers.h"

namespace kesmir {

struct ClockState {
  Long FramesThisSecond = 0;
  Long Fps = 0;
  std::int64_t SecondMark = 0;     // ms at which the current second began
  std::int64_t FrameDeadline = 0;  // ms after which the next call may return
  Long SpinCount = 0;              // spare time of this call's wait: microseconds x 10 / 3
  Long MaxSpin = 0;                // largest SpinCount within the current second
  Integer GameSeconds = 0;
  Integer GameMinutes = 0;
  Integer SpawnTimer = 0;
  Integer WaveStart = 0;
};

}  // namespace kesmir
