// The score files: the hidden list files, their readable copies, the default lists, and the rows they carry.
#pragma once

#include <string_view>

#include "core/game.h"
#include "scores/list_text.h"

namespace kesmir {

// The hidden, authoritative list files lie in the user folder's root; the readable copies (byte copies made
// after each save, read only to restore a damaged hidden file) and the default lists (shipped, read only to
// restore a hidden file) lie in OtherFiles/ of the user and the data folder.
inline constexpr std::string_view kLocalScoreFile = "Atop112.kzm";
inline constexpr std::string_view kLocalScoreCopy = "OtherFiles/HighScores.txt";
inline constexpr std::string_view kLocalScoreDefault = "OtherFiles/Temp.txt";
inline constexpr std::string_view kWorldScoreFile = "Atopw.kzm";
inline constexpr std::string_view kWorldScoreCopy = "OtherFiles/WorldScores.txt";
inline constexpr std::string_view kWorldScoreDefault = "OtherFiles/Temp2.txt";

// Writes places 0..10 of the local list in digit form, then "END", to the hidden file, and refreshes the
// readable copy. False, said once on stderr, when the hidden file could not be written; the old one stays.
bool SaveHighScores(Game& game);

// Reads the local list from its hidden file on the first call and on every 10,000th call after it; other
// calls return at once. Places after an "END" line keep what they held. A hidden file that is missing or ends
// before "END" is restored from the readable copy when that is whole, else from the rows of the hidden file
// or the copy that can still be read, else from the default list; a damaged hidden file is kept as
// "<name>.damaged". When nothing can be read, the list stays as it was, it is said once on stderr and the
// result is false.
bool LoadHighScores(Game& game);

// Writes places 0..100 of the world list, "END" and the trailer (upload count + 1, today's date, the list's
// date) to the hidden world file, refreshes the readable copy and starts the upload. The progress screen
// shows "Saving.." meanwhile. A file that could not be written is said once on stderr and not uploaded.
bool SaveWorldScores(Game& game);

// Reads up to 501 world rows and the trailer, with the same throttle (WsLoadCount; set it to 0 for a fresh
// read), restore and failure rules as LoadHighScores. Trailer lines that are missing or unreadable leave
// their values unchanged.
bool LoadWorldScores(Game& game);

}  // namespace kesmir
