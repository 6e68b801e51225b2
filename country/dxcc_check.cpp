#include "country/dxcc_check.h"

#include <optional>

#include "country/call_cache.h"
#include "table/quoted_csv_field.h"
#include "table/whole_number.h"

namespace kartex {

namespace {

// A DXCC text as a number: blanks around it allowed, an optional sign, then
// decimal digits only.
std::optional<int32_t> DxccNumber(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return ReadWholeNumber(text);
}

bool Agrees(std::string_view dxcc, const CtyCountry* country) {
  if (country == nullptr || country->adifNumber == 0) return false;
  const std::optional<int32_t> number = DxccNumber(dxcc);
  return number && *number == country->adifNumber;
}

}  // namespace

std::vector<DxccMismatch> CheckDxcc(const LogTable& table, const LogColumns& columns,
                                    const CallResolver& resolver) {
  std::vector<DxccMismatch> mismatches;
  CallCache cache(resolver);
  const int rows = table.RowCount();
  for (int row = 1; row < rows; ++row) {
    if (row + CallCache::kLookAhead < rows) {
      cache.Prefetch(table.CellText(columns.call, row + CallCache::kLookAhead));
    }
    if (!IsContactRow(table, row)) continue;
    const std::string_view call = table.CellText(columns.call, row);
    const std::string_view dxcc = table.CellText(columns.dxcc, row);
    const CtyCountry* country = cache.Match(call).country;
    if (Agrees(dxcc, country)) continue;

    DxccMismatch& mismatch = mismatches.emplace_back();
    mismatch.row = row;
    mismatch.call = call;
    mismatch.qsoDate = table.CellText(columns.qsoDate, row);
    mismatch.dxcc = dxcc;
    if (const std::optional<int32_t> number = DxccNumber(dxcc)) {
      mismatch.dxccCountry = resolver.AdifCountryName(*number);
    }
    mismatch.country = country;
  }
  return mismatches;
}

std::string DxccCheckCsv(const std::vector<DxccMismatch>& mismatches) {
  std::string out;
  AppendQuotedCsvLine(out,
                      {"ROW", "CALL", "QSO_DATE", "DXCC", "COUNTRY", "CTY_DXCC", "CTY_COUNTRY"});
  for (const DxccMismatch& m : mismatches) {
    const bool numbered = m.country != nullptr && m.country->adifNumber != 0;
    const std::string ctyDxcc = numbered ? std::to_string(m.country->adifNumber) : std::string();
    const std::string_view ctyCountry = m.country != nullptr ? m.country->name : std::string_view();
    AppendQuotedCsvLine(out, {std::to_string(m.row), m.call, m.qsoDate, m.dxcc, m.dxccCountry,
                              ctyDxcc, ctyCountry});
  }
  return out;
}

}  // namespace kartex
