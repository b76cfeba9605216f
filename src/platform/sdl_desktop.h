// The desktop through SDL: addresses handed to the user's browser or download handler.
#pragma once

#include "platform/ports.h"

namespace kesmir {

class SdlDesktop final : public IDesktop {
 public:
  // Hands the address to the desktop (xdg-open); true when it was handed over, not when it was opened.
  bool OpenUrl(const std::string& url) override;
};

}  // namespace kesmir
