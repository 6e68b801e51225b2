#pragma once
// The window's state and the logic of its handlers, free of any toolkit: the
// Qt window and kartex-cli both drive this one class.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "command_error.h"
#include "control_states.h"
#include "country/bureau_order.h"
#include "country/call_resolver.h"
#include "country/log_columns.h"
#include "loaded_log.h"
#include "platform/system.h"
#include "sent_cards_export.h"
#include "table/column_sort.h"
#include "table/log_table.h"
#include "table/regional_settings.h"
#include "table/row_filter.h"
#include "window_system.h"

namespace kartex {

enum class LoadOutcome { Cancelled, Loaded, Rejected };

// CTY.DAT and ADIF_DXC.TXT as the call-sign commands use them.
struct CallSignReference {
  CallResolver resolver;
  size_t skippedLines = 0;  // broken lines of CTY.DAT passed over
};

class Session {
 public:
  Session(WindowSystem& windowSystem, RegionalSettings regional);

  LogTable& Table() { return table_; }
  const LogTable& Table() const { return table_; }
  RowFilter& Filter() { return filter_; }
  const RowFilter& Filter() const { return filter_; }
  ColumnSort& Sort() { return sort_; }
  const ColumnSort& Sort() const { return sort_; }
  LoadedLog& Log() { return log_; }
  const LoadedLog& Log() const { return log_; }
  ControlStates& Controls() { return controls_; }
  const ControlStates& Controls() const { return controls_; }
  const RegionalSettings& Regional() const { return regional_; }
  WindowSystem& Windows() { return windows_; }

  // "Otwórz plik CSV": a Logger32 CSV export or an ADIF log.
  LoadOutcome Load_CSVClick();
  // A new selection in RG1 (0..9 for "1".."10", 10 for "Usuń filtr"); the item
  // already selected does nothing.
  void RG1Click(int itemIndex);
  void FiltrQSO(uint8_t n);
  void SG1FilterProgress(int16_t progress);
  void QSL_VIA_Listbox();
  void QSL_VIAClick();
  void Save_CSVClick();
  // "Plik" -> "Zapisz plik CSV – jedna stacja w wierszu".
  void SaveStationsCSV1Click();
  // The COUNTRY.CSV "Zapisz" (country_export.cpp).
  void CTY_ADIFClick();
  // "Narzędzia" (call_sign_commands.cpp): every shown row with an empty DXCC
  // cell gets its call's ADIF number; the rows whose DXCC differs from their
  // call's country, in a list; the shown rows in the order of the QSL
  // bureaus, with their summary; and that summary written from the command
  // line ("Zapisz…" of the summary).
  void UzupelnijDXCC1Click();
  void SprawdzDXCC1Click();
  void SortujwgbiurQSL1Click();
  void ZapiszBiuraClick();
  // "Plik" -> "Zapisz plik ADIF wysłanych kart…": the shown contacts marked
  // as sent via the bureau (the default) or direct.
  void SaveSentADIF1Click(QslSentVia via = QslSentVia::kBureau);
  // A sort click on the header cell of column, after the window's pixel
  // rules. A table that takes no sort clicks (TableTakesSortClicks) is left
  // as it is; otherwise the keys change and the rows are sorted under the
  // hourglass. True when it sorted.
  bool HeaderSortClick(int column, bool shiftHeld);
  // The row filter on a condition of the operator's own (kartex-cli's
  // "where"): column, condition in Windows-1250, case sensitivity.
  void ApplyCondition(int column, const std::string& condition, bool caseSensitive);
  // Switches such a filter off, as "Usuń filtr" does.
  void RemoveCondition();
  // In-place edit of a data cell; the text is Windows-1250.
  void EditCell(int column, int row, const std::string& text);
  // The menu's "Zamknij": asks the closing question and, when the window
  // really closes, empties the station tally. True when it may close.
  bool Close1Click();
  // The question before closing; true for OK.
  bool FormCloseQuery();

  // The UTC clock that dates the files written (the system's, unless a
  // test sets its own).
  platform::UtcDateTime Now() const { return clock_(); }
  void SetClock(std::function<platform::UtcDateTime()> clock) { clock_ = std::move(clock); }

 private:
  void RejectLoad(const std::string& message);
  void ShowMessages(const std::vector<std::string>& messages);
  void RestoreQsoChoice();
  void AddDxccColumnIfMissing();
  // The empty DXCC cells of an ADIF log filled from CTY.DAT, report set to
  // what the load says of it; false when the load was rejected for want of
  // the reference files (call_sign_commands.cpp).
  bool FillEmptyDxccFromCtyDat(std::string& report);
  // CTY.DAT and ADIF_DXC.TXT from the current folder or the installed one;
  // nothing, with the messages shown, when one is missing.
  std::optional<CallSignReference> LoadCallSignReference();
  LogColumns CallSignColumns() const;
  bool PlanBureaus(std::optional<CallSignReference>& reference, BureauPlan& plan);
  void ShowBureauSummary(const std::vector<BureauGroup>& groups);
  void SaveBureaus(const std::vector<BureauGroup>& groups);
  // Every switch-off of the row filter goes here, so that the controls know
  // no QSO-count filter is on any more.
  void SwitchFilterOff();
  void SetRecordsCaption(int records);
  void BuildTally();
  void BuildPerRowTally();
  void ShowFilteredRows();
  std::string BuildQsoCondition(int n) const;

  WindowSystem& windows_;
  RegionalSettings regional_;
  LogTable table_;
  RowFilter filter_;
  ColumnSort sort_;
  LoadedLog log_;
  ControlStates controls_;
  bool progressBusy_ = false;  // the filter's progress showed the hourglass
  std::function<platform::UtcDateTime()> clock_ = platform::CurrentUtcDateTime;
};

}  // namespace kartex
