// The world score file's exchange with the score server, and the connection check the screens ask.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// The server's world score file, in the account's login folder. Every player's game reads and writes this one
// file, so its name and its digit-form layout never change.
inline constexpr std::string_view kRemoteWorldFile = "Atopw.kzm";
// A world list written by the game is about 50 KB; a served file above this is refused.
inline constexpr std::size_t kMaxWorldFileBytes = 1024 * 1024;

// Refreshes and returns Connected: -1 when the configured score server accepted a connection at the latest
// background check, else 0 (also before the first answer and without a score server). Never waits.
Integer CheckConnection(Game& game);

// The synchronisation: the version check, which stops everything when a newer version is announced; the
// server's world list fetched over the hidden world file; then SynchronizeScores merges the local list into
// it, saves it and uploads it. A served list that is larger than kMaxWorldFileBytes or is not a world list
// leaves the hidden file as it was, and a download that failed sends nothing (a server without any list is
// seeded). After the upload the list is fetched again; while it lacks a row just merged (another player's
// upload came in between), the newest list is fetched, merged and uploaded again, up to three uploads in all.
// With a score service set (score_url), the version check is followed by SynchronizeWithService instead.
// Every transfer ends within 45 seconds of the start (the announcement within 15). Closing the window ends
// the exchange at its next step. Failed steps are told in one message box at the end.
void DownloadWorldScores(Game& game);

// Sends the hidden world file to the FTP server (never to a score service), unless the synchronisation's
// download failed; called by SaveWorldScores once the file is written. The next LoadWorldScores reads the
// file again.
void UploadWorldScores(Game& game);

// Lists the server's login folder, and removes the temporary files that uploads of this installation which
// were cut short left there.
void ListRemoteFiles(Game& game);

// The rows of a world list file, which ends with an "END" line after at most 501 rows; nullopt for a text
// that is not one.
std::optional<int> WorldListRows(std::string_view text);
bool IsWorldListFile(std::string_view text);

// The synchronisation without a window, for the command line: prints one line of what happened (rows
// downloaded and merged, the upload, or what failed) and returns the exit status, 0 when the list fetched
// after the upload holds every row merged.
int SynchronizeFromCommandLine(Game& game);

}  // namespace kesmir
