// Key state between two polls: a tap that starts and ends between them is reported once, never twice.
#pragma once

#include <array>
#include <cstdint>

namespace kesmir {

// The window system delivers key events some time after the live key state already shows them, so a
// press can be seen by a poll of the live state first and by its event later. A press is latched for the
// next poll only when no poll has seen its key down yet.
class KeyLatch {
 public:
  // A key event for a DirectInput code; auto-repeated presses are not presses.
  void OnKeyEvent(int dik, bool down, bool repeat);
  // The state a poll reports: the live state (0x80 for a key held) with the latched taps added; clears
  // the latch.
  void Read(std::uint8_t (&state)[256]);

 private:
  std::array<bool, 256> latched_{};
  std::array<bool, 256> seenDown_{};  // a poll saw the key down since its last press or release event
};

}  // namespace kesmir
