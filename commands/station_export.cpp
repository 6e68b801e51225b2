// "Zapisz plik CSV – jedna stacja w wierszu": the shown stations, one row
// each with all their contacts, as the data source of a mail merge that
// prints one card per station.

#include "station_export.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "busy_cursor.h"
#include "output_file.h"
#include "session.h"
#include "table/text_index.h"
#include "table_export.h"

namespace kartex {
namespace {

// The data rows of each station, stations in the order of their first row.
std::vector<std::vector<int>> RowsByStation(const LogTable& table, int callColumn) {
  std::vector<std::vector<int>> stations;
  auto callOf = [&](uint32_t station) { return table.CellText(callColumn, stations[station].front()); };
  TextIndex<decltype(callOf)> stationOfCall(callOf, static_cast<size_t>(table.RowCount()));
  for (int row = 1; row < table.RowCount(); ++row) {
    const auto [station, inserted] =
        stationOfCall.Insert(table.CellText(callColumn, row), static_cast<uint32_t>(stations.size()));
    if (inserted) stations.emplace_back();
    stations[station].push_back(row);
  }
  return stations;
}

// The columns with a header name or with text in a shown row.
std::vector<int> UsedColumns(const LogTable& table) {
  std::vector<bool> used(static_cast<size_t>(table.ColCount()), false);
  std::vector<uint32_t> ends;
  for (int row = 0; row < table.RowCount(); ++row) {
    const TableRow& cells = table.Row(row);
    const int stored = std::min(cells.FieldCount(), table.ColCount());
    ends.resize(static_cast<size_t>(cells.FieldCount()));
    cells.StoredEnds(ends.data());
    uint32_t start = 0;
    for (int col = 0; col < stored; ++col) {
      const uint32_t end = ends[static_cast<size_t>(col)];
      if (end > start) used[static_cast<size_t>(col)] = true;
      start = end;
    }
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

// One station's line: its contacts' cells group by group, then empty
// groups up to the header's count.
void StationLine(std::string& line, const LogTable& table, const std::vector<int>& columns,
                 const std::vector<int>& rows, size_t groups) {
  line.clear();
  bool first = true;
  for (size_t group = 0; group < groups; ++group) {
    for (int col : columns) {
      if (!first) line += ',';
      first = false;
      AppendQuotedCsvField(line, group < rows.size() ? table.CellText(col, rows[group]) : std::string_view());
    }
  }
  line += "\r\n";
}

}  // namespace

void SaveStationsToCSV(Session& session) {
  WindowSystem& windows = session.Windows();
  std::optional<std::string> fileName =
      AskCsvExportFile(windows, {"SaveStationsCSV", "STACJE.CSV", "CSV (*.csv)|*.CSV"});
  if (!fileName) return;
  BusyCursor busy(windows);
  const LogTable& table = session.Table();
  const std::vector<std::vector<int>> stations = RowsByStation(table, session.Log().callColumn);
  const std::vector<int> columns = UsedColumns(table);
  // An edited CALL may leave a station with more or fewer rows than N; with
  // no station shown the header still names the N groups a template uses.
  size_t groups = static_cast<size_t>(session.Controls().qsoFilterN);
  if (!stations.empty()) {
    groups = 0;
    for (const std::vector<int>& rows : stations) groups = std::max(groups, rows.size());
  }

  AtomicFileWriter writer(*fileName);
  writer.Write(HeaderLine(table, columns, groups));
  std::string line;
  for (const std::vector<int>& rows : stations) {
    StationLine(line, table, columns, rows, groups);
    writer.Write(line);
  }
  writer.Commit();
}

void Session::SaveStationsCSV1Click() {
  BusyCursor busy(windows_);
  SaveStationsToCSV(*this);
}

}  // namespace kartex
