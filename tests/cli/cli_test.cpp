// End-to-end runs of kartex-cli as a script would call it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "child_process.h"
#include "temp_dir.h"

namespace kartex::testing {
namespace {

using CliRun = ChildRun;

class CliTest : public ::testing::Test {
 protected:
  // Runs kartex-cli with the arguments in dir.
  CliRun Cli(const std::vector<std::string>& args) {
    return RunChild(KARTEX_CLI, args, dir.Path().string());
  }

  void WriteLog(const std::string& name, std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    dir.Write(name, text);
  }

  TempDir dir;
};

TEST_F(CliTest, BadUsageExitsWithTwoBeforeAnyActionRuns) {
  WriteLog("log.csv", {"CALL,DXCC", "A,1"});
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"open"},
           {"open", "log.csv", "qso", "11"},
           {"open", "log.csv", "qso", "x"},
           {"open", "log.csv", "save-csv", "out.csv", "click"},
           {"--decimal", "ab", "info"},
           {"open", "log.csv", "edit", "1", "0", "x"},
           {"open", "log.csv", "edit", "1", "1", "\xE2\x82\xAC\xE2\x98\x83"},
           {"--bogus", "info"},
           {"open", "log.csv", "qso", "1", "save-stations"},
           {"open", "log.csv", "save-sent"}}) {
    CliRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
    EXPECT_NE(run.err.find("kartex-cli " KARTEX_VERSION "\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
  }
}

TEST_F(CliTest, InfoBeforeAnyLoad) {
  CliRun run = Cli({"info"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"records\": null"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"row_count\": 2, \"col_count\": 53, \"fixed_rows\": 1"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"CALL\": null"), std::string::npos);
  EXPECT_NE(run.out.find("\"rg1\": 0"), std::string::npos);
}

TEST_F(CliTest, DisabledActionsAreNotAvailableAndTheRunGoesOn) {
  WriteLog("log.csv", {"CALL,DXCC", "A,1"});
  CliRun run =
      Cli({"qso", "1", "save-qsl", "x.txt", "open", "log.csv", "save-qsl", "y.txt", "info"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("kartex-cli: qso: not available now\n"), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 3);
  EXPECT_NE(run.out.find("\"records\": 1"), std::string::npos);
}

TEST_F(CliTest, OpenPrintsColumnsTallyAndRecords) {
  WriteLog("log.csv", {"A,B,C,D,CALL,DXCC,QSL_VIA", ",,,,SP1AA,269,EA5XX", ",,,,dl1abc,230,direct",
                       ",,,,SP1AA,269,", ",,,,,,", ",,,,\"SQ9\xA5\",269,W3HNK"});
  CliRun run = Cli({"open", "log.csv", "info"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"records\": 4"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"columns\": {\"CALL\": 4, \"DXCC\": 5, \"QSL_VIA\": 6}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"managers\": [\"EA5XX\", \"W3HNK\"]"), std::string::npos);
  EXPECT_NE(run.out.find("{\"call\": \"SP1AA\", \"dxcc\": \"269\", \"count\": 2}"),
            std::string::npos);
  // Windows-1250 letters reach the terminal as UTF-8.
  EXPECT_NE(run.out.find("{\"call\": \"SQ9\xC4\x84\", \"dxcc\": \"269\", \"count\": 1}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"source\": \"log.csv\""), std::string::npos);
}

TEST_F(CliTest, RejectedOrUnreadableLogEndsWithStatusOne) {
  WriteLog("header.csv", {"CALL,DXCC"});
  WriteLog("wrong.csv", {"CALLSIGN,DXCC", "A,1"});
  struct Case {
    const char* file;
    const char* message;
  };
  for (Case c : {Case{"header.csv", "KARTEX: Nie ma żadnych rekordów !\n"},
                 Case{"wrong.csv", "KARTEX: Wybrany format pliku jet nieprawidłowy !\n"},
                 Case{"missing.csv", "KARTEX: Cannot open file missing.csv.\n"}}) {
    CliRun run = Cli({"open", c.file, "info"});
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(run.out, "") << "the run ends at the failing action";
  }
}

TEST_F(CliTest, QsoFilterThenExportAndManagers) {
  WriteLog("log.csv", {"A,B,C,D,CALL,DXCC,QSL_VIA", ",,,,K1AA,291,W3HNK", ",,,,K1AA,291,",
                       ",,,,SP1AA,269,EA5XX", ",,,,DL1AB,230,M0OXO", ",,,,DL1AB,230,"});
  CliRun run = Cli({"open", "log.csv", "qso", "2", "click", "+4", "save-csv", "two", "save-qsl",
                    "managers.txt", "info"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string csv = ReadFile(dir.File("two.CSV"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
  EXPECT_LT(csv.find("\"DL1AB\""), csv.find("\"K1AA\""));
  EXPECT_EQ(csv.find("SP1AA"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("managers.txt")), "Lista manager\xF3w:\r\nW3HNK\r\nM0OXO\r\n");
  EXPECT_NE(run.out.find("\"sort_keys\": [{\"column\": 4, \"descending\": false}]"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"rg1\": 2"), std::string::npos);
  EXPECT_NE(run.out.find("\"filter_active\": true"), std::string::npos);
}

TEST_F(CliTest, WhereAndEditTakeUtf8Texts) {
  WriteLog("log.csv", {"CALL,DXCC,QTH",
                       "A,1,\xA3\xF3"
                       "d\x9F",
                       "B,1,Krak\xF3w"});
  CliRun run = Cli({"open", "log.csv", "where", "2", "łódź", "edit", "2", "1", "Gdańsk", "save-csv",
                    "out.csv", "where", "off", "info"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string csv = ReadFile(dir.File("out.csv"));
  EXPECT_NE(csv.find("\"A\",\"1\",\"Gda\xF1sk\""), std::string::npos) << csv;
  EXPECT_EQ(csv.find("Krak"), std::string::npos);
  EXPECT_NE(run.out.find("\"records\": 2"), std::string::npos);
}

TEST_F(CliTest, SaveStationsOnlyWhileAQsoCountFilterIsOn) {
  WriteLog("log.csv", {"A,B,C,D,CALL,DXCC", ",,,,K1AA,291", ",,,,SP1AA,269", ",,,,K1AA,291"});
  for (const char* reference : {"CTY.DAT", "ADIF_DXC.TXT"}) {
    std::filesystem::copy_file(std::string(KARTEX_DEMO_DIR) + "/" + reference, dir.File(reference));
  }
  // Before a load, after it, after "qso off" and under a condition of one's
  // own: greyed each time. Under "qso 2" it writes, and again after the
  // country export, which puts the choice back.
  CliRun run = Cli({"save-stations",
                    "a.csv",
                    "open",
                    "log.csv",
                    "save-stations",
                    "b.csv",
                    "qso",
                    "2",
                    "save-stations",
                    "stations",
                    "qso",
                    "off",
                    "save-stations",
                    "d.csv",
                    "qso",
                    "1",
                    "where",
                    "4",
                    "K*",
                    "save-stations",
                    "e.csv",
                    "qso",
                    "2",
                    "save-country",
                    "COUNTRY.CSV",
                    "save-stations",
                    "f.csv",
                    "info"});
  ASSERT_EQ(run.status, 0) << run.err;
  // (The demo's reference files also name countries missing from the ADIF list.)
  const std::string greyed = "kartex-cli: save-stations: not available now\n";
  int greyedLines = 0;
  for (size_t at = run.err.find(greyed); at != std::string::npos; at = run.err.find(greyed, at + 1))
    ++greyedLines;
  EXPECT_EQ(greyedLines, 4) << run.err;
  for (const char* file : {"a.csv", "b.csv", "d.csv", "e.csv"}) {
    EXPECT_FALSE(std::filesystem::exists(dir.File(file))) << file;
  }
  const std::string stations =
      "\"A\",\"B\",\"C\",\"D\",\"CALL\",\"DXCC\",\"A_2\",\"B_2\",\"C_2\",\"D_2\",\"CALL_2\","
      "\"DXCC_2\"\r\n"
      "\"\",\"\",\"\",\"\",\"K1AA\",\"291\",\"\",\"\",\"\",\"\",\"K1AA\",\"291\"\r\n";
  EXPECT_EQ(ReadFile(dir.File("stations.CSV")), stations);
  EXPECT_EQ(ReadFile(dir.File("f.csv")), stations);
  EXPECT_NE(run.out.find("\"rg1\": 2"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"filter_active\": true"), std::string::npos);
  EXPECT_NE(run.out.find("\"records\": 2"), std::string::npos);
}

// The road of a log without DXCC to the country list: fill-dxcc, then the
// ADIF order works; bureau puts the rows in the bureaus' order for save-csv.
TEST_F(CliTest, CallSignActionsFillTheDxccAndOrderTheRowsForTheBureaus) {
  for (const char* reference : {"CTY.DAT", "ADIF_DXC.TXT"}) {
    std::filesystem::copy_file(std::string(KARTEX_DEMO_DIR) + "/" + reference, dir.File(reference));
  }
  WriteLog("log.csv",
           {"CALL,DXCC,QSO_DATE", "SP5ABC,,20240102", "VE3ABC,,20240101", "DL1ABC,230,20240103"});
  CliRun before = Cli({"open", "log.csv", "save-country", "c1.csv", "adif"});
  EXPECT_EQ(before.status, 1);
  EXPECT_NE(before.err.find("'' is not a valid integer value."), std::string::npos) << before.err;

  CliRun run = Cli({"open", "log.csv", "fill-dxcc", "check-dxcc", "diff.csv", "save-country",
                    "c2.csv", "adif", "bureau", "save-bureaus", "b.csv", "save-csv", "o.csv"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("KARTEX: Uzupełnione pola DXCC: 2.\n"), std::string::npos) << run.err;
  const std::string countries = ReadFile(dir.File("c2.csv"));
  EXPECT_NE(countries.find("\"001\",\"CANADA\""), std::string::npos) << countries;
  EXPECT_NE(countries.find("\"269\",\"POLAND\""), std::string::npos) << countries;
  EXPECT_EQ(ReadFile(dir.File("diff.csv")),
            "\"ROW\",\"CALL\",\"QSO_DATE\",\"DXCC\",\"COUNTRY\",\"CTY_DXCC\",\"CTY_COUNTRY\"\r\n");
  EXPECT_EQ(ReadFile(dir.File("b.csv")),
            "\"PREFIX\",\"AREA\",\"COUNTRY\",\"STATIONS\",\"CONTACTS\"\r\n"
            "\"DL\",\"\",\"Fed. Rep. of Germany\",\"1\",\"1\"\r\n"
            "\"SP\",\"\",\"Poland\",\"1\",\"1\"\r\n"
            "\"VE\",\"3\",\"Canada\",\"1\",\"1\"\r\n");
  const std::string rows = ReadFile(dir.File("o.csv"));
  EXPECT_LT(rows.find("DL1ABC"), rows.find("SP5ABC"));
  EXPECT_LT(rows.find("SP5ABC"), rows.find("VE3ABC"));
}

TEST_F(CliTest, SaveErrorEndsTheRunWithItsMessage) {
  WriteLog("log.csv", {"CALL,DXCC", "A,1"});
  CliRun run = Cli({"open", "log.csv", "save-csv", "missing/out.csv", "info"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "KARTEX: Cannot create file missing/out.csv.\n");
}

// The same contacts as Logger32's CSV export and as an ADIF file: Polish
// letters in Windows-1250 and in UTF-8, a comment of two lines, empty cells.
TEST_F(CliTest, SameLogAsCsvAndAsAdifGivesTheSameInfoAndExport) {
  WriteLog("log.csv",
           {"QSO_DATE,TIME_ON,CALL,DXCC,QSL_VIA,NAME,COMMENT",
            "20240101,1200,SP1AA,269,SP5ABC,J\xF3zef,\"two\x0Blines\"",
            "20240102,1300,DL1AB,230,,,", "20240103,1400,SP1AA,269,,\xA3ucja,\"say \"\"hi\"\"\""});
  auto field = [](const std::string& name, const std::string& value) {
    return "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
  };
  std::string adif = "Exported by a logger\r\n<ADIF_VER:5>3.1.6\r\n<EOH>\r\n";
  for (const std::vector<std::string>& record : std::vector<std::vector<std::string>>{
           {"20240101", "1200", "SP1AA", "269", "SP5ABC", "Józef", "two\r\nlines"},
           {"20240102", "1300", "DL1AB", "230", "", "", ""},
           {"20240103", "1400", "SP1AA", "269", "", "Łucja", "say \"hi\""}}) {
    const char* const names[] = {"QSO_DATE", "TIME_ON", "CALL",   "DXCC",
                                 "QSL_VIA",  "NAME",    "COMMENT"};
    for (size_t k = 0; k < record.size(); ++k) adif += field(names[k], record[k]);
    adif += "<EOR>\r\n";
  }
  dir.Write("log.adi", adif);

  CliRun csv = Cli({"open", "log.csv", "qso", "2", "info", "qso", "off", "save-csv", "csv.csv"});
  CliRun adi = Cli({"open", "log.adi", "qso", "2", "info", "qso", "off", "save-csv", "adi.csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  ASSERT_EQ(adi.status, 0) << adi.err;
  EXPECT_EQ(adi.err, "");
  const std::string csvSource = "\"source\": \"log.csv\"";
  const std::string adiSource = "\"source\": \"log.adi\"";
  std::string csvInfo = csv.out;
  ASSERT_NE(csvInfo.find(csvSource), std::string::npos);
  csvInfo.replace(csvInfo.find(csvSource), csvSource.size(), adiSource);
  EXPECT_EQ(adi.out, csvInfo);
  EXPECT_NE(adi.out.find("\"records\": 2"), std::string::npos) << adi.out;
  const std::string exported = ReadFile(dir.File("csv.csv"));
  EXPECT_EQ(ReadFile(dir.File("adi.csv")), exported);
  EXPECT_NE(exported.find("\"J\xF3zef\",\"two\x0Blines\""), std::string::npos);
}

TEST_F(CliTest, SaveSentWritesTheCardsViaTheBureauOrDirect) {
  WriteLog("log.csv", {"CALL,DXCC,QSO_DATE,TIME_ON,BAND,MODE", "SP1AA,269,20240101,1200,20M,CW",
                       ",269,20240102,1300,20M,CW"});
  CliRun run = Cli({"open", "log.csv", "save-sent", "bureau.adi", "save-sent", "direct.adi", "D"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "KARTEX: Pominięto wiersze bez CALL lub QSO_DATE (nie ma ich w pliku ADIF): 1\n"
            "KARTEX: Pominięto wiersze bez CALL lub QSO_DATE (nie ma ich w pliku ADIF): 1\n");
  EXPECT_NE(ReadFile(dir.File("bureau.adi")).find("<QSL_SENT_VIA:1>B <EOR>"), std::string::npos);
  EXPECT_NE(ReadFile(dir.File("direct.adi")).find("<QSL_SENT_VIA:1>D <EOR>"), std::string::npos);
  CliRun before = Cli({"save-sent", "early.adi", "info"});
  EXPECT_EQ(before.status, 0);
  EXPECT_NE(before.err.find("kartex-cli: save-sent: not available now"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("early.adi")));
}

}  // namespace
}  // namespace kartex::testing
