// The world score list: the synchronisation's merge and the list's screen.
#pragma once

#include <string>
#include <string_view>

#include "core/game.h"
#include "scores/world_merge.h"

namespace kesmir {

// The synchronisation's merge, once the server's list has been fetched: when connected, loads both lists,
// merges the ten local rows into the world list and saves it, which uploads it. Returns the rows it added.
int SynchronizeScores(Game& game);

// "dd.mm.yyyy" as "yyyymmdd", spaces at the ends stripped first.
std::string ListDateKey(std::string_view date);

// The world-score screen, once per main-loop pass while MenuScreen is "WS": the scroll track and thumb, ten
// rows from WorldListOffset with their arrows, the details of the row last under the pointer, the list's date
// and upload count, and the buttons "MAIN MENU" and "SYNCHRONIZE SCORES".
void WorldScoresScreen(Game& game);

// The details panel of one world row.
void DrawWorldScoreDetails(Game& game, int place);

}  // namespace kesmir
