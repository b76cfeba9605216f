// State of the play-field effects that run by themselves.
#pragma once

#include "core/numbers.h"

namespace kesmir {

struct EffectsState {
  Integer AirPlaneOn = 0;  // -1 while the airplane crosses the field
};

}  // namespace kesmir
