#pragma once
// The lines of a CSV file, read in large chunks.
//
// A line longer than a chunk is gathered in a buffer of its own. Such a line
// may be as large as the whole file (one huge field, or a whole log without
// line ends), so it takes a shorter road that holds it only once: the
// splitter writes the fields over the line itself (unquoting only shortens
// it) and the row takes the line's buffer as its own (TableRow::AdoptPacked).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "table/malloc_buffer.h"

namespace kartex {

// Reads a file line by line in chunks of 1 MiB. A line ends at LF; every CR
// is dropped from the line (the one before LF and any lone one). A last line
// without a line end is read; a line end at the very end adds no line; a
// byte 26 where a line would begin ends the file. These are the log's rules;
// the reference files have their own reader (TextFile), which keeps a lone CR.
class CsvLineReader {
 public:
  static constexpr size_t kChunkSize = size_t{1} << 20;

  // Fails with "Cannot open file " + fileName when the file cannot be opened
  // for reading (a folder, a FIFO, a socket or a device cannot).
  explicit CsvLineReader(const std::string& fileName);
  ~CsvLineReader();
  CsvLineReader(const CsvLineReader&) = delete;
  CsvLineReader& operator=(const CsvLineReader&) = delete;

  // The next line, valid until the next call; false at the end of the file
  // (or of the part set by Restrict). Fails with "Cannot read file " +
  // fileName on an input error.
  bool Next(std::string_view& line);
  // Starts again from the first line (of the part).
  void Rewind();
  // Reads only the bytes [begin, end) from now on, from begin. begin must be
  // where a line starts.
  void Restrict(uint64_t begin, uint64_t end);
  // Whether the last Next stopped at a byte 26, the end of the whole file.
  bool StoppedAtEndMark() const { return stoppedAtEndMark_; }
  // Whether the line of the last Next is a long one (kLongLine bytes or
  // more), held in a buffer of its own that TakeLongLine hands over.
  static constexpr size_t kLongLine = kChunkSize;
  bool LineIsLong() const { return lineInCarry_ && lineLength_ >= kLongLine; }
  // Hands over the buffer of the present long line: its bytes stand at its
  // start, and capacity tells its allocated size. The reader gathers its
  // next long line in a new buffer.
  MallocBuffer TakeLongLine(size_t& capacity);

  uint64_t FileSize() const;
  // Where the first line that starts at or after offset begins, found within
  // the next chunk; none when no line end lies there.
  std::optional<uint64_t> LineStartFrom(uint64_t offset) const;

 private:
  bool Fill();
  std::string_view Finish(char* begin, size_t length);
  void AppendToCarry(const char* bytes, size_t count);
  [[noreturn]] void FailRead() const;

  std::string fileName_;
  platform::InputFile file_;
  uint64_t offset_ = 0;  // where the next chunk is read from
  uint64_t partBegin_ = 0;
  uint64_t partEnd_ = UINT64_MAX;
  bool stoppedAtEndMark_ = false;
  std::unique_ptr<char[]> chunk_;
  size_t begin_ = 0;  // unread part of the chunk: [begin_, end_)
  size_t end_ = 0;
  bool atEnd_ = false;
  // A line that spans chunks: carrySize_ bytes of carryCapacity_. Grown by
  // std::realloc, which moves a large block without copying it on Linux, so
  // a line of hundreds of megabytes is not held twice while it grows.
  MallocBuffer carry_;
  size_t carrySize_ = 0;
  size_t carryCapacity_ = 0;
  bool lineInCarry_ = false;  // the present line lies in carry_
  size_t lineLength_ = 0;     // its length
};

}  // namespace kartex
