// Start-up, shutdown and the display modes.
#include "app/startup.h"

#include <cmath>

#include "app/main_loop.h"
#include "app/options.h"
#include "app/progress.h"
#include "audio/sound_bank.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "render/graphics.h"
#include "scores/high_scores.h"

namespace kesmir {

void Form_Activate(Game& game) {
  if (StartUp(game)) MainLoop(game);
}

bool StartUp(Game& game) {
  AppState& app = game.app;
  app.FormCaption = kFormCaption;
  game.surfaces.StatusField.fontFixedWidth = true;  // the status bar's texts line up in columns
  game.surfaces.Field.penColour = Rgb(96, 96, 72);   // the pointer's trail line
  LoadSaveOptions(game, 0);
  SetScreenMode(game, game.settings.OptFullScreen == kOn);
  app.LoadingCaption = "Loading graphics..";
  LoadGraphics(game);
  if (app.Ended) return false;
  if (game.scores.HsScore[0].empty()) UpdateHighScores(game, 0);
  app.LoadingCaption = "Loading sounds..";
  LoadSounds(game);
  if (app.Ended) return false;
  app.LoadingCaption = "Loading DirectInput..";
  InitDirectInput(game);
  ClipMouse(game, false);
  ShowProgress(game);
  app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
  return true;
}

void Form_Unload(Game& game) {
  ClipMouse(game, false);
  ReleaseDirectInput(game);
  ReleaseSounds(game);
  ReleaseGraphics(game);
  game.app.Ended = true;
}

bool InitDirectDraw(Game& game, bool windowed) {
  if (!game.platform.window) return false;
  return windowed ? game.platform.window->SetScreenMode(false, kWindowedCanvasWidth, kWindowedCanvasHeight)
                  : game.platform.window->SetScreenMode(true, kFullCanvasWidth, kFullCanvasHeight);
}

void SetScreenMode(Game& game, bool fullScreen) {
  AppState& app = game.app;
  IWindow* window = game.platform.window;
  app.FieldOrigin = {0, 0};
  app.StatusOrigin = {0, 302};
  if (window) window->SetCaption(app.FormCaption);
  if (fullScreen) {
    if (InitDirectDraw(game, false)) {
      app.FieldOrigin = {170, 50};
      app.StatusOrigin = {170, 352};
      if (window) window->SetCaption("");
      return;
    }
    // The mode could not be entered: windowed mode is recorded at once, so that the options file read again
    // when the main loop starts, and with it the next start, are windowed too.
    game.settings.OptFullScreen = kOff;
    if (app.ScreenModeForRun) app.ScreenModeForRun = kOff;  // the file keeps the player's own choice
    LoadSaveOptions(game, -1);
    if (game.platform.dialogs) {
      game.platform.dialogs->ShowMessage("Kesmir Error!",
                                         "Cannot activate DirectX 7! Make sure you have it installed correctly!",
                                         MessageKind::Warning);
    }
  }
  InitDirectDraw(game, true);
}

}  // namespace kesmir
