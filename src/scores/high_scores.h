// The local high-score list: its single entry point, the insertion, the name entry and the screen.
#pragma once

#include "core/game.h"
#include "scores/score_line.h"

namespace kesmir {

// The single entry point. During a name entry it only runs NameEntryTick. Otherwise it loads the list
// (throttled) and offers the score: a score above a stored one takes the first place it beats, the rows below
// move down one (the tenth becomes the eleventh), and the name entry starts on the high-score screen; an equal
// score goes below the stored one. A score above only the eleventh row plays its jingle and shows the screen
// without changing the list. 0 never enters unless a stored score is negative.
void UpdateHighScores(Game& game, Long score);

// Plays the jingle of place slot + offset and fills that place with the finished game's statistics (not the
// name). Place 10, the eleventh row, is not written and ends the name entry at once.
void InsertHighScore(Game& game, Integer slot, Integer offset, Long score);

// One pass of the name entry: the box over the row, Enter saves the list and ends the entry, otherwise the
// row's name follows the text box.
void NameEntryTick(Game& game);

// The high-score screen, once per main-loop pass while MenuScreen is "HS".
void HighScoresScreen(Game& game);

// The details of one local row on StatusField: maximum health and ammunition, the four level bars, the score,
// the kills and the time.
void DrawScoreDetails(Game& game, int place);
// The same panel for any row, local or world.
void DrawRowDetails(Game& game, const ScoreLineFields& row);

}  // namespace kesmir
