// The headless simulator: the real game code on the fake platform, with an optional autopilot and a mode
// that keeps every table full.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ports.h"
#include "replay/player.h"

namespace kesmir::sim {

struct SimOptions {
  std::uint64_t seed = 1;
  int minutes = 10;          // the most game minutes to run; a game that ends stops the run earlier
  long long maxFrames = -1;  // the most frames, -1 for no limit
  bool autopilot = false;
  bool maxLoad = false;
  bool immortal = false;          // the player's health is topped up before every frame
  bool busy = false;              // passes have no spare time, as on a machine that is too slow
  bool untilDeath = false;        // play until the player dies, whatever the minutes
  std::string name;               // typed into the name entry when the score enters the high-score list
  std::string userDir;            // where the game writes (options, score lists); empty: a temporary folder
  IPictures* pictures = nullptr;  // the picture decoder; none draws from empty surfaces
  std::string dataDir;            // the shipped data (fighter definitions); empty: none
  IFonts* fonts = nullptr;        // the text renderer; none uses the fake one
  // Records the game into this replay file; the autopilot then acts through the window's events only, and the
  // spare time of each pass is the fake clock's own, since only what the ports answered is recorded.
  std::string recordTo;
  bool paceByClock = false;  // the game as a recorded one is played, without recording it
};

// What the world effects did over the run.
struct EffectTalliesCopy {
  long long supplyRuns = 0;
  long long bombs = 0;
  long long explosions = 0;
  long long drugsTaken = 0;
  long long cleanerRuns = 0;
  long long flakesSettled = 0;
  long long bloodStains = 0;
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
  long rssAfterFirstMinuteKb = 0;  // the high-water mark when the first game minute was over
  bool fightersInBounds = true;  // every live fighter stayed within reach of the field
  EffectTalliesCopy effects;
  int finalScore = 0;
  int highScorePlace = -1;  // where the score entered the high-score list, -1 when it did not
  // A fingerprint of the pictures drawn and the sounds played: the field and the sounds every 32 frames, then
  // the field, the ground, the status bar and the sounds at the end. Two runs that differ in anything the
  // player could see or hear differ here.
  std::uint64_t stateHash = 0;
};

SimResult RunSimulation(const SimOptions& options);

// Plays a replay file headlessly with the shipped data and the user folder's terrain maps, and prints one
// JSON line of what it reached. 0 when that equals the file's header, 1 when not, 2 when it cannot be read.
int VerifyReplay(const std::string& file, const SimOptions& options);
// The replay played on a fake platform set up as the simulator's (its data folder, pictures and fonts); the
// recorded pictures are read from options.userDir.
replay::PlayOutcome PlayHeadless(const replay::Replay& replay, const SimOptions& options);
// The result as one line of JSON.
std::string ResultJson(const SimResult& result);

}  // namespace kesmir::sim
