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
    const CtyCountry* country = cache.Match(table.CellText(columns.call, row)).country;
    if (!Agrees(table.CellText(columns.dxcc, row), country)) mismatches.push_back({row, country});
  }
  return mismatches;
}

DxccMismatchTexts MismatchTexts(const LogTable& table, const LogColumns& columns,
                                const CallResolver& resolver, const DxccMismatch& mismatch) {
  DxccMismatchTexts texts;
  texts.call = table.CellText(columns.call, mismatch.row);
  texts.qsoDate = table.CellText(columns.qsoDate, mismatch.row);
  texts.dxcc = table.CellText(columns.dxcc, mismatch.row);
  if (const std::optional<int32_t> number = DxccNumber(texts.dxcc)) {
    texts.dxccCountry = resolver.AdifCountryName(*number);
  }
  return texts;
}

std::string DxccCheckCsv(const LogTable& table, const LogColumns& columns,
                         const CallResolver& resolver,
                         const std::vector<DxccMismatch>& mismatches) {
  std::string out;
  out.reserve(64 * (mismatches.size() + 1));
  AppendQuotedCsvLine(out,
                      {"ROW", "CALL", "QSO_DATE", "DXCC", "COUNTRY", "CTY_DXCC", "CTY_COUNTRY"});
  for (const DxccMismatch& m : mismatches) {
    const DxccMismatchTexts texts = MismatchTexts(table, columns, resolver, m);
    const bool numbered = m.country != nullptr && m.country->adifNumber != 0;
    const std::string ctyDxcc = numbered ? std::to_string(m.country->adifNumber) : std::string();
    const std::string_view ctyCountry = m.country != nullptr ? m.country->name : std::string_view();
    AppendQuotedCsvLine(out, {std::to_string(m.row), texts.call, texts.qsoDate, texts.dxcc,
                              texts.dxccCountry, ctyDxcc, ctyCountry});
  }
  return out;
}

}  // namespace kartex
