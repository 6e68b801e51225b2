// The header sort. The input, as lines:
//   1. the regional settings (see InputRegional);
//   2. blank-separated: the current year, how many times the data rows are
//      repeated, then the sort keys, each a column number with "d" behind it
//      for a descending key (a number beyond the last column is allowed);
//   3. the header row, and on: the data rows, cells separated by TAB.
// A last column numbers the data rows, so that equal rows can be told apart.
// The sort must end, keep the header row and the rows themselves, and give
// the order of the partition scheme over plain CompareKeyCells comparisons
// (reference_sort.h); each cell's prepared comparison facts must compare
// like CompareKeyCells.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "reference_sort.h"
#include "table/column_sort.h"
#include "table/log_table.h"
#include "table/sort_compare.h"

namespace kartex::fuzz {
namespace {

using Row = testing::ReferenceSort::Row;

constexpr size_t kMaxRows = 600;  // several blocks of the partition scans
constexpr size_t kMaxRepeats = 16;
constexpr size_t kMaxKeys = 6;

struct SortInput {
  RegionalSettings regional;
  int year = 2024;
  size_t repeats = 1;
  std::vector<testing::ReferenceKey> keys;
  std::vector<Row> rows;  // the header row first
  int width = 1;
};

Row Cells(std::string_view line) {
  Row cells;
  for (;;) {
    const size_t end = line.find('\t');
    cells.emplace_back(line.substr(0, end));
    if (end == std::string_view::npos) return cells;
    line.remove_prefix(end + 1);
  }
}

// A number made of the leading digits of a token, at most limit.
size_t Number(std::string_view token, size_t limit) {
  size_t value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') break;
    value = std::min(limit, value * 10 + static_cast<size_t>(c - '0'));
  }
  return value;
}

// The year, the repeats and the keys.
void ReadControl(std::string_view line, SortInput& in) {
  std::vector<std::string_view> tokens;
  for (size_t start = 0; start < line.size();) {
    const size_t end = std::min(line.find(' ', start), line.size());
    if (end > start) tokens.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  if (!tokens.empty())
    in.year = static_cast<int>(std::clamp<size_t>(Number(tokens[0], 9999), 1, 9999));
  if (tokens.size() > 1)
    in.repeats = std::clamp<size_t>(Number(tokens[1], kMaxRepeats), 1, kMaxRepeats);
  for (size_t t = 2; t < tokens.size() && in.keys.size() < kMaxKeys; ++t) {
    const int column = static_cast<int>(Number(tokens[t], static_cast<size_t>(in.width) + 3));
    const bool descending = tokens[t].back() == 'd';
    const bool known =
        std::any_of(in.keys.begin(), in.keys.end(),
                    [&](const testing::ReferenceKey& k) { return k.column == column; });
    if (!known) in.keys.push_back({column, descending});
  }
  if (in.keys.empty()) in.keys.push_back({0, false});
}

bool ReadInput(std::string_view input, SortInput& in) {
  const std::vector<std::string_view> lines = InputLines(input);
  if (lines.size() < 4) return false;  // the header and at least two data rows
  in.regional = InputRegional(lines[0]);
  in.rows.push_back(Cells(lines[2]));
  std::vector<Row> data;
  for (size_t i = 3; i < lines.size(); ++i) data.push_back(Cells(lines[i]));
  for (const Row& row : in.rows) in.width = std::max(in.width, static_cast<int>(row.size()));
  for (const Row& row : data) in.width = std::max(in.width, static_cast<int>(row.size()));
  in.width += 1;  // the row numbers
  ReadControl(lines[1], in);
  if (data.size() * in.repeats > kMaxRows) in.repeats = std::max<size_t>(1, kMaxRows / data.size());
  for (size_t repeat = 0; repeat < in.repeats; ++repeat) {
    for (const Row& row : data) {
      in.rows.push_back(row);
      in.rows.back().resize(static_cast<size_t>(in.width) - 1);
      in.rows.back().push_back(std::to_string(in.rows.size() - 1));
    }
  }
  in.rows.front().resize(static_cast<size_t>(in.width));
  return in.rows.size() <= kMaxRows + 1;
}

std::vector<Row> TableRows(const LogTable& table, int width) {
  std::vector<Row> rows;
  for (int r = 0; r < table.RowCount(); ++r) {
    Row row;
    for (int c = 0; c < width; ++c) row.emplace_back(table.CellText(c, r));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string Describe(const Row& row) {
  std::string text;
  for (const std::string& cell : row) text += "[" + Shown(cell) + "]";
  return text;
}

// Every pair of cells of each key column among the first rows, and the
// neighbours among all rows: their prepared facts (the texts deciding where
// the facts cannot) compare like CompareKeyCells.
void CheckFacts(const SortInput& in) {
  const size_t rows = in.rows.size();
  const size_t firstRows = std::min<size_t>(rows, 17);
  for (const testing::ReferenceKey& key : in.keys) {
    if (key.column >= in.width) continue;
    auto cell = [&](size_t i) -> const std::string& {
      return in.rows[i][static_cast<size_t>(key.column)];
    };
    std::vector<KeyCellFacts> facts;
    for (size_t i = 0; i < rows; ++i)
      facts.push_back(PrepareKeyCell(cell(i), in.regional, in.year));
    auto check = [&](size_t i, size_t j) {
      int v = CompareKeyFacts(facts[i], facts[j]);
      if (v == kTextsDecide) v = CompareTexts(cell(i), cell(j));
      const int plain = CompareKeyCells(cell(i), cell(j), in.regional, in.year);
      if (v != plain) {
        Mismatch("comparison facts of [" + Shown(cell(i)) + "] and [" + Shown(cell(j)) + "] give " +
                 std::to_string(v) + ", CompareKeyCells " + std::to_string(plain));
      }
    };
    for (size_t i = 1; i < firstRows; ++i) {
      for (size_t j = 1; j < firstRows; ++j) check(i, j);
    }
    for (size_t i = 2; i < rows; ++i) check(i - 1, i);
  }
}

void CheckSort(const SortInput& in) {
  LogTable table(static_cast<int>(in.rows.size()), in.width, 1);
  for (size_t r = 0; r < in.rows.size(); ++r) table.SetRowTexts(static_cast<int>(r), in.rows[r]);
  ColumnSort sort(table, in.regional);
  sort.SetCurrentYear(in.year);
  for (const testing::ReferenceKey& key : in.keys)
    sort.SortIndex().Append(key.column, key.descending);
  sort.SortByKeys();

  if (table.RowCount() != static_cast<int>(in.rows.size()) || table.FixedRows() != 1) {
    Mismatch("the sort changed RowCount or FixedRows");
  }
  const std::vector<Row> sorted = TableRows(table, in.width);
  if (sorted.front() != in.rows.front())
    Mismatch("the header row moved: " + Describe(sorted.front()));
  std::vector<Row> before = in.rows, after = sorted;
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after) Mismatch("the sort lost or changed rows");

  std::vector<Row> expected = in.rows;
  testing::ReferenceSort{in.keys, in.width, in.regional, in.year}.Sort(
      expected, 1, static_cast<int>(expected.size()) - 1);
  for (size_t r = 1; r < expected.size(); ++r) {
    if (sorted[r] != expected[r]) {
      Mismatch("row " + std::to_string(r) + " is " + Describe(sorted[r]) + ", expected " +
               Describe(expected[r]));
    }
  }
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kartex::fuzz::SortInput in;
  if (!kartex::fuzz::ReadInput(std::string_view(reinterpret_cast<const char*>(data), size), in))
    return 0;
  kartex::fuzz::CheckFacts(in);
  kartex::fuzz::CheckSort(in);
  return 0;
}
