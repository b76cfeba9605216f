// The merge of rows into the world list, on the lists in memory and on the list files' text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/ports.h"
#include "scores/score_lists.h"

namespace kesmir {

inline constexpr int kMergedLocalRows = 10;  // the local rows shown; place 10 is the one an insertion pushed out
inline constexpr int kWorldShown = 100;      // places 0..99; place 100 is the row that beat none of them
// The world rows' arrows.
inline constexpr Integer kMarkUp = 1;
inline constexpr Integer kMarkDown = 2;

// Merges local place localPlace into the world list. A row whose whole score and name (case-sensitive) are
// already among world places 0..99 is skipped. Otherwise it goes below every world row with the same or a
// higher score: the rows below it move down one place (place 99 onto place 100) and are marked 2, the new row
// is marked 1. A row that beats none of the hundred lands at place 100, replacing what was there. True when
// the row took one of the hundred places.
bool MergeLocalRow(ScoreLists& lists, int localPlace);

// Merges local places 0..count-1 in order, calling beforeEach (when set) before each; returns the rows that
// took one of the hundred places.
int MergeLocalRows(ScoreLists& lists, int count, const std::function<void()>& beforeEach = {});

// True when the local row is in the world list's hundred places, by whole score and stored name.
bool LocalRowInWorldList(const ScoreLists& lists, int localPlace);

// True when every local row among the ten shown that would take one of the world list's hundred places holds
// one already: what a merge into this list would leave unchanged.
bool LocalRowsInWorldList(const ScoreLists& lists);

// The outcome of merging an uploaded list file into a world list file.
struct WorldMerge {
  std::string text;       // the merged world list file; empty when rejected
  int added = 0;          // the upload's rows that took one of the hundred places
  std::string rejection;  // one line saying why nothing was merged; empty when merged
};

// What a synchronisation that fetched worldText (empty: no list yet) and held the upload's rows as its local
// list would save as its hidden world file on the given day: the world file's rows and trailer are read as the
// game reads them, the upload's rows are merged as local rows, and the list is written with the upload count
// + 1, today and the list's date. The upload is a local list file (rows, "END"; its first ten rows are
// merged) or a world list file (rows, "END", trailer; its first hundred rows are merged, its trailer is not
// used). An upload is rejected when it has no "END" after at most 501 rows, no rows, or a row before "END"
// that has a score but is not a whole score line (the game saves places it never filled as rows without a
// score, whole or not); worldText is rejected when the game's reader would take it as damaged.
WorldMerge MergeWorldUpload(std::string_view worldText, std::string_view uploadText, const Date& today);

// Why text is not a list file whose rows can be merged, in one line; empty when it is one.
std::string ListFileFault(std::string_view text);

// The world list file without its first row among places 0..100 with this whole score and name (compared as
// the file stores names): the rows below move up one place and a blank row ends the list. The trailer is
// kept as it was, since an operator's removal is nobody's upload. Rejected when there is no such row.
WorldMerge RemoveWorldRow(std::string_view worldText, std::string_view name, int score);

}  // namespace kesmir
