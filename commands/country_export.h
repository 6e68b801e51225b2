#pragma once
// The country list: COUNTRY.CSV, one row for each country of CTY.DAT whose
// ADIF number occurs among the DXCC texts of the log, in ADIF order or in
// the order of CTY.DAT.

#include <string>
#include <vector>

#include "country/reference_files.h"
#include "loaded_log.h"

namespace kartex {

inline constexpr const char* kCountryCsvHeader =
    "\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"PREFIKSES\"";

// The DXCC text as it is compared with NrAdif: a number text, except that a
// text holding a blank stays as it is.
std::string DxccKey(const std::string& dxcc);

// The value of a DXCC text: decimal digits after optional blanks and an
// optional sign, within 32 bits. False for any other text, the empty one too.
bool DxccValue(const std::string& dxcc, long& value);

// Sorts the tally in place by the values of its DXCC texts, ascending;
// entries of equal value keep their order. The texts are all converted
// first, from the last entry back, and the first that is no integer fails
// with CommandError "'TEXT' is not a valid integer value", leaving the
// tally as it was.
void Sort(std::vector<TMyRecord>& tally);

// The rows of COUNTRY.CSV after the header, CR LF after each.
std::string CountryRowsInCtyOrder(const std::vector<TypRecordu_CSV>& countries,
                                  const std::vector<TMyRecord>& tally);
// The tally must be sorted already.
std::string CountryRowsInAdifOrder(const std::vector<TypRecordu_CSV>& countries,
                                   const std::vector<TMyRecord>& tally);

}  // namespace kartex
