// "Otwórz plik CSV": reads a Logger32 export, or the ADIF log of any
// logger, into the table, finds its columns, rejects what cannot be used,
// drops empty rows and tallies the contacts per station.

#include <optional>
#include <string_view>

#include "adif_load_message.h"
#include "busy_cursor.h"
#include "session.h"
#include "table/adif_reader.h"
#include "table/row_groups.h"

namespace kartex {

// The open dialog's filters: both kinds of log, then each kind.
const char* const kLogFileFilter =
    "Dzienniki (*.csv *.adi *.adif)|*.csv;*.adi;*.adif|CSV (*.csv)|*.csv|"
    "ADIF (*.adi *.adif)|*.adi;*.adif";

LoadOutcome Session::Load_CSVClick() {
  std::optional<std::string> fileName = windows_.OpenFileDialog({"OD", "", kLogFileFilter});
  if (!fileName) {
    windows_.ShowNormalCursor();
    return LoadOutcome::Cancelled;
  }
  windows_.ProcessPendingEvents();
  BusyCursor busy(windows_);

  // Whatever comes of the file, no QSO-count choice stays selected: the
  // filter is off from here on, and choosing any N afterwards applies it.
  SwitchFilterOff();
  controls_.rg1ItemIndex = -1;
  table_.ClearCells();
  log_.tally.clear();
  // The content decides the reader: an ADIF log becomes a table with the
  // field names in row 0, and from the header scan on the load is the same.
  std::optional<AdifReadReport> adif;
  if (IsAdifFile(*fileName)) {
    adif = ReadAdifFile(table_, *fileName);
    AddDxccColumnIfMissing();
  } else {
    table_.ReadCsvFile(*fileName);
  }
  controls_.sourcePath = *fileName;
  controls_.sourceCaption = "Źródło: " + *fileName;

  log_.callFound = log_.dxccFound = log_.qslViaFound = false;
  for (int c = 0; c < table_.ColCount(); ++c) {
    std::string_view name = table_.CellText(c, 0);
    if (name == "CALL") {
      log_.callColumn = c;
      log_.callFound = true;
    } else if (name == "DXCC") {
      log_.dxccColumn = c;
      log_.dxccFound = true;
    } else if (name == "QSL_VIA") {
      log_.qslViaColumn = c;
      log_.qslViaFound = true;
    }
  }
  if (!log_.callFound || !log_.dxccFound) {
    RejectLoad("Wybrany format pliku jet nieprawidłowy !");
    return LoadOutcome::Rejected;
  }
  if (table_.RowCount() < 2) {
    RejectLoad("Nie ma żadnych rekordów !");
    return LoadOutcome::Rejected;
  }
  table_.SetFixedRows(1);
  table_.DeleteEmptyRows(1);
  // A log of empty rows has no records either: without this the header
  // would become an ordinary row that later commands take for data.
  if (table_.RowCount() < 2) {
    RejectLoad("Nie ma żadnych rekordów !");
    return LoadOutcome::Rejected;
  }

  std::string dxccReport;
  if (adif && !FillEmptyDxccFromCtyDat(dxccReport)) return LoadOutcome::Rejected;

  try {
    BuildTally();
  } catch (const std::exception&) {
    // A failing tally ends the command silently, the loaded rows kept.
    log_.tally.clear();
    return LoadOutcome::Loaded;
  }

  controls_.logCommandsEnabled = true;
  QSL_VIA_Listbox();
  SetRecordsCaption(table_.RowCount() - 1);
  windows_.ControlsChanged();
  if (adif) {
    std::string message = AdifLoadMessage(*adif);
    if (!dxccReport.empty()) message += (message.empty() ? "" : "\n") + dxccReport;
    if (!message.empty()) windows_.ShowMessage(message);
  }
  return LoadOutcome::Loaded;
}

// Most ADIF logs carry no DXCC field: the column is added after the log's
// own, empty in every record, so that the header scan finds it and the
// DXCC can be filled in.
void Session::AddDxccColumnIfMissing() {
  const TableRow& header = table_.Row(0);
  for (int c = 0; c < header.FieldCount(); ++c) {
    if (header.Cell(c) == "DXCC") return;
  }
  const int column = header.FieldCount();
  if (column >= table_.ColCount()) table_.SetColCount(column + 1);
  table_.SetCellText(column, 0, "DXCC");
}

// One entry per non-empty call, in the order the calls first occur, with the
// DXCC of that first row and the number of rows carrying the call.
void Session::BuildTally() {
  const RowGroups stations = GroupRowsByText(table_, log_.callColumn);
  log_.tally.clear();
  log_.tally.reserve(stations.Count());
  log_.tallyShape = TallyShape::PerStation;
  for (size_t s = 0; s < stations.Count(); ++s) {
    if (stations.texts[s].empty()) continue;
    log_.tally.push_back({std::string(stations.texts[s]),
                          std::string(table_.CellText(log_.dxccColumn, stations.firstRow[s])),
                          stations.rowCount[s]});
  }
}

void Session::RejectLoad(const std::string& message) {
  table_.ClearCells();
  controls_.sourcePath.clear();
  controls_.sourceCaption = "Źródło: ";
  controls_.logCommandsEnabled = false;
  controls_.qslViaEnabled = false;
  table_.SetRowCount(2);
  table_.SetFixedRows(1);
  SetRecordsCaption(0);
  controls_.listBox1.clear();
  windows_.ControlsChanged();
  windows_.ShowMessage(message);
}

}  // namespace kartex
