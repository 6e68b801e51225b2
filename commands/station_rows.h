#pragma once
// The shown data rows grouped by station (a distinct CALL text, letter case
// counting): stations in the order of their first shown row, each station's
// rows in table order. The one-card-per-station file and the QSL labels both
// group this way.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "table/log_table.h"

namespace kartex {

class StationRows {
 public:
  StationRows() : begin_(1, 0) {}
  StationRows(const LogTable& table, int callColumn);

  size_t Count() const { return begin_.size() - 1; }
  // The table rows of a station (from 1), in table order.
  std::span<const int> Of(size_t station) const {
    return std::span<const int>(rows_).subspan(begin_[station],
                                               begin_[station + 1] - begin_[station]);
  }
  // The number of rows of the largest station; 0 when none is shown.
  size_t Largest() const;

 private:
  // Flat arrays, so that a log of many stations costs no allocation per
  // station.
  std::vector<uint32_t> begin_;  // where each station's rows start in rows_, and the end
  std::vector<int> rows_;
};

}  // namespace kartex
