#include "country/dxcc_fill.h"

#include <string>
#include <utility>
#include <vector>

#include "country/call_cache.h"

namespace kartex {

DxccFillResult FillDxcc(LogTable& table, const LogColumns& columns, const CallResolver& resolver) {
  DxccFillResult result;
  if (columns.call < 0 || columns.dxcc < 0) return result;

  // First every row's number, then the writes: a write packs its row anew,
  // which the cached call texts must not see.
  std::vector<std::pair<int, int>> numbers;  // row, ADIF number
  {
    CallCache cache(resolver);
    const int rows = table.RowCount();
    for (int row = 1; row < rows; ++row) {
      if (row + CallCache::kLookAhead < rows &&
          table.CellText(columns.dxcc, row + CallCache::kLookAhead).empty()) {
        cache.Prefetch(table.CellText(columns.call, row + CallCache::kLookAhead));
      }
      if (!IsContactRow(table, row) || !table.CellText(columns.dxcc, row).empty()) continue;
      const CtyCountry* country = cache.Match(table.CellText(columns.call, row)).country;
      if (country == nullptr) {
        ++result.noCountry;
      } else if (country->adifNumber == 0) {
        ++result.noAdifNumber;
      } else {
        numbers.emplace_back(row, country->adifNumber);
      }
    }
  }

  TableUpdate update(table);
  for (const auto& [row, number] : numbers) {
    table.SetCellText(columns.dxcc, row, std::to_string(number));
  }
  result.filled = static_cast<int>(numbers.size());
  return result;
}

}  // namespace kartex
