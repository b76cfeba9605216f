// The world score file's exchange with the score server, and the connection check the screens ask.
#pragma once

#include "core/game.h"

namespace kesmir {

// Refreshes and returns Connected: -1 when the score server can be reached, else 0.
Integer CheckConnection(Game& game);
// Fetches the server's world list over the hidden world file, then merges the local list into it, saves it
// and uploads it.
void DownloadWorldScores(Game& game);
// Sends the hidden world file to the server; called by SaveWorldScores once the file is written.
void UploadWorldScores(Game& game);

}  // namespace kesmir
