#pragma once
// The pixel rules of the log grid's header: which mouse releases are sort
// clicks, and where a sort mark is drawn. Plain C++ without Qt, so that the
// rules are tested on their own (tests/app_geometry).

#include <cstdlib>

namespace kartex {

// Releases this close (in pixels) to a header cell's left or right edge
// belong to column sizing.
inline constexpr int kColumnSizingZone = 4;

struct HeaderRelease {
  int col = -1, row = -1;               // cell under the release point, -1 beyond the cells
  int pressCol = -1, pressRow = -1;     // cell under the latest left-button press
  int x = 0;                            // release point, grid pixels
  int cellLeft = 0, cellRight = 0;      // horizontal extent of cell (col, row)
  bool endedColumnDrag = false;         // a column width changed during this release
  bool followsEdgeDoubleClick = false;  // first release after a double-click in the sizing zone
};

// True when x lies in the sizing zone of a cell spanning [left, right].
inline bool InColumnSizingZone(int x, int cellLeft, int cellRight) {
  return std::abs(x - cellLeft) < kColumnSizingZone || std::abs(x - cellRight) < kColumnSizingZone;
}

// True when the left-button release is a sort click on column release.col:
// on the header row (row 0), pressed on the header row too, outside the
// sizing zone, not ending a width drag or an edge double-click. Whether the
// table takes the click is TableTakesSortClicks's to say.
inline bool IsSortRelease(const HeaderRelease& release) {
  constexpr int kSortRow = 0;  // the header row is the row whose clicks sort
  if (release.col == -1 || release.row == -1) return false;
  if (release.endedColumnDrag) return false;
  if (release.followsEdgeDoubleClick) return false;
  if (release.row == 0 && InColumnSizingZone(release.x, release.cellLeft, release.cellRight))
    return false;
  return release.row == kSortRow && release.pressRow == kSortRow;
}

struct MarkPoint {
  int x, y;
};

// A sort mark: a triangle (up for ascending, down for descending) and the
// origin of the key's position number beside it.
struct SortMarkShape {
  MarkPoint corners[3];
  MarkPoint digitsOrigin;
};

// The mark centred at x, 8 pixels below the top of the header cell.
inline SortMarkShape SortMarkAt(int centreX, int cellTop, bool descending) {
  const int x = centreX;
  const int y = cellTop + 8;
  if (descending) return {{{x - 7, y - 5}, {x + 7, y - 5}, {x, y + 8}}, {x - 2, y - 4}};
  return {{{x - 6, y + 8}, {x + 6, y + 8}, {x, y - 4}}, {x - 2, y - 2}};
}

}  // namespace kartex
