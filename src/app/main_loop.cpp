// The main loop's entry and passes.
#include "app/main_loop.h"

#include <cstdio>

#include "app/game_clock.h"
#include "app/options.h"
#include "app/window_events.h"
#include "audio/sound_bank.h"
#include "game/blood.h"
#include "game/frame.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "menus/screens.h"
#include "scores/high_scores.h"
#include "scores/world_scores.h"
#include "terrain/generator.h"

namespace kesmir {

namespace {

// Menu panel: 270x270 at (15, 15).
constexpr int kPanelPos = 15;
constexpr int kPanelSize = 270;

void DispatchScreen(Game& game) {
  game.menus.Clickable.clear();
  // Each test is separate and in this order, so a screen that changes MenuScreen lets a later one draw.
  if (game.app.MenuScreen.empty()) MainMenuScreen(game);
  if (game.app.MenuScreen == "HS") HighScoresScreen(game);
  if (game.app.MenuScreen == "WS") WorldScoresScreen(game);
  if (game.app.MenuScreen == "OPTIONS") OptionsScreen(game);
  if (game.app.MenuScreen == "HELP") HelpScreen(game);
  if (game.app.MenuScreen == "ABOUT") AboutScreen(game);
}

void RunPlay(Game& game) {
  AppState& app = game.app;
  if (app.GameStopped == 0) ClipMouse(game, true);
  for (Integer timer : game.play.AcidTimer) {
    if (timer > 0) PlaySoundFx(game, kSoundHeart, 500);
  }
  if (game.effects.AirPlaneOn == kTrue) PlaySoundFx(game, kSoundAirPlane, 500);
  if (game.play.CleanerOn == kTrue) PlaySoundFx(game, kSoundCleaner, 500);
  while (app.GameStopped == 0 && app.GameStarted != 0 && !app.Ended) RunFrame(game);
  game.input.FireHeld = 0;
  StopSound(game, kSoundGameAmbience);
  StopSound(game, kSoundHeart);
  StopSound(game, kSoundAirPlane);
  StopSound(game, kSoundCleaner);
}

}  // namespace

std::string MemoryLine(const MemoryStatus& memory) {
  const double availKb = static_cast<double>(memory.availPhys) / 1024.0;
  const double totalKb = static_cast<double>(memory.totalPhys) / 1024.0;
  const auto percent = IntDiv(availKb, totalKb / 100.0);
  const auto megabytes = static_cast<long long>(memory.availPhys / 1024000);
  std::string line = "Ram:" + std::to_string(percent.value_or(0)) + "%(" + std::to_string(megabytes) + " Mb)";
  line.resize(40, ' ');
  return line;
}

void MainLoopEntry(Game& game) {
  Surfaces& s = game.surfaces;
  game.app.GameStopped = 0;
  game.app.GameStarted = 0;
  LoadSaveOptions(game, 0);
  GenerateMaps(game);
  s.MenuField.SetPicture(s.Terain);
  BlendPicture(s.MainMenuDC, kPanelPos, kPanelPos, kPanelSize, kPanelSize, s.MenuField, 0, 0, kPanelSize, kPanelSize);
  PlaySoundFx(game, kSoundMenuAmbience, 500);
}

void MainLoopPass(Game& game) {
  Surfaces& s = game.surfaces;
  ClipMouse(game, false);
  ReadMousePos(game);
  PollKeyboard(game);
  if (game.app.Ended) return;
  RefreshScreen(game);
  BitBlt(s.Field, 0, 0, kFieldSize, kFieldSize, s.MenuField, 0, 0, RasterOp::SrcCopy);
  const int cx = game.input.CursorX;
  const int cy = game.input.CursorY;
  DrawMasked(s.Field, cx - 9, cy - 9, 18, 18, s.CursorMenuDC, 0, 0, 18, 0);
  DispatchScreen(game);
  FinishPass(game);
}

void FinishPass(Game& game) {
  Surfaces& s = game.surfaces;
  if (game.app.GameStarted != 0) RunPlay(game);
  if (game.app.Ended) return;
  MenuParticles(game);
  if (game.settings.OptDebugInfo == kOn && game.platform.fonts) {
    TextOutA(s.Field, *game.platform.fonts, 200, 2, MemoryLine(s.MemStatus));
  }
  GameClock(game);
  DoEvents(game);
}

void MainLoop(Game& game) {
  MainLoopEntry(game);
  if (game.app.ReportStartupTime && game.platform.clock) {
    std::fprintf(stderr, "kesmir: start-up took %.1f ms\n", static_cast<double>(game.platform.clock->Micros()) / 1000.0);
  }
  while (!game.app.Ended) MainLoopPass(game);
}

void MenuParticles(Game& game) {
  SprayBlood(game, game.input.CursorX, game.input.CursorY, 1, -1, 4);
  const double edge = kPanelPos + kPanelSize;
  auto along = [&game] {
    game.Randomize();
    return kPanelPos + kPanelSize * game.Rnd();
  };
  const double top = along();
  SprayBlood(game, top, kPanelPos, 4, -2, 6);
  const double bottom = along();
  SprayBlood(game, bottom, edge, 4, -2, 6);
  const double left = along();
  SprayBlood(game, kPanelPos, left, 4, -2, 6);
  const double right = along();
  SprayBlood(game, edge, right, 4, -2, 6);
}

}  // namespace kesmir
