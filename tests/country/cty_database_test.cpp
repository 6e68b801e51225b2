#include "country/cty_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "country/country_test_support.h"
#include "country/resolver_test_support.h"

namespace kartex {
namespace {

using testing::CrLfLines;

// A header line in the file's layout with the given fields.
std::string Header(const std::string& name, const std::string& prefix,
                   const std::string& zones = "15:  28:  EU:   52.28:   -18.67:    -1.0:") {
  std::string line = name + ":";
  line.resize(26, ' ');
  return line + zones + "  " + prefix + ":";
}

std::string CountryOfPrefix(const CtyDatabase& database, std::string_view prefix) {
  const CtyAlias alias = database.FindPrefix(prefix);
  return alias ? alias.country->name : "-";
}

std::string CountryOfWholeCall(const CtyDatabase& database, std::string_view call) {
  const CtyAlias alias = database.FindWholeCall(call);
  return alias ? alias.country->name : "-";
}

TEST(CtyDatabase, HeaderLineGivesEveryFieldOfTheCountry) {
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Asiatic Russia", "UA9", "17:  30:  AS:   55.88:   -84.08:    -7.0:"),
      "    R9,UA9;",
      "Tiny:1:2:OC:-1.5:+170.25:-12.75:T1X:",
      "    T1X;",
  }));
  ASSERT_EQ(database.Countries().size(), 2u);
  const CtyCountry& russia = database.Countries()[0];
  EXPECT_EQ(russia.name, "Asiatic Russia");
  EXPECT_EQ(russia.cqZone, 17);
  EXPECT_EQ(russia.ituZone, 30);
  EXPECT_EQ(russia.continent, "AS");
  EXPECT_DOUBLE_EQ(russia.latitude, 55.88);
  EXPECT_DOUBLE_EQ(russia.longitude, -84.08);
  EXPECT_DOUBLE_EQ(russia.utcOffset, -7.0);
  EXPECT_EQ(russia.primaryPrefix, "UA9");
  EXPECT_EQ(russia.adifNumber, 0);  // until the join
  // The fields are read between the colons, not from fixed columns; a plus
  // sign is allowed.
  const CtyCountry& tiny = database.Countries()[1];
  EXPECT_EQ(tiny.name, "Tiny");
  EXPECT_EQ(tiny.cqZone, 1);
  EXPECT_EQ(tiny.ituZone, 2);
  EXPECT_DOUBLE_EQ(tiny.latitude, -1.5);
  EXPECT_DOUBLE_EQ(tiny.longitude, 170.25);
  EXPECT_DOUBLE_EQ(tiny.utcOffset, -12.75);
  EXPECT_EQ(tiny.primaryPrefix, "T1X");
  EXPECT_EQ(database.SkippedLines(), 0u);
}

TEST(CtyDatabase, AliasesSpreadOverLinesOfAnyLength) {
  // One continuation line of 2,000 aliases (about 14,000 characters), the
  // last alias of a line without its comma, and blanks and tabs around them.
  std::string longLine = "    ";
  for (int i = 0; i < 2000; ++i) longLine += "=XA" + std::to_string(1000 + i) + "Z,";
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Alfa Island", "XA"),
      longLine,
      "\tXA, XB ,\tXC",
      "    XD,,XE;",
  }));
  EXPECT_EQ(database.WholeCallCount(), 2000u);
  EXPECT_EQ(CountryOfWholeCall(database, "XA1000Z"), "Alfa Island");
  EXPECT_EQ(CountryOfWholeCall(database, "XA2999Z"), "Alfa Island");
  for (const char* prefix : {"XA", "XB", "XC", "XD", "XE"}) {
    EXPECT_EQ(CountryOfPrefix(database, prefix), "Alfa Island") << prefix;
  }
  EXPECT_EQ(database.PrefixCount(), 5u);
  EXPECT_EQ(database.LongestPrefixLength(), 2u);
  EXPECT_EQ(database.SkippedLines(), 0u);
}

TEST(CtyDatabase, OverrideMarksAreTakenOffTheMatchedTextAndKept) {
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Canada", "VE"),
      "    VE,VO1(5)[9],VY1{na}~-8.0~,=VE2ABC/M(2)[4],=VE8X<62.5/114.25>(1);",
  }));
  const CtyAlias vo1 = database.FindPrefix("VO1");
  ASSERT_TRUE(vo1);
  ASSERT_NE(vo1.overrides, nullptr);
  EXPECT_EQ(vo1.overrides->cqZone, 5);
  EXPECT_EQ(vo1.overrides->ituZone, 9);

  const CtyAlias vy1 = database.FindPrefix("VY1");
  ASSERT_NE(vy1.overrides, nullptr);
  EXPECT_EQ(vy1.overrides->cqZone, 0);
  EXPECT_EQ(vy1.overrides->continent, "NA");
  EXPECT_DOUBLE_EQ(vy1.overrides->utcOffset.value_or(0), -8.0);

  const CtyAlias ve8x = database.FindWholeCall("VE8X");
  ASSERT_NE(ve8x.overrides, nullptr);
  EXPECT_DOUBLE_EQ(ve8x.overrides->latitude.value_or(0), 62.5);
  EXPECT_DOUBLE_EQ(ve8x.overrides->longitude.value_or(0), 114.25);
  EXPECT_EQ(ve8x.overrides->cqZone, 1);

  EXPECT_TRUE(database.FindWholeCall("VE2ABC/M"));
  EXPECT_EQ(database.FindPrefix("VE").overrides, nullptr);
  EXPECT_FALSE(database.FindPrefix("VO1(5)[9]"));
  EXPECT_EQ(database.SkippedLines(), 0u);
}

TEST(CtyDatabase, RegionsWithAStarredPrefixAreLeftOutWithTheirAliases) {
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Italy", "I"),
      "    I,IT;",
      Header("Sicily", "*IT9"),
      "    IT9,=IK2SIC;",
      Header("San Marino", "T7"),
      "    T7;",
  }));
  ASSERT_EQ(database.Countries().size(), 2u);
  EXPECT_EQ(database.Countries()[1].name, "San Marino");
  EXPECT_FALSE(database.FindPrefix("IT9"));
  EXPECT_FALSE(database.FindWholeCall("IK2SIC"));
  EXPECT_EQ(CountryOfPrefix(database, "T7"), "San Marino");
  EXPECT_EQ(database.SkippedLines(), 0u);
}

TEST(CtyDatabase, LongestPrefixIsFoundWithinTheLengthAsked) {
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("United States", "K"),
      "    K,W;",
      Header("Guantanamo Bay", "KG4"),
      "    KG4;",
      Header("Kure Island", "KH7K"),
      "    KH7K;",
  }));
  size_t length = 99;
  EXPECT_EQ(database.FindLongestPrefix("KG4ABC", 32, &length).country->name, "Guantanamo Bay");
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(database.FindLongestPrefix("KG4ABC", 2, &length).country->name, "United States");
  EXPECT_EQ(length, 1u);
  EXPECT_EQ(database.FindLongestPrefix("KH7KA", 32, &length).country->name, "Kure Island");
  EXPECT_EQ(length, 4u);
  EXPECT_FALSE(database.FindLongestPrefix("XX1A", 32, &length));
  EXPECT_EQ(length, 0u);
  EXPECT_FALSE(database.FindLongestPrefix("", 32, &length));
}

TEST(CtyDatabase, BrokenLinesArePassedOverAndCounted) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    size_t skipped;
    std::vector<std::string> prefixes;  // prefixes of Alfa Island still read
  };
  const std::string alfa = Header("Alfa Island", "XA");
  const std::vector<Case> cases = {
      {"continuation before the first header", {"    ZZ;", alfa, "    XA;"}, 1, {"XA"}},
      {"header without colon fields", {alfa, "    XA;", "Broken land", "    XB;"}, 2, {"XA"}},
      {"header with a zone that is no number",
       {alfa, "    XA;", Header("Bad", "XB", "1x:  28:  EU:   1.0:   2.0:    -1.0:"), "    XB;"},
       2,
       {"XA"}},
      {"continuation after the closing semicolon", {alfa, "    XA;", "    XB;"}, 1, {"XA"}},
      {"bare equals sign among good aliases", {alfa, "    XA,=,XB;"}, 1, {"XA", "XB"}},
      {"equals sign with marks only", {alfa, "    XA,=(5),XB;"}, 1, {"XA", "XB"}},
      {"unclosed override mark", {alfa, "    XA,XB(5,XC;"}, 1, {"XA", "XC"}},
      {"stray character in an alias", {alfa, "    XA,X-B,XC;"}, 1, {"XA", "XC"}},
      {"unknown text after a mark", {alfa, "    XA,XB(5)Q,XC;"}, 1, {"XA", "XC"}},
      {"list not closed before the next header",
       {alfa, "    XA,XB,", Header("Beta", "YB"), "    YB;"},
       1,
       {"XA", "XB"}},
      {"list not closed at the end of the file", {alfa, "    XA,XB"}, 1, {"XA", "XB"}},
      {"header without any list", {alfa, Header("Beta", "YB"), "    YB;", alfa + "x"}, 2, {}},
      {"two faults on one line count once", {alfa, "    XA,=,X-B,XC;"}, 1, {"XA", "XC"}},
      {"empty lines and blank lines are no lines",
       {"", alfa, "   ", "", "    XA;", " "},
       0,
       {"XA"}},
  };
  for (const Case& c : cases) {
    const CtyDatabase database = ParseCtyDatabase(CrLfLines(c.lines));
    EXPECT_EQ(database.SkippedLines(), c.skipped) << c.what;
    std::vector<std::string> found;
    for (const char* prefix : {"XA", "XB", "XC", "ZZ"}) {
      if (CountryOfPrefix(database, prefix) == "Alfa Island") found.push_back(prefix);
    }
    EXPECT_EQ(found, c.prefixes) << c.what;
  }
}

TEST(CtyDatabase, AByteOrderMarkBeforeTheFirstLineIsNoPartOfIt) {
  CtyDatabase database = ParseCtyDatabase("\xEF\xBB\xBF" + CrLfLines({
                                                               Header("Poland", "SP"),
                                                               "    SP;",
                                                           }));
  ASSERT_EQ(database.Countries().size(), 1u);
  EXPECT_EQ(database.Countries()[0].name, "Poland");
  EXPECT_TRUE(database.JoinAdifNumbers({{"269", "POLAND"}}).empty());
  EXPECT_EQ(database.Countries()[0].adifNumber, 269);
}

TEST(CtyDatabase, TheFirstOfTwoEqualAliasesWins) {
  const CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Alfa", "XA"),
      "    XA,=XA1A;",
      Header("Beta", "XB"),
      "    XA,XB,=XA1A;",
  }));
  EXPECT_EQ(CountryOfPrefix(database, "XA"), "Alfa");
  EXPECT_EQ(CountryOfWholeCall(database, "XA1A"), "Alfa");
  EXPECT_EQ(CountryOfPrefix(database, "XB"), "Beta");
}

TEST(CtyDatabase, AFileAndItsBytesGiveTheSameDatabase) {
  testing::ScratchDirectory dir;
  // LF and CR LF line ends and no line end at the very end.
  const std::string bytes =
      Header("Alfa", "XA") + "\n    XA,\r\n    =XA1A;\r\n" + Header("Beta", "XB") + "\r\n    XB;";
  ASSERT_TRUE(testing::WriteFile("CTY.DAT", bytes));
  TextFile file;
  ASSERT_TRUE(file.Open("CTY.DAT"));
  const CtyDatabase fromFile = ReadCtyDatabase(file);
  EXPECT_FALSE(file.IsOpen());
  const CtyDatabase fromBytes = ParseCtyDatabase(bytes);
  for (const CtyDatabase* database : {&fromFile, &fromBytes}) {
    ASSERT_EQ(database->Countries().size(), 2u);
    EXPECT_EQ(CountryOfPrefix(*database, "XA"), "Alfa");
    EXPECT_EQ(CountryOfWholeCall(*database, "XA1A"), "Alfa");
    EXPECT_EQ(CountryOfPrefix(*database, "XB"), "Beta");
    EXPECT_EQ(database->SkippedLines(), 0u);
  }
}

TEST(CtyDatabase, JoinUsesTheNameOfTheFirstTwentyFiveColumns) {
  // The join compares names as the country list does: columns 1 to 25,
  // trimmed and upper-cased, so a longer name is cut there and never equals
  // an ADIF name of 26 characters.
  CtyDatabase database = ParseCtyDatabase(CrLfLines({
      Header("Poland", "SP"),
      "    SP;",
      "Abcdefghij Klmnopqrst Uvwxyz Long: 15: 28: EU: 1.0: 2.0: -1.0: XL:",
      "    XL;",
      Header("Nowhere", "XN"),
      "    XN;",
      Header("Canada", "VE"),
      "    VE;",
  }));
  const std::vector<std::string> unmatched = database.JoinAdifNumbers({
      {"269", "POLAND"},
      {"270", "POLAND"},  // a later entry of the same name never wins
      {"500", "ABCDEFGHIJ KLMNOPQRST UVW"},
      {"501", "NOWHERE"},
      {"001", "CANADA"},
  });
  ASSERT_EQ(database.Countries().size(), 4u);
  EXPECT_EQ(database.Countries()[0].adifNumber, 269);
  EXPECT_EQ(database.Countries()[1].adifNumber, 500);
  EXPECT_EQ(database.Countries()[2].adifNumber, 501);
  EXPECT_EQ(database.Countries()[3].adifNumber, 1);
  EXPECT_TRUE(unmatched.empty());

  const std::vector<std::string> none = database.JoinAdifNumbers({{"269", "Poland"}});
  EXPECT_EQ(database.Countries()[0].adifNumber, 0);  // names differ in case
  EXPECT_EQ(none.size(), 4u);
  EXPECT_EQ(none[0], "Poland");
}

TEST(CtyDatabase, RealFilesAreReadWhole) {
  const CtyDatabase database =
      ParseCtyDatabase(testing::FileBytes(testing::ReferencePath(testing::kBigCty)));
  // 346 countries, six of them "*" regions; about 22,000 whole calls.
  EXPECT_EQ(database.Countries().size(), 340u);
  EXPECT_GT(database.WholeCallCount(), 21000u);
  EXPECT_EQ(database.SkippedLines(), 0u);
  EXPECT_EQ(database.Countries().front().name, "Sov Mil Order of Malta");
  EXPECT_EQ(database.Countries().front().primaryPrefix, "1A");
}

}  // namespace
}  // namespace kartex
