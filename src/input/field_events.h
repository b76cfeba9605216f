// The play field's key and mouse events, and resuming a paused game.
#pragma once

#include "core/game.h"

namespace kesmir {

// Window-system key codes of the field's key events.
inline constexpr int kVkControl = 17;
inline constexpr int kVkA = 65;
inline constexpr int kVkD = 68;
inline constexpr int kVkQ = 81;
inline constexpr int kVkS = 83;
inline constexpr int kVkW = 87;

// Resumes a paused game: play goes on, the in-game ambience loops again, the menu ambience stops.
void ResumeGame(Game& game);

// A movement key (W, A, S, D) un-pauses the game.
void Field_KeyDown(Game& game, int keyCode);
// Releasing Ctrl or Q asks for the next fire mode.
void Field_KeyUp(Game& game, int keyCode);
// Button 1 holds fire, button 2 holds the bomb click.
void Field_MouseDown(Game& game, int button);
void Field_MouseUp(Game& game, int button);

}  // namespace kesmir
