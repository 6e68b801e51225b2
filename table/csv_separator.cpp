#include "table/csv_separator.h"

#include <algorithm>
#include <array>

namespace kartex {

namespace {

constexpr size_t kCandidates = kSeparatorCandidates.size();
constexpr char kQuote = '"';

// Candidate index + 1 for each byte, 0 for bytes that are no candidate.
constexpr std::array<uint8_t, 256> MakeCandidateTable() {
  std::array<uint8_t, 256> table{};
  for (size_t i = 0; i < kCandidates; ++i) {
    table[static_cast<unsigned char>(kSeparatorCandidates[i])] = static_cast<uint8_t>(i + 1);
  }
  return table;
}
constexpr std::array<uint8_t, 256> kCandidateOf = MakeCandidateTable();

// See SeparatorCounts::quotedCommaFields.
int64_t QuotedCommaFields(std::string_view line) {
  if (line.empty()) return 0;
  int64_t fields = 0;
  size_t i = 0;
  for (;;) {
    if (i == line.size() || line[i] != kQuote) return -1;
    // The closing quote is the first one that is not doubled.
    for (++i;;) {
      const size_t q = line.find(kQuote, i);
      if (q == std::string_view::npos) return -1;
      i = q + 1;
      if (i == line.size() || line[i] != kQuote) break;
      ++i;
    }
    ++fields;
    if (i == line.size()) return fields;
    if (line[i++] != ',') return -1;
  }
}

}  // namespace

SeparatorCounts CountSeparators(std::string_view line) {
  SeparatorCounts counts;
  const size_t n = line.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    const uint8_t candidate = kCandidateOf[c];
    if (candidate == 0) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < n && static_cast<unsigned char>(line[j]) == c) ++j;
    const size_t run = j - i;
    const size_t k = candidate - 1u;
    counts.plain[k] += static_cast<int64_t>(run);
    // A doubled separator inside the line counts as none; a run that ends
    // the line counts once whatever its length.
    if (j == n || (run & 1u) != 0) ++counts.single[k];
    i = j;
  }
  counts.quotedCommaFields = QuotedCommaFields(line);
  return counts;
}

char DetectSeparator(const SeparatorCounts& line1, const SeparatorCounts& line2) {
  if (line1.quotedCommaFields >= 2 && line2.quotedCommaFields >= 0) return ',';
  int64_t best = 0;
  char separator = 0;
  // Passes 1 and 2: the candidate that occurs equally often, and most often,
  // in both lines; the earlier candidate wins a tie.
  for (size_t k = 0; k < kCandidates; ++k) {
    if (line1.single[k] == line2.single[k] && line1.single[k] > best) {
      separator = kSeparatorCandidates[k];
      best = line1.single[k];
    }
  }
  if (best == 0) {
    for (size_t k = 0; k < kCandidates; ++k) {
      if (line1.plain[k] == line2.plain[k] && line1.plain[k] > best) {
        separator = kSeparatorCandidates[k];
        best = line1.plain[k];
      }
    }
  }
  // Pass 3: the candidate that occurs most often in either line.
  if (best == 0) {
    for (size_t k = 0; k < kCandidates; ++k) {
      if (line1.plain[k] > best || line2.plain[k] > best) {
        separator = kSeparatorCandidates[k];
        best = std::max(line1.plain[k], line2.plain[k]);
      }
    }
  }
  return separator;
}

char DetectSeparator(std::string_view line1, std::string_view line2) {
  return DetectSeparator(CountSeparators(line1), CountSeparators(line2));
}

}  // namespace kartex
