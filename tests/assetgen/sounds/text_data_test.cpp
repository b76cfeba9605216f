// The generated text data: fighter definitions read back by their columns, default score lists decoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "assetgen.h"
#include "core/numbers.h"
#include "scores/score_line.h"

namespace {

namespace fs = std::filesystem;
using kesmir::ParseNumber;
using kesmir::Trim;

// The file's lines; every line must end in CR LF.
std::vector<std::string> ReadCrLfLines(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << path << ": last line without CR LF";
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool IsWhole(std::string_view text) {
  const std::optional<double> value = ParseNumber(text);
  return !Trim(text).empty() && value && *value == std::floor(*value);
}

// Real calendar dates only.
bool IsRealDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

class TextData : public testing::Test {
 protected:
  static fs::path Folder() { return fs::temp_directory_path() / ("kesmir-text-" + std::to_string(::getpid())); }
  static void SetUpTestSuite() {
    fs::remove_all(Folder());
    ASSERT_TRUE(assetgen::WriteTextData(Folder()));
  }
  static void TearDownTestSuite() { fs::remove_all(Folder()); }
  static std::vector<std::string> Lines(const std::string& name) { return ReadCrLfLines(Folder() / "OtherFiles" / name); }
};

// Reads a definition the way the game does: key in columns 1-20, column 21 unread, value in columns 22-41.
std::map<std::string, std::string> ReadDefinition(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> values;
  bool ended = false;
  for (const std::string& line : lines) {
    if (line == "END") {
      ended = true;
      break;
    }
    EXPECT_LE(line.size(), 41u) << line;
    EXPECT_TRUE(line.size() <= 20 || line[20] == ' ') << line;
    const std::string key(Trim(std::string_view(line).substr(0, std::min<std::size_t>(20, line.size()))));
    const std::string value(Trim(line.size() > 21 ? std::string_view(line).substr(21, 20) : std::string_view()));
    EXPECT_EQ(values.count(key), 0u) << "key twice: " << key;
    values[key] = value;
  }
  EXPECT_TRUE(ended) << "no END line";
  EXPECT_EQ(lines.back(), "END");
  return values;
}

TEST_F(TextData, FighterDefinitionsReadBackByTheirColumns) {
  for (const char* file : {"DEFAULT.txt", "LVL1.txt"}) {
    SCOPED_TRACE(file);
    const std::map<std::string, std::string> values = ReadDefinition(Lines(file));
    EXPECT_EQ(values.size(), 9u);
    EXPECT_FALSE(values.count("NA") == 0 || values.at("NA").empty());
    for (const char* key : {"OM", "HT", "EL", "EE", "ED", "EM"}) {
      ASSERT_EQ(values.count(key), 1u) << key;
      EXPECT_TRUE(IsWhole(values.at(key))) << key << "=" << values.at(key);
    }
    for (const char* key : {"DE", "GN"}) {
      ASSERT_EQ(values.count(key), 1u) << key;
      EXPECT_TRUE(ParseNumber(values.at(key)).has_value() && !values.at(key).empty()) << key;
    }
    EXPECT_GE(*ParseNumber(values.at("ED")), 3.0);  // bullet speed 3 is the lowest opponent tier
    EXPECT_GT(*ParseNumber(values.at("HT")), 0.0);
  }
}

// One decoded score line, cut as the game cuts it.
struct ScoreRow {
  int score, kills, minutes, seconds, accuracy, recharge, bulletSpeed, melee, maxHealth, maxAmmo, timesPlayed;
  int year, month, day;
  std::string name;
};

// A column's number: right-aligned digits without a leading zero.
int Number(const std::string& column) {
  const std::string digits(Trim(column));
  const bool plain = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos &&
                     (digits == "0" || digits[0] != '0');
  EXPECT_TRUE(plain) << "column \"" << column << "\"";
  return plain ? std::stoi(digits) : -1;
}

ScoreRow CutScoreLine(const std::string& line) {
  const kesmir::ScoreLineFields f = kesmir::CutScoreLine(line);
  EXPECT_EQ(kesmir::JoinScoreLine(f), line) << "labels or widths out of place";
  const std::string& t = f.time;
  EXPECT_TRUE(t.size() == 5 && t[2] == ':' && std::isdigit(static_cast<unsigned char>(t[0])) &&
              std::isdigit(static_cast<unsigned char>(t[3]))) << line;
  const int date = Number(f.date);
  return {Number(f.score), Number(f.kills), std::atoi(t.substr(0, 2).c_str()), std::atoi(t.substr(3).c_str()),
          Number(f.accuracy), Number(f.recharge), Number(f.bulletSpeed), Number(f.melee), Number(f.maxHealth),
          Number(f.maxAmmo), Number(f.timesPlayed), date / 10000, date / 100 % 100, date % 100, f.name};
}

// Checks one list's rows: each a valid, self-consistent game; scores falling with the place.
std::vector<ScoreRow> CheckRows(const std::vector<std::string>& lines, std::size_t count) {
  std::vector<ScoreRow> rows;
  for (std::size_t place = 0; place < count && place < lines.size(); ++place) {
    const std::string& digits = lines[place];
    SCOPED_TRACE("place " + std::to_string(place));
    EXPECT_EQ(digits.find_first_not_of("0123456789-"), std::string::npos);
    const std::string line = kesmir::CodeScoreLine(digits, false);
    EXPECT_EQ(kesmir::CodeScoreLine(line, true), digits) << "decoding stopped early";
    const ScoreRow row = CutScoreLine(line);
    for (const int level : {row.accuracy, row.recharge, row.bulletSpeed, row.melee}) {
      EXPECT_GE(level, 0);
      EXPECT_LE(level, 11);
    }
    EXPECT_EQ(row.maxHealth, (row.bulletSpeed + 3) * 30);
    EXPECT_EQ(row.maxAmmo, (row.recharge + 1) * 15);
    EXPECT_LT(row.seconds, 60);
    EXPECT_GE(row.timesPlayed, 1);
    EXPECT_TRUE(row.year == 2002 || row.year == 2003) << row.year;
    EXPECT_TRUE(IsRealDate(row.year, row.month, row.day));
    // The final score holds the status bar's bonus for these levels and kills.
    const int bonus = (row.accuracy + row.bulletSpeed + row.recharge + row.melee + 8) * row.bulletSpeed + row.kills;
    EXPECT_GE(row.score, bonus);
    EXPECT_LE(row.score, 32767);
    // Names as the name entry stores them: first letter upper case, the rest lower case, at most 35 characters.
    EXPECT_FALSE(row.name.empty());
    EXPECT_LE(row.name.size(), 35u);
    EXPECT_FALSE(row.name.empty() || row.name.front() == ' ' || row.name.back() == ' ');
    for (std::size_t i = 0; i < row.name.size(); ++i) {
      const auto c = static_cast<unsigned char>(row.name[i]);
      EXPECT_TRUE(std::isprint(c));
      EXPECT_EQ(row.name[i], i == 0 ? std::toupper(c) : std::tolower(c)) << row.name;
    }
    if (!rows.empty()) {
      EXPECT_LT(row.score, rows.back().score);
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(TextData, LocalDefaultListHoldsElevenFallingRows) {
  const std::vector<std::string> lines = Lines("Temp.txt");
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[11], "END");
  const std::vector<ScoreRow> rows = CheckRows(lines, 11);
  // Worth beating: a strong game at the top, while a first short game can still get onto the list.
  EXPECT_GT(rows.front().score, 500);
  EXPECT_LT(rows.back().score, 100);
}

TEST_F(TextData, WorldDefaultListHoldsAHundredAndOneRowsAndTheTrailer) {
  const std::vector<std::string> lines = Lines("Temp2.txt");
  ASSERT_EQ(lines.size(), 105u);
  EXPECT_EQ(lines[101], "END");
  const std::vector<ScoreRow> rows = CheckRows(lines, 101);
  std::set<std::string> names;
  for (const ScoreRow& row : rows) names.insert(row.name);
  EXPECT_GE(names.size(), 60u);

  EXPECT_TRUE(IsWhole(lines[102]));
  EXPECT_GE(*ParseNumber(lines[102]), 1.0);
  // Trailer dates "dd.mm.yyyy": the last upload no earlier than the one before it, nor than any row.
  const auto dayNumber = [](const std::string& text) {
    EXPECT_EQ(text.size(), 10u);
    EXPECT_TRUE(text.size() == 10 && text[2] == '.' && text[5] == '.') << text;
    if (text.size() != 10) return 0;
    const int day = std::stoi(text.substr(0, 2));
    const int month = std::stoi(text.substr(3, 2));
    const int year = std::stoi(text.substr(6, 4));
    EXPECT_TRUE(IsRealDate(year, month, day)) << text;
    return year * 10000 + month * 100 + day;
  };
  const int lastUpload = dayNumber(lines[103]);
  EXPECT_GE(lastUpload, dayNumber(lines[104]));
  for (const ScoreRow& row : rows) EXPECT_GE(lastUpload, row.year * 10000 + row.month * 100 + row.day);
}

TEST(TextDataOutput, UnwritableFolderFailsCleanly) {
  const fs::path blocker = fs::temp_directory_path() / ("kesmir-text-blocker-" + std::to_string(::getpid()));
  std::ofstream(blocker) << "a file where a folder should be";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(assetgen::WriteTextData(blocker));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot create"), std::string::npos);
  fs::remove(blocker);
}

}  // namespace
