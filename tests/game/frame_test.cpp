// One frame of play: every step drawn in its order and place, the yield every second frame, and the pause.
#include "game/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "fakes/play_fixture.h"
#include "fakes/reference_picture.h"

namespace kesmir {
namespace {

using testing::PlayFixture;

// `count` sprite cells of w x h side by side, each mask `maskDx`, `maskDy` from its image: a diamond in a
// colour of its own per cell, over a mask that keeps the ground around it.
Surface Sheet(int w, int h, int count, int maskDx, int maskDy, int red) {
  Surface sheet(w * count + maskDx, h + maskDy, 0);
  for (int i = 0; i < w * h * count; ++i) {
    const int x = i % w;
    const int y = i / w % h;
    const int c = i / (w * h);
    const bool inside = std::abs(2 * x - w + 1) * h + std::abs(2 * y - h + 1) * w <= w * h;
    SetPixel(sheet, c * w + x, y, inside ? Rgb(red, 60 + 2 * c, 250 - 3 * c) : 0);
    SetPixel(sheet, c * w + x + maskDx, y + maskDy, inside ? 0 : 0xFFFFFF);
  }
  return sheet;
}

TEST(Frame, FourFramesOfPlayDrawEveryStepInItsPlace) {
  PlayFixture f;
  Surfaces& s = f.game.surfaces;
  for (int y = 0; y < kFieldSize; ++y)
    for (int x = 0; x < kFieldSize; ++x) SetPixel(s.Terain, x, y, Rgb(x * 3 / 4, y * 3 / 4, 90));
  s.PlayerDC = Sheet(21, 21, 72, 0, 21, 250);
  s.AiLVL0DC = Sheet(21, 21, 72, 0, 21, 100);
  s.AiLVL4DC = Sheet(21, 21, 72, 0, 21, 200);
  s.ExplosionDC = Sheet(64, 64, 27, 0, 64, 150);
  s.BoomDirtDC = Sheet(64, 64, 1, 64, 0, 40);
  s.CleanerDC = Sheet(50, 64, 1, 50, 0, 180);
  s.CleanLineDC = Sheet(49, 360, 1, 0, 360, 220);
  s.AirPlaneDC = Sheet(40, 40, 1, 40, 0, 120);
  s.BombIconDC = Sheet(30, 30, 1, 30, 0, 60);
  s.AcidHearthDC = Sheet(30, 30, 3, 0, 30, 30);
  s.BulletsOutDC = Sheet(11, 11, 1, 0, 11, 255);
  s.CursorFireDC = Sheet(9, 9, 1, 9, 0, 0);
  s.DeadDC = Sheet(20, 80, 1, 20, 0, 90);
  s.HealthDC = Sheet(7, 7, 2, 0, 7, 240);
  s.AmmoDC = Sheet(9, 7, 2, 0, 7, 170);
  s.AcidDC = Sheet(7, 7, 2, 0, 7, 70);
  s.FootDC = Surface(2, 2, Rgb(60, 40, 20));
  f.game.settings.OptScoreInfo = f.game.settings.OptDebugInfo = kOff;
  f.game.settings.OptBloodStays = kOff;  // the blood flies but leaves no stain
  f.game.clock.SecondMark = 1000;  // no once-a-second work in these frames
  f.game.clock.MaxSpin = 60000;    // time to spare: the snow grows
  f.game.effects.SnowAmount = 60;
  f.g.mouse.position = {210, 90};
  f.game.input.FireHeld = kTrue;
  f.p.FireMode = 2;
  Fighter& shooter = f.Opponent(1, 60, 60);
  shooter.Range = 300;
  shooter.Cooldown = 0;
  Fighter& weak = f.Opponent(2, 230, 200);  // flees from the player in its range
  weak.Kind = "AiLVL4";
  weak.BulletSpeed = 11;
  weak.Health = 5;
  weak.Range = 150;
  f.Opponent(3, 60, 195).Health = 30;  // killed by the blast
  f.Opponent(4, 215, 50);              // under the Cleaner
  f.p.HealthBoxOn[0] = f.p.AcidOn[2] = kTrue;
  f.p.HealthBoxX[0] = f.p.AcidX[2] = 100;
  f.p.HealthBoxY[0] = 120;
  f.p.AcidY[2] = 240;
  f.p.AcidTimer[1] = 300;
  f.p.ShakeOn = f.p.CleanerOn = kTrue;  // an explosion at its sixth frame, the Cleaner driving down
  EffectsState& e = f.game.effects;
  e.ExplosionFrame = 6;
  e.ExplosionX = 40;
  e.ExplosionY = 170;
  f.p.CleanerX = 200;
  f.p.CleanerY = 10;
  e.AirPlaneOn = kTrue;  // bringing bullets, dropped when it passes the player in the fourth frame
  e.AirMission = 2;
  e.AirPlaneX = 110;
  e.AirPlaneY = 100;
  e.AirDropX = e.AirDropY = 170;
  const int polls = f.g.window.polls;  // the loading screen's
  const int presents = f.g.window.presents;
  for (int frame = 1; frame <= 4; ++frame) {
    RunFrame(f.game);
    EXPECT_EQ(f.g.window.polls - polls, frame / 2) << "the window system has its turn after every second frame";
  }
  EXPECT_EQ(testing::CompareWithReference("game/reference/four_frames", {s.Field.View(), s.Terain.View()}), "");

  f.game.app.GameStopped = kTrue;  // paused: the input is read and nothing else happens
  f.game.app.InputAcquired = true;
  f.g.mouse.position = {150, 0};
  const Surface field = s.Field;
  RunFrame(f.game);
  EXPECT_EQ(f.player.Facing, 270) << "turned to the pointer";
  EXPECT_EQ(f.g.keyboard.reads, 1);
  EXPECT_EQ(f.g.window.presents - presents, 4);
  EXPECT_TRUE(std::equal(field.Row(0), field.Row(0) + kFieldSize * kFieldSize, s.Field.Row(0)));
}

}  // namespace
}  // namespace kesmir
