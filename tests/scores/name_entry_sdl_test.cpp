// The name entry fed by the real SDL window: typed text arrives character by character, in order, with
// Backspace between, and only while the text box has the focus.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/window_events.h"
#include "core/game.h"
#include "platform/sdl_platform.h"
#include "scores/name_entry.h"

namespace kesmir {
namespace {

void PushText(const char* text) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, text, sizeof event.text.text - 1);
  SDL_PushEvent(&event);
}

void PushBackspace() {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.scancode = SDL_SCANCODE_BACKSPACE;
  event.key.keysym.sym = SDLK_BACKSPACE;
  SDL_PushEvent(&event);
}

TEST(Utf8, TextSplitsIntoCodePointsAndMalformedBytesAreReplaced) {
  using Points = std::vector<std::uint32_t>;
  EXPECT_EQ(CodePointsFromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), (Points{'a', 0xE9, 0x20AC, 0x1F600}));
  EXPECT_EQ(CodePointsFromUtf8(""), Points{});
  EXPECT_EQ(CodePointsFromUtf8("\xFF" "b"), (Points{0xFFFD, 'b'}));          // not a lead byte
  EXPECT_EQ(CodePointsFromUtf8("\xC3" "b"), (Points{0xFFFD, 'b'}));          // cut short
  EXPECT_EQ(CodePointsFromUtf8("\xE2\x82"), (Points{0xFFFD}));               // cut at the end
  EXPECT_EQ(CodePointsFromUtf8("\xC0\xAF"), (Points{0xFFFD}));               // an overlong "/"
  EXPECT_EQ(CodePointsFromUtf8("\x80" "c"), (Points{0xFFFD, 'c'}));          // a stray continuation byte
}

TEST(SdlNameEntry, TypedTextReachesTheBoxOnlyWhileItHasTheFocus) {
  SdlFrontEnd frontEnd;
  ASSERT_TRUE(frontEnd.Ok());
  auto game = std::make_unique<Game>();
  game->platform.window = &frontEnd;

  PushText("ignored");
  DoEvents(*game);
  EXPECT_EQ(game->scores.YourName, "");

  FocusYourName(*game, true);
  EXPECT_TRUE(SDL_IsTextInputActive());
  PushText("J\xC3\xA9r\xC3\xB4mx");
  PushBackspace();
  PushText("e \xE4\xB8\xAD");
  DoEvents(*game);
  EXPECT_EQ(game->scores.YourName, "J\xE9r\xF4me ?");

  FocusYourName(*game, false);
  EXPECT_FALSE(SDL_IsTextInputActive());
  PushText("late");
  DoEvents(*game);
  EXPECT_EQ(game->scores.YourName, "J\xE9r\xF4me ?");
}

}  // namespace
}  // namespace kesmir

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "cannot start SDL: %s\n", SDL_GetError());
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  SDL_Quit();
  return result;
}
