// World list files for the exchange tests: written as the game writes them, read back row by row.
#pragma once

#include <string>
#include <vector>

#include "core/files.h"
#include "scores/score_line.h"

namespace kesmir::testing {

inline ScoreLineFields WorldTestRow(int score, const std::string& name, const std::string& date = "20240101") {
  return {AlignScoreField(std::to_string(score), 5), " 12", "03:07", " 4", " 2", " 1", " 0", "120", " 45", "    7",
          date, name};
}

// 101 rows with scores from top down in steps of 10, named prefix + place, "END" and the trailer.
inline std::string WorldListFile(int top, const std::string& prefix, int uploads, const std::string& date) {
  std::string text;
  for (int place = 0; place < 101; ++place) {
    const int score = place < 100 ? top - 10 * place : 0;
    text += CodeScoreLine(JoinScoreLine(WorldTestRow(score, prefix + std::to_string(place))), true) + "\r\n";
  }
  return text + "END\r\n" + std::to_string(uploads) + "\r\n" + date + "\r\n" + date + "\r\n";
}

// The rows before "END" and the lines after it.
struct WorldFileContents {
  std::vector<ScoreLineFields> rows;
  std::vector<std::string> trailer;
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.name);
    return names;
  }
};

inline WorldFileContents ReadWorldFile(const std::string& text) {
  WorldFileContents contents;
  bool ended = false;
  for (const std::string& line : SplitLines(text)) {
    if (ended) {
      contents.trailer.push_back(line);
    } else if (line == "END") {
      ended = true;
    } else {
      contents.rows.push_back(CutScoreLine(CodeScoreLine(line, false)));
    }
  }
  return contents;
}

}  // namespace kesmir::testing
