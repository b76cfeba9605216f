// The world score list.
#include "scores/world_scores.h"

namespace kesmir {

void WorldScoresScreen(Game&) {}

}  // namespace kesmir
