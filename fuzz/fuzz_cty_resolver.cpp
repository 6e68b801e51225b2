// The reader of all of CTY.DAT and the lookup of call signs. The input is the
// bytes of a CTY.DAT, then a line "--- CALLS ---" and one call per line;
// without that line the calls are the words of the CTY.DAT itself, so that
// its prefixes and whole calls are looked up. The reader must take any bytes
// (the same database with LF or CR LF line ends), and every lookup must give
// what a plain transcription of the rules gives over the same database.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "country/call_resolver.h"
#include "country/cty_database.h"
#include "fuzz_support.h"

namespace kartex::fuzz {
namespace {

constexpr std::string_view kCallsMarker = "--- CALLS ---\n";
constexpr size_t kMaxCalls = 400;

// ---- the rules, transcribed plainly ------------------------------------------

std::optional<std::string> PlainCallText(std::string_view call) {
  const size_t first = call.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  call = call.substr(first, call.find_last_not_of(" \t") - first + 1);
  if (call.size() > kMaxCallLength) return std::nullopt;
  std::string text;
  for (char c : call) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
    if (!ok) return std::nullopt;
    text += c;
  }
  return text;
}

bool IsTwoLetters(std::string_view text) {
  return text.size() == 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'A' && text[1] <= 'Z';
}

const CtyCountry* PlainLongestPrefix(const CtyDatabase& database, const std::string& call) {
  for (size_t n = call.size(); n > 0; --n) {
    const std::string prefix = call.substr(0, n);
    const CtyAlias alias = database.FindPrefix(prefix);
    if (!alias) continue;
    if (prefix == "KG4" && !(call.size() == 3 || IsTwoLetters(call.substr(3)))) continue;
    return alias.country;
  }
  return nullptr;
}

const CtyCountry* PlainWholeOrPrefix(const CtyDatabase& database, const std::string& call) {
  if (const CtyAlias alias = database.FindWholeCall(call)) return alias.country;
  return PlainLongestPrefix(database, call);
}

const CtyCountry* PlainResolve(const CtyDatabase& database, std::string_view call) {
  const std::optional<std::string> text = PlainCallText(call);
  if (!text) return nullptr;
  if (const CtyAlias alias = database.FindWholeCall(*text)) return alias.country;

  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t slash; (slash = text->find('/', start)) != std::string::npos; start = slash + 1) {
    parts.push_back(text->substr(start, slash - start));
  }
  parts.push_back(text->substr(start));

  const std::vector<std::string> marks = {"P", "M", "A", "B", "QRP", "QRPP", "LH", "AE", "AG"};
  std::vector<std::string> names;
  char digit = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (part.empty()) continue;
    if (i == 0) {
      names.push_back(part);
    } else if (part == "MM" || part == "AM") {
      return nullptr;
    } else if (std::find(marks.begin(), marks.end(), part) != marks.end()) {
      continue;
    } else if (part.size() == 1 && part[0] >= '0' && part[0] <= '9') {
      digit = part[0];
    } else {
      names.push_back(part);
    }
  }
  if (names.empty() || names.size() > 2) return nullptr;
  if (names.size() == 1) {
    std::string home = names[0];
    if (digit == 0) {
      return home == *text ? PlainLongestPrefix(database, home)
                           : PlainWholeOrPrefix(database, home);
    }
    const size_t last = home.find_last_of("0123456789");
    if (last != std::string::npos) home[last] = digit;
    return PlainLongestPrefix(database, home);
  }
  const bool secondShorter = names[1].size() < names[0].size();
  const std::string& place = secondShorter ? names[1] : names[0];
  const std::string& other = secondShorter ? names[0] : names[1];
  if (const CtyCountry* country = PlainLongestPrefix(database, place)) return country;
  return PlainWholeOrPrefix(database, other);
}

// ---- the input ----------------------------------------------------------------

std::vector<std::string> WordsOf(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (c == ',' || c == ';' || c == '=' || c == ' ' || c == '\n' || c == '\r' || c == ':') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Name(const CtyCountry* country) { return country ? country->name : "(none)"; }

void CheckCall(const CallResolver& resolver, const std::string& call) {
  const CtyDatabase& database = resolver.Database();
  const CallMatch match = resolver.Match(call);
  const CtyCountry* plain = PlainResolve(database, call);
  if (match.country != plain) {
    Mismatch("call [" + Shown(call) + "]: " + Name(match.country) + ", plainly " + Name(plain));
  }
  const auto& countries = database.Countries();
  if (match.country != nullptr &&
      (match.country < countries.data() || match.country >= countries.data() + countries.size())) {
    Mismatch("call [" + Shown(call) + "]: a country outside the database");
  }
  if (match.areaDigit != 0 && (match.areaDigit < '0' || match.areaDigit > '9')) {
    Mismatch("call [" + Shown(call) + "]: area digit is no digit");
  }
  std::string lower = call;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  if (resolver.Resolve(lower) != match.country ||
      resolver.Resolve(" " + call + "\t") != match.country) {
    Mismatch("call [" + Shown(call) + "]: letter case or blanks around it change the country");
  }
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kartex;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t marker = input.find(fuzz::kCallsMarker);
  const std::string_view cty = input.substr(0, marker);

  const CallResolver resolver(ParseCtyDatabase(cty), {{"001", "ALFA ISLAND"}, {"2", "BETA"}});
  const CtyDatabase& database = resolver.Database();
  for (const CtyCountry& country : database.Countries()) {
    if (country.name.empty() || country.primaryPrefix.empty() || country.primaryPrefix[0] == '*') {
      fuzz::Mismatch("a country without name or prefix, or a region: [" +
                     fuzz::Shown(country.name) + "]");
    }
  }
  const size_t lines = fuzz::InputLines(cty).size();
  if (database.SkippedLines() > 2 * lines + 1) fuzz::Mismatch("more lines skipped than read");

  const CtyDatabase crLf = ParseCtyDatabase(fuzz::WithCrLf(cty));
  if (crLf.Countries().size() != database.Countries().size() ||
      crLf.WholeCallCount() != database.WholeCallCount() ||
      crLf.PrefixCount() != database.PrefixCount() ||
      crLf.SkippedLines() != database.SkippedLines()) {
    fuzz::Mismatch("CR LF line ends read differently from LF");
  }

  std::vector<std::string> calls;
  if (marker != std::string_view::npos) {
    for (std::string_view line :
         fuzz::InputLines(input.substr(marker + fuzz::kCallsMarker.size()))) {
      calls.emplace_back(line);
    }
  } else {
    calls = fuzz::WordsOf(cty);
  }
  if (calls.size() > fuzz::kMaxCalls) calls.resize(fuzz::kMaxCalls);
  for (const std::string& call : calls) fuzz::CheckCall(resolver, call);
  return 0;
}
