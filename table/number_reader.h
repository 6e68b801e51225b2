#pragma once
// The number form that the filter's comparisons and the sort's numeric
// comparison read: blanks, an optional "+" or "-", digits with an optional
// "." and further digits (either run may be empty), an optional exponent ("E"
// or "e", an optional sign, at least one digit), and nothing else; something
// must follow the blanks and the sign. The value is the number written,
// correctly rounded to a double (beyond the range of a double: infinity or 0).
//
// Callers map their regional separators onto this plain form first (a
// decimal separator read as ".", a thousands separator left out).

#include <cstdint>
#include <optional>
#include <string_view>

namespace kartex {

// Reads the tails of one text, from the shortest to the longest: Prepend puts
// the next character in front of the tail read so far. Each step costs the
// same whatever the tail's length, so that every tail of a long cell can be
// read in time proportional to the cell.
class NumberTailReader {
 public:
  void Prepend(char c);
  // The value of the tail read so far; nullopt when it is no number.
  std::optional<double> Value() const;
  // True when neither this tail nor any longer one can be a number.
  bool Dead() const { return forms_ == 0; }

 private:
  // A correctly rounded double needs at most 768 significant digits; the
  // digits beyond count only as "some of them are not zero".
  static constexpr int kKeptDigits = 800;
  // Up to this many digits the kept digits are an exact double.
  static constexpr int kExactDigits = 15;

  void PushDigit(char digit);
  void PushKeptDigit(char digit);
  void ClearMantissa();
  uint64_t KeptValue() const;  // while kept_ <= kExactDigits
  double Compute() const;

  // What the tail read so far can be, as bits: D digits, S a sign, B a blank.
  enum Form : unsigned {
    kDigits = 1,        // D+
    kSignedDigits = 2,  // S D+
    kExponent = 4,      // empty, or E S? D+
    kFraction = 8,      // D* and an exponent part
    kMantissa = 16,     // D*, then "." and a fraction part, or an exponent part
    kNumber = 32,       // B* S? and a mantissa part, not empty after the sign
  };
  unsigned forms_ = kExponent | kFraction | kMantissa;
  bool empty_ = true;

  bool frontNegative_ = false;  // the sign at the front of the tail

  // Mantissa: its significant digits, most significant first, in
  // digits_[front_, front_ + kept_); digits beyond kKeptDigits dropped.
  char digits_[2 * kKeptDigits];
  int front_ = 2 * kKeptDigits;
  int kept_ = 0;
  int64_t dropped_ = 0;
  bool droppedNonZero_ = false;
  int64_t leadingZeros_ = 0;    // zeros in front of the first significant digit
  int64_t fractionDigits_ = 0;  // mantissa digits behind the "."
  int64_t exponent_ = 0;

  mutable std::optional<double> cached_;
};

// A whole text in the plain form.
std::optional<double> ReadPlainNumber(std::string_view text);

}  // namespace kartex
