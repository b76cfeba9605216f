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
  // Inside the range, adding and taking away 1.5 x 2^52 rounds to a whole number, halves to even, as
  // nearbyint does in the default rounding mode, without a library call: the effects round thousands a frame.
  constexpr double kRounder = 6755399441055744.0;
  if (std::fabs(value) < 2147483647.0) return static_cast<Long>((value + kRounder) - kRounder);
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value);
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

namespace detail {

// The correctly rounded double of value written with `digits` significant digits and read back.
inline double RoundSignificantSlow(double value, int digits) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  double rounded = value;
  std::from_chars(buffer, written.ptr, rounded);
  return rounded;
}

inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace detail

// Rounds a value the way writing it as decimal text with `digits` (1..15) significant digits and reading it
// back does. The digits are found by scaling to a whole number by a power of ten; only values beyond the
// powers a double holds exactly take the text conversion.
inline double RoundSignificant(double value, int digits) {
  if (value == 0.0 || !std::isfinite(value)) return value;
  const double magnitude = std::fabs(value);
  // The power of ten at or below the magnitude, found by comparison; near a power of ten it may be one off,
  // which the range check below catches.
  int exponent = 0;
  if (magnitude >= 1) {
    while (exponent < 22 && magnitude >= detail::kPowersOfTen[exponent + 1]) ++exponent;
  } else {
    do --exponent;
    while (exponent > -23 && magnitude * detail::kPowersOfTen[-exponent] < 1);
  }
  const int shift = digits - 1 - exponent;  // value x 10^shift has `digits` digits before the point
  if (digits < 1 || digits > 15 || shift < 0 || shift > 22) return detail::RoundSignificantSlow(value, digits);
  const double scale = detail::kPowersOfTen[shift];
  const double scaled = magnitude * scale;
  // An exponent one off leaves the scaled value out of range: then the slow way is taken.
  if (scaled < detail::kPowersOfTen[digits - 1] || scaled >= detail::kPowersOfTen[digits]) {
    return detail::RoundSignificantSlow(value, digits);
  }
  const double whole = static_cast<double>(static_cast<long long>(scaled));  // floor: scaled is positive
  const double fraction = scaled - whole;  // exact, as is fraction - 0.5 near a half
  double digitsValue = fraction > 0.5 ? whole + 1 : whole;
  if (std::fabs(fraction - 0.5) < 1e-6) {
    // Near a half the scaling's own rounding decides. The exact error of the product tells on which side of
    // the half the value lies; an exact half goes to the even neighbour, as the text conversion does.
    const double side = (fraction - 0.5) + std::fma(magnitude, scale, -scaled);
    digitsValue = side > 0 || (side == 0 && std::fmod(whole, 2.0) != 0) ? whole + 1 : whole;
  }
  // Both are exact whole numbers, so the quotient is the double nearest the decimal text.
  const double rounded = digitsValue / scale;
  return value < 0 ? -rounded : rounded;
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
