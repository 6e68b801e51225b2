#include "table/text_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kartex {
namespace {

struct CallAt {
  const std::vector<std::string>* calls;
  std::string_view operator()(uint32_t i) const { return (*calls)[i]; }
};

// Texts that differ only past the first eight bytes, in the last byte, or in
// length with trailing zero bytes, inserted well past the first capacity.
std::vector<std::string> AwkwardCalls() {
  std::vector<std::string> calls{"", std::string(1, '\0'), std::string(2, '\0'), "A", "A\0"};
  calls[4].push_back('\0');
  for (int i = 0; i < 5000; ++i) {
    calls.push_back("SP" + std::to_string(i));
    calls.push_back("PREFIX12/" + std::to_string(i));
    calls.push_back(std::string(7, 'X') + static_cast<char>(i % 250 + 1) + std::to_string(i / 250));
  }
  return calls;
}

TEST(TextIndex, FindsEveryInsertedTextAfterGrowing) {
  const std::vector<std::string> calls = AwkwardCalls();
  TextIndex<CallAt> index(CallAt{&calls});
  for (size_t i = 0; i < calls.size(); ++i) {
    auto [number, inserted] = index.Insert(calls[i], static_cast<uint32_t>(i));
    ASSERT_TRUE(inserted) << i;
    ASSERT_EQ(number, i);
  }
  for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(index.Find(calls[i]), i) << i;
  EXPECT_EQ(index.Find("SP5000"), TextIndex<CallAt>::kAbsent);
  EXPECT_EQ(index.Find(std::string(3, '\0')), TextIndex<CallAt>::kAbsent);
}

TEST(TextIndex, ASecondInsertKeepsTheFirstNumber) {
  std::vector<std::string> calls{"DL1ABC", "SP9XYZ", "DL1ABC"};
  TextIndex<CallAt> index(CallAt{&calls}, calls.size());
  EXPECT_EQ(index.Insert(calls[0], 0), std::make_pair(0u, true));
  EXPECT_EQ(index.Insert(calls[1], 1), std::make_pair(1u, true));
  EXPECT_EQ(index.Insert(calls[2], 2), std::make_pair(0u, false));
  EXPECT_EQ(index.Find("dl1abc"), TextIndex<CallAt>::kAbsent);
}

}  // namespace
}  // namespace kartex
