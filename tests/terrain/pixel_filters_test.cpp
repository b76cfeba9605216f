// The pixel filters: the grid's edge rules, Diffuse's direction and fringe, Blur's black border, ScaleUp's
// cells, and requests that make no sense.
#include "terrain/pixel_filters.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fakes/reference_picture.h"

namespace kesmir {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);

// A picture in which every pixel has its own colour: red = x, green = y, blue = 7.
Surface Coordinates(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = Rgb(x, y, 7);
  return s;
}

// Colours from a simple fixed sequence, channels 0..200.
Surface Noise(int w, int h, unsigned seed) {
  Surface s(w, h);
  unsigned v = seed;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      v = v * 1103515245u + 12345u;
      s.Row(y)[x] = Rgb(static_cast<int>((v >> 8) % 201), static_cast<int>((v >> 16) % 201), static_cast<int>((v >> 20) % 201));
    }
  }
  return s;
}

TEST(ReadPixels, OutsideTheBitmapReadsAsMinusOneMinusOne255AndTheSpareColumnAndRowAreBlack) {
  Surface source = Coordinates(3, 2);
  PixelGrid grid;
  ASSERT_TRUE(ReadPixels(source, grid, 5, 4));
  EXPECT_EQ(grid.width, 5);
  EXPECT_EQ(grid.height, 4);
  EXPECT_EQ(grid.At(0, 2, 1), 2);
  EXPECT_EQ(grid.At(1, 2, 1), 1);
  EXPECT_EQ(grid.At(2, 2, 1), 7);
  for (const auto& [x, y] : {std::pair{3, 0}, {4, 1}, {0, 2}, {4, 3}}) {
    EXPECT_EQ(grid.At(0, x, y), -1);
    EXPECT_EQ(grid.At(1, x, y), -1);
    EXPECT_EQ(grid.At(2, x, y), 255);
  }
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(grid.At(0, 5, i), 0);  // column W
    EXPECT_EQ(grid.At(2, 5, i), 0);
  }
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(grid.At(2, i, 4), 0);  // row H
}

TEST(ReadPixels, ASideBelowZeroOrBeyondTheLimitReadsNothing) {
  Surface source = Coordinates(3, 3);
  PixelGrid grid;
  EXPECT_TRUE(ReadPixels(source, grid, 3, 0));
  EXPECT_TRUE(ReadPixels(source, grid, kMaxFilterSide, 1));
  EXPECT_FALSE(ReadPixels(source, grid, -1, 3));
  EXPECT_FALSE(ReadPixels(source, grid, 3, -1));
  EXPECT_FALSE(ReadPixels(source, grid, 3, kMaxFilterSide + 1));
  EXPECT_TRUE(grid.values.empty());
  EXPECT_FALSE(grid.Contains(0, 0));
}

TEST(Blur, OfWhiteLeavesTheInsideWhiteAndDarkensTheTwoPixelFrame) {
  Surface s(300, 300, kWhite);
  Blur(s, 300, 300, s, 2);
  EXPECT_EQ(s.Row(150)[150], kWhite);
  EXPECT_EQ(s.Row(2)[2], kWhite);
  EXPECT_EQ(s.Row(297)[297], kWhite);
  const Colour corner = Rgb(92, 92, 92);  // 9 white of 25 samples: 91.8
  EXPECT_EQ(s.Row(0)[0], corner);
  EXPECT_EQ(s.Row(0)[299], corner);  // column 300 of the grid is black too
  EXPECT_EQ(s.Row(299)[299], corner);
  EXPECT_EQ(s.Row(150)[0], Rgb(153, 153, 153));  // 15 of 25
  EXPECT_EQ(s.Row(1)[1], Rgb(163, 163, 163));    // 16 of 25: 163.2
  EXPECT_EQ(s.Row(150)[1], Rgb(204, 204, 204));  // 20 of 25
}

TEST(Blur, OfNoiseForEachRadiusAndRectangleWithinAndBeyondTheBitmapGivesThePicturesKept) {
  const int radii[] = {0, 1, 2, 3, 7};
  const std::pair<int, int> sides[] = {{23, 17}, {26, 20}, {10, 5}};
  Surface all(5 * 30, 3 * 25);
  for (int i = 0; i < 5; ++i) {
    const Surface source = Noise(23, 17, static_cast<unsigned>(radii[i]) + 1);
    for (int j = 0; j < 3; ++j) {
      Surface blurred(30, 25, Rgb(1, 2, 3));
      Blur(source, sides[j].first, sides[j].second, blurred, static_cast<Integer>(radii[i]));
      BitBlt(all, 30 * i, 25 * j, 30, 25, blurred, 0, 0, RasterOp::SrcCopy);
    }
  }
  EXPECT_EQ(testing::CompareWithReference("terrain/reference/blurred_noise", {all.View()}), "");
}

TEST(Blur, ANegativeRadiusWritesNothingAndAHugeOneIsQuick) {
  Surface s = Noise(20, 20, 3);
  const Surface before = s;
  Blur(s, 20, 20, s, -3);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(s.Row(y)[x], before.Row(y)[x]);
  Surface white(20, 20, kWhite);
  Blur(white, 20, 20, white, 32767);  // 65535 x 65535 samples per pixel, nearly all black
  EXPECT_EQ(white.Row(10)[10], 0u);
}

TEST(Diffuse, NeverTakesAColourFromTheLeftOrAboveAndMovesZeroOneOrTwoPixels) {
  const Surface source = Coordinates(100, 100);
  Surface out = source;
  Random random(7);
  Diffuse(random, out, 100, 100, out, 2);
  std::map<int, int> shifts;
  // Away from the right and bottom edges every sample lies in the picture.
  for (int y = 0; y < 98; ++y) {
    for (int x = 0; x < 98; ++x) {
      const Colour c = out.Row(y)[x];
      const int sx = static_cast<int>(c & 255);
      const int sy = static_cast<int>((c >> 8) & 255);
      ASSERT_GE(sx - x, 0) << x << "," << y;
      ASSERT_LE(sx - x, 2);
      ASSERT_GE(sy - y, 0);
      ASSERT_LE(sy - y, 2);
      ++shifts[sx - x];
    }
  }
  // Rounding |2 Rnd - 2| gives 0, 1, 2 with chances of about 1/4, 1/2, 1/4.
  const double n = shifts[0] + shifts[1] + shifts[2];
  EXPECT_NEAR(shifts[0] / n, 0.25, 0.02);
  EXPECT_NEAR(shifts[1] / n, 0.50, 0.02);
  EXPECT_NEAR(shifts[2] / n, 0.25, 0.02);
}

TEST(Diffuse, TheFringeReadFromOutsideTheBitmapKeepsItsOwnColour) {
  // As the generator runs it: 315 x 315 over a 300 x 300 map. Samples past the map are no colour.
  Surface map(300, 300, Rgb(51, 102, 153));
  Random random(11);
  Diffuse(random, map, 315, 315, map, 2);
  std::set<Colour> colours;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) colours.insert(map.Row(y)[x]);
  EXPECT_EQ(colours, std::set<Colour>{Rgb(51, 102, 153)});
}

TEST(Diffuse, ASampleBeyondTheGridRepeatsTheColourTakenBefore) {
  // A 3 x 1 picture read as W = 3, H = 1: grid columns 0..3 and rows 0..1, the spare ones black. Samples
  // two rows down fall beyond the grid.
  const Surface source = Coordinates(3, 1);
  auto gridColour = [](int x, int y) { return y == 0 && x < 3 ? Rgb(x, 0, 7) : Colour{0}; };
  bool carried = false;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Surface out(4, 2, kWhite);
    Random random(seed);
    Diffuse(random, source, 3, 1, out, 2);
    Colour previous = 0;  // the channels start black
    for (int y = 0; y <= 1; ++y) {
      for (int x = 0; x <= 3; ++x) {
        const Colour c = out.Row(y)[x];
        bool fromGrid = false;
        for (int dy = 0; dy <= 2 && y + dy <= 1; ++dy)
          for (int dx = 0; dx <= 2 && x + dx <= 3; ++dx) fromGrid = fromGrid || c == gridColour(x + dx, y + dy);
        ASSERT_TRUE(fromGrid || c == previous) << seed << " " << x << "," << y;
        carried = carried || !fromGrid;
        previous = c;
      }
    }
  }
  EXPECT_TRUE(carried) << "some pixel must have taken a colour only the carried channels explain";
}

TEST(ScaleUp, From300To304KeepsPixelZeroAndWrites304By304Pixels) {
  const Surface source = Noise(300, 300, 5);
  Surface out(310, 310, kWhite);
  int rows = 0;
  ScaleUp(source, 300, 300, out, 304, 304, [&rows] { ++rows; });
  EXPECT_EQ(rows, 300);
  EXPECT_EQ(out.Row(0)[0], source.Row(0)[0]);
  int written = 0;
  for (int y = 0; y < 310; ++y) {
    for (int x = 0; x < 310; ++x) {
      const bool inside = x < 304 && y < 304;
      EXPECT_EQ(out.Row(y)[x] != kWhite, inside) << x << "," << y;
      written += out.Row(y)[x] != kWhite ? 1 : 0;
    }
  }
  EXPECT_EQ(written, 304 * 304);
}

TEST(ScaleUp, OnePixelCellsKeepTheirColourAndTwoPixelCellsBlendHalfWayTowardsTheNext) {
  // Two columns of cells: 2 -> 3 wide means cells of 1 and 2 pixels (right = CInt(1.5 x (j + 1))).
  Surface source(2, 1);
  source.Row(0)[0] = Rgb(100, 0, 0);
  source.Row(0)[1] = Rgb(200, 0, 0);
  Surface out(3, 1, kWhite);
  ScaleUp(source, 2, 1, out, 3, 1);
  EXPECT_EQ(out.Row(0)[0], Rgb(100, 0, 0));  // CInt(1.5) = 2: the first cell is 2 wide
  EXPECT_EQ(out.Row(0)[1], Rgb(150, 0, 0));
  EXPECT_EQ(out.Row(0)[2], Rgb(200, 0, 0));  // the second cell is 1 wide: its own colour
}

TEST(ScaleUp, TheLastRowAndColumnBlendTowardsTheGridsBlackEdge) {
  Surface source(2, 2, Rgb(200, 200, 200));
  Surface out(4, 4, kWhite);
  ScaleUp(source, 2, 2, out, 4, 4);
  EXPECT_EQ(out.Row(0)[0], Rgb(200, 200, 200));
  EXPECT_EQ(out.Row(0)[3], Rgb(100, 100, 100));
  EXPECT_EQ(out.Row(3)[3], Rgb(50, 50, 50));
}

TEST(ScaleUp, HugeTargetsOnlyWorkOutWhatLandsInTheDestination) {
  Surface source(4, 4, Rgb(10, 20, 30));
  Surface out(8, 8, kWhite);
  ScaleUp(source, 4, 4, out, 2000000000, 2000000000);
  EXPECT_EQ(out.Row(7)[7], Rgb(10, 20, 30));
  ScaleUp(source, 0, 4, out, 10, 10);  // nothing to enlarge
  ScaleUp(source, 4, 4, out, -5, -5);  // nothing lands
  EXPECT_EQ(out.Row(0)[0], Rgb(10, 20, 30));
}

TEST(ScaleUpRect, TakesTheGridRectangleAtItsOffsetToTheDestinationAtItsOwn) {
  const Surface source = Coordinates(10, 10);
  PixelGrid grid;
  ReadPixels(source, grid, 10, 10);
  Surface out(20, 20, kWhite);
  ScaleUpRect(grid, 3, 4, 2, 2, out, 5, 6, 4, 4);  // cells of 2 x 2 pixels
  EXPECT_EQ(out.Row(6)[5], Rgb(3, 4, 7));   // the cell's corner (3, 4)
  EXPECT_EQ(out.Row(7)[6], Rgb(4, 4, 7));   // half way to (4, 4), (3, 5) and (4, 5): 3.5 and 4.5 round to even
  EXPECT_EQ(out.Row(5)[5], kWhite);
  EXPECT_EQ(out.Row(10)[9], kWhite);
  ReadPixels(source, grid, 14, 14);  // beyond the picture no corner is a colour: the cells stay black
  ScaleUpRect(grid, 12, 12, 1, 1, out, 0, 0, 1, 1);
  EXPECT_EQ(out.Row(0)[0], 0u);
}

}  // namespace
}  // namespace kesmir
