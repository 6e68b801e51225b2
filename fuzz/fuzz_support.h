#pragma once
// What the fuzz targets share: reading their text inputs, and reporting a
// mismatch so that libFuzzer keeps the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "table/regional_settings.h"

namespace kartex::fuzz {

// The input as lines split at LF (a last line needs no LF).
inline std::vector<std::string_view> InputLines(std::string_view input) {
  std::vector<std::string_view> lines;
  while (!input.empty()) {
    const size_t end = input.find('\n');
    lines.push_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return lines;
}

// Regional settings from one input line: its first four bytes are the
// decimal, thousands, date and time separators; the rest, split at TAB, the
// short date format and the AM and PM markers. What the line leaves out
// keeps its default.
inline RegionalSettings InputRegional(std::string_view line) {
  RegionalSettings regional;
  char* const separators[] = {&regional.decimalSeparator, &regional.thousandSeparator,
                              &regional.dateSeparator, &regional.timeSeparator};
  for (char* separator : separators) {
    if (line.empty()) return regional;
    *separator = line.front();
    line.remove_prefix(1);
  }
  std::string* const texts[] = {&regional.shortDateFormat, &regional.timeAMString,
                                &regional.timePMString};
  for (std::string* text : texts) {
    if (line.empty()) break;
    const size_t end = line.find('\t');
    *text = std::string(line.substr(0, end));
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  }
  return regional;
}

// A text for a message: printable ASCII as it is, every other byte as \xNN.
inline std::string Shown(std::string_view text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c >= 32 && c < 127 && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      shown += code;
    }
  }
  return shown;
}

// Ends the run on a mismatch: libFuzzer saves the input as a crash.
[[noreturn]] inline void Mismatch(const std::string& what) {
  std::fprintf(stderr, "MISMATCH: %s\n", what.c_str());
  std::abort();
}

}  // namespace kartex::fuzz
