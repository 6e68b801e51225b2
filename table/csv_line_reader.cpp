#include "table/csv_line_reader.h"

#include <algorithm>
#include <cstring>

#include "table/table_error.h"

namespace kartex {

CsvLineReader::CsvLineReader(const std::string& fileName) : fileName_(fileName) {
  if (!file_.Open(fileName)) throw TableError("Cannot open file " + fileName);
  chunk_ = std::make_unique_for_overwrite<char[]>(kChunkSize);
}

CsvLineReader::~CsvLineReader() = default;

void CsvLineReader::Rewind() { Restrict(partBegin_, partEnd_); }

void CsvLineReader::Restrict(uint64_t begin, uint64_t end) {
  partBegin_ = offset_ = begin;
  partEnd_ = end;
  begin_ = end_ = 0;
  atEnd_ = stoppedAtEndMark_ = false;
  carrySize_ = 0;  // the buffer is kept: a second read of a long line reuses it
  lineInCarry_ = false;
}

uint64_t CsvLineReader::FileSize() const {
  const std::optional<uint64_t> size = file_.Size();
  if (!size) FailRead();
  return *size;
}

std::optional<uint64_t> CsvLineReader::LineStartFrom(uint64_t offset) const {
  std::unique_ptr<char[]> window = std::make_unique_for_overwrite<char[]>(kChunkSize);
  const std::optional<size_t> got = file_.ReadAt(offset, window.get(), kChunkSize);
  if (!got) FailRead();
  const void* lf = std::memchr(window.get(), '\n', *got);
  if (lf == nullptr) return std::nullopt;
  return offset + static_cast<uint64_t>(static_cast<const char*>(lf) - window.get()) + 1;
}

bool CsvLineReader::Fill() {
  begin_ = end_ = 0;
  if (offset_ >= partEnd_) return false;
  const auto wanted = static_cast<size_t>(std::min<uint64_t>(kChunkSize, partEnd_ - offset_));
  const std::optional<size_t> got = file_.ReadAt(offset_, chunk_.get(), wanted);
  if (!got) FailRead();
  if (*got == 0) return false;
  end_ = *got;
  offset_ += *got;
  return true;
}

void CsvLineReader::FailRead() const { throw TableError("Cannot read file " + fileName_); }

// Drops the CR bytes of a line in place: the one before its LF and every
// lone one.
std::string_view CsvLineReader::Finish(char* begin, size_t length) {
  if (length > 0 && begin[length - 1] == '\r') --length;
  char* cr = static_cast<char*>(std::memchr(begin, '\r', length));
  if (cr == nullptr) return {begin, length};
  char* out = cr;
  for (const char* in = cr; in < begin + length; ++in) {
    if (*in != '\r') *out++ = *in;
  }
  return {begin, static_cast<size_t>(out - begin)};
}

void CsvLineReader::AppendToCarry(const char* bytes, size_t count) {
  const size_t needed = carrySize_ + count;
  if (needed > carryCapacity_) {
    const size_t capacity = std::max({needed, 2 * carryCapacity_, size_t{4096}});
    Resize(carry_, capacity);
    carryCapacity_ = capacity;
  }
  std::memcpy(carry_.get() + carrySize_, bytes, count);
  carrySize_ = needed;
}

MallocBuffer CsvLineReader::TakeLongLine(size_t& capacity) {
  capacity = carryCapacity_;
  carrySize_ = carryCapacity_ = 0;
  lineInCarry_ = false;
  return std::move(carry_);
}

bool CsvLineReader::Next(std::string_view& line) {
  lineInCarry_ = false;
  if (atEnd_) return false;
  if (begin_ == end_ && !Fill()) {
    atEnd_ = true;
    return false;
  }
  if (chunk_[begin_] == 26) {  // Ctrl-Z where a line would begin: end of file
    atEnd_ = stoppedAtEndMark_ = true;
    return false;
  }
  char* start = chunk_.get() + begin_;
  const size_t available = end_ - begin_;
  if (char* lf = static_cast<char*>(std::memchr(start, '\n', available))) {
    begin_ += static_cast<size_t>(lf - start) + 1;
    line = Finish(start, static_cast<size_t>(lf - start));
    return true;
  }
  // The line goes on in the next chunk(s).
  carrySize_ = 0;
  AppendToCarry(start, available);
  for (;;) {
    if (!Fill()) {
      atEnd_ = true;  // a last line without a line end
      break;
    }
    char* chunk = chunk_.get();
    if (char* lf = static_cast<char*>(std::memchr(chunk, '\n', end_))) {
      AppendToCarry(chunk, static_cast<size_t>(lf - chunk));
      begin_ = static_cast<size_t>(lf - chunk) + 1;
      break;
    }
    AppendToCarry(chunk, end_);
  }
  line = Finish(carry_.get(), carrySize_);
  lineInCarry_ = true;
  lineLength_ = line.size();
  return true;
}

}  // namespace kartex
