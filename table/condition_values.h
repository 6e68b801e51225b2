#pragma once
// How a text reads as a number or as a date in the comparisons of a filter
// condition, under the regional settings. A comparison behind a "*" looks at
// every tail of the cell, so the tails of one text are read from the end of
// the text backwards, each step at a cost that does not grow with the tail.
//
// Number recognition: the decimal separator reads as ".", the thousands
// separator is left out; the rest must have the plain number form.
// Date recognition: three fields split at the first two date separators (the
// third is the whole remainder), each a whole number, in the order of the
// short date format, forming a date of the years 1 to 9999 as written.

#include <cstdint>
#include <optional>
#include <string_view>

#include "table/number_reader.h"
#include "table/regional_settings.h"
#include "table/whole_number.h"

namespace kartex {

// Which field of a date text (0, 1, 2) holds the day, the month and the year:
// the order of the first "d", "m" and "y" of the short date format (either
// case); month-day-year when one of them is missing. The condition matcher
// reads dates so; the sort has its own rule (LeadingDateOrder).
struct DateFieldPlaces {
  int day = 1, month = 0, year = 2;
};
DateFieldPlaces DateFieldPlacesOf(std::string_view shortDateFormat);

// The tails of one text as dates, from the shortest to the longest.
class DateTailReader {
 public:
  DateTailReader(char separator, DateFieldPlaces order) : separator_(separator), order_(order) {}
  void Prepend(char c);
  // The day number (see DayNumber) of the tail read so far, if it is a date.
  std::optional<int32_t> Value() const;

 private:
  char separator_;
  DateFieldPlaces order_;
  int separators_ = 0;
  WholeNumberTailReader first_;  // the text in front of the first separator
  WholeNumberTailReader whole_;  // the whole tail
  // Behind the first separator: the text up to the second, and all of it.
  std::optional<int32_t> second_, afterFirst_;
  std::optional<int32_t> third_;  // behind the second separator
};

// The number and the date of each tail of one text.
class TailReadings {
 public:
  // Only the readings asked for are worked out.
  TailReadings(std::string_view text, const RegionalSettings& regional, bool numbers, bool dates);
  // Moves to the tail from t, which must not lie behind the present one (the
  // tail from the end of the text, to begin with).
  void MoveTo(size_t t);
  std::optional<double> Number() const { return numbers_ ? numberReader_.Value() : std::nullopt; }
  std::optional<int32_t> Date() const { return dates_ ? dateReader_.Value() : std::nullopt; }

 private:
  std::string_view text_;
  char decimal_, thousands_;
  bool numbers_, dates_;
  size_t at_;
  NumberTailReader numberReader_;
  DateTailReader dateReader_;
};

std::optional<double> ReadConditionNumber(std::string_view text, const RegionalSettings& regional);
std::optional<int32_t> ReadConditionDate(std::string_view text, const RegionalSettings& regional);

}  // namespace kartex
