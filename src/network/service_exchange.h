// The synchronisation with the score service, which merges every list it is sent into the world list it owns.
#pragma once

#include "core/game.h"
#include "network/net_state.h"

namespace kesmir {

// Posts the local list to the score service and keeps the merged world list it answers as the hidden world
// file and its readable copy, as a downloaded list is kept: the service has merged it, so nothing is merged
// or sent here. A refusal, a failed transfer or an answer that is not a world list saves nothing and is told
// as a list that could not be fetched. LastSync says what happened. Called by DownloadWorldScores after the
// version check.
void SynchronizeWithService(Game& game, const NetDeployment& d);

}  // namespace kesmir
