#pragma once
// The log table: rows x columns of 8-bit texts behind the window's grid.
// Row 0 holds the header of the loaded log; the cells keep the bytes exactly
// as read from the file (no code-page conversion, no trimming).

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kartex {

// Errors of the table carry its fixed English texts.
class TableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One row: all its cells packed in a single byte buffer with field offsets,
// so a row costs about the bytes of its texts. A row never written holds
// nothing. Rows are moved, never copied cell by cell, when the filter or the
// sort rearranges the table.
class TableRow {
 public:
  TableRow() = default;
  TableRow(const TableRow& other);
  TableRow& operator=(const TableRow& other);
  TableRow(TableRow&&) noexcept = default;
  TableRow& operator=(TableRow&&) noexcept = default;

  // Text of cell col; the empty text beyond the stored fields.
  std::string_view Cell(int col) const;
  // Number of stored fields (cells beyond it read as empty).
  int FieldCount() const;
  void SetCell(int col, std::string_view text);
  // Replaces the whole row by these fields (column 0, 1, ...).
  void Assign(const std::vector<std::string_view>& fields);
  // True when every cell is the empty text.
  bool AllEmpty() const;
  void Clear();

  int height = 20;  // display height in pixels; goes with the row

 private:
  // Layout: [uint32 count][uint32 end offset per field][bytes of the fields].
  std::unique_ptr<char[]> data_;
};

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

  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  std::vector<int> RowHeights() const;

  // Reads the named file into the table from cell (0, 0). Fails with
  // "Cannot open file " + fileName when it cannot be opened.
  void ReadCsvFile(const std::string& fileName);
  void ClearCells();

  std::string_view CellText(int col, int row) const;
  void SetCellText(int col, int row, std::string_view text);
  std::vector<std::string> RowTexts(int row) const;
  void SetRowTexts(int row, const std::vector<std::string>& texts);
  bool RowIsEmpty(int row) const;
  void DeleteRows(int firstRow, int count);

  // Whole-row operations for the filter and the sort; O(1) apart from CopyRow.
  void ExchangeRows(int a, int b);
  void CopyRow(int from, int to);
  TableRow TakeRow(int row);
  void PutRow(int row, TableRow&& content);
  const TableRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }

  // Repaint suspension: changes inside Begin/EndUpdate reach the observer as
  // one TableAboutToChange/TableChanged pair. Calls nest.
  void BeginUpdate();
  void EndUpdate();
  void SetObserver(TableObserver* observer) { observer_ = observer; }
  // Called with a row's present index just before DeleteRows takes it out
  // (the row filter keeps its hidden rows in place with it).
  void SetRowRemovalHook(std::function<void(int row)> hook) { rowRemovalHook_ = std::move(hook); }

 private:
  void NotifyAboutToChange();
  void NotifyChanged();

  std::vector<TableRow> rows_;
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
