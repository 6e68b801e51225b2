#include "table/row_filter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "table_test_support.h"

namespace kartex {
namespace {

using testing::CountingObserver;

constexpr int kCallColumn = 4;

// A log table: a header row, then one row per call; column 0 names the row
// ("r1", "r2", ...) so that rows can be followed, each row has its own height.
LogTable MakeLog(const std::vector<std::string>& calls, int columns = 6) {
  LogTable table(static_cast<int>(calls.size()) + 1, columns, 1);
  table.SetCellText(0, 0, "ID");
  table.SetCellText(kCallColumn, 0, "CALL");
  for (size_t i = 0; i < calls.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    table.SetCellText(0, row, "r" + std::to_string(row));
    table.SetCellText(kCallColumn, row, calls[i]);
    table.SetRowHeight(row, 21 + row);
  }
  return table;
}

std::vector<std::string> Column(const LogTable& table, int col) {
  std::vector<std::string> texts;
  for (int r = 0; r < table.RowCount(); ++r) texts.emplace_back(table.CellText(col, r));
  return texts;
}

std::vector<int> Heights(const LogTable& table) {
  std::vector<int> heights;
  for (int r = 0; r < table.RowCount(); ++r) heights.push_back(table.RowHeight(r));
  return heights;
}

// The program's own filter item: fifth column, any letter case, short cut.
TFilterData ProgramItem(std::string condition) {
  TFilterData item;
  item.Column = kCallColumn;
  item.CaseSensitive = false;
  item.Operation = TFilterOperation::foSHORT;
  item.Condition = std::move(condition);
  return item;
}

TEST(RowFilterTest, WithoutItemsEveryRowPasses) {
  LogTable table = MakeLog({"A", "B"});
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  EXPECT_FALSE(filter.FilterActive());
  filter.SetFilterActive(true);
  EXPECT_EQ(table.RowCount(), 3);
  EXPECT_TRUE(filter.HiddenRows().empty());
}

TEST(RowFilterTest, QsoConditionKeepsTheChosenCallsAndPutsTheRestBack) {
  // Given the program's item with two calls and the trailing ";".
  LogTable table = MakeLog({"ALPHA", "charlie", "bravo", "", "ALPHA/P", "Alpha", "DELTA"});
  const std::vector<std::string> ids = Column(table, 0);
  const std::vector<int> heights = Heights(table);
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("\"ALPHA\";\"BRAVO\";"));

  // When the filter is switched on.
  filter.SetFilterActive(true);

  // Then only the header and the matching rows are left, in their order.
  EXPECT_TRUE(filter.FilterActive());
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1", "r3", "r4", "r6"}));
  EXPECT_EQ(Heights(table),
            (std::vector<int>{heights[0], heights[1], heights[3], heights[4], heights[6]}));
  EXPECT_EQ(table.RowCount(), 5);
  EXPECT_EQ(table.FixedRows(), 1);
  ASSERT_EQ(filter.HiddenRows().size(), 3u);
  const int expectedIdx[] = {2, 5, 7};
  for (size_t i = 0; i < 3; ++i) {
    const TGridItem& hidden = filter.HiddenRows()[i];
    EXPECT_EQ(hidden.Idx, expectedIdx[i]);
    EXPECT_EQ(hidden.Height, heights[static_cast<size_t>(expectedIdx[i])]);
    EXPECT_EQ(hidden.Items.Cell(0), ids[static_cast<size_t>(expectedIdx[i])]);
  }

  // When it is switched off, every row is back where it was.
  filter.SetFilterActive(false);
  EXPECT_FALSE(filter.FilterActive());
  EXPECT_EQ(Column(table, 0), ids);
  EXPECT_EQ(Heights(table), heights);
  EXPECT_EQ(Column(table, kCallColumn)[5], "ALPHA/P");
  EXPECT_TRUE(filter.HiddenRows().empty());
  EXPECT_EQ(table.FixedRows(), 1);
}

TEST(RowFilterTest, NoRowLeftShowsTheHeaderAloneUntilSwitchedOff) {
  LogTable table = MakeLog({"ALPHA", "BRAVO"});
  const std::vector<std::string> ids = Column(table, 0);
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem(""));  // matches only empty cells

  filter.SetFilterActive(true);
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.FixedRows(), 0);
  EXPECT_EQ(table.CellText(0, 0), "ID");
  EXPECT_EQ(filter.SavedFixedRows(), 1);

  filter.SetFilterActive(false);
  EXPECT_EQ(Column(table, 0), ids);
  EXPECT_EQ(table.FixedRows(), 1);
}

TEST(RowFilterTest, ProgressIsReportedPerRowThenOnceMoreAtTheEnd) {
  const struct {
    int rows;
    std::vector<int> expected;
  } cases[] = {
      {3, {33, 67, 100, 100}},
      {4, {25, 50, 75, 100, 100}},
      {8, {12, 25, 38, 50, 62, 75, 88, 100, 100}},  // halves go to the even integer
      {0, {}},  // no data rows (only a header and a footer): no report
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    LogTable table = MakeLog(std::vector<std::string>(static_cast<size_t>(c.rows), "X"));
    if (c.rows == 0) {
      table = MakeLog({"SUM"});
      table.SetFixedFooters(1);
    }
    const RegionalSettings rs;
    RowFilter filter(table, rs);
    filter.Filter().push_back(ProgramItem("Y"));
    std::vector<int> reported;
    std::vector<int> rowCountsSeen;
    filter.OnFilterProgress = [&](int16_t progress) {
      reported.push_back(progress);
      rowCountsSeen.push_back(table.RowCount());
    };
    filter.SetFilterActive(true);
    EXPECT_EQ(reported, c.expected);
    if (c.rows > 0) {
      // While the rows are tested none has been moved; the last report follows the hiding.
      EXPECT_EQ(rowCountsSeen.front(), c.rows + 1);
      EXPECT_EQ(rowCountsSeen.back(), 1);
      ASSERT_EQ(rowCountsSeen.size(), c.expected.size());
    }
  }
}

TEST(RowFilterTest, SortedVisibleRowsFillTheGapsWhenSwitchedOff) {
  LogTable table = MakeLog({"A1", "B1", "A2", "B2", "A3", "A4"});
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("A*"));
  filter.SetFilterActive(true);
  ASSERT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1", "r3", "r5", "r6"}));

  // A sort of the visible rows while the filter is on: reverse them.
  table.ExchangeRows(1, 4);
  table.ExchangeRows(2, 3);
  table.SetCellText(1, 2, "edited");  // an edit of a visible row stays too
  filter.SetFilterActive(false);

  // The hidden rows r2 and r4 are back at 2 and 4; the others in sorted order.
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r6", "r2", "r5", "r4", "r3", "r1"}));
  EXPECT_EQ(table.RowHeight(1), 21 + 6);
  EXPECT_EQ(table.RowHeight(2), 21 + 2);
  EXPECT_EQ(table.CellText(1, 3), "edited");
}

TEST(RowFilterTest, WritingTheSameValueChangesNothing) {
  LogTable table = MakeLog({"ALPHA", "BRAVO", "CHARLIE"});
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("ALPHA"));
  CountingObserver observer;
  table.SetObserver(&observer);
  int reports = 0;
  filter.OnFilterProgress = [&](int16_t) { ++reports; };

  // Off while off: nothing at all.
  filter.SetFilterActive(false);
  EXPECT_EQ(observer.aboutToChange + observer.changed + observer.cells, 0);
  EXPECT_EQ(table.RowCount(), 4);

  filter.SetFilterActive(true);
  EXPECT_EQ(table.RowCount(), 2);
  // One repaint for the whole switch.
  EXPECT_EQ(observer.aboutToChange, 1);
  EXPECT_EQ(observer.changed, 1);
  const int reportsAfterOn = reports;

  // A new condition does not apply when true is written again.
  filter.Filter()[0].Condition = "BRAVO;CHARLIE";
  filter.SetFilterActive(true);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1"}));
  EXPECT_EQ(reports, reportsAfterOn);
  EXPECT_EQ(observer.changed, 1);

  // Off and on again: it applies to all rows.
  filter.SetFilterActive(false);
  EXPECT_EQ(observer.changed, 2);
  filter.SetFilterActive(true);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r2", "r3"}));
  table.SetObserver(nullptr);
}

TEST(RowFilterTest, ItemsCombineByTheirOperations) {
  // Column 1 and column 2 each hold Y or N; each item asks for Y in its column.
  LogTable table(5, 3, 1);
  const char* cells[4][2] = {{"Y", "Y"}, {"Y", "N"}, {"N", "Y"}, {"N", "N"}};
  for (int r = 1; r <= 4; ++r) {
    table.SetCellText(0, r, "r" + std::to_string(r));
    table.SetCellText(1, r, cells[r - 1][0]);
    table.SetCellText(2, r, cells[r - 1][1]);
  }
  using Op = TFilterOperation;
  const struct {
    const char* name;
    Op first, second;
    std::vector<bool> passes;  // for YY, YN, NY, NN
  } cases[] = {
      {"short, or", Op::foSHORT, Op::foOR, {true, true, false, false}},
      {"none, or", Op::foNONE, Op::foOR, {true, true, true, false}},
      {"none, and", Op::foNONE, Op::foAND, {true, false, false, false}},
      {"none, xor", Op::foNONE, Op::foXOR, {false, true, true, false}},
      {"none, none", Op::foNONE, Op::foNONE, {true, false, true, false}},
      {"none, short", Op::foNONE, Op::foSHORT, {true, false, true, false}},
      {"short, short", Op::foSHORT, Op::foSHORT, {true, false, false, false}},
      {"and, none", Op::foAND, Op::foNONE, {true, false, true, false}},
      {"xor first", Op::foXOR, Op::foAND, {false, false, true, false}},  // true xor m
      {"or first", Op::foOR, Op::foAND, {true, false, true, false}},     // true or m
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RegionalSettings rs;
    RowFilter filter(table, rs);
    for (int col = 1; col <= 2; ++col) {
      TFilterData item;
      item.Column = static_cast<int16_t>(col);
      item.Condition = "Y";
      item.Operation = col == 1 ? c.first : c.second;
      filter.Filter().push_back(item);
    }
    for (int r = 1; r <= 4; ++r)
      EXPECT_EQ(filter.MatchRow(r), c.passes[static_cast<size_t>(r) - 1]) << r;

    // The switch-on (with prepared conditions) agrees with MatchRow.
    filter.SetFilterActive(true);
    std::vector<std::string> expected{""};
    for (int r = 1; r <= 4; ++r) {
      if (c.passes[static_cast<size_t>(r) - 1]) expected.push_back("r" + std::to_string(r));
    }
    EXPECT_EQ(Column(table, 0), expected);
    filter.SetFilterActive(false);
    EXPECT_EQ(table.RowCount(), 5);
  }
}

TEST(RowFilterTest, PrefixAndSuffixAreCutBeforeMatching) {
  const struct {
    const char* prefix;
    const char* suffix;
    const char* cell;
    const char* condition;
    bool passes;
  } cases[] = {
      {"DL/", "", "DL/ALPHA", "ALPHA", true},
      {"DL/", "", "XDL/ALPHA", "ALPHA", false},  // not at the start: stays
      {"DL/", "", "DL/ALPHA", "DL/ALPHA", false},
      {"", "/P", "ALPHA/P", "ALPHA", true},
      {"", "/P", "A/PB/P", "A/PB", false},  // the first /P is not at the end: not cut
      {"", "/P", "A/PB/P", "A/PB/P", true},
      {"", "/P", "/P", "", true},
      {"DL/", "/P", "DL/ALPHA/P", "ALPHA", true},
      {"DL/", "/P", "DL/P", "", false},  // the suffix is looked for after the prefix went: "P"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cell) + " " + c.condition);
    LogTable table = MakeLog({c.cell});
    const RegionalSettings rs;
    RowFilter filter(table, rs);
    TFilterData item = ProgramItem(c.condition);
    item.CaseSensitive = true;
    item.Prefix = c.prefix;
    item.Suffix = c.suffix;
    filter.Filter().push_back(item);
    EXPECT_EQ(filter.MatchRow(1), c.passes);
    filter.SetFilterActive(true);
    EXPECT_EQ(table.RowCount(), c.passes ? 2 : 1);
  }
}

TEST(RowFilterTest, DeletingRowsWhileOnKeepsTheHiddenRowsInPlace) {
  const struct {
    const char* name;
    int deleteAt;  // present index of the deleted row
    std::vector<std::string> afterOff;
  } cases[] = {
      // Visible while on: ID r1 r3 r4 r6; hidden r2 r5.
      {"between the hidden rows", 2, {"ID", "r1", "r2", "r4", "r5", "r6"}},
      {"before every hidden row", 1, {"ID", "r2", "r3", "r4", "r5", "r6"}},
      {"after every hidden row", 4, {"ID", "r1", "r2", "r3", "r4", "r5"}},
      {"the header", 0, {"r1", "r2", "r3", "r4", "r5", "r6"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LogTable table = MakeLog({"A", "B", "A", "A", "B", "A"});
    const RegionalSettings rs;
    RowFilter filter(table, rs);
    filter.Filter().push_back(ProgramItem("A"));
    filter.SetFilterActive(true);
    ASSERT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1", "r3", "r4", "r6"}));
    table.DeleteRows(c.deleteAt, 1);
    filter.SetFilterActive(false);
    EXPECT_EQ(Column(table, 0), c.afterOff);
  }
}

TEST(RowFilterTest, FooterRowsAreNeitherTestedNorHidden) {
  LogTable table = MakeLog({"A", "B", "SUM"});
  table.SetFixedFooters(1);
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("A"));
  std::vector<int> reported;
  filter.OnFilterProgress = [&](int16_t p) { reported.push_back(p); };
  filter.SetFilterActive(true);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1", "r3"}));
  EXPECT_EQ(reported, (std::vector<int>{50, 100, 100}));
  filter.SetFilterActive(false);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r1", "r2", "r3"}));
}

// A grid that decides for itself which rows pass.
class EvenRowsFilter : public RowFilter {
 public:
  using RowFilter::RowFilter;
  bool MatchRow(int row) const override { return row % 2 == 0; }
};

TEST(RowFilterTest, SwitchingOnUsesAnOverriddenMatchRow) {
  LogTable table = MakeLog({"A", "A", "A", "A", "A"});
  const RegionalSettings rs;
  EvenRowsFilter filter(table, rs);
  filter.SetFilterActive(true);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r2", "r4"}));
}

TEST(RowFilterTest, EveryRowHiddenWithoutFixedRowsComesBackWithoutAnExtraRow) {
  LogTable table = MakeLog({"B", "C"});
  table.SetFixedRows(0);
  const std::vector<std::string> ids = Column(table, 0);
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("A"));
  filter.SetFilterActive(true);
  EXPECT_EQ(table.RowCount(), 1);  // the table keeps one (empty) row
  EXPECT_TRUE(table.RowIsEmpty(0));
  filter.SetFilterActive(false);
  EXPECT_EQ(Column(table, 0), ids);
  EXPECT_EQ(table.FixedRows(), 0);
}

TEST(RowFilterTest, RowsHiddenBeyondAShortenedTableAreNotLost) {
  LogTable table = MakeLog({"A", "B", "A", "B"});
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem("A"));
  filter.SetFilterActive(true);
  ASSERT_EQ(table.RowCount(), 3);
  table.SetRowCount(1);  // someone cut the table while the filter was on
  filter.SetFilterActive(false);
  // The header and both hidden rows survive; the restored count fits the table.
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"ID", "r2", "r4"}));
  EXPECT_EQ(table.FixedRows(), 1);
}

TEST(RowFilterTest, LongQsoConditionOnManyRowsKeepsExactlyTheListedCalls) {
  // 100,000 data rows and a condition of 30,000 quoted calls.
  std::vector<std::string> calls;
  calls.reserve(100000);
  for (int i = 0; i < 100000; ++i) calls.push_back("SP" + std::to_string(i % 45000) + "ABC");
  LogTable table = MakeLog(calls, 53);
  std::string condition;
  for (int i = 0; i < 30000; ++i) condition += "\"sp" + std::to_string(i) + "abc\";";
  const RegionalSettings rs;
  RowFilter filter(table, rs);
  filter.Filter().push_back(ProgramItem(condition));
  int lastProgress = -1;
  filter.OnFilterProgress = [&](int16_t p) { lastProgress = p; };

  const auto start = std::chrono::steady_clock::now();
  filter.SetFilterActive(true);
  const double onSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  int expected = 0;
  for (int i = 0; i < 100000; ++i) expected += (i % 45000) < 30000;
  EXPECT_EQ(table.RowCount(), expected + 1);
  EXPECT_EQ(lastProgress, 100);

  filter.SetFilterActive(false);
  EXPECT_EQ(table.RowCount(), 100001);
  EXPECT_EQ(table.CellText(0, 100000), "r100000");
  EXPECT_EQ(table.CellText(kCallColumn, 40000), calls[39999]);
  RecordProperty("switch_on_ms", static_cast<int>(onSeconds * 1000));
}

}  // namespace
}  // namespace kartex
