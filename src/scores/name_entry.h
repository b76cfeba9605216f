// The name entry's text box: the characters typed into it, its length limit, and the letter case of names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/game.h"

namespace kesmir {

// The text box takes up to 36 characters; the score files keep the first 35 of a name.
inline constexpr std::size_t kNameBoxLength = 36;

// The Windows-1252 character of a Unicode code point: '?' when the code page has none; 0 for control
// characters, which a text box does not take.
char AnsiFromCodePoint(std::uint32_t codePoint);

// A typed name as the list stores it: the first character upper case, characters 2 to 36 lower case
// (Windows-1252 letters included, "jOHN smith" gives "John smith"); an empty box gives one space.
std::string NameCase(std::string_view typed);

// Gives the text box the keyboard focus, or takes it away; the window's text input follows the focus.
void FocusYourName(Game& game, bool focus);

// One typed character: added to the box while it has the focus and holds fewer than 36 characters.
void YourName_KeyPress(Game& game, std::uint32_t codePoint);

// Backspace removes the last character while the box has the focus; other keys do nothing here.
void YourName_KeyDown(Game& game, int keyCode);

}  // namespace kesmir
