#include "table/condition_matcher.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "table/alternative_matcher.h"
#include "table/text_index.h"
#include "table/three_way.h"

namespace kartex {
namespace {

using condition::AlternativeMatcher;

bool IsSeparator(char c) { return c == '&' || c == ';' || c == '^' || c == '|'; }
bool IsBlankNeighbour(char c) { return IsSeparator(c) || c == '='; }

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
