#include "session.h"

#include "busy_cursor.h"
#include "table/header_click_rules.h"

namespace kartex {

Session::Session(WindowSystem& windowSystem, RegionalSettings regional)
    : windows_(windowSystem),
      regional_(std::move(regional)),
      table_(2, 53, 1),
      filter_(table_, regional_),
      sort_(table_, regional_) {
  // The one filter item the window is created with; the QSO-count filter
  // points it at the CALL column found in the header.
  TFilterData item;
  item.Column = 4;
  item.CaseSensitive = false;
  item.Operation = TFilterOperation::foSHORT;
  filter_.Filter().push_back(item);
  filter_.OnFilterProgress = [this](int16_t progress) { SG1FilterProgress(progress); };
}

void Session::SetRecordsCaption(int records) {
  controls_.records = records;
  controls_.recordsKnown = true;
  controls_.recordsCaption = "Liczba rekordów : " + std::to_string(records);
}

bool Session::HeaderSortClick(int column, bool shiftHeld) {
  if (!TableTakesSortClicks(table_.FixedRows(), table_.RowCount())) return false;
  BusyCursor busy(windows_);
  sort_.ApplySortClick(column, shiftHeld);
  return true;
}

void Session::EditCell(int column, int row, const std::string& text) {
  if (row < table_.FixedRows() || row >= table_.RowCount() || column < 0 ||
      column >= table_.ColCount()) {
    throw CommandError("Grid index out of range");
  }
  table_.SetCellText(column, row, text);
}

void Session::ShowMessages(const std::vector<std::string>& messages) {
  for (const std::string& message : messages) windows_.ShowMessage(message);
}

bool Session::FormCloseQuery() { return windows_.Confirm("Zamknąć aplikację ?", "Confirm"); }

bool Session::Close1Click() {
  if (!FormCloseQuery()) return false;
  log_.tally.clear();
  return true;
}

}  // namespace kartex
