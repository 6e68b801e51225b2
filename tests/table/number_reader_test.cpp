// The shared number reader (the plain number form, read whole and tail by
// tail) and the shared calendar.

#include "table/number_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "table/calendar.h"

namespace kartex {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The plain form checked character by character, written forwards.
bool HasPlainForm(const std::string& s) {
  size_t i = 0;
  auto digits = [&] {
    const size_t from = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i - from;
  };
  while (i < s.size() && s[i] == ' ') ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  if (i == s.size()) return false;
  digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits();
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == s.size();
}

// The C library's value of a text of the plain form (in the "C" locale, the
// tests' own): strtod does not take "." alone or an exponent without digits
// in front, so a "0" goes in front of the digits.
double LibraryValue(const std::string& s) {
  const std::string t = s.substr(s.find_first_not_of(' '));
  const size_t digitsAt = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  const std::string withZero = t.substr(0, digitsAt) + "0" + t.substr(digitsAt);
  return std::strtod(withZero.c_str(), nullptr);
}

TEST(ReadPlainNumber, FormAndValue) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"12", 12},
      {"-1.5E2", -150},
      {".", 0},
      {"E5", 0},
      {"  +7", 7},
      {"0.1", 0.1},
      {"1.", 1},
      {".25", 0.25},
      {"1e-5", 1e-5},
      {"2.5e+3", 2500},
      {"-0012.50", -12.5},
      {"-.", 0},
      {"007", 7},
      {"0.005", 0.005},
      {"1200", 1200},
      {"1E0005", 1e5},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {" +", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"- 1", std::nullopt},
      {"1E", std::nullopt},
      {"1E+", std::nullopt},
      {"e", std::nullopt},
      {"1.5.3", std::nullopt},
      {"1,5", std::nullopt},
      {"--1", std::nullopt},
      {"1e5x", std::nullopt},
      {"x1", std::nullopt},
      {"1e2.5", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<double> v = ReadPlainNumber(c.text);
    EXPECT_EQ(v.has_value(), c.value.has_value()) << "[" << c.text << "]";
    if (v && c.value) {
      EXPECT_DOUBLE_EQ(*v, *c.value) << "[" << c.text << "]";
    }
  }
}

TEST(ReadPlainNumber, CorrectlyRoundedAtTheEdgesOfTheDoubles) {
  // Halfway between 2^53 and 2^53 + 2, and a little above it.
  EXPECT_EQ(*ReadPlainNumber("9007199254740993"), 9007199254740992.0);
  EXPECT_EQ(*ReadPlainNumber("9007199254740993000000000001e-12"), 9007199254740994.0);
  EXPECT_EQ(*ReadPlainNumber("1e400"), kInfinity);
  EXPECT_EQ(*ReadPlainNumber("-1e400"), -kInfinity);
  EXPECT_EQ(*ReadPlainNumber("1.7976931348623159e308"), kInfinity);
  EXPECT_EQ(*ReadPlainNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
  EXPECT_EQ(*ReadPlainNumber("1e-400"), 0.0);
  EXPECT_EQ(*ReadPlainNumber("4e-320"), std::strtod("4e-320", nullptr));  // subnormal
  EXPECT_EQ(*ReadPlainNumber("1e99999999999999999999"), kInfinity);
  EXPECT_EQ(*ReadPlainNumber("0e99999999999999999999"), 0.0);
  EXPECT_EQ(*ReadPlainNumber("1e-99999999999999999999"), 0.0);

  // Thousands of digits: the first 800 significant ones and whether any
  // later one is not zero decide.
  const std::string ones(5000, '1');
  EXPECT_EQ(*ReadPlainNumber(ones), kInfinity);
  EXPECT_EQ(*ReadPlainNumber("0." + ones), LibraryValue("0." + ones));
  EXPECT_EQ(*ReadPlainNumber(std::string(5000, '0') + "." + std::string(300, '0') + "5"), 5e-301);
  const std::string halfway = "9007199254740993" + std::string(3000, '0');
  EXPECT_EQ(*ReadPlainNumber(halfway + "e-3000"), 9007199254740992.0);
  EXPECT_EQ(*ReadPlainNumber(halfway + "1e-3001"), 9007199254740994.0);
}

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLength) {
  std::string s(std::uniform_int_distribution<size_t>(0, maxLength)(rng), ' ');
  for (char& c : s)
    c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
  return s;
}

TEST(ReadPlainNumber, AgreesWithTheFormAndTheLibraryOnRandomTexts) {
  std::mt19937 rng(11);
  int numbers = 0;
  for (int n = 0; n < 100000; ++n) {
    // Mostly digits, so that many texts have the form.
    const std::string text = RandomText(rng, "0123456789000111999.eE+- x", 1 + n % 40);
    const std::optional<double> v = ReadPlainNumber(text);
    ASSERT_EQ(v.has_value(), HasPlainForm(text)) << "[" << text << "]";
    if (v) {
      ++numbers;
      ASSERT_EQ(*v, LibraryValue(text)) << "[" << text << "]";
    }
  }
  EXPECT_GT(numbers, 5000);
}

TEST(NumberTailReader, EveryTailReadsAsTheTailAlone) {
  std::mt19937 rng(5);
  std::vector<std::string> texts = {std::string(3000, '0'), "1" + std::string(2000, '0') + "5",
                                    "12.5e-3", " -0.0001e+10", "9.9.9e9"};
  for (int n = 0; n < 3000; ++n) texts.push_back(RandomText(rng, "0123456789.eE+- ", 60));
  texts.push_back("0." + std::string(1000, '3') + std::string(900, '0') + "7e2");
  for (const std::string& text : texts) {
    NumberTailReader reader;
    bool dead = false;
    for (size_t t = text.size(); t-- > 0;) {
      reader.Prepend(text[t]);
      // Once no tail can be a number any more, no longer one is.
      ASSERT_TRUE(!dead || reader.Dead()) << "[" << text << "]";
      dead = reader.Dead();
      const std::string tail = text.substr(t);
      const std::optional<double> whole = ReadPlainNumber(tail);
      ASSERT_EQ(reader.Value().has_value(), whole.has_value()) << "[" << tail << "]";
      if (whole) {
        ASSERT_EQ(*reader.Value(), *whole) << "[" << tail << "]";
      }
    }
  }
}

TEST(DayNumber, DaysFromThe30thOfDecember1899) {
  EXPECT_EQ(DayNumber(1899, 12, 30), 0);
  EXPECT_EQ(DayNumber(1900, 1, 1), 2);
  EXPECT_EQ(DayNumber(1900, 3, 1), 61);     // 1900 is no leap year
  EXPECT_EQ(DayNumber(2000, 3, 1), 36586);  // 2000 is one
  EXPECT_EQ(DayNumber(9999, 12, 31), 2958465);
  EXPECT_EQ(DayNumber(1, 1, 1), -693593);
  EXPECT_EQ(DayNumber(2024, 2, 29), *DayNumber(2024, 3, 1) - 1);
}

TEST(DayNumber, NoDateOutsideTheCalendar) {
  const int64_t cases[][3] = {{2023, 2, 29},
                              {1900, 2, 29},
                              {2024, 4, 31},
                              {2024, 13, 1},
                              {2024, 0, 1},
                              {2024, 1, 0},
                              {2024, 1, 32},
                              {0, 1, 1},
                              {10000, 1, 1},
                              {-1, 1, 1},
                              {2024, int64_t{1} << 32, 1},
                              {2024, 1, (int64_t{1} << 32) + 1}};
  for (const auto& c : cases)
    EXPECT_FALSE(DayNumber(c[0], c[1], c[2]).has_value()) << c[0] << "-" << c[1] << "-" << c[2];
}

}  // namespace
}  // namespace kartex
