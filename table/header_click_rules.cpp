#include "table/header_click_rules.h"

#include <cstdlib>

namespace kartex {

bool InColumnSizingZone(int x, int cellLeft, int cellRight) {
  return std::abs(x - cellLeft) < kColumnSizingZone || std::abs(x - cellRight) < kColumnSizingZone;
}

bool IsSortRelease(const HeaderRelease& release) {
  constexpr int kSortRow = 0;  // the header row is the row whose clicks sort
  if (release.col == -1 || release.row == -1) return false;
  if (release.endedColumnDrag) return false;
  if (release.followsEdgeDoubleClick) return false;
  if (release.row == 0 && InColumnSizingZone(release.x, release.cellLeft, release.cellRight))
    return false;
  return release.row == kSortRow && release.pressRow == kSortRow;
}

bool TableTakesSortClicks(int fixedRows, int rowCount) { return fixedRows >= 1 && rowCount > 2; }

bool ShowsSortMarks(int rowCount) { return rowCount > 2; }

SortMarkShape SortMarkAt(int centreX, int cellTop, bool descending) {
  const int x = centreX;
  const int y = cellTop + 8;
  if (descending) return {{{x - 7, y - 5}, {x + 7, y - 5}, {x, y + 8}}, {x - 2, y - 4}};
  return {{{x - 6, y + 8}, {x + 6, y + 8}, {x, y - 4}}, {x - 2, y - 2}};
}

}  // namespace kartex
