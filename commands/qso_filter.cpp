// The QSO-count filter: the table narrowed to the stations worked exactly N
// times (RG1), and the per-row tally the country list needs.

#include <string_view>
#include <vector>

#include "session.h"
#include "table/text_index.h"

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
  const int rows = table_.RowCount();
  const size_t dataRows = static_cast<size_t>(rows > 1 ? rows - 1 : 0);
  std::vector<std::string_view> calls;  // the distinct calls
  std::vector<int32_t> counts;          // the rows of each
  std::vector<uint32_t> callOfRow(dataRows);
  auto callAt = [&calls](uint32_t i) { return calls[i]; };
  TextIndex<decltype(callAt)> callIndex(callAt, dataRows);
  for (int row = 1; row < rows; ++row) {
    std::string_view call = table_.CellText(log_.callColumn, row);
    auto [i, inserted] = callIndex.Insert(call, static_cast<uint32_t>(calls.size()));
    if (inserted) {
      calls.push_back(call);
      counts.push_back(0);
    }
    ++counts[i];
    callOfRow[static_cast<size_t>(row - 1)] = i;
  }
  log_.tally.assign(dataRows, TMyRecord{});
  for (int row = 1; row < rows; ++row) {
    TMyRecord& entry = log_.tally[static_cast<size_t>(row - 1)];
    const uint32_t i = callOfRow[static_cast<size_t>(row - 1)];
    entry.call.assign(calls[i]);
    entry.dxcc.assign(table_.CellText(log_.dxccColumn, row));
    entry.qsoCount = counts[i];
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
