// The end of a game and the status bar that shows it.
#include "app/end_game.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/status_bar.h"
#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"
#include "fakes/surface_hash.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(EndGame, FreezesTheLastFrameCountsTheGameAndItsMinutesRoundedHalvesUpAndBringsBackTheMenuAmbience) {
  // Seconds played after two minutes, the minutes counted, the games played before and after.
  for (const auto& [seconds, minutes, before, after] :
       {std::tuple{29, 2, 4, 5}, std::tuple{31, 3, 2147483647, 2147483647}}) {
    FakeGame g;
    LoadSounds(*g);
    g->app.GameStarted = kTrue;
    g->surfaces.Field.Fill(Rgb(255, 255, 255));  // the last frame
    g->surfaces.MainMenuDC = Surface(270, 270, 0);
    g->settings.PlayTimeTotal = 100;
    g->settings.TimesPlayed = before;
    g->settings.SoundVolume = 55;
    g->clock.GameMinutes = 2;
    g->clock.GameSeconds = static_cast<Integer>(seconds);
    EndGame(*g);
    EXPECT_EQ(std::pair(g->app.GameStarted, g->app.GameStopped), (std::pair<Integer, Integer>(0, 0)));
    // The options file keeps the counters (games played stop at the largest count) and whatever else changed.
    const std::string saved = g.ReadUserFile("OtherFiles/Options.txt");
    EXPECT_NE(saved.find("\r\n55\r\n" + std::to_string(100 + minutes) + "\r\n" + std::to_string(after) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(g->play.Fighters[0].Health, 0);
    EXPECT_EQ(g.fonts.calls.back().text.substr(0, 7), "Killed=");  // the status bar shows it
    // The last frame stays under the menu panel.
    EXPECT_EQ(GetPixel(g->surfaces.MenuField, 100, 100), Rgb(67, 67, 67));
    for (const Point outside : {Point{5, 5}, Point{285, 100}, Point{100, 285}}) {
      EXPECT_EQ(GetPixel(g->surfaces.MenuField, outside.x, outside.y), Rgb(255, 255, 255));
    }
    const auto& ambience = g.sound.buffers[SoundBuffer(kSoundMenuAmbience)];
    EXPECT_TRUE(ambience.playing && ambience.looping && ambience.volume == 32 * 55 - 3201);
  }
}

struct StatusBar : ::testing::Test {
  FakeGame g;
  Fighter& p = g.game->play.Fighters[0];
  void SetUp() override {
    testing::PatternStatusBar(g->surfaces);
    p.Health = 100;
    p.BulletSpeed = 3;
    p.Ammo = 20;
    p.Recharge = 15;
    p.Accuracy = 30;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : g.fonts.calls) texts.push_back(call.text);
    return texts;
  }
};

TEST_F(StatusBar, AtTheStartOfAGameHealthAndAmmunitionOverflowTheirGauges) {
  DrawStatusBar(*g);
  // Health fills its gauge (245 / 90 x 100 + 53 = 325, cut at 300), ammunition stops at 298; levels are 0.
  EXPECT_EQ(testing::PixelHash(g->surfaces.StatusField), 0x309fc309e9064ccfull);
  const auto texts = Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(texts[0], "100(90)" + std::string(13, ' '));
  EXPECT_EQ(texts[1], "20(15)" + std::string(14, ' '));
  EXPECT_EQ(texts[2], "0");
  EXPECT_EQ(texts[3], "Killed=0 Time=00:00" + std::string(20, ' '));
  EXPECT_EQ(g->play.StatBonus, 0);
}

TEST_F(StatusBar, LevelBarsGrowByEighteenAndAHalfPixelsRoundedToEven) {
  p.Accuracy = 3;
  p.Recharge = 14;
  p.AccuracyXp = 50;
  DrawStatusBar(*g);
  // Bars of (10 - 1) x 18.5 + 98 = 264.5 and 18.5 + 98 = 116.5 pixels, an experience line of 202 / 100 x 50 + 98.
  EXPECT_EQ(testing::PixelHash(g->surfaces.StatusField), 0xe9069331d60d1ccfull);
}

TEST_F(StatusBar, TheScoreCarriesTheBonusTheTimeHasLeadingZerosAndEveryFieldKeepsItsPlace) {
  p.Ammo = 10;  // two thirds of the gauge
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
  EXPECT_EQ(testing::PixelHash(g->surfaces.StatusField), 0x0df75e21bede7007ull);
}

}  // namespace
}  // namespace kesmir
