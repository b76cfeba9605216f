// Keyboard, pointer and button state.
#pragma once

#include <cstdint>

#include "core/numbers.h"

namespace kesmir {

struct InputState {
  std::uint8_t KeyState[256] = {};
  Long CursorX = 0;
  Long CursorY = 0;
  Integer FireHeld = 0;
  Integer BombClick = 0;
  Integer FireModeKey = 0;
  Integer WorldSliderPos = 51;   // 51..175
  double WorldListOffset = 0.0;  // (WorldSliderPos - 51) * 90 / 124
};

}  // namespace kesmir
