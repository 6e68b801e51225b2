// Cell comparison of the header-click sort: style detection, the number
// reader, the date-time reader and the three comparison styles.

#include "table/sort_compare.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kartex {
namespace {

// US-style defaults: "." decimal, "," thousands, "/" dates, month first.
RegionalSettings Us() { return RegionalSettings{}; }

// Polish-style: "," decimal, blank thousands, "-" dates, day first.
RegionalSettings Polish() {
  RegionalSettings r;
  r.decimalSeparator = ',';
  r.thousandSeparator = ' ';
  r.dateSeparator = '-';
  r.shortDateFormat = "dd-mm-yyyy";
  r.timeAMString = "";
  r.timePMString = "";
  return r;
}

RegionalSettings IsoDates() {
  RegionalSettings r;
  r.dateSeparator = '-';
  r.shortDateFormat = "yyyy-MM-dd";
  return r;
}

// Days since 30 December 1899, computed with the standard calendar.
double Days(int y, unsigned m, unsigned d) {
  using namespace std::chrono;
  const sys_days day = year{y} / month{m} / d;
  const sys_days base = year{1899} / December / 30;
  return static_cast<double>((day - base).count());
}

double Time(int h, int m, int s = 0, int ms = 0) {
  return (h * 3600000.0 + m * 60000.0 + s * 1000.0 + ms) / 86400000.0;
}

struct CompareCase {
  const char* a;
  const char* b;
  int expected;
};

void ExpectComparisons(const std::vector<CompareCase>& cases, const RegionalSettings& r) {
  for (const auto& c : cases)
    EXPECT_EQ(CompareKeyCells(c.a, c.b, r, 2024), c.expected)
        << "'" << c.a << "' against '" << c.b << "'";
}

TEST(CompareKeyCells, DecimalCommaCompareNumbersByTheFirstOperand) {
  ExpectComparisons(
      {
          {"9", "10", -1},
          {"10", "9", 1},
          {"1,5", "9", -1},
          {"9", "1,5", 1},
          {"1,5", "1,25", 1},
          {"-1,5", "1", -1},
          {"10", "10", 0},
          {"007", "7", 0},
          // Text-like first operand: compared alphabetically.
          {"2.5", "10", 1},
          // Integer first operand: the second one is read with "." as point.
          {"10", "2.5", 1},
          {"2", "2.5", -1},
          // Only the first separator becomes the point: "1.5,3" fails with 15.
          {"10", "1,5,3", -1},
          // A blank is the thousands separator; "1 234" fails with 1.
          {"10", "1 234", 1},
          {"1 234", "2", -1},
      },
      Polish());
}

TEST(CompareKeyCells, EmptyAndFailedOperands) {
  ExpectComparisons(
      {
          // An empty first operand is alphabetic and sorts before any text.
          {"", "5", -1},
          {"", "abc", -1},
          {"", "", 0},
          // An empty second operand under a number counts as 0.
          {"5", "", 1},
          {"-3", "", -1},
          {"0", "", 0},
          // Both conversions failing: equal.
          {"-", "abc", 0},
          {"-", "-", 0},
          // One failing conversion takes part with its partial value.
          {"5", "abc", 1},
          {"5", "12abc", -1},
          {"-", "7", -1},
      },
      Polish());
}

TEST(CompareKeyCells, AlphabeticByUnsignedBytes) {
  ExpectComparisons(
      {
          {"abc", "abd", -1},
          {"Zeta", "alpha", -1},
          {"abc", "ab", 1},
          {"ab", "abc", -1},
          {"abc", "abc", 0},
          // Windows-1250 letters sort after every ASCII character.
          {"\xA5le", "Zeta", 1},
          {"z", "\xB9", -1},
          {"\xB9", "\xA5", 1},
          {"SP9ABC", "SP10ABC", 1},
      },
      Us());
}

TEST(CompareKeyCells, DayFirstDatesCompareAsDates) {
  ExpectComparisons(
      {
          {"12-05-2006", "13-04-2006", 1},
          {"13-04-2006", "12-05-2006", -1},
          {"12-05-2006", "12-05-2006", 0},
          {"12-05-2006 10:00", "12-05-2006 09:30", 1},
          {"1-1-2000", "31-12-1999", 1},
          // An unreadable second operand counts as 30 December 1899.
          {"12-05-2006", "abc", 1},
          {"12-05-2006", "", 1},
          {"31-02-2006", "1-1-1900", -1},
          // Separator at position 5: alphabetic, which keeps ISO dates in order.
          {"2006-05-12", "2006-04-13", 1},
          {"2006-05-12", "2006-5-1", -1},
      },
      Polish());
  EXPECT_EQ(DetectSortStyle("2006-05-12", Polish()), SortStyle::Alphabetic);
}

TEST(CompareKeyCells, ABlankDecimalSeparatorIsTheDecimalPoint) {
  // The first decimal separator reads as ".", so " 5" is 0.5, not 5.
  RegionalSettings blank = Us();
  blank.decimalSeparator = ' ';
  blank.thousandSeparator = '.';
  EXPECT_EQ(CompareKeyCells(" 5", "1", blank), -1);
  EXPECT_EQ(CompareKeyCells("1", " 5", blank), 1);
  EXPECT_EQ(CompareKeyCells("2 5", "2", blank), 1);
  EXPECT_EQ(CompareKeyCells(" 5", "0", blank), 1);
  EXPECT_EQ(CompareKeyFacts(PrepareKeyCell(" 5", blank), PrepareKeyCell("1", blank)), -1);
}

TEST(CompareKeyCells, AFailedNumberAfterABlankDecimalPointReadsNoDigit) {
  // " .05." becomes "..05." once its first blank is the decimal point; the
  // conversion fails before any digit, so its value is 0, not 5.
  RegionalSettings blank = Us();
  blank.decimalSeparator = ' ';
  blank.thousandSeparator = '.';
  const NumberConversion failed = SortNumber(" .05.", blank);
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.value, 0);
  EXPECT_EQ(CompareKeyCells(" .05.", "1 5", blank), -1);
  EXPECT_EQ(CompareKeyFacts(PrepareKeyCell(" .05.", blank), PrepareKeyCell("1 5", blank)), -1);
  // A leading blank that is not the decimal separator is still skipped.
  EXPECT_EQ(SortNumber(" 7x", Us()).value, 7);
}

TEST(DetectSortStyle, ChoosesFromTheTextAlone) {
  const struct {
    const char* text;
    SortStyle style;
  } cases[] = {
      {"12", SortStyle::Numeric},        {"-", SortStyle::Numeric},
      {"1,5", SortStyle::Numeric},  // thousands separator
      {"1.5", SortStyle::Numeric},       {"12/05/2006", SortStyle::Date},
      {"1/5", SortStyle::Date},          {"1/5x", SortStyle::Date},
      {"/12", SortStyle::Alphabetic},    {"123/4", SortStyle::Alphabetic},
      {"1/", SortStyle::Alphabetic},     {"a/1", SortStyle::Alphabetic},
      {"1/x", SortStyle::Alphabetic},    {"", SortStyle::Alphabetic},
      {"DL1ABC", SortStyle::Alphabetic}, {"1,2,3", SortStyle::Alphabetic},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectSortStyle(c.text, Us()), c.style) << "'" << c.text << "'";
}

TEST(ClassifyNumber, DecimalCommaBlankThousands) {
  const struct {
    const char* text;
    NumberClass cls;
  } cases[] = {
      {"-12", NumberClass::IntegerLooking},
      {"-", NumberClass::IntegerLooking},
      {"0123", NumberClass::IntegerLooking},
      {"1,5", NumberClass::DecimalLooking},
      {"1 234", NumberClass::DecimalLooking},
      {",5", NumberClass::DecimalLooking},
      {"-1 234,5", NumberClass::DecimalLooking},
      {"1.5", NumberClass::TextLike},
      {"12-3", NumberClass::TextLike},
      {"--1", NumberClass::TextLike},
      {"1,2,3", NumberClass::TextLike},
      {"1 234 567", NumberClass::TextLike},
      {" 12", NumberClass::TextLike},  // thousands separator first
      {"12a", NumberClass::TextLike},
      {"", NumberClass::TextLike},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClassifyNumber(c.text, Polish()), c.cls) << "'" << c.text << "'";
  EXPECT_EQ(ClassifyNumber("1.5", Us()), NumberClass::DecimalLooking);
  EXPECT_EQ(ClassifyNumber("1,234.5", Us()), NumberClass::DecimalLooking);
  EXPECT_EQ(ClassifyNumber("1,234,567", Us()), NumberClass::TextLike);
}

TEST(TextToNumber, ValuesAndPartialValues) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"12", true, 12},       {"-1.5E2", true, -150},    {".", true, 0},
      {"E5", true, 0},        {"  +7", true, 7},         {"0.1", true, 0.1},
      {"1.", true, 1},        {".25", true, 0.25},       {"1e-5", true, 1e-5},
      {"2.5e+3", true, 2500}, {"-0012.50", true, -12.5}, {"12abc", false, 12},
      {"1.5x", false, 15},    {"-3x", false, 3},         {"1 234", false, 1},
      {"12 ", false, 12},     {"1E", false, 1},          {"1E5x", false, 1},
      {"1.5.3", false, 15},   {"1,5", false, 1},         {"abc", false, 0},
      {"-", false, 0},        {"   ", false, 0},         {"", false, 0},
  };
  for (const auto& c : cases) {
    const NumberConversion n = TextToNumber(c.text);
    EXPECT_EQ(n.ok, c.ok) << "'" << c.text << "'";
    EXPECT_DOUBLE_EQ(n.value, c.value) << "'" << c.text << "'";
  }
}

TEST(TextToNumber, LongAndExtremeNumbers) {
  EXPECT_DOUBLE_EQ(TextToNumber("12345678901234567890123").value, 1.2345678901234567890123e22);
  EXPECT_DOUBLE_EQ(TextToNumber("0.000000000000000000000000001234").value, 1.234e-27);
  EXPECT_DOUBLE_EQ(TextToNumber("3.14159265358979323846").value, 3.14159265358979323846);
  const NumberConversion huge = TextToNumber("1e400");
  EXPECT_TRUE(huge.ok);
  EXPECT_TRUE(std::isinf(huge.value) && huge.value > 0);
  EXPECT_EQ(TextToNumber("1e-400").value, 0.0);
  EXPECT_EQ(TextToNumber("0.1").value, TextToNumber("0.10").value);
  EXPECT_EQ(TextToNumber("1e99999999999999999999").value, std::numeric_limits<double>::infinity());
}

TEST(CompareKeyCells, PreparedCellGivesTheSameResultsAsTheTexts) {
  // Texts of every style, and texts that agree in their first seven or
  // eight bytes (zero bytes too), where the prefixes alone cannot tell.
  const std::vector<std::string> texts = {"",
                                          "5",
                                          "-3",
                                          "1,5",
                                          "2.5",
                                          "10",
                                          "-",
                                          "abc",
                                          "1 234",
                                          "12abc",
                                          "0",
                                          "007",
                                          "12-05-2006",
                                          "13-04-2006 10:30",
                                          "2006-05-12",
                                          "1-2",
                                          "x-1",
                                          "\xA5",
                                          "1,5,3",
                                          "abcdefg",
                                          "abcdefgh",
                                          "abcdefgh1",
                                          "abcdefgh2",
                                          "abcdefg\xFF",
                                          std::string("ab\0", 3),
                                          std::string("ab\0\0\0\0\0x", 8),
                                          "ab",
                                          "abcdefghij"};
  for (const RegionalSettings& r : {Us(), Polish(), IsoDates()}) {
    for (const std::string& a : texts) {
      const KeyCellFacts fa = PrepareKeyCell(a, r, 2024);
      for (const std::string& b : texts) {
        const KeyCellFacts fb = PrepareKeyCell(b, r, 2024);
        int fromFacts = CompareKeyFacts(fa, fb);
        if (fromFacts == kTextsDecide) fromFacts = CompareTexts(a, b);
        EXPECT_EQ(fromFacts, CompareKeyCells(a, b, r, 2024)) << "'" << a << "' vs '" << b << "'";
      }
    }
  }
}

struct DateCase {
  const char* text;
  std::optional<double> value;
};

void ExpectDates(const std::vector<DateCase>& cases, const RegionalSettings& r, int year = 2024) {
  for (const auto& c : cases) {
    const std::optional<double> v = ReadDateTime(c.text, r, year);
    EXPECT_EQ(v.has_value(), c.value.has_value()) << "'" << c.text << "'";
    if (v && c.value) {
      EXPECT_NEAR(*v, *c.value, 1e-9) << "'" << c.text << "'";
    }
  }
}

TEST(ReadDateTime, MonthFirstDates) {
  ExpectDates(
      {
          {"1/2/2006", Days(2006, 1, 2)},
          {"12/25/2006", Days(2006, 12, 25)},
          {" 1 / 2 / 2006 ", Days(2006, 1, 2)},
          {"1/2/2006/", Days(2006, 1, 2)},
          {"1/2", Days(2024, 1, 2)},
          {"1/2/", Days(2024, 1, 2)},
          {"2/29/2024", Days(2024, 2, 29)},
          {"2/29/2023", std::nullopt},
          {"2/30/2006", std::nullopt},
          {"13/1/2006", std::nullopt},
          {"0/1/2006", std::nullopt},
          {"1/0/2006", std::nullopt},
          {"12/30/1899", 0.0},
          // A three-digit year stays as written.
          {"1/2/006", Days(6, 1, 2)},
          // Reading a number stops at the value 1000: the "1" becomes the hour.
          {"1/2/20061", Days(2006, 1, 2) + Time(1, 0)},
          {"1-2-2006", std::nullopt},
          {"", std::nullopt},
          {"abc", std::nullopt},
      },
      Us());
}

TEST(ReadDateTime, DateOrderFromTheShortDateFormat) {
  ExpectDates({{"12-05-2006", Days(2006, 5, 12)}, {"12-05", Days(2024, 5, 12)}}, Polish());
  ExpectDates(
      {
          {"2006-05-12", Days(2006, 5, 12)},
          {"06-05-12", Days(2006, 5, 12)},
          {"05-12", Days(2024, 5, 12)},
      },
      IsoDates());
  const struct {
    const char* format;
    double expected;
  } formats[] = {
      {"dd/MM/yyyy", Days(2006, 4, 3)}, {"Dd/MM", Days(2006, 4, 3)},
      {"MM/dd/yyyy", Days(2006, 3, 4)}, {"%x", Days(2006, 3, 4)},
      {"", Days(2006, 3, 4)},           {"e/M/d", std::nan("")},
  };
  for (const auto& f : formats) {
    RegionalSettings r;
    r.shortDateFormat = f.format;
    const auto v = ReadDateTime("3/4/2006", r, 2024);
    if (std::isnan(f.expected)) {
      EXPECT_FALSE(v.has_value()) << f.format;  // day 2006 of month 4
    } else {
      ASSERT_TRUE(v.has_value()) << f.format;
      EXPECT_EQ(*v, f.expected) << f.format;
    }
  }
  RegionalSettings yearFirst;
  yearFirst.shortDateFormat = "e/M/d";
  EXPECT_EQ(ReadDateTime("2006/4/3", yearFirst, 2024), Days(2006, 4, 3));
}

TEST(ReadDateTime, TwoDigitYearsFallInTheWindowAroundTheCurrentYear) {
  const struct {
    int currentYear;
    const char* text;
    int year;
  } cases[] = {
      {2024, "1/2/06", 2006}, {2024, "1/2/6", 2006},  {2024, "1/2/74", 1974},
      {2024, "1/2/73", 2073}, {2024, "1/2/49", 2049}, {2024, "1/2/99", 1999},
      {2024, "1/2/00", 2000}, {2080, "1/2/29", 2129}, {2080, "1/2/30", 2030},
      {2080, "1/2/99", 2099}, {1990, "1/2/39", 2039}, {1990, "1/2/40", 1940},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDateTime(c.text, Us(), c.currentYear), Days(c.year, 1, 2))
        << c.text << " in " << c.currentYear;
  }
}

TEST(ReadDateTime, DatesWithTimes) {
  const double d = Days(2006, 12, 25);
  ExpectDates(
      {
          {"12/25/2006 14", d + Time(14, 0)},
          {"12/25/2006 14:30", d + Time(14, 30)},
          {"12/25/2006 14:30:15", d + Time(14, 30, 15)},
          {"12/25/2006 14:30:15.250", d + Time(14, 30, 15, 250)},
          {"12/25/2006 14 : 30 : 15 . 5", d + Time(14, 30, 15, 5)},
          {"12/25/2006 2:30 PM", d + Time(14, 30)},
          {"12/25/2006 2:30pm", d + Time(14, 30)},
          {"12/25/2006 2:30 Am", d + Time(2, 30)},
          {"12/25/2006 PM 2:30", d + Time(14, 30)},
          {"12/25/2006 12:15 AM", d + Time(0, 15)},
          {"12/25/2006 12:15 PM", d + Time(12, 15)},
          {"12/25/2006 14:30 UTC", d + Time(14, 30)},
          {"12/25/2006 14:30:", d + Time(14, 30)},
          {"12/25/2006 23:59:59.999", d + Time(23, 59, 59, 999)},
          {"12/25/2006 13:00 PM", std::nullopt},
          {"12/25/2006 0:30 AM", std::nullopt},
          {"12/25/2006 24:00", std::nullopt},
          {"12/25/2006 23:60", std::nullopt},
          {"12/25/2006 23:59:60", std::nullopt},
          {"12/25/2006 1:00:00.1000", std::nullopt},
          {"12/25/2006 abc", std::nullopt},
          // Before 30 December 1899 the time goes the other way.
          {"12/29/1899 12:00", -1.5},
          {"12/30/1899 6:00", 0.25},
          {"1/1/1800 18:00", Days(1800, 1, 1) - 0.75},
      },
      Us());
}

TEST(ReadDateTime, TimeAlone) {
  ExpectDates(
      {
          {"14:30", Time(14, 30)},
          {" 14:30  ", Time(14, 30)},
          {"9:05:07.5", Time(9, 5, 7, 5)},
          {"2 PM", Time(14, 0)},
          {"am 9:15", Time(9, 15)},
          {"0:00", 0.0},
          {"14:30 x", std::nullopt},
          {"14:", std::nullopt},
          {"25:00", std::nullopt},
          {"PM", std::nullopt},
      },
      Us());
}

TEST(ReadDateTime, RegionalMarkersAndSeparators) {
  RegionalSettings german;
  german.dateSeparator = '.';
  german.shortDateFormat = "dd.MM.yyyy";
  german.decimalSeparator = ',';
  german.timeSeparator = ':';
  german.timeAMString = "vorm.";
  german.timePMString = "NACHM.";
  ExpectDates(
      {
          {"24.12.2006 3:15 nachm.", Days(2006, 12, 24) + Time(15, 15)},
          {"24.12.2006 vorm. 3:15", Days(2006, 12, 24) + Time(3, 15)},
          {"24.12.2006 3:15 PM", Days(2006, 12, 24) + Time(15, 15)},
          {"24.12.2006 10:20:30,400", Days(2006, 12, 24) + Time(10, 20, 30, 400)},
          {"3:15 NachM.", Time(15, 15)},
      },
      german);
  // Empty regional markers match nothing; hour 0 stays valid then.
  ExpectDates({{"0:30", Time(0, 30)}, {"3:00 pm", Time(15, 0)}}, Polish());
  RegionalSettings dotTime = Us();
  dotTime.timeSeparator = '.';
  ExpectDates({{"1/2/2006 10.30", Days(2006, 1, 2) + Time(10, 30)}}, dotTime);
}

TEST(ReadDateTime, ZeroYearMeansTheSystemClock) {
  EXPECT_EQ(ReadDateTime("1/2", Us(), 0), ReadDateTime("1/2", Us(), SystemCurrentYear()));
  EXPECT_GE(SystemCurrentYear(), 2024);
}

}  // namespace
}  // namespace kartex
