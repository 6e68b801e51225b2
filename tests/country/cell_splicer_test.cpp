#include "country/cell_splicer.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace kartex {
namespace {

// Every cell of the table, row by row.
std::vector<std::vector<std::string>> Cells(const LogTable& table) {
  std::vector<std::vector<std::string>> cells;
  for (int row = 0; row < table.RowCount(); ++row) cells.push_back(table.RowTexts(row));
  return cells;
}

TEST(CellSplicer, WritesLikeSetCellTextWhereverTheCellLies) {
  // Rows of different stored lengths (trailing empty cells are not stored),
  // cells written before, inside and beyond what a row stores, texts
  // longer, shorter, empty and with bytes above 127.
  std::mt19937 random(20251011);
  const std::vector<std::string> texts = {"",
                                          "1",
                                          "291",
                                          "SP5ABC",
                                          std::string(300, 'x'),
                                          "J\xF3zef",
                                          "\"q\"",
                                          std::string(70000, 'y')};
  LogTable spliced(40, 12, 1);
  LogTable reference(40, 12, 1);
  for (int row = 0; row < 40; ++row) {
    const int stored = static_cast<int>(random() % 13);
    for (int col = 0; col < stored; ++col) {
      const std::string& text = texts[random() % 5];
      spliced.SetCellText(col, row, text);
      reference.SetCellText(col, row, text);
    }
    spliced.SetRowHeight(row, 20 + row);
  }
  CellSplicer splicer;
  for (int n = 0; n < 2000; ++n) {
    const int row = static_cast<int>(random() % 40);
    const int col = static_cast<int>(random() % 12);
    const std::string& text = texts[random() % texts.size()];
    splicer.Write(spliced, col, row, text);
    reference.SetCellText(col, row, text);
    ASSERT_EQ(spliced.RowTexts(row), reference.RowTexts(row)) << "write " << n;
  }
  EXPECT_EQ(Cells(spliced), Cells(reference));
  for (int row = 0; row < 40; ++row) EXPECT_EQ(spliced.RowHeight(row), 20 + row);
}

TEST(CellSplicer, RefusesACellOutsideTheTable) {
  LogTable table(3, 5, 1);
  CellSplicer splicer;
  EXPECT_THROW(splicer.Write(table, 5, 1, "x"), std::out_of_range);
  EXPECT_THROW(splicer.Write(table, -1, 1, "x"), std::out_of_range);
  EXPECT_THROW(splicer.Write(table, 0, 3, "x"), std::out_of_range);
  EXPECT_THROW(splicer.Write(table, 0, -1, "x"), std::out_of_range);
  splicer.Write(table, 4, 2, "x");
  EXPECT_EQ(table.CellText(4, 2), "x");
}

}  // namespace
}  // namespace kartex
