#pragma once
// Writes single cells of the log table's rows by splicing each row's packed
// text once, with buffers kept from one row to the next: one allocation per
// row written, where LogTable::SetCellText makes a string per cell. Used by
// the commands that may write a cell in each of a million rows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "table/log_table.h"

namespace kartex {

class CellSplicer {
 public:
  // Sets cell (col, row) to text; the row keeps its height. col must be a
  // column of the table. Reaches the table's observer as a change of the
  // row (as one change inside a TableUpdate).
  void Write(LogTable& table, int col, int row, std::string_view text);

 private:
  std::string text_;
  std::vector<uint32_t> ends_;
};

}  // namespace kartex
