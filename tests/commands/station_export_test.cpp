// The mail-merge CSV with one row per station: rows, columns, the file's
// format, and when the command is offered.

#include <gtest/gtest.h>

#include <algorithm>

#include "session_fixture.h"
#include "table_test_support.h"

namespace kartex::testing {
namespace {

// CALL in the fifth column, as Logger32 writes it. Worked twice: SP2BB,
// SP1AA, SP3CC; once: SP4DD and sp1aa (letter case makes a station).
const std::initializer_list<std::string> kLog = {
    "QSO_DATE,TIME_ON,BAND,MODE,CALL,DXCC,QSL_VIA,COMMENT",
    "20240101,1200,20M,SSB,SP2BB,269,,",
    "20240102,1300,40M,CW,SP1AA,269,EA5XX,",
    "20240103,1400,20M,CW,SP2BB,269,,",
    "20240104,1500,15M,FT8,SP3CC,230,,",
    "20240105,1600,20M,SSB,SP1AA,269,,",
    "20240106,1700,10M,SSB,SP3CC,230,DL1XYZ,",
    "20240107,1800,80M,CW,SP4DD,269,,",
    "20240108,1900,20M,CW,sp1aa,269,,",
};
constexpr int kLogColumns = 8;

class StationExportTest : public SessionTest {
 protected:
  // Writes the stations file through the save dialog and reads it back
  // with the program's own reader into `written`.
  std::string SaveStations(const std::string& name = "stations.csv") {
    windows.fileAnswers.push_back(dir.File(name));
    session.SaveStationsCSV1Click();
    written.ReadCsvFile(dir.File(name));
    return ReadFile(dir.File(name));
  }

  // Cells [first, first + count) of a row of `written`, joined by "|".
  std::string Written(int row, int first, int count) const {
    std::string out;
    for (int col = first; col < first + count; ++col) {
      if (col > first) out += '|';
      out += written.CellText(col, row);
    }
    return out;
  }

  // The first kLogColumns cells of a row of the session's table, joined by "|".
  std::string Shown(int row) const {
    std::string out;
    for (int col = 0; col < kLogColumns; ++col) {
      if (col > 0) out += '|';
      out += session.Table().CellText(col, row);
    }
    return out;
  }

  LogTable written;
};

int Fields(std::string_view line) {
  return static_cast<int>(std::count(line.begin(), line.end(), ',')) + 1;
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find("\r\n")); }

TEST_F(StationExportTest, ReadsBackIntoTheSameCellsOneStationARow) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);  // "2": rows SP2BB, SP1AA, SP2BB, SP3CC, SP1AA, SP3CC
  session.EditCell(7, 1, "say \"hi\", ok");
  session.EditCell(7, 3, "line1\r\nline2");
  session.EditCell(7, 2, "Wroc\xB3\x61w \xB3\xF3");  // Windows-1250 bytes stay as stored
  session.EditCell(6, 4, "\"");

  const std::string bytes = SaveStations();

  // Three stations after the header, every line ended by CR LF, the line
  // break of a cell as byte 11, quotes doubled.
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 4);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 4);
  EXPECT_NE(bytes.find("\"line1\x0Bline2\""), std::string::npos);
  EXPECT_NE(bytes.find("\"say \"\"hi\"\", ok\""), std::string::npos);
  EXPECT_EQ(FirstLine(bytes).substr(0, 22), "\"QSO_DATE\",\"TIME_ON\",\"");
  EXPECT_EQ(Fields(FirstLine(bytes)), 2 * kLogColumns);

  ASSERT_EQ(written.RowCount(), 4);
  EXPECT_EQ(Written(0, 0, kLogColumns), "QSO_DATE|TIME_ON|BAND|MODE|CALL|DXCC|QSL_VIA|COMMENT");
  EXPECT_EQ(Written(0, kLogColumns, kLogColumns),
            "QSO_DATE_2|TIME_ON_2|BAND_2|MODE_2|CALL_2|DXCC_2|QSL_VIA_2|COMMENT_2");
  // Station by station, its contacts in table order: the cells as shown.
  const int contacts[3][2] = {{1, 3}, {2, 5}, {4, 6}};
  for (int station = 0; station < 3; ++station) {
    for (int contact = 0; contact < 2; ++contact) {
      EXPECT_EQ(Written(station + 1, contact * kLogColumns, kLogColumns),
                Shown(contacts[station][contact]))
          << "station " << station << ", contact " << contact;
    }
  }
}

TEST_F(StationExportTest, HeaderClickSortOrdersTheStationsAndTheirContacts) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);
  session.HeaderSortClick(0, false);
  session.HeaderSortClick(0, false);  // QSO_DATE descending
  ASSERT_EQ(Column(0), "20240106|20240105|20240104|20240103|20240102|20240101");

  SaveStations();

  ASSERT_EQ(written.RowCount(), 4);
  // CALL, first date, CALL_2, second date.
  auto station = [this](int row) {
    return Cat({written.CellText(4, row), " ", written.CellText(0, row), " ",
                written.CellText(4 + kLogColumns, row), " ", written.CellText(kLogColumns, row)});
  };
  EXPECT_EQ(station(1), "SP3CC 20240106 SP3CC 20240104");
  EXPECT_EQ(station(2), "SP1AA 20240105 SP1AA 20240102");
  EXPECT_EQ(station(3), "SP2BB 20240103 SP2BB 20240101");
}

TEST_F(StationExportTest, OnlyColumnsWithAHeaderNameOrTextInAShownRowAreWritten) {
  // Column 1 has no name but text in a shown row; column 5 a name and no
  // text; column 6 text only in a row the filter hides; column 7 and the
  // padding up to 53 nothing at all.
  ASSERT_EQ(Load({"A,,C,CALL,DXCC,E,,", "1,x,c1,K1AA,291,,,", "2,,c2,K1AA,291,,,",
                  "3,,c3,W1BB,291,,hidden,"}),
            LoadOutcome::Loaded);
  session.RG1Click(1);
  EXPECT_EQ(SaveStations("two.csv"),
            "\"A\",\"\",\"C\",\"CALL\",\"DXCC\",\"E\",\"A_2\",\"_2\",\"C_2\",\"CALL_2\",\"DXCC_2\","
            "\"E_2\"\r\n"
            "\"1\",\"x\",\"c1\",\"K1AA\",\"291\",\"\",\"2\",\"\",\"c2\",\"K1AA\",\"291\",\"\"\r\n");

  // Under "1" the row with text in column 6 is shown and the one with text
  // in column 1 is not: the used columns change with them.
  session.RG1Click(0);
  EXPECT_EQ(SaveStations("one.csv"),
            "\"A\",\"C\",\"CALL\",\"DXCC\",\"E\",\"\"\r\n"
            "\"3\",\"c3\",\"W1BB\",\"291\",\"\",\"hidden\"\r\n");
}

TEST_F(StationExportTest, EditedCallMakesAsManyGroupsAsTheLargestStationHasRows) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);
  // Given the second SP2BB contact (row 3) edited to SP1AA after filtering,
  session.EditCell(4, 3, "SP1AA");

  const std::string bytes = SaveStations();

  // then SP1AA has three groups, and SP2BB and SP3CC leave their third empty.
  const std::string_view header = FirstLine(bytes);
  EXPECT_EQ(Fields(header), 3 * kLogColumns);
  EXPECT_EQ(header.substr(header.size() - 11), "\"COMMENT_3\"");
  ASSERT_EQ(written.RowCount(), 4);
  EXPECT_EQ(Written(1, 0, kLogColumns), Shown(1));  // SP2BB, its first row first
  EXPECT_EQ(Written(1, kLogColumns, 2 * kLogColumns), "|||||||||||||||");
  EXPECT_EQ(Written(2, 0, kLogColumns), Shown(2));  // SP1AA: rows 2, 3, 5
  EXPECT_EQ(Written(2, kLogColumns, kLogColumns), Shown(3));
  EXPECT_EQ(Written(2, 2 * kLogColumns, kLogColumns), Shown(5));
  EXPECT_EQ(Written(3, 4, 1) + " " + Written(3, kLogColumns + 4, 1) + " " +
                Written(3, 2 * kLogColumns + 4, 1),
            "SP3CC SP3CC ");
}

TEST_F(StationExportTest, EditedCallSplittingTheOnlyStationMakesFewerGroups) {
  ASSERT_EQ(Load({"CALL,DXCC,BAND", "K1AA,291,20M", "K1AA,291,40M", "W1BB,291,80M"}),
            LoadOutcome::Loaded);
  session.RG1Click(1);
  session.EditCell(0, 2, "K1AB");
  EXPECT_EQ(SaveStations(),
            "\"CALL\",\"DXCC\",\"BAND\"\r\n"
            "\"K1AA\",\"291\",\"20M\"\r\n"
            "\"K1AB\",\"291\",\"40M\"\r\n");
}

TEST_F(StationExportTest, NoStationShownGivesTheHeaderOfNGroups) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(2);  // nobody was worked three times
  const std::string bytes = SaveStations();
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1);
  EXPECT_EQ(Fields(FirstLine(bytes)), 3 * kLogColumns);
  EXPECT_EQ(FirstLine(bytes).substr(FirstLine(bytes).size() - 11), "\"COMMENT_3\"");
}

// Under "1" every station has one contact: the stations file is the table
// export without the columns that hold nothing.
TEST_F(StationExportTest, OneContactEachGivesTheTableExportLessItsUnusedColumns) {
  ASSERT_EQ(Load({"QSO_DATE,,CALL,DXCC,,NOTE", "1,x,SP1AA,269,,n1", "2,,SP2BB,269,,",
                  "3,,SP2BB,269,,", "4,\"a \"\"b\"\"\",DL1AB,230,,n\xB3"}),
            LoadOutcome::Loaded);
  session.RG1Click(0);
  session.HeaderSortClick(0, false);
  session.HeaderSortClick(0, false);
  windows.fileAnswers.push_back(dir.File("table.csv"));
  session.Save_CSVClick();
  LogTable table;
  table.ReadCsvFile(dir.File("table.csv"));
  const std::string bytes = SaveStations();

  std::vector<int> used;
  for (int col = 0; col < table.ColCount(); ++col) {
    for (int row = 0; row < table.RowCount(); ++row) {
      if (!table.CellText(col, row).empty()) {
        used.push_back(col);
        break;
      }
    }
  }
  ASSERT_EQ(used, (std::vector<int>{0, 1, 2, 3, 5}));
  EXPECT_EQ(Fields(FirstLine(bytes)), 5);
  ASSERT_EQ(written.RowCount(), table.RowCount());
  for (int row = 0; row < table.RowCount(); ++row) {
    for (size_t k = 0; k < used.size(); ++k) {
      EXPECT_EQ(written.CellText(static_cast<int>(k), row), table.CellText(used[k], row))
          << row << ", " << k;
    }
  }
}

TEST_F(StationExportTest, ProposesStacjeAndAsksBeforeReplacingUnderAnAppendedName) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);
  dir.Write("cards.CSV", "keep me");
  windows.fileAnswers.push_back(dir.File("cards"));
  windows.confirmAnswers.push_back(false);
  session.SaveStationsCSV1Click();
  EXPECT_EQ(windows.dialogs.back().defaultName, "STACJE.CSV");
  EXPECT_EQ(windows.dialogs.back().filter, "CSV (*.csv)|*.CSV");
  ASSERT_EQ(windows.questions.size(), 1u);
  EXPECT_EQ(windows.questions[0], "Plik " + dir.File("cards.CSV") + " już istnieje. Zastąpić ?");
  EXPECT_EQ(ReadFile(dir.File("cards.CSV")), "keep me");

  windows.fileAnswers.push_back(dir.File("cards"));
  session.SaveStationsCSV1Click();
  EXPECT_EQ(FirstLine(ReadFile(dir.File("cards.CSV"))).substr(0, 10), "\"QSO_DATE\"");
  EXPECT_FALSE(windows.busy);
}

TEST_F(StationExportTest, FailingWriteEndsWithCannotCreateFile) {
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);
  const std::string target = dir.File("missing/stations.csv");
  windows.fileAnswers.push_back(target);
  std::string error;
  try {
    session.SaveStationsCSV1Click();
  } catch (const CommandError& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "Cannot create file " + target);
  EXPECT_FALSE(windows.busy);
}

// Offered exactly while a QSO-count filter narrows the table: not after
// "Usuń filtr", a condition of the operator's own, the per-row tally of the
// country export (RG1 still showing N), a new load or a failed one.
TEST_F(StationExportTest, OfferedExactlyWhileAQsoCountFilterIsOn) {
  const ControlStates& controls = session.Controls();
  EXPECT_FALSE(controls.SaveStationsEnabled());
  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  EXPECT_FALSE(controls.SaveStationsEnabled());

  session.RG1Click(1);
  EXPECT_TRUE(controls.SaveStationsEnabled());
  session.RG1Click(kRG1RemoveFilter);
  EXPECT_FALSE(controls.SaveStationsEnabled());

  session.RG1Click(2);  // "3": no station shown, the filter still on
  EXPECT_TRUE(controls.SaveStationsEnabled());
  session.ApplyCondition(4, "SP*", false);
  EXPECT_FALSE(controls.SaveStationsEnabled());

  session.RG1Click(0);
  EXPECT_TRUE(controls.SaveStationsEnabled());
  session.FiltrQSO(0);
  EXPECT_FALSE(controls.SaveStationsEnabled());
  EXPECT_EQ(controls.rg1ItemIndex, 0);

  session.RG1Click(1);
  ASSERT_TRUE(controls.SaveStationsEnabled());
  ASSERT_EQ(Load(kLog, "again.csv"), LoadOutcome::Loaded);
  EXPECT_FALSE(controls.SaveStationsEnabled());

  session.RG1Click(2);
  ASSERT_TRUE(controls.SaveStationsEnabled());
  EXPECT_EQ(Load({"CALLSIGN,DXCC", "K1AA,291"}, "wrong.csv"), LoadOutcome::Rejected);
  EXPECT_FALSE(controls.SaveStationsEnabled());

  ASSERT_EQ(Load(kLog), LoadOutcome::Loaded);
  session.RG1Click(1);
  ASSERT_TRUE(controls.SaveStationsEnabled());
  windows.fileAnswers.push_back(dir.File("missing.csv"));
  EXPECT_THROW(session.Load_CSVClick(), std::exception);
  EXPECT_FALSE(controls.SaveStationsEnabled());
}

}  // namespace
}  // namespace kartex::testing
