// Starting a game.
#include "app/new_game.h"

namespace kesmir {

void NewGame(Game&) {}

}  // namespace kesmir
