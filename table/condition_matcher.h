#pragma once
// The filter condition language: alternatives joined by & ; | ^, each a
// comparison (> >= < <=) or a pattern with * ? \ ! and ignored quotes.
//
// Choices where the language leaves room: a pattern that ends in a lone
// backslash has no character to compare, so that last comparison fails (the
// pattern matches no text; a "!" before it inverts as usual); a comparison
// operand longer than 255 characters is cut to its first 255.

#include <memory>
#include <string>
#include <string_view>

#include "regional_settings.h"

namespace kartex {

// Does text satisfy condition? Prepares the condition on every call: the
// plain road, kept on purpose for RowFilter::MatchRow outside a filter run
// and as the answer the tests and fuzzers hold PreparedCondition to.
bool MatchCondition(std::string_view condition, std::string_view text, bool caseSensitive,
                    const RegionalSettings& regional);

// Matches one alternative (already upper-cased by the caller when not
// case-sensitive) against text. Not on the program's road: the tests match
// single alternatives through it.
bool MatchAlternative(std::string_view pattern, std::string_view text,
                      const RegionalSettings& regional);

// The condition after trimming, the removal of blanks next to & ; ^ | = and
// the removal of one leading "=": what is split into alternatives.
std::string PrepareConditionText(std::string_view condition);

// A condition prepared once for a whole filter run: trimmed, split, upper-cased,
// runs of plain alternatives kept in hash sets. Gives exactly the answers of
// MatchCondition. Matches keeps its upper-cased copy of the text in the
// object, so one object serves one thread at a time.
class PreparedCondition {
 public:
  PreparedCondition(std::string_view condition, bool caseSensitive,
                    const RegionalSettings& regional);
  ~PreparedCondition();
  PreparedCondition(PreparedCondition&&) noexcept;
  PreparedCondition& operator=(PreparedCondition&&) noexcept;

  bool Matches(std::string_view text) const;
  // Starts loading what Matches(text) will look up first; only a hint.
  void Prefetch(std::string_view text) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kartex
