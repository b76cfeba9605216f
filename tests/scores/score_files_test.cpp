// The score files: saving and reading both lists, the restore from the default lists, the throttles and the
// world trailer, and files that are damaged in every way a disk or a hand can damage them.
#include "scores/score_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/files.h"
#include "fakes/disk_full.h"
#include "fakes/fake_platform.h"
#include "fakes/world_files.h"
#include "scores/list_text.h"

namespace kesmir {
namespace {

using testing::FakeGame;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

ScoreLineFields Row(int score, const std::string& name) { return testing::WorldTestRow(score, name, "20240131"); }

std::string Line(const ScoreLineFields& row) { return CodeScoreLine(JoinScoreLine(row), true); }

// A list file of `rows` rows with scores counting down from `top` in steps of 10, "END" and the extra lines.
std::string ListFile(int rows, int top, const std::string& prefix, const std::vector<std::string>& after = {}) {
  std::string text;
  for (int i = 0; i < rows; ++i) text += Line(Row(top - 10 * i, prefix + std::to_string(i))) + "\r\n";
  text += "END\r\n";
  for (const std::string& line : after) text += line + "\r\n";
  return text;
}

struct Files : ::testing::Test {
  FakeGame g;
  ScoreLists& lists = g->scores;
  std::string HiddenLocal() const { return g.ReadUserFile("Atop112.kzm"); }
  std::string HiddenWorld() const { return g.ReadUserFile("Atopw.kzm"); }
};

TEST_F(Files, TheLocalListRoundTripsThroughItsDigitFormFile) {
  for (int place = 0; place < kLocalRows; ++place) SetLocalRow(lists, place, Row(900 - 90 * place, "Player"));
  SetLocalRow(lists, 3, Row(850, std::string(36, 'x')));  // a full text box
  ASSERT_TRUE(SaveHighScores(*g));
  const std::vector<std::string> lines = SplitLines(HiddenLocal());
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[11], "END");
  EXPECT_EQ(CodeScoreLine(lines[0], false), JoinScoreLine(Row(900, "Player")));
  EXPECT_NE(HiddenLocal().find("\r\n"), std::string::npos);
  EXPECT_EQ(g.ReadUserFile("OtherFiles/HighScores.txt"), HiddenLocal());
  EXPECT_FALSE(std::filesystem::exists(g.root / "user/Atop112.kzm.tmp"));

  lists = ScoreLists{};
  ASSERT_TRUE(LoadHighScores(*g));
  EXPECT_EQ(lists.HsScore[0], "  900");
  EXPECT_EQ(ScoreValue(lists.HsScore[0]), 900);
  EXPECT_EQ(lists.HsName[3], std::string(35, 'x'));  // written in full, read back as 35 characters
  EXPECT_EQ(std::tuple(lists.HsScore[10], lists.HsTime[10], lists.HsDate[10], lists.HsTimesPlayed[10]),
            std::tuple("    0", "03:07", "20240131", "    7"));
}

TEST_F(Files, ReadingStopsAtEndAndLeavesTheLaterPlacesAlone) {
  for (int place = 0; place < kLocalRows; ++place) lists.HsName[static_cast<std::size_t>(place)] = "Old";
  g.WriteUserFile("Atop112.kzm", ListFile(2, 500, "New"));
  ASSERT_TRUE(LoadHighScores(*g));
  EXPECT_EQ(std::tuple(lists.HsName[0], lists.HsName[1]), std::tuple("New0", "New1"));
  for (int place = 2; place < kLocalRows; ++place) EXPECT_EQ(lists.HsName[static_cast<std::size_t>(place)], "Old");

  // A list cut inside its first line, with no line ending after it: that line may be cut too, and is not kept.
  const std::string first = ListFile(2, 500, "New").substr(0, ListFile(2, 500, "New").find("\r\n"));
  EXPECT_EQ(ParseListText(first, kLocalRows, 0).list.rows.size(), 0u);
  EXPECT_EQ(ParseListText(first + "\r\n", kLocalRows, 0).list.rows.size(), 1u);
}

TEST_F(Files, AMissingOrDamagedHiddenFileIsRestoredFromTheDefaultList) {
  const std::string defaults = ListFile(11, 300, "Default");
  g.WriteDataFile("OtherFiles/Temp.txt", defaults);
  for (const std::string& damaged : {std::string(), std::string("EN"), ListFile(11, 900, "Mine").substr(0, 250),
                                    std::string("97-98-\r\n99-\r\n")}) {
    FakeGame fresh;
    fresh.WriteDataFile("OtherFiles/Temp.txt", defaults);
    if (!damaged.empty()) fresh.WriteUserFile("Atop112.kzm", damaged);
    ASSERT_TRUE(LoadHighScores(*fresh));
    EXPECT_EQ(std::tuple(fresh->scores.HsName[0], fresh->scores.HsName[10]), std::tuple("Default0", "Default10"));
    EXPECT_EQ(fresh.ReadUserFile("Atop112.kzm"), defaults);
  }
  // A cut hidden file gives way to a whole readable copy; without one its rows that can be read are kept.
  // Either way the damaged file is kept beside it, and it is said once.
  const std::string mine = ListFile(11, 900, "Mine");
  const std::string cut = mine.substr(0, mine.find("\r\n", mine.size() / 2) + 40);  // six rows and a piece
  for (bool withCopy : {true, false}) {
    FakeGame fresh;
    fresh.WriteDataFile("OtherFiles/Temp.txt", defaults);
    fresh.WriteUserFile("Atop112.kzm", cut);
    if (withCopy) fresh.WriteUserFile("OtherFiles/HighScores.txt", mine);
    CaptureStderr();
    ASSERT_TRUE(LoadHighScores(*fresh));
    const std::string said = GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(fresh.ReadUserFile("Atop112.kzm.damaged"), cut);
    EXPECT_EQ(fresh->scores.HsName[5], "Mine5");
    EXPECT_EQ(fresh->scores.HsName[6], withCopy ? "Mine6" : "");
    EXPECT_EQ(SplitLines(fresh.ReadUserFile("Atop112.kzm")).size(), withCopy ? 12u : 7u);
  }
  // Eleven rows and no "END" is a whole list: nothing is restored.
  std::string eleven = ListFile(11, 900, "Mine");
  eleven.resize(eleven.find("END"));
  g.WriteUserFile("Atop112.kzm", eleven);
  ASSERT_TRUE(LoadHighScores(*g));
  EXPECT_EQ(lists.HsName[10], "Mine10");
}

TEST_F(Files, TheThrottleReadsOnTheFirstCallAndEveryTenThousandthAfter) {
  g.WriteUserFile("Atop112.kzm", ListFile(11, 900, "First"));
  LoadHighScores(*g);
  EXPECT_EQ(lists.HsName[0], "First0");
  g.WriteUserFile("Atop112.kzm", ListFile(11, 900, "Second"));
  for (int call = 2; call <= 10000; ++call) LoadHighScores(*g);
  EXPECT_EQ(lists.HsName[0], "First0");
  LoadHighScores(*g);  // the 10,001st
  EXPECT_EQ(lists.HsName[0], "Second0");
}

TEST_F(Files, WithTheDefaultListMissingTooTheListStaysAndItIsSaidOnce) {
  lists.HsName[0] = "Kept";
  CaptureStderr();
  EXPECT_FALSE(LoadHighScores(*g));
  lists.HsLoadCount = 0;
  g.WriteDataFile("OtherFiles/Temp.txt", "not a list");
  EXPECT_FALSE(LoadHighScores(*g));
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(lists.HsName[0], "Kept");
  EXPECT_NE(said.find("Atop112.kzm"), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  EXPECT_FALSE(std::filesystem::exists(g.root / "user/Atop112.kzm"));
  CaptureStderr();
  EXPECT_FALSE(LoadWorldScores(*g));  // the world list likewise
  const std::string world = GetCapturedStderr();
  EXPECT_EQ(std::count(world.begin(), world.end(), '\n'), 1) << world;
}

TEST_F(Files, DamagedLinesNeverBreakTheReaderAndKeepTheListEleven) {
  const std::string good = Line(Row(777, "Good"));
  const std::vector<std::string> lines = {
      std::string(100000, '9'),                       // one long line of digits
      "9797-98-",                                     // a group of four digits
      "ab-cd-",                                       // letters
      "300-97-",                                      // a code above 255
      std::string("\x00\xff\x01-\x80", 5),            // binary bytes
      std::string(25000, '1').append("-"),            // a long group-free line
      good.substr(0, 40),                             // a line too short for most columns
      Line(Row(5, std::string(5000, 'n'))),           // 5000 characters of name
      good, good, good, "END"};
  std::string file;
  for (const std::string& line : lines) file += line + "\r\n";
  g.WriteUserFile("Atop112.kzm", file);
  ASSERT_TRUE(LoadHighScores(*g));
  // "999..." cut at three digits is no byte: nothing decodes.
  EXPECT_EQ(std::tuple(lists.HsScore[0], lists.HsScore[1], lists.HsScore[3]), std::tuple("", "", ""));
  EXPECT_EQ(lists.HsScore[6], JoinScoreLine(Row(777, "Good")).substr(0, 5));
  EXPECT_EQ(lists.HsName[6], "");
  EXPECT_EQ(lists.HsName[7], std::string(35, 'n'));
  EXPECT_EQ(lists.HsName[10], "Good");
  ASSERT_TRUE(SaveHighScores(*g));
  EXPECT_EQ(SplitLines(HiddenLocal()).size(), 12u);
}

TEST_F(Files, ASaveOnAFullDiskKeepsTheOldFileLeavesNoTemporaryAndTellsThePlayerOnce) {
  g.WriteUserFile("Atop112.kzm", ListFile(11, 900, "Old"));
  CaptureStderr();
  {
    testing::DiskFull full(1024);  // room for the message, not for the list
    EXPECT_FALSE(SaveHighScores(*g));
    EXPECT_FALSE(SaveHighScores(*g));
    EXPECT_FALSE(SaveWorldScores(*g));
  }
  const std::string said = GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  EXPECT_EQ(HiddenLocal(), ListFile(11, 900, "Old"));
  for (const auto& entry : std::filesystem::directory_iterator(g.root / "user")) {
    EXPECT_TRUE(entry.is_directory() || entry.path().filename() == "Atop112.kzm") << entry.path();
  }
  ASSERT_EQ(g.dialogs.shown.size(), 1u);
  EXPECT_NE(g.dialogs.shown[0].text.find((g.root / "user").string()), std::string::npos);
  EXPECT_EQ(g.dialogs.shown[0].kind, MessageKind::Warning);

  // A list restored on a full disk is used all the same, and that it cannot be kept is said once.
  FakeGame fresh;
  fresh.WriteDataFile("OtherFiles/Temp.txt", ListFile(11, 300, "Default"));
  CaptureStderr();
  {
    testing::DiskFull full(1024);
    for (int load = 0; load < 2; ++load) {
      fresh->scores.HsLoadCount = 0;
      ASSERT_TRUE(LoadHighScores(*fresh));
    }
  }
  const std::string restored = GetCapturedStderr();
  EXPECT_EQ(fresh->scores.HsName[0], "Default0");
  EXPECT_EQ(std::count(restored.begin(), restored.end(), '\n'), 1) << restored;
}

TEST_F(Files, TheWorldTrailerCountsTheUploadAndDatesIt) {
  for (int place = 0; place < kWorldRows; ++place) SetWorldRow(lists, place, Row(5000 - 10 * place, "W"));
  lists.WsUploadCount = 41;
  lists.WsListDate = "01.02.2024";
  g.clock.today = {2024, 3, 9};
  ASSERT_TRUE(SaveWorldScores(*g));
  EXPECT_EQ(lists.WsUploadCount, 41);
  const std::vector<std::string> lines = SplitLines(HiddenWorld());
  ASSERT_EQ(lines.size(), 105u);
  EXPECT_EQ(std::vector(lines.begin() + 101, lines.end()),
            (std::vector<std::string>{"END", "42", "09.03.2024", "01.02.2024"}));
  EXPECT_EQ(g.ReadUserFile("OtherFiles/WorldScores.txt"), HiddenWorld());
  EXPECT_EQ(g->app.LoadingCaption, "Saving..");

  ASSERT_TRUE(LoadWorldScores(*g));
  EXPECT_EQ(std::tuple(lists.WsUploadCount, lists.WsLastUpdate, lists.WsListDate, lists.WsScore[100]),
            std::tuple(42, "09.03.2024", "09.03.2024", " 4000"));

  // The count saturates rather than losing its line.
  lists.WsUploadCount = 32767;
  SaveWorldScores(*g);
  EXPECT_EQ(SplitLines(HiddenWorld())[102], "32767");
}

TEST_F(Files, AWorldTrailerThatIsMissingOrUnreadableLeavesItsValues) {
  // The count's lowest value is read; a missing date keeps the last; a long one is cut to 64 characters.
  struct Case {
    std::vector<std::string> trailer;
    Integer count;
    std::string date;
  };
  const std::string day = "06.06.2006", last = "05.05.2005";
  for (const Case& c : {Case{{}, 7, last}, Case{{"", day}, 7, day}, Case{{"abc", day}, 7, day},
                        Case{{"99999", day}, 7, day}, Case{{"12.75", day}, 12, day}, Case{{"-32768", day}, -32768, day},
                        Case{{"5"}, 5, last}, Case{{"5", std::string(99, '9')}, 5, std::string(64, '9')}}) {
    lists.WsLoadCount = 0;
    lists.WsUploadCount = 7;
    lists.WsLastUpdate = lists.WsListDate = last;
    g.WriteUserFile("Atopw.kzm", ListFile(101, 5000, "W", c.trailer));
    ASSERT_TRUE(LoadWorldScores(*g));
    EXPECT_EQ(lists.WsUploadCount, c.count) << c.trailer.size();
    EXPECT_EQ(lists.WsLastUpdate, c.date) << c.trailer.size();
    EXPECT_EQ(lists.WsListDate, c.date) << c.trailer.size();
  }
}

TEST_F(Files, AWorldListOfTenThousandLinesFillsOnlyItsArrays) {
  std::string file;
  for (int i = 0; i < 10000; ++i) file += Line(Row(9000 - i, "Many")) + "\r\n";
  g.WriteUserFile("Atopw.kzm", file);
  lists.WsUploadCount = 3;
  ASSERT_TRUE(LoadWorldScores(*g));
  EXPECT_EQ(ScoreValue(lists.WsScore[500]), 8500);
  EXPECT_EQ(lists.WsUploadCount, 3);  // the line after the rows is another row, not a number
  ASSERT_TRUE(SaveWorldScores(*g));
  EXPECT_EQ(SplitLines(HiddenWorld()).size(), 105u);
}

}  // namespace
}  // namespace kesmir
