// Fuzzes the score line's digit form and its columns with any text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_game.h"
#include "scores/score_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesmir;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Decoding any text gives at most one byte per two characters walked.
  const std::string decoded = CodeScoreLine(text, false);
  fuzz::Require(decoded.size() <= 2500, "a decoded line stays within its walk");

  // The digit form of a text decodes to the text, as far as the 5000-position walk reaches.
  const std::string digits = CodeScoreLine(text, true);
  const std::string back = CodeScoreLine(digits, false);
  fuzz::Require(text.substr(0, back.size()) == back, "the decoded digit form is a prefix of the text");
  if (digits.size() <= 5000) fuzz::Require(back == text, "a short text survives its digit form");

  // Columns cut from a line long enough for all of them join into a line that cuts the same.
  const ScoreLineFields fields = CutScoreLine(decoded);
  if (decoded.size() >= 85) {
    const ScoreLineFields again = CutScoreLine(JoinScoreLine(fields));
    fuzz::Require(fuzz::SameFields(again, fields), "a full line's columns survive joining");
  }
  for (int width = 0; width <= 8; ++width) AlignScoreField(fields.score, width);
  ScoreValue(fields.score);
  AlignScoreField(text, 5);
  ScoreValue(text);
  return 0;
}
