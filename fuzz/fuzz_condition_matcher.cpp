// The condition matcher. The input, as lines:
//   1. the regional settings (see InputRegional);
//   2. the case flag (the low bit of the first byte: 1 case-sensitive), then
//      the condition;
//   3. and on: the cell texts to test.
// For every text the prepared condition must answer like MatchCondition,
// and where the plain recursive definition (reference_condition.h) can work
// the answer out quickly, like that too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "reference_condition.h"
#include "table/condition_matcher.h"

namespace kartex::fuzz {
namespace {

// The plain definition tries every tail of the text behind each star run,
// recursively: (text length + 1) ^ (star runs) matches per alternative.
constexpr double kReferenceBudget = 20000;

bool ReferenceIsQuick(const std::string& prepared, size_t textLength) {
  size_t start = 0;
  for (;;) {
    const size_t end = prepared.find_first_of("&;^|", start);
    const std::string_view alternative = std::string_view(prepared).substr(
        start, end == std::string::npos ? std::string::npos : end - start);
    double cost = 1;
    for (size_t i = 0; i < alternative.size(); ++i) {
      if (alternative[i] == '*' && (i == 0 || alternative[i - 1] != '*')) {
        cost *= static_cast<double>(textLength + 1);
      }
    }
    if (cost > kReferenceBudget) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string Case(const std::string& condition, std::string_view text, bool caseSensitive) {
  return "condition [" + Shown(condition) + "] text [" + Shown(text) + "] case-sensitive " +
         (caseSensitive ? "yes" : "no");
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kartex;
  const std::vector<std::string_view> lines =
      fuzz::InputLines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (lines.size() < 2 || lines[1].empty()) return 0;
  const RegionalSettings regional = fuzz::InputRegional(lines[0]);
  const bool caseSensitive = (static_cast<unsigned char>(lines[1][0]) & 1u) != 0;
  const std::string condition(lines[1].substr(1));

  const std::string prepared = PrepareConditionText(condition);
  if (prepared != testing::LiteralPreparation(condition)) {
    fuzz::Mismatch("preparation of [" + fuzz::Shown(condition) + "] gave [" +
                   fuzz::Shown(prepared) + "], expected [" +
                   fuzz::Shown(testing::LiteralPreparation(condition)) + "]");
  }
  const PreparedCondition preparedCondition(condition, caseSensitive, regional);
  for (size_t i = 2; i < lines.size(); ++i) {
    const std::string_view text = lines[i];
    preparedCondition.Prefetch(text);
    const bool plain = MatchCondition(condition, text, caseSensitive, regional);
    if (preparedCondition.Matches(text) != plain) {
      fuzz::Mismatch("PreparedCondition gave " + std::string(plain ? "false" : "true") +
                     ", MatchCondition " + (plain ? "true" : "false") + ": " +
                     fuzz::Case(condition, text, caseSensitive));
    }
    if (!fuzz::ReferenceIsQuick(prepared, text.size())) continue;
    if (testing::ReferenceCondition(condition, std::string(text), caseSensitive, regional) !=
        plain) {
      fuzz::Mismatch(
          "MatchCondition gave " + std::string(plain ? "true" : "false") +
          " against the plain definition: " + fuzz::Case(condition, text, caseSensitive));
    }
  }
  return 0;
}
