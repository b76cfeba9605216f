// Text conversions of the game's numeric conventions.
#include "core/numbers.h"

#include <cstdio>
#include <cstdlib>

namespace kesmir {

std::string NumberText(double value, int digits) {
  if (!std::isfinite(value)) return "0";
  const double rounded = RoundSignificant(value, digits);
  if (rounded == std::floor(rounded) && std::fabs(rounded) < 1e15) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded == 0.0 ? 0.0 : rounded);
    return buffer;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, rounded);
  return buffer;
}

std::string_view Trim(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> ParseNumber(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return 0.0;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; ++digits; }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') { ++i; ++digits; }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') { ++j; ++expDigits; }
    if (expDigits == 0) return std::nullopt;
    i = j;
  }
  if (i != text.size()) return std::nullopt;
  const std::string copy(text);
  const double value = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace kesmir
