// The QSO-count filter: the table narrowed to the stations worked exactly N
// times (RG1), and the per-row tally the country list needs.

#include <string_view>
#include <vector>

#include "session.h"
#include "table/row_groups.h"

namespace kartex {
namespace {

// A condition no text satisfies: "!" inverts the "*" that matches all.
constexpr std::string_view kMatchesNothing = "!*";

}  // namespace

void Session::RG1Click(int itemIndex) {
  if (itemIndex == controls_.rg1ItemIndex) return;
  controls_.rg1ItemIndex = itemIndex;
  if (itemIndex == kRG1RemoveFilter) {
    controls_.progressVisible = false;
    RemoveCondition();
    return;
  }
  controls_.progressVisible = true;
  windows_.ControlsChanged();
  FiltrQSO(static_cast<uint8_t>(itemIndex + 1));
}

void Session::FiltrQSO(uint8_t n) {
  if (log_.tally.empty()) return;
  SwitchFilterOff();
  if (n == 0) {
    BuildPerRowTally();
    return;
  }
  TFilterData& item = filter_.Filter()[0];
  item.Column = log_.callColumn;
  item.CaseSensitive = true;
  item.Condition = BuildQsoCondition(n);
  filter_.SetFilterActive(true);
  controls_.qsoFilterN = n;
  ShowFilteredRows();
}

// The calls worked n times, each quoted, joined by ";". Calls go in as they
// stand. No station worked n times gives a condition that shows no row.
std::string Session::BuildQsoCondition(int n) const {
  std::string condition;
  for (const TMyRecord& entry : log_.tally) {
    if (entry.qsoCount != n || entry.call.empty()) continue;
    if (!condition.empty()) condition += ';';
    condition += '"';
    condition += entry.call;
    condition += '"';
  }
  return condition.empty() ? std::string(kMatchesNothing) : condition;
}

// One entry per data row, in table order, each with the total count of its
// call (empty calls included).
void Session::BuildPerRowTally() {
  const RowGroups calls = GroupRowsByText(table_, log_.callColumn);
  log_.tally.assign(calls.groupOfRow.size(), TMyRecord{});
  log_.tallyShape = TallyShape::PerRow;
  for (size_t i = 0; i < calls.groupOfRow.size(); ++i) {
    TMyRecord& entry = log_.tally[i];
    const uint32_t call = calls.groupOfRow[i];
    entry.call.assign(calls.texts[call]);
    entry.dxcc.assign(table_.CellText(log_.dxccColumn, static_cast<int>(i) + 1));
    entry.qsoCount = calls.rowCount[call];
  }
}

// After a filter run: the managers and the record count of the shown rows,
// and the header fixed again when a data row is left.
void Session::ShowFilteredRows() {
  QSL_VIA_Listbox();
  SetRecordsCaption(table_.RowCount() - 1);
  if (table_.RowCount() - 1 > 0) table_.SetFixedRows(1);
  windows_.ControlsChanged();
}

void Session::ApplyCondition(int column, const std::string& condition, bool caseSensitive) {
  SwitchFilterOff();
  TFilterData& item = filter_.Filter()[0];
  item.Column = column;
  item.Condition = condition;
  item.CaseSensitive = caseSensitive;
  filter_.SetFilterActive(true);
  ShowFilteredRows();
}

void Session::SwitchFilterOff() {
  filter_.SetFilterActive(false);
  controls_.qsoFilterN = 0;
}

void Session::RemoveCondition() {
  SwitchFilterOff();
  QSL_VIA_Listbox();
  SetRecordsCaption(table_.RowCount() - 1);
  windows_.ControlsChanged();
}

// The hourglass while the filter runs, the normal cursor at 100. The filter
// reports after every row, so most calls bring the same percentage: those
// change nothing, and the cursor does not flip to the hourglass and back for
// each of the last rows, which all round to 100.
void Session::SG1FilterProgress(int16_t progress) {
  const bool done = progress == 100;
  if (progress == controls_.progressPosition && progressBusy_ != done) return;
  if (controls_.progressPosition != progress) {
    controls_.progressPosition = progress;
    windows_.ControlsChanged();
  }
  if (done) {
    windows_.ShowNormalCursor();
  } else {
    windows_.ShowBusyCursor();
  }
  progressBusy_ = !done;
}

}  // namespace kartex
