#pragma once
// The order that the header sort gives a range of rows: the quicksort scheme
// of the sort, run over the rows' comparison facts instead of the rows.

#include <cstdint>
#include <vector>

#include "log_table.h"
#include "regional_settings.h"

namespace kartex {

struct SortKey {
  int column;  // a column of the table
  bool descending;
};

// The rows first .. last in sorted order: entry i is the row (counted from
// first) that belongs at first + i. The order is exactly that of the
// quicksort scheme on the rows themselves, rows that compare equal included.
// currentYear completes dates as in ReadDateTime (0: the system clock).
std::vector<uint32_t> SortedRowOrder(const LogTable& table, const std::vector<SortKey>& keys,
                                     int first, int last, const RegionalSettings& regional,
                                     int currentYear);

}  // namespace kartex
