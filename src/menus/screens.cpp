// The main menu, options, help and about screens.
#include "menus/screens.h"

#include <string>

#include "app/new_game.h"
#include "app/options.h"
#include "app/startup.h"
#include "input/field_events.h"
#include "menus/menu_widget.h"
#include "network/ftp_exchange.h"
#include "network/version_check.h"

namespace kesmir {
namespace {

constexpr int kMainMenuY = 260;  // "MAIN MENU" on every screen but the main menu; "EXIT GAME" there

// The end of every pass of these screens: the title over everything, no click left over, Field's text reset.
void EndOfPass(Game& game) {
  DrawMenuLogo(game);
  game.menus.ClickedY = 0;
  ResetMenuText(game);
}

// "MAIN MENU" at (30, 260); true when it was clicked, and the screen then draws nothing more in this pass.
// The click is cleared on the way out: "EXIT GAME" lies at the same y, and a click left over would reach it
// on the next pass if the pointer had moved off the button meanwhile.
bool MainMenuButton(Game& game) {
  DrawMenuItem(game, "MAIN MENU", 30, kMainMenuY, 10, kTrue);
  if (!MenuItemClicked(game, kMainMenuY)) return false;
  game.app.MenuScreen.clear();
  game.menus.ClickedY = 0;
  return true;
}

void Toggle(Integer& flag) { flag = flag == kOn ? kOff : kOn; }

// A check-box row: the box shows the flag's cell, the caption toggles the flag. The click has already written
// the options file before the toggle; writing it again stores the new value at once.
bool CheckBoxRow(Game& game, std::string_view caption, int y, Integer& flag) {
  BitBlt(game.surfaces.Field, 30, y + 3, 8, 8, game.surfaces.CheckDC, flag, 0, RasterOp::SrcCopy);
  DrawMenuItem(game, caption, 42, y, 8, kTrue);
  if (!MenuItemClicked(game, y)) return false;
  Toggle(flag);
  LoadSaveOptions(game, -1);
  return true;
}

void InactiveText(Game& game, std::string_view text, int x, int y, Integer size) {
  DrawMenuItem(game, text, x, y, size, kFalse);
}

void PlayTimeLines(Game& game) {
  const Long total = game.settings.PlayTimeTotal;
  // A unit the total never reached shows nothing after its label; a reached unit that is now 0 shows "0".
  const std::string days = total >= 1440 ? std::to_string(total / 1440) : "";
  const std::string hours = total >= 60 ? std::to_string(total / 60 % 24) : "";
  const std::string minutes = total > 0 ? std::to_string(total % 60) : "";
  InactiveText(game, "You are playing Kesmir for:", 30, 190, 8);
  InactiveText(game, "Days: " + days, 30, 200, 8);
  InactiveText(game, "Hours: " + hours, 30, 210, 8);
  InactiveText(game, "Minutes: " + minutes, 30, 220, 8);
}

}  // namespace

void MainMenuScreen(Game& game) {
  AppState& app = game.app;
  game.surfaces.Field.fontBold = true;
  if (app.GameStopped == kTrue) {
    DrawMenuItem(game, "RESUME GAME", 30, 25, 10, kTrue);
    if (MenuItemClicked(game, 25)) {
      game.menus.ClickedY = 0;
      ResumeGame(game);
    }
  }
  DrawMenuItem(game, "START NEW GAME", 30, 50, 10, kTrue);
  if (MenuItemClicked(game, 50)) NewGame(game);
  DrawMenuItem(game, "HIGH SCORES", 30, 75, 10, kTrue);
  if (MenuItemClicked(game, 75)) app.MenuScreen = "HS";
  DrawMenuItem(game, "WORLD SCORES", 30, 100, 10, kTrue);
  if (MenuItemClicked(game, 100)) app.MenuScreen = "WS";
  DrawMenuItem(game, "OPTIONS & GAME INFO", 30, 125, 10, kTrue);
  if (MenuItemClicked(game, 125)) app.MenuScreen = "OPTIONS";
  DrawMenuItem(game, "HELP ME", 30, 150, 10, kTrue);
  if (MenuItemClicked(game, 150)) app.MenuScreen = "HELP";
  DrawMenuItem(game, "ABOUT", 30, 175, 10, kTrue);
  if (MenuItemClicked(game, 175)) app.MenuScreen = "ABOUT";
  DrawMenuItem(game, "EXIT GAME", 30, kMainMenuY, 10, kTrue);
  if (MenuItemClicked(game, kMainMenuY)) {
    app.Ended = true;  // at once, without the shutdown sequence; the click has written the options file
    return;
  }
  EndOfPass(game);
}

void OptionsScreen(Game& game) {
  Settings& o = game.settings;
  Surface& field = game.surfaces.Field;
  field.fontBold = true;
  CheckConnection(game);
  InactiveText(game, "OPTIONS", 30, 25, 10);
  if (MainMenuButton(game)) return;
  const bool connected = game.net.Connected != 0;
  if (!connected) InactiveText(game, "PLEASE CONNECT FIRST", 111, 250, 6);
  DrawMenuItem(game, "CHECK FOR NEW VERSION", 111, 260, 10, connected ? kTrue : kFalse);
  if (MenuItemClicked(game, 260)) ShowLatestVersion(game);

  field.fontBold = false;
  CheckBoxRow(game, "Snow", 50, o.OptSnow);
  CheckBoxRow(game, "Bullet fly effect", 60, o.OptBulletFly);
  CheckBoxRow(game, "Blood (fly)", 70, o.OptBloodFly);
  CheckBoxRow(game, "Blood stays on ground", 80, o.OptBloodStays);
  CheckBoxRow(game, "Foot-steps", 90, o.OptFootSteps);
  CheckBoxRow(game, "Debug info", 100, o.OptDebugInfo);
  CheckBoxRow(game, "Score info (YourScore,Place in front and his score)", 110, o.OptScoreInfo);
  if (CheckBoxRow(game, "Full Screen (640x480)", 125, o.OptFullScreen)) {
    // The window switches at once; a full screen that cannot be entered turns the option off again. The
    // player's choice replaces the command line's and is kept in the options file.
    game.app.ScreenModeForRun.reset();
    SetScreenMode(game, o.OptFullScreen == kOn);
  }

  o.SoundMuted = o.SoundVolume < 1 ? kOff : kOn;
  BitBlt(field, 30, 143, 8, 8, game.surfaces.CheckDC, o.SoundMuted, 0, RasterOp::SrcCopy);
  InactiveText(game, "Sound Volume: " + std::to_string(o.SoundVolume) + "% (Press - and + to change it)", 42, 140, 8);
  // The stereo row's box tells whether sound is on at all, not which of the two is chosen.
  BitBlt(field, 30, 153, 8, 8, game.surfaces.CheckDC, o.SoundMuted == kOff ? kOff : kOn, 0, RasterOp::SrcCopy);
  DrawMenuItem(game, o.OptMono == kOff ? "Sound: Mono" : "Sound: Stereo", 42, 150, 8, kTrue);
  if (MenuItemClicked(game, 150)) {
    Toggle(o.OptMono);
    LoadSaveOptions(game, -1);
  }
  BitBlt(field, 30, 163, 8, 8, game.surfaces.CheckDC, kOn, 0, RasterOp::SrcCopy);
  DrawMenuItem(game,
               o.OptMovement == kOff ? "Movement: Real (Following the cursor)" : "Movement: Static (Up, down, left, right)",
               42, 160, 8, kTrue);
  if (MenuItemClicked(game, 160)) {
    Toggle(o.OptMovement);
    LoadSaveOptions(game, -1);
  }

  field.fontBold = true;
  InactiveText(game, "GAME INFO", 30, 175, 10);
  field.fontBold = false;
  PlayTimeLines(game);
  InactiveText(game, "Times played: " + std::to_string(o.TimesPlayed), 30, 235, 8);
  EndOfPass(game);
}

void HelpScreen(Game& game) {
  Surfaces& s = game.surfaces;
  s.Field.fontBold = true;
  InactiveText(game, "HELP ME", 30, 25, 10);
  if (MainMenuButton(game)) return;

  InactiveText(game, "GAME KEYS:", 30, 50, 8);
  s.Field.fontBold = false;
  InactiveText(game, "Left mouse click for shooting", 30, 60, 8);
  InactiveText(game, "Right mouse for droping bombs", 30, 70, 8);
  InactiveText(game, "Moving with arrow keys or W,S,A,D", 30, 80, 8);
  InactiveText(game, "Change BulletsOut with 'Q' or 'CTRL'", 30, 90, 8);
  s.Field.fontBold = true;
  InactiveText(game, "GENERAL KEYS:", 30, 105, 8);
  s.Field.fontBold = false;
  InactiveText(game, "'+' and '-' for volume", 30, 115, 8);
  InactiveText(game, "'Enter' for New/resume game", 30, 125, 8);
  InactiveText(game, "'Escape' for pause", 30, 135, 8);

  BitBlt(s.Field, 30, 150, 23, 32, s.Help1DC, 0, 0, RasterOp::SrcCopy);
  InactiveText(game, "That number shows how many bullets", 57, 147, 8);
  InactiveText(game, "has left in crate when you are over it!", 57, 157, 8);
  BitBlt(s.Field, 30, 185, 62, 20, s.Help2DC, 0, 0, RasterOp::SrcCopy);
  InactiveText(game, "Your health (Max.health)", 96, 182, 8);
  InactiveText(game, "Your ammo (Max.ammo)", 96, 192, 8);
  BitBlt(s.Field, 30, 208, 32, 32, s.Help3DC, 0, 0, RasterOp::SrcCopy);
  InactiveText(game, "Number of bombs you can drop.", 66, 205, 8);
  InactiveText(game, "One bomb = 15 bullets", 66, 215, 8);
  BitBlt(s.Field, 30, 243, 7, 7, s.AcidDC, 0, 0, RasterOp::SrcCopy);
  InactiveText(game, "Drugs -'four of them' two good and two bad !", 41, 240, 8);
  EndOfPass(game);
}

void AboutScreen(Game& game) {
  Surface& field = game.surfaces.Field;
  field.fontBold = true;
  InactiveText(game, "ABOUT", 30, 25, 10);
  if (MainMenuButton(game)) return;

  InactiveText(game, "Tessaly Works", 30, 50, 18);
  InactiveText(game, "Creators of Kesmir :", 30, 80, 10);
  field.fontBold = false;
  // The credits name the work by role; the makers are one team, so no person is named.
  InactiveText(game, "Programming: Tessaly Works", 30, 95, 8);
  InactiveText(game, "game, menus and scores in C++ on SDL2", 30, 105, 8);
  InactiveText(game, "Artwork: Tessaly Works", 30, 120, 8);
  InactiveText(game, "every picture drawn by the asset generator", 30, 130, 8);
  InactiveText(game, "Sound: Tessaly Works", 30, 145, 8);
  InactiveText(game, "every sound synthesized by the asset generator", 30, 155, 8);
  InactiveText(game, "Testing: Tessaly Works", 30, 170, 8);
  InactiveText(game, "unit, platform and end-to-end tests", 30, 180, 8);
  InactiveText(game, "Kesmir for Linux", 30, 200, 10);
  InactiveText(game, "Version 1.14", 30, 210, 10);
  InactiveText(game, "(C) Tessaly Works. All rights reserved.", 30, 230, 8);
  InactiveText(game, "Pictures and sounds are made for this game.", 30, 241, 8);
  EndOfPass(game);
}

}  // namespace kesmir
