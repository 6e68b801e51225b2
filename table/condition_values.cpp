#include "table/condition_values.h"

#include "table/ascii_case.h"
#include "table/calendar.h"

namespace kartex {

DateFieldPlaces DateFieldPlacesOf(std::string_view shortDateFormat) {
  constexpr size_t kNone = std::string_view::npos;
  size_t d = kNone, m = kNone, y = kNone;
  for (size_t i = 0; i < shortDateFormat.size(); ++i) {
    const char c = AsciiUpper(shortDateFormat[i]);
    if (c == 'D' && d == kNone) d = i;
    if (c == 'M' && m == kNone) m = i;
    if (c == 'Y' && y == kNone) y = i;
  }
  DateFieldPlaces order;
  if (d == kNone || m == kNone || y == kNone) return order;
  auto rank = [&](size_t pos) { return int(pos > d) + int(pos > m) + int(pos > y); };
  order.day = rank(d);
  order.month = rank(m);
  order.year = rank(y);
  return order;
}

void DateTailReader::Prepend(char c) {
  if (c == separator_) {
    // The tail's fields move one place on.
    third_ = afterFirst_;
    second_ = first_.Value();
    afterFirst_ = whole_.Value();
    first_ = WholeNumberTailReader();
    ++separators_;
  } else {
    first_.Prepend(c);
  }
  whole_.Prepend(c);
}

std::optional<int32_t> DateTailReader::Value() const {
  if (separators_ < 2) return std::nullopt;
  const std::optional<int32_t> first = first_.Value();
  if (!first || !second_ || !third_) return std::nullopt;
  const int32_t fields[3] = {*first, *second_, *third_};
  return DayNumber(fields[order_.year], fields[order_.month], fields[order_.day]);
}

TailReadings::TailReadings(std::string_view text, const RegionalSettings& regional, bool numbers,
                           bool dates)
    : text_(text),
      decimal_(regional.decimalSeparator),
      thousands_(regional.thousandSeparator),
      numbers_(numbers),
      dates_(dates),
      at_(text.size()),
      dateReader_(regional.dateSeparator, DateFieldPlacesOf(regional.shortDateFormat)) {}

void TailReadings::MoveTo(size_t t) {
  if (!numbers_ && !dates_) {
    at_ = t;
    return;
  }
  for (; at_ > t; --at_) {
    const char c = text_[at_ - 1];
    if (numbers_ && !numberReader_.Dead()) {
      // A character that is the decimal separator is read as ".", not left out.
      if (c == decimal_) {
        numberReader_.Prepend('.');
      } else if (c != thousands_) {
        numberReader_.Prepend(c);
      }
    }
    if (dates_) dateReader_.Prepend(c);
  }
}

std::optional<double> ReadConditionNumber(std::string_view text, const RegionalSettings& regional) {
  TailReadings readings(text, regional, true, false);
  readings.MoveTo(0);
  return readings.Number();
}

std::optional<int32_t> ReadConditionDate(std::string_view text, const RegionalSettings& regional) {
  TailReadings readings(text, regional, false, true);
  readings.MoveTo(0);
  return readings.Date();
}

}  // namespace kartex
