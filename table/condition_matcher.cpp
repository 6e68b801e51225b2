#include "table/condition_matcher.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "table/condition_values.h"
#include "table/text_index.h"
#include "table/three_way.h"

namespace kartex {
namespace {

constexpr size_t kMaxOperand = 255;  // the operand buffer, and the reach of a text comparison

bool IsSeparator(char c) { return c == '&' || c == ';' || c == '^' || c == '|'; }
bool IsBlankNeighbour(char c) { return IsSeparator(c) || c == '='; }

// ---------------------------------------------------------------------------
// Comparison

// By unsigned character codes over at most the first 255 characters (an
// operand is cut there); a proper prefix is the smaller. The sort compares
// whole texts (CompareTexts).
int CompareOperandTexts(std::string_view a, std::string_view b) {
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
std::string ReadOperand(std::string_view p, size_t i) {
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

// The part of a prepared condition before the first separator, and so on.
struct Alternative {
  std::string_view text;
  char separator = 0;  // the separator in front of it; 0 for the first
};

std::vector<Alternative> SplitAlternatives(std::string_view prepared) {
  std::vector<Alternative> parts;
  char separator = 0;
  for (;;) {
    size_t i = 0;
    while (i < prepared.size() && !IsSeparator(prepared[i])) ++i;
    parts.push_back({prepared.substr(0, i), separator});
    if (i == prepared.size()) break;
    separator = prepared[i];
    prepared.remove_prefix(i + 1);
  }
  return parts;
}

bool Combine(bool running, char separator, bool r) {
  if (separator == 0) return r;
  if (separator == '&') return running && r;
  return running || r;
}

}  // namespace

std::string PrepareConditionText(std::string_view condition) {
  // Trim every character of code 32 or less at both ends.
  size_t begin = 0, end = condition.size();
  while (begin < end && static_cast<unsigned char>(condition[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(condition[end - 1]) <= 32) --end;
  const std::string_view s = condition.substr(begin, end - begin);

  // Blanks right before or right behind & ; ^ | = go, quoted or not. A run of
  // blanks goes as a whole: taking the blanks in front of one of these
  // characters never makes another run touch one.
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    if (s[i] != ' ') {
      size_t j = s.find(' ', i);
      if (j == std::string_view::npos) j = s.size();
      out.append(s.data() + i, j - i);
      i = j;
      continue;
    }
    size_t j = i;
    while (j < s.size() && s[j] == ' ') ++j;
    const bool before = j < s.size() && IsBlankNeighbour(s[j]);
    const bool behind = i > 0 && IsBlankNeighbour(s[i - 1]);
    if (!before && !behind) out.append(j - i, ' ');
    i = j;
  }
  if (!out.empty() && out[0] == '=') out.erase(0, 1);
  return out;
}

bool MatchAlternative(std::string_view pattern, std::string_view text,
                      const RegionalSettings& regional) {
  return AlternativeMatcher(std::string(pattern), regional).Match(text);
}

bool MatchCondition(std::string_view condition, std::string_view text, bool caseSensitive,
                    const RegionalSettings& regional) {
  const std::string prepared = PrepareConditionText(condition);
  const std::string upperText = caseSensitive ? std::string() : UpperCase1250(text);
  bool running = false;
  for (const Alternative& alt : SplitAlternatives(prepared)) {
    const bool r = caseSensitive ? MatchAlternative(alt.text, text, regional)
                                 : MatchAlternative(UpperCase1250(alt.text), upperText, regional);
    running = Combine(running, alt.separator, r);
  }
  return running;
}

// ---------------------------------------------------------------------------
// PreparedCondition

// A set of texts in a flat hash index, which keeps the look-up of a cell
// among tens of thousands of calls cheap.
class TextSet {
 public:
  // The texts must outlive the set.
  explicit TextSet(std::vector<std::string_view> texts)
      : texts_(std::move(texts)), index_(TextAt{texts_.data()}, texts_.size()) {
    for (size_t i = 0; i < texts_.size(); ++i) index_.Insert(texts_[i], static_cast<uint32_t>(i));
  }

  bool Contains(std::string_view text) const {
    return index_.Find(text) != TextIndex<TextAt>::kAbsent;
  }
  void Prefetch(std::string_view text) const { index_.Prefetch(index_.Hash(text)); }

 private:
  struct TextAt {
    const std::string_view* texts;
    std::string_view operator()(uint32_t i) const { return texts[i]; }
  };

  // Its buffer, which the index refers to, stays in place when the set moves.
  std::vector<std::string_view> texts_;
  TextIndex<TextAt> index_;
};

struct PreparedCondition::Impl {
  // One step of the left-to-right evaluation: either one alternative or a run
  // of plain alternatives joined by "or" separators, answered by one look-up.
  struct Step {
    char separator = 0;  // 0 (first), '&' or an "or" separator
    int matcher = -1;    // index into matchers
    int set = -1;        // index into sets
  };

  bool caseSensitive = true;
  std::vector<Step> steps;
  std::vector<AlternativeMatcher> matchers;
  std::string keyText;  // the texts of the plain alternatives, one after another
  std::vector<TextSet> sets;
  // The upper-cased text of the present Matches call; it goes with the
  // prepared condition, at the end of the filter run.
  mutable std::string upper;
};

namespace {

// A plain alternative compares no value, has no wildcard, escape or "!", so it
// matches exactly its own text with the (ignored) double quotes taken out.
bool IsPlain(std::string_view alt) {
  for (char c : alt) {
    switch (c) {
      case '*':
      case '?':
      case '\\':
      case '!':
      case '<':
      case '>':
        return false;
      default:
        break;
    }
  }
  return true;
}

}  // namespace

PreparedCondition::PreparedCondition(std::string_view condition, bool caseSensitive,
                                     const RegionalSettings& regional)
    : impl_(std::make_unique<Impl>()) {
  Impl& impl = *impl_;
  impl.caseSensitive = caseSensitive;
  // Upper-casing works byte by byte and leaves the separators alone, so the
  // whole condition can be upper-cased before it is split.
  std::string prepared = PrepareConditionText(condition);
  if (!caseSensitive) prepared = UpperCase1250(prepared);

  // The keys are gathered as pieces of one text; the sets refer to it once
  // it is complete.
  using Piece = std::pair<uint32_t, uint32_t>;
  std::vector<std::vector<Piece>> setKeys;
  impl.keyText.reserve(prepared.size());
  for (const Alternative& alt : SplitAlternatives(prepared)) {
    if (IsPlain(alt.text)) {
      const size_t offset = impl.keyText.size();
      std::string_view rest = alt.text;
      for (size_t q; (q = rest.find('"')) != std::string_view::npos; rest.remove_prefix(q + 1)) {
        impl.keyText.append(rest.data(), q);
      }
      impl.keyText.append(rest.data(), rest.size());
      const Piece piece{static_cast<uint32_t>(offset),
                        static_cast<uint32_t>(impl.keyText.size() - offset)};
      // running := running OR a OR b ... folds into one look-up as long as
      // the step it joins is itself a first or "or" step of plain alternatives.
      const Impl::Step* last = impl.steps.empty() ? nullptr : &impl.steps.back();
      if (alt.separator != 0 && alt.separator != '&' && last != nullptr && last->set >= 0 &&
          last->separator != '&') {
        setKeys[static_cast<size_t>(last->set)].push_back(piece);
      } else {
        setKeys.push_back({piece});
        impl.steps.push_back({alt.separator, -1, static_cast<int>(setKeys.size()) - 1});
      }
      continue;
    }
    impl.matchers.emplace_back(std::string(alt.text), regional);
    impl.steps.push_back({alt.separator, static_cast<int>(impl.matchers.size()) - 1, -1});
  }
  impl.sets.reserve(setKeys.size());
  for (const std::vector<Piece>& pieces : setKeys) {
    std::vector<std::string_view> texts;
    texts.reserve(pieces.size());
    for (const auto& [offset, length] : pieces)
      texts.emplace_back(impl.keyText.data() + offset, length);
    impl.sets.emplace_back(std::move(texts));
  }
}

PreparedCondition::~PreparedCondition() = default;
PreparedCondition::PreparedCondition(PreparedCondition&&) noexcept = default;
PreparedCondition& PreparedCondition::operator=(PreparedCondition&&) noexcept = default;

void PreparedCondition::Prefetch(std::string_view text) const {
  const Impl& impl = *impl_;
  // A text that is upper-cased first is not worth the work here.
  if (!impl.caseSensitive || impl.steps.empty() || impl.steps.front().set < 0) return;
  impl.sets[static_cast<size_t>(impl.steps.front().set)].Prefetch(text);
}

bool PreparedCondition::Matches(std::string_view text) const {
  const Impl& impl = *impl_;
  std::string_view subject = text;
  if (!impl.caseSensitive) {
    UpperCase1250Into(text, impl.upper);
    subject = impl.upper;
  }
  bool running = false;
  for (const Impl::Step& step : impl.steps) {
    // Every alternative is a pure function of the text, so an alternative
    // that cannot change the running result need not be evaluated.
    if (step.separator == '&' && !running) continue;
    if (step.separator != 0 && step.separator != '&' && running) continue;
    const bool r = step.set >= 0 ? impl.sets[static_cast<size_t>(step.set)].Contains(subject)
                                 : impl.matchers[static_cast<size_t>(step.matcher)].Match(subject);
    running = Combine(running, step.separator, r);
  }
  return running;
}

}  // namespace kartex
