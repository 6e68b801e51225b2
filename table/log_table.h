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

#include "table/malloc_buffer.h"

namespace kartex {

class RowBufferPool;

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
  // Number of stored fields (cells beyond it read as empty). Trailing empty
  // cells are not stored, so this is one past the last non-empty cell.
  int FieldCount() const;
  // The whole row at once, for writers that visit every cell: the stored
  // cells' texts back to back, and the end offset of each cell in that text
  // (FieldCount() values written to ends; cell k starts where k - 1 ends).
  std::string_view StoredText() const;
  void StoredEnds(uint32_t* ends) const;
  void SetCell(int col, std::string_view text);
  // Replaces the whole row by these fields (column 0, 1, ...).
  void Assign(const std::vector<std::string_view>& fields);
  // Replaces the whole row by count fields given as one text and the end
  // offset of each field in it (field k is text[ends[k-1], ends[k]), from 0
  // for the first). The reader builds rows this way, without a string per
  // field.
  // With a pool the buffer comes from the pool's large blocks (see
  // RowBufferPool in log_table.cpp).
  void AssignPacked(const char* text, const uint32_t* ends, size_t count,
                    RowBufferPool* pool = nullptr);
  // The same for a line whose fields were split over the line itself: buffer
  // (capacity bytes, from std::malloc) holds the fields' text from its start,
  // and becomes the row's own buffer with the header put before the text.
  // For long lines, which are then not held twice.
  void AdoptPacked(MallocBuffer buffer, size_t capacity, const uint32_t* ends, size_t count);
  // Keeps only the first count cells.
  void Truncate(int count);
  // True when every cell is the empty text.
  bool AllEmpty() const { return data_ == nullptr; }
  void Clear() { data_.reset(); }
  // Takes the cells of other, which is left empty; the height stays.
  void TakeCellsFrom(TableRow& other) { data_ = std::move(other.data_); }
  // Bytes held on the heap for the cells.
  size_t HeapBytes() const;

  int height = 20;  // display height in pixels; goes with the row

 private:
  // Layout: [1 byte: width w of the numbers (1, 2 or 4), plus kPooled when
  // the buffer lies in a pool block][field count: w bytes][end offset of each
  // field: w bytes each][bytes of the fields]. w is the smallest width that
  // holds both the field count and the text length, so a typical log row
  // spends one byte per cell on bookkeeping. Trailing empty cells are never
  // stored; a row without text holds no buffer at all.
  static constexpr unsigned char kPooled = 0x80;
  struct BufferDeleter {
    void operator()(char* buffer) const noexcept;
  };
  static size_t Load(const char* p, unsigned width);
  void Pack(const char* text, const uint32_t* ends, size_t count, RowBufferPool* pool);
  unsigned Width() const { return static_cast<unsigned char>(data_[0]) & ~unsigned{kPooled}; }
  size_t StoredCount() const { return Load(data_.get() + 1, Width()); }
  size_t End(size_t field) const;
  const char* Text() const;

  std::unique_ptr<char[], BufferDeleter> data_;
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
  void ExchangeRows(int a, int b);
  void CopyRow(int from, int to);
  TableRow TakeRow(int row);
  void PutRow(int row, TableRow&& content);
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
  class ChangeScope;  // brackets one change with the observer calls
  void NotifyAboutToChange();
  void NotifyChanged();
  void CheckRow(int row) const;
  void ApplyRowCount(int count);
  void PutReadLine(int row, TableRow& read, int fields);

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
