// The header-click sort: the key list that clicks leave, and the row order
// of the in-place quicksort, checked against a plain transcription of the
// partition scheme over a vector of rows.

#include "table/column_sort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "reference_sort.h"
#include "table/log_table.h"
#include "table/row_filter.h"
#include "table/sort_compare.h"
#include "table_test_support.h"

namespace kartex {
namespace {

using testing::CountingObserver;

// Joins texts and numbers into one cell text.
template <typename... Parts>
std::string Text(const Parts&... parts) {
  std::string text;
  auto add = [&](const auto& part) {
    if constexpr (std::is_arithmetic_v<std::decay_t<decltype(part)>>)
      text += std::to_string(part);
    else
      text += part;
  };
  (add(parts), ...);
  return text;
}

using Rows = std::vector<std::vector<std::string>>;

using Key = testing::ReferenceKey;

std::vector<Key> KeysOf(const TSortIndexList& list) {
  std::vector<Key> keys;
  for (int k = 0; k < list.Count(); ++k) keys.push_back({list.Column(k), list.Descending(k)});
  return keys;
}

std::string Describe(const std::vector<Key>& keys) {
  std::string s;
  for (const Key& k : keys) s += std::to_string(k.column) + (k.descending ? "d " : "a ");
  return s;
}

RegionalSettings MakeDecimalComma() {
  RegionalSettings r;
  r.decimalSeparator = ',';
  r.thousandSeparator = ' ';
  r.dateSeparator = '-';
  r.shortDateFormat = "dd-mm-yyyy";
  return r;
}

// The sort keeps a reference to its regional settings: they must outlive it.
const RegionalSettings kUs{};
const RegionalSettings kDecimalComma = MakeDecimalComma();

// Header row first, then the data rows; every row as wide as the table.
LogTable MakeTable(const Rows& rows, int colCount) {
  LogTable table(static_cast<int>(rows.size()), colCount, 1);
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      table.SetCellText(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
  return table;
}

Rows TableRows(const LogTable& table, int width) {
  Rows rows;
  for (int r = 0; r < table.RowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < width; ++c) row.emplace_back(table.CellText(c, r));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> ColumnOf(const LogTable& table, int col) {
  std::vector<std::string> texts;
  for (int r = 1; r < table.RowCount(); ++r) texts.emplace_back(table.CellText(col, r));
  return texts;
}

using Reference = testing::ReferenceSort;

// ---- The key list ----------------------------------------------------------

TEST(TSortIndexList, EntriesHoldColumnAndDirection) {
  TSortIndexList list;
  EXPECT_EQ(list.Find(3), -1);
  list.Append(3);
  list.Append(7, true);
  list.Append(0x7FFFFFFF);
  EXPECT_EQ(list.Entry(0), 3u);
  EXPECT_EQ(list.Entry(1), 7u | TSortIndexList::kDescendingBit);
  EXPECT_EQ(list.Find(7), 1);
  EXPECT_EQ(list.Find(0x7FFFFFFF), 2);
  EXPECT_EQ(list.Find(4), -1);
  list.Flip(3);
  list.Flip(7);
  EXPECT_EQ(KeysOf(list), (std::vector<Key>{{3, true}, {7, false}, {0x7FFFFFFF, false}}));
  list.Flip(99);  // not a key: nothing changes
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ApplySortClick, ClickSequencesAndTheKeysTheyLeave) {
  struct Click {
    int column;
    bool shift;
  };
  const struct {
    const char* name;
    std::vector<Click> clicks;
    std::vector<Key> keys;
  } cases[] = {
      {"first plain click", {{3, false}}, {{3, false}}},
      {"second plain click flips", {{3, false}, {3, false}}, {{3, true}}},
      {"third plain click flips back", {{3, false}, {3, false}, {3, false}}, {{3, false}}},
      {"shift adds a lower key", {{3, false}, {3, false}, {5, true}}, {{3, true}, {5, false}}},
      {"shift on a key flips it in place",
       {{3, false}, {3, false}, {5, true}, {3, true}},
       {{3, false}, {5, false}}},
      {"plain click on the second key makes it the only one",
       {{3, false}, {5, true}, {5, false}},
       {{5, false}}},
      {"plain click on the first of two keys does not flip",
       {{3, false}, {5, true}, {3, true}, {3, false}},
       {{3, false}}},
      {"shift on an empty list", {{2, true}}, {{2, false}}},
      {"shift twice on the only key", {{2, true}, {2, true}}, {{2, true}}},
      {"plain click on another column", {{3, false}, {3, false}, {4, false}}, {{4, false}}},
      {"three keys",
       {{1, false}, {2, true}, {4, true}, {2, true}},
       {{1, false}, {2, true}, {4, false}}},
  };
  for (const auto& c : cases) {
    LogTable table = MakeTable({{"h0", "h1", "h2", "h3", "h4", "h5"},
                                {"b", "2", "x", "3", "q", "1"},
                                {"a", "1", "y", "3", "p", "2"},
                                {"c", "3", "x", "1", "r", "1"}},
                               53);
    ColumnSort sort(table, kUs);
    for (const Click& click : c.clicks) sort.ApplySortClick(click.column, click.shift);
    EXPECT_EQ(KeysOf(sort.SortIndex()), c.keys)
        << c.name << ": " << Describe(KeysOf(sort.SortIndex()));
  }
}

TEST(ApplySortClick, KeptKeyBeyondTheLastColumnLetsTheNextKeyDecide) {
  // A key left over from a wider file: every row reads empty there.
  LogTable table = MakeTable({{"CALL", "N"}, {"b", "3"}, {"a", "1"}, {"c", "2"}}, 53);
  ColumnSort sort(table, kUs);
  sort.SortIndex().Append(60);
  sort.ApplySortClick(1, true);
  EXPECT_EQ(KeysOf(sort.SortIndex()), (std::vector<Key>{{60, false}, {1, false}}));
  EXPECT_EQ(ColumnOf(table, 1), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"a", "c", "b"}));
}

// ---- Sort results ----------------------------------------------------------

TEST(SortByKeys, AFailedNumberAfterABlankDecimalPointSortsAsZero) {
  // Blank decimal separator, "." for thousands: " .05." reads no digit.
  RegionalSettings blank;
  blank.decimalSeparator = ' ';
  blank.thousandSeparator = '.';
  LogTable table = MakeTable(
      {{"CALL", "DXCC", "F"}, {"A1", "1", " .05."}, {"A2", "2", "1 5"}, {"A3", "3", "2"}}, 53);
  ColumnSort sort(table, blank);
  sort.ApplySortClick(2, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"A1", "A2", "A3"}));
}

TEST(SortByKeys, DecimalCommaNumbersInBothDirections) {
  LogTable table = MakeTable({{"FREQ"}, {"10"}, {"9"}, {"1,5"}}, 53);
  ColumnSort sort(table, kDecimalComma);
  sort.ApplySortClick(0, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"1,5", "9", "10"}));
  sort.ApplySortClick(0, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"10", "9", "1,5"}));
}

TEST(SortByKeys, EmptyTextsComeFirstAscendingAndLastDescending) {
  LogTable table = MakeTable({{"NAME"}, {"Jan"}, {""}, {"Adam"}, {""}, {"Zofia"}, {"adam"}}, 53);
  ColumnSort sort(table, kUs);
  sort.ApplySortClick(0, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"", "", "Adam", "Jan", "Zofia", "adam"}));
  sort.ApplySortClick(0, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"adam", "Zofia", "Jan", "Adam", "", ""}));
}

TEST(SortByKeys, DayFirstDatesSortAsDates) {
  LogTable table =
      MakeTable({{"QSO_DATE"}, {"13-04-2006"}, {"12-05-2006"}, {"1-1-2007"}, {"31-12-1999"}}, 53);
  ColumnSort sort(table, kDecimalComma);
  sort.SetCurrentYear(2024);
  sort.ApplySortClick(0, false);
  EXPECT_EQ(ColumnOf(table, 0),
            (std::vector<std::string>{"31-12-1999", "13-04-2006", "12-05-2006", "1-1-2007"}));
}

struct ColumnKind {
  const char* name;
  std::vector<std::string> values;  // drawn at random, many repeats
};

// Random tables with few distinct values per column, so that many rows are
// equal on a key and the order among them depends on the partition scheme.
Rows RandomRows(std::mt19937& rng, int dataRows, const std::vector<ColumnKind>& kinds) {
  Rows rows;
  std::vector<std::string> header;
  for (const auto& kind : kinds) header.emplace_back(kind.name);
  header.emplace_back("ID");
  rows.push_back(header);
  for (int r = 0; r < dataRows; ++r) {
    std::vector<std::string> row;
    for (const auto& kind : kinds)
      row.push_back(
          kind.values[std::uniform_int_distribution<size_t>(0, kind.values.size() - 1)(rng)]);
    row.push_back(std::to_string(r));  // tells equal rows apart in the result
    rows.push_back(std::move(row));
  }
  return rows;
}

TEST(SortByKeys, SameOrderAsThePartitionSchemeOnManyEqualValues) {
  const std::vector<ColumnKind> kinds = {
      {"MODE", {"CW", "SSB", "RTTY", "FT8", ""}},
      {"BAND", {"20", "40", "80", "10", "160", "6"}},
      {"FREQ", {"14,025", "7,01", "3,5", "14,2", "", "21"}},
      // Mixed kinds: the style follows the first operand, comparisons may contradict.
      {"MIXED", {"10", "abc", "2.5", "", "-", "12-05-2006", "9", "1,5"}},
      {"DATE", {"12-05-2006", "13-04-2006", "1-1-2007", "12-05-2006 10:30", "x"}},
      {"CALL",
       {"SP9ABC", "DL1XYZ", "sp9abc",
        "\xA3"
        "D",
        "OK1AA"}},
  };
  const int width = static_cast<int>(kinds.size()) + 1;
  const std::vector<std::vector<Key>> keyLists = {
      {{0, false}},
      {{1, false}},
      {{1, true}},
      {{2, false}},
      {{3, false}},
      {{3, true}},
      {{4, false}},
      {{5, true}},
      {{0, false}, {1, true}},
      {{2, true}, {0, false}, {5, false}},
      {{3, false}, {4, false}},
      {{40, false}, {1, false}},  // beyond the last column of a 7-column table
      {{6, false}},               // all rows distinct
  };
  std::mt19937 rng(20240517);
  for (int dataRows : {2, 3, 7, 50, 400, 2000}) {
    for (const auto& keys : keyLists) {
      const Rows original = RandomRows(rng, dataRows, kinds);
      LogTable table = MakeTable(original, width);
      ColumnSort sort(table, kDecimalComma);
      sort.SetCurrentYear(2024);
      for (const Key& k : keys) sort.SortIndex().Append(k.column, k.descending);
      sort.SortByKeys();

      Rows expected = original;
      Reference{keys, width, kDecimalComma, 2024}.Sort(expected, 1, dataRows);
      const Rows actual = TableRows(table, width);
      ASSERT_EQ(table.RowCount(), dataRows + 1);
      EXPECT_EQ(actual, expected) << dataRows << " rows, keys " << Describe(keys);
    }
  }
}

// Cell texts drawn fresh for every cell, of the kinds a log holds and of the
// kinds that trip the comparison: numbers that fail to convert, dates that
// do not exist, texts that agree in their first seven or eight bytes.
std::string RandomCell(std::mt19937& rng, int kind) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  switch (kind) {
    case 0:  // whole numbers, some negative, some with leading zeros
      return Text(pick(2) ? "-" : "", pick(3) ? "" : "00", pick(400));
    case 1:  // decimal commas and points, thousands blanks
      return Text(pick(30), pick(4) ? "," : ".", pick(1000), pick(8) ? "" : " 5");
    case 2: {  // day-first dates, some impossible, some with a time
      std::string date =
          Text(1 + pick(31), "-", 1 + pick(12), "-", pick(3) ? "20" : "", 10 + pick(20));
      if (pick(4) == 0) date += Text(" ", pick(24), ":", pick(60));
      return date;
    }
    case 3: {  // texts over a small alphabet, long ones sharing their start
      static const std::string alphabet = std::string("aAbZ0/ -") + "\xA5\xB9";
      std::string text = pick(3) ? "" : "SP9ABCDEF";
      for (int n = pick(10); n > 0; --n)
        text += alphabet[static_cast<size_t>(pick(static_cast<int>(alphabet.size())))];
      return text;
    }
    case 4:
      return "";
    default: {  // failing numbers and texts that look half like numbers
      static const char* const odd[] = {"-",   "1 234", "12abc", "1,5,3",
                                        "1e5", "007x",  "12-05", "1/2"};
      return odd[pick(8)];
    }
  }
}

TEST(SortByKeys, SameOrderAsThePartitionSchemeOnRandomColumns) {
  // Each column draws its cells from some of the kinds above: one kind gives
  // a column of one style, several kinds a column that mixes styles.
  const std::vector<std::vector<int>> columnKinds = {
      {0}, {1}, {2}, {3}, {0, 4}, {1, 5}, {2, 3, 4}, {0, 1, 2, 3, 4, 5}, {3, 4}, {5}};
  const int kinds = static_cast<int>(columnKinds.size());
  const int width = kinds + 1;  // the last column numbers the rows
  std::mt19937 rng(20240611);
  for (int round = 0; round < 300; ++round) {
    const int dataRows = 2 + static_cast<int>(rng() % (round % 10 == 0 ? 3000 : 200));
    Rows rows = {std::vector<std::string>(static_cast<size_t>(width), "H")};
    for (int r = 0; r < dataRows; ++r) {
      std::vector<std::string> row;
      for (const std::vector<int>& drawn : columnKinds)
        row.push_back(RandomCell(rng, drawn[rng() % drawn.size()]));
      row.push_back(std::to_string(r));  // tells equal rows apart in the result
      rows.push_back(std::move(row));
    }
    // One to three keys, either direction, now and then beyond the last column.
    std::vector<Key> keys;
    for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
      const int column = rng() % 8 == 0 ? width + 5 : static_cast<int>(rng() % kinds);
      bool known = false;
      for (const Key& key : keys) known = known || key.column == column;
      if (!known) keys.push_back({column, rng() % 2 == 0});
    }
    const RegionalSettings& regional = round % 2 ? kDecimalComma : kUs;
    LogTable table = MakeTable(rows, width);
    ColumnSort sort(table, regional);
    sort.SetCurrentYear(2024);
    for (const Key& k : keys) sort.SortIndex().Append(k.column, k.descending);
    sort.SortByKeys();

    Rows expected = rows;
    Reference{keys, width, regional, 2024}.Sort(expected, 1, dataRows);
    ASSERT_EQ(TableRows(table, width), expected)
        << "round " << round << ", " << dataRows << " rows, keys " << Describe(keys);
  }
}

TEST(SortByKeys, ConsistentKeysGiveAnOrderedTable) {
  // Independent of the scheme: on texts and on integers the result is ordered.
  std::mt19937 rng(7);
  Rows rows = {{"CALL", "NR"}};
  for (int r = 0; r < 3000; ++r)
    rows.push_back({Text("C", rng() % 97), Text(static_cast<int>(rng() % 500) - 250)});
  LogTable table = MakeTable(rows, 53);
  ColumnSort sort(table, kUs);
  sort.ApplySortClick(0, false);
  sort.ApplySortClick(1, true);  // keys [CALL ascending, NR ascending]
  sort.ApplySortClick(1, true);  // NR descending
  for (int r = 2; r < table.RowCount(); ++r) {
    const std::string_view prevCall = table.CellText(0, r - 1), call = table.CellText(0, r);
    ASSERT_LE(prevCall, call) << "row " << r;
    if (prevCall == call) {
      ASSERT_GE(std::stoi(std::string(table.CellText(1, r - 1))),
                std::stoi(std::string(table.CellText(1, r))))
          << "row " << r;
    }
  }
}

TEST(SortByKeys, HeaderRowCountAndFixedRowsUnchanged) {
  Rows rows = {{"CALL", "QSO_DATE", "DXCC"},
               {"SP9B", "2", "269"},
               {"SP9A", "1", "269"},
               {"DL1A", "3", "230"}};
  LogTable table = MakeTable(rows, 53);
  table.SetRowHeight(0, 33);
  ColumnSort sort(table, kUs);
  sort.ApplySortClick(2, false);
  EXPECT_EQ(table.RowCount(), 4);
  EXPECT_EQ(table.FixedRows(), 1);
  EXPECT_EQ(table.ColCount(), 53);
  EXPECT_EQ(TableRows(table, 3)[0], rows[0]);
  EXPECT_EQ(table.RowHeight(0), 33);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"DL1A", "SP9A", "SP9B"}));
  // The scratch rows leave nothing behind beyond the last row.
  table.SetRowCount(7);
  for (int r = 4; r < 7; ++r) EXPECT_TRUE(table.RowIsEmpty(r)) << r;
}

TEST(SortByKeys, NoKeysIsAnErrorAndChangesNothing) {
  Rows rows = {{"CALL"}, {"b"}, {"a"}};
  LogTable table = MakeTable(rows, 53);
  ColumnSort sort(table, kUs);
  try {
    sort.SortByKeys();
    FAIL() << "sorting without keys succeeded";
  } catch (const TableError& e) {
    EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
  }
  EXPECT_EQ(TableRows(table, 1), rows);
  EXPECT_EQ(table.RowCount(), 3);
}

TEST(SortByKeys, HeaderOnlyAndSingleRowTablesStayAsTheyAre) {
  LogTable headerOnly = MakeTable({{"CALL"}}, 53);
  const int fixedBefore = headerOnly.FixedRows();
  ColumnSort sortHeader(headerOnly, kUs);
  sortHeader.ApplySortClick(0, false);
  EXPECT_EQ(headerOnly.RowCount(), 1);
  EXPECT_EQ(headerOnly.FixedRows(), fixedBefore);
  EXPECT_EQ(headerOnly.CellText(0, 0), "CALL");

  LogTable single = MakeTable({{"CALL"}, {"SP9ABC"}}, 53);
  ColumnSort sortSingle(single, kUs);
  sortSingle.ApplySortClick(0, false);
  EXPECT_EQ(single.RowCount(), 2);
  EXPECT_EQ(single.FixedRows(), 1);
  EXPECT_EQ(single.CellText(0, 1), "SP9ABC");
}

TEST(SortByKeys, RepaintsOnceAtTheEnd) {
  std::mt19937 rng(3);
  Rows rows = {{"N"}};
  for (int r = 0; r < 200; ++r) rows.push_back({std::to_string(rng() % 1000)});
  LogTable table = MakeTable(rows, 53);
  CountingObserver observer;
  table.SetObserver(&observer);
  ColumnSort sort(table, kUs);
  sort.ApplySortClick(0, false);
  EXPECT_EQ(observer.aboutToChange, 1);
  EXPECT_EQ(observer.changed, 1);
  EXPECT_EQ(observer.cells, 0);
}

TEST(SortByKeys, UnderTheRowFilterOnlyShownRowsMoveAndHiddenOnesComeBackInPlace) {
  // Given a log where rows 2, 3 and 6 are hidden by the filter
  const Rows rows = {{"CALL", "VIS", "NR"}, {"A", "show", "50"}, {"B", "hide", "10"},
                     {"C", "hide", "5"},    {"D", "show", "40"}, {"E", "show", "30"},
                     {"F", "hide", "1"},    {"G", "show", "20"}, {"H", "show", "45"}};
  LogTable table = MakeTable(rows, 53);
  struct Filter : RowFilter {
    Filter(LogTable& t, const RegionalSettings& r) : RowFilter(t, r), table(t) {}
    bool MatchRow(int row) const override { return table.CellText(1, row) == "show"; }
    LogTable& table;
  } filter(table, kUs);
  filter.SetFilterActive(true);
  ASSERT_EQ(table.RowCount(), 6);

  // When the shown rows are sorted by NR and the filter is switched off
  ColumnSort sort(table, kUs);
  sort.ApplySortClick(2, false);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"G", "E", "D", "H", "A"}));
  EXPECT_EQ(table.RowCount(), 6);
  filter.SetFilterActive(false);

  // Then the hidden rows are back at their row numbers, the sorted ones around them
  EXPECT_EQ(table.RowCount(), 9);
  EXPECT_EQ(ColumnOf(table, 0), (std::vector<std::string>{"G", "B", "C", "E", "D", "F", "H", "A"}));
  EXPECT_EQ(TableRows(table, 3)[0], rows[0]);
}

// A log of the users' size: 100,000 contacts of 53 columns.
TEST(SortByKeys, LargeLogSortsWithinTheClickBudget) {
  constexpr int kRows = 100000;
  constexpr int kCols = 53;
  std::mt19937 rng(12345);
  LogTable table(kRows + 1, kCols, 1);
  for (int c = 0; c < kCols; ++c) table.SetCellText(c, 0, Text("COL", c));
  const char* modes[] = {"CW", "SSB", "FT8", "RTTY"};
  std::vector<std::string> row(kCols);
  for (int r = 1; r <= kRows; ++r) {
    row[0] = std::to_string(r);
    row[1] = Text("SP", rng() % 10, std::string(1, static_cast<char>('A' + rng() % 26)),
                  std::string(1, static_cast<char>('A' + rng() % 26)));
    row[2] = Text("2006-", 1 + rng() % 12, "-", 1 + rng() % 28);
    row[3] = std::to_string(1000 + rng() % 1400);
    row[4] = Text(rng() % 30, ".", rng() % 1000);
    row[5] = modes[rng() % 4];
    row[6] = std::to_string(rng() % 400);
    for (int c = 7; c < kCols; ++c)
      row[c] = (rng() % 3 == 0) ? std::string() : Text("x", rng() % 50);
    table.SetRowTexts(r, row);
  }
  ColumnSort sort(table, kUs);
  auto timeClick = [&](int column) {
    const auto start = std::chrono::steady_clock::now();
    sort.ApplySortClick(column, false);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const double text = timeClick(1);
  const double number = timeClick(4);
  for (int r = 2; r <= kRows; ++r)
    ASSERT_LE(TextToNumber(table.CellText(4, r - 1)).value,
              TextToNumber(table.CellText(4, r)).value);
  RecordProperty("text_seconds", std::to_string(text));
  RecordProperty("number_seconds", std::to_string(number));
  EXPECT_EQ(table.RowCount(), kRows + 1);
}

}  // namespace
}  // namespace kartex
