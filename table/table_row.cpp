#include "table/table_row.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "table/row_buffer_pool.h"

namespace kartex {

namespace {

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

TableRow::TableRow(const TableRow& other) {
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

// The row's text with the cell's old text replaced by the new one, and the
// end offsets moved by the difference: one copy of the row, no string per
// cell (a fill of a million DXCC cells writes a million rows).
void TableRow::SetCell(int col, std::string_view value) {
  if (col < 0) return;
  thread_local std::string text;
  thread_local std::vector<uint32_t> ends;
  const auto c = static_cast<size_t>(col);
  const size_t count = std::max(static_cast<size_t>(FieldCount()), c + 1);
  const std::string_view old = StoredText();
  ends.assign(count, static_cast<uint32_t>(old.size()));  // cells beyond the stored: empty
  StoredEnds(ends.data());
  const size_t begin = c == 0 ? 0 : ends[c - 1];
  const size_t end = ends[c];
  // value may lie in this row's buffer: everything is copied out before Pack.
  text.assign(old.substr(0, begin));
  text.append(value);
  text.append(old.substr(end));
  if (text.size() > std::numeric_limits<uint32_t>::max()) throw std::length_error("row too long");
  for (size_t k = c; k < count; ++k) {
    ends[k] = static_cast<uint32_t>(ends[k] - (end - begin) + value.size());
  }
  Pack(text.data(), ends.data(), count, nullptr);
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

}  // namespace kartex
