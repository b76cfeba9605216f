// The pointer on the play field in both display modes, the player's facing and confinement.
#include "input/mouse.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(Mouse, ThePointerIsRelativeToTheFieldInBothModes) {
  FakeGame g;
  SetScreenMode(*g, false);
  g.mouse.position = {37, 299};
  ReadMousePos(*g);
  EXPECT_EQ(g->input.CursorX, 37);
  EXPECT_EQ(g->input.CursorY, 299);
  SetScreenMode(*g, true);
  g.mouse.position = {170, 50};
  ReadMousePos(*g);
  EXPECT_EQ(g->input.CursorX, 0);
  EXPECT_EQ(g->input.CursorY, 0);
  g.mouse.position = {5, 470};  // on the black border: outside the field, negative on the left
  ReadMousePos(*g);
  EXPECT_EQ(g->input.CursorX, -165);
  EXPECT_EQ(g->input.CursorY, 420);
}

TEST(Mouse, ThePlayerFacesThePointerFromTheCentreOfItsSprite) {
  FakeGame g;
  Fighter& player = g->play.Fighters[0];
  player.X = 140;
  player.Y = 140;
  g.mouse.position = {150, 100};
  ReadMousePos(*g);
  EXPECT_EQ(player.Facing, 270);
  g.mouse.position = {250, 150};
  ReadMousePos(*g);
  EXPECT_EQ(player.Facing, 0);
  g.mouse.position = {150, 150};  // on the centre itself: the facing stays
  ReadMousePos(*g);
  EXPECT_EQ(player.Facing, 0);
}

TEST(Mouse, ConfinementCoversTheFieldWhereverItIs) {
  FakeGame g;
  SetScreenMode(*g, true);
  ClipMouse(*g, true);
  ASSERT_TRUE(g.mouse.confines.back().has_value());
  EXPECT_EQ(g.mouse.confines.back()->x, 170);
  EXPECT_EQ(g.mouse.confines.back()->y, 50);
  EXPECT_EQ(g.mouse.confines.back()->w, 300);
  EXPECT_EQ(g.mouse.confines.back()->h, 300);
  ClipMouse(*g, false);
  EXPECT_FALSE(g.mouse.confines.back().has_value());
}

}  // namespace
}  // namespace kesmir
