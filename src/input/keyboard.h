// The keyboard: DirectInput key codes, the polled key state and the menu and system keys.
#pragma once

#include "core/game.h"

namespace kesmir {

// DirectInput key codes used by the game.
inline constexpr int kDikEscape = 1;
inline constexpr int kDikW = 17;
inline constexpr int kDikReturn = 28;
inline constexpr int kDikA = 30;
inline constexpr int kDikS = 31;
inline constexpr int kDikD = 32;
inline constexpr int kDikX = 45;
inline constexpr int kDikSubtract = 74;  // keypad -
inline constexpr int kDikAdd = 78;       // keypad +
inline constexpr int kDikUp = 200;
inline constexpr int kDikLeft = 203;
inline constexpr int kDikRight = 205;
inline constexpr int kDikDown = 208;
inline constexpr int kDikInsert = 210;

void InitDirectInput(Game& game);
void ReleaseDirectInput(Game& game);
// Reads the key state and carries out the menu and system keys, every key on every call (no edge
// detection: an action repeats while its key is held unless its own condition stops it).
void PollKeyboard(Game& game);

}  // namespace kesmir
