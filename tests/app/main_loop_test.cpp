// The main loop's passes: the menu background, the pointer, the screen dispatch and the memory line.
#include "app/main_loop.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(MainLoop, TheEntryLaysThePanelOverTheMapAndAPassDrawsThePointerOnIt) {
  FakeGame g;
  Surfaces& s = g->surfaces;
  s.Terain.Fill(Rgb(0, 0, 0));
  s.MainMenuDC = Surface(270, 270, Rgb(255, 255, 255));
  s.CursorMenuDC = Surface(36, 18, 0);
  for (int y = 0; y < 18; ++y)
    for (int x = 18; x < 36; ++x) SetPixel(s.CursorMenuDC, x, y, 0xFFFFFF);  // all-white mask...
  SetPixel(s.CursorMenuDC, 18 + 9, 9, 0);                                     // ...but its centre
  SetPixel(s.CursorMenuDC, 9, 9, Rgb(255, 0, 0));
  g.keyboard.acquired = true;
  g->app.InputAcquired = true;
  MainLoopEntry(*g);
  g->settings.OptBloodFly = kOff;  // no menu particles over the pointer
  EXPECT_EQ(GetPixel(s.MenuField, 0, 0), 0);
  EXPECT_EQ(GetPixel(s.MenuField, 15, 15), Rgb(188, 188, 188));
  EXPECT_EQ(GetPixel(s.MenuField, 285, 285), 0);
  g.mouse.position = {100, 120};
  MainLoopPass(*g);
  EXPECT_EQ(GetPixel(s.Field, 100, 120), Rgb(255, 0, 0));
  EXPECT_EQ(GetPixel(s.Field, 101, 120), Rgb(188, 188, 188));
  EXPECT_EQ(g->input.CursorX, 100);
}

TEST(MainLoop, AnUnknownScreenShowsOnlyTheBackgroundAndTheFullScreenPointerIsOffset) {
  FakeGame g;
  g->app.MenuScreen = "NOWHERE";
  g->app.FieldOrigin = {170, 50};
  g.mouse.position = {170 + 40, 50 + 60};
  MainLoopPass(*g);
  EXPECT_EQ(g->input.CursorX, 40);
  EXPECT_EQ(g->input.CursorY, 60);
  EXPECT_EQ(g->app.MenuScreen, "NOWHERE");
}

TEST(MainLoop, TheMemoryLineIsAlwaysFortyCharacters) {
  // 524288 KB free integer-divided by the rounded 10486 KB per percent.
  EXPECT_EQ(MemoryLine({1024ull * 1024 * 1024, 512ull * 1024 * 1024}), "Ram:49%(524 Mb)" + std::string(25, ' '));
  for (const MemoryStatus m : {MemoryStatus{0, 0}, MemoryStatus{1, 1}, MemoryStatus{1ull << 45, 1ull << 44},
                               MemoryStatus{24ull << 30, 20ull << 30}}) {
    EXPECT_EQ(MemoryLine(m).size(), 40u);
  }
}

TEST(MainLoop, TheMemoryLineFollowsTheDebugOption) {
  FakeGame g;
  g->settings.OptDebugInfo = kOff;
  MainLoopPass(*g);
  for (const auto& call : g.fonts.calls) EXPECT_NE(call.text.substr(0, 4), "Ram:");
  g->settings.OptDebugInfo = kOn;
  MainLoopPass(*g);
  ASSERT_FALSE(g.fonts.calls.empty());
  EXPECT_EQ(g.fonts.calls.back().text.substr(0, 4), "Ram:");
}

}  // namespace
}  // namespace kesmir
