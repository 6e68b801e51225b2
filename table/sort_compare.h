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

// A date-time text as days since 30 December 1899 with the time as fraction;
// nullopt when it cannot be read. currentYear places two-digit years and
// completes day-month dates; 0 means the year of the system clock.
std::optional<double> ReadDateTime(std::string_view text, const RegionalSettings& regional,
                                   int currentYear = 0);

// The year of the system clock (local time); cheap enough to call per comparison.
int SystemCurrentYear();

}  // namespace kartex
