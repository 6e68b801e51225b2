#pragma once
// The packed row of the log table: every cell of a row in one byte buffer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "table/malloc_buffer.h"

namespace kartex {

class RowBufferPool;

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
  // RowBufferPool in row_buffer_pool.h).
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
  // Takes the cells of other, which is left empty.
  void TakeCellsFrom(TableRow& other) { data_ = std::move(other.data_); }
  // Bytes held on the heap for the cells.
  size_t HeapBytes() const;

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

}  // namespace kartex
