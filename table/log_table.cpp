#include "table/log_table.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace kartex {

namespace {

constexpr const char* kIndexOutOfRange = "Grid index out of range";

// A row of the table costs one pointer besides its text: the heights live
// apart and take no room while every row has the default one.
static_assert(sizeof(TableRow) == sizeof(void*));

}  // namespace

LogTable::LogTable(int rowCount, int colCount, int fixedRows) {
  if (fixedRows < 0) throw TableError(kIndexOutOfRange);
  rows_.resize(1);
  colCount_ = std::max(colCount, 1);
  fixedRows_ = fixedRows;
  // The row count rule brings the fixed rows below the row count.
  ApplyRowCount(rowCount);
}

void LogTable::NotifyAboutToChange() {
  if (updateDepth_ > 0) {
    if (changedInUpdate_) return;
    changedInUpdate_ = true;
  }
  if (observer_) observer_->TableAboutToChange();
}

void LogTable::NotifyChanged() {
  if (updateDepth_ == 0 && observer_) observer_->TableChanged();
}

void LogTable::BeginUpdate() { ++updateDepth_; }

void LogTable::EndUpdate() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0 && changedInUpdate_) {
    changedInUpdate_ = false;
    if (observer_) observer_->TableChanged();
  }
}

void LogTable::CheckRow(int row) const {
  if (row < 0 || row >= RowCount()) throw TableError(kIndexOutOfRange);
}

void LogTable::ApplyRowCount(int count) {
  count = std::max(count, 1);
  if (count <= fixedRows_) fixedRows_ = count - 1;
  rows_.resize(static_cast<size_t>(count));
  if (!heights_.empty()) heights_.resize(static_cast<size_t>(count), kDefaultRowHeight);
}

void LogTable::SetRowCount(int count) {
  if (std::max(count, 1) == RowCount()) return;
  ChangeScope change(*this);
  ApplyRowCount(count);
}

void LogTable::SetColCount(int count) {
  count = std::max(count, 1);
  if (count == colCount_) return;
  ChangeScope change(*this);
  if (count < colCount_) {
    // No text is held beyond the last column, so a later widening shows
    // empty cells there.
    for (TableRow& row : rows_) row.Truncate(count);
  }
  colCount_ = count;
}

void LogTable::SetFixedRows(int count) {
  if (count < 0) throw TableError(kIndexOutOfRange);
  if (count >= RowCount()) throw TableError("Fixed row count must be less than row count");
  if (count == fixedRows_) return;
  ChangeScope change(*this);
  fixedRows_ = count;
}

int LogTable::RowHeight(int row) const {
  CheckRow(row);
  return heights_.empty() ? kDefaultRowHeight : heights_[static_cast<size_t>(row)];
}

void LogTable::SetRowHeight(int row, int height) {
  if (RowHeight(row) == height) return;
  ChangeScope change(*this);
  if (heights_.empty()) heights_.assign(rows_.size(), kDefaultRowHeight);
  heights_[static_cast<size_t>(row)] = height;
}

std::vector<int> LogTable::RowHeights() const {
  if (!heights_.empty()) return heights_;
  return std::vector<int>(rows_.size(), kDefaultRowHeight);
}

void LogTable::ClearCells() {
  ChangeScope change(*this);
  for (TableRow& row : rows_) row.Clear();
}

std::string_view LogTable::CellText(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return {};
  return rows_[static_cast<size_t>(row)].Cell(col);
}

void LogTable::SetCellText(int col, int row, std::string_view text) {
  CheckRow(row);
  if (col < 0 || col >= colCount_) throw TableError(kIndexOutOfRange);
  TableRow& target = rows_[static_cast<size_t>(row)];
  if (target.Cell(col) == text) return;
  if (updateDepth_ > 0) {
    NotifyAboutToChange();
    target.SetCell(col, text);
  } else {
    target.SetCell(col, text);
    if (observer_) observer_->CellChanged(col, row);
  }
}

std::vector<std::string> LogTable::RowTexts(int row) const {
  CheckRow(row);
  const TableRow& source = rows_[static_cast<size_t>(row)];
  std::vector<std::string> texts(static_cast<size_t>(colCount_));
  const int stored = std::min(source.FieldCount(), colCount_);
  for (int k = 0; k < stored; ++k) texts[static_cast<size_t>(k)] = source.Cell(k);
  return texts;
}

void LogTable::SetRowTexts(int row, const std::vector<std::string>& texts) {
  CheckRow(row);
  TableRow& target = rows_[static_cast<size_t>(row)];
  const size_t given = std::min(texts.size(), static_cast<size_t>(colCount_));
  const size_t count =
      std::max(given, static_cast<size_t>(std::min(target.FieldCount(), colCount_)));
  std::vector<std::string_view> fields(count);
  for (size_t k = 0; k < count; ++k) {
    fields[k] = k < given ? std::string_view(texts[k]) : target.Cell(static_cast<int>(k));
  }
  ChangeScope change(*this);
  target.Assign(fields);
}

bool LogTable::RowIsEmpty(int row) const {
  CheckRow(row);
  const TableRow& target = rows_[static_cast<size_t>(row)];
  const int stored = std::min(target.FieldCount(), colCount_);
  for (int k = 0; k < stored; ++k) {
    if (!target.Cell(k).empty()) return false;
  }
  return true;
}

void LogTable::DeleteRows(int firstRow, int count) {
  if (firstRow < 0 || firstRow >= RowCount() || count <= 0) return;
  ChangeScope change(*this);
  // Each removal takes out the row at firstRow; the rows below move up. The
  // table keeps at least one row: removing the last one leaves a blank row,
  // and removing that again changes nothing more.
  if (rowRemovalHook_) {
    // One at a time, so that the hook sees each row in its place.
    for (int i = 0; i < count && firstRow < RowCount(); ++i) {
      rowRemovalHook_(firstRow);
      rows_.erase(rows_.begin() + firstRow);
      if (!heights_.empty()) heights_.erase(heights_.begin() + firstRow);
      const bool emptied = rows_.empty();
      ApplyRowCount(RowCount());
      if (emptied) break;
    }
    return;
  }
  const int removed = std::min(count, RowCount() - firstRow);
  const auto first = rows_.begin() + firstRow;
  rows_.erase(first, first + removed);
  if (!heights_.empty()) {
    heights_.erase(heights_.begin() + firstRow, heights_.begin() + firstRow + removed);
  }
  ApplyRowCount(RowCount());
}

int LogTable::DeleteEmptyRows(int firstRow) {
  const int total = RowCount();
  int w = std::max(firstRow, 0);
  while (w < total && !RowIsEmpty(w)) ++w;
  if (w == total) return 0;  // nothing to remove

  ChangeScope change(*this);
  // Rows that stay are moved up to the write position w; each empty row is
  // at index w when its turn comes, as with one DeleteRows per row.
  for (int j = w; j < total; ++j) {
    if (RowIsEmpty(j)) {
      if (rowRemovalHook_) rowRemovalHook_(w);
      continue;
    }
    if (!heights_.empty()) heights_[static_cast<size_t>(w)] = heights_[static_cast<size_t>(j)];
    rows_[static_cast<size_t>(w++)] = std::move(rows_[static_cast<size_t>(j)]);
  }
  const int removed = total - w;
  rows_.resize(static_cast<size_t>(w));
  if (!heights_.empty()) heights_.resize(static_cast<size_t>(w));
  ApplyRowCount(w);  // an emptied table gets one blank row
  return removed;
}

void LogTable::ExchangeRows(int a, int b) {
  CheckRow(a);
  CheckRow(b);
  if (a == b) return;
  ChangeScope change(*this);
  std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
  if (!heights_.empty())
    std::swap(heights_[static_cast<size_t>(a)], heights_[static_cast<size_t>(b)]);
}

void LogTable::CopyRow(int from, int to) {
  CheckRow(from);
  CheckRow(to);
  if (from == to) return;
  ChangeScope change(*this);
  rows_[static_cast<size_t>(to)] = rows_[static_cast<size_t>(from)];
}

LogTable::HeldRow LogTable::TakeRow(int row) {
  CheckRow(row);
  ChangeScope change(*this);
  HeldRow taken{std::move(rows_[static_cast<size_t>(row)]), RowHeight(row)};
  rows_[static_cast<size_t>(row)] = TableRow();
  if (!heights_.empty()) heights_[static_cast<size_t>(row)] = kDefaultRowHeight;
  return taken;
}

void LogTable::ArrangeRows(int first, const std::vector<uint32_t>& sourceOf) {
  const size_t count = sourceOf.size();
  if (first < 0 || static_cast<size_t>(first) + count > rows_.size()) {
    throw std::invalid_argument("rows to arrange beyond the table");
  }
  std::vector<bool> seen(count, false);
  for (uint32_t source : sourceOf) {
    if (source >= count || seen[source]) throw std::invalid_argument("no arrangement of the rows");
    seen[source] = true;
  }
  ChangeScope change(*this);
  const auto begin = rows_.begin() + first;
  std::vector<TableRow> taken(std::make_move_iterator(begin),
                              std::make_move_iterator(begin + static_cast<ptrdiff_t>(count)));
  for (size_t i = 0; i < count; ++i) rows_[first + i] = std::move(taken[sourceOf[i]]);
  if (heights_.empty()) return;
  const std::vector<int> heights(heights_.begin() + first,
                                 heights_.begin() + first + static_cast<ptrdiff_t>(count));
  for (size_t i = 0; i < count; ++i) heights_[first + i] = heights[sourceOf[i]];
}

void LogTable::PutRow(int row, HeldRow&& content) {
  CheckRow(row);
  ChangeScope change(*this);
  rows_[static_cast<size_t>(row)] = std::move(content.cells);
  if (content.height != RowHeight(row)) {
    if (heights_.empty()) heights_.assign(rows_.size(), kDefaultRowHeight);
    heights_[static_cast<size_t>(row)] = content.height;
  }
}

}  // namespace kartex
