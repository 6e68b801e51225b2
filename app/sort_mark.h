#pragma once
// What the grid's model tells its header about a column's sort mark:
// headerData(column, Qt::Horizontal, kSortMarkRole) holds a SortMark for a
// key column while the table shows marks, and nothing otherwise.

#include <QMetaType>
#include <Qt>

namespace kartex {

inline constexpr int kSortMarkRole = Qt::UserRole + 1;

struct SortMark {
  int position = 0;  // the key's place in the sort key list, from 1
  bool descending = false;
};

}  // namespace kartex

Q_DECLARE_METATYPE(kartex::SortMark)
