#include "table/log_table.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <optional>
#include <thread>

#include "table/csv_reader.h"

namespace kartex {

namespace {

constexpr const char* kIndexOutOfRange = "Grid index out of range";

template <typename Word>
void StoreAll(char* p, const uint32_t* values, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    const auto v = static_cast<Word>(values[k]);
    std::memcpy(p + k * sizeof(Word), &v, sizeof(Word));
  }
}

template <typename Word>
void LoadAll(const char* p, uint32_t* values, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    Word v;
    std::memcpy(&v, p + k * sizeof(Word), sizeof(Word));
    values[k] = v;
  }
}

void Store(char* p, unsigned width, size_t value) {
  const auto v = static_cast<uint32_t>(value);
  switch (width) {
    case 1:
      StoreAll<uint8_t>(p, &v, 1);
      break;
    case 2:
      StoreAll<uint16_t>(p, &v, 1);
      break;
    default:
      StoreAll<uint32_t>(p, &v, 1);
      break;
  }
}

}  // namespace

// ---------------------------------------------------------- RowBufferPool

// The reader allocates the buffers of the rows it fills from blocks of
// 2 MiB instead of one heap allocation per row. A block is aligned to its
// size, so a buffer finds its block by rounding its address down. A block
// counts its live buffers and goes back to the system with the last one; space of buffers freed
// earlier is not reused (a row that is edited gets an ordinary heap buffer), so a block costs at
// most what the rows read into it took.
class RowBufferPool {
 public:
  static constexpr size_t kBlockSize = size_t{2} << 20;
  // Rows go to ordinary heap buffers until a read has produced this much,
  // so that a small file does not take a whole block.
  static constexpr size_t kStartAfter = size_t{256} << 10;
  // Larger buffers always come from the heap.
  static constexpr size_t kLargestPooled = size_t{64} << 10;

  RowBufferPool() = default;
  ~RowBufferPool() { Close(); }
  RowBufferPool(const RowBufferPool&) = delete;
  RowBufferPool& operator=(const RowBufferPool&) = delete;

  // A buffer of the given size, or nullptr when it should come from the heap.
  char* Allocate(size_t bytes) {
    if (bytes > kLargestPooled) return nullptr;
    if (heapBytes_ < kStartAfter) {
      heapBytes_ += bytes;
      return nullptr;
    }
    if (block_ == nullptr || block_->used + bytes > kBlockSize) {
      Close();
      block_ = NewBlock();
      if (block_ == nullptr) return nullptr;
    }
    char* buffer = reinterpret_cast<char*>(block_) + block_->used;
    block_->used += bytes;
    ++block_->live;
    return buffer;
  }

  static void Free(char* buffer) noexcept {
    auto* block = reinterpret_cast<Block*>(reinterpret_cast<uintptr_t>(buffer) & ~(kBlockSize - 1));
    if (--block->live == 0) ReleaseBlock(block);
  }

 private:
  struct alignas(64) Block {
    size_t live;  // buffers in use, plus one while the pool still fills the block
    size_t used;  // bytes handed out, this header included
  };

  void Close() noexcept {
    if (block_ != nullptr && --block_->live == 0) ReleaseBlock(block_);
    block_ = nullptr;
  }

  static Block* NewBlock() {
    void* memory = ::operator new (kBlockSize, std::align_val_t{kBlockSize}, std::nothrow);
    if (memory == nullptr) return nullptr;
    auto* block = new (memory) Block;
    block->live = 1;
    block->used = sizeof(Block);
    return block;
  }

  static void ReleaseBlock(Block* block) noexcept {
    ::operator delete (block, std::align_val_t{kBlockSize});
  }

  Block* block_ = nullptr;
  size_t heapBytes_ = 0;
};

// ---------------------------------------------------------------- TableRow

void TableRow::BufferDeleter::operator()(char* buffer) const noexcept {
  if (static_cast<unsigned char>(buffer[0]) & kPooled) {
    RowBufferPool::Free(buffer);
  } else {
    std::free(buffer);
  }
}

namespace {

// Heap buffers of rows come from std::malloc, so that a long line's own
// buffer can become its row (TableRow::AdoptPacked).
char* AllocateRowBuffer(size_t bytes) {
  auto* buffer = static_cast<char*>(std::malloc(bytes));
  if (buffer == nullptr) throw std::bad_alloc();
  return buffer;
}

// Drops the trailing empty fields of a split line: they read as empty anyway,
// and not storing them keeps the rule that a row without text holds no buffer.
size_t StoredFields(const uint32_t* ends, size_t count) {
  while (count > 0 && ends[count - 1] == (count > 1 ? ends[count - 2] : 0)) --count;
  return count;
}

// The smallest width of the numbers that holds the field count and the text
// length.
unsigned WidthFor(size_t count, size_t textBytes) {
  const size_t largest = std::max(count, textBytes);
  return largest <= 0xFF ? 1 : largest <= 0xFFFF ? 2 : 4;
}

// The shape of a row's buffer for the split fields of a line: the fields
// stored, the width of the numbers, the header before the text, the size.
struct PackedLayout {
  size_t count;
  size_t textBytes;
  unsigned width;
  size_t header;
  size_t bytes;
};

[[gnu::always_inline]] inline PackedLayout LayoutFor(const uint32_t* ends, size_t count) {
  PackedLayout layout{};
  layout.count = StoredFields(ends, count);
  if (layout.count == 0) return layout;
  layout.textBytes = ends[layout.count - 1];
  layout.width = WidthFor(layout.count, layout.textBytes);
  layout.header = 1 + layout.width * (1 + layout.count);
  layout.bytes = layout.header + layout.textBytes;
  return layout;
}

// Writes the field count and the end offsets after the first byte. Inlined
// into Pack, which runs once for every line read.
[[gnu::always_inline]] inline void WriteHeader(char* p, unsigned w, const uint32_t* ends,
                                               size_t count) {
  Store(p + 1, w, count);
  char* offsets = p + 1 + w;
  switch (w) {
    case 1:
      StoreAll<uint8_t>(offsets, ends, count);
      break;
    case 2:
      StoreAll<uint16_t>(offsets, ends, count);
      break;
    default:
      StoreAll<uint32_t>(offsets, ends, count);
      break;
  }
}

}  // namespace

size_t TableRow::Load(const char* p, unsigned width) {
  switch (width) {
    case 1:
      return static_cast<unsigned char>(*p);
    case 2: {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v;
    }
    default: {
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

size_t TableRow::End(size_t field) const {
  const unsigned w = Width();
  return Load(data_.get() + 1 + w + field * w, w);
}

const char* TableRow::Text() const {
  const unsigned w = Width();
  return data_.get() + 1 + w + StoredCount() * w;
}

size_t TableRow::HeapBytes() const {
  if (!data_) return 0;
  const size_t count = StoredCount();
  return 1 + Width() * (1 + count) + End(count - 1);
}

TableRow::TableRow(const TableRow& other) : height(other.height) {
  if (other.data_) {
    const size_t bytes = other.HeapBytes();
    data_.reset(AllocateRowBuffer(bytes));
    std::memcpy(data_.get(), other.data_.get(), bytes);
    data_[0] = static_cast<char>(other.Width());  // the copy lives on the heap
  }
}

TableRow& TableRow::operator=(const TableRow& other) {
  if (this != &other) {
    TableRow copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void TableRow::Pack(const char* text, const uint32_t* ends, size_t count, RowBufferPool* pool) {
  const PackedLayout layout = LayoutFor(ends, count);
  if (layout.count == 0) {
    data_.reset();
    return;
  }
  const unsigned w = layout.width;
  char* pooled = pool != nullptr ? pool->Allocate(layout.bytes) : nullptr;
  std::unique_ptr<char[], BufferDeleter> buffer(
      pooled != nullptr ? pooled : AllocateRowBuffer(layout.bytes));
  char* p = buffer.get();
  p[0] = static_cast<char>(pooled != nullptr ? (w | kPooled) : w);
  WriteHeader(p, w, ends, layout.count);
  if (layout.textBytes > 0) std::memcpy(p + layout.header, text, layout.textBytes);
  data_ = std::move(buffer);
}

void TableRow::AdoptPacked(MallocBuffer buffer, size_t capacity, const uint32_t* ends,
                           size_t count) {
  const PackedLayout layout = LayoutFor(ends, count);
  if (layout.count == 0) {
    data_.reset();
    return;
  }
  // The text moves up behind the header within the same buffer; beyond the
  // line's own pages only what the header adds is touched.
  if (layout.bytes > capacity) Resize(buffer, layout.bytes);
  char* p = buffer.get();
  std::memmove(p + layout.header, p, layout.textBytes);
  p[0] = static_cast<char>(layout.width);
  WriteHeader(p, layout.width, ends, layout.count);
  // Give back the rest of the line's buffer; should the system not shrink
  // it, the buffer stays as it is.
  if (layout.bytes < capacity) (void)TryResize(buffer, layout.bytes);
  data_.reset(buffer.release());
}

std::string_view TableRow::Cell(int col) const {
  if (!data_ || col < 0) return {};
  const auto c = static_cast<size_t>(col);
  if (c >= StoredCount()) return {};
  const size_t start = c == 0 ? 0 : End(c - 1);
  return {Text() + start, End(c) - start};
}

std::string_view TableRow::StoredText() const {
  if (!data_) return {};
  return {Text(), End(StoredCount() - 1)};
}

void TableRow::StoredEnds(uint32_t* ends) const {
  if (!data_) return;
  const char* offsets = data_.get() + 1 + Width();
  switch (Width()) {
    case 1:
      LoadAll<uint8_t>(offsets, ends, StoredCount());
      break;
    case 2:
      LoadAll<uint16_t>(offsets, ends, StoredCount());
      break;
    default:
      LoadAll<uint32_t>(offsets, ends, StoredCount());
      break;
  }
}

int TableRow::FieldCount() const { return data_ ? static_cast<int>(StoredCount()) : 0; }

void TableRow::AssignPacked(const char* text, const uint32_t* ends, size_t count,
                            RowBufferPool* pool) {
  Pack(text, ends, count, pool);
}

void TableRow::Assign(const std::vector<std::string_view>& fields) {
  std::string text;
  std::vector<uint32_t> ends;
  ends.reserve(fields.size());
  for (std::string_view field : fields) {
    text.append(field);
    if (text.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("row too long");
    ends.push_back(static_cast<uint32_t>(text.size()));
  }
  Pack(text.data(), ends.data(), ends.size(), nullptr);
}

void TableRow::SetCell(int col, std::string_view value) {
  if (col < 0) return;
  const int count = std::max(FieldCount(), col + 1);
  std::vector<std::string_view> fields(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) fields[static_cast<size_t>(k)] = k == col ? value : Cell(k);
  Assign(fields);  // copies everything out of the old buffer before replacing it
}

void TableRow::Truncate(int count) {
  if (!data_ || count >= FieldCount()) return;
  if (count <= 0) {
    data_.reset();
    return;
  }
  std::vector<std::string_view> fields(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) fields[static_cast<size_t>(k)] = Cell(k);
  Assign(fields);
}

// ---------------------------------------------------------------- LogTable

// Sends TableAboutToChange before a change and TableChanged after it (also
// when the change ends in an exception); inside an update only the first
// change of the update reaches the observer, and EndUpdate sends the rest.
class LogTable::ChangeScope {
 public:
  explicit ChangeScope(LogTable& table) : table_(table) { table_.NotifyAboutToChange(); }
  ~ChangeScope() { table_.NotifyChanged(); }
  ChangeScope(const ChangeScope&) = delete;
  ChangeScope& operator=(const ChangeScope&) = delete;

 private:
  LogTable& table_;
};

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
  return rows_[static_cast<size_t>(row)].height;
}

void LogTable::SetRowHeight(int row, int height) {
  CheckRow(row);
  TableRow& target = rows_[static_cast<size_t>(row)];
  if (target.height == height) return;
  ChangeScope change(*this);
  target.height = height;
}

std::vector<int> LogTable::RowHeights() const {
  std::vector<int> heights;
  heights.reserve(rows_.size());
  for (const TableRow& row : rows_) heights.push_back(row.height);
  return heights;
}

namespace {

// The lines of one part of a file, split and packed.
struct ReadLines {
  std::vector<TableRow> rows;
  std::vector<int> fieldCounts;  // 0 for a line without fields
  bool endMark = false;          // stopped at a byte 26
  std::exception_ptr error;      // what stopped the read early
};

void ReadLinesOf(CsvLineReader& reader, char sep, ReadLines& out) noexcept {
  try {
    CsvFieldSplitter splitter;
    RowBufferPool pool;
    std::string_view line;
    while (reader.Next(line)) {
      out.rows.emplace_back();
      TableRow& row = out.rows.back();
      if (reader.LineIsLong()) {
        // Split over the line's own buffer, which then becomes the row.
        size_t capacity = 0;
        MallocBuffer longLine = reader.TakeLongLine(capacity);
        const int fields = splitter.SplitInPlace(longLine, capacity, line.size(), sep);
        out.fieldCounts.push_back(fields);
        if (fields > 0) {
          row.AdoptPacked(std::move(longLine), capacity, splitter.Ends(),
                          static_cast<size_t>(fields));
        }
        continue;
      }
      const int fields = splitter.Split(line, sep);
      out.fieldCounts.push_back(fields);
      if (fields > 0) {
        row.AssignPacked(splitter.Text().data(), splitter.Ends(), static_cast<size_t>(fields),
                         &pool);
      }
    }
    out.endMark = reader.StoppedAtEndMark();
  } catch (...) {
    out.error = std::current_exception();
  }
}

char DetectFileSeparator(CsvLineReader& reader) {
  // The first two lines decide; then the read starts again from the top.
  SeparatorCounts first;
  SeparatorCounts second;
  std::string_view line;
  if (reader.Next(line)) {
    first = CountSeparators(line);
    if (reader.Next(line)) second = CountSeparators(line);
  }
  reader.Rewind();
  return DetectSeparator(first, second);
}

}  // namespace

void LogTable::ReadCsvFile(const std::string& fileName) {
  CsvLineReader reader(fileName);  // fails before anything has changed
  const char sep = fieldSeparator_ != 0 ? fieldSeparator_ : DetectFileSeparator(reader);

  // A large file is read in two halves at once. The halves are put into the
  // table in order afterwards, so the outcome is that of one read from the
  // top: a byte 26 in the first half ends the file, and a failure keeps the
  // lines read before it.
  ReadLines firstHalf;
  ReadLines secondHalf;
  std::optional<CsvLineReader> secondReader;
  std::optional<uint64_t> middle;
  if (const uint64_t size = reader.FileSize(); size >= kSplitReadBytes) {
    middle = reader.LineStartFrom(size / 2);
  }
  {
    std::jthread secondThread;
    if (middle) {
      secondReader.emplace(fileName);
      secondReader->Restrict(*middle, UINT64_MAX);
      reader.Restrict(0, *middle);
      secondThread = std::jthread([&] { ReadLinesOf(*secondReader, sep, secondHalf); });
    }
    ReadLinesOf(reader, sep, firstHalf);
  }

  TableUpdate update(*this);
  ChangeScope change(*this);
  int r = 0;
  for (ReadLines* half : {&firstHalf, &secondHalf}) {
    ApplyRowCount(std::max(RowCount(), r + static_cast<int>(half->rows.size())));
    for (size_t i = 0; i < half->rows.size(); ++i, ++r) {
      PutReadLine(r, half->rows[i], half->fieldCounts[i]);
    }
    if (half->error) {
      ApplyRowCount(r);
      std::rethrow_exception(half->error);
    }
    if (half->endMark) break;
  }
  ApplyRowCount(r);
}

// A line's cells replace those of the row; cells beyond the line's fields
// keep the texts they had, and a line without fields leaves the row as it was.
void LogTable::PutReadLine(int r, TableRow& read, int fields) {
  if (fields == 0) return;
  TableRow& row = rows_[static_cast<size_t>(r)];
  if (row.FieldCount() <= fields) {
    row.TakeCellsFrom(read);
  } else {
    std::vector<std::string_view> cells(static_cast<size_t>(row.FieldCount()));
    for (int k = 0; k < row.FieldCount(); ++k) {
      cells[static_cast<size_t>(k)] = k < fields ? read.Cell(k) : row.Cell(k);
    }
    row.Assign(cells);
  }
  if (fields > colCount_) colCount_ = fields;
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
      const bool emptied = rows_.empty();
      ApplyRowCount(RowCount());
      if (emptied) break;
    }
    return;
  }
  const int removed = std::min(count, RowCount() - firstRow);
  const auto first = rows_.begin() + firstRow;
  rows_.erase(first, first + removed);
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
    rows_[static_cast<size_t>(w++)] = std::move(rows_[static_cast<size_t>(j)]);
  }
  const int removed = total - w;
  rows_.resize(static_cast<size_t>(w));
  ApplyRowCount(w);  // an emptied table gets one blank row
  return removed;
}

void LogTable::ExchangeRows(int a, int b) {
  CheckRow(a);
  CheckRow(b);
  if (a == b) return;
  ChangeScope change(*this);
  std::swap(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]);
}

void LogTable::CopyRow(int from, int to) {
  CheckRow(from);
  CheckRow(to);
  if (from == to) return;
  ChangeScope change(*this);
  TableRow& target = rows_[static_cast<size_t>(to)];
  const int height = target.height;
  target = rows_[static_cast<size_t>(from)];
  target.height = height;
}

TableRow LogTable::TakeRow(int row) {
  CheckRow(row);
  ChangeScope change(*this);
  TableRow taken = std::move(rows_[static_cast<size_t>(row)]);
  rows_[static_cast<size_t>(row)] = TableRow();
  return taken;
}

void LogTable::PutRow(int row, TableRow&& content) {
  CheckRow(row);
  ChangeScope change(*this);
  rows_[static_cast<size_t>(row)] = std::move(content);
}

}  // namespace kartex
