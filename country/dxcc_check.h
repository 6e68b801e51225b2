#pragma once
// "Sprawdź DXCC": the shown rows whose logged DXCC differs from the country
// of their call by CTY.DAT, and the rows whose call gives no country, with
// the file that "Zapisz…" writes of them.

#include <string>
#include <string_view>
#include <vector>

#include "country/call_resolver.h"
#include "country/log_columns.h"
#include "table/log_table.h"

namespace kartex {

// One row of the list. A log whose DXCC cells are all empty lists every row,
// so a row is kept in 16 bytes and its texts are read from the table: the
// list belongs to the table as it was checked, until the table changes.
struct DxccMismatch {
  int row = 0;                          // its position in the table (1 = first data row)
  const CtyCountry* country = nullptr;  // the call's country by CTY.DAT; null when none
};

// The texts of a listed row: the cells as they stand, and the name in
// ADIF_DXC.TXT of the logged DXCC (empty when it names none). Views into
// the table and the resolver.
struct DxccMismatchTexts {
  std::string_view call;
  std::string_view qsoDate;
  std::string_view dxcc;
  std::string_view dxccCountry;
};

// The rows 1 to RowCount() - 1, in table order, whose DXCC differs from their
// call's ADIF number (compared as numbers, so " 291" agrees with 291; an
// empty cell, or a country without an ADIF number, always differs) or whose
// call gives no country. Reads the table only.
std::vector<DxccMismatch> CheckDxcc(const LogTable& table, const LogColumns& columns,
                                    const CallResolver& resolver);

DxccMismatchTexts MismatchTexts(const LogTable& table, const LogColumns& columns,
                                const CallResolver& resolver, const DxccMismatch& mismatch);

// The list as a CSV file's bytes: the header
// "ROW","CALL","QSO_DATE","DXCC","COUNTRY","CTY_DXCC","CTY_COUNTRY", then one
// line per row; every field quoted, quotes doubled, comma-separated, CR LF.
// CTY_DXCC is the plain decimal ADIF number; it and CTY_COUNTRY are empty
// for a call of no country, CTY_DXCC also for a country without a number.
std::string DxccCheckCsv(const LogTable& table, const LogColumns& columns,
                         const CallResolver& resolver, const std::vector<DxccMismatch>& mismatches);

}  // namespace kartex
