// State shared by the menu widget and the screens that draw with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "platform/ports.h"

namespace kesmir {

struct MenuState {
  std::uint32_t MenuTextColor = 0;  // colour of the item being drawn (0x00BBGGRR)
  Long ClickedY = 0;     // y of the item clicked in this pass; 0 when none
  Long HoverY = 0;       // y of the last item under the pointer; kept when the pointer leaves
  std::string LastHover;  // caption of the last item under the pointer; the hover sound plays when it changes
  std::vector<Rect> Clickable;  // the hit boxes of the active items drawn in this pass, in drawing order
};

}  // namespace kesmir
