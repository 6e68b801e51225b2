#pragma once
// The row filter of the log table's grid: rows failing the filter items are
// taken out of the table and kept aside until the filter is switched off,
// then put back at the indices they had.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "condition_matcher.h"
#include "log_table.h"
#include "regional_settings.h"

namespace kartex {

enum class TFilterOperation : uint8_t { foSHORT = 0, foNONE = 1, foAND = 2, foXOR = 3, foOR = 4 };

struct TFilterData {
  int32_t Column = 0;  // a whole column number: a log may have any number of columns
  std::string Condition;
  bool CaseSensitive = true;
  std::string Suffix;
  std::string Prefix;
  TFilterOperation Operation = TFilterOperation::foSHORT;
};

// A row set aside while it is hidden.
struct TGridItem {
  int32_t Idx = 0;     // its index in the table when it was hidden
  int32_t Height = 0;  // its display height
  TableRow Items;      // its cells
};

class RowFilter {
 public:
  RowFilter(LogTable& table, const RegionalSettings& regional);
  virtual ~RowFilter();
  RowFilter(const RowFilter&) = delete;
  RowFilter& operator=(const RowFilter&) = delete;

  std::vector<TFilterData>& Filter() { return items_; }
  const std::vector<TFilterData>& Filter() const { return items_; }

  bool FilterActive() const { return active_; }
  // Writing the value it already has does nothing.
  void SetFilterActive(bool active);

  // Test of one row against all items (prepares the conditions anew; the
  // switch-on prepares them once for the whole run).
  virtual bool MatchRow(int row) const;

  const std::vector<TGridItem>& HiddenRows() const { return hidden_; }
  int SavedFixedRows() const { return savedFixedRows_; }

  // Progress in per cent while switching on, rounded half to even.
  std::function<void(int16_t progress)> OnFilterProgress;

 private:
  void SwitchOn();
  void SwitchOff();
  void HideRows(const std::vector<int>& rows);
  void BeforeRowRemoved(int row);
  bool MatchItem(const TFilterData& item, const PreparedCondition* prepared, int row) const;
  std::string_view ItemText(const TFilterData& item, int row) const;

  LogTable& table_;
  const RegionalSettings& regional_;
  std::vector<TFilterData> items_;
  bool active_ = false;
  int savedFixedRows_ = 0;
  std::vector<TGridItem> hidden_;
  // The items' conditions, prepared once while a switch-on tests the rows.
  std::vector<PreparedCondition> runConditions_;
  bool running_ = false;
  // All rows were hidden and the table, which keeps at least one row, holds
  // an empty stand-in row that is not part of the log.
  bool standIn_ = false;
};

}  // namespace kartex
