// The headless simulator: the real game code on the fake platform, with an optional autopilot and a mode
// that keeps every table full.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ports.h"

namespace kesmir::sim {

struct SimOptions {
  std::uint64_t seed = 1;
  int minutes = 10;          // the most game minutes to run; a game that ends stops the run earlier
  long long maxFrames = -1;  // the most frames, -1 for no limit
  bool autopilot = false;
  bool maxLoad = false;
  bool immortal = false;          // the player's health is topped up before every frame
  IPictures* pictures = nullptr;  // the picture decoder; none draws from empty surfaces
  std::string dataDir;            // the shipped data (fighter definitions); empty: none
};

struct SimResult {
  long long frames = 0;
  int gameMinutes = 0;
  int gameSeconds = 0;
  int spawned = 0;
  int waves = 0;
  int kills = 0;
  int score = 0;
  bool playerAlive = false;
  bool gameEnded = false;
  int maxFightersAlive = 0;
  int maxBullets = 0;
  long frameNsP50 = 0;
  long frameNsP99 = 0;
  long maxRssKb = 0;
  bool fightersInBounds = true;  // every live fighter stayed within reach of the field
};

SimResult RunSimulation(const SimOptions& options);
// The result as one line of JSON.
std::string ResultJson(const SimResult& result);

}  // namespace kesmir::sim
