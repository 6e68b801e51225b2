// "Narzędzia": the fill, the check and the bureau order as the window and
// kartex-cli run them, on the shown rows, with the reference files of the
// current folder, and what each says.

#include <gtest/gtest.h>

#include <filesystem>

#include "session_fixture.h"

namespace kartex::testing {
namespace {

class CallSignCommandsTest : public SessionTest {
 protected:
  CallSignCommandsTest() { UseReferenceFiles(); }

  // DL1ABC lacks its DXCC, K1ABC is logged as Germany once, Q1ABC is no
  // country's call, LU1ABC's cards go via EA5XX.
  LoadOutcome LoadLog() {
    return Load({"CALL,DXCC,QSO_DATE,TIME_ON,QSL_VIA", "SP5ABC,269,20240101,1200,",
                 "DL1ABC,,20240102,1300,", "K1ABC,230,20240103,1400,", "W3ABC,291,20240104,1500,",
                 "Q1ABC,,20240105,1600,", "LU1ABC,100,20240106,1700,EA5XX",
                 "K1ABC,291,20240107,1800,", "VE3ABC,1,20240108,1900,"});
  }
};

TEST_F(CallSignCommandsTest, FillWritesTheEmptyDxccCellsOnlyAndSaysHowMany) {
  ASSERT_EQ(LoadLog(), LoadOutcome::Loaded);
  session.UzupelnijDXCC1Click();
  EXPECT_EQ(Column(1), "269|230|230|291||100|291|1");
  EXPECT_EQ(windows.messages, std::vector<std::string>{"Uzupełnione pola DXCC: 1.\n"
                                                       "Znaki bez kraju wg CTY.DAT: 1."});
  EXPECT_FALSE(windows.busy);
}

TEST_F(CallSignCommandsTest, CheckListsTheRowsThatDifferAndWritesThemWhenSaved) {
  ASSERT_EQ(LoadLog(), LoadOutcome::Loaded);
  windows.saveLists = true;
  windows.fileAnswers.push_back(dir.File("diff.csv"));
  session.SprawdzDXCC1Click();
  ASSERT_EQ(windows.listNames, std::vector<std::string>{"SprawdzDXCC"});
  const auto& lines = windows.listLines[0];
  ASSERT_EQ(lines.size(), 3u);  // DL1ABC (empty), K1ABC (Germany), Q1ABC (no country)
  EXPECT_EQ(lines[1], (std::vector<std::string>{"3", "K1ABC", "20240103", "230",
                                                "FED. REP. OF GERMANY", "291", "United States"}));
  EXPECT_EQ(ReadFile(dir.File("diff.csv")),
            "\"ROW\",\"CALL\",\"QSO_DATE\",\"DXCC\",\"COUNTRY\",\"CTY_DXCC\",\"CTY_COUNTRY\"\r\n"
            "\"2\",\"DL1ABC\",\"20240102\",\"\",\"\",\"230\",\"Fed. Rep. of Germany\"\r\n"
            "\"3\",\"K1ABC\",\"20240103\",\"230\",\"FED. REP. OF GERMANY\",\"291\",\"United "
            "States\"\r\n"
            "\"5\",\"Q1ABC\",\"20240105\",\"\",\"\",\"\",\"\"\r\n");
  // The check changes no cell.
  EXPECT_EQ(Column(1), "269||230|291||100|291|1");
}

TEST_F(CallSignCommandsTest, BureauOrderMovesWholeRowsAndClearsTheHeaderKeys) {
  ASSERT_EQ(LoadLog(), LoadOutcome::Loaded);
  session.HeaderSortClick(0, false);
  ASSERT_EQ(session.Sort().SortIndex().Count(), 1);
  session.SortujwgbiurQSL1Click();
  EXPECT_EQ(Column(0), "DL1ABC|LU1ABC|K1ABC|K1ABC|W3ABC|SP5ABC|VE3ABC|Q1ABC");
  EXPECT_EQ(Column(2), "20240102|20240106|20240103|20240107|20240104|20240101|20240108|20240105");
  EXPECT_EQ(session.Sort().SortIndex().Count(), 0);
  // The summary: one line per bureau prefix and call area, no country last.
  ASSERT_EQ(windows.listNames, std::vector<std::string>{"BiuraQSL"});
  const auto& lines = windows.listLines[0];
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2], (std::vector<std::string>{"K", "1", "United States", "1", "2"}));
  EXPECT_EQ(lines[6], (std::vector<std::string>{"", "", "(bez kraju)", "1", "1"}));

  // "Zapisz…" of the summary, from the command line as save-bureaus.
  windows.fileAnswers.push_back(dir.File("biura.csv"));
  session.ZapiszBiuraClick();
  const std::string file = ReadFile(dir.File("biura.csv"));
  EXPECT_EQ(file.substr(0, file.find("\r\n")),
            "\"PREFIX\",\"AREA\",\"COUNTRY\",\"STATIONS\",\"CONTACTS\"");
  EXPECT_NE(file.find("\"K\",\"3\",\"United States\",\"1\",\"1\"\r\n"), std::string::npos);
  EXPECT_EQ(file.substr(file.size() - 18), "\"\",\"\",\"\",\"1\",\"1\"\r\n");
}

TEST_F(CallSignCommandsTest, UnderAQsoCountFilterOnlyTheShownRowsAreTouched) {
  ASSERT_EQ(LoadLog(), LoadOutcome::Loaded);
  session.RG1Click(0);  // the stations worked once: all but K1ABC
  ASSERT_EQ(session.Table().RowCount(), 7);
  session.EditCell(1, 1, "");  // SP5ABC's DXCC emptied while shown
  session.UzupelnijDXCC1Click();
  session.SortujwgbiurQSL1Click();
  EXPECT_EQ(Column(0), "DL1ABC|LU1ABC|W3ABC|SP5ABC|VE3ABC|Q1ABC");
  session.RG1Click(kRG1RemoveFilter);
  // The hidden K1ABC rows come back as they were, at their places.
  EXPECT_EQ(Column(0), "DL1ABC|LU1ABC|K1ABC|W3ABC|SP5ABC|VE3ABC|K1ABC|Q1ABC");
  EXPECT_EQ(Column(1), "230|100|230|291|269|1|291|");
}

TEST_F(CallSignCommandsTest, WithoutTheReferenceFilesEachCommandSaysSoAndChangesNothing) {
  ASSERT_EQ(LoadLog(), LoadOutcome::Loaded);
  std::filesystem::remove("CTY.DAT");
  windows.messages.clear();
  session.UzupelnijDXCC1Click();
  session.SprawdzDXCC1Click();
  session.SortujwgbiurQSL1Click();
  const std::vector<std::string> missing = {"Brak obecnosci zbioru CTY.DAT",
                                            "Brak zbiorow wejscia"};
  EXPECT_EQ(windows.messages, (std::vector<std::string>{missing[0], missing[1], missing[0],
                                                        missing[1], missing[0], missing[1]}));
  EXPECT_TRUE(windows.listNames.empty());
  EXPECT_EQ(Column(0), "SP5ABC|DL1ABC|K1ABC|W3ABC|Q1ABC|LU1ABC|K1ABC|VE3ABC");
  EXPECT_EQ(Column(1), "269||230|291||100|291|1");
  EXPECT_FALSE(windows.busy);
}

}  // namespace
}  // namespace kartex::testing
