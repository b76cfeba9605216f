// Checks the drawing helpers under the pictures: masked cells, dithering, noise, JPEG files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "jpeg_io.h"
#include "noise.h"
#include "raster.h"

namespace {

namespace fs = std::filesystem;
using assetgen::Canvas;
using assetgen::Edge;
using assetgen::Image;
using assetgen::Rgb;

TEST(MaskedCells, HardEdgeSplitsAtHalfCoverageAndBlacksOutTheRest) {
  Canvas sprite(3, 1);
  sprite.SetPixel(0, 0, {200, 100, 50}, 1.0);
  sprite.SetPixel(1, 0, {200, 100, 50}, 0.6);
  sprite.SetPixel(2, 0, {200, 100, 50}, 0.4);
  Image sheet(3, 2);
  assetgen::PutMasked(sheet, sprite, {0, 0}, {0, 1});
  EXPECT_EQ(sheet.At(0, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(sheet.At(1, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(sheet.At(2, 1), (Rgb{255, 255, 255}));
  EXPECT_EQ(sheet.At(0, 0), (Rgb{200, 100, 50}));
  // A partly covered pixel keeps its own colour, not the colour darkened by its coverage.
  EXPECT_NEAR(sheet.At(1, 0).r, 200, 2);
  EXPECT_EQ(sheet.At(2, 0), (Rgb{0, 0, 0}));
}

TEST(MaskedCells, DitheringKeepsAboutTheCoveredShare) {
  Canvas sprite(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) sprite.SetPixel(x, y, {255, 255, 255}, x < 32 ? 0.3 : 1.0);
  }
  Image sheet(128, 64);
  assetgen::PutMasked(sheet, sprite, {0, 0}, {64, 0}, Edge::kDithered);
  int thin = 0;
  int solid = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool inside = sheet.At(64 + x, y) == Rgb{0, 0, 0};
      (x < 32 ? thin : solid) += inside ? 1 : 0;
    }
  }
  EXPECT_NEAR(thin / (32.0 * 64.0), 0.3, 0.05);
  EXPECT_EQ(solid, 32 * 64);
}

TEST(Noise, RepeatsForASeedAndStaysInRange) {
  assetgen::Random a(7);
  assetgen::Random b(7);
  assetgen::Random c(8);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const double va = a.Next();
    EXPECT_EQ(va, b.Next());
    differs = differs || va != c.Next();
    EXPECT_GE(va, 0.0);
    EXPECT_LT(va, 1.0);
  }
  EXPECT_TRUE(differs);
  for (int i = 0; i < 2000; ++i) {
    const double x = i * 0.173;
    const double y = i * 0.291;
    const double v = assetgen::ValueNoise(x, y, 3);
    const double f = assetgen::Fbm(x, y, 5, 3);
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 1.0);
    EXPECT_GE(f, 0.0);
    EXPECT_LE(f, 1.0);
    // Smooth: a tiny step moves the value only a little.
    EXPECT_NEAR(assetgen::ValueNoise(x + 1e-4, y, 3), v, 1e-3);
  }
  EXPECT_DOUBLE_EQ(assetgen::ValueNoise(4.0, 9.0, 3), assetgen::HashNoise(4, 9, 3));
}

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("kesmir-drawing-" + std::to_string(::getpid()) + "-" + name);
}

TEST(JpegFiles, RoundTripIsCloseAtFullChroma) {
  // Sharp colour edges are where subsampled chroma would bleed.
  Image picture(32, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      picture.Set(x, y, (x / 4 + y / 4) % 2 == 0 ? Rgb{230, 20, 20} : Rgb{10, 20, 200});
    }
  }
  const fs::path path = TempFile("round.jpg");
  std::string error;
  ASSERT_TRUE(assetgen::WriteJpeg(path, picture, 100, error)) << error;
  const auto decoded = assetgen::ReadJpeg(path, error);
  ASSERT_TRUE(decoded.has_value()) << error;
  EXPECT_TRUE(decoded->fullChroma);
  int worst = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 32; ++x) {
      const Rgb a = picture.At(x, y);
      const Rgb b = decoded->image.At(x, y);
      worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
  }
  EXPECT_LE(worst, 8);
  fs::remove(path);
}

TEST(JpegFiles, FailuresAreReportedWithAReason) {
  std::string error;
  EXPECT_FALSE(assetgen::WriteJpeg(TempFile("missing-folder") / "x.jpg", Image(4, 4), 95, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(assetgen::WriteJpeg(TempFile("empty.jpg"), Image(), 95, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(assetgen::ReadJpeg(TempFile("absent.jpg"), error).has_value());
  EXPECT_FALSE(error.empty());
}

}  // namespace
