// "Zapisz plik CSV": the shown table, every field quoted, as the data source
// of the word processor's mail merge.

#include <algorithm>
#include <cstring>
#include <vector>

#include "busy_cursor.h"
#include "output_file.h"
#include "output_name.h"
#include "session.h"
#include "table_export.h"

namespace kartex {

namespace {

bool HoldsQuoteOrLineBreak(std::string_view text) {
  return text.find('"') != std::string_view::npos || text.find('\n') != std::string_view::npos ||
         text.find('\r') != std::string_view::npos;
}

// Builds the export's line of one row: all the table's columns, each cell
// quoted, CR LF at the end.
class CsvLineBuilder {
 public:
  explicit CsvLineBuilder(int columns) : columns_(columns) {
    // ,"" for every column: the tail of short rows.
    for (int col = 0; col < columns; ++col) emptyFields_ += ",\"\"";
  }

  std::string_view Line(const TableRow& row) {
    const int stored = std::min(row.FieldCount(), columns_);
    ends_.resize(static_cast<size_t>(row.FieldCount()));
    row.StoredEnds(ends_.data());
    const std::string_view text = row.StoredText();
    const size_t shownBytes = stored > 0 ? ends_[static_cast<size_t>(stored) - 1] : 0;
    return HoldsQuoteOrLineBreak(text.substr(0, shownBytes)) ? EscapedLine(text, stored)
                                                             : PlainLine(text, stored);
  }

 private:
  // Cells without quotes and line breaks, the usual case: each is copied
  // whole, a short one 16 bytes at a time into the room kept at the end.
  std::string_view PlainLine(std::string_view text, int stored) {
    const size_t bound = text.size() + 3 * static_cast<size_t>(columns_) + 4 + 16;
    if (plain_.size() < bound) plain_.resize(bound);
    char* const begin = plain_.data();
    char* o = begin;
    size_t start = 0;
    for (int col = 0; col < stored; ++col) {
      const size_t end = ends_[static_cast<size_t>(col)];
      const size_t length = end - start;
      *o++ = '"';
      if (length <= 16 && start + 16 <= text.size()) {
        std::memcpy(o, text.data() + start, 16);
      } else {
        std::memcpy(o, text.data() + start, length);
      }
      o += length;
      *o++ = '"';
      *o++ = ',';
      start = end;
    }
    if (stored > 0)
      --o;  // no comma after the last cell
    else
      o = Put(o, "\"\"");
    o = Put(o, EmptyTail(stored));
    o = Put(o, "\r\n");
    return {begin, static_cast<size_t>(o - begin)};
  }

  std::string_view EscapedLine(std::string_view text, int stored) {
    escaped_.clear();
    size_t start = 0;
    for (int col = 0; col < stored; ++col) {
      const size_t end = ends_[static_cast<size_t>(col)];
      if (col > 0) escaped_ += ',';
      AppendQuotedCsvField(escaped_, text.substr(start, end - start));
      start = end;
    }
    escaped_.append(EmptyTail(stored));
    escaped_ += "\r\n";
    return escaped_;
  }

  // The empty cells after the stored ones; a row without any stored cell
  // starts with one empty cell of its own.
  std::string_view EmptyTail(int stored) const {
    const int empties = columns_ - std::max(stored, 1);
    return std::string_view(emptyFields_).substr(0, static_cast<size_t>(empties) * 3);
  }

  static char* Put(char* o, std::string_view bytes) {
    std::memcpy(o, bytes.data(), bytes.size());
    return o + bytes.size();
  }

  int columns_;
  std::string emptyFields_;
  std::vector<uint32_t> ends_;
  std::string plain_;  // sized to the longest line so far, never shrunk
  std::string escaped_;
};

}  // namespace

std::optional<std::string> AskCsvExportFile(WindowSystem& windows, const FileDialogSpec& dialog) {
  std::optional<std::string> chosen = windows.SaveFileDialog(dialog);
  if (!chosen) return std::nullopt;
  bool appended = false;
  std::string fileName = CsvOutputName(*chosen, CsvExtensionRule::AnyCase, &appended);
  if (!MayWriteAppendedName(windows, fileName, appended)) return std::nullopt;
  return fileName;
}

void SaveSGToCSV(Session& session) {
  WindowSystem& windows = session.Windows();
  std::optional<std::string> fileName =
      AskCsvExportFile(windows, {"SaveSGToCSV", "", "CSV (*.csv)|*.CSV"});
  if (!fileName) return;
  BusyCursor busy(windows);
  const LogTable& table = session.Table();
  AtomicFileWriter writer(*fileName);
  CsvLineBuilder builder(table.ColCount());
  for (int row = 0; row < table.RowCount(); ++row) writer.Write(builder.Line(table.Row(row)));
  writer.Commit();
}

void Session::Save_CSVClick() {
  BusyCursor busy(windows_);
  SaveSGToCSV(*this);
}

}  // namespace kartex
