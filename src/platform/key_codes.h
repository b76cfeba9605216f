// Translation of SDL keys to the game's key codes: DirectInput codes for the key state, window-system
// virtual key codes for the field's key events.
#pragma once

#include <SDL2/SDL.h>

namespace kesmir {

// DirectInput code of a scancode, 0 when the game has none for it.
int DikFromScancode(SDL_Scancode scancode);
// Virtual key code of a key, 0 when the game has none for it.
int VirtualKeyFromKeycode(SDL_Keycode keycode);

}  // namespace kesmir
