#include "country/reference_files.h"

#include <string_view>
#include <unordered_map>

#include "platform/code_page.h"

namespace kartex {

namespace {

// A country's list is closed once it is this long.
constexpr size_t kPrefixListLimit = 245;

// The next line that holds at least one character. An empty line is no
// header, continuation or data line, so both readers pass over it.
bool ReadNonEmptyLine(TextFile& file, std::string& line) {
  while (file.ReadLine(line)) {
    if (!line.empty()) return true;
  }
  return false;
}

bool IsBlank(char c) { return c == ' '; }

// Columns first..first+count-1 (from 1), as far as the line reaches.
std::string Columns(const std::string& line, size_t first, size_t count) {
  if (line.size() < first) return std::string();
  return line.substr(first - 1, count);
}

}  // namespace

std::vector<std::string> OpenReferenceFiles(ReferenceFiles& files) {
  const bool ctyOpen = OpenTextFile(files.cty, kCtyDatName);
  const bool adifOpen = OpenTextFile(files.adif, kAdifDxcName);
  if (ctyOpen && adifOpen) return {};
  std::vector<std::string> messages;
  if (!ctyOpen) messages.emplace_back("Brak obecnosci zbioru CTY.DAT");
  if (!adifOpen) messages.emplace_back("Brak obecnosci zbioru ADIF_DXC.TXT");
  messages.emplace_back("Brak zbiorow wejscia");
  files.cty.Close();
  files.adif.Close();
  return messages;
}

size_t ReadCtyDat(TextFile& file, std::vector<TypRecordu_CSV>& countries) {
  countries.clear();
  std::string line;
  std::string token;
  bool readAhead = false;  // a header line was read while closing a list

  for (;;) {
    if (!readAhead) {
      if (!ReadNonEmptyLine(file, line)) break;
      if (!IsBlank(line[0])) {
        countries.emplace_back();
      } else if (countries.empty()) {
        continue;  // prefixes before the first country belong to none
      }
    }
    readAhead = false;

    if (!IsBlank(line[0])) {
      // Header line: the name and the main prefix.
      TypRecordu_CSV& country = countries.back();
      country.Country = UpperTrimmed(Columns(line, 1, 25));
      CutTo(country.Country, kCountryCapacity);
      country.Prefixes = Columns(line, 70, 8);
      TrimEnd(country.Prefixes);
      country.NrCty = NumberText(std::to_string(countries.size()));
      continue;
    }

    // Continuation line: its tokens go to the country above.
    int pos = 1;
    bool atEnd = false;
    do {
      NextToken(line, pos, token, atEnd);
      RemoveBracketed(token);
      std::string& prefixes = countries.back().Prefixes;
      prefixes += ' ';
      prefixes += token;
      if (prefixes.size() >= kPrefixListLimit) {
        // The list is full: skip the rest of this country up to the next
        // header line, which is then handled on the next pass.
        while (ReadNonEmptyLine(file, line)) {
          if (!IsBlank(line[0])) {
            countries.emplace_back();
            readAhead = true;
            break;
          }
        }
        break;
      }
    } while (!atEnd);
  }

  file.Close();
  return countries.size();
}

size_t ReadAdifDxc(TextFile& file, std::vector<AdifEntry>& entries) {
  entries.clear();
  std::string line;
  while (ReadNonEmptyLine(file, line)) {
    if (line[0] == '{') {
      // A comment block: every line whose first byte is "{" or above.
      bool ended = false;
      while (ReadNonEmptyLine(file, line)) {
        if (static_cast<unsigned char>(line[0]) < static_cast<unsigned char>('{')) {
          ended = true;
          break;
        }
      }
      if (!ended) break;  // the file ends inside the block
    }
    if (IsBlank(line[0]) || line[0] == '{') continue;

    AdifEntry& entry = entries.emplace_back();
    entry.NrAdif = NumberText(UpperTrimmed(Columns(line, 1, 3)));
    CutTo(entry.NrAdif, kNrAdifCapacity);
    entry.Country = UpperTrimmed(Columns(line, 5, 31));
    CutTo(entry.Country, kCountryCapacity);
  }
  file.Close();
  return entries.size();
}

std::vector<std::string> JoinByName(std::vector<TypRecordu_CSV>& countries,
                                    const std::vector<AdifEntry>& entries) {
  // The first entry of each name; a later entry of the same name never wins.
  std::unordered_map<std::string_view, const AdifEntry*> byName;
  byName.reserve(entries.size());
  for (const AdifEntry& entry : entries) byName.emplace(entry.Country, &entry);

  std::vector<std::string> notFound;
  for (TypRecordu_CSV& country : countries) {
    auto found = byName.find(country.Country);
    if (found != byName.end()) {
      country.NrAdif = found->second->NrAdif;
      CutTo(country.NrAdif, kNrAdifCapacity);
    } else {
      notFound.push_back("Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju " +
                         Cp1250ToUtf8(country.Country));
    }
  }
  return notFound;
}

}  // namespace kartex
