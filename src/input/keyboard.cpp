// Polling the keyboard and the table of menu and system keys.
#include "input/keyboard.h"

#include <algorithm>
#include <utility>

#include "app/folders.h"
#include "app/new_game.h"
#include "audio/sound_bank.h"
#include "input/field_events.h"
#include "input/pad.h"

namespace kesmir {

namespace {

bool Down(const Game& game, int code) { return game.input.KeyState[code] != 0; }

void Pause(Game& game) {
  Surfaces& s = game.surfaces;
  game.app.GameStopped = kTrue;
  s.MenuField.SetPicture(s.Field);
  BlendPicture(s.MainMenuDC, 15, 15, 270, 270, s.MenuField, 0, 0, 270, 270);
  SetSoundVolume(game, kSoundMenuAmbience, 32 * game.settings.SoundVolume - 3201);
  PlaySoundLooping(game, kSoundMenuAmbience);
  PlaySoundFx(game, kSoundMenuClick, 500);
}

void ChangeVolume(Game& game, int step) {
  Settings& s = game.settings;
  s.SoundVolume = AddSat(s.SoundVolume, step);
  PlaySoundFx(game, kSoundBulletFire, 500);
  SetSoundVolume(game, kSoundMenuAmbience, 32 * s.SoundVolume - 3201);
  SetSoundVolume(game, kSoundGameAmbience, 32 * s.SoundVolume - 3300);
}

void Screenshot(Game& game) {
  const int number = static_cast<int>(Int(game.Rnd() * 89)) + 10;  // 10..98
  const auto path = UserPath(game, "Picture" + std::to_string(number) + ".bmp");
  if (game.platform.pictures) game.platform.pictures->SaveBmp(path.string(), game.surfaces.Field.View());
  PlaySoundFx(game, kSoundPhoto, 500);
}

void MoveWorldSlider(Game& game, int step) {
  InputState& in = game.input;
  in.WorldSliderPos = std::clamp<Integer>(AddSat(in.WorldSliderPos, step), 51, 175);
  in.WorldListOffset = (in.WorldSliderPos - 51) * 90.0 / 124.0;
}

}  // namespace

void InitDirectInput(Game& game) {
  if (game.platform.keyboard) game.app.InputAcquired = game.platform.keyboard->Acquire();
}

void ReleaseDirectInput(Game& game) {
  if (game.platform.keyboard && game.app.InputAcquired) game.platform.keyboard->Release();
  game.app.InputAcquired = false;
}

void PollKeyboard(Game& game) {
  AppState& app = game.app;
  if (!game.platform.keyboard || !app.InputAcquired) return;
  game.platform.keyboard->ReadState(game.input.KeyState);
  PollPad(game);  // the pad's keys join the keyboard's for this poll
  // A window that loses the focus during play pauses the game as Esc does: a player who went to another window
  // finds the game waiting. In the menus it changes nothing.
  if (std::exchange(game.input.FocusLost, false) && app.GameStarted == kTrue && app.GameStopped == 0) {
    game.input.KeyState[kDikEscape] = 0x80;
  }

  if (Down(game, kDikEscape) && !app.MenuScreen.empty() && game.scores.NameEntryOn == 0) {
    PlaySoundFx(game, kSoundMenuClick, 500);
    app.MenuScreen.clear();
  }
  if (Down(game, kDikEscape) && app.GameStarted == kTrue && app.GameStopped == 0) Pause(game);
  if (Down(game, kDikReturn) && app.MenuScreen.empty() && app.GameStopped != 0 && app.GameStarted != 0) {
    ResumeGame(game);
  }
  if (Down(game, kDikReturn) && app.MenuScreen.empty() && app.GameStopped == 0 && app.GameStarted == 0) {
    NewGame(game);
  }
  if (Down(game, kDikAdd) && game.settings.SoundVolume < 100) ChangeVolume(game, +1);
  if (Down(game, kDikSubtract) && game.settings.SoundVolume > 0) ChangeVolume(game, -1);
  if (Down(game, kDikInsert)) Screenshot(game);
  // X ends the program at once, without the shutdown sequence; not while a name is typed, where it is a
  // letter of the name and quitting would lose the new row.
  if (Down(game, kDikX) && (app.GameStarted == 0 || app.GameStopped == kTrue) && game.scores.NameEntryOn == 0) {
    app.Ended = true;
    return;
  }
  if (app.MenuScreen == "WS") {
    if (Down(game, kDikUp)) MoveWorldSlider(game, -1);
    if (Down(game, kDikDown)) MoveWorldSlider(game, +1);
  }
}

}  // namespace kesmir
