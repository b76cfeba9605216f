// State of the application shell: window layout, screen dispatch, progress screen, game flags, folders.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/numbers.h"
#include "platform/ports.h"

namespace kesmir {

inline constexpr const char* kFormCaption = "Kesmir 1.14 - 27.08.2002";

struct AppState {
  std::string FormCaption;
  Point FieldOrigin;              // Field's client area on the canvas
  Point StatusOrigin;             // StatusField's place on the canvas
  double DegToRad = 0.0;
  std::string MenuScreen;         // "", "HS", "WS", "OPTIONS", "HELP", "ABOUT"
  std::string LoadingCaption;
  Long ProgressStep = 0;

  Integer GameStarted = 0;        // -1 while a game is in progress, also paused
  Integer GameStopped = 0;        // -1 while the game is paused
  Integer WaveCount = 0;

  std::filesystem::path DataDir;  // what the game ships: Pictures/, Sounds/, OtherFiles/
  std::filesystem::path UserDir;  // everything the program writes

  // Full screen (kOn) or windowed (kOff) for this run, from the command line; the options file keeps the
  // player's own choice (StoredFullScreen) until the player changes it on the options screen.
  std::optional<Integer> ScreenModeForRun;
  Integer StoredFullScreen = 0;

  bool Ended = false;             // the program has been told to end; every loop returns
  bool InputAcquired = false;
  bool OptionsWriteWarned = false;  // a failing options write is said once
  bool SaveFailureShown = false;    // the player has been told, once, that the user folder takes no saves
  bool ReportStartupTime = false;   // say on stderr how long start-up took (for measurements)
};

}  // namespace kesmir
