// Raster operations: masked sprites, clipping, pixels, lines, the blend and text.
#include "render/surface.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

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

TEST(Raster, MaskThenImageLeavesTheBackgroundWhereTheMaskIsWhite) {
  const Surface sheet = SpriteSheet();
  for (Colour background : {Colour{0}, Colour{0xFFFFFF}, Rgb(12, 200, 77), Rgb(255, 255, 0)}) {
    Surface field(2, 2, background);
    DrawMasked(field, 0, 0, 2, 2, sheet, 0, 0, 2, 0);
    EXPECT_EQ(GetPixel(field, 0, 0), background);
    EXPECT_EQ(GetPixel(field, 1, 0), Rgb(255, 0, 0));
    EXPECT_EQ(GetPixel(field, 1, 1), background);
    EXPECT_EQ(GetPixel(field, 0, 1), 0);  // inside the sprite, black is black
  }
}

TEST(Raster, CopyAndPaintCombineBitwise) {
  Surface dst(1, 1, Rgb(0xF0, 0x0F, 0x33));
  const Surface src(1, 1, Rgb(0x3C, 0xFF, 0x00));
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, RasterOp::SrcAnd);
  EXPECT_EQ(GetPixel(dst, 0, 0), Rgb(0x30, 0x0F, 0x00));
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, RasterOp::SrcPaint);
  EXPECT_EQ(GetPixel(dst, 0, 0), Rgb(0x3C, 0xFF, 0x00));
  BitBlt(dst, 0, 0, 1, 1, Surface(1, 1, 7), 0, 0, RasterOp::SrcCopy);
  EXPECT_EQ(GetPixel(dst, 0, 0), 7);
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

TEST(Raster, OverlappingCopyWithinOneSurfaceMovesThePicture) {
  Surface s(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(s, x, y, static_cast<Colour>(y * 4 + x));
  BitBlt(s, 1, 1, 3, 3, s, 0, 0, RasterOp::SrcCopy);
  EXPECT_EQ(GetPixel(s, 1, 1), 0);
  EXPECT_EQ(GetPixel(s, 3, 3), 10);
  EXPECT_EQ(GetPixel(s, 2, 3), 9);
}

TEST(Raster, LinesJoinThePenToThePointWithoutTheEndPoint) {
  Surface s(10, 10, 0);
  s.penColour = 0xFFFFFF;
  MoveTo(s, 1, 1);
  LineTo(s, 6, 1);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(GetPixel(s, x, 1), 0xFFFFFF);
  EXPECT_EQ(GetPixel(s, 6, 1), 0);
  EXPECT_EQ(s.penPosition, (Point{6, 1}));
  LineTo(s, 6, 6);  // continues from where the pen stands
  EXPECT_EQ(GetPixel(s, 6, 1), 0xFFFFFF);
  EXPECT_EQ(GetPixel(s, 6, 5), 0xFFFFFF);
  LineTo(s, 400, -300);  // off the surface: clipped pixel by pixel
  EXPECT_EQ(s.penPosition, (Point{400, -300}));
}

TEST(Raster, BlendMixesConstantAlpha188) {
  Surface field(2, 1, Rgb(0, 0, 0));
  SetPixel(field, 1, 0, Rgb(255, 255, 255));
  const Surface panel(2, 1, Rgb(255, 100, 0));
  BlendPicture(panel, 0, 0, 2, 1, field, 0, 0, 2, 1);
  EXPECT_EQ(GetPixel(field, 0, 0), Rgb(188, 74, 0));   // 255*188/255, 100*188/255
  EXPECT_EQ(GetPixel(field, 1, 0), Rgb(255, 141, 67));
}

TEST(Raster, TextIsDrawnInTheTextColourOnATransparentBackground) {
  testing::FakeFonts fonts;
  Surface field(40, 20, Rgb(1, 2, 3));
  field.foreColour = Rgb(192, 255, 192);
  field.fontSize = 10;
  field.fontBold = true;
  TextOutA(field, fonts, 2, 3, "ab");
  ASSERT_EQ(fonts.calls.size(), 1u);
  EXPECT_EQ(fonts.calls[0].size, 10);
  EXPECT_TRUE(fonts.calls[0].bold);
  EXPECT_EQ(GetPixel(field, 2, 3), Rgb(192, 255, 192));
  EXPECT_EQ(GetPixel(field, 9, 10), Rgb(192, 255, 192));
  EXPECT_EQ(GetPixel(field, 10, 3), Rgb(1, 2, 3));
  EXPECT_EQ(GetPixel(field, 1, 3), Rgb(1, 2, 3));
  TextOutA(field, fonts, 38, 18, "clipped at the edge");
  EXPECT_EQ(GetPixel(field, 39, 19), Rgb(192, 255, 192));
}

}  // namespace
}  // namespace kesmir
