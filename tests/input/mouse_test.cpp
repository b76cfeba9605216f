// The pointer on the play field in both display modes, the player's facing and confinement.
#include "input/mouse.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/startup.h"
#include "fakes/fake_platform.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(Mouse, ThePointerIsRelativeToTheFieldInBothModes) {
  struct Case {
    bool fullScreen;
    Point pointer;
    Long x, y;
  };
  FakeGame g;
  // The last pointer is on the black border of the full screen: outside the field, negative on the left.
  for (const Case& c :
       {Case{false, {37, 299}, 37, 299}, Case{true, {170, 50}, 0, 0}, Case{true, {5, 470}, -165, 420}}) {
    SetScreenMode(*g, c.fullScreen);
    g.mouse.position = c.pointer;
    ReadMousePos(*g);
    EXPECT_EQ(std::tuple(g->input.CursorX, g->input.CursorY), std::tuple(c.x, c.y))
        << c.pointer.x << "," << c.pointer.y;
  }
}

TEST(Mouse, ThePlayerFacesThePointerFromTheCentreOfItsSprite) {
  FakeGame g;
  Fighter& player = g->play.Fighters[0];
  player.X = 140;
  player.Y = 140;
  // The last pointer is on the centre itself: the facing stays.
  for (const auto& [pointer, facing] : {std::pair{Point{150, 100}, 270}, {Point{250, 150}, 0}, {Point{150, 150}, 0}}) {
    g.mouse.position = pointer;
    ReadMousePos(*g);
    EXPECT_EQ(player.Facing, facing) << pointer.x << "," << pointer.y;
  }
}

TEST(Mouse, ConfinementCoversTheFieldWhereverItIs) {
  FakeGame g;
  SetScreenMode(*g, true);
  ClipMouse(*g, true);
  ASSERT_TRUE(g.mouse.confines.back().has_value());
  const Rect field = *g.mouse.confines.back();
  EXPECT_EQ(std::tuple(field.x, field.y, field.w, field.h), std::tuple(170, 50, 300, 300));
  ClipMouse(*g, false);
  EXPECT_FALSE(g.mouse.confines.back().has_value());
}

}  // namespace
}  // namespace kesmir
