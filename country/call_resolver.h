#pragma once
// The country of a call sign by the rules of CTY.DAT, with each country's
// ADIF number from ADIF_DXC.TXT.
//
// The lookup of one call (upper-cased, blanks around it ignored):
// 1. A whole-call entry ("=CALL") wins: tried on the call as written, then on
//    its home call, the call without its operating marks.
// 2. Otherwise the call is split at "/": /MM and /AM (at sea, in the air) give
//    no country; operating marks such as /P, /M, /QRP, /A, /B, /LH are
//    dropped; a lone digit (K1ABC/4) replaces the call's area digit; of two
//    parts the shorter is the place (DL/SP5ABC and SP5ABC/DL are Germany),
//    and where the place is no known prefix the other part is used.
// 3. Otherwise the longest prefix of the call that CTY.DAT lists; KG4 followed
//    by exactly two letters is Guantanamo Bay, other KG4 calls the USA.
// A call of anything but letters, digits and "/", or longer than
// kMaxCallLength, gives no country.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "country/cty_database.h"
#include "country/reference_files.h"

namespace kartex {

// What the lookup of one call found.
struct CallMatch {
  const CtyCountry* country = nullptr;      // nullptr: no country
  const CtyOverrides* overrides = nullptr;  // written with the alias that decided; null: none
  // The call area digit of the place the country came from ('4' for K1ABC/4,
  // '7' for KL7ABC/VE7); 0 when the place has no digit or there is no country.
  char areaDigit = 0;
};

class CallResolver {
 public:
  // Joins the countries to the ADIF entries by name.
  CallResolver(CtyDatabase database, const std::vector<AdifEntry>& adifEntries);

  const CtyCountry* Resolve(std::string_view call) const { return Match(call).country; }
  CallMatch Match(std::string_view call) const;

  const CtyDatabase& Database() const { return database_; }
  // The countries of CTY.DAT that found no ADIF number, in file order.
  const std::vector<std::string>& CountriesWithoutAdifNumber() const { return withoutAdif_; }
  // The name of ADIF_DXC.TXT's first entry of that number; empty when none.
  std::string_view AdifCountryName(int adifNumber) const;

 private:
  CallMatch PrefixMatch(std::string_view call) const;
  CallMatch SinglePartMatch(std::string_view call) const;

  CtyDatabase database_;
  std::vector<std::string> withoutAdif_;
  std::unordered_map<int, std::string> adifNames_;
};

}  // namespace kartex
