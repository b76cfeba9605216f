// The score line's digit form and its fixed columns.
#include "scores/list_text.h"
#include "scores/score_line.h"

#include <gtest/gtest.h>

#include <string>

namespace kesmir {
namespace {

std::string Encode(std::string_view text) { return CodeScoreLine(text, true); }
std::string Decode(std::string_view text) { return CodeScoreLine(text, false); }

TEST(DigitForm, EncodesEachByteAsItsCodeAndReadsItBack) {
  EXPECT_EQ(Encode("abc"), "97-98-99-");
  EXPECT_EQ(Decode("97-98-99-"), "abc");
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Decode(""), "");
  EXPECT_EQ(Encode(" \xE9"), "32-233-");  // a space and e with acute accent
  std::string allBytes;
  for (int code = 0; code < 256; ++code) allBytes.push_back(static_cast<char>(code));
  EXPECT_EQ(Decode(Encode(allBytes)), allBytes);
}

TEST(DigitForm, BothDirectionsStopAfterFiveThousandPositions) {
  EXPECT_EQ(Encode(std::string(5001, 'a')), [] {
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "97-";
    return expected;
  }());
  // "97-" groups start at positions 1, 4, ..., 4999: 1667 of them lie within the walk.
  const std::string digits = Encode(std::string(2000, 'a'));
  EXPECT_EQ(Decode(digits), std::string(1667, 'a'));
  // Groups of one digit start at 1, 3, ..., 4999: 2500 of them.
  EXPECT_EQ(Decode(Encode(std::string(3000, '\t'))), std::string(2500, '\t'));
}

TEST(DigitForm, DecodingEndsAtTheFirstBadGroup) {
  EXPECT_EQ(Decode("97-x-98-"), "a");     // not a number
  EXPECT_EQ(Decode("97--98-"), "a");      // empty group
  EXPECT_EQ(Decode("-97-"), "");
  EXPECT_EQ(Decode("97-256-98-"), "a");   // not a byte
  EXPECT_EQ(Decode("9797-"), "");         // four digits: the group is cut at three, 979 is not a byte
  EXPECT_EQ(Decode("97-9 8-"), "a");      // a blank inside a group
  EXPECT_EQ(Decode("97-98-\r"), "ab");    // a line end left on the line
  EXPECT_EQ(Decode("97-98"), "ab");       // the last group needs no "-"
}

TEST(DigitForm, BlanksAroundTheDigitFormAreIgnored) {
  EXPECT_EQ(Decode("  97-98-  "), "ab");
  EXPECT_EQ(Decode(" 1-10-100-"), "\x01\x0A\x64");
  EXPECT_EQ(Decode("97-0.0- 98-"), std::string("a\0b", 3));  // a group read as a number, 0 included
}

TEST(ScoreColumns, NumbersAreRightAlignedByThresholds) {
  EXPECT_EQ(AlignScoreField("850", 5), "  850");
  EXPECT_EQ(AlignScoreField("7", 5), "    7");
  EXPECT_EQ(AlignScoreField("10000", 5), "10000");
  EXPECT_EQ(AlignScoreField("123456", 5), "123456");
  EXPECT_EQ(AlignScoreField("9", 2), " 9");
  EXPECT_EQ(AlignScoreField("11", 2), "11");
  EXPECT_EQ(AlignScoreField("90", 3), " 90");
  EXPECT_EQ(AlignScoreField("20020827", 8), "20020827");
  EXPECT_EQ(AlignScoreField("5", 8), "       5");
  EXPECT_EQ(AlignScoreField("-3", 3), "  -3");  // below every threshold
  EXPECT_EQ(AlignScoreField("abc", 3), "abc");
}

TEST(ScoreColumns, LabelsAndFieldsSitInTheirColumns) {
  // A line is whole once its name label is there, even with the name empty.
  EXPECT_TRUE(WholeScoreLine(std::string(82, ' ') + " N="));
  EXPECT_FALSE(WholeScoreLine(std::string(81, ' ') + " N="));
  const ScoreLineFields fields{AlignScoreField("850", 5), AlignScoreField("42", 3), "07:05",
                               AlignScoreField("3", 2),   AlignScoreField("11", 2), AlignScoreField("4", 2),
                               AlignScoreField("0", 2),   AlignScoreField("210", 3), AlignScoreField("60", 3),
                               AlignScoreField("17", 5),  "20021103",               "Snowblind"};
  const std::string line = JoinScoreLine(fields);
  //               1    6    11      19   24   29   34   39     46     53       62         73        83 86
  EXPECT_EQ(line, "  850K= 42 T=07:05 A= 3 R=11 B= 4 M= 0 MH=210 MA= 60 TP=   17HD=20021103?????????? N=Snowblind");
  EXPECT_EQ(JoinScoreLine(CutScoreLine(line + "   ")), line);  // read back by columns, the name's blanks stripped
  EXPECT_EQ(Decode(Encode(line)), line);
}

}  // namespace
}  // namespace kesmir
