#include <gtest/gtest.h>

#include "session_fixture.h"

namespace kartex::testing {
namespace {

using LoadTest = SessionTest;

std::string TallyText(const std::vector<TMyRecord>& tally) {
  std::string out;
  for (const TMyRecord& entry : tally)
    out += entry.call + "/" + entry.dxcc + "/" + std::to_string(entry.qsoCount) + " ";
  return out;
}

TEST_F(LoadTest, AcceptedLogEnablesCommandsAndCountsRecords) {
  ASSERT_EQ(Load({"DATE,TIME,BAND,MODE,CALL,DXCC,QSL_VIA", "1,1,20M,CW,SP1AA,269,",
                  "2,2,40M,SSB,DL1AB,230,EA5XX"}),
            LoadOutcome::Loaded);
  const ControlStates& controls = session.Controls();
  EXPECT_TRUE(controls.logCommandsEnabled);
  EXPECT_TRUE(controls.qslViaEnabled);
  EXPECT_EQ(controls.recordsCaption, "Liczba rekordów : 2");
  EXPECT_EQ(controls.sourceCaption, "Źródło: " + dir.File("log.csv"));
  EXPECT_EQ(session.Table().FixedRows(), 1);
  EXPECT_EQ(session.Table().ColCount(), 53);
  EXPECT_EQ(session.Log().callColumn, 4);
  EXPECT_EQ(session.Log().dxccColumn, 5);
  EXPECT_EQ(session.Log().qslViaColumn, 6);
  EXPECT_TRUE(windows.messages.empty());
  EXPECT_FALSE(windows.busy);
}

TEST_F(LoadTest, HeaderNamesMustMatchWholeAndInCase) {
  for (std::string header : {"call,DXCC", " CALL,DXCC", "CALL,dxcc", "CALL,QSL_VIA"}) {
    SCOPED_TRACE(header);
    windows.messages.clear();
    EXPECT_EQ(Load({header, "SP1AA,269"}), LoadOutcome::Rejected);
    ASSERT_EQ(windows.messages.size(), 1u);
    EXPECT_EQ(windows.messages[0], "Wybrany format pliku jet nieprawidłowy !");
  }
}

TEST_F(LoadTest, LastOfRepeatedHeaderNamesWins) {
  Load({"CALL,DXCC,CALL", "A,1,B"});
  EXPECT_EQ(session.Log().callColumn, 2);
  EXPECT_EQ(session.Log().tally[0].call, "B");
}

TEST_F(LoadTest, RejectionResetsTableAndControls) {
  Load({"CALL,DXCC,QSL_VIA", "SP1AA,269,EA5XX"});
  ASSERT_TRUE(session.Controls().logCommandsEnabled);
  EXPECT_EQ(Load({"CALL,DXCC"}), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages.back(), "Nie ma żadnych rekordów !");
  const ControlStates& controls = session.Controls();
  EXPECT_FALSE(controls.logCommandsEnabled);
  EXPECT_FALSE(controls.qslViaEnabled);
  EXPECT_EQ(controls.sourceCaption, "Źródło: ");
  EXPECT_EQ(controls.recordsCaption, "Liczba rekordów : 0");
  EXPECT_TRUE(controls.listBox1.empty());
  EXPECT_EQ(session.Table().RowCount(), 2);
  EXPECT_EQ(session.Table().FixedRows(), 1);
  EXPECT_EQ(session.Table().CellText(0, 0), "");
  EXPECT_TRUE(session.Log().tally.empty());
}

TEST_F(LoadTest, LogOfEmptyRowsOnlyHasNoRecords) {
  EXPECT_EQ(Load({"CALL,DXCC", ",", "", ",,,"}), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages.back(), "Nie ma żadnych rekordów !");
  EXPECT_EQ(session.Table().FixedRows(), 1);
}

TEST_F(LoadTest, EmptyFileIsRejectedForItsMissingColumns) {
  windows.fileAnswers.push_back(dir.Write("empty.csv", ""));
  EXPECT_EQ(session.Load_CSVClick(), LoadOutcome::Rejected);
  EXPECT_EQ(windows.messages.back(), "Wybrany format pliku jet nieprawidłowy !");
}

TEST_F(LoadTest, CancelledDialogChangesNothing) {
  Load({"CALL,DXCC", "SP1AA,269"});
  windows.fileAnswers.push_back(std::nullopt);
  EXPECT_EQ(session.Load_CSVClick(), LoadOutcome::Cancelled);
  EXPECT_EQ(session.Table().CellText(0, 1), "SP1AA");
  EXPECT_EQ(session.Log().tally.size(), 1u);
}

TEST_F(LoadTest, MissingFileFailsWithTheTableErrorAfterClearing) {
  Load({"CALL,DXCC", "SP1AA,269"});
  windows.fileAnswers.push_back(dir.File("missing.csv"));
  try {
    session.Load_CSVClick();
    FAIL() << "no error";
  } catch (const std::exception& error) {
    EXPECT_EQ(ErrorText(error), "Cannot open file " + dir.File("missing.csv") + ".");
  }
  EXPECT_TRUE(session.Log().tally.empty());
  EXPECT_EQ(session.Table().CellText(0, 1), "");
  EXPECT_FALSE(windows.busy);
}

TEST_F(LoadTest, EmptyRowsAreRemovedWhereverTheyStand) {
  Load({"CALL,DXCC,X", ",,", "A,1,", "", ",,", "", "B,2,", ",,", ",,x"});
  EXPECT_EQ(Column(0), "A|B|");
  EXPECT_EQ(Column(2), "||x");
  EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 3");
}

TEST_F(LoadTest, TallyKeepsFirstOccurrenceOrderCaseAndFirstDxcc) {
  Load({"CALL,DXCC", "dl1abc,230", "DL1ABC,231", ",999", "SP1AA,269", "DL1ABC,232", "dl1abc,233",
        "DL1ABC,234"});
  EXPECT_EQ(TallyText(session.Log().tally), "dl1abc/230/2 DL1ABC/231/3 SP1AA/269/1 ");
  EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 7");
}

TEST_F(LoadTest, OneStationWorkedInEveryRow) {
  Load({"CALL,DXCC", "K1AA,291", "K1AA,291", "K1AA,291", "K1AA,291"});
  EXPECT_EQ(TallyText(session.Log().tally), "K1AA/291/4 ");
}

TEST_F(LoadTest, CallColumnBeyond255IsFoundWhole) {
  std::string header, row;
  for (int c = 0; c < 300; ++c) {
    header += c == 280 ? std::string("CALL")
              : c == 3 ? std::string("DXCC")
                       : 'F' + std::to_string(c);
    header += ',';
    row += (c == 280 ? "SP9XYZ" : c == 3 ? "269" : "") + std::string(",");
  }
  Load({header, row});
  EXPECT_EQ(session.Log().callColumn, 280);
  EXPECT_EQ(TallyText(session.Log().tally), "SP9XYZ/269/1 ");
}

TEST_F(LoadTest, SecondLoadWhileFilteredStartsFromTheNewFile) {
  Load({"A,B,C,D,CALL,DXCC", ",,,,X,1", ",,,,Y,1", ",,,,Y,1"});
  session.RG1Click(0);
  ASSERT_TRUE(session.Filter().FilterActive());
  ASSERT_EQ(session.Table().RowCount(), 2);
  Load({"A,B,C,D,CALL,DXCC", ",,,,Z,2"}, "second.csv");
  EXPECT_FALSE(session.Filter().FilterActive());
  EXPECT_EQ(Column(4), "Z");
  EXPECT_EQ(session.Table().RowCount(), 2);
}

}  // namespace
}  // namespace kartex::testing
