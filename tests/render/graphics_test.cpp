// Loading the picture set: every table row, the random base map, and missing or broken files.
#include "render/graphics.h"

#include <gtest/gtest.h>

#include <set>

#include "core/files.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::SolidImage;

TEST(Graphics, WithoutAnyPictureLoadingCompletesIn42StepsAndSurfacesStayEmpty) {
  FakeGame g;
  LoadGraphics(*g);
  EXPECT_EQ(g->app.ProgressStep, 42);
  EXPECT_TRUE(g->surfaces.PicturesLoaded);
  for (const PictureEntry& entry : kPictureTable) EXPECT_TRUE((g->surfaces.*entry.surface).Empty()) << entry.file;
  EXPECT_EQ(g->surfaces.Terain.Width(), 300);  // the picture boxes keep their size
  EXPECT_EQ(g->surfaces.StatusField.Height(), 76);
}

TEST(Graphics, EveryFileIsLoadedOnceInTableOrderAndOneMissingPictureCostsOnlyItself) {
  FakeGame g;
  for (const PictureEntry& entry : kPictureTable) g.pictures.files[entry.file] = SolidImage(4, 3, 0x112233);
  g.pictures.files.erase("Player.jpg");
  g.pictures.files["StatusBar.jpg"] = SolidImage(300, 76, 0x445566);
  LoadGraphics(*g);
  ASSERT_EQ(g.pictures.loaded.size(), 45u);
  EXPECT_EQ(g.pictures.loaded[1], "StatusBar.jpg");
  EXPECT_EQ(g.pictures.loaded[2], "MainLogo.jpg");
  EXPECT_EQ(g.pictures.loaded[44], "BulletsOut.jpg");
  EXPECT_TRUE(g->surfaces.PlayerDC.Empty());
  EXPECT_EQ(g->surfaces.AiLVL0DC.Width(), 4);
  EXPECT_EQ(GetPixel(g->surfaces.StatusField, 10, 10), 0x445566);
  EXPECT_EQ(g->app.ProgressStep, 42);
}

TEST(Graphics, TheMenuMapIsChosenAmongTheFourAboutEquallyOften) {
  FakeGame g;
  std::map<std::string, int> seen;
  g->random.SetDeterministic(false);
  for (int i = 0; i < 400; ++i) {
    g.pictures.loaded.clear();
    g.clock.now += 7919;  // a different start time each time
    LoadGraphics(*g);
    ++seen[g.pictures.loaded.front()];
  }
  ASSERT_EQ(seen.size(), 4u);
  for (const auto& [file, count] : seen) {
    EXPECT_TRUE(file == "Map01.jpg" || file == "Map02.jpg" || file == "Map03.jpg" || file == "Map04.jpg");
    EXPECT_GT(count, 60) << file;
  }
}

TEST(Graphics, TheTerrainShowsTheMapAndAnOversizedPictureIsClipped) {
  FakeGame g;
  for (const char* map : {"Map01.jpg", "Map02.jpg", "Map03.jpg", "Map04.jpg"})
    g.pictures.files[map] = SolidImage(640, 20, 0x00FF00);
  LoadGraphics(*g);
  EXPECT_EQ(g->surfaces.Terain.Width(), 300);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 299, 19), 0x00FF00);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 299, 20), 0);

  // A generated map that cannot be read keeps the terrain and has the maps made again at the next start.
  g->settings.MapsGenerated = 1;
  g.pictures.files["Map02.bmp"] = SolidImage(300, 300, 0x0000FF);
  LoadTerrainMap(*g, 2);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 0, 0), 0x0000FF);
  EXPECT_EQ(g->settings.MapsGenerated, 1);
  ::testing::internal::CaptureStderr();
  LoadTerrainMap(*g, 3);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("made again at the next start"), std::string::npos);
  EXPECT_EQ(GetPixel(g->surfaces.Terain, 0, 0), 0x0000FF);
  EXPECT_EQ(g->settings.MapsGenerated, 0);
  EXPECT_EQ(SplitLines(g.ReadUserFile("OtherFiles/Options.txt")).at(11), "0");
}

TEST(Graphics, ReleaseLeavesNoPictureSurface) {
  FakeGame g;
  for (const PictureEntry& entry : kPictureTable) g.pictures.files[entry.file] = SolidImage(2, 2, 1);
  LoadGraphics(*g);
  ReleaseGraphics(*g);
  for (const PictureEntry& entry : kPictureTable) EXPECT_TRUE((g->surfaces.*entry.surface).Empty()) << entry.file;
  EXPECT_FALSE(g->surfaces.PicturesLoaded);
}

TEST(Graphics, TheTableNamesEverySurfaceOnce) {
  std::set<std::string> files;
  Surfaces surfaces;
  std::set<const Surface*> targets;
  for (const PictureEntry& entry : kPictureTable) {
    files.insert(entry.file);
    targets.insert(&(surfaces.*entry.surface));
  }
  EXPECT_EQ(files.size(), 43u);
  EXPECT_EQ(targets.size(), 43u);
}

}  // namespace
}  // namespace kesmir
