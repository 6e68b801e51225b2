#pragma once
// The splitting rules of a CSV line: quoted and unquoted fields, quote pairs
// undone, byte 11 turned into CR LF.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "table/malloc_buffer.h"

namespace kartex {

// Splits one line with a separator (0: none) into one packed text that is
// reused from line to line, quote pairs undone and byte 11 turned into CR LF: field k is
// Text()[Ends()[k-1], Ends()[k]) (from 0 for the first). No allocation per field, none per line
// once the buffers fit the longest line.
class CsvFieldSplitter {
 public:
  // Splits the line; returns the number of fields. The fields stay valid
  // until the next call.
  int Split(std::string_view line, char sep);
  // The same split written over the line's own buffer, for a long line that
  // the caller owns (n bytes at the start of line, capacity bytes allocated):
  // the fields' text ends up at line[0, Ends()[count - 1]) and only the end
  // offsets take memory of their own. A line holding bytes 11 grows by their
  // number (each becomes CR LF), so the buffer may be reallocated. Text()
  // and Field() do not apply afterwards.
  int SplitInPlace(MallocBuffer& line, size_t& capacity, size_t n, char sep);
  int Count() const { return static_cast<int>(count_); }
  std::string_view Field(int k) const;
  std::string_view Text() const { return {text_.get(), count_ == 0 ? 0 : ends_[count_ - 1]}; }
  const uint32_t* Ends() const { return ends_.get(); }

 private:
  std::unique_ptr<char[]> text_;
  size_t textCapacity_ = 0;
  std::unique_ptr<uint32_t[]> ends_;
  size_t endsCapacity_ = 0;
  std::unique_ptr<uint64_t[]> quoteBits_;  // one bit per byte of the line: a double quote
  size_t quoteBitsCapacity_ = 0;
  size_t count_ = 0;
};

}  // namespace kartex
