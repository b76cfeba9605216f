// Airplane runs: starting and ignoring requests, the drops, the bomb run, the supply bands, the automatic
// drops and the bomb icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "render/effects.h"
#include "render/pickups.h"
#include "fakes/play_fixture.h"
#include "fakes/reference_picture.h"

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

TEST(AirPlaneRuns, AHealthThenAnAmmunitionRunStartLeftOfTheFieldAndDropNearThePlayerWhenPassingHim) {
  PlayGame g;
  Fighter& player = g->play.Fighters[0];
  player.X = 100;
  player.Y = 200;
  player.Recharge = 13;
  std::vector<double> dropYs;
  for (const bool ammo : {false, true}) {
    UpdateAirPlane(*g, ammo ? 0 : kTrue, ammo ? kTrue : 0, 0, 0);
    // Started at x -40 and flew its first 10 pixels.
    EXPECT_EQ(std::tuple(g->effects.AirPlaneX, g->effects.AirPlaneY), std::tuple(-30, 180));
    EXPECT_NEAR(g->effects.AirDropX, 100, 25);
    EXPECT_NEAR(g->effects.AirDropY, 200, 25);
    dropYs.push_back(g->effects.AirDropY);
    const auto& dropped = ammo ? g->play.AmmoBoxOn : g->play.HealthBoxOn;
    while (g->effects.AirPlaneX <= 100) {
      EXPECT_EQ(dropped[0], 0);
      Frame(*g);
    }
    EXPECT_EQ(g->effects.AirPlaneX, 110);
    EXPECT_EQ(dropped[0], kTrue);
    EXPECT_EQ(g->effects.AirMission, 0);
    FlyOut(*g);
    EXPECT_EQ(g->effects.AirPlaneX, -100);
    EXPECT_EQ(g->effects.AirPlaneOn, 0);
  }
  EXPECT_EQ(g->play.AmmoBoxAmount[0], 241 - 15 * 13 - 1) << "one less than sent, as in every pick-up";
  EXPECT_GT(std::abs(dropYs[0] - dropYs[1]), 1) << "the drop point is scattered";
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
  EXPECT_EQ(std::tuple(g->effects.AirDropX, g->effects.AirDropY), std::tuple(165, 85));
  g->input.CursorX = 50;  // the pointer moved: the bomb falls when the airplane passes it now
  while (g->effects.AirPlaneX <= 50) Frame(*g);
  EXPECT_EQ(g->play.ShakeOn, kTrue);
  EXPECT_EQ(std::tuple(g->effects.ExplosionX, g->effects.ExplosionY), std::tuple(165, 85));
  EXPECT_EQ(g.Starts(kSoundBomb), 1);
  EXPECT_EQ(g->effects.AirMission, 0);
  EXPECT_EQ(g->effects.Tallies.Bombs, 1);
}

// The pick-ups after a supply run (health red, bullets blue): in minute five health at the bands from 100 to 200
// and past 250, one bullet pick-up at 140-160; in other minutes also at the outer bands until the ten slots
// are full.
TEST(AirPlaneRuns, ASupplyRunDropsHealthAtItsBandsAndBulletsInTheMiddle) {
  Surface fields[2];
  for (const int minute : {5, 10}) {
    PlayGame g;
    g->clock.GameMinutes = static_cast<Integer>(minute);
    UpdateAirPlane(*g, 0, 0, 0, kTrue);
    EXPECT_EQ(g->effects.AirPlaneY, 135);
    while (g->effects.AirPlaneX < 250) Frame(*g);
    EXPECT_EQ(g->effects.AirMission, 4) << "the last drop comes past 250";
    FlyOut(*g);
    EXPECT_EQ(g->effects.Tallies.SupplyRuns, 1);
    g->surfaces.HealthDC = Surface(14, 7, Rgb(255, 0, 0));
    g->surfaces.AmmoDC = Surface(18, 7, Rgb(0, 0, 255));
    g->surfaces.Field.Fill(0);
    Integer none = 0;
    UpdateHealthBoxes(*g, 0, 0, 0);
    UpdateAmmoBoxes(*g, 0, 0, 0, none);
    fields[minute == 5 ? 0 : 1] = g->surfaces.Field;
  }
  EXPECT_EQ(testing::CompareWithReference("render/reference/supply_runs", {fields[0].View(), fields[1].View()}), "");
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

  // 40 health and 6 bullets are enough; 5 bullets are short, but a pick-up lying in slot 0 means no run.
  for (const bool boxLying : {false, true}) {
    PlayGame h;
    h->play.Fighters[0].Health = 40;
    h->play.Fighters[0].Ammo = boxLying ? 5 : 6;
    h->play.AmmoBoxOn[0] = boxLying ? kTrue : 0;
    for (int frame = 0; frame < 250; ++frame) Frame(*h);
    EXPECT_EQ(std::tuple(h->effects.AirPlaneOn, h->effects.AirTimer), std::tuple(0, 0)) << boxLying;
  }
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
  const testing::FakeFonts::Call& call = g.fonts.calls[0];
  EXPECT_EQ(std::tuple(call.text, call.size, call.bold), std::tuple("1    ", 10, true));
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
