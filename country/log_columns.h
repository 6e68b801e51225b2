#pragma once
// The columns of the log table that the call-sign commands read, found by
// their names in the header row.

#include <string_view>

#include "table/log_table.h"

namespace kartex {

// Column numbers from 0; -1 where the log has no such column (its cells then
// read as empty, as LogTable::CellText gives them).
struct LogColumns {
  int call = -1;
  int dxcc = -1;
  int qslVia = -1;
  int qsoDate = -1;
  int timeOn = -1;
};

// The column whose header cell (row 0) is exactly name; of several, the
// last, as the load finds CALL, DXCC and QSL_VIA. -1 when there is none.
int FindHeaderColumn(const LogTable& table, std::string_view name);

LogColumns FindLogColumns(const LogTable& table);

// A row the commands work on: a shown data row that holds some text. A row
// without any (the stand-in the row filter leaves when it hides every row)
// is no contact.
inline bool IsContactRow(const LogTable& table, int row) {
  return row >= 1 && !table.Row(row).AllEmpty();
}

}  // namespace kartex
