// A new game, the fighter definitions and the spawning of opponents and waves.
#include "app/new_game.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "fakes/play_fixture.h"
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

struct Spawning : ::testing::Test, testing::PlayFixture {
  void SetUp() override {
    g.WriteDataFile("OtherFiles/DEFAULT.txt", Line("NA", "Player") + "END\r\n");
    g.WriteDataFile("OtherFiles/LVL1.txt", Line("NA", "Soldier") + Line("EE", "2") + "END\r\n");
    NewGame(*g);
  }
};

TEST_F(Spawning, ANewGameSetsUpThePlayerAndClearsTheField) {
  EXPECT_EQ(std::tuple(player.Alive, player.Name, player.Facing, player.X, player.Ammo, player.Health, player.Range),
            std::tuple(kTrue, "Player", 270, 140, 20, 100, 60));
  EXPECT_EQ(std::tuple(player.DateStamp, g->app.GameStarted, g->play.FireMode), std::tuple("20020827", kTrue, 1));

  p.Fighters[5].Alive = p.AmmoBoxOn[2] = p.HealthBoxOn[1] = p.AcidOn[3] = p.CleanerOn = p.ShakeOn = kTrue;
  g->effects.AirPlaneOn = kTrue;
  p.Bullets[7].Life = 9;
  p.AcidTimer[0] = 600;
  p.Score = p.StatBonus = 99;
  g.pictures.loaded.clear();
  NewGame(*g);
  EXPECT_EQ(Opponents(), 0);
  EXPECT_EQ(g.pictures.loaded, std::vector<std::string>{"Map02.bmp"});  // one of the four terrains
  EXPECT_EQ(std::tuple(p.Bullets[7].Life, p.AmmoBoxOn[2], p.HealthBoxOn[1], p.AcidOn[3], p.AcidTimer[0], p.CleanerOn,
                       p.ShakeOn, g->effects.AirPlaneOn, p.Score, p.StatBonus),
            std::tuple(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  // One new game in five keeps the last terrain with its marks; the others load one of the four.
  g.pictures.loaded.clear();
  for (int i = 0; i < 30; ++i) NewGame(*g);
  for (const std::string& map : g.pictures.loaded) EXPECT_TRUE(map >= "Map01.bmp" && map <= "Map04.bmp") << map;
  EXPECT_LT(g.pictures.loaded.size(), 30u);
}

TEST_F(Spawning, OpponentsAppearOnTheCircleAroundTheFieldWithThePlayersStrength) {
  GameTick(*g);
  ASSERT_EQ(Opponents(), 1);
  EXPECT_EQ(g->app.GameStarted, kTrue);  // the player lives: the game goes on
  const Fighter& f = g->play.Fighters[1];
  EXPECT_NEAR(std::hypot(f.X - 140, f.Y - 140), 210, 0.01);
  // Of the definition's values only the name and melee survive.
  EXPECT_EQ(std::tuple(f.Name, f.Melee, f.Ammo, f.BulletSpeed, f.Kind, f.Recharge),
            std::tuple("Soldier", 2, 10, 3, "AiLVL0", 15));
  EXPECT_GT(f.Range, 40);
  EXPECT_LE(f.Range, 60);
  EXPECT_GE(f.Health, 9);
  EXPECT_LT(f.Health, 36);

  g->clock.GameMinutes = 2;  // a weak player meets stronger opponents from minute 3
  GameTick(*g);
  EXPECT_EQ(g->play.Fighters[2].BulletSpeed, 3);
  g->clock.GameMinutes = 3;
  GameTick(*g);
  EXPECT_EQ(std::tuple(g->play.Fighters[3].BulletSpeed, g->play.Fighters[3].Kind), std::tuple(5, "AiLVL1"));
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

TEST_F(Spawning, AWavePlacesElevenAtOnceEightOfThemAtFixedPointsAllAsStrongAsThePlayer) {
  g->app.WaveCount = 11;
  g->play.FightersAlive = 40;  // the limit does not hold a wave back
  g->play.Fighters[0].BulletSpeed = 7;  // a levelled-up player
  GameTick(*g);
  EXPECT_EQ(Opponents(), 11);
  EXPECT_EQ(g->app.WaveCount, 0);
  // Slot 1 holds number 11 of the wave, slot 11 number 1; numbers 10, 6 and 2 keep their place on the circle.
  const std::map<int, std::pair<float, float>> points = {{11, {280, -20}}, {9, {210, 320}}, {8, {190, 320}},
      {7, {170, -20}}, {5, {130, -20}}, {4, {110, 320}}, {3, {90, 320}}, {1, {20, -20}}};
  for (std::size_t i = 1; i <= 11; ++i) {
    const Fighter& f = g->play.Fighters[i];
    const auto point = points.find(12 - static_cast<int>(i));
    EXPECT_TRUE(point != points.end() ? std::make_pair(f.X, f.Y) == point->second
                                      : std::abs(std::hypot(f.X - 140, f.Y - 140) - 210) < 0.01) << i;
    // Bullets of speed 3 to the player's 7, health 1 to 4 times a tenth of the player's gauge.
    EXPECT_TRUE(f.Speed >= 7 && f.Speed < 12 && f.Ammo >= 8 && f.Ammo <= 18 && f.BulletSpeed >= 3 &&
                f.BulletSpeed <= 7 && f.Health >= 21 && f.Health < 84) << i;
    EXPECT_EQ(f.Kind, "AiLVL" + std::to_string((f.BulletSpeed - 3) / 2)) << i;
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

TEST_F(Spawning, APausedGameTicksNothingAndADeadPlayerEndsTheGameAtTheNextTick) {
  g->app.GameStopped = kTrue;
  g->play.Fighters[0].Alive = 0;
  GameTick(*g);
  EXPECT_EQ(Opponents(), 0);
  EXPECT_EQ(g->app.GameStarted, kTrue);
  g->app.GameStopped = 0;
  GameTick(*g);
  EXPECT_EQ(g->app.GameStarted, 0);
}

TEST_F(Spawning, ANewGameStartedFromAPauseBetweenSpawnsSpawnsAgainAndEndsInDeath) {
  game.app.InputAcquired = true;
  const auto playUntil = [this](auto done) {
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
  // The line after END is not read; "DE" is missing: the value of "OM" repeats; "EL" is missing: 7.5 again,
  // rounded to even.
  EXPECT_EQ(std::tuple(f.Name, f.Ammo, f.Speed, f.Health, f.Accuracy, g->play.FighterSlot, f.Alive),
            std::tuple("Second", 33, 33, 7.5, 8, 0, kTrue));
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
  // The end of the file counts as END.
  EXPECT_EQ(std::tuple(g->play.Fighters[3].Name, g->play.Fighters[3].Ammo), std::tuple("Kept", 44));
  EXPECT_NE(g->play.Fighters[4].Ammo, 12);  // only the first 5001 lines are read
  ASSERT_TRUE(LoadFighter(*g, "Missing"));  // a missing file repeats the last value read
  EXPECT_EQ(g->play.Fighters[6].Alive, kTrue);
}

}  // namespace
}  // namespace kesmir
