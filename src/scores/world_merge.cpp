// The merge of rows into the world list.
#include "scores/world_merge.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/files.h"
#include "scores/list_text.h"
#include "scores/score_line.h"

namespace kesmir {
namespace {

double WholeScore(const std::string& column) { return Int(ScoreValue(column)); }

void SetMark(ScoreLists& lists, int place, Integer mark) { lists.WsMark[static_cast<std::size_t>(place)] = mark; }

// True when the local row is in the world list's hundred places. Names are compared as the file stores them
// (cut to 35 characters, spaces at both ends stripped), so a row merged before and read back is recognised.
bool InWorldList(const ScoreLists& lists, std::size_t f) {
  const double score = WholeScore(lists.HsScore[f]);
  const std::string name = StoredName(lists.HsName[f]);
  for (std::size_t g = 0; g < static_cast<std::size_t>(kWorldShown); ++g) {
    if (WholeScore(lists.WsScore[g]) == score && StoredName(lists.WsName[g]) == name) return true;
  }
  return false;
}

WorldMerge Rejected(std::string reason) { return {.text = {}, .added = 0, .rejection = std::move(reason)}; }

}  // namespace

std::string ListFileFault(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  const auto limit = lines.begin() + std::min<std::ptrdiff_t>(std::ssize(lines), kWorldPlaces + 1);
  const auto end = std::find(lines.begin(), limit, "END");
  if (end == limit) return "not a score list: no END line after at most 501 rows";
  if (end == lines.begin()) return "the list holds no rows";
  // A place the game has never filled is saved as a row of empty fields, which the game reads back by its
  // columns and saves again as a row of pieces of them: rows without a score, which no merge ranks.
  for (auto line = lines.begin(); line != end; ++line) {
    const std::string decoded = CodeScoreLine(*line, false);
    if (!WholeScoreLine(decoded) && WholeScore(CutScoreLine(decoded).score) != 0) {
      return "row " + std::to_string(line - lines.begin() + 1) + " is not a whole score line";
    }
  }
  return {};
}

bool LocalRowInWorldList(const ScoreLists& lists, int localPlace) {
  return InWorldList(lists, static_cast<std::size_t>(localPlace));
}

bool LocalRowsInWorldList(const ScoreLists& lists) {
  const double last = WholeScore(lists.WsScore[static_cast<std::size_t>(kWorldShown - 1)]);
  for (std::size_t f = 0; f < static_cast<std::size_t>(kMergedLocalRows); ++f) {
    const double score = WholeScore(lists.HsScore[f]);
    // A row that beats none of the hundred is not kept by anyone's merge.
    if (score > 0 && score > last && !InWorldList(lists, f)) return false;
  }
  return true;
}

bool MergeLocalRow(ScoreLists& lists, int localPlace) {
  const auto f = static_cast<std::size_t>(localPlace);
  const double score = WholeScore(lists.HsScore[f]);
  if (InWorldList(lists, f)) return false;
  const ScoreLineFields local = LocalRow(lists, localPlace);
  for (int place = kWorldShown - 1; place >= 0; --place) {
    lists.ListIndex = static_cast<Integer>(place);
    if (WholeScore(lists.WsScore[static_cast<std::size_t>(place)]) < score) {
      SetMark(lists, place + 1, kMarkDown);
      SetWorldRow(lists, place + 1, WorldRow(lists, place));
      if (place == 0) {
        SetWorldRow(lists, 0, local);
        SetMark(lists, 0, kMarkUp);
        return true;
      }
    } else {
      // An equal world score keeps the better place.
      SetMark(lists, place + 1, kMarkUp);
      SetWorldRow(lists, place + 1, local);
      return place + 1 < kWorldShown;
    }
  }
  return false;
}

int MergeLocalRows(ScoreLists& lists, int count, const std::function<void()>& beforeEach) {
  int merged = 0;
  for (int f = 0; f < count; ++f) {
    if (beforeEach) beforeEach();
    if (MergeLocalRow(lists, f)) ++merged;
  }
  return merged;
}

WorldMerge MergeWorldUpload(std::string_view worldText, std::string_view uploadText, const Date& today) {
  if (std::string fault = ListFileFault(uploadText); !fault.empty()) return Rejected(std::move(fault));
  // The lists are large (a few hundred kilobytes), too large for the stack of a server's worker thread.
  const auto lists = std::make_unique<ScoreLists>();
  if (!worldText.empty()) {
    const ParsedList world = ParseListText(worldText, kWorldPlaces, 2);
    if (!world.whole) return Rejected("the world list is damaged");
    SetWorldList(*lists, world.list);
  }
  const ParsedList upload = ParseListText(uploadText, kWorldPlaces, 1);
  const int limit = upload.list.trailer.empty() ? kMergedLocalRows : kWorldShown;
  const int count = std::min(limit, static_cast<int>(upload.list.rows.size()));
  for (int place = 0; place < count; ++place) SetLocalRow(*lists, place, upload.list.rows[static_cast<std::size_t>(place)]);
  const int added = MergeLocalRows(*lists, count);
  return {.text = WorldListText(*lists, today), .added = added, .rejection = {}};
}

WorldMerge RemoveWorldRow(std::string_view worldText, std::string_view name, int score) {
  const ParsedList world = ParseListText(worldText, kWorldPlaces, 3);
  if (worldText.empty() || !world.whole) return Rejected("there is no world list to remove a row from");
  std::vector<ScoreLineFields> rows = world.list.rows;
  const std::string storedName = StoredName(name);
  const auto last = rows.begin() + std::min<std::ptrdiff_t>(std::ssize(rows), kWorldRows);
  const auto row = std::find_if(rows.begin(), last, [&](const ScoreLineFields& r) {
    return WholeScore(r.score) == score && StoredName(r.name) == storedName;
  });
  if (row == last) return Rejected("the world list has no row " + storedName + " " + std::to_string(score));
  rows.erase(row);
  rows.push_back({});
  std::string text = EncodedRows(rows);
  for (const std::string& line : world.list.trailer) text += line + "\r\n";
  return {.text = std::move(text), .added = 0, .rejection = {}};
}

}  // namespace kesmir
