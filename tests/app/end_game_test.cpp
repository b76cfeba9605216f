// The end of a game and the status bar that shows it.
#include "app/end_game.h"

#include <gtest/gtest.h>

#include "app/status_bar.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(EndGame, CountsTheGameAndItsMinutesRoundedHalvesUp) {
  for (const auto& [seconds, minutes] : {std::pair{29, 2}, std::pair{31, 3}}) {
    FakeGame g;
    g->app.GameStarted = kTrue;
    g->settings.PlayTimeTotal = 100;
    g->settings.TimesPlayed = 4;
    g->settings.SoundVolume = 55;
    g->clock.GameMinutes = 2;
    g->clock.GameSeconds = static_cast<Integer>(seconds);
    EndGame(*g);
    EXPECT_EQ(g->settings.PlayTimeTotal, 100 + minutes);
    EXPECT_EQ(g->settings.TimesPlayed, 5);
    EXPECT_EQ(g->app.GameStarted, 0);
    EXPECT_EQ(g->app.GameStopped, 0);
    // The options file keeps the counters and whatever else changed since the last save.
    const std::string saved = g.ReadUserFile("OtherFiles/Options.txt");
    EXPECT_NE(saved.find("\r\n55\r\n" + std::to_string(100 + minutes) + "\r\n5\r\n"), std::string::npos);
  }
}

TEST(EndGame, TheLastFrameStaysUnderTheMenuPanel) {
  FakeGame g;
  g->app.GameStarted = kTrue;
  g->surfaces.Field.Fill(Rgb(255, 255, 255));
  g->surfaces.MainMenuDC = Surface(270, 270, 0);
  EndGame(*g);
  EXPECT_EQ(GetPixel(g->surfaces.MenuField, 5, 5), Rgb(255, 255, 255));
  EXPECT_EQ(GetPixel(g->surfaces.MenuField, 100, 100), Rgb(67, 67, 67));
  EXPECT_EQ(g->play.Fighters[0].Health, 0);
}

struct StatusBar : ::testing::Test {
  FakeGame g;
  Fighter& p = g.game->play.Fighters[0];
  void SetUp() override {
    Surfaces& s = g->surfaces;
    // Gauge strips: empty rows black, full rows white, so widths can be read off the bar.
    for (Surface* strip : {&s.StatusHealthDC, &s.StatusAmmoDC, &s.StatusAccuracyDC, &s.StatusRechargeDC,
                           &s.StatusBulletSpeedDC, &s.StatusMeleeDC}) {
      *strip = Surface(300, 20, 0);
      BitBlt(*strip, 0, 10, 300, 10, Surface(300, 10, 0xFFFFFF), 0, 0, RasterOp::SrcCopy);
    }
    p.Health = 100;
    p.BulletSpeed = 3;
    p.Ammo = 20;
    p.Recharge = 15;
    p.Accuracy = 30;
  }
  int Width(int y) const {
    int x = 0;
    while (x < 300 && GetPixel(g.game->surfaces.StatusField, x, y) == 0xFFFFFF) ++x;
    return x;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : g.fonts.calls) texts.push_back(call.text);
    return texts;
  }
};

TEST_F(StatusBar, AtTheStartOfAGameHealthAndAmmunitionOverflowTheirGauges) {
  DrawStatusBar(*g);
  EXPECT_EQ(Width(7), 300);  // 245 / 90 x 100 + 53 = 325, clipped
  EXPECT_EQ(Width(17), 298);
  const auto texts = Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], "100(90)" + std::string(13, ' '));
  EXPECT_EQ(texts[1], "20(15)" + std::string(14, ' '));
  EXPECT_EQ(texts[2], "0");
  EXPECT_EQ(texts[3], "Killed=0 Time=00:00" + std::string(20, ' '));
  EXPECT_EQ(Width(27), 98);  // accuracy 30 is level 0
  EXPECT_EQ(g->play.StatBonus, 0);
}

TEST_F(StatusBar, LevelBarsGrowByEighteenAndAHalfPixelsRoundedToEven) {
  p.Accuracy = 3;
  p.Recharge = 14;
  p.AccuracyXp = 50;
  DrawStatusBar(*g);
  EXPECT_EQ(Width(27), 264);  // (10 - 1) x 18.5 + 98 = 264.5
  EXPECT_EQ(Width(37), 116);  // 18.5 + 98 = 116.5
  EXPECT_EQ(Width(33), 199);  // experience line: 202 / 100 x 50 + 98
}

TEST_F(StatusBar, TheScoreCarriesTheBonusAndTheTimeHasLeadingZeros) {
  p.BulletSpeed = 5;
  p.Melee = 2;
  g->play.Kills = 4;
  g->play.Score = 10;
  g->clock.GameMinutes = 3;
  g->clock.GameSeconds = 7;
  DrawStatusBar(*g);
  // ((10 - 10) + 5 - 15 + 20 + 2) x (5 - 3) + 4
  EXPECT_EQ(g->play.StatBonus, 28);
  const auto texts = Texts();
  EXPECT_EQ(texts[2], "38");
  EXPECT_EQ(texts[3], "Killed=4 Time=03:07" + std::string(20, ' '));
  EXPECT_EQ(g->surfaces.StatusField.foreColour, Rgb(0, 0, 128));
}

}  // namespace
}  // namespace kesmir
