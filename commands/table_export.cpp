// "Zapisz plik CSV": the shown table, every field quoted, as the data source
// of the word processor's mail merge.

#include <algorithm>

#include "busy_cursor.h"
#include "output_file.h"
#include "session.h"
#include "table_export.h"

namespace kartex {

void AppendQuotedCsvField(std::string& line, std::string_view text) {
  line += '"';
  // Most cells hold no quote and no line break: copy the runs between them whole.
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '"' && c != '\r' && c != '\n') continue;
    line.append(text.substr(start, i - start));
    if (c == '"') {
      line += "\"\"";
    } else {
      // A line break of the cell travels as byte 11, which the reader turns
      // back into CR LF; CR LF counts as one break.
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += '\x0B';
    }
    start = i + 1;
  }
  line.append(text.substr(start));
  line += '"';
}

std::string CsvExportFileName(const std::string& chosen, bool* appended) {
  std::string extension = FileNameExtension(chosen);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
  *appended = extension != ".CSV";
  return *appended ? chosen + ".CSV" : chosen;
}

void SaveSGToCSV(Session& session) {
  WindowSystem& windows = session.Windows();
  std::optional<std::string> chosen =
      windows.SaveFileDialog({"SaveSGToCSV", "", "CSV (*.csv)|*.CSV"});
  if (!chosen) return;
  bool appended = false;
  std::string fileName = CsvExportFileName(*chosen, &appended);
  // The dialog asked only about the name chosen in it.
  if (appended && FileExists(fileName) &&
      !windows.Confirm("Plik " + fileName + " już istnieje. Zastąpić ?", "Confirm")) {
    return;
  }
  BusyCursor busy(windows);
  const LogTable& table = session.Table();
  AtomicFileWriter writer(fileName);
  const int columns = table.ColCount();
  std::string emptyFields;  // ,"" for every column: the tail of short rows
  for (int col = 0; col < columns; ++col) emptyFields += ",\"\"";
  std::string line;
  for (int row = 0; row < table.RowCount(); ++row) {
    const TableRow& cells = table.Row(row);
    const int stored = std::min(cells.FieldCount(), columns);
    line.clear();
    for (int col = 0; col < stored; ++col) {
      if (col > 0) line += ',';
      AppendQuotedCsvField(line, cells.Cell(col));
    }
    if (stored == 0) line += "\"\"";
    const int empties = columns - std::max(stored, 1);
    line.append(emptyFields, 0, static_cast<size_t>(empties) * 3);
    line += "\r\n";
    writer.Write(line);
  }
  writer.Commit();
}

void Session::Save_CSVClick() {
  BusyCursor busy(windows_);
  SaveSGToCSV(*this);
}

}  // namespace kartex
