#pragma once
// Letter case of the ASCII letters alone. Call signs, ADIF field names, file
// extensions and the markers of dates and times are ASCII; a letter of
// Windows-1250 (or a byte of UTF-8) is left as it stands.

#include <algorithm>
#include <string>
#include <string_view>

namespace kartex {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

constexpr bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }

inline void MakeAsciiUpper(std::string& text) {
  for (char& c : text) c = AsciiUpper(c);
}

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

}  // namespace kartex
