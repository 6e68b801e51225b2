#pragma once
// The table's side of a click on the grid's header: whether the table takes
// sort clicks and shows sort marks. The pixel rules are the window's
// (app/header_click_geometry.h).

namespace kartex {

// A sort click sorts only a table with at least one fixed row and at least
// two data rows; otherwise it changes nothing, not even the sort keys.
inline bool TableTakesSortClicks(int fixedRows, int rowCount) {
  return fixedRows >= 1 && rowCount > 2;
}

// Sort marks are shown while the table has more than two rows.
inline bool ShowsSortMarks(int rowCount) { return rowCount > 2; }

}  // namespace kartex
