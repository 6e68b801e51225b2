#pragma once
// The field separator of a CSV file, detected from its first two lines.

#include <cstdint>
#include <string_view>

namespace kartex {

// The ten candidates, in the order they are tried.
inline constexpr std::string_view kSeparatorCandidates = ",;#\t|@*-+&";

// How often each candidate occurs in one line, counted both ways that the
// detection uses.
struct SeparatorCounts {
  // Runs of the candidate: a run that ends before the end of the line counts
  // 1 when its length is odd and 0 when even; a run reaching the end counts 1.
  int64_t single[kSeparatorCandidates.size()] = {};
  // Every occurrence counts 1.
  int64_t plain[kSeparatorCandidates.size()] = {};
  // The fields of a line made only of double-quoted fields joined by commas
  // (quotes inside a field doubled), the layout of the export; 0 for the
  // empty line, -1 for any other line.
  int64_t quotedCommaFields = 0;
};

SeparatorCounts CountSeparators(std::string_view line);

// Picks the separator from the counts of the first two lines; 0 when no
// candidate occurs in either line. A first line of at least two quoted fields
// joined by commas, followed by another such line or an empty one, is read
// with the comma: the counts see the candidates inside the cells too, and
// would take another candidate for the separator of an export whose first
// two rows hold commas unequally often and that candidate equally often.
char DetectSeparator(const SeparatorCounts& line1, const SeparatorCounts& line2);

// Detects the separator from the first two lines (line2 empty when the file
// has fewer than two lines); 0 when no candidate occurs in either line.
char DetectSeparator(std::string_view line1, std::string_view line2);

}  // namespace kartex
