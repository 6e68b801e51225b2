// "Zapisz plik CSV – jedna stacja w wierszu": the shown stations, one row
// each with all their contacts, as the data source of a mail merge that
// prints one card per station.

#include "station_export.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "busy_cursor.h"
#include "output_file.h"
#include "session.h"
#include "station_rows.h"
#include "table_export.h"

namespace kartex {
namespace {

// The cells of one row, unpacked once for a writer that reads many of them.
class UnpackedRow {
 public:
  void Load(const TableRow& row) {
    text_ = row.StoredText();
    ends_.resize(static_cast<size_t>(row.FieldCount()));
    row.StoredEnds(ends_.data());
  }
  void Clear() {
    text_ = {};
    ends_.clear();
  }
  int StoredCount() const { return static_cast<int>(ends_.size()); }
  // The empty text beyond the stored cells.
  std::string_view Cell(int col) const {
    if (col >= StoredCount()) return {};
    return {text_.data() + Start(col), ends_[static_cast<size_t>(col)] - Start(col)};
  }
  bool HoldsText(int col) const { return ends_[static_cast<size_t>(col)] > Start(col); }

 private:
  uint32_t Start(int col) const { return col == 0 ? 0 : ends_[static_cast<size_t>(col) - 1]; }

  std::string_view text_;
  std::vector<uint32_t> ends_;
};

// The columns with a header name or with text in a shown row.
std::vector<int> UsedColumns(const LogTable& table) {
  std::vector<char> used(static_cast<size_t>(table.ColCount()), 0);
  UnpackedRow cells;
  for (int row = 0; row < table.RowCount(); ++row) {
    cells.Load(table.Row(row));
    const int stored = std::min(cells.StoredCount(), table.ColCount());
    for (int col = 0; col < stored; ++col) used[static_cast<size_t>(col)] |= cells.HoldsText(col);
  }
  std::vector<int> columns;
  for (int col = 0; col < table.ColCount(); ++col) {
    if (used[static_cast<size_t>(col)]) columns.push_back(col);
  }
  return columns;
}

// The header line: the used columns' names once per contact group, the
// first group under the names themselves, group k with "_k" appended.
std::string HeaderLine(const LogTable& table, const std::vector<int>& columns, size_t groups) {
  std::string line;
  bool first = true;
  for (size_t group = 1; group <= groups; ++group) {
    for (int col : columns) {
      if (!first) line += ',';
      first = false;
      std::string name(table.CellText(col, 0));
      if (group > 1) name.append("_").append(std::to_string(group));
      AppendQuotedCsvField(line, name);
    }
  }
  line += "\r\n";
  return line;
}

// Builds one station's line: its contacts' cells group by group, then
// empty groups up to the header's count.
class StationLineBuilder {
 public:
  StationLineBuilder(const LogTable& table, std::vector<int> columns, size_t groups)
      : table_(table), columns_(std::move(columns)), groups_(groups) {}

  std::string_view Line(std::span<const int> rows) {
    line_.clear();
    for (size_t group = 0; group < groups_; ++group) {
      if (group < rows.size()) {
        contact_.Load(table_.Row(rows[group]));
      } else {
        contact_.Clear();
      }
      for (int col : columns_) {
        if (!line_.empty()) line_ += ',';
        AppendQuotedCsvField(line_, contact_.Cell(col));
      }
    }
    line_ += "\r\n";
    return line_;
  }

 private:
  const LogTable& table_;
  std::vector<int> columns_;
  size_t groups_;
  UnpackedRow contact_;
  std::string line_;
};

}  // namespace

void SaveStationsToCSV(Session& session) {
  WindowSystem& windows = session.Windows();
  std::optional<std::string> fileName =
      AskCsvExportFile(windows, {"SaveStationsCSV", "STACJE.CSV", "CSV (*.csv)|*.CSV"});
  if (!fileName) return;
  BusyCursor busy(windows);
  const LogTable& table = session.Table();
  const StationRows stations(table, session.Log().callColumn);
  const std::vector<int> columns = UsedColumns(table);
  // An edited CALL may leave a station with more or fewer rows than N; with
  // no station shown the header still names the N groups a template uses.
  const size_t groups = stations.Count() > 0 ? stations.Largest()
                                             : static_cast<size_t>(session.Controls().qsoFilterN);

  AtomicFileWriter writer(*fileName);
  writer.Write(HeaderLine(table, columns, groups));
  StationLineBuilder builder(table, columns, groups);
  for (size_t station = 0; station < stations.Count(); ++station)
    writer.Write(builder.Line(stations.Of(station)));
  writer.Commit();
}

void Session::SaveStationsCSV1Click() {
  BusyCursor busy(windows_);
  SaveStationsToCSV(*this);
}

}  // namespace kartex
