// The main loop: its entry, a menu pass with its screens, pointer and sparks, a play pass, and the memory line.
#include "app/main_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/window_events.h"
#include "audio/sound_bank.h"
#include "fakes/play_fixture.h"
#include "fakes/surface_hash.h"
#include "input/field_events.h"

namespace kesmir {
namespace {

using testing::FakeGame;

TEST(MainLoop, TheEntryLaysThePanelOverTheMapAndAPassDrawsThePointerOnIt) {
  FakeGame g;
  Surfaces& s = g->surfaces;
  s.Terain.Fill(Rgb(0, 0, 0));
  s.MainMenuDC = Surface(270, 270, Rgb(255, 255, 255));
  s.CursorMenuDC = testing::Patterned(36, 18, 3);  // the pointer, then its mask
  g.keyboard.acquired = true;
  g->app.InputAcquired = true;
  MainLoopEntry(*g);
  g->settings.OptBloodFly = kOff;  // no menu particles over the pointer
  EXPECT_EQ(GetPixel(s.MenuField, 0, 0), 0);
  EXPECT_EQ(GetPixel(s.MenuField, 15, 15), Rgb(188, 188, 188));
  EXPECT_EQ(GetPixel(s.MenuField, 285, 285), 0);
  g.mouse.position = {100, 120};
  MainLoopPass(*g);
  EXPECT_EQ(g->input.CursorX, 100);
  EXPECT_EQ(testing::PixelHash(s.Field), 0x9b465e91393ce02full);  // the pointer centred on (100, 120), the menu over it
  const std::size_t clickable = g->menus.Clickable.size();
  MainLoopPass(*g);
  EXPECT_EQ(g->menus.Clickable.size(), clickable) << "each pass lists the clickable lines afresh";
}

TEST(MainLoop, EachScreenDrawsOnlyUnderItsNameAndTheMenuSparksAtThePointerAndOnThePanelsFourEdges) {
  FakeGame g;
  g->settings.OptDebugInfo = kOff;
  g->app.DegToRad = 3.14159265358979 / 180;  // sparks move in every direction
  g->app.MenuScreen = "NOWHERE";
  g->app.FieldOrigin = {170, 50};
  g.mouse.position = {170 + 40, 50 + 60};
  MainLoopPass(*g);
  EXPECT_EQ(std::pair(g->input.CursorX, g->input.CursorY), (std::pair<Long, Long>(40, 60)));
  EXPECT_EQ(g->app.MenuScreen, "NOWHERE");
  EXPECT_TRUE(g.fonts.calls.empty());  // an unknown screen shows the background and the pointer only
  // The menu's sparks: edge ones stay where they were made until the next pass, the pointer's moves at once.
  std::vector<int> sparks(5);  // top, bottom, left, right, elsewhere
  for (std::size_t i = 0; i < kBloodSlots; ++i) {
    const float x = g->play.BloodX[i], y = g->play.BloodY[i];
    if (g->play.BloodLife[i] > 0) ++sparks[y == 15 ? 0 : y == 285 ? 1 : x == 15 ? 2 : x == 285 ? 3 : 4];
  }
  EXPECT_EQ(sparks, std::vector<int>({4, 4, 4, 4, 1}));
  g->app.MenuScreen = "WS";
  g->settings.OptDebugInfo = kOn;
  MainLoopPass(*g);
  ASSERT_FALSE(g.fonts.calls.empty());
  EXPECT_EQ(g.fonts.calls.front().text, "WORLD SCORES");
  EXPECT_EQ(g.fonts.calls.back().text.substr(0, 4), "Ram:");  // the memory line follows the debug option
}

TEST(MainLoop, APlayPassHoldsThePointerPlaysUntilTheGameStopsThenSilencesItAndAMovementKeyResumes) {
  testing::PlayFixture play;
  Game& game = play.game;
  game.app.FieldOrigin = {170, 50};
  game.play.AcidTimer[1] = 3;  // one heart beats for each acid still burning
  game.effects.AirPlaneOn = game.play.CleanerOn = game.input.FireHeld = kTrue;
  play.player.Alive = 0;  // the first second of play ends the game
  const int shown = play.g.window.presents;
  MainLoopPass(game);
  EXPECT_GT(play.g.window.presents, shown + 1);  // frames of play ran after the pass's own
  EXPECT_EQ(game.app.GameStarted, 0);
  EXPECT_EQ(play.Played(kSoundHeart), 1);
  EXPECT_EQ(game.input.FireHeld, 0);
  const std::optional<Rect> held = play.g.mouse.confines.size() > 1 ? play.g.mouse.confines[1] : std::nullopt;
  EXPECT_TRUE(held && held->x == 170 && held->y == 50 && held->w == 300 && held->h == 300);
  for (const int id : {kSoundHeart, kSoundAirPlane, kSoundCleaner})
    EXPECT_FALSE(play.g.sound.buffers[SoundBuffer(id)].playing) << id;
  // The window's events: a press beside the field is not the field's, W resumes, the field's last row fires.
  game.app.GameStarted = game.app.GameStopped = kTrue;
  game.settings.SoundVolume = 50;
  play.g.window.events = {{EventKind::MouseDown, 1, {169, 100}}, {EventKind::KeyDown, kVkW, {}}};
  DoEvents(game);
  EXPECT_EQ(game.input.FireHeld, 0);
  EXPECT_EQ(game.app.GameStopped, 0);
  const auto& ambience = play.g.sound.buffers[SoundBuffer(kSoundGameAmbience)];
  EXPECT_TRUE(ambience.playing && ambience.looping && ambience.volume == 32 * 50 - 3300);
  EXPECT_FALSE(play.g.sound.buffers[SoundBuffer(kSoundMenuAmbience)].playing);
  play.g.window.events = {{EventKind::MouseDown, 1, {170, 50 + 299}}};
  DoEvents(game);
  EXPECT_EQ(game.input.FireHeld, kTrue);
}

TEST(MainLoop, AWindowThatLosesTheFocusPausesAGameInPlayAsEscDoesAndChangesNothingInTheMenus) {
  testing::PlayFixture play;
  Game& game = play.game;
  game.app.InputAcquired = true;
  play.g.window.events = {{EventKind::FocusLost, 0, {}}};
  MainLoopPass(game);
  EXPECT_TRUE(game.app.GameStopped == kTrue && play.g.sound.buffers[SoundBuffer(kSoundMenuAmbience)].playing);
  game.app.MenuScreen = "ABOUT";  // paused on a screen, a lost focus is no Esc: the screen stays
  play.g.window.events = {{EventKind::FocusLost, 0, {}}};
  MainLoopPass(game);
  MainLoopPass(game);
  EXPECT_EQ(game.app.MenuScreen, "ABOUT");
  EXPECT_FALSE(play.g.mouse.confines.back().has_value());  // the pointer freed
}

TEST(MainLoop, TheMemoryLineIsAlwaysFortyCharacters) {
  // 524288 KB free integer-divided by the rounded 10486 KB per percent.
  EXPECT_EQ(MemoryLine({1024ull * 1024 * 1024, 512ull * 1024 * 1024}), "Ram:49%(524 Mb)" + std::string(25, ' '));
  for (const MemoryStatus m : {MemoryStatus{0, 0}, MemoryStatus{1, 1}, MemoryStatus{1ull << 45, 1ull << 44},
                               MemoryStatus{24ull << 30, 20ull << 30}}) {
    EXPECT_EQ(MemoryLine(m).size(), 40u);
  }
}

}  // namespace
}  // namespace kesmir
