#include "commands/country_export.h"
#include "commands/output_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "commands/session.h"
#include "country/country_test_support.h"

namespace kartex {
namespace {

namespace fs = std::filesystem;
using testing::CrLfLines;
using testing::FakeWindowSystem;
using testing::ReadFile;
using testing::ScratchDirectory;
using testing::WriteFile;

const std::string kHeaderLine = "\"NR_CTY_COUNTRY\",\"NR_ADIF_DXCC\",\"COUNTRY\",\"PREFIKSES\"\r\n";

// ---- DXCC texts ----------------------------------------------------------------

TEST(DxccValue, AcceptsDecimalDigitsAfterBlanksAndASignOnly) {
  struct Case {
    std::string text;
    bool valid;
    long value;
  };
  const std::vector<Case> cases = {
      {"269", true, 269},
      {"001", true, 1},
      {"  12", true, 12},
      {"-5", true, -5},
      {"+7", true, 7},
      {" +7", true, 7},
      {"2147483647", true, 2147483647L},
      {"-2147483648", true, -2147483648L},
      {"", false, 0},
      {"   ", false, 0},
      {"+", false, 0},
      {"12 ", false, 0},
      {"1a", false, 0},
      {"- 5", false, 0},
      {"2147483648", false, 0},
      {"99999999999999999999", false, 0},
      {"0x10", false, 0},
      {"\t1", false, 0},
      {"1.0", false, 0},
  };
  for (const Case& c : cases) {
    long value = -999;
    EXPECT_EQ(DxccValue(c.text, value), c.valid) << "[" << c.text << "]";
    if (c.valid) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(DxccKey, PadsShortNumbersLikeTheAdifFileButLeavesTextsWithBlanks) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1", "001"}, {"54", "054"}, {"269", "269"}, {"1234", "1234"},
      {" 1", " 1"}, {"1 ", "1 "},  {"", ""},
  };
  for (const auto& [text, key] : cases) EXPECT_EQ(DxccKey(text), key) << "[" << text << "]";
}

std::vector<TMyRecord> Tally(const std::vector<std::pair<std::string, std::string>>& callAndDxcc) {
  std::vector<TMyRecord> tally;
  for (const auto& [call, dxcc] : callAndDxcc) tally.push_back({call, dxcc, 1});
  return tally;
}

std::string Calls(const std::vector<TMyRecord>& tally) {
  std::string out;
  for (const TMyRecord& entry : tally) out += (out.empty() ? "" : "|") + entry.call;
  return out;
}

TEST(SortTally, OrdersByNumericValueKeepingEqualValuesInTheirOrder) {
  std::vector<TMyRecord> tally = Tally({{"A", "269"},
                                        {"B", "100"},
                                        {"C", "1"},
                                        {"D", "099"},
                                        {"E", "001"},
                                        {"F", " 100"},
                                        {"G", "-3"},
                                        {"H", "269"}});
  Sort(tally);
  EXPECT_EQ(Calls(tally), "G|C|E|D|B|F|A|H");
}

TEST(SortTally, ReportsTheLastEntryThatIsNoIntegerAndLeavesTheTallyAsItWas) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{{"A", "X"}, {"B", "1"}, {"C", ""}, {"D", "7"}}, "'' is not a valid integer value"},
      {{{"A", "X"}, {"B", "1"}, {"C", "Y"}, {"D", "7"}}, "'Y' is not a valid integer value"},
      {{{"A",
         "\xA3"
         "1"}},
       "'\xC5\x81"
       "1' is not a valid integer value"},  // shown in UTF-8
  };
  for (const Case& c : cases) {
    std::vector<TMyRecord> tally = Tally(c.entries);
    const std::string before = Calls(tally);
    try {
      Sort(tally);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const CommandError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(Calls(tally), before);
  }
}

TEST(SortTally, EmptyAndSingleEntryTalliesNeedNoPass) {
  std::vector<TMyRecord> empty;
  Sort(empty);
  EXPECT_TRUE(empty.empty());
  std::vector<TMyRecord> one = Tally({{"A", "abc"}});
  EXPECT_THROW(Sort(one), CommandError);  // still converted
}

// ---- Country rows ------------------------------------------------------------

TypRecordu_CSV CountryRow(const std::string& nrCty, const std::string& nrAdif,
                          const std::string& name, const std::string& prefixes) {
  return {nrCty, name, nrAdif, prefixes};
}

const std::vector<TypRecordu_CSV> kCountries = {
    CountryRow("001", "269", "POLAND", " SP"),
    CountryRow("002", "001", "CANADA", "VE \"Q\""),  // a quote goes out as it stands
    CountryRow("003", "", "SICILY", "*IT9"),
    CountryRow("004", "500", "TWIN", "TW"),
    CountryRow("005", "500", "TWIN", "TX"),
};

TEST(CountryRows, CtyOrderWritesEveryCountryWhoseNumberIsInTheLog) {
  const auto tally = Tally({{"A", "500"}, {"B", "1"}, {"C", ""}, {"D", "1 "}, {"E", "777"}});
  EXPECT_EQ(CountryRowsInCtyOrder(kCountries, tally),
            "\"002\",\"001\",\"CANADA\",\"VE \"Q\"\"\r\n"
            "\"004\",\"500\",\"TWIN\",\"TW\"\r\n"
            "\"005\",\"500\",\"TWIN\",\"TX\"\r\n");
}

TEST(CountryRows, AdifOrderWritesEachNumberOnceWithItsFirstCountry) {
  // Sorted already: "1" and "001" are one number, written once.
  const auto tally = Tally({{"A", "1"},
                            {"B", "001"},
                            {"C", "1"},
                            {"D", "269"},
                            {"E", "300"},
                            {"F", "500"},
                            {"G", "500"}});
  EXPECT_EQ(CountryRowsInAdifOrder(kCountries, tally),
            "\"002\",\"001\",\"CANADA\",\"VE \"Q\"\"\r\n"
            "\"001\",\"269\",\"POLAND\",\" SP\"\r\n"
            "\"004\",\"500\",\"TWIN\",\"TW\"\r\n");
}

TEST(CountryRows, NoCountryMatchesAnEmptyNumber) {
  const auto tally = Tally({{"A", ""}, {"B", ""}});
  EXPECT_EQ(CountryRowsInCtyOrder(kCountries, tally), "");
  EXPECT_EQ(CountryRowsInAdifOrder(kCountries, tally), "");
}

TEST(CsvOutputName, CountryRuleAppendsCsvUnlessTheFileNameEndsInCsvOrCSV) {
  struct Case {
    std::string chosen;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"/tmp/out/COUNTRY.CSV", "/tmp/out/COUNTRY.CSV"},
      {"/tmp/out/country.csv", "/tmp/out/country.csv"},
      {"/tmp/out/COUNTRY", "/tmp/out/COUNTRY.CSV"},
      {"/tmp/out/COUNTRY.Csv", "/tmp/out/COUNTRY.Csv.CSV"},
      {"/tmp/out/COUNTRY.txt", "/tmp/out/COUNTRY.txt.CSV"},
      {"/tmp/my.logs/COUNTRY", "/tmp/my.logs/COUNTRY.CSV"},      // a dot in a folder name
      {"/tmp/my.logs/COUNTRY.csv", "/tmp/my.logs/COUNTRY.csv"},  // ... is not the extension
      {"/tmp/out/log.v2.csv", "/tmp/out/log.v2.csv"},
      {"COUNTRY", "COUNTRY.CSV"},
  };
  for (const Case& c : cases) {
    bool appended = false;
    EXPECT_EQ(CsvOutputName(c.chosen, CsvExtensionRule::LowerOrUpper, &appended), c.expected)
        << c.chosen;
    EXPECT_EQ(appended, c.expected != c.chosen) << c.chosen;
  }
}

// ---- The whole command -------------------------------------------------------

class CountryExportTest : public ::testing::Test {
 protected:
  CountryExportTest() : session(windows, RegionalSettings{}) {}

  void SetUp() override {
    const fs::path data = fs::path(KARTEX_TEST_DATA) / "country";
    fs::copy_file(data / "CTY.DAT", dir.Path() / "CTY.DAT");
    fs::copy_file(data / "ADIF_DXC.TXT", dir.Path() / "ADIF_DXC.TXT");
  }

  void LoadLog(const std::string& path) {
    windows.fileAnswers.push_back(path);
    ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded);
    windows.ClearRecords();
  }
  void LoadSmallLog() {
    LoadLog((fs::path(KARTEX_TEST_DATA) / "country" / "small_log.csv").string());
  }

  // Runs the export into COUNTRY.CSV of the scratch folder; the order is
  // 0 for "ADIF_DXC", 1 for "CTY".
  std::string Export(int sortBy, const std::string& name = "COUNTRY.CSV") {
    session.Controls().sortByItemIndex = sortBy;
    windows.fileAnswers.push_back(dir.File(name));
    session.CTY_ADIFClick();
    return ReadFile(dir.File(name));
  }

  // The texts of one column over the shown data rows, joined by "|".
  std::string Column(int col) const {
    std::string out;
    for (int row = 1; row < session.Table().RowCount(); ++row) {
      if (row > 1) out += '|';
      out.append(session.Table().CellText(col, row));
    }
    return out;
  }

  void ExpectNormalCursorLast() {
    ASSERT_FALSE(windows.events.empty());
    EXPECT_EQ(windows.events.back(), "normal");
  }

  ScratchDirectory dir;
  FakeWindowSystem windows;
  Session session;
};

const std::string kNotFoundSicily =
    "Nie znaleziono Nr_ADIF-DXCC w zbiorze ADIF_DXC.TXT dla Kraju SICILY";

TEST_F(CountryExportTest, AdifOrderListsEachNumberOfTheLogOnceInNumericOrder) {
  LoadSmallLog();
  const std::string file = Export(0);
  // Canada is in the log as 1 and 001, Russia as 54; Twin Land carries 500
  // twice in CTY.DAT and the first one is written; 999 has no country.
  EXPECT_EQ(file, kHeaderLine +
                      "\"002\",\"001\",\"CANADA\",\"VE VE VO1\"\r\n"
                      "\"006\",\"054\",\"EUROPEAN RUSSIA\",\"UA R UA\"\r\n"
                      "\"004\",\"230\",\"FED. REP. OF GERMANY\",\"DL DA DL\"\r\n"
                      "\"001\",\"269\",\"POLAND\",\"SP 3Z SP SQ =SP1NY/MM\"\r\n"
                      "\"003\",\"500\",\"TWIN LAND\",\"TW TW1\"\r\n");
  EXPECT_EQ(windows.messages, std::vector<std::string>{kNotFoundSicily});
  EXPECT_EQ(windows.dialogs.back().name, "SD1");
  EXPECT_EQ(windows.dialogs.back().defaultName, "COUNTRY.CSV");
  EXPECT_EQ(windows.dialogs.back().filter, "CSV|*.csv");
  ExpectNormalCursorLast();

  // The tally now holds every row, sorted by the value of its DXCC.
  EXPECT_EQ(Calls(session.Log().tally),
            "VE3AAA|VE7BBB|UA3AAA|DL1AAA|SP5AAA|SP5AAA|SP9BBB|TW1AA|ZZ9ZZ");
  EXPECT_EQ(session.Log().tally[4].qsoCount, 2);
}

TEST_F(CountryExportTest, CtyOrderFollowsCtyDatAndWritesBothCountriesOfOneNumber) {
  LoadSmallLog();
  const std::string file = Export(1);
  EXPECT_EQ(file, kHeaderLine +
                      "\"001\",\"269\",\"POLAND\",\"SP 3Z SP SQ =SP1NY/MM\"\r\n"
                      "\"002\",\"001\",\"CANADA\",\"VE VE VO1\"\r\n"
                      "\"003\",\"500\",\"TWIN LAND\",\"TW TW1\"\r\n"
                      "\"004\",\"230\",\"FED. REP. OF GERMANY\",\"DL DA DL\"\r\n"
                      "\"005\",\"500\",\"TWIN LAND\",\"TX TX1\"\r\n"
                      "\"006\",\"054\",\"EUROPEAN RUSSIA\",\"UA R UA\"\r\n");
  // The per-row tally in table order.
  EXPECT_EQ(Calls(session.Log().tally),
            "SP5AAA|DL1AAA|VE3AAA|SP5AAA|UA3AAA|TW1AA|ZZ9ZZ|VE7BBB|SP9BBB");
}

TEST_F(CountryExportTest, EmptyDxccCellStopsTheAdifOrderAndKeepsThePreviousFile) {
  ASSERT_TRUE(WriteFile(dir.File("log.csv"), CrLfLines({"\"CALL\",\"DXCC\"", "\"SP5AAA\",\"269\"",
                                                        "\"XX1XX\",\"\"", "\"DL1AAA\",\"230\""})));
  LoadLog(dir.File("log.csv"));
  ASSERT_TRUE(WriteFile(dir.File("COUNTRY.CSV"), "previous list\r\n"));

  try {
    Export(0);
    ADD_FAILURE() << "the export went through";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "'' is not a valid integer value");
    EXPECT_EQ(ErrorText(error), "'' is not a valid integer value.");
  }
  EXPECT_EQ(ReadFile(dir.File("COUNTRY.CSV")), "previous list\r\n");
  ExpectNormalCursorLast();
  // Nothing else was left in the folder (no temporary file).
  std::vector<std::string> names;
  for (const auto& item : fs::directory_iterator(dir.Path()))
    names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ADIF_DXC.TXT", "COUNTRY.CSV", "CTY.DAT", "log.csv"}));

  // The CTY order finds no country for the empty text and writes the rest.
  EXPECT_EQ(Export(1), kHeaderLine +
                           "\"001\",\"269\",\"POLAND\",\"SP 3Z SP SQ =SP1NY/MM\"\r\n"
                           "\"004\",\"230\",\"FED. REP. OF GERMANY\",\"DL DA DL\"\r\n");
}

TEST_F(CountryExportTest, WriteErrorIsReportedAndRestoresTheCursor) {
  LoadSmallLog();
  session.Controls().sortByItemIndex = 0;
  windows.fileAnswers.push_back(dir.File("no-such-folder/COUNTRY.CSV"));
  try {
    session.CTY_ADIFClick();
    ADD_FAILURE() << "a file in a missing folder was reported written";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot create file ", 0), 0u) << error.what();
  }
  ExpectNormalCursorLast();
}

TEST_F(CountryExportTest, AppendedExtensionAsksBeforeReplacingAnExistingFile) {
  LoadSmallLog();
  ASSERT_TRUE(WriteFile(dir.File("COUNTRY.CSV"), "keep me"));

  // Given the name COUNTRY and a COUNTRY.CSV already there, Cancel writes nothing.
  windows.confirmAnswers.push_back(false);
  Export(0, "COUNTRY");
  ASSERT_EQ(windows.questions.size(), 1u);
  EXPECT_EQ(windows.questions[0], "Plik " + dir.File("COUNTRY.CSV") + " już istnieje. Zastąpić ?");
  EXPECT_EQ(windows.captions[0], "Confirm");
  EXPECT_EQ(ReadFile(dir.File("COUNTRY.CSV")), "keep me");
  EXPECT_EQ(windows.busyCalls, 0);

  // OK replaces it.
  Export(0, "COUNTRY");
  EXPECT_EQ(windows.questions.size(), 2u);
  EXPECT_EQ(ReadFile(dir.File("COUNTRY.CSV")).rfind(kHeaderLine, 0), 0u);

  // A name chosen with its .csv was asked about in the dialog: no question.
  Export(0, "COUNTRY.CSV");
  EXPECT_EQ(windows.questions.size(), 2u);
  // A new name: no question either.
  const std::string file = Export(0, "other");
  EXPECT_EQ(windows.questions.size(), 2u);
  EXPECT_TRUE(fs::exists(dir.File("other.CSV")));
  EXPECT_FALSE(fs::exists(dir.File("other")));
}

TEST_F(CountryExportTest, CancelInTheDialogDoesNothing) {
  LoadSmallLog();
  session.CTY_ADIFClick();
  EXPECT_TRUE(windows.events.empty());
  EXPECT_EQ(Calls(session.Log().tally), "SP5AAA|DL1AAA|VE3AAA|UA3AAA|TW1AA|ZZ9ZZ|VE7BBB|SP9BBB");
}

TEST_F(CountryExportTest, MissingReferenceFileCreatesNoFileAndLeavesTheCursor) {
  LoadSmallLog();
  fs::remove(dir.Path() / "ADIF_DXC.TXT");
  Export(0);
  EXPECT_EQ(windows.messages, (std::vector<std::string>{"Brak obecnosci zbioru ADIF_DXC.TXT",
                                                        "Brak zbiorow wejscia"}));
  EXPECT_FALSE(fs::exists(dir.File("COUNTRY.CSV")));
  EXPECT_EQ(windows.busyCalls + windows.normalCalls, 0);
}

TEST_F(CountryExportTest, EmptyTallyGivesTheHeaderOnlyWithoutMessage) {
  // Nothing loaded: the table has its empty data row, the tally is empty.
  for (int order : {0, 1}) {
    windows.messages.clear();
    EXPECT_EQ(Export(order), kHeaderLine);
    EXPECT_EQ(windows.messages, std::vector<std::string>{kNotFoundSicily});
  }
}

TEST_F(CountryExportTest, NoShownDataRowGivesTheHeaderAndItsMessage) {
  LoadSmallLog();
  session.ApplyCondition(1, "NOSUCHCALL", false);
  ASSERT_EQ(session.Table().RowCount(), 1);
  EXPECT_EQ(Export(0), kHeaderLine);
  EXPECT_EQ(windows.messages,
            (std::vector<std::string>{kNotFoundSicily, "Brak rekordów w tabeli !"}));
  ExpectNormalCursorLast();
}

TEST_F(CountryExportTest, ExportPutsTheQsoChoiceBackWhenItEnds) {
  // Given the stations worked twice (SP5AAA's two rows),
  LoadSmallLog();
  session.RG1Click(1);
  ASSERT_EQ(session.Table().RowCount(), 3);
  // the export lists the countries of all rows, as without the filter,
  EXPECT_EQ(Export(1), kHeaderLine +
                           "\"001\",\"269\",\"POLAND\",\"SP 3Z SP SQ =SP1NY/MM\"\r\n"
                           "\"002\",\"001\",\"CANADA\",\"VE VE VO1\"\r\n"
                           "\"003\",\"500\",\"TWIN LAND\",\"TW TW1\"\r\n"
                           "\"004\",\"230\",\"FED. REP. OF GERMANY\",\"DL DA DL\"\r\n"
                           "\"005\",\"500\",\"TWIN LAND\",\"TX TX1\"\r\n"
                           "\"006\",\"054\",\"EUROPEAN RUSSIA\",\"UA R UA\"\r\n");
  // and the window shows the two rows again, "2" still chosen.
  EXPECT_TRUE(session.Filter().FilterActive());
  EXPECT_EQ(session.Table().RowCount(), 3);
  EXPECT_EQ(Column(1), "SP5AAA|SP5AAA");
  EXPECT_EQ(session.Controls().rg1ItemIndex, 1);
  EXPECT_EQ(session.Controls().qsoFilterN, 2);
  EXPECT_EQ(session.Controls().records, 2);
  // The tally keeps one entry per row of the log.
  EXPECT_EQ(session.Log().tally.size(), 9u);
  EXPECT_EQ(session.Log().tallyShape, TallyShape::PerRow);
}

TEST_F(CountryExportTest, ExportEndingInAnErrorPutsTheQsoChoiceBackToo) {
  ASSERT_TRUE(WriteFile(dir.File("log.csv"), CrLfLines({"\"CALL\",\"DXCC\"", "\"SP5AAA\",\"269\"",
                                                        "\"XX1XX\",\"\"", "\"SP5AAA\",\"269\""})));
  LoadLog(dir.File("log.csv"));
  session.RG1Click(0);  // the station worked once: XX1XX
  ASSERT_EQ(session.Table().RowCount(), 2);
  EXPECT_THROW(Export(0), CommandError);  // '' is not a valid integer value
  EXPECT_TRUE(session.Filter().FilterActive());
  EXPECT_EQ(Column(0), "XX1XX");
  EXPECT_EQ(session.Controls().records, 1);
}

TEST_F(CountryExportTest, ExportWithoutAChoiceShowsTheListsOfAllRows) {
  // A condition of one's own, not a QSO-count choice: the export switches it
  // off, and the manager list and the record count follow all rows.
  LoadSmallLog();
  session.ApplyCondition(1, "SP*", false);
  ASSERT_LT(session.Table().RowCount(), 10);
  Export(1);
  EXPECT_FALSE(session.Filter().FilterActive());
  EXPECT_EQ(session.Table().RowCount(), 10);
  EXPECT_EQ(session.Controls().records, 9);
  EXPECT_EQ(session.Controls().rg1ItemIndex, -1);
}

// ---- The demonstration files -----------------------------------------------

TEST(DemoReferenceFiles, JoinEveryDxccOfTheDemoLog) {
  const fs::path demo = KARTEX_DEMO_DIR;
  if (!fs::exists(demo / "LOG_DEMO.csv")) GTEST_SKIP() << "no demonstration log";
  ScratchDirectory dir;
  fs::copy_file(demo / "CTY.DAT", dir.Path() / "CTY.DAT");
  fs::copy_file(demo / "ADIF_DXC.TXT", dir.Path() / "ADIF_DXC.TXT");
  FakeWindowSystem windows;
  Session session(windows, RegionalSettings{});
  windows.fileAnswers.push_back((demo / "LOG_DEMO.csv").string());
  ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded);

  ReferenceFiles files;
  ASSERT_TRUE(OpenReferenceFiles(files).empty());
  std::vector<TypRecordu_CSV> countries;
  std::vector<AdifEntry> entries;
  ReadCtyDat(files.cty, countries);
  ReadAdifDxc(files.adif, entries);
  windows.messages = JoinByName(countries, entries);
  // The two entities counted only for other awards have no ADIF number.
  EXPECT_EQ(windows.messages.size(), 2u);

  bool longList = false;
  for (const TypRecordu_CSV& country : countries)
    longList = longList || country.Prefixes.size() >= 245;
  EXPECT_TRUE(longList) << "no country shows the closing of a long prefix list";

  std::vector<std::string> numbers;
  for (const TypRecordu_CSV& country : countries) numbers.push_back(country.NrAdif);
  for (const TMyRecord& entry : session.Log().tally) {
    if (entry.dxcc.empty()) continue;
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), DxccKey(entry.dxcc)), numbers.end())
        << entry.call << " " << entry.dxcc;
  }
}

// ---- Speed on a large log with the real reference files -------------------

TEST(CountryExportSpeed, HundredThousandRowsWithTheRealReferenceFiles) {
  const fs::path reference = KARTEX_REFERENCE_DIR;
  const fs::path cty = reference / "cty-tyler4096-bigcty-20251011.dat";
  if (!fs::exists(cty) || !fs::exists(reference / "ADIF_DXC.TXT")) {
    GTEST_SKIP() << "no real reference files in " << reference;
  }
  ScratchDirectory dir;
  fs::copy_file(cty, dir.Path() / "CTY.DAT");
  fs::copy_file(reference / "ADIF_DXC.TXT", dir.Path() / "ADIF_DXC.TXT");

  // A log of 100,000 contacts with 20,000 stations over all current numbers.
  std::mt19937 random(42);
  std::string log = "\"QSO_DATE\",\"TIME_ON\",\"CALL\",\"BAND\",\"MODE\",\"DXCC\"\r\n";
  for (int i = 0; i < 100000; ++i) {
    const int station = static_cast<int>(random() % 20000);
    const int dxcc = 1 + station % 540;
    log += "\"20240101\",\"1200\",\"ST" + std::to_string(station) + "\",\"20M\",\"CW\",\"" +
           std::to_string(dxcc) + "\"\r\n";
  }
  ASSERT_TRUE(WriteFile(dir.File("big.csv"), log));

  FakeWindowSystem windows;
  Session session(windows, RegionalSettings{});
  windows.fileAnswers.push_back(dir.File("big.csv"));
  ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded);
  ASSERT_EQ(session.Table().RowCount(), 100001);

  for (int order : {0, 1}) {
    session.Controls().sortByItemIndex = order;
    windows.fileAnswers.push_back(dir.File("COUNTRY.CSV"));
    const auto start = std::chrono::steady_clock::now();
    session.CTY_ADIFClick();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ timing   ] country list, " << (order == 0 ? "ADIF" : "CTY")
              << " order, 100,000 rows: " << seconds << " s\n";
    const std::string file = ReadFile(dir.File("COUNTRY.CSV"));
    // Every current entity whose number the log uses is listed once.
    const auto rows = std::count(file.begin(), file.end(), '\n') - 1;
    EXPECT_GT(rows, 300);
    EXPECT_LE(rows, 340);
  }
}

}  // namespace
}  // namespace kartex
