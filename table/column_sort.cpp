#include "table/column_sort.h"

#include <utility>

#include "table/sort_compare.h"

namespace kartex {

namespace {

constexpr uint32_t kColumnBits = 0x7FFFFFFFu;
constexpr const char* kNoIndexes = "No indexes specified for indexed sort";

// Rows added after the last data row while a sort runs; the first holds
// the pivot copy.
constexpr int kScratchRows = 3;

}  // namespace

// ---------------------------------------------------------------- TSortIndexList

void TSortIndexList::Append(int column, bool descending) {
  entries_.push_back((static_cast<uint32_t>(column) & kColumnBits) |
                     (descending ? kDescendingBit : 0u));
}

int TSortIndexList::Find(int column) const {
  const uint32_t wanted = static_cast<uint32_t>(column) & kColumnBits;
  for (size_t k = 0; k < entries_.size(); ++k)
    if ((entries_[k] & kColumnBits) == wanted) return static_cast<int>(k);
  return -1;
}

void TSortIndexList::Flip(int column) {
  const int position = Find(column);
  if (position >= 0) entries_[static_cast<size_t>(position)] ^= kDescendingBit;
}

int TSortIndexList::Column(int position) const {
  return static_cast<int>(entries_[static_cast<size_t>(position)] & kColumnBits);
}

bool TSortIndexList::Descending(int position) const {
  return (entries_[static_cast<size_t>(position)] & kDescendingBit) != 0;
}

// ---------------------------------------------------------------- ColumnSort

ColumnSort::ColumnSort(LogTable& table, const RegionalSettings& regional)
    : table_(table), regional_(regional) {}

void ColumnSort::ApplySortClick(int column, bool shiftHeld) {
  if (shiftHeld) {
    // A further key, or the reversal of a key already in the list.
    if (keys_.Find(column) >= 0)
      keys_.Flip(column);
    else
      keys_.Append(column);
  } else if (keys_.Count() == 1 && keys_.Column(0) == column) {
    keys_.Flip(column);
  } else {
    keys_.Clear();
    keys_.Append(column);
  }
  SortByKeys();
}

void ColumnSort::SortByKeys() {
  if (keys_.Count() == 0) throw TableError(kNoIndexes);
  const int rowCount = table_.RowCount();
  const int first = table_.FixedRows();
  const int last = rowCount - 1;
  // One data row or none: nothing can move. Returning here also keeps the
  // scratch rows from touching the fixed-row rule of a header-only table.
  if (last <= first) return;

  // One year for the whole sort, so that a sort running over New Year's
  // midnight still compares every date the same way.
  sortYear_ = currentYear_ != 0 ? currentYear_ : SystemCurrentYear();
  TableUpdate update(table_);
  table_.SetRowCount(rowCount + kScratchRows);
  try {
    QuickSort(first, last, rowCount);
  } catch (...) {
    sortYear_ = 0;
    table_.SetRowCount(rowCount);
    throw;
  }
  sortYear_ = 0;
  // Shrinking drops the scratch rows together with the pivot copy.
  table_.SetRowCount(rowCount);
}

int ColumnSort::CompareRowsByKeys(int k, int a, int b) const {
  const int count = keys_.Count();
  const int colCount = table_.ColCount();
  const int year = sortYear_ != 0 ? sortYear_ : currentYear_;
  const TableRow& rowA = table_.Row(a);
  const TableRow& rowB = table_.Row(b);
  // Rows equal on one key are ordered by the next key of the list.
  for (; k < count; ++k) {
    const uint32_t entry = keys_.Entry(k);
    const int column = static_cast<int>(entry & kColumnBits);
    // A key beyond the last column reads empty texts: all rows equal on it.
    if (column >= colCount) continue;
    const int v = CompareKeyCells(rowA.Cell(column), rowB.Cell(column), regional_, year);
    if (v != 0) return (entry & TSortIndexList::kDescendingBit) ? -v : v;
  }
  return 0;
}

int ColumnSort::ComparePivotWithRow(int row) const {
  const TableRow& other = table_.Row(row);
  for (const PivotKey& key : pivotKeys_) {
    if (!key.inTable) continue;
    const int v = CompareKeyCells(key.cell, other.Cell(key.column), regional_, sortYear_);
    if (v != 0) return key.descending ? -v : v;
  }
  return 0;
}

int ColumnSort::CompareRowWithPivot(int row) const {
  const TableRow& other = table_.Row(row);
  for (const PivotKey& key : pivotKeys_) {
    if (!key.inTable) continue;
    const int v = CompareKeyCells(other.Cell(key.column), key.cell, regional_, sortYear_);
    if (v != 0) return key.descending ? -v : v;
  }
  return 0;
}

void ColumnSort::PreparePivot(int pivotRow) {
  const TableRow& pivot = table_.Row(pivotRow);
  const int colCount = table_.ColCount();
  pivotKeys_.resize(static_cast<size_t>(keys_.Count()));
  for (int k = 0; k < keys_.Count(); ++k) {
    PivotKey& key = pivotKeys_[static_cast<size_t>(k)];
    key.column = keys_.Column(k);
    key.descending = keys_.Descending(k);
    key.inTable = key.column < colCount;
    if (key.inTable) key.cell = PrepareKeyCell(pivot.Cell(key.column), regional_, sortYear_);
  }
}

// The partition scheme decides the final order of rows that compare equal,
// so it is kept exactly: middle row as pivot, scans that stop unless the
// comparison is exactly 1, exchange when i <= j. The recursion is replaced by
// an explicit stack (the two sub-ranges are disjoint, so the order in which
// they are handled does not change the result); the smaller one is handled
// first so that the stack stays short on any data.
void ColumnSort::QuickSort(int first, int last, int pivotRow) {
  std::vector<std::pair<int, int>> pending;
  pending.emplace_back(first, last);
  while (!pending.empty()) {
    const auto [lo, hi] = pending.back();
    pending.pop_back();
    int i = lo;
    int j = hi;
    table_.CopyRow(lo + (hi - lo) / 2, pivotRow);
    // The pivot copy does not change during the partition: its style and
    // values are worked out once (the results are those of comparing the
    // texts afresh each time).
    PreparePivot(pivotRow);
    do {
      while (i < hi && ComparePivotWithRow(i) == 1) ++i;
      while (j > lo && CompareRowWithPivot(j) == 1) --j;
      if (i <= j) {
        if (i != j) table_.ExchangeRows(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    const bool left = lo < j;
    const bool right = i < hi;
    if (left && right) {
      // Push the larger range first so the smaller one is handled next.
      if (j - lo > hi - i) {
        pending.emplace_back(lo, j);
        pending.emplace_back(i, hi);
      } else {
        pending.emplace_back(i, hi);
        pending.emplace_back(lo, j);
      }
    } else if (left) {
      pending.emplace_back(lo, j);
    } else if (right) {
      pending.emplace_back(i, hi);
    }
  }
}

}  // namespace kartex
