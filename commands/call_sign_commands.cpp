// "Narzędzia": the commands that read a contact's country from its call sign
// by CTY.DAT, and the DXCC that an ADIF load fills in the same way.

#include <string>

#include "busy_cursor.h"
#include "country/bureau_order.h"
#include "country/dxcc_check.h"
#include "country/dxcc_fill.h"
#include "country/reference_loading.h"
#include "output_file.h"
#include "platform/code_page.h"
#include "session.h"

namespace kartex {
namespace {

constexpr const char* kCheckNote =
    "CTY.DAT opisuje dzisiejszy podział na kraje DXCC: łączność sprzed lat może być zapisana "
    "poprawnie, a mimo to różnić się od kraju, który dziś podaje znak.";

std::string Utf8(std::string_view cp1250) { return Cp1250ToUtf8(cp1250); }

std::string NumberOrEmpty(int number) { return number > 0 ? std::to_string(number) : ""; }

// The lines of the fill's report that say something (UTF-8).
std::string FillReport(const DxccFillResult& result, size_t skippedLines) {
  std::string text = "Uzupełnione pola DXCC: " + std::to_string(result.filled) + ".";
  if (result.noCountry > 0)
    text += "\nZnaki bez kraju wg CTY.DAT: " + std::to_string(result.noCountry) + ".";
  if (result.noAdifNumber > 0) {
    text += "\nKraje bez numeru w ADIF_DXC.TXT: " + std::to_string(result.noAdifNumber) + ".";
  }
  if (skippedLines > 0)
    text += "\nPominięte błędne wiersze CTY.DAT: " + std::to_string(skippedLines) + ".";
  return text;
}

bool AnyEmptyCell(const LogTable& table, int column) {
  for (int row = 1; row < table.RowCount(); ++row) {
    if (table.CellText(column, row).empty() && !table.Row(row).AllEmpty()) return true;
  }
  return false;
}

}  // namespace

LogColumns Session::CallSignColumns() const {
  LogColumns columns = FindLogColumns(table_);
  columns.call = log_.callColumn;
  columns.dxcc = log_.dxccColumn;
  columns.qslVia = log_.qslViaFound ? log_.qslViaColumn : -1;
  return columns;
}

std::optional<CallSignReference> Session::LoadCallSignReference() {
  ReferenceLoad load = LoadCallResolver(ReferenceFolders());
  ShowMessages(load.messages);
  if (!load.resolver) return std::nullopt;
  return CallSignReference{std::move(*load.resolver), load.skippedLines};
}

void Session::UzupelnijDXCC1Click() {
  BusyCursor busy(windows_);
  const std::optional<CallSignReference> reference = LoadCallSignReference();
  if (!reference) return;
  const DxccFillResult result = FillDxcc(table_, CallSignColumns(), reference->resolver);
  windows_.ShowMessage(FillReport(result, reference->skippedLines));
}

void Session::SprawdzDXCC1Click() {
  BusyCursor busy(windows_);
  const std::optional<CallSignReference> reference = LoadCallSignReference();
  if (!reference) return;
  const LogColumns columns = CallSignColumns();
  const CallResolver& resolver = reference->resolver;
  const std::vector<DxccMismatch> mismatches = CheckDxcc(table_, columns, resolver);

  ListDialog list;
  list.name = "SprawdzDXCC";
  list.title = "Sprawdź DXCC";
  list.note =
      "Łączności, których DXCC różni się od kraju znaku: " + std::to_string(mismatches.size()) +
      ". " + kCheckNote;
  list.headings = {"Wiersz",          "CALL",           "QSO_DATE", "DXCC", "Kraj",
                   "DXCC wg CTY.DAT", "Kraj wg CTY.DAT"};
  list.lineCount = mismatches.size();
  list.text = [&](size_t line, size_t column) -> std::string {
    const DxccMismatch& mismatch = mismatches[line];
    const DxccMismatchTexts texts = MismatchTexts(table_, columns, resolver, mismatch);
    const CtyCountry* country = mismatch.country;
    switch (column) {
      case 0:
        return std::to_string(mismatch.row);
      case 1:
        return Utf8(texts.call);
      case 2:
        return Utf8(texts.qsoDate);
      case 3:
        return Utf8(texts.dxcc);
      case 4:
        return Utf8(texts.dxccCountry);
      case 5:
        return country ? NumberOrEmpty(country->adifNumber) : "";
      default:
        return country ? Utf8(country->name) : "";
    }
  };
  list.tableRow = [&](size_t line) { return mismatches[line].row; };
  list.goToColumn = columns.call;
  list.save = [&] {
    const std::optional<std::string> file =
        windows_.SaveFileDialog({"SD_DXCC", "DXCC_ROZNICE.CSV", "CSV|*.csv"});
    if (!file) return;
    BusyCursor busy(windows_);
    WriteFileAtomically(*file, DxccCheckCsv(table_, columns, resolver, mismatches));
  };
  windows_.ShowList(list);
}

// CTY.DAT read and the bureau order of the shown rows planned, under the
// hourglass; false, with the messages shown, when a reference file is
// missing. The plan's groups point into the reference.
bool Session::PlanBureaus(std::optional<CallSignReference>& reference, BureauPlan& plan) {
  BusyCursor busy(windows_);
  reference = LoadCallSignReference();
  if (!reference) return false;
  plan = PlanBureauOrder(table_, CallSignColumns(), reference->resolver);
  return true;
}

void Session::SortujwgbiurQSL1Click() {
  std::optional<CallSignReference> reference;
  BureauPlan plan;
  if (!PlanBureaus(reference, plan)) return;
  {
    BusyCursor busy(windows_);
    ApplyRowOrder(table_, plan.order);
    // The order is the bureau's now, no longer that of the header's keys.
    sort_.SortIndex().Clear();
  }
  ShowBureauSummary(plan.groups);
}

void Session::ShowBureauSummary(const std::vector<BureauGroup>& groups) {
  ListDialog list;
  list.name = "BiuraQSL";
  list.title = "Karty wg biur QSL";
  list.note = "Kolejność kart dla biur QSL: prefiks kraju, okręg (K, VE, VK), znak, data i czas.";
  list.headings = {"Prefiks", "Okręg", "Kraj", "Stacje", "Łączności"};
  list.lineCount = groups.size();
  list.text = [&groups](size_t line, size_t column) -> std::string {
    const BureauGroup& group = groups[line];
    switch (column) {
      case 0:
        return group.country ? group.country->primaryPrefix : "";
      case 1:
        return group.areaDigit ? std::string(1, group.areaDigit) : "";
      case 2:
        return group.country ? Utf8(group.country->name) : "(bez kraju)";
      case 3:
        return std::to_string(group.stations);
      default:
        return std::to_string(group.contacts);
    }
  };
  list.save = [this, &groups] { SaveBureaus(groups); };
  windows_.ShowList(list);
}

void Session::ZapiszBiuraClick() {
  std::optional<CallSignReference> reference;
  BureauPlan plan;
  if (PlanBureaus(reference, plan)) SaveBureaus(plan.groups);
}

void Session::SaveBureaus(const std::vector<BureauGroup>& groups) {
  const std::optional<std::string> file =
      windows_.SaveFileDialog({"SD_BIURA", "BIURA.CSV", "CSV|*.csv"});
  if (!file) return;
  BusyCursor busy(windows_);
  WriteFileAtomically(*file, BureauSummaryCsv(groups));
}

// Most loggers write no DXCC; the load has added the column where it was
// missing. Its empty cells are filled from CTY.DAT; without the reference
// files the load is rejected, since such a log cannot reach the country list.
bool Session::FillEmptyDxccFromCtyDat(std::string& report) {
  if (!AnyEmptyCell(table_, log_.dxccColumn)) return true;
  ReferenceLoad load = LoadCallResolver(ReferenceFolders());
  if (!load.resolver) {
    std::string missing;
    if (load.ctyPath.empty()) missing = "CTY.DAT";
    if (load.adifPath.empty()) missing += missing.empty() ? "ADIF_DXC.TXT" : " i ADIF_DXC.TXT";
    RejectLoad("Dziennik ADIF nie ma numerów DXCC, a do ich uzupełnienia brak pliku: " + missing +
               ".");
    return false;
  }
  const DxccFillResult result = FillDxcc(table_, CallSignColumns(), *load.resolver);
  report = FillReport(result, load.skippedLines);
  return true;
}

}  // namespace kartex
