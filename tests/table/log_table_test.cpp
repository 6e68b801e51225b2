// The log table store: size rules, cells, rows and change notification.

#include "table/log_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "table_test_support.h"

namespace kartex {
namespace {

using testing::Cat;
using testing::Recorder;

using namespace std::string_literals;

// Fills column 0 of every row with "r<row>" and gives row r the height 10 + r.
void Number(LogTable& table) {
  for (int r = 0; r < table.RowCount(); ++r) {
    table.SetCellText(0, r, Cat({"r", std::to_string(r)}));
    table.SetRowHeight(r, 10 + r);
  }
}

std::vector<std::string> Column0(const LogTable& table) {
  std::vector<std::string> cells;
  for (int r = 0; r < table.RowCount(); ++r) cells.emplace_back(table.CellText(0, r));
  return cells;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const TableError& error) {
    return error.what();
  }
  return "no error";
}

// ------------------------------------------------------------------- sizes

TEST(LogTableSizes, WindowDefaults) {
  LogTable table;
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.ColCount(), 53);
  EXPECT_EQ(table.FixedRows(), 1);
  EXPECT_EQ(table.FixedFooters(), 0);
  EXPECT_EQ(table.FieldSeparator(), 0);
  EXPECT_EQ(table.RowHeights(), (std::vector<int>{20, 20}));
  EXPECT_EQ(table.CellText(0, 0), "");
}

TEST(LogTableSizes, SizeRules) {
  struct Case {
    const char* what;
    int fixedBefore;
    int rowCount;
    int expectedRows;
    int expectedFixed;
  };
  const std::vector<Case> cases = {
      {"zero rows become one", 0, 0, 1, 0},
      {"negative rows become one", 0, -5, 1, 0},
      {"one row leaves no fixed row", 1, 1, 1, 0},
      {"at the fixed count", 2, 2, 2, 1},
      {"below the fixed count", 3, 2, 2, 1},
      {"above the fixed count", 2, 3, 3, 2},
      {"growing", 1, 1000, 1000, 1},
  };
  for (const Case& c : cases) {
    LogTable table(10, 53, c.fixedBefore);
    table.SetRowCount(c.rowCount);
    EXPECT_EQ(table.RowCount(), c.expectedRows) << c.what;
    EXPECT_EQ(table.FixedRows(), c.expectedFixed) << c.what;
  }
  LogTable table;
  table.SetColCount(0);
  EXPECT_EQ(table.ColCount(), 1);
  table.SetColCount(-3);
  EXPECT_EQ(table.ColCount(), 1);
  EXPECT_EQ(LogTable(1, 53, 1).FixedRows(), 0);  // created under the same rule
}

TEST(LogTableSizes, FixedRowsOutOfRange) {
  LogTable table(3, 5, 1);
  EXPECT_EQ(ErrorOf([&] { table.SetFixedRows(3); }), "Fixed row count must be less than row count");
  EXPECT_EQ(ErrorOf([&] { table.SetFixedRows(7); }), "Fixed row count must be less than row count");
  EXPECT_EQ(ErrorOf([&] { table.SetFixedRows(-1); }), "Grid index out of range");
  EXPECT_EQ(table.FixedRows(), 1);
  table.SetFixedRows(2);
  EXPECT_EQ(table.FixedRows(), 2);
  table.SetFixedRows(0);
  EXPECT_EQ(table.FixedRows(), 0);
}

TEST(LogTableSizes, ResizingKeepsTheCellsInside) {
  LogTable table(3, 4, 1);
  table.SetCellText(3, 2, "corner");
  table.SetCellText(1, 1, "inside");
  table.SetRowHeight(1, 33);
  table.SetRowCount(10);
  table.SetColCount(8);
  EXPECT_EQ(table.CellText(3, 2), "corner");
  EXPECT_EQ(table.CellText(1, 1), "inside");
  EXPECT_EQ(table.RowHeight(1), 33);
  EXPECT_EQ(table.RowHeight(9), 20);  // new rows have the default height
  EXPECT_EQ(table.CellText(7, 9), "");

  table.SetRowCount(2);  // cuts row 2
  table.SetRowCount(3);
  EXPECT_EQ(table.CellText(3, 2), "");
  EXPECT_EQ(table.CellText(1, 1), "inside");

  // No text is held beyond the last column: narrowing and widening again
  // shows empty cells there.
  table.SetCellText(6, 1, "wide");
  table.SetColCount(5);
  EXPECT_EQ(table.CellText(6, 1), "");
  table.SetColCount(8);
  EXPECT_EQ(table.CellText(6, 1), "");
  EXPECT_EQ(table.CellText(1, 1), "inside");
}

// ------------------------------------------------------------------- cells

TEST(LogTableCells, ReadingOutsideGivesTheEmptyText) {
  LogTable table(2, 3, 1);
  table.SetCellText(2, 1, "x");
  EXPECT_EQ(table.CellText(2, 1), "x");
  EXPECT_EQ(table.CellText(3, 1), "");  // beyond ColCount
  EXPECT_EQ(table.CellText(1, 1), "");  // never written
  EXPECT_EQ(table.CellText(-1, 1), "");
  EXPECT_EQ(table.CellText(0, 2), "");  // beyond RowCount
  EXPECT_EQ(table.CellText(0, -1), "");
}

TEST(LogTableCells, WritingOutsideFailsAndChangesNothing) {
  LogTable table(2, 3, 1);
  EXPECT_EQ(ErrorOf([&] { table.SetCellText(3, 0, "x"); }), "Grid index out of range");
  EXPECT_EQ(ErrorOf([&] { table.SetCellText(0, 2, "x"); }), "Grid index out of range");
  EXPECT_EQ(ErrorOf([&] { table.SetCellText(-1, 0, "x"); }), "Grid index out of range");
  EXPECT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.ColCount(), 3);
}

TEST(LogTableCells, CellsKeepEveryByte) {
  LogTable table;
  const std::string bytes = "a\0b\r\n\xff \""s;
  table.SetCellText(52, 1, bytes);
  table.SetCellText(0, 1, " padded ");
  EXPECT_EQ(table.CellText(52, 1), bytes);
  EXPECT_EQ(table.CellText(0, 1), " padded ");
  table.SetCellText(52, 1, "");
  EXPECT_EQ(table.CellText(52, 1), "");
  EXPECT_EQ(table.CellText(0, 1), " padded ");
}

TEST(LogTableCells, RowTextsAndSetRowTexts) {
  LogTable table(2, 4, 1);
  table.SetCellText(3, 1, "d");
  EXPECT_EQ(table.RowTexts(1), (std::vector<std::string>{"", "", "", "d"}));

  table.SetRowTexts(1, {"a", "b"});  // the other cells keep their texts
  EXPECT_EQ(table.RowTexts(1), (std::vector<std::string>{"a", "b", "", "d"}));
  table.SetRowTexts(1, {"1", "2", "3", "4", "5", "6"});  // at most ColCount
  EXPECT_EQ(table.RowTexts(1), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(table.ColCount(), 4);

  // Copying a row onto another.
  table.SetRowTexts(0, table.RowTexts(1));
  EXPECT_EQ(table.RowTexts(0), table.RowTexts(1));
}

TEST(LogTableCells, RowIsEmptyLooksAtEveryColumn) {
  LogTable table(3, 53, 1);
  EXPECT_TRUE(table.RowIsEmpty(1));
  table.SetCellText(52, 1, " ");
  EXPECT_FALSE(table.RowIsEmpty(1));
  table.SetCellText(52, 1, "");
  EXPECT_TRUE(table.RowIsEmpty(1));
  table.SetCellText(0, 2, "x");
  EXPECT_FALSE(table.RowIsEmpty(2));
}

TEST(LogTableCells, ClearCellsEmptiesEveryCellAndKeepsTheShape) {
  LogTable table(3, 5, 1);
  Number(table);
  table.SetCellText(4, 2, "x");
  table.ClearCells();
  EXPECT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.ColCount(), 5);
  EXPECT_EQ(table.FixedRows(), 1);
  EXPECT_EQ(table.RowHeights(), (std::vector<int>{10, 11, 12}));
  for (int r = 0; r < 3; ++r) EXPECT_TRUE(table.RowIsEmpty(r));
  EXPECT_EQ(table.Row(0).HeapBytes(), 0u);
}

// -------------------------------------------------------------- row store

TEST(TableRowStore, CompactAndExactAcrossOffsetWidths) {
  // The width of the stored offsets changes at 255 and 65535 bytes of text.
  for (size_t total : {size_t{0}, size_t{1}, size_t{255}, size_t{256}, size_t{65535}, size_t{65536},
                       size_t{200000}}) {
    std::vector<std::string> texts = {std::string(total / 2, 'a'), "",
                                      std::string(total - total / 2, 'b')};
    std::vector<std::string_view> views(texts.begin(), texts.end());
    TableRow row;
    row.Assign(views);
    EXPECT_EQ(row.Cell(0), texts[0]) << total;
    EXPECT_EQ(row.Cell(1), "") << total;
    EXPECT_EQ(row.Cell(2), texts[2]) << total;
    EXPECT_EQ(row.Cell(3), "") << total;
    TableRow copy(row);
    EXPECT_EQ(copy.Cell(2), texts[2]) << total;
    EXPECT_EQ(copy.HeapBytes(), row.HeapBytes());
  }

  // A short log row costs its text plus about one byte per cell.
  std::vector<std::string> cells(53, "ab");
  std::vector<std::string_view> views(cells.begin(), cells.end());
  TableRow row;
  row.Assign(views);
  EXPECT_LE(row.HeapBytes(), 53u * 2 + 53 + 8);

  // Trailing empty cells are not stored; a row without text holds nothing.
  row.Assign({"x", "", "y", "", ""});
  EXPECT_EQ(row.FieldCount(), 3);
  row.Assign({"", "", ""});
  EXPECT_EQ(row.FieldCount(), 0);
  EXPECT_EQ(row.HeapBytes(), 0u);
  EXPECT_TRUE(row.AllEmpty());
  row.SetCell(4, "z");
  EXPECT_EQ(row.FieldCount(), 5);
  EXPECT_EQ(row.Cell(4), "z");
  row.SetCell(4, "");
  EXPECT_TRUE(row.AllEmpty());
}

// ---------------------------------------------------------------- removal

TEST(LogTableDeleteRows, Cases) {
  struct Case {
    const char* what;
    int rows;
    int first;
    int count;
    std::vector<std::string> expected;
    int expectedFixed;
  };
  const std::vector<Case> cases = {
      {"first row equal to RowCount", 4, 4, 1, {"r0", "r1", "r2", "r3"}, 1},
      {"first row beyond", 4, 9, 1, {"r0", "r1", "r2", "r3"}, 1},
      {"negative first row", 4, -1, 1, {"r0", "r1", "r2", "r3"}, 1},
      {"zero count", 4, 1, 0, {"r0", "r1", "r2", "r3"}, 1},
      {"a middle row", 4, 1, 1, {"r0", "r2", "r3"}, 1},
      {"the last row", 4, 3, 1, {"r0", "r1", "r2"}, 1},
      {"more rows than there are", 4, 2, 10, {"r0", "r1"}, 1},
      {"the only data row", 2, 1, 1, {"r0"}, 0},
  };
  for (const Case& c : cases) {
    LogTable table(c.rows, 3, 1);
    Number(table);
    table.DeleteRows(c.first, c.count);
    EXPECT_EQ(Column0(table), c.expected) << c.what;
    EXPECT_EQ(table.FixedRows(), c.expectedFixed) << c.what;
    // Heights go with their rows.
    for (int r = 0; r < table.RowCount(); ++r) {
      EXPECT_EQ(table.RowHeight(r), 10 + std::stoi(c.expected[static_cast<size_t>(r)].substr(1)))
          << c.what;
    }
  }
}

TEST(LogTableDeleteRows, RemovingEveryRowLeavesOneEmptyRow) {
  LogTable table(3, 3, 1);
  Number(table);
  table.DeleteRows(0, 3);
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.FixedRows(), 0);
  EXPECT_TRUE(table.RowIsEmpty(0));
  EXPECT_EQ(table.RowHeight(0), 20);
}

TEST(LogTableDeleteRows, HookSeesEachRowBeforeItGoes) {
  LogTable table(5, 3, 1);
  Number(table);
  std::vector<std::string> seen;
  table.SetRowRemovalHook([&](int row) {
    seen.push_back(std::to_string(row) + ":" + std::string(table.CellText(0, row)));
  });
  table.DeleteRows(2, 1);
  table.DeleteRows(7, 1);  // nothing happens, no call
  table.DeleteRows(1, 2);
  EXPECT_EQ(seen, (std::vector<std::string>{"2:r2", "1:r1", "1:r3"}));
  EXPECT_EQ(Column0(table), (std::vector<std::string>{"r0", "r4"}));
}

TEST(LogTableDeleteRows, DeleteEmptyRowsEqualsOneDeleteRowsPerEmptyRow) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const int rows = 1 + static_cast<int>(random() % 30);
    LogTable bulk(rows, 4, 1);
    for (int r = 0; r < rows; ++r) {
      if (random() % 2)
        bulk.SetCellText(static_cast<int>(random() % 4), r, Cat({"t", std::to_string(r)}));
      bulk.SetRowHeight(r, 10 + r);
    }
    LogTable single(bulk.RowCount(), 4, 1);
    for (int r = 0; r < rows; ++r) {
      single.SetRowTexts(r, bulk.RowTexts(r));
      single.SetRowHeight(r, bulk.RowHeight(r));
    }
    std::vector<int> bulkCalls;
    std::vector<int> singleCalls;
    bulk.SetRowRemovalHook([&](int row) { bulkCalls.push_back(row); });
    single.SetRowRemovalHook([&](int row) { singleCalls.push_back(row); });

    // The loading command's way: examine each row at its current position.
    int removed = 0;
    for (int r = 1; r < single.RowCount();) {
      if (single.RowIsEmpty(r)) {
        single.DeleteRows(r, 1);
        ++removed;
      } else {
        ++r;
      }
    }
    EXPECT_EQ(bulk.DeleteEmptyRows(1), removed);
    EXPECT_EQ(bulkCalls, singleCalls);
    ASSERT_EQ(bulk.RowCount(), single.RowCount());
    EXPECT_EQ(bulk.FixedRows(), single.FixedRows());
    EXPECT_EQ(bulk.RowHeights(), single.RowHeights());
    for (int r = 0; r < bulk.RowCount(); ++r) EXPECT_EQ(bulk.RowTexts(r), single.RowTexts(r));
  }
}

// ------------------------------------------------------ whole-row moves

TEST(LogTableRows, ExchangeCopyTakePut) {
  LogTable table(4, 3, 1);
  Number(table);
  table.SetCellText(2, 1, "tail");

  table.ExchangeRows(1, 3);
  EXPECT_EQ(Column0(table), (std::vector<std::string>{"r0", "r3", "r2", "r1"}));
  EXPECT_EQ(table.RowHeights(), (std::vector<int>{10, 13, 12, 11}));
  EXPECT_EQ(table.CellText(2, 3), "tail");

  table.CopyRow(3, 2);  // cells only; row 2 keeps its height
  EXPECT_EQ(table.RowTexts(2), table.RowTexts(3));
  EXPECT_EQ(table.RowHeight(2), 12);
  table.SetCellText(0, 3, "changed");  // the copy is independent
  EXPECT_EQ(table.CellText(0, 2), "r1");

  LogTable::HeldRow taken = table.TakeRow(1);
  EXPECT_EQ(taken.cells.Cell(0), "r3");
  EXPECT_EQ(taken.height, 13);
  EXPECT_TRUE(table.RowIsEmpty(1));
  EXPECT_EQ(table.RowHeight(1), 20);
  EXPECT_EQ(table.RowCount(), 4);
  table.PutRow(0, std::move(taken));
  EXPECT_EQ(table.CellText(0, 0), "r3");
  EXPECT_EQ(table.RowHeight(0), 13);

  EXPECT_EQ(ErrorOf([&] { table.ExchangeRows(0, 4); }), "Grid index out of range");
  EXPECT_EQ(ErrorOf([&] { table.CopyRow(-1, 0); }), "Grid index out of range");
}

// --------------------------------------------------------- notification

TEST(LogTableObserver, ChangesOutsideAnUpdateAreBracketedSingly) {
  LogTable table(3, 3, 1);
  Recorder recorder;
  table.SetObserver(&recorder);
  table.SetRowCount(5);
  table.SetCellText(1, 2, "x");
  table.ExchangeRows(1, 2);
  table.SetRowCount(5);  // no change, no notification
  table.DeleteRows(9, 1);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"about", "changed", "cell 1,2", "about", "changed"}));
}

TEST(LogTableObserver, NestedUpdatesReachTheObserverOnce) {
  LogTable table(3, 3, 1);
  Recorder recorder;
  table.SetObserver(&recorder);
  table.BeginUpdate();
  {
    TableUpdate inner(table);
    table.SetRowCount(6);
    table.SetCellText(0, 4, "x");  // covered by the pair, no CellChanged
    table.ExchangeRows(1, 4);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"about"}));
  }
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"about"}));
  table.DeleteRows(2, 1);
  table.EndUpdate();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"about", "changed"}));
  EXPECT_EQ(table.CellText(0, 1), "x");
  EXPECT_EQ(table.RowCount(), 5);

  recorder.events.clear();
  table.BeginUpdate();
  table.EndUpdate();  // nothing changed
  table.EndUpdate();  // unbalanced: ignored
  EXPECT_TRUE(recorder.events.empty());
  table.SetFixedRows(2);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"about", "changed"}));
}

}  // namespace
// A cell written anywhere in a row (before, inside and beyond the cells the
// row stores; trailing empty cells are not stored) holds the text, and no
// other cell or row changes: checked against a plain grid of texts.
TEST(LogTableCells, SetCellTextWritesTheCellWhereverItLies) {
  std::mt19937 random(20251011);
  const std::vector<std::string> texts = {"",
                                          "1",
                                          "291",
                                          "SP5ABC",
                                          std::string(300, 'x'),
                                          "J\xF3zef",
                                          "\"q\"",
                                          std::string(70000, 'y')};
  constexpr int kRows = 40;
  constexpr int kCols = 12;
  LogTable table(kRows, kCols, 1);
  std::vector<std::vector<std::string>> expected(kRows, std::vector<std::string>(kCols));
  for (int row = 0; row < kRows; ++row) table.SetRowHeight(row, 20 + row);
  for (int n = 0; n < 3000; ++n) {
    const int row = static_cast<int>(random() % kRows);
    const int col = static_cast<int>(random() % kCols);
    const std::string& text = texts[random() % texts.size()];
    table.SetCellText(col, row, text);
    expected[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    ASSERT_EQ(table.RowTexts(row), expected[static_cast<size_t>(row)]) << "write " << n;
  }
  for (int row = 0; row < kRows; ++row) {
    EXPECT_EQ(table.RowTexts(row), expected[static_cast<size_t>(row)]);
    EXPECT_EQ(table.RowHeight(row), 20 + row);
  }
  // A cell's text copied from another cell of the same row.
  table.SetCellText(0, 1, "left");
  table.SetCellText(1, 1, std::string(table.CellText(0, 1)));
  table.SetCellText(2, 1, table.CellText(0, 1));
  EXPECT_EQ(table.CellText(2, 1), "left");
}

}  // namespace kartex
