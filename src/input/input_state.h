// Keyboard, pointer and button state.
#pragma once

#include <cstdint>

#include "core/numbers.h"

namespace kesmir {

// What the pad's translation into keys and buttons keeps from one poll to the next.
struct PadMemory {
  std::uint32_t held = 0;      // buttons, triggers and stick directions at the last poll
  std::uint64_t repeatAt = 0;  // when a direction held in the menus steps again, in milliseconds
  float health = 0;            // the player's health at the last poll
  bool wasInPlay = false;
};

struct InputState {
  std::uint8_t KeyState[256] = {};
  Long CursorX = 0;
  Long CursorY = 0;
  Integer FireHeld = 0;
  Integer BombClick = 0;
  Integer FireModeKey = 0;
  bool FocusLost = false;  // the window lost the focus since the last poll
  Integer WorldSliderPos = 51;   // 51..175
  double WorldListOffset = 0.0;  // (WorldSliderPos - 51) * 90 / 124
  PadMemory Pad;
};

}  // namespace kesmir
