#pragma once
// "Sprawdź DXCC": the shown rows whose logged DXCC differs from the country
// of their call by CTY.DAT, and the rows whose call gives no country, with
// the file that "Zapisz…" writes of them.

#include <string>
#include <vector>

#include "country/call_resolver.h"
#include "country/log_columns.h"
#include "table/log_table.h"

namespace kartex {

// One row of the list; texts are the cells' bytes as they stand.
struct DxccMismatch {
  int row = 0;  // its position in the table (1 = first data row)
  std::string call;
  std::string qsoDate;
  std::string dxcc;                     // the logged DXCC cell
  std::string dxccCountry;              // its name in ADIF_DXC.TXT; empty when none
  const CtyCountry* country = nullptr;  // the call's country by CTY.DAT; null when none
};

// The rows 1 to RowCount() - 1, in table order, whose DXCC differs from their
// call's ADIF number (compared as numbers, so " 291" agrees with 291; an
// empty cell, or a country without an ADIF number, always differs) or whose
// call gives no country. Reads the table only.
std::vector<DxccMismatch> CheckDxcc(const LogTable& table, const LogColumns& columns,
                                    const CallResolver& resolver);

// The list as a CSV file's bytes: the header
// "ROW","CALL","QSO_DATE","DXCC","COUNTRY","CTY_DXCC","CTY_COUNTRY", then one
// line per row; every field quoted, quotes doubled, comma-separated, CR LF.
std::string DxccCheckCsv(const std::vector<DxccMismatch>& mismatches);

}  // namespace kartex
