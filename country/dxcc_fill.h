#pragma once
// "Uzupełnij DXCC z CTY.DAT": every shown row with an empty DXCC cell gets
// the ADIF number of its call's country, so that a log whose logger never
// wrote DXCC reaches the country list.

#include "country/call_resolver.h"
#include "country/log_columns.h"
#include "table/log_table.h"

namespace kartex {

struct DxccFillResult {
  int filled = 0;        // DXCC cells written
  int noCountry = 0;     // rows with an empty DXCC cell whose call gives no country
  int noAdifNumber = 0;  // ... whose call's country has no number in ADIF_DXC.TXT
};

// Writes the plain decimal ADIF number ("291", "1") into every empty DXCC
// cell of the rows 1 to RowCount() - 1 whose call gives a country with one;
// no other cell changes. The changes reach the table's observer as one.
// Nothing is done when the log has no CALL or no DXCC column.
DxccFillResult FillDxcc(LogTable& table, const LogColumns& columns, const CallResolver& resolver);

}  // namespace kartex
