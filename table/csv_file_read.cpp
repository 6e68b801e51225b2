// LogTable::ReadCsvFile: the separator from the first two lines, then the
// lines split into packed rows; a large file in two halves on two threads.

#include <exception>
#include <optional>
#include <thread>
#include <vector>

#include "table/csv_field_splitter.h"
#include "table/csv_line_reader.h"
#include "table/csv_separator.h"
#include "table/log_table.h"
#include "table/row_buffer_pool.h"

namespace kartex {

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

}  // namespace kartex
