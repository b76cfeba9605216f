// Checks the generated pictures: sizes and cells as the game addresses them, clean masks after
// JPEG decoding, sprite facings, distinct looks, repeatable output and failure on bad folders.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assetgen.h"
#include "jpeg_io.h"

namespace {

namespace fs = std::filesystem;
using assetgen::Image;
using assetgen::Rgb;

// JPEG may move a channel this far from the value written.
constexpr int kTolerance = 24;

// One masked cell: its size, where its image and its mask lie in the picture.
struct Cell {
  int w;
  int h;
  int imageX;
  int imageY;
  int maskX;
  int maskY;
};

struct Expected {
  std::string file;
  int width;
  int height;
  std::vector<Cell> cells;  // empty for opaque pictures
};

std::vector<Cell> Row(int count, int w, int h) {
  std::vector<Cell> cells;
  for (int k = 0; k < count; ++k) cells.push_back({w, h, k * w, 0, k * w, h});
  return cells;
}

// Every picture the game loads, with the cells its drawing code reads.
std::vector<Expected> ExpectedPictures() {
  std::vector<Expected> all = {
      {"StatusBar.jpg", 300, 76, {}},
      {"MainLogo.jpg", 300, 300, {}},
      {"Loading.jpg", 300, 13, {}},
      {"Logo.jpg", 107, 47, {{107, 23, 0, 0, 0, 24}}},
      {"SliderMenu.jpg", 20, 140, {{10, 140, 0, 0, 10, 0}}},
      {"SliderDrag.jpg", 8, 14, {}},
      {"Layer.jpg", 298, 31, {{298, 13, 0, 0, 0, 18}}},
      {"LayerScore.jpg", 85, 30, {{85, 15, 0, 0, 0, 15}}},
      {"Check.jpg", 16, 8, {}},
      {"ScoreUpDown.jpg", 9, 27, {}},
      {"Help1.jpg", 23, 32, {}},
      {"Help2.jpg", 62, 20, {}},
      {"Help3.jpg", 32, 32, {}},
      {"CursorMenu.jpg", 36, 18, {{18, 18, 0, 0, 18, 0}}},
      {"MainMenu.jpg", 270, 270, {}},
      {"EnterText.jpg", 150, 30, {{150, 15, 0, 0, 0, 15}}},
      {"StatusHealth.jpg", 300, 20, {}},
      {"StatusAmmo.jpg", 300, 20, {}},
      {"StatusAccuracy.jpg", 300, 20, {}},
      {"StatusRecharge.jpg", 300, 20, {}},
      {"StatusBulletSpeed.jpg", 300, 20, {}},
      {"StatusMelee.jpg", 300, 20, {}},
      {"StatusScore.jpg", 98, 10, {}},
      {"Health.jpg", 14, 7, {}},
      {"Ammo.jpg", 18, 7, {}},
      {"Acid.jpg", 14, 7, {}},
      {"AcidHearth.jpg", 90, 60, Row(3, 30, 30)},
      {"BombIcon.jpg", 60, 30, {{30, 30, 0, 0, 30, 0}}},
      {"BoomDirt.jpg", 128, 64, {{64, 64, 0, 0, 64, 0}}},
      {"Explosion.jpg", 1728, 128, Row(27, 64, 64)},
      {"AirPlane.jpg", 80, 40, {{40, 40, 0, 0, 40, 0}}},
      {"Cleaner.jpg", 100, 64, {{50, 64, 0, 0, 50, 0}}},
      {"CursorFire.jpg", 18, 9, {{9, 9, 0, 0, 9, 0}}},
      {"Foot.jpg", 2, 2, {}},
      {"BulletsOut.jpg", 11, 22, {{11, 11, 0, 0, 0, 11}}},
      {"Map01.jpg", 300, 300, {}},
      {"Map02.jpg", 300, 300, {}},
      {"Map03.jpg", 300, 300, {}},
      {"Map04.jpg", 300, 300, {}},
  };
  for (const char* sheet : {"Player.jpg", "AiLVL0.jpg", "AiLVL1.jpg", "AiLVL2.jpg", "AiLVL3.jpg",
                            "AiLVL4.jpg", "AiLVL5.jpg"}) {
    all.push_back({sheet, 72 * 21, 42, Row(72, 21, 21)});
  }
  std::vector<Cell> corpses;
  for (int k = 0; k < 4; ++k) corpses.push_back({20, 20, 0, 20 * k, 20, 20 * k});
  all.push_back({"Dead.jpg", 40, 80, corpses});
  return all;
}

const char* const kFighterSheets[] = {"Player.jpg", "AiLVL0.jpg", "AiLVL1.jpg", "AiLVL2.jpg",
                                      "AiLVL3.jpg", "AiLVL4.jpg", "AiLVL5.jpg"};

bool IsBlack(Rgb c) { return c.r <= kTolerance && c.g <= kTolerance && c.b <= kTolerance; }
bool IsWhite(Rgb c) {
  return c.r >= 255 - kTolerance && c.g >= 255 - kTolerance && c.b >= 255 - kTolerance;
}
double Luma(Rgb c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }
double Distance(Rgb a, Rgb b) {
  return std::sqrt(std::pow(a.r - b.r, 2.0) + std::pow(a.g - b.g, 2.0) + std::pow(a.b - b.b, 2.0));
}

// Sprite pixels of a cell: those whose mask is black.
int CoveredPixels(const Image& pic, const Cell& c) {
  int n = 0;
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) n += IsBlack(pic.At(c.maskX + x, c.maskY + y)) ? 1 : 0;
  }
  return n;
}

// The mean colour of a cell's sprite pixels, or of its whole image rectangle.
Rgb MeanSpriteColour(const Image& pic, const Cell& c, bool spriteOnly = true) {
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (int y = 0; y < c.h; ++y) {
    for (int x = 0; x < c.w; ++x) {
      if (spriteOnly && !IsBlack(pic.At(c.maskX + x, c.maskY + y))) continue;
      const Rgb p = pic.At(c.imageX + x, c.imageY + y);
      r += p.r;
      g += p.g;
      b += p.b;
      ++n;
    }
  }
  if (n == 0) return {};
  return {static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
          static_cast<std::uint8_t>(b / n)};
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path FreshFolder(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() /
                       ("kesmir-pictures-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  return dir;
}

// Generates the set once per test program and keeps the decoded pictures.
class PictureSet : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(FreshFolder("set"));
    generated_ = assetgen::WritePictures(*dir_);
    pictures_ = new std::map<std::string, assetgen::DecodedJpeg>();
    if (!generated_) return;
    for (const auto& entry : fs::directory_iterator(*dir_ / "Pictures")) {
      std::string error;
      if (auto decoded = assetgen::ReadJpeg(entry.path(), error)) {
        pictures_->emplace(entry.path().filename().string(), std::move(*decoded));
      }
    }
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete pictures_;
    delete dir_;
  }
  void SetUp() override { ASSERT_TRUE(generated_); }

  static const Image& Picture(const std::string& file) {
    static const Image kMissing;
    const auto it = pictures_->find(file);
    return it == pictures_->end() ? kMissing : it->second.image;
  }

  static fs::path* dir_;
  static bool generated_;
  static std::map<std::string, assetgen::DecodedJpeg>* pictures_;
};

fs::path* PictureSet::dir_ = nullptr;
bool PictureSet::generated_ = false;
std::map<std::string, assetgen::DecodedJpeg>* PictureSet::pictures_ = nullptr;

TEST_F(PictureSet, HoldsExactlyTheGamesFilesAtTheirSizesWithFullChroma) {
  const std::vector<Expected> expected = ExpectedPictures();
  std::set<std::string> names;
  for (const Expected& e : expected) {
    names.insert(e.file);
    SCOPED_TRACE(e.file);
    const auto it = pictures_->find(e.file);
    ASSERT_NE(it, pictures_->end()) << "missing or undecodable";
    EXPECT_EQ(it->second.image.Width(), e.width);
    EXPECT_EQ(it->second.image.Height(), e.height);
    EXPECT_TRUE(it->second.fullChroma) << "chroma is subsampled";
    for (const Cell& c : e.cells) {
      EXPECT_LE(std::max(c.imageX, c.maskX) + c.w, e.width);
      EXPECT_LE(std::max(c.imageY, c.maskY) + c.h, e.height);
    }
  }
  // The 44 files of the loading table less CleanLine (checked below), and the 4 base maps.
  EXPECT_EQ(expected.size(), 43u + 4u);
  std::set<std::string> written;
  for (const auto& [name, decoded] : *pictures_) written.insert(name);
  names.insert("CleanLine.jpg");
  EXPECT_EQ(written, names);
  const Image& clean = Picture("CleanLine.jpg");
  EXPECT_EQ(clean.Width(), 49);
  EXPECT_GE(clean.Height(), 300);
}

TEST_F(PictureSet, MasksAreBlackOrWhiteAndImagesBlackAroundEverySprite) {
  for (const Expected& e : ExpectedPictures()) {
    const Image& pic = Picture(e.file);
    for (std::size_t i = 0; i < e.cells.size(); ++i) {
      const Cell& c = e.cells[i];
      SCOPED_TRACE(e.file + " cell " + std::to_string(i));
      int unclean = 0;
      int fringe = 0;
      int lit = 0;
      for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) {
          const Rgb m = pic.At(c.maskX + x, c.maskY + y);
          const Rgb img = pic.At(c.imageX + x, c.imageY + y);
          if (!IsBlack(m) && !IsWhite(m)) ++unclean;
          if (IsWhite(m) && !IsBlack(img)) ++fringe;
          if (IsBlack(m) && !IsBlack(img)) ++lit;
        }
      }
      EXPECT_EQ(unclean, 0) << "mask pixels neither black nor white";
      EXPECT_EQ(fringe, 0) << "image pixels outside the sprite are not black";
      EXPECT_GT(CoveredPixels(pic, c), 0) << "empty sprite";
      EXPECT_GT(lit, 0) << "sprite drawn all black";
    }
  }
}

TEST_F(PictureSet, FighterCellKPointsItsGunAtFiveKDegrees) {
  // The gun reaches farthest from the centre; whatever else comes near that ring is
  // symmetric about the facing and cancels out.
  for (const char* sheet : kFighterSheets) {
    const Image& pic = Picture(sheet);
    for (int k = 0; k < 72; ++k) {
      double reach = 0;
      for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
          if (IsBlack(pic.At(21 * k + x, 21 + y))) reach = std::max(reach, std::hypot(x - 10.0, y - 10.0));
        }
      }
      double sx = 0;
      double sy = 0;
      for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
          if (!IsBlack(pic.At(21 * k + x, 21 + y))) continue;
          const double dx = x - 10.0;
          const double dy = y - 10.0;
          const double r = std::hypot(dx, dy);
          if (r >= reach - 1.5) {
            sx += dx / r;
            sy += dy / r;
          }
        }
      }
      double angle = std::atan2(sy, sx) * 180.0 / std::numbers::pi;
      double off = std::fmod(angle - 5.0 * k + 720.0, 360.0);
      if (off > 180.0) off -= 360.0;
      EXPECT_LT(std::abs(off), 20.0) << sheet << " cell " << k << " points at " << angle;
    }
  }
}

TEST_F(PictureSet, FighterLooksAreDistinctAndOpponentsGainBulk) {
  // Compared pixel by pixel at the same facing, over the pixels either sprite covers.
  for (std::size_t a = 0; a < std::size(kFighterSheets); ++a) {
    for (std::size_t b = a + 1; b < std::size(kFighterSheets); ++b) {
      const Image& pa = Picture(kFighterSheets[a]);
      const Image& pb = Picture(kFighterSheets[b]);
      double sum = 0;
      int n = 0;
      for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
          if (!IsBlack(pa.At(x, 21 + y)) && !IsBlack(pb.At(x, 21 + y))) continue;
          sum += Distance(pa.At(x, y), pb.At(x, y));
          ++n;
        }
      }
      EXPECT_GT(sum / std::max(n, 1), 40.0)
          << kFighterSheets[a] << " and " << kFighterSheets[b] << " look alike";
    }
  }
  // Averaged over all facings, each opponent tier covers at least as much as the one below.
  double previous = 0;
  for (int tier = 1; tier < 7; ++tier) {
    double area = 0;
    for (int k = 0; k < 72; ++k) {
      area += CoveredPixels(Picture(kFighterSheets[tier]), {21, 21, 21 * k, 0, 21 * k, 21});
    }
    EXPECT_GE(area, previous) << kFighterSheets[tier];
    previous = area;
  }
}

TEST_F(PictureSet, FireModeGlyphsShowOneTwoOrThreeRounds) {
  const Image& pic = Picture("BulletsOut.jpg");
  auto columnCovered = [&](int x) {
    int n = 0;
    for (int y = 0; y < 11; ++y) n += IsBlack(pic.At(x, 11 + y)) ? 1 : 0;
    return n;
  };
  for (int gap : {3, 7}) EXPECT_EQ(columnCovered(gap), 0) << "column " << gap;
  for (int round : {0, 4, 8}) {
    EXPECT_GT(columnCovered(round + 1), 8) << "round at column " << round;
  }
}

TEST_F(PictureSet, ExplosionFlashesThenFadesAndCraterIsDark) {
  const Image& pic = Picture("Explosion.jpg");
  auto frame = [](int f) { return Cell{64, 64, 64 * f, 0, 64 * f, 64}; };
  EXPECT_GT(CoveredPixels(pic, frame(8)), 4 * CoveredPixels(pic, frame(26)));
  EXPECT_GT(CoveredPixels(pic, frame(8)), CoveredPixels(pic, frame(0)));
  EXPECT_GT(Luma(MeanSpriteColour(pic, frame(1))), Luma(MeanSpriteColour(pic, frame(20))) + 60);
  const Rgb crater = MeanSpriteColour(Picture("BoomDirt.jpg"), {64, 64, 0, 0, 64, 0});
  EXPECT_LT(Luma(crater), 90.0);
}

TEST_F(PictureSet, StatusStripsKeepTheirLabelWhenCutShort) {
  // The game copies the full rows from x 0 with a length that depends on the value, so the
  // label at the left must be the same in every row it is taken from.
  auto sameArea = [](const Image& pic, int x1, int yA, int yB, int rows) {
    double worst = 0;
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < x1; ++x) worst = std::max(worst, Distance(pic.At(x, yA + y), pic.At(x, yB + y)));
    }
    return worst;
  };
  for (const char* strip : {"StatusHealth.jpg", "StatusAmmo.jpg"}) {
    const Image& pic = Picture(strip);
    EXPECT_LT(sameArea(pic, 53, 0, 10, 10), 30.0) << strip;
    EXPECT_GT(Distance(pic.At(200, 5), pic.At(200, 15)), 40.0) << strip << ": full = empty";
  }
  for (const char* strip : {"StatusAccuracy.jpg", "StatusRecharge.jpg", "StatusBulletSpeed.jpg",
                            "StatusMelee.jpg"}) {
    const Image& pic = Picture(strip);
    EXPECT_LT(sameArea(pic, 98, 0, 10, 7), 30.0) << strip << ": level bar row";
    EXPECT_LT(sameArea(pic, 98, 8, 18, 2), 30.0) << strip << ": experience row";
    EXPECT_GT(Distance(pic.At(200, 3), pic.At(200, 13)), 40.0) << strip << ": bar = background";
  }
}

TEST_F(PictureSet, SmallWidgetsHaveDistinctStates) {
  const Image& check = Picture("Check.jpg");
  const Image& arrows = Picture("ScoreUpDown.jpg");
  const Image& health = Picture("Health.jpg");
  auto cellMean = [](const Image& pic, int x0, int y0, int w, int h) {
    return MeanSpriteColour(pic, {w, h, x0, y0, 0, 0}, false);
  };
  EXPECT_GT(Distance(cellMean(check, 0, 0, 8, 8), cellMean(check, 8, 0, 8, 8)), 15.0);
  const Rgb up = cellMean(arrows, 0, 0, 9, 9);
  const Rgb down = cellMean(arrows, 0, 18, 9, 9);
  EXPECT_GT(up.g, up.r) << "the newer-row arrow is green";
  EXPECT_GT(down.r, down.g) << "the older-row arrow is red";
  const Rgb cross = health.At(3, 3);
  EXPECT_GT(cross.r, 180);
  EXPECT_LT(cross.g, 90) << "the health pick-up shows a red cross";
}

TEST_F(PictureSet, BaseMapsDifferAndHaveDetailAtEveryScale) {
  std::vector<Rgb> means;
  for (int k = 1; k <= 4; ++k) {
    const Image& map = Picture("Map0" + std::to_string(k) + ".jpg");
    means.push_back(MeanSpriteColour(map, {300, 300, 0, 0, 0, 0}, false));
    // Neighbouring pixels differ (fine grain) and so do distant 30x30 blocks (large shapes).
    double fine = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 1; x < 300; ++x) fine += std::abs(Luma(map.At(x, y)) - Luma(map.At(x - 1, y)));
    }
    EXPECT_GT(fine / (300 * 299), 2.0) << "map " << k << " is flat close up";
    double lo = 255;
    double hi = 0;
    for (int by = 0; by < 10; ++by) {
      for (int bx = 0; bx < 10; ++bx) {
        double sum = 0;
        for (int y = 0; y < 30; ++y) {
          for (int x = 0; x < 30; ++x) sum += Luma(map.At(bx * 30 + x, by * 30 + y));
        }
        lo = std::min(lo, sum / 900);
        hi = std::max(hi, sum / 900);
      }
    }
    EXPECT_GT(hi - lo, 12.0) << "map " << k << " is flat from afar";
  }
  for (std::size_t a = 0; a < 4; ++a) {
    for (std::size_t b = a + 1; b < 4; ++b) EXPECT_GT(Distance(means[a], means[b]), 30.0);
  }
}

TEST_F(PictureSet, IconsArePngsOfTheirSize) {
  for (int size : assetgen::kAppIconSizes) {
    const std::string edge = std::to_string(size);
    const fs::path path = *dir_ / "icons" / "hicolor" / (edge + "x" + edge) / "apps" / "kesmir.png";
    cairo_surface_t* icon = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(icon), CAIRO_STATUS_SUCCESS) << path;
    EXPECT_EQ(cairo_image_surface_get_width(icon), size);
    EXPECT_EQ(cairo_image_surface_get_height(icon), size);
    cairo_surface_destroy(icon);
  }
}

// WCAG contrast ratio of two sRGB colours (1 = none, 21 = black on white).
double Contrast(Rgb a, Rgb b) {
  auto lin = [](int v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  auto luminance = [&](Rgb c) { return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b); };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Share of the pixels in [x0, x1) x [y0, y1) of a picture on which text of colour ink stays
// readable (contrast 4.5 or better).
double ReadableShare(const Image& pic, int x0, int y0, int x1, int y1, Rgb ink) {
  int good = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) good += Contrast(pic.At(x, y), ink) >= 4.5 ? 1 : 0;
  }
  return static_cast<double>(good) / ((x1 - x0) * (y1 - y0));
}

constexpr Rgb kMenuBlue{0, 0, 128};
constexpr Rgb kLightGreen{192, 255, 192};
constexpr Rgb kPureGreen{0, 255, 0};

TEST_F(PictureSet, MenuPanelKeepsTheDarkBlueTextsReadableOverEveryMap) {
  // The panel is blended at alpha 188 over the map at (15, 15); texts start at x 30 of the
  // field and run from y 25 to 272, inside the panel's frame and corner plates.
  const Image& panel = Picture("MainMenu.jpg");
  for (int k = 1; k <= 4; ++k) {
    const Image& map = Picture("Map0" + std::to_string(k) + ".jpg");
    Image blended(270, 270);
    for (int y = 0; y < 270; ++y) {
      for (int x = 0; x < 270; ++x) {
        const Rgb p = panel.At(x, y);
        const Rgb m = map.At(x + 15, y + 15);
        auto mix = [](int a, int b) { return static_cast<std::uint8_t>((a * 188 + b * 67) / 255); };
        blended.Set(x, y, {mix(p.r, m.r), mix(p.g, m.g), mix(p.b, m.b)});
      }
    }
    EXPECT_GE(ReadableShare(blended, 15, 10, 256, 258, kMenuBlue), 0.999) << "map " << k;
  }
}

TEST_F(PictureSet, StatusAndOverlayTextsStayReadable) {
  // Dark blue health and ammunition figures from x 150 over both the empty and full gauges.
  for (const char* strip : {"StatusHealth.jpg", "StatusAmmo.jpg"}) {
    EXPECT_GE(ReadableShare(Picture(strip), 150, 0, 298, 20, kMenuBlue), 0.97) << strip;
  }
  // Green score, kills and time on the bottom line of the status bar.
  EXPECT_GE(ReadableShare(Picture("StatusBar.jpg"), 98, 66, 300, 76, kPureGreen), 0.97);
  // Light green texts: score information, debug line, loading captions, bomb count.
  EXPECT_GE(ReadableShare(Picture("LayerScore.jpg"), 2, 2, 83, 13, kLightGreen), 0.97);
  EXPECT_GE(ReadableShare(Picture("Layer.jpg"), 2, 2, 296, 11, kLightGreen), 0.97);
  EXPECT_GE(ReadableShare(Picture("MainLogo.jpg"), 0, 272, 300, 287, kLightGreen), 0.97);
  EXPECT_GE(ReadableShare(Picture("BombIcon.jpg"), 13, 11, 21, 22, kLightGreen), 0.9);
}

TEST_F(PictureSet, TitleIsLettersNotABlock) {
  const Image& logo = Picture("Logo.jpg");
  const int covered = CoveredPixels(logo, {107, 23, 0, 0, 0, 24});
  EXPECT_GT(covered, 107 * 23 / 4);
  EXPECT_LT(covered, 107 * 23 * 3 / 4);
}

TEST_F(PictureSet, ContactSheetShowsTheSetAndRejectsAMissingFolder) {
  const fs::path sheet = FreshFolder("sheet.png");
  const std::string tool = KESMIR_CONTACT_SHEET;
  const std::string ok = tool + " '" + (*dir_ / "Pictures").string() + "' '" + sheet.string() + "'";
  ASSERT_EQ(std::system(ok.c_str()), 0);
  cairo_surface_t* png = cairo_image_surface_create_from_png(sheet.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_GT(cairo_image_surface_get_height(png), 2000);
  cairo_surface_destroy(png);
  fs::remove(sheet);
  const std::string bad = tool + " '" + (*dir_ / "NoSuchFolder").string() + "' '" + sheet.string() +
                          "' 2>/dev/null";
  EXPECT_NE(std::system(bad.c_str()), 0);
  EXPECT_FALSE(fs::exists(sheet));
}

TEST(PictureGeneration, TwoRunsWriteTheSameBytes) {
  const fs::path first = FreshFolder("first");
  const fs::path second = FreshFolder("second");
  ASSERT_TRUE(assetgen::WritePictures(first));
  ASSERT_TRUE(assetgen::WritePictures(second));
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(first)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const fs::path twin = second / fs::relative(entry.path(), first);
    EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(twin)) << fs::relative(entry.path(), first);
  }
  EXPECT_EQ(files, 48 + std::ssize(assetgen::kAppIconSizes));  // pictures and icons
  fs::remove_all(first);
  fs::remove_all(second);
}

TEST(PictureGeneration, UnusableFolderFailsWithOneLine) {
  const fs::path blocker = FreshFolder("blocker");
  { std::ofstream(blocker) << "a file, not a folder"; }
  testing::internal::CaptureStderr();
  const bool ok = assetgen::WritePictures(blocker);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(ok);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("Pictures"), std::string::npos) << err;
  fs::remove(blocker);
}

TEST(PictureFiles, BrokenJpegIsReportedNotDecoded) {
  const fs::path bad = FreshFolder("broken.jpg");
  { std::ofstream(bad, std::ios::binary) << "\xFF\xD8\xFF\xE0 truncated"; }
  std::string error;
  EXPECT_FALSE(assetgen::ReadJpeg(bad, error).has_value());
  EXPECT_FALSE(error.empty());
  fs::remove(bad);
}

TEST(DesktopEntry, LaunchesTheGameFromTheGamesMenu) {
  std::ifstream in(KESMIR_DESKTOP_FILE);
  ASSERT_TRUE(in) << KESMIR_DESKTOP_FILE;
  std::map<std::string, std::string> keys;
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "[Desktop Entry]");
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  EXPECT_EQ(keys["Type"], "Application");
  EXPECT_EQ(keys["Name"], "Kesmir");
  EXPECT_EQ(keys["Exec"], "kesmir");
  EXPECT_EQ(keys["Icon"], "kesmir");
  EXPECT_EQ(keys["Categories"], "Game;ActionGame;");
}

}  // namespace
