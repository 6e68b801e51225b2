#include "country/call_resolver.h"

#include <array>

#include "table/ascii_case.h"
#include "table/three_way.h"
#include "table/whole_number.h"

namespace kartex {

namespace {

// Marks of how a station works that say nothing of where it is. Single
// letters that are prefixes of their own (F, G, I, K, N, W, R ...) are not
// among them; M and B are, although England and China use them too.
constexpr std::array<std::string_view, 9> kOperatingMarks = {"P",    "M",  "A",  "B", "QRP",
                                                             "QRPP", "LH", "AE", "AG"};

bool IsOperatingMark(std::string_view part) {
  for (std::string_view mark : kOperatingMarks) {
    if (part == mark) return true;
  }
  return false;
}

// Capital letters: the call is upper-cased before it is looked up.
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

// The call area digit of a call or prefix: its last digit; 0 when none.
char AreaDigit(std::string_view text) {
  for (size_t i = text.size(); i-- > 0;) {
    if (IsDigit(text[i])) return text[i];
  }
  return 0;
}

// A call upper-cased into a buffer of its own; no allocation per lookup.
class CallText {
 public:
  // False when the call is empty, too long, or holds anything but letters,
  // digits and "/" (blanks around it are ignored).
  bool Read(std::string_view call) {
    while (!call.empty() && (call.front() == ' ' || call.front() == '\t')) call.remove_prefix(1);
    while (!call.empty() && (call.back() == ' ' || call.back() == '\t')) call.remove_suffix(1);
    if (call.empty() || call.size() > kMaxCallLength) return false;
    for (char c : call) {
      c = AsciiUpper(c);
      if (!IsLetter(c) && !IsDigit(c) && c != '/') return false;
      bytes_[size_++] = c;
    }
    return true;
  }
  // A copy of call with its last digit replaced by digit.
  void Moved(std::string_view call, char digit) {
    size_ = call.copy(bytes_.data(), bytes_.size());
    for (size_t i = size_; i-- > 0;) {
      if (IsDigit(bytes_[i])) {
        bytes_[i] = digit;
        break;
      }
    }
  }
  std::string_view View() const { return {bytes_.data(), size_}; }

 private:
  std::array<char, kMaxCallLength> bytes_{};
  size_t size_ = 0;
};

// The parts of a call split at "/" once the operating marks are dropped.
struct CallParts {
  std::array<std::string_view, 2> names;  // parts other than marks and lone digits
  size_t nameCount = 0;
  char digit = 0;  // the (last) lone digit
  bool atSeaOrInAir = false;
  bool tooMany = false;  // more than two names: no rule says which is the place

  // The place of two names: the shorter one (the first of two as long).
  std::string_view Place() const { return names[1].size() < names[0].size() ? names[1] : names[0]; }
  std::string_view Other() const { return names[1].size() < names[0].size() ? names[0] : names[1]; }
};

// Marks, the sea and the air, and lone digits come after a "/": the text
// before the first "/" is a call or a place even when it reads "M" or "MM"
// (England, Scotland).
CallParts SplitCall(std::string_view text) {
  CallParts parts;
  size_t start = 0;
  for (bool first = true; start <= text.size(); first = false) {
    size_t end = text.find('/', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = text.substr(start, end - start);
    start = end + 1;
    if (part.empty() || (!first && IsOperatingMark(part))) continue;
    if (first) {
      parts.names[parts.nameCount++] = part;
    } else if (part == "MM" || part == "AM") {
      parts.atSeaOrInAir = true;
    } else if (part.size() == 1 && IsDigit(part[0])) {
      parts.digit = part[0];
    } else if (parts.nameCount < parts.names.size()) {
      parts.names[parts.nameCount++] = part;
    } else {
      parts.tooMany = true;
    }
  }
  return parts;
}

// The area digit of a call matched whole as written.
char WrittenAreaDigit(const CallParts& parts) {
  if (parts.digit != 0) return parts.digit;
  if (parts.nameCount == 1) return AreaDigit(parts.names[0]);
  if (parts.nameCount == 2) return AreaDigit(parts.Place());
  return 0;
}

// KG4 with exactly two letters after it (or nothing, as a place) is
// Guantanamo Bay; every other KG4 call belongs to the USA.
bool IsGuantanamoCall(std::string_view call) {
  const std::string_view rest = call.substr(3);
  return rest.empty() || (rest.size() == 2 && IsLetter(rest[0]) && IsLetter(rest[1]));
}

}  // namespace

CallResolver::CallResolver(CtyDatabase database, const std::vector<AdifEntry>& adifEntries)
    : database_(std::move(database)) {
  withoutAdif_ = database_.JoinAdifNumbers(adifEntries);
  for (const AdifEntry& entry : adifEntries) {
    const std::optional<int32_t> number = ReadWholeNumber(entry.NrAdif);
    if (number) adifNames_.emplace(*number, entry.Country);
  }
}

std::string_view CallResolver::AdifCountryName(int adifNumber) const {
  const auto found = adifNames_.find(adifNumber);
  return found == adifNames_.end() ? std::string_view() : std::string_view(found->second);
}

CallMatch CallResolver::PrefixMatch(std::string_view call) const {
  size_t length = 0;
  CtyAlias alias = database_.FindLongestPrefix(call, kMaxCallLength, &length);
  if (alias && call.substr(0, length) == "KG4" && !IsGuantanamoCall(call)) {
    alias = database_.FindLongestPrefix(call, length - 1, &length);
  }
  if (!alias) return {};
  return {alias.country, alias.overrides, AreaDigit(call)};
}

CallMatch CallResolver::SinglePartMatch(std::string_view call) const {
  const CtyAlias alias = database_.FindWholeCall(call);
  if (alias) return {alias.country, alias.overrides, AreaDigit(call)};
  return PrefixMatch(call);
}

CallMatch CallResolver::Match(std::string_view call) const {
  CallText text;
  if (!text.Read(call)) return {};
  const CallParts parts = SplitCall(text.View());

  const CtyAlias written = database_.FindWholeCall(text.View());
  if (written) return {written.country, written.overrides, WrittenAreaDigit(parts)};
  if (parts.atSeaOrInAir || parts.tooMany || parts.nameCount == 0) return {};

  if (parts.nameCount == 1) {
    const std::string_view home = parts.names[0];
    if (parts.digit == 0) {
      // The home call: the call without its marks, tried whole once more.
      return home.size() == text.View().size() ? PrefixMatch(home) : SinglePartMatch(home);
    }
    // A lone digit moves the call to another area (UA1ABC/9 is UA9ABC).
    CallText moved;
    moved.Moved(home, parts.digit);
    CallMatch match = PrefixMatch(moved.View());
    if (match.country != nullptr) match.areaDigit = parts.digit;
    return match;
  }

  const CallMatch place = PrefixMatch(parts.Place());
  if (place.country != nullptr) return place;
  return SinglePartMatch(parts.Other());
}

}  // namespace kartex
