#include "country/cty_database.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "table/ascii_case.h"
#include "table/whole_number.h"

namespace kartex {

namespace {

// The header line's fields: name, CQ zone, ITU zone, continent, latitude,
// longitude, UTC offset and primary prefix, each closed by a colon.
constexpr size_t kHeaderFields = 8;
// The country list joins by the name in these columns of the header line.
constexpr size_t kJoinNameColumns = 25;

// A stray CR (a file moved between systems twice) counts as a blank too.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsAllBlank(std::string_view text) { return Trimmed(text).empty(); }

bool ParseInt(std::string_view text, int& value) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 9) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool ParseDouble(std::string_view text, double& value) {
  text = Trimmed(text);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// Letters, digits and "/", upper-cased into out; false for anything else.
bool ReadCallText(std::string_view text, std::string& out) {
  if (text.empty() || text.size() > kMaxCallLength) return false;
  out.clear();
  for (char c : text) {
    c = AsciiUpper(c);
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')) return false;
    out += c;
  }
  return true;
}

// One override mark's inside into overrides; false when it cannot be read.
bool ReadOverride(char open, std::string_view inside, CtyOverrides& overrides) {
  switch (open) {
    case '(':
      return ParseInt(inside, overrides.cqZone);
    case '[':
      return ParseInt(inside, overrides.ituZone);
    case '<': {
      const size_t slash = inside.find('/');
      double latitude = 0, longitude = 0;
      if (slash == std::string_view::npos || !ParseDouble(inside.substr(0, slash), latitude) ||
          !ParseDouble(inside.substr(slash + 1), longitude)) {
        return false;
      }
      overrides.latitude = latitude;
      overrides.longitude = longitude;
      return true;
    }
    case '{': {
      const std::string_view continent = Trimmed(inside);
      if (continent.empty() || continent.size() > 4) return false;
      overrides.continent.clear();
      for (char c : continent) {
        c = AsciiUpper(c);
        if (c < 'A' || c > 'Z') return false;
        overrides.continent += c;
      }
      return true;
    }
    case '~': {
      double offset = 0;
      if (!ParseDouble(inside, offset)) return false;
      overrides.utcOffset = offset;
      return true;
    }
  }
  return false;
}

char ClosingMark(char open) {
  switch (open) {
    case '(':
      return ')';
    case '[':
      return ']';
    case '<':
      return '>';
    case '{':
      return '}';
    default:
      return '~';
  }
}

}  // namespace

// ---------------------------------------------------------------- CtyDatabase

CtyAlias CtyDatabase::Found(const AliasRef* ref) const {
  if (ref == nullptr) return {};
  return {&countries_[ref->country],
          ref->overrides == 0 ? nullptr : &overrides_[ref->overrides - 1]};
}

CtyAlias CtyDatabase::FindWholeCall(std::string_view call) const {
  return Found(wholeCalls_->Find(call));
}

CtyAlias CtyDatabase::FindPrefix(std::string_view prefix) const {
  return Found(prefixes_->Find(prefix));
}

CtyAlias CtyDatabase::FindLongestPrefix(std::string_view text, size_t maxLength,
                                        size_t* length) const {
  for (size_t n = std::min({maxLength, longestPrefix_, text.size()}); n > 0; --n) {
    const CtyAlias alias = FindPrefix(text.substr(0, n));
    if (alias) {
      *length = n;
      return alias;
    }
  }
  *length = 0;
  return {};
}

std::vector<std::string> CtyDatabase::JoinAdifNumbers(const std::vector<AdifEntry>& entries) {
  // The first entry of each name; a later entry of the same name never wins.
  std::unordered_map<std::string_view, std::string_view> numberByName;
  numberByName.reserve(entries.size());
  for (const AdifEntry& entry : entries) numberByName.emplace(entry.Country, entry.NrAdif);

  std::vector<std::string> unmatched;
  for (size_t i = 0; i < countries_.size(); ++i) {
    CtyCountry& country = countries_[i];
    country.adifNumber = 0;
    const auto found = numberByName.find(joinNames_[i]);
    if (found != numberByName.end()) {
      const std::optional<int32_t> number = ReadWholeNumber(found->second);
      if (number && *number > 0) country.adifNumber = *number;
    }
    if (country.adifNumber == 0) unmatched.push_back(country.name);
  }
  return unmatched;
}

// ---------------------------------------------------------------- CtyDatReader

void CtyDatReader::ReadLine(std::string_view line) {
  // A file saved as UTF-8 by an editor may begin with a byte order mark.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (firstLine_ && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  firstLine_ = false;
  if (IsAllBlank(line)) return;  // an empty line is no line of the format
  if (IsBlank(line.front())) {
    ReadAliases(line);
  } else {
    ReadHeader(line);
  }
}

void CtyDatReader::EndList() {
  if (state_ == ListState::kOpen) ++database_.skippedLines_;  // no closing ";"
  state_ = ListState::kNoCountry;
}

void CtyDatReader::ReadHeader(std::string_view line) {
  EndList();
  std::string_view fields[kHeaderFields];
  size_t at = 0;
  for (std::string_view& field : fields) {
    const size_t colon = line.find(':', at);
    if (colon == std::string_view::npos) {
      ++database_.skippedLines_;  // its aliases belong to no country either
      return;
    }
    field = line.substr(at, colon - at);
    at = colon + 1;
  }

  CtyCountry country;
  country.name = std::string(Trimmed(fields[0]));
  country.continent = std::string(Trimmed(fields[3]));
  country.primaryPrefix = std::string(Trimmed(fields[7]));
  if (country.name.empty() || country.continent.empty() || country.primaryPrefix.empty() ||
      !ParseInt(fields[1], country.cqZone) || !ParseInt(fields[2], country.ituZone) ||
      !ParseDouble(fields[4], country.latitude) || !ParseDouble(fields[5], country.longitude) ||
      !ParseDouble(fields[6], country.utcOffset)) {
    ++database_.skippedLines_;
    return;
  }

  state_ = ListState::kOpen;
  excluded_ = country.primaryPrefix.front() == '*';
  if (excluded_) return;
  std::string joinName = UpperTrimmed(std::string(line.substr(0, kJoinNameColumns)));
  CutTo(joinName, kCountryCapacity);
  database_.joinNames_.push_back(std::move(joinName));
  database_.countries_.push_back(std::move(country));
}

void CtyDatReader::ReadAliases(std::string_view line) {
  if (state_ != ListState::kOpen) {
    ++database_.skippedLines_;  // before the first country, after a broken one or after ";"
    return;
  }
  bool broken = false;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != ',' && line[i] != ';') continue;
    if (!AddAlias(line.substr(start, i - start))) broken = true;
    start = i + 1;
    if (line[i] == ';') {
      state_ = ListState::kClosed;
      break;
    }
  }
  // The last alias of a line may go without its comma when another line follows.
  if (state_ == ListState::kOpen && !AddAlias(line.substr(start))) broken = true;
  if (broken) ++database_.skippedLines_;
}

bool CtyDatReader::AddAlias(std::string_view token) {
  token = Trimmed(token);
  if (token.empty()) return true;  // two commas in a row, or a line's closing comma
  const bool wholeCall = token.front() == '=';
  if (wholeCall) token.remove_prefix(1);

  const size_t marks = std::min(token.find_first_of("([<{~"), token.size());
  std::string text;
  if (!ReadCallText(token.substr(0, marks), text)) return false;

  CtyOverrides overrides;
  bool anyOverride = false;
  for (size_t at = marks; at < token.size();) {
    const char open = token[at];
    const size_t close = token.find(ClosingMark(open), at + 1);
    if (std::string_view("([<{~").find(open) == std::string_view::npos ||
        close == std::string_view::npos ||
        !ReadOverride(open, token.substr(at + 1, close - at - 1), overrides)) {
      return false;
    }
    anyOverride = true;
    at = close + 1;
  }
  if (excluded_) return true;

  AliasRef ref;
  ref.country = static_cast<uint32_t>(database_.countries_.size() - 1);
  if (anyOverride) {
    database_.overrides_.push_back(std::move(overrides));
    ref.overrides = static_cast<uint32_t>(database_.overrides_.size());
  }
  if (wholeCall) {
    database_.wholeCalls_->Insert(text, ref);
  } else {
    database_.longestPrefix_ = std::max(database_.longestPrefix_, text.size());
    database_.prefixes_->Insert(text, ref);
  }
  return true;
}

CtyDatabase CtyDatReader::Finish() {
  EndList();
  CtyDatabase database = std::move(database_);
  database_ = CtyDatabase();
  excluded_ = false;
  firstLine_ = true;
  return database;
}

// ---------------------------------------------------------------- reading

CtyDatabase ReadCtyDatabase(TextFile& file) {
  CtyDatReader reader;
  std::string line;
  while (file.ReadLine(line)) reader.ReadLine(line);
  file.Close();
  return reader.Finish();
}

CtyDatabase ParseCtyDatabase(std::string_view bytes) {
  CtyDatReader reader;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    reader.ReadLine(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return reader.Finish();
}

}  // namespace kartex
