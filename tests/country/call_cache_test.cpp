#include "country/call_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "country/resolver_test_support.h"

namespace kartex {
namespace {

// Calls of every length up to 20 bytes over the prefixes of the small
// CTY.DAT, with marks, places, lone digits, lower case and calls of no
// country, each looked up several times.
std::vector<std::string> ManyCalls() {
  const std::vector<std::string> heads = {"SP", "DL", "K",     "KG4", "UA", "UA9", "3D2", "VE",
                                          "QQ", "sp", "dl/SP", "IT9", "W",  "M",   "B"};
  const std::vector<std::string> tails = {"", "/P", "/MM", "/9", "/DL", "/QRP", "/KH6", "/p"};
  std::mt19937 random(5);
  std::vector<std::string> calls;
  for (int i = 0; i < 6000; ++i) {
    std::string call = heads[random() % heads.size()] + std::to_string(random() % 10);
    const size_t letters = random() % 9;
    for (size_t k = 0; k < letters; ++k) call += static_cast<char>('A' + random() % 26);
    call += tails[random() % tails.size()];
    calls.push_back(call);
  }
  return calls;
}

TEST(CallCache, AnswersAsTheResolverDoesForShortAndLongCalls) {
  const CallResolver resolver = testing::RulesResolver();
  CallCache cache(resolver);
  const std::vector<std::string> calls = ManyCalls();
  for (int round = 0; round < 2; ++round) {
    for (const std::string& call : calls) {
      const CallMatch direct = resolver.Match(call);
      const CallMatch cached = cache.Match(call);
      ASSERT_EQ(cached.country, direct.country) << call << " round " << round;
      ASSERT_EQ(cached.areaDigit, direct.areaDigit) << call << " round " << round;
    }
  }
}

TEST(CallCache, TextsAroundTheSlotLengthAndBeyondAreKeptApart) {
  const CallResolver resolver = testing::RulesResolver();
  CallCache cache(resolver);
  // 12 bytes (kept in the slot), 13 and more (kept aside), and texts that
  // differ only after their twelfth byte.
  const std::vector<std::string> calls = {"SP5ABC/QRP/P",
                                          "DL/SP5ABC/QRP",
                                          "DL/SP5ABC/QRPP",
                                          "SP5ABCDEFGHI",
                                          "SP5ABCDEFGHIJ",
                                          "SP5ABCDEFGHIK",
                                          "",
                                          "SP5ABC/MMMMMM",
                                          std::string(70000, 'A')};
  for (int round = 0; round < 2; ++round) {
    for (const std::string& call : calls) {
      EXPECT_EQ(cache.Match(call).country, resolver.Resolve(call)) << call.substr(0, 20);
    }
  }
  EXPECT_EQ(cache.Match("DL/SP5ABC/QRP").country->name, "Fed. Rep. of Germany");
  EXPECT_EQ(cache.Match("DL/SP5ABC/QRPP").country->name, "Fed. Rep. of Germany");
}

}  // namespace
}  // namespace kartex
