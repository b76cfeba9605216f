// The local and world score lists held in memory, one text array per column, and the name entry's state.
#pragma once

#include <array>
#include <string>

#include "core/numbers.h"

namespace kesmir {

// The local arrays hold places 0..100 of which the list uses 0..10 (ten shown rows and the eleventh that an
// insertion pushes out); the world arrays hold 0..500 of which the list uses 0..100.
inline constexpr int kLocalPlaces = 101;
inline constexpr int kWorldPlaces = 501;
inline constexpr int kLocalRows = 11;
inline constexpr int kWorldRows = 101;

using LocalColumn = std::array<std::string, kLocalPlaces>;
using WorldColumn = std::array<std::string, kWorldPlaces>;

// Every element holds its field exactly as the score line carries it, leading spaces included.
struct ScoreLists {
  LocalColumn HsScore{}, HsKills{}, HsTime{}, HsAccuracy{}, HsRecharge{}, HsBulletSpeed{}, HsMelee{},
      HsMaxHealth{}, HsMaxAmmo{}, HsTimesPlayed{}, HsDate{}, HsName{};
  WorldColumn WsScore{}, WsKills{}, WsTime{}, WsAccuracy{}, WsRecharge{}, WsBulletSpeed{}, WsMelee{},
      WsMaxHealth{}, WsMaxAmmo{}, WsTimesPlayed{}, WsDate{}, WsName{};

  // The world list's trailer.
  Integer WsUploadCount = 0;  // uploads of the world list by all players
  std::string WsLastUpdate;   // "dd.mm.yyyy" of the last upload
  std::string WsListDate;     // the list's date as last read; equal to WsLastUpdate after a read
  std::string WsListDateKey;  // WsListDate as "yyyymmdd", against which the rows' dates are compared
  // The world rows' arrows: 1 up (new since the last update), 2 down (moved down or older), 0 neutral.
  std::array<Integer, kWorldPlaces> WsMark{};

  // Load throttles: a list file is read when its count is 1 (the first call and every 10,000th after it).
  Integer HsLoadCount = 0;
  Integer WsLoadCount = 0;
  Integer ListIndex = 0;  // scan index of an insertion

  // The name entry.
  Integer NameEntryOn = 0;   // -1 while a new score waits for its name
  Integer InsertIndex = 0;   // the place being named
  std::string YourName;      // the name entry's text box, Windows-1252 characters
  bool YourNameFocus = false;  // the text box takes the typed characters
  Integer ReplayRow = 0;       // the row (1..10) whose replay the screen offers: the last the pointer rested on

  // Trouble with the score files is said once per run on standard error.
  bool HsReadWarned = false;
  bool WsReadWarned = false;
  bool WriteWarned = false;
};

}  // namespace kesmir
