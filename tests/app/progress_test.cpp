// The progress screen: where the bar stands and what the caption says.
#include "app/progress.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

constexpr Colour kBar = 0x00C0C0;

// The first column of row 290 that shows the bar, or -1.
int BarLeft(Game& game) {
  for (int x = 0; x < 300; ++x)
    if (GetPixel(game.surfaces.Field, x, 290) == kBar) return x;
  return -1;
}

// Draws the step given and returns the bar's left edge on the field (negative when it is partly off it).
int BarAt(FakeGame& g, Long step) {
  g->surfaces.MainLogoDC = Surface(300, 300, 0x101010);
  g->surfaces.LoadingDC = Surface(300, 13, kBar);
  g->app.ProgressStep = step - 1;
  ShowProgress(*g);
  const int left = BarLeft(*g);
  if (left != 0) return left;
  int right = 299;
  while (right >= 0 && GetPixel(g->surfaces.Field, right, 290) != kBar) --right;
  return right - 299;
}

TEST(Progress, TheBarFillsIn74StepsAtStartUpAnd22DuringATransfer) {
  FakeGame g;
  EXPECT_EQ(BarAt(g, 74), 0);
  EXPECT_EQ(BarAt(g, 37), -150);
  EXPECT_EQ(BarAt(g, 1), -296);
  EXPECT_EQ(BarAt(g, 0), -1);  // wholly off the field
  EXPECT_EQ(BarAt(g, 80), 24);       // beyond the full count it slides out to the right
  g->net.Connected = kTrue;
  EXPECT_EQ(BarAt(g, 11), -150);
  EXPECT_EQ(BarAt(g, 22), 0);
}

TEST(Progress, CaptionIsIndentedAndCapitalisedDuringATransfer) {
  FakeGame g;
  g->app.LoadingCaption = "Loading sounds..";
  ShowProgress(*g);
  EXPECT_EQ(g.fonts.calls.back().text, "   Loading sounds..");
  EXPECT_EQ(g.fonts.calls.back().size, 10);
  EXPECT_EQ(g->surfaces.Field.foreColour, Rgb(192, 255, 192));
  g->net.Connected = kTrue;
  g->app.LoadingCaption = "Downloading world scores..";
  ShowProgress(*g);
  EXPECT_EQ(g.fonts.calls.back().text, "   DOWNLOADING WORLD SCORES..");
  g->app.LoadingCaption = "";
  ShowProgress(*g);
  EXPECT_EQ(g.fonts.calls.back().text, "   ");

  // A wait counts its seconds after the caption, in the same colour.
  g->surfaces.Field.foreColour = 0;
  ShowTransferWait(*g, 7);
  EXPECT_EQ(g.fonts.calls.back().text, "    7 S");
  EXPECT_EQ(g->surfaces.Field.foreColour, Rgb(192, 255, 192));
}

TEST(Progress, EachStepShowsThePreviousOneAndLetsTheWindowRespond) {
  FakeGame g;
  g.window.events.push_back({EventKind::MouseDown, 1, {10, 10}});
  ShowProgress(*g);
  ShowProgress(*g);
  EXPECT_EQ(g.window.presents, 2);
  EXPECT_EQ(g->input.FireHeld, kTrue);
  EXPECT_EQ(g->app.ProgressStep, 2);
}

}  // namespace
}  // namespace kesmir
