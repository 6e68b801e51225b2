#include "station_rows.h"

#include <algorithm>

#include "table/text_index.h"

namespace kartex {
namespace {

// The station of each data row (from 0, in the order of first rows).
std::vector<uint32_t> NumberStations(const LogTable& table, int callColumn, size_t& stations) {
  const size_t dataRows = table.RowCount() > 1 ? static_cast<size_t>(table.RowCount() - 1) : 0;
  std::vector<std::string_view> calls;  // of each station
  std::vector<uint32_t> stationOfRow(dataRows);
  auto callOf = [&calls](uint32_t station) { return calls[station]; };
  TextIndex<decltype(callOf)> stationOfCall(callOf, dataRows);
  for (size_t i = 0; i < dataRows; ++i) {
    const std::string_view call = table.CellText(callColumn, static_cast<int>(i) + 1);
    const auto [station, inserted] =
        stationOfCall.Insert(call, static_cast<uint32_t>(calls.size()));
    if (inserted) calls.push_back(call);
    stationOfRow[i] = station;
  }
  stations = calls.size();
  return stationOfRow;
}

}  // namespace

// A counting sort of the rows by station, which keeps table order within
// each station.
StationRows::StationRows(const LogTable& table, int callColumn) {
  size_t stations = 0;
  const std::vector<uint32_t> stationOfRow = NumberStations(table, callColumn, stations);
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
