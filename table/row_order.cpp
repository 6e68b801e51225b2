#include "table/row_order.h"

#include <bit>
#include <string_view>
#include <utility>

#include "table/sort_compare.h"

namespace kartex {

namespace {

// A row of the range with its sort key in the first key column. The
// partition scans run along an array of these, so the comparisons of the
// first key read memory in order.
struct SortEntry {
  uint64_t key;
  uint32_t row;  // counted from the first row of the range
};

// How the cells of a key column compare. In most columns every cell has the
// same style, and then one 64-bit key per cell, its value in that style,
// compares as the cells do; other columns keep all of each cell's facts.
enum class ColumnKind { Alphabetic, Numbers, Dates, Mixed };

struct KeyColumn {
  int column = 0;
  bool descending = false;
  ColumnKind kind = ColumnKind::Mixed;
  std::vector<uint64_t> keys;       // by row, for a further key of one style
  std::vector<KeyCellFacts> facts;  // by row, for a mixed column
};

uint64_t KeyOf(double value) { return std::bit_cast<uint64_t>(value); }
double ValueOf(uint64_t key) { return std::bit_cast<double>(key); }

// Works out how the cells of rows first + i (i < count) of key.column
// compare: writes each cell's key through keyAt(i) and sets key.kind, or,
// when the column mixes styles, fills key.facts.
template <typename KeyAt>
void PrepareColumn(const LogTable& table, int first, uint32_t count,
                   const RegionalSettings& regional, int year, KeyColumn& key, KeyAt keyAt) {
  auto text = [&](uint32_t i) { return table.Row(first + static_cast<int>(i)).Cell(key.column); };
  unsigned styles = 0;
  bool numberFailed = false;
  for (uint32_t i = 0; i < count; ++i) {
    const std::string_view cell = text(i);
    const SortStyle style = DetectSortStyle(cell, regional);
    styles |= 1u << static_cast<unsigned>(style);
    switch (style) {
      case SortStyle::Alphabetic:
        keyAt(i) = SortPrefix(cell);
        break;
      case SortStyle::Numeric: {
        const NumberConversion number = SortNumber(cell, regional);
        numberFailed = numberFailed || !number.ok;
        keyAt(i) = KeyOf(number.value);
        break;
      }
      case SortStyle::Date:
        keyAt(i) = KeyOf(SortDate(cell, regional, year));
        break;
    }
  }
  // Between two failed conversions the numeric comparison finds equality,
  // which the values alone do not tell.
  if (styles == 1u << static_cast<unsigned>(SortStyle::Alphabetic)) {
    key.kind = ColumnKind::Alphabetic;
  } else if (styles == 1u << static_cast<unsigned>(SortStyle::Numeric) && !numberFailed) {
    key.kind = ColumnKind::Numbers;
  } else if (styles == 1u << static_cast<unsigned>(SortStyle::Date)) {
    key.kind = ColumnKind::Dates;
  } else {
    key.kind = ColumnKind::Mixed;
    key.facts.resize(count);
    for (uint32_t i = 0; i < count; ++i) key.facts[i] = PrepareKeyCell(text(i), regional, year);
  }
}

// CompareRowsByKeys of two rows of the range, from their keys and facts.
class RowComparison {
 public:
  RowComparison(const LogTable& table, const std::vector<SortKey>& keys, int first,
                const RegionalSettings& regional, int year, std::vector<SortEntry>& entries)
      : table_(table), first_(first) {
    const auto count = static_cast<uint32_t>(entries.size());
    for (uint32_t i = 0; i < count; ++i) entries[i].row = i;
    columns_.resize(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
      KeyColumn& column = columns_[k];
      column.column = keys[k].column;
      column.descending = keys[k].descending;
      if (k == 0) {
        PrepareColumn(table, first, count, regional, year, column,
                      [&](uint32_t i) -> uint64_t& { return entries[i].key; });
      } else {
        column.keys.resize(count);
        PrepareColumn(table, first, count, regional, year, column,
                      [&](uint32_t i) -> uint64_t& { return column.keys[i]; });
        if (column.kind == ColumnKind::Mixed) std::vector<uint64_t>().swap(column.keys);
      }
    }
  }

  int operator()(const SortEntry& a, const SortEntry& b) const {
    if (columns_.empty()) return 0;
    const int v = Compare(columns_[0], a.key, b.key, a.row, b.row);
    if (v != 0) return v;
    // Rows equal on one key are ordered by the next key of the list.
    for (size_t k = 1; k < columns_.size(); ++k) {
      const KeyColumn& column = columns_[k];
      const bool keyed = column.kind != ColumnKind::Mixed;
      const int w = Compare(column, keyed ? column.keys[a.row] : 0, keyed ? column.keys[b.row] : 0,
                            a.row, b.row);
      if (w != 0) return w;
    }
    return 0;
  }

 private:
  int Compare(const KeyColumn& column, uint64_t keyA, uint64_t keyB, uint32_t rowA,
              uint32_t rowB) const {
    int v = 0;
    switch (column.kind) {
      case ColumnKind::Alphabetic:
        v = ComparePrefixes(keyA, keyB);
        break;
      case ColumnKind::Numbers:
      case ColumnKind::Dates:
        v = ThreeWay(ValueOf(keyA), ValueOf(keyB));
        break;
      case ColumnKind::Mixed:
        v = CompareKeyFacts(column.facts[rowA], column.facts[rowB]);
        break;
    }
    if (v == kTextsDecide) v = CompareTexts(Text(column.column, rowA), Text(column.column, rowB));
    return column.descending ? -v : v;
  }
  std::string_view Text(int column, uint32_t row) const {
    return table_.Row(first_ + static_cast<int>(row)).Cell(column);
  }

  const LogTable& table_;
  const int first_;
  std::vector<KeyColumn> columns_;
};

// The scans of a partition, a block of entries at a time from each end for as
// long as the two blocks do not meet, with exactly the exchanges of the plain
// loop: the k-th entry from the left at which the upward scan stops is
// exchanged with the k-th from the right at which the downward scan stops.
// The outcomes of a block's comparisons are collected without a branch on
// them; as good as random in a sort, such branches are mispredicted half
// the time. Leaves i and j where the plain scans would be; returns true when
// an exchange has already ended the partition.
bool ScanInBlocks(std::vector<SortEntry>& entries, const RowComparison& compare,
                  const SortEntry& pivot, int& i, int& j) {
  constexpr int kBlock = 64;
  uint8_t left[kBlock], right[kBlock];  // the stops of a block, as offsets
  int leftBase = i, leftCount = 0, leftTaken = 0;
  int rightBase = j, rightCount = 0, rightTaken = 0;
  auto at = [&](int k) -> SortEntry& { return entries[static_cast<size_t>(k)]; };
  for (;;) {
    const bool fillLeft = leftTaken == leftCount, fillRight = rightTaken == rightCount;
    const int leftLast = (fillLeft ? i : leftBase) + kBlock - 1;
    const int rightFirst = (fillRight ? j : rightBase) - kBlock + 1;
    if (leftLast >= rightFirst) return false;
    if (fillLeft) {
      leftBase = i;
      leftCount = leftTaken = 0;
      for (int k = 0; k < kBlock; ++k) {
        left[leftCount] = static_cast<uint8_t>(k);
        leftCount += compare(pivot, at(leftBase + k)) != 1;
      }
    }
    if (fillRight) {
      rightBase = j;
      rightCount = rightTaken = 0;
      for (int k = 0; k < kBlock; ++k) {
        right[rightCount] = static_cast<uint8_t>(k);
        rightCount += compare(at(rightBase - k), pivot) != 1;
      }
    }
    for (; leftTaken < leftCount && rightTaken < rightCount; ++leftTaken, ++rightTaken) {
      const int l = leftBase + left[leftTaken];
      const int r = rightBase - right[rightTaken];
      std::swap(at(l), at(r));
      i = l + 1;
      j = r - 1;
      if (i > j) return true;
    }
    // A block without further stops has been scanned through.
    if (leftTaken == leftCount) i = leftBase + kBlock;
    if (rightTaken == rightCount) j = rightBase - kBlock;
  }
}

// The partition scheme decides the final order of rows that compare equal,
// so it is kept exactly: middle entry as pivot (a copy, so exchanges never
// change it), scans that stop unless the comparison is exactly 1, exchange
// when i <= j. The recursion is replaced by an explicit stack (the two
// sub-ranges are disjoint, so the order in which they are handled does not
// change the result); the smaller one is handled first so that the stack
// stays short on any data.
void QuickSort(std::vector<SortEntry>& entries, const RowComparison& compare) {
  std::vector<std::pair<int, int>> pending;
  pending.emplace_back(0, static_cast<int>(entries.size()) - 1);
  while (!pending.empty()) {
    const auto [lo, hi] = pending.back();
    pending.pop_back();
    int i = lo;
    int j = hi;
    const SortEntry pivot = entries[static_cast<size_t>(lo + (hi - lo) / 2)];
    if (!ScanInBlocks(entries, compare, pivot, i, j)) {
      do {
        while (i < hi && compare(pivot, entries[static_cast<size_t>(i)]) == 1) ++i;
        while (j > lo && compare(entries[static_cast<size_t>(j)], pivot) == 1) --j;
        if (i <= j) {
          if (i != j) std::swap(entries[static_cast<size_t>(i)], entries[static_cast<size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
    }
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

}  // namespace

std::vector<uint32_t> SortedRowOrder(const LogTable& table, const std::vector<SortKey>& keys,
                                     int first, int last, const RegionalSettings& regional,
                                     int currentYear) {
  std::vector<SortEntry> entries(static_cast<size_t>(last - first + 1));
  {
    const RowComparison compare(table, keys, first, regional, currentYear, entries);
    QuickSort(entries, compare);
  }
  std::vector<uint32_t> order;
  order.reserve(entries.size());
  for (const SortEntry& entry : entries) order.push_back(entry.row);
  return order;
}

}  // namespace kartex
