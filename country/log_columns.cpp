#include "country/log_columns.h"

namespace kartex {

int FindHeaderColumn(const LogTable& table, std::string_view name) {
  if (table.RowCount() == 0) return -1;
  int found = -1;
  for (int col = 0; col < table.ColCount(); ++col) {
    if (table.CellText(col, 0) == name) found = col;
  }
  return found;
}

LogColumns FindLogColumns(const LogTable& table) {
  LogColumns columns;
  columns.call = FindHeaderColumn(table, "CALL");
  columns.dxcc = FindHeaderColumn(table, "DXCC");
  columns.qslVia = FindHeaderColumn(table, "QSL_VIA");
  columns.qsoDate = FindHeaderColumn(table, "QSO_DATE");
  columns.timeOn = FindHeaderColumn(table, "TIME_ON");
  return columns;
}

}  // namespace kartex
