// State of the play-field effects that run by themselves.
#pragma once

#include <array>
#include <cstdint>

#include "core/numbers.h"

namespace kesmir {

inline constexpr int kSnowSlots = 1001;  // flake slots 0..1000

struct SnowFlake {
  Integer Active = 0;  // -1 in play, 0 free
  double X = 0;        // decimal text
  double Y = 0;        // decimal text
  Integer Angle = 0;   // direction of motion, degrees
  Integer Speed = 0;   // pixels per frame, 2..6; also picks the settled colour
  Integer GroundY = 0;  // height at which the flake settles
};

// Counts of what the effects did since the program started, for the simulator and measurements; no game
// rule reads them.
struct EffectTallies {
  std::int64_t SupplyRuns = 0;
  std::int64_t Bombs = 0;
  std::int64_t Explosions = 0;
  std::int64_t DrugsTaken = 0;
  std::int64_t CleanerRuns = 0;
  std::int64_t FlakesSettled = 0;
  std::int64_t BloodStains = 0;
};

struct EffectsState {
  Integer AirPlaneOn = 0;  // -1 while the airplane crosses the field
  double AirPlaneX = 0;    // decimal text: top-left of the airplane
  double AirPlaneY = 0;
  Integer AirMission = 0;  // 0 none or done, 1 health, 2 ammunition, 3 bomb, 4 supply run
  double AirDropX = 0;     // decimal text: where the load goes
  double AirDropY = 0;
  Integer AirTimer = 0;    // frames towards the next automatic drop
  Integer SnowAmount = 0;  // highest snow-flake slot in use this frame
  Integer ScoreInfoFrames = 0;  // frames the score information has been shown since ScoreInfoOn was set
  std::array<SnowFlake, kSnowSlots> SnowFlakes{};

  double ExplosionX = 0;        // decimal text: top-left of the 64x64 explosion
  double ExplosionY = 0;
  Integer ExplosionFrame = 0;   // next animation frame, 0..27; ShakeOn is the running flag

  EffectTallies Tallies;
};

}  // namespace kesmir
