// The name entry's characters: the Windows-1252 code page and its letter cases.
#include "scores/name_entry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kesmir {
namespace {

TEST(NameCharacters, TypedCharactersAreStoredInWindows1252) {
  EXPECT_EQ(AnsiFromCodePoint('a'), 'a');
  EXPECT_EQ(AnsiFromCodePoint(0xE9), '\xE9');    // e acute
  EXPECT_EQ(AnsiFromCodePoint(0x20AC), '\x80');  // euro sign
  EXPECT_EQ(AnsiFromCodePoint(0x0161), '\x9A');  // s caron
  EXPECT_EQ(AnsiFromCodePoint(0x0416), '?');     // Cyrillic Zhe: outside the code page
  EXPECT_EQ(AnsiFromCodePoint(0x1F600), '?');
  EXPECT_EQ(AnsiFromCodePoint(0xFFFD), '?');     // what a malformed UTF-8 sequence arrives as
  EXPECT_EQ(AnsiFromCodePoint('\t'), 0);         // control characters are not taken
  EXPECT_EQ(AnsiFromCodePoint(0x85), 0);
  // The edges of the controls: space and '~' are taken, DEL and the C1 range up to 0x9F are not.
  EXPECT_EQ(std::vector<int>({AnsiFromCodePoint(0x1F), AnsiFromCodePoint(0x20), AnsiFromCodePoint(0x7E),
                              AnsiFromCodePoint(0x7F), AnsiFromCodePoint(0x9F), AnsiFromCodePoint(0xA0)}),
            std::vector<int>({0, 0x20, 0x7E, 0, 0, static_cast<char>(0xA0)}));
}

TEST(NameCharacters, NamesStartUpperCaseAndGoOnLowerCase) {
  EXPECT_EQ(NameCase("jOHN smith"), "John smith");
  EXPECT_EQ(NameCase(""), " ");
  EXPECT_EQ(NameCase("1ST"), "1st");
  EXPECT_EQ(NameCase("X\xDE\xD7\xC0"), "X\xFE\xD7\xE0");  // the last and first shifted capitals, and the sign between
  EXPECT_EQ(NameCase("\xE9LAN \xC5SA"), "\xC9lan \xE5sa");        // élan åsa -> Élan åsa
  EXPECT_EQ(NameCase("\x9A\x8C" "A\x9F"), "\x8A\x9C" "a\xFF");        // šŒAŸ -> Šœaÿ
  EXPECT_EQ(NameCase("\xFF\xD7\xF7\xDF"), "\x9F\xD7\xF7\xDF");     // ÿ×÷ß: the signs and ß have no other case
  EXPECT_EQ(NameCase(std::string(40, 'Q')), "Q" + std::string(35, 'q'));
}

}  // namespace
}  // namespace kesmir
