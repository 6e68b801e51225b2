#pragma once
// A whole number as the date fields of conditions and the DXCC numbers of the
// country list are read: leading blanks, an optional sign, decimal digits and
// nothing else, within the range of a 32-bit integer.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kartex {

inline std::optional<int32_t> ReadWholeNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i == s.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace kartex
