// The table of menu and system keys, the field's key and mouse events.
#include "input/key_latch.h"
#include "input/keyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <tuple>

#include "fakes/fake_platform.h"
#include "app/window_events.h"
#include "input/field_events.h"

namespace kesmir {
namespace {

using testing::FakeGame;

struct Keys : ::testing::Test {
  FakeGame g;
  void SetUp() override { InitDirectInput(*g); }
  void Poll(std::initializer_list<int> down) {
    std::fill(std::begin(g.keyboard.keys), std::end(g.keyboard.keys), 0);
    for (int code : down) g.keyboard.Press(code);
    PollKeyboard(*g);
  }
};

TEST_F(Keys, EnterResumesAPausedGameRatherThanStartingANewOne) {
  g->app.GameStarted = kTrue;
  g->app.GameStopped = kTrue;
  Poll({kDikReturn});
  EXPECT_EQ(std::tuple(g->app.GameStopped, g->app.GameStarted), std::tuple(0, kTrue));
}

TEST_F(Keys, EscapeLeavesAScreenUnlessANameIsBeingTyped) {
  g->app.MenuScreen = "HS";
  g->scores.NameEntryOn = kTrue;
  Poll({kDikEscape});
  EXPECT_EQ(g->app.MenuScreen, "HS");
  g->scores.NameEntryOn = 0;
  Poll({kDikEscape});
  EXPECT_EQ(g->app.MenuScreen, "");
}

TEST_F(Keys, EscapePausesOnceWhileHeldAndSnapshotsTheGameUnderThePanel) {
  g->app.GameStarted = kTrue;
  g->surfaces.Field.Fill(Rgb(0, 0, 0));
  SetPixel(g->surfaces.Field, 5, 5, Rgb(255, 255, 255));
  g->surfaces.MainMenuDC = Surface(270, 270, Rgb(255, 255, 255));
  Poll({kDikEscape});
  EXPECT_EQ(g->app.GameStopped, kTrue);
  EXPECT_EQ(GetPixel(g->surfaces.MenuField, 5, 5), Rgb(255, 255, 255));
  EXPECT_EQ(GetPixel(g->surfaces.MenuField, 20, 20), Rgb(188, 188, 188));
  g->surfaces.MenuField.Fill(0);
  Poll({kDikEscape});  // held: already paused, nothing happens again
  EXPECT_EQ(GetPixel(g->surfaces.MenuField, 20, 20), 0);
}

TEST_F(Keys, XEndsTheProgramOnlyWithoutAGameOrWhenPaused) {
  g->app.GameStarted = kTrue;
  Poll({kDikX});
  EXPECT_FALSE(g->app.Ended);
  g->app.GameStopped = kTrue;
  Poll({kDikX});
  EXPECT_TRUE(g->app.Ended);
  FakeGame fresh;
  InitDirectInput(*fresh);
  fresh.keyboard.Press(kDikX);
  fresh->scores.NameEntryOn = kTrue;  // typing a name: X is a letter of it
  PollKeyboard(*fresh);
  EXPECT_FALSE(fresh->app.Ended);
  fresh->scores.NameEntryOn = 0;
  PollKeyboard(*fresh);
  EXPECT_TRUE(fresh->app.Ended);
}

TEST_F(Keys, VolumeStepsOncePerPollWithinItsBounds) {
  g->settings.SoundVolume = 98;
  for (int i = 0; i < 5; ++i) Poll({kDikAdd});
  EXPECT_EQ(g->settings.SoundVolume, 100);
  g->settings.SoundVolume = 2;
  for (int i = 0; i < 5; ++i) Poll({kDikSubtract});
  EXPECT_EQ(g->settings.SoundVolume, 0);
  Poll({kDikAdd, kDikSubtract});  // both: up to 1, then back down to 0
  EXPECT_EQ(g->settings.SoundVolume, 0);
}

TEST_F(Keys, InsertHeldSavesAScreenshotOnEveryPollNamedTenToNinetyEight) {
  SetPixel(g->surfaces.Field, 3, 4, 0x123456);
  for (int i = 0; i < 2000; ++i) Poll({kDikInsert});
  const std::regex name(R"(.*/Picture([0-9]+)\.bmp)");
  std::set<int> numbers;
  for (const auto& [path, image] : g.pictures.saved) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(path, m, name)) << path;
    numbers.insert(std::stoi(m[1]));
    EXPECT_EQ(std::tuple(image.width, image.height), std::tuple(300, 300));
    EXPECT_EQ(image.pixels[4 * 300 + 3], 0x123456u);
  }
  EXPECT_EQ(*numbers.begin(), 10);
  EXPECT_EQ(*numbers.rbegin(), 98);
  EXPECT_EQ(numbers.size(), 89u);
}

TEST_F(Keys, TheWorldListScrollsOnlyOnItsScreenWithinItsBounds) {
  Poll({kDikDown});
  EXPECT_EQ(g->input.WorldSliderPos, 51);
  g->app.MenuScreen = "WS";
  for (int i = 0; i < 200; ++i) Poll({kDikDown});
  EXPECT_EQ(g->input.WorldSliderPos, 175);
  EXPECT_DOUBLE_EQ(g->input.WorldListOffset, 90.0);
  Poll({kDikUp});
  EXPECT_EQ(g->input.WorldSliderPos, 174);
  EXPECT_NEAR(g->input.WorldListOffset, 123 * 90.0 / 124, 1e-12);
}

TEST_F(Keys, AKeyboardThatCannotBeReadKeepsTheLastState) {
  Poll({kDikAdd});
  const Integer volume = g->settings.SoundVolume;
  g.keyboard.failReads = true;
  std::fill(std::begin(g.keyboard.keys), std::end(g.keyboard.keys), 0);
  PollKeyboard(*g);  // the old state still holds keypad +
  EXPECT_EQ(g->settings.SoundVolume, volume + 1);
}

TEST(FieldEvents, MovementKeysResumeFromAnyScreenAndButtonsOnlySetFlags) {
  FakeGame g;
  g->app.GameStarted = kTrue;
  g->app.GameStopped = kTrue;
  g->app.MenuScreen = "OPTIONS";
  Field_KeyDown(*g, kVkQ);
  EXPECT_EQ(g->app.GameStopped, kTrue);
  Field_KeyDown(*g, kVkS);
  EXPECT_EQ(g->app.GameStopped, 0);

  Field_KeyUp(*g, kVkControl);
  EXPECT_EQ(g->input.FireModeKey, kTrue);

  // Keys typed into the name box are the name's alone: a Q or a Ctrl does not change the fire mode.
  g->input.FireModeKey = 0;
  g->app.GameStopped = kTrue;
  g->scores.YourNameFocus = true;
  g.window.events = {{EventKind::KeyDown, kVkQ, {}}, {EventKind::KeyUp, kVkQ, {}}, {EventKind::KeyDown, kVkS, {}},
                     {EventKind::KeyUp, kVkControl, {}}};
  DoEvents(*g);
  EXPECT_EQ(std::tuple(g->input.FireModeKey, g->app.GameStopped), std::tuple(0, kTrue));
}

TEST(KeyLatch, ATapActsOnceWhetherThePollOrTheEventSeesItFirst) {
  KeyLatch latch;
  const auto poll = [&latch](bool held) {  // whether a poll reports Insert, held or not at that moment
    std::uint8_t state[256] = {};
    state[kDikInsert] = held ? 0x80 : 0;
    latch.Read(state);
    return state[kDikInsert] != 0;
  };
  const auto tap = [&latch] {
    latch.OnKeyEvent(kDikInsert, true, false);
    latch.OnKeyEvent(kDikInsert, false, false);
  };
  for (int i = 0; i < 2; ++i) {  // between two polls: seen by the next one only, every time
    tap();
    EXPECT_TRUE(poll(false));
    EXPECT_FALSE(poll(false));
  }
  EXPECT_TRUE(poll(true));  // seen held before its events arrive: they add no second press
  tap();
  EXPECT_FALSE(poll(false));
  latch.OnKeyEvent(kDikInsert, true, true);  // auto-repeat is no press
  EXPECT_FALSE(poll(false));
}

TEST(FieldEvents, ButtonsPressedOverTheFieldHoldFireAndBombUntilReleased) {
  FakeGame g;
  g->app.FieldOrigin = {170, 50};
  g.window.events = {{EventKind::MouseDown, 1, {170 + 150, 50 + 150}}, {EventKind::MouseDown, 2, {171, 51}}};
  DoEvents(*g);
  EXPECT_EQ(std::tuple(g->input.FireHeld, g->input.BombClick), std::tuple(kTrue, kTrue));
  g.window.events = {{EventKind::MouseUp, 1, {0, 0}}, {EventKind::MouseUp, 2, {600, 400}}};
  DoEvents(*g);  // released outside the field: the press still ends
  EXPECT_EQ(std::tuple(g->input.FireHeld, g->input.BombClick), std::tuple(0, 0));
  g.window.events = {{EventKind::MouseDown, 1, {170 + 150, 50 + 320}}, {EventKind::MouseDown, 1, {100, 100}}};
  DoEvents(*g);  // on the status bar and on the black border: not the field
  EXPECT_EQ(g->input.FireHeld, 0);
}

}  // namespace
}  // namespace kesmir
