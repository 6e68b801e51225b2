#pragma once
// The header sort's partition scheme written out directly over a vector of
// rows: the middle row copied as pivot, scans that stop unless the row
// comparison is exactly 1, an exchange while i <= j, then the two sub-ranges.
// Rows compare by CompareKeyCells, key after key. The sort's prepared
// comparisons are checked against it (unit tests and fuzzers).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/regional_settings.h"
#include "table/sort_compare.h"

namespace kartex::testing {

struct ReferenceKey {
  int column;
  bool descending;
  bool operator==(const ReferenceKey&) const = default;
};

struct ReferenceSort {
  using Row = std::vector<std::string>;

  std::vector<ReferenceKey> keys;
  int colCount;
  RegionalSettings regional;
  int year;

  // A column beyond the table's last reads empty.
  std::string_view Cell(const Row& row, int col) const {
    return col < colCount && col < static_cast<int>(row.size()) ? std::string_view(row[col])
                                                                : std::string_view();
  }
  int Compare(size_t k, const Row& a, const Row& b) const {
    const ReferenceKey key = keys[k];
    const int v = CompareKeyCells(Cell(a, key.column), Cell(b, key.column), regional, year);
    if (v == 0 && k + 1 < keys.size()) return Compare(k + 1, a, b);
    return key.descending ? -v : v;
  }
  void Sort(std::vector<Row>& rows, int first, int last) const {
    int i = first;
    int j = last;
    const Row pivot = rows[(first + last) / 2];
    do {
      while (Compare(0, pivot, rows[i]) == 1 && i < last) ++i;
      while (Compare(0, rows[j], pivot) == 1 && j > first) --j;
      if (i <= j) {
        if (i != j) std::swap(rows[i], rows[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (first < j) Sort(rows, first, j);
    if (i < last) Sort(rows, i, last);
  }
};

}  // namespace kartex::testing
