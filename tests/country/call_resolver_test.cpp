#include "country/call_resolver.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "country/resolver_test_support.h"

namespace kartex {
namespace {

using testing::CountryOf;
using testing::RealResolver;
using testing::RulesResolver;

struct Expected {
  const char* call;
  const char* country;  // "-": no country
};

void ExpectCountries(const CallResolver& resolver, const std::vector<Expected>& cases) {
  for (const Expected& c : cases) {
    EXPECT_EQ(CountryOf(resolver, c.call), c.country) << c.call;
  }
}

// ---- the calls of the issue, with the real CTY.DAT of October 2025 ----------

TEST(CallResolverRealData, CallsOfTheIssueGetTheirCountryNumberAndPrefix) {
  const CallResolver resolver = RealResolver();
  struct Row {
    std::vector<const char*> calls;
    const char* name;
    int adif;
    const char* prefix;
  };
  const std::vector<Row> table = {
      {{"SP5ABC", "SP5ABC/P"}, "Poland", 269, "SP"},
      {{"DL/SP5ABC", "SP5ABC/DL"}, "Fed. Rep. of Germany", 230, "DL"},
      {{"EA8/DL1ABC"}, "Canary Islands", 29, "EA8"},
      {{"K1ABC", "K1ABC/4", "KG4ABC", "KG4W"}, "United States", 291, "K"},
      {{"KG4AB"}, "Guantanamo Bay", 105, "KG4"},
      {{"UA1ABC"}, "European Russia", 54, "UA"},
      {{"UA1ABC/9", "UA9ABC"}, "Asiatic Russia", 15, "UA9"},
      {{"IT9ABC"}, "Italy", 248, "I"},
      {{"4U1ITU"}, "ITU HQ", 117, "4U1I"},
      {{"W1AW/KH6"}, "Hawaii", 110, "KH6"},
      {{"KL7ABC/VE7"}, "Canada", 1, "VE"},
  };
  for (const Row& row : table) {
    for (const char* call : row.calls) {
      const CtyCountry* country = resolver.Resolve(call);
      ASSERT_NE(country, nullptr) << call;
      EXPECT_EQ(country->name, row.name) << call;
      EXPECT_EQ(country->adifNumber, row.adif) << call;
      EXPECT_EQ(country->primaryPrefix, row.prefix) << call;
    }
  }
  EXPECT_EQ(resolver.Resolve("SP5ABC/MM"), nullptr);
  // 4U1ITU is found as a whole call, not by a prefix.
  EXPECT_TRUE(resolver.Database().FindWholeCall("4U1ITU"));
  EXPECT_FALSE(resolver.Database().FindPrefix("4U1ITU"));
}

// The entries of a real CTY.DAT as a plain reading of the format gives them:
// country name and primary prefix per header, aliases without their marks.
struct ListedAlias {
  std::string text;  // without "=" and override marks
  bool wholeCall = false;
  std::string country;
  bool region = false;  // the country's primary prefix begins with "*"
};

std::vector<ListedAlias> ListAliases(const std::string& bytes) {
  std::vector<ListedAlias> aliases;
  std::string country;
  bool region = false;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] != ' ') {
      std::vector<std::string> fields;
      std::istringstream header(line);
      for (std::string field; std::getline(header, field, ':');) fields.push_back(field);
      country = fields[0].substr(0, fields[0].find_last_not_of(' ') + 1);
      region = fields.at(7).find('*') != std::string::npos;
      continue;
    }
    std::string token;
    for (char c : line + ",") {
      if (c != ',' && c != ';') {
        if (c != ' ') token += c;
        continue;
      }
      if (!token.empty()) {
        ListedAlias alias;
        alias.wholeCall = token[0] == '=';
        alias.text = token.substr(alias.wholeCall ? 1 : 0);
        alias.text = alias.text.substr(0, alias.text.find_first_of("([<{~"));
        alias.country = country;
        alias.region = region;
        aliases.push_back(alias);
      }
      token.clear();
    }
  }
  return aliases;
}

class RealCtyFile : public ::testing::TestWithParam<const char*> {};

TEST_P(RealCtyFile, EveryWholeCallEntryResolvesToItsOwnCountry) {
  const CallResolver resolver = RealResolver(GetParam());
  const auto aliases = ListAliases(testing::FileBytes(testing::ReferencePath(GetParam())));
  std::set<std::string> wholeCalls;
  for (const ListedAlias& alias : aliases) {
    if (!alias.wholeCall || alias.region) continue;
    wholeCalls.insert(alias.text);
    EXPECT_EQ(CountryOf(resolver, alias.text), alias.country) << alias.text;
  }
  // None was lost or added by the reader.
  EXPECT_EQ(resolver.Database().WholeCallCount(), wholeCalls.size());
  EXPECT_GT(wholeCalls.size(), 2000u);
  EXPECT_EQ(resolver.Database().SkippedLines(), 0u);
}

TEST_P(RealCtyFile, EveryPrefixResolvesToItsOwnCountryAndRegionsFallToTheirSurroundings) {
  const CallResolver resolver = RealResolver(GetParam());
  const auto aliases = ListAliases(testing::FileBytes(testing::ReferencePath(GetParam())));
  // A prefix written as a call is that call's whole-call entry where one
  // exists (=EF6 is Spain, the prefix EF6 the Balearic Islands).
  std::map<std::string, std::string> wholeCallCountry;
  for (const ListedAlias& alias : aliases) {
    if (alias.wholeCall && !alias.region) wholeCallCountry.emplace(alias.text, alias.country);
  }
  std::set<std::string> prefixes;
  std::set<std::string> regions;
  for (const ListedAlias& alias : aliases) {
    if (alias.region) regions.insert(alias.country);
    if (alias.wholeCall || alias.region) continue;
    prefixes.insert(alias.text);
    const auto whole = wholeCallCountry.find(alias.text);
    const std::string& expected = whole != wholeCallCountry.end() ? whole->second : alias.country;
    EXPECT_EQ(CountryOf(resolver, alias.text), expected) << alias.text;
  }
  EXPECT_EQ(resolver.Database().PrefixCount(), prefixes.size());
  // The six "*" regions are left out; every other country found its ADIF
  // number by name.
  EXPECT_EQ(regions.size(), 6u);
  for (const CtyCountry& country : resolver.Database().Countries()) {
    EXPECT_EQ(regions.count(country.name), 0u) << country.name;
    EXPECT_NE(country.primaryPrefix[0], '*') << country.name;
  }
  EXPECT_EQ(resolver.Database().Countries().size(), 340u);
  EXPECT_TRUE(resolver.CountriesWithoutAdifNumber().empty());
}

INSTANTIATE_TEST_SUITE_P(TestData, RealCtyFile,
                         ::testing::Values(testing::kBigCty, testing::kContestCty));

// ---- the rules, on a small CTY.DAT --------------------------------------------

TEST(CallResolverRules, OperatingMarksAreDroppedEvenWhereTheyArePrefixesElsewhere) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"SP5ABC", "Poland"},
                             {"SP5ABC/P", "Poland"},
                             {"SP5ABC/M", "Poland"},  // M: England
                             {"SP5ABC/B", "Poland"},  // B: China
                             {"SP5ABC/A", "Poland"},
                             {"SP5ABC/QRP", "Poland"},
                             {"SP5ABC/QRPP", "Poland"},
                             {"SP5ABC/LH", "Poland"},
                             {"SP5ABC/P/QRP", "Poland"},
                             {"DL/SP5ABC/P", "Fed. Rep. of Germany"},
                             {"M", "England"},
                             {"B1AA", "China"}});
}

TEST(CallResolverRules, AtSeaAndInTheAirGiveNoCountryUnlessWrittenWhole) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"SP5ABC/MM", "-"},
                             {"SP5ABC/AM", "-"},
                             {"SP5ABC/P/MM", "-"},
                             {"sp5abc/mm", "-"},
                             {"DL/SP5ABC/MM", "-"},
                             {"SP5XX/MM", "Poland"}});  // a whole-call entry
}

TEST(CallResolverRules, ALoneDigitReplacesTheAreaDigit) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"UA1ABC/9", "Asiatic Russia"},
                             {"UA1ABC/0", "Asiatic Russia"},
                             {"UA9ABC/1", "European Russia"},
                             {"K1ABC/4", "United States"},
                             {"KL7ABC/4", "Alaska"},
                             {"3D2AB/5", "-"}});  // 3D5: no such prefix
  EXPECT_EQ(resolver.Match("K1ABC/4").areaDigit, '4');
  EXPECT_EQ(resolver.Match("UA1ABC/9/P").areaDigit, '9');
}

TEST(CallResolverRules, TheShorterPartIsThePlaceUnlessItIsNoKnownPrefix) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"DL/SP5ABC", "Fed. Rep. of Germany"},
                             {"SP5ABC/DL", "Fed. Rep. of Germany"},
                             {"F/DL1ABC", "France"},
                             {"DL1ABC/F", "France"},
                             {"KL7ABC/VE7", "Canada"},
                             {"W1AW/KH6", "Hawaii"},
                             {"IT9/DL1ABC", "Italy"},
                             // XYZ is no prefix: the other part decides.
                             {"SP5ABC/XYZ", "Poland"},
                             {"XYZ/DL1ABC", "Fed. Rep. of Germany"},
                             // Of two parts as long, the first is the place.
                             {"DL1AB/SP1AB", "Fed. Rep. of Germany"},
                             {"SP1AB/DL1AB", "Poland"},
                             // Neither part is known.
                             {"XYZ/QQ1ABC", "-"},
                             // Three parts: no rule says which is the place.
                             {"DL/SP5ABC/OK", "-"}});
  EXPECT_EQ(resolver.Match("KL7ABC/VE7").areaDigit, '7');
  EXPECT_EQ(resolver.Match("SP5ABC/W6").areaDigit, '6');
}

TEST(CallResolverRules, WholeCallsWinAsWrittenThenAsTheHomeCall) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"SP5WHO", "Fed. Rep. of Germany"},
                             // The home call without its marks is a whole call.
                             {"SP5WHO/P", "Fed. Rep. of Germany"},
                             {"SP5WHO/QRP/P", "Fed. Rep. of Germany"},
                             // A place or a lone digit moves the station.
                             {"OK/SP5WHO", "Czech Republic"},
                             {"SP5WHO/3", "Poland"},
                             // Written with its mark: a whole call of Rotuma.
                             {"3D2AG/P", "Rotuma Island"},
                             {"3D2AG", "Fiji"},
                             {"3D2RR", "Rotuma Island"},
                             {"3D2RR/P", "Rotuma Island"}});
}

TEST(CallResolverRules, KG4WithExactlyTwoLettersIsGuantanamo) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"KG4AB", "Guantanamo Bay"},
                             {"KG4AB/P", "Guantanamo Bay"},
                             {"KG4ABC", "United States"},
                             {"KG4W", "United States"},
                             {"KG4A1", "United States"},
                             {"KG4ABCD", "Guantanamo Bay"},  // a whole-call entry
                             {"DL1ABC/KG4", "Guantanamo Bay"},
                             {"KG4ABC/DL", "Fed. Rep. of Germany"}});
}

TEST(CallResolverRules, RegionsAreLeftOutSoTheirCallsFallToTheCountryAround) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"IT9ABC", "Italy"}, {"IK2SIC", "Italy"}, {"IT9", "Italy"}});
  for (const CtyCountry& country : resolver.Database().Countries()) {
    EXPECT_NE(country.name, "Sicily");
  }
}

TEST(CallResolverRules, BadCallsGiveNoCountry) {
  const CallResolver resolver = RulesResolver();
  const std::string longCall = "SP5" + std::string(997, 'A');
  ASSERT_EQ(longCall.size(), 1000u);
  ExpectCountries(resolver, {{"", "-"},
                             {" ", "-"},
                             {"/", "-"},
                             {"//", "-"},
                             {"///P", "-"},
                             {"P", "-"},
                             {"4", "-"},
                             {"SP5-ABC", "-"},
                             {"SP5ABC.", "-"},
                             {"SP5 ABC", "-"},
                             {"\xA5SP5ABC", "-"},
                             {"QQ1ABC", "-"}});
  EXPECT_EQ(resolver.Resolve(longCall), nullptr);
  // One character too many is too long; at the limit the call is looked up.
  const std::string atLimit = "SP5" + std::string(kMaxCallLength - 3, 'A');
  EXPECT_EQ(CountryOf(resolver, atLimit), "Poland");
  EXPECT_EQ(resolver.Resolve(atLimit + "A"), nullptr);
}

TEST(CallResolverRules, LetterCaseAndBlanksAroundTheCallDoNotMatter) {
  const CallResolver resolver = RulesResolver();
  ExpectCountries(resolver, {{"sp5abc", "Poland"},
                             {"  Sp5Abc/p ", "Poland"},
                             {"\tdl/sp5abc", "Fed. Rep. of Germany"},
                             {"kg4ab", "Guantanamo Bay"},
                             {"3d2ag/p", "Rotuma Island"}});
}

TEST(CallResolverRules, TheAliasThatDecidedBringsItsOverrides) {
  const CallResolver resolver = RulesResolver();
  const CallMatch plain = resolver.Match("UA0ABC");
  ASSERT_NE(plain.country, nullptr);
  EXPECT_EQ(plain.overrides, nullptr);
  EXPECT_EQ(plain.country->cqZone, 17);

  const CallMatch zoned = resolver.Match("UA9ABC");
  ASSERT_NE(zoned.overrides, nullptr);
  EXPECT_EQ(zoned.overrides->cqZone, 17);
  EXPECT_EQ(zoned.overrides->ituZone, 30);
  EXPECT_FALSE(zoned.overrides->latitude.has_value());

  const CallMatch whole = resolver.Match("RA9ABC/0");
  ASSERT_NE(whole.overrides, nullptr);
  EXPECT_EQ(whole.country->name, "Asiatic Russia");
  EXPECT_EQ(whole.overrides->cqZone, 18);
  EXPECT_EQ(whole.overrides->ituZone, 32);
  EXPECT_DOUBLE_EQ(whole.overrides->latitude.value_or(0), 55.5);
  EXPECT_DOUBLE_EQ(whole.overrides->longitude.value_or(0), -80.25);
  EXPECT_EQ(whole.overrides->continent, "EU");
  EXPECT_DOUBLE_EQ(whole.overrides->utcOffset.value_or(0), -6.5);
  EXPECT_EQ(whole.areaDigit, '0');
}

TEST(CallResolverRules, AdifNumbersAndNamesComeFromTheJoin) {
  const CallResolver resolver = RulesResolver();
  EXPECT_EQ(resolver.Resolve("VE3ABC")->adifNumber, 1);
  EXPECT_EQ(resolver.Resolve("SP5ABC")->adifNumber, 269);
  EXPECT_EQ(resolver.AdifCountryName(1), "CANADA");
  EXPECT_EQ(resolver.AdifCountryName(269), "POLAND");
  EXPECT_EQ(resolver.AdifCountryName(999), "");
  EXPECT_TRUE(resolver.CountriesWithoutAdifNumber().empty());

  // An ADIF_DXC.TXT that lacks a country leaves its number 0 and names it.
  std::vector<AdifEntry> adif = testing::RulesAdif();
  adif.erase(adif.begin());  // POLAND
  const CallResolver partial(ParseCtyDatabase(testing::kRulesCty), adif);
  ASSERT_NE(partial.Resolve("SP5ABC"), nullptr);
  EXPECT_EQ(partial.Resolve("SP5ABC")->adifNumber, 0);
  EXPECT_EQ(partial.CountriesWithoutAdifNumber(), std::vector<std::string>{"Poland"});
}

}  // namespace
}  // namespace kartex
