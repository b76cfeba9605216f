// The terrain generator: first and second starts, the captions, a missing base map, a failed write and a
// window closed during generation.
#include "terrain/generator.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/options.h"
#include "core/files.h"
#include "fakes/fake_platform.h"
#include "fakes/reference_picture.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::FakePictures;

// Base maps whose colours vary, so that diffusion shows.
Image BaseMap(int number) {
  Image image{300, 300, std::vector<std::uint32_t>(300 * 300)};
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x)
      image.pixels[static_cast<std::size_t>(y * 300 + x)] = Rgb((x * 7 + number * 40) % 256, (y * 5) % 256, (x + y) % 256);
  return image;
}

struct GeneratorGame : FakeGame {
  GeneratorGame() {
    for (int n = 1; n <= 4; ++n) pictures.files["Map0" + std::to_string(n) + ".jpg"] = BaseMap(n);
    game->surfaces.MainLogoDC = Surface(300, 300, Rgb(10, 20, 30));
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) game->surfaces.MainLogoDC.Row(y)[x] = Rgb(x % 200, 20, y % 200);
  }
  std::string MapPath(int n) const { return (root / "user" / "Pictures" / ("Map0" + std::to_string(n) + ".bmp")).string(); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> texts;
    for (const auto& call : fonts.calls) texts.push_back(call.text);
    return texts;
  }
};

// The twelfth options line, as stored.
std::string StoredMapsGenerated(const FakeGame& g) {
  const auto lines = SplitLines(g.ReadUserFile(kOptionsFile));
  return lines.size() >= 12 ? lines[11] : "";
}

TEST(GenerateMaps, AFirstStartWritesFour300By300MapsAnnouncingSixteenStepsAndStoresThatTheyExist) {
  GeneratorGame g;
  ::testing::internal::CaptureStderr();
  GenerateMaps(*g);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");  // nothing to say when all went well
  for (int n = 1; n <= 4; ++n) {
    ASSERT_EQ(g.pictures.saved.count(g.MapPath(n)), 1u) << n;
    const Image& map = g.pictures.saved.at(g.MapPath(n));
    EXPECT_EQ(map.width, 300);
    EXPECT_EQ(map.height, 300);
    EXPECT_NE(map.pixels, BaseMap(n).pixels) << "filtered";
  }
  // The terrain is left holding the last map made, which the menu and a first game show.
  const PixelView terrain = g->surfaces.Terain.View();
  EXPECT_TRUE(std::equal(terrain.pixels, terrain.pixels + 300 * 300, g.pictures.saved.at(g.MapPath(4)).pixels.begin()));
  EXPECT_EQ(g->settings.MapsGenerated, 1);
  EXPECT_EQ(StoredMapsGenerated(g), "1");

  const std::vector<std::string> captions = g.Captions();
  ASSERT_EQ(captions.size(), 16u);
  EXPECT_EQ(captions[0], "   MAP 1/4 - DIFFUSE 1");
  EXPECT_EQ(captions[8], "   MAP 3/4 - DIFFUSE 1");
  EXPECT_EQ(captions[13], "   MAP 4/4 - BLUR");
  EXPECT_EQ(captions[15], "   MAP 4/4 - SCALEUP");
  for (const auto& call : g.fonts.calls) EXPECT_EQ(call.size, 10);
  EXPECT_EQ(g->app.LoadingCaption, "Map 4/4 - ScaleUp");
  EXPECT_GE(g.window.presents, 16);

  // The last caption over the main logo in light green at (2, 286) (the fake font draws every character as
  // a 4x8 block), beside the first map made, each pixel as kept.
  EXPECT_EQ(testing::CompareWithReference("terrain/reference/last_caption_and_first_map",
                                          {PixelView{g.window.lastField.data(), 300, 300},
                                           PixelView{g.pictures.saved.at(g.MapPath(1)).pixels.data(), 300, 300}}),
            "");
}

TEST(GenerateMaps, ASecondStartShowsNoCaptionsAndLoadsNothing) {
  GeneratorGame g;
  GenerateMaps(*g);
  g.fonts.calls.clear();
  g.pictures.loaded.clear();
  g.pictures.saved.clear();
  const int presents = g.window.presents;
  LoadSaveOptions(*g, 0);
  GenerateMaps(*g);
  EXPECT_TRUE(g.fonts.calls.empty());
  EXPECT_TRUE(g.pictures.loaded.empty());
  EXPECT_TRUE(g.pictures.saved.empty());
  EXPECT_EQ(g.window.presents, presents);
}

TEST(GenerateMaps, TwoRunsOnTheSameBaseGiveDifferentMaps) {
  GeneratorGame g;
  GenerateMaps(*g);
  const Image first = g.pictures.saved.at(g.MapPath(2));
  g->settings.MapsGenerated = 0;
  GenerateMaps(*g);
  EXPECT_NE(g.pictures.saved.at(g.MapPath(2)).pixels, first.pixels);
}

TEST(GenerateMaps, AMissingBaseMapAbandonsTheRestAndTheNextStartRunsItAgain) {
  GeneratorGame g;
  const Image third = g.pictures.files.at("Map03.jpg");
  g.pictures.files.erase("Map03.jpg");
  ::testing::internal::CaptureStderr();
  GenerateMaps(*g);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Map03.jpg"), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  EXPECT_EQ(g.pictures.saved.size(), 2u) << "maps 1 and 2 stay";
  EXPECT_EQ(g.pictures.saved.count(g.MapPath(4)), 0u);
  EXPECT_NE(g->settings.MapsGenerated, 1);
  EXPECT_EQ(g.ReadUserFile(kOptionsFile), "") << "nothing stored";
  EXPECT_EQ(g->surfaces.Terain.Row(0)[0], g.pictures.saved.at(g.MapPath(2)).pixels[0]) << "the last map made";

  g->platform.pictures = nullptr;  // no picture decoder: not even the first map can be read
  ::testing::internal::CaptureStderr();
  GenerateMaps(*g);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Map01.jpg"), std::string::npos);
  g->platform.pictures = &g.pictures;
  g.pictures.files["Map03.jpg"] = third;
  g.pictures.saved.clear();
  GenerateMaps(*g);
  EXPECT_EQ(g.pictures.saved.size(), 4u);
  EXPECT_EQ(g->settings.MapsGenerated, 1);
}

// Pictures that load as the fake does but cannot be written.
class ReadOnlyPictures : public FakePictures {
 public:
  bool SaveBmp(const std::string&, PixelView) override { return false; }
};

TEST(GenerateMaps, AMapThatCannotBeWrittenAbandonsTheGeneratorWithOneLine) {
  GeneratorGame g;
  ReadOnlyPictures readOnly;
  readOnly.files = g.pictures.files;
  g->platform.pictures = &readOnly;
  ::testing::internal::CaptureStderr();
  GenerateMaps(*g);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Map01.bmp"), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  EXPECT_NE(g->settings.MapsGenerated, 1);
  EXPECT_EQ(readOnly.loaded.size(), 1u);
}

TEST(GenerateMaps, ClosingTheWindowDuringGenerationAbandonsIt) {
  GeneratorGame g;
  g.window.closeAtPoll = 100;  // during the first map's enlargement
  GenerateMaps(*g);
  EXPECT_TRUE(g->app.Ended);
  EXPECT_TRUE(g.pictures.saved.empty());
  EXPECT_NE(g->settings.MapsGenerated, 1);
}

}  // namespace
}  // namespace kesmir
