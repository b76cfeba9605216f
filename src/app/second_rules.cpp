// The once-per-second rules of a game in play.
#include "app/game_clock.h"

namespace kesmir {

void SecondRules(Game&) {}

}  // namespace kesmir
