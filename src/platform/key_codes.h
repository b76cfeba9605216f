// Translation of SDL keys to the game's key codes: DirectInput codes for the key state, window-system
// virtual key codes for the field's key events, both by the key's place on the keyboard.
#pragma once

#include <SDL2/SDL.h>

namespace kesmir {

// DirectInput code of a scancode, 0 when the game has none for it.
int DikFromScancode(SDL_Scancode scancode);
// Virtual key code of the key at a place on the keyboard, 0 when the game has none for it. Keys go by place,
// as the key state does: the fire-mode key (Q) is never a walking key on another layout. Typed text comes
// from text input events, which follow the layout.
int VirtualKeyFromScancode(SDL_Scancode scancode);

}  // namespace kesmir
