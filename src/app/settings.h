// The player's settings and lifetime counters, kept in the options file.
#pragma once

#include "core/numbers.h"

namespace kesmir {

// Option flags hold 0 for on and 8 for off (8 is also the x of the "off" check-box cell).
inline constexpr Integer kOn = 0;
inline constexpr Integer kOff = 8;

struct Settings {
  Integer OptBloodFly = 0;
  Integer OptBloodStays = 0;
  Integer OptBulletFly = 0;
  Integer OptDebugInfo = 0;
  Integer OptScoreInfo = 0;
  Integer OptSnow = 0;
  Integer OptMono = 0;        // 0 stereo, 8 mono
  Integer SoundVolume = 0;    // 0..100
  Long PlayTimeTotal = 0;     // minutes
  Long TimesPlayed = 0;
  Integer OptFootSteps = 0;
  Integer MapsGenerated = 0;  // 1 once the terrain maps exist
  Integer OptFullScreen = 0;  // 0 full screen, 8 windowed
  Integer OptMovement = 0;    // 0 static, 8 real
  Integer SoundMuted = 0;     // 8 when the options screen last found the volume below 1; not stored
};

}  // namespace kesmir
