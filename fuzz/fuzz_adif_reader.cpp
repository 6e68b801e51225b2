// The ADIF reader. The input is an ADIF log as it stands. ReadAdifFile reads
// it from a file, in chunks; the table must be what one parse of the whole
// text gives, and so must a parse that gets the text a few bytes at a time.
// The table must keep the reader's promises: names upper-cased, unique and
// not empty; one row per record; cells without control bytes but TAB and
// CR LF pairs. Then the window's load runs on the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "commands/session.h"
#include "fake_window_system.h"
#include "fuzz_support.h"
#include "table/adif_parser.h"
#include "table/adif_reader.h"
#include "temp_dir.h"

namespace kartex::fuzz {
namespace {

struct Parsed {
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> rows;
  AdifReadReport report;
};

Parsed Collect(AdifParser& parser) {
  parser.Finish();
  Parsed parsed;
  parsed.names = parser.Names();
  for (const TableRow& row : parser.Rows()) {
    std::vector<std::string> cells;
    for (int c = 0; c < row.FieldCount(); ++c) cells.emplace_back(row.Cell(c));
    parsed.rows.push_back(std::move(cells));
  }
  parsed.report = parser.Report();
  return parsed;
}

Parsed ParseWhole(std::string_view text) {
  AdifParser parser(AdifParser::Start::kFileStart);
  parser.Parse(text.data(), text.size(), 0);
  return Collect(parser);
}

// The text handed over piece bytes at a time; what the parser leaves is
// given again with the next piece.
Parsed ParseInPieces(std::string_view text, size_t piece) {
  AdifParser parser(AdifParser::Start::kFileStart);
  std::string pending;
  size_t next = 0;
  for (;;) {
    const size_t add = std::min(piece, text.size() - next);
    pending.append(text.substr(next, add));
    next += add;
    const size_t taken = parser.Parse(pending.data(), pending.size(), text.size() - next);
    pending.erase(0, taken);
    if (next == text.size()) break;
  }
  if (!pending.empty()) Mismatch("the parser left bytes at the end of the input");
  return Collect(parser);
}

void Compare(const Parsed& a, const Parsed& b, const std::string& what) {
  if (a.names != b.names) Mismatch(what + ": other field names");
  if (a.rows.size() != b.rows.size()) {
    Mismatch(what + ": " + std::to_string(a.rows.size()) + " rows, expected " +
             std::to_string(b.rows.size()));
  }
  for (size_t r = 0; r < a.rows.size(); ++r) {
    if (a.rows[r] != b.rows[r]) Mismatch(what + ": row " + std::to_string(r + 1) + " differs");
  }
  if (a.report.records != b.report.records ||
      a.report.recoveredValues != b.report.recoveredValues ||
      a.report.replacedCharacters != b.report.replacedCharacters ||
      a.report.incompleteRecordLeftOut != b.report.incompleteRecordLeftOut) {
    Mismatch(what + ": another report");
  }
}

void CheckPromises(const Parsed& parsed) {
  std::unordered_set<std::string> seen;
  for (const std::string& name : parsed.names) {
    if (name.empty()) Mismatch("an empty field name");
    for (char c : name) {
      if (c >= 'a' && c <= 'z') Mismatch("field name not upper-cased: " + Shown(name));
    }
    if (!seen.insert(name).second) Mismatch("field name twice: " + Shown(name));
  }
  if (parsed.names.size() > AdifParser::kMaxColumns) Mismatch("more columns than the limit");
  if (static_cast<int64_t>(parsed.rows.size()) != parsed.report.records) {
    Mismatch("rows and records differ");
  }
  for (const std::vector<std::string>& row : parsed.rows) {
    if (row.size() > parsed.names.size()) Mismatch("a cell beyond the field names");
    for (const std::string& cell : row) {
      for (size_t i = 0; i < cell.size(); ++i) {
        const auto b = static_cast<unsigned char>(cell[i]);
        const bool pairedCr = b == '\r' && i + 1 < cell.size() && cell[i + 1] == '\n';
        const bool pairedLf = b == '\n' && i > 0 && cell[i - 1] == '\r';
        if ((b < 0x20 && b != '\t' && !pairedCr && !pairedLf) || b == 0x7F) {
          Mismatch("a control byte in the cell [" + Shown(cell) + "]");
        }
      }
    }
  }
}

void CheckTable(const LogTable& table, const Parsed& expected) {
  if (table.RowCount() != static_cast<int>(expected.rows.size()) + 1) Mismatch("table rows");
  for (size_t k = 0; k < expected.names.size(); ++k) {
    if (table.CellText(static_cast<int>(k), 0) != expected.names[k]) Mismatch("table header");
  }
  for (size_t r = 0; r < expected.rows.size(); ++r) {
    const TableRow& row = table.Row(static_cast<int>(r) + 1);
    const std::vector<std::string>& cells = expected.rows[r];
    if (row.FieldCount() != static_cast<int>(cells.size())) Mismatch("table row width");
    for (size_t c = 0; c < cells.size(); ++c) {
      if (row.Cell(static_cast<int>(c)) != cells[c]) Mismatch("table cell");
    }
  }
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kartex;
  static const testing::TempDir dir;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string log = dir.Write("log.adi", bytes);

  const fuzz::Parsed whole = fuzz::ParseWhole(bytes);
  fuzz::CheckPromises(whole);
  const size_t piece = size == 0 ? 1 : 1 + data[0] % 13;
  fuzz::Compare(fuzz::ParseInPieces(bytes, piece), whole, "in pieces");

  LogTable table(2, 53, 1);
  const AdifReadReport report = ReadAdifFile(table, log);
  fuzz::CheckTable(table, whole);
  if (report.records != whole.report.records) fuzz::Mismatch("file read: another record count");

  // The load of the window on the same file: no crash, no hang.
  testing::FakeWindowSystem windows;
  Session session(windows, RegionalSettings{});
  windows.fileAnswers.push_back(log);
  session.Load_CSVClick();
  return 0;
}
