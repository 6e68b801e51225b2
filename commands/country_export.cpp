#include "country_export.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "busy_cursor.h"
#include "output_file.h"
#include "output_name.h"
#include "platform/code_page.h"
#include "session.h"
#include "table/whole_number.h"

namespace kartex {

namespace {

constexpr size_t kLastDxccCapacity = 4;

void AppendQuoted(std::string& out, const std::string& value) {
  out += '"';
  out += value;
  out += '"';
}

void AppendCountryRow(std::string& out, const TypRecordu_CSV& country) {
  AppendQuoted(out, country.NrCty);
  out += ',';
  AppendQuoted(out, country.NrAdif);
  out += ',';
  AppendQuoted(out, country.Country);
  out += ',';
  AppendQuoted(out, country.Prefixes);
  out += "\r\n";
}

}  // namespace

std::string DxccKey(const std::string& dxcc) {
  if (dxcc.find(' ') != std::string::npos) return dxcc;
  return NumberText(dxcc);
}

bool DxccValue(const std::string& dxcc, long& value) {
  const std::optional<int32_t> number = ReadWholeNumber(dxcc);
  if (number) value = *number;
  return number.has_value();
}

void Sort(std::vector<TMyRecord>& tally) {
  // Each entry's value and index packed into one key: ordering the keys
  // orders by value and, among equal values, by the old position, which is
  // the stable order the bubble passes give. The tally has one entry per
  // table row at most, so an index fits in 32 bits.
  std::vector<uint64_t> keys(tally.size());
  for (size_t i = tally.size(); i-- > 0;) {
    long value = 0;
    if (!DxccValue(tally[i].dxcc, value)) {
      throw CommandError("'" + Cp1250ToUtf8(tally[i].dxcc) + "' is not a valid integer value");
    }
    const uint64_t biased = static_cast<uint64_t>(static_cast<int64_t>(value) - INT32_MIN);
    keys[i] = (biased << 32) | static_cast<uint64_t>(i);
  }
  if (tally.size() < 2) return;
  std::sort(keys.begin(), keys.end());
  std::vector<TMyRecord> sorted;
  sorted.reserve(tally.size());
  for (uint64_t key : keys) sorted.push_back(std::move(tally[key & 0xFFFFFFFFu]));
  tally = std::move(sorted);
}

std::string CountryRowsInCtyOrder(const std::vector<TypRecordu_CSV>& countries,
                                  const std::vector<TMyRecord>& tally) {
  std::unordered_set<std::string> inLog;
  inLog.reserve(tally.size());
  for (const TMyRecord& entry : tally) inLog.insert(DxccKey(entry.dxcc));

  std::string out;
  for (const TypRecordu_CSV& country : countries) {
    if (!country.NrAdif.empty() && inLog.count(country.NrAdif) != 0) AppendCountryRow(out, country);
  }
  return out;
}

std::string CountryRowsInAdifOrder(const std::vector<TypRecordu_CSV>& countries,
                                   const std::vector<TMyRecord>& tally) {
  // The first country of CTY.DAT for each ADIF number.
  std::unordered_map<std::string_view, const TypRecordu_CSV*> byNumber;
  byNumber.reserve(countries.size());
  for (const TypRecordu_CSV& country : countries) {
    if (!country.NrAdif.empty()) byNumber.emplace(country.NrAdif, &country);
  }

  std::string out;
  std::string lastWritten;
  const std::string* previous = nullptr;
  for (const TMyRecord& entry : tally) {
    // An entry with the text of the one before it can never write a row:
    // that text was either written just now or has no country.
    if (previous != nullptr && entry.dxcc == *previous) continue;
    previous = &entry.dxcc;
    const std::string key = DxccKey(entry.dxcc);
    if (key == lastWritten) continue;
    auto found = byNumber.find(key);
    if (found == byNumber.end()) continue;
    AppendCountryRow(out, *found->second);
    lastWritten = key.substr(0, kLastDxccCapacity);
  }
  return out;
}

// The COUNTRY.CSV "Zapisz": asks for the file, reads and joins the reference
// files of the current directory, rebuilds the tally over all rows and
// writes the list in the order chosen in SortBy. The file is written in one
// piece at the end, so an export that fails leaves the previous file as it
// was.
void Session::CTY_ADIFClick() {
  const std::optional<std::string> chosen =
      windows_.SaveFileDialog(FileDialogSpec{"SD1", "COUNTRY.CSV", "CSV|*.csv"});
  if (!chosen) return;

  std::vector<TypRecordu_CSV> countries;
  {
    ReferenceFiles files;
    const std::vector<std::string> missing = OpenReferenceFiles(files);
    ShowMessages(missing);
    if (!missing.empty()) return;
    std::vector<AdifEntry> adif;
    ReadCtyDat(files.cty, countries);
    ReadAdifDxc(files.adif, adif);
    ShowMessages(JoinByName(countries, adif));
  }

  // A name that got ".CSV" appended is asked about here, before the
  // hourglass shows.
  bool appended = false;
  const std::string fileName = CsvOutputName(*chosen, CsvExtensionRule::LowerOrUpper, &appended);
  if (!MayWriteAppendedName(windows_, fileName, appended)) return;

  BusyCursor busy(windows_);  // the normal cursor comes back on every way out

  std::string content = kCountryCsvHeader;
  content += "\r\n";
  if (table_.RowCount() < 2) {
    windows_.ShowMessage("Brak rekordów w tabeli !");
    WriteFileAtomically(fileName, content);
    return;
  }
  // The list needs the tally of every row, so the filter goes off; the
  // choice of RG1 is put back afterwards, also when the export fails.
  FiltrQSO(0);
  try {
    if (controls_.sortByItemIndex == 1) {
      content += CountryRowsInCtyOrder(countries, log_.tally);
    } else {
      kartex::Sort(log_.tally);  // the tally, not the header sort
      content += CountryRowsInAdifOrder(countries, log_.tally);
    }
    WriteFileAtomically(fileName, content);
  } catch (...) {
    RestoreQsoChoice();
    throw;
  }
  RestoreQsoChoice();
}

// After the country export: the window shows again what RG1 says. A choice N
// filters anew (the per-row tally gives the same rows); otherwise the
// manager list and the record count follow the rows now shown.
void Session::RestoreQsoChoice() {
  const int item = controls_.rg1ItemIndex;
  if (item >= 0 && item < kMaxQsoCount) {
    FiltrQSO(static_cast<uint8_t>(item + 1));
    return;
  }
  QSL_VIA_Listbox();
  SetRecordsCaption(table_.RowCount() - 1);
  windows_.ControlsChanged();
}

}  // namespace kartex
