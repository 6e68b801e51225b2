#include "country/reference_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "country/country_test_support.h"
#include "reference_country.h"

namespace kartex {
namespace {

using testing::CrLfLines;
using testing::CtyHeader;
using testing::FakeWindowSystem;
using testing::ScratchDirectory;
using testing::WriteFile;

std::vector<TypRecordu_CSV> ReadCty(const std::string& content) {
  EXPECT_TRUE(WriteFile("CTY.DAT", content));
  TextFile file;
  EXPECT_TRUE(OpenTextFile(file, "CTY.DAT"));
  std::vector<TypRecordu_CSV> countries;
  const size_t count = ReadCtyDat(file, countries);
  EXPECT_EQ(count, countries.size());
  EXPECT_FALSE(file.IsOpen());
  return countries;
}

std::vector<AdifEntry> ReadAdif(const std::string& content) {
  EXPECT_TRUE(WriteFile("ADIF_DXC.TXT", content));
  TextFile file;
  EXPECT_TRUE(OpenTextFile(file, "ADIF_DXC.TXT"));
  std::vector<AdifEntry> entries;
  const size_t count = ReadAdifDxc(file, entries);
  EXPECT_EQ(count, entries.size());
  EXPECT_FALSE(file.IsOpen());
  return entries;
}

// ---- OpenReferenceFiles ----------------------------------------------------

TEST(OpenReferenceFiles, NamesEachMissingFileInOrderThenTheSummary) {
  struct Case {
    bool cty;
    bool adif;
    bool opened;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {true, true, true, {}},
      {false, true, false, {"Brak obecnosci zbioru CTY.DAT", "Brak zbiorow wejscia"}},
      {true, false, false, {"Brak obecnosci zbioru ADIF_DXC.TXT", "Brak zbiorow wejscia"}},
      {false,
       false,
       false,
       {"Brak obecnosci zbioru CTY.DAT", "Brak obecnosci zbioru ADIF_DXC.TXT",
        "Brak zbiorow wejscia"}},
  };
  for (const Case& c : cases) {
    ScratchDirectory dir;
    if (c.cty) {
      ASSERT_TRUE(WriteFile("CTY.DAT", ""));
    }
    if (c.adif) {
      ASSERT_TRUE(WriteFile("ADIF_DXC.TXT", ""));
    }
    ReferenceFiles files;
    const std::vector<std::string> messages = OpenReferenceFiles(files);
    EXPECT_EQ(messages.empty(), c.opened);
    EXPECT_EQ(messages, c.messages) << "cty " << c.cty << " adif " << c.adif;
    // On failure the file that did open is closed again.
    EXPECT_EQ(files.cty.IsOpen(), c.opened);
    EXPECT_EQ(files.adif.IsOpen(), c.opened);
  }
}

// ---- ReadCtyDat --------------------------------------------------------------

TEST(ReadCtyDat, HeaderLineGivesNameAndMainPrefixFromColumnSeventy) {
  ScratchDirectory dir;
  const std::string header = CtyHeader("Alfa Island", "XA");
  ASSERT_EQ(header.substr(69), "  XA:");
  const auto countries = ReadCty(CrLfLines({header}));
  ASSERT_EQ(countries.size(), 1u);
  EXPECT_EQ(countries[0].Country, "ALFA ISLAND");
  EXPECT_EQ(countries[0].Prefixes, "  XA");
  EXPECT_EQ(countries[0].NrCty, "001");
  EXPECT_EQ(countries[0].NrAdif, "");
}

TEST(ReadCtyDat, NameComesFromTheFirstTwentyFiveColumnsOnly) {
  ScratchDirectory dir;
  // A 30-character name: column 26 on is not part of it; a short line has
  // no prefix columns.
  const auto countries = ReadCty(CrLfLines({"Abcdefghij Klmnopqrst Uvwxyz Long", "Short:"}));
  ASSERT_EQ(countries.size(), 2u);
  EXPECT_EQ(countries[0].Country, "ABCDEFGHIJ KLMNOPQRST UVW");
  EXPECT_EQ(countries[0].Prefixes, "");
  EXPECT_EQ(countries[1].Country, "SHORT");
}

TEST(ReadCtyDat, ContinuationTokensAreAppendedAfterOneBlankEach) {
  ScratchDirectory dir;
  const auto countries = ReadCty(CrLfLines({
      CtyHeader("Alfa Island", "XA"), "    XA,XB(5),=XA1ZZ[7];", CtyHeader("Beta Land", "YB"),
      "    YB,=YB1A[3](4),",
      "    YC,B",   // no closing: B is never read
      "        ",   // blanks only: one blank
      "    YD, ;",  // a lone ";" still adds its blank
  }));
  ASSERT_EQ(countries.size(), 2u);
  EXPECT_EQ(countries[0].Prefixes, "  XA XA XB =XA1ZZ");
  EXPECT_EQ(countries[1].Prefixes, "  YB YB =YB1A YC  YD ");
  EXPECT_EQ(countries[1].NrCty, "002");
}

TEST(ReadCtyDat, SequenceNumbersAreNumberTexts) {
  ScratchDirectory dir;
  std::vector<std::string> lines;
  for (int i = 1; i <= 1000; ++i) {
    const std::string number = std::to_string(i);
    std::string prefix = "P";
    prefix += number;
    lines.push_back(CtyHeader("Country " + number, prefix));
    lines.push_back("    " + prefix + ";");
  }
  const auto countries = ReadCty(CrLfLines(lines));
  // More than 600 countries: the table grows, none is dropped.
  ASSERT_EQ(countries.size(), 1000u);
  EXPECT_EQ(countries[0].NrCty, "001");
  EXPECT_EQ(countries[9].NrCty, "010");
  EXPECT_EQ(countries[99].NrCty, "100");
  EXPECT_EQ(countries[600].NrCty, "601");
  EXPECT_EQ(countries[999].NrCty, "1000");
  EXPECT_EQ(countries[999].Country, "COUNTRY 1000");
  EXPECT_EQ(countries[999].Prefixes, "  P1000 P1000");
}

// A continuation line of n tokens "AAAnnn," (7 characters each with comma).
std::string TokenLine(int first, int n, char last) {
  std::string line = "    ";
  for (int i = 0; i < n; ++i) {
    std::string number = std::to_string(first + i);
    line += "AA" + std::string(4 - number.size(), '0') + number + ",";
  }
  line.back() = last;
  return line;
}

TEST(ReadCtyDat, ListIsClosedAtTwoHundredFortyFiveCharacters) {
  ScratchDirectory dir;
  // "  XA" is 4 characters, each token adds 7: after 35 tokens the list is
  // 249 long. The token that reaches 245 stays, the rest of its line and the
  // further continuation lines are skipped.
  const auto countries = ReadCty(CrLfLines({
      CtyHeader("Long List", "XA"),
      TokenLine(1, 20, ','),
      TokenLine(21, 20, ','),
      TokenLine(41, 5, ';'),
      CtyHeader("Next Land", "NL"),
      "    NL;",
  }));
  ASSERT_EQ(countries.size(), 2u);
  const std::string& list = countries[0].Prefixes;
  EXPECT_EQ(list.size(), 249u);
  EXPECT_EQ(list.substr(list.size() - 7), " AA0035");
  EXPECT_EQ(list.find("AA0036"), std::string::npos);
  EXPECT_EQ(list.find("AA0041"), std::string::npos);
  EXPECT_EQ(countries[1].Country, "NEXT LAND");
  EXPECT_EQ(countries[1].NrCty, "002");
  EXPECT_EQ(countries[1].Prefixes, "  NL NL");
}

TEST(ReadCtyDat, ClosedListAtTheEndOfTheFileEndsTheReading) {
  ScratchDirectory dir;
  const auto countries = ReadCty(CrLfLines({
      CtyHeader("First", "F"),
      "    F;",
      CtyHeader("Long List", "XA"),
      TokenLine(1, 40, ','),
      TokenLine(41, 40, ';'),
  }));
  ASSERT_EQ(countries.size(), 2u);
  EXPECT_EQ(countries[1].Prefixes.size(), 249u);
}

TEST(ReadCtyDat, HeaderFoundWhileClosingAListIsReadEvenAsTheLastLine) {
  ScratchDirectory dir;
  // The header line that ends the skipping is the last line of the file,
  // without a line end.
  const auto countries = ReadCty(CrLfLines({CtyHeader("Long List", "XA"), TokenLine(1, 40, ';')}) +
                                 CtyHeader("Last Land", "LL"));
  ASSERT_EQ(countries.size(), 2u);
  EXPECT_EQ(countries[1].Country, "LAST LAND");
  EXPECT_EQ(countries[1].Prefixes, "  LL");
  EXPECT_EQ(countries[1].NrCty, "002");
}

TEST(ReadCtyDat, EmptyLinesAndPrefixesBeforeTheFirstCountryArePassedOver) {
  ScratchDirectory dir;
  const auto countries = ReadCty(CrLfLines({
                                     "    ORPHAN1,ORPHAN2;",
                                     "",
                                     CtyHeader("Alfa", "A"),
                                     "",
                                     "    A1,",
                                     "",
                                     "    A2;",
                                     "",
                                     "",
                                     CtyHeader("Beta", "B"),
                                 }) +
                                 "\r\n\r\n");
  ASSERT_EQ(countries.size(), 2u);
  EXPECT_EQ(countries[0].Prefixes, "  A A1 A2");
  EXPECT_EQ(countries[1].NrCty, "002");
}

TEST(ReadCtyDat, LfOnlyLineEndsAreRead) {
  ScratchDirectory dir;
  const auto countries = ReadCty(CtyHeader("Alfa", "A") + "\n    A1,A2;\n");
  ASSERT_EQ(countries.size(), 1u);
  EXPECT_EQ(countries[0].Prefixes, "  A A1 A2");
}

TEST(ReadCtyDat, EmptyFileGivesNoCountries) {
  ScratchDirectory dir;
  EXPECT_TRUE(ReadCty("").empty());
  EXPECT_TRUE(ReadCty(CrLfLines({"    A,B,C;", "    D;"})).empty());
}

TEST(ReadCtyDat, SurvivesHostileInput) {
  ScratchDirectory dir;
  std::mt19937 random(20240323);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xFF);

  struct Case {
    std::string name;
    std::string content;
  };
  const std::vector<Case> cases = {
      {"binary garbage", garbage},
      {"one line without end", "Alfa:" + std::string(500000, 'x')},
      {"huge continuation line", CtyHeader("Alfa", "A") + "\r\n    " + std::string(400000, ',')},
      {"huge blank line", CtyHeader("Alfa", "A") + "\r\n" + std::string(400000, ' ')},
      {"many commas then blanks", CtyHeader("Alfa", "A") + "\r\n" +
                                      [] {
                                        std::string s = "    ";
                                        for (int i = 0; i < 20000; ++i) s += ", ";
                                        return s;
                                      }()},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const auto countries = ReadCty(c.content);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0) << c.name;  // a hang guard, not a speed target
    for (const TypRecordu_CSV& country : countries) {
      EXPECT_LE(country.Country.size(), 25u) << c.name;
      // A list goes on only while it is below 245; one token adds at most 256.
      EXPECT_LT(country.Prefixes.size(), 245u + 257u) << c.name;
    }
  }
  // The line without end is one country whose name is its first 25 columns.
  const auto single = ReadCty("Alfa:" + std::string(500000, 'x'));
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].Country, "ALFA:XXXXXXXXXXXXXXXXXXXX");
  EXPECT_EQ(single[0].Prefixes, "xxxxxxxx");
}

// ---- ReadAdifDxc -------------------------------------------------------------

TEST(ReadAdifDxc, DataLinesGiveNumberTextAndUpperCasedName) {
  ScratchDirectory dir;
  const auto entries = ReadAdif(CrLfLines({
      "7   Xland", "042 Middle earth:", "269 POLAND", " 99 ignored, it begins with a blank",
      "12",        // no name
      "ab;xName",  // column 4 is not read; no digit check
  }));
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].NrAdif, "007");
  EXPECT_EQ(entries[0].Country, "XLAND");
  EXPECT_EQ(entries[1].NrAdif, "042");
  EXPECT_EQ(entries[1].Country, "MIDDLE EARTH");
  EXPECT_EQ(entries[2].NrAdif, "269");
  EXPECT_EQ(entries[3].NrAdif, "012");
  EXPECT_EQ(entries[3].Country, "");
  EXPECT_EQ(entries[4].NrAdif, "0AB");
  EXPECT_EQ(entries[4].Country, "NAME");
}

TEST(ReadAdifDxc, NamesAreCutToTwentySixCharactersAfterTrimming) {
  ScratchDirectory dir;
  // Columns 5-35 hold 31 characters; the 26th is a blank, which the cut keeps.
  const auto entries = ReadAdif(CrLfLines({"001 ABCDEFGHIJKLMNOPQRSTUVWXY ZZZZZZZZZZZZ"}));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Country, "ABCDEFGHIJKLMNOPQRSTUVWXY ");
}

TEST(ReadAdifDxc, CommentBlocksRunWhileLinesBeginWithCurlyBraceOrAbove) {
  ScratchDirectory dir;
  const auto entries = ReadAdif(CrLfLines({
      "{ first block",
      "| a line of the block",
      "\xA3\xF3"
      "dz: a Windows-1250 letter is above 123 too",
      "~ tilde",
      "} closing line",
      "",
      "001 CANADA",  // ends the block and is read as data
      "{ second block",
      "}",
      "002 SECOND",
      "{ a block at the end of the file",
      "}",
  }));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Country, "CANADA");
  EXPECT_EQ(entries[1].Country, "SECOND");
}

TEST(ReadAdifDxc, FileOfCommentBlocksOnlyOrEmptyGivesNoEntries) {
  ScratchDirectory dir;
  EXPECT_TRUE(ReadAdif("").empty());
  EXPECT_TRUE(ReadAdif(CrLfLines({"{ only", "| comments", "}"})).empty());
  EXPECT_TRUE(ReadAdif(CrLfLines({"{ one line block }"})).empty());
  EXPECT_TRUE(ReadAdif(CrLfLines({"  blank lines", "", "   "})).empty());
}

TEST(ReadAdifDxc, ReadsEveryEntryBeyondSixHundred) {
  ScratchDirectory dir;
  std::vector<std::string> lines;
  for (int i = 1; i <= 999; ++i) {
    std::string number = std::to_string(i);
    lines.push_back(std::string(3 - number.size(), '0') + number + " LAND " + number);
  }
  const auto entries = ReadAdif(CrLfLines(lines));
  ASSERT_EQ(entries.size(), 999u);
  EXPECT_EQ(entries[998].NrAdif, "999");
  EXPECT_EQ(entries[998].Country, "LAND 999");
}

// ---- JoinByName --------------------------------------------------------------

TypRecordu_CSV Country(const std::string& name) {
  TypRecordu_CSV country;
  country.Country = name;
  return country;
}

AdifEntry Entry(const std::string& number, const std::string& name) { return {number, name}; }

TEST(JoinByName, GivesEachCountryTheNumberOfTheFirstEntryOfItsName) {
  std::vector<TypRecordu_CSV> countries = {Country("POLAND"),
                                           Country("CANADA"),
                                           Country("SICILY"),
                                           Country("POLAND"),
                                           Country("\xA3"
                                                   "ADNA"),
                                           Country("NIBY")};
  const std::vector<AdifEntry> entries = {
      Entry("001", "CANADA"),
      Entry("269", "POLAND"),
      Entry("999", "POLAND"),
      Entry("500",
            "\xB3"
            "ADNA"),          // differs only in the case of an accented letter
      Entry("501", "NIBY "),  // a trailing blank makes another name
  };
  std::vector<std::string> messages;
  messages = JoinByName(countries, entries);

  EXPECT_EQ(countries[0].NrAdif, "269");
  EXPECT_EQ(countries[1].NrAdif, "001");
  EXPECT_EQ(countries[2].NrAdif, "");
  EXPECT_EQ(countries[3].NrAdif, "269");
  EXPECT_EQ(countries[4].NrAdif, "");
  EXPECT_EQ(countries[5].NrAdif, "");
  const std::vector<std::string> expected = {
      "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju SICILY",
      "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju \xC5\x81"
      "ADNA",  // UTF-8 "Ł"
      "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju NIBY",
  };
  EXPECT_EQ(messages, expected);
}

TEST(JoinByName, EmptyTablesGiveNoMessageOrOneMessagePerCountry) {
  std::vector<std::string> messages;
  std::vector<TypRecordu_CSV> none;
  messages = JoinByName(none, {Entry("001", "CANADA")});
  EXPECT_TRUE(messages.empty());

  std::vector<TypRecordu_CSV> countries = {Country("A"), Country("B")};
  messages = JoinByName(countries, {});
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju B");
}

TEST(JoinByName, CutAdifNamesNeverMatch) {
  ScratchDirectory dir;
  // A 26-character ADIF name cannot equal a name of CTY.DAT (at most 25).
  const std::string longName = "Abcdefghijklmnopqrstuvwxyz";
  auto countries = ReadCty(CrLfLines({longName + ":"}));
  auto entries = ReadAdif(CrLfLines({"001 " + longName}));
  std::vector<std::string> messages;
  messages = JoinByName(countries, entries);
  EXPECT_EQ(countries[0].NrAdif, "");
  EXPECT_EQ(messages.size(), 1u);
}

// ---- Against the step-by-step rules -------------------------------------------

// Random lines of both files, over the bytes the readers treat specially.
std::string RandomReferenceFile(std::mt19937& random, bool cty) {
  const std::string tokens[] = {"XA", "XB(5)", "=XA1ZZ[7]", "(", ")",  "[",
                                "]",  ",",     ";",         ":", " ",  "  ",
                                "{",  "}",     "\xA3",      "0", "42", std::string(30, 'Q')};
  std::string file;
  for (int line = static_cast<int>(random() % 12); line > 0; --line) {
    if (cty && random() % 3 == 0) {
      std::string name = "Land ", prefix = "P";
      name += std::to_string(random() % 4);
      prefix += std::to_string(random() % 9);
      file += CtyHeader(name, prefix);
    } else {
      file += random() % 2 ? "    " : "";
      for (int n = static_cast<int>(random() % 14); n > 0; --n)
        file += tokens[random() % std::size(tokens)];
    }
    file += random() % 4 ? "\r\n" : "\n";
  }
  return file;
}

TEST(ReferenceFiles, ReadersAndJoinFollowTheStepByStepRulesOnRandomFiles) {
  ScratchDirectory dir;
  std::mt19937 random(20240612);
  for (int i = 0; i < 2000; ++i) {
    const std::string cty = RandomReferenceFile(random, true);
    std::string adif = RandomReferenceFile(random, false);
    if (i % 2) adif += "001 LAND 1\r\n002 LAND 2\r\n";
    auto countries = ReadCty(cty);
    const auto entries = ReadAdif(adif);
    auto expectedCountries = testing::ReferenceReadCtyDat(cty);
    const auto expectedEntries = testing::ReferenceReadAdifDxc(adif);
    std::vector<std::string> messages;
    messages = JoinByName(countries, entries);
    const std::vector<std::string> expectedMessages =
        testing::ReferenceJoinByName(expectedCountries, expectedEntries);

    ASSERT_EQ(countries.size(), expectedCountries.size()) << cty;
    for (size_t k = 0; k < countries.size(); ++k) {
      EXPECT_EQ(countries[k].NrCty, expectedCountries[k].NrCty) << cty;
      EXPECT_EQ(countries[k].Country, expectedCountries[k].Country) << cty;
      EXPECT_EQ(countries[k].NrAdif, expectedCountries[k].NrAdif) << cty << adif;
      EXPECT_EQ(countries[k].Prefixes, expectedCountries[k].Prefixes) << cty;
    }
    ASSERT_EQ(entries.size(), expectedEntries.size()) << adif;
    for (size_t k = 0; k < entries.size(); ++k) {
      EXPECT_EQ(entries[k].NrAdif, expectedEntries[k].NrAdif) << adif;
      EXPECT_EQ(entries[k].Country, expectedEntries[k].Country) << adif;
    }
    ASSERT_EQ(messages, expectedMessages) << cty << adif;
  }
}

// ---- The real reference files ------------------------------------------------

TEST(RealReferenceFiles, EveryCtyDatJoinsAllButTheSixStarEntries) {
  const std::filesystem::path reference = KARTEX_REFERENCE_DIR;
  if (!std::filesystem::exists(reference / "ADIF_DXC.TXT")) {
    GTEST_SKIP() << "no real reference files in " << reference;
  }
  int checked = 0;
  for (const auto& item : std::filesystem::directory_iterator(reference)) {
    if (item.path().extension() != ".dat") continue;
    ScratchDirectory dir;
    std::filesystem::copy_file(item.path(), dir.Path() / "CTY.DAT");
    std::filesystem::copy_file(reference / "ADIF_DXC.TXT", dir.Path() / "ADIF_DXC.TXT");

    std::vector<std::string> messages;
    ReferenceFiles files;
    ASSERT_TRUE(OpenReferenceFiles(files).empty());
    std::vector<TypRecordu_CSV> countries;
    std::vector<AdifEntry> entries;
    EXPECT_EQ(ReadCtyDat(files.cty, countries), 346u) << item.path();
    EXPECT_EQ(ReadAdifDxc(files.adif, entries), 402u) << item.path();
    messages = JoinByName(countries, entries);

    int joined = 0;
    for (const TypRecordu_CSV& country : countries) joined += country.NrAdif.empty() ? 0 : 1;
    EXPECT_EQ(joined, 340) << item.path();
    EXPECT_EQ(messages.size(), 6u) << item.path();

    auto poland = std::find_if(countries.begin(), countries.end(),
                               [](const TypRecordu_CSV& c) { return c.Country == "POLAND"; });
    ASSERT_NE(poland, countries.end());
    EXPECT_EQ(poland->NrAdif, "269");
    // These files put the main prefix right at column 70.
    EXPECT_EQ(poland->Prefixes.rfind("SP 3Z HF SN SO SP SQ SR", 0), 0u) << poland->Prefixes;
    for (const TypRecordu_CSV& country : countries) {
      EXPECT_EQ(country.Prefixes.find('('), std::string::npos) << country.Country;
      EXPECT_EQ(country.Prefixes.find(';'), std::string::npos) << country.Country;
    }
    ++checked;
  }
  EXPECT_GE(checked, 1);
}

}  // namespace
}  // namespace kartex
