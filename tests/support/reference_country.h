#pragma once
// The readers of CTY.DAT and ADIF_DXC.TXT and their join written out step
// by step as they are defined: a position counted from 1 that NextToken
// moves along a line, the read-ahead flag of a closed prefix list, the
// comment blocks of ADIF_DXC.TXT. Tables without a capacity; empty lines, and
// continuation lines before the first country, are passed over. The readers
// are checked against it (fuzzers).

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "country/reference_files.h"
#include "platform/code_page.h"

namespace kartex::testing {

// The lines of a reference file that hold at least one character: a line
// ends at LF, and a CR right before the LF, or right before the end of the
// file, belongs to the line end.
inline std::vector<std::string> ReferenceTextLines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < bytes.size();) {
    size_t end = bytes.find('\n', i);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(i, end - i));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    i = next;
  }
  return lines;
}

inline void ReferenceTrimEnd(std::string& text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  if (!text.empty() && (text.back() == ':' || text.back() == ';')) text.pop_back();
}

inline std::string ReferenceUpperTrimmed(std::string text) {
  ReferenceTrimEnd(text);
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

inline std::string ReferenceNumberText(const std::string& text) {
  if (text.size() == 1) return "00" + text;
  if (text.size() == 2) return "0" + text;
  return text;
}

// Characters first..last of a line, counted from 1, as far as it reaches.
inline std::string ReferenceColumns(const std::string& line, size_t first, size_t last) {
  if (line.size() < first) return std::string();
  return line.substr(first - 1, last - first + 1);
}

inline void ReferenceNextToken(const std::string& line, size_t& pos, std::string& token,
                               bool& atEnd) {
  const size_t length = line.size();
  atEnd = false;
  while (pos < length && line[pos - 1] == ' ') ++pos;
  const std::string rest = line.substr(std::min(pos - 1, length), 255);
  // Positions from 1, minus one; npos + 1 is 0, "no such character".
  long long k = static_cast<long long>(rest.find(',') + 1) - 1;
  if (k <= 0) k = static_cast<long long>(rest.find(' ') + 1) - 1;
  if (k <= 0) k = static_cast<long long>(rest.size());
  token = line.substr(std::min(pos - 1, length), static_cast<size_t>(k));
  pos += token.size() + 1;
  ReferenceTrimEnd(token);
  if (pos >= length) atEnd = true;
}

inline void ReferenceRemoveBracketed(std::string& text) {
  for (const auto& [open, close] : {std::pair{'(', ')'}, std::pair{'[', ']'}}) {
    const size_t first = text.find(open), last = text.find(close);
    if (first != std::string::npos && last != std::string::npos && last > first) {
      text.erase(first, last - first + 1);
    }
  }
}

inline std::vector<TypRecordu_CSV> ReferenceReadCtyDat(std::string_view bytes) {
  const std::vector<std::string> lines = ReferenceTextLines(bytes);
  std::vector<TypRecordu_CSV> countries;
  size_t next = 0;  // the next line to read
  std::string line;
  bool readAhead = false;
  size_t pos = 1;
  while (next < lines.size() || readAhead) {
    if (!readAhead) {
      line = lines[next++];
      if (line[0] != ' ') countries.emplace_back();
    }
    readAhead = false;
    if (countries.empty()) continue;  // no country above this continuation line
    TypRecordu_CSV& country = countries.back();
    if (line[0] != ' ') {
      pos = 1;
      country.Country = ReferenceUpperTrimmed(ReferenceColumns(line, 1, 25));
      country.Prefixes = ReferenceColumns(line, 70, 77);
      ReferenceTrimEnd(country.Prefixes);
      country.NrCty = ReferenceNumberText(std::to_string(countries.size()));
      continue;
    }
    bool atEnd = false;
    do {
      std::string token;
      ReferenceNextToken(line, pos, token, atEnd);
      ReferenceRemoveBracketed(token);
      country.Prefixes += " " + token;
      if (country.Prefixes.size() >= 245) {
        // The list is closed: skip to the next header line, which the next
        // pass handles; nothing more of this line is read.
        while (next < lines.size()) {
          line = lines[next++];
          if (line[0] != ' ') {
            readAhead = true;
            pos = 1;
            countries.emplace_back();
            break;
          }
        }
        break;
      }
      if (atEnd) pos = 1;
    } while (!atEnd);
  }
  return countries;
}

inline std::vector<AdifEntry> ReferenceReadAdifDxc(std::string_view bytes) {
  const std::vector<std::string> lines = ReferenceTextLines(bytes);
  std::vector<AdifEntry> entries;
  for (size_t next = 0; next < lines.size();) {
    std::string line = lines[next++];
    if (line[0] == '{') {
      // The block runs until a line whose first byte is below "{"; a file
      // that ends inside it holds nothing more.
      bool ended = false;
      while (next < lines.size() && !ended) {
        line = lines[next++];
        ended = static_cast<unsigned char>(line[0]) < 123;
      }
      if (!ended) break;
    }
    if (line[0] == ' ' || line[0] == '{') continue;
    AdifEntry& entry = entries.emplace_back();
    entry.NrAdif = ReferenceNumberText(ReferenceUpperTrimmed(ReferenceColumns(line, 1, 3)));
    entry.Country = ReferenceUpperTrimmed(ReferenceColumns(line, 5, 35)).substr(0, 26);
  }
  return entries;
}

// Gives each country the number of the first entry of the same name; returns
// the messages for the countries without one, in table order.
inline std::vector<std::string> ReferenceJoinByName(std::vector<TypRecordu_CSV>& countries,
                                                    const std::vector<AdifEntry>& entries) {
  std::vector<std::string> messages;
  for (TypRecordu_CSV& country : countries) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const AdifEntry& entry) {
      return entry.Country == country.Country;
    });
    if (found != entries.end()) {
      country.NrAdif = found->NrAdif.substr(0, 4);
    } else {
      messages.push_back("Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju " +
                         Cp1250ToUtf8(country.Country));
    }
  }
  return messages;
}

}  // namespace kartex::testing
