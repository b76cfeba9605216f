// The list files' text, read and written without touching a file.
#include "scores/list_text.h"

#include <array>
#include <optional>

#include "core/files.h"
#include "core/numbers.h"

namespace kesmir {
namespace {

// A trailer date is "dd.mm.yyyy"; a longer line from a damaged file is cut so it cannot grow the screens' text.
constexpr std::size_t kMaxTrailerDate = 64;

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// The twelve columns in score-line order, with the list arrays that hold them.
struct ColumnLink {
  std::string ScoreLineFields::*field;
  LocalColumn ScoreLists::*local;
  WorldColumn ScoreLists::*world;
};

constexpr std::array<ColumnLink, 12> kColumns = {{
    {&ScoreLineFields::score, &ScoreLists::HsScore, &ScoreLists::WsScore},
    {&ScoreLineFields::kills, &ScoreLists::HsKills, &ScoreLists::WsKills},
    {&ScoreLineFields::time, &ScoreLists::HsTime, &ScoreLists::WsTime},
    {&ScoreLineFields::accuracy, &ScoreLists::HsAccuracy, &ScoreLists::WsAccuracy},
    {&ScoreLineFields::recharge, &ScoreLists::HsRecharge, &ScoreLists::WsRecharge},
    {&ScoreLineFields::bulletSpeed, &ScoreLists::HsBulletSpeed, &ScoreLists::WsBulletSpeed},
    {&ScoreLineFields::melee, &ScoreLists::HsMelee, &ScoreLists::WsMelee},
    {&ScoreLineFields::maxHealth, &ScoreLists::HsMaxHealth, &ScoreLists::WsMaxHealth},
    {&ScoreLineFields::maxAmmo, &ScoreLists::HsMaxAmmo, &ScoreLists::WsMaxAmmo},
    {&ScoreLineFields::timesPlayed, &ScoreLists::HsTimesPlayed, &ScoreLists::WsTimesPlayed},
    {&ScoreLineFields::date, &ScoreLists::HsDate, &ScoreLists::WsDate},
    {&ScoreLineFields::name, &ScoreLists::HsName, &ScoreLists::WsName},
}};

}  // namespace

std::string ListDateText(const Date& date) {
  return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + std::to_string(date.year);
}

ScoreLineFields LocalRow(const ScoreLists& lists, int place) {
  ScoreLineFields fields;
  for (const ColumnLink& link : kColumns) fields.*link.field = (lists.*link.local)[static_cast<std::size_t>(place)];
  return fields;
}

ScoreLineFields WorldRow(const ScoreLists& lists, int place) {
  ScoreLineFields fields;
  for (const ColumnLink& link : kColumns) fields.*link.field = (lists.*link.world)[static_cast<std::size_t>(place)];
  return fields;
}

void SetLocalRow(ScoreLists& lists, int place, const ScoreLineFields& fields) {
  for (const ColumnLink& link : kColumns) (lists.*link.local)[static_cast<std::size_t>(place)] = fields.*link.field;
}

void SetWorldRow(ScoreLists& lists, int place, const ScoreLineFields& fields) {
  for (const ColumnLink& link : kColumns) (lists.*link.world)[static_cast<std::size_t>(place)] = fields.*link.field;
}

bool WholeScoreLine(std::string_view line) { return line.size() >= 85 && line.substr(82, 3) == " N="; }

ParsedList ParseListText(std::string_view text, int maxRows, std::size_t trailerLines) {
  const std::vector<std::string> lines = SplitLines(text);
  ParsedList parsed;
  std::size_t next = 0;
  for (int place = 0; place < maxRows; ++place) {
    if (next >= lines.size()) {
      // Damaged: only the leading rows that still decode to whole score lines are worth keeping.
      std::size_t readable = 0;
      while (readable < parsed.list.rows.size() && WholeScoreLine(CodeScoreLine(lines[readable], false))) ++readable;
      if (readable == lines.size() && !text.empty() && text.back() != '\n' && readable > 0) --readable;
      parsed.list.rows.resize(readable);
      return parsed;
    }
    const std::string& line = lines[next++];
    if (line == "END") break;
    parsed.list.rows.push_back(CutScoreLine(CodeScoreLine(line, false)));
  }
  for (std::size_t i = 0; i < trailerLines && next < lines.size(); ++i) parsed.list.trailer.push_back(lines[next++]);
  parsed.whole = true;
  return parsed;
}

std::string EncodedRows(const std::vector<ScoreLineFields>& rows) {
  std::string text;
  for (const ScoreLineFields& row : rows) {
    text += CodeScoreLine(JoinScoreLine(row), true);
    text += "\r\n";
  }
  text += "END\r\n";
  return text;
}

void SetWorldList(ScoreLists& lists, const ListContents& list) {
  for (std::size_t place = 0; place < list.rows.size(); ++place) {
    SetWorldRow(lists, static_cast<int>(place), list.rows[place]);
  }
  if (!list.trailer.empty()) {
    const std::string_view count = Trim(list.trailer[0]);
    const std::optional<double> value = ParseNumber(count);
    if (!count.empty() && value && Int(*value) >= -32768.0 && Int(*value) <= 32767.0) {
      lists.WsUploadCount = static_cast<Integer>(Int(*value));
    }
  }
  if (list.trailer.size() > 1) {
    lists.WsLastUpdate = list.trailer[1].substr(0, kMaxTrailerDate);
    lists.WsListDate = lists.WsLastUpdate;
  }
}

std::string WorldListText(const ScoreLists& lists, const Date& today) {
  std::vector<ScoreLineFields> rows;
  for (int place = 0; place < kWorldRows; ++place) rows.push_back(WorldRow(lists, place));
  std::string text = EncodedRows(rows);
  // The count saturates like every 16-bit field rather than dropping its line.
  text += std::to_string(AddSat(lists.WsUploadCount, 1)) + "\r\n";
  text += ListDateText(today) + "\r\n";
  text += lists.WsListDate + "\r\n";
  return text;
}

}  // namespace kesmir
