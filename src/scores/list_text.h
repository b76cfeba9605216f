// The list files' text: the rows and trailer a reader takes from it and the text a save writes, with no files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"
#include "scores/score_line.h"
#include "scores/score_lists.h"

namespace kesmir {

// One place of a list as the twelve fields of its score line, and back.
ScoreLineFields LocalRow(const ScoreLists& lists, int place);
ScoreLineFields WorldRow(const ScoreLists& lists, int place);
void SetLocalRow(ScoreLists& lists, int place, const ScoreLineFields& fields);
void SetWorldRow(ScoreLists& lists, int place, const ScoreLineFields& fields);

// What one list file holds: the rows read before "END" (or before the row limit) and the lines after them.
struct ListContents {
  std::vector<ScoreLineFields> rows;
  std::vector<std::string> trailer;
};

// What a list file holds, and whether it was whole: up to maxRows score lines, then "END" (or the row
// limit) and up to trailerLines lines. A file that runs out of lines before either is damaged; its rows up to
// the damage are kept, without a last line cut in the middle.
struct ParsedList {
  ListContents list;
  bool whole = false;
};
ParsedList ParseListText(std::string_view text, int maxRows, std::size_t trailerLines);

// A decoded line that reaches the name column, so every column of it is there.
bool WholeScoreLine(std::string_view line);

// The rows in digit form, one a line, then "END".
std::string EncodedRows(const std::vector<ScoreLineFields>& rows);

// Puts a world file's rows at places 0.. and takes its trailer: line 1 the upload count, line 2 the date of
// the last upload (which becomes the list's date too); line 3 is for the uploader only. Trailer lines that are
// missing or unreadable leave their values unchanged.
void SetWorldList(ScoreLists& lists, const ListContents& list);

// A date as the trailer writes it, "dd.mm.yyyy".
std::string ListDateText(const Date& date);

// The hidden world file as a save writes it: places 0..100, "END", the upload count + 1, today as
// "dd.mm.yyyy" and the list's date.
std::string WorldListText(const ScoreLists& lists, const Date& today);

}  // namespace kesmir
