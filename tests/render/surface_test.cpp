// Raster operations: masked sprites, clipping, pixels, lines, the blend and text.
#include "render/surface.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/reference_picture.h"

namespace kesmir {
namespace {

// A 2-cell sprite sheet 4x2: image cell at x 0, mask cell at x 2. The sprite is a red pixel at (1,0) and a
// black one at (0,1); the mask is black there and white elsewhere.
Surface SpriteSheet() {
  Surface sheet(4, 2, 0);
  SetPixel(sheet, 1, 0, Rgb(255, 0, 0));
  SetPixel(sheet, 2, 0, 0xFFFFFF);
  SetPixel(sheet, 3, 1, 0xFFFFFF);
  return sheet;
}

TEST(Raster, TransfersAreClippedAtEveryEdgeOfBothSurfaces) {
  Surface src(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) SetPixel(src, x, y, static_cast<Colour>(y * 10 + x + 1));

  struct Case { int x, y, w, h, sx, sy; };
  for (const Case c : {Case{-3, -2, 10, 10, 0, 0}, Case{5, 6, 10, 10, 0, 0}, Case{0, 0, 10, 10, -4, -1},
                       Case{0, 0, 10, 10, 7, 8}, Case{-20, 0, 5, 5, 0, 0}, Case{0, 0, 5, 5, 50, 50},
                       Case{2147483000, 0, 5, 5, 0, 0}, Case{-2147483000, -5, 2147483000, 8, 0, 0}}) {
    Surface dst(8, 8, 0xABCDEF);
    BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, RasterOp::SrcCopy);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const long long sx = static_cast<long long>(x) - c.x + c.sx;
        const long long sy = static_cast<long long>(y) - c.y + c.sy;
        const bool inside = x - static_cast<long long>(c.x) >= 0 && x - static_cast<long long>(c.x) < c.w &&
                            y - c.y >= 0 && y - c.y < c.h && sx >= 0 && sx < 10 && sy >= 0 && sy < 10;
        const std::int64_t expected = inside ? sy * 10 + sx + 1 : 0xABCDEF;
        ASSERT_EQ(GetPixel(dst, x, y), expected) << "case x=" << c.x << " y=" << c.y << " sx=" << c.sx
                                                 << " at " << x << "," << y;
      }
    }
  }
}

TEST(Raster, AnEmptyPictureDrawsNothingAndPixelsOutsideAreMinusOne) {
  Surface field(3, 3, 5);
  const Surface failed;
  BitBlt(field, 0, 0, 3, 3, failed, 0, 0, RasterOp::SrcCopy);
  DrawMasked(field, 0, 0, 3, 3, failed, 0, 0, 0, 0);
  BlendPicture(failed, 0, 0, 3, 3, field, 0, 0, 3, 3);
  EXPECT_EQ(GetPixel(field, 1, 1), 5);
  EXPECT_EQ(GetPixel(field, -1, 0), -1);
  EXPECT_EQ(GetPixel(field, 3, 0), -1);
  EXPECT_EQ(GetPixel(field, 0, 3), -1);
  EXPECT_EQ(GetPixel(failed, 0, 0), -1);
  EXPECT_FALSE(SetPixel(field, 3, 3, 0));
}

// A blended level is the nearest whole one: 127/255 of a level rounds down, 255/255 is one.
TEST(Raster, ABlendRoundsEachLevelToTheNearest) {
  for (const auto& [source, level] : {std::pair{127, 0}, std::pair{128, 1}}) {
    Surface dot(1, 1, 0);
    AlphaBlend(dot, 0, 0, 1, 1, Surface(1, 1, Rgb(source, source, source)), 0, 0, 1, 1, 1);
    EXPECT_EQ(dot.Row(0)[0], Rgb(level, level, level)) << source;
  }
}

// Every operation on one canvas over a gradient: masked sprites, AND and OR, a one-pixel-wide copy, a copy
// overlapping itself, lines in all directions and off the edge, the blend stretched and clipped, text
// clipped at the edges.
TEST(Raster, EveryOperationLeavesThePixelsKeptForIt) {
  testing::FakeFonts fonts;
  Surface canvas(64, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(canvas, x, y, Rgb(x * 4, y * 6, 128));
  const Surface sheet = SpriteSheet();
  for (int i = 0; i < 4; ++i) DrawMasked(canvas, 2 + 3 * i, 2, 2, 2, sheet, 0, 0, 2, 0);
  const Surface bits(8, 4, Rgb(0x3C, 0xFF, 0x00));
  BitBlt(canvas, 2, 6, 8, 4, bits, 0, 0, RasterOp::SrcAnd);
  BitBlt(canvas, 2, 11, 8, 4, bits, 0, 0, RasterOp::SrcPaint);
  BitBlt(canvas, 1, 16, 1, 6, bits, 0, 0, RasterOp::SrcCopy);
  BitBlt(canvas, 14, 7, 12, 12, canvas, 0, 0, RasterOp::SrcCopy);
  canvas.penColour = 0xFFFFFF;
  MoveTo(canvas, 45, 20);
  for (const Point p : {Point{60, 20}, {60, 35}, {45, 35}, {30, 38}, {45, 20}, {52, -5}, {45, 20}, {70, 26}}) {
    LineTo(canvas, p.x, p.y);
  }
  EXPECT_EQ(canvas.penPosition, (Point{70, 26}));
  BlendPicture(sheet, 28, -2, 14, 9, canvas, 0, 0, 4, 2);
  BlendPicture(bits, 58, 2, 10, 4, canvas, 4, 0, 8, 4);
  BlendPicture(bits, 56, 8, 3, 5, canvas, 0, 0, 1, 4);  // from a column one pixel wide
  canvas.foreColour = Rgb(192, 255, 192);
  canvas.fontSize = 10;
  canvas.fontBold = true;
  TextOutA(canvas, fonts, 2, 34, "ab");
  TextOutA(canvas, fonts, 20, -5, "c");
  EXPECT_EQ(fonts.calls[0].size, 10);
  EXPECT_TRUE(fonts.calls[0].bold);
  EXPECT_EQ(testing::CompareWithReference("render/reference/raster_operations", {canvas.View()}), "");
}

}  // namespace
}  // namespace kesmir
