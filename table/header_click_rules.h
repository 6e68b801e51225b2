#pragma once
// Which mouse releases on the log grid's header are sort clicks, whether the
// table takes sort clicks at all, and where the sort marks of the header are
// drawn. Free of any window toolkit, so the grid widget, the session and the
// tests share them.

namespace kartex {

// Releases this close (in pixels) to a header cell's left or right edge
// belong to column sizing.
constexpr int kColumnSizingZone = 4;

struct HeaderRelease {
  int col = -1, row = -1;               // cell under the release point, -1 beyond the cells
  int pressCol = -1, pressRow = -1;     // cell under the latest left-button press
  int x = 0;                            // release point, grid pixels
  int cellLeft = 0, cellRight = 0;      // horizontal extent of cell (col, row)
  bool endedColumnDrag = false;         // a column width changed during this release
  bool followsEdgeDoubleClick = false;  // first release after a double-click in the sizing zone
};

// True when x lies in the sizing zone of a cell spanning [left, right].
bool InColumnSizingZone(int x, int cellLeft, int cellRight);

// True when the left-button release is a sort click on column release.col:
// on the header row (row 0), pressed on the header row too, outside the
// sizing zone, not ending a width drag or an edge double-click. Whether the
// table takes the click is TableTakesSortClicks's to say.
bool IsSortRelease(const HeaderRelease& release);

// The one rule of the table's side: a sort click sorts only a table with at
// least one fixed row and at least two data rows; otherwise it changes
// nothing, not even the sort keys.
bool TableTakesSortClicks(int fixedRows, int rowCount);

// Sort marks are shown while the table has more than two rows.
bool ShowsSortMarks(int rowCount);

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
SortMarkShape SortMarkAt(int centreX, int cellTop, bool descending);

}  // namespace kartex
