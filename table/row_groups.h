#pragma once
// The data rows of the log table grouped by the text of one column (CALL,
// for the tally, the per-row tally and the one-card-per-station file): one
// index of the texts, built once for each of them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "table/log_table.h"

namespace kartex {

// Rows 1 .. RowCount()-1 grouped by their text in one column, compared
// exactly (the empty text is a group like any other). Groups are numbered in
// the order of their first rows. The texts are views into the table, valid
// until it changes.
struct RowGroups {
  std::vector<std::string_view> texts;  // of each group
  std::vector<int> firstRow;            // of each group
  std::vector<int32_t> rowCount;        // of each group
  std::vector<uint32_t> groupOfRow;     // of data row r at index r - 1

  size_t Count() const { return texts.size(); }
};

RowGroups GroupRowsByText(const LogTable& table, int column);

}  // namespace kartex
