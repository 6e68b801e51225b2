#pragma once
// The condition language written out as it is defined: the preparation of a
// condition one blank at a time, its split and left-to-right evaluation, and
// the plain recursive match of an alternative (every tail tried behind a
// star, no memo), with number and date recognition spelled out. Exponential
// in the number of stars; the matcher's prepared and memoised forms are
// checked against it on small inputs (unit tests and fuzzers).

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "table/regional_settings.h"

namespace kartex::testing {

// Number recognition on a copy of the text; the C library's strtod gives the
// value (a "0" in front of the digits, as strtod takes neither "." alone nor
// an exponent without digits).
inline std::optional<double> ReferenceNumber(const std::string& text, const RegionalSettings& rs) {
  std::string s;
  for (char c : text) {
    if (c == rs.decimalSeparator) {
      s += '.';
    } else if (c != rs.thousandSeparator) {
      s += c;
    }
  }
  size_t i = 0;
  auto digits = [&] {
    const size_t from = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i - from;
  };
  while (i < s.size() && s[i] == ' ') ++i;
  const size_t signAt = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const size_t digitsAt = i;
  if (i == s.size()) return std::nullopt;
  digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits();
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const std::string plain = s.substr(signAt, digitsAt - signAt) + "0" + s.substr(digitsAt);
  return std::strtod(plain.c_str(), nullptr);
}

// A whole number: leading blanks, an optional sign, digits and nothing else,
// within the range of a 32-bit integer.
inline std::optional<int64_t> ReferenceWholeNumber(const std::string& s) {
  size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  const bool negative = s[i] == '-';
  if (s[i] == '+' || s[i] == '-') ++i;
  if (i == s.size() || s.find_first_not_of("0123456789", i) != std::string::npos)
    return std::nullopt;
  const std::string digits = s.substr(i);
  const size_t significant = digits.find_first_not_of('0');
  if (significant != std::string::npos && digits.size() - significant > 10) return std::nullopt;
  const int64_t magnitude =
      significant == std::string::npos ? 0 : std::stoll(digits.substr(significant));
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return value;
}

// Which of the three fields is the day, the month and the year: the order of
// the first D, M and Y of the upper-cased short date format; month, day,
// year when one of the letters is missing.
struct ReferenceDateFields {
  int day = 1, month = 0, year = 2;
};

inline ReferenceDateFields ReferenceDateOrder(const std::string& shortDateFormat) {
  std::string format = shortDateFormat;
  for (char& c : format) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const size_t d = format.find('D'), m = format.find('M'), y = format.find('Y');
  if (d == std::string::npos || m == std::string::npos || y == std::string::npos) return {};
  auto place = [&](size_t at) { return int(at > d) + int(at > m) + int(at > y); };
  return {place(d), place(m), place(y)};
}

// Date recognition: the fields at the first two separators (the third is the
// whole remainder), as a count of days.
inline std::optional<int64_t> ReferenceDate(const std::string& text, const RegionalSettings& rs) {
  const size_t first = text.find(rs.dateSeparator);
  if (first == std::string::npos) return std::nullopt;
  const size_t second = text.find(rs.dateSeparator, first + 1);
  if (second == std::string::npos) return std::nullopt;
  const std::string fields[3] = {text.substr(0, first), text.substr(first + 1, second - first - 1),
                                 text.substr(second + 1)};
  int64_t values[3];
  for (int f = 0; f < 3; ++f) {
    const std::optional<int64_t> v = ReferenceWholeNumber(fields[f]);
    if (!v) return std::nullopt;
    values[f] = *v;
  }
  const ReferenceDateFields order = ReferenceDateOrder(rs.shortDateFormat);
  const int64_t day = values[order.day], month = values[order.month], year = values[order.year];
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    return std::nullopt;
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{static_cast<int>(year)},
                            std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return sys_days{date}.time_since_epoch().count();
}

// The text compared with an operand: as numbers, else as dates (the operand
// examined first), else by unsigned codes over the first 255 characters.
inline int ReferenceCompare(const std::string& a, const std::string& b,
                            const RegionalSettings& rs) {
  const auto na = ReferenceNumber(a, rs), nb = ReferenceNumber(b, rs);
  if (na && nb) return *na < *nb ? -1 : (*na > *nb ? 1 : 0);
  const auto db = ReferenceDate(b, rs);
  const auto da = db ? ReferenceDate(a, rs) : std::nullopt;
  if (da && db) return *da < *db ? -1 : (*da > *db ? 1 : 0);
  const std::string x = a.substr(0, 255), y = b.substr(0, 255);
  for (size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
    const auto cx = static_cast<unsigned char>(x[i]), cy = static_cast<unsigned char>(y[i]);
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
}

// The operand behind an operator; one longer than 255 characters is cut.
inline std::string ReferenceOperand(const std::string& p, size_t i) {
  while (i < p.size() && p[i] == ' ') ++i;
  std::string taken;
  while (i < p.size() && p[i] != ' ') {
    if (!(p[i] == '"' && taken.empty())) taken += p[i];
    ++i;
  }
  if (!taken.empty() && taken.back() == '"') taken.pop_back();
  return taken.substr(0, 255);
}

inline bool ReferenceAlternative(const std::string& p, const std::string& t,
                                 const RegionalSettings& rs = RegionalSettings{}) {
  const size_t gt = p.find('>'), lt = p.find('<');
  bool g = false, l = false;
  if (gt != std::string::npos) {
    const bool eq = gt + 1 < p.size() && p[gt + 1] == '=';
    const int c = ReferenceCompare(t, ReferenceOperand(p, gt + 1 + (eq ? 1 : 0)), rs);
    g = eq ? c >= 0 : c > 0;
  }
  if (lt != std::string::npos) {
    const bool eq = lt + 1 < p.size() && p[lt + 1] == '=';
    const int c = ReferenceCompare(t, ReferenceOperand(p, lt + 1 + (eq ? 1 : 0)), rs);
    l = eq ? c <= 0 : c < 0;
  }
  if (gt != std::string::npos && g) return true;
  if (lt != std::string::npos && l) return true;

  size_t pi = 0, ti = 0;
  bool ok = true, negate = false;
  while (ok && !(pi == p.size() && ti == t.size())) {
    const char c = pi < p.size() ? p[pi] : '\0';
    if (pi < p.size() && c == '*') {
      while (pi < p.size() && p[pi] == '*') ++pi;
      const std::string rest = p.substr(pi);
      bool found = false;
      for (size_t len = 0; len <= t.size() - ti && !found; ++len) {
        found = ReferenceAlternative(rest, t.substr(t.size() - len), rs);
      }
      if (found) {
        pi = p.size();
        ti = t.size();
      } else {
        ok = false;
      }
    } else if (pi < p.size() && c == '?') {
      ok = ti < t.size();
      if (ok) ++pi, ++ti;
    } else if (pi < p.size() && c == '\\') {
      ++pi;
      ok = pi < p.size() && ti < t.size() && t[ti] == p[pi];
      if (ok) ++pi, ++ti;
    } else if (pi < p.size() && c == '"') {
      ++pi;
    } else if (pi < p.size() && c == '!') {
      negate = true;
      ++pi;
    } else {
      ok = pi < p.size() && ti < t.size() && t[ti] == c;
      if (ok) ++pi, ++ti;
    }
  }
  return ok != negate;
}

// Trimming and the blank removal done literally, one blank at a time, then
// one leading "=" removed.
inline std::string LiteralPreparation(std::string s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  s = s.substr(b, e - b);
  for (char c : std::string("&;^|=")) {
    for (size_t at; (at = s.find(std::string(" ") + c)) != std::string::npos;) s.erase(at, 1);
  }
  for (char c : std::string("&;^|=")) {
    for (size_t at; (at = s.find(std::string(1, c) + " ")) != std::string::npos;)
      s.erase(at + 1, 1);
  }
  if (!s.empty() && s[0] == '=') s.erase(0, 1);
  return s;
}

// The whole condition: prepared, split at the first separator again and
// again, every alternative evaluated (on upper-cased copies when not case
// sensitive) and combined left to right without precedence.
inline bool ReferenceCondition(const std::string& condition, const std::string& text,
                               bool caseSensitive, const RegionalSettings& rs) {
  std::string rest = LiteralPreparation(condition);
  const std::string subject = caseSensitive ? text : UpperCase1250(text);
  bool running = false;
  char separator = 0;
  for (;;) {
    const size_t at = rest.find_first_of("&;^|");
    const std::string alternative = rest.substr(0, at);
    const bool r =
        ReferenceAlternative(caseSensitive ? alternative : UpperCase1250(alternative), subject, rs);
    running = separator == 0 ? r : (separator == '&' ? running && r : running || r);
    if (at == std::string::npos) return running;
    separator = rest[at];
    rest.erase(0, at + 1);
  }
}

}  // namespace kartex::testing
