// Writing and reading the two score lists in their digit-form files.
#include "scores/score_files.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/folders.h"
#include "app/progress.h"
#include "app/window_events.h"
#include "core/files.h"
#include "network/ftp_exchange.h"

namespace kesmir {
namespace {

// A list file written by the game is a few kilobytes (a world list about 50 KB). The bound leaves room for
// long damaged lines and thousands of extra rows while keeping a runaway file from filling memory; a file cut
// at the bound before its "END" counts as damaged.
constexpr std::size_t kMaxListBytes = 8 * 1024 * 1024;
// The throttle reads on every 10,000th call.
constexpr Integer kLoadPeriod = 10000;

struct ListFiles {
  std::string_view hidden;
  std::string_view copy;
  std::string_view fallback;
  const char* what;  // for the messages
};

constexpr ListFiles kLocalFiles{kLocalScoreFile, kLocalScoreCopy, kLocalScoreDefault, "high-score list"};
constexpr ListFiles kWorldFiles{kWorldScoreFile, kWorldScoreCopy, kWorldScoreDefault, "world score list"};

// Steps a load throttle; true when this call is to read the file.
bool ThrottleAllowsRead(Integer& count) {
  count = AddSat(count, 1);
  if (count >= kLoadPeriod) count = 0;
  return count == 1;
}

// The list to use and the text that restores the hidden file from it.
struct Restored {
  ListContents list;
  std::string text;
};

// A damaged or missing hidden file is restored from the best list at hand: a whole readable copy (a byte
// copy of the last save), else whichever of the hidden file and the copy has more rows that can still be
// read (the hidden file on a tie), else the default list. A damaged hidden file is kept beside it as
// "<name>.damaged", said once on stderr.
std::optional<Restored> RestoreList(Game& game, const ListFiles& files, const std::optional<ParsedList>& hidden,
                                    int maxRows, std::size_t trailerLines) {
  const auto hiddenPath = UserPath(game, files.hidden);
  std::optional<Restored> chosen;
  std::string from;
  if (const auto copyText = ReadFileLimited(UserPath(game, files.copy), kMaxListBytes)) {
    ParsedList copy = ParseListText(*copyText, maxRows, trailerLines);
    const std::size_t hiddenRows = hidden ? hidden->list.rows.size() : 0;
    if (copy.whole ? !copy.list.rows.empty() : copy.list.rows.size() > hiddenRows) {
      from = "its readable copy " + UserPath(game, files.copy).string();
      chosen = Restored{copy.list, copy.whole ? *copyText : EncodedRows(copy.list.rows)};
    }
  }
  if (!chosen && hidden && !hidden->list.rows.empty()) {
    from = "its " + std::to_string(hidden->list.rows.size()) + " rows that could be read";
    chosen = Restored{hidden->list, EncodedRows(hidden->list.rows)};
  }
  if (!chosen) {
    const auto fallback = ReadFileLimited(DataPath(game, files.fallback), kMaxListBytes);
    if (!fallback) return std::nullopt;
    ParsedList list = ParseListText(*fallback, maxRows, trailerLines);
    if (!list.whole) return std::nullopt;
    from = "the default list";
    chosen = Restored{list.list, *fallback};
  }
  if (hidden) {
    auto damaged = hiddenPath;
    damaged += ".damaged";
    std::error_code ec;
    std::filesystem::rename(hiddenPath, damaged, ec);
    std::fprintf(stderr, "kesmir: the %s %s is damaged; it is kept as %s and %s takes its place\n", files.what,
                 hiddenPath.c_str(), damaged.c_str(), from.c_str());
  }
  return chosen;
}

// The hidden file's list; a hidden file that is missing or damaged is restored first (see RestoreList).
// nullopt when no list could be read; nothing is changed on disk then.
std::optional<ListContents> ReadListFile(Game& game, const ListFiles& files, int maxRows, std::size_t trailerLines) {
  const auto hiddenPath = UserPath(game, files.hidden);
  std::optional<ParsedList> hidden;
  if (const auto text = ReadFileLimited(hiddenPath, kMaxListBytes)) {
    hidden = ParseListText(*text, maxRows, trailerLines);
    if (hidden->whole) return hidden->list;
  }
  auto restored = RestoreList(game, files, hidden, maxRows, trailerLines);
  if (!restored) return std::nullopt;
  // The restored list is used even when it cannot be kept: the next save tries the file again.
  if (!WriteFileAtomic(hiddenPath, restored->text) && !game.scores.WriteWarned) {
    SayNotSaved(game, hiddenPath, "the scores will not be kept");
    game.scores.WriteWarned = true;
  }
  return restored->list;
}

void WarnUnreadable(Game& game, const ListFiles& files, bool& warned) {
  if (warned) return;
  warned = true;
  std::fprintf(stderr, "kesmir: cannot read the %s %s nor its default %s; the list stays as it was\n", files.what,
               UserPath(game, files.hidden).c_str(), DataPath(game, files.fallback).c_str());
}

// Writes the hidden file, then its readable copy.
bool WriteListFile(Game& game, const ListFiles& files, const std::string& contents) {
  const auto hiddenPath = UserPath(game, files.hidden);
  const auto copyPath = UserPath(game, files.copy);
  const bool written = WriteFileAtomic(hiddenPath, contents);
  if (written && WriteFileAtomic(copyPath, contents)) return true;
  if (!game.scores.WriteWarned) {
    SayNotSaved(game, written ? copyPath : hiddenPath,
                written ? "the readable copy is out of date" : "the scores will not be kept");
    game.scores.WriteWarned = true;
  }
  return written;
}

}  // namespace

bool SaveHighScores(Game& game) {
  std::vector<ScoreLineFields> rows;
  for (int place = 0; place < kLocalRows; ++place) rows.push_back(LocalRow(game.scores, place));
  return WriteListFile(game, kLocalFiles, EncodedRows(rows));
}

bool LoadHighScores(Game& game) {
  ScoreLists& lists = game.scores;
  if (!ThrottleAllowsRead(lists.HsLoadCount)) return true;
  const auto list = ReadListFile(game, kLocalFiles, kLocalRows, 0);
  if (!list) {
    WarnUnreadable(game, kLocalFiles, lists.HsReadWarned);
    return false;
  }
  for (std::size_t place = 0; place < list->rows.size(); ++place) {
    SetLocalRow(lists, static_cast<int>(place), list->rows[place]);
  }
  return true;
}

bool SaveWorldScores(Game& game) {
  ScoreLists& lists = game.scores;
  DoEvents(game);
  game.app.LoadingCaption = "Saving..";
  ShowProgress(game);
  const std::string text = WorldListText(lists, game.platform.clock ? game.platform.clock->Today() : Date{});
  if (!WriteListFile(game, kWorldFiles, text)) return false;
  UploadWorldScores(game);
  return true;
}

bool LoadWorldScores(Game& game) {
  ScoreLists& lists = game.scores;
  if (!ThrottleAllowsRead(lists.WsLoadCount)) return true;
  const auto list = ReadListFile(game, kWorldFiles, kWorldPlaces, 2);
  if (!list) {
    WarnUnreadable(game, kWorldFiles, lists.WsReadWarned);
    return false;
  }
  SetWorldList(lists, *list);
  return true;
}

}  // namespace kesmir
