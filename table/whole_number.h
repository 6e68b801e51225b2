#pragma once
// A whole number as the date fields of conditions and the DXCC numbers of the
// country list are read: leading blanks, an optional sign, decimal digits and
// nothing else, within the range of a 32-bit integer.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kartex {

// Reads the tails of one text as whole numbers, from the shortest to the
// longest: Prepend puts the next character in front of the tail read so far.
// Each step costs the same whatever the tail's length.
class WholeNumberTailReader {
 public:
  void Prepend(char c) {
    if (dead_) return;
    if (c >= '0' && c <= '9') {
      // A digit in front of a sign or a blank, or one that makes the number
      // too large, spoils every longer tail as well.
      if (signed_ || blank_ || (c != '0' && digits_ >= 10)) {
        dead_ = true;
        return;
      }
      if (c != '0') magnitude_ += (c - '0') * kPowersOfTen[digits_];
      dead_ = magnitude_ > kLimit;
      ++digits_;
    } else if ((c == '+' || c == '-') && digits_ > 0 && !signed_ && !blank_) {
      signed_ = true;
      negative_ = c == '-';
    } else if (c == ' ' && digits_ > 0) {
      blank_ = true;
    } else {
      dead_ = true;
    }
  }

  std::optional<int32_t> Value() const {
    if (dead_ || digits_ == 0) return std::nullopt;
    const int64_t value = negative_ ? -magnitude_ : magnitude_;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
  }

 private:
  static constexpr int64_t kLimit = int64_t{1} << 31;
  static constexpr int64_t kPowersOfTen[10] = {1,      10,      100,      1000,      10000,
                                               100000, 1000000, 10000000, 100000000, 1000000000};

  int64_t magnitude_ = 0;
  int64_t digits_ = 0;
  bool signed_ = false, negative_ = false, blank_ = false, dead_ = false;
};

inline std::optional<int32_t> ReadWholeNumber(std::string_view s) {
  WholeNumberTailReader reader;
  for (size_t i = s.size(); i-- > 0;) reader.Prepend(s[i]);
  return reader.Value();
}

}  // namespace kartex
