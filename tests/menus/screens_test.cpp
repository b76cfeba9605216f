// The menu screens: what they draw, where their clicks lead, and the options they change.
#include "menus/screens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "app/main_loop.h"
#include "audio/sound_bank.h"
#include "core/files.h"
#include "fakes/fake_platform.h"
#include "fakes/reference_picture.h"
#include "fakes/surface_hash.h"

namespace kesmir {
namespace {

using testing::FakeGame;

struct Screens : ::testing::Test {
  FakeGame g;
  void SetUp() override {
    LoadSounds(*g);
    // Check-box cells: "on" red, "off" green.
    g->surfaces.CheckDC = Surface(16, 8, Rgb(255, 0, 0));
    for (int y = 0; y < 8; ++y)
      for (int x = 8; x < 16; ++x) SetPixel(g->surfaces.CheckDC, x, y, Rgb(0, 255, 0));
  }
  bool Drew(const std::string& text) const {
    return std::any_of(g.fonts.calls.begin(), g.fonts.calls.end(), [&](const auto& c) { return c.text == text; });
  }
  // Pointer over (x, y) with the button pressed, as a click arrives.
  void ClickAt(int x, int y) {
    g->input.CursorX = x;
    g->input.CursorY = y;
    g->input.FireHeld = kTrue;
  }
  std::vector<std::string> OptionLines() { return SplitLines(g.ReadUserFile("OtherFiles/Options.txt")); }
  void GoOnline() {
    g.WriteUserFile("OtherFiles/Network.txt",
                    "ftp_host = 127.0.0.1\nftp_user = k\nftp_password = p\nweb_base = http://web.test\n");
    g.connection.answer = true;
  }
};

// Each screen drawn on black with its pictures patterned and the pointer resting on one line, so that the
// hover colour shows: every caption's place, size, weight and colour, every box and picture, as stored.
TEST_F(Screens, EveryScreenDrawsItsReferencePicture) {
  Surfaces& s = g->surfaces;
  int seed = 3;
  for (Surface* picture : {&s.LogoDC, &s.Help1DC, &s.Help2DC, &s.Help3DC, &s.AcidDC}) {
    *picture = testing::Patterned(107, 48, seed++);
  }
  std::vector<std::size_t> clickable;
  const auto shown = [&](void (*screen)(Game&), int x, int y) {
    s.Field = Surface(kFieldSize, kFieldSize);
    g->input.CursorX = x;
    g->input.CursorY = y;
    g->menus.Clickable.clear();
    screen(*g);
    clickable.push_back(g->menus.Clickable.size());
    return s.Field;
  };
  g->app.GameStopped = kTrue;
  const Surface menu = shown(MainMenuScreen, 40, 80);
  const Surface offline = shown(OptionsScreen, 120, 265);
  GoOnline();
  const Surface online = shown(OptionsScreen, 50, 85);
  // Plain texts are never lines to click; "CHECK FOR NEW VERSION" is one only online.
  EXPECT_EQ(clickable[2], clickable[1] + 1);
  EXPECT_EQ(testing::CompareWithReference("menus/reference/main_menu", {menu.View()}), "");
  EXPECT_EQ(testing::CompareWithReference("menus/reference/options", {offline.View(), online.View()}), "");
  EXPECT_EQ(testing::CompareWithReference("menus/reference/help", {shown(HelpScreen, 40, 265).View()}), "");
  EXPECT_EQ(testing::CompareWithReference("menus/reference/about", {shown(AboutScreen, 299, 0).View()}), "");
}

TEST_F(Screens, TheMainMenuOffersResumeOnlyWhilePausedAndKeepsItsPlaces) {
  MainMenuScreen(*g);
  EXPECT_FALSE(Drew("RESUME GAME"));
  for (const char* item : {"START NEW GAME", "HIGH SCORES", "WORLD SCORES", "OPTIONS & GAME INFO", "HELP ME", "ABOUT",
                           "EXIT GAME"}) {
    EXPECT_TRUE(Drew(item)) << item;
  }
  // The common end of a pass: no click left, Field light green, size 8, not bold.
  const Surface& field = g->surfaces.Field;
  EXPECT_EQ(std::tuple(field.foreColour, field.fontSize, field.fontBold), std::tuple(Rgb(192, 255, 192), 8, false));

  g->app.GameStarted = kTrue;
  g->app.GameStopped = kTrue;
  ClickAt(35, 30);
  MainMenuScreen(*g);
  EXPECT_TRUE(Drew("RESUME GAME"));
  EXPECT_EQ(g->app.GameStopped, 0);
  EXPECT_TRUE(g.sound.buffers[SoundBuffer(kSoundGameAmbience)].looping);
  EXPECT_EQ(g->menus.ClickedY, 0);
}

TEST_F(Screens, AClickOnHighScoresShowsThatScreenInTheSamePass) {
  g.mouse.position = {40, 80};
  g->input.FireHeld = kTrue;
  MainLoopPass(*g);
  EXPECT_EQ(g->app.MenuScreen, "HS");
  EXPECT_TRUE(Drew("HIGH SCORES"));
  EXPECT_TRUE(Drew("UPLOAD SCORES"));
}

TEST_F(Screens, ExitGameEndsAtOnceButAClickOnMainMenuNeverReachesIt) {
  // "MAIN MENU" on a screen and "EXIT GAME" on the main menu lie at the same place.
  g->app.MenuScreen = "HELP";
  ClickAt(35, 265);
  HelpScreen(*g);
  EXPECT_EQ(g->app.MenuScreen, "");
  g->input.CursorX = 200;  // the pointer moves off before the next pass
  MainMenuScreen(*g);
  EXPECT_FALSE(g->app.Ended);

  ClickAt(35, 265);
  MainMenuScreen(*g);
  EXPECT_TRUE(g->app.Ended);
  EXPECT_FALSE(OptionLines().empty());  // written by the click itself
}

TEST_F(Screens, CheckBoxesToggleAndAreStoredAtOnce) {
  Surface& field = g->surfaces.Field;
  OptionsScreen(*g);
  EXPECT_EQ(GetPixel(field, 30, 53), Rgb(255, 0, 0));  // Snow on
  // Snow off, stereo to mono, static to real movement: each click is written to its line of the file.
  for (const auto& [y, option, line] : {std::tuple{55, &g->settings.OptSnow, 5u}, {155, &g->settings.OptMono, 6u},
                                        {165, &g->settings.OptMovement, 13u}}) {
    ClickAt(45, y);
    OptionsScreen(*g);
    EXPECT_EQ(*option, kOff) << y;
    ASSERT_EQ(OptionLines().size(), 14u);
    EXPECT_EQ(OptionLines()[line], "8") << y;
  }
  g->input.CursorX = 200;
  OptionsScreen(*g);
  EXPECT_EQ(GetPixel(field, 30, 53), Rgb(0, 255, 0));
  EXPECT_TRUE(Drew("Sound: Mono"));
}

TEST_F(Screens, TheFullScreenBoxSwitchesTheWindowAtOnce) {
  g->settings.OptFullScreen = kOff;
  ClickAt(45, 130);
  OptionsScreen(*g);
  EXPECT_EQ(g->settings.OptFullScreen, kOn);
  ASSERT_FALSE(g.window.modes.empty());
  EXPECT_TRUE(g.window.modes.back());
  EXPECT_EQ(g->app.FieldOrigin, (Point{170, 50}));
  EXPECT_EQ(OptionLines()[12], "0");

  ClickAt(45, 130);
  OptionsScreen(*g);
  EXPECT_FALSE(g.window.modes.back());
  EXPECT_EQ(OptionLines()[12], "8");

  // A full screen that cannot be entered says so and leaves the option off.
  g.window.failFullScreen = true;
  ClickAt(45, 130);
  OptionsScreen(*g);
  EXPECT_EQ(g->settings.OptFullScreen, kOff);
  EXPECT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(OptionLines()[12], "8");
}

TEST_F(Screens, VolumeZeroShowsTheOffBoxOnTheVolumeAndStereoRows) {
  Surface& field = g->surfaces.Field;
  for (const int volume : {0, 70}) {
    g->settings.SoundVolume = static_cast<Integer>(volume);
    OptionsScreen(*g);
    const Colour box = volume == 0 ? Rgb(0, 255, 0) : Rgb(255, 0, 0);
    // The movement box always shows "on".
    EXPECT_EQ(std::tuple(GetPixel(field, 30, 143), GetPixel(field, 30, 153), GetPixel(field, 30, 163)),
              std::tuple(box, box, Rgb(255, 0, 0))) << volume;
  }
  EXPECT_TRUE(Drew("Sound Volume: 0% (Press - and + to change it)"));
}

TEST_F(Screens, PlayTimeShowsOnlyTheUnitsItHasReached) {
  struct Case {
    Long minutes;
    const char* days;
    const char* hours;
    const char* mins;
  };
  for (const Case c : {Case{0, "Days: ", "Hours: ", "Minutes: "}, Case{59, "Days: ", "Hours: ", "Minutes: 59"},
                       Case{60, "Days: ", "Hours: 1", "Minutes: 0"}, Case{1440, "Days: 1", "Hours: 0", "Minutes: 0"},
                       Case{1501, "Days: 1", "Hours: 1", "Minutes: 1"}}) {
    g.fonts.calls.clear();
    g->settings.PlayTimeTotal = c.minutes;
    g->settings.TimesPlayed = 12;
    OptionsScreen(*g);
    for (const char* text : {c.days, c.hours, c.mins}) EXPECT_TRUE(Drew(text)) << c.minutes << " " << text;
    EXPECT_TRUE(Drew("Times played: 12"));
  }
}

TEST_F(Screens, NewVersionCheckIsClickedOnlyOnline) {
  ClickAt(115, 265);
  OptionsScreen(*g);
  EXPECT_TRUE(Drew("PLEASE CONNECT FIRST"));
  EXPECT_EQ(g->input.FireHeld, kTrue);  // the press was not taken
  EXPECT_EQ(g.sound.starts.size(), 0u);

  GoOnline();
  ::testing::internal::CaptureStderr();
  OptionsScreen(*g);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(g->input.FireHeld, 0);
  ASSERT_EQ(g.dialogs.shown.size(), 1u);  // no announcement could be read: the check says so
  EXPECT_EQ(g.dialogs.shown[0].text, "The version announcement could not be fetched.");
}

TEST_F(Screens, TheAboutScreenCreditsTheMakerByRole) {
  AboutScreen(*g);
  EXPECT_TRUE(Drew("Tessaly Works"));  // large and bold, as its reference picture shows
  for (const char* role : {"Programming", "Artwork", "Sound", "Testing"}) {
    EXPECT_TRUE(std::any_of(g.fonts.calls.begin(), g.fonts.calls.end(),
                            [role](const auto& c) { return c.text.rfind(role, 0) == 0; }))
        << role;
  }
}

}  // namespace
}  // namespace kesmir
