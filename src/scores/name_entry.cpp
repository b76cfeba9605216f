// The name entry's text box.
#include "scores/name_entry.h"

#include <array>
#include <utility>

namespace kesmir {
namespace {

constexpr int kVkBack = 8;

// The characters of 0x80..0x9F that Windows-1252 gives printable characters to.
constexpr std::array<std::pair<std::uint32_t, unsigned char>, 27> kHighCharacters = {{
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
}};

// Letter pairs of Windows-1252 outside the two ranges that differ by 0x20.
constexpr std::array<std::pair<unsigned char, unsigned char>, 4> kOtherCases = {{
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF},  // S, OE, Z with caron; Y with diaeresis
}};

bool IsShiftedUpper(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7); }
bool IsShiftedLower(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7); }

char Upper(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (IsShiftedLower(c)) return static_cast<char>(c - 0x20);
  for (const auto& [upper, lower] : kOtherCases) {
    if (c == lower) return static_cast<char>(upper);
  }
  return ch;
}

char Lower(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (IsShiftedUpper(c)) return static_cast<char>(c + 0x20);
  for (const auto& [upper, lower] : kOtherCases) {
    if (c == upper) return static_cast<char>(lower);
  }
  return ch;
}

}  // namespace

char AnsiFromCodePoint(std::uint32_t codePoint) {
  if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) return 0;
  if (codePoint < 0x100) return static_cast<char>(codePoint);
  for (const auto& [unicode, ansi] : kHighCharacters) {
    if (unicode == codePoint) return static_cast<char>(ansi);
  }
  return '?';
}

std::string NameCase(std::string_view typed) {
  if (typed.empty()) return " ";
  std::string name;
  name += Upper(typed[0]);
  for (std::size_t i = 1; i < typed.size() && i < kNameBoxLength; ++i) name += Lower(typed[i]);
  return name;
}

void FocusYourName(Game& game, bool focus) {
  ScoreLists& lists = game.scores;
  if (lists.YourNameFocus == focus) return;
  lists.YourNameFocus = focus;
  if (game.platform.window) game.platform.window->SetTextInput(focus);
}

void YourName_KeyPress(Game& game, std::uint32_t codePoint) {
  ScoreLists& lists = game.scores;
  if (!lists.YourNameFocus || lists.YourName.size() >= kNameBoxLength) return;
  if (const char c = AnsiFromCodePoint(codePoint)) lists.YourName += c;
}

void YourName_KeyDown(Game& game, int keyCode) {
  ScoreLists& lists = game.scores;
  if (lists.YourNameFocus && keyCode == kVkBack && !lists.YourName.empty()) lists.YourName.pop_back();
}

}  // namespace kesmir
