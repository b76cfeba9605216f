// State of the play-field effects that run by themselves.
#pragma once

#include "core/numbers.h"

namespace kesmir {

struct EffectsState {
  Integer AirPlaneOn = 0;  // -1 while the airplane crosses the field
  double AirPlaneX = 0;    // decimal text: top-left of the airplane
  double AirPlaneY = 0;
  Integer AirMission = 0;  // 0 none or done, 1 health, 2 ammunition, 3 bomb, 4 supply run
  double AirDropX = 0;     // decimal text: where the load goes
  double AirDropY = 0;
  Integer AirTimer = 0;    // frames towards the next automatic drop
  Integer SnowAmount = 0;  // highest snow-flake slot in use this frame
};

}  // namespace kesmir
