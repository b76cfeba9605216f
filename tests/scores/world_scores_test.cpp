// The world score list: where the merge puts local rows and how it marks them, and the world-score screen's
// scrolling, arrows, details and buttons.
#include "scores/world_scores.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes/fake_platform.h"
#include "fakes/surface_hash.h"
#include "fakes/world_files.h"
#include "scores/score_files.h"

namespace kesmir {
namespace {

using testing::FakeGame;

ScoreLineFields Row(int score, const std::string& name, const std::string& date = "20240101") {
  return testing::WorldTestRow(score, name, date);
}

struct WorldList : ::testing::Test {
  FakeGame g;
  ScoreLists& lists = g->scores;

  // World scores 1000, 990, ..., 10 at places 0..99 named W0..W99, and 0 at place 100.
  void SetUp() override {
    for (int place = 0; place < kWorldRows; ++place) {
      SetWorldRow(lists, place, place < 100 ? Row(1000 - 10 * place, "W" + std::to_string(place)) : Row(0, ""));
    }
    for (int place = 0; place < kLocalRows; ++place) SetLocalRow(lists, place, Row(0, ""));
  }
  std::string WorldName(int place) const { return lists.WsName[static_cast<std::size_t>(place)]; }
  Integer Mark(int place) const { return lists.WsMark[static_cast<std::size_t>(place)]; }
  void Local(int place, int score, const std::string& name) { SetLocalRow(lists, place, Row(score, name)); }
};

TEST_F(WorldList, ALocalRowGoesBelowEqualAndAboveLowerScoresAndTheRowsBelowMoveDownMarkedDown) {
  Local(0, 995, "Me");
  EXPECT_TRUE(MergeLocalRow(lists, 0));
  EXPECT_EQ(WorldName(0), "W0");
  EXPECT_EQ(WorldName(1), "Me");
  EXPECT_EQ(Mark(1), 1);
  EXPECT_EQ(WorldName(2), "W1");
  EXPECT_EQ(WorldName(100), "W99");  // place 99 moved onto the 101st row
  for (int place = 2; place <= 100; ++place) EXPECT_EQ(Mark(place), 2) << place;
  EXPECT_EQ(lists.WsScore[1], "  995");
  EXPECT_EQ(lists.WsDate[1], "20240101");  // all twelve columns come along

  // An equal world score keeps the better place.
  Local(1, 990, "Twin");
  EXPECT_TRUE(MergeLocalRow(lists, 1));
  EXPECT_EQ(WorldName(2), "W1");
  EXPECT_EQ(WorldName(3), "Twin");
}

TEST_F(WorldList, ARowAboveAllTakesPlaceZeroAndTheOldFirstKeepsItsDownMark) {
  Local(0, 5000, "Best");
  EXPECT_TRUE(MergeLocalRow(lists, 0));
  EXPECT_EQ(WorldName(0), "Best");
  EXPECT_EQ(Mark(0), 1);
  EXPECT_EQ(WorldName(1), "W0");
  EXPECT_EQ(Mark(1), 2);
  EXPECT_EQ(lists.ListIndex, 0);
}

TEST_F(WorldList, ARowBeatingNoneOfTheHundredLandsOnTheHiddenRowAndTheNextReplacesIt) {
  Local(0, 10, "Low");
  EXPECT_FALSE(MergeLocalRow(lists, 0));  // not among the hundred
  EXPECT_EQ(WorldName(99), "W99");
  EXPECT_EQ(WorldName(100), "Low");
  EXPECT_EQ(Mark(100), 1);
  Local(1, 5, "Lower");
  EXPECT_FALSE(MergeLocalRow(lists, 1));
  EXPECT_EQ(WorldName(99), "W99");
  EXPECT_EQ(WorldName(100), "Lower");
}

TEST_F(WorldList, OnlyTheSameWholeScoreUnderTheSameStoredNameCountsAsAlreadyThere) {
  Local(0, 500, "W50");  // W50 holds 500
  EXPECT_FALSE(MergeLocalRow(lists, 0));
  EXPECT_EQ(WorldName(51), "W51");
  EXPECT_EQ(std::count(lists.WsName.begin(), lists.WsName.end(), "W50"), 1);

  lists.HsScore[0] = "  500.7";  // the whole part decides
  EXPECT_FALSE(MergeLocalRow(lists, 0));
  EXPECT_EQ(WorldName(51), "W51");

  Local(1, 500, "w50");  // another case is another name
  MergeLocalRow(lists, 1);
  EXPECT_EQ(WorldName(51), "w50");
  Local(2, 500, "Someone");  // the same score under another name
  MergeLocalRow(lists, 2);
  EXPECT_EQ(WorldName(52), "Someone");

  // Names as the file gives them back, cut to 35 characters and stripped of spaces, are the same names: a
  // second synchronisation adds no second copy.
  int score = 5;
  for (const std::string& typed : {std::string("Late "), std::string(36, 'n'), std::string()}) {
    Local(3, score += 10, typed);  // a score no other row has
    MergeLocalRow(lists, 3);
    for (int place = 0; place < kWorldRows; ++place) {
      SetWorldRow(lists, place, CutScoreLine(JoinScoreLine(WorldRow(lists, place))));  // saved and read back
    }
    MergeLocalRow(lists, 3);
    EXPECT_EQ(std::count(lists.WsScore.begin(), lists.WsScore.end(), lists.HsScore[3]), 1) << typed;
  }
}

TEST_F(WorldList, ListDatesBecomeSortableKeys) {
  EXPECT_EQ(ListDateKey(" 09.12.2003 "), "20031209");
  EXPECT_EQ(ListDateKey(""), "");
  EXPECT_EQ(ListDateKey("1.2"), "1.");  // too short: the parts that exist
}

TEST_F(WorldList, SynchronizingOfflineChangesNothing) {
  Local(0, 5000, "Best");
  SynchronizeScores(*g);
  EXPECT_EQ(WorldName(0), "W0");
  EXPECT_EQ(g->app.ProgressStep, 0);
  EXPECT_TRUE(g.ReadUserFile("Atopw.kzm").empty());
}

// The screen, with a list loaded from the hidden world file.
struct WorldScreen : WorldList {
  static constexpr Colour kUp = Rgb(255, 0, 0);
  static constexpr Colour kNeutral = Rgb(0, 255, 0);
  static constexpr Colour kDown = Rgb(0, 0, 255);
  static constexpr Colour kThumb = Rgb(1, 2, 3);

  void SetUp() override {
    WorldList::SetUp();
    lists.WsLoadCount = 1;  // the list in memory is the loaded one
    lists.WsListDate = "15.03.2024";
    lists.WsLastUpdate = "15.03.2024";
    lists.WsUploadCount = 388;
    g->app.MenuScreen = "WS";
    Surface arrows(9, 27);
    for (int y = 0; y < 27; ++y) {
      for (int x = 0; x < 9; ++x) SetPixel(arrows, x, y, y < 9 ? kUp : y < 18 ? kNeutral : kDown);
    }
    g->surfaces.ScoreUpDownDC = arrows;
    g->surfaces.SliderDragDC = Surface(8, 14, kThumb);
  }
  void Pass() {
    g.fonts.calls.clear();
    g->surfaces.Field = Surface(kFieldSize, kFieldSize);
    WorldScoresScreen(*g);
  }
  bool Drew(const std::string& text, int size = 0) const {
    return std::any_of(g.fonts.calls.begin(), g.fonts.calls.end(),
                       [&](const auto& c) { return c.text == text && (size == 0 || c.size == size); });
  }
  std::int64_t ArrowOnRow(int row) { return GetPixel(g->surfaces.Field, 79, row * 14 + 50 + 7); }
  void PointAt(int x, int y, bool held) {
    g->input.CursorX = x;
    g->input.CursorY = y;
    g->input.FireHeld = held ? kTrue : 0;
  }
};

TEST_F(WorldScreen, TheThumbAtItsLowestShowsPlacesNinetyOneToAHundred) {
  Pass();
  EXPECT_TRUE(Drew("1."));
  EXPECT_TRUE(Drew("10."));
  EXPECT_FALSE(Drew("11."));

  EXPECT_EQ(GetPixel(g->surfaces.Field, 274, 51), kThumb);

  PointAt(275, 200, true);  // dragged below the track: the thumb stops at 175
  Pass();
  EXPECT_EQ(g->input.WorldSliderPos, 175);
  EXPECT_DOUBLE_EQ(g->input.WorldListOffset, 90.0);
  EXPECT_EQ(GetPixel(g->surfaces.Field, 274, 51), kThumb);  // drawn before the drag moved it
  EXPECT_TRUE(Drew("91."));
  PointAt(0, 0, false);
  Pass();
  EXPECT_EQ(GetPixel(g->surfaces.Field, 274, 51), 0);
  EXPECT_EQ(GetPixel(g->surfaces.Field, 274, 175), kThumb);
  EXPECT_TRUE(Drew("91."));
  EXPECT_TRUE(Drew("100."));
  EXPECT_FALSE(Drew("90."));
  EXPECT_FALSE(Drew("101."));

  for (const int x : {270, 280}) {  // beside the track: no drag
    PointAt(x, 120, true);
    Pass();
    EXPECT_EQ(g->input.WorldSliderPos, 175) << x;
  }
  PointAt(275, 100, true);
  Pass();
  EXPECT_EQ(g->input.WorldSliderPos, 93);
  EXPECT_NEAR(g->input.WorldListOffset, 42 * 90.0 / 124.0, 1e-9);
  PointAt(275, 38, true);  // the highest pointer that still drags: the thumb goes to the top
  Pass();
  EXPECT_EQ(g->input.WorldSliderPos, 51);
}

TEST_F(WorldScreen, ArrowsTellRowsFromTheLastUpdateOrLaterFromOlderOnesAndUnknownDatesKeepTheirMark) {
  lists.WsDate[0] = "20240315";  // the day of the last update
  lists.WsDate[1] = "20240316";
  lists.WsDate[2] = "20240314";
  lists.WsDate[3] = "????????";  // never moved: neutral
  lists.WsDate[4] = " ???????";
  lists.WsMark[4] = 1;  // the last merge put it in
  Pass();
  EXPECT_EQ(ArrowOnRow(0), kUp);
  EXPECT_EQ(ArrowOnRow(1), kUp);
  EXPECT_EQ(ArrowOnRow(2), kDown);
  EXPECT_EQ(ArrowOnRow(3), kNeutral);
  EXPECT_EQ(ArrowOnRow(4), kUp);
  EXPECT_EQ(lists.WsMark[2], 2);
}

TEST_F(WorldScreen, RowsWithoutAScoreAreNotDrawn) {
  lists.WsScore[3] = "    0";
  lists.WsScore[4] = "  abc";
  Pass();
  EXPECT_TRUE(Drew("3."));
  EXPECT_FALSE(Drew("4."));
  EXPECT_FALSE(Drew("5."));
  EXPECT_TRUE(Drew("6."));
}

TEST_F(WorldScreen, TheRowUnderThePointerShowsItsDetailsAndTheListItsDateAndUploads) {
  lists.WsLoadCount = 0;  // the screen reads the hidden file
  g.WriteUserFile("Atopw.kzm", testing::WorldListFile(1000, "F", 388, "15.03.2024"));
  testing::PatternStatusBar(g->surfaces);
  g->surfaces.SliderMenuDC = testing::Patterned(20, 140, 1);  // the track over its mask
  g->surfaces.LogoDC = testing::Patterned(107, 47, 2);
  PointAt(60, 50 + 2 * 14 + 5, false);  // on the third row's score
  Pass();
  EXPECT_EQ(testing::PixelHash(g->surfaces.Field), 0xc9149b3943624beaull);  // track, thumb, arrows and texts in place
  EXPECT_EQ(testing::PixelHash(g->surfaces.StatusField), 0x5c080bb25753124full);
  EXPECT_TRUE(Drew("F2", 12));
  EXPECT_TRUE(Drew("Times played:     7", 8));
  EXPECT_TRUE(Drew("  980"));  // the score in the details panel, too
  EXPECT_TRUE(Drew("Killed= 12 Time=03:07" + std::string(20, ' ')));
  EXPECT_TRUE(Drew("LAST UPDATE: 15.03.2024", 8));
  EXPECT_TRUE(Drew("UPLOADS BY ALL USERS: 388", 8));
}

TEST_F(WorldScreen, SynchronizeNeedsAConnectionAndMainMenuLeaves) {
  PointAt(130, 265, true);
  Pass();
  EXPECT_TRUE(Drew("PLEASE CONNECT FIRST", 6) && Drew("SYNCHRONIZE SCORES", 10));
  EXPECT_EQ(g->input.FireHeld, kTrue);  // offline: the button does not take the press
  EXPECT_TRUE(g.network.calls.empty());

  g.WriteUserFile("OtherFiles/Network.txt", "ftp_host = 127.0.0.1\n");
  g.connection.answer = true;
  Pass();
  EXPECT_FALSE(Drew("PLEASE CONNECT FIRST"));
  EXPECT_EQ(g->input.FireHeld, 0);
  EXPECT_EQ(g.network.calls.front(), "MKD Atopw.kzm.lock");  // the synchronisation ran
  EXPECT_EQ(g->app.MenuScreen, "WS");

  PointAt(40, 265, true);
  Pass();
  EXPECT_EQ(g->app.MenuScreen, "");
  EXPECT_EQ(g->menus.ClickedY, 0);
}

}  // namespace
}  // namespace kesmir
