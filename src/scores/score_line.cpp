// The score line's columns and its digit form on disk.
#include "scores/score_line.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "core/numbers.h"

namespace kesmir {
namespace {

// Both directions walk at most this many positions (bytes when encoding, digit-form characters when decoding).
constexpr std::size_t kMaxPositions = 5000;
constexpr std::size_t kMaxGroupDigits = 3;

std::string_view StripSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The code a digit group stands for, or nullopt when the group is empty, not a number or not a byte.
std::optional<unsigned char> GroupCode(std::string_view group) {
  // Plain digits, as every group this game writes: read directly, as the number reading would read them.
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (!group.empty() && std::all_of(group.begin(), group.end(), isDigit)) {
    unsigned digits = 0;
    for (const char c : group) digits = digits * 10 + static_cast<unsigned>(c - '0');
    return digits <= 255 ? std::optional<unsigned char>(static_cast<unsigned char>(digits)) : std::nullopt;
  }
  if (StripSpaces(group).empty()) return std::nullopt;  // ParseNumber reads blank text as 0; a group may not
  const std::optional<double> value = ParseNumber(group);
  if (!value) return std::nullopt;
  const Long code = CLng(*value);
  if (code < 0 || code > 255) return std::nullopt;
  return static_cast<unsigned char>(code);
}

// The digit form of each byte value with its "-", as std::to_string writes the number.
struct ByteGroup {
  char text[4];
  std::size_t size;
};
constexpr std::array<ByteGroup, 256> kByteGroups = [] {
  std::array<ByteGroup, 256> groups{};
  for (unsigned b = 0; b < 256; ++b) {
    ByteGroup& group = groups[b];
    if (b >= 100) group.text[group.size++] = static_cast<char>('0' + b / 100);
    if (b >= 10) group.text[group.size++] = static_cast<char>('0' + b / 10 % 10);
    group.text[group.size++] = static_cast<char>('0' + b % 10);
    group.text[group.size++] = '-';
  }
  return groups;
}();

std::string Encode(std::string_view text) {
  std::string digits;
  const std::size_t count = text.size() < kMaxPositions ? text.size() : kMaxPositions;
  digits.reserve(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    const ByteGroup& group = kByteGroups[static_cast<unsigned char>(text[i])];
    digits.append(group.text, group.size);
  }
  return digits;
}

// Counting the group and cutting it both run over the trimmed text, so blanks in front of the digit form
// cannot shift the groups against their separators.
std::string Decode(std::string_view digits) {
  const std::string_view text = StripSpaces(digits);
  const auto isDash = [text](std::size_t i) { return i < text.size() && text[i] == '-'; };
  std::string decoded;
  decoded.reserve(text.size() / 3);
  for (std::size_t p = 0; p < kMaxPositions;) {
    // The group runs up to the next "-", but never beyond three characters; past the end counts as a digit.
    // Plain digits, as every group this game writes, are read on the way; anything else takes GroupCode.
    std::size_t length = 0;
    unsigned value = 0;
    bool plain = true;
    for (; length < kMaxGroupDigits && !isDash(p + length); ++length) {
      if (p + length >= text.size()) continue;
      const char c = text[p + length];
      if (c < '0' || c > '9') plain = false;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    const std::string_view group = p < text.size() ? text.substr(p, length) : std::string_view{};
    std::optional<unsigned char> code;
    if (plain && !group.empty()) {
      if (value <= 255) code = static_cast<unsigned char>(value);
    } else {
      code = GroupCode(group);
    }
    if (!code) break;
    decoded.push_back(static_cast<char>(*code));
    p += length + 1;
  }
  return decoded;
}

}  // namespace

std::string CodeScoreLine(std::string_view text, bool encode) { return encode ? Encode(text) : Decode(text); }

std::string AlignScoreField(std::string_view text, int width) {
  const std::optional<double> value = ParseNumber(text);
  std::string aligned;
  if (value && !StripSpaces(text).empty()) {
    double threshold = 10.0;
    for (int i = 1; i < width; ++i, threshold *= 10.0) {
      if (*value < threshold) aligned += ' ';
    }
  }
  aligned += text;
  return aligned;
}

double ScoreValue(std::string_view text) { return ParseNumber(text).value_or(0.0); }

std::string JoinScoreLine(const ScoreLineFields& fields) {
  std::string line;
  line.reserve(96 + fields.name.size());
  line += fields.score;
  line += "K=" + fields.kills;
  line += " T=" + fields.time;
  line += " A=" + fields.accuracy;
  line += " R=" + fields.recharge;
  line += " B=" + fields.bulletSpeed;
  line += " M=" + fields.melee;
  line += " MH=" + fields.maxHealth;
  line += " MA=" + fields.maxAmmo;
  line += " TP=" + fields.timesPlayed;
  line += "HD=" + fields.date;
  line += "??????????";
  line += " N=" + fields.name;
  return line;
}

ScoreLineFields CutScoreLine(std::string_view line) {
  // Columns counted from 1, as the layout gives them.
  const auto column = [line](std::size_t first, std::size_t width) {
    return first - 1 < line.size() ? std::string(line.substr(first - 1, width)) : std::string();
  };
  ScoreLineFields fields;
  fields.score = column(1, 5);
  fields.kills = column(8, 3);
  fields.time = column(14, 5);
  fields.accuracy = column(22, 2);
  fields.recharge = column(27, 2);
  fields.bulletSpeed = column(32, 2);
  fields.melee = column(37, 2);
  fields.maxHealth = column(43, 3);
  fields.maxAmmo = column(50, 3);
  fields.timesPlayed = column(57, 5);
  fields.date = column(65, 8);
  fields.name = std::string(StripSpaces(column(86, 35)));
  return fields;
}

std::string StoredName(std::string_view name) { return std::string(StripSpaces(name.substr(0, 35))); }

}  // namespace kesmir
