#pragma once
// Private to table/: the match of one alternative of a condition (a pattern
// with * ? \\ ! and ignored quotes, or a comparison > >= < <=) against a text.
// The condition matcher splits a condition into alternatives and combines
// their answers (condition_matcher.cpp).

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/condition_values.h"
#include "table/regional_settings.h"
#include "table/three_way.h"

namespace kartex::condition {

inline constexpr size_t kMaxOperand =
    255;  // the operand buffer, and the reach of a text comparison

// ---------------------------------------------------------------------------
// Comparison

// By unsigned character codes over at most the first 255 characters (an
// operand is cut there); a proper prefix is the smaller. The sort compares
// whole texts (CompareTexts).
inline int CompareOperandTexts(std::string_view a, std::string_view b) {
  a = a.substr(0, std::min(a.size(), kMaxOperand));
  b = b.substr(0, std::min(b.size(), kMaxOperand));
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

struct Operand {
  std::string text;
  std::optional<double> number;
  std::optional<int32_t> date;
};

// The operand behind an operator: blanks skipped, then the characters up to
// the next blank; quotes before the first taken character are skipped and
// one closing quote is dropped.
inline std::string ReadOperand(std::string_view p, size_t i) {
  while (i < p.size() && p[i] == ' ') ++i;
  std::string taken;
  for (; i < p.size() && p[i] != ' '; ++i) {
    if (p[i] == '"' && taken.empty()) continue;
    taken += p[i];
  }
  if (!taken.empty() && taken.back() == '"') taken.pop_back();
  if (taken.size() > kMaxOperand) taken.resize(kMaxOperand);
  return taken;
}

struct Comparison {
  bool greater = true;   // ">" or ">=" (else "<" or "<=")
  bool orEqual = false;  // ">=" or "<="
  Operand operand;
};

// ---------------------------------------------------------------------------
// One alternative, analysed once.
//
// A match of the pattern against a text is a scan of the pattern from its
// start; at a run of stars the rest of the pattern (behind the run) is matched
// anew, with its own comparisons and its own "!", against every tail of the
// text from the present position on, and the pattern has matched when one of
// them does. The answer for "rest behind star run k" against "tail from t"
// depends on nothing else, so each is worked out once, from the last star run
// backwards: row k tells for every start t whether the rest behind run k
// matches some tail starting at t or later, which holds up to some last start
// and no further. Each row is one pass over the tails from the end of the
// text, their numbers and dates read along the way, so a pattern costs about
// (star runs x text length) steps and no memory that grows with the text.
class AlternativeMatcher {
 public:
  AlternativeMatcher(std::string pattern, const RegionalSettings& rs)
      : p_(std::move(pattern)), rs_(rs) {
    // Star runs at the positions the scan reaches (a backslash takes the
    // character behind it).
    for (size_t i = 0; i < p_.size();) {
      if (p_[i] == '\\') {
        i += 2;
      } else if (p_[i] == '*') {
        const size_t start = i;
        while (i < p_.size() && p_[i] == '*') ++i;
        runStart_.push_back(start);
        runEnd_.push_back(i);
      } else {
        ++i;
      }
    }
    // The comparisons of each part that is matched on its own: the whole
    // pattern (suffix 0) and the rest behind each star run (suffix k + 1).
    // Each looks at the first ">" and the first "<" of its own text.
    const size_t suffixes = runStart_.size() + 1;
    gt_.assign(suffixes, -1);
    lt_.assign(suffixes, -1);
    for (size_t s = 0; s < suffixes; ++s) {
      const size_t from = SuffixStart(s);
      gt_[s] = ComparisonFor(p_.find('>', from), greater_, greaterPos_);
      lt_[s] = ComparisonFor(p_.find('<', from), less_, lessPos_);
    }
  }

  bool Match(std::string_view text) const {
    if (HasComparison(0)) {
      TailReadings whole = ReadingsFor(0, text);
      whole.MoveTo(0);
      if (Compared(0, 0, text, whole)) return true;
    }
    const ScanEnd first = Scan(0, 0, text);
    if (!first.atStar) return first.result;

    // The scan reached star run 0 at position t0. Work out the rows from the
    // last run back to run 0, for the starts t0 .. end of text. A row holds
    // for the starts up to the last one whose tail the rest matches, so that
    // start alone keeps the row.
    const auto t0 = static_cast<Start>(first.at);
    Start next = kNoStart;  // the row of the following run
    for (size_t k = runStart_.size(); k-- > 0;) {
      TailReadings tails = ReadingsFor(k + 1, text);
      Start last = kNoStart;
      for (auto t = static_cast<Start>(text.size()); t >= t0; --t) {
        tails.MoveTo(static_cast<size_t>(t));
        if (RestMatches(k + 1, static_cast<size_t>(t), text, tails, next)) {
          last = t;
          break;
        }
      }
      next = last;
    }
    return (t0 <= next) != first.negate;
  }

 private:
  using Start = std::ptrdiff_t;
  static constexpr Start kNoStart = -1;

  struct ScanEnd {
    bool atStar = false;  // reached the next star run (at: text position)
    size_t at = 0;
    bool negate = false;
    bool result = false;  // the answer when the scan ended by itself
  };

  size_t SuffixStart(size_t s) const { return s == 0 ? 0 : runEnd_[s - 1]; }

  int ComparisonFor(size_t pos, std::vector<Comparison>& list, std::vector<size_t>& positions) {
    if (pos == std::string::npos) return -1;
    if (!positions.empty() && positions.back() == pos)
      return static_cast<int>(positions.size()) - 1;
    Comparison c;
    c.greater = p_[pos] == '>';
    size_t i = pos + 1;
    if (i < p_.size() && p_[i] == '=') {
      c.orEqual = true;
      ++i;
    }
    c.operand.text = ReadOperand(p_, i);
    c.operand.number = ReadConditionNumber(c.operand.text, rs_);
    c.operand.date = ReadConditionDate(c.operand.text, rs_);
    positions.push_back(pos);
    list.push_back(std::move(c));
    return static_cast<int>(list.size()) - 1;
  }

  bool HasComparison(size_t s) const { return gt_[s] >= 0 || lt_[s] >= 0; }

  // The readings of the tails of text that the comparisons of suffix s need.
  TailReadings ReadingsFor(size_t s, std::string_view text) const {
    bool numbers = false, dates = false;
    for (const Comparison* c : {ComparisonOf(gt_[s], greater_), ComparisonOf(lt_[s], less_)}) {
      if (c == nullptr) continue;
      numbers = numbers || c->operand.number.has_value();
      dates = dates || c->operand.date.has_value();
    }
    return TailReadings(text, rs_, numbers, dates);
  }
  static const Comparison* ComparisonOf(int index, const std::vector<Comparison>& list) {
    return index < 0 ? nullptr : &list[static_cast<size_t>(index)];
  }

  int CompareTail(const Operand& op, std::string_view tail, const TailReadings& tails) const {
    if (op.number) {
      if (const std::optional<double> number = tails.Number()) return ThreeWay(*number, *op.number);
    }
    if (op.date) {
      if (const std::optional<int32_t> date = tails.Date())
        return *date < *op.date ? -1 : (*date > *op.date ? 1 : 0);
    }
    return CompareOperandTexts(tail, op.text);
  }

  bool Holds(const Comparison& c, std::string_view tail, const TailReadings& tails) const {
    const int cmp = CompareTail(c.operand, tail, tails);
    if (c.greater) return c.orEqual ? cmp >= 0 : cmp > 0;
    return c.orEqual ? cmp <= 0 : cmp < 0;
  }

  // The comparison tests of suffix s against the tail from t (where the
  // readings stand).
  bool Compared(size_t s, size_t t, std::string_view text, const TailReadings& tails) const {
    const std::string_view tail = text.substr(t);
    const Comparison* greater = ComparisonOf(gt_[s], greater_);
    if (greater != nullptr && Holds(*greater, tail, tails)) return true;
    const Comparison* less = ComparisonOf(lt_[s], less_);
    return less != nullptr && Holds(*less, tail, tails);
  }

  // The wildcard scan of suffix s against the tail from t, up to its end or
  // up to the next star run.
  ScanEnd Scan(size_t s, size_t t, std::string_view text) const {
    const size_t m = p_.size(), n = text.size();
    size_t p = SuffixStart(s);
    ScanEnd end;
    auto fail = [&end] {
      end.result = end.negate;  // ok = false, inverted by "!"
      return end;
    };
    for (;;) {
      if (p == m) {
        if (t != n) return fail();  // the end of the pattern equals no character
        end.result = !end.negate;
        return end;
      }
      const char c = p_[p];
      switch (c) {
        case '*':
          end.atStar = true;
          end.at = t;
          return end;
        case '?':
          if (t == n) return fail();
          ++p;
          ++t;
          break;
        case '\\':
          ++p;
          // A lone backslash at the end has nothing to compare: no match.
          if (p == m || t == n || text[t] != p_[p]) return fail();
          ++p;
          ++t;
          break;
        case '"':
          ++p;
          break;
        case '!':
          end.negate = true;
          ++p;
          break;
        default:
          if (t == n || text[t] != c) return fail();
          ++p;
          ++t;
          break;
      }
    }
  }

  // The whole match of suffix s (s >= 1) against the tail from t, the row of
  // the following star run (its last start: next) being known already.
  bool RestMatches(size_t s, size_t t, std::string_view text, const TailReadings& tails,
                   Start next) const {
    if (Compared(s, t, text, tails)) return true;
    const ScanEnd end = Scan(s, t, text);
    if (!end.atStar) return end.result;
    return (static_cast<Start>(end.at) <= next) != end.negate;
  }

  std::string p_;
  RegionalSettings rs_;
  std::vector<size_t> runStart_, runEnd_;
  std::vector<int> gt_, lt_;  // per suffix: index into greater_ / less_, or -1
  std::vector<Comparison> greater_, less_;
  std::vector<size_t> greaterPos_, lessPos_;
};

}  // namespace kartex::condition
