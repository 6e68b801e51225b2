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

struct MarkBox {
  int left, top, width, height;
};

// A sort mark: a red triangle (up for ascending, down for descending) and,
// right of it, a red box in which the key's place in the key list is written
// light on the red, in digits 8 pixels or more tall.
struct SortMarkShape {
  MarkPoint corners[3];
  MarkBox digitsBox;
};

// How far a mark reaches right of its triangle's centre: the box beside the
// triangle holds digitsWidth pixels of digits with 2 pixels on either side.
inline int SortMarkWidth(int digitsWidth) { return 8 + digitsWidth + 4; }

// The mark whose triangle is centred at centreX, in a header cell whose top
// is cellTop.
inline SortMarkShape SortMarkAt(int centreX, int cellTop, bool descending, int digitsWidth) {
  const int x = centreX;
  const int y = cellTop + 8;
  const MarkBox box{x + 8, cellTop + 4, digitsWidth + 4, 13};
  if (descending) return {{{x - 7, y - 5}, {x + 7, y - 5}, {x, y + 8}}, box};
  return {{{x - 6, y + 8}, {x + 6, y + 8}, {x, y - 4}}, box};
}

}  // namespace kartex
