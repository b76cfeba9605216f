// The local high-score list: where a score enters, what its row holds, the name entry and the screen.
#include "scores/high_scores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/window_events.h"
#include "audio/sound_bank.h"
#include "fakes/fake_platform.h"
#include "fakes/surface_hash.h"
#include "input/keyboard.h"
#include "scores/score_files.h"

namespace kesmir {
namespace {

using testing::FakeGame;

constexpr int kJingle1 = 33;
constexpr int kJingle3 = 35;

struct HighScores : ::testing::Test {
  FakeGame g;
  ScoreLists& lists = g->scores;

  void SetUp() override {
    LoadSounds(*g);
    // Scores 900, 800, ..., 0 at places 0..9 and 0 at place 10, named after their old places.
    for (int place = 0; place < kLocalRows; ++place) {
      ScoreLineFields row{"", "  9", "01:02", " 1", " 1", " 1", " 1", " 90", "210", "    3", "20230101", ""};
      row.score = AlignScoreField(std::to_string(place < 10 ? 900 - 100 * place : 0), 5);
      row.name = "P" + std::to_string(place);
      SetLocalRow(lists, place, row);
    }
    lists.HsLoadCount = 1;  // the list is loaded: the throttle keeps the disk out of it
    Fighter& player = g->play.Fighters[0];
    player.Accuracy = 16;
    player.Recharge = 11;
    player.BulletSpeed = 6;
    player.Melee = 2;
    player.DateStamp = "20240229";
    g->play.Kills = 57;
    g->clock.GameMinutes = 7;
    g->clock.GameSeconds = 5;
    g->settings.TimesPlayed = 14;
    g->app.MenuScreen = "HS";
  }
  long Plays(int soundId) {
    return std::count_if(g.sound.starts.begin(), g.sound.starts.end(),
                         [soundId](const auto& start) { return start.buffer == SoundBuffer(soundId); });
  }
  std::string Name(int place) const { return lists.HsName[static_cast<std::size_t>(place)]; }
  bool Drew(const std::string& text, int size = 0) const {
    return std::any_of(g.fonts.calls.begin(), g.fonts.calls.end(),
                       [&](const auto& c) { return c.text == text && (size == 0 || c.size == size); });
  }
  // One pass of the screen with the keys given down.
  void Pass(std::initializer_list<int> keys = {}) {
    std::fill(std::begin(g->input.KeyState), std::end(g->input.KeyState), 0);
    for (int key : keys) g->input.KeyState[key] = 0x80;
    g.fonts.calls.clear();
    HighScoresScreen(*g);
  }
  void Type(const std::string& text) {
    g.window.Type(text);
    DoEvents(*g);
  }
};

TEST_F(HighScores, AScoreTakesThePlaceItBeatsAndTheRowsBelowMoveDown) {
  g->app.MenuScreen.clear();
  UpdateHighScores(*g, 850);
  // The rows below move down; the old tenth is the eleventh now.
  EXPECT_EQ(lists.HsName, (LocalColumn{"P0", "P1", "P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8", "P9"}));
  EXPECT_EQ(std::tuple(lists.NameEntryOn, lists.InsertIndex, g->app.MenuScreen, Plays(kJingle1)),
            std::tuple(kTrue, 1, "HS", 1));

  // The statistics of the game, aligned in their columns; the name column waits for the name entry.
  EXPECT_EQ(JoinScoreLine(LocalRow(lists, 1)),
            "  850K= 57 T=07:05 A= 5 R= 4 B= 3 M= 2 MH=180 MA= 75 TP=   14HD=20240229?????????? N=P1");
}

TEST_F(HighScores, EqualScoresGoBelowAndTheTopScoreGoesFirst) {
  // The jingle of the first three places, of the fourth to the sixth, and of those below, at their edges.
  for (const auto& [score, jingle] : {std::pair{750, kJingle1}, {650, 34}, {350, kJingle3}}) {
    FakeGame other;
    LoadSounds(*other);
    other->scores = lists;
    UpdateHighScores(*other, score);
    ASSERT_EQ(other.sound.starts.size(), 1u) << score;
    EXPECT_EQ(other.sound.starts[0].buffer, SoundBuffer(jingle)) << score;
  }
  UpdateHighScores(*g, 500);  // equal to place 4
  // Sound 34 is the jingle of places 4 to 6.
  EXPECT_EQ(std::tuple(lists.InsertIndex, Plays(34), Name(4), Name(6)), std::tuple(5, 1, "P4", "P5"));

  FakeGame other;
  other->scores = lists;
  other->scores.NameEntryOn = 0;
  UpdateHighScores(*other, 1000);
  EXPECT_EQ(std::tuple(other->scores.InsertIndex, other->scores.HsScore[0], other->scores.HsName[1]),
            std::tuple(0, " 1000", "P0"));
}

TEST_F(HighScores, TheEleventhRowAndScoresBelowIt) {
  lists.HsScore[10] = "   -5";
  g->app.MenuScreen.clear();
  const LocalColumn names = lists.HsName;
  // Above the eleventh row only: the jingle and the screen, but no row and no name entry.
  UpdateHighScores(*g, -2);
  EXPECT_EQ(std::tuple(Plays(kJingle3), g->app.MenuScreen, lists.NameEntryOn), std::tuple(1, "HS", 0));
  EXPECT_EQ(lists.HsName, names);

  // Not above the eleventh row: nothing at all.
  g->app.MenuScreen.clear();
  g.sound.starts.clear();
  UpdateHighScores(*g, -5);
  EXPECT_TRUE(g.sound.starts.empty());
  EXPECT_EQ(g->app.MenuScreen, "");
}

TEST_F(HighScores, NumbersTooWideForTheirColumnsAreKeptWithinThem) {
  g->play.Kills = 4321;
  g->clock.GameMinutes = 100;  // the first minute that no longer fits
  g->play.Fighters[0].DateStamp = "";
  g->settings.TimesPlayed = 1234567;
  UpdateHighScores(*g, 32767);
  lists.HsName[0] = "Long Game";  // so the row reads back whole, name included
  const std::string row =
      "32767K=999 T=99:59 A= 5 R= 4 B= 3 M= 2 MH=180 MA= 75 TP=99999HD=        ?????????? N=Long Game";
  EXPECT_EQ(JoinScoreLine(LocalRow(lists, 0)), row);
  EXPECT_EQ(JoinScoreLine(CutScoreLine(row)), row);
  g->play.Kills = -3;
  // The last minute that fits, and a whole minute.
  std::size_t place = 1;  // each equal to the rows above it: it goes below them
  for (const auto& [minutes, seconds, shown] : {std::tuple{99, 10, "99:10"}, std::tuple{10, 0, "10:00"}}) {
    g->clock.GameMinutes = static_cast<Integer>(minutes);
    g->clock.GameSeconds = static_cast<Integer>(seconds);
    lists.NameEntryOn = 0;
    UpdateHighScores(*g, 32767);
    EXPECT_EQ(std::tuple(lists.HsKills[place], lists.HsTime[place]), std::tuple("  0", shown));
    ++place;
  }
}

TEST_F(HighScores, TheNameEntryTakesTypedTextAndEnterSavesTheList) {
  g->surfaces.EnterTextDC = testing::Patterned(150, 30, 1);  // the box over its mask
  g->surfaces.LogoDC = testing::Patterned(107, 47, 2);
  g->surfaces.Field = testing::Patterned(kFieldSize, kFieldSize, 3);  // a background that shows the masks
  UpdateHighScores(*g, 850);
  Pass();
  EXPECT_EQ(testing::PixelHash(g->surfaces.Field), 0x484c235892d8448eull);  // the box lies over the second row
  EXPECT_TRUE(g.window.textInput);
  EXPECT_FALSE(Drew("MAIN MENU"));
  EXPECT_FALSE(Drew("UPLOAD SCORES"));
  EXPECT_EQ(Name(1), " ");  // an empty box

  Type("jOHN smithx");
  g.window.events.push_back({EventKind::KeyDown, 8, {}});  // Backspace
  DoEvents(*g);
  Pass();
  EXPECT_EQ(Name(1), "John smith");
  EXPECT_TRUE(Drew("John smith"));

  Type(std::string(40, 'Q'));  // the box stops at 36 characters
  EXPECT_EQ(lists.YourName.size(), 36u);
  for (int i = 0; i < 26; ++i) g.window.events.push_back({EventKind::KeyDown, 8, {}});
  Type("!");  // typed in the same pass as Enter: saved too

  Pass({kDikReturn});
  EXPECT_EQ(lists.NameEntryOn, 0);
  EXPECT_FALSE(g.window.textInput);
  Type("more");  // the box no longer takes characters
  EXPECT_EQ(lists.YourName, "jOHN smith!");
  EXPECT_EQ(Name(1), "John smith!");
  Pass();
  EXPECT_TRUE(Drew("MAIN MENU"));

  // After a restart the row is read back from the hidden file.
  auto restarted = std::make_unique<Game>();
  restarted->app = g->app;
  ASSERT_TRUE(LoadHighScores(*restarted));
  const ScoreLists& read = restarted->scores;
  EXPECT_EQ(std::tuple(read.HsName[1], read.HsScore[1], read.HsName[2]), std::tuple("John smith!", "  850", "P1"));
}

TEST_F(HighScores, TheScreenShowsPositiveRowsAndTheDetailsOfTheHoveredOne) {
  lists.HsScore[2] = "    0";
  lists.HsScore[3] = "";  // blank reads as 0
  Pass();
  // Place 10's score is 0.
  for (const auto& [label, shown] : {std::pair{"1.", true}, {"2.", true}, {"3.", false}, {"4.", false}, {"5.", true},
                                     {"10.", false}}) {
    EXPECT_EQ(Drew(label), shown) << label;
  }
  EXPECT_TRUE(Drew("PLEASE CONNECT FIRST"));
  EXPECT_EQ(testing::PixelHash(g->surfaces.Field), 0xebdec79f61b3938bull);  // every row, caption and button in place

  // The row under the pointer gives its details; they stay when the pointer leaves.
  testing::PatternStatusBar(g->surfaces);
  lists.HsAccuracy[4] = " 4";
  lists.HsMaxHealth[4] = "150";
  lists.HsKills[4] = " 33";
  lists.HsTime[4] = "12:01";
  g->input.CursorX = 90;
  g->input.CursorY = 4 * 14 + 50 + 5;
  Pass();
  g->input.CursorX = 280;
  Pass();
  EXPECT_TRUE(Drew("Times played:     3"));
  EXPECT_TRUE(Drew("(150)" + std::string(15, ' ')));
  EXPECT_TRUE(Drew("Killed= 33 Time=12:01" + std::string(20, ' ')));
  EXPECT_TRUE(Drew("P4", 12));
  EXPECT_EQ(testing::PixelHash(g->surfaces.StatusField), 0x796b516c6dd03c4full);  // every bar and text in place
}

// Knows one game's replay: place 2's row (700 points, 9 kills, 1 January 2023).
struct OneReplay final : IReplayShelf {
  int watched = 0;
  std::string Kept(long long score, long long kills, const std::string& date) override {
    return score == 700 && kills == 9 && date == "20230101" ? "000007-700.kzr" : "";
  }
  void Watch(Game&, const std::string& file) override { watched += file == "000007-700.kzr" ? 1 : 0; }
};

TEST_F(HighScores, TheRowLastPointedAtOffersItsKeptReplayWhereNothingElseIsDrawn) {
  auto drawn = [&] {
    g->surfaces.Field.Fill(0);
    Pass();
    const Surface& f = g->surfaces.Field;
    return std::vector<std::uint32_t>(f.Row(0), f.Row(0) + f.Width() * f.Height());
  };
  g->input.CursorX = 90;
  g->input.CursorY = 2 * 14 + 50 + 5;  // place 2
  Pass();
  g->input.CursorX = 280;  // the pointer leaves the row for the offer
  const auto without = drawn();
  OneReplay shelf;
  g->platform.replays = &shelf;
  const auto with = drawn();
  EXPECT_TRUE(Drew("WATCH REPLAY"));
  int changed = 0;
  for (int y = 0; y < kFieldSize; ++y) {
    for (int x = 0; x < kFieldSize; ++x) {
      const auto i = static_cast<std::size_t>(y * kFieldSize + x);
      if (with[i] == without[i]) continue;
      ++changed;
      EXPECT_TRUE(x >= 165 && y >= 226 && y < 242) << "drawn over at " << x << "," << y;
    }
  }
  EXPECT_GT(changed, 50);
  g->menus.ClickedY = 226;
  Pass();
  EXPECT_EQ(shelf.watched, 1);

  // A row without a kept replay offers none.
  g->input.CursorX = 90;
  g->input.CursorY = 1 * 14 + 50 + 5;
  Pass();
  Pass();
  EXPECT_FALSE(Drew("WATCH REPLAY"));
}

TEST_F(HighScores, AnEmptyNameIsDrawnAsZeroAndUploadNeedsAConnection) {
  lists.HsName[0].clear();
  Pass();
  EXPECT_EQ(Name(0), "0");

  g->input.CursorX = 170;
  g->input.CursorY = 265;
  g->input.FireHeld = kTrue;
  Pass();
  EXPECT_EQ(g->input.FireHeld, kTrue);  // offline: the button does not take the press
  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = 127.0.0.1\n");
  g.connection.answer = true;
  Pass();
  EXPECT_EQ(g->input.FireHeld, 0);
  EXPECT_FALSE(Drew("PLEASE CONNECT FIRST"));
  EXPECT_EQ(g->app.MenuScreen, "HS");  // not left: that was the upload button
  g->input.CursorX = 40;
  g->input.FireHeld = kTrue;
  Pass();
  EXPECT_EQ(g->app.MenuScreen, "");
  EXPECT_EQ(g->menus.ClickedY, 0);
}

}  // namespace
}  // namespace kesmir
