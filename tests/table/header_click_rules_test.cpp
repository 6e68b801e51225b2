// Which tables take sort clicks and show sort marks.

#include "table/header_click_rules.h"

#include <gtest/gtest.h>

namespace kartex {
namespace {

TEST(TableTakesSortClicks, AFixedRowAndTwoDataRows) {
  const struct {
    const char* name;
    int fixedRows;
    int rowCount;
    bool sorts;
  } cases[] = {
      {"two data rows", 1, 3, true},  {"one data row", 1, 2, false},   {"header only", 1, 1, false},
      {"no fixed row", 0, 10, false}, {"many rows", 1, 1000000, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TableTakesSortClicks(c.fixedRows, c.rowCount), c.sorts) << c.name;
}

TEST(SortMarks, ShownWithMoreThanTwoRows) {
  EXPECT_FALSE(ShowsSortMarks(1));
  EXPECT_FALSE(ShowsSortMarks(2));
  EXPECT_TRUE(ShowsSortMarks(3));
}

}  // namespace
}  // namespace kartex
