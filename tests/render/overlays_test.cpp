// The play-field overlays: the fire-mode indicator, the score information and the debug line.
#include "render/overlays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes/fake_platform.h"
#include "scores/score_line.h"

namespace kesmir {
namespace {

using testing::FakeGame;

constexpr Colour kBackground = Rgb(20, 40, 60);
constexpr Colour kBullets = Rgb(255, 255, 0);

struct Overlays : ::testing::Test {
  FakeGame g;
  void SetUp() override {
    g->surfaces.Field.Fill(kBackground);
    // Indicator picture: yellow image row over an all-black mask row, 11 wide.
    g->surfaces.BulletsOutDC = Surface(11, 22, kBullets);
    for (int y = 11; y < 22; ++y)
      for (int x = 0; x < 11; ++x) SetPixel(g->surfaces.BulletsOutDC, x, y, 0);
    PlayState& p = g->play;
    p.Fighters[0].Y = 150;
    p.Fighters[0].Ammo = 30;
    p.FireMode = 3;
    p.AcidIconShown = kTrue;
    g->settings.OptScoreInfo = kOn;
    g->settings.OptDebugInfo = kOff;
    for (int place = 0; place < 10; ++place) {
      g->scores.HsScore[static_cast<std::size_t>(place)] = AlignScoreField(std::to_string(900 - 100 * place), 5);
    }
    g->scores.HsLoadCount = 1;
  }
  // The columns of row 282 that the indicator covers.
  std::pair<int, int> IndicatorSpan() {
    int first = -1;
    int last = -1;
    for (int x = 0; x < kFieldSize; ++x) {
      if (GetPixel(g->surfaces.Field, x, 285) == kBullets) {
        if (first < 0) first = x;
        last = x;
      }
    }
    return {first, last};
  }
  std::string LastText() const { return g.fonts.calls.empty() ? "" : g.fonts.calls.back().text; }
  bool Drew(const std::string& text) const {
    return std::any_of(g.fonts.calls.begin(), g.fonts.calls.end(), [&](const auto& c) { return c.text == text; });
  }
};

TEST_F(Overlays, TheFireModeIndicatorMovesLeftOfTheIconsInTheCorner) {
  DrawFireMode(*g);
  EXPECT_EQ(IndicatorSpan(), (std::pair{250, 260}));  // fire mode 3, 15 bullets or more, no acid
  g->surfaces.Field.Fill(kBackground);
  g->play.FireMode = 1;
  g->play.AcidTimer[2] = 40;
  DrawFireMode(*g);
  EXPECT_EQ(IndicatorSpan(), (std::pair{220, 223}));
  g->surfaces.Field.Fill(kBackground);
  g->play.FireMode = 2;
  g->play.Fighters[0].Ammo = 14;
  DrawFireMode(*g);
  EXPECT_EQ(IndicatorSpan(), (std::pair{250, 257}));
  g->play.AcidTimer[2] = 0;
  g->surfaces.Field.Fill(kBackground);
  DrawFireMode(*g);
  EXPECT_EQ(IndicatorSpan(), (std::pair{280, 287}));
  g->surfaces.Field.Fill(kBackground);
  g->play.AcidIconShown = 0;  // the player stands in the corner
  DrawFireMode(*g);
  EXPECT_EQ(IndicatorSpan(), (std::pair{-1, -1}));
}

TEST_F(Overlays, ThePlaceTextNamesTheBestPlaceWithinReach) {
  PlayState& p = g->play;
  p.ScoreInfoOn = kTrue;
  p.Score = 950;
  DrawOverlays(*g);
  EXPECT_TRUE(Drew("950"));
  EXPECT_EQ(LastText(), "  1(900)");
  p.Score = 0;  // not above the tenth score
  DrawOverlays(*g);
  EXPECT_EQ(LastText(), "  10(0)");
  p.Score = 450;
  p.StatBonus = 100;  // 550 with the bonus
  DrawOverlays(*g);
  EXPECT_TRUE(Drew("550"));
  EXPECT_EQ(LastText(), "  4(600)");
  p.Score = 32767;  // the sum stays within 16 bits
  DrawOverlays(*g);
  EXPECT_TRUE(Drew("32767"));
  EXPECT_EQ(g->surfaces.Field.fontSize, 8);
  EXPECT_EQ(g->surfaces.Field.foreColour, Rgb(192, 255, 192));
}

TEST_F(Overlays, TheScoreInformationLastsTwoHundredFortyOneFramesAfterADeath) {
  PlayState& p = g->play;
  p.ScoreInfoOn = kTrue;
  int shown = 0;
  for (int frame = 0; frame < 400; ++frame) {
    g.fonts.calls.clear();
    DrawOverlays(*g);
    if (!g.fonts.calls.empty()) ++shown;
  }
  EXPECT_EQ(shown, 241);
  EXPECT_EQ(p.ScoreInfoOn, 0);
  EXPECT_EQ(g->effects.ScoreInfoFrames, 0);
  p.ScoreInfoOn = kTrue;  // the next death shows it again from the start
  p.Fighters[0].Y = 260;  // ... but not over the player at the bottom
  g.fonts.calls.clear();
  DrawOverlays(*g);
  EXPECT_TRUE(g.fonts.calls.empty());
  p.Fighters[0].Y = 259;
  g->settings.OptScoreInfo = kOff;
  DrawOverlays(*g);
  EXPECT_TRUE(g.fonts.calls.empty());
}

TEST_F(Overlays, AnUnloadedListIsLoadedForTheScoreInformation) {
  g->scores = ScoreLists{};
  g.WriteDataFile("OtherFiles/Temp.txt", [] {
    std::string file;
    ScoreLineFields row;
    row.name = "Def";
    for (int i = 0; i < 11; ++i) {
      row.score = AlignScoreField(std::to_string(100 - i), 5);
      file += CodeScoreLine(JoinScoreLine(row), true) + "\r\n";
    }
    return file + "END\r\n";
  }());
  g->play.ScoreInfoOn = kTrue;
  g->play.Score = 5;
  DrawOverlays(*g);
  EXPECT_EQ(g->scores.HsScore[0], "  100");
  EXPECT_EQ(LastText(), "  10(91)");
}

TEST_F(Overlays, TheDebugLineShowsTheMeasuresUnlessThePlayerIsAtTheTop) {
  g->settings.OptDebugInfo = kOn;
  g->settings.SoundVolume = 70;
  g->effects.SnowAmount = 123;
  g->clock.Fps = 31;
  g->clock.MaxSpin = 95;
  g->surfaces.Field.fontSize = 12;
  DrawOverlays(*g);
  EXPECT_EQ(LastText(), "Vol=70 Snow=123 Fps=31(3)");
  EXPECT_EQ(g.fonts.calls.back().size, 8);
  g.fonts.calls.clear();
  g->play.Fighters[0].Y = 20;
  DrawOverlays(*g);
  EXPECT_TRUE(g.fonts.calls.empty());
}

}  // namespace
}  // namespace kesmir
