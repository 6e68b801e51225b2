#pragma once
// The header-click sort: a list of sort keys and the in-place quicksort of
// the data rows by them.

#include <cstdint>
#include <vector>

#include "log_table.h"
#include "regional_settings.h"

namespace kartex {

// Sort keys, the primary first: column in bits 0-30, descending in bit 31.
class TSortIndexList {
 public:
  static constexpr uint32_t kDescendingBit = 0x80000000u;

  void Append(int column, bool descending = false);
  int Find(int column) const;  // position of the column's key, or -1
  void Flip(int column);       // reverses the key of that column
  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  int Column(int position) const;
  bool Descending(int position) const;
  uint32_t Entry(int position) const { return entries_[static_cast<size_t>(position)]; }

 private:
  std::vector<uint32_t> entries_;
};

class ColumnSort {
 public:
  ColumnSort(LogTable& table, const RegionalSettings& regional);

  TSortIndexList& SortIndex() { return keys_; }
  const TSortIndexList& SortIndex() const { return keys_; }

  // The sort click: updates the keys and sorts. The caller has made sure the
  // table has at least two data rows.
  void ApplySortClick(int column, bool shiftHeld);
  // Sorts rows FixedRows .. RowCount-1 by the keys; fails with
  // "No indexes specified for indexed sort" when there is none.
  void SortByKeys();

  // The year that completes and windows dates of date-style cells; 0, the
  // default, takes it from the system clock when a sort starts.
  void SetCurrentYear(int year) { currentYear_ = year; }

 private:
  LogTable& table_;
  const RegionalSettings& regional_;
  TSortIndexList keys_;
  int currentYear_ = 0;
};

}  // namespace kartex
