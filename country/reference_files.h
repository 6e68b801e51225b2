#pragma once
// The two reference files of the country list: CTY.DAT (radio countries with
// their call-sign prefixes) and ADIF_DXC.TXT (ADIF DXCC numbers with country
// names), read into two tables and joined by country name so that every
// country carries its ADIF number. The tables live for one export only.

#include <cstddef>
#include <string>
#include <vector>

#include "country/text_helpers.h"

namespace kartex {

inline constexpr const char* kCtyDatName = "CTY.DAT";
inline constexpr const char* kAdifDxcName = "ADIF_DXC.TXT";

// Capacities of the text fields; a longer value keeps its first characters.
inline constexpr size_t kCountryCapacity = 26;
inline constexpr size_t kNrAdifCapacity = 4;

// One country of CTY.DAT and, later, one row of COUNTRY.CSV.
struct TypRecordu_CSV {
  std::string NrCty;     // sequence number in CTY.DAT as a number text (001, 002, ...)
  std::string Country;   // name from columns 1-25, trimmed and upper-cased
  std::string NrAdif;    // ADIF number given by the join; empty when none
  std::string Prefixes;  // the prefix list
};

// One data line of ADIF_DXC.TXT.
struct AdifEntry {
  std::string NrAdif;   // number text of columns 1-3
  std::string Country;  // name from columns 5-35, trimmed, upper-cased, cut to 26
};

// The reference files while they are open; closed when this goes away.
struct ReferenceFiles {
  TextFile cty;
  TextFile adif;
};

// Opens CTY.DAT and ADIF_DXC.TXT in the current directory. When either does
// not open, closes the other and returns the messages for the operator:
// which one is missing (CTY.DAT first), then "Brak zbiorow wejscia". No
// message: both are open.
std::vector<std::string> OpenReferenceFiles(ReferenceFiles& files);

// Reads the open CTY.DAT to its end into countries (emptied first) and closes
// it; returns the number of countries. Empty lines, and continuation lines
// before the first header line, are passed over.
size_t ReadCtyDat(TextFile& file, std::vector<TypRecordu_CSV>& countries);

// Reads the open ADIF_DXC.TXT to its end into entries (emptied first) and
// closes it; returns the number of entries. Empty lines are passed over.
size_t ReadAdifDxc(TextFile& file, std::vector<AdifEntry>& entries);

// Gives every country the NrAdif of the first ADIF entry of the same name;
// returns "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju NAME"
// (UTF-8) for each country without one, in table order.
std::vector<std::string> JoinByName(std::vector<TypRecordu_CSV>& countries,
                                    const std::vector<AdifEntry>& entries);

}  // namespace kartex
