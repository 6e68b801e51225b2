#include "table/number_reader.h"

#include "table/three_way.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace kartex {

namespace {

// An exponent this large already puts any text's value beyond the doubles.
constexpr int64_t kExponentLimit = int64_t{1} << 50;

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

void NumberTailReader::Prepend(char c) {
  // The forms of c + tail follow from the forms of the tail alone.
  const unsigned was = forms_;
  const bool wasEmpty = empty_;
  empty_ = false;
  if (IsDigit(c)) {
    const bool digits = (was & kDigits) || wasEmpty;
    forms_ = (digits ? kDigits : 0u) | (was & (kFraction | kMantissa)) |
             ((was & kMantissa) ? kNumber : 0u);
    PushDigit(c);
    return;
  }
  switch (c) {
    case '.':
      cached_.reset();
      forms_ = (was & kFraction) ? (kMantissa | kNumber) : 0u;
      fractionDigits_ = kept_ + dropped_ + leadingZeros_;
      break;
    case 'E':
    case 'e':
      forms_ =
          (was & (kDigits | kSignedDigits)) ? (kExponent | kFraction | kMantissa | kNumber) : 0u;
      cached_.reset();
      // The digits read so far are the exponent's, not the mantissa's.
      exponent_ = kept_ <= kExactDigits ? static_cast<int64_t>(KeptValue()) : kExponentLimit;
      if (frontNegative_) exponent_ = -exponent_;
      frontNegative_ = false;
      ClearMantissa();
      break;
    case '+':
    case '-':
      forms_ =
          ((was & kDigits) ? kSignedDigits : 0u) | ((was & kMantissa) && !wasEmpty ? kNumber : 0u);
      frontNegative_ = c == '-';
      break;
    case ' ':
      forms_ = was & kNumber;
      break;
    default:
      forms_ = 0;
      break;
  }
}

void NumberTailReader::PushDigit(char digit) {
  // Zeros in front of the significant digits do not change the value.
  if (digit == '0') {
    ++leadingZeros_;
    return;
  }
  cached_.reset();
  for (; leadingZeros_ > 0; --leadingZeros_) PushKeptDigit('0');
  PushKeptDigit(digit);
}

void NumberTailReader::PushKeptDigit(char digit) {
  if (kept_ == kKeptDigits) {
    --kept_;
    droppedNonZero_ = droppedNonZero_ || digits_[front_ + kept_] != '0';
    ++dropped_;
  }
  if (front_ == 0) {
    // Move the kept digits to the back half; each digit moves at most once
    // per kKeptDigits digits pushed.
    std::memmove(digits_ + kKeptDigits, digits_, static_cast<size_t>(kept_));
    front_ = kKeptDigits;
  }
  digits_[--front_] = digit;
  ++kept_;
}

void NumberTailReader::ClearMantissa() {
  front_ = 2 * kKeptDigits;
  kept_ = 0;
  dropped_ = 0;
  droppedNonZero_ = false;
  leadingZeros_ = 0;
  fractionDigits_ = 0;
}

uint64_t NumberTailReader::KeptValue() const {
  uint64_t value = 0;
  for (int k = 0; k < kept_; ++k)
    value = value * 10 + static_cast<uint64_t>(digits_[front_ + k] - '0');
  return value;
}

std::optional<double> NumberTailReader::Value() const {
  if (!(forms_ & kNumber)) return std::nullopt;
  if (!cached_) cached_ = Compute();
  return frontNegative_ ? -*cached_ : *cached_;
}

// The magnitude of the mantissa's digits times ten to the exponent.
double NumberTailReader::Compute() const {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (kept_ == 0) return 0;
  const int64_t scale = exponent_ - fractionDigits_ + dropped_;
  // The power of ten of the first significant digit.
  const int64_t lead = scale + kept_ - 1;
  if (lead > 309) return kInfinity;
  if (lead < -325) return 0;
  if (kept_ <= kExactDigits && scale >= -22 && scale <= 22) {
    // Digits and power of ten are both exact doubles, so one multiplication
    // or division rounds correctly (the common short number).
    const double m = static_cast<double>(KeptValue());
    return scale < 0 ? m / kPowersOfTen[-scale] : m * kPowersOfTen[scale];
  }

  char text[kKeptDigits + 32];
  std::memcpy(text, digits_ + front_, static_cast<size_t>(kept_));
  char* end = text + kept_;
  int64_t power = scale;
  if (droppedNonZero_) {
    *end++ = '1';  // stands for the dropped digits that are not all zero
    --power;
  }
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, power).ptr;
  double value = 0;
  if (std::from_chars(text, end, value).ec == std::errc::result_out_of_range)
    return lead > 0 ? kInfinity : 0.0;
  return value;
}

std::optional<double> ReadPlainNumber(std::string_view text) {
  NumberTailReader reader;
  for (size_t i = text.size(); i-- > 0;) {
    reader.Prepend(text[i]);
    if (reader.Dead()) return std::nullopt;
  }
  return reader.Value();
}

}  // namespace kartex
