#include "table/adif_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "table/adif_parser.h"
#include "table/malloc_buffer.h"

namespace kartex {
namespace {

constexpr size_t kChunkSize = size_t{1} << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Where the tag <word> (word in small letters) first stands in text, in any
// letter case; npos when nowhere.
size_t FindTag(std::string_view text, std::string_view word) {
  for (size_t k = text.find('<'); k != std::string_view::npos; k = text.find('<', k + 1)) {
    if (text.size() - k < word.size() + 2 || text[k + word.size() + 1] != '>') continue;
    bool same = true;
    for (size_t m = 0; m < word.size() && same; ++m) same = Lower(text[k + 1 + m]) == word[m];
    if (same) return k;
  }
  return std::string_view::npos;
}

[[noreturn]] void FailRead(const std::string& fileName) {
  throw TableError("Cannot read file " + fileName);
}

// Reads up to size bytes at offset, fewer only at the end of the file.
size_t ReadFully(const platform::InputFile& file, const std::string& fileName, uint64_t offset,
                 char* buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    const std::optional<size_t> read = file.ReadAt(offset + got, buffer + got, size - got);
    if (!read) FailRead(fileName);
    if (*read == 0) break;
    got += *read;
  }
  return got;
}

// Hands the bytes of a file, from some offset to its end, to a parser a
// chunk at a time. What the parser has not taken yet stays in the buffer,
// which grows when one field does not fit.
class AdifFeed {
 public:
  AdifFeed(const std::string& fileName, uint64_t begin) : fileName_(fileName), offset_(begin) {
    if (!file_.Open(fileName)) throw TableError("Cannot open file " + fileName);
    const std::optional<uint64_t> size = file_.Size();
    if (!size) FailRead(fileName);
    fileEnd_ = std::max(*size, begin);
  }

  // Parses until the parser stops at or past stopAt (an offset in the file)
  // or has taken in the whole file.
  void Run(AdifParser& parser, uint64_t stopAt) {
    while (offset_ < stopAt) {
      const size_t n = end_ - begin_;
      const uint64_t more = fileEnd_ - (offset_ + n);
      const uint64_t stop = stopAt - offset_;
      const size_t taken =
          parser.Parse(buffer_.get() + begin_, n, more, stop < SIZE_MAX ? stop : SIZE_MAX);
      begin_ += taken;
      offset_ += taken;
      if (more == 0) return;  // with nothing to follow the parser takes everything
      if (offset_ < stopAt) Refill();
    }
  }

  // Where the bytes start that the parser has not taken.
  uint64_t Offset() const { return offset_; }
  uint64_t Size() const { return fileEnd_; }

 private:
  void Refill() {
    const size_t kept = end_ - begin_;
    if (kept > 0 && begin_ > 0) std::memmove(buffer_.get(), buffer_.get() + begin_, kept);
    begin_ = 0;
    end_ = kept;
    if (capacity_ - kept < kChunkSize) {  // a field larger than what is left: grow
      const size_t capacity = std::max(capacity_ * 2, kept + kChunkSize);
      Resize(buffer_, capacity);
      capacity_ = capacity;
    }
    const uint64_t rest = fileEnd_ - (offset_ + kept);
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(capacity_ - kept, rest));
    const size_t got = ReadFully(file_, fileName_, offset_ + kept, buffer_.get() + kept, wanted);
    end_ += got;
    if (got < wanted) fileEnd_ = offset_ + end_;  // the file became shorter
  }

  std::string fileName_;
  platform::InputFile file_;
  uint64_t fileEnd_ = 0;
  uint64_t offset_;  // of buffer_[begin_] in the file
  MallocBuffer buffer_;
  size_t capacity_ = 0;
  size_t begin_ = 0;
  size_t end_ = 0;
};

// The offset just after the first <EOR> from offset on, found within one
// chunk; none when there is none there.
std::optional<uint64_t> RecordStartFrom(const std::string& fileName, uint64_t offset) {
  platform::InputFile file;
  if (!file.Open(fileName)) throw TableError("Cannot open file " + fileName);
  std::unique_ptr<char[]> window = std::make_unique_for_overwrite<char[]>(kChunkSize);
  const size_t got = ReadFully(file, fileName, offset, window.get(), kChunkSize);
  const size_t eor = FindTag(std::string_view(window.get(), got), "eor");
  if (eor == std::string_view::npos) return std::nullopt;
  return offset + eor + 5;
}

// The field names of the records in the first chunk of the file, for the
// parse of its second half to number them as the first half will.
std::vector<std::string> NamesOfTheFirstRecords(const std::string& fileName) {
  platform::InputFile file;
  if (!file.Open(fileName)) throw TableError("Cannot open file " + fileName);
  std::unique_ptr<char[]> chunk = std::make_unique_for_overwrite<char[]>(kChunkSize);
  const size_t got = ReadFully(file, fileName, 0, chunk.get(), kChunkSize);
  AdifParser parser(AdifParser::Start::kFileStart);
  parser.Parse(chunk.get(), got, 0);
  return parser.Names();
}

// The cells of a row moved to other columns (target[k] for column k; -1
// leaves the cell out), for the rows of the second half.
class ColumnMover {
 public:
  explicit ColumnMover(const std::vector<int>& target) : target_(target) {}

  // Returns the number of non-empty cells left out.
  int64_t Move(TableRow& row) {
    const auto count = static_cast<size_t>(row.FieldCount());
    if (count == 0) return 0;
    ends_.resize(count);
    row.StoredEnds(ends_.data());
    const std::string_view text = row.StoredText();
    int64_t leftOut = 0;
    size_t width = 0;
    for (size_t k = 0; k < count; ++k) {
      if (target_[k] >= 0) width = std::max(width, static_cast<size_t>(target_[k]) + 1);
    }
    cellOf_.assign(width, {0, 0});
    for (size_t k = 0; k < count; ++k) {
      const uint32_t start = k == 0 ? 0 : ends_[k - 1];
      if (target_[k] >= 0) {
        cellOf_[static_cast<size_t>(target_[k])] = {start, ends_[k]};
      } else if (ends_[k] > start) {
        ++leftOut;
      }
    }
    text_.clear();
    movedEnds_.resize(width);
    for (size_t t = 0; t < width; ++t) {
      text_.append(text.substr(cellOf_[t].first, cellOf_[t].second - cellOf_[t].first));
      movedEnds_[t] = static_cast<uint32_t>(text_.size());
    }
    TableRow moved;
    moved.AssignPacked(text_.data(), movedEnds_.data(), width);
    row.TakeCellsFrom(moved);
    return leftOut;
  }

 private:
  const std::vector<int>& target_;
  std::vector<uint32_t> ends_;
  std::vector<std::pair<uint32_t, uint32_t>> cellOf_;
  std::string text_;
  std::vector<uint32_t> movedEnds_;
};

// The names of both halves in the order of their first appearance in the
// whole file: the first half's, then the second half's new ones. target
// tells the column of each of the second half's.
std::vector<std::string> MergeNames(const std::vector<std::string>& first,
                                    const std::vector<std::string>& second,
                                    std::vector<int>& target) {
  std::vector<std::string> names = first;
  std::unordered_map<std::string, int> columnOf;
  for (size_t k = 0; k < names.size(); ++k) columnOf.emplace(names[k], static_cast<int>(k));
  target.clear();
  for (const std::string& name : second) {
    const auto [it, added] = columnOf.emplace(name, static_cast<int>(names.size()));
    if (added && names.size() >= AdifParser::kMaxColumns) {
      it->second = -1;
    } else if (added) {
      names.push_back(name);
    }
    target.push_back(it->second);
  }
  return names;
}

// Moves the second half's cells to their columns in the whole file, on two
// threads; returns the number of cells left out.
int64_t MoveColumns(std::vector<TableRow>& rows, const std::vector<int>& target) {
  bool same = true;
  for (size_t k = 0; k < target.size(); ++k) same = same && target[k] == static_cast<int>(k);
  if (same) return 0;
  const size_t middle = rows.size() / 2;
  int64_t leftOutFirst = 0;
  int64_t leftOutSecond = 0;
  {
    std::jthread helper([&] {
      ColumnMover mover(target);
      for (size_t r = middle; r < rows.size(); ++r) leftOutSecond += mover.Move(rows[r]);
    });
    ColumnMover mover(target);
    for (size_t r = 0; r < middle; ++r) leftOutFirst += mover.Move(rows[r]);
  }
  return leftOutFirst + leftOutSecond;
}

void PutIntoTable(LogTable& table, const std::vector<std::string>& names,
                  std::vector<TableRow>& firstRows, std::vector<TableRow>* secondRows) {
  const size_t total = 1 + firstRows.size() + (secondRows ? secondRows->size() : 0);
  if (total > static_cast<size_t>(INT_MAX)) throw std::length_error("ADIF log too long");
  TableUpdate update(table);
  table.SetRowCount(static_cast<int>(total));
  table.SetColCount(std::max(table.ColCount(), static_cast<int>(names.size())));
  TableRow header;
  header.Assign(std::vector<std::string_view>(names.begin(), names.end()));
  // Each row keeps its height, as the CSV reader leaves it.
  auto put = [&table](int r, TableRow& cells) {
    table.PutRow(r, {std::move(cells), table.RowHeight(r)});
  };
  put(0, header);
  int r = 1;
  for (TableRow& row : firstRows) put(r++, row);
  if (secondRows) {
    for (TableRow& row : *secondRows) put(r++, row);
  }
}

}  // namespace

bool LooksLikeAdif(std::string_view head) {
  std::string_view rest = head;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == '<') return true;
  return FindTag(head, "eoh") != std::string_view::npos;
}

bool IsAdifFile(const std::string& fileName) {
  platform::InputFile file;
  if (!file.Open(fileName)) throw TableError("Cannot open file " + fileName);
  std::unique_ptr<char[]> head = std::make_unique_for_overwrite<char[]>(kAdifDetectionBytes);
  const size_t got = ReadFully(file, fileName, 0, head.get(), kAdifDetectionBytes);
  return LooksLikeAdif(std::string_view(head.get(), got));
}

AdifReadReport ReadAdifFile(LogTable& table, const std::string& fileName) {
  AdifFeed firstFeed(fileName, 0);  // fails before anything has changed
  AdifParser first(AdifParser::Start::kFileStart);
  std::optional<uint64_t> middle;
  if (const uint64_t size = firstFeed.Size(); size >= LogTable::kSplitReadBytes) {
    middle = RecordStartFrom(fileName, size / 2);
  }

  // The second half starts after an <EOR> found as text. It counts only when
  // the first half's parse reaches that very place between two records;
  // otherwise (the <EOR> was inside a value or a comment) the first parse
  // goes on to the end alone.
  std::unique_ptr<AdifParser> second;
  std::exception_ptr firstError;
  std::exception_ptr secondError;
  bool secondCounts = false;
  {
    std::jthread secondThread;
    if (middle) {
      second = std::make_unique<AdifParser>(AdifParser::Start::kRecordStart,
                                            NamesOfTheFirstRecords(fileName));
      secondThread = std::jthread([&] {
        try {
          AdifFeed(fileName, *middle).Run(*second, UINT64_MAX);
        } catch (...) {
          secondError = std::current_exception();
        }
      });
    }
    try {
      firstFeed.Run(first, middle.value_or(UINT64_MAX));
      secondCounts = middle && firstFeed.Offset() == *middle && first.AtRecordBoundary();
      if (middle && !secondCounts) firstFeed.Run(first, UINT64_MAX);
    } catch (...) {
      firstError = std::current_exception();
    }
  }

  if (firstError || !secondCounts) {
    first.Finish();
    PutIntoTable(table, first.Names(), first.Rows(), nullptr);
    if (firstError) std::rethrow_exception(firstError);
    return first.Report();
  }
  second->Finish();
  std::vector<int> target;
  const std::vector<std::string> names = MergeNames(first.Names(), second->Names(), target);
  AdifReadReport report = first.Report();
  report += second->Report();
  report.fieldsLeftOut += MoveColumns(second->Rows(), target);
  PutIntoTable(table, names, first.Rows(), &second->Rows());
  if (secondError) std::rethrow_exception(secondError);
  return report;
}

}  // namespace kartex
