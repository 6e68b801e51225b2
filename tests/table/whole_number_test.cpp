// The whole-number reader of condition dates and DXCC numbers, read whole and
// tail by tail.

#include "table/whole_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

namespace kartex {
namespace {

TEST(ReadWholeNumber, BlanksSignDigitsAndTheRangeOfInt32) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"291", 291},
      {"  -7", -7},
      {"+007", 7},
      {"0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0000000000002147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"- 1", std::nullopt},
      {"--1", std::nullopt},
      {"1-", std::nullopt},
      {"1.0", std::nullopt},
      {"x1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadWholeNumber(c.text), c.value) << "[" << c.text << "]";
}

TEST(WholeNumberTailReader, EveryTailReadsAsTheTailAlone) {
  std::mt19937 rng(9);
  const std::string alphabet = "0123456789000 +-x";
  for (int n = 0; n < 5000; ++n) {
    std::string text(rng() % 30, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    WholeNumberTailReader reader;
    for (size_t t = text.size(); t-- > 0;) {
      reader.Prepend(text[t]);
      const std::string tail = text.substr(t);
      // The forward definition, written out.
      std::optional<int32_t> expected;
      const size_t start = tail.find_first_not_of(' ');
      if (start != std::string::npos) {
        size_t digits = start + (tail[start] == '+' || tail[start] == '-' ? 1 : 0);
        if (digits < tail.size() &&
            tail.find_first_not_of("0123456789", digits) == std::string::npos) {
          const size_t significant = tail.find_first_not_of('0', digits);
          const std::string kept =
              significant == std::string::npos ? "0" : tail.substr(significant);
          if (kept.size() <= 10) {
            const long long magnitude = std::stoll(kept);
            const long long value = tail[start] == '-' ? -magnitude : magnitude;
            if (value >= INT32_MIN && value <= INT32_MAX) expected = static_cast<int32_t>(value);
          }
        }
      }
      ASSERT_EQ(reader.Value(), expected) << "[" << tail << "]";
    }
  }
}

}  // namespace
}  // namespace kartex
