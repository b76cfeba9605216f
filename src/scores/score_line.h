// The score line: its fixed columns and the digit form in which score files store it.
#pragma once

#include <string>
#include <string_view>

namespace kesmir {

// encode true: the digit form of text, the decimal Windows-1252 code of each byte followed by "-" ("abc" gives
// "97-98-99-"); only the first 5000 bytes are encoded.
// encode false: the bytes read back from digit form. Blanks around the digit form are ignored. The walk covers
// positions 1 to 5000 of the digit form and ends at the first group that is not a code 0..255 (an empty group,
// letters, a value above 255, or the end of the text); the bytes decoded before it are the result.
std::string CodeScoreLine(std::string_view text, bool encode);

// Right-aligns a number's text for a field of the given width: one leading space for each of the thresholds
// 10, 100, ... 10^(width-1) that the value is below ("850" in width 5 gives "  850"). Text that is not a number
// is returned unchanged; a value too wide for the field is not cut.
std::string AlignScoreField(std::string_view text, int width);

// The numeric value of a score column, leading spaces allowed: 0 when it is blank or not a number, so that a
// damaged row sorts below every real score.
double ScoreValue(std::string_view text);

// The twelve columns of one score line, each exactly as the list holds it (numbers already aligned).
struct ScoreLineFields {
  std::string score;        // width 5
  std::string kills;        // width 3
  std::string time;         // "mm:ss", width 5
  std::string accuracy;     // levels: width 2
  std::string recharge;
  std::string bulletSpeed;
  std::string melee;
  std::string maxHealth;    // width 3
  std::string maxAmmo;      // width 3
  std::string timesPlayed;  // width 5
  std::string date;         // "yyyymmdd"
  std::string name;         // written in full
};

// A name as a score file gives it back: its first 35 characters, spaces at both ends stripped.
std::string StoredName(std::string_view name);

// Joins the columns with their labels into one score line: score from column 1, "K=" at 6, " T=" at 11,
// " A=" at 19, " R=" at 24, " B=" at 29, " M=" at 34, " MH=" at 39, " MA=" at 46, " TP=" at 53, "HD=" at 62,
// ten "?" at 73, " N=" at 83 and the name from column 86.
std::string JoinScoreLine(const ScoreLineFields& fields);

// Cuts a score line into its columns as the readers do: score 1-5, kills 8-10, time 14-18, accuracy 22-23,
// recharge 27-28, bullet speed 32-33, melee 37-38, maximum health 43-45, maximum ammunition 50-52, games
// played 57-61, date 65-72 and name 86-120 with spaces stripped at both ends. A line too short for a column
// gives the shorter or empty text for it.
ScoreLineFields CutScoreLine(std::string_view line);

}  // namespace kesmir
