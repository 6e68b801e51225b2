#pragma once
// How two cells of a sort key column compare: numerically, as dates or
// alphabetically, the style chosen from the first operand's text alone.

#include <optional>
#include <string_view>

#include "regional_settings.h"

namespace kartex {

enum class SortStyle { Alphabetic, Numeric, Date };
enum class NumberClass { IntegerLooking, DecimalLooking, TextLike };

struct NumberConversion {
  double value = 0;  // on failure: the digits read before it, as one whole number
  bool ok = false;
};

// -1, 0 or 1 in ascending sense. currentYear completes dates of the date
// style as in ReadDateTime (0: the year of the system clock).
int CompareKeyCells(std::string_view a, std::string_view b, const RegionalSettings& regional,
                    int currentYear = 0);
SortStyle DetectSortStyle(std::string_view text, const RegionalSettings& regional);
NumberClass ClassifyNumber(std::string_view text, const RegionalSettings& regional);
NumberConversion TextToNumber(std::string_view text);

// A cell prepared once for many comparisons against it (the sort's pivot):
// its style and its values under the numeric and the date comparison. The
// text must outlive it. Comparisons with it give exactly the results of
// CompareKeyCells on the texts.
struct PreparedKeyCell {
  std::string_view text;
  SortStyle style = SortStyle::Alphabetic;
  NumberConversion number;  // an empty text is a successful 0 here
  double date = 0;          // an unreadable text counts as 0
};
PreparedKeyCell PrepareKeyCell(std::string_view text, const RegionalSettings& regional,
                               int currentYear = 0);
// The prepared cell as first operand (its style decides) ...
int CompareKeyCells(const PreparedKeyCell& a, std::string_view b,
                    const RegionalSettings& regional, int currentYear = 0);
// ... and as second operand (the style of a decides).
int CompareKeyCells(std::string_view a, const PreparedKeyCell& b,
                    const RegionalSettings& regional, int currentYear = 0);

// A date-time text as days since 30 December 1899 with the time as fraction;
// nullopt when it cannot be read. currentYear places two-digit years and
// completes day-month dates; 0 means the year of the system clock.
std::optional<double> ReadDateTime(std::string_view text, const RegionalSettings& regional,
                                   int currentYear = 0);

// The year of the system clock (local time); cheap enough to call per comparison.
int SystemCurrentYear();

}  // namespace kartex
