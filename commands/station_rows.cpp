#include "station_rows.h"

#include <algorithm>

#include "table/row_groups.h"

namespace kartex {
// A counting sort of the rows by station, which keeps table order within
// each station.
StationRows::StationRows(const LogTable& table, int callColumn) {
  const RowGroups groups = GroupRowsByText(table, callColumn);
  const size_t stations = groups.Count();
  const std::vector<uint32_t>& stationOfRow = groups.groupOfRow;
  begin_.assign(stations + 1, 0);
  for (uint32_t station : stationOfRow) ++begin_[station + 1];
  for (size_t station = 0; station < stations; ++station) begin_[station + 1] += begin_[station];
  std::vector<uint32_t> next(begin_.begin(), begin_.end() - 1);
  rows_.resize(stationOfRow.size());
  for (size_t i = 0; i < stationOfRow.size(); ++i)
    rows_[next[stationOfRow[i]]++] = static_cast<int>(i) + 1;
}

size_t StationRows::Largest() const {
  size_t largest = 0;
  for (size_t station = 0; station < Count(); ++station)
    largest = std::max(largest, Of(station).size());
  return largest;
}

}  // namespace kartex
