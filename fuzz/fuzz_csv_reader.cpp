// The CSV reader and the mail-merge export. The input is a log file as it
// stands. It is read with LogTable::ReadCsvFile into a table as the window
// creates it, and the table must be what the plain rules give
// (reference_csv.h). The table is then exported with Save_CSVClick: the file
// must have the export's line layout and read back into the same cells.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/session.h"
#include "fake_window_system.h"
#include "fuzz_support.h"
#include "reference_csv.h"
#include "temp_dir.h"

namespace kartex::fuzz {
namespace {

using testing::CellRows;

void CheckTable(const LogTable& table, const testing::ReferenceTable& expected,
                const std::string& what) {
  const int rows = static_cast<int>(expected.cells.size());
  if (table.RowCount() != rows || table.ColCount() != expected.colCount ||
      table.FixedRows() != expected.fixedRows) {
    Mismatch(what + ": RowCount/ColCount/FixedRows " + std::to_string(table.RowCount()) + "/" +
             std::to_string(table.ColCount()) + "/" + std::to_string(table.FixedRows()) +
             ", expected " + std::to_string(rows) + "/" + std::to_string(expected.colCount) + "/" +
             std::to_string(expected.fixedRows));
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < expected.colCount; ++c) {
      const std::string& cell = expected.cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
      if (table.CellText(c, r) != cell) {
        Mismatch(what + ": cell (" + std::to_string(c) + ", " + std::to_string(r) + ") [" +
                 Shown(table.CellText(c, r)) + "], expected [" + Shown(cell) + "]");
      }
    }
  }
}

std::string ExpectedExport(const CellRows& cells) {
  std::string file;
  for (const std::vector<std::string>& row : cells) file += testing::ReferenceExportLine(row);
  return file;
}

// Reads an exported file back as a log is opened, the separator detected.
// The export writes every column of every row, so the table read back is as
// wide as the original and has as many rows.
void CheckReadBack(const std::string& path, const testing::ReferenceTable& original) {
  LogTable back(2, 53, 1);
  back.ReadCsvFile(path);
  CheckTable(back, original, "export read back");
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kartex;
  static const testing::TempDir dir;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string log = dir.Write("log.csv", bytes);

  testing::FakeWindowSystem windows;
  Session session(windows, RegionalSettings{});
  session.Table().ReadCsvFile(log);
  const testing::ReferenceTable expected = testing::ReferenceRead(bytes, 2, 53, 1);
  fuzz::CheckTable(session.Table(), expected, "read");

  const std::string exportPath = dir.File("export.csv");
  windows.fileAnswers.push_back(exportPath);
  session.Save_CSVClick();
  if (!windows.messages.empty()) fuzz::Mismatch("export said: " + windows.messages.front());
  const std::string exported = testing::ReadFile(exportPath);
  if (exported != fuzz::ExpectedExport(expected.cells)) {
    fuzz::Mismatch("export wrote [" + fuzz::Shown(exported) + "], expected [" +
                   fuzz::Shown(fuzz::ExpectedExport(expected.cells)) + "]");
  }
  fuzz::CheckReadBack(exportPath, expected);
  return 0;
}
