#pragma once
// The pieces of the CSV reader: line splitting into fields and the detection
// of the field separator from the first two lines of a file.

#include <functional>
#include <string>
#include <string_view>

namespace kartex {

// The ten candidates, in the order they are tried.
inline constexpr std::string_view kSeparatorCandidates = ",;#\t|@*-+&";

// Detects the separator from the first two lines (line2 empty when the file
// has fewer than two lines); 0 when no candidate occurs in either line.
char DetectSeparator(std::string_view line1, std::string_view line2);

// Splits one line with separator sep (0: none) and hands every field, quote
// pairs undone and byte 11 turned into CR LF, to store(column, text).
void SplitCsvLine(std::string_view line, char sep,
                  const std::function<void(int column, std::string_view text)>& store);

}  // namespace kartex
