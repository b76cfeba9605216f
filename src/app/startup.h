// Start-up and shutdown of the program, and the window layout of the two display modes.
#pragma once

#include "core/game.h"

namespace kesmir {

// Windowed canvas: the play field with the status bar two pixels below it.
inline constexpr int kWindowedCanvasWidth = 300;
inline constexpr int kWindowedCanvasHeight = 378;
// Full screen: a 640x480 canvas with the picture placed at (170, 50).
inline constexpr int kFullCanvasWidth = 640;
inline constexpr int kFullCanvasHeight = 480;

// The whole start-up sequence, then the main loop; returns when the program ends.
void Form_Activate(Game& game);
// Form_Activate up to the main loop: options, screen mode, pictures, sounds, input. False when the program
// was told to end meanwhile.
bool StartUp(Game& game);
// The shutdown sequence: frees the pointer, releases input, sounds and pictures, and ends the program.
void Form_Unload(Game& game);
// Lays the window out for full screen (true) or windowed mode and sets the display mode.
void SetScreenMode(Game& game, bool fullScreen);
// Enters the display mode; false when it cannot be activated.
bool InitDirectDraw(Game& game, bool windowed);

}  // namespace kesmir
