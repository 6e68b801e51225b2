#include "table/condition_matcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "reference_condition.h"

namespace kartex {
namespace {

using testing::LiteralPreparation;
using testing::ReferenceAlternative;

RegionalSettings DefaultRegional() { return RegionalSettings{}; }

// Decimal comma, blank as thousands separator, day-month-year with dots.
RegionalSettings PolishRegional(char thousands = ' ') {
  RegionalSettings rs;
  rs.decimalSeparator = ',';
  rs.thousandSeparator = thousands;
  rs.dateSeparator = '.';
  rs.shortDateFormat = "dd.mm.yyyy";
  return rs;
}

struct Case {
  std::string condition;
  std::string text;
  bool caseSensitive;
  bool expected;
};

void RunCases(const std::vector<Case>& cases, const RegionalSettings& rs) {
  for (const Case& c : cases) {
    SCOPED_TRACE("condition [" + c.condition + "] text [" + c.text + "] case-sensitive " +
                 (c.caseSensitive ? "yes" : "no"));
    EXPECT_EQ(MatchCondition(c.condition, c.text, c.caseSensitive, rs), c.expected);
    // The prepared form answers the same.
    EXPECT_EQ(PreparedCondition(c.condition, c.caseSensitive, rs).Matches(c.text), c.expected);
  }
}

// Cases whose answer does not depend on the regional settings.
const std::vector<Case>& LanguageCases() {
  static const std::vector<Case> cases = {
      // The QSO filter's own form: quoted calls, each followed by ";".
      {"\"ALPHA\";\"BRAVO\";", "ALPHA", false, true},
      {"\"ALPHA\";\"BRAVO\";", "alpha", false, true},
      {"\"ALPHA\";\"BRAVO\";", "Bravo", false, true},
      {"\"ALPHA\";\"BRAVO\";", "BRAVO", false, true},
      {"\"ALPHA\";\"BRAVO\";", "", false, true},
      {"\"ALPHA\";\"BRAVO\";", "ALPHA/P", false, false},
      {"\"ALPHA\";\"BRAVO\";", "ALPHAB", false, false},
      {"\"ALPHA\";\"BRAVO\";", " ALPHA", false, false},
      {"\"ALPHA\";\"BRAVO\";", "ALPHA ", false, false},
      {"\"ALPHA\";\"BRAVO\";", "\"ALPHA\"", false, false},
      {"\"ALPHA\";\"BRAVO\";", "CHARLIE", false, false},
      {"\"ALPHA\";\"BRAVO\";", "ALPHA", true, true},
      {"\"ALPHA\";\"BRAVO\";", "alpha", true, false},
      {"\"ALPHA\";\"BRAVO\";", "Bravo", true, false},
      {"\"ALPHA\";\"BRAVO\";", "", true, true},
      // Empty and blank conditions match only the empty text.
      {"", "", true, true},
      {"", "A", true, false},
      {"   ", "", true, true},
      {"   ", " ", true, false},
      // Trimming takes every code up to 32 at both ends, blanks elsewhere are kept.
      {"\t ALPHA \r\n", "ALPHA", true, true},
      {"AL PHA", "AL PHA", true, true},
      {"AL PHA", "ALPHA", true, false},
      {"A\tB", "A\tB", true, true},
      // Blanks next to operator characters vanish; one leading "=" goes.
      {"ALPHA ; BRAVO", "BRAVO", true, true},
      {"ALPHA ; BRAVO", "ALPHA", true, true},
      {"ALPHA   ;   BRAVO", "ALPHA ", true, false},
      {"=ALPHA", "ALPHA", true, true},
      {"==ALPHA", "=ALPHA", true, true},
      {"==ALPHA", "ALPHA", true, false},
      {"\"A = B\"", "A=B", true, true},
      {"\"A = B\"", "A = B", true, false},
      // Quotes do not shield separators.
      {"\"A;B\"", "A", true, true},
      {"\"A;B\"", "B", true, true},
      {"\"A;B\"", "A;B", true, false},
      {"ALPHA^BRAVO", "BRAVO", true, true},
      {"ALPHA|BRAVO", "BRAVO", true, true},
      {"ALPHA|BRAVO", "ALPHA", true, true},
      {"ALPHA^BRAVO", "CHARLIE", true, false},
      // Left to right, no precedence between "&" and the "or" separators.
      {"A*;B*&*Z", "AZ", true, true},
      {"A*;B*&*Z", "BXZ", true, true},
      {"A*;B*&*Z", "AX", true, false},
      {"A*;B*&*Z", "CZ", true, false},
      {"*Z&A*;B*", "AZ", true, true},
      {"*Z&A*;B*", "BX", true, true},
      {"*Z&A*;B*", "CZ", true, false},
      {"A & B", "A", true, false},
      {"* & A*", "AB", true, true},
      // Wildcards, escape, quotes.
      {"AB*", "AB", true, true},
      {"AB*", "ABC", true, true},
      {"AB*", "A", true, false},
      {"AB*", "XAB", true, false},
      {"*/P", "DL1ABC/P", true, true},
      {"*/P", "/P", true, true},
      {"*/P", "DL1ABC/PX", true, false},
      {"A?D", "ABD", true, true},
      {"A?D", "AD", true, false},
      {"A?D", "ABBD", true, false},
      {"\\*", "*", true, true},
      {"\\*", "A", true, false},
      {"\\*", "**", true, false},
      {"\\\\", "\\", true, true},
      {"\"AB\"C", "ABC", true, true},
      {"A**B", "AXYB", true, true},
      {"*", "", true, true},
      {"?", "", true, false},
      // Negation where the scan reaches it.
      {"!ALPHA", "ALPHA", false, false},
      {"!ALPHA", "alpha", false, false},
      {"!ALPHA", "BRAVO", false, true},
      {"!ALPHA", "", false, true},
      {"!ALPHA", "alpha", true, true},
      {"ALPHA!", "ALPHAX", true, true},
      {"ALPHA!", "ALPHA", true, false},
      {"ALPHA!", "BRAVO", true, false},
      {"!A*", "AB", true, false},
      {"!A*", "BA", true, true},
      // Text comparisons.
      {">", "", true, false},
      {">", "A", true, true},
      {">", " ", true, true},
      {">ABC", "ABD", true, true},
      {">ABC", "ABC", true, false},
      {">=ABC", "ABC", true, true},
      {"<ABC", "AB", true, true},
      {"<=ABC", "ABC", true, true},
      {"<ABC", "abc", true, false},
      {"<ABC", "abc", false, false},
      {">abc", "ABD", false, true},
      {">\"ABC\"", "ABD", true, true},
      {"> ABC", "ABD", true, true},
      {"!>ABC", "ABD", true, true},  // a "!" does not invert a comparison that held
      // A failed comparison falls back to the literal match of the pattern.
      {">ZZZ", ">ZZZ", true, true},
      // A lone backslash at the end has nothing to compare.
      {"AB\\", "AB", true, false},
      {"AB\\", "AB\\", true, false},
      {"\\", "", true, false},
      {"!AB\\", "AB", true, true},
      // Separators only: empty alternatives.
      {";;;;", "", true, true},
      {";;;;", "A", true, false},
      {"&&&", "", true, true},
      {"A;", "", true, true},
      {";A", "A", true, true},
      // Unbalanced quotes are ignored characters.
      {"\"ALPHA", "ALPHA", true, true},
      {"ALPHA\"", "ALPHA", true, true},
      {"\"", "", true, true},
      {"\"", "\"", true, false},
  };
  return cases;
}

TEST(ConditionMatcherTest, LanguageUnderDefaultRegionalSettings) {
  RunCases(LanguageCases(), DefaultRegional());
}

TEST(ConditionMatcherTest, LanguageUnderPolishRegionalSettings) {
  RunCases(LanguageCases(), PolishRegional());
}

TEST(ConditionMatcherTest, NumbersAndDatesUnderDefaultRegionalSettings) {
  RunCases(
      {
          {">100", "150", true, true},
          {">100", "1e3", true, true},
          {">100", "1E3", true, true},
          {">100", "100", true, false},
          {">100", "99", true, false},
          {">=100", "100", true, true},
          {">=100", "99", true, false},
          {">100", "ABC", true, true},  // no number: A sorts after 1
          {">100", "  150", true, true},
          {">100", "99 ", true, true},  // a trailing blank makes it text: "9" after "1"
          {">100", "99", true, false},
          {"<100", "-5", true, true},
          {"<100", "+5", true, true},
          {">0", ".", true, false},  // "." is the number 0
          {">=0", ".", true, true},
          {"<-1", "-", true, true},  // a lone sign is text, a proper prefix of "-1"
          {"<-1", "-2", true, true},
          {">10 <20", "5", true, true},
          {">10 <20", "15", true, true},
          {">10 <20", "25", true, true},
          {">10&<20", "15", true, true},
          {">10&<20", "5", true, false},
          {">10&<20", "25", true, false},
          {">10", "1,5", true, true},  // "," is the thousands separator: 15
          {">1.5", "1.75", true, true},
          {">1e400", "1e500", true, false},  // both infinite
          // Dates: month/day/year.
          {">01/02/2024", "03/15/2024", true, true},
          {">01/02/2024", "12/31/2023", true, false},
          {">01/02/2024", "1/3/2024", true, true},
          {">=01/02/2024", "1/2/2024", true, true},
          {">01/02/2024", "02/31/2024", true, true},  // no date, text: "2" after "1"
          {"<01/02/24", "12/31/23", true, true},      // years as written: 23 before 24
          {"<01/02/2024", "01/01/24", true, true},    // the year 24, long before 2024
      },
      DefaultRegional());
}

TEST(ConditionMatcherTest, NumbersAndDatesUnderPolishRegionalSettings) {
  RunCases(
      {
          {">1", "1,5", true, true},
          {">10", "1,5", true, false},
          {">1", "1.5", true, true},  // "." is left alone and still reads as a point
          {">1000", "1 500", true, true},
          {"<1", "0,5", true, true},
          {">1,25", "1,3", true, true},
          {">1,25", "1,2", true, false},
          {">01.02.2024", "15.03.2024", true, true},
          {">01.02.2024", "31.12.2023", true, false},
          {">01.02.2024", "01.02.2024", true, false},
          {">=01.02.2024", "1.2.2024", true, true},
          {"<01.02.2024", "31.12.2023", true, true},
          {">01.02.2024", "31.02.2024", true, true},    // no date: text, "3" after "0"
          {"<01.02.2024", "29.02.2023", true, false},   // no date in 2023: text
          {">28.02.2024", "29.02.2024", true, true},    // a leap day
          {">01.02.2024", " 15.03.2024", true, true},   // blanks before a field
          {">01.02.2024", "15.03.2024x", true, true},   // no date, text
          {">01.01.2024", "15.-3.2024", true, true},    // no date (month -3), text
          {">31.12.9999", "01.01.10000", true, false},  // year out of range: text
          {"<01.02.2025", "05.03.2024", true, true},
          {"<01.02.2025", "05.03.2024.9", true, false},  // the year field 2024.9: text
      },
      PolishRegional());
  // With "." as the thousands separator the same texts are numbers.
  RunCases(
      {
          {">01.02.2024", "15.03.2024", true, true},
          {">01.02.2024", "31.12.2023", true, true},  // 31122023 > 1022024
          {"<01.02.2024", "31.12.2023", true, false},
          {">01.02.2024", "31.02.2024", true, true},
          {">1", "1,5", true, true},
      },
      PolishRegional('.'));
}

TEST(ConditionMatcherTest, OperandsAreCutTo255Characters) {
  const std::string b255(255, 'B');
  const std::string b300(300, 'B');
  RunCases(
      {
          {">" + b300, b255, true, false},
          {">=" + b300, b255, true, true},
          {">" + b300, b300, true, false},  // the text too counts up to 255
          {">=" + b300, b300, true, true},
          {"<" + b300, std::string(254, 'B'), true, true},
          {">" + b300, "C", true, true},
          {">\"" + b300 + "\"", b255, true, false},
      },
      DefaultRegional());
}

TEST(ConditionMatcherTest, PolishLettersMatchRegardlessOfCase) {
  const std::string lower = *Utf8ToCp1250("ąść");
  const std::string upper = *Utf8ToCp1250("ĄŚĆ");
  const std::string call = *Utf8ToCp1250("SP9ŁÓDŹ");
  const std::string callLower = *Utf8ToCp1250("sp9łódź");
  RunCases(
      {
          {lower, upper, false, true},
          {upper, lower, false, true},
          {lower, upper, true, false},
          {"\"" + call + "\";", callLower, false, true},
          {"\"" + call + "\";", callLower, true, false},
          {"SP9*", callLower, false, true},
          {">" + lower, *Utf8ToCp1250("ąśę"), false, true},  // Ę (0xCA) after Ć (0xC6)
          {">" + lower, *Utf8ToCp1250("ąśd"), false, false},
      },
      DefaultRegional());
}

// ---------------------------------------------------------------------------
// Against the plain recursive definition.

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLen) {
  std::uniform_int_distribution<size_t> len(0, maxLen);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string s;
  for (size_t n = len(rng); n > 0; --n) s += alphabet[pick(rng)];
  return s;
}

TEST(ConditionMatcherTest, StarSearchAnswersLikeThePlainRecursiveDefinition) {
  std::mt19937 rng(20240315);
  const RegionalSettings rs;
  int matches = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::string p = RandomText(rng, "ab**?\\\"!><= ", 9);
    const std::string t = RandomText(rng, "ab *\"", 7);
    const bool expected = ReferenceAlternative(p, t);
    matches += expected;
    ASSERT_EQ(MatchAlternative(p, t, rs), expected) << "pattern [" << p << "] text [" << t << "]";
  }
  // Both answers occur often enough for the comparison to mean something.
  EXPECT_GT(matches, 4000);
  EXPECT_LT(matches, 36000);
}

TEST(ConditionMatcherTest, ComparisonsBehindStarsAnswerLikeThePlainRecursiveDefinition) {
  // Numbers with decimal and thousands separators, dates, and texts, compared
  // against every tail that a star leaves.
  std::mt19937 rng(20240612);
  const RegionalSettings settings[] = {DefaultRegional(), PolishRegional()};
  int matches = 0, total = 0;
  for (const RegionalSettings& rs : settings) {
    for (int i = 0; i < 30000; ++i) {
      std::string p = RandomText(rng, "**>><=?!1290.,e- ", 8);
      if (i % 2 == 0) p.insert(rng() % (p.size() + 1), rng() % 2 ? "*>" : "*<=");
      const std::string t = RandomText(rng, "012909.,.,e- a", 11);
      const bool expected = ReferenceAlternative(p, t, rs);
      matches += expected;
      ++total;
      ASSERT_EQ(MatchAlternative(p, t, rs), expected) << "pattern [" << p << "] text [" << t << "]";
    }
  }
  EXPECT_GT(matches, total / 10);
  EXPECT_LT(matches, total - total / 10);
}

TEST(ConditionMatcherTest, ComparisonsBehindStarsOverLongCellsAnswerLikeTheTailsAlone) {
  // A comparison behind a star holds for the cell when it holds for some
  // tail: each tail is checked here on its own, as a comparison without star.
  const RegionalSettings rs = PolishRegional();
  std::mt19937 rng(3);
  const std::vector<std::string> cells = {
      std::string(1200, '0'),
      std::string(900, '1'),
      "0," + std::string(700, '0') + "7",
      std::string(500, '9') + "," + std::string(500, '9') + "e-990",
      "x15.03.2024" + std::string(300, ' ') + "1" + std::string(300, ' ') + "5",
      RandomText(rng, "0123456789., -e", 1000),
      RandomText(rng, "01.2", 1000)};
  const std::vector<std::string> operands = {"5",   "0",          "-1", "1e300", "1e-300",
                                             "0,5", "01.02.2024", "15", "zz"};
  for (const std::string& cell : cells) {
    for (const std::string& operand : operands) {
      for (const std::string op : {">", "<", ">=", "<="}) {
        bool someTail = false;
        for (size_t t = 0; t <= cell.size() && !someTail; ++t)
          someTail = MatchAlternative(op + operand, cell.substr(t), rs);
        // No tail is the pattern's own text, so only the comparisons count.
        ASSERT_EQ(MatchAlternative("*" + op + operand, cell, rs), someTail)
            << op << operand << " over a cell of " << cell.size() << " characters";
      }
    }
  }
}

TEST(ConditionMatcherTest, PreparedConditionAnswersLikeMatchCondition) {
  std::mt19937 rng(7);
  const std::string lower = *Utf8ToCp1250("aą");
  const std::string upper = *Utf8ToCp1250("AĄ");
  const std::string conditionAlphabet = "aAbB" + lower + upper + "\"\"\";;;&&|^ =*?!\\><1.,";
  const std::string textAlphabet = "aAbB" + lower + upper + " 1.,\"";
  const RegionalSettings settings[] = {DefaultRegional(), PolishRegional()};
  int matches = 0, total = 0;
  for (const RegionalSettings& rs : settings) {
    for (int i = 0; i < 6000; ++i) {
      const std::string condition = RandomText(rng, conditionAlphabet, 14);
      const bool caseSensitive = i % 2 == 0;
      const PreparedCondition prepared(condition, caseSensitive, rs);
      for (int j = 0; j < 8; ++j) {
        // Texts taken from the condition itself hit the plain alternatives.
        std::string text = RandomText(rng, textAlphabet, 5);
        if (j % 3 == 0 && !condition.empty()) {
          const size_t from = rng() % condition.size();
          text = condition.substr(from, rng() % 5);
        }
        const bool expected = MatchCondition(condition, text, caseSensitive, rs);
        matches += expected;
        ++total;
        ASSERT_EQ(prepared.Matches(text), expected)
            << "condition [" << condition << "] text [" << text << "]";
      }
    }
  }
  EXPECT_GT(matches, total / 20);
  EXPECT_LT(matches, total - total / 20);
}

TEST(ConditionMatcherTest, PreparationRemovesBlanksLikeTheOneAtATimeRule) {
  std::mt19937 rng(99);
  for (int i = 0; i < 20000; ++i) {
    const std::string condition = RandomText(rng, "   \t=&;^|a\"", 12);
    ASSERT_EQ(PrepareConditionText(condition), LiteralPreparation(condition))
        << "[" << condition << "]";
  }
}

// ---------------------------------------------------------------------------
// Conditions that would take the plain definition forever.

double Seconds(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(ConditionMatcherTest, PathologicalConditionsAnswerFast) {
  const RegionalSettings rs;
  std::string longText;
  for (int i = 0; i < 500; ++i) longText += "ab";
  struct Slow {
    const char* name;
    std::string condition;
    std::string text;
    bool expected;
  };
  std::string manyStarsA;
  for (int i = 0; i < 2000; ++i) manyStarsA += "a*";
  std::string manyStarsAB;
  for (int i = 0; i < 300; ++i) manyStarsAB += "*a*b";
  std::string comparisonsBehindStars;
  for (int i = 0; i < 300; ++i) comparisonsBehindStars += "*>b";
  const Slow cases[] = {
      {"a dozen stars, no match", "*a*b*c*d*e*f*g*h*i*j*k*l*z", longText, false},
      {"a dozen stars, match", "*a*b*a*b*a*b*a*b*a*b*a*b", longText, true},
      {"a dozen stars, last letter missing", "*a*b*a*b*a*b*a*b*a*b*a*b*c", longText, false},
      {"thousands of stars in a row", std::string(5000, '*') + "x", longText, false},
      {"two thousand star runs", manyStarsA, longText, false},
      {"three hundred pairs", manyStarsAB, longText, true},
      {"comparisons behind stars", comparisonsBehindStars, longText, true},
      {"separators only", std::string(100000, ';'), "", true},
      {"separators only, other text", std::string(50000, '&') + std::string(50000, '|'), "x",
       false},
  };
  for (const Slow& c : cases) {
    bool result = !c.expected;
    const double seconds = Seconds([&] { result = MatchCondition(c.condition, c.text, true, rs); });
    EXPECT_EQ(result, c.expected) << c.name;
    EXPECT_LT(seconds, 5.0) << c.name;  // a hang guard, not a speed target
  }
}

TEST(ConditionMatcherTest, QsoFilterConditionFiltersManyRowsFast) {
  // 30,000 quoted calls, each followed by ";", against 100,000 cells.
  std::string condition;
  std::vector<std::string> calls;
  for (int i = 0; i < 30000; ++i) {
    calls.push_back("SP" + std::to_string(i) + "XYZ");
    condition += "\"" + calls.back() + "\";";
  }
  std::vector<std::string> cells;
  for (int i = 0; i < 100000; ++i) {
    cells.push_back(i % 3 == 0 ? "sp" + std::to_string(i) + "xyz" : "DL" + std::to_string(i));
  }
  int matched = 0;
  const double seconds = Seconds([&] {
    const PreparedCondition prepared(condition, false, RegionalSettings{});
    for (const std::string& cell : cells) matched += prepared.Matches(cell);
  });
  int expected = 0;
  for (int i = 0; i < 100000; i += 3) expected += i < 30000;
  EXPECT_EQ(matched, expected);
  RecordProperty("prepared_seconds", std::to_string(seconds));
  // A sample checked against the unprepared matcher.
  for (int i = 0; i < 100000; i += 9973) {
    EXPECT_EQ(MatchCondition(condition, cells[static_cast<size_t>(i)], false, RegionalSettings{}),
              (i % 3 == 0 && i < 30000));
  }
}

}  // namespace
}  // namespace kartex
