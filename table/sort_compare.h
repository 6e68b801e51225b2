#pragma once
// How two cells of a sort key column compare: numerically, as dates or
// alphabetically, the style chosen from the first operand's text alone.

#include <cstdint>
#include <optional>
#include <string_view>

#include "regional_settings.h"
#include "table/three_way.h"

namespace kartex {

enum class SortStyle { Alphabetic, Numeric, Date };
enum class NumberClass { IntegerLooking, DecimalLooking, TextLike };

struct NumberConversion {
  double value = 0;  // on failure: the digits read before it, as one whole number
  bool ok = false;
};

// -1, 0 or 1 in ascending sense. currentYear completes dates of the date
// style as in ReadDateTime (0: the year of the system clock). The plain
// comparison, kept on purpose: the sort compares prepared KeyCellFacts, and
// the tests and fuzzers hold those to this.
int CompareKeyCells(std::string_view a, std::string_view b, const RegionalSettings& regional,
                    int currentYear = 0);
SortStyle DetectSortStyle(std::string_view text, const RegionalSettings& regional);
NumberClass ClassifyNumber(std::string_view text, const RegionalSettings& regional);
NumberConversion TextToNumber(std::string_view text);

// A cell's value under the numeric comparison: the first regional decimal
// separator reads as "."; an empty text is a successful 0.
NumberConversion SortNumber(std::string_view text, const RegionalSettings& regional);
// A cell's value under the date comparison: 0 when it cannot be read.
double SortDate(std::string_view text, const RegionalSettings& regional, int currentYear = 0);
// The first seven bytes, big-endian, and in the lowest byte the length up to
// 8: comparing two prefixes as numbers compares the texts, unless they are
// equal and both texts have 8 bytes or more.
uint64_t SortPrefix(std::string_view text);

// What the comparisons of a cell need, worked out once for a whole sort. A
// value may stay unset when no cell of the column has the style that reads it.
struct KeyCellFacts {
  double number = 0;  // SortNumber
  double date = 0;    // SortDate
  uint64_t prefix = 0;
  SortStyle style = SortStyle::Alphabetic;
  bool numberOk = false;
};
KeyCellFacts PrepareKeyCell(std::string_view text, const RegionalSettings& regional,
                            int currentYear = 0);

// CompareKeyCells of two texts from their facts, or kTextsDecide when only
// the texts can tell: then CompareTexts of the two texts gives the result.
constexpr int kTextsDecide = 2;
// The alphabetic comparison of two texts by their prefixes, the same way.
inline int ComparePrefixes(uint64_t a, uint64_t b) {
  const int v = ThreeWay(a, b);
  return v == 0 && (a & 0xFF) == 8 ? kTextsDecide : v;
}
inline int CompareKeyFacts(const KeyCellFacts& a, const KeyCellFacts& b) {
  switch (a.style) {
    case SortStyle::Numeric:
      return !a.numberOk && !b.numberOk ? 0 : ThreeWay(a.number, b.number);
    case SortStyle::Date:
      return ThreeWay(a.date, b.date);
    case SortStyle::Alphabetic:
      break;
  }
  return ComparePrefixes(a.prefix, b.prefix);
}
// The alphabetic comparison: unsigned bytes, a proper beginning first.
int CompareTexts(std::string_view a, std::string_view b);

// A date-time text as days since 30 December 1899 with the time as fraction;
// nullopt when it cannot be read. currentYear places two-digit years and
// completes day-month dates; 0 means the year of the system clock.
std::optional<double> ReadDateTime(std::string_view text, const RegionalSettings& regional,
                                   int currentYear = 0);

// The year of the system clock (local time); cheap enough to call per comparison.
int SystemCurrentYear();

}  // namespace kartex
