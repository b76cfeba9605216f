// One frame of play: the steps in their fixed order; later steps draw over earlier ones.
#include "game/frame.h"

#include "app/game_clock.h"
#include "app/window_events.h"
#include "game/acid.h"
#include "game/blood.h"
#include "game/fighters.h"
#include "game/shots.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "render/effects.h"
#include "render/overlays.h"
#include "render/pickups.h"

namespace kesmir {

void RunFrame(Game& game) {
  Surfaces& s = game.surfaces;
  const Settings& o = game.settings;
  ReadMousePos(game);
  PollKeyboard(game);
  if (game.app.GameStopped != 0 || game.app.Ended) return;
  RefreshScreen(game);

  int dx = 0;
  int dy = 0;
  if (game.play.ShakeOn != 0) {
    dx = static_cast<int>(Int(2 * game.Rnd())) - 1;
    dy = static_cast<int>(Int(2 * game.Rnd())) - 1;
  }
  BitBlt(s.Field, dx, dy, kFieldSize, kFieldSize, s.Terain, 0, 0, RasterOp::SrcCopy);
  // The pen stays where the last frame's line ended, so the line joins the previous pointer to this one.
  if (o.OptBulletFly == kOn) LineTo(s.Field, game.input.CursorX, game.input.CursorY);

  UpdateHealthBoxes(game, 0, 0, 0);
  Integer noAmmo = 0;
  UpdateAmmoBoxes(game, 0, 0, 0, noAmmo);
  MoveBullets(game);
  UpdateFighters(game);
  UpdateAcid(game, 0, 0);
  if (o.OptBloodFly == kOn || o.OptBloodStays == kOn) SprayBlood(game, 0, 0, 0, 0, 0);
  UpdateCleaner(game, 0);
  if (o.OptSnow == kOn) UpdateSnow(game);
  UpdateExplosion(game, 0, 0, 0);
  DrawFireMode(game);
  UpdateAirPlane(game, 0, 0, 0, 0);
  DrawMasked(s.Field, game.input.CursorX - 4, game.input.CursorY - 4, 9, 9, s.CursorFireDC, 0, 0, 9, 0);
  DrawOverlays(game);
  GameClock(game);

  game.play.FrameParity = game.play.FrameParity == 0 ? 1 : 0;
  if (game.play.FrameParity == 0) DoEvents(game);
}

}  // namespace kesmir
