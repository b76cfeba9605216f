// Placing and drawing health and ammunition pick-ups.
#include "render/pickups.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes/play_fixture.h"
#include "game/acid.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using testing::PlayGame;

TEST(PickUps, RequestsOffTheFieldPlaceNothingAndDrawNothing) {
  FakeGame g;
  g->surfaces.HealthDC = Surface(14, 7, Rgb(255, 0, 0));
  g->play.HealthBoxOn[0] = kTrue;
  g->play.HealthBoxX[0] = 10;
  g->play.HealthBoxY[0] = 10;
  UpdateHealthBoxes(*g, kTrue, 291, 100);
  UpdateHealthBoxes(*g, kTrue, 100, 291);
  UpdateHealthBoxes(*g, kTrue, -1, 100);
  EXPECT_EQ(g->play.HealthBoxOn[1], 0);
  EXPECT_EQ(GetPixel(g->surfaces.Field, 12, 12), 0);
  UpdateHealthBoxes(*g, 0, 0, 0);
  EXPECT_EQ(GetPixel(g->surfaces.Field, 12, 12), Rgb(255, 0, 0));
  UpdateHealthBoxes(*g, kTrue, 290, 290);  // the last point that still takes one
  EXPECT_EQ(g->play.HealthBoxOn[1], kTrue);
}

TEST(PickUps, EveryPickUpFlickersBetweenTheTwoCellsOfItsPicture) {
  PlayGame g;
  Surfaces& s = g->surfaces;
  s.HealthDC = s.AcidDC = Surface(14, 7, Rgb(255, 0, 0));  // each picture's first cell red, its second blue
  s.AmmoDC = Surface(18, 7, Rgb(255, 0, 0));
  for (Surface* picture : {&s.HealthDC, &s.AmmoDC, &s.AcidDC})
    BitBlt(*picture, picture->Width() / 2, 0, 9, 7, Surface(9, 7, Rgb(0, 0, 255)), 0, 0, RasterOp::SrcCopy);
  g->play.HealthBoxOn[0] = g->play.AmmoBoxOn[0] = g->play.AcidOn[0] = kTrue;
  g->play.AmmoBoxX[0] = 30;
  g->play.AcidX[0] = 60;
  std::set<std::int64_t> seen[3];
  for (int frame = 0; frame < 20; ++frame) {
    Integer none = 0;
    s.Field.Fill(0);
    UpdateHealthBoxes(*g, 0, 0, 0);
    UpdateAmmoBoxes(*g, 0, 0, 0, none);
    UpdateAcid(*g, 0, 0);
    for (int i = 0; i < 3; ++i) seen[i].insert(GetPixel(s.Field, 30 * i + 6, 6));
  }
  for (const auto& colours : seen) EXPECT_EQ(colours, (std::set<std::int64_t>{Rgb(255, 0, 0), Rgb(0, 0, 255)}));
}

TEST(PickUps, APickUpLandsBesideTheRequestedPoint) {
  FakeGame g;
  for (int i = 0; i < 10; ++i) UpdateHealthBoxes(*g, kTrue, 100, 200);
  for (std::size_t i = 0; i < kBoxSlots; ++i) {
    EXPECT_EQ(g->play.HealthBoxOn[i], kTrue);
    EXPECT_GE(g->play.HealthBoxX[i], 100);
    EXPECT_LE(g->play.HealthBoxX[i], 114);
    EXPECT_GE(g->play.HealthBoxY[i], 200);
    EXPECT_LE(g->play.HealthBoxY[i], 214);
  }
  const double x = g->play.HealthBoxX[9];
  UpdateHealthBoxes(*g, kTrue, 5, 5);  // an eleventh request is dropped
  EXPECT_EQ(g->play.HealthBoxX[9], x);
}

TEST(PickUps, AnAmmunitionPickUpHoldsOneLessThanAskedAndAtMostFifty) {
  for (const auto& [asked, held] : {std::pair{100, 50}, std::pair{20, 19}, std::pair{2, 1}}) {
    FakeGame g;
    Integer amount = static_cast<Integer>(asked);
    UpdateAmmoBoxes(*g, kTrue, 50, 50, amount);
    EXPECT_EQ(amount, asked - 1);
    EXPECT_EQ(g->play.AmmoBoxOn[0], kTrue);
    EXPECT_EQ(g->play.AmmoBoxAmount[0], held);
  }
  FakeGame g;
  Integer one = 1;
  UpdateAmmoBoxes(*g, kTrue, 50, 50, one);
  EXPECT_EQ(g->play.AmmoBoxOn[0], 0);
  EXPECT_EQ(one, 0);
}

}  // namespace
}  // namespace kesmir
