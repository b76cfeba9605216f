// State of the sound bank.
#pragma once

namespace kesmir {

struct AudioState {
  bool Loaded = false;
};

}  // namespace kesmir
