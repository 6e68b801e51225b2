#include "table/row_filter.h"

#include <algorithm>
#include <cmath>

namespace kartex {
namespace {

// k of total in per cent, rounded to the nearest integer, halves to even.
int16_t Progress(int k, int total) {
  const double percent = static_cast<double>(k) / static_cast<double>(total) * 100.0;
  return static_cast<int16_t>(std::nearbyint(percent));
}

}  // namespace

RowFilter::RowFilter(LogTable& table, const RegionalSettings& regional)
    : table_(table), regional_(regional) {
  table_.SetRowRemovalHook([this](int row) { BeforeRowRemoved(row); });
}

RowFilter::~RowFilter() { table_.SetRowRemovalHook(nullptr); }

void RowFilter::SetFilterActive(bool active) {
  if (active == active_) return;
  if (active) {
    SwitchOn();
  } else {
    SwitchOff();
  }
}

// The text an item tests: the cell, less the item's prefix and suffix.
std::string_view RowFilter::ItemText(const TFilterData& item, int row) const {
  std::string_view text;
  if (item.Column >= 0 && row >= 0 && row < table_.RowCount()) {
    text = table_.CellText(item.Column, row);
  }
  if (!item.Prefix.empty() && text.starts_with(item.Prefix)) {
    text.remove_prefix(item.Prefix.size());
  }
  if (!item.Suffix.empty()) {
    // Only when the first occurrence of the suffix is the one at the end.
    const size_t at = text.find(item.Suffix);
    if (at != std::string_view::npos && at + item.Suffix.size() == text.size()) {
      text.remove_suffix(item.Suffix.size());
    }
  }
  return text;
}

bool RowFilter::MatchItem(const TFilterData& item, const PreparedCondition* prepared,
                          int row) const {
  const std::string_view text = ItemText(item, row);
  if (prepared != nullptr) return prepared->Matches(text);
  return MatchCondition(item.Condition, text, item.CaseSensitive, regional_);
}

bool RowFilter::MatchRow(int row) const {
  bool result = true;
  for (size_t i = 0; i < items_.size(); ++i) {
    const TFilterData& item = items_[i];
    const PreparedCondition* prepared =
        running_ && i < runConditions_.size() ? &runConditions_[i] : nullptr;
    const bool m = MatchItem(item, prepared, row);
    switch (item.Operation) {
      case TFilterOperation::foSHORT:
        result = m;
        if (!m) return false;
        break;
      case TFilterOperation::foNONE:
        result = m;
        break;
      case TFilterOperation::foAND:
        result = result && m;
        break;
      case TFilterOperation::foXOR:
        result = result != m;
        break;
      case TFilterOperation::foOR:
        result = result || m;
        break;
    }
  }
  return result;
}

void RowFilter::SwitchOn() {
  active_ = true;
  savedFixedRows_ = table_.FixedRows();
  TableUpdate update(table_);

  // Each item's condition is prepared once for the whole run; MatchRow (which
  // a derived grid may replace) uses the prepared forms while the run lasts.
  runConditions_.clear();
  runConditions_.reserve(items_.size());
  for (const TFilterData& item : items_) {
    runConditions_.emplace_back(item.Condition, item.CaseSensitive, regional_);
  }
  struct RunScope {
    RowFilter& filter;
    ~RunScope() {
      filter.running_ = false;
      filter.runConditions_.clear();
    }
  };
  std::vector<int> failing;
  const int first = table_.FixedRows();
  const int end = table_.RowCount() - table_.FixedFooters();
  const int total = end - first;
  {
    running_ = true;
    RunScope scope{*this};
    int k = 0;
    // The look-ups of a row a few rows ahead start loading while this row
    // is matched.
    constexpr int kLookAhead = 16;
    for (int r = first; r < end; ++r) {
      if (r + kLookAhead < end) {
        for (size_t i = 0; i < items_.size(); ++i) {
          runConditions_[i].Prefetch(ItemText(items_[i], r + kLookAhead));
        }
      }
      if (!MatchRow(r)) failing.push_back(r);
      ++k;
      if (OnFilterProgress && total > 0) OnFilterProgress(Progress(k, total));
    }
  }
  HideRows(failing);
  if (OnFilterProgress && total > 0) OnFilterProgress(Progress(total, total));
}

void RowFilter::HideRows(const std::vector<int>& rows) {
  // The listed rows (ascending) move into the store whole, with their heights.
  hidden_.reserve(hidden_.size() + rows.size());
  for (int r : rows) {
    TGridItem item;
    item.Idx = r;
    LogTable::HeldRow taken = table_.TakeRow(r);
    item.Height = taken.height;
    item.Items = std::move(taken.cells);
    hidden_.push_back(std::move(item));
  }
  // Close the gaps: the remaining rows move up in their order.
  const int count = table_.RowCount();
  size_t next = 0;
  int w = 0;
  for (int j = 0; j < count; ++j) {
    if (next < rows.size() && rows[next] == j) {
      ++next;
      continue;
    }
    if (j != w) table_.PutRow(w, table_.TakeRow(j));
    ++w;
  }
  const int left = count - static_cast<int>(rows.size());
  standIn_ = left <= 0 && !rows.empty();
  table_.SetRowCount(left);
}

void RowFilter::SwitchOff() {
  active_ = false;
  TableUpdate update(table_);

  int v = table_.RowCount();
  // The empty row the table kept when every row was hidden is not put back
  // as a row of the log (unless it was written to meanwhile).
  if (standIn_ && v == 1 && table_.RowIsEmpty(0)) v = 0;
  standIn_ = false;
  const int n = static_cast<int>(hidden_.size());
  if (n > 0) {
    // The store holds distinct ascending indices; should the table have been
    // shortened while the filter was on, rows that no longer fit go to the
    // end instead of being lost.
    for (int h = n - 1; h >= 0; --h) {
      int limit = v + h;
      if (h < n - 1) limit = std::min(limit, hidden_[static_cast<size_t>(h) + 1].Idx - 1);
      hidden_[static_cast<size_t>(h)].Idx = std::min(hidden_[static_cast<size_t>(h)].Idx, limit);
    }
    table_.SetRowCount(v + n);
    int s = v - 1;
    int h = n - 1;
    for (int d = v + n - 1; d >= 0; --d) {
      if (h >= 0 && hidden_[static_cast<size_t>(h)].Idx == d) {
        TGridItem& item = hidden_[static_cast<size_t>(h)];
        table_.PutRow(d, {std::move(item.Items), item.Height});
        --h;
      } else if (s >= 0 && s < d) {
        table_.PutRow(d, table_.TakeRow(s));
        --s;
      }
      // Otherwise s = d: row d stays where it is.
    }
  }
  hidden_.clear();
  const int fixed = std::clamp(savedFixedRows_, 0, table_.RowCount() - 1);
  table_.SetFixedRows(fixed);
}

void RowFilter::BeforeRowRemoved(int row) {
  if (!active_ || hidden_.empty()) return;
  // The row's index with every hidden row back in the table.
  int full = row;
  for (const TGridItem& item : hidden_) {
    if (item.Idx <= full) {
      ++full;
    } else {
      break;
    }
  }
  for (TGridItem& item : hidden_) {
    if (item.Idx > full) --item.Idx;
  }
}

}  // namespace kartex
