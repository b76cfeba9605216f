// The Cleaner: its start at second 59, the band of clean ground it restores, its edges and its sound.
#include <gtest/gtest.h>

#include "render/effects.h"
#include "fakes/play_fixture.h"
#include "fakes/reference_picture.h"

namespace kesmir {
namespace {

using testing::PlayGame;

constexpr Colour kClean = Rgb(120, 100, 60);
constexpr Colour kDirty = Rgb(200, 0, 0);

struct CleanerGame : PlayGame {
  CleanerGame() {
    Game& g = *game;
    g.surfaces.CleanLineDC = Surface(49, 360, kClean);
    g.surfaces.Terain.Fill(kDirty);
  }
  // Runs frames until the Cleaner has left the field; returns how many.
  int Drive() {
    int frames = 0;
    while (game->play.CleanerOn == kTrue && frames < 1000) {
      UpdateCleaner(*game, 0);
      ++frames;
    }
    return frames;
  }
};

TEST(Cleaner, StartsAtSecond59WithItsEngineSoundAndMovesTwoPixelsAFrame) {
  CleanerGame g;
  g->clock.GameSeconds = 58;
  UpdateCleaner(*g, 0);
  EXPECT_EQ(g->play.CleanerOn, 0);
  g->clock.GameSeconds = 59;
  UpdateCleaner(*g, 0);
  ASSERT_EQ(g->play.CleanerOn, kTrue);
  EXPECT_EQ(g->play.CleanerY, -62) << "started at -64 and moved at once";
  EXPECT_GE(g->play.CleanerX, 0);
  EXPECT_LE(g->play.CleanerX, 259);
  EXPECT_EQ(g->play.CleanerX, Int(g->play.CleanerX));
  ASSERT_EQ(g.SoundsStarted(), std::vector<int>{kSoundCleaner});
  UpdateCleaner(*g, 0);
  EXPECT_EQ(g->play.CleanerY, -60);
  EXPECT_EQ(g->effects.Tallies.CleanerRuns, 1);
}

TEST(Cleaner, OneRunPerMinuteEvenWhenSecond59LastsManyFrames) {
  CleanerGame g;
  g->clock.GameSeconds = 59;
  for (int frame = 0; frame < 40; ++frame) UpdateCleaner(*g, 0);
  g->clock.GameSeconds = 0;
  const int rest = g.Drive();
  EXPECT_EQ(40 + rest, 183);
  EXPECT_EQ(g->effects.Tallies.CleanerRuns, 1);
  EXPECT_EQ(g.Starts(kSoundCleaner), 1);
  UpdateCleaner(*g, kTrue);  // asked for directly: a new run
  EXPECT_EQ(g->play.CleanerOn, kTrue);
  UpdateCleaner(*g, kTrue);  // while one drives: ignored
  EXPECT_EQ(g->play.CleanerY, -60);
}

TEST(Cleaner, EachRunCopiesA49PixelBandOfCleanGroundFromItsOwnHeightDownTheFieldClippedAtTheRightEdge) {
  CleanerGame g;
  for (int y = 0; y < 360; ++y)
    for (int x = 0; x < 49; ++x) SetPixel(g->surfaces.CleanLineDC, x, y, Rgb(120, y * 2 / 3, x * 5));
  UpdateCleaner(*g, kTrue);
  g.Drive();
  g->play.CleanerOn = kTrue;  // as a run started at x = 259
  g->play.CleanerX = 259;
  g->play.CleanerY = -64;
  g.Drive();
  EXPECT_EQ(testing::CompareWithReference("render/reference/cleaner_bands", {g->surfaces.Terain.View()}), "");
}

}  // namespace
}  // namespace kesmir
