#include "table/column_sort.h"

#include <utility>

#include "table/row_order.h"
#include "table/sort_compare.h"

namespace kartex {

namespace {

constexpr uint32_t kColumnBits = 0x7FFFFFFFu;
constexpr const char* kNoIndexes = "No indexes specified for indexed sort";

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
  const int first = table_.FixedRows();
  const int last = table_.RowCount() - 1;
  if (last <= first) return;  // one data row or none: nothing can move

  // A key beyond the last column reads empty texts: all rows equal on it.
  std::vector<SortKey> keys;
  for (int k = 0; k < keys_.Count(); ++k) {
    if (keys_.Column(k) < table_.ColCount()) keys.push_back({keys_.Column(k), keys_.Descending(k)});
  }
  // One year for the whole sort, so that a sort running over New Year's
  // midnight still compares every date the same way.
  const int year = currentYear_ != 0 ? currentYear_ : SystemCurrentYear();
  const std::vector<uint32_t> order = SortedRowOrder(table_, keys, first, last, regional_, year);

  TableUpdate update(table_);
  table_.ArrangeRows(first, order);
}

}  // namespace kartex
