// The one menu widget: a text item that highlights under the pointer and registers clicks by its y.
#pragma once

#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// Draws a caption at (x, y) on Field at a font size in points (bold as Field is set), after testing it
// against the pointer with HitMenuItem. An empty caption becomes "0" in the caller's variable. A textSize
// below the size draws the text that much smaller, on about the same line, while the hit test keeps the
// item's size.
void DrawMenuItem(Game& game, std::string& caption, int x, int y, Integer size, Integer active, Integer textSize = 0);
// The same for a caption that no one keeps.
void DrawMenuItem(Game& game, std::string_view caption, int x, int y, Integer size, Integer active);

// The hit test and its reaction. The item is under the pointer when the pointer lies strictly inside
// (x, top) .. (x + characters x height, top + height + 2); on the high-score and world-score screens a height
// below 8 is lowered by 2 more. Under the pointer: the hover sound when an active item's caption differs from
// the last one hovered; the highlight colour; with the button up, ClickedY = 0 and HoverY = the item's y; with
// the button held over an active item, the click sound, ClickedY = the item's y, the press is used up and the
// options file is written.
void HitMenuItem(Game& game, int x, int top, std::string& caption, int height, Integer active);

// True when the item at y was clicked in this pass.
bool MenuItemClicked(const Game& game, int y);

// The title picture at (160, 23), drawn on every menu screen.
void DrawMenuLogo(Game& game);
// Leaves Field as the menus found it: light green text, size 8, not bold.
void ResetMenuText(Game& game);

}  // namespace kesmir
