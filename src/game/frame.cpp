// One frame of play.
#include "game/frame.h"

#include "app/game_clock.h"
#include "app/window_events.h"
#include "input/keyboard.h"
#include "input/mouse.h"

namespace kesmir {

// Until the play-field steps exist a frame reads the input, shows the field, paces and yields, so that a
// started game never spins without pacing.
void RunFrame(Game& game) {
  ReadMousePos(game);
  PollKeyboard(game);
  if (game.app.GameStopped != 0 || game.app.Ended) return;
  RefreshScreen(game);
  GameClock(game);
  DoEvents(game);
}

}  // namespace kesmir
