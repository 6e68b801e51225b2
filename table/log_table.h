#pragma once
// The log table: rows x columns of 8-bit texts behind the window's grid.
// Row 0 holds the header of the loaded log; the cells keep the bytes exactly
// as read from the file (no code-page conversion, no trimming).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "table/table_error.h"
#include "table/table_row.h"

namespace kartex {

// Told about changes so that a view can repaint. Begin/End bracket every change
// of the table's shape or row order; CellChanged reports a single edit.
class TableObserver {
 public:
  virtual ~TableObserver() = default;
  virtual void TableAboutToChange() = 0;
  virtual void TableChanged() = 0;
  virtual void CellChanged(int col, int row) = 0;
};

class LogTable {
 public:
  static constexpr int kDefaultRowHeight = 20;

  LogTable(int rowCount = 2, int colCount = 53, int fixedRows = 1);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  void SetRowCount(int count);
  int ColCount() const { return colCount_; }
  void SetColCount(int count);
  int FixedRows() const { return fixedRows_; }
  // Fails with "Fixed row count must be less than row count" or
  // "Grid index out of range"; the value is kept then.
  void SetFixedRows(int count);
  int FixedCols() const { return 0; }
  int FixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(int count) { fixedFooters_ = count; }
  // 0: detect the separator anew for every file.
  char FieldSeparator() const { return fieldSeparator_; }
  void SetFieldSeparator(char separator) { fieldSeparator_ = separator; }

  // Display heights in pixels. They cost nothing while every row keeps the
  // default height, as every row of this program does; a height goes with
  // its row when rows move.
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  std::vector<int> RowHeights() const;

  // Reads the named file into the table from cell (0, 0). Fails with
  // "Cannot open file " + fileName when it cannot be opened. A file of at
  // least kSplitReadBytes is read in two halves at once, on two threads.
  static constexpr uint64_t kSplitReadBytes = uint64_t{4} << 20;
  void ReadCsvFile(const std::string& fileName);
  void ClearCells();

  std::string_view CellText(int col, int row) const;
  void SetCellText(int col, int row, std::string_view text);
  std::vector<std::string> RowTexts(int row) const;
  void SetRowTexts(int row, const std::vector<std::string>& texts);
  bool RowIsEmpty(int row) const;
  void DeleteRows(int firstRow, int count);
  // Removes every row from firstRow on whose cells are all empty, with the
  // result of DeleteRows(row, 1) for each of them in turn, but in one pass
  // over the table. The removal hook is called with each row's present index
  // (the index it has when its turn comes; the hook must not read the table).
  // Returns the number of rows removed.
  int DeleteEmptyRows(int firstRow);

  // Whole-row operations for the filter and the sort; O(1) apart from CopyRow.
  // ExchangeRows swaps two rows with their heights. CopyRow copies the cells
  // only; the target keeps its height. TakeRow moves a row (cells and height)
  // out and leaves an empty row of the default height in its place; PutRow
  // moves one in (cells and height), replacing what the row held. None of
  // them changes RowCount.
  struct HeldRow {
    TableRow cells;
    int height = kDefaultRowHeight;
  };
  void ExchangeRows(int a, int b);
  void CopyRow(int from, int to);
  HeldRow TakeRow(int row);
  void PutRow(int row, HeldRow&& content);
  // Puts row first + sourceOf[i] at first + i, for every i: each row moves
  // once, whole, with its height, as one change. sourceOf must be an
  // arrangement of 0 .. sourceOf.size() - 1 (std::invalid_argument
  // otherwise, nothing moved).
  void ArrangeRows(int first, const std::vector<uint32_t>& sourceOf);
  const TableRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }

  // Repaint suspension: changes inside Begin/EndUpdate reach the observer as
  // one TableAboutToChange/TableChanged pair. Calls nest; the pair is sent
  // around the outermost update, TableAboutToChange just before its first
  // change, so an update that changes nothing sends nothing. Cell edits inside
  // an update are covered by the pair and send no CellChanged.
  void BeginUpdate();
  void EndUpdate();
  void SetObserver(TableObserver* observer) { observer_ = observer; }
  // Called with a row's present index just before DeleteRows takes it out
  // (the row filter keeps its hidden rows in place with it).
  void SetRowRemovalHook(std::function<void(int row)> hook) { rowRemovalHook_ = std::move(hook); }

 private:
  // Sends TableAboutToChange before a change and TableChanged after it (also
  // when the change ends in an exception); inside an update only the first
  // change of the update reaches the observer, and EndUpdate sends the rest.
  class ChangeScope {
   public:
    explicit ChangeScope(LogTable& table) : table_(table) { table_.NotifyAboutToChange(); }
    ~ChangeScope() { table_.NotifyChanged(); }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

   private:
    LogTable& table_;
  };
  void NotifyAboutToChange();
  void NotifyChanged();
  void CheckRow(int row) const;
  void ApplyRowCount(int count);
  void PutReadLine(int row, TableRow& read, int fields);

  std::vector<TableRow> rows_;
  std::vector<int> heights_;  // empty while every row has the default height
  int colCount_ = 1;
  int fixedRows_ = 0;
  int fixedFooters_ = 0;
  char fieldSeparator_ = 0;
  int updateDepth_ = 0;
  bool changedInUpdate_ = false;
  TableObserver* observer_ = nullptr;
  std::function<void(int)> rowRemovalHook_;
};

// RAII form of BeginUpdate/EndUpdate.
class TableUpdate {
 public:
  explicit TableUpdate(LogTable& table) : table_(table) { table_.BeginUpdate(); }
  ~TableUpdate() { table_.EndUpdate(); }
  TableUpdate(const TableUpdate&) = delete;
  TableUpdate& operator=(const TableUpdate&) = delete;

 private:
  LogTable& table_;
};

}  // namespace kartex
