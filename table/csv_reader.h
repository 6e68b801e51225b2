#pragma once
// The pieces of the CSV reader: line splitting into fields and the detection
// of the field separator from the first two lines of a file.
//
// A field's road from the file to its cell: CsvLineReader reads the file in
// large chunks and hands out one line at a time (line end and CR bytes
// removed), CsvFieldSplitter cuts the line into fields, undoing quote pairs and
// turning byte 11 into CR LF as it copies each field into one packed text,
// and LogTable::ReadCsvFile moves that packed text into the row's buffer.
// Nothing on that road allocates per field, and every step is linear in the
// length of the line, so lines of any length are read.
//
// A line longer than a chunk is gathered in a buffer of its own. Such a line
// may be as large as the whole file (one huge field, or a whole log without
// line ends), so it takes a shorter road that holds it only once: the
// splitter writes the fields over the line itself (unquoting only shortens
// it) and the row takes the line's buffer as its own (TableRow::AdoptPacked).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "table/malloc_buffer.h"

namespace kartex {

// The ten candidates, in the order they are tried.
inline constexpr std::string_view kSeparatorCandidates = ",;#\t|@*-+&";

// How often each candidate occurs in one line, counted both ways that the
// detection uses.
struct SeparatorCounts {
  // Runs of the candidate: a run that ends before the end of the line counts
  // 1 when its length is odd and 0 when even; a run reaching the end counts 1.
  int64_t single[kSeparatorCandidates.size()] = {};
  // Every occurrence counts 1.
  int64_t plain[kSeparatorCandidates.size()] = {};
  // The fields of a line made only of double-quoted fields joined by commas
  // (quotes inside a field doubled), the layout of the export; 0 for the
  // empty line, -1 for any other line.
  int64_t quotedCommaFields = 0;
};

SeparatorCounts CountSeparators(std::string_view line);

// Picks the separator from the counts of the first two lines; 0 when no
// candidate occurs in either line. A first line of at least two quoted fields
// joined by commas, followed by another such line or an empty one, is read
// with the comma: the counts see the candidates inside the cells too, and
// would take another candidate for the separator of an export whose first
// two rows hold commas unequally often and that candidate equally often.
char DetectSeparator(const SeparatorCounts& line1, const SeparatorCounts& line2);

// Detects the separator from the first two lines (line2 empty when the file
// has fewer than two lines); 0 when no candidate occurs in either line.
char DetectSeparator(std::string_view line1, std::string_view line2);

// Splits one line with separator sep (0: none) and hands every field, quote
// pairs undone and byte 11 turned into CR LF, to store(column, text).
void SplitCsvLine(std::string_view line, char sep,
                  const std::function<void(int column, std::string_view text)>& store);

// The split of SplitCsvLine into one packed text that is reused from line
// to line: field k is Text()[Ends()[k-1], Ends()[k]) (from 0 for the first).
// No allocation per field, none per line once the buffers fit the longest
// line.
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

// Reads a file line by line in chunks of 1 MiB. A line ends at LF; every CR
// is dropped from the line (the one before LF and any lone one). A last line
// without a line end is read; a line end at the very end adds no line; a
// byte 26 where a line would begin ends the file.
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
