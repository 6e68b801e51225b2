#pragma once
// The calendar of the filter's and the sort's dates: the proleptic Gregorian
// calendar of the years 1 to 9999, a date counted in days from 30 December
// 1899, the day 0 of the sort's date-time values.

#include <chrono>
#include <cstdint>
#include <optional>

namespace kartex {

// nullopt when year, month and day form no date of the years 1 to 9999.
inline std::optional<int32_t> DayNumber(int64_t year, int64_t month, int64_t day) {
  using namespace std::chrono;
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    return std::nullopt;
  const year_month_day date{std::chrono::year{static_cast<int>(year)},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  constexpr sys_days kDayZero = std::chrono::year{1899} / December / 30;
  return static_cast<int32_t>((sys_days{date} - kDayZero).count());
}

}  // namespace kartex
