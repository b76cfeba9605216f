// The game's numeric conventions: whole-number conversions, 16-bit saturating fields and decimal-text rounding.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace kesmir {

// A 16-bit game field (Integer): arithmetic saturates at the type's bounds instead of wrapping.
using Integer = std::int16_t;
// A 32-bit game field (Long).
using Long = std::int32_t;

inline constexpr Integer kTrue = -1;   // flags hold -1 for true
inline constexpr Integer kFalse = 0;

// Round to nearest, halves to even, saturating to the Long range (CLng).
inline Long CLng(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value);  // default rounding mode is to-nearest-even
  if (rounded >= static_cast<double>(std::numeric_limits<Long>::max())) return std::numeric_limits<Long>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<Long>::min())) return std::numeric_limits<Long>::min();
  return static_cast<Long>(rounded);
}

// Clamp a whole number into the Integer range.
inline Integer SatInteger(long long value) {
  if (value > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (value < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(value);
}

// Round to nearest, halves to even, saturating to the Integer range (CInt).
inline Integer CInt(double value) { return SatInteger(CLng(value)); }

// Integer + delta without overflow.
inline Integer AddSat(Integer value, long long delta) { return SatInteger(static_cast<long long>(value) + delta); }

// Floor (Int).
inline double Int(double value) { return std::floor(value); }

// Whole-number division truncating towards zero (the "\" operator): both operands are rounded to whole
// numbers first. Division by zero yields nullopt; callers keep their previous value then.
inline std::optional<Long> IntDiv(double dividend, double divisor) {
  const long long a = CLng(dividend);
  const long long b = CLng(divisor);
  if (b == 0) return std::nullopt;
  const long long q = a / b;
  if (q > std::numeric_limits<Long>::max()) return std::numeric_limits<Long>::max();
  return static_cast<Long>(q);
}

// Rounds a value the way writing it as decimal text with `digits` significant digits does.
inline double RoundSignificant(double value, int digits) {
  if (value == 0.0 || !std::isfinite(value)) return value;
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  double rounded = value;
  std::from_chars(buffer, written.ptr, rounded);
  return rounded;
}

// A decimal-text field written from a Single keeps 7 significant digits.
inline double SingleText(double value) { return RoundSignificant(static_cast<double>(static_cast<float>(value)), 7); }
// A decimal-text field written from a Double keeps 15 significant digits.
inline double DoubleText(double value) { return RoundSignificant(value, 15); }

// The decimal text of a number as the game writes it: whole numbers without a point, others with at most
// `digits` significant digits and no trailing zeros ("10", "10.5", "-3", "0.25").
std::string NumberText(double value, int digits = 15);

// Reads a number from text: surrounding blanks allowed, optional sign, digits with an optional decimal point
// and exponent. Empty or blank text reads as 0. Anything else (letters, a second number) gives nullopt.
std::optional<double> ParseNumber(std::string_view text);

// Trim leading and trailing spaces (and tabs).
std::string_view Trim(std::string_view text);

}  // namespace kesmir
