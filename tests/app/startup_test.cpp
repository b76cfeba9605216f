// Start-up and shutdown: their order, the two display modes and the failure of full screen.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/options.h"
#include "fakes/fake_platform.h"
#include "input/keyboard.h"

namespace kesmir {
namespace {

using testing::FakeGame;

// The window's layout: canvas width and height, caption, the places of the field and of the status bar.
std::tuple<int, int, std::string, Point, Point> Layout(FakeGame& g) {
  return {g.window.canvasWidth, g.window.canvasHeight, g.window.caption, g->app.FieldOrigin, g->app.StatusOrigin};
}

const char* kWindowed = "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n70\r\n0\r\n0\r\n0\r\n1\r\n8\r\n0\r\n";

TEST(Startup, AWindowedStartLoadsEverythingIn74StepsAndReachesTheMenu) {
  FakeGame g;
  g.WriteDataFile("OtherFiles/Options.txt", kWindowed);
  g.keyboard.Press(kDikX);  // the first menu pass ends the program
  Form_Activate(*g);
  EXPECT_EQ(g->app.ProgressStep, 74);
  EXPECT_EQ(g.window.modes, std::vector<bool>{false});
  EXPECT_EQ(Layout(g), std::tuple(300, 378, kFormCaption, Point{0, 0}, Point{0, 302}));
  EXPECT_TRUE(g->app.Ended);
  EXPECT_NEAR(g->app.DegToRad, 3.14159265358979 / 180, 1e-15);
  EXPECT_EQ(g.fonts.calls.back().text.substr(0, 3), "   ");
  EXPECT_FALSE(g.sound.loads.empty());
  EXPECT_FALSE(g.mouse.confines.empty());
  for (const auto& confine : g.mouse.confines) EXPECT_FALSE(confine.has_value());  // never held in the menu
}

TEST(Startup, FullScreenPlacesThePictureOnABlackCanvasWithoutCaption) {
  FakeGame g;
  SetScreenMode(*g, true);
  EXPECT_EQ(g.window.modes, std::vector<bool>{true});
  EXPECT_EQ(Layout(g), std::tuple(640, 480, "", Point{170, 50}, Point{170, 352}));
  g->app.FormCaption = kFormCaption;
  SetScreenMode(*g, false);
  EXPECT_EQ(Layout(g), std::tuple(300, 378, kFormCaption, Point{0, 0}, Point{0, 302}));
}

TEST(Startup, FullScreenThatCannotStartWarnsOnceAndTheNextStartIsWindowed) {
  FakeGame g;
  g.window.failFullScreen = true;
  g.keyboard.Press(kDikX);
  Form_Activate(*g);  // no options file anywhere: full screen is asked for
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_EQ(g.dialogs.shown[0].title, "Kesmir Error!");
  EXPECT_EQ(g.dialogs.shown[0].text, "Cannot activate DirectX 7! Make sure you have it installed correctly!");
  EXPECT_EQ(g.dialogs.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(g->settings.OptFullScreen, kOff);
  EXPECT_EQ(g.window.modes, std::vector<bool>{false});  // the window is laid out windowed instead
  EXPECT_EQ(g->app.FieldOrigin, (Point{0, 0}));
  // Recorded at once: the options read again by the main loop, and the next start, are windowed.
  EXPECT_NE(g.ReadUserFile("OtherFiles/Options.txt").find("\r\n8\r\n0\r\n"), std::string::npos);
}

TEST(Startup, ClosingTheWindowReleasesInOrderAndEndsEvenDuringLoading) {
  FakeGame g;
  std::vector<std::string> log;
  g.mouse.log = &log;
  g.keyboard.log = &log;
  g.WriteDataFile("OtherFiles/Options.txt", kWindowed);
  g.window.events.push_back({EventKind::Close, 0, {}});
  g.pictures.files["MainLogo.jpg"] = testing::SolidImage(300, 300, 1);
  Form_Activate(*g);
  EXPECT_TRUE(g->app.Ended);
  EXPECT_LT(g->app.ProgressStep, 74);  // the program ended at the first yield
  EXPECT_TRUE(g->surfaces.MainLogoDC.Empty());
  EXPECT_EQ(log, std::vector<std::string>{"pointer freed"});  // the keyboard was not taken yet
  EXPECT_TRUE(g.sound.loads.empty());  // and nothing is loaded after the close
}

TEST(Startup, ClosingTheWindowInTheMenuFreesThePointerThenReleasesTheKeyboardAndPictures) {
  FakeGame g;
  std::vector<std::string> log;
  g.mouse.log = &log;
  g.keyboard.log = &log;
  g.WriteDataFile("OtherFiles/Options.txt", kWindowed);
  g.pictures.files["Player.jpg"] = testing::SolidImage(1512, 42, 1);
  g.window.closeAtPoll = 200;  // well into the menu passes
  Form_Activate(*g);
  EXPECT_TRUE(g->app.Ended);
  EXPECT_EQ(g->app.ProgressStep, 74);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "pointer freed");
  EXPECT_EQ(log.back(), "keyboard released");
  EXPECT_FALSE(g.keyboard.acquired);
  EXPECT_TRUE(g->surfaces.PlayerDC.Empty());
}

}  // namespace
}  // namespace kesmir
