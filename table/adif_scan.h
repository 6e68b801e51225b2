#pragma once
// Private to table/: the ADIF reader's rules for what it meets in the bytes:
// a tag, a length, what may follow a value, a value written with a count of
// characters instead of bytes. The parser (adif_parser.cpp) decides with
// them how to read a field and how to recover from a broken one.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/code_page.h"
#include "table/ascii_case.h"
#include "table/three_way.h"

namespace kartex::adif_scan {

// Field names are made of these; a longer run is no name.
inline constexpr size_t kLongestName = 100;

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsNameChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }

inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether name is word in any letter case (word in capitals).
inline bool IsNamed(std::string_view name, std::string_view word) {
  return SameIgnoringAsciiCase(name, word);
}

// A length as ADIF writes it: decimal digits and nothing else.
inline std::optional<uint64_t> ParseLength(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

inline bool HoldsNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

enum class Answer { kYes, kNo, kNeedMore };

// Whether s[k] == '<' starts a well-formed tag: <EOR>, <EOH>, or a field's
// <NAME:DIGITS> or <NAME:DIGITS:TYPE>, whose length is then set, and end
// just after its ">". more: bytes that follow s[n].
inline Answer TagAt(const char* s, size_t n, uint64_t more, size_t k,
                    std::optional<uint64_t>& length, size_t& end) {
  const Answer atEnd = more > 0 ? Answer::kNeedMore : Answer::kNo;
  length.reset();
  size_t j = k + 1;
  while (j < n && IsNameChar(s[j]) && j - k - 1 <= kLongestName) ++j;
  if (j == n) return atEnd;
  const std::string_view name(s + k + 1, j - k - 1);
  if (name.empty() || name.size() > kLongestName) return Answer::kNo;
  end = j + 1;
  if (s[j] == '>') return IsNamed(name, "EOR") || IsNamed(name, "EOH") ? Answer::kYes : Answer::kNo;
  if (s[j] != ':') return Answer::kNo;
  const size_t digits = ++j;
  while (j < n && IsDigit(s[j]) && j - digits < 18) ++j;
  if (j == n) return atEnd;
  if (j == digits) return Answer::kNo;
  length = ParseLength(std::string_view(s + digits, j - digits));
  if (s[j] != '>') {
    if (s[j] != ':') return Answer::kNo;
    ++j;
    while (j < n && IsLetter(s[j])) ++j;
    if (j == n) return atEnd;
    if (s[j] != '>') return Answer::kNo;
  }
  end = j + 1;
  return Answer::kYes;
}

// A value given a length too long takes in the next field: its tag, and
// that field's value after it. (An <EOR> alone in a value, a comment's
// "see <EOR>", proves nothing.)
inline bool HoldsFieldTag(std::string_view value) {
  for (size_t k = 0; k < value.size(); ++k) {
    if (value[k] != '<') continue;
    std::optional<uint64_t> length;
    size_t end = 0;
    if (TagAt(value.data(), value.size(), 0, k, length, end) == Answer::kYes && length &&
        *length <= value.size() - end) {
      return true;
    }
  }
  return false;
}

enum class Follow { kGood, kBad, kNeedMore };

// Whether what follows a value at f is what may follow one: blanks and line
// ends up to the next "<", a "//" comment or the end of the input.
inline Follow FollowAt(const char* s, size_t n, uint64_t more, size_t f) {
  while (f < n && IsBlank(s[f])) ++f;
  if (f == n) return more > 0 ? Follow::kNeedMore : Follow::kGood;
  if (s[f] == '<') return Follow::kGood;
  if (s[f] != '/') return Follow::kBad;
  if (f + 1 == n) return more > 0 ? Follow::kNeedMore : Follow::kBad;
  return s[f + 1] == '/' ? Follow::kGood : Follow::kBad;
}

// Where a value of count characters of UTF-8 from p ends; nullopt when the
// bytes there are no UTF-8. needMore is set when the input ends first but
// more of it follows.
inline std::optional<size_t> CharactersEnd(const char* s, size_t n, uint64_t more, size_t p,
                                           uint64_t count, bool& needMore) {
  needMore = false;
  const std::string_view text(s, n);
  size_t q = p;
  for (uint64_t k = 0; k < count; ++k) {
    if (q == n) {
      needMore = more > 0;
      return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(s[q]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (q + length > n) {
      needMore = more > 0;
      return std::nullopt;
    }
    if (!NextUtf8CodePoint(text, q)) return std::nullopt;
  }
  return q;
}

}  // namespace kartex::adif_scan
