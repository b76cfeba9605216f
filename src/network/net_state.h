// Network status as the screens see it.
#pragma once

#include "core/numbers.h"

namespace kesmir {

struct NetState {
  Integer Connected = 0;  // -1 after a successful check of the score server
};

}  // namespace kesmir
