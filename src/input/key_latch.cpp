// Key state between two polls: a tap that starts and ends between them is reported once, never twice.
#include "input/key_latch.h"

namespace kesmir {

void KeyLatch::OnKeyEvent(int dik, bool down, bool repeat) {
  if (dik <= 0 || dik > 255 || repeat) return;
  const auto key = static_cast<std::size_t>(dik);
  if (down && !seenDown_[key]) latched_[key] = true;
  seenDown_[key] = false;
}

void KeyLatch::Read(std::uint8_t (&state)[256]) {
  for (std::size_t key = 0; key < 256; ++key) {
    // Only the live state counts as seen: a latched tap's events have all been delivered already.
    if (state[key] != 0) seenDown_[key] = true;
    if (latched_[key]) state[key] = 0x80;
    latched_[key] = false;
  }
}

}  // namespace kesmir
