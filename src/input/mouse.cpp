// Pointer position, facing and confinement.
#include "input/mouse.h"

#include "game/geometry.h"

namespace kesmir {

void ReadMousePos(Game& game) {
  if (!game.platform.mouse) return;
  const Point pointer = game.platform.mouse->Position();
  game.input.CursorX = pointer.x - game.app.FieldOrigin.x;
  game.input.CursorY = pointer.y - game.app.FieldOrigin.y;
  Fighter& player = game.play.Fighters[0];
  GetAngleDistance(game, player.X + 10.0, player.Y + 10.0, game.input.CursorX, game.input.CursorY);
  player.Facing = game.play.Angle;
}

void ClipMouse(Game& game, bool confine) {
  if (!game.platform.mouse) return;
  if (confine) {
    game.platform.mouse->Confine(Rect{game.app.FieldOrigin.x, game.app.FieldOrigin.y, 300, 300});
  } else {
    game.platform.mouse->Confine(std::nullopt);
  }
}

}  // namespace kesmir
