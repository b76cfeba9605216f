// The world score list: the merge of the local list into it and its screen.
#pragma once

#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// Merges local place localPlace into the world list. A row whose whole score and name (case-sensitive) are
// already among world places 0..99 is skipped. Otherwise it goes below every world row with the same or a
// higher score: the rows below it move down one place (place 99 onto place 100) and are marked 2, the new row
// is marked 1. A row that beats none of the hundred lands at place 100, replacing what was there. True when
// the row took one of the hundred places.
bool MergeLocalRow(ScoreLists& lists, int localPlace);
// True when every local row among the ten shown that would take one of the world list's hundred places holds
// one already: what a merge into this list would leave unchanged.
bool LocalRowsInWorldList(const ScoreLists& lists);

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
