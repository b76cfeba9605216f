// The pad through SDL's real event path: a virtual controller attached by the pad script hook, its inputs
// turned into the game's keys, buttons and pointer.
#include "platform/sdl_pad.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "app/window_events.h"
#include "fakes/fake_platform.h"
#include "input/keyboard.h"
#include "menus/screens.h"
#include "scores/name_entry.h"
#include "platform/sdl_platform.h"

namespace kesmir {
namespace {

class Pad : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // no window has the focus here
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    front_ = std::make_unique<SdlFrontEnd>();
    ASSERT_TRUE(front_->SetScreenMode(false, 300, 378));
    g->platform.window = front_.get();
    g->platform.keyboard = front_.get();
    g->platform.mouse = front_.get();
    g->platform.pad = &front_->Pad();
    InitDirectInput(*g);
    std::ofstream{script_};
    front_->Pad().DriveFrom(script_);
    Poll();
  }
  void TearDown() override {
    front_.reset();
    SDL_Quit();
    std::filesystem::remove(script_);
  }
  // One pass: the window's events, then the keyboard with the pad.
  void Poll(std::initializer_list<const char*> lines = {}) {
    for (const char* line : lines) std::ofstream(script_, std::ios::app) << line << '\n';
    DoEvents(*g);
    PollKeyboard(*g);
  }
  std::string Walking() {
    std::string keys;
    for (auto [dik, name] : {std::pair{kDikW, 'W'}, {kDikA, 'A'}, {kDikS, 'S'}, {kDikD, 'D'}}) {
      if (g->input.KeyState[dik]) keys += name;
    }
    return keys;
  }
  Point Cursor() { return {static_cast<int>(g->input.CursorX), static_cast<int>(g->input.CursorY)}; }

  testing::FakeGame g;
  std::unique_ptr<SdlFrontEnd> front_;
  std::filesystem::path script_ = g.root / "pad-script";
};

TEST_F(Pad, InPlayTheLeftStickWalksTheRightAimsAroundThePlayerAndTheTriggersFire) {
  g->app.GameStarted = kTrue;
  g->play.Fighters[0].X = g->play.Fighters[0].Y = 140;  // its middle at (150, 150)
  struct Walk { const char* x; const char* y; const char* keys; };
  for (const Walk& w :
       {Walk{"axis leftx 5000", "axis lefty 5000", ""}, Walk{"axis leftx 8000", "axis lefty 0", "D"},
        Walk{"axis leftx 30000", "axis lefty 0", "D"},
        Walk{"axis leftx 30000", "axis lefty 9000", "D"}, Walk{"axis leftx -21000", "axis lefty 21000", "AS"},
        Walk{"axis leftx 0", "axis lefty -30000", "W"}}) {
    Poll({w.x, w.y});
    EXPECT_EQ(Walking(), w.keys) << w.x << ", " << w.y;
  }
  // Just past the dead zone: 20 pixels away; full push: the field's edge; half way between at half push.
  struct Aim { const char* x; const char* y; Point at; };
  for (const Aim& a : {Aim{"axis rightx 8000", "axis righty 0", {170, 150}},
                       Aim{"axis rightx 0", "axis righty -32767", {150, 0}},
                       Aim{"axis rightx 0", "axis righty 21000", {150, 238}},
                       Aim{"axis rightx -14413", "axis righty 14413", {68, 232}}}) {
    Poll({a.x, a.y});
    EXPECT_EQ(Cursor(), a.at) << a.x << ", " << a.y;
  }
  Poll({"axis rightx 0", "axis righty 0"});
  EXPECT_EQ(Cursor(), (Point{68, 232})) << "let go, the pointer stays";

  Poll({"axis righttrigger 32767", "axis lefttrigger 32767", "button rightshoulder 1"});
  EXPECT_EQ(std::tuple(g->input.FireHeld, g->input.BombClick, g->input.FireModeKey), std::tuple(kTrue, kTrue, kTrue));
  Poll({"axis righttrigger 0", "axis lefttrigger 0"});
  EXPECT_EQ(std::tuple(g->input.FireHeld, g->input.BombClick), std::tuple(0, 0));
  Poll({"button back 1"});
  EXPECT_FALSE(g->app.Ended) << "Back is not X in play";
  Poll({"button start 1"});
  EXPECT_EQ(g->app.GameStopped, kTrue);
}

TEST_F(Pad, PulledOutInPlayThePadPausesAndAnotherPlugsIn) {
  g->app.GameStarted = kTrue;
  Poll({"detach"});
  Poll();
  EXPECT_EQ(g->app.GameStopped, kTrue);
  g->app.MenuScreen = "HS";
  Poll({"attach"});
  Poll({"button b 1"});
  EXPECT_EQ(g->app.MenuScreen, "") << "B is Esc";
  Poll({"button a 1"});
  Poll({"button a 0"});
  EXPECT_EQ(g->input.FireHeld, 0) << "A let go is the left button let go";
}

TEST_F(Pad, InTheMenusThePointerStepsThroughTheClickableLinesAndAClicks) {
  MainMenuScreen(*g);  // its clickable lines
  Poll({"button dpdown 1"});
  EXPECT_EQ(Cursor(), (Point{40, 57})) << "START NEW GAME";
  Poll({"button dpdown 0"});
  Poll({"axis lefty 30000"});
  EXPECT_EQ(Cursor(), (Point{40, 82})) << "HIGH SCORES";
  Poll({"axis lefty -30000"});
  Poll({"axis lefty 0"});
  Poll({"button dpup 1"});
  EXPECT_EQ(Cursor(), (Point{40, 267})) << "from the first line round to EXIT GAME";
  Poll({"button dpup 0"});
  Poll({"button dpup 1"});
  Poll({"button a 1"});
  MainMenuScreen(*g);
  EXPECT_EQ(g->app.MenuScreen, "ABOUT");

  FocusYourName(*g, true);  // a name entry: up and down change the letter, right moves on, left takes back
  for (const char* step : {"button dpup 0", "button dpup 1", "button dpup 0", "button dpup 1", "button dpup 0",
                           "button dpright 1", "button dpright 0", "button dpdown 1"}) {
    Poll({step});
  }
  EXPECT_EQ(g->scores.YourName, "B9");
  Poll({"button dpdown 0", "button a 0"});
  Poll({"button a 1"});
  EXPECT_NE(g->input.KeyState[kDikReturn], 0) << "A confirms";
}

}  // namespace
}  // namespace kesmir
