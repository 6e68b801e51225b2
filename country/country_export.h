#pragma once
// The country list: COUNTRY.CSV, one row for each country of CTY.DAT whose
// ADIF number occurs among the DXCC texts of the log, in ADIF order or in
// the order of CTY.DAT.

#include <string>
#include <vector>

#include "commands/loaded_log.h"
#include "commands/session.h"
#include "country/reference_files.h"

namespace kartex {

inline constexpr const char* kCountryCsvHeader =
    "\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"PREFIKSES\"";

// The COUNTRY.CSV "Zapisz": asks for the file, reads and joins the reference
// files of the current directory, rebuilds the tally over all rows and
// writes the list in the order chosen in SortBy. The file is written in one
// piece at the end, so an export that fails leaves the previous file as it
// was.
void CTY_ADIFClick(Session& session);

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

// The output name: ".CSV" appended unless the file name's extension is
// exactly ".csv" or ".CSV".
std::string CountryFileName(const std::string& chosen, bool& appended);

}  // namespace kartex
