// Airplane runs: starting and ignoring requests, the drops, the bomb run, the supply bands, the automatic
// drops and the bomb icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "render/effects.h"
#include "fakes/play_fixture.h"

namespace kesmir {
namespace {

using testing::PlayGame;

constexpr int kSoundAirPlane = 9;
constexpr int kSoundBomb = 21;

void Frame(Game& game) { UpdateAirPlane(game, 0, 0, 0, 0); }

// Flies the current run until the airplane has left the field; returns the frames it took.
int FlyOut(Game& game) {
  int frames = 0;
  while (game.effects.AirPlaneOn == kTrue && frames < 100) {
    Frame(game);
    ++frames;
  }
  return frames;
}

TEST(AirPlaneRuns, ABombRequestDuringAHealthRunIsIgnoredAndCostsNothing) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.Ammo = 40;
  UpdateAirPlane(*g, kTrue, 0, 0, 0);
  EXPECT_EQ(g->effects.AirMission, 1);
  g.ClearSounds();
  UpdateAirPlane(*g, 0, 0, kTrue, 0);
  EXPECT_EQ(player.Ammo, 40);
  EXPECT_EQ(g->effects.AirMission, 1);
  EXPECT_EQ(g.Starts(kSoundAirPlane), 0);
  EXPECT_EQ(g->effects.Tallies.Bombs, 0);
}

TEST(AirPlaneRuns, AHealthRunStartsLeftOfTheFieldAndDropsNearThePlayerWhenPassingHim) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.X = 100;
  player.Y = 200;
  UpdateAirPlane(*g, kTrue, 0, 0, 0);
  EXPECT_EQ(g->effects.AirPlaneX, -30);  // started at -40 and flew its first 10 pixels
  EXPECT_EQ(g->effects.AirPlaneY, 180);
  EXPECT_NEAR(g->effects.AirDropX, 100, 25);
  EXPECT_NEAR(g->effects.AirDropY, 200, 25);
  while (g->effects.AirPlaneX <= 100) {
    EXPECT_EQ(g->play.HealthBoxOn[0], 0);
    Frame(*g);
  }
  EXPECT_EQ(g->effects.AirPlaneX, 110);
  EXPECT_EQ(g->play.HealthBoxOn[0], kTrue);
  EXPECT_EQ(g->effects.AirMission, 0);
  FlyOut(*g);
  EXPECT_EQ(g->effects.AirPlaneX, -100);
  EXPECT_EQ(g->effects.AirPlaneOn, 0);
}

TEST(AirPlaneRuns, ABombRunCostsFifteenBulletsAndExplodesWhereClickedWhenPassingThePointerNow) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.Ammo = 40;
  g->input.CursorX = 200;
  g->input.CursorY = 120;
  UpdateAirPlane(*g, 0, 0, kTrue, 0);
  EXPECT_EQ(player.Ammo, 25);
  EXPECT_EQ(g.Starts(kSoundAirPlane), 1);
  EXPECT_EQ(g->effects.AirPlaneY, 100);
  EXPECT_EQ(g->effects.AirDropX, 165);
  EXPECT_EQ(g->effects.AirDropY, 85);
  g->input.CursorX = 50;  // the pointer moved: the bomb falls when the airplane passes it now
  while (g->effects.AirPlaneX <= 50) Frame(*g);
  EXPECT_EQ(g->play.ShakeOn, kTrue);
  EXPECT_EQ(g->effects.ExplosionX, 165);
  EXPECT_EQ(g->effects.ExplosionY, 85);
  EXPECT_EQ(g.Starts(kSoundBomb), 1);
  EXPECT_EQ(g->effects.AirMission, 0);
  EXPECT_EQ(g->effects.Tallies.Bombs, 1);
}

TEST(AirPlaneRuns, ASupplyRunInMinuteFiveDropsHealthAtTheMiddleBandsAndTheEnd) {
  PlayGame g;
  g->clock.GameMinutes = 5;
  UpdateAirPlane(*g, 0, 0, 0, kTrue);
  EXPECT_EQ(g->effects.AirPlaneY, 135);
  FlyOut(*g);
  std::multiset<int> lows;
  for (std::size_t i = 0; i < kBoxSlots; ++i) {
    if (g->play.HealthBoxOn[i] != kTrue) continue;
    const double x = g->play.HealthBoxX[i];
    lows.insert(x >= 250 ? 250 : static_cast<int>(x) / 20 * 20);
    EXPECT_GE(g->play.HealthBoxY[i], 150);
    EXPECT_LE(g->play.HealthBoxY[i], 164);
  }
  EXPECT_EQ(lows, (std::multiset<int>{100, 120, 140, 160, 180, 250}));
  ASSERT_EQ(g->play.AmmoBoxOn[0], kTrue);
  EXPECT_GE(g->play.AmmoBoxX[0], 150);
  EXPECT_LE(g->play.AmmoBoxX[0], 164);
  EXPECT_GE(g->play.AmmoBoxY[0], 140);
  EXPECT_EQ(g->play.AmmoBoxOn[1], 0);
  EXPECT_EQ(g->effects.Tallies.SupplyRuns, 1);
}

TEST(AirPlaneRuns, ASupplyRunInOtherMinutesAlsoDropsAtTheOuterBandsUntilTheSlotsAreFull) {
  PlayGame g;
  g->clock.GameMinutes = 10;
  UpdateAirPlane(*g, 0, 0, 0, kTrue);
  FlyOut(*g);
  // Bands from 60 to 240, with 220-250 met twice: eleven drops for ten slots, so the last one is lost.
  std::vector<double> xs;
  for (std::size_t i = 0; i < kBoxSlots; ++i) {
    ASSERT_EQ(g->play.HealthBoxOn[i], kTrue);
    xs.push_back(g->play.HealthBoxX[i]);
  }
  EXPECT_GE(xs.front(), 60);
  EXPECT_LT(xs.front(), 75);
  EXPECT_GE(xs.back(), 220);
  EXPECT_LT(xs.back(), 235);
}

TEST(AirPlaneRuns, EveryTwoHundredFiftyFramesAPlayerShortOfHealthAndBulletsGetsARunOrdered) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.Health = 39;
  player.Ammo = 5;
  for (int frame = 1; frame < 250; ++frame) Frame(*g);
  EXPECT_EQ(g->effects.AirPlaneOn, 0);
  EXPECT_EQ(g->effects.AirTimer, 249);
  Frame(*g);
  EXPECT_EQ(g->effects.AirPlaneOn, kTrue);
  EXPECT_EQ(g->effects.AirMission, 1) << "health first; the ammunition request finds the airplane busy";
  EXPECT_EQ(g.Starts(kSoundAirPlane), 2) << "the sound plays for both requests";
  EXPECT_EQ(g->effects.AirTimer, 0);

  PlayGame h;
  h->play.Fighters[0].Health = 40;
  h->play.Fighters[0].Ammo = 6;
  for (int frame = 0; frame < 250; ++frame) Frame(*h);
  EXPECT_EQ(h->effects.AirPlaneOn, 0) << "40 health and 6 bullets are enough";
  EXPECT_EQ(h->effects.AirTimer, 0);

  PlayGame k;
  k->play.Fighters[0].Ammo = 5;
  k->play.AmmoBoxOn[0] = kTrue;  // a pick-up lies in slot 0: no run
  for (int frame = 0; frame < 250; ++frame) Frame(*k);
  EXPECT_EQ(k->effects.AirPlaneOn, 0);
}

TEST(AirPlaneRuns, AnAutomaticRequestMovesAFlyingAirplaneASecondStepThatFrame) {
  PlayGame g;
  g->play.Fighters[0].Health = 10;
  g->effects.AirTimer = 249;
  UpdateAirPlane(*g, 0, 0, 0, kTrue);  // a supply run is flying: the automatic request is ignored
  EXPECT_EQ(g->effects.AirMission, 4);
  EXPECT_EQ(g->effects.AirPlaneX, 20);
}

TEST(BombIcon, ShowsTheNumberOfBombsAffordableAtItsPlace) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  Surface& field = g->surfaces.Field;
  field.foreColour = Rgb(9, 9, 9);
  player.Ammo = 29;
  field.Fill(0);
  Frame(*g);
  ASSERT_EQ(g.fonts.calls.size(), 1u);
  EXPECT_EQ(g.fonts.calls[0].text, "1    ");
  EXPECT_EQ(g.fonts.calls[0].size, 10);
  EXPECT_TRUE(g.fonts.calls[0].bold);
  EXPECT_EQ(GetPixel(field, 283, 279), Rgb(9, 9, 9));
  EXPECT_EQ(GetPixel(field, 282, 279), 0);
  EXPECT_EQ(field.fontSize, 8);
  EXPECT_FALSE(field.fontBold);

  player.Ammo = 150;
  field.Fill(0);
  Frame(*g);
  EXPECT_EQ(g.fonts.calls.back().text, "10   ");
  EXPECT_EQ(GetPixel(field, 280, 279), Rgb(9, 9, 9));
  EXPECT_EQ(GetPixel(field, 279, 279), 0);
}

TEST(BombIcon, HiddenBelowFifteenBulletsAndWhileThePlayerStandsInTheCorner) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.Ammo = 14;
  Frame(*g);
  player.Ammo = 100;
  player.X = 221;
  player.Y = 261;
  Frame(*g);
  EXPECT_TRUE(g.fonts.calls.empty());
  player.Y = 260;
  Frame(*g);
  EXPECT_EQ(g.fonts.calls.size(), 1u);
}

}  // namespace
}  // namespace kesmir
