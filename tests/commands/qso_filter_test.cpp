#include <gtest/gtest.h>

#include "session_fixture.h"

namespace kartex::testing {
namespace {

class QsoFilterTest : public SessionTest {
 protected:
  // CALL in the third column, not the fifth; dl1abc once, DL1ABC twice.
  void LoadMixedLog() {
    ASSERT_EQ(Load({"DATE,MODE,CALL,DXCC,NAME,QSL_VIA", "1,CW,dl1abc,230,Jan,EA5XX",
                    "2,CW,DL1ABC,230,,", "3,CW,SP1AA,269,,W3HNK", "4,CW,DL1ABC,230,,M0OXO",
                    "5,CW,,,SP2BB,", "6,CW,K1ZZ,291,,", "7,CW,K1ZZ,291,,", "8,CW,K1ZZ,291,,"}),
              LoadOutcome::Loaded);
  }
};

TEST_F(QsoFilterTest, ShowsExactlyTheStationsWorkedNTimes) {
  LoadMixedLog();
  struct Case {
    int item;
    const char* calls;
    int records;
  };
  for (Case c :
       {Case{0, "dl1abc|SP1AA", 2}, Case{1, "DL1ABC|DL1ABC", 2}, Case{2, "K1ZZ|K1ZZ|K1ZZ", 3}}) {
    SCOPED_TRACE(c.item);
    session.RG1Click(c.item);
    EXPECT_TRUE(session.Filter().FilterActive());
    EXPECT_EQ(Column(2), c.calls);
    EXPECT_EQ(session.Controls().records, c.records);
    EXPECT_EQ(session.Table().FixedRows(), 1);
  }
}

TEST_F(QsoFilterTest, NoStationWorkedNTimesShowsNoDataRow) {
  LoadMixedLog();
  session.RG1Click(4);
  EXPECT_EQ(session.Table().RowCount(), 1);
  EXPECT_EQ(session.Controls().recordsCaption, "Liczba rekordów : 0");
  // Switching off brings every row back with the header fixed again.
  session.RG1Click(kRG1RemoveFilter);
  EXPECT_EQ(session.Table().RowCount(), 9);
  EXPECT_EQ(session.Table().FixedRows(), 1);
  EXPECT_EQ(session.Controls().records, 8);
  EXPECT_FALSE(session.Controls().progressVisible);
}

TEST_F(QsoFilterTest, ChoosingTheSelectedItemAgainDoesNothing) {
  LoadMixedLog();
  session.RG1Click(0);
  session.Filter().SetFilterActive(false);
  session.RG1Click(0);
  EXPECT_FALSE(session.Filter().FilterActive());
  EXPECT_EQ(session.Table().RowCount(), 9);
}

TEST_F(QsoFilterTest, ProgressReachesOneHundredAndShowsTheBarAgain) {
  LoadMixedLog();
  session.RG1Click(kRG1RemoveFilter);
  ASSERT_FALSE(session.Controls().progressVisible);
  session.RG1Click(1);
  EXPECT_TRUE(session.Controls().progressVisible);
  EXPECT_EQ(session.Controls().progressPosition, 100);
  EXPECT_FALSE(windows.busy);
}

// The filter reports after each of the 8 rows and once more at the end:
// 12, 25, 38, 50, 62, 75, 88, 100, 100.
TEST_F(QsoFilterTest, HourglassComesOnceAndGoesAtOneHundred) {
  LoadMixedLog();
  windows.cursorChanges.clear();
  session.RG1Click(0);
  // Given the progress handler at every report, when the percentage repeats
  // (the last two reports), then the cursor does not flip back to the hourglass.
  EXPECT_EQ(windows.cursorChanges, (std::vector<bool>{true, false}));
  EXPECT_EQ(session.Controls().progressPosition, 100);
  // A second run shows the hourglass again, though the bar starts at 100.
  session.RG1Click(1);
  EXPECT_EQ(windows.cursorChanges, (std::vector<bool>{true, false, true, false}));
}

TEST_F(QsoFilterTest, ManagersFollowTheShownRows) {
  LoadMixedLog();
  session.RG1Click(0);
  std::vector<std::string> expected{"Lista manager\xF3w:", "EA5XX", "W3HNK"};
  EXPECT_EQ(session.Controls().listBox1, expected);
  session.RG1Click(kRG1RemoveFilter);
  expected.push_back("M0OXO");
  EXPECT_EQ(session.Controls().listBox1, expected);
}

TEST_F(QsoFilterTest, PerRowTallyHoldsEveryRowWithItsCallCount) {
  LoadMixedLog();
  session.RG1Click(0);
  session.FiltrQSO(0);
  EXPECT_FALSE(session.Filter().FilterActive());
  const std::vector<TMyRecord>& tally = session.Log().tally;
  ASSERT_EQ(tally.size(), 8u);
  EXPECT_EQ(tally[1].call, "DL1ABC");
  EXPECT_EQ(tally[1].qsoCount, 2);
  EXPECT_EQ(tally[4].call, "");
  EXPECT_EQ(tally[4].dxcc, "");
  EXPECT_EQ(tally[4].qsoCount, 1);
  EXPECT_EQ(tally[7].qsoCount, 3);
  // The filter built from it still shows each station once per row.
  session.RG1Click(2);
  EXPECT_EQ(Column(2), "K1ZZ|K1ZZ|K1ZZ");
}

TEST_F(QsoFilterTest, EmptyTallyMakesTheFilterDoNothing) {
  LoadMixedLog();
  windows.confirmAnswers.push_back(true);
  ASSERT_TRUE(session.Close1Click());
  session.RG1Click(0);
  EXPECT_FALSE(session.Filter().FilterActive());
  EXPECT_TRUE(session.Controls().progressVisible);
}

TEST_F(QsoFilterTest, RefusedCloseKeepsTheTally) {
  LoadMixedLog();
  windows.confirmAnswers.push_back(false);
  EXPECT_FALSE(session.Close1Click());
  EXPECT_EQ(windows.questions.back(), "Zamknąć aplikację ?");
  session.RG1Click(0);
  EXPECT_EQ(Column(2), "dl1abc|SP1AA");
}

TEST_F(QsoFilterTest, OperatorConditionOnAnyColumn) {
  LoadMixedLog();
  session.ApplyCondition(2, "k*", false);
  EXPECT_EQ(Column(2), "K1ZZ|K1ZZ|K1ZZ");
  session.ApplyCondition(2, "k*", true);
  EXPECT_EQ(session.Table().RowCount(), 1);
  session.RemoveCondition();
  EXPECT_EQ(session.Controls().records, 8);
}

TEST_F(QsoFilterTest, TestsTheFoundCallColumnAtAnyPosition) {
  // Column numbers past 16 bits: 32768 once showed no row, 65540 tested column 4.
  for (int callColumn : {32768, 65540}) {
    SCOPED_TRACE(callColumn);
    const std::string before(static_cast<size_t>(callColumn), ',');
    const std::string header = before + "CALL,DXCC";
    const std::string once = before + "SP1AA,269";
    const std::string twice = before + "K1ZZ,291";
    ASSERT_EQ(Load({header, once, twice, twice}), LoadOutcome::Loaded);
    ASSERT_EQ(session.Log().callColumn, callColumn);
    session.RG1Click(0);
    EXPECT_EQ(session.Controls().records, 1);
    EXPECT_EQ(session.Table().CellText(callColumn, 1), "SP1AA");
    session.RG1Click(1);
    EXPECT_EQ(session.Controls().records, 2);
    EXPECT_EQ(session.Table().CellText(callColumn, 1), "K1ZZ");
    session.RG1Click(10);
  }
}

}  // namespace
TEST_F(QsoFilterTest, ALoadLeavesNoChoiceSoThatTheSameNFiltersAgain) {
  // Given "3" chosen on one log,
  Load({"CALL,DXCC", "A,1", "A,1", "A,1", "B,2"});
  session.RG1Click(2);
  ASSERT_EQ(session.Table().RowCount(), 4);
  // a new load shows every row under no choice,
  Load({"CALL,DXCC", "C,1", "C,1", "C,1", "D,2", "E,3"});
  EXPECT_EQ(session.Controls().rg1ItemIndex, -1);
  EXPECT_FALSE(session.Filter().FilterActive());
  EXPECT_EQ(session.Table().RowCount(), 6);
  // and choosing "3" again filters.
  session.RG1Click(2);
  EXPECT_EQ(Column(0), "C|C|C");
  // A rejected load clears the choice as well.
  Load({"CALLSIGN,DXCC", "C,1"});
  EXPECT_EQ(session.Controls().rg1ItemIndex, -1);
}

}  // namespace kartex::testing
