// The menu widget: its hit boxes, the hover and click reactions, and the caption it may change.
#include "menus/menu_widget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

struct Widget : ::testing::Test {
  FakeGame g;
  void SetUp() override { LoadSounds(*g); }

  long Plays(int soundId) {
    return std::count_if(g.sound.starts.begin(), g.sound.starts.end(),
                         [soundId](const auto& start) { return start.buffer == SoundBuffer(soundId); });
  }
  // Whether the item reacts to the pointer at (x, y): a hovered item records its y in HoverY.
  bool Reacts(std::string caption, int itemX, int itemY, Integer size, int x, int y) {
    g->menus.HoverY = -1;
    g->input.CursorX = x;
    g->input.CursorY = y;
    DrawMenuItem(*g, caption, itemX, itemY, size, kTrue);
    return g->menus.HoverY == itemY;
  }
};

TEST_F(Widget, TheHitBoxIsEstimatedFromTheFontSize) {
  // Ten characters at size 10 react for x from X+1 to X+79 and y from Y+3 to Y+11.
  const std::string ten = "ABCDEFGHIJ";
  EXPECT_TRUE(Reacts(ten, 40, 60, 10, 41, 63));
  EXPECT_TRUE(Reacts(ten, 40, 60, 10, 119, 71));
  EXPECT_FALSE(Reacts(ten, 40, 60, 10, 40, 65));
  EXPECT_FALSE(Reacts(ten, 40, 60, 10, 120, 65));
  EXPECT_FALSE(Reacts(ten, 40, 60, 10, 50, 62));
  EXPECT_FALSE(Reacts(ten, 40, 60, 10, 50, 72));

  // List rows of size 9 are lower on the score screens: y from Y+3 to Y+8, x below X + 5 x length.
  g->app.MenuScreen = "HS";
  EXPECT_TRUE(Reacts(ten, 30, 50, 9, 79, 58));
  EXPECT_FALSE(Reacts(ten, 30, 50, 9, 80, 55));
  EXPECT_FALSE(Reacts(ten, 30, 50, 9, 40, 59));
  g->app.MenuScreen = "WS";
  EXPECT_FALSE(Reacts(ten, 30, 50, 9, 40, 59));
  g->app.MenuScreen = "OPTIONS";  // elsewhere a size-9 item keeps its height of 7
  EXPECT_TRUE(Reacts(ten, 30, 50, 9, 99, 60));
}

TEST_F(Widget, TheHoverSoundPlaysOnlyWhenTheCaptionChanges) {
  g->input.CursorX = 35;
  g->input.CursorY = 30;
  DrawMenuItem(*g, "HIGH SCORES", 30, 25, 10, kTrue);
  DrawMenuItem(*g, "HIGH SCORES", 30, 25, 10, kTrue);
  EXPECT_EQ(Plays(kSoundMouseOver), 1);
  g->input.CursorY = 55;  // another item with another caption
  DrawMenuItem(*g, "HELP ME", 30, 50, 10, kTrue);
  g->input.CursorY = 30;  // and back
  DrawMenuItem(*g, "HIGH SCORES", 30, 25, 10, kTrue);
  EXPECT_EQ(Plays(kSoundMouseOver), 3);
  g->input.CursorY = 105;  // another item with the same caption
  DrawMenuItem(*g, "HIGH SCORES", 30, 100, 10, kTrue);
  g->input.CursorY = 200;  // away from every item, and back
  DrawMenuItem(*g, "HIGH SCORES", 30, 100, 10, kTrue);
  g->input.CursorY = 105;
  DrawMenuItem(*g, "HIGH SCORES", 30, 100, 10, kTrue);
  EXPECT_EQ(Plays(kSoundMouseOver), 3);
  EXPECT_EQ(Plays(kSoundMenuClick), 0);
}

TEST_F(Widget, AClickCountsOnceAndWritesTheOptions) {
  g->settings.SoundVolume = 42;
  g->input.CursorX = 35;
  g->input.CursorY = 55;
  g->input.FireHeld = kTrue;  // held while entering the item: it clicks at once
  DrawMenuItem(*g, "START NEW GAME", 30, 50, 10, kTrue);
  EXPECT_EQ(g->menus.ClickedY, 50);
  EXPECT_EQ(g->input.FireHeld, 0);
  EXPECT_EQ(Plays(kSoundMenuClick), 1);
  EXPECT_EQ(g.ReadUserFile("OtherFiles/Options.txt").find("42\r\n") != std::string::npos, true);
  // The next pass with the button still physically down sees no new press.
  g->menus.ClickedY = 0;
  DrawMenuItem(*g, "START NEW GAME", 30, 50, 10, kTrue);
  EXPECT_EQ(g->menus.ClickedY, 0);
  EXPECT_EQ(Plays(kSoundMenuClick), 1);
  // Resting over an item with the button up clears a click left over from elsewhere.
  g->menus.ClickedY = 260;
  DrawMenuItem(*g, "START NEW GAME", 30, 50, 10, kTrue);
  EXPECT_EQ(g->menus.ClickedY, 0);
}

TEST_F(Widget, AnInactiveItemTurnsBlueButCannotBeClicked) {
  Surface& field = g->surfaces.Field;
  field.Fill(0);
  g->input.CursorX = 31;
  g->input.CursorY = 30;
  g->input.FireHeld = kTrue;
  DrawMenuItem(*g, "OPTIONS", 30, 25, 10, kFalse);
  EXPECT_EQ(GetPixel(field, 31, 26), Rgb(0, 0, 255));
  EXPECT_EQ(g->menus.ClickedY, 0);
  EXPECT_EQ(g->input.FireHeld, kTrue);
  EXPECT_EQ(Plays(kSoundMouseOver) + Plays(kSoundMenuClick), 0);
  EXPECT_FALSE(std::filesystem::exists(g.root / "user/OtherFiles/Options.txt"));
  // Active and hovered is white; away from the pointer, dark blue; Field is left dark blue.
  DrawMenuItem(*g, "OPTIONS", 30, 25, 10, kTrue);
  EXPECT_EQ(GetPixel(field, 31, 26), Rgb(255, 255, 255));
  DrawMenuItem(*g, "OPTIONS", 30, 100, 10, kTrue);
  EXPECT_EQ(GetPixel(field, 31, 101), Rgb(0, 0, 128));
  EXPECT_EQ(field.foreColour, Rgb(0, 0, 128));
  EXPECT_EQ(field.fontSize, 10);
}

TEST_F(Widget, AnEmptyCaptionBecomesZeroInTheCallersVariable) {
  std::string name;
  DrawMenuItem(*g, name, 85, 50, 9, kFalse);
  EXPECT_EQ(name, "0");
  ASSERT_FALSE(g.fonts.calls.empty());
  EXPECT_EQ(g.fonts.calls.back().text, "0");
}

}  // namespace
}  // namespace kesmir
