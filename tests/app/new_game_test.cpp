// A new game, the fighter definitions and the spawning of opponents and waves.
#include "app/new_game.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes/fake_platform.h"
#include "game/frame.h"
#include "input/keyboard.h"

namespace kesmir {
namespace {

using testing::FakeGame;

std::string Line(const std::string& key, const std::string& value) {
  std::string line = key;
  line.resize(21, ' ');
  return line + value + "\r\n";
}

struct Spawning : ::testing::Test {
  FakeGame g;
  void SetUp() override {
    g->app.DegToRad = std::atan(1.0) * 4.0 / 180.0;
    g.WriteDataFile("OtherFiles/DEFAULT.txt", Line("NA", "Player") + "END\r\n");
    g.WriteDataFile("OtherFiles/LVL1.txt", Line("NA", "Soldier") + Line("EE", "2") + "END\r\n");
    NewGame(*g);
  }
  int Opponents() const {
    int count = 0;
    for (std::size_t i = 1; i < kFighterSlots; ++i) count += g.game->play.Fighters[i].Alive != 0 ? 1 : 0;
    return count;
  }
};

TEST_F(Spawning, ANewGameSetsUpThePlayerAndClearsTheField) {
  const Fighter& p = g->play.Fighters[0];
  EXPECT_EQ(p.Alive, kTrue);
  EXPECT_EQ(p.Name, "Player");
  EXPECT_EQ(p.Facing, 270);
  EXPECT_EQ(p.X, 140);
  EXPECT_EQ(p.Ammo, 20);
  EXPECT_EQ(p.Health, 100);
  EXPECT_EQ(p.Range, 60);
  EXPECT_EQ(p.DateStamp, "20020827");
  EXPECT_EQ(g->app.GameStarted, kTrue);
  EXPECT_EQ(g->play.FireMode, 1);

  g->play.Fighters[5].Alive = kTrue;
  g->play.Bullets[7].Life = 9;
  g->play.AmmoBoxOn[2] = kTrue;
  g->play.Score = 99;
  NewGame(*g);
  EXPECT_EQ(Opponents(), 0);
  EXPECT_EQ(g->play.Bullets[7].Life, 0);
  EXPECT_EQ(g->play.AmmoBoxOn[2], 0);
  EXPECT_EQ(g->play.Score, 0);
}

TEST_F(Spawning, OpponentsAppearOnTheCircleAroundTheFieldWithThePlayersStrength) {
  GameTick(*g);
  ASSERT_EQ(Opponents(), 1);
  const Fighter& f = g->play.Fighters[1];
  EXPECT_NEAR(std::hypot(f.X - 140, f.Y - 140), 210, 0.01);
  EXPECT_EQ(f.Name, "Soldier");
  EXPECT_EQ(f.Melee, 2);  // of the definition's values only the name and melee survive
  EXPECT_EQ(f.Ammo, 10);
  EXPECT_EQ(f.BulletSpeed, 3);
  EXPECT_EQ(f.Kind, "AiLVL0");
  EXPECT_EQ(f.Recharge, 15);
  EXPECT_GT(f.Range, 40);
  EXPECT_LE(f.Range, 60);
  EXPECT_GE(f.Health, 9);
  EXPECT_LT(f.Health, 36);

  g->clock.GameMinutes = 3;  // a weak player meets stronger opponents from minute 3
  GameTick(*g);
  EXPECT_EQ(g->play.Fighters[2].BulletSpeed, 5);
  EXPECT_EQ(g->play.Fighters[2].Kind, "AiLVL1");
}

TEST_F(Spawning, TheNumberAliveIsLimitedByTheMinute) {
  const std::pair<int, int> limits[] = {{0, 3}, {1, 3}, {2, 4}, {3, 5}, {4, 5}, {5, 6}, {17, 18}, {25, 26}, {26, 49}};
  for (const auto& [minute, limit] : limits) {
    g->clock.GameMinutes = static_cast<Integer>(minute);
    g->play.FightersAlive = static_cast<Integer>(limit + 1);
    const int before = Opponents();
    GameTick(*g);
    EXPECT_EQ(Opponents(), before) << "minute " << minute;
    g->play.FightersAlive = static_cast<Integer>(limit);
    GameTick(*g);
    EXPECT_EQ(Opponents(), before + 1) << "minute " << minute;
  }
}

TEST_F(Spawning, AWavePlacesElevenAtOnceEightOfThemAtFixedPoints) {
  g->app.WaveCount = 11;
  g->play.FightersAlive = 40;  // the limit does not hold a wave back
  GameTick(*g);
  EXPECT_EQ(Opponents(), 11);
  EXPECT_EQ(g->app.WaveCount, 0);
  const Fighter& first = g->play.Fighters[1];  // number 11
  EXPECT_EQ(first.X, 280);
  EXPECT_EQ(first.Y, -20);
  EXPECT_EQ(g->play.Fighters[3].X, 210);  // number 9
  EXPECT_EQ(g->play.Fighters[3].Y, 320);
  EXPECT_EQ(g->play.Fighters[11].X, 20);  // number 1
  EXPECT_NEAR(std::hypot(g->play.Fighters[2].X - 140, g->play.Fighters[2].Y - 140), 210, 0.01);  // number 10
  for (std::size_t i = 1; i <= 11; ++i) {
    EXPECT_GE(g->play.Fighters[i].Speed, 7);
    EXPECT_LT(g->play.Fighters[i].Speed, 12);
    EXPECT_GE(g->play.Fighters[i].Ammo, 8);
    EXPECT_LE(g->play.Fighters[i].Ammo, 18);
  }
}

TEST_F(Spawning, AFullTableSpawnsNothingAndLeavesTheRestOfTheTickUndone) {
  for (std::size_t i = 1; i < kFighterSlots; ++i) {
    g->play.Fighters[i].Alive = kTrue;
    g->play.Fighters[i].Ammo = 77;
  }
  g->app.WaveCount = 3;
  GameTick(*g);
  EXPECT_EQ(g->app.WaveCount, 3);
  for (std::size_t i = 1; i < kFighterSlots; ++i) EXPECT_EQ(g->play.Fighters[i].Ammo, 77);
}

TEST_F(Spawning, APausedGameTicksNothing) {
  g->app.GameStopped = kTrue;
  GameTick(*g);
  EXPECT_EQ(Opponents(), 0);
}

TEST_F(Spawning, ANewGameStartedFromAPauseBetweenSpawnsSpawnsAgainAndEndsInDeath) {
  Game& game = *g;
  game.app.InputAcquired = true;
  const auto playUntil = [&game](auto done) {
    for (int frame = 0; frame < 400 && !done(); ++frame) RunFrame(game);
    return done();
  };
  // Minute 4, second 58: at 5:00 the wave is due and the spawn timer stands at 2.
  game.clock.GameMinutes = 4;
  game.clock.GameSeconds = 58;
  ASSERT_TRUE(playUntil([&] { return game.clock.GameMinutes == 5; }));
  ASSERT_EQ(game.clock.SpawnTimer, 2);
  ASSERT_EQ(game.app.WaveCount, 11);
  g.keyboard.Press(kDikEscape);
  RunFrame(game);
  g.keyboard.ReleaseKey(kDikEscape);
  ASSERT_EQ(game.app.GameStopped, kTrue);

  NewGame(game);
  ASSERT_TRUE(playUntil([&] { return Opponents() > 0; }));
  EXPECT_EQ(Opponents(), 1);  // one at 0:01, not the eleven of the old game's wave
  EXPECT_EQ(game.clock.GameSeconds, 1);
  game.play.Fighters[0].Health = 0;
  game.play.Fighters[0].Alive = 0;
  EXPECT_TRUE(playUntil([&] { return game.app.GameStarted == 0; }));
}

TEST(FighterDefinitions, TheLastKeyWinsAndAMissingKeyRepeatsThePreviousValue) {
  FakeGame g;
  g.WriteDataFile("OtherFiles/X.txt", Line("NA", "First") + Line("OM", "33") + Line("NA", "Second") +
                                          Line("  HT  ", "  7.5  ") + "END\r\n" + Line("OM", "99"));
  ASSERT_TRUE(LoadFighter(*g, "X"));
  const Fighter& f = g->play.Fighters[0];
  EXPECT_EQ(f.Name, "Second");
  EXPECT_EQ(f.Ammo, 33);    // the line after END is not read
  EXPECT_EQ(f.Speed, 33);   // "DE" is missing: the value of "OM" repeats
  EXPECT_EQ(f.Health, 7.5);
  EXPECT_EQ(f.Accuracy, 8);  // "EL" missing: 7.5 again, rounded to even
  EXPECT_EQ(g->play.FighterSlot, 0);
  EXPECT_EQ(f.Alive, kTrue);
}

TEST(FighterDefinitions, BrokenFilesNeverCrashAndStillCreateTheFighter) {
  FakeGame g;
  std::string binary(3000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 + 7);
  std::string longFile;
  for (int i = 0; i < 6000; ++i) longFile += i == 5001 ? Line("OM", "12") : Line("ZZ", "1");
  const std::pair<const char*, std::string> files[] = {
      {"Empty", ""},
      {"Binary", binary},
      {"Short", "NA\r\nOM 5\r\nDE\r\n"},
      {"NoEnd", Line("NA", "Kept") + Line("OM", "44")},
      {"Long", longFile},
      {"Huge", Line("OM", "999999999") + Line("HT", "1e300") + "END"},
  };
  int slot = 0;
  for (const auto& [name, contents] : files) {
    g.WriteDataFile(std::string("OtherFiles/") + name + ".txt", contents);
    ASSERT_TRUE(LoadFighter(*g, name)) << name;
    EXPECT_EQ(g->play.Fighters[static_cast<std::size_t>(slot)].Alive, kTrue) << name;
    ++slot;
  }
  EXPECT_EQ(g->play.Fighters[3].Name, "Kept");  // the end of the file counts as END
  EXPECT_EQ(g->play.Fighters[3].Ammo, 44);
  EXPECT_NE(g->play.Fighters[4].Ammo, 12);  // only the first 5001 lines are read
  ASSERT_TRUE(LoadFighter(*g, "Missing"));  // a missing file repeats the last value read
  EXPECT_EQ(g->play.Fighters[6].Alive, kTrue);
}

}  // namespace
}  // namespace kesmir
