#pragma once
// All of CTY.DAT, the country file of country-files.com: every country with
// its zones, place and primary prefix, and every alias of its continuation
// lines (prefixes, and whole calls written "=CALL") by which a call sign finds
// its country. Countries whose primary prefix begins with "*" count for other
// awards only (Sicily, European Turkey, Shetland ...): they are left out, so
// their calls fall to the country around them.
//
// Unlike the reader of the country list (reference_files.h), which keeps the
// column rules of COUNTRY.CSV, this one reads the header line's colon fields
// and lines of any length. A broken line is passed over and counted; nothing
// in the file can make the reader fail or loop.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "country/alias_table.h"
#include "country/reference_files.h"
#include "country/text_helpers.h"

namespace kartex {

// The longest call sign (and alias) that is looked up. The longest whole call
// of the CTY.DAT of October 2025 has 21 characters.
inline constexpr size_t kMaxCallLength = 32;

// One country of CTY.DAT.
struct CtyCountry {
  std::string name;  // as written in CTY.DAT
  int cqZone = 0;
  int ituZone = 0;
  std::string continent;  // two letters: EU, AS, AF, NA, SA, OC, AN
  // Degrees as CTY.DAT gives them: latitude north positive, longitude WEST
  // positive; the UTC offset in hours, also west positive (-1.0 for Poland).
  double latitude = 0, longitude = 0, utcOffset = 0;
  std::string primaryPrefix;
  int adifNumber = 0;  // 0: not found in ADIF_DXC.TXT
};

// What an alias says differently from its country, from the marks written
// after it: (cq) [itu] <lat/long> {continent} ~offset~. What is not written
// keeps its "none": 0, empty or no value.
struct CtyOverrides {
  int cqZone = 0;
  int ituZone = 0;
  std::string continent;
  std::optional<double> latitude, longitude;
  std::optional<double> utcOffset;
};

// An alias as found: its country, and the overrides written with it (null
// when none were). A null country: no such alias.
struct CtyAlias {
  const CtyCountry* country = nullptr;
  const CtyOverrides* overrides = nullptr;
  explicit operator bool() const { return country != nullptr; }
};

class CtyDatabase {
 public:
  const std::vector<CtyCountry>& Countries() const { return countries_; }

  // The alias "=CALL" of exactly this call (upper case).
  CtyAlias FindWholeCall(std::string_view call) const;
  // The alias of exactly this prefix (upper case).
  CtyAlias FindPrefix(std::string_view prefix) const;
  // The longest listed prefix of text that is at most maxLength long; its
  // length in *length (0 when none).
  CtyAlias FindLongestPrefix(std::string_view text, size_t maxLength, size_t* length) const;

  size_t WholeCallCount() const { return wholeCalls_->Size(); }
  size_t PrefixCount() const { return prefixes_->Size(); }
  size_t LongestPrefixLength() const { return longestPrefix_; }

  // Lines of CTY.DAT passed over in whole or in part: header lines without
  // their colon fields, continuation lines that belong to no country, lines
  // with an alias that could not be read (a bare "=", a stray character, an
  // unclosed mark), and each country whose alias list is not closed by ";".
  size_t SkippedLines() const { return skippedLines_; }

  // Gives every country the ADIF number of the first ADIF_DXC.TXT entry of
  // the same name, the names compared as the country list compares them
  // (columns 1 to 25 of the header line, trimmed and upper-cased). Returns
  // the names of the countries that found none, in file order.
  std::vector<std::string> JoinAdifNumbers(const std::vector<AdifEntry>& entries);

 private:
  friend class CtyDatReader;

  CtyAlias Found(const AliasRef* ref) const;

  std::vector<CtyCountry> countries_;
  std::vector<std::string> joinNames_;  // per country: its name for the ADIF join
  std::vector<CtyOverrides> overrides_;
  std::unique_ptr<AliasTable> wholeCalls_ = std::make_unique<AliasTable>();
  std::unique_ptr<AliasTable> prefixes_ = std::make_unique<AliasTable>();
  size_t longestPrefix_ = 0;
  size_t skippedLines_ = 0;
};

// Builds a database from the lines of CTY.DAT, given one at a time in file
// order (without their line ends).
class CtyDatReader {
 public:
  void ReadLine(std::string_view line);
  // The database read; the reader is empty afterwards.
  CtyDatabase Finish();

 private:
  enum class ListState {
    kNoCountry,  // before the first header, or after a broken one
    kOpen,       // the current country's list takes aliases
    kClosed,     // its ";" was read
  };
  void ReadHeader(std::string_view line);
  void ReadAliases(std::string_view line);
  bool AddAlias(std::string_view token);
  void EndList();

  CtyDatabase database_;
  ListState state_ = ListState::kNoCountry;
  bool excluded_ = false;  // the current country is a "*" region: its aliases are dropped
  bool firstLine_ = true;
};

// Reads the open CTY.DAT to its end and closes it. Fails with the file's
// read error (ReferenceFileError "Cannot read file NAME").
CtyDatabase ReadCtyDatabase(TextFile& file);

// The same from the bytes of a CTY.DAT (lines end at LF; a CR before it is
// part of the line end).
CtyDatabase ParseCtyDatabase(std::string_view bytes);

}  // namespace kartex
