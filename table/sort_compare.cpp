#include "table/sort_compare.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "table/ascii_case.h"
#include "table/calendar.h"
#include "table/number_reader.h"

#include "platform/system.h"

namespace kartex {

namespace {

constexpr size_t kNone = std::string_view::npos;

// TextToNumber's value of a text that is no number: the digits read before
// the failure and before any exponent, as one whole number. The character
// at index pointAt (if any) reads as the decimal point, also when it is a
// blank: a blank decimal separator is no leading blank.
double DigitsBeforeFailure(std::string_view t, size_t pointAt) {
  size_t i = 0;
  while (i < t.size() && t[i] == ' ' && i != pointAt) ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  double value = 0;
  bool pointTaken = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      value = value * 10 + (t[i] - '0');
    } else if (!pointTaken && (t[i] == '.' || i == pointAt)) {
      pointTaken = true;
    } else {
      break;
    }
  }
  return value;
}

// The number reader of the sort. The character at index pointAt (if any)
// reads as the decimal point "." — that is how the regional decimal
// separator is honoured without copying the text.
NumberConversion ParseNumber(std::string_view t, size_t pointAt) {
  NumberTailReader reader;
  for (size_t i = t.size(); i-- > 0 && !reader.Dead();) reader.Prepend(i == pointAt ? '.' : t[i]);
  if (const std::optional<double> value = reader.Value()) return {*value, true};
  return {DigitsBeforeFailure(t, pointAt), false};
}

// Year of the local clock, re-read at most once a minute.
std::atomic<int64_t> g_cachedYear{0};  // (minute << 16) | year

}  // namespace

int CompareTexts(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  if (common > 0) {
    const int c = std::memcmp(a.data(), b.data(), common);  // unsigned bytes
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

NumberConversion SortNumber(std::string_view t, const RegionalSettings& regional) {
  if (t.empty()) return {0, true};
  const size_t point = regional.decimalSeparator != '.' ? t.find(regional.decimalSeparator) : kNone;
  return ParseNumber(t, point);
}

namespace {

int CompareNumbers(const NumberConversion& a, const NumberConversion& b) {
  if (!a.ok && !b.ok) return 0;
  return ThreeWay(a.value, b.value);
}

// ---- Date-time texts ----------------------------------------------------

// The sort reads a date in the order of the first date letter of the short
// date format alone (the condition matcher places every field: DateFieldPlaces).
enum class LeadingDateOrder { MDY, DMY, YMD };

LeadingDateOrder LeadingDateOrderOf(std::string_view shortDateFormat) {
  for (char c : shortDateFormat) {
    switch (c) {
      case 'd':
      case 'D':
        return LeadingDateOrder::DMY;
      case 'y':
      case 'Y':
      case 'e':
      case 'E':
        return LeadingDateOrder::YMD;
      case 'm':
      case 'M':
        return LeadingDateOrder::MDY;
      default:
        break;
    }
  }
  return LeadingDateOrder::MDY;
}

// Cursor over a date-time text; blanks may stand before every element.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : s_(text) {}

  size_t Pos() const { return pos_; }
  void Restore(size_t pos) { pos_ = pos; }

  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  bool OnlyBlanksLeft() {
    SkipBlanks();
    return pos_ == s_.size();
  }
  // A run of digits; reading stops once the value reaches 1000.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < s_.size() && IsDigit(s_[pos_]) && value < 1000) {
      value = value * 10 + (s_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }
  bool Number(int& value) {
    int digits;
    return Number(value, digits);
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // A marker text in any (ASCII) case; an empty marker never matches.
  bool Marker(std::string_view marker) {
    if (marker.empty()) return false;
    const size_t start = pos_;
    SkipBlanks();
    if (s_.size() - pos_ >= marker.size()) {
      bool same = true;
      for (size_t k = 0; k < marker.size() && same; ++k)
        same = AsciiUpper(s_[pos_ + k]) == AsciiUpper(marker[k]);
      if (same) {
        pos_ += marker.size();
        return true;
      }
    }
    pos_ = start;
    return false;
  }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};

// Moves a year written with one or two digits into the century window
// around the current year.
int WindowYear(int year, int currentYear) {
  const int base = currentYear - 50;
  const int hundreds = base >= 0 ? base / 100 * 100 : -((-base + 99) / 100) * 100;
  year += hundreds;
  if (year < base) year += 100;
  return year;
}

// Date: number, separator, number, optionally separator and a third number,
// optionally a trailing separator. Leaves the cursor after it.
bool ScanDate(Scanner& sc, const RegionalSettings& regional, int currentYear, double& days) {
  int n1, d1, n2, d2, n3 = 0, d3 = 0;
  if (!(sc.Number(n1, d1) && sc.Char(regional.dateSeparator) && sc.Number(n2, d2))) return false;
  const size_t afterTwo = sc.Pos();
  const bool three = sc.Char(regional.dateSeparator) && sc.Number(n3, d3);
  if (!three) sc.Restore(afterTwo);

  const LeadingDateOrder order = LeadingDateOrderOf(regional.shortDateFormat);
  int year, month, day;
  if (!three) {
    year = currentYear;
    if (order == LeadingDateOrder::DMY) {
      day = n1;
      month = n2;
    } else {
      month = n1;
      day = n2;
    }
  } else {
    int yearDigits;
    switch (order) {
      case LeadingDateOrder::DMY:
        day = n1;
        month = n2;
        year = n3;
        yearDigits = d3;
        break;
      case LeadingDateOrder::YMD:
        year = n1;
        month = n2;
        day = n3;
        yearDigits = d1;
        break;
      default:
        month = n1;
        day = n2;
        year = n3;
        yearDigits = d3;
        break;
    }
    if (yearDigits <= 2) year = WindowYear(year, currentYear);
  }
  sc.Char(regional.dateSeparator);
  const std::optional<int32_t> dayNumber = DayNumber(year, month, day);
  if (!dayNumber) return false;
  days = *dayNumber;
  return true;
}

// Time: [marker] hours [sep minutes [sep seconds [decimal sep milliseconds]]]
// [marker]. Leaves the cursor after it; the caller decides about the rest.
bool ScanTime(Scanner& sc, const RegionalSettings& regional, double& fraction) {
  auto scanAm = [&] { return sc.Marker(regional.timeAMString) || sc.Marker("AM"); };
  auto scanPm = [&] { return sc.Marker(regional.timePMString) || sc.Marker("PM"); };
  int baseHour = -1;
  if (scanAm())
    baseHour = 0;
  else if (scanPm())
    baseHour = 12;

  int hour, minute = 0, second = 0, millisecond = 0;
  if (!sc.Number(hour)) return false;
  size_t mark = sc.Pos();
  if (sc.Char(regional.timeSeparator) && sc.Number(minute)) {
    mark = sc.Pos();
    if (sc.Char(regional.timeSeparator) && sc.Number(second)) {
      mark = sc.Pos();
      if (!(sc.Char(regional.decimalSeparator) && sc.Number(millisecond))) {
        millisecond = 0;
        sc.Restore(mark);
      }
    } else {
      second = 0;
      sc.Restore(mark);
    }
  } else {
    minute = 0;
    sc.Restore(mark);
  }

  if (baseHour < 0) {
    if (scanAm())
      baseHour = 0;
    else if (scanPm())
      baseHour = 12;
  }
  if (baseHour >= 0) {
    if (hour < 1 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  if (hour >= 24 || minute >= 60 || second >= 60 || millisecond >= 1000) return false;
  fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  return true;
}

}  // namespace

int SystemCurrentYear() {
  const std::time_t now = std::time(nullptr);
  const int64_t minute = static_cast<int64_t>(now) / 60;
  const int64_t cached = g_cachedYear.load(std::memory_order_relaxed);
  if (cached != 0 && (cached >> 16) == minute) return static_cast<int>(cached & 0xFFFF);
  const int year = platform::CurrentLocalYear();
  g_cachedYear.store((minute << 16) | (year & 0xFFFF), std::memory_order_relaxed);
  return year;
}

NumberConversion TextToNumber(std::string_view text) { return ParseNumber(text, kNone); }

NumberClass ClassifyNumber(std::string_view text, const RegionalSettings& regional) {
  if (text.empty()) return NumberClass::TextLike;
  const char thousands = regional.thousandSeparator;
  const char decimal = regional.decimalSeparator;
  int thousandsCount = 0, minusCount = 0, decimalCount = 0;
  bool integerLooking = true;
  bool decimalLooking = true;
  for (size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    const bool isThousands = c == thousands;
    const bool isDecimal = c == decimal;
    thousandsCount += isThousands;
    decimalCount += isDecimal;
    if (c == '-') {
      ++minusCount;
      if (k != 0) integerLooking = decimalLooking = false;
    } else if (!IsDigit(c)) {
      integerLooking = false;
      if (!isThousands && !isDecimal) decimalLooking = false;
    }
    if (isThousands && k == 0) decimalLooking = false;
    if (!integerLooking && !decimalLooking) return NumberClass::TextLike;
  }
  if (thousandsCount > 1 || minusCount > 1 || decimalCount > 1) return NumberClass::TextLike;
  if (integerLooking) return NumberClass::IntegerLooking;
  if (decimalLooking) return NumberClass::DecimalLooking;
  return NumberClass::TextLike;
}

SortStyle DetectSortStyle(std::string_view text, const RegionalSettings& regional) {
  if (ClassifyNumber(text, regional) != NumberClass::TextLike) return SortStyle::Numeric;
  // The date separator as second or third character, between two digits.
  const size_t limit = text.size() < 3 ? text.size() : 3;
  const size_t at = text.substr(0, limit).find(regional.dateSeparator);
  if (at != kNone && at >= 1 && at + 1 < text.size() && IsDigit(text[at - 1]) &&
      IsDigit(text[at + 1]))
    return SortStyle::Date;
  return SortStyle::Alphabetic;
}

std::optional<double> ReadDateTime(std::string_view text, const RegionalSettings& regional,
                                   int currentYear) {
  if (currentYear == 0) currentYear = SystemCurrentYear();
  {
    Scanner sc(text);
    double date;
    if (ScanDate(sc, regional, currentYear, date)) {
      if (sc.OnlyBlanksLeft()) return date;
      double time;
      if (ScanTime(sc, regional, time)) return date >= 0 ? date + time : date - time;
    }
  }
  Scanner sc(text);
  double time;
  if (ScanTime(sc, regional, time) && sc.OnlyBlanksLeft()) return time;
  return std::nullopt;
}

double SortDate(std::string_view t, const RegionalSettings& regional, int currentYear) {
  return ReadDateTime(t, regional, currentYear).value_or(0.0);
}

uint64_t SortPrefix(std::string_view t) {
  uint64_t prefix = 0;
  for (size_t k = 0; k < 7; ++k) {
    prefix = (prefix << 8) | (k < t.size() ? static_cast<unsigned char>(t[k]) : 0u);
  }
  return (prefix << 8) | (t.size() < 8 ? t.size() : 8);
}

int CompareKeyCells(std::string_view a, std::string_view b, const RegionalSettings& regional,
                    int currentYear) {
  switch (DetectSortStyle(a, regional)) {
    case SortStyle::Numeric:
      return CompareNumbers(SortNumber(a, regional), SortNumber(b, regional));
    case SortStyle::Date: {
      if (currentYear == 0) currentYear = SystemCurrentYear();
      return ThreeWay(SortDate(a, regional, currentYear), SortDate(b, regional, currentYear));
    }
    case SortStyle::Alphabetic:
      break;
  }
  return CompareTexts(a, b);
}

KeyCellFacts PrepareKeyCell(std::string_view text, const RegionalSettings& regional,
                            int currentYear) {
  KeyCellFacts facts;
  facts.style = DetectSortStyle(text, regional);
  facts.prefix = SortPrefix(text);
  const NumberConversion number = SortNumber(text, regional);
  facts.number = number.value;
  facts.numberOk = number.ok;
  facts.date = SortDate(text, regional, currentYear);
  return facts;
}

}  // namespace kartex
